// Device geometry of the canvas, checked pixel by pixel on bitmaps.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "gui_test.h"

using guitest::CountColor;
using guitest::InkBounds;
using guitest::MakeBitmap;
using guitest::Patterned;

namespace {

constexpr TColor kBack = clWhite;

std::vector<TColor> Snapshot(TCanvas* c, int w, int h) {
  std::vector<TColor> v;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) v.push_back(c->Pixels(x, y));
  return v;
}

}  // namespace

TEST(CanvasLines, LineToCoversItsPathAndLeavesOutTheEndPixel) {
  struct Case { int x0, y0, x1, y1; };
  for (Case k : {Case{2, 5, 30, 5}, Case{30, 5, 2, 5}, Case{4, 2, 4, 28}, Case{3, 3, 25, 25}, Case{28, 2, 5, 13},
                 Case{6, 30, 11, 1}}) {
    SCOPED_TRACE(testing::Message() << k.x0 << "," << k.y0 << " -> " << k.x1 << "," << k.y1);
    auto b = MakeBitmap(32, 32);
    TCanvas* c = b->Canvas();
    c->MoveTo(k.x0, k.y0);
    c->LineTo(k.x1, k.y1);
    EXPECT_EQ(c->PenPos(), Point(k.x1, k.y1));
    EXPECT_EQ(c->Pixels(k.x0, k.y0), clBlack);
    EXPECT_EQ(c->Pixels(k.x1, k.y1), kBack);
    int dx = k.x1 - k.x0, dy = k.y1 - k.y0;
    int n = std::max(std::abs(dx), std::abs(dy));
    EXPECT_EQ(CountColor(c, Rect(0, 0, 32, 32), clBlack), n);
    double len = std::hypot(dx, dy);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        if (c->Pixels(x, y) != clBlack) continue;
        // Every pixel lies on the segment, within half a pixel diagonal of it.
        double dist = std::abs(dy * (x - k.x0) - dx * (y - k.y0)) / len;
        EXPECT_LE(dist, 0.71) << x << "," << y;
        double along = ((x - k.x0) * dx + (y - k.y0) * dy) / len;
        EXPECT_GE(along, -0.01);
        EXPECT_LT(along, len);
      }
  }
}

TEST(CanvasLines, ConsecutiveLinesAndPolylinesDrawEachPixelOnce) {
  // In xor mode a pixel drawn twice would vanish: a closed figure of LineTo calls shows
  // every corner exactly once.
  auto b = MakeBitmap(20, 20);
  TCanvas* c = b->Canvas();
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetColor(clWhite);
  c->MoveTo(2, 2);
  c->LineTo(15, 2);
  c->LineTo(15, 12);
  c->LineTo(2, 12);
  c->LineTo(2, 2);
  EXPECT_EQ(CountColor(c, Rect(0, 0, 20, 20), clBlack), 2 * 13 + 2 * 10);
  for (TPoint p : {Point(2, 2), Point(15, 2), Point(15, 12), Point(2, 12)}) EXPECT_EQ(c->Pixels(p.X, p.Y), clBlack);

  auto b2 = MakeBitmap(20, 20);
  b2->Canvas()->Polyline({Point(1, 1), Point(10, 1), Point(10, 6)});
  EXPECT_EQ(CountColor(b2->Canvas(), Rect(0, 0, 20, 20), clBlack), 9 + 5);
  EXPECT_EQ(b2->Canvas()->Pixels(10, 6), kBack);
  EXPECT_EQ(b2->Canvas()->PenPos(), Point(0, 0));
}

TEST(CanvasLines, DotsRunOnAcrossLineToAndStartAfreshAtMoveTo) {
  // A dotted curve drawn as many short segments must still look dotted.
  auto b = MakeBitmap(60, 4);
  TCanvas* c = b->Canvas();
  c->Pen()->SetStyle(psDot);
  c->SetBkMode(TRANSPARENT);
  c->MoveTo(0, 1);
  for (int x = 2; x <= 60; x += 2) c->LineTo(x, 1);
  for (int x = 0; x < 60; ++x) EXPECT_EQ(c->Pixels(x, 1), (x / 3) % 2 == 0 ? clBlack : kBack) << x;
  c->MoveTo(1, 2);
  c->LineTo(3, 2);
  c->MoveTo(3, 2);  // a new figure: the pattern starts with a dot again
  c->LineTo(5, 2);
  EXPECT_EQ(CountColor(c, Rect(1, 2, 5, 3), clBlack), 4);
}

TEST(CanvasLines, PenStylesHaveFixedDashesAndGapsTakeTheBackgroundOnlyWhenOpaque) {
  struct Case { TPenStyle style; std::vector<int> runs; };
  for (const Case& k : {Case{psDot, {3, 3}}, Case{psDash, {18, 6}}, Case{psDashDot, {9, 6, 3, 6}},
                        Case{psDashDotDot, {9, 3, 3, 3, 3, 3}}}) {
    SCOPED_TRACE(k.style);
    int period = 0;
    for (int r : k.runs) period += r;
    auto b = MakeBitmap(100, 4);
    TCanvas* c = b->Canvas();
    c->Pen()->SetStyle(k.style);
    c->SetBkMode(TRANSPARENT);
    c->MoveTo(0, 1);
    c->LineTo(100, 1);
    c->SetBkMode(OPAQUE);
    c->SetBkColor(clRed);
    c->MoveTo(0, 2);
    c->LineTo(100, 2);
    for (int x = 0; x < 100; ++x) {
      int pos = x % period, i = 0;
      while (pos >= k.runs[size_t(i)]) pos -= k.runs[size_t(i++)];
      bool on = i % 2 == 0;
      EXPECT_EQ(c->Pixels(x, 1), on ? clBlack : kBack) << x;
      EXPECT_EQ(c->Pixels(x, 2), on ? clBlack : clRed) << x;
    }
  }
}

TEST(CanvasLines, ClearPenDrawsNothingAndWidePensAreThick) {
  auto b = MakeBitmap(40, 40);
  TCanvas* c = b->Canvas();
  c->Pen()->SetStyle(psClear);
  c->MoveTo(1, 1);
  c->LineTo(30, 30);
  c->Polyline({Point(0, 5), Point(39, 5)});
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(2, 2, 20, 20);
  c->Ellipse(2, 2, 20, 20);
  EXPECT_EQ(CountColor(c, Rect(0, 0, 40, 40), kBack), 40 * 40);
  EXPECT_EQ(c->PenPos(), Point(30, 30));

  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetWidth(5);
  c->MoveTo(10, 20);
  c->LineTo(30, 20);
  for (int y = 18; y <= 22; ++y) EXPECT_EQ(c->Pixels(20, y), clBlack) << y;
  EXPECT_EQ(c->Pixels(20, 16), kBack);
  EXPECT_EQ(c->Pixels(20, 24), kBack);
}

