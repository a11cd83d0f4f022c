// The chain models against their closed forms, the worked examples the program is
// known by, and the guards that keep NaN and infinity out of the charts.
#include <gtest/gtest.h>

#include <cmath>

#include "app/physics.h"

using namespace Chain;

namespace {

constexpr float a = 4.0f;

TChainInputs Inputs(int m1, int m2, int c1, int c2, int pos, bool optic = false) {
  TChainInputs in;
  in.M1 = m1; in.M2 = m2; in.C1 = c1; in.C2 = c2; in.KPosition = pos; in.Optic = optic;
  return in;
}

// Closed forms, written out independently in double: x is the curve's x, the
// result the curve's y for the given branch sign.
double ClosedForm(int mode, const TChainInputs& in, double x, int s) {
  double M1 = in.M1, M2 = in.M2, C1 = in.C1, C2 = in.C2;
  switch (mode) {
    case cmMonatomic: return std::sqrt((1 - std::cos(a * x)) * 4 / (M1 + M2)) / 1.7;
    case cmNextNeighbour:  // x = kk/2
      return 0.1 * std::sqrt(2 * C1 * (1 - std::cos(a * x)) + 2 * C2 * (1 - std::cos(2 * a * x)));
    case cmDiatomic: {
      double inv = 1 / M1 + 1 / M2;
      return std::sqrt(inv + s * std::sqrt(inv * inv - 4 * std::pow(std::sin(a * x), 2) / (M1 * M2)));
    }
    case cmAlternating:
      return std::sqrt((C1 + C2) / 28 + s * std::sqrt(C1 * C1 + C2 * C2 + 2 * C1 * C2 * std::cos(a * x)) / 28);
    default: {
      double P = (M1 + M2) * (C1 + C2) / (2 * M1 * M2);
      double Q = std::pow((C1 + C2) * (M1 + M2), 2) / std::pow(M1 * M2, 2);
      double in2 = Q - 16 * C1 * C2 * std::pow(std::sin(a * x / 2), 2) / (M1 * M2);
      return std::sqrt(P + 0.5 * s * std::sqrt(std::max(in2, 0.0))) / 2.2;
    }
  }
}

const int AllModes[] = {cmMonatomic, cmDiatomic, cmAlternating, cmCombined, cmNextNeighbour};

bool TwoAtom(int mode) { return mode == cmDiatomic || mode == cmAlternating || mode == cmCombined; }

TStepInputs Step(const TChainInputs& in, int t, float k, float D = 1, bool imag = false) {
  TStepInputs p;
  p.In = in; p.t = t; p.k = k; p.D = D; p.Imaginary = imag;
  return p;
}

}  // namespace

TEST(ChainConstants, AsWrittenNotExact) {
  EXPECT_EQ(TwoPi, 6.283192L);
  EXPECT_EQ(Pi, 3.141596L);
  TDispersionCurve mono = DispersionFor(cmMonatomic, Inputs(8, 4, 6, 4, 1000), a);
  EXPECT_EQ(mono.ZoneK, float(6.283192L / 4));
  EXPECT_EQ(mono.DeltaK, float(3.141596L / 4000));
  EXPECT_NEAR(mono.BottomMax, 0.785399, 1e-12);
  EXPECT_NEAR(DispersionFor(cmAlternating, Inputs(8, 4, 6, 4, 1), a).BottomMax, 1.570798, 1e-12);
  EXPECT_EQ(DispersionFor(cmDiatomic, Inputs(8, 4, 6, 4, 1), a).DeltaK, float(3.141596L / 8000));
  EXPECT_EQ(DispersionFor(cmCombined, Inputs(8, 4, 6, 4, 1), a).DeltaK, float(6.283192L / 8000));
}

