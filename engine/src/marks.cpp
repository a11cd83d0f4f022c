#include "engine/marks.h"

#include <algorithm>
#include <cmath>

#include "canvas/lumcanvas.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TMargins, TLumAttribute)
IMPLEMENT_CLASS_PROPS(TCallout, TSeriesPointer)
IMPLEMENT_CLASS_PROPS(TMarksCallout, TCallout)
IMPLEMENT_CLASS_PROPS(TSeriesMarks, TLumCustomShape)

namespace {
// The classic light yellow of value marks.
constexpr TColor MarksDefaultColor = 0x80FFFF;
// Pixels between a mark's frame and its text, besides the margins.
constexpr int TextPadX = 2, TextPadY = 1;

int PercentOf(int Percent, int Size) { return int(Round((long double)Percent * Size / 100)); }

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines(1);
  for (char ch : Text) {
    if (ch == '\r' || ch == '\n') {
      lines.emplace_back();
    } else {
      lines.back() += ch;
    }
  }
  return lines;
}
}  // namespace

std::vector<TClass> ShapeClasses() {
  return {TLumCustomShapePosition::StaticClass(), TMargins::StaticClass(), TCallout::StaticClass(),
          TMarksCallout::StaticClass(), TBackImage::StaticClass()};
}

// ---- Margins -----------------------------------------------------------------
TRect TMargins::CalcPixels(int Width, int Height, int FontHeight) const {
  switch (units_) {
    case maPercentFont:
      return {PercentOf(left_, FontHeight), PercentOf(top_, FontHeight), PercentOf(right_, FontHeight),
              PercentOf(bottom_, FontHeight)};
    case maPercentSize:
      return {PercentOf(left_, Width), PercentOf(top_, Height), PercentOf(right_, Width), PercentOf(bottom_, Height)};
    default:
      return {left_, top_, right_, bottom_};
  }
}

void TMargins::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TMargins*>(Source)) {
    left_ = src->left_;
    top_ = src->top_;
    right_ = src->right_;
    bottom_ = src->bottom_;
    units_ = src->units_;
    Changed();
    return;
  }
  TLumAttribute::Assign(Source);
}

void TMargins::DefineProperties(TPropertyTable& t) {
  t.Int("Bottom", &TMargins::Bottom, &TMargins::SetBottom).Default(0LL);
  t.Int("Left", &TMargins::Left, &TMargins::SetLeft).Default(0LL);
  t.Int("Right", &TMargins::Right, &TMargins::SetRight).Default(0LL);
  t.Int("Top", &TMargins::Top, &TMargins::SetTop).Default(0LL);
  t.Enum("Units", &TMargins::Units, &TMargins::SetUnits, {"maPercentFont", "maPercentSize", "maPixels"})
      .Default(0LL);
}

// ---- Callout -----------------------------------------------------------------
TCallout::TCallout(TChartSeries* AOwner)
    : TSeriesPointer(AOwner), arrow_(std::make_unique<TChartPen>(TNotifyEvent(this, &TCallout::Changed))) {
  SetVisible(false);
}

TCallout::~TCallout() = default;

TCustomAxisPanel* TCallout::ParentChart() const {
  return ParentSeries() && ParentSeries()->ParentChart() ? ParentSeries()->ParentChart() : chart_;
}

void TCallout::Changed(TObject* Sender) {
  if (ParentSeries())
    TSeriesPointer::Changed(Sender);
  else if (chart_)
    chart_->Invalidate();
}

void TCallout::Draw(TColor AColor, const TPoint& From, const TPoint& To, int Z) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart && chart->Canvas()) DrawOn(chart->Canvas(), AColor, From, To, Z);
}

