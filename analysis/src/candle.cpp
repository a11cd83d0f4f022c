#include "analysis/candle.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "engine/axis.h"
#include "engine/helpers.h"
#include "engine/paintpath.h"
#include "engine/panel.h"
#include "platform/dateutils.h"
#include "platform/rtl.h"
#include "samples.h"

IMPLEMENT_CLASS_PROPS(TOHLCSeries, TCustomSeries)
IMPLEMENT_CLASS_PROPS(TCandleSeries, TOHLCSeries)

// ---- TOHLCSeries ------------------------------------------------------------------
TOHLCSeries::TOHLCSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
  XValues()->SetName(LumMsg_ValuesDate);
  XValues()->InitDateTime(true);
  RecordDefaults(XValues());
  YValues()->SetName(LumMsg_ValuesClose);
  high_ = std::make_unique<TChartValueList>(this, LumMsg_ValuesHigh);
  AddValueList(high_.get());
  low_ = std::make_unique<TChartValueList>(this, LumMsg_ValuesLow);
  AddValueList(low_.get());
  open_ = std::make_unique<TChartValueList>(this, LumMsg_ValuesOpen);
  AddValueList(open_.get());
}

TOHLCSeries::~TOHLCSeries() = default;

void TOHLCSeries::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TOHLCSeries*>(Source)) {
    high_->Assign(src->high_.get());
    low_->Assign(src->low_.get());
    open_->Assign(src->open_.get());
  }
  TCustomSeries::Assign(Source);
}

void TOHLCSeries::ReplaceValues(TChartValueList* Dest, TChartValueList* Source) {
  if (!Source || Source == Dest) return;
  Dest->Clear();
  for (int i = 0; i < Source->Count(); ++i) Dest->InsertChartValue(i, Source->GetValue(i));
  Repaint();
}

int TOHLCSeries::AddOHLC(double ADate, double AOpen, double AHigh, double ALow, double AClose,
                         const std::string& ALabel, TColor AColor) {
  open_->SetTempValue(AOpen);
  high_->SetTempValue(AHigh);
  low_->SetTempValue(ALow);
  const int index = AddXY(ADate, AClose, ALabel, AColor);
  if (index < 0) {  // refused: nothing pending may reach the next point
    open_->TakeTempValue();
    high_->TakeTempValue();
    low_->TakeTempValue();
  }
  return index;
}

double TOHLCSeries::Extreme(bool Max) const {
  const int n = Count();
  if (n == 0) return 0;
  const bool nullsCount = TreatNulls() == tnIgnore;
  const auto& c = YValues()->Values();
  const auto& h = high_->Values();
  const auto& l = low_->Values();
  const auto& o = open_->Values();
  bool any = false;
  double result = 0;
  for (int i = 0; i < n; ++i) {
    if (!nullsCount && IsNull(i)) continue;
    const double v = Max ? std::max({h[i], l[i], o[i], c[i]}) : std::min({h[i], l[i], o[i], c[i]});
    result = !any ? v : (Max ? std::max(result, v) : std::min(result, v));
    any = true;
  }
  return result;
}

double TOHLCSeries::MinYValue() const { return Extreme(false); }
double TOHLCSeries::MaxYValue() const { return Extreme(true); }

bool TOHLCSeries::IsValidSourceOf(TChartSeries* Value) {
  return Value != this && dynamic_cast<TOHLCSeries*>(Value) != nullptr;
}

void TOHLCSeries::AddSampleValues(int NumValues) {
  // Prices of the days up to today, on an axis whose range is not fixed by hand.
  TChartAxis* h = ParentChart() ? GetHorizAxis() : nullptr;
  const bool daily = !h || h->Automatic();
  analysis_detail::FillSamples(this, NumValues, [&](int N, double Date, double StepX, double MinY, double DifY) {
    if (daily) {
      StepX = 1;
      Date = ::Date() - (N - 1);
    }
    // Bounds of a tiny range round to 0, which RandomValue answers with 0.
    const auto bound = [](double v) {
      return int(std::clamp<long long>(Round(v), 0, std::numeric_limits<int>::max()));
    };
    double close = MinY + RandomValue(bound(DifY));
    for (int i = 0; i < N; ++i) {
      const double open = close + RandomValue(bound(DifY / 25)) - DifY / 50;
      const double spread = 3 * double(Round(std::fabs(open - close) / 10));
      const int wick = bound(std::fabs(double(Round(DifY / 400))));
      const double high = std::max(open, close) + spread + RandomValue(wick);
      const double low = std::min(open, close) - spread - RandomValue(wick);
      AddOHLC(Date, open, high, low, close);
      Date += StepX;
      close = open + RandomValue(10) - 5;
    }
  });
}

