#include "analysis/func_oscillators.h"

#include <cmath>
#include <span>
#include <unordered_map>

#include "analysis/candle.h"
#include "analysis/kernels.h"
#include "chart/series.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TExpMovAveFunction, TLumFunction)
IMPLEMENT_CLASS_PROPS(TMACDFunction, TLumMovingFunction)
IMPLEMENT_CLASS_PROPS(TBollingerFunction, TLumFunction)
IMPLEMENT_CLASS_PROPS(TPriceOscillatorFunction, TLumFunction)
IMPLEMENT_CLASS(TAOFunction, TPriceOscillatorFunction)
IMPLEMENT_CLASS(TACFunction, TPriceOscillatorFunction)
IMPLEMENT_CLASS_PROPS(TAlligatorFunction, TLumFunction)
IMPLEMENT_CLASS(TGatorFunction, TLumFunction)

namespace {

// An output series' published pen takes the other function's (either may be gone).
// A series of points (X, value), the way the kernels hand them over.
struct TLine {
  std::vector<double> X, Y;
  size_t Count() const { return X.size(); }
};

TChartSeries* FirstSource(const std::vector<TChartSeries*>& Sources) {
  return Sources.empty() ? nullptr : Sources.front();
}

// Adds (X, Y) to S in Color, the pair swapped when S is horizontal.
void AddTo(TChartSeries* S, double X, double Y, TColor Color = clLumColor) {
  if (S->MandatoryValueList() == S->YValues()) S->AddXY(X, Y, "", Color);
  else S->AddXY(Y, X, "", Color);
}

// An update block of S (none for nullptr) that ends however the scope is left.
class TUpdateBlock {
public:
  explicit TUpdateBlock(TChartSeries* S) : s_(S) {
    if (s_) s_->BeginUpdate();
  }
  ~TUpdateBlock() {
    if (s_) s_->EndUpdate();
  }
  TUpdateBlock(const TUpdateBlock&) = delete;
  TUpdateBlock& operator=(const TUpdateBlock&) = delete;

private:
  TChartSeries* s_;
};

void ClearSeries(TChartSeries* S) {
  if (S && S->Count() > 0) S->Clear();
}

std::vector<double> ValuesOf(const TChartValueList* List) { return List->Values(); }

// The exponential average of Period over X (k = 2 / (Period + 1)); none unless
// Period > 0 and there are two values.
std::vector<double> ExpMovAve(std::span<const double> X, double Period) {
  if (!(Period > 0) || X.size() < 2) return {};
  return Kernels::ExpAverage(X, 2 / (Period + 1));
}

// The median price (H + L) / 2 of each bar of an OHLC series.
std::vector<double> MedianPrices(TOHLCSeries* S) {
  std::vector<double> m(size_t(S->Count()));
  for (int i = 0; i < S->Count(); ++i) m[size_t(i)] = (S->HighValues()->GetValue(i) + S->LowValues()->GetValue(i)) / 2;
  return m;
}

// The index of the first equal X of each value (a value list's Locate, at once).
class TFirstIndex {
public:
  explicit TFirstIndex(std::span<const double> X) {
    for (size_t i = 0; i < X.size(); ++i) map_.emplace(X[i], i);  // emplace keeps the first
  }
  bool Find(double X, size_t& Index) const {
    auto it = map_.find(X);
    if (it == map_.end()) return false;
    Index = it->second;
    return true;
  }

private:
  std::unordered_map<double, size_t> map_;
};

// The moving average of Period (aligned to its window's last point) of a line.
TLine MovingAverageLine(const TLine& In, int Period) {
  TLine out;
  out.Y = Kernels::MovingAverage(In.Y, Period);
  out.X.assign(In.X.begin() + std::ptrdiff_t(In.Count() - out.Y.size()), In.X.end());
  return out;
}

// A minus B at each X of Along found in both (first equal X).
TLine DifferenceAt(std::span<const double> Along, const TLine& A, const TLine& B) {
  const TFirstIndex inA(A.X), inB(B.X);
  TLine out;
  for (double x : Along) {
    size_t a, b;
    if (inA.Find(x, a) && inB.Find(x, b)) {
      out.X.push_back(x);
      out.Y.push_back(A.Y[a] - B.Y[b]);
    }
  }
  return out;
}

// The awesome oscillator of an OHLC series; nothing below 34 bars.
TLine AwesomeLine(TOHLCSeries* S) {
  if (S->Count() < 34) return {};
  TLine median{ValuesOf(S->XValues()), MedianPrices(S)};
  return DifferenceAt(median.X, MovingAverageLine(median, 5), MovingAverageLine(median, 34));
}

// Oscillator bars: green when rising, red when falling against the previous bar;
// the second bar recolours the first.
void AddOscillatorPoint(TChartSeries* S, double X, double V) {
  const TChartValueList* values = S->MandatoryValueList();
  TColor c = S->SeriesColor();
  if (S->Count() == 1) {
    c = values->GetValue(0) > V ? clRed : clGreen;
    S->SetValueColor(0, c);
  } else if (S->Count() > 1) {
    c = values->Last() < V ? clGreen : clRed;
  }
  AddTo(S, X, V, c);
}

// Histogram bars of the gator: red when the distance shrinks or stays, else green.
void AddGatorPoint(TChartSeries* S, double X, double V) {
  const TChartValueList* values = S->MandatoryValueList();
  TColor c = S->SeriesColor();
  if (S->Count() == 1) {
    c = std::fabs(V) < std::fabs(values->GetValue(0)) ? clRed : clGreen;
    S->SetValueColor(0, c);
  } else if (S->Count() > 1) {
    c = std::fabs(V) <= std::fabs(values->Last()) ? clRed : clGreen;
  }
  AddTo(S, X, V, c);
}

void UseZeroOrigin(TChartSeries* S) {
  if (auto* v = dynamic_cast<TVolumeSeries*>(S)) {
    v->SetUseYOrigin(true);
    v->SetYOrigin(0);
  }
}

void StartOscillator(TChartSeries* S) {
  ClearSeries(S);
  S->SetSeriesColor(clGreen);
  UseZeroOrigin(S);
}

// The gallery's picture of an oscillator: one volume series carrying Function's class.
void OscillatorGallery(TLumFunction* Function, TCustomAxisPanel* Chart) {
  if (!Chart) return;
  Chart->FreeAllSeries();
  TChartSeries* s = Chart->AddSeriesOfClass(TVolumeSeries::StaticClass());
  s->SetFunction(static_cast<TLumFunction*>(Function->ClassType()->NewInstance(nullptr)));
  s->PrepareForGallery(true);
}

TOHLCSeries* PriceSource(const std::vector<TChartSeries*>& Sources) {
  return dynamic_cast<TOHLCSeries*>(FirstSource(Sources));
}

// The alligator's three lines: smoothed averages of the median price, X shifted.
struct TAlligatorLines {
  TLine Jaw, Teeth, Lips;
};

TLine ShiftedSmoothed(const TLine& Median, int Period, double Shift) {
  TLine out;
  out.Y = Kernels::SmoothedAverage(Median.Y, Period, Period);
  for (size_t k = 0; k < out.Y.size(); ++k) out.X.push_back(Median.X[k + size_t(Period) - 1] + Shift);
  return out;
}

// Nothing below 13 bars.
bool AlligatorOf(TOHLCSeries* S, TAlligatorLines& Lines) {
  if (!S || S->Count() < 13) return false;
  const TLine median{ValuesOf(S->XValues()), MedianPrices(S)};
  Lines.Jaw = ShiftedSmoothed(median, 13, 8);
  Lines.Teeth = ShiftedSmoothed(median, 8, 5);
  Lines.Lips = ShiftedSmoothed(median, 5, 3);
  return true;
}

}  // namespace

