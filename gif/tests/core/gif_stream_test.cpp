// Stream structure: header, blocks, extensions, trailer, warnings and the
// sound handling of damaged files.
#include <cstdio>
#include <filesystem>

#include "gif_test_util.h"
#include "test_temp.h"

namespace {

// One 2 x 2 frame of index 1 (global table of 4), LZW coded.
Bytes Frame2x2() { return Descriptor(0, 0, 2, 2) + Codes(2, {{4, 3}, {1, 3}, {6, 3}, {6, 3}, {5, 3}}); }

// The corner picture's layout: 32 x 32, 16 colours, looping, four frames each
// with a graphic control extension (disposal 2, transparent index 0, delay 10).
TGIFImage* MakeCornerPicture(TGIFImage& img) {
  AddGrays(img.GlobalColorMap(), 16);
  for (int i = 0; i < 4; ++i) {
    std::vector<int> px(32 * 32);
    for (int k = 0; k < 32 * 32; ++k) px[std::size_t(k)] = (k / 32 + i) % 16;
    TGIFSubImage* f = AddFrame(img, 0, 0, 32, 32, px);
    if (i == 0) AddExt<TGIFAppExtNSLoop>(f);
    auto* g = MakeTransparent(f, 0);
    g->SetDisposal(dsRestoreBackground);
    g->SetDelay(10);
  }
  return &img;
}

}  // namespace

TEST(GifStream, CornerPictureWritesAndReadsBack) {
  TGIFImage img;
  Bytes b = SaveBytes(*MakeCornerPicture(img));
  ASSERT_GT(b.size(), 13u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 6), "GIF89a");
  EXPECT_EQ(b[10], 0xB3);  // global table, resolution 3, 16 entries
  const Bytes loop = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
  EXPECT_TRUE(std::search(b.begin(), b.end(), loop.begin(), loop.end()) == b.begin() + 13 + 48);
  const Bytes gce = {0x21, 0xF9, 4, 0x09, 10, 0, 0, 0};
  EXPECT_NE(std::search(b.begin(), b.end(), gce.begin(), gce.end()), b.end());

  TGIFImage back;
  LoadBytes(back, b);
  ASSERT_EQ(back.Images()->Count(), 4);
  EXPECT_EQ(back.Width(), 32);
  for (int i = 0; i < 4; ++i) {
    TGIFSubImage* f = back.Images()->SubImages(i);
    ASSERT_NE(f->GraphicControlExtension(), nullptr);
    EXPECT_EQ(f->GraphicControlExtension()->Disposal(), dsRestoreBackground);
    EXPECT_TRUE(f->Transparent());
    EXPECT_EQ(f->TransparentIndex(), 0);
    EXPECT_EQ(f->GraphicControlExtension()->Delay(), 10);
    EXPECT_EQ(f->Pixels(5, 7), (7 + i) % 16);
    EXPECT_EQ(f->Extensions()->Count(), i == 0 ? 2 : 1);
  }
  auto* l = dynamic_cast<TGIFAppExtNSLoop*>(back.Images()->SubImages(0)->Extensions()->Extensions(0));
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->Loops(), 0);
  EXPECT_EQ(SaveBytes(back), b);
}

TEST(GifStream, SignatureMayFollowFourJunkBytesButNotFive) {
  const Bytes gif = Header(2, 2) + Frame2x2() + Bytes{0x3B};
  TGIFImage a;
  LoadBytes(a, Bytes{1, 2, 3, 4} + gif);
  EXPECT_EQ(a.Images()->Count(), 1);
  TGIFImage b;
  EXPECT_GIF_ERROR(LoadBytes(b, Bytes{1, 2, 3, 4, 5} + gif), "Invalid GIF signature");
  TGIFImage c;
  EXPECT_GIF_ERROR(LoadBytes(c, Str("GIF89a\x02")), "Premature end of data");
}

TEST(GifStream, ZeroBytesBetweenBlocksAndEarlyTrailer) {
  TGIFImage img;
  WarningLog log(img);
  LoadBytes(img, Header(2, 2) + Bytes{0, 0} + Frame2x2() + Bytes{0, 0, 0} + Frame2x2() + Bytes{0x3B});
  EXPECT_EQ(img.Images()->Count(), 2);
  EXPECT_EQ(img.Images()->SubImages(1)->Pixels(1, 1), 1);
  EXPECT_TRUE(log.Messages.empty());

  LoadBytes(img, Header(7, 9) + Bytes{0x3B});
  EXPECT_TRUE(img.Empty());
  EXPECT_EQ(img.Width(), 7);
  EXPECT_GIF_ERROR(SaveBytes(img), "Unsupported GIF version");
}

