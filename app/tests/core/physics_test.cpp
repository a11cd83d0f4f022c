// The chain models against their closed forms, the worked examples the program is
// known by, and the guards that keep NaN and infinity out of the charts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

#include "app/physics.h"

using namespace Chain;

namespace {

constexpr float a = 4.0f;
const int AllModes[] = {cmMonatomic, cmDiatomic, cmAlternating, cmCombined, cmNextNeighbour};

TChainInputs In(int m1, int m2, int c1, int c2, int pos, bool optic = false) { return {m1, m2, c1, c2, pos, optic}; }

bool TwoAtom(int mode) { return mode == cmDiatomic || mode == cmAlternating || mode == cmCombined; }

// Closed forms written out independently in double (or, for typed values near 2^31,
// where the branches nearly cancel, in extended): the curve's y at the curve's x.
template <class R = double>
R ClosedForm(int mode, const TChainInputs& in, R x, int s) {
  R M1 = in.M1, M2 = in.M2, C1 = in.C1, C2 = in.C2, A = a;
  switch (mode) {
    case cmMonatomic: return std::sqrt((1 - std::cos(A * x)) * 4 / (M1 + M2)) / R(1.7);
    case cmNextNeighbour:  // plotted at kk/2
      return R(0.1) * std::sqrt(2 * C1 * (1 - std::cos(A * x)) + 2 * C2 * (1 - std::cos(2 * A * x)));
    case cmDiatomic: {
      R inv = 1 / M1 + 1 / M2;
      return std::sqrt(inv + s * std::sqrt(inv * inv - 4 * std::pow(std::sin(A * x), 2) / (M1 * M2)));
    }
    case cmAlternating:
      return std::sqrt((C1 + C2) / 28 + s * std::sqrt(C1 * C1 + C2 * C2 + 2 * C1 * C2 * std::cos(A * x)) / 28);
    default: {
      R P = (M1 + M2) * (C1 + C2) / (2 * M1 * M2), Q = std::pow((C1 + C2) * (M1 + M2) / (M1 * M2), 2);
      R inner = Q - 16 * C1 * C2 * std::pow(std::sin(A * x / 2), 2) / (M1 * M2);
      return std::sqrt(P + R(0.5) * s * std::sqrt(std::max(inner, R(0)))) / R(2.2);
    }
  }
}

TStepInputs Step(const TChainInputs& in, int t, float k, float D = 1, bool imag = false) {
  TStepInputs p;
  p.In = in; p.t = t; p.k = k; p.D = D; p.Imaginary = imag;
  return p;
}

}  // namespace

// The last curve is kept per thread; a thread that has drawn nothing computes afresh.
TDispersionCurve Fresh(int mode, const TChainInputs& in, float A) {
  TDispersionCurve c;
  std::thread([&] { c = DispersionFor(mode, in, A); }).join();
  return c;
}

bool SamePoints(const std::vector<TXY>& u, const std::vector<TXY>& v) {
  return std::equal(u.begin(), u.end(), v.begin(), v.end(),
                    [](const TXY& p, const TXY& q) { return p.X == q.X && p.Y == q.Y; });
}

TEST(DispersionCurves, KeptCurveFollowsEveryInputThatShapesIt) {
  struct Case {
    int mode;
    TChainInputs in;
    float A;
  };
  // Each step changes one thing from the step before (or nothing, or only what the
  // curve does not depend on); clamped spin values that end up equal share a curve.
  const Case steps[] = {
      {cmCombined, In(8, 4, 6, 4, 500), a},  {cmCombined, In(8, 4, 6, 4, 500), a},
      {cmCombined, In(9, 4, 6, 4, 500), a},  {cmCombined, In(9, 5, 6, 4, 500), a},
      {cmCombined, In(9, 5, 7, 4, 500), a},  {cmCombined, In(9, 5, 7, 3, 500), a},
      {cmCombined, In(9, 5, 7, 3, 250, true), a}, {cmCombined, In(9, 5, 7, 3, 250, true), 4.5f},
      {cmAlternating, In(9, 5, 7, 3, 250, true), 4.5f}, {cmDiatomic, In(9, 5, 7, 3, 250), 4.5f},
      {cmMonatomic, In(9, 5, 7, 3, 250), 4.5f}, {cmNextNeighbour, In(9, 5, 7, 3, 250), 4.5f},
      {cmNextNeighbour, In(0, -3, 0, 3, 250), 4.5f}, {cmNextNeighbour, In(1, 1, 1, 3, 250), 4.5f},
      {cmCombined, In(8, 4, 6, 4, 500), a}};
  for (const Case& k : steps) {
    SCOPED_TRACE(testing::Message() << "mode " << k.mode << " M1 " << k.in.M1 << " M2 " << k.in.M2 << " C1 "
                                    << k.in.C1 << " C2 " << k.in.C2 << " a " << k.A);
    const TDispersionCurve got = DispersionFor(k.mode, k.in, k.A), want = Fresh(k.mode, k.in, k.A);
    EXPECT_TRUE(SamePoints(got.Upper, want.Upper));
    EXPECT_TRUE(SamePoints(got.Lower, want.Lower));
    EXPECT_TRUE(SamePoints({got.Selected, got.Mirror}, {want.Selected, want.Mirror}));
    EXPECT_EQ(got.Omega, want.Omega);
    EXPECT_EQ(got.Title, want.Title);
  }
}

