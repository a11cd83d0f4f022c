#include "analysis/histogram.h"

#include <algorithm>
#include <cstdlib>

#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "engine/axis.h"
#include "engine/paintpath.h"
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

int THistogramSeries::OriginPixel() const {
  TChartAxis* valueAxis = ValueAxis();
  if (!valueAxis) return 0;
  if (Vertical())
    return valueAxis->Inverted() ? valueAxis->IStartPos() : useYOrigin_ ? CalcYPosValue(yOrigin_) : valueAxis->IEndPos();
  return valueAxis->Inverted() ? valueAxis->IEndPos() : valueAxis->IStartPos();
}

THistogramSeries::TBar THistogramSeries::NextBar(int ValueIndex, bool First) {
  const int s = DrawValuesForward() ? 1 : -1;
  const int next = ValueIndex + s, prev = ValueIndex - s;
  const int p = PositionPixel(ValueIndex);
  const int prevP = prev >= 0 && prev < Count() ? PositionPixel(prev) : 0;
  const int nextP = next >= 0 && next < Count() ? PositionPixel(next) : 0;
  return MakeBar(p, prev >= 0 && prev < Count() ? &prevP : nullptr, next >= 0 && next < Count() ? &nextP : nullptr,
                 Vertical() ? CalcYPos(ValueIndex) : CalcXPos(ValueIndex), OriginPixel(), First);
}

