// What the canvas keeps between drawings (clip outlines' regions and rows, each font's
// text widths and pixels) and its whole-row fills, against the same drawings made
// afresh or through the painter.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "gui_test.h"

using guitest::FirstDifference;
using guitest::MakeBitmap;

namespace {

constexpr int W = 120, H = 90;

// What a clip cuts: a fill, solid lines down and up the columns, dashed rows and columns,
// a box and a text.
void ClippedFigure(TCanvas* C) {
  C->Brush()->SetColor(clSilver);
  C->FillRect(Rect(0, 0, W, H));
  C->Pen()->SetColor(clNavy);
  C->MoveTo(-5, 3);
  for (int x = 0; x < W; x += 2) C->LineTo(x, x % 4 ? H - 3 : 3);
  C->Pen()->SetStyle(psDashDot);
  C->SetBkColor(clYellow);
  for (int k = 5; k < W; k += 23) C->MoveTo(k, -4), C->LineTo(k, H), C->MoveTo(-4, k * 3 / 4), C->LineTo(W, k * 3 / 4);
  C->Pen()->SetStyle(psSolid);
  C->Brush()->SetColor(clTeal);
  C->Rectangle(30, 20, 90, 60);
  C->Brush()->SetStyle(bsClear);
  C->Font()->SetHeight(-16);
  C->TextOut(8, 40, "Clipped 1,234");
}

struct TFontCase {
  const char* Name;
  int Height;
  TFontStyles Style;
};
void SetFont(TCanvas* C, const TFontCase& F) {
  C->Font()->SetName(F.Name);
  C->Font()->SetHeight(F.Height);
  C->Font()->SetStyle(F.Style);
}

}  // namespace

TEST(CanvasKept, ClipOutlinesFoundAgainClipAsOutlinesMadeAfresh) {
  const std::vector<TPoint> convex = {{12, 5}, {70, 5}, {114, 30}, {100, 84}, {26, 84}, {3, 46}};
  std::vector<TPoint> moved = convex;
  moved[3].X += 2;  // one point changed: another outline
  const std::vector<std::vector<TPoint>> outlines = {
      convex, {{5, 45}, {70, 5}, {115, 5}, {50, 45}, {115, 85}, {70, 85}}, moved,
      {{60, 2}, {78, 88}, {4, 32}, {116, 32}, {42, 88}}};
  // Each outline drawn after forty others: its region and rows made afresh.
  std::vector<std::unique_ptr<TBitmap>> fresh;
  for (const std::vector<TPoint>& o : outlines) {
    fresh.push_back(MakeBitmap(W, H));
    TCanvas* c = fresh.back()->Canvas();
    for (int i = 0; i < 40; ++i) c->PushClipPolygon({{i, 0}, {W, i}, {0, H}}), c->PopClip();
    c->PushClipPolygon(o);
    ClippedFigure(c);
  }
  ASSERT_NE(FirstDifference(fresh[0].get(), fresh[2].get()), "");
  // Back and forth on one canvas and on new ones, on this thread and two others at once.
  const int order[] = {0, 1, 0, 2, 0, 3, 2, 1, 0, 3};
  const auto run = [&](std::vector<std::unique_ptr<TBitmap>>& Out) {
    auto one = MakeBitmap(W, H);
    for (int i : order) {
      auto fresh = MakeBitmap(W, H);
      for (TCanvas* c : {one->Canvas(), fresh->Canvas()}) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clWhite);
        c->FillRect(Rect(0, 0, W, H));
        c->PushClipPolygon(outlines[size_t(i)]);
        ClippedFigure(c);
        c->PopClip();
      }
      Out.push_back(std::move(fresh));
      Out.push_back(std::make_unique<TBitmap>());
      Out.back()->Assign(one.get());
    }
  };
  std::vector<std::unique_ptr<TBitmap>> here, first, second;
  run(here);
  std::thread a([&] { run(first); }), b([&] { run(second); });
  a.join();
  b.join();
  for (auto* pictures : {&here, &first, &second})
    for (size_t k = 0; k < pictures->size(); ++k)
      EXPECT_EQ(FirstDifference((*pictures)[k].get(), fresh[size_t(order[k / 2])].get()), "") << "picture " << k;
}