TEST(DispersionCurves, AgreeWithClosedFormAndOpticLiesAbove) {
  for (int mode : AllModes)
    for (const TChainInputs& in : {In(8, 4, 6, 4, 500), In(20, 3, 1, 20, 1), In(12, 7, 9, 9, 333, true)}) {
      SCOPED_TRACE(testing::Message() << "mode " << mode << " M1 " << in.M1);
      TDispersionCurve c = DispersionFor(mode, in, a);
      ASSERT_EQ(c.Upper.size(), size_t(CurvePoints));
      ASSERT_EQ(c.Lower.size(), TwoAtom(mode) ? size_t(CurvePoints) : 0u);
      for (size_t i = 0; i < c.Upper.size(); ++i) {
        ASSERT_TRUE(i == 0 || c.Upper[i].X > c.Upper[i - 1].X);
        ASSERT_NEAR(c.Upper[i].Y, ClosedForm(mode, in, c.Upper[i].X, 1), 1e-6) << i;
        if (!TwoAtom(mode)) continue;
        ASSERT_NEAR(c.Lower[i].Y, ClosedForm(mode, in, c.Lower[i].X, -1), 1e-6) << i;
        ASSERT_GE(c.Upper[i].Y, c.Lower[i].Y) << i;
      }
      // The selected point lies on its branch; its mirror is symmetric about the middle.
      EXPECT_NEAR(c.Selected.Y, ClosedForm(mode, in, c.Selected.X, TwoAtom(mode) ? in.BranchSign() : 1), 1e-6);
      EXPECT_EQ(c.Mirror.Y, c.Selected.Y);
      EXPECT_NEAR(c.Omega, c.Selected.Y * (mode == cmMonatomic ? 1.7 : 1), 1e-12);
      EXPECT_NEAR(c.Selected.X + c.Mirror.X, mode == cmDiatomic ? 3.141596 / a : 6.283192 / a, 1e-6);
    }
}

