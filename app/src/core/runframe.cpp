#include "app/runframe.h"

namespace Chain {

namespace {

constexpr double StepLimit = 1e9;

bool OneAtom(int mode) { return mode == cmMonatomic || mode == cmNextNeighbour; }

// Flags a run leaves alone keep their value; the marker callback's later tests win.
void SetModeFlags(int mode) {
  switch (mode) {
    case cmMonatomic:
      IsMonatomic = true;
      IsAlternating = IsDiatomic = IsCombined = false;
      break;
    case cmNextNeighbour:
      IsNextNeighbour = true;
      IsMonatomic = IsAlternating = IsDiatomic = IsCombined = false;
      break;
    case cmDiatomic:
      IsDiatomic = true;
      IsAlternating = IsMonatomic = IsCombined = false;
      break;
    case cmAlternating:
      IsAlternating = true;
      IsDiatomic = IsMonatomic = IsNextNeighbour = IsCombined = false;
      break;
    case cmCombined:
      IsCombined = true;
      IsAlternating = IsDiatomic = IsMonatomic = IsNextNeighbour = false;
      break;
  }
}

void AddAll(TChainHost& h, int index, const std::vector<TChainPoint>& pts) {
  for (const TChainPoint& p : pts) h.AddPoint(index, p);
}

TStepInputs MakeStep(TChainHost& h, const TChainInputs& in, std::int32_t t, float k) {
  TStepInputs p;
  p.In = in;
  p.t = t;
  p.k = k;
  p.D = Damping;
  p.Imaginary = h.ImaginaryChecked();
  p.a = LatticeA;
  p.WaveAmplitude = WaveAmplitude;
  return p;
}

void DrawOneAtomTransverse(TChainHost& h, int mode, std::int32_t t, float k) {
  TStepPoints r = OneAtomTransverse(mode, MakeStep(h, ReadChainInputs(h), t, k));
  Omega = r.Omega;
  h.ClearSeries(siWave1);
  h.ClearSeries(siAtoms);
  h.ClearSeries(siWave2);
  AddAll(h, siAtoms, r.Atoms);
  h.ClearSeries(siImag1);
  h.SetSeriesColor(siImag1, clRed);
  for (size_t j = 0; j < r.Wave1.size(); ++j) {
    h.AddPoint(siWave1, r.Wave1[j]);
    if (j < r.Imag1.size()) h.AddPoint(siImag1, r.Imag1[j]);
  }
}

void DrawOneAtomLongitudinal(TChainHost& h, int mode, std::int32_t t, float k) {
  TStepPoints r = OneAtomLongitudinal(mode, MakeStep(h, ReadChainInputs(h), t, k));
  Omega = r.Omega;
  h.ClearSeries(siWave1);
  h.ClearSeries(siAtoms);
  h.ClearSeries(siWave2);
  AddAll(h, siAtoms, r.Atoms);
}

void DrawTwoAtomTransverse(TChainHost& h, int mode, const TTwoAtomState& st, const TStepInputs& p) {
  TStepPoints r = TwoAtomTransverse(mode, st, p);
  for (int i : {siWave1, siAtoms, siWave2, siImag1, siImag2}) h.ClearSeries(i);
  const bool alternating = mode == cmAlternating;
  if (alternating) h.SetSeriesColor(siAtoms, clGreen);
  for (int i = 0; i < int(r.Atoms.size()); ++i) {
    h.MarkerCallback(i);
    h.AddPoint(siAtoms, r.Atoms[size_t(i)]);
    if (alternating) h.MarkerCallback(i);
  }
  const TWaveColours c = TwoAtomWaveColours(mode);
  for (size_t j = 0; j < r.Wave1.size(); ++j) {
    h.AddPoint(siWave1, r.Wave1[j]);
    h.AddPoint(siWave2, r.Wave2[j]);
    h.SetSeriesColor(siWave1, c.S0);
    h.SetSeriesColor(siImag1, c.S4);
    h.SetSeriesColor(siWave2, c.S3);
    h.SetSeriesColor(siImag2, c.S5);
    if (j < r.Imag1.size()) {
      h.AddPoint(siImag1, r.Imag1[j]);
      h.AddPoint(siImag2, r.Imag2[j]);
    }
  }
}

void DrawTwoAtomLongitudinal(TChainHost& h, int mode, const TTwoAtomState& st, const TStepInputs& p) {
  TStepPoints r = TwoAtomLongitudinal(mode, st, p);
  h.ClearSeries(siWave1);
  h.ClearSeries(siAtoms);
  h.ClearSeries(siWave2);
  const bool callback = mode == cmAlternating || mode == cmCombined;
  for (int i = 0; i < ChainAtoms; ++i) {
    if (callback) h.SetSeriesColor(siAtoms, clRed);
    if (i >= 1 && i <= ChainAtoms - 2) h.AddPoint(siAtoms, r.Atoms[size_t(i - 1)]);
    if (callback) h.MarkerCallback(i);
  }
}

// Sizes follow typed masses of any size (2 x M1 exceeds 32 bits from M1 = 2^30).
void SetMarkerSizes(long long even, long long odd) {
  MarkerSizeEven = MarkerSize(even);
  MarkerSizeOdd = MarkerSize(odd);
}

// A run started by the frame itself, not by the user: the monatomic run taking
// over from an equal pair, or the restart when Longitudinal is unchecked. Its
// set-up clears the stop flag, so an Interrupt or Exit already pressed would be
// lost and the new run would go on; with a stop requested nothing starts and the
// caller ends, and every run it is nested in ends at its next test.
void HandOver(TChainHost& h, int mode, TObject* Sender) {
  if (!StopRequested) h.StartRun(mode, Sender);
}

// Runs begun so far. A run whose message pumping sees it change has had another
// run nested in it.
unsigned RunsBegun = 0;

void ClearImaginary(TChainHost& h) {
  h.ClearSeries(siImag1);
  h.ClearSeries(siImag2);
}

// What a one-atom run's set-up gives the chain chart that the steps do not renew.
void OneAtomLook(TChainHost& h) {
  SetMarkerSizes(10, 10);
  h.SetSeriesColor(siWave2, clBlue);
  h.SetSeriesColor(siWave1, clRed);
}

void DrawSites(TChainHost& h, int sites) {
  h.ClearSeries(siSites);
  for (int x = 0; x < sites; ++x) h.AddPoint(siSites, {double(x), 1000, clGray});
}

// A nested run that ended without a stop (its mass check, its start with M1 = M2,
// an exception) leaves its mode, caption, text, sites and curve behind while this
// run goes on: show this run's own again.
void ShowRunAgain(TChainHost& h, int mode, TObject* Sender) {
  const TRunTexts texts = RunTexts(mode);
  SetModeFlags(mode);
  CurrentMode = mode;
  h.SetWindowCaption(texts.Caption);
  h.WriteText(10, 10, texts.Line);
  ClearImaginary(h);
  if (OneAtom(mode)) OneAtomLook(h);
  ZoneK = float((OneAtom(mode) ? TwoPi : Pi) / LatticeA);
  DrawSites(h, texts.Sites);
  h.DrawCurve(mode, Sender);
}

void PumpMessages(TChainHost& h, int mode, TObject* Sender) {
  const unsigned before = RunsBegun;
  h.ProcessMessages();
  if (RunsBegun != before && !StopRequested) ShowRunAgain(h, mode, Sender);
}

void Pace(TChainHost& h, int mode, bool longitudinal, TObject* Sender) {
  h.Pause(StepSleep(mode, longitudinal, h.SpeedPosition()));
  PumpMessages(h, mode, Sender);
}

// Set-up; false when the run ends here (mass check, equal pair at the start).
bool SetUp(TChainHost& h, int mode, TObject* Sender) {
  ++RunsBegun;
  const TRunTexts texts = RunTexts(mode);
  SetModeFlags(mode);
  if (OneAtom(mode)) {
    StopRequested = false;
    ClearImaginary(h);
    h.SetWindowCaption(texts.Caption);
    h.WriteText(10, 10, texts.Line);
    CurrentMode = mode;
    ZoneK = float(TwoPi / LatticeA);
    OneAtomLook(h);
  } else {
    h.SetWindowCaption(texts.Caption);
    h.WriteText(10, 10, texts.Line);
    StopRequested = false;
    if (mode == cmDiatomic) {
      TChainInputs in = ReadChainInputs(h);
      SetMarkerSizes(2LL * in.M2, 2LL * in.M1);
    }
    if (mode == cmAlternating) h.ResetForceConstants(7, 4);
    CurrentMode = mode;
    if (mode != cmAlternating) {
      TChainInputs in = ReadChainInputs(h);
      if (in.M1 < in.M2) {
        h.ShowMessageBox(MassMessage);
        return false;
      }
      if (mode == cmDiatomic && in.M1 == in.M2) return false;
      if (mode == cmCombined && in.C1 == in.C2 && in.M1 == in.M2) {
        HandOver(h, cmMonatomic, Sender);
        return false;
      }
    }
    ZoneK = float(Pi / LatticeA);
  }
  DrawSites(h, texts.Sites);
  h.DrawCurve(mode, Sender);
  PumpMessages(h, mode, Sender);
  return true;
}

// Transverse loop; true when the longitudinal display takes over.
bool OneAtomTransverseLoop(TChainHost& h, int mode, TObject* Sender) {
  std::int32_t t = 1;
  while (t < StepLimit) {
    Damping = float(h.DampPosition());
    ++t;
    if (StopRequested) return false;
    if (h.LongitudinalChecked()) return true;
    DrawTransverseStep(h, mode, t);
    Pace(h, mode, false, Sender);
  }
  return true;
}

// The pair check of a two-atom step; false when the run ends (or has handed over).
bool PairCheck(TChainHost& h, int mode, const TChainInputs& in, TObject* Sender) {
  if (mode == cmDiatomic && in.M1 < in.M2) {
    h.ShowMessageBox(MassMessage);
    return false;
  }
  bool equal = mode == cmDiatomic      ? in.M1 == in.M2
               : mode == cmAlternating ? in.C1 == in.C2
                                       : in.C1 == in.C2 && in.M1 == in.M2;
  if (equal) {
    HandOver(h, cmMonatomic, Sender);
    return false;
  }
  return true;
}

bool TwoAtomTransverseLoop(TChainHost& h, int mode, TObject* Sender) {
  std::int32_t t = 1;
  while (t < StepLimit) {
    ++t;
    Damping = float(h.DampPosition());
    TChainInputs in = ReadChainInputs(h);
    if (!PairCheck(h, mode, in, Sender)) return false;
    if (mode == cmAlternating) SetMarkerSizes(10, 10);
    else SetMarkerSizes(2LL * in.M2, 2LL * in.M1);
    if (StopRequested) return false;
    DrawTransverseStep(h, mode, t);
    if (h.LongitudinalChecked()) return true;
    Pace(h, mode, false, Sender);
  }
  return true;
}

void LongitudinalSection(TChainHost& h, int mode, TObject* Sender) {
  if (!h.LongitudinalChecked()) return;
  ClearImaginary(h);
  std::int32_t t = mode == cmMonatomic ? 1 : -1;
  while (t < StepLimit) {
    if (OneAtom(mode)) {
      ++t;
      float k = StepK(mode, ZoneK, h.ReadInputs().KPosition);
      if (!h.LongitudinalChecked()) HandOver(h, mode, Sender);
      if (StopRequested) return;
      DrawOneAtomLongitudinal(h, mode, t, k);
      Pace(h, mode, true, Sender);
      continue;
    }
    TChainInputs in = ReadChainInputs(h);
    if (mode == cmDiatomic) {
      ++t;
      if (in.M1 == in.M2) {
        HandOver(h, cmMonatomic, Sender);
        return;
      }
      SetMarkerSizes(2LL * in.M2, 2LL * in.M1);
    } else {
      bool equal = mode == cmAlternating ? in.C1 == in.C2 : in.C1 == in.C2 && in.M1 == in.M2;
      if (equal) {
        HandOver(h, cmMonatomic, Sender);
        return;
      }
      if (mode == cmAlternating) SetMarkerSizes(8, 8);
      else SetMarkerSizes(in.M2, in.M1);
      ++t;
    }
    if (StopRequested) return;
    float k = StepK(mode, ZoneK, in.KPosition);
    TTwoAtomState st = TwoAtomState(mode, in, k, LatticeA);
    Omega = st.Omega;
    if (mode == cmDiatomic) {
      if (in.M1 < in.M2) {
        h.ShowMessageBox(MassMessage);
        return;
      }
      if (StopRequested) return;
    }
    if (!h.LongitudinalChecked()) HandOver(h, mode, Sender);
    DrawTwoAtomLongitudinal(h, mode, st, MakeStep(h, in, t, k));
    Pace(h, mode, true, Sender);
  }
}

}  // namespace

TChainInputs ReadChainInputs(TChainHost& host) {
  TChainInputs in = host.ReadInputs();
  in.M1 = ChainParam(in.M1);
  in.M2 = ChainParam(in.M2);
  in.C1 = ChainParam(in.C1);
  in.C2 = ChainParam(in.C2);
  return in;
}

void DrawTransverseStep(TChainHost& h, int mode, std::int32_t t) {
  const TChainInputs in = ReadChainInputs(h);
  const float k = StepK(mode, ZoneK, in.KPosition);
  if (OneAtom(mode)) {
    DrawOneAtomTransverse(h, mode, t, k);
    return;
  }
  TTwoAtomState st = TwoAtomState(mode, in, k, LatticeA);
  Omega = st.Omega;
  DrawTwoAtomTransverse(h, mode, st, MakeStep(h, in, t, k));
}

void RunChain(TChainHost& h, int mode, TObject* Sender) {
  if (!SetUp(h, mode, Sender)) return;
  if (!h.LongitudinalChecked()) {
    bool toLongitudinal = OneAtom(mode) ? OneAtomTransverseLoop(h, mode, Sender) : TwoAtomTransverseLoop(h, mode, Sender);
    if (!toLongitudinal) return;
  }
  LongitudinalSection(h, mode, Sender);
}

}  // namespace Chain
