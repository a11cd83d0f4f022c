#include "chart/legend.h"

#include <algorithm>
#include <cmath>

#include "canvas/lumcanvas.h"
#include "chart/series.h"
#include "chart/stdseries.h"
#include "engine/listeners.h"

IMPLEMENT_CLASS_PROPS(TLegendSymbol, TPersistent)
IMPLEMENT_CLASS_PROPS(TLegendTitle, TLumCustomShape)
IMPLEMENT_CLASS_PROPS(TLegendItem, TPersistent)
IMPLEMENT_CLASS_PROPS(TChartLegend, TLumCustomShapePosition)

namespace {
// Pixels between the frame and the items, and between the parts of a row.
constexpr int Pad = 3;
constexpr int Gap = 4;
// The classic check box.
constexpr int CheckSize = 13;

int PercentOf(int Percent, int Size) { return int(Round((long double)Percent * Size / 100)); }

// A check box or radio button, checked or not, its top-left at X, Y.
void DrawCheck(TCanvas3D* C, int X, int Y, bool Checked, bool Radio) {
  C->GetGradient()->SetVisible(false);
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  C->Pen()->SetMode(pmCopy);
  C->Pen()->SetColor(ColorToRGB(clBtnShadow));
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clWhite);
  if (Radio) C->Ellipse(X, Y, X + CheckSize, Y + CheckSize);
  else C->Rectangle(X, Y, X + CheckSize, Y + CheckSize);
  if (!Checked) return;
  C->Pen()->SetColor(clBlack);
  C->Brush()->SetColor(clBlack);
  if (Radio) {
    C->Ellipse(X + 4, Y + 4, X + CheckSize - 4, Y + CheckSize - 4);
    return;
  }
  // A tick of three pixels' thickness.
  for (int d = 0; d < 3; ++d) {
    C->MoveTo(X + 3, Y + 5 + d);
    C->LineTo(X + 5, Y + 7 + d);
    C->LineTo(X + 10, Y + 2 + d);
  }
}
}  // namespace

// ---------------------------------------------------------------------------
void PaintSeriesLegend(TChartSeries* Series, TCanvas3D* Canvas, const TRect& R, int ValueIndex) {
  if (!Series || !Canvas || R.Width() <= 0 || R.Height() <= 0) return;
  if (Series->DrawLegendShape(Canvas, ValueIndex, R)) return;
  TColor color = ValueIndex >= 0 && ValueIndex < Series->Count() ? Series->LegendItemColor(ValueIndex)
                                                                  : Series->SeriesColor();
  if (color == clNone) color = Series->SeriesColor();
  Canvas->GetGradient()->SetVisible(false);
  const int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
  if (auto* line = dynamic_cast<TCustomLineSeries*>(Series)) {
    auto* withPointer = dynamic_cast<TCustomSeries*>(Series);
    const bool drawsLine = !dynamic_cast<TPointSeries*>(Series) && line->LinePen()->Visible();
    if (drawsLine) {
      const TColor penColor = line->LinePen()->Color() == clLumColor ? color : line->LinePen()->Color();
      Canvas->ApplyPenColor(line->LinePen(), penColor);
      Canvas->MoveTo(R.Left, cy);
      Canvas->LineTo(R.Right, cy);
    }
    if (!withPointer || !withPointer->Pointer()->Visible()) {
      if (!drawsLine) {  // a point series without markers still shows its colour
        Canvas->Pen()->SetStyle(psClear);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(color);
        Canvas->FillRect(R);
      }
      return;
    }
    TSeriesPointer* p = withPointer->Pointer();
    p->PrepareCanvas(Canvas, color);
    // Asked with a point index: the first point stands for the whole series.
    const int index = ValueIndex >= 0 ? ValueIndex : (Series->Count() > 0 ? 0 : -1);
    TSeriesPointerStyle style = p->Style();
    if (index >= 0) {
      style = withPointer->DoGetPointerStyle(index);
      p->PrepareCanvas(Canvas, color);  // the event may have changed the pointer's brush
    }
    const TColor markColor = p->Color() == clLumColor ? color : p->Color();
    const int w = std::min(p->HorizSize(), R.Width()), h = std::min(p->VertSize(), R.Height());
    p->DrawPointer(Canvas, false, style, markColor, std::max(1, w), std::max(1, h), cx, cy);
    return;
  }
  Canvas->ApplyBrushWithBack(Series->Brush(), color);
  if (Series->Pen()->Visible()) Canvas->ApplyPen(Series->Pen());
  else Canvas->Pen()->SetStyle(psClear);
  Canvas->Rectangle(R);
}

