#include "engine/axis.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "engine/datetimesteps.h"
#include "engine/errors.h"
#include "engine/panel.h"
#include "engine/series.h"
#include "engine/tools.h"
#include "platform/dateutils.h"

IMPLEMENT_CLASS_PROPS(TAxisGridPen, TChartPen)
IMPLEMENT_CLASS_PROPS(TChartAxisTitle, TLumCustomShape)
IMPLEMENT_CLASS_PROPS(TChartAxis, TPersistent)
IMPLEMENT_CLASS(TChartCustomAxes, TPersistent)

namespace {
// Gap in pixels between ticks and labels, and between labels and the title.
constexpr int LabelGap = 2;
// Labels an axis draws at most, whatever its length (a guard, not a layout rule).
constexpr int MaxLabels = 10000;

// The smallest of 1, 2, 5 x 10^n that is not below Value (Value > 0).
double NiceStepAtLeast(double Value) {
  double base = std::pow(10.0, std::floor(std::log10(Value)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * base >= Value * (1 - 1e-12)) return m * base;
  return 10 * base;
}

// The next 1-2-5 step above Step.
double NextNiceStep(double Step) { return NiceStepAtLeast(Step * (1 + 1e-9)); }

// Picture of labels written with an exponent.
const std::string LabelsExponentFormat = "0.###E+0";
}  // namespace

// ---------------------------------------------------------------------------
TAxisGridPen::TAxisGridPen(TNotifyEvent OnChangeEvent) : TChartPen(std::move(OnChangeEvent)) {}

void TAxisGridPen::SetDrawEvery(int Value) { Store(drawEvery_, std::max(1, Value)); }

void TAxisGridPen::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TAxisGridPen*>(Source)) {
    centered_ = src->centered_;
    zPosition_ = src->zPosition_;
    drawEvery_ = src->drawEvery_;
  }
  TChartPen::Assign(Source);
}

void TAxisGridPen::DefineProperties(TPropertyTable& t) {
  t.Bool("Centered", &TAxisGridPen::Centered, &TAxisGridPen::SetCentered).Default(false);
  t.Int("DrawEvery", &TAxisGridPen::DrawEvery, &TAxisGridPen::SetDrawEvery).Default(1LL);
  t.Float("ZPosition", &TAxisGridPen::ZPosition, &TAxisGridPen::SetZPosition).Default((long double)0);
}

// ---------------------------------------------------------------------------
TChartAxisTitle::TChartAxisTitle(TCustomAxisPanel* AChart, TChartAxis* AAxis)
    : TLumCustomShape(AChart), axis_(AAxis) {
  SetTransparent(true);
}

void TChartAxisTitle::SetCaption(const std::string& Value) { Store(caption_, Value); }

void TChartAxisTitle::SetAngle(int Value) { Store(angle_, Value); }

void TChartAxisTitle::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TChartAxisTitle*>(Source)) {
    caption_ = src->caption_;
    angle_ = src->angle_;
  }
  TLumCustomShape::Assign(Source);
}

void TChartAxisTitle::DefineProperties(TPropertyTable& t) {
  t.Int("Angle", &TChartAxisTitle::Angle, &TChartAxisTitle::SetAngle).Default(0LL);
  t.Str("Caption", &TChartAxisTitle::Caption, &TChartAxisTitle::SetCaption).Default(std::string());
  t.Bool("Transparent", &TChartAxisTitle::Transparent, &TChartAxisTitle::SetTransparent).Default(true);
}

// ---------------------------------------------------------------------------
TChartAxis::TChartAxis(TCustomAxisPanel* AChart) : chart_(AChart) { Init(AChart); }

TChartAxis::TChartAxis(TChartCustomAxes* ACollection) : chart_(ACollection ? ACollection->Chart() : nullptr) {
  customAxes_ = ACollection;
  Init(chart_);
  if (customAxes_) customAxes_->items_.push_back(this);
}

void TChartAxis::Init(TCustomAxisPanel* AChart) {
  labelsFont_ = std::make_unique<TLumFont>(ChangeHandler());
  axisPen_ = std::make_unique<TChartPen>(ChangeHandler());
  axisPen_->SetWidth(2);
  ticks_ = std::make_unique<TChartPen>(ChangeHandler());
  ticks_->SetColor(clDkGray);
  ticksInner_ = std::make_unique<TChartPen>(ChangeHandler());
  ticksInner_->SetColor(clDkGray);
  minorTicks_ = std::make_unique<TChartPen>(ChangeHandler());
  minorTicks_->SetColor(clDkGray);
  grid_ = std::make_unique<TAxisGridPen>(ChangeHandler());
  grid_->SetColor(clGray);
  grid_->SetStyle(psDot);
  for (TChartPen* pen : {axisPen_.get(), ticks_.get(), ticksInner_.get(), minorTicks_.get()}) RecordDefaults(pen);
  RecordDefaults(grid_.get());
  minorGrid_ = std::make_unique<TChartHiddenPen>(ChangeHandler());
  minorGrid_->SetColor(clGray);
  minorGrid_->SetStyle(psDot);
  RecordDefaults(minorGrid_.get());
  items_ = std::make_unique<TAxisItems>(this);
  if (AChart) AChart->Axes()->items_.push_back(this);
}

