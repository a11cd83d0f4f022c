// Bitmaps: pixel formats and their scan-line layouts, palettes, bitmap files, icons.
#include <gtest/gtest.h>

#include <cstring>

#include "gui_test.h"

using guitest::MakeBitmap;

namespace {

const TPixelFormat kFormats[] = {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};

std::vector<std::uint8_t> Row(TBitmap* b, int y) {
  auto* p = static_cast<std::uint8_t*>(b->ScanLine(y));
  int bytes = (b->Width() * PixelFormatBits(b->PixelFormat()) + 7) / 8;
  return std::vector<std::uint8_t>(p, p + bytes);
}

std::vector<std::vector<std::uint8_t>> Rows(TBitmap* b) {
  std::vector<std::vector<std::uint8_t>> r;
  for (int y = 0; y < b->Height(); ++y) r.push_back(Row(b, y));
  return r;
}

std::vector<TPaletteEntry> Entries(HPALETTE h) {
  std::vector<TPaletteEntry> e(size_t(GetPaletteEntries(h, 0, 0, nullptr)));
  if (!e.empty()) GetPaletteEntries(h, 0, int(e.size()), e.data());
  return e;
}

// An odd-sized bitmap of the format with varied pixels, drawn through its canvas.
std::unique_ptr<TBitmap> Sample(TPixelFormat pf) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf);
  b->SetSize(13, 7);
  TCanvas* c = b->Canvas();
  const TColor colors[] = {clRed, clLime, clBlue, clYellow, clBlack, clTeal, RGB(40, 90, 200)};
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) c->SetPixels(x, y, colors[(x * 3 + y) % 7]);
  return b;
}

std::uint32_t Le32(const std::vector<std::uint8_t>& v, size_t at) {
  return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) | (std::uint32_t(v[at + 3]) << 24);
}

// The file header and a 40-byte info header of a hand-made bitmap file.
std::vector<std::uint8_t> FileHeader(int w, int h, int bits, int compression, int colors, int pixelsAt) {
  std::vector<std::uint8_t> v(54, 0);
  auto put = [&](size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + size_t(i)] = std::uint8_t(x >> (8 * i));
  };
  v[0] = 'B', v[1] = 'M';
  put(10, std::uint32_t(pixelsAt));
  put(14, 40);
  put(18, std::uint32_t(w));
  put(22, std::uint32_t(h));
  v[26] = 1;
  v[28] = std::uint8_t(bits);
  put(30, std::uint32_t(compression));
  put(46, std::uint32_t(colors));
  return v;
}

TBitmap* LoadBytes(TBitmap* b, const std::vector<std::uint8_t>& bytes) {
  TMemoryStream s;
  s.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
  s.SetPosition(0);
  b->LoadFromStream(&s);
  return b;
}

}  // namespace

TEST(BitmapFiles, EveryPixelFormatSurvivesARoundTripInItsOwnLayout) {
  for (TPixelFormat pf : kFormats) {
    SCOPED_TRACE(pf);
    auto b = Sample(pf);
    TMemoryStream s;
    b->SaveToStream(&s);
    const auto& bytes = s.Bytes();
    int bits = PixelFormatBits(pf);
    int colors = pf == pf1bit ? 2 : pf == pf4bit ? 16 : pf == pf8bit ? 256 : 0;
    int stride = BytesPerScanline(13, bits, 32);
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(Le32(bytes, 2), bytes.size());
    EXPECT_EQ(bytes[28], bits);
    size_t header = 14 + 40 + (pf == pf16bit ? 12 : 0) + 4 * size_t(colors);
    EXPECT_EQ(Le32(bytes, 10), header);
    EXPECT_EQ(bytes.size(), header + size_t(stride) * 7);

    TBitmap back;
    s.SetPosition(0);
    back.LoadFromStream(&s);
    EXPECT_EQ(s.Position(), s.Size());
    EXPECT_EQ(back.PixelFormat(), pf);
    EXPECT_EQ(back.Width(), 13);
    EXPECT_EQ(back.Height(), 7);
    EXPECT_EQ(Rows(&back), Rows(b.get()));
    EXPECT_EQ(Entries(back.Palette()), Entries(b->Palette()));
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x) EXPECT_EQ(back.Canvas()->Pixels(x, y), b->Canvas()->Pixels(x, y));
  }
}