TEST(DispersionCurves, WorkedExamples) {
  // The constants as written, not 2 pi and pi: 6.283192 / a and 3.141596 / a.
  TDispersionCurve m = DispersionFor(cmMonatomic, In(8, 4, 6, 4, 1000), a);
  EXPECT_EQ(m.ZoneK, float(6.283192L / 4));
  EXPECT_EQ(m.DeltaK, float(3.141596L / 4000));
  EXPECT_EQ(m.Title, "1 Pi/A");
  EXPECT_EQ(m.Wavelength, "The wavelength is  2 A" + std::string(18, ' '));
  EXPECT_NEAR(m.Selected.X, 0.785399, 1e-6);  // point and mirror meet at the right end
  EXPECT_NEAR(m.Mirror.X, 0.785399, 1e-6);
  EXPECT_EQ(m.BottomMin, 0.01);
  EXPECT_NEAR(m.BottomMax, 0.785399, 1e-12);
  EXPECT_EQ(m.BottomTitle, "0" + std::string(30, ' ') + "k" + std::string(25, ' ') + "Pi/A");
  EXPECT_FALSE(m.DottedLine);

  TDispersionCurve d = DispersionFor(cmDiatomic, In(8, 4, 6, 4, 500), a);
  EXPECT_EQ(d.Title, "0.5 pi/a");
  EXPECT_EQ(d.Wavelength, "The wavelength is  4 a" + std::string(18, ' '));
  EXPECT_NEAR(d.Selected.X, 0.19635, 1e-5);
  EXPECT_TRUE(d.DottedLine);
  EXPECT_EQ(d.BottomTitle.substr(57), "2Pi/a");
  // Equal masses double the title's k, not the point.
  TDispersionCurve e = DispersionFor(cmDiatomic, In(6, 6, 6, 4, 500), a);
  EXPECT_EQ(e.Title, "1 pi/a");
  EXPECT_EQ(e.Wavelength.substr(0, 22), "The wavelength is  2 a");
  EXPECT_EQ(e.Selected.X, d.Selected.X);
  // "0.##" and "0.#" round; at position 125 r is exactly 1/8, a tie that rounds up.
  EXPECT_EQ(DispersionFor(cmDiatomic, In(8, 4, 6, 4, 125), a).Title, "0.13 pi/a");
  EXPECT_EQ(DispersionFor(cmMonatomic, In(8, 4, 6, 4, 125), a).Title, "0.13 Pi/A");
  EXPECT_EQ(DispersionFor(cmAlternating, In(8, 4, 7, 7, 125), a).Title, "0.25 pi/a");  // C1 = C2 doubles it
  EXPECT_EQ(DispersionFor(cmNextNeighbour, In(8, 4, 6, 4, 333), a).Title, "0.33 Pi/A");
  TDispersionCurve c = DispersionFor(cmCombined, In(8, 4, 5, 5, 300), a);
  EXPECT_EQ(c.Title, "0.6 pi/a");
  EXPECT_EQ(c.Wavelength.substr(0, 24), "The wavelength is  3.3 a");
  EXPECT_NEAR(DispersionFor(cmAlternating, In(8, 4, 7, 4, 1), a).BottomMax, 1.570798, 1e-12);
}

// Axis setters reject a minimum above the current maximum and a maximum below the
// current minimum; the drawers' order never trips them, from the design ranges or
// after any model.
TEST(DispersionCurves, AxisOrderNeverCrossesAcrossModelChanges) {
  for (int first : AllModes)
    for (int second : AllModes) {
      double left[2] = {45, 435}, bottom[2] = {0, 24};
      for (int mode : {first, second}) {
        TDispersionCurve c = DispersionFor(mode, In(8, 4, 6, 4, 250), a);
        for (auto [axis, mn, mx] : {std::tuple{left, c.LeftMin, c.LeftMax}, {bottom, c.BottomMin, c.BottomMax}}) {
          ASSERT_LE(mn, axis[1]);
          axis[0] = mn;
          ASSERT_GE(mx, axis[0]);
          axis[1] = mx;
        }
      }
    }
}

TEST(ChainGuards, OddParametersStayFiniteAndOnTheChart) {
  EXPECT_EQ(ChainParam(0), 1);
  EXPECT_EQ(ChainParam(-7), 1);
  EXPECT_EQ(ChainParam(150), 150);
  EXPECT_EQ(ChainParam(2147483647), 2147483647);
  EXPECT_EQ(MarkerSize(2LL * 2147483647), MaxMarkerSize);
  EXPECT_EQ(MarkerSize(300), 300);
  auto ok = [](const std::vector<TChainPoint>& v) {
    for (auto& p : v) if (!std::isfinite(p.X) || !(std::fabs(p.Y) <= DisplayLimit)) return false;
    return true;
  };
  for (int mode : AllModes)
    for (int m : {0, -3, 2, 2147483647})
      for (int c : {0, -3, 1, 100000})
        for (bool optic : {false, true}) {
          TChainInputs in = In(m, c, c, m, 1000, optic);
          TDispersionCurve cv = DispersionFor(mode, in, a);
          for (auto* list : {&cv.Upper, &cv.Lower})
            for (auto& p : *list) ASSERT_TRUE(std::isfinite(p.Y));
          float k = StepK(mode, cv.ZoneK, in.KPosition);
          TTwoAtomState st = TwoAtomState(mode, in, k, a);
          // D = 20 at t = 2: the imaginary wave's last point is amplified by e^20.
          TStepPoints s = TwoAtom(mode) ? TwoAtomTransverse(mode, st, Step(in, 2, k, 20, true))
                                        : OneAtomTransverse(mode, Step(in, 2, k, 20, true));
          for (auto* list : {&s.Atoms, &s.Wave1, &s.Wave2, &s.Imag1, &s.Imag2}) ASSERT_TRUE(ok(*list));
          ASSERT_TRUE(!TwoAtom(mode) || ok(TwoAtomLongitudinal(mode, st, Step(in, 0, k)).Atoms));
        }
  // A combined run checks the masses only at its start: with M1 below M2 the optic
  // denominator (C1 + C2) - M1 Omega^2 passes through zero, and the amplitude is held.
  bool held = false;
  for (int m1 = 1; m1 <= 20; ++m1)
    for (int pos = 1; pos <= 1000; ++pos) {
      float A1 = TwoAtomState(cmCombined, In(m1, 20, 3, 17, pos, true), StepK(cmCombined, 0.785399f, pos), a).A1;
      ASSERT_LE(std::fabs(A1), AmplitudeLimit);
      held |= std::fabs(A1) == AmplitudeLimit;
    }
  EXPECT_TRUE(held);
}

