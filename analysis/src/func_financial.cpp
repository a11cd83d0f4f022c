#include "analysis/func_financial.h"

#include <algorithm>
#include <span>

#include "analysis/candle.h"
#include "analysis/financial_kernels.h"
#include "analysis/func_outputs.h"
#include "analysis/histogram.h"
#include "chart/series.h"
#include "chart/stdseries.h"
#include "engine/valuelist.h"

namespace K = FinancialKernels;

IMPLEMENT_CLASS_PROPS(TADXFunction, TLumFunction)
IMPLEMENT_CLASS_PROPS(TATRFunction, TLumFunction)
IMPLEMENT_CLASS_PROPS(TRSIFunction, TLumMovingFunction)
IMPLEMENT_CLASS_PROPS(TCLVFunction, TLumFunction)
IMPLEMENT_CLASS_PROPS(TMoneyFlowFunction, TCLVFunction)
IMPLEMENT_CLASS_PROPS(TStochasticFunction, TLumMovingFunction)
IMPLEMENT_CLASS_PROPS(TRVIFunction, TLumFunction)

bool IsPriceSource(TChartSeries* Source) { return dynamic_cast<TOHLCSeries*>(Source) != nullptr; }

namespace {

// The first price source of a recalculation, or nullptr.
TOHLCSeries* PriceSource(const std::vector<TChartSeries*>& Sources) {
  for (TChartSeries* s : Sources)
    if (auto* bars = dynamic_cast<TOHLCSeries*>(s)) return bars;
  return nullptr;
}

// The bars' lists as arrays.
struct TBars {
  explicit TBars(TOHLCSeries* S)
      : X(S->XValues()->Values()), O(S->OpenValues()->Values()), H(S->HighValues()->Values()),
        L(S->LowValues()->Values()), C(S->CloseValues()->Values()), n(S->Count()) {}
  const std::vector<double>&X, &O, &H, &L, &C;
  int n;
};

// The named list of Source, else Fallback.
const std::vector<double>& ListOr(TChartSeries* Source, const char* Name, const std::vector<double>& Fallback) {
  TChartValueList* l = Source->GetValueListByName(Name);
  return l ? l->Values() : Fallback;
}

const std::vector<double> NoValues;

// A window of Source as the framework hands it (First -1: the whole source), cut
// to the source's points; false when nothing is left.
bool ClampWindow(TChartSeries* Source, int& First, int& Last) {
  if (First < 0) {
    First = 0;
    Last = Source->Count() - 1;
  }
  Last = std::min(Last, Source->Count() - 1);
  return First <= Last;
}

// Values[i] at X[i] for i from First.
std::span<const double> From(const std::vector<double>& Values, int First) {
  return std::span<const double>(Values).subspan(size_t(std::min(First, int(Values.size()))));
}

// Empties Line, puts it on the owner's chart and axes and gives it Y[i] at X[i]
// for i from First.
void FillOutput(const TFunctionOutputs& Outputs, TChartSeries* Line, const std::vector<double>& X,
                const std::vector<double>& Y, int First) {
  if (!Line) return;
  Outputs.Prepare(Line);
  TFunctionOutputs::Fill(Line, From(X, First), From(Y, First));
}

void EmptyOutput(TChartSeries* Line) {
  if (Line && Line->Count() > 0) Line->Clear();
}

}  // namespace

// ---- ADX ---------------------------------------------------------------------
TADXFunction::TADXFunction(TComponent* AOwner) : TLumFunction(AOwner) {
  InternalSetPeriod(14);
  outputs_.Add<TFastLineSeries>(TColor(0x8000));
  outputs_.Add<TFastLineSeries>(TColor(255));
}

TFastLineSeries* TADXFunction::UpLine() const { return static_cast<TFastLineSeries*>(outputs_.Items(0)); }
TFastLineSeries* TADXFunction::DownLine() const { return static_cast<TFastLineSeries*>(outputs_.Items(1)); }
TChartPen* TADXFunction::UpLinePen() const { return UpLine() ? UpLine()->Pen() : nullptr; }
TChartPen* TADXFunction::DownLinePen() const { return DownLine() ? DownLine()->Pen() : nullptr; }

void TADXFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  EmptyOutput(UpLine());
  EmptyOutput(DownLine());
  TOHLCSeries* src = PriceSource(Sources);
  if (!src) return;
  const TBars b(src);
  std::vector<double> up(size_t(b.n)), down(size_t(b.n)), adx(size_t(b.n));
  int linesFirst;
  const int first = K::ADX(b.H.data(), b.L.data(), b.C.data(), b.n, Period(), up.data(), down.data(), adx.data(),
                           linesFirst);
  AddFunctionXYs(From(b.X, first), From(adx, first));
  if (linesFirst >= b.n) return;
  FillOutput(outputs_, UpLine(), b.X, up, linesFirst);
  FillOutput(outputs_, DownLine(), b.X, down, linesFirst);
}

void TADXFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TADXFunction*>(Source)) {
    TFunctionOutputs::CopyPen(UpLinePen(), src->UpLinePen());
    TFunctionOutputs::CopyPen(DownLinePen(), src->DownLinePen());
  }
  TLumFunction::Assign(Source);
}

void TADXFunction::DefineProperties(TPropertyTable& t) {
  t.Float("Period", &TLumFunction::Period, &TLumFunction::SetPeriod).Default(14.0L);
  t.Object("DownLinePen", &TADXFunction::DownLinePen);
  t.Object("UpLinePen", &TADXFunction::UpLinePen);
}

// ---- ATR ---------------------------------------------------------------------
TATRFunction::TATRFunction(TComponent* AOwner) : TLumFunction(AOwner) { InternalSetPeriod(14); }

void TATRFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  TOHLCSeries* src = PriceSource(Sources);
  if (!src) return;
  const TBars b(src);
  std::vector<double> atr(size_t(b.n));
  const int first = K::ATR(b.H.data(), b.L.data(), b.C.data(), b.n, Period(), atr.data());
  AddFunctionXYs(From(b.X, first), From(atr, first));
}

void TATRFunction::DefineProperties(TPropertyTable& t) {
  t.Float("Period", &TLumFunction::Period, &TLumFunction::SetPeriod).Default(14.0L);
}

// ---- R.S.I. ------------------------------------------------------------------
TRSIFunction::TRSIFunction(TComponent* AOwner) : TLumMovingFunction(AOwner) {}

double TRSIFunction::Calculate(TChartSeries* Source, int First, int Last) {
  if (!ClampWindow(Source, First, Last)) return 100;
  const std::vector<double>& close = ListOr(Source, "Close", GetValueListForSeries(Source)->Values());
  const std::vector<double>& open = ListOr(Source, "Open", close);
  return K::RSIWindow(open.data(), close.data(), First, Last, style_ == rsiClose);
}

void TRSIFunction::DoCalculation(TChartSeries* Source) {
  const int w = K::PeriodPoints(PeriodValue()), n = Source->Count();
  if (w < 1) {
    TLumMovingFunction::DoCalculation(Source);
    return;
  }
  const std::vector<double>& close = ListOr(Source, "Close", GetValueListForSeries(Source)->Values());
  const std::vector<double>& open = ListOr(Source, "Open", close);
  std::vector<double> rsi(static_cast<size_t>(n));
  // Results start at the first full window's last point (w - 1), if at all.
  AddWindowResults(Source, w, From(rsi, K::RSI(open.data(), close.data(), n, w, style_ == rsiClose, rsi.data())));
}

void TRSIFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TRSIFunction*>(Source)) style_ = src->style_;
  TLumMovingFunction::Assign(Source);
}

void TRSIFunction::DefineProperties(TPropertyTable& t) {
  t.Enum("Style", &TRSIFunction::Style, &TRSIFunction::SetStyle, {"rsiOpenClose", "rsiClose"})
      .Default((long long)rsiOpenClose);
}

// ---- CLV ---------------------------------------------------------------------
TCLVFunction::TCLVFunction(TComponent* AOwner) : TLumFunction(AOwner) { InternalSetPeriod(1); }

TCLVFunction::~TCLVFunction() {
  if (volume_) volume_->RemoveFreeNotification(this);
}

void TCLVFunction::SetVolume(TChartSeries* Value) {
  if (Value == volume_) return;
  if (volume_) volume_->RemoveFreeNotification(this);
  volume_ = Value;
  if (volume_) volume_->FreeNotification(this);
  Recalculate();
}

void TCLVFunction::Notification(TComponent* AComponent, TOperation Operation) {
  TLumFunction::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == volume_) volume_ = nullptr;
}