void TOHLCSeries::DefineProperties(TPropertyTable& t) {
  t.Object("CloseValues", &TOHLCSeries::CloseValues);
  t.Object("DateValues", &TOHLCSeries::DateValues);
  t.Object("HighValues", &TOHLCSeries::HighValues);
  t.Object("LowValues", &TOHLCSeries::LowValues);
  t.Object("OpenValues", &TOHLCSeries::OpenValues);
}

// ---- TCandleSeries ----------------------------------------------------------------
TCandleSeries::TCandleSeries(TComponent* AOwner)
    : TOHLCSeries(AOwner),
      upGradient_(std::make_unique<TLumGradient>(ChangeHandler())),
      downGradient_(std::make_unique<TLumGradient>(ChangeHandler())),
      highLowPen_(std::make_unique<TChartPen>(ChangeHandler())) {
  upGradient_->SetStartColor(clWhite);
  downGradient_->SetStartColor(clRed);
  RecordDefaults(downGradient_.get());
  highLowPen_->SetColor(clLumColor);
  RecordDefaults(highLowPen_.get());
  Pointer()->SetDraw3D(true);
}

TCandleSeries::~TCandleSeries() = default;

void TCandleSeries::SetCandleStyle(TCandleStyle Value) {
  if (candleStyle_ == Value) return;
  candleStyle_ = Value;
  Pointer()->Pen()->SetVisible(Value != csLine);
  Repaint();
}

bool TCandleSeries::UpDecision(int ValueIndex, const bool* Previous) const {
  const auto& close = YValues()->Values();
  const auto& open = OpenValues()->Values();
  // A tie hands the decision to the previous point: walk back until one decides.
  for (int j = ValueIndex;; --j) {
    if (colorStyle_ == cssRelativeToOpen || j == 0) {
      if (close[j] < open[j]) return false;
      if (close[j] > open[j]) return true;
    }
    if (j == 0) return true;
    if (close[j] < close[j - 1]) return false;
    if (close[j] > close[j - 1]) return true;
    if (Previous && j == ValueIndex) return *Previous;
  }
}

bool TCandleSeries::IsUpPoint(int ValueIndex) const { return UpDecision(ValueIndex, nullptr); }

TColor TCandleSeries::ColorFor(int ValueIndex, bool Up) const {
  const TColor own = GetPointColor(ValueIndex);
  if (own != clLumColor) return own;
  return Up ? UpCloseColor() : DownCloseColor();
}

TColor TCandleSeries::HighLowColor(TColor PointColor) const {
  const TColor own = highLowPen_->Color();
  if (own != clLumColor) return own;
  return CandlePen()->Color() == clLumColor ? PointColor : CandlePen()->Color();
}

TColor TCandleSeries::CandleColor(int ValueIndex) const { return ColorFor(ValueIndex, IsUpPoint(ValueIndex)); }

double TCandleSeries::MinYValue() const {
  return candleStyle_ == csLine ? YValues()->GetMinValue() : TOHLCSeries::MinYValue();
}
double TCandleSeries::MaxYValue() const {
  return candleStyle_ == csLine ? YValues()->GetMaxValue() : TOHLCSeries::MaxYValue();
}

TCandleSeries::TCandleGeometry TCandleSeries::Geometry(int ValueIndex) const {
  TCandleGeometry g;
  g.X = CalcXPos(ValueIndex);
  g.YOpen = CalcYPosValue(OpenValues()->GetValue(ValueIndex));
  g.YClose = CalcYPos(ValueIndex);
  g.YHigh = CalcYPosValue(HighValues()->GetValue(ValueIndex));
  g.YLow = CalcYPosValue(LowValues()->GetValue(ValueIndex));
  g.Left = candleWidth_ / 2;
  g.Right = candleWidth_ - g.Left;
  return g;
}

