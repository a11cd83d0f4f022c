// Drawing effects: blending, shadows, emboss, gradient angles and pen styles.
#include <gtest/gtest.h>

#include "canvas_test_util.h"
#include "platform/typinfo.h"

namespace {
void Fill(TLumCanvas& C, const TRect& R, TColor Colour) {
  C.Brush()->SetColor(Colour);
  C.Brush()->SetStyle(bsSolid);
  C.FillRect(R);
}
}  // namespace

TEST(Blending, HalfTransparentRedOverBlueIsTheMix) {
  Surface s;
  Fill(s.canvas, {0, 0, 40, 30}, clBlue);
  TLumBlend* b = s.canvas.BeginBlending({5, 5, 25, 20}, 50);
  Fill(s.canvas, {0, 0, 40, 30}, clRed);
  s.canvas.EndBlending(b);
  EXPECT_TRUE(Near(s.At(10, 10), RGB(128, 0, 128))) << std::hex << s.At(10, 10);
  EXPECT_EQ(s.At(30, 10), clRed) << "outside the blend the drawing stays";
  s.canvas.EndBlending(nullptr);  // nothing

  // One object used again: a new rectangle and other transparencies.
  Surface r;
  Fill(r.canvas, {0, 0, 40, 30}, clWhite);
  TLumBlend blend(&r.canvas, {0, 0, 10, 10});
  Fill(r.canvas, {0, 0, 40, 30}, clBlack);
  blend.DoBlend(100);
  EXPECT_EQ(r.At(5, 5), clWhite) << "fully transparent: the captured pixels";
  blend.SetRectangle({20, 0, 30, 10});
  Fill(r.canvas, {20, 0, 30, 10}, clWhite);
  blend.DoBlend(25);
  EXPECT_TRUE(Near(r.At(25, 5), RGB(191, 191, 191))) << std::hex << r.At(25, 5);
  blend.DoBlend(0);
  EXPECT_TRUE(Near(r.At(25, 5), RGB(191, 191, 191))) << "0 percent leaves the drawing";
}

TEST(Blending, OnlyWhatStillExistsIsBlendedBack) {
  // Partly outside the image: only the inside part is captured and blended.
  Surface s;
  Fill(s.canvas, {0, 0, 40, 30}, clBlue);
  TLumBlend* b = s.canvas.BeginBlending({-100, 20, 1000, 1000}, 50);
  Fill(s.canvas, {0, 0, 40, 30}, clRed);
  s.canvas.EndBlending(b);
  EXPECT_TRUE(Near(s.At(39, 29), RGB(128, 0, 128)));
  EXPECT_EQ(s.At(0, 19), clRed);

  // Detached since: nothing.
  Surface d;
  TLumBlend* db = d.canvas.BeginBlending({0, 0, 40, 30}, 100);
  Fill(d.canvas, {0, 0, 40, 30}, clRed);
  d.canvas.AttachCanvas(nullptr);
  d.canvas.EndBlending(db);
  EXPECT_EQ(d.At(5, 5), clRed);

  // The image shrank since: the part that is left.
  Surface z(40, 30);
  Fill(z.canvas, {0, 0, 40, 30}, clBlue);
  TLumBlend* zb = z.canvas.BeginBlending({0, 0, 40, 30}, 100);
  z.bmp->SetSize(20, 10);
  Fill(z.canvas, {0, 0, 20, 10}, clRed);
  z.canvas.EndBlending(zb);
  EXPECT_EQ(z.At(19, 9), clBlue);
  EXPECT_EQ(z.bmp->Width(), 20);

  // ResetState turns blending off; a canvas freed before its blend leaves it inert.
  Surface t;
  TLumBlend* tb = t.canvas.BeginBlending({0, 0, 40, 30}, 100);
  Fill(t.canvas, {0, 0, 40, 30}, clRed);
  t.canvas.ResetState();
  t.canvas.EndBlending(tb);
  EXPECT_EQ(t.At(5, 5), clRed);
  auto bmp = guitest::MakeBitmap(10, 10);
  auto* owner = new TLumCanvas3D;
  owner->AttachCanvas(bmp->Canvas());
  TLumBlend* orphan = owner->BeginBlending({0, 0, 10, 10}, 50);
  delete owner;
  orphan->DoBlend(50);
  EXPECT_EQ(orphan->Canvas(), nullptr);
  delete orphan;
}

