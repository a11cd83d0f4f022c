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
#include "engine/errors.h"
#include "engine/panel.h"
#include "engine/series.h"

IMPLEMENT_CLASS_PROPS(TAxisGridPen, TChartPen)
IMPLEMENT_CLASS_PROPS(TChartAxisTitle, TLumCustomShape)
IMPLEMENT_CLASS_PROPS(TChartAxis, TPersistent)

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
TChartAxis::TChartAxis(TCustomAxisPanel* AChart) : chart_(AChart) {
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
  if (chart_) chart_->Axes()->items_.push_back(this);
}

TChartAxis::~TChartAxis() {
  if (chart_ && chart_->Axes()) {
    auto& v = chart_->Axes()->items_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
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
#undef AXIS_SETTER

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
    if (s->Active() && s->AssociatedToAxis(this)) return true;
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
  if (autoMin) minimum_ = lo;
  if (autoMax) maximum_ = hi;
}

// ---- Pixels ---------------------------------------------------------------------
void TChartAxis::CalcRect(const TRect& R, int MinMargin, int MaxMargin) {
  startPos_ = horizontal_ ? R.Left : R.Top;
  endPos_ = horizontal_ ? R.Right : R.Bottom;
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

int TChartAxis::CalcPosValue(double Value) const {
  const PixelEnds e = Ends(startPos_, endPos_, horizontal_, inverted_, minimumOffset_ + minPixelMargin_,
                           maximumOffset_ + maxPixelMargin_);
  const long double range = (long double)maximum_ - minimum_;
  long double p;
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
  const PixelEnds e = Ends(Axis.startPos_, Axis.endPos_, Axis.horizontal_, Axis.inverted_,
                           Axis.minimumOffset_ + Axis.minPixelMargin_, Axis.maximumOffset_ + Axis.maxPixelMargin_);
  const double range = Axis.maximum_ - Axis.minimum_;
  const double scale = double(e.atMax - e.atMin) / range;
  // A degenerate range leaves every value to the exact path (NaN fails the test).
  const bool usable = range != 0 && std::isfinite(range) && std::isfinite(scale);
  atMin_ = usable ? double(e.atMin) : std::nan("");
  min_ = Axis.minimum_;
  scale_ = scale;
}

void TChartAxis::CalcPosValues(const double* Values, int Count, int* Pixels) const {
  const TPixelMap map(*this);
  if (std::isnan(map.atMin_)) {
    for (int i = 0; i < Count; ++i) Pixels[i] = CalcPosValue(Values[i]);
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
    if (Pixels[i] == exactMark) Pixels[i] = CalcPosValue(Values[i]);
}

double TChartAxis::CalcPosPoint(int Pixel) const {
  const PixelEnds e = Ends(startPos_, endPos_, horizontal_, inverted_, minimumOffset_ + minPixelMargin_,
                           maximumOffset_ + maxPixelMargin_);
  if (maximum_ == minimum_ || e.atMax == e.atMin) return minimum_;
  return double(minimum_ + (Pixel - e.atMin) * ((long double)maximum_ - minimum_) / (e.atMax - e.atMin));
}

// ---- Increment and labels ------------------------------------------------------
std::string TChartAxis::LabelText(double Value) const {
  if (labelTextsFormat_ != valuesFormat_ || labelTextsSeparators_[0] != DecimalSeparator ||
      labelTextsSeparators_[1] != ThousandSeparator || labelTexts_.size() > 512) {
    labelTexts_.clear();
    labelTextsFormat_ = valuesFormat_;
    labelTextsSeparators_[0] = DecimalSeparator;
    labelTextsSeparators_[1] = ThousandSeparator;
  }
  std::uint64_t bits;
  std::memcpy(&bits, &Value, sizeof bits);
  auto it = labelTexts_.find(bits);
  if (it == labelTexts_.end()) it = labelTexts_.emplace(bits, FormatFloat(valuesFormat_, Value)).first;
  return it->second;
}

namespace {
// Label values for a step: the multiples of Step inside [lo, hi].
std::vector<double> MultiplesInside(double lo, double hi, double Step) {
  std::vector<double> out;
  const double first = std::ceil(lo / Step - 1e-9);
  for (int i = 0; i < MaxLabels; ++i) {
    double v = (first + i) * Step;
    if (v > hi + std::fabs(Step) * 1e-9) break;
    if (std::fabs(v) < std::fabs(Step) * 1e-9) v = 0;  // no "-0" from rounding noise
    out.push_back(v);
  }
  return out;
}
}  // namespace

double TChartAxis::CalcIncrement() {
  const double lo = std::min(minimum_, maximum_), hi = std::max(minimum_, maximum_);
  const double range = hi - lo;
  if (range == 0 || !std::isfinite(range)) return increment_ > 0 ? increment_ : 1;
  const PixelEnds e = Ends(startPos_, endPos_, horizontal_, inverted_, minimumOffset_ + minPixelMargin_,
                           maximumOffset_ + maxPixelMargin_);
  const double pixels = std::fabs(double(e.atMax - e.atMin));
  if (pixels < 1) return std::max(range, increment_);
  TCanvas3D* c = chart_ ? chart_->Canvas() : nullptr;
  if (c) c->AssignFont(labelsFont_.get());
  const double sep = 1 + labelsSeparation_ / 100.0;
  // The room one label needs along the axis.
  auto extentOf = [&](const std::string& text) -> double {
    if (labelsSeparation_ == 0) return 1;
    if (!c) return horizontal_ ? 8.0 * text.size() * sep : 12 * sep;
    return (horizontal_ ? c->TextWidth(text) : c->TextHeight(text)) * sep;
  };
  double need = std::max(extentOf(LabelText(lo)), extentOf(LabelText(hi)));
  const double maxLabels = std::max(1.0, std::floor(pixels / std::max(1.0, need)));
  double step = std::max(increment_, 0.0);
  const double minStep = std::max(range / maxLabels, range / MaxLabels);
  if (step < minStep) step = NiceStepAtLeast(minStep);
  // Labels between the ends may be wider than those at the ends: grow until none overlap.
  for (int guard = 0; guard < 64; ++guard) {
    const double stepPixels = step * pixels / range;
    double widest = 0;
    for (double v : MultiplesInside(lo, hi, step)) widest = std::max(widest, extentOf(LabelText(v)));
    if (stepPixels >= widest) break;
    step = NextNiceStep(step);
  }
  return step;
}

std::vector<double> TChartAxis::LabelValues() {
  const double lo = std::min(minimum_, maximum_), hi = std::max(minimum_, maximum_);
  if (!std::isfinite(lo) || !std::isfinite(hi)) return {};
  if (hi == lo) return {lo};
  return MultiplesInside(lo, hi, CalcIncrement());
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
int TChartAxis::LabelsThickness() {
  if (!labels_) return 0;
  if (labelsSize_ > 0) return labelsSize_;
  TCanvas3D* c = chart_ ? chart_->Canvas() : nullptr;
  if (!c) return 0;
  c->AssignFont(labelsFont_.get());
  if (horizontal_) return c->FontHeight() + LabelGap;
  int widest = 0;
  for (double v : LabelValues()) widest = std::max(widest, c->TextWidth(LabelText(v)));
  return widest + LabelGap;
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
  return LabelExtent() + LabelsThickness() + TitleThickness();
}

// ---- Drawing ------------------------------------------------------------------
void TChartAxis::DrawLabel(int Pos, const std::string& Text) {
  TCanvas3D* c = chart_->Canvas();
  const int out = LabelExtent() + LabelGap;
  if (horizontal_) {
    const int y = otherSide_ ? posAxis_ - out - c->FontHeight() : posAxis_ + out;
    c->SetTextAlign(TA_CENTER | TA_TOP);
    c->TextOut3D(Pos, y, 0, Text);
  } else {
    const int y = Pos - c->TextHeight(Text) / 2;
    c->SetTextAlign((otherSide_ ? TA_LEFT : TA_RIGHT) | TA_TOP);
    c->TextOut3D(otherSide_ ? posAxis_ + out : posAxis_ - out, y, 0, Text);
  }
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
  title_->DrawShapeOnCanvas(c, box, 0);
  c->SetBackMode(cbmTransparent);
  c->SetTextAlign(TA_LEFT | TA_TOP);
  if (horizontal_ && angle == 0)
    title_->DrawText(c, x, y, 0, text);
  else
    c->RotateLabel3D(x, y, 0, text, horizontal_ ? angle : (angle == 270 ? 270 : 90));
}

void TChartAxis::DrawGrid() {
  if (!IsVisible() || !grid_->Visible()) return;
  TCanvas3D* c = chart_->Canvas();
  const TRect& r = chart_->ChartRect();
  std::vector<double> values = LabelValues();
  const double step = values.size() > 1 ? values[1] - values[0] : 0;
  const double lo = std::min(minimum_, maximum_), hi = std::max(minimum_, maximum_);
  c->ApplyPen(grid_.get());
  c->SetBackMode(cbmTransparent);
  for (size_t i = 0; i < values.size(); i += size_t(grid_->DrawEvery())) {
    double v = values[i];
    if (grid_->Centered()) {
      if (step == 0) continue;
      v += step / 2;
      if (v > hi) continue;
    }
    if (v < lo) continue;
    const int p = CalcPosValue(v);
    if (horizontal_)
      c->VertLine3D(p, r.Top, r.Bottom, 0);
    else
      c->HorizLine3D(r.Left, r.Right, p, 0);
  }
}

void TChartAxis::Draw() {
  ticksPos_.clear();
  if (!IsVisible()) return;
  TCanvas3D* c = chart_->Canvas();
  const int dir = horizontal_ ? (otherSide_ ? -1 : 1) : (otherSide_ ? 1 : -1);
  auto tick = [&](TChartPen* pen, int pos, int from, int to) {
    if (!pen->Visible() || from == to) return;
    c->ApplyPen(pen);
    if (horizontal_)
      c->VertLine3D(pos, posAxis_ + from, posAxis_ + to, 0);
    else
      c->HorizLine3D(posAxis_ + from, posAxis_ + to, pos, 0);
  };
  if (axisPen_->Visible()) {
    c->ApplyPen(axisPen_.get());
    if (horizontal_)
      c->HorizLine3D(startPos_, endPos_, posAxis_, 0);
    else
      c->VertLine3D(posAxis_, startPos_, endPos_, 0);
  }
  const std::vector<double> values = LabelValues();
  const double lo = std::min(minimum_, maximum_), hi = std::max(minimum_, maximum_);
  if (labels_) {
    c->AssignFont(labelsFont_.get());
    c->SetBackMode(cbmTransparent);
  }
  for (double v : values) {
    const int p = CalcPosValue(v);
    ticksPos_.push_back(p);
    tick(ticks_.get(), p, 0, dir * tickLength_);
    tick(ticksInner_.get(), p, 0, -dir * tickInnerLength_);
    if (labels_) DrawLabel(p, LabelText(v));
  }
  if (minorTickCount_ > 0 && values.size() > 1) {
    const double step = values[1] - values[0];
    const double minorStep = step / (minorTickCount_ + 1);
    // From one step before the first label to the last, so the ends get theirs too.
    for (double base = values.front() - step; base <= values.back(); base += step)
      for (int k = 1; k <= minorTickCount_; ++k) {
        const double v = base + k * minorStep;
        if (v >= lo && v <= hi) tick(minorTicks_.get(), CalcPosValue(v), 0, dir * minorTickLength_);
      }
  }
  DrawTitle();
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
