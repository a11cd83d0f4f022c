// What a picture file costs to load is bounded by what it holds, not by the sizes
// its headers declare: each forged file is refused with the reader's error while
// the peak resident memory grows by at most a few MiB.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "gui_test.h"
#include "peak_memory.h"
#include "platform/jpeg.h"
#include "platform/metafile.h"
#include "test_temp.h"

namespace {

using Bytes = std::string;

void Put16(Bytes& b, unsigned v) { b += char(v & 255), b += char(v >> 8 & 255); }
void Put32(Bytes& b, std::uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }

// A bitmap info header of W x H at Bits bits (RLE8 when Rle), and a few data bytes.
Bytes Dib(std::int32_t W, std::int32_t H, unsigned Bits, bool Rle = false) {
  Bytes b;
  for (std::uint32_t v : {40u, std::uint32_t(W), std::uint32_t(H)}) Put32(b, v);
  Put16(b, 1), Put16(b, Bits), Put32(b, Rle ? 1 : 0);
  for (int i = 0; i < 5; ++i) Put32(b, 0);
  if (Bits <= 8) b += Bytes(4u << Bits, '\x7F');
  return b + (Rle ? Bytes("\x04\x01\x00\x00\x00\x01", 6) : Bytes(64, '\x55'));
}

Bytes BitmapFile(std::int32_t W, std::int32_t H, unsigned Bits, bool Rle = false) {
  const Bytes dib = Dib(W, H, Bits, Rle);
  Bytes b = "BM";
  for (std::uint32_t v : {std::uint32_t(14 + dib.size()), 0u, 54 + (Bits <= 8 ? 4u << Bits : 0)}) Put32(b, v);
  return b + dib;
}

Bytes IconFile(std::int32_t W, std::int32_t H) {
  const Bytes dib = Dib(W, 2 * H, 32);
  Bytes b;
  Put16(b, 0), Put16(b, 1), Put16(b, 1);
  b += Bytes(4, '\0'), Put16(b, 1), Put16(b, 32), Put32(b, std::uint32_t(dib.size())), Put32(b, 22);
  return b + dib;
}

// The JPEG with the frame's height and width replaced.
Bytes Resized(Bytes Jpeg, unsigned W, unsigned H) {
  for (std::size_t i = 0; i + 9 < Jpeg.size(); ++i)
    if (Jpeg[i] == '\xFF' && (Jpeg[i + 1] == '\xC0' || Jpeg[i + 1] == '\xC2')) {
      Jpeg[i + 5] = char(H >> 8), Jpeg[i + 6] = char(H & 255), Jpeg[i + 7] = char(W >> 8), Jpeg[i + 8] = char(W & 255);
      return Jpeg;
    }
  ADD_FAILURE() << "no frame header";
  return Jpeg;
}

Bytes SmallJpeg() {
  TJPEGImage j;
  j.Assign(guitest::MakeBitmap(16, 16, clTeal).get());
  TMemoryStream s;
  j.SaveToStream(&s);
  return Bytes(s.Bytes().begin(), s.Bytes().end());
}

// A progressive file from the system's encoder; empty when it is not installed.
Bytes SmallProgressiveJpeg() {
  const std::string ppm = TestTempFile("p.ppm"), jpg = TestTempFile("p.jpg");
  std::ofstream(ppm, std::ios::binary) << "P6\n16 16\n255\n" << Bytes(16 * 16 * 3, '\x60');
  if (std::system(("cjpeg -progressive " + ppm + " > " + jpg + " 2>/dev/null").c_str()) != 0) return {};
  std::ifstream in(jpg, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// An enhanced metafile header followed by Records.
Bytes Emf(const Bytes& Records) {
  Bytes b;
  Put32(b, 1), Put32(b, 88);
  for (std::uint32_t v : {0u, 0u, 99u, 99u, 0u, 0u, 2600u, 2600u}) Put32(b, v);
  Put32(b, 0x464D4520), Put32(b, 0x10000), Put32(b, std::uint32_t(88 + Records.size())), Put32(b, 2);
  while (b.size() < 88) b += '\0';
  return b + Records;
}

template <class G>
void Load(G& Graphic, const Bytes& Data) {
  TMemoryStream s;
  s.WriteBuffer(Data.data(), std::int64_t(Data.size()));
  s.SetPosition(0);
  Graphic.LoadFromStream(&s);
}

// The reader's error for Data, and how far the peak memory grew loading it.
template <class G>
std::string LoadError(const Bytes& Data, long& GrownMiB) {
  std::string message;
  GrownMiB = peakmem::PeakGrowthMiB([&] {
    G g;
    try {
      Load(g, Data);
    } catch (const EInvalidGraphic& e) {
      message = e.Message;
    }
  });
  return message;
}

}  // namespace

TEST(ReaderMemory, ForgedSizesAreRefusedWithoutTakingTheirMemory) {
  Bytes huge;  // a record claiming 2 GB
  Put32(huge, 3), Put32(huge, 0x80000000u), huge += Bytes(32, '\0');
  const Bytes progressive = SmallProgressiveJpeg();
  const struct {
    const char* what;
    Bytes data;
    std::string (*load)(const Bytes&, long&);
    const char* error;  // any when null
  } cases[] = {
      {"bitmap of 32768 x 8192 at 32 bits", BitmapFile(32768, 8192, 32), LoadError<TBitmap>, "Bitmap image is not valid"},
      {"RLE bitmap of 16384 x 16384 in a few bytes", BitmapFile(16384, 16384, 8, true), LoadError<TBitmap>,
       "Bitmap image is not valid"},
      {"icon of 16384 x 16384", IconFile(16384, 16384), LoadError<TIcon>, "Icon image is not valid"},
      {"truncated JPEG of 11000 x 11000", Resized(SmallJpeg(), 11000, 11000), LoadError<TJPEGImage>, nullptr},
      {"progressive JPEG of 11000 x 11000", progressive.empty() ? progressive : Resized(progressive, 11000, 11000),
       LoadError<TJPEGImage>, nullptr},
      {"metafile record of 2 GB", Emf(huge), LoadError<TMetafile>, "Metafile is not valid"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.data.empty()) continue;  // no encoder to make one
    long grown = 0;
    const std::string message = c.load(c.data, grown);
    EXPECT_TRUE(c.error ? message == c.error : !message.empty()) << message;
    EXPECT_LE(grown, 16);  // below zero where the peak cannot be read
  }
}

TEST(ReaderMemory, APictureStretchedFarBeyondTheSurfaceCostsOnlyWhatShows) {
  // A 2 x 2 bitmap stretched over 1000 x 1000 pixels of a 10 x 10 frame, played into
  // 48 x 32: 4800 x 3200 pixels, of which the surface shows its own.
  Bytes rec;
  Put32(rec, 81), Put32(rec, 136);
  for (int i = 0; i < 4; ++i) Put32(rec, 0);  // bounds
  for (std::uint32_t v : {0u, 0u, 0u, 0u, 2u, 2u, 80u, 40u, 120u, 16u, 0u, 0xCC0020u, 1000u, 1000u}) Put32(rec, v);
  rec += Dib(2, 2, 32).substr(0, 40) + Bytes(16, '\x40');
  Put32(rec, 14), Put32(rec, 20), rec += Bytes(12, '\0');  // end of file
  Bytes emf = Emf(rec);
  emf[16] = emf[20] = 9;  // a 10 x 10 frame
  TMetafile m;
  Load(m, emf);
  auto surface = guitest::MakeBitmap(48, 32);
  const long grown = peakmem::PeakGrowthMiB([&] { surface->Canvas()->StretchDraw(Rect(0, 0, 48, 32), &m); });
  EXPECT_EQ(guitest::CountColor(surface->Canvas(), Rect(0, 0, 48, 32), TColor(0x404040)), 48 * 32);
  EXPECT_LE(grown, 16);
}
