// The fast line's reduced columns against the plain segment-by-segment drawing: the
// same chart is drawn through a canvas that takes the reduction and through one that
// does not (it says it records operations), and the pictures must be equal.
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "canvas/lumcanvas.h"
#include "chart_test_util.h"

namespace {

// Counts the points handed to the device; can say it records operations instead of
// drawing pixels, which leaves the series on the plain path.
class TCountingCanvas : public TLumCanvas3D {
public:
  explicit TCountingCanvas(bool Pixels) : pixels_(Pixels) {}
  bool DrawsToPixels() const override { return pixels_; }
  // Lines reach the device here whether they were projected before or on the way.
  void PolylineTo(const TPoint* Points, int Count) override {
    Points_ += Count;
    TLumCanvas3D::PolylineTo(Points, Count);
  }
  long Points_ = 0;

private:
  bool pixels_;
};

class FastLineTest : public charttest::ChartTest {
protected:
  void SetUp() override {
    ChartTest::SetUp();
    line = Add<TFastLineSeries>();
    line->SetSeriesColor(clBlue);
  }

  // The chart drawn through a new counting canvas; its pixels, and the points it got.
  std::vector<TColor> Draw(bool Reduce, long* Points = nullptr) {
    auto* canvas = new TCountingCanvas(Reduce);
    chart->SetCanvas(canvas);
    chart->Draw(chart->ClientRect());
    std::vector<TColor> pixels;
    TCanvas* c = canvas->Bitmap()->Canvas();
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) pixels.push_back(c->Pixels(x, y));
    if (Points) *Points = canvas->Points_;
    return pixels;
  }

  // Reduced and plain give the same picture; answers the points each handed over.
  void ExpectSamePicture(long* Reduced = nullptr, long* Plain = nullptr) {
    long r = 0, p = 0;
    const std::vector<TColor> reduced = Draw(true, &r), plain = Draw(false, &p);
    ASSERT_EQ(reduced.size(), plain.size());
    int differ = 0;
    for (size_t i = 0; i < plain.size(); ++i)
      if (reduced[i] != plain[i] && differ++ < 5)
        ADD_FAILURE() << "pixel " << i % W << "," << i / W << " reduced " << reduced[i] << " plain " << plain[i];
    EXPECT_EQ(differ, 0);
    drawn = int(std::count(plain.begin(), plain.end(), clBlue));
    if (Reduced) *Reduced = r;
    if (Plain) *Plain = p;
  }

  void Fill(const std::vector<double>& X, const std::vector<double>& Y, const std::vector<bool>& Nulls = {}) {
    line->Clear();
    line->BeginUpdate();
    for (size_t i = 0; i < X.size(); ++i) line->AddXY(X[i], Y[i], "", i < Nulls.size() && Nulls[i] ? clNone : clLumColor);
    line->EndUpdate();
  }

  TFastLineSeries* line = nullptr;
  int drawn = 0;  // line pixels of the last picture
};

TEST_F(FastLineTest, DenseLinesGiveThePixelsOfEverySegment) {
  std::mt19937 rng(11);
  std::normal_distribution<double> step(0, 0.4);
  std::uniform_real_distribution<double> unit(0, 1);
  const int n = 20000;
  std::vector<double> x(n), walk(n), saw(n), spikes(n), wild(n);
  double y = 5;
  for (int i = 0; i < n; ++i) {
    x[i] = -1 + 12.0 * i / n;  // beyond both ends of the 0..10 axis
    y += step(rng);
    walk[i] = y;
    saw[i] = (i % 37) * 0.3;
    spikes[i] = i % 97 == 0 ? 1e9 : i % 89 == 0 ? -1e12 : 5 + 0.01 * (i % 3);
    wild[i] = unit(rng) < 0.02 ? std::nan("") : unit(rng) * 14 - 2;
  }
  std::vector<bool> nulls(n);
  for (int i = 0; i < n; ++i) nulls[i] = unit(rng) < 0.01 || (i / 500) % 7 == 3;

  struct Case {
    const char* Name;
    const std::vector<double>* Y;
    bool Nulls;
  };
  for (Case c : {Case{"random walk", &walk, false}, Case{"saw teeth", &saw, false}, Case{"spikes", &spikes, false},
                 Case{"outside the range", &wild, false}, Case{"random walk with nulls", &walk, true},
                 Case{"saw teeth with nulls", &saw, true}}) {
    for (TTreatNullsStyle treat : {tnDontPaint, tnSkip, tnIgnore}) {
      if (!c.Nulls && treat != tnDontPaint) continue;
      SCOPED_TRACE(testing::Message() << c.Name << ", nulls treated " << treat);
      line->SetTreatNulls(treat);
      Fill(x, *c.Y, c.Nulls ? nulls : std::vector<bool>{});
      long reduced = 0, plain = 0;
      ExpectSamePicture(&reduced, &plain);
      EXPECT_LT(reduced * 10, plain);  // the reduction did take place
      EXPECT_GT(drawn, 150);
    }
  }
}