// ---------------------------------------------------------------------------
TLegendSymbol::TLegendSymbol(TChartLegend* ALegend)
    : legend_(ALegend), pen_(std::make_unique<TChartPen>(TNotifyEvent(this, &TLegendSymbol::Changed))) {}

TLegendSymbol::~TLegendSymbol() = default;

void TLegendSymbol::Changed(TObject*) {
  if (legend_) legend_->Repaint();
}

void TLegendSymbol::SetWidth(int Value) { Store(width_, Value); }
void TLegendSymbol::SetWidthUnits(TLegendSymbolSize Value) { Store(widthUnits_, Value); }
void TLegendSymbol::SetPosition(TLegendSymbolPosition Value) { Store(position_, Value); }
void TLegendSymbol::SetContinuous(bool Value) { Store(continuous_, Value); }
void TLegendSymbol::SetVisible(bool Value) { Store(visible_, Value); }
void TLegendSymbol::SetSquared(bool Value) { Store(squared_, Value); }
void TLegendSymbol::SetDefaultPen(bool Value) { Store(defaultPen_, Value); }

TLumGradient* TLegendSymbol::Gradient() const {
  return CreateOnFirstRead(gradient_, TNotifyEvent(const_cast<TLegendSymbol*>(this), &TLegendSymbol::Changed));
}
TLumShadow* TLegendSymbol::Shadow() const {
  return CreateOnFirstRead(shadow_, TNotifyEvent(const_cast<TLegendSymbol*>(this), &TLegendSymbol::Changed));
}
TLumEmboss* TLegendSymbol::Emboss() const {
  return CreateOnFirstRead(emboss_, TNotifyEvent(const_cast<TLegendSymbol*>(this), &TLegendSymbol::Changed));
}

int TLegendSymbol::CalcWidth(int TextWidth, int RowHeight) const {
  if (!visible_) return 0;
  if (squared_) return RowHeight;
  return std::max(0, widthUnits_ == lcsPixels ? width_ : PercentOf(width_, TextWidth));
}

void TLegendSymbol::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TLegendSymbol*>(Source);
  if (!src) return TPersistent::Assign(Source);
  width_ = src->width_;
  widthUnits_ = src->widthUnits_;
  position_ = src->position_;
  continuous_ = src->continuous_;
  visible_ = src->visible_;
  squared_ = src->squared_;
  defaultPen_ = src->defaultPen_;
  pen_->Assign(src->pen_.get());
  if (src->gradient_ || gradient_) Gradient()->Assign(src->Gradient());
  if (src->shadow_ || shadow_) Shadow()->Assign(src->Shadow());
  if (src->emboss_ || emboss_) Emboss()->Assign(src->Emboss());
  Changed(this);
}

void TLegendSymbol::DefineProperties(TPropertyTable& t) {
  t.Bool("Continuous", &TLegendSymbol::Continuous, &TLegendSymbol::SetContinuous).Default(false);
  t.Bool("DefaultPen", &TLegendSymbol::DefaultPen, &TLegendSymbol::SetDefaultPen).Default(true);
  t.Object("Emboss", &TLegendSymbol::Emboss);
  t.Object("Gradient", &TLegendSymbol::Gradient);
  t.Object("Pen", &TLegendSymbol::Pen);
  t.Enum("Position", &TLegendSymbol::Position, &TLegendSymbol::SetPosition, {"spLeft", "spRight"}).Default(0LL);
  t.Object("Shadow", &TLegendSymbol::Shadow);
  t.Bool("Squared", &TLegendSymbol::Squared, &TLegendSymbol::SetSquared).Default(false);
  t.Bool("Visible", &TLegendSymbol::Visible, &TLegendSymbol::SetVisible).Default(true);
  t.Int("Width", &TLegendSymbol::Width, &TLegendSymbol::SetWidth).Default(20LL);
  t.Enum("WidthUnits", &TLegendSymbol::WidthUnits, &TLegendSymbol::SetWidthUnits, {"lcsPercent", "lcsPixels"})
      .Default(0LL);
}

