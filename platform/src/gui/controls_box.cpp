// Boxes and bars: group box, radio group, bevel, speed button and scroll bar.
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

#include "forms_impl.h"
#include "platform/stdctrls.h"
#include "platform/typinfo.h"

using namespace forms_detail;

namespace {

// A one-pixel 3D frame: TopLeft over the top and left edges, BottomRight under the others.
void Frame3D(TCanvas* C, TRect R, TColor TopLeft, TColor BottomRight) {
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(TopLeft);
  C->Polyline({{R.Left, R.Bottom - 1}, {R.Left, R.Top}, {R.Right - 1, R.Top}});
  C->Pen()->SetColor(BottomRight);
  C->Polyline({{R.Right - 1, R.Top}, {R.Right - 1, R.Bottom - 1}, {R.Left - 1, R.Bottom - 1}});
}

void FillBack(TCanvas* C, const TRect& R, TColor Color) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TGroupBox, TCustomControl)

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 105);
}

void TGroupBox::AdjustClientRect(TRect& Rect) const {
  Rect = ClientRect();
  Rect.Top += 15;
  Rect.Left += 2;
  Rect.Right -= 2;
  Rect.Bottom -= 2;
}

void TGroupBox::Paint() {
  TCanvas* c = Canvas();
  FillBack(c, ClientRect(), Color());
  c->SetFont(Font());
  const std::string text = StripAccelerator(Caption());
  const int th = c->TextHeight("W");
  // An etched frame through the middle of the caption line.
  TRect r = Rect(0, th / 2, Width(), Height());
  Frame3D(c, Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom), clBtnHighlight, clBtnHighlight);
  Frame3D(c, Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1), clBtnShadow, clBtnShadow);
  if (text.empty()) return;
  // The caption's box hides the frame behind it (one more pixel for the etched copy).
  const int extra = Enabled() ? 0 : 1;
  FillBack(c, Rect(8, 0, 8 + c->TextWidth(text) + extra, th + extra), Color());
  DrawCaptionText(c, 8, 0, text, Enabled());
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TRadioGroup, TGroupBox)

