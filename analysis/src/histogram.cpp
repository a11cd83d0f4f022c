#include "analysis/histogram.h"

#include <algorithm>
#include <cstdlib>

#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "engine/axis.h"
#include "engine/panel.h"
#include "platform/rtl.h"

IMPLEMENT_CLASS_PROPS(THistogramSeries, TCustomLineSeries)
IMPLEMENT_CLASS(THorizHistogramSeries, THistogramSeries)

namespace {
TRect Normalized(TRect R) {
  if (R.Left > R.Right) std::swap(R.Left, R.Right);
  if (R.Top > R.Bottom) std::swap(R.Top, R.Bottom);
  return R;
}
}  // namespace

THistogramSeries::THistogramSeries(TComponent* AOwner)
    : TCustomLineSeries(AOwner), linesPen_(std::make_unique<TChartHiddenPen>(ChangeHandler())) {}

THistogramSeries::~THistogramSeries() = default;

THistogramSeries::TBar THistogramSeries::NextBar(int ValueIndex, bool First) {
  const bool forward = DrawValuesForward();
  const int s = forward ? 1 : -1;
  // Pixels grow along the index on the horizontal axis, shrink on the vertical one.
  const int d = Vertical() ? s : -s;
  const int p = PositionPixel(ValueIndex);
  // The half width is half the spacing to the previously drawn point; the first
  // bar has none behind it and measures the spacing ahead.
  const int next = ValueIndex + s, prev = ValueIndex - s;
  const bool hasNext = next >= 0 && next < Count(), hasPrev = prev >= 0 && prev < Count();
  int w;
  if (hasPrev && (!First || !hasNext)) {
    w = int(Round(d * (p - PositionPixel(prev)) / 2.0));
  } else if (hasNext) {
    w = int(Round(d * (PositionPixel(next) - p) / 2.0));
  } else {
    // A lone bar has no neighbour to measure: it takes half the axis.
    TChartAxis* axis = PositionAxis();
    w = axis ? std::abs(axis->IAxisSize()) / 4 : 0;
  }
  TBar b;
  if (First) {
    b.Near = p - d * (w + 1);
    b.Far = b.Near + d * (2 * w + 2);
  } else {
    b.Near = keptEdge_;
    b.Far = p + d * (w + 1);
  }
  // Where the spacing shrinks sharply the half width would carry the bar over the
  // next point and fold the next bar back behind its own left edge: stop at the
  // next point, and keep at least one column.
  if (hasNext && d * (b.Far - PositionPixel(next)) > 0) b.Far = PositionPixel(next);
  if (d * (b.Far - b.Near) < 1) b.Far = b.Near + d;
  keptEdge_ = b.Far - d;
  TChartAxis* valueAxis = ValueAxis();
  if (Vertical()) {
    b.Value = CalcYPos(ValueIndex);
    b.Origin = !valueAxis                ? 0
               : valueAxis->Inverted()  ? valueAxis->IStartPos()
               : useYOrigin_            ? CalcYPosValue(yOrigin_)
                                        : valueAxis->IEndPos();
  } else {
    b.Value = CalcXPos(ValueIndex);
    b.Origin = !valueAxis ? 0 : valueAxis->Inverted() ? valueAxis->IEndPos() : valueAxis->IStartPos();
  }
  return b;
}

TRect THistogramSeries::BarRect(const TBar& B) const {
  if (Vertical()) return TRect{B.Near, B.Value, B.Far, B.Origin};
  return TRect{B.Origin, B.Far, B.Value + 1, B.Near};
}

std::vector<TRect> THistogramSeries::CalcBarRects() {
  std::vector<TRect> rects;
  const int first = FirstValueIndex(), last = LastValueIndex();
  if (first < 0) return rects;
  const bool forward = DrawValuesForward();
  rects.resize(size_t(last - first + 1));
  for (int k = 0; k <= last - first; ++k) {
    const int i = forward ? first + k : last - k;
    rects[size_t(i - first)] = BarRect(NextBar(i, k == 0));
  }
  return rects;
}

void THistogramSeries::DrawValue(int ValueIndex) {
  const bool forward = DrawValuesForward();
  const bool first = ValueIndex == DrawStartIndex();
  const bool last = ValueIndex == (forward ? LastValueIndex() : FirstValueIndex());
  const TBar b = NextBar(ValueIndex, first);
  PaintBar(ValueIndex, b, first, last);
  prevTop_ = b.Value;
}

void THistogramSeries::DrawAllValues() { TChartSeries::DrawAllValues(); }