// ---------------------------------------------------------------------------
TLegendTitle::TLegendTitle(TCustomAxisPanel* AChart)
    : TLumCustomShape(AChart), text_(std::make_unique<TStringList>()) {
  text_->OnChange = TNotifyEvent(this, &TLegendTitle::TextChanged);
  SetTransparent(true);
}

TLegendTitle::~TLegendTitle() { text_->OnChange.Clear(); }

void TLegendTitle::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TLegendTitle*>(Source)) {
    textAlignment_ = src->textAlignment_;
    text_->Assign(src->text_.get());
  }
  TLumCustomShape::Assign(Source);
}

void TLegendTitle::DefineProperties(TPropertyTable& t) {
  t.Object("Text", &TLegendTitle::Text);
  t.Enum("TextAlignment", &TLegendTitle::TextAlignment, &TLegendTitle::SetTextAlignment,
         {"taLeftJustify", "taRightJustify", "taCenter"}).Default((long long)taCenter);
  t.Bool("Transparent", &TLegendTitle::Transparent, &TLegendTitle::SetTransparent).Default(true);
}

// ---------------------------------------------------------------------------
TLegendItem::TLegendItem(TChartLegend* ALegend) : legend_(ALegend) {}

TLegendItem::~TLegendItem() = default;

void TLegendItem::Changed(TObject*) {
  if (legend_) legend_->Repaint();
}

TLumFont* TLegendItem::Font() const {
  return CreateOnFirstRead(font_, TNotifyEvent(const_cast<TLegendItem*>(this), &TLegendItem::Changed));
}

void TLegendItem::SetFont(TLumFont* Value) {
  if (!Value) {
    if (!font_) return;
    font_.reset();
  } else {
    Font()->Assign(Value);
  }
  Changed(this);
}

void TLegendItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TLegendItem*>(Source);
  if (!src) return TPersistent::Assign(Source);
  text_ = src->text_;
  text2_ = src->text2_;
  align_ = src->align_;
  left_ = src->left_;
  top_ = src->top_;
  SetFont(src->font_.get());
  Changed(this);
}

void TLegendItem::DefineProperties(TPropertyTable& t) {
  t.Int("Align", &TLegendItem::Align, &TLegendItem::SetAlign).Default(0LL);
  t.Int("Left", &TLegendItem::Left, &TLegendItem::SetLeft).Default(0LL);
  t.Str("Text", &TLegendItem::Text, &TLegendItem::SetText).Default(std::string());
  t.Str("Text2", &TLegendItem::Text2, &TLegendItem::SetText2).Default(std::string());
  t.Int("Top", &TLegendItem::Top, &TLegendItem::SetTop).Default(0LL);
}

// ---------------------------------------------------------------------------
TLegendItems::TLegendItems(TChartLegend* ALegend) : legend_(ALegend) {}
TLegendItems::~TLegendItems() = default;

TLegendItem* TLegendItems::Get(int Index) {
  if (Index < 0) throw LegendException("Legend item index " + std::to_string(Index) + " out of range");
  if (Index >= Count()) Resize(Index + 1);
  return items_[size_t(Index)].get();
}

TLegendItem* TLegendItems::Add() { return Get(Count()); }

void TLegendItems::Delete(int Index) {
  if (Index < 0 || Index >= Count())
    throw LegendException("Legend item index " + std::to_string(Index) + " out of range");
  items_.erase(items_.begin() + Index);
  legend_->Repaint();
}

void TLegendItems::Clear() {
  if (items_.empty()) return;
  items_.clear();
  legend_->Repaint();
}

void TLegendItems::Resize(int NewCount) {
  if (NewCount < Count()) items_.resize(size_t(NewCount));
  while (Count() < NewCount) items_.push_back(std::make_unique<TLegendItem>(legend_));
}

void TLegendItems::SetCustom(bool Value) {
  if (custom_ == Value) return;
  custom_ = Value;
  legend_->Repaint();
}