TChartAxis::~TChartAxis() {
  if (customAxes_) {
    auto& v = customAxes_->items_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  if (chart_ && chart_->Axes()) {
    auto& v = chart_->Axes()->items_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    // Series drawn against this axis go back to the standard one.
    for (TChartSeries* s : chart_->SeriesList()) {
      if (s->CustomHorizAxis() == this) s->SetCustomHorizAxis(nullptr);
      if (s->CustomVertAxis() == this) s->SetCustomVertAxis(nullptr);
    }
    // Axis tools let go of it (a hook of theirs would otherwise outlive it), and so do
    // the listeners that show it (editor pages).
    if (!chart_->Destroying()) {
      for (TLumCustomTool* t : std::vector<TLumCustomTool*>(chart_->Tools()->begin(), chart_->Tools()->end()))
        if (auto* at = dynamic_cast<TLumCustomToolAxis*>(t); at && at->Axis() == this) at->SetAxis(nullptr);
      chart_->Listeners().Broadcast(TLumAxisEvent(chart_, this));
    }
  }
}

TPersistent* TChartAxis::GetOwner() { return chart_; }

void TChartAxis::Changed(TObject*) { Repaint(); }

void TChartAxis::Repaint() {
  if (chart_) chart_->Invalidate();
}

bool TChartAxis::Loading() const {
  return chart_ && chart_->HasState(csLoading | csReading);
}

namespace {
template <class T>
bool StoreField(T& Field, const T& Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}
}  // namespace

#define AXIS_SETTER(Name, Type, Field) \
  void TChartAxis::Set##Name(Type Value) { if (StoreField(Field, Value)) Repaint(); }

AXIS_SETTER(Automatic, bool, automatic_)
AXIS_SETTER(AutomaticMinimum, bool, automaticMinimum_)
AXIS_SETTER(AutomaticMaximum, bool, automaticMaximum_)
AXIS_SETTER(MinimumOffset, int, minimumOffset_)
AXIS_SETTER(MaximumOffset, int, maximumOffset_)
AXIS_SETTER(Horizontal, bool, horizontal_)
AXIS_SETTER(OtherSide, bool, otherSide_)
AXIS_SETTER(Inverted, bool, inverted_)
AXIS_SETTER(Visible, bool, visible_)
AXIS_SETTER(Labels, bool, labels_)
AXIS_SETTER(LabelsSize, int, labelsSize_)
AXIS_SETTER(TickLength, int, tickLength_)
AXIS_SETTER(TickInnerLength, int, tickInnerLength_)
AXIS_SETTER(MinorTickLength, int, minorTickLength_)
AXIS_SETTER(TitleSize, int, titleSize_)
AXIS_SETTER(ExactDateTime, bool, exactDateTime_)
AXIS_SETTER(LabelStyle, TAxisLabelStyle, labelStyle_)
AXIS_SETTER(LabelsAlign, TAxisLabelAlign, labelsAlign_)
AXIS_SETTER(LabelsAlternate, bool, labelsAlternate_)
AXIS_SETTER(LabelsBehind, bool, labelsBehind_)
AXIS_SETTER(LabelsExponent, bool, labelsExponent_)
AXIS_SETTER(LabelsMultiLine, bool, labelsMultiLine_)
AXIS_SETTER(LabelsOnAxis, bool, labelsOnAxis_)
AXIS_SETTER(RoundFirstLabel, bool, roundFirstLabel_)
AXIS_SETTER(MinimumRound, bool, minimumRound_)
AXIS_SETTER(MaximumRound, bool, maximumRound_)
AXIS_SETTER(PositionPercent, double, positionPercent_)
AXIS_SETTER(PositionUnits, TAxisPositionUnits, positionUnits_)
AXIS_SETTER(TickOnLabelsOnly, bool, tickOnLabelsOnly_)
AXIS_SETTER(ZPosition, double, zPosition_)
#undef AXIS_SETTER

void TChartAxis::SetDateTimeFormat(const std::string& Value) {
  if (StoreField(dateTimeFormat_, Value)) Repaint();
}

void TChartAxis::SetLabelsAngle(int Value) {
  if (StoreField(labelsAngle_, ((Value % 360) + 360) % 360)) Repaint();
}

int TChartAxis::LabelsQuarterTurn() const { return (labelsAngle_ + 45) / 90 * 90 % 360; }

void TChartAxis::SetStartPosition(double Value) {
  if (StoreField(startPosition_, Value)) Repaint();
}

void TChartAxis::SetEndPosition(double Value) {
  if (StoreField(endPosition_, Value)) Repaint();
}

void TChartAxis::SetLogarithmic(bool Value) {
  if (Value == logarithmic_) return;
  // An axis without a range yet (both ends 0, no data) takes the flag; its scale
  // turns logarithmic once the range is above zero.
  if (Value && !Loading() && !isDepthAxis_) {
    if (automatic_) AdjustMaxMin();
    if ((minimum_ != 0 || maximum_ != 0) && (minimum_ <= 0 || maximum_ <= 0))
      throw AxisException("A logarithmic axis needs a range above zero (Minimum and Maximum > 0)");
  }
  logarithmic_ = Value;
  Repaint();
}

void TChartAxis::SetLogarithmicBase(double Value) {
  if (!(Value > 0) || Value == 1 || !std::isfinite(Value))
    throw AxisException("Logarithmic base must be above zero and other than 1");
  if (StoreField(logBase_, Value)) Repaint();
}

TChartSeries* TChartAxis::FirstSeries() const {
  if (!chart_) return nullptr;
  for (TChartSeries* s : chart_->SeriesList())
    if (s->Active() && s->AssociatedToAxis(this)) return s;
  return nullptr;
}

bool TChartAxis::IsDateTime() const {
  TChartSeries* s = FirstSeries();
  if (!s) return false;
  return (horizontal_ ? s->XValues() : s->YValues())->DateTime();
}

TAxisLabelStyle TChartAxis::CalcLabelStyle() const {
  if (labelStyle_ != talAuto) return labelStyle_;
  TChartSeries* s = FirstSeries();
  if (s && horizontal_)
    for (int i = 0; i < s->Labels().Count(); ++i)
      if (!s->Labels().GetLabel(i).empty()) return talText;
  return talValue;
}

int TChartAxis::PosZ() const {
  if (!chart_) return 0;
  const int z = int(Round(zPosition_ * chart_->Width3D() / 100.0));
  // An axis on the other side stands at the back of the box, where its labels stay
  // clear of the series in front (and its arrows are drawn); a turned view may swap
  // an edge axis to the other end of its edge, which shows outermost.
  return (otherSide_ != swappedEnd_) && !isDepthAxis_ ? chart_->Width3D() - z : z;
}

void TChartAxis::SetAxisValuesFormat(const std::string& Value) {
  if (StoreField(valuesFormat_, Value)) Repaint();
}

void TChartAxis::SetLabelsSeparation(int Value) {
  if (StoreField(labelsSeparation_, std::max(0, Value))) Repaint();
}

void TChartAxis::SetMinorTickCount(int Value) {
  if (StoreField(minorTickCount_, std::max(0, Value))) Repaint();
}

void TChartAxis::SetMinimum(double Value) {
  if (!Loading() && Value > maximum_) throw AxisException(LumMsg_AxisMinMax);
  if (StoreField(minimum_, Value)) Repaint();
}

void TChartAxis::SetMaximum(double Value) {
  if (!Loading() && Value < minimum_) throw AxisException(LumMsg_AxisMaxMin);
  if (StoreField(maximum_, Value)) Repaint();
}

void TChartAxis::SetMinMax(double AMin, double AMax) {
  if (!Loading() && AMin > AMax) throw AxisException(LumMsg_AxisMinMax);
  bool changed = StoreField(minimum_, AMin);
  changed = StoreField(maximum_, AMax) || changed;
  if (changed) Repaint();
}

void TChartAxis::SetIncrement(double Value) {
  if (Value < 0) throw AxisException("Axis Increment must be >= 0");
  if (StoreField(increment_, Value)) Repaint();
}

bool TChartAxis::InUse() const {
  if (!chart_) return false;
  for (TChartSeries* s : chart_->SeriesList())
    if (s->Active() && (isDepthAxis_ ? s->UseAxis() : s->AssociatedToAxis(this))) return true;
  return false;
}

bool TChartAxis::IsVisible() const {
  if (!chart_ || !visible_ || !chart_->Axes()->GetVisible()) return false;
  if (isDepthAxis_) return chart_->View3D() && InUse();
  // Left and bottom show on an empty chart; the others only when used.
  if (this == chart_->LeftAxis()) return InUse() || !chart_->RightAxis()->InUse();
  if (this == chart_->BottomAxis()) return InUse() || !chart_->TopAxis()->InUse();
  return InUse();
}

void TChartAxis::AdjustMaxMin() {
  const bool autoMin = automatic_ && automaticMinimum_;
  const bool autoMax = automatic_ && automaticMaximum_;
  if (!chart_ || (!autoMin && !autoMax)) return;
  double lo = 0, hi = 0;
  if (!DataExtent(lo, hi)) return;  // no data: the range stays as it was
  chart_->PageRange(this, lo, hi);
  if ((minimumRound_ || maximumRound_) && hi > lo && !IsDateTime() && !logarithmic_) {
    // Rounded out to a tenth of the range's 1-2-5 step.
    const double step = NiceStepAtLeast((hi - lo) / 10);
    if (minimumRound_) lo = std::floor(lo / step) * step;
    if (maximumRound_) hi = std::ceil(hi / step) * step;
  }
  if (autoMin) minimum_ = lo;
  if (autoMax) maximum_ = hi;
}

// ---- Pixels ---------------------------------------------------------------------
void TChartAxis::CalcRect(const TRect& R, int MinMargin, int MaxMargin) {
  const int from = horizontal_ ? R.Left : R.Top, to = horizontal_ ? R.Right : R.Bottom;
  // The axis spans its StartPosition .. EndPosition part of the side.
  // (Values outside 0..100 are kept as set but the axis stays on its side.)
  startPos_ = from + int(Round((to - from) * std::clamp(startPosition_, 0.0, 100.0) / 100.0));
  endPos_ = from + int(Round((to - from) * std::clamp(endPosition_, 0.0, 100.0) / 100.0));
  // Series margins widen only the ends the axis computes itself.
  minPixelMargin_ = automatic_ && automaticMinimum_ ? MinMargin : 0;
  maxPixelMargin_ = automatic_ && automaticMaximum_ ? MaxMargin : 0;
}

namespace {
struct PixelEnds {
  long double atMin, atMax;
};
}  // namespace

static PixelEnds Ends(int start, int end, bool horizontal, bool inverted, int minOff, int maxOff) {
  PixelEnds e;
  if (horizontal) {
    e.atMin = start + minOff;
    e.atMax = end - maxOff;
  } else {
    e.atMin = end - minOff;
    e.atMax = start + maxOff;
  }
  if (inverted) std::swap(e.atMin, e.atMax);
  return e;
}

// Most values take the map's double computation, which gives the same pixel.
int TChartAxis::CalcPosValue(double Value) const { return TPixelMap(*this)(Value); }

int TChartAxis::ExactPosValue(double Value) const {
  const PixelEnds e = Ends(startPos_, endPos_, horizontal_ || isDepthAxis_, inverted_, minimumOffset_ + minPixelMargin_,
                           maximumOffset_ + maxPixelMargin_);
  long double p;
  if (IsLog()) {
    // Values at or below zero lie infinitely far below the minimum.
    const long double l0 = std::log((long double)minimum_), range = std::log((long double)maximum_) - l0;
    if (range == 0)
      p = (e.atMin + e.atMax) / 2;
    else if (!(Value > 0))
      p = e.atMin - (e.atMax - e.atMin) * LumMaxPixel;
    else
      p = e.atMin + (std::log((long double)Value) - l0) * (e.atMax - e.atMin) / range;
    if (std::isnan(p)) return -LumMaxPixel;
    return int(Round(std::clamp<long double>(p, -LumMaxPixel, LumMaxPixel)));
  }
  const long double range = (long double)maximum_ - minimum_;
  if (range == 0)
    p = (e.atMin + e.atMax) / 2;
  else
    p = e.atMin + ((long double)Value - minimum_) * (e.atMax - e.atMin) / range;
  if (std::isnan(p)) return -LumMaxPixel;
  return int(Round(std::clamp<long double>(p, -LumMaxPixel, LumMaxPixel)));
}

// In double precision, away from halves, the rounded pixel is the one the extended
// computation gives (its error is below 1e-9 pixel inside the pixel range); the rare
// value near a half, or outside the pixel range, or any value of a degenerate range,
// takes the exact path.
TChartAxis::TPixelMap::TPixelMap(const TChartAxis& Axis) : axis_(&Axis) {
  const PixelEnds e = Ends(Axis.startPos_, Axis.endPos_, Axis.horizontal_ || Axis.isDepthAxis_, Axis.inverted_,
                           Axis.minimumOffset_ + Axis.minPixelMargin_, Axis.maximumOffset_ + Axis.maxPixelMargin_);
  const double range = Axis.maximum_ - Axis.minimum_;
  const double scale = double(e.atMax - e.atMin) / range;
  // A degenerate range leaves every value to the exact path (NaN fails the test).
  const bool usable = range != 0 && std::isfinite(range) && std::isfinite(scale) && !Axis.IsLog();
  atMin_ = usable ? double(e.atMin) : std::nan("");
  min_ = Axis.minimum_;
  scale_ = scale;
}

void TChartAxis::CalcPosValues(const double* Values, int Count, int* Pixels) const {
  const TPixelMap map(*this);
  if (std::isnan(map.atMin_)) {
    for (int i = 0; i < Count; ++i) Pixels[i] = ExactPosValue(Values[i]);
    return;
  }
  const double atMin = map.atMin_, min = map.min_, scale = map.scale_;
  constexpr double limit = TPixelMap::Limit, halfBand = TPixelMap::HalfBand;
  constexpr int exactMark = std::numeric_limits<int>::min();  // never a pixel
  int i = 0;
  bool exact = false;
#if defined(__SSE2__)
  // Two at a time; the conversion instruction rounds half to even, as Round does.
  const __m128d vAtMin = _mm_set1_pd(atMin), vMin = _mm_set1_pd(min), vScale = _mm_set1_pd(scale);
  const __m128d vLimit = _mm_set1_pd(limit), vHalf = _mm_set1_pd(0.5), vBand = _mm_set1_pd(halfBand);
  const __m128d vAbs = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFFLL));
  const __m128i vMark = _mm_set1_epi32(exactMark);
  for (; i + 2 <= Count; i += 2) {
    // Long value lists stream from memory: ask for them well ahead.
    if (i % 8 == 0) _mm_prefetch(reinterpret_cast<const char*>(Values + i) + 768, _MM_HINT_T0);
    const __m128d p = _mm_add_pd(vAtMin, _mm_mul_pd(_mm_sub_pd(_mm_loadu_pd(Values + i), vMin), vScale));
    const __m128d inside = _mm_cmplt_pd(_mm_and_pd(p, vAbs), vLimit);  // false for NaN
    const __m128i r = _mm_cvtpd_epi32(_mm_and_pd(p, inside));
    const __m128d distance = _mm_and_pd(_mm_sub_pd(p, _mm_cvtepi32_pd(r)), vAbs);
    const __m128d ok = _mm_and_pd(inside, _mm_cmpgt_pd(_mm_sub_pd(vHalf, distance), vBand));
    const __m128i okLanes = _mm_shuffle_epi32(_mm_castpd_si128(ok), _MM_SHUFFLE(3, 3, 2, 0));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(Pixels + i),
                     _mm_or_si128(_mm_and_si128(okLanes, r), _mm_andnot_si128(okLanes, vMark)));
    exact |= _mm_movemask_pd(ok) != 3;
  }