TEST(BitmapFiles, TopDownCompressedAndMaskedFilesAreRead) {
  // A 3 x 2 top-down 24-bit file.
  auto f = FileHeader(3, -2, 24, 0, 0, 54);
  f.insert(f.end(), {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0,  // red, green, blue, padding
                     255, 255, 255, 0, 0, 0, 0, 255, 255, 0, 0, 0});
  TBitmap b;
  LoadBytes(&b, f);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(2, 0), clBlue);
  EXPECT_EQ(b.Canvas()->Pixels(2, 1), clYellow);

  // RLE8, 4 x 2, two colours: bottom row "run of 4 x index 1", top row "absolute 0 1 0 1".
  auto r = FileHeader(4, 2, 8, 1, 2, 62);
  r.insert(r.end(), {0, 0, 0, 0, 255, 255, 255, 0});
  r.insert(r.end(), {4, 1, 0, 0, 0, 4, 0, 1, 0, 1, 0, 1});
  LoadBytes(&b, r);
  EXPECT_EQ(b.PixelFormat(), pf8bit);
  EXPECT_EQ(b.Canvas()->Pixels(0, 1), clWhite);
  EXPECT_EQ(b.Canvas()->Pixels(3, 1), clWhite);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clBlack);
  EXPECT_EQ(b.Canvas()->Pixels(1, 0), clWhite);

  // 32 bits with colour masks in another order: read through the masks.
  auto m = FileHeader(1, 1, 32, 3, 0, 66);
  m.insert(m.end(), {0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0});  // red, green, blue masks
  m.insert(m.end(), {0x10, 0x20, 0x30, 0});
  LoadBytes(&b, m);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), RGB(0x10, 0x20, 0x30));
}

TEST(BitmapFiles, BadFilesRaiseAndLeaveTheBitmapAlone) {
  auto b = Sample(pf8bit);
  auto before = Rows(b.get());
  TMemoryStream good;
  b->SaveToStream(&good);
  std::vector<std::uint8_t> bytes = good.Bytes();

  std::vector<std::vector<std::uint8_t>> bad;
  bad.push_back({'X', 'Y', 1, 2, 3});                                       // not a bitmap
  bad.push_back(std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 20));  // pixels cut off
  auto huge = bytes;
  huge[18] = 0xFF, huge[19] = 0xFF, huge[20] = 0xFF, huge[21] = 0x7F;  // absurd width
  bad.push_back(huge);
  auto depth = bytes;
  depth[28] = 7;  // no such pixel depth
  bad.push_back(depth);
  auto rle = bytes;
  rle[30] = 1;  // compressed, with an absolute run longer than the data left
  rle.resize(Le32(bytes, 10) + 2);
  rle[rle.size() - 2] = 0;
  rle[rle.size() - 1] = 200;
  bad.push_back(rle);
  for (size_t i = 0; i < bad.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_THROW(LoadBytes(b.get(), bad[i]), EInvalidGraphic);
    EXPECT_EQ(Rows(b.get()), before);
    EXPECT_EQ(b->PixelFormat(), pf8bit);
  }
}

// The test platform's screen is a true-colour one, so codecs never take it for a
// palette display.
TEST(Screen, ColourDepthIsThatOfATrueColourScreen) { EXPECT_GE(ScreenColorDepth(), 24); }

