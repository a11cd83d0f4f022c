// Lines the canvas writes a column or a pattern's run at a time against the same
// lines set pixel by pixel. Every pen mode but copy still sets a line pixel by pixel:
// a pen merged (or) onto a black page sets the pixels copy sets there, and a black pen
// masked (and) into any page those a black pen copies, leaving the gaps as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <random>
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

struct TClipCase {
  const char* Name;
  std::vector<TPoint> Outline;
  TRect Box;  // pushed when there is no outline and it is not empty
};
const TClipCase Clips[] = {
    {"no clip", {}, {}},
    {"rectangle", {}, {9, 7, 104, 81}},
    {"convex outline", {{12, 5}, {70, 5}, {114, 30}, {100, 84}, {26, 84}, {3, 46}}, {}},
    // Rows of one span, columns meeting them twice.
    {"chevron <", {{5, 45}, {70, 5}, {115, 5}, {50, 45}, {115, 85}, {70, 85}}, {}},
    {"chevron >", {{5, 5}, {50, 5}, {115, 45}, {50, 85}, {5, 85}, {70, 45}}, {}},
    {"star with a hole", {{60, 2}, {78, 88}, {4, 32}, {116, 32}, {42, 88}}, {}},
};

// Figure drawn through Clip in copy mode or (Plain) in Way's mode; Figure sets no mode
// and no pen colour.
std::unique_ptr<TBitmap> Picture(const TPlainWay& Way, const TClipCase& Clip, bool Plain,
                                 const std::function<void(TCanvas*)>& Figure, int Width = W, int Height = H) {
  auto b = Way.Black ? MakeBitmap(Width, Height, clBlack) : guitest::Patterned(Width, Height);
  TCanvas* c = b->Canvas();
  c->Pen()->SetColor(Way.Black ? TColor(0x3366CC) : clBlack);
  c->Pen()->SetMode(Plain ? Way.Mode : pmCopy);
  c->SetBkColor(0x22AA55);
  if (!Clip.Outline.empty()) c->PushClipPolygon(Clip.Outline);
  else if (Clip.Box.Right > Clip.Box.Left) c->PushClipRect(Clip.Box);
  Figure(c);
  return b;
}

std::string CopyVsPlain(const TPlainWay& Way, const TClipCase& Clip, const std::function<void(TCanvas*)>& Figure,
                        int Width = W, int Height = H) {
  return FirstDifference(Picture(Way, Clip, false, Figure, Width, Height).get(),
                         Picture(Way, Clip, true, Figure, Width, Height).get());
}

}  // namespace

TEST(CanvasQuickLines, SolidLinesWrittenPerColumnEqualLinesSetPixelByPixel) {
  std::mt19937 random(7);
  auto any = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(random); };
  std::vector<TPoint> walk{{-20, 40}}, columns, wide;
  for (int i = 0; i < 600; ++i)
    walk.push_back({walk.back().X + any(-1, 2), std::clamp(walk.back().Y + any(-30, 30), -40, H + 40)});
  // Down a column and back up, as a dense line reduced to columns goes.
  for (int x = -3; x < W + 3; ++x)
    for (int k = 0; k < 3; ++k) columns.push_back({x + (k == 2 && x % 5 == 0), any(-10, H + 10)});
  // Steep and flat segments, some points far out (beyond the column arithmetic's reach too).
  for (int i = 0; i < 150; ++i)
    wide.push_back(i % 11 ? TPoint{any(-W, 2 * W), any(-H, 2 * H)}
                          : TPoint{any(-1, 1) * (1 << 27) + any(0, W), any(-1, 1) * (i % 2 ? 1000000 : INT_MAX / 2)});
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
        for (const TClipCase& clip : Clips)
          EXPECT_EQ(CopyVsPlain(way, clip, figure), "") << name << (reversed ? " reversed, " : ", ")
                                                        << way.Name << ", " << clip.Name;
    }
}