TEST(CanvasLines, PolylineToDrawsWhatLineToDrawsPointByPoint) {
  const std::vector<TPoint> pts = {Point(3, 4),   Point(40, 9),  Point(40, 30), Point(12, 33),
                                   Point(13, 33), Point(55, 2),  Point(55, 2),  Point(-8, 20),
                                   Point(30, 60), Point(70, 18), Point(21, 21)};
  struct Style { TPenStyle Style; int Width; TPenMode Mode; int BkMode; };
  for (Style k : {Style{psSolid, 1, pmCopy, OPAQUE}, Style{psDot, 1, pmCopy, OPAQUE},
                  Style{psDashDot, 1, pmCopy, TRANSPARENT}, Style{psSolid, 3, pmCopy, OPAQUE},
                  Style{psSolid, 1, pmXor, OPAQUE}, Style{psDash, 4, pmNotXor, TRANSPARENT}}) {
    SCOPED_TRACE(testing::Message() << "style " << k.Style << " width " << k.Width << " mode " << k.Mode);
    auto a = Patterned(64, 48), b = Patterned(64, 48);
    for (TCanvas* c : {a->Canvas(), b->Canvas()}) {
      c->Pen()->SetStyle(k.Style);
      c->Pen()->SetWidth(k.Width);
      c->Pen()->SetMode(k.Mode);
      c->Pen()->SetColor(clRed);
      c->SetBkMode(k.BkMode);
      c->PushClipRect(Rect(2, 1, 60, 44));
      c->MoveTo(5, 40);
      c->LineTo(1, 1);  // the pattern runs on into the polyline
    }
    for (const TPoint& p : pts) a->Canvas()->LineTo(p.X, p.Y);
    b->Canvas()->PolylineTo(pts.data(), int(pts.size()));
    EXPECT_EQ(Snapshot(a->Canvas(), 64, 48), Snapshot(b->Canvas(), 64, 48));
    EXPECT_EQ(b->Canvas()->PenPos(), pts.back());
    // The pattern goes on from where the polyline left it.
    a->Canvas()->LineTo(60, 40);
    b->Canvas()->LineTo(60, 40);
    EXPECT_EQ(Snapshot(a->Canvas(), 64, 48), Snapshot(b->Canvas(), 64, 48));
  }
}

TEST(CanvasLines, LinesFromFarOutsideDrawTheirVisiblePixelsOnly) {
  // A window onto a big image: lines reaching far beyond the window show there the
  // very pixels, dashes included, that the whole line shows in the big image.
  constexpr int Big = 2400, Off = 1200, W = 40, H = 30;
  auto big = MakeBitmap(Big, Big);
  auto window = MakeBitmap(W, H);
  std::srand(5);
  for (TCanvas* c : {big->Canvas(), window->Canvas()}) {
    c->Pen()->SetStyle(psDashDotDot);
    c->SetBkMode(OPAQUE);
    c->SetBkColor(clYellow);
  }
  for (int i = 0; i < 40; ++i) {
    const int x0 = std::rand() % 2200 - 1100, y0 = std::rand() % 2200 - 1100;
    // Through the window, so something shows.
    const int x1 = 2 * (std::rand() % W) - x0, y1 = 2 * (std::rand() % H) - y0;
    // Every fourth line straight across or down.
    const int across = i % 4 == 1, down = i % 4 == 3;
    const int fromX = down ? x1 : x0, fromY = across ? y1 : y0;
    big->Canvas()->MoveTo(fromX + Off, fromY + Off);
    big->Canvas()->LineTo(x1 + Off, y1 + Off);
    window->Canvas()->MoveTo(fromX, fromY);
    window->Canvas()->LineTo(x1, y1);
  }
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) ASSERT_EQ(window->Canvas()->Pixels(x, y), big->Canvas()->Pixels(x + Off, y + Off)) << x << "," << y;

  // Lines millions of pixels long, many of them: quick, and the dash position keeps
  // its count without overflowing.
  TCanvas* c = window->Canvas();
  c->MoveTo(-1000000, -1000000);
  for (int i = 0; i < 4000; ++i) c->LineTo(i % 2 ? -1000000 : 1000000, i % 3 ? 1000000 : -999999);
  EXPECT_GT(CountColor(c, Rect(0, 0, W, H), clBlack), 0);
}

TEST(CanvasShapes, BoxShapesLeaveOutTheRightAndBottomEdge) {
  auto b = MakeBitmap(40, 40);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clRed);
  c->Rectangle(5, 6, 15, 12);
  EXPECT_EQ(InkBounds(c, Rect(0, 0, 40, 40), kBack), Rect(5, 6, 15, 12));
  EXPECT_EQ(CountColor(c, Rect(0, 0, 40, 40), clBlack), 2 * 10 + 2 * 4);
  EXPECT_EQ(CountColor(c, Rect(0, 0, 40, 40), clRed), 8 * 4);

  struct Shape { const char* name; std::function<void(TCanvas*, int, int, int, int)> draw; };
  std::vector<Shape> shapes = {
      {"Rectangle", [](TCanvas* c, int a, int b, int cc, int d) { c->Rectangle(a, b, cc, d); }},
      {"Ellipse", [](TCanvas* c, int a, int b, int cc, int d) { c->Ellipse(a, b, cc, d); }},
      {"RoundRect", [](TCanvas* c, int a, int b, int cc, int d) { c->RoundRect(a, b, cc, d, 6, 6); }},
      {"FillRect", [](TCanvas* c, int a, int b, int cc, int d) { c->FillRect(Rect(a, b, cc, d)); }},
      {"FrameRect", [](TCanvas* c, int a, int b, int cc, int d) { c->FrameRect(Rect(a, b, cc, d)); }},
  };
  for (const Shape& s : shapes) {
    SCOPED_TRACE(s.name);
    auto bb = MakeBitmap(40, 40);
    TCanvas* cc = bb->Canvas();
    cc->Brush()->SetColor(clBlue);
    s.draw(cc, 4, 7, 30, 25);
    EXPECT_EQ(InkBounds(cc, Rect(0, 0, 40, 40), kBack), Rect(4, 7, 30, 25));
  }

  // Without a pen the fill stops one pixel shorter, as on the device.
  auto b3 = MakeBitmap(40, 40);
  b3->Canvas()->Pen()->SetStyle(psClear);
  b3->Canvas()->Brush()->SetColor(clRed);
  b3->Canvas()->Rectangle(5, 6, 15, 12);
  EXPECT_EQ(InkBounds(b3->Canvas(), Rect(0, 0, 40, 40), kBack), Rect(5, 6, 14, 11));
  b3->Canvas()->Ellipse(20, 20, 30, 30);
  EXPECT_EQ(InkBounds(b3->Canvas(), Rect(18, 18, 40, 40), kBack), Rect(20, 20, 29, 29));

  // A wide pen stays inside the box.
  auto b4 = MakeBitmap(40, 40);
  b4->Canvas()->Pen()->SetWidth(4);
  b4->Canvas()->Rectangle(5, 5, 25, 25);
  EXPECT_EQ(InkBounds(b4->Canvas(), Rect(0, 0, 40, 40), kBack), Rect(5, 5, 25, 25));
  EXPECT_EQ(b4->Canvas()->Pixels(8, 15), clBlack);
  EXPECT_EQ(b4->Canvas()->Pixels(9, 15), kBack);
}