void TCallout::DrawOn(TCanvas3D* Canvas, TColor AColor, const TPoint& From, const TPoint& To, int Z) {
  TPoint to = To;
  const double dx = To.X - From.X, dy = To.Y - From.Y, len = std::hypot(dx, dy);
  if (distance_ != 0 && len > 0) {
    to = {int(std::lround(To.X - dx * distance_ / len)), int(std::lround(To.Y - dy * distance_ / len))};
  }
  if (arrow_->Visible()) {
    const TColor c = arrow_->Color() == clLumColor ? AColor : arrow_->Color();
    Canvas->ApplyPenColor(arrow_.get(), c);
    Canvas->LineWithZ(From.X, From.Y, to.X, to.Y, Z);
    if (arrowHead_ != ahNone && arrowHeadSize_ > 0 && len > 0) {
      // Two barbs 30 degrees either side of the shaft, ArrowHeadSize long.
      const double ux = dx / len, uy = dy / len, s = arrowHeadSize_;
      const double c30 = std::cos(M_PI / 6), s30 = std::sin(M_PI / 6);
      const TPoint a{int(std::lround(to.X - s * (ux * c30 - uy * s30))), int(std::lround(to.Y - s * (uy * c30 + ux * s30)))};
      const TPoint b{int(std::lround(to.X - s * (ux * c30 + uy * s30))), int(std::lround(to.Y - s * (uy * c30 - ux * s30)))};
      if (arrowHead_ == ahSolid) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(c);
        Canvas->PolygonWithZ({to, a, b}, Z);
      } else {
        Canvas->LineWithZ(to.X, to.Y, a.X, a.Y, Z);
        Canvas->LineWithZ(to.X, to.Y, b.X, b.Y, Z);
      }
    }
  }
  if (Visible()) {
    PrepareCanvas(Canvas, AColor);
    DrawPointer(Canvas, false, Style(), AColor, HorizSize(), VertSize(), to.X, to.Y);
  }
}

void TCallout::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TCallout*>(Source)) {
    arrow_->Assign(src->arrow_.get());
    arrowHead_ = src->arrowHead_;
    arrowHeadSize_ = src->arrowHeadSize_;
    distance_ = src->distance_;
  }
  TSeriesPointer::Assign(Source);
}

void TCallout::DefineProperties(TPropertyTable& t) {
  t.Object("Arrow", &TCallout::Arrow);
  t.Enum("ArrowHead", &TCallout::ArrowHead, &TCallout::SetArrowHead, {"ahNone", "ahLine", "ahSolid"}).Default(0LL);
  t.Int("ArrowHeadSize", &TCallout::ArrowHeadSize, &TCallout::SetArrowHeadSize).Default(8LL);
  t.Int("Distance", &TCallout::Distance, &TCallout::SetDistance).Default(0LL);
  t.Bool("Visible", &TCallout::Visible, &TCallout::SetVisible).Default(false);
}

void TMarksCallout::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TMarksCallout*>(Source)) length_ = src->length_;
  TCallout::Assign(Source);
}

void TMarksCallout::DefineProperties(TPropertyTable& t) {
  t.Int("Length", &TMarksCallout::Length, &TMarksCallout::SetLength).Default(8LL);
}

// ---- Positions -----------------------------------------------------------------
TSeriesMarkPosition& TSeriesMarksPositions::Position(int Index) {
  if (Index < 0) throw EListError(Format("List index out of bounds (%d)", Index));
  if (Index >= Count()) items_.resize(size_t(Index) + 1);
  return items_[size_t(Index)];
}

const TSeriesMarkPosition* TSeriesMarksPositions::Find(int Index) const {
  return Index >= 0 && Index < Count() ? &items_[size_t(Index)] : nullptr;
}

void TSeriesMarksPositions::SetCustom(int Index, const TPoint& LeftTop) {
  TSeriesMarkPosition& p = Position(Index);
  p.Custom = true;
  p.LeftTop = LeftTop;
}

void TSeriesMarksPositions::Automatic(int Index) {
  if (Index >= 0 && Index < Count()) items_[size_t(Index)].Custom = false;
}

bool TSeriesMarksPositions::ExistCustom() const {
  return std::any_of(items_.begin(), items_.end(), [](const TSeriesMarkPosition& p) { return p.Custom; });
}

void TSeriesMarksPositions::Delete(int Index) {
  if (Index >= 0 && Index < Count()) items_.erase(items_.begin() + Index);
}

void TSeriesMarksPositions::Permute(const std::vector<int>& Order) {
  if (items_.empty()) return;
  const std::vector<TSeriesMarkPosition> old = std::move(items_);
  items_.assign(Order.size(), TSeriesMarkPosition{});
  for (size_t i = 0; i < Order.size(); ++i)
    if (Order[i] >= 0 && size_t(Order[i]) < old.size()) items_[i] = old[size_t(Order[i])];
}

