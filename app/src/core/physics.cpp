#include "app/physics.h"

#include <algorithm>
#include <cmath>

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

struct Params {
  long long M1, M2, C1, C2;
  explicit Params(const TChainInputs& in)
      : M1(ChainParam(in.M1)), M2(ChainParam(in.M2)), C1(ChainParam(in.C1)), C2(ChainParam(in.C2)) {}
};

ext Sq(ext v) { return v * v; }

// ---- curve frequencies, one per drawer; x is the argument as the drawer passes it

ext MonatomicCurveOmega(const Params& p, ext x, float a) {
  const ext C = 1.0L;
  return Root((1 - std::cos(a * x)) * 4 * C / ext(p.M1 + p.M2));
}

ext NextNeighbourCurveOmega(const Params& p, ext kk, float a) {
  return 0.1L * Root(ext(2 * p.C1) * (1 - std::cos(a * kk / 2)) + ext(2 * p.C2) * (1 - std::cos(a * kk)));
}

// Diatomic: the curve's argument is a kk, the selected point's a kS/2; `phase` is that product.
ext DiatomicCurveOmega(const Params& p, ext phase, int s) {
  const ext C = 1.0L;
  ext inv = 1.0L / p.M1 + 1.0L / p.M2;
  ext S = C * inv;
  return Root(S + s * Root(C * (Sq(inv) - 4 * Sq(std::sin(phase)) / ext(p.M1 * p.M2))));
}

ext AlternatingCurveOmega(const Params& p, ext kk, float a, int s) {
  const ext M = 28.0L;
  ext inner = ext(p.C1 * p.C1 + p.C2 * p.C2) + ext(2 * p.C1 * p.C2) * std::cos(a * kk);
  return Root(ext(p.C1 + p.C2) / M + s * Root(inner) / M);
}

ext CombinedCurveOmega(const Params& p, ext kk, float a, int s) {
  long long mm = p.M1 * p.M2;
  long long cm = (p.C1 + p.C2) * (p.M1 + p.M2);
  ext P = ext(cm) / ext(2 * mm);
  ext Q = ext(cm * cm) / ext(mm * mm);
  ext inner = Q - ext(16 * p.C1 * p.C2) * Sq(std::sin(a * kk / 2)) / ext(mm);
  return Root(P + 0.5L * s * Root(inner)) / 2.2L;
}

}  // namespace