void TCandleSeries::Geometries(int First, int Count, TCandleGeometry* Out) const {
  constexpr int Chunk = 512;
  int x[Chunk], open[Chunk], close[Chunk], high[Chunk], low[Chunk];
  TChartAxis* vert = GetVertAxis();
  for (int from = First; from < First + Count; from += Chunk) {
    const int n = std::min(Chunk, First + Count - from);
    CalcPositions(from, n, x, close);
    vert->CalcPosValues(OpenValues()->Values().data() + from, n, open);
    vert->CalcPosValues(HighValues()->Values().data() + from, n, high);
    vert->CalcPosValues(LowValues()->Values().data() + from, n, low);
    const int left = candleWidth_ / 2, right = candleWidth_ - left;
    for (int j = 0; j < n; ++j) Out[from - First + j] = {x[j], open[j], close[j], high[j], low[j], left, right};
  }
}

TRect TCandleSeries::BodyRect(const TCandleGeometry& G) const {
  int yClose = G.YClose;
  if (G.YOpen == yClose) --yClose;  // a flat bar still shows a body
  TRect r{G.X - G.Left, std::min(G.YOpen, yClose), G.X + G.Right, std::max(G.YOpen, yClose)};
  TCanvas3D* c = ParentCanvas();
  const bool is3D = c && c->Is3D();
  if (!is3D) {
    ++r.Right;
    if (!CandlePen()->Visible()) --r.Top;
  }
  return r;
}

bool TCandleSeries::LeavesOutHiddenCandles(TCanvas3D* C) const {
  if (candleStyle_ == csLine || OnGetPointerStyle.Assigned() || !C->DrawsToPixels() || C->Antialiased() ||
      !C->SeparableProjection() || C->Pen()->Mode() != pmCopy)
    return false;
  if (CandlePen()->Mode() != pmCopy || highLowPen_->Mode() != pmCopy || !OpaquePen(CandlePen()) ||
      !OpaquePen(highLowPen_.get()))
    return false;
  if (candleStyle_ == csCandleBar) return true;
  // Bodies: plain fills, no gradient over them, no depth (a box has faces of its own).
  return OpaqueBrush(Pointer()->Brush()) && !(Pointer()->HasGradient() && Pointer()->Gradient()->Visible()) &&
         !upGradient_->Visible() && !downGradient_->Visible() && UpCloseColor() != clNone &&
         DownCloseColor() != clNone && Pointer()->Depth() == 0;
}

// The parts DrawCandle draws, on the screen: one-pixel lines leave out their end
// pixel; a framed rectangle sets all its pixels but its right column and bottom row,
// an unframed one leaves out one more of each.
template <class F>
void TCandleSeries::CandlePixels(TCanvas3D* C, const TCandleGeometry& G, F&& Figure) const {
  const int midZ = MiddleZ();
  const TCanvas3D::TAxisProjection px = C->ProjectionX(midZ), py = C->ProjectionY(midZ);
  const auto vertical = [&](int X, int From, int To) {
    const int x = px(X), a = py(From), b = py(To);
    if (a < b) Figure(x, x, a, b - 1);
    else if (a > b) Figure(x, x, b + 1, a);
  };
  const auto horizontal = [&](int From, int To, int Y) {
    const int y = py(Y), a = px(From), b = px(To);
    if (a < b) Figure(a, b - 1, y, y);
    else if (a > b) Figure(b + 1, a, y, y);
  };
  const auto box = [&](const TRect& R, bool Project) {
    TRect r = Project ? TRect{px(R.Left), py(R.Top), px(R.Right), py(R.Bottom)} : R;
    if (r.Left > r.Right) std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
    const int inset = CandlePen()->Visible() ? 1 : 2;
    if (r.Right - r.Left >= inset && r.Bottom - r.Top >= inset) Figure(r.Left, r.Right - inset, r.Top, r.Bottom - inset);
  };
  const bool wicks = candleStyle_ == csCandleStick && highLowPen_->Visible();
  if (candleStyle_ == csCandleBar) {
    if (!CandlePen()->Visible()) return;
    vertical(G.X, G.YLow, G.YHigh);
    if (showOpenTick_) horizontal(G.X, G.X - G.Left - 1, G.YOpen);
    if (showCloseTick_) horizontal(G.X, G.X + G.Right + 1, G.YClose);
    return;
  }
  if (C->Is3D() && Draw3D()) {
    const int top = std::min(G.YOpen, G.YClose), bottom = std::max(G.YOpen, G.YClose);
    if (wicks) vertical(G.X, bottom, G.YLow), vertical(G.X, top, G.YHigh);
    box({G.X - G.Left, top, G.X + G.Right, bottom}, true);  // at the pointer's start depth: the middle
    return;
  }
  if (wicks) vertical(G.X, G.YLow, G.YHigh);
  box(BodyRect(G), C->Is3D());
}