// ---- Marks -------------------------------------------------------------------
TSeriesMarks::TSeriesMarks(TChartSeries* ASeries)
    : TLumCustomShape(ASeries ? ASeries->ParentChart() : nullptr), series_(ASeries),
      symbol_(std::make_unique<TLumCustomShape>(ParentChart())),
      margins_(std::make_unique<TMargins>(ChangeHandler())),
      callout_(std::make_unique<TMarksCallout>(ASeries)) {
  SetVisible(false);
  Brush()->SetColor(MarksDefaultColor);
  RecordDefaults(Brush());
  symbol_->Hide();
  RecordDefaults(symbol_.get());
}

TSeriesMarks::~TSeriesMarks() = default;

void TSeriesMarks::SetStyle(TSeriesMarksStyle Value) { Store(style_, Value); }
void TSeriesMarks::SetAngle(int Value) { Store(angle_, Value); }
void TSeriesMarks::SetDrawEvery(int Value) { Store(drawEvery_, Value); }
void TSeriesMarks::SetMultiLine(bool Value) { Store(multiLine_, Value); }
void TSeriesMarks::SetTextAlign(TAlignment Value) { Store(textAlign_, Value); }
void TSeriesMarks::SetFontSeriesColor(bool Value) { Store(fontSeriesColor_, Value); }
void TSeriesMarks::SetClip(bool Value) { Store(clip_, Value); }

void TSeriesMarks::SetParentChart(TCustomAxisPanel* Value) {
  TLumCustomShape::SetParentChart(Value);
  symbol_->SetParentChart(Value);
  callout_->SetParentChart(Value);
}

int TSeriesMarks::Clicked(int X, int Y) const {
  for (int i = positions_.Count() - 1; i >= 0; --i) {
    const TRect r = positions_.Find(i)->Bounds();
    if (r.Width() > 0 && X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) return i;
  }
  return -1;
}

// The text block of a mark: lines one under the other, then turned by Angle.
struct TSeriesMarks::Layout {
  std::vector<std::string> lines;
  std::vector<TSize> sizes;
  int textW = 0, textH = 0, symbolSize = 0, symbolRoom = 0;
  double minX = 0, minY = 0, ca = 1, sa = 0;
  TRect m;
  int w = 0, h = 0;
};

TSeriesMarks::Layout TSeriesMarks::LayoutOf(TCanvas3D* c, const std::string& Text) const {
  Layout L;
  const bool html = TextFormat() == ttfHtml;
  c->AssignFont(Font());
  const int fontH = c->FontHeight();
  L.lines = SplitLines(Text);
  for (const std::string& l : L.lines) {
    const TSize s = c->RichTextExtent(l.empty() ? " " : l, html);
    L.sizes.push_back(s);
    L.textW = std::max(L.textW, s.cx);
    L.textH += s.cy;
  }
  L.symbolSize = symbol_->Visible() ? L.sizes.front().cy : 0;
  L.symbolRoom = L.symbolSize ? L.symbolSize + TextPadX : 0;
  const double a = (angle_ % 360) * M_PI / 180;
  L.ca = std::cos(a), L.sa = std::sin(a);
  // Corners of the turned block (anticlockwise on screen, y down) about its origin.
  double maxX = 0, maxY = 0;
  for (const auto& [cx, cy] : {std::pair{L.textW, 0}, std::pair{0, L.textH}, std::pair{L.textW, L.textH}}) {
    const double x = cx * L.ca + cy * L.sa, y = -cx * L.sa + cy * L.ca;
    L.minX = std::min(L.minX, x), maxX = std::max(maxX, x), L.minY = std::min(L.minY, y), maxY = std::max(maxY, y);
  }
  const int blockW = int(std::lround(maxX - L.minX)), blockH = int(std::lround(maxY - L.minY));
  L.m = margins_->CalcPixels(blockW, blockH, fontH);
  L.w = L.symbolRoom + blockW + 2 * TextPadX + L.m.Left + L.m.Right;
  L.h = blockH + 2 * TextPadY + L.m.Top + L.m.Bottom;
  return L;
}

TSize TSeriesMarks::MarkSize(const std::string& Text) const {
  TCustomAxisPanel* chart = series_ ? series_->ParentChart() : nullptr;
  if (!chart || !chart->Canvas()) return {0, 0};
  const Layout L = LayoutOf(chart->Canvas(), Text);
  return {L.w, L.h};
}