const std::vector<double>& TCLVFunction::VolumeValues() const {
  return volume_ ? volume_->MandatoryValueList()->Values() : NoValues;
}

void TCLVFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  TOHLCSeries* src = PriceSource(Sources);
  if (!src) return;
  const TBars b(src);
  const std::vector<double>& v = VolumeValues();
  std::vector<double> clv(size_t(b.n));
  const int first =
      K::CLV(b.H.data(), b.L.data(), b.C.data(), b.n, v.data(), int(v.size()), accumulate_, clv.data());
  AddFunctionXYs(From(b.X, first), From(clv, first));
}

void TCLVFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TCLVFunction*>(Source)) {
    accumulate_ = src->accumulate_;
    if (src->volume_ != volume_) {
      if (volume_) volume_->RemoveFreeNotification(this);
      volume_ = src->volume_;
      if (volume_) volume_->FreeNotification(this);
    }
  }
  TLumFunction::Assign(Source);
}

void TCLVFunction::DefineProperties(TPropertyTable& t) {
  t.Float("Period", &TLumFunction::Period, &TLumFunction::SetPeriod).Default(1.0L);
  t.Bool("Accumulate", &TCLVFunction::Accumulate, &TCLVFunction::SetAccumulate).Default(true);
}

// ---- Money flow --------------------------------------------------------------
namespace {

// A money-flow output: bars or a fill from the zero line, a colour per point,
// shown only in its style.
template <class S>
void SetupFlowOutput(S* Series) {
  Series->SetUseYOrigin(true);
  Series->SetYOrigin(0);
  Series->SetColorEachPoint(true);
  Series->SetActive(false);
}

}  // namespace

TMoneyFlowFunction::TMoneyFlowFunction(TComponent* AOwner) : TCLVFunction(AOwner) {
  InternalSetPeriod(21);
  SetAccumulate(false);
  auto* area = outputs_.Add<TAreaSeries>();
  area->AreaLinesPen()->Hide();
  SetupFlowOutput(area);
  SetupFlowOutput(outputs_.Add<TVolumeSeries>());
  SetupFlowOutput(outputs_.Add<THistogramSeries>());
}

TAreaSeries* TMoneyFlowFunction::AreaOutput() const { return static_cast<TAreaSeries*>(outputs_.Items(0)); }
TVolumeSeries* TMoneyFlowFunction::VolumeOutput() const {
  return static_cast<TVolumeSeries*>(outputs_.Items(1));
}
THistogramSeries* TMoneyFlowFunction::HistogramOutput() const {
  return static_cast<THistogramSeries*>(outputs_.Items(2));
}
TChartPen* TMoneyFlowFunction::AreaPen() const { return AreaOutput() ? AreaOutput()->Pen() : nullptr; }
TChartPen* TMoneyFlowFunction::HistogramPen() const { return HistogramOutput() ? HistogramOutput()->Pen() : nullptr; }

void TMoneyFlowFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  TOHLCSeries* src = PriceSource(Sources);
  if (src && Volume()) {
    const TBars b(src);
    const std::vector<double>& v = VolumeValues();
    std::vector<double> flow(size_t(b.n));
    const int first = K::MoneyFlow(b.H.data(), b.L.data(), b.C.data(), b.n, v.data(), int(v.size()),
                                   K::PeriodPoints(Period()), flow.data());
    AddFunctionXYs(From(b.X, first), From(flow, first));
  }
  // The style's series mirrors the owner even when that stays empty, so no stale
  // flow is left showing.
  if (TChartSeries* owner = ParentSeries()) owner->SetActive(style_ == cmfLine);
  for (int i = 0; i < 3; ++i)
    if (TChartSeries* s = outputs_.Items(i)) {
      const bool shown = int(style_) == i + 1;
      s->SetActive(shown);
      if (shown) Refill(s);
    }
}

void TMoneyFlowFunction::Refill(TChartSeries* Target) {
  TChartSeries* owner = ParentSeries();
  if (!owner) return;
  outputs_.Prepare(Target);
  Target->BeginUpdate();
  Target->Clear();
  for (int i = 0; i < owner->Count(); ++i) {
    const double y = owner->YValues()->GetValue(i);
    Target->AddXY(owner->XValues()->GetValue(i), y, owner->Labels().GetLabel(i), y >= 0 ? upColor_ : downColor_);
  }
  Target->EndUpdate();
}

void TMoneyFlowFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TMoneyFlowFunction*>(Source)) {
    style_ = src->style_;
    upColor_ = src->upColor_;
    downColor_ = src->downColor_;
    TFunctionOutputs::CopyPen(AreaPen(), src->AreaPen());
    TFunctionOutputs::CopyPen(HistogramPen(), src->HistogramPen());
  }
  TCLVFunction::Assign(Source);
}

void TMoneyFlowFunction::DefineProperties(TPropertyTable& t) {
  t.Float("Period", &TLumFunction::Period, &TLumFunction::SetPeriod).Default(21.0L);
  t.Bool("Accumulate", &TCLVFunction::Accumulate, &TCLVFunction::SetAccumulate).Default(false);
  t.Enum("CMFStyle", &TMoneyFlowFunction::CMFStyle, &TMoneyFlowFunction::SetCMFStyle,
         {"cmfLine", "cmfArea", "cmfVolume", "cmfHistogram"})
      .Default((long long)cmfLine);
  t.Color("DownColor", &TMoneyFlowFunction::DownColor, &TMoneyFlowFunction::SetDownColor).Default(255LL);
  t.Color("UpColor", &TMoneyFlowFunction::UpColor, &TMoneyFlowFunction::SetUpColor).Default(0x8000LL);
  t.Object("AreaPen", &TMoneyFlowFunction::AreaPen);
  t.Object("HistogramPen", &TMoneyFlowFunction::HistogramPen);
}

// ---- Stochastic --------------------------------------------------------------
double TStochasticFunction::Calculate(TChartSeries* Source, int First, int Last) {
  if (!ClampWindow(Source, First, Last)) return 0;
  const std::vector<double>& v = GetValueListForSeries(Source)->Values();
  const std::vector<double>& high = ListOr(Source, "High", v);
  const std::vector<double>& low = ListOr(Source, "Low", v);
  return K::StochasticWindow(high.data(), low.data(), v.data(), First, Last);
}

void TStochasticFunction::DoCalculation(TChartSeries* Source) {
  const int w = K::PeriodPoints(PeriodValue()), n = Source->Count();
  if (w < 1) {
    TLumMovingFunction::DoCalculation(Source);
    return;
  }
  const std::vector<double>& v = GetValueListForSeries(Source)->Values();
  const std::vector<double>& high = ListOr(Source, "High", v);
  const std::vector<double>& low = ListOr(Source, "Low", v);
  std::vector<double> k(static_cast<size_t>(n));
  // Results start at the first full window's last point (w - 1), if at all.
  AddWindowResults(Source, w, From(k, K::Stochastic(high.data(), low.data(), v.data(), n, w, k.data())));
}

// ---- RVI ---------------------------------------------------------------------
TRVIFunction::TRVIFunction(TComponent* AOwner) : TLumFunction(AOwner) {
  InternalSetPeriod(10);
  outputs_.Add<TFastLineSeries>(TColor(0x8000));
}

TFastLineSeries* TRVIFunction::SignalLine() const {
  return static_cast<TFastLineSeries*>(outputs_.Items(0));
}
TChartPen* TRVIFunction::SignalPen() const { return SignalLine() ? SignalLine()->Pen() : nullptr; }

void TRVIFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  EmptyOutput(SignalLine());
  TOHLCSeries* src = PriceSource(Sources);
  if (!src) return;
  const TBars b(src);
  std::vector<double> rvi(size_t(b.n)), signal(size_t(b.n));
  int signalFirst;
  const int first =
      K::RVI(b.O.data(), b.H.data(), b.L.data(), b.C.data(), b.n, Period(), rvi.data(), signal.data(), signalFirst);
  AddFunctionXYs(From(b.X, first), From(rvi, first));
  if (signalFirst < b.n) FillOutput(outputs_, SignalLine(), b.X, signal, signalFirst);
}

void TRVIFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TRVIFunction*>(Source)) TFunctionOutputs::CopyPen(SignalPen(), src->SignalPen());
  TLumFunction::Assign(Source);
}

void TRVIFunction::DefineProperties(TPropertyTable& t) {
  t.Float("Period", &TLumFunction::Period, &TLumFunction::SetPeriod).Default(10.0L);
  t.Object("SignalPen", &TRVIFunction::SignalPen);
}