#endif
  for (; i < Count; ++i) Pixels[i] = map(Values[i]);
  if (!exact) return;
  for (i = 0; i < Count; ++i)
    if (Pixels[i] == exactMark) Pixels[i] = ExactPosValue(Values[i]);
}

double TChartAxis::CalcPosPoint(int Pixel) const {
  const PixelEnds e = Ends(startPos_, endPos_, horizontal_ || isDepthAxis_, inverted_, minimumOffset_ + minPixelMargin_,
                           maximumOffset_ + maxPixelMargin_);
  if (maximum_ == minimum_ || e.atMax == e.atMin) return minimum_;
  if (IsLog()) {
    const long double l0 = std::log((long double)minimum_), l1 = std::log((long double)maximum_);
    return double(std::exp(l0 + (Pixel - e.atMin) * (l1 - l0) / (e.atMax - e.atMin)));
  }
  return double(minimum_ + (Pixel - e.atMin) * ((long double)maximum_ - minimum_) / (e.atMax - e.atMin));
}

// ---- Increment and labels ------------------------------------------------------
std::string TChartAxis::ValueText(double Value) const {
  const std::string& format = labelsExponent_ ? LabelsExponentFormat : valuesFormat_;
  if (labelTextsFormat_ != format || labelTextsSeparators_[0] != DecimalSeparator ||
      labelTextsSeparators_[1] != ThousandSeparator || labelTexts_.size() > 512) {
    labelTexts_.clear();
    labelTextsFormat_ = format;
    labelTextsSeparators_[0] = DecimalSeparator;
    labelTextsSeparators_[1] = ThousandSeparator;
  }
  std::uint64_t bits;
  std::memcpy(&bits, &Value, sizeof bits);
  auto it = labelTexts_.find(bits);
  if (it == labelTexts_.end()) it = labelTexts_.emplace(bits, FormatFloat(format, Value)).first;
  return it->second;
}

std::string TChartAxis::LabelText(double Value) const {
  if (!IsDateTime()) return ValueText(Value);
  // Outside the valid dates FormatDateTime answers "", never a made-up date.
  if (!dateTimeFormat_.empty()) return FormatDateTime(dateTimeFormat_, Value);
  const double step = lastIncrement_ > 0 ? lastIncrement_ : std::fabs(maximum_ - minimum_) / 10;
  return FormatDateTime(DefaultDateTimeFormat(step), Value);
}

namespace {
// Label values for a step: the multiples of Step inside [lo, hi] (from lo itself
// when not Rounded).
std::vector<double> MultiplesInside(double lo, double hi, double Step, bool Rounded = true) {
  std::vector<double> out;
  const double first = Rounded ? std::ceil(lo / Step - 1e-9) * Step : lo;
  for (int i = 0; i < MaxLabels; ++i) {
    double v = first + i * Step;
    if (v > hi + std::fabs(Step) * 1e-9) break;
    if (std::fabs(v) < std::fabs(Step) * 1e-9) v = 0;  // no "-0" from rounding noise
    out.push_back(v);
  }
  return out;
}

// The next date-time step above Step: the next table entry, then whole years 1-2-5.
double NextDateTimeStep(double Step) {
  for (double d : DateTimeStep)
    if (d > Step * (1 + 1e-9)) return d;
  return 365 * NiceStepAtLeast(Step / 365 * (1 + 1e-9));
}

double DateTimeStepAtLeast(double Step) {
  for (double d : DateTimeStep)
    if (d >= Step * (1 - 1e-9)) return d;
  return 365 * NiceStepAtLeast(Step / 365);
}

double LogOf(double Value, double Base) { return std::log(Value) / std::log(Base); }
}  // namespace

std::vector<double> TChartAxis::DateTimeLabelValues(double lo, double hi, double Step) const {
  if (!exactDateTime_ || Step < DateTimeStep[dtOneMonth] * (1 - 1e-9) || !IsValidDateTime(lo) ||
      !IsValidDateTime(hi))
    return MultiplesInside(lo, hi, Step, roundFirstLabel_);
  // Whole months from a month that is a multiple of the step within its year.
  const int months = Step >= 365 ? 12 * int(Round(Step / 365)) : std::max(1, int(Round(Step / 30.4)));
  int y, m, d;
  DecodeDate(lo, y, m, d);
  long long index = (long long)y * 12 + (m - 1);
  std::vector<double> out;
  if (EncodeDate(y, m, 1) < lo) ++index;
  index = (index + months - 1) / months * months;
  for (int i = 0; i < MaxLabels; ++i, index += months) {
    const int year = int(index / 12), month = int(index % 12) + 1;
    if (year > 9999) break;
    const double v = EncodeDate(year, month, 1);
    if (v > hi) break;
    out.push_back(v);
  }
  return out;
}

