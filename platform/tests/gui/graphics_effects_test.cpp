// Pen ends and free dashes, drawing with opacity and onto quadrilaterals, and the blur.
#include <gtest/gtest.h>

#include <cstdint>

#include "gui_test.h"

using guitest::CountColor;
using guitest::InkBounds;
using guitest::MakeBitmap;

TEST(CanvasPenPatterns, FreeDashesRunOnAndEndCapsShapeWideLines) {
  auto b = MakeBitmap(40, 10);
  TCanvas* c = b->Canvas();
  c->Pen()->SetDashPattern({2, 3});
  c->MoveTo(0, 2);
  c->LineTo(10, 2);
  c->LineTo(20, 2);  // the pattern runs on across LineTo
  for (int x = 0; x < 20; ++x) EXPECT_EQ(c->Pixels(x, 2), x % 5 < 2 ? clBlack : clWhite) << x;
  // An odd-length pattern is completed with an empty gap; all zero means the style's.
  TPen p;
  p.SetDashPattern({4});
  EXPECT_EQ(p.DashPattern(), (std::vector<int>{4, 0}));
  p.SetDashPattern({0, 0});
  EXPECT_TRUE(p.DashPattern().empty());
  // Assign copies ends and pattern; a change notifies.
  int changes = 0;
  p.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  p.SetEndCap(pecFlat);
  p.SetEndCap(pecFlat);
  EXPECT_EQ(changes, 1);
  TPen q;
  p.SetDashPattern({1, 1});
  q.Assign(&p);
  EXPECT_EQ(q.EndCap(), pecFlat);
  EXPECT_EQ(q.DashPattern(), (std::vector<int>{1, 1}));

  auto width = [](TPenEndCap cap) {
    auto w = MakeBitmap(60, 20);
    w->Canvas()->Pen()->SetWidth(8);
    w->Canvas()->Pen()->SetEndCap(cap);
    w->Canvas()->MoveTo(20, 10);
    w->Canvas()->LineTo(40, 10);
    const TRect ink = InkBounds(w->Canvas(), {0, 0, 60, 20}, clWhite);
    return ink.Right - ink.Left;
  };
  EXPECT_LE(width(pecFlat), 22);
  EXPECT_GE(width(pecSquare), 27);
  EXPECT_GE(width(pecRound), 26);
}

TEST(CanvasDrawEffects, OpacityAndQuadrilateralsHonourTheClip) {
  auto src = MakeBitmap(4, 4, clRed);
  auto b = MakeBitmap(40, 30, clBlue);
  TCanvas* c = b->Canvas();
  c->PushClipRect({0, 0, 20, 30});
  c->DrawOpacity({0, 0, 40, 10}, src.get(), 0.5);
  c->PopClip();
  const TColor mid = c->Pixels(5, 5);
  EXPECT_NEAR(GetRValue(mid), 128, 2);
  EXPECT_NEAR(GetBValue(mid), 127, 2);
  EXPECT_EQ(c->Pixels(25, 5), clBlue) << "outside the clip";
  c->DrawOpacity({0, 20, 40, 30}, src.get(), 0);
  EXPECT_EQ(c->Pixels(5, 25), clBlue) << "no opacity, no change";
  c->DrawOpacity({0, 20, 40, 30}, src.get(), 7);
  EXPECT_EQ(c->Pixels(5, 25), clRed) << "above 1 counts as 1";

  // A quadrilateral: a trapezoid, inside the clip only.
  auto q = MakeBitmap(60, 40);
  TCanvas* d = q->Canvas();
  d->PushClipRect({0, 0, 60, 20});
  d->DrawOnQuad({TPoint{20, 5}, TPoint{40, 5}, TPoint{55, 35}, TPoint{5, 35}}, src.get());
  d->PopClip();
  EXPECT_EQ(d->Pixels(30, 10), clRed);
  EXPECT_EQ(d->Pixels(10, 10), clWhite) << "outside the trapezoid";
  EXPECT_EQ(d->Pixels(30, 30), clWhite) << "outside the clip";
  // A quadrilateral folded onto a line draws nothing.
  auto e = MakeBitmap(30, 30);
  e->Canvas()->DrawOnQuad({TPoint{0, 0}, TPoint{10, 10}, TPoint{20, 20}, TPoint{29, 29}}, src.get());
  EXPECT_EQ(CountColor(e->Canvas(), {0, 0, 30, 30}, clRed), 0);
}

TEST(BitmapBlur, SpreadsEvenlyKeepsFlatAreasAndAnyRadius) {
  // A flat bitmap stays as it is.
  auto flat = MakeBitmap(10, 8, RGB(10, 20, 30));
  BlurBitmap(flat.get(), 3);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(flat->Canvas()->Pixels(x, y), RGB(10, 20, 30));

  // A white square on black spreads symmetrically, softening its edges.
  auto b = MakeBitmap(41, 41, clBlack);
  b->Canvas()->Brush()->SetColor(clWhite);
  b->Canvas()->FillRect({12, 12, 29, 29});
  BlurBitmap(b.get(), 2);
  TCanvas* c = b->Canvas();
  EXPECT_EQ(GetRValue(c->Pixels(20, 20)), 255) << "the middle is far enough from the edges";
  EXPECT_EQ(c->Pixels(20 - 9, 20), c->Pixels(20 + 9, 20));
  EXPECT_EQ(c->Pixels(20, 20 - 9), c->Pixels(20, 20 + 9));
  const int edge = GetRValue(c->Pixels(12, 20));
  EXPECT_GT(edge, 60);
  EXPECT_LT(edge, 200);
  EXPECT_EQ(c->Pixels(2, 2), clBlack) << "beyond three radii nothing arrives";

  // A radius far beyond the size averages everything, quickly; one pass is a box blur.
  auto half = MakeBitmap(20, 1, clBlack);
  half->Canvas()->Brush()->SetColor(clWhite);
  half->Canvas()->FillRect({10, 0, 20, 1});
  BlurBitmap(half.get(), 1000000000, 1);
  EXPECT_NEAR(GetRValue(half->Canvas()->Pixels(0, 0)), 128, 1);
  EXPECT_NEAR(GetRValue(half->Canvas()->Pixels(19, 0)), 128, 1);
  auto box = MakeBitmap(9, 1, clBlack);
  box->Canvas()->SetPixels(4, 0, RGB(90, 90, 90));
  BlurBitmap(box.get(), 1, 1);
  EXPECT_EQ(box->Canvas()->Pixels(3, 0), RGB(30, 30, 30));
  EXPECT_EQ(box->Canvas()->Pixels(5, 0), RGB(30, 30, 30));
  EXPECT_EQ(box->Canvas()->Pixels(2, 0), clBlack);

  // Other pixel formats are blurred as 32-bit; nothing to do for an empty bitmap.
  auto indexed = MakeBitmap(6, 6, clWhite);
  indexed->SetPixelFormat(pf8bit);
  BlurBitmap(indexed.get(), 1);
  EXPECT_EQ(indexed->PixelFormat(), pf32bit);
  TBitmap empty;
  BlurBitmap(&empty, 5);
  BlurBitmap(nullptr, 5);
}
