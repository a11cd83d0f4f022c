// The canvas's quick ways against the plain ways they stand for: lines written a column
// or a pattern's run at a time, clip outlines and font tables kept between drawings,
// whole rows filled in one run. Every pen mode but copy still sets a line pixel by
// pixel: a pen merged (or) onto a black page sets the pixels copy sets there, and a
// black pen masked (and) into any page those a black pen copies, leaving gaps alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "gui_test.h"

using guitest::FirstDifference;
using guitest::MakeBitmap;

namespace {

constexpr int W = 120, H = 90;

struct TPlainWay {
  const char* Name;
  bool Black;  // a black page and a coloured pen, else a patterned page and a black pen
  TPenMode Mode;
};
const TPlainWay Merged{"merged onto black", true, pmMerge}, Masked{"masked into a pattern", false, pmMask};

const std::pair<const char*, std::vector<TPoint>> Clips[] = {
    {"no clip", {}},
    {"rectangle", {{9, 7}, {104, 7}, {104, 81}, {9, 81}}},
    {"convex outline", {{12, 5}, {70, 5}, {114, 30}, {100, 84}, {26, 84}, {3, 46}}},
    // Rows of one span, columns meeting them twice.
    {"chevron <", {{5, 45}, {70, 5}, {115, 5}, {50, 45}, {115, 85}, {70, 85}}},
    {"chevron >", {{5, 5}, {50, 5}, {115, 45}, {50, 85}, {5, 85}, {70, 45}}},
    {"star with a hole", {{60, 2}, {78, 88}, {4, 32}, {116, 32}, {42, 88}}},
};

// Figure (which sets no pen mode or colour) drawn through Clip in copy mode and in
// Way's: where the pictures first differ.
std::string CopyVsPlain(const TPlainWay& Way, const std::vector<TPoint>& Clip,
                        const std::function<void(TCanvas*)>& Figure, int Width = W, int Height = H) {
  std::unique_ptr<TBitmap> two[2];
  for (int plain = 0; plain < 2; ++plain) {
    two[plain] = Way.Black ? MakeBitmap(Width, Height, clBlack) : guitest::Patterned(Width, Height);
    TCanvas* c = two[plain]->Canvas();
    c->Pen()->SetColor(Way.Black ? TColor(0x3366CC) : clBlack);
    c->Pen()->SetMode(plain ? Way.Mode : pmCopy);
    c->SetBkColor(0x22AA55);
    if (!Clip.empty()) c->PushClipPolygon(Clip);
    Figure(c);
  }
  return FirstDifference(two[0].get(), two[1].get());
}

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

TEST(CanvasQuick, SolidLinesWrittenPerColumnEqualLinesSetPixelByPixel) {
  std::mt19937 random(7);
  auto any = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(random); };
  std::vector<TPoint> walk{{-20, 40}}, columns, wide;
  for (int i = 0; i < 600; ++i)
    walk.push_back({walk.back().X + any(-1, 2), std::clamp(walk.back().Y + any(-30, 30), -40, H + 40)});
  // Down a column and back up, as a dense line reduced to columns goes.
  for (int x = -3; x < W + 3; ++x)
    for (int k = 0; k < 3; ++k) columns.push_back({x + (k == 2 && x % 5 == 0), any(-10, H + 10)});
  // Steep and flat segments, some points far out: past the column arithmetic's reach,
  // and from one end of what a projection gives (+-2^30) to the other.
  for (int i = 0; i < 150; ++i) {
    const int far = i / 11 % 2 ? 1 << 30 : -(1 << 30), k = i % 11;
    wide.push_back(k < 2   ? TPoint{k ? far : -far, any(0, H)}
                   : k < 4 ? TPoint{any(0, W), k == 3 ? far : -far}
                   : k < 5 ? TPoint{any(-1, 1) * (1 << 27) + any(0, W), any(-1, 1) * 1000000}
                           : TPoint{any(-W, 2 * W), any(-H, 2 * H)});
  }
  const std::pair<const char*, const std::vector<TPoint>*> figures[] = {
      {"random walk", &walk}, {"down and up each column", &columns}, {"steep, flat and far", &wide}};
  for (const auto& [name, points] : figures)
    for (bool reversed : {false, true}) {
      std::vector<TPoint> p = *points;
      if (reversed) std::reverse(p.begin(), p.end());
      const auto figure = [&](TCanvas* c) {
        c->MoveTo(p[0].X, p[0].Y);
        const int half = int(p.size()) / 2;  // half in one polyline, half a segment at a time
        c->PolylineTo(p.data() + 1, half);
        for (size_t i = size_t(half) + 1; i < p.size(); ++i) c->LineTo(p[i].X, p[i].Y);
      };
      for (const TPlainWay& way : {Merged, Masked})
        for (const auto& [clipName, clip] : Clips)
          EXPECT_EQ(CopyVsPlain(way, clip, figure), "")
              << name << (reversed ? " reversed, " : ", ") << way.Name << ", " << clipName;
    }
}

