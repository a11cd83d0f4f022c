// What loading costs is bounded by what the file holds, not by the sizes it
// declares; and files cut anywhere still give the pixels they hold.
#include <cstdio>
#include <cstring>
#include <random>

#include "gif_test_util.h"
#include "peak_memory.h"

namespace {

using peakmem::PeakGrowthMiB;

constexpr long BoundMiB = 64;

// Rows in the order the data fills them.
std::vector<int> WalkRows(int h, bool interlaced) {
  std::vector<int> rows;
  if (!interlaced) {
    for (int y = 0; y < h; ++y) rows.push_back(y);
    return rows;
  }
  const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
  for (int p = 0; p < 4; ++p)
    for (int y = start[p]; y < h; y += step[p]) rows.push_back(y);
  return rows;
}

}  // namespace

TEST(GifMemory, TinyFileDeclaringManyHugeFramesFailsWithoutAllocatingThem) {
  // 40 frames of 8192 x 8192 without image data; the first four are
  // transparent, so filling them would write every page.
  Bytes b = Header(8, 8);
  for (int i = 0; i < 40; ++i)
    b = b + (i < 4 ? Bytes{0x21, 0xF9, 4, 1, 10, 0, 3, 0} : Bytes{}) + Descriptor(0, 0, 8192, 8192) + Bytes{8, 0};
  ASSERT_LT(b.size(), 600u);
  TGIFImage img;
  std::string message;
  const long grown = PeakGrowthMiB([&] {
    try {
      LoadBytes(img, b);
    } catch (const GIFException& e) {
      message = e.Message;
    }
  });
  EXPECT_EQ(message, "The frames of this image hold more pixels than this program accepts");
  if (grown < 0) GTEST_SKIP() << "peak resident memory cannot be measured here";
  EXPECT_LE(grown, BoundMiB);
  ASSERT_EQ(img.Images()->Count(), 9);  // the ninth passes the cap
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(img.Images()->SubImages(i)->Empty());
  EXPECT_EQ(img.PixelTotal(), 0);
}

TEST(GifMemory, HugeFramesWithFewPixelsCostWhatTheirDataHolds) {
  // Four 8192 x 8192 frames whose data stops after two pixels; two of them
  // are transparent, so their other pixels are their transparent index.
  const Bytes data = Codes(2, {{4, 3}, {1, 3}, {2, 3}, {5, 3}});
  const Bytes gce = {0x21, 0xF9, 4, 1, 10, 0, 3, 0};
  Bytes b = Header(8, 8);
  for (int i = 0; i < 4; ++i) b = b + (i % 2 ? gce : Bytes{}) + Descriptor(0, 0, 8192, 8192, i < 2 ? 0 : 0x40) + data;
  TGIFImage img;
  const long grown = PeakGrowthMiB([&] { LoadBytes(img, b + Bytes{0x3B}); });
  ASSERT_EQ(img.Images()->Count(), 4);
  for (int i = 0; i < 4; ++i) {
    TGIFSubImage* f = img.Images()->SubImages(i);
    const int fill = i % 2 ? 3 : 0;
    EXPECT_EQ(f->Pixels(0, 0), 1);
    EXPECT_EQ(f->Pixels(1, 0), 2);
    EXPECT_EQ(f->Pixels(2, 0), fill);
    EXPECT_EQ(f->Pixels(0, 1), fill);
    EXPECT_EQ(f->Pixels(8191, 8191), fill);
    f->FreeImage();
  }
  if (grown < 0) GTEST_SKIP() << "peak resident memory cannot be measured here";
  EXPECT_LE(grown, BoundMiB);
}

