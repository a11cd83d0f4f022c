// The basic functions: sum, difference, product, quotient, highest, lowest, mean,
// median and mode of each period (or of the sources point by point), and the user
// function y = f(x). Each supplies only the arithmetic (basic_kernels in the
// source) on the values the framework collects.
#pragma once
#include <vector>

#include "engine/function.h"

class TAddLumFunction : public TLumFunction {
  DECLARE_CLASS(TAddLumFunction, TLumFunction)
public:
  using TLumFunction::TLumFunction;
  double CalculateMany(const std::vector<double>& Values) override;
};

// Base of the functions that combine several sources point by point.
class TManySeriesLumFunction : public TLumFunction {
  DECLARE_CLASS(TManySeriesLumFunction, TLumFunction)
public:
  using TLumFunction::TLumFunction;
};

class TSubtractLumFunction : public TManySeriesLumFunction {
  DECLARE_CLASS(TSubtractLumFunction, TManySeriesLumFunction)
public:
  using TManySeriesLumFunction::TManySeriesLumFunction;
  double CalculateMany(const std::vector<double>& Values) override;
};

class TMultiplyLumFunction : public TManySeriesLumFunction {
  DECLARE_CLASS(TMultiplyLumFunction, TManySeriesLumFunction)
public:
  using TManySeriesLumFunction::TManySeriesLumFunction;
  double CalculateMany(const std::vector<double>& Values) override;
};

// A zero divisor follows IEEE arithmetic (infinity or NaN), without an exception.
class TDivideLumFunction : public TManySeriesLumFunction {
  DECLARE_CLASS(TDivideLumFunction, TManySeriesLumFunction)
public:
  using TManySeriesLumFunction::TManySeriesLumFunction;
  double CalculateMany(const std::vector<double>& Values) override;
};

// High, low and average over the whole source with nulls included read the value
// list's cached statistics.
class THighLumFunction : public TLumFunction {
  DECLARE_CLASS(THighLumFunction, TLumFunction)
public:
  using TLumFunction::TLumFunction;
  double Calculate(TChartSeries* Source, int First, int Last) override;
  double CalculateMany(const std::vector<double>& Values) override;
};

class TLowLumFunction : public TLumFunction {
  DECLARE_CLASS(TLowLumFunction, TLumFunction)
public:
  using TLumFunction::TLumFunction;
  double Calculate(TChartSeries* Source, int First, int Last) override;
  double CalculateMany(const std::vector<double>& Values) override;
};

class TAverageLumFunction : public TLumFunction {
  DECLARE_CLASS(TAverageLumFunction, TLumFunction)
public:
  using TLumFunction::TLumFunction;
  std::string EditorClassName() const override { return "TAverageFuncEditor"; }
  double Calculate(TChartSeries* Source, int First, int Last) override;
  double CalculateMany(const std::vector<double>& Values) override;
};

// Keeps the work array ascending as values arrive (equal values in arrival order).
class TCustomSortedFunction : public TLumFunction {
  DECLARE_CLASS(TCustomSortedFunction, TLumFunction)
public:
  using TLumFunction::TLumFunction;
  void StoreValue(std::vector<double>& Values, int Position, double Value) override;
};

// The usual median: the middle value, or the mean of the two middle ones; 0 for none.
class TMedianLumFunction : public TCustomSortedFunction {
  DECLARE_CLASS(TMedianLumFunction, TCustomSortedFunction)
public:
  using TCustomSortedFunction::TCustomSortedFunction;
  double CalculateMany(const std::vector<double>& Values) override;
};

// The most frequent value; among equally frequent ones the smallest.
class TModeLumFunction : public TCustomSortedFunction {
  DECLARE_CLASS(TModeLumFunction, TCustomSortedFunction)
public:
  using TCustomSortedFunction::TCustomSortedFunction;
  double CalculateMany(const std::vector<double>& Values) override;
};

// y = f(x) by the OnCalculate event at NumPoints X values from StartX, Period apart;
// needs no source.
class TCustomLumFunction : public TLumFunction {
  DECLARE_CLASS(TCustomLumFunction, TLumFunction)
public:
  explicit TCustomLumFunction(TComponent* AOwner);
  std::string EditorClassName() const override { return "TCustomFunctionEditor"; }
  int NumPoints() const { return numPoints_; }
  void SetNumPoints(int Value) { StoreAndRecalculate(numPoints_, Value); }
  double StartX() const { return startX_; }
  void SetStartX(double Value) { StoreAndRecalculate(startX_, Value); }
  // Without a handler the owning series is left as it is.
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

  TEvent<void(TObject* Sender, double X, double& Y)> OnCalculate;

private:
  int numPoints_ = 100;
  double startX_ = 0;
};