double TChartAxis::ValuePixels() const {
  const PixelEnds e = Ends(startPos_, endPos_, horizontal_ || isDepthAxis_, inverted_, minimumOffset_ + minPixelMargin_,
                           maximumOffset_ + maxPixelMargin_);
  return std::fabs(double(e.atMax - e.atMin));
}

double TChartAxis::CalcIncrement() {
  const double lo = std::min(minimum_, maximum_), hi = std::max(minimum_, maximum_);
  const double range = hi - lo;
  if (range == 0 || !std::isfinite(range)) return increment_ > 0 ? increment_ : 1;
  const double pixels = ValuePixels();
  if (pixels < 1) return std::max(range, increment_);
  TCanvas3D* c = chart_ ? chart_->Canvas() : nullptr;
  if (c) {
    c->AssignFont(labelsFont_.get());
    labelsFontAssigned_ = true;
  }
  const double sep = 1 + labelsSeparation_ / 100.0;
  const bool turned = TurnedLabels();
  // The room one label needs along the axis.
  auto extentOf = [&](const std::string& text) -> double {
    if (labelsSeparation_ == 0) return 1;
    if (!c) return horizontal_ != turned ? 8.0 * text.size() * sep : 12 * sep;
    return (horizontal_ != turned ? c->TextWidth(text) : c->TextHeight(text)) * sep;
  };
  // Labels along the axis by their height (or with no separation) all need the same
  // room, whatever their text: the texts are then not made only to be measured.
  const bool byText = labelsSeparation_ != 0 && horizontal_ != turned;
  const auto textOf = [&](double v) { return byText ? LabelText(v) : std::string(); };
  if (IsLog()) {
    // Whole powers of the base, every 1, 2, 5, ... of them as the labels fit.
    const double l0 = LogOf(lo, logBase_), l1 = LogOf(hi, logBase_);
    const double need = std::max(extentOf(ValueText(lo)), extentOf(ValueText(hi)));
    const double fit = std::max(1.0, std::floor(pixels / std::max(1.0, need)));
    const double powers = NiceStepAtLeast(std::max(1.0, (l1 - l0) / fit));
    return std::pow(logBase_, powers);
  }
  if (IsDateTime()) {
    // First guess from the labels at the ends, then grow until none overlap.
    lastIncrement_ = range / 10;
    const double need = std::max(extentOf(textOf(lo)), extentOf(textOf(hi)));
    const double fit = std::max(1.0, std::floor(pixels / std::max(1.0, need)));
    double step = DateTimeStepAtLeast(std::max({increment_, range / fit, range / MaxLabels}));
    for (int guard = 0; guard < 64; ++guard) {
      lastIncrement_ = step;  // the label format follows the step
      const std::vector<double> values = DateTimeLabelValues(lo, hi, step);
      double widest = 0;
      for (double v : values) widest = std::max(widest, extentOf(textOf(v)));
      const double stepPixels = step * pixels / range;
      if (stepPixels >= widest || values.size() <= 1) break;
      step = NextDateTimeStep(step);
    }
    return step;
  }
  double need = std::max(extentOf(textOf(lo)), extentOf(textOf(hi)));
  const double maxLabels = std::max(1.0, std::floor(pixels / std::max(1.0, need)));
  double step = std::max(increment_, 0.0);
  const double minStep = std::max(range / maxLabels, range / MaxLabels);
  if (step < minStep) step = NiceStepAtLeast(minStep);
  // Labels between the ends may be wider than those at the ends: grow until none overlap.
  for (int guard = 0; guard < 64; ++guard) {
    const double stepPixels = step * pixels / range;
    double widest = 0;
    for (double v : MultiplesInside(lo, hi, step)) widest = std::max(widest, extentOf(textOf(v)));
    if (stepPixels >= widest) break;
    step = NextNiceStep(step);
  }
  return step;
}

std::vector<double> TChartAxis::LabelValues() {
  const double lo = std::min(minimum_, maximum_), hi = std::max(minimum_, maximum_);
  if (!std::isfinite(lo) || !std::isfinite(hi)) return {};
  if (hi == lo) return {lo};
  const double step = CalcIncrement();
  lastIncrement_ = step;
  if (IsLog()) {
    const double powers = std::max(1.0, std::round(LogOf(step, logBase_)));
    const double l0 = LogOf(lo, logBase_), l1 = LogOf(hi, logBase_);
    std::vector<double> out;
    for (double k = std::ceil(l0 / powers - 1e-9) * powers; k <= l1 + 1e-9 && out.size() < size_t(MaxLabels); k += powers)
      out.push_back(std::pow(logBase_, k));
    if (out.size() >= 2) return out;
    // Less than two powers inside: plain values, still placed on the log scale.
    const double linear = NiceStepAtLeast((hi - lo) / 5);
    return MultiplesInside(lo, hi, linear);
  }
  if (IsDateTime()) return DateTimeLabelValues(lo, hi, step);
  return MultiplesInside(lo, hi, step, roundFirstLabel_);
}

std::vector<std::pair<double, std::string>> TChartAxis::AxisLabels() {
  std::vector<std::pair<double, std::string>> out;
  if (!items_->Automatic()) {
    for (int i = 0; i < items_->Count(); ++i) out.emplace_back(items_->Get(i)->Value(), items_->Get(i)->Text());
    return out;
  }
  const TAxisLabelStyle style = CalcLabelStyle();
  if (style == talNone) return out;
  if (style == talValue || isDepthAxis_) {
    // Within a drawing, the labels of a range worked out before for the very same
    // inputs (two finite ends apart: only then is each input below read afresh).
    const bool keep = chart_ && chart_->Drawing() && std::isfinite(minimum_) && std::isfinite(maximum_) &&
                      minimum_ != maximum_;
    TLabelsInputs in;
    if (keep) {
      TCanvas3D* c = chart_->Canvas();
      const TLumFont* f = labelsFont_.get();
      in = {chart_->DrawingNumber(), c, minimum_, maximum_, ValuePixels(), increment_, logBase_, labelsSeparation_,
            LabelsQuarterTurn(), horizontal_, IsLog(), IsDateTime(), exactDateTime_, roundFirstLabel_,
            labelsExponent_, valuesFormat_, dateTimeFormat_, {DecimalSeparator, ThousandSeparator}, f->Name(),
            f->Height(), f->InterCharSize(), f->Style(), f->Charset(), f->Quality()};
      if (labelsMemo_.Valid && labelsMemo_.Inputs == in) {
        lastIncrement_ = labelsMemo_.Increment;
        if (labelsMemo_.FontAssigned) c->AssignFont(labelsFont_.get());
        return labelsMemo_.Labels;
      }
    }
    labelsFontAssigned_ = false;
    for (double v : LabelValues()) out.emplace_back(v, LabelText(v));
    if (keep) labelsMemo_ = {true, std::move(in), out, lastIncrement_, labelsFontAssigned_};
    return out;
  }
  TChartSeries* s = FirstSeries();
  if (!s) return out;
  const double lo = std::min(minimum_, maximum_), hi = std::max(minimum_, maximum_);
  TChartValueList* list = horizontal_ ? s->XValues() : s->YValues();
  for (int i = 0; i < s->Count() && int(out.size()) < MaxLabels; ++i) {
    const double v = list->GetValue(i);
    if (v < lo || v > hi) continue;
    std::string text = style == talText ? s->Labels().GetLabel(i)
                       : style == talMark ? s->GetMarkText(i)
                                          : LabelText(v);
    if (!text.empty()) out.emplace_back(v, std::move(text));
  }
  return out;
}

// ---- Title ------------------------------------------------------------------------
TChartAxisTitle* TChartAxis::GetTitle() const {
  if (!title_) {
    title_ = std::make_unique<TChartAxisTitle>(chart_, const_cast<TChartAxis*>(this));
    if (!horizontal_ && !isDepthAxis_) title_->angle_ = otherSide_ ? 270 : 90;
    RecordDefaults(title_.get());
  }
  return title_.get();
}

