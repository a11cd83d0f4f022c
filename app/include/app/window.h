// The main window for tools and benchmarks that picture or time its charts without
// the program's message loop: the program's units, its form with the two charts as
// the form builds them, and frames drawn as the runs and curve drawers draw them.
#pragma once
#include <cstdint>

class TChart;
class TForm;

namespace Chain {

class TMainWindow {
public:
  // Starts the program's units and creates and shows the main window (on the Qt
  // platform the environment names: tools set "offscreen" first).
  TMainWindow();
  // Frees the window, then finalises the units in reverse.
  ~TMainWindow();
  TMainWindow(const TMainWindow&) = delete;
  TMainWindow& operator=(const TMainWindow&) = delete;

  TForm* Form() const;
  TChart* ChainChart() const;
  TChart* DispersionChart() const;

  // The inputs as a user sets them: the masses M1 and M2, the k track bar and the
  // longitudinal check box.
  void SetMasses(int M1, int M2);
  void SetKPosition(int Position);
  void SetLongitudinal(bool Value);

  // Runs Mode (a cm* value) as its button does and stops it once Steps steps have
  // been drawn; the charts keep that step.
  void Run(std::int32_t Mode, int Steps);
  // One transverse step at time T of the model run last, as its run loop draws it.
  void DrawTransverseStep(std::int32_t Mode, std::int32_t T);
  // The dispersion curve of Mode with the current inputs, as the curve drawer of
  // the window draws it.
  void DrawCurve(std::int32_t Mode);
};

}  // namespace Chain