TEST(CanvasShapes, SolidBoxesWrittenStraightEqualThePaintersFill) {
  // A solid rectangle without a pen, and an upright four-cornered polygon with a solid
  // one-pixel pen, are written straight; a picture brush of the same single colour
  // still goes through the painter: every size, each corner first and both ways
  // round, partly outside, under a rectangle and an outline clip.
  auto red = MakeBitmap(8, 8, clRed);
  struct TShape {
    const char* Name;
    bool Pen;
    std::function<void(TCanvas*, int, int, int, int, int)> Draw;  // box, and a turn 0..7
  };
  const TShape shapes[] = {
      {"penless rectangle", false,
       [](TCanvas* c, int x, int y, int w, int h, int turn) {
         if (turn % 3 == 0) c->Rectangle(x + w, y + h, x, y);  // corners given backwards
         else c->Rectangle(x, y, x + w, y + h);
       }},
      {"upright polygon", true,
       [](TCanvas* c, int x, int y, int w, int h, int turn) {
         TPoint corners[4] = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
         TPoint p[4];
         for (int i = 0; i < 4; ++i) p[i] = corners[(turn % 4 + (turn < 4 ? i : 4 - i)) % 4];
         c->Polygon(p, 4);
       }},
  };
  for (const TShape& shape : shapes)
    for (int clip = 0; clip < 3; ++clip) {
      SCOPED_TRACE(testing::Message() << shape.Name << ", clip " << clip);
      auto straight = MakeBitmap(60, 50), painted = MakeBitmap(60, 50);
      for (TBitmap* b : {straight.get(), painted.get()}) {
        TCanvas* c = b->Canvas();
        if (clip == 1) c->PushClipRect(Rect(7, 5, 50, 44));
        if (clip == 2) c->PushClipPolygon({Point(20, 0), Point(59, 25), Point(30, 49), Point(0, 30)});
        c->Pen()->SetStyle(shape.Pen ? psSolid : psClear);
        c->Pen()->SetColor(clNavy);
        if (b == painted.get()) c->Brush()->SetBitmap(red.get());
        else c->Brush()->SetColor(clRed);
        for (int w = -3; w <= 9; ++w)
          for (int h = -3; h <= 9; h += 2) {
            const int x = (w + 3) * 5 - 4, y = (h + 3) * 4 - 3;
            shape.Draw(c, x, y, w, h, (w * 7 + h * 3 + 40) % 8);
          }
        while (c->ClipDepth() > 0) c->PopClip();
      }
      EXPECT_EQ(Snapshot(straight->Canvas(), 60, 50), Snapshot(painted->Canvas(), 60, 50));
      EXPECT_GT(CountColor(straight->Canvas(), Rect(0, 0, 60, 50), clRed), 150);
    }
}

TEST(CanvasShapes, RepeatedEllipsesEqualEllipsesDrawnAfresh) {
  // Markers: the same ellipse drawn over and over at many places, partly outside
  // the image and the clip. In mask mode on white the canvas
  // paints each one afresh through a scratch layer, which gives what copy mode must.
  struct Look { TPenStyle Pen; int Width; TBrushStyle Fill; int BkMode; };
  std::srand(9);
  for (Look k : {Look{psSolid, 1, bsSolid, OPAQUE}, Look{psClear, 1, bsSolid, OPAQUE},
                 Look{psSolid, 3, bsClear, TRANSPARENT}, Look{psDot, 1, bsSolid, OPAQUE},
                 Look{psDash, 1, bsSolid, TRANSPARENT}}) {
    for (int size : {1, 2, 3, 4, 7, 10, 13}) {
      SCOPED_TRACE(testing::Message() << "pen " << k.Pen << " width " << k.Width << " brush " << k.Fill << " size "
                                      << size);
      auto copy = MakeBitmap(48, 40), mask = MakeBitmap(48, 40);
      for (TCanvas* c : {copy->Canvas(), mask->Canvas()}) {
        c->Pen()->SetStyle(k.Pen);
        c->Pen()->SetWidth(k.Width);
        c->Pen()->SetColor(clNavy);
        c->Brush()->SetColor(clRed);
        c->Brush()->SetStyle(k.Fill);
        c->SetBkMode(k.BkMode);
        c->SetBkColor(clLime);
        c->PushClipRect(Rect(0, 0, 30, 40));
      }
      mask->Canvas()->Pen()->SetMode(pmMask);
      // Apart from each other (the mask would combine overlaps), alternating with a
      // second size, from partly outside the image to partly outside the clip.
      const int cell = size + 2, x0 = -(std::rand() % cell), y0 = -(std::rand() % cell);
      for (TCanvas* c : {copy->Canvas(), mask->Canvas()})
        for (int y = y0, row = 0; y < 40; y += cell, ++row)
          for (int x = x0, col = 0; x < 48; x += cell, ++col) {
            const int wide = (row + col) % 2;
            c->Ellipse(x, y, x + size + wide, y + size);
          }
      EXPECT_EQ(Snapshot(copy->Canvas(), 48, 40), Snapshot(mask->Canvas(), 48, 40));
    }
  }
}

TEST(CanvasShapes, ArcsAndPiesRunCounterClockwiseFromTheFirstRay) {
  auto b = MakeBitmap(40, 40);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clRed);
  c->Pie(0, 0, 40, 40, 40, 20, 20, 0);  // from three o'clock up to twelve
  TRect ink = InkBounds(c, Rect(0, 0, 40, 40), kBack);
  EXPECT_GE(ink.Left, 19);
  EXPECT_LE(ink.Bottom, 21);
  EXPECT_EQ(c->Pixels(30, 10), clRed);

  auto a = MakeBitmap(40, 40);
  a->Canvas()->Arc(0, 0, 40, 40, 20, 0, 20, 40);  // the left half
  TRect arc = InkBounds(a->Canvas(), Rect(0, 0, 40, 40), kBack);
  EXPECT_EQ(arc.Left, 0);
  EXPECT_LE(arc.Right, 21);
  EXPECT_GT(arc.Height(), 35);

  auto z = MakeBitmap(40, 40);
  z->Canvas()->PolyBezier({Point(2, 30), Point(10, 0), Point(30, 0), Point(37, 30)});
  EXPECT_EQ(z->Canvas()->Pixels(2, 30), clBlack);
  EXPECT_EQ(InkBounds(z->Canvas(), Rect(0, 0, 40, 40), kBack).Bottom, 31);
}

