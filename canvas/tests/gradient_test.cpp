// Gradient fills: where the start, middle and end colours land for every direction.
#include <gtest/gtest.h>

#include <vector>

#include "canvas_test_util.h"

namespace {

constexpr TColor kStart = clRed, kEnd = clBlue;
const TColor kHalf = RGB(128, 0, 128);  // red and blue blended halfway

struct Spot {
  int x, y;
  TColor colour;
};

struct Case {
  TGradientDirection direction;
  std::vector<Spot> spots;  // in a 21 x 11 rectangle at (2, 3)
};

}  // namespace

TEST(Gradient, EachDirectionPutsItsColoursWhereTheyBelong) {
  const int W = 21, H = 11;
  const std::vector<Case> cases = {
      {gdTopBottom, {{0, 0, kStart}, {20, 0, kStart}, {0, 10, kEnd}, {20, 10, kEnd}, {10, 5, kHalf}}},
      {gdBottomTop, {{0, 0, kEnd}, {20, 0, kEnd}, {0, 10, kStart}, {20, 10, kStart}, {3, 5, kHalf}}},
      {gdLeftRight, {{0, 0, kStart}, {0, 10, kStart}, {20, 0, kEnd}, {20, 10, kEnd}, {10, 2, kHalf}}},
      {gdRightLeft, {{0, 0, kEnd}, {0, 10, kEnd}, {20, 0, kStart}, {20, 10, kStart}, {10, 9, kHalf}}},
      {gdFromCenter, {{10, 5, kStart}, {0, 0, kEnd}, {20, 10, kEnd}, {10, 0, kEnd}, {0, 5, kEnd}}},
      {gdFromTopLeft, {{0, 0, kStart}, {20, 0, kEnd}, {0, 10, kEnd}, {20, 10, kEnd}, {10, 5, kHalf}}},
      {gdFromBottomLeft, {{0, 10, kStart}, {20, 10, kEnd}, {0, 0, kEnd}, {20, 0, kEnd}, {10, 5, kHalf}}},
      {gdRadial, {{10, 5, kStart}, {0, 0, kEnd}, {20, 0, kEnd}, {0, 10, kEnd}, {20, 10, kEnd}}},
      {gdDiagonalUp, {{0, 10, kStart}, {20, 0, kEnd}, {0, 0, kHalf}, {20, 10, kHalf}, {10, 5, kHalf}}},
      {gdDiagonalDown, {{0, 0, kStart}, {20, 10, kEnd}, {20, 0, kHalf}, {0, 10, kHalf}, {10, 5, kHalf}}},
  };
  ASSERT_EQ(cases.size(), 10u);
  for (const Case& c : cases) {
    Surface s;
    TLumGradient g;
    g.SetStartColor(kStart);
    g.SetEndColor(kEnd);
    g.SetDirection(c.direction);
    g.Draw(&s.canvas, {2, 3, 2 + W, 3 + H});
    EXPECT_EQ(s.Ink(), (TRect{2, 3, 2 + W, 3 + H})) << "direction " << c.direction;
    for (const Spot& p : c.spots)
      EXPECT_TRUE(Near(s.At(2 + p.x, 3 + p.y), p.colour, 3))
          << "direction " << c.direction << " at " << p.x << "," << p.y << ": " << std::hex << s.At(2 + p.x, 3 + p.y);
  }
}

TEST(Gradient, MiddleColourAndBalance) {
  Surface s(10, 101);
  TLumGradient g;
  g.SetStartColor(clRed);
  g.SetMidColor(clLime);
  g.SetEndColor(clBlue);
  g.Draw(&s.canvas, {0, 0, 10, 101});
  EXPECT_EQ(s.At(5, 0), clRed);
  EXPECT_EQ(s.At(5, 50), clLime);
  EXPECT_EQ(s.At(5, 100), clBlue);
  EXPECT_TRUE(Near(s.At(5, 25), RGB(128, 128, 0)));

  g.SetBalance(20);  // the middle colour moves up to 20 %
  g.Draw(&s.canvas, {0, 0, 10, 101});
  EXPECT_EQ(s.At(5, 20), clLime);
  EXPECT_EQ(s.At(5, 0), clRed);
  EXPECT_EQ(s.At(5, 100), clBlue);

  // The extremes do not divide by zero: the middle colour sits at an end.
  g.SetBalance(0);
  EXPECT_EQ(g.ColorAt(0), clLime);
  EXPECT_EQ(g.ColorAt(1), clBlue);
  g.SetBalance(100);
  EXPECT_EQ(g.ColorAt(0), clRed);
  EXPECT_EQ(g.ColorAt(1), clLime);
  g.SetBalance(250);  // out of range: clamped when drawing
  EXPECT_EQ(g.ColorAt(1), clLime);

  // Without a middle colour the balance moves the halfway blend.
  g.SetMidColor(clNone);
  g.SetBalance(20);
  EXPECT_TRUE(Near(g.ColorAt(0.2), RGB(128, 0, 128)));
  // System colours resolve.
  g.SetStartColor(clBtnFace);
  EXPECT_EQ(g.ColorAt(0), ColorToRGB(clBtnFace));
}