// The edits' ranges are not applied on reading: typed values above them, up to the
// largest 32-bit value, go into the formulas as they are, with no product overflowing.
TEST(ChainGuards, TypedValuesAboveTheRangeAreUsedAsTyped) {
  using L = long double;
  const int big = 2147483647;
  const TChainInputs inputs[] = {In(150, 120, 150, 37, 700), In(big, big - 1, big, big - 2, 640, true),
                                 In(big, 3, 5, big, 250), In(big - 1, big - 1, big, big, 900, true)};
  for (int mode : AllModes)
    for (const TChainInputs& in : inputs) {
      SCOPED_TRACE(testing::Message() << "mode " << mode << " M1 " << in.M1 << " C1 " << in.C1);
      TDispersionCurve c = DispersionFor(mode, in, a);
      for (auto* list : {&c.Upper, &c.Lower})
        for (size_t i = 0; i < list->size(); i += 37) {
          // Points above the display limit are drawn at it, off the chart either way.
          const double want = std::min(
              double(ClosedForm<long double>(mode, in, (*list)[i].X, list == &c.Upper ? 1 : -1)), DisplayLimit);
          ASSERT_TRUE(std::isfinite((*list)[i].Y));
          ASSERT_NEAR((*list)[i].Y, want, 1e-9 * std::max(1.0, want)) << i;
        }
      if (!TwoAtom(mode)) continue;
      // The step's frequency, from the same formulas in extended precision.
      const float k = StepK(mode, 0.785399f, in.KPosition);
      const TTwoAtomState st = TwoAtomState(mode, in, k, a);
      const L M1 = in.M1, M2 = in.M2, C1 = in.C1, C2 = in.C2, s = in.BranchSign();
      const L sin2 = std::pow(std::sin(L(k) * a / 2), 2);
      L w2;
      if (mode == cmDiatomic)
        w2 = (1 / M1 + 1 / M2) + s * std::sqrt(std::pow(1 / M1 + 1 / M2, 2) - 4 * sin2 / (M1 * M2));
      else if (mode == cmAlternating)
        w2 = (C1 + C2) + s * std::sqrt((C1 + C2) * (C1 + C2) - 4 * C1 * C2 * sin2);
      else
        w2 = (M1 + M2) * (C1 + C2) / (2 * M1 * M2) +
             0.5L * s * std::sqrt(std::pow((C1 + C2) * (M1 + M2) / (M1 * M2), 2) - 16 * C1 * C2 * sin2 / (M1 * M2));
      EXPECT_NEAR(st.Omega, double(std::sqrt(std::max(w2, L(0)))), 1e-9 * std::max(1.0, st.Omega));
    }
  // 150 is not read as 100: the curve follows the typed mass.
  EXPECT_NE(DispersionFor(cmDiatomic, In(150, 4, 6, 4, 500), a).Upper[400].Y,
            DispersionFor(cmDiatomic, In(100, 4, 6, 4, 500), a).Upper[400].Y);
  EXPECT_NEAR(DispersionFor(cmMonatomic, In(150, 50, 6, 4, 500), a).Selected.Y,
              std::sqrt((1 - std::cos(double(a) * 0.785399 / 2)) * 4 / 200) / 1.7, 1e-6);
}