TEST(CanvasShapes, PolygonsAreFilledAndOutlinedThroughTheirVertices) {
  auto b = MakeBitmap(40, 40);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clLime);
  std::vector<TPoint> tri = {Point(5, 5), Point(30, 5), Point(5, 30)};
  c->Polygon(tri);
  for (TPoint p : tri) EXPECT_EQ(c->Pixels(p.X, p.Y), clBlack);
  EXPECT_EQ(InkBounds(c, Rect(0, 0, 40, 40), kBack), Rect(5, 5, 31, 31));
  EXPECT_EQ(c->Pixels(10, 10), clLime);
  EXPECT_EQ(c->Pixels(25, 25), kBack);  // beyond the hypotenuse
  // The outline is closed: every pixel of the top and left edge is pen-coloured.
  for (int i = 5; i <= 30; ++i) {
    EXPECT_EQ(c->Pixels(i, 5), clBlack);
    EXPECT_EQ(c->Pixels(5, i), clBlack);
  }
}

TEST(CanvasModes, DrawingTwiceInXorOrNotModeRestoresEveryPixel) {
  for (TPenMode mode : {pmXor, pmNotXor, pmNot}) {
    SCOPED_TRACE(mode);
    auto b = Patterned(48, 48);
    TCanvas* c = b->Canvas();
    auto before = Snapshot(c, 48, 48);
    auto figures = [&] {
      c->Pen()->SetMode(mode);
      c->Pen()->SetColor(RGB(200, 50, 120));
      c->Brush()->SetColor(RGB(10, 220, 90));
      c->MoveTo(1, 1);
      c->LineTo(40, 33);
      c->Rectangle(3, 4, 30, 20);
      c->Ellipse(10, 10, 45, 40);
      c->Polygon({Point(2, 40), Point(20, 25), Point(35, 46)});
      c->Pen()->SetStyle(psDot);
      c->MoveTo(0, 44);
      c->LineTo(47, 44);
      c->Pen()->SetStyle(psSolid);
      c->Pen()->SetWidth(3);
      c->MoveTo(5, 30);
      c->LineTo(44, 8);
      c->Pen()->SetWidth(1);
    };
    figures();
    EXPECT_NE(Snapshot(c, 48, 48), before);
    figures();
    EXPECT_EQ(Snapshot(c, 48, 48), before);
  }
}

TEST(CanvasModes, PenModesCombinePenAndPixel) {
  const TColor pen = 0x0F0F33, dst = 0x3355F0;
  struct Case { TPenMode mode; TColor expect; };
  for (Case k : {Case{pmCopy, pen}, Case{pmNotCopy, ~pen & 0xFFFFFF}, Case{pmMerge, pen | dst},
                 Case{pmMask, pen & dst}, Case{pmXor, pen ^ dst}, Case{pmNot, ~dst & 0xFFFFFF},
                 Case{pmMaskPenNot, pen & ~dst & 0xFFFFFF}, Case{pmNop, dst}, Case{pmBlack, 0},
                 Case{pmWhite, 0xFFFFFF}}) {
    auto b = MakeBitmap(4, 4, dst);
    b->Canvas()->Pen()->SetColor(pen);
    b->Canvas()->Pen()->SetMode(k.mode);
    b->Canvas()->MoveTo(0, 1);
    b->Canvas()->LineTo(4, 1);
    EXPECT_EQ(b->Canvas()->Pixels(2, 1), k.expect) << k.mode;
    EXPECT_EQ(b->Canvas()->Pixels(2, 2), dst);
  }
}

TEST(CanvasBrushes, HatchesClearBrushesAndTheBackgroundMode) {
  auto b = MakeBitmap(32, 32);
  TCanvas* c = b->Canvas();
  EXPECT_EQ(c->BkMode(), OPAQUE);
  c->Brush()->SetStyle(bsHorizontal);
  c->Brush()->SetColor(clRed);  // a colour makes a hatched brush... still hatched
  c->Brush()->SetStyle(bsHorizontal);
  EXPECT_EQ(c->BkMode(), TRANSPARENT);
  c->FillRect(Rect(0, 0, 32, 32));
  EXPECT_EQ(CountColor(c, Rect(0, 0, 32, 32), clRed), 4 * 32);  // one row in eight
  EXPECT_EQ(CountColor(c, Rect(0, 0, 32, 32), kBack), 28 * 32);

  c->SetBkMode(OPAQUE);
  c->SetBkColor(clYellow);
  c->Brush()->SetStyle(bsVertical);  // a brush change sets the mode again
  EXPECT_EQ(c->BkMode(), TRANSPARENT);
  c->SetBkMode(OPAQUE);
  c->FillRect(Rect(0, 0, 16, 16));
  EXPECT_EQ(CountColor(c, Rect(0, 0, 16, 16), clRed), 2 * 16);
  EXPECT_EQ(CountColor(c, Rect(0, 0, 16, 16), clYellow), 14 * 16);

  c->Brush()->SetStyle(bsClear);
  auto before = Snapshot(c, 32, 32);
  c->FillRect(Rect(0, 0, 32, 32));
  c->Rectangle(2, 2, 30, 30);
  auto after = Snapshot(c, 32, 32);
  int changed = 0;
  for (size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i];
  EXPECT_LE(changed, 2 * 28 + 2 * 26);  // only the outline

  // A pattern bitmap tiles from the image's origin.
  auto pattern = MakeBitmap(2, 2, clBlue);
  pattern->Canvas()->SetPixels(0, 0, clLime);
  auto d = MakeBitmap(8, 8);
  d->Canvas()->Brush()->SetBitmap(pattern.get());
  pattern.reset();  // the brush keeps its own copy
  d->Canvas()->FillRect(Rect(1, 1, 7, 7));
  EXPECT_EQ(d->Canvas()->Pixels(2, 2), clLime);
  EXPECT_EQ(d->Canvas()->Pixels(3, 2), clBlue);
  EXPECT_EQ(d->Canvas()->Pixels(0, 0), kBack);
}