TEST(CanvasQuick, ColumnsOfAReducedLineEqualTheirSegmentsDrawnOneByOne) {
  // Columns as the fast line makes them (entry and exit between the lowest and highest
  // rows, the next column one or a few pixels on), and others: rows far out, ends past
  // +-2^30 and the int range, a lowest row below the highest.
  std::mt19937 random(13);
  auto any = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(random); };
  std::vector<TLineColumn> columns;
  for (int x = -4; x < W + 4; x += x % 17 == 0 ? 3 : 1) {
    int lo = any(-20, H + 20), hi = std::max(lo, any(-20, H + 20));
    // Now and then an entry just outside, a row apart from the rest of its column.
    const int entry = x % 7 ? any(lo, hi) : lo - any(1, 2), exit = any(lo, hi);
    if (x % 13 == 0) lo = x % 2 ? INT_MIN : -(1 << 30) - 7;
    if (x % 19 == 0) hi = x % 2 ? INT_MAX : (1 << 30) + 3;
    if (x % 29 == 0) std::swap(lo, hi), lo = hi + any(1, 4);
    columns.push_back({x, entry, lo, hi, exit});
  }
  for (bool reversed : {false, true}) {
    if (reversed) std::reverse(columns.begin(), columns.end());
    for (const TPlainWay& way : {Merged, Masked})
      for (const auto& [clipName, clip] : Clips)
        EXPECT_EQ(CopyVsPlain(way, clip,
                              [&](TCanvas* c) {
                                c->MoveTo(columns[0].X - 3, H / 2);
                                c->ColumnLineTo(columns.data(), int(columns.size()));
                                c->LineTo(W / 2, H + 5);  // on from the last exit
                              }),
                  "")
            << (reversed ? "reversed, " : "") << way.Name << ", " << clipName;
  }
}

TEST(CanvasQuick, DashedLinesOfEveryDirectionEqualDashesSetPixelByPixel) {
  // The styles, and patterns of the pen's own: one with a run of none, one longer than a mask.
  const std::pair<TPenStyle, std::vector<int>> styles[] = {
      {psDash, {}}, {psDot, {}}, {psDashDot, {}}, {psDashDotDot, {}}, {psSolid, {5, 0, 2, 3}}, {psSolid, {3000, 1500}}};
  // Each figure alone on its page (a merged gap over a dash is not what copy leaves),
  // most from far back, so the pattern is entered part way; a spiral runs the pattern
  // on round its corners; a row and a column go on past one mask.
  struct TFigure {
    std::vector<TPoint> Points;
    int Width = W, Height = H;
  };
  const TFigure figures[] = {
      {{{-2960, 20}, {W + 30, 20}}}, {{{W + 2950, 33}, {-10, 33}}}, {{{40, -2970}, {40, H + 9}}},
      {{{77, H + 2955}, {77, -4}}},  {{{-30, -25}, {W, H + 5}}},    {{{10, H + 3}, {50, -40}}},
      {{{-5, 70}, {W + 10, 52}}},   {{{-(1 << 30), 47}, {1 << 30, 47}}}, {{{60, 1 << 30}, {60, -(1 << 30)}}},
      {{{-37, 4}, {W - 4, 4}, {W - 4, H - 4}, {6, H - 4}, {6, 12}, {W - 14, 12}, {W - 14, H - 12}, {14, H - 12},
        {14, 20}}},
      {{{-50, 2}, {4500, 2}}, 4400, 6},
      {{{2, -50}, {2, 4500}}, 6, 4400}};
  for (const auto& [style, pattern] : styles)
    for (bool opaque : {true, false})
      for (const auto& [clipName, clip] : Clips)
        for (const TFigure& f : figures) {
          if (f.Width != W && clipName != Clips[0].first) continue;
          const auto figure = [&](TCanvas* c) {
            c->Pen()->SetStyle(style);
            c->Pen()->SetDashPattern(pattern);
            c->SetBkMode(opaque ? OPAQUE : TRANSPARENT);
            c->MoveTo(f.Points[0].X, f.Points[0].Y);
            c->PolylineTo(f.Points.data() + 1, int(f.Points.size()) - 1);
          };
          EXPECT_EQ(CopyVsPlain(opaque ? Merged : Masked, clip, figure, f.Width, f.Height), "")
              << "style " << style << ", pattern of " << pattern.size() << (opaque ? ", opaque, " : ", transparent, ")
              << clipName << ", figure from " << f.Points[0].X << "," << f.Points[0].Y;
        }
}