void TSeriesMarks::DrawMark(int ValueIndex, const std::string& Text, int X, int Y) {
  TCustomAxisPanel* chart = series_ ? series_->ParentChart() : nullptr;
  if (!chart || !chart->Canvas()) return;
  TCanvas3D* c = chart->Canvas();
  const int z = series_->MiddleZ();
  const TColor pointColor = series_->GetValueColor(ValueIndex);
  const Layout L = LayoutOf(c, Text);
  const std::vector<std::string>& lines = L.lines;
  const std::vector<TSize>& sizes = L.sizes;
  const int textW = L.textW, symbolSize = L.symbolSize, symbolRoom = L.symbolRoom, w = L.w, h = L.h;
  const double ca = L.ca, sa = L.sa, minX = L.minX, minY = L.minY;
  const TRect& m = L.m;

  TSeriesMarkPosition& pos = positions_.Position(ValueIndex);
  const int length = callout_->Length();
  if (!pos.Custom) pos.LeftTop = {X - w / 2, Y - length - h};
  pos.Width = w;
  pos.Height = h;
  const TRect box = pos.Bounds();
  pos.ArrowFrom = {X, Y};
  // The arrow meets the box at its point nearest the series point.
  pos.ArrowTo = {std::clamp(X, box.Left, box.Right - 1), std::clamp(Y, box.Top, box.Bottom - 1)};
  if (pos.Custom || length != 0) callout_->DrawOn(c, pointColor, pos.ArrowTo, pos.ArrowFrom, z);

  DrawShapeOnCanvas(c, box, z);
  const int innerL = box.Left + TextPadX + m.Left, innerT = box.Top + TextPadY + m.Top;
  if (symbolSize) {
    c->ApplyPen(symbol_->Frame());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(pointColor);
    c->RectangleWithZ({innerL, innerT, innerL + symbolSize, innerT + symbolSize}, z);
  }
  c->AssignFont(Font());
  if (fontSeriesColor_) c->Font()->SetColor(pointColor);
  c->SetBackMode(cbmTransparent);
  const int textL = innerL + symbolRoom;
  // Origin of the turned block so that its bounds start at the inner corner.
  const double ox = textL - minX, oy = innerT - minY;
  int lineTop = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int free = textW - sizes[i].cx;
    const int dx = textAlign_ == taLeftJustify ? 0 : textAlign_ == taRightJustify ? free : free / 2;
    if (angle_ % 360 == 0) {
      c->SetTextAlign(TA_LEFT | TA_TOP);
      DrawText(c, textL + dx, innerT + lineTop, z, lines[i]);
    } else {
      c->SetTextAlign(TA_LEFT | TA_TOP);
      const int px = int(std::lround(ox + dx * ca + lineTop * sa));
      const int py = int(std::lround(oy - dx * sa + lineTop * ca));
      c->RotateLabel3D(px, py, z, lines[i], angle_);
    }
    lineTop += sizes[i].cy;
  }
}

void TSeriesMarks::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TSeriesMarks*>(Source)) {
    style_ = src->style_;
    angle_ = src->angle_;
    drawEvery_ = src->drawEvery_;
    multiLine_ = src->multiLine_;
    textAlign_ = src->textAlign_;
    fontSeriesColor_ = src->fontSeriesColor_;
    clip_ = src->clip_;
    symbol_->Assign(src->symbol_.get());
    margins_->Assign(src->margins_.get());
    callout_->Assign(src->callout_.get());
  }
  TLumCustomShape::Assign(Source);
}