// ---- Exponential moving average ---------------------------------------------------
TExpMovAveFunction::TExpMovAveFunction(TComponent* AOwner) : TLumFunction(AOwner) { InternalSetPeriod(10); }

void TExpMovAveFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  TChartSeries* source = FirstSource(Sources);
  if (!ParentSeries()) return;
  ClearSeries(ParentSeries());
  if (!source) return;
  const std::vector<double>& xs = source->NotMandatoryValueList()->Values();
  const std::vector<double>& ys = GetValueListForSeries(source)->Values();
  if (!(Period() > 0) || ys.size() < 2) return;
  if (ignoreNulls_ || !source->HasColors()) {  // every point takes part
    AddFunctionXYs(xs, Kernels::ExpAverage(ys, 2 / (Period() + 1)));
    return;
  }
  std::vector<double> x, values;  // the points that take part
  for (size_t i = 0; i < ys.size(); ++i)
    if (!source->IsNull(int(i))) {
      x.push_back(xs[i]);
      values.push_back(ys[i]);
    }
  AddFunctionXYs(x, Kernels::ExpAverage(values, 2 / (Period() + 1)));
}

void TExpMovAveFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TExpMovAveFunction*>(Source)) ignoreNulls_ = src->ignoreNulls_;
  TLumFunction::Assign(Source);
}