// Counts are checked on the charts; here where the points lie.
TEST(ChainSteps, PointPositions) {
  TChainInputs in = In(8, 4, 6, 4, 400);
  TStepPoints m = OneAtomTransverse(cmMonatomic, Step(in, 2, 0.3f, 1, true));
  EXPECT_EQ(m.Atoms.front().X, 1);
  EXPECT_EQ(m.Atoms.back().X, 12);
  EXPECT_DOUBLE_EQ(m.Imag1.back().X, 13.1);
  TStepPoints t = TwoAtomTransverse(cmCombined, TwoAtomState(cmCombined, in, 0.3f, a), Step(in, 2, 0.3f));
  EXPECT_EQ(t.Atoms.front().X, 0);
  EXPECT_DOUBLE_EQ(t.Wave2.back().X, 12.0);
  // Longitudinal: about the sites by at most a quarter site, all at height k a / 1000.
  TStepPoints l = OneAtomLongitudinal(cmMonatomic, Step(in, 2, 0.3f));
  for (int n = 1; n <= 10; ++n) EXPECT_NEAR(l.Atoms[size_t(n)].X, n, 0.25 + 1e-6);
  EXPECT_NEAR(l.Atoms[5].Y, 0.3f * 4.0 / 1000, 1e-9);
  EXPECT_EQ(l.Atoms[11].X, 11);
}

TEST(ChainSteps, FrequenciesAndZoneEdge) {
  float edge = StepK(cmMonatomic, 1.570798f, 1000);
  TChainInputs nn = In(8, 4, 1, 20, 1000);
  EXPECT_NEAR(OneAtomOmega(cmMonatomic, nn, edge, a), std::sqrt(2.0), 1e-6);
  EXPECT_NEAR(OneAtomOmega(cmMonatomic, nn, StepK(cmMonatomic, 1.570798f, 1), a), 0.00222, 1e-5);
  EXPECT_NEAR(OneAtomOmega(cmNextNeighbour, nn, edge, a), 2.0, 1e-4);
  EXPECT_NEAR(OneAtomOmega(cmNextNeighbour, nn, edge / 2, a), std::sqrt(82.0), 1e-4);
  // Monatomic zone edge: neighbouring atoms in opposite phase.
  TStepPoints m = OneAtomTransverse(cmMonatomic, Step(nn, 37, edge));
  for (size_t n = 0; n + 1 < 12; ++n) EXPECT_NEAR(m.Atoms[n].Y, -m.Atoms[n + 1].Y, 1e-4);
  // Diatomic acoustic zone edge: the light (even, red) atoms rest, the heavy ones move.
  TChainInputs in = In(8, 4, 6, 4, 1000);
  float k = StepK(cmDiatomic, 0.785399f, 1000);
  TTwoAtomState st = TwoAtomState(cmDiatomic, in, k, a);
  EXPECT_FLOAT_EQ(st.A1, 0.4f);
  TStepPoints d = TwoAtomTransverse(cmDiatomic, st, Step(in, 157, k));  // t Omega / 50 near pi/2
  for (size_t i = 0; i < 12; i += 2) EXPECT_NEAR(d.Atoms[i].Y, 0, 1e-5);
  EXPECT_GT(std::fabs(d.Atoms[1].Y), 0.1);
  EXPECT_EQ(d.Atoms[1].Color, clGreen);
  // Optic at small k: Omega^2 near 0.75 and the sublattices move oppositely.
  for (int mode : {cmDiatomic, cmCombined}) {
    TTwoAtomState o = TwoAtomState(mode, In(8, 4, 6, 4, 20, true), StepK(mode, 0.785399f, 20), a);
    EXPECT_LT(o.A1 * o.A2, 0);
    EXPECT_NEAR(o.Omega * o.Omega, 0.75, mode == cmDiatomic ? 0.01 : 10);
  }
  // Alternating, start values, Acoustic (s = -1): even atoms +A cos, odd ones A cos(psi + ...).
  TChainInputs alt = In(8, 4, 7, 4, 500);
  TTwoAtomState as = TwoAtomState(cmAlternating, alt, 0.4f, a);
  TStepPoints t = TwoAtomTransverse(cmAlternating, as, Step(alt, 5, 0.4f));
  double ph = double(0.4f) * a / 2, time = 5 * as.Omega / 50;
  EXPECT_NEAR(t.Atoms[2].Y, 0.2 * std::cos(2 * ph - time), 1e-6);
  EXPECT_NEAR(t.Atoms[3].Y, 0.2 * std::cos(double(as.Psi) + 3 * ph - time), 1e-6);
}