TEST(DispersionCurves, AgreeWithClosedFormAndOpticLiesAbove) {
  const TChainInputs cases[] = {Inputs(8, 4, 6, 4, 500), Inputs(20, 3, 1, 20, 1),
                                Inputs(5, 5, 7, 4, 1000, true), Inputs(12, 7, 9, 9, 333, true)};
  for (int mode : AllModes) {
    for (const TChainInputs& in : cases) {
      SCOPED_TRACE(testing::Message() << "mode " << mode << " M1 " << in.M1 << " C1 " << in.C1);
      TDispersionCurve c = DispersionFor(mode, in, a);
      ASSERT_EQ(c.Upper.size(), size_t(CurvePoints));
      ASSERT_EQ(c.Lower.size(), TwoAtom(mode) ? size_t(CurvePoints) : 0u);
      for (size_t i = 0; i < c.Upper.size(); ++i) {
        double x = c.Upper[i].X;
        if (i) {
          ASSERT_GT(x, c.Upper[i - 1].X);
        }
        // The next-neighbour curve is plotted at kk/2 with cos(a kk/2) and cos(a kk).
        ASSERT_NEAR(c.Upper[i].Y, ClosedForm(mode, in, x, 1), 1e-6) << i;
        if (TwoAtom(mode)) {
          ASSERT_EQ(c.Lower[i].X, x);
          ASSERT_NEAR(c.Lower[i].Y, ClosedForm(mode, in, x, -1), 1e-6) << i;
          ASSERT_GE(c.Upper[i].Y, c.Lower[i].Y) << i;
        }
      }
      int s = TwoAtom(mode) ? in.BranchSign() : 1;
      double sx = c.Selected.X;
      // The selected point lies on its curve: the diatomic curve's argument at
      // x = kS/2 is a kS/2, the others' as their curve points.
      EXPECT_NEAR(c.Selected.Y, ClosedForm(mode, in, sx, s), 1e-6);
      EXPECT_EQ(c.Mirror.Y, c.Selected.Y);
      double middle = mode == cmDiatomic ? 3.141596 / (2 * a) : 3.141596 / a;
      EXPECT_NEAR((c.Selected.X + c.Mirror.X) / 2, middle, 1e-6);
    }
  }
}

TEST(DispersionCurves, WorkedExamples) {
  // Diatomic at 500, M1 = 8, M2 = 4.
  TDispersionCurve d = DispersionFor(cmDiatomic, Inputs(8, 4, 6, 4, 500), a);
  EXPECT_EQ(d.Title, "0.5 pi/a");
  EXPECT_EQ(d.Wavelength, "The wavelength is  4 a" + std::string(18, ' '));
  EXPECT_NEAR(d.Selected.X, 0.19635, 1e-5);
  EXPECT_NEAR(d.Mirror.X, 0.785399 - 0.19635, 1e-5);
  EXPECT_TRUE(d.DottedLine);
  EXPECT_EQ(d.BottomTitle, "0" + std::string(30, ' ') + "k" + std::string(25, ' ') + "2Pi/a");

  // Equal masses double the title's k, not the point.
  TDispersionCurve e = DispersionFor(cmDiatomic, Inputs(6, 6, 6, 4, 500), a);
  EXPECT_EQ(e.Title, "1 pi/a");
  EXPECT_EQ(e.Wavelength, "The wavelength is  2 a" + std::string(18, ' '));
  EXPECT_EQ(e.Selected.X, d.Selected.X);

  // Monatomic at 1000: the point and its mirror meet at the right end.
  TDispersionCurve m = DispersionFor(cmMonatomic, Inputs(8, 4, 6, 4, 1000), a);
  EXPECT_EQ(m.Title, "1 Pi/A");
  EXPECT_EQ(m.Wavelength, "The wavelength is  2 A" + std::string(18, ' '));
  EXPECT_NEAR(m.Selected.X, 0.785399, 1e-6);
  EXPECT_NEAR(m.Mirror.X, 0.785399, 1e-6);
  EXPECT_FALSE(m.DottedLine);
  EXPECT_EQ(m.BottomTitle, "0" + std::string(30, ' ') + "k" + std::string(25, ' ') + "Pi/A");

  // Formats: "0.##" rounds the title, "0.#" the wavelength.
  TDispersionCurve n = DispersionFor(cmNextNeighbour, Inputs(8, 4, 6, 4, 333), a);
  EXPECT_EQ(n.Title, "0.33 Pi/A");
  EXPECT_EQ(n.Wavelength, "The wavelength is  6 A" + std::string(18, ' '));
  TDispersionCurve c = DispersionFor(cmCombined, Inputs(8, 4, 5, 5, 300), a);
  EXPECT_EQ(c.Title, "0.6 pi/a");
  EXPECT_EQ(c.Wavelength, "The wavelength is  3.3 a" + std::string(18, ' '));
  EXPECT_EQ(DispersionFor(cmAlternating, Inputs(8, 4, 7, 4, 1), a).Title, "0 pi/a");
}