void TExpMovAveFunction::DefineProperties(TPropertyTable& t) {
  t.Bool("IgnoreNulls", &TExpMovAveFunction::IgnoreNulls, &TExpMovAveFunction::SetIgnoreNulls).Default(true);
  t.Float("Period", &TLumFunction::Period, &TLumFunction::SetPeriod).Default(10.0L);
}

// ---- MACD -------------------------------------------------------------------------
TMACDFunction::TMACDFunction(TComponent* AOwner) : TLumMovingFunction(AOwner) {
  InternalSetPeriod(26);
  signal_ = outputs_.Add<TFastLineSeries>(clGreen);
  histogram_ = outputs_.Add<TVolumeSeries>(clRed);
  histogram_->SetUseYOrigin(true);
  histogram_->SetYOrigin(0);
}

void TMACDFunction::SetPeriod2(double Value) { StoreAndRecalculate(period2_, Value < 1 ? 1.0 : Value); }

TChartPen* TMACDFunction::MACDPen() const { return ParentSeries() ? ParentSeries()->Pen() : nullptr; }
TChartPen* TMACDFunction::MACDExpPen() const { return signal_ ? signal_->Pen() : nullptr; }
TChartPen* TMACDFunction::HistogramPen() const { return histogram_ ? histogram_->Pen() : nullptr; }

void TMACDFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  TChartSeries* owner = ParentSeries();
  if (!owner) return;
  ClearSeries(owner);
  TChartSeries* source = FirstSource(Sources);
  if (source && source->Count() > 1) {
    const std::vector<double>& xs = source->NotMandatoryValueList()->Values();
    const std::vector<double>& ys = GetValueListForSeries(source)->Values();
    // A period of 0 or below gives no average, so no difference.
    if (period2_ > 0 && Period() > 0)
      AddFunctionXYs(xs, Kernels::ExpAverageDifference(ys, 2 / (period2_ + 1), 2 / (Period() + 1)));
  }
  if (!signal_) return;
  outputs_.Prepare(signal_);
  if (owner->SeriesColor() == clWhite) owner->SetSeriesColor(clBlue);
  const std::vector<double>& mx = owner->NotMandatoryValueList()->Values();
  const std::vector<double>& macd = owner->MandatoryValueList()->Values();
  std::vector<double> line = ExpMovAve(macd, period3_);
  TFunctionOutputs::Fill(signal_, mx, line);
  if (histogram_ && histogram_->Active()) {
    outputs_.Prepare(histogram_);
    for (size_t j = 0; j < line.size(); ++j) line[j] = macd[j] - line[j];
    TFunctionOutputs::Fill(histogram_, mx, line);
  }
}

void TMACDFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TMACDFunction*>(Source)) {
    period2_ = src->period2_;
    period3_ = src->period3_;
    TFunctionOutputs::CopyPen(MACDExpPen(), src->MACDExpPen());
    TFunctionOutputs::CopyPen(HistogramPen(), src->HistogramPen());
  }
  TLumMovingFunction::Assign(Source);
}

void TMACDFunction::DefineProperties(TPropertyTable& t) {
  t.Object("HistogramPen", &TMACDFunction::HistogramPen);
  t.Object("MACDExpPen", &TMACDFunction::MACDExpPen);
  t.Object("MACDPen", &TMACDFunction::MACDPen);
  t.Float("Period", &TLumFunction::Period, &TLumFunction::SetPeriod).Default(26.0L);
  t.Float("Period2", &TMACDFunction::Period2, &TMACDFunction::SetPeriod2).Default(12.0L);
  t.Int("Period3", &TMACDFunction::Period3, &TMACDFunction::SetPeriod3).Default(9LL);
}