void TLegendItems::SetCustomPosition(bool Value) {
  if (customPosition_ == Value) return;
  customPosition_ = Value;
  legend_->Repaint();
}

// ---------------------------------------------------------------------------
TChartLegend::TChartLegend(TCustomAxisPanel* AChart)
    : TLumCustomShapePosition(AChart),
      dividingLines_(std::make_unique<TChartPen>(ChangeHandler())),
      symbol_(std::make_unique<TLegendSymbol>(this)),
      title_(std::make_unique<TLegendTitle>(AChart)),
      items_(std::make_unique<TLegendItems>(this)) {
  dividingLines_->SetVisible(false);
  RecordDefaults(dividingLines_.get());
}

TChartLegend::~TChartLegend() = default;

void TChartLegend::SetCurrentPage(int Value) {
  if (Value < 1) throw LegendException("Legend page " + std::to_string(Value) + " out of range");
  Store(currentPage_, Value);
}

std::string TChartLegend::ValueText(TChartSeries* S, int Index) const {
  const std::string label = S->Labels().GetLabel(Index);
  const double y = S->GetYValue(Index);
  auto value = [&] { return FormatFloat(S->ValueFormat(), y); };
  auto percent = [&] {
    double total = 0;
    for (int i = 0; i < S->Count(); ++i) total += std::fabs(S->GetYValue(i));
    return FormatFloat(S->PercentFormat(), total == 0 ? 0.0 : 100.0 * y / total);
  };
  auto x = [&] { return FormatFloat(S->ValueFormat(), S->GetXValue(Index)); };
  auto join = [](const std::string& a, const std::string& b) { return a.empty() ? b : b.empty() ? a : a + " " + b; };
  switch (textStyle_) {
    case ltsPlain: return label.empty() ? value() : label;
    case ltsLeftValue: return join(value(), label);
    case ltsRightValue: return join(label, value());
    case ltsLeftPercent: return join(percent(), label);
    case ltsRightPercent: return join(label, percent());
    case ltsXValue: return x();
    case ltsValue: return value();
    case ltsPercent: return percent();
    case ltsXAndValue: return join(x(), value());
    case ltsXAndPercent: return join(x(), percent());
    case ltsXAndText: return join(x(), label);
  }
  return label;
}

std::vector<TChartLegend::TEntry> TChartLegend::CollectEntries() const {
  std::vector<TEntry> out;
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return out;
  // Inactive series stay listed while their check boxes can switch them back on.
  std::vector<TChartSeries*> shown;
  for (TChartSeries* s : chart->SeriesList())
    if (s->ShowInLegend() && (s->Active() || checkBoxes_)) shown.push_back(s);
  bool perPoint = legendStyle_ == lsValues;
  if (legendStyle_ == lsAuto)
    perPoint = shown.size() == 1 && (shown[0]->ColorEachPoint() || dynamic_cast<TPieSeries*>(shown[0]));
  if (perPoint) {
    // The points of the first series shown.
    for (TChartSeries* s : shown) {
      if (!s->Active()) continue;
      for (int i = 0; i < s->Count(); ++i)
        if (!s->IsNull(i)) out.push_back({s, i, ValueText(s, i)});
      break;
    }
  } else {
    for (TChartSeries* s : shown) {
      std::string text = s->GetTitleOrName();
      if (legendStyle_ == lsLastValues && s->Count() > 0) text = ValueText(s, s->Count() - 1);
      out.push_back({s, -1, text});
    }
  }
  if (inverted_) std::reverse(out.begin(), out.end());
  return out;
}

TLumFont* TChartLegend::ItemFont(int Entry) const {
  if (Entry < items_->Count() && items_->items_[size_t(Entry)]->HasFont())
    return items_->items_[size_t(Entry)]->Font();
  return Font();
}