TEST(DispersionCurves, BranchOnlyMovesTheSelectedPoint) {
  TDispersionCurve ac = DispersionFor(cmCombined, Inputs(8, 4, 6, 4, 700, false), a);
  TDispersionCurve op = DispersionFor(cmCombined, Inputs(8, 4, 6, 4, 700, true), a);
  EXPECT_EQ(ac.Upper.back().Y, op.Upper.back().Y);
  EXPECT_EQ(ac.Lower[10].Y, op.Lower[10].Y);
  EXPECT_EQ(ac.Selected.X, op.Selected.X);
  EXPECT_LT(ac.Selected.Y, op.Selected.Y);
  EXPECT_EQ(op.Omega, op.Selected.Y);  // Omega keeps the selected point's frequency
}

// Axis setters reject a minimum above the current maximum and a maximum below
// the current minimum; the drawers' order must never trip either, from the
// design ranges or from any model drawn before.
TEST(DispersionCurves, AxisOrderNeverCrossesAcrossModelChanges) {
  struct Axis { double Min, Max; };
  auto apply = [](Axis& ax, double mn, double mx) {
    ASSERT_LE(mn, ax.Max);
    ax.Min = mn;
    ASSERT_GE(mx, ax.Min);
    ax.Max = mx;
  };
  for (int first : AllModes)
    for (int second : AllModes)
      for (int third : AllModes) {
        Axis left{45, 435}, bottom{0, 24};
        for (int mode : {first, second, third}) {
          TDispersionCurve c = DispersionFor(mode, Inputs(8, 4, 6, 4, 250), a);
          apply(left, c.LeftMin, c.LeftMax);
          apply(bottom, c.BottomMin, c.BottomMax);
        }
      }
}

TEST(ChainGuards, ZeroNegativeAndHugeParametersStayFinite) {
  EXPECT_EQ(ChainParam(0), 1);
  EXPECT_EQ(ChainParam(-7), 1);
  EXPECT_EQ(ChainParam(12), 12);
  EXPECT_EQ(ChainParam(5000000000LL), 100);
  const int odd[] = {0, -3, 1, 2, 100000, 2147483647};
  auto finite = [](const std::vector<TChainPoint>& v) {
    for (auto& p : v) if (!std::isfinite(p.X) || !std::isfinite(p.Y) || std::fabs(p.Y) > DisplayLimit) return false;
    return true;
  };
  for (int mode : AllModes)
    for (int m1 : odd)
      for (int m2 : odd)
        for (int c : odd)
          for (bool optic : {false, true}) {
            TChainInputs in = Inputs(m1, m2, c, m2, 1000, optic);
            TDispersionCurve cv = DispersionFor(mode, in, a);
            for (auto* list : {&cv.Upper, &cv.Lower})
              for (auto& p : *list) ASSERT_TRUE(std::isfinite(p.Y) && std::isfinite(p.X));
            ASSERT_TRUE(std::isfinite(cv.Selected.Y) && std::isfinite(cv.Omega));
            float k = StepK(mode, cv.ZoneK, in.KPosition);
            TStepPoints s;
            if (TwoAtom(mode)) {
              TTwoAtomState st = TwoAtomState(mode, in, k, a);
              ASSERT_TRUE(std::isfinite(st.Omega) && std::isfinite(st.A1) && std::isfinite(st.A2));
              s = TwoAtomTransverse(mode, st, Step(in, 2, k, 20, true));
              ASSERT_TRUE(finite(TwoAtomLongitudinal(mode, st, Step(in, 0, k)).Atoms));
            } else {
              s = OneAtomTransverse(mode, Step(in, 2, k, 20, true));
            }
            for (auto* list : {&s.Atoms, &s.Wave1, &s.Wave2, &s.Imag1, &s.Imag2}) ASSERT_TRUE(finite(*list));
          }
}

