// The extra output series a function fills beside its owning series (signal lines,
// lower bands, histograms): owned by the function and freed with it, hidden from the
// legend and the editor, and put on the owning series' chart and axes before each fill.
#pragma once
#include <span>
#include <vector>

#include "engine/function.h"
#include "engine/series.h"

class TFunctionOutputs : public TComponent {
  DECLARE_CLASS(TFunctionOutputs, TComponent)
public:
  // Function: the function whose owning series the outputs follow.
  explicit TFunctionOutputs(TLumFunction* Function);
  // Frees the outputs still alive (a chart freed first takes its series with it).
  ~TFunctionOutputs() override;

  // A new hidden output series of class S in Color (clLumColor: the chart's choice).
  template <class S>
  S* Add(TColor Color = clLumColor) {
    auto* s = new S(this);
    Adopt(s, Color);
    return s;
  }
  int Count() const { return int(series_.size()); }
  // nullptr once the series was freed elsewhere.
  TChartSeries* Items(int Index) const { return series_.at(size_t(Index)); }

  // Gives Output the owning series' chart, axes, custom axes and date-time flag of
  // its X values (nothing without an owning series).
  void Prepare(TChartSeries* Output) const;
  // Empties every output (the owning series was cleared).
  void ClearAll();
  // Empties Output and gives it the points (X[i], Y[i]), the pair swapped when it is
  // horizontal, in one update block: one notification (nothing for nullptr).
  static void Fill(TChartSeries* Output, std::span<const double> X, std::span<const double> Y);
  // Assign of an output's pen: copies From into To when both exist (a series class
  // may have no pen).
  static void CopyPen(TChartPen* To, TChartPen* From) {
    if (To && From) To->Assign(From);
  }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void Adopt(TChartSeries* Output, TColor Color);
  TLumFunction* function_;
  std::vector<TChartSeries*> series_;
};