TEST(BitmapLayout, ScanLinesUseTheDocumentedByteLayout) {
  struct Case { TPixelFormat pf; std::vector<std::uint8_t> bytes; TColor first, second; };
  const Case cases[] = {
      {pf1bit, {0x40}, clBlack, clWhite},                               // most significant bit first
      {pf4bit, {0x9C}, clRed, clBlue},                                  // high nibble first
      {pf8bit, {9, 10}, clRed, clLime},                                 // indexes of the default palette
      {pf15bit, {0x00, 0x7C, 0x1F, 0x00}, clRed, clBlue},               // 0RRRRRGGGGGBBBBB
      {pf16bit, {0xE0, 0x07, 0x1F, 0x00}, clLime, clBlue},              // RRRRRGGGGGGBBBBB
      {pf24bit, {0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF}, clBlue, clRed},   // blue, green, red
      {pf32bit, {0x00, 0xFF, 0x00, 0x00, 0x30, 0x20, 0x10, 0x00}, clLime, RGB(0x10, 0x20, 0x30)},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.pf);
    TBitmap b;
    b.SetPixelFormat(k.pf);
    b.SetSize(2, 3);
    EXPECT_EQ(static_cast<std::uint8_t*>(b.ScanLine(1)) - static_cast<std::uint8_t*>(b.ScanLine(0)),
              BytesPerScanline(2, PixelFormatBits(k.pf), 32));
    std::memcpy(b.ScanLine(1), k.bytes.data(), k.bytes.size());
    EXPECT_EQ(b.Canvas()->Pixels(0, 1), k.first);
    EXPECT_EQ(b.Canvas()->Pixels(1, 1), k.second);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clWhite);  // new bitmaps are white
    // Drawing then reading the row again gives the bytes the canvas put there.
    b.Canvas()->SetPixels(0, 2, k.first);
    b.Canvas()->SetPixels(1, 2, k.second);
    EXPECT_EQ(Row(&b, 2), Row(&b, 1));
  }
  // Reading through the canvas leaves handed-out rows valid.
  TBitmap p8;
  p8.SetPixelFormat(pf8bit);
  p8.SetSize(4, 1);
  auto* row = static_cast<std::uint8_t*>(p8.ScanLine(0));
  EXPECT_EQ(p8.Canvas()->Pixels(1, 0), clWhite);
  row[1] = 9;
  EXPECT_EQ(p8.Canvas()->Pixels(1, 0), clRed);
  EXPECT_EQ(p8.ScanLine(0), row);

  TBitmap b;
  b.SetSize(2, 2);
  EXPECT_THROW(b.ScanLine(2), EInvalidGraphicOperation);
  EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
}