TEST(CanvasText, TextOutPlacesTheCellByItsTopLeft) {
  auto b = MakeBitmap(120, 60);
  TCanvas* c = b->Canvas();
  c->Font()->SetName("Arial");
  c->Font()->SetHeight(-16);
  c->Brush()->SetColor(clYellow);
  TSize ext = c->TextExtent("Hello");
  EXPECT_GT(ext.cx, 20);
  EXPECT_GE(ext.cy, 16);
  c->TextOut(10, 20, "Hello");
  // Opaque: the whole cell takes the background, the ink lies inside it.
  EXPECT_EQ(InkBounds(c, Rect(0, 0, 120, 60), kBack), Bounds(10, 20, ext.cx, ext.cy));
  EXPECT_GT(CountColor(c, Bounds(10, 20, ext.cx, ext.cy), clBlack), 20);
  EXPECT_EQ(c->PenPos(), Point(0, 0));

  // Transparent: only glyph pixels, starting below the top of the cell (ascent from the top).
  auto t = MakeBitmap(120, 60);
  TCanvas* tc = t->Canvas();
  tc->Font()->SetHeight(-16);
  tc->Brush()->SetStyle(bsClear);
  tc->TextOut(10, 20, "Hello");
  TRect ink = InkBounds(tc, Rect(0, 0, 120, 60), kBack);
  TTextMetric m = tc->TextMetrics();
  EXPECT_GE(ink.Left, 10);
  EXPECT_GE(ink.Top, 20);
  EXPECT_LE(ink.Top, 20 + m.tmInternalLeading + 2);
  EXPECT_EQ(ink.Bottom, 20 + m.tmAscent);  // no descenders in "Hello"
  EXPECT_LE(ink.Right, 10 + ext.cx + 1);

  // The baseline alignment puts the same glyphs' bottom on the reference line.
  auto a = MakeBitmap(120, 60);
  a->Canvas()->Font()->SetHeight(-16);
  a->Canvas()->Brush()->SetStyle(bsClear);
  a->Canvas()->SetTextAlign(TA_BASELINE | TA_CENTER);
  a->Canvas()->TextOut(60, 40, "Hello");
  TRect ai = InkBounds(a->Canvas(), Rect(0, 0, 120, 60), kBack);
  EXPECT_EQ(ai.Bottom, 40);
  EXPECT_NEAR((ai.Left + ai.Right) / 2.0, 60, 2);
}

TEST(CanvasText, TextsSetAgainFromKeptPixelsEqualTextsTheFontDraws) {
  // A transparent text is set from the pixels kept for its font and text; an opaque
  // one on a cell of the bitmap's own colour is drawn by the font every time, so both
  // bitmaps must stay equal as the font, colour, text, alignment and clip change one
  // at a time (a kept text that outlived its font would show).
  constexpr int W = 160, H = 70;
  auto kept = MakeBitmap(W, H), drawn = MakeBitmap(W, H);
  for (TCanvas* c : {kept->Canvas(), drawn->Canvas()}) c->Font()->SetName("Arial");
  kept->Canvas()->Brush()->SetStyle(bsClear);
  drawn->Canvas()->Brush()->SetColor(kBack);
  int step = 0;
  auto Both = [&](const std::function<void(TCanvas*)>& Change, const std::string& Text, const TRect* Clip = nullptr,
                  bool Polygon = false) {
    SCOPED_TRACE(testing::Message() << "step " << step++ << " \"" << Text << "\"");
    for (TCanvas* c : {kept->Canvas(), drawn->Canvas()}) {
      c->Brush()->SetColor(kBack);  // a white page for each step
      c->Brush()->SetStyle(bsSolid);
      c->FillRect(Rect(0, 0, W, H));
      if (c == kept->Canvas()) c->Brush()->SetStyle(bsClear);
      Change(c);
      if (Clip && Polygon) c->PushClipPolygon({Point(Clip->Left, Clip->Top), Point(Clip->Right, Clip->Top),
                                              Point(Clip->Left, Clip->Bottom)});
      else if (Clip) c->PushClipRect(*Clip);
      c->TextOut(7, 9, Text);
      c->TextOut(90, 40, Text);  // the same text again, elsewhere
      if (Clip) c->PopClip();
    }
    EXPECT_EQ(Snapshot(kept->Canvas(), W, H), Snapshot(drawn->Canvas(), W, H));
    EXPECT_GT(CountColor(kept->Canvas(), Rect(0, 0, W, H), kBack), 0);
  };
  const TRect clip = Rect(10, 12, 60, 50);
  Both([](TCanvas* c) { c->Font()->SetHeight(-16); }, "Label 1,234.5");
  Both([](TCanvas* c) { c->Font()->SetHeight(-16); }, "Label 1,234.5");  // kept
  Both([](TCanvas* c) { c->Font()->SetHeight(-11); }, "Label 1,234.5");
  Both([](TCanvas* c) { c->Font()->SetColor(clRed); }, "Label 1,234.5");
  Both([](TCanvas* c) { c->Font()->SetStyle(FontStyles({fsBold})); }, "Label 1,234.5");
  Both([](TCanvas* c) { c->Font()->SetStyle(FontStyles({fsItalic, fsUnderline})); }, "Label 1,234.5");
  Both([](TCanvas* c) { c->Font()->SetName("Courier New"); }, "Label 1,234.5");
  Both([](TCanvas* c) { c->Font()->SetName("Times New Roman"); }, "Label 1,234.5");
  Both([](TCanvas* c) { c->Font()->SetName("Times New Roman"); }, "Omega  jy");
  Both([](TCanvas* c) { c->SetTextAlign(TA_BASELINE | TA_CENTER); }, "Omega  jy");
  Both([](TCanvas* c) { c->SetTextAlign(TA_BOTTOM | TA_RIGHT); }, "Omega  jy");
  Both([](TCanvas* c) { c->Font()->SetColor(clBlue); }, "Omega  jy", &clip);
  Both([](TCanvas*) {}, "Omega  jy", &clip, true);
  Both([](TCanvas* c) { c->SetTextAlign(TA_TOP | TA_LEFT); }, "", &clip);

  // A text cut by its rectangle: the rectangle takes the background, the glyphs its clip.
  for (TCanvas* c : {kept->Canvas(), drawn->Canvas()}) {
    c->Brush()->SetColor(kBack);
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(Rect(0, 0, W, H));
    c->Font()->SetHeight(-20);
    if (c == kept->Canvas()) {
      c->TextRect(Rect(12, 8, 70, 22), 5, 2, "Wavelength");
    } else {
      c->PushClipRect(Rect(12, 8, 70, 22));
      c->TextOut(5, 2, "Wavelength");
      c->PopClip();
    }
  }
  EXPECT_EQ(Snapshot(kept->Canvas(), W, H), Snapshot(drawn->Canvas(), W, H));
}