TEST(Shadow, TransparencySmoothingAndDirections) {
  Surface s(60, 40);
  TLumShadow shadow;
  shadow.SetColor(clBlack);
  shadow.SetSize(4);
  shadow.SetTransparency(50);
  shadow.Draw(&s.canvas, {10, 10, 30, 25});
  EXPECT_TRUE(Near(s.At(20, 20), RGB(128, 128, 128))) << std::hex << s.At(20, 20);
  EXPECT_EQ(s.At(12, 12), clWhite) << "moved 4 right and down";
  EXPECT_TRUE(Near(s.At(33, 28), RGB(128, 128, 128)));
  EXPECT_EQ(s.At(34, 29), clWhite);

  // Negative sizes: up and to the left. Opaque by default.
  Surface n(60, 40);
  TLumShadow up;
  up.SetColor(clNavy);
  up.SetHorizSize(-5);
  up.SetVertSize(-3);
  up.Draw(&n.canvas, {20, 20, 40, 30});
  EXPECT_EQ(n.Ink(), (TRect{15, 17, 35, 27}));
  EXPECT_EQ(n.At(15, 17), clNavy);

  // Smoothed: grades at the edge, full inside, nothing far out.
  Surface m(80, 60);
  TLumShadow soft;
  soft.SetColor(clBlack);
  soft.SetSize(0);
  soft.SetSmooth(true);
  soft.SetSmoothBlur(6);
  soft.Draw(&m.canvas, {20, 20, 60, 40});
  EXPECT_EQ(m.At(40, 30), clBlack);
  int between = 0;
  for (int x = 10; x < 30; ++x) {
    const int g = GetRValue(m.At(x, 30));
    if (g > 10 && g < 245) ++between;
  }
  EXPECT_GE(between, 4) << "a soft edge";
  EXPECT_EQ(m.At(2, 30), clWhite);
  EXPECT_LT(m.Ink().Left, 20) << "a positive blur spreads beyond the rectangle";
  // A negative blur keeps the soft edge inside.
  Surface in(80, 60);
  soft.SetSmoothBlur(-6);
  soft.Draw(&in.canvas, {20, 10, 60, 50});
  EXPECT_GE(in.Ink().Left, 20);
  EXPECT_LE(in.Ink().Right, 60);
  EXPECT_TRUE(Near(in.At(40, 30), clBlack, 8));
  EXPECT_GT(GetRValue(in.At(21, 30)), 40) << "soft at the edge";
}

TEST(Shadow, ClipAndAnyRectangleStaysCheap) {
  Surface s(60, 40);
  TLumShadow shadow;
  shadow.SetColor(clBlack);
  shadow.SetSize(5);
  shadow.SetSmooth(true);
  shadow.SetClip(true);
  shadow.Draw(&s.canvas, {10, 10, 30, 25});
  EXPECT_EQ(s.At(20, 20), clWhite) << "not under the object";
  EXPECT_NE(s.At(32, 22), clWhite) << "beside it";

  // Huge rectangles and blurs, far partly or wholly outside: clipped to the buffer
  // (computed over the whole request, these would not fit in memory).
  Surface big(50, 50);
  TLumShadow wide;
  wide.SetColor(clBlack);
  wide.SetSmooth(true);
  wide.SetSmoothBlur(1000000);
  wide.SetTransparency(20);
  wide.Draw(&big.canvas, {-100000, -100000, 100000, 100000});
  wide.Draw(&big.canvas, {5000, 5000, 6000, 6000});
  wide.SetSmoothBlur(-3);
  wide.Draw(&big.canvas, {-1000000000, 10, 1000000000, 20});
  EXPECT_NE(big.At(25, 25), clWhite);
  EXPECT_EQ(big.C()->ClipDepth(), 0);

  // The canvas clip is honoured.
  Surface c(60, 40);
  c.canvas.ClipRectangle({0, 0, 20, 40});
  shadow.SetClip(false);
  shadow.SetTransparency(50);
  shadow.Draw(&c.canvas, {10, 10, 30, 25});
  c.canvas.UnClipRectangle();
  EXPECT_LE(c.Ink().Right, 20);
}

TEST(Emboss, LightOnOneSideDarkOnTheOther) {
  Surface s(60, 40);
  Fill(s.canvas, {0, 0, 60, 40}, clSilver);
  TLumEmboss emboss;
  emboss.SetColor(clGray);
  emboss.SetSize(3);
  emboss.Draw(&s.canvas, {20, 10, 40, 30});
  Fill(s.canvas, {20, 10, 40, 30}, clSilver);  // the object over it
  EXPECT_GT(GetRValue(s.At(18, 20)), 192) << "light on the left";
  EXPECT_GT(GetRValue(s.At(30, 8)), 192) << "and at the top";
  EXPECT_LT(GetRValue(s.At(41, 20)), 192) << "dark on the right";
  EXPECT_LT(GetRValue(s.At(30, 31)), 192) << "and at the bottom";
  // Negative sizes swap the sides (sunken).
  Surface k(60, 40);
  Fill(k.canvas, {0, 0, 60, 40}, clSilver);
  emboss.SetSize(-3);
  emboss.Draw(&k.canvas, {20, 10, 40, 30});
  EXPECT_LT(GetRValue(k.At(18, 20)), 192);
  EXPECT_GT(GetRValue(k.At(41, 20)), 192);

  // Registered by the unit, for streaming.
  EXPECT_EQ(GetClass("TLumEmboss"), nullptr);
  LumConstUnitInit();
  EXPECT_EQ(GetClass("TLumEmboss"), TLumEmboss::StaticClass());
  LumConstUnitDone();
  EXPECT_EQ(GetClass("TLumEmboss"), nullptr);
}

