// The run frame shared by the five run buttons: set-up, the transverse and
// longitudinal loops, sleeps, message pumping, pair checks, hand-over to the
// monatomic run and nesting. It reaches the window only through TChainHost.
#pragma once
#include <string>

#include "app/physics.h"
#include "platform/classes.h"

namespace Chain {

// Chain chart series by index.
enum : int {
  siWave1 = 0, siAtoms = 1, siUnused = 2, siWave2 = 3, siImag1 = 4, siImag2 = 5, siSites = 6,
};

inline constexpr char MassMessage[] = "M1 must be bigger or equal to M2";

class TChainHost {
public:
  virtual ~TChainHost() = default;
  // Controls, read afresh at every use. Masses and force constants as typed.
  virtual TChainInputs ReadInputs() = 0;
  virtual bool LongitudinalChecked() = 0;
  virtual bool ImaginaryChecked() = 0;
  virtual int SpeedPosition() = 0;
  virtual int DampPosition() = 0;
  // Sets both force-constant edits, firing their change events as a user's change does.
  virtual void ResetForceConstants(int c1, int c2) = 0;
  // The window.
  virtual void SetWindowCaption(const std::string& text) = 0;
  virtual void WriteText(int x, int y, const std::string& text) = 0;
  virtual void ShowMessageBox(const std::string& text) = 0;
  // The chain chart.
  virtual void ClearSeries(int index) = 0;
  virtual void AddPoint(int index, const TChainPoint& p) = 0;
  virtual void SetSeriesColor(int index, TColor color) = 0;
  virtual void MarkerCallback(int valueIndex) = 0;
  // The dispersion chart: the drawer of `mode`.
  virtual void DrawCurve(int mode, TObject* Sender) = 0;
  // The message loop.
  virtual void Pause(int ms) = 0;
  virtual void ProcessMessages() = 0;
  // The run button handler of `mode` (hand-over and restart run nested inside).
  virtual void StartRun(int mode, TObject* Sender) = 0;
};

// One run of `mode`, returning when it has ended.
void RunChain(TChainHost& host, int mode, TObject* Sender);

// One transverse step of the running `mode` at time t, drawn as the run loop draws
// it (without the loop's checks, sleep and message pumping).
void DrawTransverseStep(TChainHost& host, int mode, std::int32_t t);

// Reads the inputs with every mass and force constant limited as the physics uses them.
TChainInputs ReadChainInputs(TChainHost& host);

}  // namespace Chain