// Kept texts under clips of several rectangles per row band (a comb and a ring): each
// run is cut to the rectangles, so the pixels are those the font draws under the same
// clip. Each text comes three times, the first drawn by the font, then kept.
TEST(CanvasText, KeptTextsFollowClipsOfManyRectanglesPerRow) {
  constexpr int W = 200, H = 60;
  auto kept = MakeBitmap(W, H), drawn = MakeBitmap(W, H);
  const std::vector<std::vector<TPoint>> clips = {
      // A comb: teeth four pixels wide every seven, cut across the text.
      {Point(0, 0), Point(200, 0), Point(200, 60), Point(150, 60), Point(150, 20), Point(146, 20), Point(146, 60),
       Point(139, 60), Point(139, 25), Point(135, 25), Point(135, 60), Point(128, 60), Point(128, 18),
       Point(124, 18), Point(124, 60), Point(0, 60)},
      // A diamond with a diamond hole (two rectangles in the rows of the hole).
      {Point(100, 0), Point(190, 30), Point(100, 60), Point(10, 30), Point(100, 0), Point(100, 12),
       Point(40, 30), Point(100, 48), Point(160, 30), Point(100, 12)}};
  for (const auto& polygon : clips)
    for (const char* text : {"Wavelength 1,234", "Omega jy", "Omega jy"}) {
      for (TCanvas* c : {kept->Canvas(), drawn->Canvas()}) {
        c->Brush()->SetColor(kBack);
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(Rect(0, 0, W, H));
        c->Font()->SetName("Arial");
        c->Font()->SetHeight(-22);
        c->Font()->SetColor(clNavy);
        c->PushClipPolygon(polygon);
        if (c == kept->Canvas()) {
          c->Brush()->SetStyle(bsClear);
          for (int i = 0; i < 3; ++i) c->TextOut(8, 14, text);
        } else {
          c->TextOut(8, 14, text);  // opaque on the page colour: drawn by the font each time
        }
        c->PopClip();
      }
      EXPECT_EQ(Snapshot(kept->Canvas(), W, H), Snapshot(drawn->Canvas(), W, H)) << text;
      EXPECT_GT(CountColor(kept->Canvas(), Rect(0, 0, W, H), clNavy), 20) << text;
    }
}

// A canvas keeps its font's Qt form while only the colour changes or the same font
// is assigned again, and makes it anew for any change of what the glyphs look like.
TEST(CanvasText, AssignedFontsMeasureAsTheyAreAfterEveryChange) {
  auto b = MakeBitmap(10, 10);
  TCanvas* c = b->Canvas();
  TFont base;
  base.SetName("Arial");
  base.SetHeight(-13);
  const std::vector<std::function<void(TFont&)>> changes = {
      [](TFont&) {},
      [](TFont& f) { f.SetColor(clRed); },
      [](TFont& f) { f.SetHeight(-20); },
      [](TFont& f) { f.SetName("Courier New"); },
      [](TFont& f) { f.SetStyle(FontStyles({fsBold})); },
      [](TFont& f) { f.SetLetterSpacing(3); },
      [](TFont& f) { f.SetPitch(fpFixed); },
      [](TFont& f) { f.SetQuality(fqBest); },
  };
  for (size_t i = 0; i < changes.size(); ++i)
    for (int round = 0; round < 2; ++round) {  // back and forth between the two
      TFont other;
      other.Assign(&base);
      changes[i](other);
      for (TFont* f : {&base, &other, &base, &other}) {
        c->Font()->Assign(f);
        TBitmap fresh;
        fresh.SetSize(10, 10);
        fresh.Canvas()->Font()->Assign(f);
        const std::string text = "Label 1,234.5 W";
        EXPECT_EQ(c->TextWidth(text), fresh.Canvas()->TextWidth(text)) << "change " << i;
        EXPECT_EQ(c->TextHeight(text), fresh.Canvas()->TextHeight(text)) << "change " << i;
      }
    }
}

TEST(CanvasText, FontsMeasureByHeightSizeAndStyle) {
  TCanvas c;  // bound to nothing: measures, does not draw
  c.Font()->SetSize(8);
  int small = c.TextHeight("Wg");
  c.Font()->SetSize(20);
  EXPECT_GT(c.TextHeight("Wg"), small);
  int normal = c.TextWidth("Wide text");
  c.Font()->SetStyle(FontStyles({fsBold}));
  EXPECT_GT(c.TextWidth("Wide text"), normal);
  c.Font()->SetHeight(30);  // a positive height is the cell height
  EXPECT_NEAR(c.TextHeight("x"), 30, 1);
  EXPECT_EQ(c.TextWidth(""), 0);
  EXPECT_THROW(c.TextOut(0, 0, "x"), EInvalidOperation);
  EXPECT_THROW(c.LineTo(5, 5), EInvalidOperation);
}

TEST(CanvasText, RotatedTextRunsUpwardsFromItsReferencePoint) {
  auto b = MakeBitmap(80, 120);
  TCanvas* c = b->Canvas();
  c->Font()->SetHeight(-14);
  c->Font()->SetOrientation(900);
  c->Brush()->SetStyle(bsClear);
  int w = c->TextWidth("Rotated");
  c->TextOut(20, 100, "Rotated");
  TRect ink = InkBounds(c, Rect(0, 0, 80, 120), kBack);
  EXPECT_GT(ink.Height(), 2 * ink.Width());
  EXPECT_GE(ink.Left, 20);
  EXPECT_LE(ink.Bottom, 101);
  EXPECT_NEAR(ink.Height(), w, 3);
}

