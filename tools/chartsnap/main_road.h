// The main window's two charts with the stored properties of its form, and frames
// like those the runs draw into them: for the snapshot tool and the chart benchmark.
#pragma once
#include <memory>

#include "chart/chart.h"
#include "chart/series.h"

namespace mainroad {

// A headless program's start: Qt's offscreen platform, the classic font names mapped
// to their free metric twins as the tests have them, and the units the charts need; the end undoes it.
class THeadless {
public:
  THeadless(int& argc, char** argv);
  ~THeadless();
  THeadless(const THeadless&) = delete;
  THeadless& operator=(const THeadless&) = delete;

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

constexpr int ChainWidth = 649, ChainHeight = 473;
constexpr int DispersionWidth = 217, DispersionHeight = 193;

// Chart1 (32, 48, 649 x 473) with its seven series in list order.
TChart* CreateChainChart(TComponent* Owner);
// Chart2 (708, 328, 217 x 193) with its three series in list order.
TChart* CreateDispersionChart(TComponent* Owner);

// One transverse step of the monatomic chain: red wave, twelve red atoms of size 10,
// fourteen grey site lines.
void MonatomicFrame(TChart* Chain, int KPosition, int T);
// One transverse step of the diatomic chain (acoustic branch): atoms at even indices
// red at 2 x M2, odd ones green at 2 x M1, a green and a red wave, thirteen site lines.
void DiatomicFrame(TChart* Chain, int M1, int M2, int KPosition, int T);
// One longitudinal step of the monatomic chain: ten atoms on the axis line, the two
// end atoms null.
void LongitudinalFrame(TChart* Chain, int KPosition, int T);

// The dispersion curve of the monatomic chain (masses M1 + M2 in its formula).
void MonatomicDispersion(TChart* Dispersion, int M1, int M2, int KPosition);
// Both branches of the diatomic chain, the selected point of the acoustic branch
// and its mirror, and the dotted centre line drawn from the after-draw event.
void DiatomicDispersion(TChart* Dispersion, int M1, int M2, int KPosition);

}  // namespace mainroad