void TCandleSeries::DrawAllValues() {
  const int first = FirstValueIndex(), last = LastValueIndex();
  TCanvas3D* c = ParentCanvas();
  if (first < 0 || !c) return;
  // The up/down chain is carried from point to point: one walk per drawing.
  const bool forward = DrawValuesForward();
  const int start = forward ? first : last, step = forward ? 1 : -1;
  const auto upAt = [&](int i, bool& up) {
    if (i == start) up = UpDecision(start, nullptr);
    else up = forward ? UpDecision(i, &up) : IsUpPoint(i);  // backwards nothing carries
  };
  constexpr int Chunk = 512;
  TCandleGeometry g[Chunk];
  bool up = true;
  if (!LeavesOutHiddenCandles(c)) {
    for (int done = 0; done <= last - first; done += Chunk) {
      const int n = std::min(Chunk, last - first + 1 - done);
      const int from = forward ? first + done : last - done - n + 1;
      Geometries(from, n, g);
      for (int k = 0; k < n; ++k) {
        const int j = forward ? k : n - 1 - k, i = from + j;
        upAt(i, up);
        DrawCandle(i, up, g[j]);
      }
    }
    return;
  }
  // From the last drawn to the first: a candle whose every pixel later candles paint
  // over is left out; the others are kept with their geometry, then drawn in order.
  struct TKept {
    int Index;
    TCandleGeometry G;
  };
  std::vector<TKept> kept;
  TColumnCover cover(TColumnCover::VisibleArea(c));
  for (int done = 0; done <= last - first; done += Chunk) {
    const int n = std::min(Chunk, last - first + 1 - done);
    const int from = forward ? last - done - n + 1 : first + done;  // this chunk, walked against the drawing order
    Geometries(from, n, g);
    for (int k = 0; k < n; ++k) {
      const int j = forward ? n - 1 - k : k, i = from + j;
      if (IsNull(i)) continue;
      bool hidden = true;
      CandlePixels(c, g[j], [&](int X0, int X1, int Y0, int Y1) { hidden = hidden && cover.Hidden(X0, X1, Y0, Y1); });
      if (hidden) continue;
      kept.push_back({i, g[j]});
      CandlePixels(c, g[j], [&](int X0, int X1, int Y0, int Y1) { cover.Cover(X0, X1, Y0, Y1); });
    }
  }
  auto next = kept.rbegin();
  for (int i = start; next != kept.rend(); i += step) {
    upAt(i, up);
    if (i != next->Index) continue;
    DrawCandle(i, up, next->G);
    ++next;
  }
}

void TCandleSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
  TOHLCSeries::CalcHorizMargins(LeftMargin, RightMargin);
  if (candleStyle_ == csLine) return;
  const int left = candleWidth_ / 2, right = candleWidth_ - left;
  LeftMargin = std::max(LeftMargin, left + 2);
  RightMargin = std::max(RightMargin, right + 2);
}

void TCandleSeries::DrawValue(int ValueIndex) {
  DrawCandle(ValueIndex, IsUpPoint(ValueIndex), Geometry(ValueIndex));
}

