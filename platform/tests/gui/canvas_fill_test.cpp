// Polygon fills written row by row, and figures painted from the last back, against
// the painter: a brush of a one-colour picture still fills through it, so each case
// is drawn both ways and compared bit for bit.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "gui_test.h"

using guitest::FirstDifference;
using guitest::MakeBitmap;

namespace {

// One drawing on two bitmaps: Draw(canvas, painted) gets the second one's canvas with
// painted true, which fills through a picture brush of the colour it sets (SetFill).
struct TTwoWays {
  std::unique_ptr<TBitmap> fast, painted;
  std::vector<std::unique_ptr<TBitmap>> pictures;
  TTwoWays(int W, int H) : fast(MakeBitmap(W, H)), painted(MakeBitmap(W, H)) {}
  void SetFill(TCanvas* C, TColor Color) {
    if (C == fast->Canvas()) return C->Brush()->SetColor(Color);
    pictures.push_back(MakeBitmap(8, 8, Color));
    C->Brush()->SetBitmap(pictures.back().get());
  }
  std::string Difference() { return FirstDifference(fast.get(), painted.get()); }
};

// A parallelogram with two sides of Length along X (Upright: along Y) from (X, Y) and
// the other two along (Dx, Dy), corners from First on, either way round.
std::vector<TPoint> Parallelogram(int X, int Y, bool Upright, int Length, int Dx, int Dy, int First, bool Back) {
  const TPoint side = Upright ? TPoint{0, Length} : TPoint{Length, 0};
  const TPoint c[4] = {{X, Y}, {X + side.X, Y + side.Y}, {X + side.X + Dx, Y + side.Y + Dy}, {X + Dx, Y + Dy}};
  std::vector<TPoint> p;
  for (int i = 0; i < 4; ++i) p.push_back(c[(First + (Back ? 4 - i : i)) % 4]);
  return p;
}

}  // namespace

TEST(CanvasFill, ParallelogramsOfEverySlopeFillAsThePainterFills) {
  // Every side from -24..24 each way (45 degrees and every tie on the way), sides along
  // X or Y of 1, 2 and 7 pixels, with and without a pen, each corner first, both ways.
  constexpr int R = 24, Cell = 2 * R + 10;
  int shapes = 0;
  for (bool upright : {false, true})
    for (int length : {1, 2, 7})
      for (int dx = -R; dx <= R; ++dx) {
        TTwoWays two((2 * R + 1) * Cell, Cell);
        for (TCanvas* c : {two.fast->Canvas(), two.painted->Canvas()})
          for (int dy = -R; dy <= R; ++dy) {
            c->Pen()->SetStyle((dx + dy) % 3 ? psClear : psSolid);
            two.SetFill(c, RGB(40 + dy + R, 200, 90 + dx + R));
            const std::vector<TPoint> p =
                Parallelogram((dy + R) * Cell + R + 4, R + 4, upright, length, dx, dy, (dx + 2 * dy + 99) % 4, dy % 2);
            c->Polygon(p);
            shapes += c == two.fast->Canvas();
          }
        ASSERT_EQ(two.Difference(), "") << (upright ? "upright" : "level") << " sides of " << length << ", dx " << dx;
      }
  EXPECT_EQ(shapes, 2 * 3 * 49 * 49);
}

TEST(CanvasFill, PolygonsFillAsThePainterFillsThroughEveryClip) {
  // Random shapes of three to sixteen corners (twisted ones too) and long thin ones,
  // partly off the picture, overlapping, under no clip, a rectangle and an outline of
  // many rows; more corners go through the painter either way.
  constexpr int W = 160, H = 120;
  for (int clip = 0; clip < 3; ++clip) {
    SCOPED_TRACE(testing::Message() << "clip " << clip);
    TTwoWays two(W, H);
    for (TCanvas* c : {two.fast->Canvas(), two.painted->Canvas()}) {
      std::mt19937 random(17);
      auto any = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(random); };
      if (clip == 1) c->PushClipRect(Rect(9, 7, 131, 103));
      if (clip == 2) c->PushClipPolygon({Point(30, 0), Point(159, 40), Point(100, 119), Point(0, 70)});
      for (int i = 0; i < 900; ++i) {
        c->Pen()->SetStyle(i % 4 ? psClear : psSolid);
        c->Pen()->SetColor(RGB(any(0, 255), 0, 0));
        two.SetFill(c, RGB(any(0, 255), any(0, 255), 128));
        std::vector<TPoint> p;
        if (i % 3 == 0) {
          const int x = any(-40, W + 20), y = any(-40, H + 20);
          p = {{x, y}, {x + any(-200, 200), y + any(-3, 3)}, {x + any(-200, 200), y + any(20, 300)}, {x, y + any(1, 90)}};
        } else {
          const int corners = i % 3 == 1 ? 4 : any(3, 18);
          for (int k = 0; k < corners; ++k) p.push_back({any(-30, W + 30), any(-30, H + 30)});
        }
        c->Polygon(p);
      }
    }
    EXPECT_EQ(two.Difference(), "");
  }
}