TEST(GifStream, LongCommentIsSplitIntoSubBlocksAndReadsBackAsLines) {
  TGIFImage img;
  AddGrays(img.GlobalColorMap(), 2);
  TGIFSubImage* f = AddFrame(img, 0, 0, 1, 1);
  auto* c = AddExt<TGIFCommentExtension>(f);
  c->Text()->Add(std::string(300, 'x'));
  c->Text()->Add("");
  Bytes b = SaveBytes(img);
  const Bytes head = {0x21, 0xFE, 255};
  auto at = std::search(b.begin(), b.end(), head.begin(), head.end());
  ASSERT_NE(at, b.end());
  EXPECT_EQ(at[3 + 255], 45);
  EXPECT_EQ(at[3 + 255 + 1 + 45], 0);  // the empty line wrote nothing

  TGIFImage back;
  LoadBytes(back, b);
  auto* rc = dynamic_cast<TGIFCommentExtension*>(back.Images()->SubImages(0)->Extensions()->Extensions(0));
  ASSERT_NE(rc, nullptr);
  ASSERT_EQ(rc->Text()->Count(), 2);
  EXPECT_EQ(rc->Text()->Get(0).size(), 255u);
  EXPECT_EQ(rc->Text()->Get(1).size(), 45u);
}

TEST(GifStream, LoopExtensionBytesAndBufferSize) {
  TGIFImage img;
  AddGrays(img.GlobalColorMap(), 2);
  TGIFSubImage* f = AddFrame(img, 0, 0, 1, 1);
  auto* l = AddExt<TGIFAppExtNSLoop>(f);  // its default bytes: the corner picture's
  l->SetLoops(0x0102);
  l->SetBufferSize(0x0A0B0C0D);
  TMemoryStream t;
  l->SaveToStream(&t);
  EXPECT_EQ(Bytes(t.Bytes().begin() + 14, t.Bytes().end()), (Bytes{3, 1, 2, 1, 5, 2, 0x0D, 0x0C, 0x0B, 0x0A, 0}));

  // An animation extension under the other identifier keeps it.
  Bytes anim = {0x21, 0xFF, 0x0B, 'A', 'N', 'I', 'M', 'E', 'X', 'T', 'S', '1', '.', '0', 3, 1, 5, 0, 0};
  TGIFImage back;
  LoadBytes(back, Header(2, 2) + anim + Frame2x2() + Bytes{0x3B});
  auto* rl = dynamic_cast<TGIFAppExtNSLoop*>(back.Images()->SubImages(0)->Extensions()->Extensions(0));
  ASSERT_NE(rl, nullptr);
  EXPECT_EQ(rl->Loops(), 5);
  EXPECT_EQ(rl->Identifier() + rl->Authentication(), "ANIMEXTS1.0");

  Bytes tooShort = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 2, 1, 5, 0};
  EXPECT_GIF_ERROR(LoadBytes(back, Header(2, 2) + tooShort + Frame2x2()), "Invalid GIF data");
  // A sub-block that claims more than the file holds ends the loop, not the program.
  Bytes cut = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 200, 7};
  LoadBytes(back, Header(2, 2) + cut);
  EXPECT_EQ(back.Images()->Count(), 1);
}

