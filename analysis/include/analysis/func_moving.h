// Functions over a window sliding along the source: averages (simple, weighted,
// exponential, smoothed) and changes across the window (momentum, momentum division,
// performance, percent change, slope). Calculate answers one window; the averages
// compute all windows at once through the kernels when the framework slides them.
#pragma once
#include <string>

#include "engine/function.h"

// Simple average of the window, or weighted by the points' X values (Weighted) or
// by their place in the window (WeightedIndex); Weighted wins over WeightedIndex.
class TMovingAverageFunction : public TLumMovingFunction {
  DECLARE_CLASS(TMovingAverageFunction, TLumMovingFunction)
public:
  explicit TMovingAverageFunction(TComponent* AOwner);
  bool Weighted() const { return weighted_; }
  void SetWeighted(bool Value) { StoreAndRecalculate(weighted_, Value); }
  bool WeightedIndex() const { return weightedIndex_; }
  void SetWeightedIndex(bool Value) { StoreAndRecalculate(weightedIndex_, Value); }

  std::string EditorClassName() const override { return "TMovAveFuncEditor"; }
  double Calculate(TChartSeries* Source, int First, int Last) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  void DoCalculation(TChartSeries* Source) override;

private:
  bool weighted_ = false, weightedIndex_ = false;
};

// Weight·x[last] + (1 − Weight)·x[last − 1]: against the previous source value.
class TExpAverageFunction : public TLumMovingFunction {
  DECLARE_CLASS(TExpAverageFunction, TLumMovingFunction)
public:
  explicit TExpAverageFunction(TComponent* AOwner);
  double Weight() const { return weight_; }
  // Exception "ExpAverage Weight must be between 0 and 1" outside 0..1, keeping the old one.
  void SetWeight(double Value);

  std::string EditorClassName() const override { return "TExpAveFuncEditor"; }
  double Calculate(TChartSeries* Source, int First, int Last) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  double weight_ = 0.2;
};

// Smoothed average: the first window's mean, then (p·Period − p + x) / Period with p
// the previous result.
class TSmoothedMovAvgFunction : public TLumMovingFunction {
  DECLARE_CLASS(TSmoothedMovAvgFunction, TLumMovingFunction)
public:
  using TLumMovingFunction::TLumMovingFunction;
  // A window after the first takes p from the owning series' last point.
  double Calculate(TChartSeries* Source, int First, int Last) override;

protected:
  void DoCalculation(TChartSeries* Source) override;
};

// x[last] − x[first].
class TMomentumFunction : public TLumMovingFunction {
  DECLARE_CLASS(TMomentumFunction, TLumMovingFunction)
public:
  using TLumMovingFunction::TLumMovingFunction;
  double Calculate(TChartSeries* Source, int First, int Last) override;
};

// 100·x[last] / x[first]; 0 when x[first] is 0.
class TMomentumDivFunction : public TLumMovingFunction {
  DECLARE_CLASS(TMomentumDivFunction, TLumMovingFunction)
public:
  using TLumMovingFunction::TLumMovingFunction;
  double Calculate(TChartSeries* Source, int First, int Last) override;
};

// Percent change of x[last] against the source's very first value.
class TPerformanceFunction : public TLumMovingFunction {
  DECLARE_CLASS(TPerformanceFunction, TLumMovingFunction)
public:
  using TLumMovingFunction::TLumMovingFunction;
  double Calculate(TChartSeries* Source, int First, int Last) override;
};

// Percent change of x[last] against the point before the window; 0 for the first window.
class TPercentChangeFunction : public TLumMovingFunction {
  DECLARE_CLASS(TPercentChangeFunction, TLumMovingFunction)
public:
  using TLumMovingFunction::TLumMovingFunction;
  double Calculate(TChartSeries* Source, int First, int Last) override;
};

// Slope from the point before the window to its last point; 0 for the first window.
class TSlopeFunction : public TLumMovingFunction {
  DECLARE_CLASS(TSlopeFunction, TLumMovingFunction)
public:
  using TLumMovingFunction::TLumMovingFunction;
  double Calculate(TChartSeries* Source, int First, int Last) override;
};
