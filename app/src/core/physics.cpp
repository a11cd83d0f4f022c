#include "app/physics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "platform/rtl.h"

namespace Chain {

using ext = long double;

namespace {

// A negative radicand only comes from rounding where the branches meet (or from
// limits far outside the model); the root there is 0.
ext Root(ext v) { return v > 0 ? std::sqrt(v) : 0.0L; }

// Amplitude quotients: the denominator passes through zero only where a pair
// becomes equal or the masses are the wrong way round.
float Amplitude(ext num, ext den) {
  ext q = num / den;
  if (std::isnan(q)) return 0.0f;
  return float(std::clamp<ext>(q, -AmplitudeLimit, AmplitudeLimit));
}

// Last line of defence before a value reaches a chart: NaN is drawn at 0 and
// anything beyond DisplayLimit at the limit, already far outside the visible range
// (the imaginary wave's last point is amplified by exp(2 D / t) in the first steps).
double Finite(ext v) {
  if (std::isnan(v)) return 0.0;
  return double(std::clamp<ext>(v, -DisplayLimit, DisplayLimit));
}

// Masses and force constants as the formulas use them. A typed value is at most
// 2^31 - 1, so sums and two-factor products fit 64-bit integers; the larger
// products (a product of sums, squares of those, 4 C1 C2 and 16 C1 C2) are formed
// in extended precision, exact up to 2^64.
// A frequency: finite for any finite input; it sets the pace of the animation and
// is never limited to the display.
double Frequency(ext v) { return std::isfinite(v) ? double(v) : 0.0; }

struct Params {
  long long M1, M2, C1, C2;
  explicit Params(const TChainInputs& in)
      : M1(ChainParam(in.M1)), M2(ChainParam(in.M2)), C1(ChainParam(in.C1)), C2(ChainParam(in.C2)) {}
};

ext Sq(ext v) { return v * v; }

// The part of CurveOmega that depends on x: the whole frequency of the one-atom
// models, the root in front of which the two-atom branches differ only by sign.
ext CurveRoot(int mode, const Params& p, ext x, float a) {
  const ext C = 1.0L;  // the one-spring models
  switch (mode) {
    case cmMonatomic:
      return Root((1 - std::cos(a * x)) * 4 * C / ext(p.M1 + p.M2));
    case cmNextNeighbour:
      return 0.1L * Root(ext(2 * p.C1) * (1 - std::cos(a * x)) + ext(2 * p.C2) * (1 - std::cos(2 * a * x)));
    case cmDiatomic: {
      ext inv = 1.0L / p.M1 + 1.0L / p.M2;
      return Root(C * (Sq(inv) - 4 * Sq(std::sin(a * x)) / ext(p.M1 * p.M2)));
    }
    case cmAlternating:
      return Root(ext(p.C1 * p.C1 + p.C2 * p.C2) + 2 * ext(p.C1 * p.C2) * std::cos(a * x));
    default: {
      const ext mm = ext(p.M1 * p.M2);
      const ext cm = ext(p.C1 + p.C2) * ext(p.M1 + p.M2);
      ext Q = Sq(cm) / Sq(mm);
      return Root(Q - 16 * ext(p.C1 * p.C2) * Sq(std::sin(a * x / 2)) / mm);
    }
  }
}

// Branch s of the frequency from CurveRoot's answer R.
ext CurveBranch(int mode, const Params& p, ext R, int s) {
  const ext C = 1.0L;
  switch (mode) {
    case cmMonatomic:
    case cmNextNeighbour:
      return R;
    case cmDiatomic:
      return Root(C * (1.0L / p.M1 + 1.0L / p.M2) + s * R);
    case cmAlternating: {
      const ext M = 28.0L;
      return Root(ext(p.C1 + p.C2) / M + s * R / M);
    }
    default: {
      const ext mm = ext(p.M1 * p.M2);
      const ext cm = ext(p.C1 + p.C2) * ext(p.M1 + p.M2);
      ext P = cm / (2 * mm);
      return Root(P + 0.5L * s * R) / 2.2L;
    }
  }
}

// The frequency each drawer plots at the curve's x (for the next-neighbour curve
// x = kk/2, for the others x = kk; the selected point uses the same function of its
// x, so it lies on its branch). s picks the branch of the two-atom models.
ext CurveOmega(int mode, const Params& p, ext x, float a, int s) {
  return CurveBranch(mode, p, CurveRoot(mode, p, x, a), s);
}

}  // namespace

int ChainParam(long long typed) {
  return int(std::clamp<long long>(typed, MinChainParam, std::numeric_limits<std::int32_t>::max()));
}

int MarkerSize(long long pixels) { return int(std::clamp<long long>(pixels, 0, MaxMarkerSize)); }

// ---------------------------------------------------------------- dispersion curves

TDispersionCurve DispersionFor(int mode, const TChainInputs& in, float a) {
  const Params p(in);
  const bool twoAtom = mode == cmDiatomic || mode == cmAlternating || mode == cmCombined;
  const int s = twoAtom ? in.BranchSign() : 1;
  TDispersionCurve c;

  switch (mode) {
    case cmMonatomic:
    case cmNextNeighbour:
      c.ZoneK = float(TwoPi / a);
      c.DeltaK = float(Pi / (1000 * ext(a)));
      break;
    case cmDiatomic:
      c.ZoneK = float(Pi / a);
      c.DeltaK = float(Pi / (2000 * ext(a)));
      break;
    default:
      c.ZoneK = float(Pi / a);
      c.DeltaK = float(TwoPi / (2000 * ext(a)));
      break;
  }
  c.kS = float(in.KPosition * ext(c.ZoneK) / 1000);
  bool pairEqual = (mode == cmDiatomic && p.M1 == p.M2) ||
                   ((mode == cmAlternating || mode == cmCombined) && p.C1 == p.C2);
  float kT = pairEqual ? float(2 * ext(c.kS)) : c.kS;
  ext r = ext(kT) / c.ZoneK;

  c.Title = FormatFloat("0.##", r) + (twoAtom ? " pi/a" : " Pi/A");
  c.Wavelength = "The wavelength is  " + FormatFloat("0.#", 2 / r) + (twoAtom ? " a" : " A") +
                 std::string(18, ' ');

  // The monatomic curve is drawn at a 1.7th of its frequency.
  const double scale = mode == cmMonatomic ? 1.7 : 1.0;
  // The curve's points depend on the model, the masses, the springs and a only; the
  // window asks for the same curve after every paint, so the last one is kept.
  thread_local struct {
    int Mode = -1;
    long long M1 = 0, M2 = 0, C1 = 0, C2 = 0;
    std::uint32_t ABits = 0;
    std::vector<TXY> Upper, Lower;
  } last;
  std::uint32_t aBits;
  std::memcpy(&aBits, &a, sizeof aBits);
  if (last.Mode == mode && last.M1 == p.M1 && last.M2 == p.M2 && last.C1 == p.C1 && last.C2 == p.C2 &&
      last.ABits == aBits) {
    c.Upper = last.Upper;
    c.Lower = last.Lower;
  } else {
    c.Upper.reserve(CurvePoints);
    if (twoAtom) c.Lower.reserve(CurvePoints);
    for (int i = 1; i <= CurvePoints; ++i) {
      const ext kk = 2 * ext(c.DeltaK) * i;
      const ext x = mode == cmNextNeighbour ? kk / 2 : kk;
      // Both branches from one evaluation of the trigonometry.
      const ext root = CurveRoot(mode, p, x, a);
      c.Upper.push_back({double(x), Finite(Frequency(CurveBranch(mode, p, root, 1)) / scale)});
      if (twoAtom) c.Lower.push_back({double(x), Finite(Frequency(CurveBranch(mode, p, root, -1)))});
    }
    last.Mode = -1;  // stays invalid if a copy throws
    last.Upper = c.Upper;
    last.Lower = c.Lower;
    last.M1 = p.M1, last.M2 = p.M2, last.C1 = p.C1, last.C2 = p.C2, last.ABits = aBits;
    last.Mode = mode;
  }

  // The selected point and its mirror about the middle of the bottom axis.
  const ext kS = c.kS;
  const ext sx = mode == cmAlternating || mode == cmCombined ? kS : kS / 2;
  c.Omega = Frequency(CurveOmega(mode, p, sx, a, s));
  c.Selected = {double(sx), Finite(c.Omega / scale)};
  c.Mirror = {double((mode == cmDiatomic ? Pi : TwoPi) / a - sx), c.Selected.Y};

  if (!twoAtom) {
    c.LeftMin = 0; c.LeftMax = 0.75; c.BottomMin = 0.01; c.BottomMax = double(Pi / a);
  } else {
    c.LeftMin = 0; c.LeftMax = 1; c.BottomMin = 0;
    c.BottomMax = double((mode == cmDiatomic ? Pi : TwoPi) / a);
  }
  c.DottedLine = twoAtom;
  c.BottomTitle = "0" + std::string(30, ' ') + "k" + std::string(25, ' ') + (twoAtom ? "2Pi/a" : "Pi/A");
  return c;
}

// ---------------------------------------------------------------- animation steps

float StepK(int mode, float zoneK, int kPosition) {
  if (mode == cmMonatomic || mode == cmNextNeighbour) return float(0.5L * zoneK * kPosition / 1000);
  return float(ext(zoneK) * kPosition / 1000);
}

double OneAtomOmega(int mode, const TChainInputs& in, float k, float a) {
  if (mode == cmNextNeighbour) {
    Params p(in);
    return Frequency(Root(ext(2 * p.C1) * (1 - std::cos(ext(a) * k)) + ext(2 * p.C2) * (1 - std::cos(2 * ext(a) * k))));
  }
  return Frequency(Root(1 - std::cos(ext(a) * k)));
}

TTwoAtomState TwoAtomState(int mode, const TChainInputs& in, float k, float a) {
  const Params p(in);
  TTwoAtomState st;
  st.s = in.BranchSign();
  const ext ka = ext(k) * a;
  const ext sin2 = Sq(std::sin(ka / 2));
  ext omega2 = 0;
  switch (mode) {
    case cmDiatomic: {
      const ext C = 1.0L;
      ext inv = 1.0L / p.M1 + 1.0L / p.M2;
      omega2 = C * inv + st.s * C * Root(Sq(inv) - 4 * sin2 / ext(p.M1 * p.M2));
      st.Omega = Frequency(Root(omega2));
      st.A1 = float(0.05L * p.M1);
      st.A2 = float(0.05L * p.M2);
      if (st.s > 0) st.A1 = Amplitude(2 * C * std::cos(ka / 2) * st.A2, 2 * C - p.M1 * omega2);
      else st.A2 = Amplitude(2 * C * std::cos(ka / 2) * st.A1, 2 * C - p.M2 * omega2);
      break;
    }
    case cmAlternating: {
      const ext M = 1.0L;
      const long long sum = p.C1 + p.C2;
      omega2 = ext(sum) / M + st.s * Root(Sq(ext(sum)) - 4 * ext(p.C1 * p.C2) * sin2) / M;
      st.Omega = Frequency(Root(omega2));
      st.A = float(0.05L * p.C2);
      ext psi = std::atan(ext(p.C1 - p.C2) * std::tan(ka / 2) / ext(sum));
      st.Psi = std::isfinite(psi) ? psi : 0.0L;
      break;
    }
    case cmCombined: {
      const ext mm = ext(p.M1 * p.M2);
      const ext cm = ext(p.C1 + p.C2) * ext(p.M1 + p.M2);
      omega2 = cm / (2 * mm) + 0.5L * st.s * Root(Sq(cm) / Sq(mm) - 16 * ext(p.C1 * p.C2) * sin2 / mm);
      st.Omega = Frequency(Root(omega2));
      st.A1 = float(0.05L * p.M1);
      st.A2 = float(0.05L * p.M2);
      ext num = ext(p.C2) + p.C1 * std::cos(ka);
      if (st.s > 0) st.A1 = Amplitude(num * st.A2, ext(p.C1 + p.C2) - p.M1 * omega2);
      else st.A2 = Amplitude(num * st.A1, ext(p.C1 + p.C2) - p.M2 * omega2);
      break;
    }
  }
  return st;
}

TStepPoints OneAtomTransverse(int mode, const TStepInputs& p) {
  TStepPoints r;
  const ext Om = r.Omega = OneAtomOmega(mode, p.In, p.k, p.a);
  const ext A = p.WaveAmplitude, k = p.k, a = p.a, D = p.D, t = p.t;
  const ext time = t * Om / 50;
  r.Atoms.reserve(ChainAtoms);
  for (int n = 1; n <= ChainAtoms; ++n) {
    float y = float(A * std::cos(n * k * a - time));
    if (D > 1) y = float(y * std::exp(-20 * n * D / t));
    r.Atoms.push_back({double(n), Finite(y), clRed});
  }
  const float kImag = float(k - TwoPi / a);
  r.Wave1.reserve(OneAtomWavePoints);
  for (int j = 1; j <= OneAtomWavePoints; ++j) {
    float y = float(A * std::cos(j * k * a / 10 - time));
    if (D > 1) y = float(y * std::exp(-2 * j * D / t));
    r.Wave1.push_back({j / 10.0, Finite(y), clRed});
    if (p.Imaginary) {
      float yi = float(A * std::cos(j * ext(kImag) * a / 10 - time));
      if (D > 1) yi = float(yi * std::exp(2 * (j - 130) * D / t));
      r.Imag1.push_back({j / 10.0, Finite(yi), clRed});
    }
  }
  return r;
}

TStepPoints OneAtomLongitudinal(int mode, const TStepInputs& p) {
  TStepPoints r;
  const ext Om = r.Omega = OneAtomOmega(mode, p.In, p.k, p.a);
  const ext A = p.WaveAmplitude, k = p.k, a = p.a, time = p.t * Om / 50;
  const double height = double(k * a / 1000);
  r.Atoms.reserve(ChainAtoms);
  for (int n = 0; n < ChainAtoms; ++n) {
    float u = float(0.5L * A * std::cos((n + 1) * k * a - time));
    if (n == 0 || n == ChainAtoms - 1) r.Atoms.push_back({double(n), height, clNone});
    else r.Atoms.push_back({Finite(n + ext(u)), height, clRed});
  }
  return r;
}

namespace {

// Displacement at phase ph of an atom of the first sublattice (mass M1; in the
// alternating chain the atom with the phase psi) or of the second one. The waves
// of the two sublattices follow the same expressions.
ext Sublattice(int mode, const TTwoAtomState& st, bool first, ext ph) {
  switch (mode) {
    case cmDiatomic: return first ? st.A1 * std::cos(ph) : st.A2 * std::cos(ph);
    case cmAlternating: return first ? st.A * std::cos(st.Psi + ph) : -st.s * st.A * std::cos(ph);
    default: return first ? st.A1 * std::cos(ph) : st.A2 * std::sin(ph);
  }
}

}  // namespace

// The M1 atoms sit at the odd indices in the transverse display.
TStepPoints TwoAtomTransverse(int mode, const TTwoAtomState& st, const TStepInputs& p) {
  TStepPoints r;
  r.Omega = st.Omega;
  const ext k = p.k, a = p.a, D = p.D, t = p.t, time = t * st.Omega / 50;
  const bool alternating = mode == cmAlternating;
  r.Atoms.reserve(ChainAtoms);
  for (int i = 0; i < ChainAtoms; ++i) {
    const bool odd = i % 2 != 0;
    float y = float(Sublattice(mode, st, odd, i * k * a / 2 - time));
    if (D > 1) y = float(y * std::exp(-20 * (i + 1) * D / t));
    TColor col = alternating ? clDefault : mode == cmDiatomic && !odd ? clRed : clGreen;
    r.Atoms.push_back({double(i), Finite(y), col});
  }

  const float kImag = float(k - TwoPi / a);
  r.Wave1.reserve(TwoAtomWavePoints);
  r.Wave2.reserve(TwoAtomWavePoints);
  for (int j = 0; j < TwoAtomWavePoints; ++j) {
    const double x = j / 10.0;
    const ext ph = j * k * a / 20 - time;
    const ext f = D > 1 ? std::exp(-2 * (j + 1) * D / t) : 1.0L;
    r.Wave1.push_back({x, Finite(float(f * Sublattice(mode, st, true, ph))), mode == cmCombined ? clRed : clGreen});
    r.Wave2.push_back({x, Finite(float(f * Sublattice(mode, st, false, ph))), alternating ? clBlue : clRed});
    if (!p.Imaginary) continue;
    // The same vibration written with k shifted by a reciprocal lattice vector.
    const ext phi = j * ext(kImag) * a / 20 - time;
    const ext g = D > 1 ? std::exp(2 * ((j + 1) - 120) * D / t) : 1.0L;
    const ext first = Sublattice(mode, st, true, phi);
    r.Imag1.push_back({x, Finite(float(alternating ? g * first : -g * first)), alternating ? clBlue : clGreen});
    const ext second = alternating ? -ext(st.A) * std::cos(phi) : Sublattice(mode, st, false, phi);
    r.Imag2.push_back({x, Finite(float(g * second)), alternating ? clBlue : clRed});
  }
  return r;
}

// In the longitudinal display the M1 atoms sit at the even indices.
TStepPoints TwoAtomLongitudinal(int mode, const TTwoAtomState& st, const TStepInputs& p) {
  TStepPoints r;
  r.Omega = st.Omega;
  const ext k = p.k, a = p.a, time = p.t * st.Omega / 50;
  const double height = double(k * a / 1000);
  r.Atoms.reserve(ChainAtoms - 2);
  for (int i = 1; i <= ChainAtoms - 2; ++i) {
    const bool even = i % 2 == 0;
    const float u = float(Sublattice(mode, st, even, i * k * a / 2 - time));
    r.Atoms.push_back({Finite(i + ext(u)), height, mode != cmAlternating && !even ? clRed : clGreen});
  }
  return r;
}

TWaveColours TwoAtomWaveColours(int mode) {
  if (mode == cmAlternating) return {clRed, clRed, clRed, clRed};
  return {clGreen, clRed, clGreen, clRed};
}

// ---------------------------------------------------------------- markers and run texts

TMarkerStyle MarkerStyleFor(const TModeFlags& f, int valueIndex, int sizeEven, int sizeOdd,
                            TMarkerStyle current) {
  TMarkerStyle m = current;
  if (f.Monatomic || f.NextNeighbour) m = {10, clRed};
  if (f.Diatomic || f.Combined) {
    if (valueIndex % 2 == 0) m = {sizeEven, clRed};
    else m = {sizeOdd, clGreen};
  }
  // The alternating chain has one kind of atom: its difference lies in the springs,
  // so both groups of atoms keep the same colour.
  if (f.Alternating) m = {sizeEven, clRed};
  return m;
}

int StepSleep(int mode, bool longitudinal, int speed) {
  int ms = 0;
  switch (mode) {
    case cmMonatomic: ms = longitudinal ? speed - 1 : speed; break;
    case cmNextNeighbour: ms = longitudinal ? speed : 5 * speed; break;
    case cmDiatomic: ms = speed - 1; break;
    case cmAlternating: ms = longitudinal ? 5 * speed - 1 : 10 * speed - 1; break;
    case cmCombined: ms = longitudinal ? 5 * speed - 1 : speed - 1; break;
  }
  return std::max(ms, 0);
}

TRunTexts RunTexts(int mode) {
  switch (mode) {
    case cmMonatomic:
    case cmNextNeighbour:
      return {"MONATOMIC CHAIN  written by Jory Vantrel, Tresvane",
              "The length A is the distance between atoms" + std::string(51, ' '), 14};
    case cmDiatomic:
      return {"DIATOMIC CHAIN  written by Jory Vantrel, Tresvane",
              "The length a is the distance between EQUIVALENT atoms of same mass!" + std::string(34, ' '), 13};
    case cmAlternating:
      return {"ALTERNATING FORCE CONSTANTS  written by Jory Vantrel, Tresvane",
              "The length a is the twice the distance between atoms!" + std::string(41, ' '), 13};
    default:
      return {"ALTERNATING FORCE CONSTANTS and MASSES  written by Jory Vantrel, Tresvane",
              "The length a is the twice the distance between atoms!" + std::string(32, ' '), 13};
  }
}

}  // namespace Chain
