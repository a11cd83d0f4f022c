// The chart the tool and zoom benchmarks time: a flat chart filling a form of its
// own, with a fast line of a seeded random walk.
#pragma once
#include <cstdlib>
#include <random>

#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "platform/forms.h"

// Headless Qt unless the caller chose a platform, and the units a chart needs.
inline void StartChartUnits() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  FormsUnitInit();
  LumConstUnitInit();
  LumConst2UnitInit();
  ChartUnitInit();
}

// A form of the application holding a flat chart of class C, Width x Height.
template <class C>
C* NewBenchChart(TForm*& Form, int Width, int Height) {
  Form = new TForm(Application);
  Form->SetBounds(0, 0, Width + 20, Height + 20);
  auto* chart = new C(Form);
  chart->SetParent(Form);
  chart->SetBounds(0, 0, Width, Height);
  chart->SetView3D(false);
  return chart;
}

// A fast line of Points random-walk values at X = 0, 1, ... (the same walk each run).
inline TFastLineSeries* AddRandomWalk(TChart* Chart, int Points) {
  auto* s = new TFastLineSeries(Chart->Owner());
  s->SetParentChart(Chart);
  s->BeginUpdate();
  std::mt19937 rng(7);
  std::normal_distribution<double> step(0.0, 1.0);
  double y = 0;
  for (int i = 0; i < Points; ++i) s->AddXY(i, y += step(rng));
  s->EndUpdate();
  return s;
}