TEST(GifStream, ApplicationExtensionsOfOtherSizesKeepTheirBytes) {
  const Bytes size10 = {0x21, 0xFF, 10, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', '1', '2', 2, 9, 8, 0};
  const Bytes size12 = {0x21, 0xFF, 12, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', '1', '2', '3', '4', 1, 7, 0};
  const Bytes unknown = {0x21, 0xFF, 11, 'X', 'M', 'P', ' ', 'D', 'a', 't', 'a', 'X', 'M', 'P', 3, 1, 2, 3, 0};
  for (const Bytes& ext : {size10, size12, unknown}) {
    TGIFImage img;
    LoadBytes(img, Header(2, 2) + ext + Frame2x2() + Bytes{0x3B});
    ASSERT_EQ(img.Images()->Count(), 1);
    TGIFExtension* e = img.Images()->SubImages(0)->Extensions()->Extensions(0);
    EXPECT_NE(dynamic_cast<TGIFApplicationExtension*>(e), nullptr);
    EXPECT_EQ(dynamic_cast<TGIFAppExtNSLoop*>(e), nullptr);
    TMemoryStream s;
    e->SaveToStream(&s);
    EXPECT_EQ(s.Bytes(), ext);
  }
}

// Extensions other readers skip: an unknown label, application blocks of 9 and
// of 0 bytes. The frames read as if they were not there, and saving writes the
// extensions back byte for byte in their place.
TEST(GifStream, ExtensionsOtherReadersSkipAreKeptAndWrittenBack) {
  const Bytes second = Descriptor(0, 0, 2, 2) + Codes(2, {{4, 3}, {2, 3}, {3, 3}, {0, 3}, {1, 3}, {5, 3}});
  const Bytes unknownLabel = {0x21, 0xCE, 3, 'a', 'b', 'c', 1, 0x2C, 0};  // a 0x2C inside the data
  const Bytes size9 = {0x21, 0xFF, 9, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', '1', 2, 0x3B, 0x21, 0};
  const Bytes size0 = {0x21, 0xFF, 0};
  TGIFImage plain;
  LoadBytes(plain, Header(2, 2) + Frame2x2() + second + Bytes{0x3B});
  ASSERT_EQ(plain.Images()->Count(), 2);
  for (const Bytes& ext : {unknownLabel, size9, size0, unknownLabel + size9}) {
    TGIFImage img;
    WarningLog log(img);
    LoadBytes(img, Header(2, 2) + Frame2x2() + ext + second + Bytes{0x3B});
    ASSERT_EQ(img.Images()->Count(), 2);
    EXPECT_EQ(log.Has("Unknown extension type"), ext[1] == 0xCE);
    for (int i = 0; i < 2; ++i) {
      TGIFSubImage* a = plain.Images()->SubImages(i);
      TGIFSubImage* b = img.Images()->SubImages(i);
      ASSERT_EQ(a->DataSize(), b->DataSize());
      EXPECT_TRUE(std::equal(a->Data(), a->Data() + a->DataSize(), b->Data())) << "frame " << i;
    }
    const Bytes saved = SaveBytes(img);
    const Bytes expect = SaveBytes(plain);  // same layout, the extension in front of frame 2
    const auto at = std::search(saved.begin(), saved.end(), ext.begin(), ext.end());
    ASSERT_NE(at, saved.end());
    Bytes without(saved.begin(), at);
    without.insert(without.end(), at + std::ptrdiff_t(ext.size()), saved.end());
    without[4] = expect[4];  // the extension makes the file 89a
    EXPECT_EQ(without, expect);
    TGIFImage again;
    LoadBytes(again, saved);
    EXPECT_EQ(SaveBytes(again), saved);
  }
  // Cut inside the unknown extension's data: the frame before it stays.
  TGIFImage cut;
  EXPECT_GIF_ERROR(LoadBytes(cut, Header(2, 2) + Frame2x2() + Bytes{0x21, 0xCE, 5, 'a'}), "Premature end of data");
  EXPECT_EQ(cut.Images()->Count(), 2);
  EXPECT_EQ(cut.Images()->SubImages(0)->Pixels(1, 1), 1);
}

TEST(GifStream, TablesArePaddedAndBitCountsSetTheSizeField) {
  TGIFImage img;
  AddGrays(img.GlobalColorMap(), 5);
  AddFrame(img, 0, 0, 1, 1);
  Bytes b = SaveBytes(img);
  EXPECT_EQ(b[10] & 7, 2);
  EXPECT_EQ(b[10] & 0x70, 0x20);
  EXPECT_EQ(b[13 + 24], 0x2C);  // 8 entries of 3 bytes
  EXPECT_EQ(Bytes(b.begin() + 13 + 15, b.begin() + 13 + 24), Bytes(9, 0));
  EXPECT_EQ(img.GlobalColorMap()->BitsPerPixel(), 3);

  // The exact bytes of a 1 x 1 image with two colours: minimum code size 2, and 87a
  // for a file that needs nothing newer.
  TGIFImage one;
  one.GlobalColorMap()->Add(clBlack);
  one.GlobalColorMap()->Add(clWhite);
  AddFrame(one, 0, 0, 1, 1);
  const Bytes expect = Str("GIF87a") + Bytes{1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255} + Descriptor(0, 0, 1, 1) +
                       Bytes{2, 2, 0x44, 0x01, 0, 0x3B};
  EXPECT_EQ(SaveBytes(one), expect);
}

TEST(GifStream, LocalTableFrameIsWrittenNonInterlaced) {
  // Interlaced frame with a local table of 4, and one without a local table.
  const Bytes data = Codes(2, {{4, 3}, {1, 3}, {6, 3}, {6, 3}, {5, 3}});
  const Bytes local = {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3};
  TGIFImage img;
  LoadBytes(img, Header(2, 2) + Descriptor(0, 0, 2, 2, 0xC1) + local + data + Descriptor(0, 0, 2, 2, 0x40) + data +
                     Bytes{0x3B});
  ASSERT_EQ(img.Images()->Count(), 2);
  EXPECT_TRUE(img.Images()->SubImages(0)->Interlaced());
  Bytes b = SaveBytes(img);
  TGIFImage back;
  LoadBytes(back, b);
  EXPECT_FALSE(back.Images()->SubImages(0)->Interlaced());
  EXPECT_EQ(back.Images()->SubImages(0)->Descriptor().PackedFields, 0x81);
  EXPECT_TRUE(back.Images()->SubImages(1)->Interlaced());
  EXPECT_EQ(back.Images()->SubImages(1)->Pixels(1, 1), 1);
}

TEST(GifStream, DamagedBlocksGiveWarningsAndKeepWhatWasRead) {
  {  // stray bytes after a bad introducer are never taken for a descriptor
    TGIFImage img;
    WarningLog log(img);
    Bytes gce = {0x21, 0xF9, 4, 0, 0, 0, 0, 0};
    LoadBytes(img, Header(2, 2) + Frame2x2() + gce + Bytes{0x55, 0x01, 0x00, 0x01, 0x00, 0x05, 0x00, 0x05, 0, 0} +
                       Frame2x2() + Bytes{0x3B});
    EXPECT_TRUE(log.Has("Invalid extension introducer"));
    EXPECT_TRUE(log.Has("Unknown GIF block type"));
    ASSERT_EQ(img.Images()->Count(), 2);
    EXPECT_TRUE(img.Images()->SubImages(1)->Empty());
    EXPECT_EQ(img.Width(), 2);
  }
  {  // unknown block, then a bad trailer
    TGIFImage img;
    WarningLog log(img);
    LoadBytes(img, Header(2, 2) + Frame2x2() + Bytes{0x99});
    EXPECT_TRUE(log.Has("Unknown GIF block type"));
    EXPECT_TRUE(log.Has("Invalid Image trailer"));
    EXPECT_EQ(img.Images()->Count(), 1);
  }
  {  // zero-size frame takes the screen's size; short control extension
    TGIFImage img;
    WarningLog log(img);
    LoadBytes(img, Header(3, 2) + Descriptor(0, 0, 0, 5) + Codes(2, {{4, 3}, {5, 3}}) + Bytes{0x21, 0xF9, 4, 1});
    EXPECT_TRUE(log.Has("Image exceeds Logical Screen size"));
    EXPECT_TRUE(log.Has("Premature end of data"));
    EXPECT_EQ(img.Images()->SubImages(0)->Width(), 3);
    EXPECT_EQ(img.Images()->SubImages(0)->Height(), 2);
  }
  {  // an exception keeps the frames read before it
    TGIFImage img;
    EXPECT_GIF_ERROR(LoadBytes(img, Header(2, 2) + Frame2x2() + Descriptor(0, 0, 2, 2, 0x80) + Bytes{1, 2}),
                     "Premature end of data");
    EXPECT_EQ(img.Images()->Count(), 2);
  }
}

TEST(GifStream, FileCutInsideAFrameWarnsAndItsFrameShowsNoImage) {
  const Bytes first = Header(2, 2) + Frame2x2(), gce = {0x21, 0xF9, 4, 0, 0, 0, 0, 0};
  const Bytes whole = first + gce + Frame2x2() + Bytes{0x3B};
  const std::size_t second = first.size() + gce.size();  // where the second descriptor starts
  const struct {
    std::size_t Length;
    bool Warns;
    int Frames, SecondWidth;  // frames kept; the second one's width (0: no image)
  } cuts[] = {
      {whole.size(), false, 2, 2},
      {first.size(), false, 1, -1},        // between blocks: the trailer alone is missing
      {first.size() + 3, true, 2, 0},      // inside the control extension
      {second, true, 2, 0},                // after it, before the descriptor
      {second + 10, true, 2, 2},           // before the minimum code size
      {second + 11, true, 2, 2},           // before the first sub-block
      {whole.size() - 3, true, 2, 2},      // inside the last sub-block
  };
  for (const auto& c : cuts) {
    TGIFImage img;
    WarningLog log(img);
    LoadBytes(img, Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(c.Length)));
    EXPECT_EQ(log.Has("Premature end of data"), c.Warns) << c.Length;
    ASSERT_EQ(img.Images()->Count(), c.Frames) << c.Length;
    if (c.Frames == 2) {
      EXPECT_EQ(img.Images()->SubImages(1)->Width(), c.SecondWidth) << c.Length;
    }
    EXPECT_EQ(img.Images()->SubImages(0)->Pixels(1, 1), 1) << c.Length;
  }
}

TEST(GifStream, ScreenGrowsToHoldFrames) {
  TGIFImage img;
  LoadBytes(img, Header(1, 1) + Descriptor(3, 4, 2, 2) + Codes(2, {{4, 3}, {5, 3}}) + Bytes{0x3B});
  EXPECT_EQ(img.Width(), 5);
  EXPECT_EQ(img.Height(), 6);
}

TEST(GifStream, TinyFileCannotClaimHugeFrames) {
  TGIFImage img;
  EXPECT_THROW(LoadBytes(img, Header(2, 2) + Descriptor(0, 0, 65535, 65535) + Codes(2, {{4, 3}, {5, 3}})),
               GIFException);
  // Many frames each under the frame cap, together past the image cap.
  Bytes b = Header(2, 2);
  for (int i = 0; i < 10; ++i) b = b + Descriptor(0, 0, 8000, 8000) + Codes(2, {{4, 3}, {5, 3}});
  EXPECT_GIF_ERROR(LoadBytes(img, b), "The frames of this image hold more pixels than this program accepts");
  EXPECT_LE(img.PixelTotal(), GIFMaxImagePixels);
  img.Clear();
  EXPECT_EQ(img.PixelTotal(), 0);
}

TEST(GifStream, OversizedImagesAreRefusedOnSaveAndLeaveNoFile) {
  TGIFImage img;
  AddGrays(img.GlobalColorMap(), 2);
  AddFrame(img, 65535, 0, 1, 1);
  EXPECT_EQ(img.Width(), 65536);
  const std::string path = TestTempFile("oversize.gif");
  std::remove(path.c_str());
  EXPECT_THROW(img.SaveToFile(path), GIFException);
  EXPECT_FALSE(std::filesystem::exists(path));

  // A pixel beyond the table fails the save as well; the old file stays whole.
  TGIFImage bad;
  AddGrays(bad.GlobalColorMap(), 2);
  AddFrame(bad, 0, 0, 2, 1, {0, 1});
  bad.SaveToFile(path);
  bad.Images()->SubImages(0)->Data()[1] = 7;
  EXPECT_GIF_ERROR(bad.SaveToFile(path), "Color not in color table");
  TGIFImage back;
  back.LoadFromFile(path);
  EXPECT_EQ(back.Images()->SubImages(0)->Pixels(1, 0), 1);
  EXPECT_TRUE(PartFilesBeside(path).empty());
  std::remove(path.c_str());
}

TEST(GifStream, ProgressReportsLoadingAndEndsAtZeroOnFailure) {
  TGIFImage img;
  std::vector<std::string> seen;
  img.OnProgress = [&](TObject*, TProgressStage st, std::uint8_t pct, bool, const TRect&, const std::string& m) {
    seen.push_back(std::to_string(int(st)) + ":" + std::to_string(pct) + ":" + m);
  };
  LoadBytes(img, Header(2, 2) + Frame2x2() + Bytes{0x3B});
  EXPECT_EQ(seen.front(), "0:0:Loading...");
  EXPECT_EQ(seen.back(), "2:100:Loading...");
  seen.clear();
  SaveBytes(img);
  EXPECT_EQ(seen, (std::vector<std::string>{"0:0:Saving...", "1:100:Saving...", "2:100:Saving..."}));
  seen.clear();
  EXPECT_THROW(LoadBytes(img, Str("GIF8")), GIFException);
  EXPECT_EQ(seen.back(), "2:0:Loading...");
}