void TChartLegend::Place(TRect& Rect) {
  placed_ = false;
  rows_.clear();
  entries_.clear();
  TCustomAxisPanel* chart = ParentChart();
  TCanvas3D* c = chart ? chart->Canvas() : nullptr;
  if (!Visible() || !c) return;
  entries_ = CollectEntries();
  // The items follow the automatic texts unless they are custom.
  if (items_->Custom()) {
    entries_.resize(size_t(items_->Count()), TEntry{nullptr, -1, std::string()});
    for (int i = 0; i < items_->Count(); ++i) entries_[size_t(i)].Text = items_->items_[size_t(i)]->Text();
  } else {
    // Grown only: an item someone holds stays valid while series come and go.
    if (items_->Count() < int(entries_.size())) items_->Resize(int(entries_.size()));
    for (int i = 0; i < items_->Count(); ++i)
      items_->items_[size_t(i)]->text_ = i < int(entries_.size()) ? entries_[size_t(i)].Text : std::string();
  }
  const int n = int(entries_.size());

  // Measures: widest texts, row height, title.
  c->AssignFont(Font());
  rowHeight_ = c->TextHeight("W");
  int textW = 0, text2W = 0;
  for (int i = 0; i < n; ++i) {
    c->AssignFont(ItemFont(i));
    rowHeight_ = std::max(rowHeight_, c->TextHeight("W"));
    textW = std::max(textW, c->TextWidth(entries_[size_t(i)].Text));
    if (i < items_->Count()) text2W = std::max(text2W, c->TextWidth(items_->items_[size_t(i)]->Text2()));
  }
  const int symW = symbol_->CalcWidth(textW, rowHeight_);
  const bool checks = checkBoxes_ && std::any_of(entries_.begin(), entries_.end(), [](const TEntry& e) {
                        return e.Series && e.ValueIndex < 0;
                      });
  const int checkW = checks ? CheckSize + Gap : 0;
  const int itemW = checkW + (symW > 0 ? symW + Gap : 0) + textW + (text2W > 0 ? Gap + text2W : 0);
  const int step = std::max(1, rowHeight_ + vertSpacing_);
  int titleH = 0, titleW = 0;
  if (title_->Visible() && title_->Text()->Count() > 0) {
    c->AssignFont(title_->Font());
    const int h = c->TextHeight("W");
    for (int i = 0; i < title_->Text()->Count(); ++i) titleW = std::max(titleW, c->TextWidth(title_->Text()->Get(i)));
    titleH = h * title_->Text()->Count() + Pad;
  }
  if (n == 0 && titleH == 0) return;

  // How many rows and columns fit in the room there is.
  const bool custom = CustomPosition();
  const TRect bounds = chart->ChartBounds();
  const int roomH = custom ? bounds.Height() : Rect.Height();
  const int roomW = custom ? bounds.Width() : Rect.Width();
  int cols = 1;
  if (!Vertical()) cols = std::max(1, std::min(n, (roomW - 2 * Pad + Gap) / std::max(1, itemW + Gap)));
  // A legend above or below the plot leaves it at least half the height.
  const int rowRoom = Vertical() || custom ? roomH : roomH / 2;
  int fitRows = std::max(0, (rowRoom - 2 * Pad - titleH) / step);
  int perPage = fitRows * cols;
  int first = 0;
  if (perPage > 0 && n > perPage) {
    const int pages = (n + perPage - 1) / perPage;
    first = (std::min(currentPage_, pages) - 1) * perPage;
  }
  const int shown = std::min(n - first, perPage);
  const int rows = (shown + cols - 1) / cols;

  int width = std::max(cols * itemW + (cols - 1) * Gap, titleW) + 2 * Pad;
  int height = titleH + rows * step - (rows > 0 ? vertSpacing_ : 0) + 2 * Pad;
  if (items_->CustomPosition()) {  // the box holds the items where they are, as far as there is room
    for (int k = 0; k < shown; ++k) {
      const TLegendItem* it = items_->items_[size_t(first + k)].get();
      width = std::max(width, std::min(it->Left() + itemW + Pad, roomW));
      height = std::max(height, std::min(it->Top() + rowHeight_ + Pad, roomH));
    }
  }

  // Where the box goes.
  int left = 0, top = 0;
  if (custom) {
    left = positionUnits_ == muPercent ? bounds.Left + PercentOf(leftPercent_, bounds.Width()) : Left();
    top = positionUnits_ == muPercent ? bounds.Top + PercentOf(topPercent_, bounds.Height()) : Top();
  } else if (Vertical()) {
    left = alignment_ == laLeft ? Rect.Left : Rect.Right - width;
    top = Rect.Top + PercentOf(topPos_, Rect.Height());
    if (top + height > Rect.Bottom) top = std::max(Rect.Top, Rect.Bottom - height);
  } else {
    left = Rect.Left + (Rect.Width() - width) / 2;
    top = alignment_ == laTop ? Rect.Top : Rect.Bottom - height;
  }
  const TRect box{left, top, left + width, top + height};
  SetShapeBounds(box);
  titleBox_ = {box.Left + Pad, box.Top + Pad, box.Right - Pad, box.Top + Pad + titleH};

  // The rows.
  for (int k = 0; k < shown; ++k) {
    const int e = first + k;
    int x = box.Left + Pad + (k % cols) * (itemW + Gap);
    int y = titleBox_.Bottom + (k / cols) * step;
    if (items_->CustomPosition()) {
      const TLegendItem* it = items_->items_[size_t(e)].get();
      const int align = it->Align() >= 8 ? it->Align() - 8 : it->Align();
      x = box.Left + it->Left() - (align == 6 ? itemW / 2 : align == 2 ? itemW : 0);
      y = box.Top + it->Top();
    }
    TRow row{e, {x, y, x + itemW, y + rowHeight_}, {}, {}, 0, 0};
    int cx = x;
    if (checks) {
      row.Check = {cx, y + (rowHeight_ - CheckSize) / 2, cx + CheckSize, y + (rowHeight_ - CheckSize) / 2 + CheckSize};
      cx += checkW;
    }
    const int symTop = symbol_->Continuous() ? y : y + 2, symBottom = symbol_->Continuous() ? y + step : y + rowHeight_ - 2;
    if (symbol_->Position() == spLeft || symW == 0) {
      if (symW > 0) row.Sym = {cx, symTop, cx + symW, symBottom};
      row.TextX = cx + (symW > 0 ? symW + Gap : 0);
    } else {
      row.TextX = cx;
      row.Sym = {x + itemW - symW, symTop, x + itemW, symBottom};
    }
    row.Text2X = row.TextX + textW + Gap;
    rows_.push_back(row);
  }

  if (!custom && resizeChart_) {
    switch (alignment_) {
      case laLeft: Rect.Left = box.Right + horizMargin_; break;
      case laRight: Rect.Right = box.Left - horizMargin_; break;
      case laTop: Rect.Top = box.Bottom + vertMargin_; break;
      case laBottom: Rect.Bottom = box.Top - vertMargin_; break;
    }
  }
  placed_ = true;
}