TEST(Gradient, RoundedCornersSubGradientAndOddRectangles) {
  Surface s;
  TLumGradient g;
  g.SetStartColor(clRed);
  g.SetEndColor(clRed);
  g.Draw(&s.canvas, {0, 0, 40, 30}, 16);
  EXPECT_EQ(s.At(0, 0), clWhite) << "rounded corner left out";
  EXPECT_EQ(s.At(39, 29), clWhite);
  EXPECT_EQ(s.At(20, 15), clRed);
  EXPECT_EQ(s.At(20, 0), clRed);
  EXPECT_EQ(s.C()->ClipDepth(), 0) << "corner clip popped";

  // A visible sub-gradient is painted over, Transparency percent of the parent showing.
  g.SubGradient()->SetVisible(true);
  g.SubGradient()->SetStartColor(clBlue);
  g.SubGradient()->SetEndColor(clBlue);
  g.SubGradient()->SetTransparency(50);
  g.Draw(&s.canvas, {0, 0, 40, 30});
  EXPECT_TRUE(Near(s.At(5, 5), RGB(128, 0, 128)));
  g.SubGradient()->SetVisible(false);
  g.Draw(&s.canvas, {0, 0, 40, 30});
  EXPECT_EQ(s.At(5, 5), clRed);

  // Reversed rectangles are normalised; empty ones draw nothing.
  Surface r;
  g.SetEndColor(clBlue);
  g.Draw(&r.canvas, {30, 20, 10, 5});
  EXPECT_EQ(r.Ink(), (TRect{10, 5, 30, 20}));
  EXPECT_EQ(r.At(15, 5), clRed);
  Surface e;
  g.Draw(&e.canvas, {10, 10, 10, 20});
  g.Draw(nullptr, {0, 0, 5, 5});
  EXPECT_EQ(e.Ink(), TRect{});
}

TEST(Gradient, ADrawingAfterAnyChangeEqualsAFreshGradientsDrawing) {
  // The same gradient object is drawn again after each change (its kept pixels must
  // not show an old look), and compared with a gradient set up afresh.
  const std::vector<void (*)(TLumGradient&)> changes = {
      [](TLumGradient& g) { g.SetDirection(gdRadial); },
      [](TLumGradient& g) { g.SetRadialX(4); },
      [](TLumGradient& g) { g.SetRadialY(-3); },
      [](TLumGradient& g) { g.SetStartColor(clYellow); },
      [](TLumGradient& g) { g.SetMidColor(clLime); },
      [](TLumGradient& g) { g.SetEndColor(clBtnFace); },
      [](TLumGradient& g) { g.SetBalance(30); },
      [](TLumGradient& g) { g.SetAngle(30); },
      [](TLumGradient& g) {
        g.SubGradient()->SetVisible(true);
        g.SubGradient()->SetStartColor(clAqua);
      },
      [](TLumGradient& g) { g.SubGradient()->SetTransparency(40); },
      [](TLumGradient& g) { g.SubGradient()->SetDirection(gdLeftRight); },
      [](TLumGradient& g) { g.SubGradient()->SetAngle(45); },
  };
  TLumGradient reused;
  Surface kept(30, 20);
  for (size_t n = 0; n <= changes.size(); ++n) {
    if (n > 0) changes[n - 1](reused);
    for (const TRect& r : {TRect{1, 1, 25, 17}, TRect{3, 2, 30, 20}}) {
      TLumGradient fresh;
      for (size_t i = 0; i < n; ++i) changes[i](fresh);
      Surface expected(30, 20);
      fresh.Draw(&expected.canvas, r);
      reused.Draw(&kept.canvas, r);
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
          ASSERT_EQ(kept.At(x, y), expected.At(x, y)) << "after change " << n << " at " << x << "," << y;
    }
  }
}