// ---- Bollinger bands ----------------------------------------------------------------
TBollingerFunction::TBollingerFunction(TComponent* AOwner) : TLumFunction(AOwner) {
  InternalSetPeriod(10);
  lower_ = outputs_.Add<TFastLineSeries>();
}

TChartPen* TBollingerFunction::UpperBandPen() const { return ParentSeries() ? ParentSeries()->Pen() : nullptr; }
TChartPen* TBollingerFunction::LowBandPen() const { return lower_ ? lower_->Pen() : nullptr; }

void TBollingerFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  TChartSeries* owner = ParentSeries();
  if (!owner) return;
  if (lower_) {
    outputs_.Prepare(lower_);
    lower_->SetSeriesColor(owner->SeriesColor());
    if (lower_->ClassType() == owner->ClassType()) lower_->Pen()->Assign(owner->Pen());
  }
  const double P = Period();
  TChartSeries* source = FirstSource(Sources);
  if (!(P > 0) || !source) return;
  ClearSeries(owner);
  ClearSeries(lower_);
  const long w = std::lround(P);
  const std::vector<double>& xs = source->NotMandatoryValueList()->Values();
  const std::vector<double>& ys = GetValueListForSeries(source)->Values();
  const size_t n = ys.size();
  if (w < 1 || n < size_t(w)) return;
  // The average of the window ending at i − 1: the exponential one at i − 1, the
  // simple one of the window starting at i − w.
  const std::vector<double> avg = exponential_ ? ExpMovAve(ys, P) : Kernels::MovingAverage(ys, int(w));
  if (avg.empty()) return;  // one point: no exponential average to read
  // The band's variance is (P·Σx² − (Σx)²) / P² over the w values; in two passes
  // that is M2 / P + (Σx)²·(P − w) / (w·P²), the second term 0 for a whole period.
  const std::vector<double> var = Kernels::MovingVariance(ys, int(w), 0);
  const bool whole = double(w) == P;
  const std::vector<double> sums = whole ? std::vector<double>() : Kernels::MovingSums(ys, int(w));
  std::vector<double> upper(n - size_t(w) + 1), lower(upper.size());
  for (size_t i = size_t(w); i <= n; ++i) {
    const size_t k = i - size_t(w);
    double v = var[k];
    if (!whole) v = var[k] * double(w) / P + sums[k] * sums[k] * (P - double(w)) / (double(w) * P * P);
    const double sd = v > 0 ? std::sqrt(v) : 0;
    const double mean = exponential_ ? avg[i - 1] : avg[k];
    upper[k] = mean + deviation_ * sd;
    lower[k] = mean - deviation_ * sd;
  }
  const std::span<const double> at(xs.data() + (w - 1), upper.size());  // each window's last X
  AddFunctionXYs(at, upper);
  TFunctionOutputs::Fill(lower_, at, lower);
}

void TBollingerFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TBollingerFunction*>(Source)) {
    deviation_ = src->deviation_;
    exponential_ = src->exponential_;
    TFunctionOutputs::CopyPen(LowBandPen(), src->LowBandPen());
  }
  TLumFunction::Assign(Source);
}

void TBollingerFunction::DefineProperties(TPropertyTable& t) {
  t.Float("Deviation", &TBollingerFunction::Deviation, &TBollingerFunction::SetDeviation).Default(2.0L);
  t.Bool("Exponential", &TBollingerFunction::Exponential, &TBollingerFunction::SetExponential).Default(true);
  t.Object("LowBandPen", &TBollingerFunction::LowBandPen);
  t.Float("Period", &TLumFunction::Period, &TLumFunction::SetPeriod).Default(10.0L);
  t.Object("UpperBandPen", &TBollingerFunction::UpperBandPen);
}

// ---- Awesome and accelerator oscillators --------------------------------------------
TPriceOscillatorFunction::TPriceOscillatorFunction(TComponent* AOwner) : TLumFunction(AOwner) { InternalSetPeriod(1); }

bool TPriceOscillatorFunction::IsValidSource(TChartSeries* Value) {
  return dynamic_cast<TOHLCSeries*>(Value) != nullptr;
}

void TPriceOscillatorFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  TOHLCSeries* source = PriceSource(Sources);
  if (!ParentSeries() || !source || Period() < 1) return;
  StartOscillator(ParentSeries());
  TLine line;
  Oscillate(source, line.X, line.Y);
  for (size_t i = 0; i < line.Count(); ++i) AddOscillatorPoint(ParentSeries(), line.X[i], line.Y[i]);
}