TEST(CanvasKept, SolidFillsOfWholeRowsEqualThePaintersFill) {
  // Whole rows (one run of pixels), part rows and rows through a clip, as a solid brush
  // fills them and as the painter fills through a one-colour picture, in every format.
  auto picture = MakeBitmap(8, 8, clYellow);
  for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit})
    for (int width : {1, 3, 37, 1031})
      for (int clip = 0; clip < 3; ++clip) {
        std::unique_ptr<TBitmap> two[2];
        for (int way = 0; way < 2; ++way) {
          two[way] = MakeBitmap(width, 30, clNavy);
          two[way]->SetPixelFormat(f);
          TCanvas* c = two[way]->Canvas();
          if (clip == 1) c->PushClipRect(Rect(0, 2, width, 26));
          if (clip == 2) c->PushClipPolygon({{0, 0}, {width, 4}, {width / 2, 29}});
          for (const TRect& r : {Rect(0, 0, width, 30), Rect(0, 3, width, 9), Rect(-4, 12, width + 5, 40),
                                 Rect(1, 5, width - 1, 20), Rect(2, 22, width + 3, 27), Rect(0, 7, 2, 25)}) {
            if (way) c->Brush()->SetBitmap(picture.get());
            else c->Brush()->SetColor(clYellow);
            c->FillRect(r);
          }
          two[way]->SetPixelFormat(pf32bit);
        }
        EXPECT_EQ(FirstDifference(two[0].get(), two[1].get()), "")
            << "format " << f << ", " << width << " wide, clip " << clip;
      }
}

TEST(CanvasKept, FontTablesAnswerForTheFontAsItIsNowOnEveryCanvasAndThread) {
  const TFontCase fonts[] = {{"Arial", -13, 0},
                             {"Arial", -13, FontStyles({fsBold})},
                             {"Courier New", -13, 0},
                             {"Arial", -20, 0},
                             {"Times New Roman", -16, FontStyles({fsItalic})}};
  const std::vector<std::string> texts = {"Label 1,234.5", "Omega jy", "W"};
  // The widths measured on a thread of its own, whose tables start empty.
  std::vector<std::vector<int>> widths;
  std::thread([&] {
    for (const TFontCase& f : fonts) {
      TBitmap b;
      b.SetSize(10, 10);
      SetFont(b.Canvas(), f);
      widths.emplace_back();
      for (const std::string& t : texts) widths.back().push_back(b.Canvas()->TextWidth(t));
    }
  }).join();
  ASSERT_NE(widths[0], widths[1]);
  // One canvas changing its font in place, back and forth, beside another; a canvas that
  // goes on measuring on a new thread after the one it measured on has ended.
  const int order[] = {0, 1, 0, 2, 3, 0, 4, 4, 1, 3, 2, 0};
  TBitmap one, other;
  one.SetSize(10, 10);
  other.SetSize(10, 10);
  std::vector<std::string> wrong;
  const auto check = [&](TCanvas* C, int F, const char* Where) {
    SetFont(C, fonts[size_t(F)]);
    for (size_t t = 0; t < texts.size(); ++t)
      if (C->TextWidth(texts[t]) != widths[size_t(F)][t]) wrong.push_back(std::string(Where) + " font " + std::to_string(F));
  };
  for (int f : order) check(one.Canvas(), f, "one"), check(other.Canvas(), (f + 2) % 5, "other");
  for (int f : order) std::thread([&] { check(one.Canvas(), f, "thread"); }).join();
  EXPECT_EQ(wrong, std::vector<std::string>{});

  // Texts set from kept pixels (transparent) equal texts the font draws (opaque on the
  // page's colour), through each font in turn, partly outside the picture and clipped.
  auto kept = MakeBitmap(W, H), drawn = MakeBitmap(W, H);
  for (size_t i = 0; i < std::size(order); ++i) {
    for (TCanvas* c : {kept->Canvas(), drawn->Canvas()}) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(clWhite);
      c->FillRect(Rect(0, 0, W, H));
      SetFont(c, fonts[size_t(order[i])]);
      c->Font()->SetColor(clNavy);
      if (c == kept->Canvas()) c->Brush()->SetStyle(bsClear);
      if (i % 3 == 1) c->PushClipRect(Rect(6, 2, 100, 70));
      if (i % 3 == 2) c->PushClipPolygon({{0, 0}, {W, 10}, {60, H}});
      for (int k = 0; k < 3; ++k)  // the first drawn by the font, then from its kept pixels
        for (TPoint p : {TPoint{-30, -4}, TPoint{10, 32}, TPoint{70, H - 9}}) c->TextOut(p.X, p.Y, texts[i % 2]);
      if (i % 3) c->PopClip();
    }
    EXPECT_EQ(FirstDifference(kept.get(), drawn.get()), "") << "step " << i;
  }
}