TEST(CanvasQuick, ClipOutlinesFoundAgainClipAsOutlinesMadeAfresh) {
  std::vector<TPoint> moved = Clips[2].second;
  moved[3].X += 2;  // one point changed: another outline
  const std::vector<TPoint> outlines[] = {Clips[2].second, Clips[3].second, moved, Clips[5].second};
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
  // Back and forth on one canvas, on this thread and on two others at once.
  const int order[] = {0, 1, 0, 2, 0, 3, 2, 1, 0, 3};
  const auto run = [&](std::vector<std::unique_ptr<TBitmap>>& Out) {
    auto one = MakeBitmap(W, H);
    for (int i : order) {
      TCanvas* c = one->Canvas();
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(clWhite);
      c->FillRect(Rect(0, 0, W, H));
      c->PushClipPolygon(outlines[i]);
      ClippedFigure(c);
      c->PopClip();
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
      EXPECT_EQ(FirstDifference((*pictures)[k].get(), fresh[size_t(order[k])].get()), "") << "picture " << k;
}

TEST(CanvasQuick, SolidFillsOfWholeRowsEqualThePaintersFill) {
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

TEST(CanvasQuick, FontTablesAnswerForTheFontAsItIsNowOnEveryCanvasAndThread) {
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
      if (C->TextWidth(texts[t]) != widths[size_t(F)][t])
        wrong.push_back(std::string(Where) + " font " + std::to_string(F));
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

// Lines from one end of the int range to the other: the part in the picture is where
// the whole line passes (the stepping's start arithmetic must not overflow), in copy
// mode and pixel by pixel, dashed or not.
TEST(CanvasQuick, LinesAcrossTheWholeIntRangeLieWhereTheyPass) {
  constexpr int M = INT_MAX;
  struct TLine {
    const char* Name;
    TPoint A, B;
    std::function<bool(int, int)> On;  // whether pixel (x, y) lies on the line
  };
  const TLine lines[] = {
      {"diagonal", {-M, -M}, {M, M}, [](int x, int y) { return x == y; }},
      {"anti-diagonal", {-M + 60, M}, {M, -M + 60}, [](int x, int y) { return x + y == 60; }},
      {"steep", {40, -M}, {41, M}, [](int x, int y) { return x == (y < 0 ? 40 : 41) || (y == 0); }},
  };
  for (const TLine& line : lines)
    for (TPenMode mode : {pmCopy, pmMerge})
      for (TPenStyle style : {psSolid, psDot}) {
        SCOPED_TRACE(std::string(line.Name) + (mode == pmCopy ? ", copy" : ", merged") +
                     (style == psSolid ? ", solid" : ", dotted"));
        auto b = MakeBitmap(W, H, clBlack);
        TCanvas* c = b->Canvas();
        c->Pen()->SetColor(clWhite);
        c->Pen()->SetMode(mode);
        c->Pen()->SetStyle(style);
        c->MoveTo(line.A.X, line.A.Y);
        c->LineTo(line.B.X, line.B.Y);
        int off = 0, on = 0;
        for (int y = 0; y < H; ++y)
          for (int x = 0; x < W; ++x)
            if (c->Pixels(x, y) != clBlack) (line.On(x, y) ? on : off)++;
        EXPECT_EQ(off, 0);
        EXPECT_GT(on, style == psSolid ? 50 : 15);
      }
}