void TChartLegend::Draw() {
  TCustomAxisPanel* chart = ParentChart();
  TCanvas3D* c = chart ? chart->Canvas() : nullptr;
  if (!placed_ || !Visible() || !c) return;
  // Whatever lies outside the chart (custom places) is cut off.
  c->ClipRectangle(chart->ChartBounds());
  const TRect box = ShapeBounds();
  DrawRectRotated(c, box);
  c->SetBackMode(cbmTransparent);
  c->SetTextAlign(TA_LEFT | TA_TOP);
  if (titleBox_.Height() > 0) {
    c->AssignFont(title_->Font());
    const int h = c->TextHeight("W");
    title_->DrawShapeOnCanvas(c, titleBox_);
    c->AssignFont(title_->Font());
    c->SetBackMode(cbmTransparent);
    for (int i = 0; i < title_->Text()->Count(); ++i) {
      const std::string line = title_->Text()->Get(i);
      const int w = c->TextWidth(line);
      int x = titleBox_.Left;
      if (title_->TextAlignment() == taCenter) x += (titleBox_.Width() - w) / 2;
      else if (title_->TextAlignment() == taRightJustify) x = titleBox_.Right - w;
      title_->DrawText(c, x, titleBox_.Top + i * h, 0, line);
    }
  }
  for (size_t k = 0; k < rows_.size(); ++k) {
    const TRow& row = rows_[k];
    const TEntry& entry = entries_[size_t(row.Entry)];
    if (dividingLines_->Visible() && k > 0 && row.Box.Top > rows_[k - 1].Box.Top) {
      c->ApplyPen(dividingLines_.get());
      const int y = row.Box.Top - std::max(0, vertSpacing_) / 2 - 1;
      c->MoveTo(box.Left, y);
      c->LineTo(box.Right, y);
    }
    if (entry.Series && entry.ValueIndex < 0 && row.Check.Width() > 0)
      DrawCheck(c, row.Check.Left, row.Check.Top, entry.Series->Active(), checkBoxesStyle_ == cbsRadio);
    if (entry.Series && row.Sym.Width() > 0) {
      if (symbol_->HasShadow() && symbol_->Shadow()->Visible()) symbol_->Shadow()->Draw(c, row.Sym);
      PaintSeriesLegend(entry.Series, c, row.Sym, entry.ValueIndex);
      if (symbol_->HasGradient() && symbol_->Gradient()->Visible()) symbol_->Gradient()->Draw(c, row.Sym);
      if (!symbol_->DefaultPen() && symbol_->Pen()->Visible()) {
        c->ApplyPen(symbol_->Pen());
        c->GetGradient()->SetVisible(false);
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(row.Sym);
      }
      if (symbol_->HasEmboss() && symbol_->Emboss()->Visible()) DrawEmbossRim(symbol_->Emboss(), c, row.Sym);
    }
    c->AssignFont(ItemFont(row.Entry));
    if (fontSeriesColor_ && entry.Series) {
      TColor color = entry.ValueIndex >= 0 ? entry.Series->GetValueColor(entry.ValueIndex) : entry.Series->SeriesColor();
      if (color != clNone) c->Font()->SetColor(ColorToRGB(color));
    }
    c->SetBackMode(cbmTransparent);
    c->TextOut(row.TextX, row.Box.Top, entry.Text);
    if (row.Entry < items_->Count() && !items_->items_[size_t(row.Entry)]->Text2().empty())
      c->TextOut(row.Text2X, row.Box.Top, items_->items_[size_t(row.Entry)]->Text2());
  }
  c->UnClipRectangle();
}