TEST(CanvasClip, ClipStackConfinesDrawingAndPops) {
  auto b = MakeBitmap(40, 40);
  TCanvas* c = b->Canvas();
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 40, 40));
  c->PushClipRect(Rect(10, 10, 20, 20));
  c->PushClipRect(Rect(15, 5, 30, 18));
  EXPECT_EQ(c->ClipDepth(), 2);
  EXPECT_EQ(c->ClipRect(), Rect(15, 10, 20, 18));
  c->Brush()->SetColor(clRed);
  c->FillRect(Rect(0, 0, 40, 40));
  EXPECT_EQ(c->Pixels(5, 5), -1);  // outside the clip
  EXPECT_EQ(c->Pixels(15, 10), clRed);
  c->PopClip();
  EXPECT_EQ(c->ClipRect(), Rect(10, 10, 20, 20));
  c->MoveTo(0, 12);
  c->LineTo(40, 12);  // one-pixel lines are clipped too
  c->PopClip();
  c->PopClip();  // popping an empty stack is harmless
  EXPECT_EQ(c->ClipDepth(), 0);
  EXPECT_EQ(InkBounds(c, Rect(0, 0, 40, 40), kBack), Rect(10, 10, 20, 18));
  EXPECT_EQ(CountColor(c, Rect(0, 0, 40, 40), clRed), 5 * 8 - 5);
  EXPECT_EQ(CountColor(c, Rect(0, 0, 40, 40), clBlack), 10);

  auto t = MakeBitmap(40, 40);
  t->Canvas()->PushClipRect(Rect(10, 10, 20, 20));
  t->Canvas()->Font()->SetHeight(-20);
  t->Canvas()->Brush()->SetColor(clBlue);
  t->Canvas()->TextOut(0, 0, "WWWW");
  t->Canvas()->PopClip();
  EXPECT_EQ(InkBounds(t->Canvas(), Rect(0, 0, 40, 40), kBack), Rect(10, 10, 20, 20));
  c->SetPixels(0, 0, clLime);
  EXPECT_EQ(c->Pixels(0, 0), clLime);

  c->PushClipPolygon({Point(0, 30), Point(10, 30), Point(0, 40)});
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(Rect(0, 30, 40, 40));
  c->PopClip();
  EXPECT_EQ(c->Pixels(1, 31), clFuchsia);
  EXPECT_EQ(c->Pixels(9, 39), kBack);
  c->PushClipRect(Rect(5, 5, 5, 9));  // an empty clip lets nothing through
  c->FillRect(Rect(0, 0, 40, 40));
  c->PopClip();
  EXPECT_EQ(c->Pixels(5, 6), kBack);
}

// Every pixel-by-pixel path through a clip of spans (lines of each direction, dashed,
// opaque and xor, rectangles, markers, text, single pixels, copies) masks exactly as the
// painter's own clip does: drawn through an outline, the picture is the unclipped
// picture where a pattern fill through the same outline lands, the page elsewhere.
TEST(CanvasClip, OutlinesLetThroughExactlyWhatThePaintersClipLetsThrough) {
  constexpr int W = 90, H = 70;
  struct TOutline {
    const char* Name;
    std::vector<TPoint> Points;
    bool AlsoRect;  // intersected with a rectangle pushed first
  };
  const std::vector<TOutline> outlines = {
      {"convex box outline", {{12, 5}, {70, 5}, {84, 19}, {84, 60}, {26, 60}, {12, 46}}, false},
      {"concave arrow", {{5, 30}, {40, 3}, {40, 20}, {85, 20}, {85, 42}, {40, 42}, {40, 66}}, false},
      {"star with a hole", {{45, 2}, {58, 66}, {3, 24}, {87, 24}, {32, 66}}, false},
      {"outline cut by a rectangle", {{0, 0}, {89, 10}, {60, 69}, {10, 50}}, true},
  };
  auto pattern = MakeBitmap(4, 4, clRed);
  auto onePixel = MakeBitmap(6, 5, clTeal);
  std::srand(11);
  auto any = [](int n) { return std::rand() % n; };
  for (const TOutline& o : outlines) {
    SCOPED_TRACE(o.Name);
    // Where the painter's clip lets a fill through.
    auto mask = MakeBitmap(W, H);
    if (o.AlsoRect) mask->Canvas()->PushClipRect(Rect(8, 6, 80, 62));
    mask->Canvas()->PushClipPolygon(o.Points);
    mask->Canvas()->Brush()->SetBitmap(pattern.get());
    mask->Canvas()->FillRect(Rect(0, 0, W, H));
    const unsigned seed = unsigned(std::rand());
    auto draw = [&](TCanvas* c, bool clipped) {
      std::srand(seed);
      if (clipped && o.AlsoRect) c->PushClipRect(Rect(8, 6, 80, 62));
      if (clipped) c->PushClipPolygon(o.Points);
      for (int i = 0; i < 40; ++i) {
        c->Pen()->SetColor(RGB(any(256), any(256), any(256)));
        c->Pen()->SetStyle(TPenStyle(any(5)));  // solid to dash-dot-dot
        c->Pen()->SetMode(any(4) == 0 ? pmXor : pmCopy);
        c->SetBkMode(any(2) ? OPAQUE : TRANSPARENT);
        const int x = any(W + 20) - 10, y = any(H + 20) - 10;
        switch (any(3)) {
          case 0: c->MoveTo(x, y), c->LineTo(any(W + 20) - 10, any(H + 20) - 10); break;
          case 1: c->MoveTo(x, y), c->LineTo(any(W + 20) - 10, y); break;
          default: c->MoveTo(x, y), c->LineTo(x, any(H + 20) - 10); break;
        }
      }
      c->Pen()->SetMode(pmCopy);
      c->Pen()->SetStyle(psSolid);
      for (int i = 0; i < 12; ++i) {
        c->Brush()->SetColor(RGB(any(256), 128, any(256)));
        const int x = any(W), y = any(H);
        if (i % 2) c->Rectangle(x, y, x + any(30), y + any(30));
        else c->Ellipse(x, y, x + 7, y + 7);
        c->SetPixels(any(W), any(H), clNavy);
      }
      // Through the painter: polygons, wide pens, large ellipses, hatches.
      for (int i = 0; i < 8; ++i) {
        c->Brush()->SetColor(RGB(any(256), any(256), 40));
        c->Brush()->SetStyle(i % 3 == 2 ? bsDiagCross : bsSolid);
        c->Pen()->SetWidth(1 + any(4));
        const int x = any(W) - 10, y = any(H) - 10;
        const TPoint quad[4] = {{x, y}, {x + 30, y - 12}, {x + 30, y + any(40)}, {x, y + 25}};
        if (i % 2) c->Polygon(quad, 4);
        else c->Ellipse(x, y, x + 70, y + 40);
        c->MoveTo(any(W), any(H));
        c->LineTo(any(W), any(H));
      }
      c->Pen()->SetWidth(1);
      c->Font()->SetHeight(-14);
      c->Brush()->SetStyle(bsClear);
      c->TextOut(any(20), any(H - 10), "Clipped 1,234");
      c->CopyRect(Rect(30, 30, 36, 35), onePixel->Canvas(), Rect(0, 0, 6, 5));
      if (clipped) c->PopClip();
      if (clipped && o.AlsoRect) c->PopClip();
    };
    auto whole = MakeBitmap(W, H), cut = MakeBitmap(W, H);
    draw(whole->Canvas(), false);
    draw(cut->Canvas(), true);
    int inside = 0, wrong = 0;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const bool in = mask->Canvas()->Pixels(x, y) == clRed;
        inside += in;
        const TColor want = in ? whole->Canvas()->Pixels(x, y) : kBack;
        if (cut->Canvas()->Pixels(x, y) != want && ++wrong <= 3) ADD_FAILURE() << "pixel " << x << ", " << y;
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(inside, W * H / 8);
  }
}