void TCandleSeries::DrawCandle(int ValueIndex, bool Up, const TCandleGeometry& g) {
  TCanvas3D* c = ParentCanvas();
  if (!c || IsNull(ValueIndex)) return;
  if (OnGetPointerStyle.Assigned()) DoGetPointerStyle(ValueIndex);
  const TColor color = ColorFor(ValueIndex, Up);
  const int midZ = MiddleZ();
  switch (candleStyle_) {
    case csLine:
      if (ValueIndex != DrawStartIndex() && ValueIndex > 0 && !IsNull(ValueIndex - 1)) {
        c->ApplyPenColor(LinePen(), color);
        c->LineWithZ(oldX_, oldY_, g.X, g.YClose, midZ);
      }
      oldX_ = g.X;
      oldY_ = g.YClose;
      return;
    case csCandleBar: {
      // The pen taken again only where a tick has a colour of its own.
      TColor pen = color;
      c->ApplyPenColor(CandlePen(), pen);
      c->VertLine3D(g.X, g.YLow, g.YHigh, midZ);
      const auto tick = [&](TColor Color) {
        if (Color == clNone) Color = color;
        if (Color != pen) c->ApplyPenColor(CandlePen(), pen = Color);
      };
      if (showOpenTick_) {
        tick(openTickColor_);
        c->HorizLine3D(g.X, g.X - g.Left - 1, g.YOpen, midZ);
      }
      if (showCloseTick_) {
        tick(closeTickColor_);
        c->HorizLine3D(g.X, g.X + g.Right + 1, g.YClose, midZ);
      }
      return;
    }
    default:
      break;
  }
  // Candle stick and open-close bodies.
  const TColor hl = HighLowColor(color);
  TLumGradient* gradient = Up ? upGradient_.get() : downGradient_.get();
  const auto paintBrush = [&] {
    c->ApplyBrushColors(Pointer()->Brush(), color, clNone);
    if (Pointer()->HasGradient() && Pointer()->Gradient()->Visible()) {
      c->GetGradient()->Assign(Pointer()->Gradient());
      c->GetGradient()->SetVisible(true);
    }
  };
  if (c->Is3D() && Draw3D()) {
    const int top = std::min(g.YOpen, g.YClose), bottom = std::max(g.YOpen, g.YClose);
    if (candleStyle_ == csCandleStick) {
      c->ApplyPenColor(highLowPen_.get(), hl);
      c->VertLine3D(g.X, bottom, g.YLow, midZ);
    }
    paintBrush();
    if (!CandlePen()->Visible())
      c->Pen()->SetStyle(psClear);
    else if (g.YOpen == g.YClose)
      c->ApplyPenColor(CandlePen(), color);
    else
      c->ApplyPen(CandlePen());
    const TRect body{g.X - g.Left, top, g.X + g.Right, bottom};
    const int z0 = Pointer()->GetStartZ(), z1 = Pointer()->GetEndZ();
    // A pointer without depth gives a flat body: a cube of no depth shows no face.
    if (z0 == z1)
      c->RectangleWithZ(body, z0);
    else
      c->CubeFromRect(body, z0, z1, Dark3D());
    c->GetGradient()->SetVisible(false);
    if (gradient->Visible()) gradient->Draw(c, c->ProjectRect(body, Pointer()->GetStartZ()));
    if (candleStyle_ == csCandleStick) {
      c->ApplyPenColor(highLowPen_.get(), hl);
      c->VertLine3D(g.X, top, g.YHigh, midZ);
    }
    return;
  }
  if (candleStyle_ == csCandleStick) {
    c->ApplyPenColor(highLowPen_.get(), hl);
    c->VertLine3D(g.X, g.YLow, g.YHigh, midZ);
  }
  const TRect body = BodyRect(g);
  paintBrush();
  if (CandlePen()->Visible())
    c->ApplyPen(CandlePen());
  else
    c->Pen()->SetStyle(psClear);
  if (c->Is3D())
    c->RectangleWithZ(body, midZ);
  else
    c->Rectangle(body);
  c->GetGradient()->SetVisible(false);
  if (gradient->Visible()) gradient->Draw(c, c->Is3D() ? c->ProjectRect(body, midZ) : body);
}