void TPriceOscillatorFunction::PrepareForGallery(TCustomAxisPanel* Chart) { OscillatorGallery(this, Chart); }

void TPriceOscillatorFunction::DefineProperties(TPropertyTable& t) {
  t.Float("Period", &TLumFunction::Period, &TLumFunction::SetPeriod).Default(1.0L);
}

void TAOFunction::Oscillate(TOHLCSeries* Source, std::vector<double>& X, std::vector<double>& Y) const {
  TLine ao = AwesomeLine(Source);
  X = std::move(ao.X);
  Y = std::move(ao.Y);
}

void TACFunction::Oscillate(TOHLCSeries* Source, std::vector<double>& X, std::vector<double>& Y) const {
  const TLine ao = AwesomeLine(Source);
  TLine ac = DifferenceAt(ao.X, ao, MovingAverageLine(ao, 5));
  X = std::move(ac.X);
  Y = std::move(ac.Y);
}

// ---- Alligator and gator ------------------------------------------------------------
TAlligatorFunction::TAlligatorFunction(TComponent* AOwner) : TLumFunction(AOwner) {
  teeth_ = outputs_.Add<TFastLineSeries>(clRed);
  lips_ = outputs_.Add<TFastLineSeries>(clGreen);
}

TChartPen* TAlligatorFunction::TeethPen() const { return teeth_ ? teeth_->Pen() : nullptr; }
TChartPen* TAlligatorFunction::LipsPen() const { return lips_ ? lips_->Pen() : nullptr; }

bool TAlligatorFunction::IsValidSource(TChartSeries* Value) { return dynamic_cast<TOHLCSeries*>(Value) != nullptr; }

void TAlligatorFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  TChartSeries* owner = ParentSeries();
  if (!owner) return;
  owner->SetSeriesColor(clBlue);
  TAlligatorLines lines;
  if (!AlligatorOf(PriceSource(Sources), lines)) return;
  ClearSeries(owner);
  AddFunctionXYs(lines.Jaw.X, lines.Jaw.Y);
  for (auto [target, line] : {std::pair{teeth_, &lines.Teeth}, std::pair{lips_, &lines.Lips}}) {
    if (!target) continue;
    outputs_.Prepare(target);
    TFunctionOutputs::Fill(target, line->X, line->Y);
  }
}

void TAlligatorFunction::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TAlligatorFunction*>(Source)) {
    TFunctionOutputs::CopyPen(TeethPen(), src->TeethPen());
    TFunctionOutputs::CopyPen(LipsPen(), src->LipsPen());
  }
  TLumFunction::Assign(Source);
}

void TAlligatorFunction::DefineProperties(TPropertyTable& t) {
  t.Object("LipsPen", &TAlligatorFunction::LipsPen);
  t.Object("TeethPen", &TAlligatorFunction::TeethPen);
}

TGatorFunction::TGatorFunction(TComponent* AOwner) : TLumFunction(AOwner) { lower_ = outputs_.Add<TVolumeSeries>(); }

void TGatorFunction::AddPoints(const std::vector<TChartSeries*>& Sources) {
  TChartSeries* upper = ParentSeries();
  if (!upper) return;
  ClearSeries(upper);
  UseZeroOrigin(upper);
  if (lower_) {
    outputs_.Prepare(lower_);
    ClearSeries(lower_);
    UseZeroOrigin(lower_);
  }
  TAlligatorLines lines;
  if (!AlligatorOf(PriceSource(Sources), lines)) return;
  // Paired by index: the teeth and lips lines start later in X than the jaw.
  TUpdateBlock block(lower_);
  for (size_t j = 0; j < lines.Jaw.Count(); ++j) {
    const double x = lines.Jaw.X[j];
    AddGatorPoint(upper, x, std::fabs(lines.Jaw.Y[j] - lines.Teeth.Y[j]));
    if (lower_) AddGatorPoint(lower_, x, -std::fabs(lines.Teeth.Y[j] - lines.Lips.Y[j]));
  }
}

void TGatorFunction::PrepareForGallery(TCustomAxisPanel* Chart) { OscillatorGallery(this, Chart); }