TEST(CanvasCopy, CopyRectStretchesMirrorsAndAppliesTheCopyMode) {
  auto src = MakeBitmap(4, 2, clRed);
  src->Canvas()->SetPixels(0, 0, clBlue);
  auto d = MakeBitmap(20, 20);
  TCanvas* c = d->Canvas();
  c->CopyRect(Rect(0, 0, 8, 4), src->Canvas(), Rect(0, 0, 4, 2));  // doubled
  EXPECT_EQ(c->Pixels(0, 0), clBlue);
  EXPECT_EQ(c->Pixels(1, 1), clBlue);
  EXPECT_EQ(c->Pixels(2, 0), clRed);
  EXPECT_EQ(c->Pixels(7, 3), clRed);
  EXPECT_EQ(c->Pixels(8, 0), kBack);
  c->CopyRect(Rect(14, 10, 10, 12), src->Canvas(), Rect(0, 0, 4, 2));  // mirrored
  EXPECT_EQ(c->Pixels(13, 10), clBlue);
  EXPECT_EQ(c->Pixels(10, 10), clRed);

  auto p = Patterned(16, 16);
  auto before = Snapshot(p->Canvas(), 16, 16);
  p->Canvas()->SetCopyMode(cmSrcInvert);
  p->Canvas()->CopyRect(Rect(2, 2, 10, 10), src->Canvas(), Rect(0, 0, 4, 2));
  EXPECT_NE(Snapshot(p->Canvas(), 16, 16), before);
  p->Canvas()->CopyRect(Rect(2, 2, 10, 10), src->Canvas(), Rect(0, 0, 4, 2));
  EXPECT_EQ(Snapshot(p->Canvas(), 16, 16), before);

  // A mask and a source combined the device's way: and with the mask, or with the
  // source blackened where the mask is set.
  auto mask = MakeBitmap(2, 1, clBlack);
  mask->Canvas()->SetPixels(1, 0, clWhite);
  auto img = MakeBitmap(2, 1, clLime);
  img->Canvas()->SetPixels(1, 0, clBlack);
  auto t = MakeBitmap(2, 1, clNavy);
  t->Canvas()->SetCopyMode(cmSrcAnd);
  t->Canvas()->Draw(0, 0, mask.get());
  t->Canvas()->SetCopyMode(cmSrcPaint);
  t->Canvas()->Draw(0, 0, img.get());
  EXPECT_EQ(t->Canvas()->Pixels(0, 0), clLime);
  EXPECT_EQ(t->Canvas()->Pixels(1, 0), clNavy);
}

TEST(CanvasCopy, PlainCopiesTakeTheSourcePixelsInsideTheClipOnly) {
  auto src = Patterned(40, 30);
  for (bool clipped : {false, true}) {
    auto dst = MakeBitmap(50, 40);
    if (clipped) dst->Canvas()->PushClipRect(Rect(10, 12, 31, 45));
    dst->Canvas()->CopyRect(Rect(7, 9, 37, 34), src->Canvas(), Rect(4, 2, 34, 27));
    if (clipped) dst->Canvas()->PopClip();  // reads see through the clip only
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 50; ++x) {
        const bool inside = x >= 7 && x < 37 && y >= 9 && y < 34 && (!clipped || (x >= 10 && x < 31 && y >= 12));
        ASSERT_EQ(dst->Canvas()->Pixels(x, y), inside ? src->Canvas()->Pixels(x - 3, y - 7) : kBack)
            << x << "," << y << (clipped ? " clipped" : "");
      }
  }
}

TEST(CanvasCopy, DrawAndStretchDrawGoThroughTheGraphic) {
  auto g = MakeBitmap(3, 3, clRed);
  g->Canvas()->SetPixels(1, 1, clLime);
  auto d = MakeBitmap(20, 20);
  d->Canvas()->Draw(2, 3, g.get());
  EXPECT_EQ(InkBounds(d->Canvas(), Rect(0, 0, 20, 20), kBack), Rect(2, 3, 5, 6));
  EXPECT_EQ(d->Canvas()->Pixels(3, 4), clLime);
  d->Canvas()->StretchDraw(Rect(8, 8, 17, 17), g.get());
  EXPECT_EQ(d->Canvas()->Pixels(12, 12), clLime);
  EXPECT_EQ(d->Canvas()->Pixels(11, 11), clLime);
  EXPECT_EQ(d->Canvas()->Pixels(10, 10), clRed);

  g->SetTransparent(true);  // the bottom-left colour, red, is left out
  auto t = MakeBitmap(5, 5);
  t->Canvas()->Draw(1, 1, g.get());
  EXPECT_EQ(CountColor(t->Canvas(), Rect(0, 0, 5, 5), clRed), 0);
  EXPECT_EQ(t->Canvas()->Pixels(2, 2), clLime);
}

TEST(CanvasEvents, DrawingNotifiesTheCanvasAndItsBitmap) {
  auto b = MakeBitmap(10, 10);
  int changing = 0, changed = 0, bitmapChanged = 0;
  b->Canvas()->OnChanging = TNotifyEvent([&](TObject*) { ++changing; });
  b->Canvas()->OnChange = TNotifyEvent([&](TObject*) { ++changed; });
  b->OnChange = TNotifyEvent([&](TObject*) { ++bitmapChanged; });
  b->Canvas()->MoveTo(0, 0);
  b->Canvas()->LineTo(5, 5);
  b->Canvas()->TextOut(0, 0, "x");
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
  EXPECT_EQ(bitmapChanged, 2);
  b->Canvas()->Pixels(1, 1);  // reading changes nothing
  EXPECT_EQ(bitmapChanged, 2);
}

TEST(CanvasThreads, BitmapsAreBuiltOnOtherThreadsAsOnTheMainThread) {
  auto draw = [](TBitmap* b) {
    b->SetPixelFormat(pf24bit);
    b->SetSize(60, 30);
    TCanvas* c = b->Canvas();
    c->Lock();
    c->Brush()->SetColor(clAqua);
    c->Ellipse(2, 2, 50, 28);
    c->Font()->SetHeight(-12);
    c->TextOut(5, 5, "thread");
    c->Unlock();
  };
  TBitmap here, a, bb;
  draw(&here);
  std::thread t1([&] { draw(&a); }), t2([&] { draw(&bb); });
  t1.join();
  t2.join();
  EXPECT_TRUE(here.Equals(&a));
  EXPECT_TRUE(here.Equals(&bb));
  EXPECT_EQ(here.Canvas()->LockCount(), 0);
  EXPECT_TRUE(here.Canvas()->TryLock());
  here.Canvas()->Unlock();
}