TEST(Gradient, AngleTurnsTheDirection) {
  auto draw = [](Surface& s, TGradientDirection d, int angle) {
    TLumGradient g;
    g.SetStartColor(clRed);
    g.SetEndColor(clBlue);
    g.SetDirection(d);
    g.SetAngle(angle);
    g.Draw(&s.canvas, {0, 0, 40, 30});
  };
  auto same = [](Surface& a, Surface& b) {
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x)
        if (!Near(a.At(x, y), b.At(x, y))) return false;
    return true;
  };
  Surface a, b;
  draw(a, gdTopBottom, 90);
  draw(b, gdLeftRight, 0);
  EXPECT_TRUE(same(a, b)) << "90 degrees turns top-bottom into left-right";
  Surface c, d;
  draw(c, gdTopBottom, 180);
  draw(d, gdBottomTop, 0);
  EXPECT_TRUE(same(c, d));
  Surface e, f;
  draw(e, gdLeftRight, 360 + 270);
  draw(f, gdTopBottom, 0);
  EXPECT_TRUE(same(e, f)) << "whole turns count for nothing; 270 anticlockwise";
  // 45 degrees on left-right runs corner to corner, end to end.
  Surface g;
  draw(g, gdLeftRight, 45);
  EXPECT_TRUE(Near(g.At(0, 29), clRed)) << std::hex << g.At(0, 29);
  EXPECT_TRUE(Near(g.At(39, 0), clBlue)) << std::hex << g.At(39, 0);
  EXPECT_TRUE(Near(g.At(0, 0), g.At(39, 29), 3));
  // A radial pattern turned keeps its scale and stays drawable.
  Surface r;
  draw(r, gdRadial, 30);
  EXPECT_TRUE(Near(r.At(20, 15), clRed, 20));
}

TEST(Pens, SmallDotsEndStylesAndFreeDashes) {
  Surface s(60, 10);
  TChartPen pen;
  pen.SetSmallDots(true);
  pen.SetSmallSpace(2);
  pen.SetColor(clRed);
  s.canvas.Brush()->SetColor(clRed);  // gaps stay see-through even after a solid brush
  s.canvas.ApplyPen(&pen);
  s.canvas.Line(0, 5, 40, 5);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(s.At(x, 5), x % 4 == 0 ? clRed : clWhite) << x;
  EXPECT_TRUE(SmallDotsSupported);
  // CreateSmallDotsPen: the same dots in another colour.
  auto dots = CreateSmallDotsPen(clBlue, &pen);
  EXPECT_EQ(dots->Color(), clBlue);
  EXPECT_EQ(dots->DashPattern(), (std::vector<int>{1, 3}));
  // A plain pen applied afterwards draws solid again.
  pen.SetSmallDots(false);
  s.canvas.ApplyPen(&pen);
  s.canvas.Line(0, 8, 40, 8);
  EXPECT_EQ(guitest::CountColor(s.C(), {0, 8, 60, 9}, clRed), 40);

  // End styles of a wide line: flat stops at the ends, square passes them.
  auto length = [](TPenEndStyle e) {
    Surface w(60, 20);
    TChartPen p;
    p.SetWidth(6);
    p.SetEndStyle(e);
    w.canvas.ApplyPen(&p);
    w.canvas.Line(20, 10, 40, 10);
    const TRect ink = w.Ink();
    return ink.Right - ink.Left;
  };
  const int flat = length(esFlat), square = length(esSquare), round = length(esRound);
  EXPECT_LE(flat, 22);
  EXPECT_GE(square, flat + 5);
  EXPECT_GE(round, flat + 4);
  // ResetState returns the pen to round ends and no pattern.
  Surface r;
  pen.SetSmallDots(true);
  r.canvas.ApplyPen(&pen);
  r.canvas.ResetState();
  EXPECT_TRUE(r.canvas.Pen()->DashPattern().empty());
  EXPECT_EQ(r.canvas.Pen()->EndCap(), pecRound);
}