// ---- Layout -------------------------------------------------------------------
namespace {
std::vector<std::string> LabelLines(const std::string& Text, bool MultiLine) {
  std::vector<std::string> lines;
  if (!MultiLine) return {Text};
  size_t from = 0;
  for (;;) {
    const size_t at = Text.find(' ', from);
    lines.push_back(Text.substr(from, at == std::string::npos ? std::string::npos : at - from));
    if (at == std::string::npos) return lines;
    from = at + 1;
  }
}
}  // namespace

bool TChartAxis::TurnedLabels() const { return LabelsQuarterTurn() % 180 == 90; }

TSize TChartAxis::LabelSize(const std::string& Text) const {
  TCanvas3D* c = chart_->Canvas();
  const bool multi = labelsMultiLine_ && LabelsQuarterTurn() == 0;
  if (!multi) {
    const int w = c->TextWidth(Text), h = c->TextHeight(Text);
    return TurnedLabels() ? TSize{h, w} : TSize{w, h};
  }
  const std::vector<std::string> lines = LabelLines(Text, multi);
  int w = 0;
  for (const std::string& l : lines) w = std::max(w, c->TextWidth(l));
  const int h = lines.size() == 1 ? c->TextHeight(Text) : int(lines.size()) * c->FontHeight();
  return TurnedLabels() ? TSize{h, w} : TSize{w, h};
}

int TChartAxis::LabelsThickness() {
  if (!labels_) return 0;
  if (labelsSize_ > 0) return labelsSize_;
  TCanvas3D* c = chart_ ? chart_->Canvas() : nullptr;
  if (!c) return 0;
  c->AssignFont(labelsFont_.get());
  int across = horizontal_ && !TurnedLabels() ? c->FontHeight() : 0;
  const std::vector<std::pair<double, std::string>> labels = AxisLabels();
  for (size_t i = 0; i < labels.size(); ++i) {
    TLumCustomShape* format = LabelFormat(int(i));
    c->AssignFont(format ? format->Font() : labelsFont_.get());
    const TSize sz = LabelSize(labels[i].second);
    across = std::max(across, horizontal_ ? sz.cy : sz.cx);
  }
  if (labelsAlternate_ && horizontal_) across += c->FontHeight();
  return across + LabelGap;
}

int TChartAxis::TitleThickness() {
  if (!title_ || !title_->Visible() || title_->Caption().empty()) return 0;
  if (titleSize_ > 0) return titleSize_;
  TCanvas3D* c = chart_ ? chart_->Canvas() : nullptr;
  if (!c) return 0;
  c->AssignFont(title_->Font());
  return c->FontHeight() + LabelGap;
}

int TChartAxis::LabelExtent() {
  int ticks = 0;
  if (ticks_->Visible()) ticks = std::max(ticks, tickLength_);
  if (minorTicks_->Visible() && minorTickCount_ > 0) ticks = std::max(ticks, minorTickLength_);
  return std::max(0, ticks);
}

int TChartAxis::SizeOutside() {
  if (!IsVisible()) return 0;
  // A custom axis at an edge keeps a gap from the axis inside it.
  const int gap = IsCustom() && positionPercent_ == 0 ? EdgeGap : 0;
  return gap + LabelExtent() + LabelsThickness() + TitleThickness();
}

// ---- Drawing ------------------------------------------------------------------
TRect TChartAxis::LabelRect(int Pos, const std::string& Text, int Index, int Room) {
  TCanvas3D* c = chart_->Canvas();
  const int out = LabelExtent() + LabelGap;
  const TSize sz = LabelSize(Text);
  if (horizontal_) {
    const int shift = labelsAlternate_ && Index % 2 == 1 ? c->FontHeight() : 0;
    const int y = otherSide_ ? posAxis_ - out - shift - sz.cy : posAxis_ + out + shift;
    return {Pos - sz.cx / 2, y, Pos - sz.cx / 2 + sz.cx, y + sz.cy};
  }
  const int y = Pos - sz.cy / 2;
  int x;
  if (labelsAlign_ == alDefault || isDepthAxis_)
    x = otherSide_ ? posAxis_ + out : posAxis_ - out - sz.cx;
  else
    x = otherSide_ ? posAxis_ + out + Room - sz.cx : posAxis_ - out - Room;
  return {x, y, x + sz.cx, y + sz.cy};
}

bool TChartAxis::LabelRunsRight(const TRect& Box, int Pos) const {
  // Text runs outwards from the label's edge next to the axis. A view turned round
  // (seen from behind) shows that edge on the other side of the axis line: the text
  // then runs the other way, so it stays outside the box.
  TCanvas3D* c = chart_->Canvas();
  const TPoint axisAt = c->ProjectPoint(posAxis_, Pos, PosZ());
  const TPoint edge = c->ProjectPoint(otherSide_ ? Box.Left : Box.Right, Box.Top, PosZ());
  const bool mirrored = otherSide_ ? edge.X < axisAt.X : edge.X > axisAt.X;
  return otherSide_ != mirrored;
}

TRect TChartAxis::LabelScreenBox(const TRect& Box, int Pos) const {
  TCanvas3D* c = chart_->Canvas();
  const int z = PosZ();
  if (LabelsQuarterTurn() != 0) return c->ProjectedRectBounds(Box, z);
  const int w = Box.Width(), h = Box.Height();
  if (horizontal_) {
    const TPoint p = c->ProjectPoint(Pos, Box.Top, z);
    return {p.X - w / 2, p.Y, p.X - w / 2 + w, p.Y + h};
  }
  const TPoint edge = c->ProjectPoint(otherSide_ ? Box.Left : Box.Right, Box.Top, z);
  const int left = LabelRunsRight(Box, Pos) ? edge.X : edge.X - w;
  return {left, edge.Y, left + w, edge.Y + h};
}

TRect TChartAxis::DrawLabel(const TRect& Box, int Pos, const std::string& Text) {
  TCanvas3D* c = chart_->Canvas();
  const int z = PosZ();
  const int turn = LabelsQuarterTurn();
  if (turn != 0) {
    c->SetTextAlign(TA_LEFT | TA_TOP);
    const int x = turn == 90 ? Box.Left : Box.Right, y = turn == 270 ? Box.Top : Box.Bottom;
    c->RotateLabel3D(x, y, z, Text, turn);
    return LabelScreenBox(Box, Pos);
  }
  const std::vector<std::string> lines = LabelLines(Text, labelsMultiLine_);
  const int lineHeight = lines.size() == 1 ? 0 : c->FontHeight();
  if (horizontal_) {
    c->SetTextAlign(TA_CENTER | TA_TOP);
    for (size_t i = 0; i < lines.size(); ++i) c->TextOut3D(Pos, Box.Top + int(i) * lineHeight, z, lines[i]);
    return LabelScreenBox(Box, Pos);
  }
  c->SetTextAlign((LabelRunsRight(Box, Pos) ? TA_LEFT : TA_RIGHT) | TA_TOP);
  for (size_t i = 0; i < lines.size(); ++i) {
    const TPoint p = c->ProjectPoint(otherSide_ ? Box.Left : Box.Right, Box.Top + int(i) * lineHeight, z);
    c->TextOut(p.X, p.Y, lines[i]);
  }
  return LabelScreenBox(Box, Pos);
}

void TChartAxis::DrawTitle() {
  if (TitleThickness() == 0) return;
  TCanvas3D* c = chart_->Canvas();
  c->AssignFont(title_->Font());
  const std::string& text = title_->Caption();
  const int w = c->TextWidth(text), h = c->TextHeight(text);
  // The title starts beside the labels and runs outwards; a TitleSize smaller than
  // the text only reserves less room, it never pushes the text into the plot.
  const int inner = LabelExtent() + LabelsThickness() + 1;
  const int middle = (startPos_ + endPos_) / 2;
  const int angle = ((title_->Angle() % 360) + 360) % 360;
  TRect box;
  int x, y;
  if (horizontal_) {
    x = middle - w / 2;
    y = otherSide_ ? posAxis_ - inner - h : posAxis_ + inner;
    box = {x, y, x + w, y + h};
  } else {
    const int cellLeft = otherSide_ ? posAxis_ + inner : posAxis_ - inner - h;
    box = {cellLeft, middle - w / 2, cellLeft + h, middle - w / 2 + w};
    // Turned text hangs from its reference point: up for 90 degrees, down for 270.
    x = angle == 270 ? cellLeft + h : cellLeft;
    y = angle == 270 ? box.Top : box.Bottom;
  }
  title_->DrawShapeOnCanvas(c, box, PosZ());
  c->SetBackMode(cbmTransparent);
  c->SetTextAlign(TA_LEFT | TA_TOP);
  if (horizontal_ && angle == 0)
    title_->DrawText(c, x, y, PosZ(), text);
  else
    c->RotateLabel3D(x, y, PosZ(), text, horizontal_ ? angle : (angle == 270 ? 270 : 90));
}