// A combined run checks the masses only at its start, so M1 may fall below M2
// during it; the optic denominator (C1 + C2) - M1 Omega^2 then passes through zero.
TEST(ChainGuards, AmplitudeThroughAZeroDenominatorIsHeld) {
  bool sawLimit = false;
  for (int m1 = 1; m1 <= 20; ++m1)
    for (int pos = 1; pos <= 1000; ++pos) {
      TChainInputs in = Inputs(m1, 20, 3, 17, pos, true);
      TTwoAtomState st = TwoAtomState(cmCombined, in, StepK(cmCombined, float(Pi / a), pos), a);
      ASSERT_TRUE(std::isfinite(st.A1));
      ASSERT_LE(std::fabs(st.A1), AmplitudeLimit);
      sawLimit |= std::fabs(st.A1) == AmplitudeLimit;
    }
  EXPECT_TRUE(sawLimit);
}

TEST(ChainSteps, PointCountsAndOrder) {
  TChainInputs in = Inputs(8, 4, 6, 4, 400);
  for (bool imag : {false, true}) {
    TStepPoints m = OneAtomTransverse(cmMonatomic, Step(in, 2, 0.3f, 1, imag));
    EXPECT_EQ(m.Atoms.size(), 12u);
    EXPECT_EQ(m.Wave1.size(), 131u);
    EXPECT_EQ(m.Imag1.size(), imag ? 131u : 0u);
    EXPECT_TRUE(m.Wave2.empty() && m.Imag2.empty());
    EXPECT_EQ(m.Atoms.front().X, 1);
    EXPECT_EQ(m.Atoms.back().X, 12);
    EXPECT_DOUBLE_EQ(m.Wave1.front().X, 0.1);
    EXPECT_DOUBLE_EQ(m.Wave1.back().X, 13.1);
    for (int mode : {cmDiatomic, cmAlternating, cmCombined}) {
      TTwoAtomState st = TwoAtomState(mode, in, 0.3f, a);
      TStepPoints t = TwoAtomTransverse(mode, st, Step(in, 2, 0.3f, 1, imag));
      EXPECT_EQ(t.Atoms.size(), 12u);
      EXPECT_EQ(t.Atoms.front().X, 0);
      EXPECT_EQ(t.Wave1.size(), 121u);
      EXPECT_EQ(t.Wave2.size(), 121u);
      EXPECT_EQ(t.Imag1.size(), imag ? 121u : 0u);
      EXPECT_EQ(t.Imag2.size(), imag ? 121u : 0u);
      EXPECT_DOUBLE_EQ(t.Wave1.back().X, 12.0);
      TStepPoints l = TwoAtomLongitudinal(mode, st, Step(in, 0, 0.3f));
      ASSERT_EQ(l.Atoms.size(), 10u);
      for (size_t i = 0; i < 10; ++i) EXPECT_NEAR(l.Atoms[i].X, double(i + 1), 1.0);
    }
  }
  // Longitudinal one-atom display: 12 atoms of which the two ends are null points.
  TStepPoints l = OneAtomLongitudinal(cmMonatomic, Step(in, 2, 0.3f));
  ASSERT_EQ(l.Atoms.size(), 12u);
  EXPECT_EQ(l.Atoms[0].Color, clNone);
  EXPECT_EQ(l.Atoms[11].Color, clNone);
  EXPECT_EQ(l.Atoms[0].X, 0);
  EXPECT_EQ(l.Atoms[11].X, 11);
  for (int n = 1; n <= 10; ++n) {
    EXPECT_EQ(l.Atoms[size_t(n)].Color, clRed);
    EXPECT_NEAR(l.Atoms[size_t(n)].X, n, 0.25 + 1e-6);  // 0.5 A: at most a quarter site
    EXPECT_NEAR(l.Atoms[size_t(n)].Y, 0.3f * 4.0 / 1000, 1e-9);
  }
}

