// Shapes: the layers of a box in their order, rounded corners, bevels, transparency,
// a box at a position of its own; margins in their three units; the panel's back
// image, shadow and repaint switch.

#include "engine/marks.h"
#include "engine_test.h"
#include "gui_test.h"

namespace {

// A flat canvas drawing straight onto a white bitmap.
struct TSurface {
  explicit TSurface(int W = 100, int H = 80) : Bitmap(guitest::MakeBitmap(W, H)) {
    Canvas.SetBufferedDisplay(false);
    Canvas.InitWindow(Bitmap->Canvas(), nullptr, clNone, false, {0, 0, W, H});
  }
  TColor At(int X, int Y) { return Bitmap->Canvas()->Pixels(X, Y); }
  std::unique_ptr<TBitmap> Bitmap;
  TLumCanvas3D Canvas;
};

constexpr TColor ShadowRed = 0x0000C0, FrameBlue = 0xC00000, FillGreen = 0x00A000, EmbossColor = 0x404040;
const TRect Box{20, 20, 60, 50};

// A box with a red shadow 6 pixels down-right, a blue one-pixel frame and a green fill.
void Layered(TLumCustomShape& S) {
  S.Shadow()->SetVisible(true);
  S.Shadow()->SetColor(ShadowRed);
  S.Shadow()->SetSize(6);
  S.Frame()->SetColor(FrameBlue);
  S.SetColor(FillGreen);
}

TEST(Shape, EachLayerCoversTheOneBefore) {
  const TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
  TLumCustomShape shape;
  Layered(shape);
  {
    TSurface s;
    shape.DrawShapeOnCanvas(&s.Canvas, Box);
    EXPECT_EQ(s.At(64, 55), ShadowRed);  // the shadow alone
    EXPECT_EQ(s.At(30, 49), FrameBlue);  // the frame over the shadow
    EXPECT_EQ(s.At(40, 35), FillGreen);  // the fill over the shadow
    EXPECT_EQ(s.At(21, 21), FillGreen);  // no bevel yet
    EXPECT_EQ(shape.ShapeBounds(), Box);
  }
  shape.SetBevel(bvRaised);
  shape.SetBevelWidth(3);
  {
    TSurface s;
    shape.DrawShapeOnCanvas(&s.Canvas, Box);
    EXPECT_EQ(s.At(20, 30), FrameBlue);  // the bevel lies inside the frame
    EXPECT_EQ(s.At(23, 30), light);      // over the fill, three pixels deep
    EXPECT_EQ(s.At(58, 30), dark);
    EXPECT_EQ(s.At(24, 30), FillGreen);
  }
  auto pic = guitest::MakeBitmap(4, 4, clYellow);
  shape.Picture()->SetGraphic(pic.get());
  {
    TSurface s;
    shape.DrawShapeOnCanvas(&s.Canvas, Box);
    EXPECT_EQ(s.At(40, 35), clYellow);  // the picture over the fill
    EXPECT_EQ(s.At(24, 24), clYellow);
    EXPECT_EQ(s.At(23, 30), light);  // but inside the bevel
  }
  shape.Emboss()->SetVisible(true);
  shape.Emboss()->SetColor(EmbossColor);
  shape.Emboss()->SetSize(3);
  {
    TSurface s;
    shape.DrawShapeOnCanvas(&s.Canvas, Box);
    EXPECT_EQ(s.At(61, 52), EmbossColor);  // the emboss rim over the shadow
    EXPECT_EQ(s.At(64, 55), ShadowRed);
    EXPECT_EQ(s.At(40, 35), clYellow);  // never over the box itself
    EXPECT_EQ(s.At(18, 30), shape.Emboss()->LightColor());
  }
}

TEST(Shape, TransparentDrawsNothingAndTransparencyBlends) {
  TLumCustomShape shape;
  Layered(shape);
  shape.SetTransparent(true);
  TSurface a;
  shape.DrawShapeOnCanvas(&a.Canvas, Box);
  EXPECT_EQ(guitest::CountColor(a.Bitmap->Canvas(), {0, 0, 100, 80}, clWhite), 100 * 80);
  EXPECT_EQ(shape.ShapeBounds(), Box);  // the box is still kept

  shape.SetTransparent(false);
  shape.SetTransparency(100);
  TSurface b;
  shape.DrawShapeOnCanvas(&b.Canvas, Box);
  EXPECT_EQ(guitest::CountColor(b.Bitmap->Canvas(), {0, 0, 100, 80}, clWhite), 100 * 80);

  shape.SetTransparency(50);
  TSurface c;
  shape.DrawShapeOnCanvas(&c.Canvas, Box);
  const TColor fill = c.At(40, 35), shadow = c.At(64, 55);
  // Half the fill and half the white beneath, the shadow likewise.
  EXPECT_NEAR(GetGValue(fill), (0xA0 + 0xFF) / 2, 2);
  EXPECT_NEAR(GetRValue(fill), 0xFF / 2, 2);
  EXPECT_NEAR(GetRValue(shadow), (0xC0 + 0xFF) / 2, 2);

  shape.SetTransparency(150);
  EXPECT_EQ(shape.Transparency(), 100);
}

TEST(Shape, RoundFrameLeavesTheCornersAndLoweredBevelSwapsTheLight) {
  TLumCustomShape shape;
  shape.Frame()->SetColor(FrameBlue);
  shape.SetColor(FillGreen);
  shape.SetShapeStyle(fosRoundRectangle);
  shape.SetRoundSize(20);
  TSurface s;
  shape.DrawShapeOnCanvas(&s.Canvas, Box);
  EXPECT_EQ(s.At(20, 20), clWhite);
  EXPECT_EQ(s.At(22, 22), clWhite);
  EXPECT_EQ(s.At(40, 20), FrameBlue);  // straight edges stay where they were
  EXPECT_EQ(s.At(20, 35), FrameBlue);
  EXPECT_EQ(s.At(40, 35), FillGreen);
  EXPECT_EQ(s.At(59, 49), clWhite);

  shape.SetShapeStyle(fosRectangle);
  shape.SetBevel(bvLowered);
  shape.SetBevelWidth(0);  // acts as the least bevel
  EXPECT_EQ(shape.BevelWidth(), 1);
  TSurface t;
  shape.DrawShapeOnCanvas(&t.Canvas, Box);
  EXPECT_EQ(t.At(20, 20), FrameBlue);
  EXPECT_EQ(t.At(21, 30), ColorToRGB(clBtnShadow));
  EXPECT_EQ(t.At(58, 30), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(t.At(22, 30), FillGreen);
}

TEST(Shape, HtmlTextIsFormattedPlainTextIsNot) {
  TLumCustomShape shape;
  TSurface s(200, 40);
  shape.Font()->SetColor(clBlack);
  s.Canvas.AssignFont(shape.Font());
  const std::string text = "<b>bold</b>";
  const int plain = shape.TextExtent(&s.Canvas, text).cx;
  shape.SetTextFormat(ttfHtml);
  const int html = shape.TextExtent(&s.Canvas, text).cx;
  EXPECT_LT(html, plain);  // the tags are not written
  s.Canvas.SetTextAlign(TA_LEFT | TA_TOP);
  s.Canvas.SetBackMode(cbmTransparent);
  shape.DrawText(&s.Canvas, 2, 2, 0, text);
  const TRect ink = guitest::InkBounds(s.Bitmap->Canvas(), {0, 0, 200, 40}, clWhite);
  EXPECT_LE(ink.Right - 2, html + 1);
}

TEST(ShapePosition, LeftAndTopMoveTheBoxAndSwitchCustomPositionOn) {
  TCountingChart chart;
  TLumCustomShapePosition shape(&chart);
  shape.SetShapeBounds({5, 6, 55, 26});
  EXPECT_FALSE(shape.CustomPosition());
  const int before = chart.Invalidates;
  shape.SetLeft(30);
  EXPECT_TRUE(shape.CustomPosition());
  EXPECT_EQ(shape.ShapeBounds(), TRect(30, 6, 80, 26));
  shape.SetTop(40);
  EXPECT_EQ(shape.ShapeBounds(), TRect(30, 40, 80, 60));
  EXPECT_GT(chart.Invalidates, before);
  shape.SetShapeWidth(10);
  shape.SetShapeHeight(7);
  EXPECT_EQ(shape.ShapeBounds(), TRect(30, 40, 40, 47));

  shape.SetCustomPosition(false);
  EXPECT_EQ(shape.Left(), 30);  // the box stays; the owner places it again
}

TEST(Margins, CalcPixelsPerUnit) {
  TMargins m;
  m.SetLeft(50);
  m.SetTop(25);
  m.SetRight(10);
  m.SetBottom(-20);
  EXPECT_EQ(m.HorizSize(), 60);
  EXPECT_EQ(m.VertSize(), 5);
  // Percent of the font: 50 % of 12 is 6; 25 % of 10 would be 2.5 (half to even).
  EXPECT_EQ(m.CalcPixels(200, 40, 12), TRect(6, 3, 1, -2));
  EXPECT_EQ(m.CalcPixels(200, 40, 10), TRect(5, 2, 1, -2));
  m.SetUnits(maPercentSize);  // left and right of the width, top and bottom of the height
  EXPECT_EQ(m.CalcPixels(200, 40, 12), TRect(100, 10, 20, -8));
  m.SetUnits(maPixels);
  EXPECT_EQ(m.CalcPixels(200, 40, 12), TRect(50, 25, 10, -20));
}

// A panel with nothing in it but its background.
class TBarePanel : public TCountingChart {
public:
  TBarePanel() {
    SetBounds(0, 0, 60, 40);
    SetBevelOuter(bvNone);
    SetColor(clWhite);
    SetAxisVisible(false);
  }
};

TEST(Panel, BackImageModesShadowAndRepaintSwitch) {
  TBarePanel chart;
  auto pic = guitest::MakeBitmap(8, 6, clRed);
  pic->Canvas()->SetPixels(0, 0, clBlue);  // marks the picture's corner
  chart.BackImage()->SetGraphic(pic.get());
  auto stretched = Render(&chart);
  EXPECT_EQ(guitest::CountColor(stretched->Canvas(), {0, 0, 60, 40}, clWhite), 0);

  chart.SetBackImageMode(pbmTile);
  auto tiled = Render(&chart);
  EXPECT_EQ(tiled->Canvas()->Pixels(0, 0), clBlue);
  EXPECT_EQ(tiled->Canvas()->Pixels(8, 6), clBlue);
  EXPECT_EQ(tiled->Canvas()->Pixels(56, 36), clBlue);

  chart.SetBackImageMode(pbmCenter);
  auto centred = Render(&chart);
  EXPECT_EQ(centred->Canvas()->Pixels(26, 17), clBlue);
  EXPECT_EQ(guitest::CountColor(centred->Canvas(), {0, 0, 60, 40}, clRed), 8 * 6 - 1);

  chart.SetBackImageMode(pbmCustom);
  chart.BackImage()->SetLeft(55);
  chart.BackImage()->SetTop(3);
  auto custom = Render(&chart);
  EXPECT_EQ(custom->Canvas()->Pixels(55, 3), clBlue);
  EXPECT_EQ(guitest::CountColor(custom->Canvas(), {0, 0, 60, 40}, clRed), 5 * 6 - 1);  // cut at the edge

  chart.BackImage()->SetInside(true);
  auto inside = Render(&chart);
  EXPECT_EQ(inside->Canvas()->Pixels(55, 3), clWhite);
  // Tiles start at the plot's corner, not the panel's.
  chart.SetBackImageMode(pbmTile);
  auto insideTiled = Render(&chart);
  const TRect plot = chart.ChartRect();
  ASSERT_GT(plot.Left, 0);
  EXPECT_EQ(insideTiled->Canvas()->Pixels(plot.Left, plot.Top), clBlue);
  EXPECT_EQ(insideTiled->Canvas()->Pixels(plot.Left + 8, plot.Top + 6), clBlue);
  EXPECT_EQ(insideTiled->Canvas()->Pixels(plot.Left - 1, plot.Top), clWhite);

  chart.BackImage()->SetInside(false);
  chart.BackImage()->Assign(nullptr);
  chart.Shadow()->SetVisible(true);
  chart.Shadow()->SetColor(clBlack);
  chart.Shadow()->SetSize(4);
  chart.SetColor(clSilver);
  auto shadowed = Render(&chart, clWhite);
  EXPECT_EQ(shadowed->Canvas()->Pixels(57, 37), clBlack);
  EXPECT_EQ(shadowed->Canvas()->Pixels(55, 35), clSilver);
  EXPECT_EQ(shadowed->Canvas()->Pixels(2, 38), clWhite);

  auto* canvas = static_cast<TLumCanvas3D*>(chart.Canvas());
  chart.Draw(chart.ClientRect());
  ASSERT_FALSE(canvas->Dirty());
  chart.SetRepaintOnChange(false);
  chart.Shadow()->SetSize(2);
  chart.Gradient()->SetVisible(true);
  EXPECT_FALSE(canvas->Dirty());
  chart.SetRepaintOnChange(true);
  chart.Shadow()->SetSize(3);
  EXPECT_TRUE(canvas->Dirty());
  bool flag = false;
  EXPECT_TRUE(chart.SetBooleanProperty(flag, true));
  EXPECT_FALSE(chart.SetBooleanProperty(flag, true));
  TColor colour = clRed;
  EXPECT_FALSE(chart.SetColorProperty(colour, clRed));
}

TEST(Panel, BorderRoundKeepsTheCornersOffTheBorder) {
  TBarePanel chart;
  chart.Border()->Show();
  chart.Border()->SetColor(clBlue);
  auto square = Render(&chart, clWhite);
  EXPECT_EQ(square->Canvas()->Pixels(0, 0), clBlue);
  chart.SetBorderRound(16);
  auto round = Render(&chart, clWhite);
  EXPECT_NE(round->Canvas()->Pixels(0, 0), clBlue);
  EXPECT_NE(round->Canvas()->Pixels(1, 1), clBlue);
  EXPECT_EQ(round->Canvas()->Pixels(30, 0), clBlue);
  EXPECT_EQ(round->Canvas()->Pixels(0, 20), clBlue);
}

TEST(Shape, RoundCornersBendTheBevelAndTheShadowToo) {
  const TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
  TLumCustomShape shape;
  Layered(shape);
  shape.SetShapeStyle(fosRoundRectangle);
  shape.SetRoundSize(20);
  shape.SetBevel(bvRaised);
  shape.SetBevelWidth(2);
  TSurface s;
  shape.DrawShapeOnCanvas(&s.Canvas, Box);
  // Straight edges: light on the top and left, dark on the others, inside the frame.
  EXPECT_EQ(s.At(40, 21), light);
  EXPECT_EQ(s.At(21, 35), light);
  EXPECT_EQ(s.At(40, 48), dark);
  EXPECT_EQ(s.At(58, 35), dark);
  EXPECT_EQ(s.At(40, 35), FillGreen);
  // Nothing of the bevel out in the cut-off corners; it bends round inside them.
  EXPECT_EQ(s.At(21, 21), clWhite);
  EXPECT_EQ(s.At(58, 21), clWhite);
  EXPECT_EQ(s.At(21, 48), clWhite);
  int bent = 0;
  for (int y = 22; y <= 26; ++y)
    for (int x = 22; x <= 26; ++x) bent += s.At(x, y) == light;
  EXPECT_GT(bent, 1);
  // The shadow has the same corners, moved down and right.
  EXPECT_EQ(s.At(45, 54), ShadowRed);
  EXPECT_EQ(s.At(63, 40), ShadowRed);
  EXPECT_EQ(s.At(64, 54), clWhite);
  EXPECT_EQ(s.At(27, 55), clWhite);
  // A lowered bevel swaps the light.
  shape.SetBevel(bvLowered);
  TSurface t;
  shape.DrawShapeOnCanvas(&t.Canvas, Box);
  EXPECT_EQ(t.At(40, 21), dark);
  EXPECT_EQ(t.At(58, 35), light);
}

}  // namespace