TEST(GifMemory, FramesWhoseDataHoldsNoPixelStayEmpty) {
  const Bytes frame = Descriptor(0, 0, 2, 2) + Codes(2, {{4, 3}, {1, 3}, {6, 3}, {6, 3}, {5, 3}});
  const Bytes gce = {0x21, 0xF9, 4, 0, 10, 0, 0, 0};
  for (const Bytes& nothing : {Bytes{2, 0}, Codes(2, {{4, 3}, {5, 3}}), Codes(2, {{5, 3}})}) {
    TGIFImage img;
    LoadBytes(img, Header(2, 2) + frame + gce + Descriptor(0, 0, 2, 2) + nothing + frame + Bytes{0x3B});
    ASSERT_EQ(img.Images()->Count(), 3);
    EXPECT_FALSE(img.Images()->SubImages(0)->Empty());
    EXPECT_TRUE(img.Images()->SubImages(1)->Empty());
    EXPECT_EQ(img.Images()->SubImages(2)->Pixels(1, 1), 1);
    // Saving keeps the empty frame's extension; its descriptor has nothing to say.
    TGIFImage back;
    LoadBytes(back, SaveBytes(img));
    ASSERT_EQ(back.Images()->Count(), 2);
    EXPECT_EQ(back.Images()->SubImages(1)->Extensions()->Count(), 1);
    EXPECT_EQ(back.Images()->SubImages(1)->GraphicControlExtension()->Delay(), 10);
  }
}

// Every cut of a file gives, for each frame, a prefix of its pixels in the
// order the data fills them, then the fill value (its transparent index, or 0).
TEST(GifMemory, FileCutAnywhereGivesEachFramesPrefix) {
  TGIFImage img;
  AddGrays(img.GlobalColorMap(), 16);
  std::mt19937 rng(5);
  struct Spec {
    int w, h;
    bool interlaced;
    int transparent;
  };
  const Spec specs[] = {{37, 23, false, -1}, {29, 19, true, 7}, {41, 11, false, 3}, {17, 13, true, -1}};
  for (const Spec& s : specs) {
    std::vector<int> px(std::size_t(s.w * s.h));
    for (int& p : px) p = int(rng() % 5) + (rng() % 4 == 0 ? 8 : 0);
    TGIFSubImage* f = AddFrame(img, 0, 0, s.w, s.h, px);
    f->SetInterlaced(s.interlaced);
    if (s.transparent >= 0) MakeTransparent(f, s.transparent);
  }
  const Bytes whole = SaveBytes(img);
  std::vector<std::int64_t> reached(4, 0);
  std::vector<bool> midRow(4, false);  // some cut ends inside a row
  for (std::size_t cut = 13; cut <= whole.size(); ++cut) {
    TGIFImage part;
    try {
      LoadBytes(part, Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(cut)));
    } catch (const GIFException&) {
      // What was read before the failure stays.
    }
    for (int i = 0; i < part.Images()->Count(); ++i) {
      const Spec& s = specs[i];
      TGIFSubImage* got = part.Images()->SubImages(i);
      if (got->Empty()) {
        EXPECT_EQ(reached[std::size_t(i)], 0) << "frame " << i << " lost its pixels at cut " << cut;
        continue;
      }
      const std::uint8_t* want = img.Images()->SubImages(i)->Data();
      const std::uint8_t fill = std::uint8_t(std::max(s.transparent, 0));
      std::int64_t same = 0;
      bool inPrefix = true, ok = true;
      for (int y : WalkRows(s.h, s.interlaced))
        for (int x = 0; x < s.w; ++x) {
          const std::uint8_t v = got->Data()[y * s.w + x];
          if (inPrefix && v == want[y * s.w + x]) {
            ++same;
            continue;
          }
          inPrefix = false;
          ok = ok && v == fill;
        }
      EXPECT_TRUE(ok) << "frame " << i << " at cut " << cut << ": pixels after the prefix are not the fill";
      EXPECT_GE(same, reached[std::size_t(i)]) << "frame " << i << " at cut " << cut;
      reached[std::size_t(i)] = same;
      if (same % s.w != 0) midRow[std::size_t(i)] = true;
    }
  }
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(reached[std::size_t(i)], specs[i].w * specs[i].h);
    EXPECT_TRUE(midRow[std::size_t(i)]) << "frame " << i << " only ever ends at a row's start";
  }
}