int TCandleSeries::Clicked(int X, int Y) {
  const int first = FirstValueIndex(), last = LastValueIndex();
  TCanvas3D* c = ParentCanvas();
  if (first < 0 || !c) return -1;
  TPoint p{X, Y};
  if (c->Is3D()) p = c->InverseProject(X, Y, Pointer()->GetStartZ());
  const auto onLine = [&](int x0, int y0, int x1, int y1) {
    return PointInLine(p, x0, y0, x1, y1);
  };
  TCandleGeometry prev{};
  bool hasPrev = false;
  for (int i = first; i <= last; ++i) {
    if (IsNull(i)) {
      hasPrev = false;
      continue;
    }
    const TCandleGeometry g = Geometry(i);
    switch (candleStyle_) {
      case csLine:
        if (hasPrev && onLine(prev.X, prev.YClose, g.X, g.YClose)) return i;
        break;
      case csCandleBar:
        if (onLine(g.X, g.YLow, g.X, g.YHigh)) return i;
        if (showOpenTick_ && onLine(g.X, g.YOpen, g.X - g.Left - 1, g.YOpen)) return i;
        if (showCloseTick_ && onLine(g.X, g.YClose, g.X + g.Right + 1, g.YClose)) return i;
        break;
      default: {
        if (candleStyle_ == csCandleStick && onLine(g.X, g.YLow, g.X, g.YHigh)) return i;
        const TRect b = BodyRect(g);
        if (p.X >= b.Left && p.X < b.Right && p.Y >= b.Top && p.Y <= b.Bottom) return i;
      }
    }
    prev = g;
    hasPrev = true;
  }
  return -1;
}

bool TCandleSeries::IsPointInChartRect(int ValueIndex) const {
  if (!ParentChart()) return false;
  const TCandleGeometry g = Geometry(ValueIndex);
  TRect r = candleStyle_ == csLine
                ? TRect{g.X, g.YClose, g.X + 1, g.YClose + 1}
                : TRect{g.X - g.Left, std::min({g.YHigh, g.YLow, g.YOpen, g.YClose}), g.X + g.Right + 1,
                        std::max({g.YHigh, g.YLow, g.YOpen, g.YClose}) + 1};
  const TRect& cr = ParentChart()->ChartRect();
  return r.Left < cr.Right && r.Right > cr.Left && r.Top < cr.Bottom && r.Bottom > cr.Top;
}

TCandleLegendSymbol TCandleSeries::CalcLegendSymbol(const TRect& R) {
  TCandleLegendSymbol s;
  const int dx = (R.Right - R.Left) / 5 - 1, dy = (R.Bottom - R.Top) / 5;
  s.Body = TRect{R.Left + dx, R.Top + dy, R.Right - dx, R.Bottom - dy};
  s.WickX = (R.Left + R.Right) / 2;
  if ((R.Right - R.Left) % 2 == 0) --s.WickX;
  s.UpperTop = R.Top - 1;
  s.UpperBottom = R.Top + dy;
  s.LowerTop = R.Bottom - dy - 2;
  s.LowerBottom = R.Bottom;
  return s;
}

bool TCandleSeries::DrawLegendShape(TCanvas3D* ACanvas, int ValueIndex, const TRect& R) {
  const TCandleLegendSymbol s = CalcLegendSymbol(R);
  const TColor color = ValueIndex >= 0 && ValueIndex < Count() ? CandleColor(ValueIndex) : UpCloseColor();
  ACanvas->ApplyPenColor(highLowPen_.get(), HighLowColor(color));
  ACanvas->VertLine(s.WickX, s.UpperTop, s.UpperBottom);
  ACanvas->VertLine(s.WickX, s.LowerTop, s.LowerBottom);
  ACanvas->ApplyBrushColors(Pointer()->Brush(), color, clNone);
  if (CandlePen()->Visible())
    ACanvas->ApplyPen(CandlePen());
  else
    ACanvas->Pen()->SetStyle(psClear);
  ACanvas->Rectangle(s.Body);
  return true;
}

void TCandleSeries::CreateSubGallery(const std::function<void(const std::string&)>& AddSubChart) {
  TChartSeries::CreateSubGallery(AddSubChart);  // "Normal", not the line styles
  if (!AddSubChart) return;
  for (const std::string* name : {&LumMsg_SubBar, &LumMsg_SubNoOpen, &LumMsg_SubNoClose, &LumMsg_SubNoBorder,
                                  &LumMsg_SubLine})
    AddSubChart(*name);
}