int ChainParam(long long typed) { return int(std::clamp<long long>(typed, MinChainParam, MaxChainParam)); }

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

  c.Upper.reserve(CurvePoints);
  if (twoAtom) c.Lower.reserve(CurvePoints);
  for (int i = 1; i <= CurvePoints; ++i) {
    ext kk = 2 * ext(c.DeltaK) * i;
    switch (mode) {
      case cmMonatomic:
        c.Omega = Finite(MonatomicCurveOmega(p, kk, a));
        c.Upper.push_back({double(kk), c.Omega / 1.7});
        break;
      case cmNextNeighbour:
        c.Omega = Finite(NextNeighbourCurveOmega(p, kk, a));
        c.Upper.push_back({double(kk / 2), c.Omega});
        break;
      case cmDiatomic:
        c.Omega = Finite(DiatomicCurveOmega(p, a * kk, 1));
        c.Upper.push_back({double(kk), c.Omega});
        c.Omega = Finite(DiatomicCurveOmega(p, a * kk, -1));
        c.Lower.push_back({double(kk), c.Omega});
        break;
      case cmAlternating:
        c.Omega = Finite(AlternatingCurveOmega(p, kk, a, 1));
        c.Upper.push_back({double(kk), c.Omega});
        c.Omega = Finite(AlternatingCurveOmega(p, kk, a, -1));
        c.Lower.push_back({double(kk), c.Omega});
        break;
      case cmCombined:
        c.Omega = Finite(CombinedCurveOmega(p, kk, a, 1));
        c.Upper.push_back({double(kk), c.Omega});
        c.Omega = Finite(CombinedCurveOmega(p, kk, a, -1));
        c.Lower.push_back({double(kk), c.Omega});
        break;
    }
  }

  const ext kS = c.kS;
  switch (mode) {
    case cmMonatomic:
      c.Omega = Finite(MonatomicCurveOmega(p, kS / 2, a));
      c.Selected = {double(kS / 2), c.Omega / 1.7};
      c.Mirror = {double(TwoPi / a - kS / 2), c.Selected.Y};
      break;
    case cmNextNeighbour:
      c.Omega = Finite(NextNeighbourCurveOmega(p, kS, a));
      c.Selected = {double(kS / 2), c.Omega};
      c.Mirror = {double(TwoPi / a - kS / 2), c.Omega};
      break;
    case cmDiatomic:
      c.Omega = Finite(DiatomicCurveOmega(p, a * kS / 2, s));
      c.Selected = {double(kS / 2), c.Omega};
      c.Mirror = {double(Pi / a - kS / 2), c.Omega};
      break;
    case cmAlternating:
    case cmCombined:
      c.Omega = Finite(mode == cmAlternating ? AlternatingCurveOmega(p, kS, a, s)
                                             : CombinedCurveOmega(p, kS, a, s));
      c.Selected = {double(kS), c.Omega};
      c.Mirror = {double(TwoPi / a - kS), c.Omega};
      break;
  }

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
    return Finite(Root(ext(2 * p.C1) * (1 - std::cos(ext(a) * k)) + ext(2 * p.C2) * (1 - std::cos(2 * ext(a) * k))));
  }
  return Finite(Root(1 - std::cos(ext(a) * k)));
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
      st.Omega = Finite(Root(omega2));
      st.A1 = float(0.05L * p.M1);
      st.A2 = float(0.05L * p.M2);
      if (st.s > 0) st.A1 = Amplitude(2 * C * std::cos(ka / 2) * st.A2, 2 * C - p.M1 * omega2);
      else st.A2 = Amplitude(2 * C * std::cos(ka / 2) * st.A1, 2 * C - p.M2 * omega2);
      break;
    }
    case cmAlternating: {
      const ext M = 1.0L;
      long long sum = p.C1 + p.C2;
      omega2 = ext(sum) / M + st.s * Root(ext(sum * sum) - ext(4 * p.C1 * p.C2) * sin2) / M;
      st.Omega = Finite(Root(omega2));
      st.A = float(0.05L * p.C2);
      ext psi = std::atan(ext(p.C1 - p.C2) * std::tan(ka / 2) / ext(sum));
      st.Psi = std::isfinite(psi) ? psi : 0.0L;
      break;
    }
    case cmCombined: {
      long long mm = p.M1 * p.M2;
      long long cm = (p.C1 + p.C2) * (p.M1 + p.M2);
      omega2 = ext(cm) / ext(2 * mm) +
               0.5L * st.s * Root(ext(cm * cm) / ext(mm * mm) - ext(16 * p.C1 * p.C2) * sin2 / ext(mm));
      st.Omega = Finite(Root(omega2));
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

TStepPoints TwoAtomTransverse(int mode, const TTwoAtomState& st, const TStepInputs& p) {
  TStepPoints r;
  r.Omega = st.Omega;
  const ext k = p.k, a = p.a, D = p.D, t = p.t, time = t * st.Omega / 50;
  const ext A1 = st.A1, A2 = st.A2, A = st.A, psi = st.Psi;
  const int s = st.s;

  r.Atoms.reserve(ChainAtoms);
  for (int i = 0; i < ChainAtoms; ++i) {
    const ext ph = i * k * a / 2 - time;
    const bool odd = i % 2 != 0;
    float y = 0;
    TColor col = clGreen;
    switch (mode) {
      case cmDiatomic:
        y = float(odd ? A1 * std::cos(ph) : A2 * std::cos(ph));
        col = odd ? clGreen : clRed;
        break;
      case cmAlternating:
        y = float(odd ? A * std::cos(psi + ph) : -s * A * std::cos(ph));
        col = clDefault;
        break;
      case cmCombined:
        y = float(odd ? A1 * std::cos(ph) : A2 * std::sin(ph));
        break;
    }
    if (D > 1) y = float(y * std::exp(-20 * (i + 1) * D / t));
    r.Atoms.push_back({double(i), Finite(y), col});
  }

  const float kImag = float(k - TwoPi / a);
  r.Wave1.reserve(TwoAtomWavePoints);
  r.Wave2.reserve(TwoAtomWavePoints);
  for (int j = 0; j < TwoAtomWavePoints; ++j) {
    const double x = j / 10.0;
    const ext ph = j * k * a / 20 - time;
    const ext f = D > 1 ? std::exp(-2 * (j + 1) * D / t) : 1.0L;
    switch (mode) {
      case cmDiatomic:
        r.Wave1.push_back({x, Finite(float(f * A1 * std::cos(ph))), clGreen});
        r.Wave2.push_back({x, Finite(float(f * A2 * std::cos(ph))), clRed});
        break;
      case cmAlternating:
        r.Wave1.push_back({x, Finite(float(f * A * std::cos(psi + ph))), clGreen});
        r.Wave2.push_back({x, Finite(float(-s * f * A * std::cos(ph))), clBlue});
        break;
      case cmCombined:
        r.Wave1.push_back({x, Finite(float(f * A1 * std::cos(ph))), clRed});
        r.Wave2.push_back({x, Finite(float(f * A2 * std::sin(ph))), clRed});
        break;
    }
    if (!p.Imaginary) continue;
    const ext phi = j * ext(kImag) * a / 20 - time;
    const ext g = D > 1 ? std::exp(2 * ((j + 1) - 120) * D / t) : 1.0L;
    switch (mode) {
      case cmDiatomic:
        r.Imag1.push_back({x, Finite(float(-g * A1 * std::cos(phi))), clGreen});
        r.Imag2.push_back({x, Finite(float(g * A2 * std::cos(phi))), clRed});
        break;
      case cmAlternating:
        r.Imag1.push_back({x, Finite(float(g * A * std::cos(psi + phi))), clBlue});
        r.Imag2.push_back({x, Finite(float(-g * A * std::cos(phi))), clBlue});
        break;
      case cmCombined:
        r.Imag1.push_back({x, Finite(float(-g * A1 * std::cos(phi))), clGreen});
        r.Imag2.push_back({x, Finite(float(g * A2 * std::sin(phi))), clRed});
        break;
    }
  }
  return r;
}

TStepPoints TwoAtomLongitudinal(int mode, const TTwoAtomState& st, const TStepInputs& p) {
  TStepPoints r;
  r.Omega = st.Omega;
  const ext k = p.k, a = p.a, time = p.t * st.Omega / 50;
  const ext A1 = st.A1, A2 = st.A2, A = st.A, psi = st.Psi;
  const double height = double(k * a / 1000);
  r.Atoms.reserve(ChainAtoms - 2);
  for (int i = 0; i < ChainAtoms; ++i) {
    const ext ph = i * k * a / 2 - time;
    const bool even = i % 2 == 0;
    float u = 0;
    TColor col = clGreen;
    switch (mode) {
      case cmDiatomic:
        u = float(even ? A1 * std::cos(ph) : A2 * std::cos(ph));
        col = even ? clGreen : clRed;
        break;
      case cmAlternating:
        u = float(even ? A * std::cos(psi + ph) : -st.s * A * std::cos(ph));
        break;
      case cmCombined:
        u = float(even ? A1 * std::cos(ph) : A2 * std::sin(ph));
        col = even ? clGreen : clRed;
        break;
    }
    if (i >= 1 && i <= ChainAtoms - 2) r.Atoms.push_back({Finite(i + ext(u)), height, col});
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