THistogramSeries::TBar THistogramSeries::MakeBar(int p, const int* Prev, const int* Next, int Value, int Origin,
                                                 bool First) {
  const bool forward = DrawValuesForward();
  const int s = forward ? 1 : -1;
  // Pixels grow along the index on the horizontal axis, shrink on the vertical one.
  const int d = Vertical() ? s : -s;
  // The half width is half the spacing to the previously drawn point; the first
  // bar has none behind it and measures the spacing ahead.
  int w;
  if (Prev && (!First || !Next)) {
    w = int(Round(d * (p - *Prev) / 2.0));
  } else if (Next) {
    w = int(Round(d * (*Next - p) / 2.0));
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
  if (Next && d * (b.Far - *Next) > 0) b.Far = *Next;
  if (d * (b.Far - b.Near) < 1) b.Far = b.Near + d;
  keptEdge_ = b.Far - d;
  b.Value = Value;
  b.Origin = Origin;
  return b;
}

template <class F>
void THistogramSeries::ForEachBar(int From, int Count_, F&& Bar) {
  const int first = FirstValueIndex(), last = LastValueIndex();
  const bool forward = DrawValuesForward();
  const int s = forward ? 1 : -1, start = forward ? first : last, end = forward ? last : first;
  TChartAxis* posAxis = PositionAxis();
  TChartAxis* valAxis = ValueAxis();
  const std::vector<double>& positions = (Vertical() ? XValues() : YValues())->Values();
  const std::vector<double>& values = (Vertical() ? YValues() : XValues())->Values();
  const int origin = OriginPixel(), n = Count();
  constexpr int Chunk = 512;
  int pos[Chunk + 2], val[Chunk];
  for (int done = 0; done < Count_; done += Chunk) {
    const int m = std::min(Chunk, Count_ - done);
    // Indexes lo..hi of this part (in index order), with a neighbour each side.
    const int a = From + s * done, b = From + s * (done + m - 1);
    const int lo = std::min(a, b), hi = std::max(a, b);
    const int pLo = std::max(0, lo - 1), pHi = std::min(n - 1, hi + 1);
    posAxis->CalcPosValues(positions.data() + pLo, pHi - pLo + 1, pos);
    valAxis->CalcPosValues(values.data() + lo, hi - lo + 1, val);
    for (int k = 0; k < m; ++k) {
      const int i = From + s * (done + k), prev = i - s, next = i + s;
      const bool hasPrev = prev >= 0 && prev < n, hasNext = next >= 0 && next < n;
      const TBar bar = MakeBar(pos[i - pLo], hasPrev ? &pos[prev - pLo] : nullptr, hasNext ? &pos[next - pLo] : nullptr,
                               val[i - lo], origin, i == start);
      Bar(i, bar, i == start, i == end);
    }
  }
}

TRect THistogramSeries::FillArea(const TBar& B, bool Is3D) const {
  TRect r = Normalized(BarRect(B));
  // The fill reaches the origin's pixel and leaves the outline's value pixel.
  ++r.Bottom;
  if (!Is3D) {
    if (Vertical()) ++r.Top;
    else --r.Right;
  }
  return r;
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

bool THistogramSeries::LeavesOutHiddenBars(TCanvas3D* C) const {
  return C->DrawsToPixels() && !C->Antialiased() && C->SeparableProjection() && transparency_ == 0 &&
         (Brush()->Style() == bsClear || OpaqueBrush(Brush())) && OpaquePen(Pen()) && OpaquePen(linesPen_.get()) &&
         Pen()->Mode() == pmCopy && linesPen_->Mode() == pmCopy && C->Pen()->Mode() == pmCopy;
}

// The parts PaintBar draws, on the screen: the fill (flat, a rectangle without its
// right column and bottom row; in 3D, drawn without a pen, one more of each left out)
// and one-pixel lines without their end pixel.
template <class F>
void THistogramSeries::BarPixels(TCanvas3D* C, const TBar& B, int PrevTop, bool First, bool Last, TColor Fill,
                                 F&& Figure) const {
  const bool is3D = C->Is3D();
  const int z = MiddleZ();
  const TCanvas3D::TAxisProjection px = C->ProjectionX(z), py = C->ProjectionY(z);
  if (Brush()->Style() != bsClear && Fill != clNone) {
    TRect r = FillArea(B, is3D);
    if (is3D) r = Normalized({px(r.Left), py(r.Top), px(r.Right), py(r.Bottom)});
    const int inset = is3D ? 2 : 1;
    if (r.Right - r.Left >= inset && r.Bottom - r.Top >= inset) Figure(r.Left, r.Right - inset, r.Top, r.Bottom - inset);
  }
  const auto line = [&](int Pos0, int Val0, int Pos1, int Val1) {
    const TPoint a = At(Pos0, Val0), e = At(Pos1, Val1);
    const int x0 = px(a.X), y0 = py(a.Y), x1 = px(e.X), y1 = py(e.Y);
    if (x0 == x1 && y0 != y1) Figure(x0, x0, std::min(y0, y1 + 1), std::max(y0, y1 - 1));
    else if (y0 == y1 && x0 != x1) Figure(std::min(x0, x1 + 1), std::max(x0, x1 - 1), y0, y0);
  };
  BarLines(B, PrevTop, First, Last, [&](bool, int Pos0, int Val0, int Pos1, int Val1) { line(Pos0, Val0, Pos1, Val1); });
}

template <class F>
void THistogramSeries::BarLines(const TBar& B, int PrevTop, bool First, bool Last, F&& Line) const {
  const int s = Vertical() == DrawValuesForward() ? 1 : -1;
  const int kept = B.Far - s;
  if (Pen()->Visible()) {
    Line(false, B.Near, First ? B.Origin : PrevTop, B.Near, B.Value);
    Line(false, B.Near, B.Value, kept, B.Value);
    if (Last) Line(false, kept, B.Value, kept, B.Origin);
  }
  if (linesPen_->Visible() && !First) {
    // The lower of the two tops: the one nearer the origin.
    const int lower = std::abs(PrevTop - B.Origin) < std::abs(B.Value - B.Origin) ? PrevTop : B.Value;
    int end = lower;
    if (!Pen()->Visible()) end += B.Origin > lower ? -1 : 1;
    Line(true, B.Near, B.Origin, B.Near, end);
  }
}

void THistogramSeries::DrawAllValues() {
  TCanvas3D* c = ParentCanvas();
  const int first = FirstValueIndex(), last = LastValueIndex();
  if (!c || first < 0) return;
  const bool forward = DrawValuesForward();
  const int start = forward ? first : last, s = forward ? 1 : -1, count = last - first + 1;
  if (!LeavesOutHiddenBars(c)) {
    ForEachBar(start, count, [&](int i, const TBar& b, bool isFirst, bool isLast) {
      PaintBar(i, b, isFirst, isLast);
      prevTop_ = b.Value;
    });
    return;
  }
  // The bars hang together (each starts at the last one's edge and its outline at
  // the last one's top), so the walk from the last drawn back goes a part at a time:
  // the state each part starts with is found first, walking forward.
  constexpr int Part = 4096;
  struct TState {
    int KeptEdge, PrevTop;
  };
  std::vector<TState> states;
  for (int done = 0; done < count; done += Part) {
    states.push_back({keptEdge_, prevTop_});
    ForEachBar(start + s * done, std::min(Part, count - done), [&](int, const TBar& b, bool, bool) { prevTop_ = b.Value; });
  }
  struct TKept {
    int Index;
    TBar Bar;
    int PrevTop;
    bool First, Last;
  };
  std::vector<TKept> kept, part;
  TColumnCover cover(TColumnCover::VisibleArea(c));
  for (int k = int(states.size()) - 1; k >= 0; --k) {
    keptEdge_ = states[size_t(k)].KeptEdge;
    prevTop_ = states[size_t(k)].PrevTop;
    part.clear();
    ForEachBar(start + s * k * Part, std::min(Part, count - k * Part), [&](int i, const TBar& b, bool isFirst, bool isLast) {
      part.push_back({i, b, prevTop_, isFirst, isLast});
      prevTop_ = b.Value;
    });
    for (auto bar = part.rbegin(); bar != part.rend(); ++bar) {
      const TColor fill = GetValueColor(bar->Index);
      bool hidden = true;
      BarPixels(c, bar->Bar, bar->PrevTop, bar->First, bar->Last, fill,
                [&](int X0, int X1, int Y0, int Y1) { hidden = hidden && cover.Hidden(X0, X1, Y0, Y1); });
      if (hidden) continue;
      kept.push_back(*bar);
      BarPixels(c, bar->Bar, bar->PrevTop, bar->First, bar->Last, fill,
                [&](int X0, int X1, int Y0, int Y1) { cover.Cover(X0, X1, Y0, Y1); });
    }
  }
  for (auto bar = kept.rbegin(); bar != kept.rend(); ++bar) {
    prevTop_ = bar->PrevTop;
    PaintBar(bar->Index, bar->Bar, bar->First, bar->Last);
  }
}

void THistogramSeries::PaintBar(int ValueIndex, const TBar& B, bool First, bool Last) {
  TCanvas3D* c = ParentCanvas();
  if (!c) return;
  const bool is3D = c->Is3D();
  const int z = MiddleZ();
  const TColor color = GetValueColor(ValueIndex);
  if (Brush()->Style() != bsClear && color != clNone) {
    const TRect r = FillArea(B, is3D);
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
  int applied = -1;  // the pen on the canvas: 0 the outline's, 1 the dividers'
  BarLines(B, prevTop_, First, Last, [&](bool Divider, int Pos0, int Val0, int Pos1, int Val1) {
    if (applied != int(Divider)) {
      if (Divider) c->ApplyPen(linesPen_.get());
      else c->ApplyPenColor(Pen(), LineColor());
      applied = int(Divider);
    }
    line(Pos0, Val0, Pos1, Val1);
  });
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