void TCandleSeries::SetSubGallery(TChartSeries* ASeries, int Index) {
  auto* s = dynamic_cast<TCandleSeries*>(ASeries);
  if (!s) return;
  switch (Index) {
    case 1: s->SetCandleStyle(csCandleBar); break;
    case 2:
      s->SetCandleStyle(csCandleBar);
      s->CandlePen()->Show();
      s->SetShowOpenTick(false);
      break;
    case 3:
      s->SetCandleStyle(csCandleBar);
      s->CandlePen()->Show();
      s->SetShowCloseTick(false);
      break;
    case 4:
      s->SetCandleStyle(csCandleStick);
      s->CandlePen()->Hide();
      break;
    case 5: s->SetCandleStyle(csLine); break;
    default: break;
  }
}

void TCandleSeries::PrepareForGallery(bool IsEnabled) {
  TOHLCSeries::PrepareForGallery(IsEnabled);
  AddSampleValues(4);
  if (!IsEnabled) {
    SetUpCloseColor(clSilver);
    SetDownCloseColor(clGray);
    CandlePen()->SetColor(clGray);
  }
  CandlePen()->SetWidth(2);
  SetCandleWidth(12);
}

void TCandleSeries::SetChartView3D(bool Value) {
  TOHLCSeries::SetChartView3D(Value);
  if (TCustomAxisPanel* chart = ParentChart()) {
    SetDownCloseColor(chart->GetDefaultColor(0));
    SetUpCloseColor(chart->GetDefaultColor(4));
  }
}

void TCandleSeries::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TCandleSeries*>(Source)) {
    candleWidth_ = src->candleWidth_;
    candleStyle_ = src->candleStyle_;
    colorStyle_ = src->colorStyle_;
    upGradient_->Assign(src->upGradient_.get());
    downGradient_->Assign(src->downGradient_.get());
    highLowPen_->Assign(src->highLowPen_.get());
    showOpenTick_ = src->showOpenTick_;
    showCloseTick_ = src->showCloseTick_;
    openTickColor_ = src->openTickColor_;
    closeTickColor_ = src->closeTickColor_;
  }
  TOHLCSeries::Assign(Source);
}

void TCandleSeries::DefineProperties(TPropertyTable& t) {
  t.Int("CandleWidth", &TCandleSeries::CandleWidth, &TCandleSeries::SetCandleWidth).Default(4LL);
  t.Enum("CandleStyle", &TCandleSeries::CandleStyle, &TCandleSeries::SetCandleStyle,
         {"csCandleStick", "csCandleBar", "csOpenClose", "csLine"})
      .Default(0LL);
  t.Enum("ColorStyle", &TCandleSeries::ColorStyle, &TCandleSeries::SetColorStyle,
         {"cssRelativeToOpen", "cssRelativeToClose"})
      .Default(0LL);
  t.Color("CloseTickColor", &TCandleSeries::CloseTickColor, &TCandleSeries::SetCloseTickColor).Default((long long)clNone);
  t.Bool("Draw3D", &TCandleSeries::Draw3D, &TCandleSeries::SetDraw3D).Default(true);
  t.Bool("Dark3D", &TCandleSeries::Dark3D, &TCandleSeries::SetDark3D).Default(true);
  t.Color("DownCloseColor", &TCandleSeries::DownCloseColor, &TCandleSeries::SetDownCloseColor).Default((long long)clRed);
  t.Object("DownCloseGradient", &TCandleSeries::DownCloseGradient);
  t.Object("HighLowPen", &TCandleSeries::HighLowPen);
  t.Color("OpenTickColor", &TCandleSeries::OpenTickColor, &TCandleSeries::SetOpenTickColor).Default((long long)clNone);
  t.Bool("ShowCloseTick", &TCandleSeries::ShowCloseTick, &TCandleSeries::SetShowCloseTick).Default(true);
  t.Bool("ShowOpenTick", &TCandleSeries::ShowOpenTick, &TCandleSeries::SetShowOpenTick).Default(true);
  t.Color("UpCloseColor", &TCandleSeries::UpCloseColor, &TCandleSeries::SetUpCloseColor).Default((long long)clWhite);
  t.Object("UpCloseGradient", &TCandleSeries::UpCloseGradient);
}