TEST_F(FastLineTest, ColumnsFoundBySearchGiveThePixelsOfEverySegment) {
  // Ascending X without nulls: a column's points are found by searching X and only
  // their Y values are scanned. Columns of equal X, reversed axes, Y values far off
  // or NaN from the middle on, and X values whose order was broken by setting them
  // must all still give the plain picture.
  std::mt19937 rng(5);
  std::normal_distribution<double> step(0, 0.5);
  const int n = 30000;
  std::vector<double> x(n), steps(n), walk(n), far(n), lateNaN(n);
  double y = 5;
  for (int i = 0; i < n; ++i) {
    x[i] = -0.5 + 11.0 * i / n;
    steps[i] = -0.5 + 11.0 * (i / 97) * 97 / n;  // runs of equal X
    y += step(rng);
    walk[i] = y;
    far[i] = i % 211 == 0 ? -1e300 : i % 173 == 0 ? 1e14 : 5 + 4 * std::sin(i * 0.01);
    lateNaN[i] = i > n / 2 && i % 301 == 0 ? std::nan("") : walk[i];
  }
  struct Case {
    const char* Name;
    const std::vector<double>* X;
    const std::vector<double>* Y;
  };
  for (Case c : {Case{"random walk", &x, &walk}, Case{"equal X runs", &steps, &walk}, Case{"far off", &x, &far},
                 Case{"NaN from the middle", &x, &lateNaN}})
    for (int flip = 0; flip < 4; ++flip) {
      SCOPED_TRACE(testing::Message() << c.Name << ", flip " << flip);
      chart->BottomAxis()->SetInverted(flip & 1);
      chart->LeftAxis()->SetInverted(flip & 2);
      Fill(*c.X, *c.Y);
      long reduced = 0, plain = 0;
      ExpectSamePicture(&reduced, &plain);
      EXPECT_LT(reduced * 10, plain);
    }
  chart->BottomAxis()->SetInverted(false);
  chart->LeftAxis()->SetInverted(false);

  Fill(x, walk);
  for (int i = 1000; i < n; i += 4001) line->XValues()->SetValue(i, 12 - x[i]);  // out of order
  line->XValues()->SetValue(n / 3, std::nan(""));
  ExpectSamePicture();
}

TEST_F(FastLineTest, ShortColumnRunsAtTheEndsOfLines) {
  // Few points per column, every pattern of entry, extremes and exit, with lines
  // ending in a column (at the last point or at a null) where the last pixel depends
  // on the path.
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> level(0, 6), runLength(1, 5), columns(1, 3), coin(0, 3);
  for (int round = 0; round < 150; ++round) {
    std::vector<double> x, y;
    std::vector<bool> nulls;
    const int cols = columns(rng);
    for (int c = 0; c < cols; ++c) {
      const int len = runLength(rng);
      for (int k = 0; k < len; ++k) {
        x.push_back(2 + c * 0.5 + k * 0.001);  // 0.02 pixel apart: one column
        y.push_back(1 + level(rng) * 0.35);    // 7 pixels apart
        nulls.push_back(coin(rng) == 0 && k > 0);
      }
    }
    SCOPED_TRACE(testing::Message() << "round " << round);
    for (TTreatNullsStyle treat : {tnDontPaint, tnSkip}) {
      line->SetTreatNulls(treat);
      Fill(x, y, nulls);
      ExpectSamePicture();
    }
  }
}