TEST(ChainSteps, DampingFadesAndIsAbsentAtOne) {
  TChainInputs in = In(8, 4, 6, 4, 300);
  auto atom6 = [&](int t, float D) { return OneAtomTransverse(cmMonatomic, Step(in, t, 0.2f, D, true)).Atoms[5].Y; };
  EXPECT_EQ(atom6(40, 1), OneAtomTransverse(cmMonatomic, Step(in, 40, 0.2f)).Atoms[5].Y);
  for (int t : {50, 5000, 500000}) EXPECT_NEAR(atom6(t, 5), atom6(t, 1) * std::exp(-20.0 * 6 * 5 / t), 1e-6);
  EXPECT_EQ(OneAtomTransverse(cmMonatomic, Step(in, 2, 0.2f, 20)).Atoms[11].Y, 0.0);  // exp(-2400)
  // The imaginary wave is damped from the right end: factor 1 at j = 130.
  TStepPoints s = OneAtomTransverse(cmMonatomic, Step(in, 10, 0.2f, 3, true));
  TStepPoints u = OneAtomTransverse(cmMonatomic, Step(in, 10, 0.2f, 1, true));
  EXPECT_EQ(s.Imag1[129].Y, u.Imag1[129].Y);
  TTwoAtomState st = TwoAtomState(cmDiatomic, in, 0.2f, a);
  EXPECT_NEAR(TwoAtomTransverse(cmDiatomic, st, Step(in, 100, 0.2f, 4)).Wave1[60].Y,
              TwoAtomTransverse(cmDiatomic, st, Step(in, 100, 0.2f, 1)).Wave1[60].Y * std::exp(-2.0 * 61 * 4 / 100), 1e-6);
}

TEST(ChainSteps, ImaginaryWaveMeetsTheRealOneAtTheAtoms) {
  for (int pos : {100, 480, 1000}) {
    TChainInputs in = In(8, 4, 6, 4, pos, pos == 480);
    TStepPoints m = OneAtomTransverse(cmMonatomic, Step(in, 7, StepK(cmMonatomic, 1.570798f, pos), 1, true));
    for (size_t n = 1; n <= 12; ++n) {
      EXPECT_NEAR(m.Imag1[10 * n - 1].Y, m.Atoms[n - 1].Y, 1e-4) << n;
      EXPECT_NEAR(m.Wave1[10 * n - 1].Y, m.Atoms[n - 1].Y, 1e-5) << n;
    }
    float k = StepK(cmDiatomic, 0.785399f, pos);
    for (int mode : {cmDiatomic, cmCombined}) {
      TStepPoints t = TwoAtomTransverse(mode, TwoAtomState(mode, in, k, a), Step(in, 9, k, 1, true));
      for (size_t i = 0; i < 12; ++i) EXPECT_NEAR((i % 2 ? t.Imag1 : t.Imag2)[10 * i].Y, t.Atoms[i].Y, 1e-4) << i;
    }
  }
}

TEST(ChainRuns, MarkersSleepsAndTexts) {
  const TMarkerStyle start{4, clBlue};
  EXPECT_EQ(MarkerStyleFor({}, 3, 16, 8, start).Size, 4);  // no model yet: unchanged
  EXPECT_EQ(MarkerStyleFor({.Monatomic = true}, 5, 16, 8, start).Size, 10);
  TModeFlags di{.Diatomic = true, .NextNeighbour = true};  // a stale flag: the later test wins
  EXPECT_EQ(MarkerStyleFor(di, 4, 8, 16, start).Size, 8);
  EXPECT_EQ(MarkerStyleFor(di, 7, 8, 16, start).Color, clGreen);
  EXPECT_EQ(MarkerStyleFor({.Alternating = true}, 7, 10, 3, start).Size, 10);
  // Speed 1: the runs that subtract 1 sleep 0 ms.
  const int sleeps[][3] = {{cmMonatomic, 1, 0}, {cmNextNeighbour, 5, 1}, {cmDiatomic, 0, 0},
                           {cmAlternating, 9, 4}, {cmCombined, 0, 4}};
  for (auto& s : sleeps) {
    EXPECT_EQ(StepSleep(s[0], false, 1), s[1]) << s[0];
    EXPECT_EQ(StepSleep(s[0], true, 1), s[2]) << s[0];
  }
  EXPECT_EQ(StepSleep(cmAlternating, false, 3), 29);
  EXPECT_EQ(RunTexts(cmCombined).Line.size(), 53u + 32u);
}
