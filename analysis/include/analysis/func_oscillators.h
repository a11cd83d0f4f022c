// Indicators built from averages: the exponential moving average, MACD with its
// signal line and histogram, Bollinger bands, the awesome and accelerator
// oscillators, the alligator and the gator oscillator. Each recalculates its owning
// series (and its hidden output series) whole, from arrays through the kernels.
#pragma once
#include <vector>

#include "analysis/func_outputs.h"
#include "engine/function.h"

class TOHLCSeries;
class TVolumeSeries;

// E = x[0], then E = k·x + (1 − k)·E with k = 2 / (Period + 1); needs two points.
// IgnoreNulls: null points count as ordinary values; otherwise they are skipped and
// get no output point.
class TExpMovAveFunction : public TLumFunction {
  DECLARE_CLASS(TExpMovAveFunction, TLumFunction)
public:
  explicit TExpMovAveFunction(TComponent* AOwner);
  bool IgnoreNulls() const { return ignoreNulls_; }
  void SetIgnoreNulls(bool Value) { StoreAndRecalculate(ignoreNulls_, Value); }
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  bool ignoreNulls_ = true;
};

// Fast average (Period2) minus slow average (Period) into the owning series; the
// signal line is the exponential average (Period3) of that, the histogram their
// difference.
class TMACDFunction : public TLumMovingFunction {
  DECLARE_CLASS(TMACDFunction, TLumMovingFunction)
public:
  explicit TMACDFunction(TComponent* AOwner);
  std::string EditorClassName() const override { return "TMACDFuncEditor"; }
  double Period2() const { return period2_; }
  // Below 1 is stored as 1.
  void SetPeriod2(double Value);
  int Period3() const { return period3_; }
  void SetPeriod3(int Value) { StoreAndRecalculate(period3_, Value); }
  TChartSeries* Signal() const { return signal_; }
  TVolumeSeries* Histogram() const { return histogram_; }
  // The owning series' pen (nullptr without one), the signal's and the histogram's.
  TChartPen* MACDPen() const;
  TChartPen* MACDExpPen() const;
  TChartPen* HistogramPen() const;
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
  void ClearOutput() override { outputs_.ClearAll(); }
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  TFunctionOutputs outputs_{this};
  TChartSeries* signal_;
  TVolumeSeries* histogram_;
  double period2_ = 12;
  int period3_ = 9;
};

// Average ± Deviation standard deviations of each window of Period points (the
// population deviation, in two passes), upper band in the owning series, lower band
// in its own; the average exponential or simple.
class TBollingerFunction : public TLumFunction {
  DECLARE_CLASS(TBollingerFunction, TLumFunction)
public:
  explicit TBollingerFunction(TComponent* AOwner);
  std::string EditorClassName() const override { return "TBollingerFuncEditor"; }
  double Deviation() const { return deviation_; }
  void SetDeviation(double Value) { StoreAndRecalculate(deviation_, Value); }
  bool Exponential() const { return exponential_; }
  void SetExponential(bool Value) { StoreAndRecalculate(exponential_, Value); }
  TChartSeries* LowBand() const { return lower_; }
  TChartPen* UpperBandPen() const;
  TChartPen* LowBandPen() const;
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
  void ClearOutput() override { outputs_.ClearAll(); }
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  TFunctionOutputs outputs_{this};
  TChartSeries* lower_;
  double deviation_ = 2;
  bool exponential_ = true;
};

// Base of the awesome and accelerator oscillators: bars over price bars (OHLC
// sources only, Period at least 1), green when rising and red when falling.
class TPriceOscillatorFunction : public TLumFunction {
  DECLARE_CLASS(TPriceOscillatorFunction, TLumFunction)
public:
  explicit TPriceOscillatorFunction(TComponent* AOwner);
  std::string EditorClassName() const override { return "TRMSFuncEditor"; }
  bool IsValidSource(TChartSeries* Value) override;
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
  // A volume series carrying the function.
  void PrepareForGallery(TCustomAxisPanel* Chart) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // The oscillator's points over Source.
  virtual void Oscillate(TOHLCSeries* Source, std::vector<double>& X, std::vector<double>& Y) const = 0;
};

// The 5- minus the 34-point average of the median price (H + L) / 2, at each
// source X found in both; nothing below 34 bars.
class TAOFunction : public TPriceOscillatorFunction {
  DECLARE_CLASS(TAOFunction, TPriceOscillatorFunction)
public:
  using TPriceOscillatorFunction::TPriceOscillatorFunction;

protected:
  void Oscillate(TOHLCSeries* Source, std::vector<double>& X, std::vector<double>& Y) const override;
};

// The awesome oscillator minus its own 5-point average.
class TACFunction : public TPriceOscillatorFunction {
  DECLARE_CLASS(TACFunction, TPriceOscillatorFunction)
public:
  using TPriceOscillatorFunction::TPriceOscillatorFunction;

protected:
  void Oscillate(TOHLCSeries* Source, std::vector<double>& X, std::vector<double>& Y) const override;
};

// Three smoothed averages of the median price, shifted forward in X: the jaw (13,
// shifted 8) in the owning series, the teeth (8, 5) and lips (5, 3) in their own.
class TAlligatorFunction : public TLumFunction {
  DECLARE_CLASS(TAlligatorFunction, TLumFunction)
public:
  explicit TAlligatorFunction(TComponent* AOwner);
  std::string EditorClassName() const override { return "TAlligatorFuncEditor"; }
  TChartSeries* Teeth() const { return teeth_; }
  TChartSeries* Lips() const { return lips_; }
  TChartPen* TeethPen() const;
  TChartPen* LipsPen() const;
  bool IsValidSource(TChartSeries* Value) override;
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
  void ClearOutput() override { outputs_.ClearAll(); }
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  TFunctionOutputs outputs_{this};
  TChartSeries* teeth_;
  TChartSeries* lips_;
};

// Distances of the alligator's lines, paired by index: |jaw − teeth| up in the
// owning series, −|teeth − lips| down in the lower histogram.
class TGatorFunction : public TLumFunction {
  DECLARE_CLASS(TGatorFunction, TLumFunction)
public:
  explicit TGatorFunction(TComponent* AOwner);
  TVolumeSeries* LowerHistogram() const { return lower_; }
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
  void PrepareForGallery(TCustomAxisPanel* Chart) override;

private:
  TFunctionOutputs outputs_{this};
  TVolumeSeries* lower_;
};