TEST_F(FastLineTest, PensAndCanvasesThatWouldChangeThePixelsTakeEveryPoint) {
  std::vector<double> x, y;
  for (int i = 0; i < 3000; ++i) {
    x.push_back(i / 300.0);
    y.push_back(5 + 4 * std::sin(i * 0.7));
  }
  Fill(x, y);
  long points = 0;
  Draw(true, &points);
  EXPECT_LT(points, 3000 / 3);

  auto plainPath = [&] {
    long p = 0;
    Draw(true, &p);
    return p;
  };
  line->LinePen()->SetWidth(2);
  EXPECT_EQ(plainPath(), 3000 - 1);  // every point but the first, which is a MoveTo
  line->LinePen()->SetWidth(1);
  line->LinePen()->SetStyle(psDot);
  EXPECT_EQ(plainPath(), 3000 - 1);
  line->LinePen()->SetStyle(psSolid);
  line->LinePen()->SetMode(pmXor);
  EXPECT_EQ(plainPath(), 3000 - 1);
  line->LinePen()->SetMode(pmCopy);
  // In 3D the projected line is reduced on the screen, in every view (a turned view
  // spreads a column's points over several screen columns).
  chart->SetView3D(true);
  EXPECT_LT(plainPath(), 3000 / 3);
  chart->View3DOptions()->SetOrthogonal(false);
  EXPECT_LT(plainPath(), 3000 - 1);
}

TEST_F(FastLineTest, ReducedLinesIn3DGiveThePixelsOfEverySegment) {
  // The default orthogonal view (columns searched through the projection), zoomed
  // and shifted, a steep angle, and the free view with perspective (each point
  // projected, then reduced), with the 3D clip of the series' slot on: random
  // walks, far values, nulls and reversed axes.
  chart->SetView3D(true);
  chart->SetChart3DPercent(40);
  std::mt19937 rng(17);
  std::normal_distribution<double> step(0, 0.3);
  const int n = 40000;
  std::vector<double> x(n), walk(n), far(n);
  std::vector<bool> nulls(n);
  double y = 5;
  for (int i = 0; i < n; ++i) {
    x[i] = -2 + 14.0 * i / n;  // past both ends: the parts past the axes show on the slot's sides
    y += step(rng);
    walk[i] = y;
    far[i] = i % 331 == 0 ? 1e12 : i % 257 == 0 ? -3e9 : 5 + 6 * std::sin(i * 0.003);
    nulls[i] = (i / 700) % 9 == 4;
  }
  struct TView {
    const char* Name;
    bool Orthogonal;
    int Angle, Zoom, Offset, Perspective;
  };
  for (TView v : {TView{"orthogonal", true, 45, 100, 0, 15}, TView{"orthogonal zoomed", true, 30, 137, 9, 15},
                  TView{"orthogonal backwards", true, 135, 80, -7, 15}, TView{"free", false, 45, 100, 0, 15},
                  TView{"free, strong perspective", false, 45, 90, 4, 70}})
    for (int flip = 0; flip < 4; ++flip)
      for (bool withNulls : {false, true}) {
        SCOPED_TRACE(testing::Message() << v.Name << ", flip " << flip << ", nulls " << withNulls);
        TView3DOptions* o = chart->View3DOptions();
        o->SetOrthogonal(v.Orthogonal);
        o->SetOrthoAngle(v.Angle);
        o->SetZoom(v.Zoom);
        o->SetHorizOffset(v.Offset);
        o->SetVertOffset(-v.Offset);
        o->SetPerspective(v.Perspective);
        chart->BottomAxis()->SetInverted(flip & 1);
        chart->LeftAxis()->SetInverted(flip & 2);
        Fill(x, flip < 2 ? walk : far, withNulls ? nulls : std::vector<bool>{});
        long reduced = 0, plain = 0;
        ExpectSamePicture(&reduced, &plain);
        EXPECT_LT(reduced * (v.Orthogonal ? 10 : 2), plain);
        EXPECT_GT(drawn, 150);
      }
}

TEST_F(FastLineTest, TenMillionPointsFarOutsideTheAxesRender) {
  // 160 MB of values; drawing them must need no more than a few small buffers, and
  // values far outside both axes must neither wrap pixels nor cost their distance.
  constexpr int n = 10000000;
  line->BeginUpdate();
  for (int i = 0; i < n; ++i) {
    const double y = i % 1000 == 0 ? (i % 2000 ? 1e15 : -1e300) : 5 + 3 * std::sin(i * 1e-5);
    line->AddXY(-20 + 40.0 * i / n, y, "", i % 100003 == 0 ? clNone : clLumColor);
  }
  line->EndUpdate();
  auto picture = Render();
  EXPECT_GT(Count(picture.get(), clBlue), 200);
  // The spikes run from the top to the bottom of the plot, and no pixel lands outside it.
  EXPECT_EQ(Count(picture.get(), clBlue, Rect(0, 0, W, 10)), 0);
  EXPECT_EQ(Count(picture.get(), clBlue, Rect(0, H - 9, W, H)), 0);
}

}  // namespace