namespace {

// The faces of a box as the 3D canvas hands them over: the front rectangle, the top
// and the right side running back along (Dx, -Dy), the sides darker.
void AddBox(TCanvasFigure& F, int L, int T, int R, int B, int Dx, int Dy, TColor Front, TColor Side) {
  const TPoint top[4] = {{L, T}, {R, T}, {R + Dx, T - Dy}, {L + Dx, T - Dy}};
  const TPoint right[4] = {{R, T}, {R, B}, {R + Dx, B - Dy}, {R + Dx, T - Dy}};
  const TPoint front[4] = {{L, T}, {R, T}, {R, B}, {L, B}};
  F.Add(top, 4, Side);
  F.Add(right, 4, Side);
  F.Add(front, 4, Front);
}

}  // namespace

TEST(CanvasFill, FiguresPaintedFromTheLastBackEqualPolygonsDrawnInTurn) {
  // Boxes of every height over one another (stretched copies of a few shapes), boxes
  // too short to stretch, and twisted figures that stretch nowhere; one or two colours,
  // with and without a pen, under each clip, partly off the picture. Then a dashed
  // line on the brush's background shows that the brush left the same state behind.
  constexpr int W = 180, H = 130;
  struct TCase {
    const char* Name;
    bool Pen;
    int Clip;
    TPenMode Mode;
    TPenStyle Style;
  };
  for (const TCase& k : {TCase{"outlined", true, 0, pmCopy, psSolid}, TCase{"filled only", false, 0, pmCopy, psSolid},
                         TCase{"rectangle clip", true, 1, pmCopy, psSolid}, TCase{"outline clip", true, 2, pmCopy, psSolid},
                         TCase{"xor pen (drawn in turn)", true, 2, pmXor, psSolid},
                         TCase{"dotted pen (drawn in turn)", true, 0, pmCopy, psDot}}) {
    SCOPED_TRACE(k.Name);
    std::mt19937 random(23);
    auto any = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(random); };
    std::vector<std::function<void(TCanvasFigure&)>> figures;
    for (int i = 0; i < 700; ++i) {
      const int kind = any(0, 9), l = any(-20, W), w = any(1, 3) * (kind == 0 ? 9 : 1), dx = any(1, 2) * 6;
      const int dy = kind == 1 ? dx + 1 : dx, b = any(H - 20, H + 10), t = b - (kind == 2 ? any(0, 8) : any(1, 140));
      const TColor front = i % 5 ? clNavy : clTeal, side = i % 7 ? RGB(0, 0, 96) : clGreen;
      if (kind == 3) {
        // Up to twenty corners: past sixteen, Polygon fills through the painter.
        std::vector<TPoint> p;
        for (int j = any(5, 20); j > 0; --j) p.push_back({any(-10, W + 10), any(-10, H + 10)});
        figures.push_back([=](TCanvasFigure& F) {
          F.Add(p.data(), int(p.size()), front);
          F.Add(p.data() + 1, 3, side);
        });
      } else {
        figures.push_back([=](TCanvasFigure& F) { AddBox(F, l, t, l + w, b, dx, dy, front, side); });
      }
    }
    TTwoWays two(W, H);
    for (TCanvas* c : {two.fast->Canvas(), two.painted->Canvas()}) {
      if (k.Clip == 1) c->PushClipRect(Rect(12, 9, 150, 121));
      if (k.Clip == 2) c->PushClipPolygon({Point(5, 30), Point(40, 2), Point(175, 2), Point(175, 100), Point(140, 128), Point(5, 128)});
      c->Pen()->SetStyle(k.Pen ? k.Style : psClear);
      c->Pen()->SetMode(k.Mode);
      c->Pen()->SetColor(clBlack);
      c->Brush()->SetColor(clNavy);
      c->SetBkMode(TRANSPARENT);
      if (c == two.fast->Canvas()) {
        c->PolygonFigures(int(figures.size()), Rect(-60, -60, W + 60, H + 60),
                          [&](int I, TCanvasFigure& F) { figures[size_t(I)](F); });
        EXPECT_EQ(c->Brush()->Color(), clNavy);
      } else {
        TCanvasFigure f;
        for (auto& figure : figures) {
          f.Clear();
          figure(f);
          for (int p = 0; p < f.Polygons(); ++p) {
            c->Brush()->SetColor(f.Color(p));
            c->Polygon(f.Points(p), f.Count(p));
          }
        }
        c->Brush()->SetColor(clNavy);
      }
      c->Pen()->SetMode(pmCopy);
      c->Pen()->SetStyle(psDash);
      c->MoveTo(0, H / 2);
      c->LineTo(W, H / 2 + 3);
    }
    EXPECT_EQ(two.Difference(), "");
  }
}