TEST(ChainSteps, OneAtomFrequencies) {
  TChainInputs in = Inputs(8, 4, 1, 20, 1000);
  float edge = StepK(cmMonatomic, float(TwoPi / a), 1000);
  EXPECT_NEAR(edge * a, 3.141596, 1e-6);
  EXPECT_NEAR(OneAtomOmega(cmMonatomic, in, edge, a), std::sqrt(2.0), 1e-6);
  EXPECT_NEAR(OneAtomOmega(cmMonatomic, in, StepK(cmMonatomic, float(TwoPi / a), 1), a), 0.00222, 1e-5);
  EXPECT_NEAR(OneAtomOmega(cmNextNeighbour, in, edge, a), 2.0, 1e-4);
  EXPECT_NEAR(OneAtomOmega(cmNextNeighbour, in, edge / 2, a), std::sqrt(82.0), 1e-4);
  // The monatomic frequency depends on k only, never on the masses.
  EXPECT_EQ(OneAtomOmega(cmMonatomic, Inputs(1, 20, 1, 1, 1), 0.5f, a), OneAtomOmega(cmMonatomic, in, 0.5f, a));
}

TEST(ChainSteps, ZoneEdgeMotion) {
  // Monatomic: neighbouring atoms in opposite phase.
  float edge = StepK(cmMonatomic, float(TwoPi / a), 1000);
  TStepPoints m = OneAtomTransverse(cmMonatomic, Step(Inputs(8, 4, 6, 4, 1000), 37, edge));
  for (int n = 0; n + 1 < 12; ++n) EXPECT_NEAR(m.Atoms[size_t(n)].Y, -m.Atoms[size_t(n + 1)].Y, 1e-4);
  // Diatomic acoustic: the light atoms (even indices) rest, the heavy ones move.
  TChainInputs in = Inputs(8, 4, 6, 4, 1000);
  float k = StepK(cmDiatomic, float(Pi / a), 1000);
  TTwoAtomState st = TwoAtomState(cmDiatomic, in, k, a);
  EXPECT_NEAR(st.A2, 0, 1e-5);
  EXPECT_FLOAT_EQ(st.A1, 0.4f);
  TStepPoints d = TwoAtomTransverse(cmDiatomic, st, Step(in, 157, k));  // t Omega / 50 near pi/2
  double heavy = 0;
  for (int i = 0; i < 12; ++i) {
    if (i % 2 == 0) EXPECT_NEAR(d.Atoms[size_t(i)].Y, 0, 1e-5);
    else heavy = std::max(heavy, std::fabs(d.Atoms[size_t(i)].Y));
    EXPECT_EQ(d.Atoms[size_t(i)].Color, i % 2 ? clGreen : clRed);
  }
  EXPECT_GT(heavy, 0.1);
}

TEST(ChainSteps, OpticSublatticesMoveOppositely) {
  TChainInputs in = Inputs(8, 4, 6, 4, 20, true);
  float k = StepK(cmDiatomic, float(Pi / a), 20);
  TTwoAtomState st = TwoAtomState(cmDiatomic, in, k, a);
  EXPECT_NEAR(st.Omega * st.Omega, 0.75, 0.01);
  EXPECT_LT(st.A1, 0);
  EXPECT_GT(st.A2, 0);
  TStepPoints d = TwoAtomTransverse(cmDiatomic, st, Step(in, 2, k));
  for (int i = 0; i + 1 < 12; ++i)
    if (std::fabs(d.Atoms[size_t(i)].Y) > 1e-3) {
      EXPECT_LT(d.Atoms[size_t(i)].Y * d.Atoms[size_t(i + 1)].Y, 0) << i;
    }
  // Combined optic likewise.
  TTwoAtomState cs = TwoAtomState(cmCombined, Inputs(8, 4, 6, 4, 20, true), k, a);
  EXPECT_LT(cs.A1 * cs.A2, 0);
}