void THistogramSeries::PaintBar(int ValueIndex, const TBar& B, bool First, bool Last) {
  TCanvas3D* c = ParentCanvas();
  if (!c) return;
  const bool is3D = c->Is3D();
  const int z = MiddleZ();
  const TColor color = GetValueColor(ValueIndex);
  if (Brush()->Style() != bsClear && color != clNone) {
    TRect r = Normalized(BarRect(B));
    // The fill reaches the origin's pixel and leaves the outline's value pixel.
    if (Vertical()) {
      ++r.Bottom;
      if (!is3D) ++r.Top;
    } else {
      ++r.Bottom;
      if (!is3D) --r.Right;
    }
    c->ApplyBrushColors(Brush(), color, Brush()->BackColor());
    c->Pen()->SetStyle(psClear);
    TLumBlend* blend = transparency_ > 0
                           ? c->BeginBlending(is3D ? c->ProjectedRectBounds(r, z) : r, transparency_)
                           : nullptr;
    struct TBlendGuard {
      TCanvas3D* Canvas;
      TLumBlend* Blend;
      ~TBlendGuard() { Canvas->EndBlending(Blend); }
    } guard{c, blend};
    if (is3D)
      c->RectangleWithZ(r, z);
    else
      c->FillRect(r);
  }
  const auto line = [&](int pos0, int val0, int pos1, int val1) {
    const TPoint a = At(pos0, val0), e = At(pos1, val1);
    c->MoveTo3D(a.X, a.Y, z);
    c->LineTo3D(e.X, e.Y, z);
  };
  const int s = Vertical() == DrawValuesForward() ? 1 : -1;
  const int kept = B.Far - s;
  if (Pen()->Visible()) {
    c->ApplyPenColor(Pen(), LineColor());
    line(B.Near, First ? B.Origin : prevTop_, B.Near, B.Value);
    line(B.Near, B.Value, kept, B.Value);
    if (Last) line(kept, B.Value, kept, B.Origin);
  }
  if (linesPen_->Visible() && !First) {
    // The lower of the two tops: the one nearer the origin.
    const int lower = std::abs(prevTop_ - B.Origin) < std::abs(B.Value - B.Origin) ? prevTop_ : B.Value;
    int end = lower;
    if (!Pen()->Visible()) end += B.Origin > lower ? -1 : 1;
    c->ApplyPen(linesPen_.get());
    line(B.Near, B.Origin, B.Near, end);
  }
}

int THistogramSeries::Clicked(int X, int Y) {
  TCanvas3D* c = ParentCanvas();
  if (!c || FirstValueIndex() < 0) return -1;
  TPoint p{X, Y};
  if (c->Is3D()) p = c->InverseProject(X, Y, MiddleZ());
  const std::vector<TRect> rects = CalcBarRects();
  for (size_t k = 0; k < rects.size(); ++k) {
    const TRect r = Normalized(rects[k]);
    if (p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y <= r.Bottom) return FirstValueIndex() + int(k);
  }
  return -1;
}

int THistogramSeries::HalfSlot() const {
  TChartAxis* axis = PositionAxis();
  const int perPage = ParentChart() ? ParentChart()->GetMaxPointsPerPage() : 0;
  const int points = perPage > 0 ? perPage : Count();
  if (!axis || points <= 0) return 0;
  return std::abs(axis->IAxisSize()) / points / 2;
}

void THistogramSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
  TCustomLineSeries::CalcHorizMargins(LeftMargin, RightMargin);
  const int pen = Pen()->Visible() ? Pen()->Width() : 0;
  if (Vertical()) {
    LeftMargin += HalfSlot();
    RightMargin += HalfSlot() + pen;
  } else {
    RightMargin += pen;
  }
}

void THistogramSeries::CalcVerticalMargins(int& TopMargin, int& BottomMargin) {
  TCustomLineSeries::CalcVerticalMargins(TopMargin, BottomMargin);
  const int pen = Pen()->Visible() ? Pen()->Width() : 0;
  if (Vertical()) {
    TopMargin += pen;
  } else {
    TopMargin += HalfSlot() + pen;
    BottomMargin += HalfSlot();
  }
}

void THistogramSeries::CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) {
  TCustomLineSeries::CreateSubGallery(AddSubChart);
  if (!AddSubChart) return;
  for (const std::string* name : {&LumMsg_SubHollow, &LumMsg_SubNoBorder, &LumMsg_SubLines, &LumMsg_SubTransparency})
    AddSubChart(*name);
}

void THistogramSeries::SetSubGallery(TChartSeries* ASeries, int Index) {
  auto* s = dynamic_cast<THistogramSeries*>(ASeries);
  if (!s) return;
  switch (Index) {
    case 1: s->Brush()->SetStyle(bsClear); break;
    case 2: s->Pen()->Hide(); break;
    case 3: s->LinesPen()->Show(); break;
    case 4: s->SetTransparency(30); break;
    default: break;
  }
}

void THistogramSeries::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<THistogramSeries*>(Source)) {
    Pen()->Assign(src->Pen());
    linesPen_->Assign(src->linesPen_.get());
    Brush()->Assign(src->Brush());
    transparency_ = src->transparency_;
    yOrigin_ = src->yOrigin_;
    useYOrigin_ = src->useYOrigin_;
  }
  TCustomLineSeries::Assign(Source);
}

void THistogramSeries::DefineProperties(TPropertyTable& t) {
  t.Object("LinesPen", &THistogramSeries::LinesPen);
  t.Int("Transparency", &THistogramSeries::Transparency, &THistogramSeries::SetTransparency).Default(0LL);
  t.Bool("UseYOrigin", &THistogramSeries::UseYOrigin, &THistogramSeries::SetUseYOrigin).Default(false);
  t.Float("YOrigin", &THistogramSeries::YOrigin, &THistogramSeries::SetYOrigin).Default((long double)0);
}

THorizHistogramSeries::THorizHistogramSeries(TComponent* AOwner) : THistogramSeries(AOwner) {
  // Positions on Y, in ascending order as points are added; values on X, unordered.
  XValues()->SetOrder(loNone);
  YValues()->SetOrder(loAscending);
}

void THorizHistogramSeries::AddSampleValues(int NumValues) {
  // Made as positions on X and values on Y, kept in the order made (ascending
  // positions), then swapped.
  YValues()->SetOrder(loNone);
  THistogramSeries::AddSampleValues(NumValues);
  YValues()->SetOrder(loAscending);
  for (int i = 0; i < Count(); ++i) {
    const double position = XValues()->GetValue(i);
    XValues()->SetValue(i, YValues()->GetValue(i));
    YValues()->SetValue(i, position);
  }
}