TEST(CanvasQuickLines, ColumnsOfAReducedLineEqualTheirSegmentsDrawnOneByOne) {
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
    std::vector<TLineColumn> k = columns;
    if (reversed) std::reverse(k.begin(), k.end());
    const auto reduced = [&](TCanvas* c) {
      c->MoveTo(k[0].X - 3, H / 2);
      c->ColumnLineTo(k.data(), int(k.size()));
      c->LineTo(W / 2, H + 5);  // on from the last exit
    };
    for (const TPlainWay& way : {Merged, Masked})
      for (const TClipCase& clip : Clips) {
        SCOPED_TRACE(testing::Message() << (reversed ? "reversed, " : "") << way.Name << ", " << clip.Name);
        EXPECT_EQ(CopyVsPlain(way, clip, reduced), "");
        // What the columns stand for, in copy mode.
        const auto segments = [&](TCanvas* c) {
          c->MoveTo(k[0].X - 3, H / 2);
          for (const TLineColumn& s : k) {
            const auto held = [](int Y) { return std::clamp(Y, -(1 << 30), 1 << 30); };
            c->LineTo(s.X, s.Entry);
            c->MoveTo(s.X, held(s.Low));
            c->LineTo(s.X, held(s.High) + 1);
            c->MoveTo(s.X, s.Exit);
          }
          c->LineTo(W / 2, H + 5);
        };
        EXPECT_EQ(FirstDifference(Picture(way, clip, false, reduced).get(), Picture(way, clip, false, segments).get()), "");
      }
  }
}

TEST(CanvasQuickLines, DashedLinesOfEveryDirectionEqualDashesSetPixelByPixel) {
  struct TStyle {
    const char* Name;
    TPenStyle Style;
    std::vector<int> Pattern;
  };
  const TStyle styles[] = {{"dash", psDash, {}},          {"dot", psDot, {}},
                           {"dash dot", psDashDot, {}},   {"dash dot dot", psDashDotDot, {}},
                           {"own, a run of none", psSolid, {5, 0, 2, 3}},
                           {"own, longer than a mask", psSolid, {3000, 1500}}};
  // Each figure alone on its page (a merged gap over a dash is not what copy leaves),
  // most starting far back so the pattern is entered part way.
  const std::vector<std::vector<TPoint>> figures = {
      {{-2960, 20}, {W + 30, 20}},  {{W + 2950, 33}, {-10, 33}}, {{40, -2970}, {40, H + 9}},
      {{77, H + 2955}, {77, -4}},   {{-30, -25}, {W, H + 5}},    {{10, H + 3}, {50, -40}},
      {{-5, 70}, {W + 10, 52}},
      // A spiral of straight lines, the pattern running on round its corners.
      {{-37, 4}, {W - 4, 4}, {W - 4, H - 4}, {6, H - 4}, {6, 12}, {W - 14, 12}, {W - 14, H - 12}, {14, H - 12}, {14, 20}}};
  for (const TStyle& s : styles)
    for (bool opaque : {true, false}) {
      const auto style = [&](TCanvas* c) {
        c->Pen()->SetStyle(s.Style);
        c->Pen()->SetDashPattern(s.Pattern);
        c->SetBkMode(opaque ? OPAQUE : TRANSPARENT);
      };
      const TPlainWay& way = opaque ? Merged : Masked;
      SCOPED_TRACE(testing::Message() << s.Name << (opaque ? ", opaque" : ", transparent"));
      for (const TClipCase& clip : Clips)
        for (const std::vector<TPoint>& f : figures) {
          const auto figure = [&](TCanvas* c) {
            style(c);
            c->MoveTo(f[0].X, f[0].Y);
            c->PolylineTo(f.data() + 1, int(f.size()) - 1);
          };
          EXPECT_EQ(CopyVsPlain(way, clip, figure), "") << clip.Name << ", figure from " << f[0].X << "," << f[0].Y;
        }
      // A row and a column longer than one mask.
      for (bool across : {true, false}) {
        const auto figure = [&](TCanvas* c) {
          style(c);
          c->MoveTo(across ? -50 : 2, across ? 2 : -50);
          c->LineTo(across ? 4500 : 2, across ? 2 : 4500);
        };
        EXPECT_EQ(CopyVsPlain(way, Clips[0], figure, across ? 4400 : 6, across ? 6 : 4400), "") << across;
      }
    }
}