int TChartLegend::Clicked(int X, int Y) const {
  if (!placed_) return -1;
  for (const TRow& row : rows_) {
    const TRect& b = row.Box;
    if (X >= b.Left && X < b.Right && Y >= b.Top && Y < b.Bottom) return row.Entry;
  }
  return -1;
}

void TChartLegend::SetCheckBoxes(bool Value) {
  if (checkBoxes_ == Value) return;
  Store(checkBoxes_, Value);
  if (ParentChart()) ParentChart()->BroadcastListenerEvent(nullptr, seChangeCheckBoxes);
}

void TChartLegend::SetCheckBoxesStyle(TCheckBoxesStyle Value) {
  if (checkBoxesStyle_ == Value) return;
  Store(checkBoxesStyle_, Value);
  if (ParentChart()) ParentChart()->BroadcastListenerEvent(nullptr, seChangeCheckBoxes);
}

TRect TChartLegend::CheckBoxRect(int Item) const {
  for (const TRow& row : rows_)
    if (row.Entry == Item) return row.Check;
  return {};
}

bool TChartLegend::MouseDown(int X, int Y) {
  if (!placed_ || !checkBoxes_ || !Visible()) return false;
  const int item = Clicked(X, Y);
  if (item < 0) return false;
  const TRect r = CheckBoxRect(item);
  if (!(X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom)) return false;
  TChartSeries* s = entries_[size_t(item)].Series;
  if (!s || entries_[size_t(item)].ValueIndex >= 0) return false;  // points have no boxes
  // The layout is the last paint's: a series freed since then is no longer the chart's.
  const TChartSeriesList& list = ParentChart()->SeriesList();
  if (list.IndexOf(s) < 0) return false;
  if (checkBoxesStyle_ == cbsRadio) {
    for (const TEntry& e : entries_)
      if (e.Series && e.Series != s && list.IndexOf(e.Series) >= 0) e.Series->SetActive(false);
    s->SetActive(true);
  } else {
    s->SetActive(!s->Active());
  }
  return true;
}