int TChartAxis::GridZ() const {
  // A grid's ZPosition counts from the back wall, so by default it lies behind the series.
  if (!chart_) return 0;
  return int(Round(chart_->Width3D() * (100.0 - grid_->ZPosition()) / 100.0));
}

std::vector<double> TChartAxis::MinorValues(const std::vector<double>& Values) const {
  std::vector<double> out;
  if (minorTickCount_ <= 0 || Values.size() < 2) return out;
  const double lo = std::min(minimum_, maximum_), hi = std::max(minimum_, maximum_);
  for (size_t i = 0; i + 1 < Values.size() + 1; ++i) {
    // From one step before the first label to the last, so the ends get theirs too.
    const double a = i == 0 ? Values[0] - (Values[1] - Values[0]) : Values[i - 1];
    const double b = i == 0 ? Values[0] : Values[i];
    for (int k = 1; k <= minorTickCount_; ++k) {
      const double v = a + (b - a) * k / (minorTickCount_ + 1);
      if (v >= lo && v <= hi) out.push_back(v);
    }
  }
  // And after the last label.
  const double step = Values.back() - Values[Values.size() - 2];
  for (int k = 1; k <= minorTickCount_; ++k) {
    const double v = Values.back() + step * k / (minorTickCount_ + 1);
    if (v >= lo && v <= hi) out.push_back(v);
  }
  return out;
}

void TChartAxis::DrawDepthGrid() {
  // A line per series slot (between slots when centred) along the floor (the top
  // for the top depth axis) and up the left side.
  if (!grid_->Visible()) return;
  TCanvas3D* c = chart_->Canvas();
  const TRect& r = chart_->ChartRect();
  const int y = otherSide_ ? r.Top : r.Bottom;
  c->SetBackMode(cbmTransparent);
  c->ApplyPen(grid_.get());
  int index = 0;
  for (TChartSeries* s : chart_->SeriesList()) {
    if (!s->Active()) continue;
    if (index++ % grid_->DrawEvery() != 0) continue;
    if (grid_->Centered() && s->StartZ() == 0) continue;  // no line in front of the first slot
    const int z = grid_->Centered() ? s->StartZ() : s->MiddleZ();
    c->HorizLine3D(r.Left, r.Right, y, z);
    c->VertLine3D(r.Left, r.Top, r.Bottom, z);
  }
}

void TChartAxis::DrawGrid() {
  if (!IsVisible()) return;
  if (OnDrawGrid.Assigned()) {
    // The hook reads this drawing's tick pixels, which Draw would only find later.
    if (!isDepthAxis_) {
      ticksPos_.clear();
      for (const auto& label : AxisLabels()) ticksPos_.push_back(CalcPosValue(label.first));
    }
    OnDrawGrid(this);
  }
  if (isDepthAxis_) {
    DrawDepthGrid();
    return;
  }
  const bool major = grid_->Visible(), minor = minorGrid_->Visible();
  if (!major && !minor) return;
  TCanvas3D* c = chart_->Canvas();
  const TRect& r = chart_->ChartRect();
  std::vector<double> values;
  for (const auto& label : AxisLabels()) values.push_back(label.first);
  const double step = values.size() > 1 ? values[1] - values[0] : 0;
  const double lo = std::min(minimum_, maximum_), hi = std::max(minimum_, maximum_);
  const int z = GridZ();
  c->SetBackMode(cbmTransparent);
  const TPixelMap pixel = PixelMap();
  auto line = [&](double v) {
    const int p = pixel(v);
    if (horizontal_)
      c->VertLine3D(p, r.Top, r.Bottom, z);
    else
      c->HorizLine3D(r.Left, r.Right, p, z);
  };
  if (minor) {
    c->ApplyPen(minorGrid_.get());
    for (double v : MinorValues(values)) line(v);
  }
  if (!major) return;
  c->ApplyPen(grid_.get());
  for (size_t i = 0; i < values.size(); i += size_t(grid_->DrawEvery())) {
    double v = values[i];
    if (grid_->Centered()) {
      if (step == 0) continue;
      v += step / 2;
      if (v > hi) continue;
    }
    if (v < lo) continue;
    line(v);
  }
}

void TChartAxis::DrawDepth() {
  // Along the depth at the right (or top) edge of the plot, a label per series slot.
  TCanvas3D* c = chart_->Canvas();
  const TRect& r = chart_->ChartRect();
  const int x = r.Right, y = otherSide_ ? r.Top : r.Bottom;
  if (axisPen_->Visible()) {
    c->ApplyPen(axisPen_.get());
    c->ZLine3D(x, y, startPos_, endPos_);
  }
  lineFrom_ = c->ProjectPoint(x, y, startPos_);
  lineTo_ = c->ProjectPoint(x, y, endPos_);
  c->AssignFont(labelsFont_.get());
  c->SetBackMode(cbmTransparent);
  for (TChartSeries* s : chart_->SeriesList()) {
    if (!s->Active()) continue;
    const int z = s->MiddleZ();
    ticksPos_.push_back(z);
    if (ticks_->Visible() && tickLength_ != 0) {
      c->ApplyPen(ticks_.get());
      c->HorizLine3D(x, x + tickLength_, y, z);
    }
    if (!labels_ || !items_->Automatic() || CalcLabelStyle() == talNone) continue;
    c->SetTextAlign(TA_LEFT | TA_TOP);
    const std::string text = s->GetTitleOrName();
    const int left = x + LabelExtent() + LabelGap, top = otherSide_ ? y - c->TextHeight(text) : y;
    c->TextOut3D(left, top, z, text);
    labelRects_.push_back(c->ProjectedRectBounds({left, top, left + c->TextWidth(text), top + c->TextHeight(text)}, z));
  }
}

std::pair<int, int> TChartAxis::EndLabelsReach() {
  if (!IsVisible() || !labels_ || isDepthAxis_ || TurnedLabels()) return {0, 0};
  const std::vector<std::pair<double, std::string>> labels = AxisLabels();
  if (labels.empty()) return {0, 0};
  TCanvas3D* c = chart_->Canvas();
  auto half = [&](size_t i) {
    TLumCustomShape* format = LabelFormat(int(i));
    c->AssignFont(format ? format->Font() : labelsFont_.get());
    const TSize sz = LabelSize(labels[i].second);
    return ((horizontal_ ? sz.cx : sz.cy) + 1) / 2;
  };
  size_t lo = 0, hi = 0;
  for (size_t i = 0; i < labels.size(); ++i) {
    if (labels[i].first < labels[lo].first) lo = i;
    if (labels[i].first > labels[hi].first) hi = i;
  }
  // The minimum lies left on a horizontal axis, at the bottom on a vertical one.
  const bool minFirst = horizontal_ != inverted_;
  const int first = half(minFirst ? lo : hi), second = half(minFirst ? hi : lo);
  return {startPosition_ <= 0 ? first : 0, endPosition_ >= 100 ? second : 0};
}

int TChartAxis::DepthLabelsExtent() {
  if (!IsVisible() || !labels_ || !items_->Automatic() || CalcLabelStyle() == talNone) return 0;
  TCanvas3D* c = chart_->Canvas();
  c->AssignFont(labelsFont_.get());
  int widest = 0;
  for (TChartSeries* s : chart_->SeriesList())
    if (s->Active()) widest = std::max(widest, c->TextWidth(s->GetTitleOrName()));
  return widest > 0 ? LabelExtent() + LabelGap + widest : 0;
}

