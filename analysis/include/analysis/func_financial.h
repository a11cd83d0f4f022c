// Indicators over price bars: directional index, average true range, relative
// strength, close location value, money flow, stochastic and relative vigor. Each
// reads its OHLC source (the stochastic any series) into arrays and hands them to
// FinancialKernels; the classes only add the results to the owning series and to the
// output series some of them own.
#pragma once
#include <vector>

#include "analysis/func_outputs.h"
#include "engine/function.h"

class TChartPen;
class TFastLineSeries;
class TAreaSeries;
class TVolumeSeries;
class THistogramSeries;

// Sources the indicators read high, low, open and close from.
bool IsPriceSource(TChartSeries* Source);

// Average directional index in the owning series, +DI and -DI in two owned lines.
class TADXFunction : public TLumFunction {
  DECLARE_CLASS(TADXFunction, TLumFunction)
public:
  explicit TADXFunction(TComponent* AOwner);

  TFastLineSeries* UpLine() const;
  TFastLineSeries* DownLine() const;
  TChartPen* UpLinePen() const;
  TChartPen* DownLinePen() const;

  std::string EditorClassName() const override { return "TADXFuncEditor"; }
  bool IsValidSource(TChartSeries* Value) override { return IsPriceSource(Value); }
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  TFunctionOutputs outputs_{this};  // the up line, then the down line
};

class TATRFunction : public TLumFunction {
  DECLARE_CLASS(TATRFunction, TLumFunction)
public:
  explicit TATRFunction(TComponent* AOwner);
  bool IsValidSource(TChartSeries* Value) override { return IsPriceSource(Value); }
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
  static void DefineProperties(TPropertyTable& t);
};

enum TRSIStyle { rsiOpenClose, rsiClose };

class TRSIFunction : public TLumMovingFunction {
  DECLARE_CLASS(TRSIFunction, TLumMovingFunction)
public:
  explicit TRSIFunction(TComponent* AOwner);
  TRSIStyle Style() const { return style_; }
  void SetStyle(TRSIStyle Value) { StoreAndRecalculate(style_, Value); }

  bool IsValidSource(TChartSeries* Value) override { return IsPriceSource(Value); }
  // One window's value from the source's "Open" and "Close" lists.
  double Calculate(TChartSeries* Source, int First, int Last) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // Every window at once through the kernel.
  void DoCalculation(TChartSeries* Source) override;

private:
  TRSIStyle style_ = rsiOpenClose;
};

// Close location value, optionally weighted by a volume series and accumulated.
class TCLVFunction : public TLumFunction {
  DECLARE_CLASS(TCLVFunction, TLumFunction)
public:
  explicit TCLVFunction(TComponent* AOwner);
  ~TCLVFunction() override;

  bool Accumulate() const { return accumulate_; }
  void SetAccumulate(bool Value) { StoreAndRecalculate(accumulate_, Value); }
  // Freeing the series sets it back to nullptr.
  TChartSeries* Volume() const { return volume_; }
  void SetVolume(TChartSeries* Value);

  std::string EditorClassName() const override { return "TCLVFuncEditor"; }
  bool IsValidSource(TChartSeries* Value) override { return IsPriceSource(Value); }
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The volume series' values, empty without one.
  const std::vector<double>& VolumeValues() const;

private:
  bool accumulate_ = true;
  TChartSeries* volume_ = nullptr;
};

enum TCMFStyle { cmfLine, cmfArea, cmfVolume, cmfHistogram };

// Chaikin-style money flow: the volume-weighted CLV over a trailing window, shown
// as the owning series' line or copied, coloured by sign, into one of three owned
// series (area, volume lines, histogram).
class TMoneyFlowFunction : public TCLVFunction {
  DECLARE_CLASS(TMoneyFlowFunction, TCLVFunction)
public:
  explicit TMoneyFlowFunction(TComponent* AOwner);

  TCMFStyle CMFStyle() const { return style_; }
  void SetCMFStyle(TCMFStyle Value) { StoreAndRecalculate(style_, Value); }
  TColor UpColor() const { return upColor_; }
  void SetUpColor(TColor Value) { StoreAndRecalculate(upColor_, Value); }
  TColor DownColor() const { return downColor_; }
  void SetDownColor(TColor Value) { StoreAndRecalculate(downColor_, Value); }

  // The owned series of the other styles (nullptr once freed elsewhere).
  TAreaSeries* AreaOutput() const;
  TVolumeSeries* VolumeOutput() const;
  THistogramSeries* HistogramOutput() const;
  TChartPen* AreaPen() const;
  TChartPen* HistogramPen() const;

  std::string EditorClassName() const override { return "TMoneyFlowFuncEditor"; }
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  // Copies the owning series into Target, coloured by the sign of each value.
  void Refill(TChartSeries* Target);

  TFunctionOutputs outputs_{this};  // area, volume, histogram: the styles' order
  TCMFStyle style_ = cmfLine;
  TColor upColor_ = TColor(0x8000), downColor_ = TColor(255);
};

// %K of the stochastic oscillator: where the value stands between the window's
// lowest "Low" and highest "High" (the value itself without those lists).
class TStochasticFunction : public TLumMovingFunction {
  DECLARE_CLASS(TStochasticFunction, TLumMovingFunction)
public:
  explicit TStochasticFunction(TComponent* AOwner) : TLumMovingFunction(AOwner) {}
  double Calculate(TChartSeries* Source, int First, int Last) override;

protected:
  void DoCalculation(TChartSeries* Source) override;
};

// Relative vigor in the owning series, its 4-point mean in an owned signal line.
class TRVIFunction : public TLumFunction {
  DECLARE_CLASS(TRVIFunction, TLumFunction)
public:
  explicit TRVIFunction(TComponent* AOwner);

  TFastLineSeries* SignalLine() const;
  TChartPen* SignalPen() const;

  std::string EditorClassName() const override { return "TRVIFuncEditor"; }
  bool IsValidSource(TChartSeries* Value) override { return IsPriceSource(Value); }
  void AddPoints(const std::vector<TChartSeries*>& Sources) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  TFunctionOutputs outputs_{this};
};