TEST(ChainSteps, AlternatingStartValues) {
  TChainInputs in = Inputs(8, 4, 7, 4, 500);  // acoustic: s = -1
  float k = StepK(cmAlternating, float(Pi / a), 500);
  TTwoAtomState st = TwoAtomState(cmAlternating, in, k, a);
  EXPECT_EQ(st.s, -1);
  EXPECT_FLOAT_EQ(st.A, 0.2f);
  double ka = double(k) * a;
  EXPECT_NEAR(double(st.Psi), std::atan(3 * std::tan(ka / 2) / 11), 1e-12);
  EXPECT_NEAR(st.Omega, std::sqrt(11 - std::sqrt(121 - 112 * std::pow(std::sin(ka / 2), 2))), 1e-9);
  TStepPoints t = TwoAtomTransverse(cmAlternating, st, Step(in, 5, k));
  double time = 5 * st.Omega / 50;
  EXPECT_NEAR(t.Atoms[2].Y, 0.2 * std::cos(2 * ka / 2 - time), 1e-6);
  EXPECT_NEAR(t.Atoms[3].Y, 0.2 * std::cos(double(st.Psi) + 3 * ka / 2 - time), 1e-6);
  EXPECT_EQ(t.Atoms[3].Color, clDefault);
  EXPECT_EQ(t.Wave2[7].Color, clBlue);
}

TEST(ChainSteps, DampingFadesAndIsAbsentAtOne) {
  TChainInputs in = Inputs(8, 4, 6, 4, 300);
  float k = 0.2f;
  auto atom = [&](int t, float D, int n) {
    TStepPoints s = OneAtomTransverse(cmMonatomic, Step(in, t, k, D));
    TStepPoints u = OneAtomTransverse(cmMonatomic, Step(in, t, k, 1));
    return std::make_pair(s.Atoms[size_t(n)].Y, u.Atoms[size_t(n)].Y);
  };
  auto [d1, u1] = atom(40, 1, 5);
  EXPECT_EQ(d1, u1);
  for (int t : {50, 5000, 500000}) {
    auto [d, u] = atom(t, 5, 5);
    EXPECT_NEAR(d, u * std::exp(-20.0 * 6 * 5 / t), 1e-6) << t;
    if (t == 500000) {
      EXPECT_NEAR(d, u, 1e-3);  // relaxed to the undamped wave
    }
  }
  EXPECT_EQ(atom(2, 20, 11).first, 0.0f);  // exp(-2400)
  // The imaginary wave is damped from the right end: factor 1 at j = 130.
  TStepPoints s = OneAtomTransverse(cmMonatomic, Step(in, 10, k, 3, true));
  TStepPoints u = OneAtomTransverse(cmMonatomic, Step(in, 10, k, 1, true));
  EXPECT_FLOAT_EQ(float(s.Imag1[129].Y), float(u.Imag1[129].Y));
  EXPECT_LT(std::fabs(s.Imag1[0].Y), std::fabs(u.Imag1[0].Y) + 1e-9);
  // Two-atom: factor exp(-2 (j + 1) D / t) on the waves.
  TTwoAtomState st = TwoAtomState(cmDiatomic, in, k, a);
  TStepPoints dw = TwoAtomTransverse(cmDiatomic, st, Step(in, 100, k, 4));
  TStepPoints uw = TwoAtomTransverse(cmDiatomic, st, Step(in, 100, k, 1));
  EXPECT_NEAR(dw.Wave1[60].Y, uw.Wave1[60].Y * std::exp(-2.0 * 61 * 4 / 100), 1e-6);
}