void TChartAxis::Draw() {
  ticksPos_.clear();
  // Labels behind the grid were drawn (and their boxes kept) before it.
  if (!labelsBehind_) labelRects_.clear();
  if (!IsVisible()) return;
  if (isDepthAxis_) {
    DrawDepth();
    return;
  }
  TCanvas3D* c = chart_->Canvas();
  const int z = PosZ();
  const int dir = horizontal_ ? (otherSide_ ? -1 : 1) : (otherSide_ ? 1 : -1);
  auto tick = [&](TChartPen* pen, int pos, int from, int to) {
    if (!pen->Visible() || from == to) return;
    c->ApplyPen(pen);
    if (horizontal_)
      c->VertLine3D(pos, posAxis_ + from, posAxis_ + to, z);
    else
      c->HorizLine3D(posAxis_ + from, posAxis_ + to, pos, z);
  };
  if (axisPen_->Visible()) {
    c->ApplyPen(axisPen_.get());
    if (horizontal_)
      c->HorizLine3D(startPos_, endPos_, posAxis_, z);
    else
      c->VertLine3D(posAxis_, startPos_, endPos_, z);
  }
  lineFrom_ = horizontal_ ? c->ProjectPoint(startPos_, posAxis_, z) : c->ProjectPoint(posAxis_, startPos_, z);
  lineTo_ = horizontal_ ? c->ProjectPoint(endPos_, posAxis_, z) : c->ProjectPoint(posAxis_, endPos_, z);
  std::vector<double> values;
  const std::vector<std::pair<double, std::string>> labels = AxisLabels();
  const TPixelMap pixel = PixelMap();
  for (const auto& label : labels) {
    const int p = pixel(label.first);
    values.push_back(label.first);
    ticksPos_.push_back(p);
    tick(ticks_.get(), p, 0, dir * tickLength_);
    tick(ticksInner_.get(), p, 0, -dir * tickInnerLength_);
  }
  if (!labelsBehind_) DrawLabels();
  for (double v : MinorValues(values)) tick(minorTicks_.get(), pixel(v), 0, dir * minorTickLength_);
  // Texts of points: ticks also at the values' steps unless only at the labels.
  if (!tickOnLabelsOnly_ && items_->Automatic() && CalcLabelStyle() != talValue)
    for (double v : LabelValues()) tick(ticks_.get(), CalcPosValue(v), 0, dir * tickLength_);
  DrawTitle();
}

void TChartAxis::DrawLabels() {
  labelRects_.clear();
  if (!IsVisible() || isDepthAxis_ || !labels_) return;
  TCanvas3D* c = chart_->Canvas();
  const std::vector<std::pair<double, std::string>> labels = AxisLabels();
  // The room of the widest label places only labels aligned in it (LabelRect).
  const int room = !horizontal_ && labelsAlign_ != alDefault ? LabelsThickness() - LabelGap : 0;
  c->SetBackMode(cbmTransparent);
  const int lowEnd = std::min(startPos_, endPos_), highEnd = std::max(startPos_, endPos_);
  // Texts of points come one per point, not at a step that fits: each keeps the
  // separation from those already drawn or is left out, as the values' step does.
  const TAxisLabelStyle style = items_->Automatic() ? CalcLabelStyle() : talValue;
  const bool separate = labelsSeparation_ > 0 && style != talValue && style != talNone;
  std::vector<TRect> taken;  // boxes of the labels drawn
  // A turned view foreshortens the axis below the room its step was chosen for: a
  // label that would run into one already drawn on the screen is left out.
  const bool turned = chart_->View3D() && !chart_->View3DOptions()->Orthogonal();
  std::vector<TRect> shown;
  int index = 0;
  for (size_t i = 0; i < labels.size(); ++i) {
    const auto& [v, text] = labels[i];
    if (text.empty()) continue;
    const int p = CalcPosValue(v);
    TLumCustomShape* format = LabelFormat(int(i));
    c->AssignFont(format ? format->Font() : labelsFont_.get());
    const TRect box = LabelRect(p, text, index++, room);
    const int a = horizontal_ ? box.Left : box.Top, b = horizontal_ ? box.Right : box.Bottom;
    if (!labelsOnAxis_ && (a < lowEnd || b > highEnd)) continue;
    if (separate) {
      // Alternate rows do not meet; along the axis the separation is kept.
      const int gap = (b - a) * labelsSeparation_ / 100;
      const auto meets = [&](const TRect& t) {
        const int ta = horizontal_ ? t.Left : t.Top, tb = horizontal_ ? t.Right : t.Bottom;
        const int ca = horizontal_ ? box.Top : box.Left, cb = horizontal_ ? box.Bottom : box.Right;
        const int tca = horizontal_ ? t.Top : t.Left, tcb = horizontal_ ? t.Bottom : t.Right;
        return a < tb + gap && ta < b + gap && ca < tcb && tca < cb;
      };
      if (std::any_of(taken.begin(), taken.end(), meets)) continue;
      taken.push_back(box);
    }
    if (turned) {
      const TRect at = LabelScreenBox(box, p);
      const auto meets = [&](const TRect& t) {
        return at.Left < t.Right && t.Left < at.Right && at.Top < t.Bottom && t.Top < at.Bottom;
      };
      if (std::any_of(shown.begin(), shown.end(), meets)) continue;
      shown.push_back({at.Left - LabelGap, at.Top, at.Right + LabelGap, at.Bottom});
    }
    if (format) {
      // The item's own box around its text, then its font again (the box may change pens).
      format->DrawShapeOnCanvas(c, {box.Left - 1, box.Top, box.Right + 1, box.Bottom}, PosZ());
      c->AssignFont(format->Font());
      c->SetBackMode(cbmTransparent);
    }
    labelRects_.push_back(DrawLabel(box, p, text));
  }
}

TLumCustomShape* TChartAxis::LabelFormat(int Index) const {
  if (items_->Automatic() || Index >= items_->Count()) return nullptr;
  TAxisItem* item = items_->Get(Index);
  return item->HasFormat() ? item->GetFormat() : nullptr;
}

bool TChartAxis::Clicked(int X, int Y) {
  if (!IsVisible()) return false;
  // The axis line as last drawn on the screen (projected in 3D) with its ticks, at
  // least a few pixels either side, between its ends.
  const double dx = lineTo_.X - lineFrom_.X, dy = lineTo_.Y - lineFrom_.Y, length2 = dx * dx + dy * dy;
  const double px = X - lineFrom_.X, py = Y - lineFrom_.Y;
  const double reach = std::max({3, tickLength_, tickInnerLength_});
  if (length2 > 0) {
    const double t = (px * dx + py * dy) / length2;
    const double across = std::fabs(px * dy - py * dx) / std::sqrt(length2);
    if (t >= 0 && t <= 1 && across <= reach) return true;
  } else if (std::hypot(px, py) <= reach) {
    return true;
  }
  for (const TRect& r : labelRects_)
    if (X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) return true;
  return false;
}

void TChartAxis::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TChartAxis*>(Source)) {
    automatic_ = src->automatic_;
    automaticMinimum_ = src->automaticMinimum_;
    automaticMaximum_ = src->automaticMaximum_;
    minimum_ = src->minimum_;
    maximum_ = src->maximum_;
    minimumOffset_ = src->minimumOffset_;
    maximumOffset_ = src->maximumOffset_;
    inverted_ = src->inverted_;
    visible_ = src->visible_;
    increment_ = src->increment_;
    labels_ = src->labels_;
    labelsFont_->Assign(src->labelsFont_.get());
    valuesFormat_ = src->valuesFormat_;
    labelsSize_ = src->labelsSize_;
    labelsSeparation_ = src->labelsSeparation_;
    axisPen_->Assign(src->axisPen_.get());
    ticks_->Assign(src->ticks_.get());
    ticksInner_->Assign(src->ticksInner_.get());
    minorTicks_->Assign(src->minorTicks_.get());
    tickLength_ = src->tickLength_;
    tickInnerLength_ = src->tickInnerLength_;
    minorTickLength_ = src->minorTickLength_;
    minorTickCount_ = src->minorTickCount_;
    grid_->Assign(src->grid_.get());
    if (src->title_ || title_) GetTitle()->Assign(src->GetTitle());  // one not created yet reads as new
    titleSize_ = src->titleSize_;
    logarithmic_ = src->logarithmic_;
    logBase_ = src->logBase_;
    exactDateTime_ = src->exactDateTime_;
    dateTimeFormat_ = src->dateTimeFormat_;
    labelStyle_ = src->labelStyle_;
    labelsAngle_ = src->labelsAngle_;
    labelsAlign_ = src->labelsAlign_;
    labelsAlternate_ = src->labelsAlternate_;
    labelsBehind_ = src->labelsBehind_;
    labelsExponent_ = src->labelsExponent_;
    labelsMultiLine_ = src->labelsMultiLine_;
    labelsOnAxis_ = src->labelsOnAxis_;
    roundFirstLabel_ = src->roundFirstLabel_;
    minorGrid_->Assign(src->minorGrid_.get());
    minimumRound_ = src->minimumRound_;
    maximumRound_ = src->maximumRound_;
    positionPercent_ = src->positionPercent_;
    positionUnits_ = src->positionUnits_;
    startPosition_ = src->startPosition_;
    endPosition_ = src->endPosition_;
    tickOnLabelsOnly_ = src->tickOnLabelsOnly_;
    zPosition_ = src->zPosition_;
    items_->Assign(src->items_.get());
    if (src->customAxes_) horizontal_ = src->horizontal_, otherSide_ = src->otherSide_;
    Repaint();
    return;
  }
  TPersistent::Assign(Source);
}

