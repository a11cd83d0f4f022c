// Dispersion statistics of a period (standard deviation, root mean square,
// variance), the shape of the whole source (skewness, kurtosis), and two geometric
// functions: where two series cross, and the convex outline around a series.
#pragma once
#include <string>

#include "engine/function.h"

// Base of the statistics that divide by n (Complete) or by n − 1; they share one
// editor page.
class TCompleteStatFunction : public TLumFunction {
  DECLARE_CLASS(TCompleteStatFunction, TLumFunction)
public:
  using TLumFunction::TLumFunction;
  bool Complete() const { return complete_; }
  void SetComplete(bool Value) { StoreAndRecalculate(complete_, Value); }

  std::string EditorClassName() const override { return "TRMSFuncEditor"; }
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // The population (Complete) or the sample divisor of N values.
  double Divisor(size_t N) const { return complete_ ? double(N) : double(N) - 1; }

private:
  bool complete_ = false;
};

// √(Σ(x − mean)² / d), d = n with Complete, else n − 1; 0 for fewer than two values.
class TStdDeviationFunction : public TCompleteStatFunction {
  DECLARE_CLASS(TStdDeviationFunction, TCompleteStatFunction)
public:
  using TCompleteStatFunction::TCompleteStatFunction;
  double CalculateMany(const std::vector<double>& Values) override;
};

// √(Σx² / m), m = n with Complete, else n − 1; 0 for fewer than two values.
class TRMSFunction : public TCompleteStatFunction {
  DECLARE_CLASS(TRMSFunction, TCompleteStatFunction)
public:
  using TCompleteStatFunction::TCompleteStatFunction;
  double CalculateMany(const std::vector<double>& Values) override;
};

// Σ(x − mean)² / n; 0 for no values.
class TVarianceFunction : public TLumFunction {
  DECLARE_CLASS(TVarianceFunction, TLumFunction)
public:
  using TLumFunction::TLumFunction;
  double CalculateMany(const std::vector<double>& Values) override;
};

// Σ(x − m)³ / ((N − 1)·s³) over the whole source whatever the window (s: the sample
// standard deviation); every period of a recalculation gets the one value, computed
// once. Complete is kept for the editor and changes nothing.
class TSkewnessFunction : public TCompleteStatFunction {
  DECLARE_CLASS(TSkewnessFunction, TCompleteStatFunction)
public:
  using TCompleteStatFunction::TCompleteStatFunction;
  double Calculate(TChartSeries* Source, int First, int Last) override;

protected:
  void DoCalculation(TChartSeries* Source) override;
  // 3 for skewness, 4 for kurtosis.
  virtual int Power() const { return 3; }

private:
  double WholeSource(TChartSeries* Source) const;
  TChartSeries* cachedFor_ = nullptr;  // set while a recalculation reuses cached_
  double cached_ = 0;
};

// Σ(x − m)⁴ / ((N − 1)·s⁴) over the whole source.
class TKurtosisFunction : public TSkewnessFunction {
  DECLARE_CLASS(TKurtosisFunction, TSkewnessFunction)
public:
  using TSkewnessFunction::TSkewnessFunction;

protected:
  int Power() const override { return 4; }
};

// The points where the lines of the first two sources cross, walking both in X order.
class TCrossPointsFunction : public TLumFunction {
  DECLARE_CLASS(TCrossPointsFunction, TLumFunction)
public:
  using TLumFunction::TLumFunction;
  std::string EditorClassName() const override { return std::string(); }
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
};

// The convex outline of one source's points as drawn, closed back to its first point.
class TPerimeterFunction : public TLumFunction {
  DECLARE_CLASS(TPerimeterFunction, TLumFunction)
public:
  explicit TPerimeterFunction(TComponent* AOwner);
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
};
