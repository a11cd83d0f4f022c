// Sample fills of the analysis series: the series cleared, the random source reseeded
// and the points added inside one update block.
#pragma once
#include "engine/series.h"

namespace analysis_detail {

// Calls Fill(NumValues, X, StepX, MinY, DifY) with the random bounds of NumValues
// points (<= 0: the series' sample count).
template <class F>
void FillSamples(TChartSeries* S, int NumValues, F&& Fill) {
  if (NumValues <= 0) NumValues = S->RandomSampleCount() > 0 ? S->RandomSampleCount() : S->NumSampleValues();
  S->Clear();
  TChartSeries::ReseedRandom();
  double x, stepX, tmpY, minY, difY;
  S->CalcRandomBounds(NumValues, x, stepX, tmpY, minY, difY);
  S->BeginUpdate();
  try {
    Fill(NumValues, x, stepX, minY, difY);
  } catch (...) {
    S->EndUpdate();
    throw;
  }
  S->EndUpdate();
}

}  // namespace analysis_detail