void TChartAxis::DefineProperties(TPropertyTable& t) {
  t.Bool("Automatic", &TChartAxis::Automatic, &TChartAxis::SetAutomatic).Default(true);
  t.Bool("AutomaticMaximum", &TChartAxis::AutomaticMaximum, &TChartAxis::SetAutomaticMaximum).Default(true);
  t.Bool("AutomaticMinimum", &TChartAxis::AutomaticMinimum, &TChartAxis::SetAutomaticMinimum).Default(true);
  t.Object("Axis", &TChartAxis::Axis);
  t.Str("AxisValuesFormat", &TChartAxis::AxisValuesFormat, &TChartAxis::SetAxisValuesFormat)
      .Default(std::string("#,##0.###"));
  t.Object("Grid", &TChartAxis::Grid);
  t.Float("Increment", &TChartAxis::Increment, &TChartAxis::SetIncrement).Default((long double)0);
  t.Bool("Inverted", &TChartAxis::Inverted, &TChartAxis::SetInverted).Default(false);
  t.Bool("Labels", &TChartAxis::Labels, &TChartAxis::SetLabels).Default(true);
  t.Object("LabelsFont", &TChartAxis::LabelsFont);
  t.Int("LabelsSeparation", &TChartAxis::LabelsSeparation, &TChartAxis::SetLabelsSeparation).Default(10LL);
  t.Int("LabelsSize", &TChartAxis::LabelsSize, &TChartAxis::SetLabelsSize).Default(0LL);
  t.Float("Maximum", &TChartAxis::Maximum, &TChartAxis::SetMaximum);
  t.Int("MaximumOffset", &TChartAxis::MaximumOffset, &TChartAxis::SetMaximumOffset).Default(0LL);
  t.Float("Minimum", &TChartAxis::Minimum, &TChartAxis::SetMinimum);
  t.Int("MinimumOffset", &TChartAxis::MinimumOffset, &TChartAxis::SetMinimumOffset).Default(0LL);
  t.Int("MinorTickCount", &TChartAxis::MinorTickCount, &TChartAxis::SetMinorTickCount).Default(3LL);
  t.Int("MinorTickLength", &TChartAxis::MinorTickLength, &TChartAxis::SetMinorTickLength).Default(2LL);
  t.Object("MinorTicks", &TChartAxis::MinorTicks);
  t.Int("TickInnerLength", &TChartAxis::TickInnerLength, &TChartAxis::SetTickInnerLength).Default(0LL);
  t.Int("TickLength", &TChartAxis::TickLength, &TChartAxis::SetTickLength).Default(4LL);
  t.Object("Ticks", &TChartAxis::Ticks);
  t.Object("TicksInner", &TChartAxis::TicksInner);
  t.Object("Title", &TChartAxis::Title).Stored([](const TObject* o) {
    return static_cast<const TChartAxis*>(o)->HasTitle();
  });
  t.Int("TitleSize", &TChartAxis::TitleSize, &TChartAxis::SetTitleSize).Default(0LL);
  t.Bool("Visible", &TChartAxis::Visible, &TChartAxis::SetVisible).Default(true);
  t.Str("DateTimeFormat", &TChartAxis::DateTimeFormat, &TChartAxis::SetDateTimeFormat).Default(std::string());
  t.Float("EndPosition", &TChartAxis::EndPosition, &TChartAxis::SetEndPosition).Default((long double)100);
  t.Bool("ExactDateTime", &TChartAxis::ExactDateTime, &TChartAxis::SetExactDateTime).Default(true);
  t.Object("Items", &TChartAxis::Items);
  t.Enum("LabelStyle", &TChartAxis::LabelStyle, &TChartAxis::SetLabelStyle,
         {"talAuto", "talNone", "talValue", "talMark", "talText", "talPointValue"}).Default((long long)talAuto);
  t.Enum("LabelsAlign", &TChartAxis::LabelsAlign, &TChartAxis::SetLabelsAlign, {"alDefault", "alOpposite"})
      .Default((long long)alDefault);
  t.Bool("LabelsAlternate", &TChartAxis::LabelsAlternate, &TChartAxis::SetLabelsAlternate).Default(false);
  t.Int("LabelsAngle", &TChartAxis::LabelsAngle, &TChartAxis::SetLabelsAngle).Default(0LL);
  t.Bool("LabelsBehind", &TChartAxis::LabelsBehind, &TChartAxis::SetLabelsBehind).Default(false);
  t.Bool("LabelsExponent", &TChartAxis::LabelsExponent, &TChartAxis::SetLabelsExponent).Default(false);
  t.Bool("LabelsMultiLine", &TChartAxis::LabelsMultiLine, &TChartAxis::SetLabelsMultiLine).Default(false);
  t.Bool("LabelsOnAxis", &TChartAxis::LabelsOnAxis, &TChartAxis::SetLabelsOnAxis).Default(true);
  t.Bool("Logarithmic", &TChartAxis::Logarithmic, &TChartAxis::SetLogarithmic).Default(false);
  t.Float("LogarithmicBase", &TChartAxis::LogarithmicBase, &TChartAxis::SetLogarithmicBase)
      .Default((long double)10);
  t.Bool("MaximumRound", &TChartAxis::MaximumRound, &TChartAxis::SetMaximumRound).Default(false);
  t.Bool("MinimumRound", &TChartAxis::MinimumRound, &TChartAxis::SetMinimumRound).Default(false);
  t.Object("MinorGrid", &TChartAxis::MinorGrid);
  t.Float("PositionPercent", &TChartAxis::PositionPercent, &TChartAxis::SetPositionPercent)
      .Default((long double)0);
  t.Enum("PositionUnits", &TChartAxis::PositionUnits, &TChartAxis::SetPositionUnits, {"muPercent", "muPixels"})
      .Default((long long)muPercentUnits);
  t.Bool("RoundFirstLabel", &TChartAxis::RoundFirstLabel, &TChartAxis::SetRoundFirstLabel).Default(true);
  t.Float("StartPosition", &TChartAxis::StartPosition, &TChartAxis::SetStartPosition).Default((long double)0);
  t.Bool("TickOnLabelsOnly", &TChartAxis::TickOnLabelsOnly, &TChartAxis::SetTickOnLabelsOnly).Default(true);
  t.Float("ZPosition", &TChartAxis::ZPosition, &TChartAxis::SetZPosition).Default((long double)0);
}

// ---------------------------------------------------------------------------
std::string AxisTitleOrName(TChartAxis* Axis) {
  if (!Axis) return {};
  if (Axis->HasTitle() && !Axis->GetTitle()->Caption().empty()) return Axis->GetTitle()->Caption();
  TCustomAxisPanel* c = Axis->ParentChart();
  if (!c) return {};
  if (Axis == c->LeftAxis()) return LumMsg_LeftAxis;
  if (Axis == c->RightAxis()) return LumMsg_RightAxis;
  if (Axis == c->TopAxis()) return LumMsg_TopAxis;
  if (Axis == c->BottomAxis()) return LumMsg_BottomAxis;
  if (Axis == c->DepthAxis()) return LumMsg_DepthAxis;
  if (Axis == c->DepthTopAxis()) return LumMsg_DepthTopAxis;
  return {};
}

// ---------------------------------------------------------------------------
TChartCustomAxes::~TChartCustomAxes() { Clear(); }

TChartAxis* TChartCustomAxes::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", Index));
  return items_[size_t(Index)];
}

TChartAxis* TChartCustomAxes::GetAxis(int Index) const { return chart_->Axes()->GetAxis(Index); }

TChartAxis* TChartCustomAxes::Add() { return new TChartAxis(this); }

void TChartCustomAxes::Clear() {
  // The last created first; each leaves the list as it is freed.
  while (!items_.empty()) delete items_.back();
}

// ---------------------------------------------------------------------------
TChartAxis* TChartAxes::GetAxis(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", Index));
  return items_[size_t(Index)];
}

int TChartAxes::IndexOf(const TChartAxis* Axis) const {
  auto it = std::find(items_.begin(), items_.end(), Axis);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

void TChartAxes::SetVisible(bool Value) {
  if (visible_ == Value) return;
  visible_ = Value;
  if (chart_) chart_->Invalidate();
}

void TChartAxes::SetBehind(bool Value) {
  if (behind_ == Value) return;
  behind_ = Value;
  if (chart_) chart_->Invalidate();
}
