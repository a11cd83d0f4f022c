// The physics of the five chain models, free of windows and charts: frequencies,
// amplitudes, the points of every animation step and of every dispersion curve,
// produced in the order they go into the charts.
//
// Precision follows the program's variables: arithmetic in extended precision
// (long double), displacements and amplitudes kept as 32-bit floats, frequencies
// as 64-bit doubles, k values as 32-bit floats; sums and products of masses and
// force constants are formed in integers.
//
// Guards: the edits accept any typed integer and every mass and force constant is
// used as typed, except that zero and negative values are used as 1 (ChainParam):
// the formulas divide by masses and take roots of force constants; a negative value under a square root is
// taken as 0 (the two branches meet, or the chain stands still); an amplitude
// quotient that is not finite or exceeds AmplitudeLimit in size is held at
// +-AmplitudeLimit (0 when undefined), which draws that sublattice off the chart as
// the unbounded formula would; every coordinate handed out lies within
// +-DisplayLimit (NaN would be 0), while frequencies keep their value, which sets the
// animation's pace. No NaN or infinity ever leaves this unit.
#pragma once
#include <string>
#include <vector>

#include "app/chain.h"
#include "platform/types.h"

namespace Chain {

inline constexpr int MinChainParam = 1;
inline constexpr float AmplitudeLimit = 10.0f;
inline constexpr double DisplayLimit = 100.0;  // the chain chart shows -1..1

// A typed mass or force constant as the physics uses it: as typed, at least 1.
int ChainParam(long long typed);

// An atom marker's size in pixels: a marker wider than any chart already covers
// it, so larger sizes (from huge typed masses) are drawn at this one.
inline constexpr int MaxMarkerSize = 4096;
int MarkerSize(long long pixels);

// What the drawers and the steps read from the window's controls.
struct TChainInputs {
  int M1 = 8, M2 = 4, C1 = 6, C2 = 4;  // spin edit values (ChainParam is applied inside)
  int KPosition = 1000;                // kValueBar position, 1..1000
  bool Optic = false;                  // OpticRadio checked: s = +1, else s = -1
  int BranchSign() const { return Optic ? 1 : -1; }
  bool operator==(const TChainInputs&) const = default;
};

struct TXY {
  double X = 0, Y = 0;
};

struct TChainPoint {
  double X = 0, Y = 0;
  TColor Color = clBlack;
};

// ---------------------------------------------------------------- dispersion curves

// Everything one curve drawer puts into the dispersion chart and onto the window.
struct TDispersionCurve {
  float ZoneK = 0, DeltaK = 0;
  float kS = 0;              // the selected k
  std::string Title;         // the chart title's one line
  std::string Wavelength;    // the line written at (10, 30)
  std::string BottomTitle;   // the bottom axis title
  std::vector<TXY> Upper;    // series 0: upper branch or the single curve
  std::vector<TXY> Lower;    // series 2: lower branch (two-atom models)
  TXY Selected, Mirror;      // series 1, in this order
  double Omega = 0;          // the last frequency computed (the selected point's)
  double LeftMin = 0, LeftMax = 0, BottomMin = 0, BottomMax = 0;
  bool DottedLine = false;   // the dotted centre line of the two-atom models
};

inline constexpr int CurvePoints = 1000;

// The curve of `mode` (cmMonatomic .. cmNextNeighbour) for lattice constant a.
TDispersionCurve DispersionFor(int mode, const TChainInputs& in, float a);

// ---------------------------------------------------------------- animation steps

// k of a run step: half the zone for the one-atom runs, the whole zone otherwise.
float StepK(int mode, float zoneK, int kPosition);

// Frequency of the one-atom models at k.
double OneAtomOmega(int mode, const TChainInputs& in, float k, float a);

// Frequency, amplitudes and phase of a two-atom step.
struct TTwoAtomState {
  int s = -1;          // branch sign
  double Omega = 0;
  float A1 = 0, A2 = 0;  // diatomic and combined sublattice amplitudes
  float A = 0;           // alternating amplitude
  long double Psi = 0;   // alternating phase
};
TTwoAtomState TwoAtomState(int mode, const TChainInputs& in, float k, float a);

// Everything one step needs besides the model's inputs.
struct TStepInputs {
  TChainInputs In;
  std::int32_t t = 2;   // step counter, also the time
  float k = 0;
  float D = 1;          // damping (DampBar position)
  bool Imaginary = false;
  float a = 4.0f;
  double WaveAmplitude = 0.5;
};

// The points of one step, each list in the order it is added to its series.
struct TStepPoints {
  double Omega = 0;
  std::vector<TChainPoint> Atoms;  // series 1
  std::vector<TChainPoint> Wave1;  // series 0
  std::vector<TChainPoint> Wave2;  // series 3
  std::vector<TChainPoint> Imag1;  // series 4
  std::vector<TChainPoint> Imag2;  // series 5
};

inline constexpr int ChainAtoms = 12;
inline constexpr int OneAtomWavePoints = 131;
inline constexpr int TwoAtomWavePoints = 121;

TStepPoints OneAtomTransverse(int mode, const TStepInputs& p);
TStepPoints OneAtomLongitudinal(int mode, const TStepInputs& p);
TStepPoints TwoAtomTransverse(int mode, const TTwoAtomState& st, const TStepInputs& p);
TStepPoints TwoAtomLongitudinal(int mode, const TTwoAtomState& st, const TStepInputs& p);

// Series colours a two-atom transverse step sets at every wave point (series 0, 3, 4, 5).
struct TWaveColours {
  TColor S0, S3, S4, S5;
};
TWaveColours TwoAtomWaveColours(int mode);

// ---------------------------------------------------------------- markers and run texts

struct TModeFlags {
  bool Monatomic = false, Diatomic = false, Alternating = false, Combined = false,
       NextNeighbour = false;
};
struct TMarkerStyle {
  int Size = 8;
  TColor Color = clRed;
};
// The atom marker for index `valueIndex`, starting from the pointer's current style.
TMarkerStyle MarkerStyleFor(const TModeFlags& f, int valueIndex, int sizeEven, int sizeOdd,
                            TMarkerStyle current);

// Milliseconds a run of `mode` sleeps per step at the given speed (never negative).
int StepSleep(int mode, bool longitudinal, int speed);

struct TRunTexts {
  const char* Caption;
  std::string Line;  // the explanatory line with its trailing blanks
  int Sites;         // lattice-site bars at x = 0 .. Sites - 1
};
TRunTexts RunTexts(int mode);

}  // namespace Chain