void TRadioGroup::DefineProperties(TPropertyTable& t) {
  t.Object("Items", &TRadioGroup::Items);
  t.Int("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns).Default(1LL);
}

TRadioGroup::TRadioGroup(TComponent* AOwner) : TGroupBox(AOwner), items_(std::make_unique<TStringList>()) {
  SetTabStop(true);
  items_->OnChange = [this](TObject*) { ItemsChanged(); };
}

TRadioGroup::~TRadioGroup() { items_->OnChange.Clear(); }

void TRadioGroup::ItemsChanged() {
  updating_ = true;
  while (int(buttons_.size()) > items_->Count()) {
    delete buttons_.back();
    buttons_.pop_back();
  }
  while (int(buttons_.size()) < items_->Count()) {
    auto* b = new TRadioButton(nullptr);  // ours, freed as our children
    b->SetParent(this);
    b->OnClick = [this, b](TObject*) { ButtonClicked(b); };
    buttons_.push_back(b);
  }
  for (int i = 0; i < items_->Count(); ++i) buttons_[size_t(i)]->SetCaption(items_->Get(i));
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
  for (int i = 0; i < int(buttons_.size()); ++i) buttons_[size_t(i)]->SetChecked(i == itemIndex_);
  updating_ = false;
  ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  TRect r;
  AdjustClientRect(r);
  r.Left += 6;
  const int cols = std::max(1, columns_);
  const int rows = (int(buttons_.size()) + cols - 1) / cols;
  const int colWidth = std::max(0, (r.Right - r.Left) / cols);
  const int rowHeight = std::max(1, (r.Bottom - r.Top) / std::max(1, rows));
  for (int i = 0; i < int(buttons_.size()); ++i) {
    const int col = i / rows, row = i % rows;
    const int h = std::min(rowHeight, 17);
    buttons_[size_t(i)]->SetBounds(r.Left + col * colWidth, r.Top + row * rowHeight + (rowHeight - h) / 2,
                                   std::max(0, colWidth - 6), h);
  }
}

void TRadioGroup::Resize() {
  ArrangeButtons();
  TGroupBox::Resize();
}

void TRadioGroup::SetColumns(int Value) {
  Value = std::clamp(Value, 1, 16);
  if (Value == columns_) return;
  columns_ = Value;
  ArrangeButtons();
}

void TRadioGroup::SetItemIndex(int Value) {
  Value = std::clamp(Value, -1, items_->Count() - 1);
  if (Value == itemIndex_) return;
  itemIndex_ = Value;
  updating_ = true;
  for (int i = 0; i < int(buttons_.size()); ++i) buttons_[size_t(i)]->SetChecked(i == Value);
  updating_ = false;
  if (Value >= 0) Click();
}

void TRadioGroup::ButtonClicked(TRadioButton* Button) {
  if (updating_) return;
  int index = int(std::find(buttons_.begin(), buttons_.end(), Button) - buttons_.begin());
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Click();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TBevel, TGraphicControl)

void TBevel::DefineProperties(TPropertyTable& t) {
  t.Enum("Shape", &TBevel::Shape, &TBevel::SetShape,
         {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"})
      .Default(0LL);
  t.Enum("Style", &TBevel::Style, &TBevel::SetStyle, {"bsLowered", "bsRaised"}).Default(0LL);
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape Value) {
  if (Value == shape_) return;
  shape_ = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (Value == style_) return;
  style_ = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* c = Canvas();
  const TColor dark = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
  const TColor light = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
  const int w = Width(), h = Height();
  auto line = [&](int x1, int y1, int x2, int y2, TColor color) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetWidth(1);
  switch (shape_) {
    case bsBox: Frame3D(c, ClientRect(), dark, light); break;
    case bsFrame:
      Frame3D(c, Rect(1, 1, w, h), light, light);
      Frame3D(c, Rect(0, 0, w - 1, h - 1), dark, dark);
      break;
    case bsTopLine: line(0, 0, w, 0, dark); line(0, 1, w, 1, light); break;
    case bsBottomLine: line(0, h - 2, w, h - 2, dark); line(0, h - 1, w, h - 1, light); break;
    case bsLeftLine: line(0, 0, 0, h, dark); line(1, 0, 1, h, light); break;
    case bsRightLine: line(w - 2, 0, w - 2, h, dark); line(w - 1, 0, w - 1, h, light); break;
    case bsSpacer: break;
  }
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TSpeedButton, TGraphicControl)

void TSpeedButton::DefineProperties(TPropertyTable& t) {
  t.Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
  t.Int("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0LL);
  t.Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
  t.Object("Glyph", &TSpeedButton::Glyph);
  t.Int("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1LL);
}

void TSpeedButton::SetNumGlyphs(int Value) {
  Value = std::clamp(Value, 1, 2);
  if (Value == numGlyphs_) return;
  numGlyphs_ = Value;
  Invalidate();
}

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), glyph_(std::make_unique<TBitmap>()) {
  SetBounds(0, 0, 23, 22);
  impl_->WidgetClicks = true;  // MouseUp clicks, once Down has changed
  glyph_->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() { glyph_->OnChange.Clear(); }

void TSpeedButton::SetFlat(bool Value) {
  if (Value == flat_) return;
  flat_ = Value;
  Invalidate();
}

void TSpeedButton::SetDown(bool Value) {
  if (groupIndex_ == 0) Value = false;  // a plain button does not stay down
  if (Value == down_) return;
  if (down_ && !allowAllUp_) return;  // the down button of a group stays down unless all may be up
  down_ = Value;
  if (Value) UpdateGroup();
  Invalidate();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  allowAllUp_ = Value;
  if (TWinControl* p = Parent())
    for (int i = 0; i < p->ControlCount(); ++i)
      if (auto* b = dynamic_cast<TSpeedButton*>(p->Controls(i)); b && b->groupIndex_ == groupIndex_ && groupIndex_)
        b->allowAllUp_ = Value;
}

// Raises the other buttons of the group.
void TSpeedButton::UpdateGroup() {
  TWinControl* p = Parent();
  if (!p || groupIndex_ == 0) return;
  for (int i = 0; i < p->ControlCount(); ++i) {
    auto* b = dynamic_cast<TSpeedButton*>(p->Controls(i));
    if (b && b != this && b->groupIndex_ == groupIndex_ && b->down_) {
      b->down_ = false;
      b->Invalidate();
    }
  }
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  pressed_ = true;
  Invalidate();
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  bool click = false;
  if (Button == mbLeft && pressed_) {
    pressed_ = false;
    const bool inside = X >= 0 && Y >= 0 && X < Width() && Y < Height();
    click = inside;
    if (inside && groupIndex_ != 0) {
      if (!down_) {
        down_ = true;
        UpdateGroup();
      } else if (allowAllUp_) {
        down_ = false;
      }
    }
    Invalidate();
  }
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  // After the toggle: a handler reads the button's new Down.
  if (click) Click();
}

void TSpeedButton::Paint() {
  TCanvas* c = Canvas();
  const TRect r = ClientRect();
  const bool sunk = down_ || pressed_;
  FillBack(c, r, sunk && down_ && !pressed_ ? clBtnHighlight : Color());
  if (!flat_ || sunk) Frame3D(c, r, sunk ? clBtnShadow : clBtnHighlight, sunk ? clBtnHighlight : cl3DDkShadow);
  const int shift = sunk ? 1 : 0;
  int textLeft = 0, textWidth = 0;
  c->SetFont(Font());
  const std::string text = StripAccelerator(Caption());
  if (!text.empty()) textWidth = c->TextWidth(text);
  const int images = glyph_->Empty() ? 1 : std::min(numGlyphs_, std::max(1, glyph_->Width()));
  int glyphWidth = glyph_->Empty() ? 0 : glyph_->Width() / images;
  const int spacing = glyphWidth && textWidth ? 4 : 0;
  const int total = glyphWidth + spacing + textWidth;
  int x = (r.Width() - total) / 2 + shift;
  if (glyphWidth) {
    TBitmap g;
    g.Assign(glyph_.get());
    if (images > 1) {
      // The image of the state: the first enabled, the second disabled.
      TBitmap part;
      part.SetPixelFormat(pf24bit);
      part.SetSize(glyphWidth, glyph_->Height());
      const int from = Enabled() ? 0 : glyphWidth;
      part.Canvas()->CopyRect(Rect(0, 0, glyphWidth, glyph_->Height()), glyph_->Canvas(),
                              Rect(from, 0, from + glyphWidth, glyph_->Height()));
      g.Assign(&part);
    }
    const TColor clear = g.Canvas()->Pixels(0, g.Height() - 1);
    const bool derive = !Enabled() && images == 1;
    if (derive) {
      // The disabled look: the shape in the shadow colour over a highlight copy.
      for (int py = 0; py < g.Height(); ++py)
        for (int px = 0; px < g.Width(); ++px)
          if (g.Canvas()->Pixels(px, py) != clear) g.Canvas()->SetPixels(px, py, clBtnShadow);
    }
    g.SetTransparentColor(clear);
    g.SetTransparent(true);
    const int y = (r.Height() - g.Height()) / 2 + shift;
    if (derive) {
      TBitmap hi;
      hi.Assign(&g);
      for (int py = 0; py < hi.Height(); ++py)
        for (int px = 0; px < hi.Width(); ++px)
          if (hi.Canvas()->Pixels(px, py) != clear) hi.Canvas()->SetPixels(px, py, clBtnHighlight);
      hi.SetTransparentColor(clear);
      hi.SetTransparent(true);
      c->Draw(x + 1, y + 1, &hi);
    }
    c->Draw(x, y, &g);
    x += glyphWidth + spacing;
  }
  textLeft = x;
  if (textWidth) DrawCaptionText(c, textLeft, (r.Height() - c->TextHeight("W")) / 2 + shift, text, Enabled());
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TScrollBar, TWinControl)

void TScrollBar::DefineProperties(TPropertyTable& t) {
  t.Enum("Kind", &TScrollBar::Kind, &TScrollBar::SetKind, {"sbHorizontal", "sbVertical"}).Default(0LL);
  t.Int("Min", &TScrollBar::Min, &TScrollBar::SetMin).Default(0LL);
  t.Int("Max", &TScrollBar::Max, &TScrollBar::SetMax).Default(100LL);
  t.Int("Position", &TScrollBar::Position, &TScrollBar::SetPosition).Default(0LL);
  t.Int("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange).Default(1LL);
  t.Int("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange).Default(1LL);
  t.Event("OnChange", &TScrollBar::OnChange);
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 17);
  SetTabStop(true);
  impl_->TakesFocus = true;
  auto* w = MakeWidget<QScrollBar>(this);
  SyncWidget();
  QObject::connect(w, &QScrollBar::valueChanged, w, [this](int v) { Guard(this, [&] { SetPosition(v); }); });
}

void TScrollBar::SyncWidget() {
  auto* w = static_cast<QScrollBar*>(impl_->Widget);
  QSignalBlocker block(w);
  w->setOrientation(kind_ == sbVertical ? Qt::Vertical : Qt::Horizontal);
  w->setRange(min_, max_);
  w->setSingleStep(smallChange_);
  w->setPageStep(largeChange_);
  w->setValue(position_);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (Value == kind_) return;
  kind_ = Value;
  // Turning keeps the bar's thickness across.
  SetBounds(Left(), Top(), Height(), Width());
  SyncWidget();
}

void TScrollBar::SetMin(int Value) {
  if (Value > max_ || Value == min_) return;
  min_ = Value;
  SyncWidget();
  SetPosition(position_);
}

void TScrollBar::SetMax(int Value) {
  if (Value < min_ || Value == max_) return;
  max_ = Value;
  SyncWidget();
  SetPosition(position_);
}

void TScrollBar::SetPosition(int Value) {
  Value = std::clamp(Value, min_, max_);
  if (Value == position_) {
    SyncWidget();
    return;
  }
  position_ = Value;
  SyncWidget();
  if (OnChange) OnChange(this);
}

void TScrollBar::SetSmallChange(int Value) {
  if (Value < 1) return;
  smallChange_ = Value;
  SyncWidget();
}

void TScrollBar::SetLargeChange(int Value) {
  if (Value < 1) return;
  largeChange_ = Value;
  SyncWidget();
}