void TChartLegend::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TChartLegend*>(Source)) {
    legendStyle_ = src->legendStyle_;
    textStyle_ = src->textStyle_;
    alignment_ = src->alignment_;
    topPos_ = src->topPos_;
    horizMargin_ = src->horizMargin_;
    vertMargin_ = src->vertMargin_;
    vertSpacing_ = src->vertSpacing_;
    resizeChart_ = src->resizeChart_;
    positionUnits_ = src->positionUnits_;
    leftPercent_ = src->leftPercent_;
    topPercent_ = src->topPercent_;
    dividingLines_->Assign(src->dividingLines_.get());
    inverted_ = src->inverted_;
    fontSeriesColor_ = src->fontSeriesColor_;
    checkBoxes_ = src->checkBoxes_;
    checkBoxesStyle_ = src->checkBoxesStyle_;
    symbol_->Assign(src->symbol_.get());
    title_->Assign(src->title_.get());
    currentPage_ = src->currentPage_;
    items_->custom_ = src->items_->custom_;
    items_->customPosition_ = src->items_->customPosition_;
    items_->Resize(src->items_->Count());
    for (int i = 0; i < src->items_->Count(); ++i) items_->items_[size_t(i)]->Assign(src->items_->items_[size_t(i)].get());
  }
  TLumCustomShapePosition::Assign(Source);
}

void TChartLegend::DefineProperties(TPropertyTable& t) {
  t.Enum("Alignment", &TChartLegend::Alignment, &TChartLegend::SetAlignment,
         {"laLeft", "laRight", "laTop", "laBottom"}).Default((long long)laRight);
  t.Bool("CheckBoxes", &TChartLegend::CheckBoxes, &TChartLegend::SetCheckBoxes).Default(false);
  t.Enum("CheckBoxesStyle", &TChartLegend::CheckBoxesStyle, &TChartLegend::SetCheckBoxesStyle,
         {"cbsCheck", "cbsRadio"}).Default(0LL);
  t.Int("CurrentPage", &TChartLegend::CurrentPage, &TChartLegend::SetCurrentPage).Default(1LL);
  t.Object("DividingLines", &TChartLegend::DividingLines);
  t.Bool("FontSeriesColor", &TChartLegend::FontSeriesColor, &TChartLegend::SetFontSeriesColor).Default(false);
  t.Int("HorizMargin", &TChartLegend::HorizMargin, &TChartLegend::SetHorizMargin).Default(0LL);
  t.Bool("Inverted", &TChartLegend::Inverted, &TChartLegend::SetInverted).Default(false);
  t.Int("LeftPercent", &TChartLegend::LeftPercent, &TChartLegend::SetLeftPercent).Default(0LL);
  t.Enum("LegendStyle", &TChartLegend::LegendStyle, &TChartLegend::SetLegendStyle,
         {"lsAuto", "lsSeries", "lsValues", "lsLastValues", "lsSeriesGroups"}).Default(0LL);
  t.Enum("PositionUnits", &TChartLegend::PositionUnits, &TChartLegend::SetPositionUnits,
         {"muPercent", "muPixels"}).Default((long long)muPixels);
  t.Bool("ResizeChart", &TChartLegend::ResizeChart, &TChartLegend::SetResizeChart).Default(true);
  t.Object("Symbol", &TChartLegend::Symbol);
  t.Enum("TextStyle", &TChartLegend::TextStyle, &TChartLegend::SetTextStyle,
         {"ltsPlain", "ltsLeftValue", "ltsRightValue", "ltsLeftPercent", "ltsRightPercent", "ltsXValue", "ltsValue",
          "ltsPercent", "ltsXAndValue", "ltsXAndPercent", "ltsXAndText"}).Default((long long)ltsLeftValue);
  t.Object("Title", &TChartLegend::Title);
  t.Int("TopPercent", &TChartLegend::TopPercent, &TChartLegend::SetTopPercent).Default(0LL);
  t.Int("TopPos", &TChartLegend::TopPos, &TChartLegend::SetTopPos).Default(10LL);
  t.Int("VertMargin", &TChartLegend::VertMargin, &TChartLegend::SetVertMargin).Default(0LL);
  t.Int("VertSpacing", &TChartLegend::VertSpacing, &TChartLegend::SetVertSpacing).Default(0LL);
}
