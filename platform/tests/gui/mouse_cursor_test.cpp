// Cursors from cursor files and their picture, the cursor name table, mouse
// capture, leaving and double clicks.
#include <cstdint>
#include <fstream>
#include <vector>

#include "app_fixture.h"
#include "gui_test.h"
#include "test_temp.h"

namespace {

using formstest::FormTest;

// A 16 x 16 two-colour cursor file: a black 4 x 4 square at (2, 3) on a see-through
// cell, the hot spot at (3, 5) (or an icon, which has none).
std::vector<std::uint8_t> SquareCursor(bool Icon = false) {
  std::vector<std::uint8_t> d;
  auto u16 = [&](int v) { d.push_back(std::uint8_t(v)), d.push_back(std::uint8_t(v >> 8)); };
  auto u32 = [&](std::uint32_t v) { u16(int(v & 0xFFFF)), u16(int(v >> 16)); };
  const int rows = 16, rowBytes = 4;
  const std::uint32_t imageSize = 40 + 8 + 2 * rows * rowBytes;
  u16(0), u16(Icon ? 1 : 2), u16(1);
  d.push_back(16), d.push_back(16), d.push_back(2), d.push_back(0);
  u16(Icon ? 1 : 3), u16(Icon ? 1 : 5), u32(imageSize), u32(22);
  u32(40), u32(16), u32(32), u16(1), u16(1), u32(0), u32(0), u32(0), u32(0), u32(2), u32(0);
  u32(0), u32(0x00FFFFFF);  // black, white
  for (int pass = 0; pass < 2; ++pass)
    for (int y = rows - 1; y >= 0; --y) {  // bottom-up
      std::uint32_t bits = 0;
      for (int x = 0; x < 16; ++x) {
        const bool square = x >= 2 && x < 6 && y >= 3 && y < 7;
        // First the colour (0: black), then the mask (1: see-through).
        if (pass == 1 && !square) bits |= 1u << (31 - x);
      }
      for (int k = 3; k >= 0; --k) d.push_back(std::uint8_t(bits >> (8 * k)));
    }
  return d;
}

TColor PixelAfterDrawing(HCURSOR Cursor, int X, int Y) {
  TBitmap bmp;
  bmp.SetSize(40, 40);
  bmp.Canvas()->Brush()->SetColor(clLime);
  bmp.Canvas()->FillRect(Rect(0, 0, 40, 40));
  DrawCursor(bmp.Canvas(), 20, 20, Cursor);
  return bmp.Canvas()->Pixels(X, Y);
}

TEST_F(FormTest, CursorsComeFromCursorFilesWithTheirHotSpot) {
  const std::vector<std::uint8_t> data = SquareCursor();
  HCURSOR c = CreateCursorFromData(data.data(), data.size());
  ASSERT_NE(c, 0u);
  // Drawn at (20, 20): the hot spot (3, 5) lands there, so the square spans 19..22 x 18..21.
  EXPECT_EQ(PixelAfterDrawing(c, 19, 18), clBlack);
  EXPECT_EQ(PixelAfterDrawing(c, 22, 21), clBlack);
  EXPECT_EQ(PixelAfterDrawing(c, 23, 21), clLime) << "see-through beside the square";
  EXPECT_EQ(PixelAfterDrawing(c, 19, 22), clLime);

  // From a file, into the first free number.
  const std::string file = TestTempFile("square.cur");
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  HCURSOR fromFile = LoadCursorFromFile(file);
  ASSERT_NE(fromFile, 0u);
  const TCursor n = Screen->AddCursor(fromFile);
  EXPECT_GE(n, 1);
  EXPECT_EQ(Screen->Cursors(n), fromFile);
  const TCursor next = Screen->AddCursor(c);
  EXPECT_NE(next, n);
  EXPECT_GE(next, 1);

  // Not cursors at all.
  EXPECT_EQ(LoadCursorFromFile(TestTempFile("missing.cur")), 0u);
  EXPECT_EQ(LoadCursorFromResourceName("NO_SUCH_CURSOR"), 0u);
  std::vector<std::uint8_t> junk = data;
  junk[2] = 7;
  EXPECT_EQ(CreateCursorFromData(junk.data(), junk.size()), 0u);
  EXPECT_EQ(CreateCursorFromData(data.data(), 10), 0u);
  junk = data;
  junk.resize(60);  // header fine, picture cut short
  EXPECT_EQ(CreateCursorFromData(junk.data(), junk.size()), 0u);
  // An icon has no hot spot: it takes the cursor's middle.
  const std::vector<std::uint8_t> icon = SquareCursor(true);
  HCURSOR ic = CreateCursorFromData(icon.data(), icon.size());
  ASSERT_NE(ic, 0u);
  EXPECT_EQ(PixelAfterDrawing(ic, 20 - 8 + 2, 20 - 8 + 3), clBlack);
  EXPECT_EQ(Screen->Cursors(1000), Screen->Cursors(crDefault));  // unknown: the default
  Screen->SetCursors(1000, ic);  // the screen frees it
  EXPECT_EQ(Screen->Cursors(1000), ic);
  auto image = guitest::MakeBitmap(16, 16, clWhite);
  Screen->SetCursors(2020, CreateBitmapCursor(image.get(), 5, 0));
  EXPECT_NE(Screen->Cursors(2020), Screen->Cursors(crDefault));
}

TEST(CursorNames, NamesAndNumbersGoBothWays) {
  std::vector<std::string> names;
  GetCursorValues([&](const std::string& s) { names.push_back(s); });
  ASSERT_EQ(names.size(), 23u);
  for (const std::string& s : names) EXPECT_EQ(CursorToString(StringToCursor(s)), s);
  EXPECT_EQ(StringToCursor("crLumHand"), 2020);
  EXPECT_EQ(StringToCursor("CRHANDPOINT"), crHandPoint);
  EXPECT_EQ(StringToCursor("2021"), 2021);
  EXPECT_EQ(CursorToString(-40), "-40");
  EXPECT_THROW(StringToCursor("crNoSuchThing"), EConvertError);
}

TEST_F(FormTest, CaptureFollowsTheLastControlAndEndsWithIt) {
  auto* a = Add<TPanel>();
  auto* b = Add<TPanel>();
  b->SetLeft(100);
  ShowForm();
  a->SetMouseCapture(true);
  EXPECT_TRUE(a->MouseCapture());
  EXPECT_EQ(GetCaptureControl(), a);
  b->SetMouseCapture(true);
  EXPECT_FALSE(a->MouseCapture());
  EXPECT_EQ(GetCaptureControl(), b);
  a->SetMouseCapture(false);  // not a's to let go
  EXPECT_TRUE(b->MouseCapture());
  delete b;
  EXPECT_EQ(GetCaptureControl(), nullptr) << "a freed control holds nothing";
  a->SetMouseCapture(true);
  ReleaseCapture();
  EXPECT_FALSE(a->MouseCapture());
}

TEST_F(FormTest, LeavingAndDoubleClickingFireTheirEvents) {
  auto* p = Add<TPanel>();
  int left = 0, doubles = 0, clicks = 0;
  p->OnMouseLeave = [&](TObject*) { ++left; };
  p->OnDblClick = [&](TObject*) { ++doubles; };
  p->OnClick = [&](TObject*) { ++clicks; };
  ShowForm();
  TestInput::PostMouseLeave(p);
  TestInput::PostDblClick(p, 5, 5);
  Pump();
  EXPECT_EQ(left, 1);
  EXPECT_EQ(doubles, 1);
  EXPECT_EQ(clicks, 2) << "each release inside is a click";
}

}  // namespace