TEST(BitmapFormats, ConvertingAndResizingKeepThePixels) {
  auto b = Sample(pf32bit);
  b->SetPixelFormat(pf24bit);
  EXPECT_EQ(b->Canvas()->Pixels(0, 0), clRed);
  b->SetPixelFormat(pf8bit);  // standard colours are in the default palette
  EXPECT_EQ(b->Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(b->Canvas()->Pixels(1, 0), clYellow);
  EXPECT_EQ(GetPaletteEntries(b->Palette(), 0, 0, nullptr), 256);
  b->SetPixelFormat(pf16bit);
  EXPECT_EQ(b->Canvas()->Pixels(1, 0), clYellow);
  b->SetMonochrome(true);
  EXPECT_EQ(b->PixelFormat(), pf1bit);
  EXPECT_EQ(b->Canvas()->Pixels(1, 0), clWhite);  // yellow is nearer white than black
  EXPECT_EQ(b->Canvas()->Pixels(4, 0), clBlack);

  // Drawing on an indexed bitmap lands on the nearest palette entry.
  TBitmap g;
  g.SetPixelFormat(pf4bit);
  g.SetSize(4, 1);
  g.Canvas()->SetPixels(0, 0, RGB(250, 10, 10));
  EXPECT_EQ(g.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(*static_cast<std::uint8_t*>(g.ScanLine(0)) >> 4, 9);

  auto s = Sample(pf24bit);
  s->SetSize(20, 3);
  EXPECT_EQ(s->Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(s->Canvas()->Pixels(12, 2), Sample(pf24bit)->Canvas()->Pixels(12, 2));
  EXPECT_EQ(s->Canvas()->Pixels(13, 0), clWhite);
  s->SetWidth(0);
  EXPECT_TRUE(s->Empty());
}

TEST(BitmapPalettes, HandlesAreOwnedCopiedAndReleased) {
  TLogPalette lp;
  lp.palNumEntries = 3;
  lp.palPalEntry[0] = {255, 0, 0, 0};
  lp.palPalEntry[1] = {0, 0, 255, 0};
  lp.palPalEntry[2] = {250, 250, 250, PC_NOCOLLAPSE};
  HPALETTE h = CreatePalette(lp);
  ASSERT_NE(h, 0u);
  EXPECT_EQ(GetPaletteEntries(h, 0, 0, nullptr), 3);
  EXPECT_EQ(GetNearestPaletteIndex(h, clWhite), 2);
  EXPECT_EQ(GetNearestPaletteIndex(h, RGB(0, 0, 200)), 1);
  lp.palNumEntries = 0;
  EXPECT_EQ(CreatePalette(lp), 0u);

  TBitmap b;
  b.SetPixelFormat(pf8bit);
  b.SetSize(2, 1);
  static_cast<std::uint8_t*>(b.ScanLine(0))[0] = 0;
  static_cast<std::uint8_t*>(b.ScanLine(0))[1] = 1;
  b.SetPalette(h);  // the bitmap owns it now; indexes keep, colours change
  EXPECT_EQ(b.Palette(), h);
  EXPECT_EQ(b.Canvas()->Pixels(1, 0), clBlue);

  TBitmap copy;
  copy.Assign(&b);
  EXPECT_NE(copy.Palette(), h);
  EXPECT_EQ(Entries(copy.Palette()), Entries(h));
  copy.Canvas()->SetPixels(0, 0, clBlue);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);  // the copy has its own pixels

  HPALETTE released = b.ReleasePalette();
  EXPECT_EQ(released, h);
  EXPECT_NE(b.Palette(), h);  // a new handle for the same colours
  EXPECT_EQ(Entries(b.Palette()), Entries(h));
  EXPECT_TRUE(DeleteObject(h));
  EXPECT_FALSE(DeleteObject(h));
  EXPECT_EQ(GetPaletteEntries(h, 0, 0, nullptr), 0);
  HPALETTE owned = copy.Palette();
  { TBitmap gone; gone.SetPixelFormat(pf8bit); gone.SetPalette(CopyPalette(owned)); }
  EXPECT_EQ(GetPaletteEntries(owned, 0, 0, nullptr), 3);
}

TEST(BitmapDrawing, TransparentColourAndAssign) {
  auto b = Sample(pf24bit);
  EXPECT_EQ(b->TransparentMode(), tmAuto);
  EXPECT_EQ(b->TransparentColor(), b->Canvas()->Pixels(0, 6));
  b->SetTransparentColor(clLime);
  EXPECT_EQ(b->TransparentMode(), tmFixed);
  b->SetTransparent(true);
  auto d = MakeBitmap(13, 7, clFuchsia);
  d->Canvas()->Draw(0, 0, b.get());
  int lime = 0, fuchsia = 0;
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) {
      lime += b->Canvas()->Pixels(x, y) == clLime;
      fuchsia += d->Canvas()->Pixels(x, y) == clFuchsia;
    }
  EXPECT_GT(lime, 0);
  EXPECT_EQ(fuchsia, lime);

  TBitmap a;
  a.Assign(b.get());
  EXPECT_TRUE(a.Transparent());
  EXPECT_EQ(a.TransparentColor(), clLime);
  EXPECT_TRUE(a.Equals(b.get()));
  a.Assign(nullptr);
  EXPECT_TRUE(a.Empty());
  TPicture p;
  EXPECT_THROW(a.Assign(&p), EConvertError);
}

TEST(Icons, AnIconKeepsItsImageAndMaskThroughAFile) {
  TIcon icon;
  icon.SetSize(16, 16);
  icon.Image()->Canvas()->Brush()->SetColor(clRed);
  icon.Image()->Canvas()->FillRect(Rect(0, 0, 16, 16));
  icon.Mask()->Canvas()->Brush()->SetColor(clBlack);
  icon.Mask()->Canvas()->FillRect(Rect(0, 0, 16, 16));
  icon.Mask()->Canvas()->Brush()->SetColor(clWhite);
  icon.Mask()->Canvas()->FillRect(Rect(0, 0, 16, 4));  // top rows transparent

  TMemoryStream s;
  icon.SaveToStream(&s);
  s.SetPosition(0);
  TIcon back;
  back.LoadFromStream(&s);
  EXPECT_EQ(back.Width(), 16);
  EXPECT_EQ(back.Mask()->Canvas()->Pixels(3, 2), clWhite);
  EXPECT_EQ(back.Mask()->Canvas()->Pixels(3, 8), clBlack);
  EXPECT_EQ(back.Image()->Canvas()->Pixels(3, 8), clRed);

  auto d = MakeBitmap(20, 20, clBlue);
  d->Canvas()->Draw(2, 2, &back);
  EXPECT_EQ(d->Canvas()->Pixels(5, 4), clBlue);
  EXPECT_EQ(d->Canvas()->Pixels(5, 10), clRed);

  TMemoryStream junk;
  junk.WriteBuffer("\0\0\1\0\1\0", 6);
  junk.SetPosition(0);
  EXPECT_THROW(back.LoadFromStream(&junk), EInvalidGraphic);
  EXPECT_EQ(back.Width(), 16);
}