void TSeriesMarks::DefineProperties(TPropertyTable& t) {
  t.Int("Angle", &TSeriesMarks::Angle, &TSeriesMarks::SetAngle).Default(0LL);
  t.Object("Arrow", &TSeriesMarks::Arrow);
  t.Int("ArrowLength", &TSeriesMarks::ArrowLength, &TSeriesMarks::SetArrowLength).Default(8LL);
  t.Object("Callout", &TSeriesMarks::Callout);
  t.Bool("Clip", &TSeriesMarks::Clip, &TSeriesMarks::SetClip).Default(false);
  t.Color("Color", &TSeriesMarks::Color, &TSeriesMarks::SetColor).Default((long long)MarksDefaultColor);
  t.Int("DrawEvery", &TSeriesMarks::DrawEvery, &TSeriesMarks::SetDrawEvery).Default(1LL);
  t.Bool("FontSeriesColor", &TSeriesMarks::FontSeriesColor, &TSeriesMarks::SetFontSeriesColor).Default(false);
  t.Object("Margins", &TSeriesMarks::Margins);
  t.Bool("MultiLine", &TSeriesMarks::MultiLine, &TSeriesMarks::SetMultiLine).Default(false);
  t.Enum("Style", &TSeriesMarks::Style, &TSeriesMarks::SetStyle,
         {"smsValue", "smsPercent", "smsLabel", "smsLabelPercent", "smsLabelValue", "smsLegend", "smsPercentTotal",
          "smsLabelPercentTotal", "smsXValue", "smsXY", "smsSeriesTitle", "smsPointIndex", "smsPercentRelative"})
      .Default(2LL);
  t.Object("Symbol", &TSeriesMarks::Symbol);
  t.Enum("TextAlign", &TSeriesMarks::TextAlign, &TSeriesMarks::SetTextAlign,
         {"taLeftJustify", "taRightJustify", "taCenter"})
      .Default(2LL);
  t.Bool("Visible", &TSeriesMarks::Visible, &TSeriesMarks::SetVisible).Default(false);
}

// ---- The series' side ------------------------------------------------------------
std::string TChartSeries::GetMarkText(int ValueIndex) const {
  const std::string sep = marks_->MultiLine() ? "\r" : " ";
  const double y = GetYValue(ValueIndex);
  auto value = [&](double v) { return FormatFloat(valueFormat_, v); };
  auto percent = [&](double v, double total) { return FormatFloat(percentFormat_, total == 0 ? 0 : 100 * v / total); };
  const double totalAbs = yValues_->TotalABS();
  auto percentTotal = [&] { return percent(std::fabs(y), totalAbs) + sep + "of " + value(totalAbs); };
  const std::string label = labels_.GetLabel(ValueIndex);
  auto labelOr = [&](const std::string& Other) { return label.empty() ? Other : label + sep + Other; };
  switch (marks_->Style()) {
    case smsValue: return value(y);
    case smsPercent: return percent(std::fabs(y), totalAbs);
    case smsLabel: return label.empty() ? value(y) : label;
    case smsLabelPercent: return labelOr(percent(std::fabs(y), totalAbs));
    case smsLabelValue: return labelOr(value(y));
    case smsLegend: return label.empty() ? value(y) : value(y) + " " + label;
    case smsPercentTotal: return percentTotal();
    case smsLabelPercentTotal: return labelOr(percentTotal());
    case smsXValue: return value(GetXValue(ValueIndex));
    case smsXY: return value(GetXValue(ValueIndex)) + sep + value(y);
    case smsSeriesTitle: return GetTitleOrName();
    case smsPointIndex: return IntToStr(ValueIndex);
    case smsPercentRelative: return percent(y, Count() > 0 ? GetYValue(0) : 0);
  }
  return value(y);
}

void TChartSeries::DrawMarks() {
  if (!marks_->Visible() || firstIndex_ < 0) return;
  // Automatic places are found anew; a mark not drawn this time is not clickable.
  TSeriesMarksPositions& positions = marks_->Positions();
  for (int i = 0; i < positions.Count(); ++i)
    if (!positions.Position(i).Custom) positions.Position(i).Width = 0;
  const int every = std::max(1, marks_->DrawEvery());
  // A clipping chart shows no mark for a point zoomed or scrolled out of the plot.
  TCustomAxisPanel* chart = ParentChart();
  const bool inPlotOnly = chart && chart->CanClip();
  const TRect plot = chart ? chart->ChartRect() : TRect{};
  for (int i = firstIndex_; i <= lastIndex_; ++i) {
    if (i % every != 0) continue;
    if (IsNull(i) && treatNulls_ != tnIgnore) continue;
    const int x = CalcXPos(i), y = CalcYPos(i);
    if (inPlotOnly && (x < plot.Left || x > plot.Right || y < plot.Top || y > plot.Bottom)) continue;
    marks_->DrawMark(i, GetMarkText(i), x, y);
  }
}

void TChartSeries::SetPercentFormat(const std::string& Value) { SetStringProperty(percentFormat_, Value); }