TEST(ChainSteps, ImaginaryWaveMeetsTheRealOneAtTheAtoms) {
  for (int pos : {100, 480, 1000}) {
    TChainInputs in = Inputs(8, 4, 6, 4, pos, pos == 480);
    float k1 = StepK(cmMonatomic, float(TwoPi / a), pos);
    TStepPoints m = OneAtomTransverse(cmMonatomic, Step(in, 7, k1, 1, true));
    for (int n = 1; n <= 12; ++n) {
      EXPECT_NEAR(m.Imag1[size_t(10 * n - 1)].Y, m.Atoms[size_t(n - 1)].Y, 1e-4) << n;
      EXPECT_NEAR(m.Wave1[size_t(10 * n - 1)].Y, m.Atoms[size_t(n - 1)].Y, 1e-5) << n;
    }
    float k2 = StepK(cmDiatomic, float(Pi / a), pos);
    for (int mode : {cmDiatomic, cmCombined}) {
      TTwoAtomState st = TwoAtomState(mode, in, k2, a);
      TStepPoints t = TwoAtomTransverse(mode, st, Step(in, 9, k2, 1, true));
      for (int i = 0; i < 12; ++i) {
        const auto& imag = i % 2 ? t.Imag1 : t.Imag2;
        EXPECT_NEAR(imag[size_t(10 * i)].Y, t.Atoms[size_t(i)].Y, 1e-4) << mode << " " << i;
      }
    }
  }
}

TEST(ChainMarkers, CallbackStyles) {
  TMarkerStyle start{4, clBlue};
  TModeFlags none;
  EXPECT_EQ(MarkerStyleFor(none, 3, 16, 8, start).Size, 4);
  TModeFlags mono;
  mono.Monatomic = true;
  EXPECT_EQ(MarkerStyleFor(mono, 5, 16, 8, start).Size, 10);
  EXPECT_EQ(MarkerStyleFor(mono, 5, 16, 8, start).Color, clRed);
  TModeFlags di;
  di.Diatomic = true;
  di.NextNeighbour = true;  // left over from an earlier run: the later test wins
  EXPECT_EQ(MarkerStyleFor(di, 4, 8, 16, start).Size, 8);
  EXPECT_EQ(MarkerStyleFor(di, 4, 8, 16, start).Color, clRed);
  EXPECT_EQ(MarkerStyleFor(di, 7, 8, 16, start).Size, 16);
  EXPECT_EQ(MarkerStyleFor(di, 7, 8, 16, start).Color, clGreen);
  TModeFlags alt;
  alt.Alternating = true;
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(MarkerStyleFor(alt, i, 10, 3, start).Size, 10);
    EXPECT_EQ(MarkerStyleFor(alt, i, 10, 3, start).Color, clRed);
  }
}

TEST(ChainRuns, SleepsAndTexts) {
  // Speed 1: the runs that subtract 1 sleep 0 ms; the monatomic transverse display 1 ms.
  EXPECT_EQ(StepSleep(cmMonatomic, false, 1), 1);
  EXPECT_EQ(StepSleep(cmMonatomic, true, 1), 0);
  EXPECT_EQ(StepSleep(cmNextNeighbour, false, 1), 5);
  EXPECT_EQ(StepSleep(cmNextNeighbour, true, 1), 1);
  EXPECT_EQ(StepSleep(cmDiatomic, false, 1), 0);
  EXPECT_EQ(StepSleep(cmDiatomic, true, 30), 29);
  EXPECT_EQ(StepSleep(cmAlternating, false, 3), 29);
  EXPECT_EQ(StepSleep(cmAlternating, true, 3), 14);
  EXPECT_EQ(StepSleep(cmCombined, false, 1), 0);
  EXPECT_EQ(StepSleep(cmCombined, true, 2), 9);
  EXPECT_EQ(RunTexts(cmMonatomic).Line.size(), 42u + 51u);
  EXPECT_EQ(RunTexts(cmDiatomic).Line, "The length a is the distance between EQUIVALENT atoms of same mass!" + std::string(34, ' '));
  EXPECT_EQ(std::string(RunTexts(cmCombined).Caption), "ALTERNATING FORCE CONSTANTS and MASSES  written by Jory Vantrel, Tresvane");
  EXPECT_EQ(RunTexts(cmCombined).Line.size(), 53u + 32u);
  EXPECT_EQ(RunTexts(cmNextNeighbour).Sites, 14);
  EXPECT_EQ(RunTexts(cmAlternating).Sites, 13);
}
