// The standard controls over Qt widgets (buttons, boxes, spin edit, track bar) or
// drawn on their own canvas (panel, label, image, paint box).
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyleOptionComplex>

#include <algorithm>
#include <climits>

#include "forms_impl.h"
#include "platform/controls.h"
#include "platform/typinfo.h"

using namespace forms_detail;

namespace {

// Background and text of boxes and bars, painted by the widget (whose background
// role is the window's or the button's, by style).
void WindowPalette(QPalette& P, const QColor& Back, const QColor& Fore) {
  P.setColor(QPalette::Window, Back);
  P.setColor(QPalette::Button, Back);
  P.setColor(QPalette::WindowText, Fore);
  P.setColor(QPalette::ButtonText, Fore);
}

QString QStr(const std::string& S) { return QString::fromStdString(S); }

// Check boxes and radio buttons put their caption 4 pixels after the box, as the
// classic controls do, so that captions fit the widths classic layouts give them.
// Disabled captions of buttons and boxes are etched: the highlight one pixel down
// and to the right under the grey text. Used by buttons, boxes and track bars.
class TClassicBoxStyle : public QProxyStyle {
public:
  using QProxyStyle::QProxyStyle;
  int pixelMetric(PixelMetric Metric, const QStyleOption* Option, const QWidget* Widget) const override {
    if (Metric == PM_CheckBoxLabelSpacing || Metric == PM_RadioButtonLabelSpacing) return 4;
    return QProxyStyle::pixelMetric(Metric, Option, Widget);
  }
  void drawItemText(QPainter* Painter, const QRect& Rect, int Flags, const QPalette& Pal, bool Enabled,
                    const QString& Text, QPalette::ColorRole TextRole) const override {
    if (!Enabled && TextRole != QPalette::NoRole)
      QProxyStyle::drawItemText(Painter, Rect.translated(1, 1), Flags, Pal, Enabled, Text, QPalette::Light);
    QProxyStyle::drawItemText(Painter, Rect, Flags, Pal, Enabled, Text, TextRole);
  }
  // A disabled track bar's thumb is dithered with the highlight.
  void drawComplexControl(ComplexControl Control, const QStyleOptionComplex* Option, QPainter* Painter,
                          const QWidget* Widget) const override {
    QProxyStyle::drawComplexControl(Control, Option, Painter, Widget);
    if (Control != CC_Slider || (Option->state & State_Enabled)) return;
    const QRect thumb = subControlRect(CC_Slider, Option, SC_SliderHandle, Widget).adjusted(2, 2, -2, -2);
    Painter->fillRect(thumb, QBrush(Option->palette.color(QPalette::Disabled, QPalette::Light), Qt::Dense4Pattern));
  }
};

// One for all of them, over the application's style, freed with the application.
QStyle* ClassicBoxStyle() {
  static QPointer<QStyle> style;
  if (!style) {
    style = new TClassicBoxStyle(QApplication::style()->name());
    style->setParent(qApp);
  }
  return style;
}

}  // namespace

void forms_detail::DrawCaptionText(TCanvas* C, int X, int Y, const std::string& Text, bool Enabled) {
  C->Brush()->SetStyle(bsClear);
  if (!Enabled) {
    C->Font()->SetColor(clBtnHighlight);
    C->TextOut(X + 1, Y + 1, Text);
    C->Font()->SetColor(clGrayText);
  }
  C->TextOut(X, Y, Text);
}

std::string StripAccelerator(const std::string& Caption) {
  std::string out;
  for (size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] == '&' && i + 1 < Caption.size()) ++i;
    out += Caption[i];
  }
  return out;
}

namespace {

// Stores a property's new value; answers whether it changed.
template <class T>
bool Store(T& Field, T Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

// The edit of a spin edit: accepts any text; its buttons step the control.
class SpinBox : public QAbstractSpinBox {
public:
  QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }
  void fixup(QString&) const override {}
  StepEnabled stepEnabled() const override { return isEnabled() ? (StepUpEnabled | StepDownEnabled) : StepNone; }
  void stepBy(int Steps) override {
    if (auto* c = static_cast<TSpinEdit*>(ControlOf(this))) Guard(c, [&] { c->Spin(Steps); });
  }
};

}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TButton, TWinControl)

void TButton::DefineProperties(TPropertyTable& t) {
  t.Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0LL);
  t.Bool("Default", &TButton::Default, &TButton::SetDefault).Default(false);
  t.Bool("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
}

void TButton::SetDefault(bool Value) {
  if (!Store(default_, Value)) return;
  static_cast<QPushButton*>(impl_->Widget)->setDefault(Value);  // the default button's look
}

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  impl_->WidgetClicks = true;
  impl_->TakesFocus = true;
  auto* w = MakeWidget<QPushButton>(this);
  w->setStyle(ClassicBoxStyle());
  impl_->ApplyText = [this, w] { w->setText(QStr(Caption())); };
  impl_->ApplyPalette = [](QPalette& p, const QColor& back, const QColor& fore) {
    p.setColor(QPalette::Button, back);
    p.setColor(QPalette::ButtonText, fore);
  };
  impl_->ApplyText();
  impl_->ApplyColor();
  QObject::connect(w, &QPushButton::clicked, w, [this] { Guard(this, [this] { Click(); }); });
}

void TButton::Click() {
  if (TForm* f = GetParentForm(this)) f->SetModalResult(modalResult_);
  TWinControl::Click();
}

IMPLEMENT_CLASS_PROPS(TBitBtn, TButton)

void TBitBtn::DefineProperties(TPropertyTable& t) { t.Object("Glyph", &TBitBtn::Glyph); }

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), glyph_(std::make_unique<TBitmap>()) {
  glyph_->OnChange = [this](TObject*) { GlyphChanged(); };
}

TBitBtn::~TBitBtn() { glyph_->OnChange.Clear(); }

void TBitBtn::GlyphChanged() {
  auto* w = static_cast<QPushButton*>(impl_->Widget);
  if (glyph_->Empty()) {
    w->setIcon(QIcon());
    return;
  }
  // The bottom-left pixel's colour is the glyph's background.
  QImage img = BitmapToQImage(glyph_.get()).convertToFormat(QImage::Format_ARGB32);
  QRgb clear = img.pixel(0, img.height() - 1);
  for (int y = 0; y < img.height(); ++y) {
    auto* p = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if (p[x] == clear) p[x] = 0;
  }
  w->setIcon(QIcon(QPixmap::fromImage(img)));
  w->setIconSize(img.size());
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TPanel, TCustomControl)

void TPanel::DefineProperties(TPropertyTable& t) {
  static const std::initializer_list<const char*> bevels = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
  t.Enum("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter, bevels).Default(2LL);
  t.Enum("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner, bevels).Default(0LL);
  t.Int("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1LL);
  t.Enum("Alignment", &TPanel::Alignment, &TPanel::SetAlignment, {"taLeftJustify", "taRightJustify", "taCenter"})
      .Default(2LL);
}

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TPanelBevel Value) {
  if (Store(bevelOuter_, Value)) Invalidate();
}

void TPanel::SetBevelInner(TPanelBevel Value) {
  if (Store(bevelInner_, Value)) Invalidate();
}

void TPanel::SetBevelWidth(int Value) {
  if (Value < 1 || Value == bevelWidth_) return;
  bevelWidth_ = Value;
  Invalidate();
}

void TPanel::SetAlignment(TAlignment Value) {
  if (Store(alignment_, Value)) Invalidate();
}

void TPanel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetMode(pmCopy);
  c->Pen()->SetWidth(1);
  // Width rings of one pixel: light over the top and left, dark under the bottom and right.
  auto frame3D = [&](TPanelBevel bevel) {
    TColor top = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
    TColor bottom = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
    --r.Right;
    --r.Bottom;
    for (int i = 0; i < bevelWidth_; ++i) {
      c->Pen()->SetColor(top);
      c->Polyline({{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}});
      c->Pen()->SetColor(bottom);
      c->Polyline({{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}});
      r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }
    ++r.Right;
    ++r.Bottom;
  };
  if (bevelOuter_ != bvNone) frame3D(bevelOuter_);
  if (bevelInner_ != bvNone) frame3D(bevelInner_);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  if (Caption().empty()) return;
  c->Brush()->SetStyle(bsClear);
  c->SetFont(Font());
  int th = c->TextHeight("W");
  int tw = c->TextWidth(Caption());
  int x = alignment_ == taCenter ? (r.Left + r.Right - tw) / 2 : alignment_ == taRightJustify ? r.Right - tw : r.Left;
  c->TextRect(r, x, (r.Top + r.Bottom - th) / 2, Caption());
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TLabel, TGraphicControl)

void TLabel::DefineProperties(TPropertyTable& t) {
  t.Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(false);
  t.Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true);
  t.Enum("Alignment", &TLabel::Alignment, &TLabel::SetAlignment, {"taLeftJustify", "taRightJustify", "taCenter"})
      .Default(0LL);
}

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetColor(clBtnFace);
  SetParentColor(true);
  SetBounds(0, 0, 65, 17);
  AdjustBounds();
}

TLabel::~TLabel() { SetFocusControl(nullptr); }

void TLabel::SetFocusControl(TWinControl* Value) {
  if (Value == focusControl_) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TLabel::SetTransparent(bool Value) {
  if (Store(transparent_, Value)) Invalidate();
}

void TLabel::SetAutoSize(bool Value) {
  if (Store(autoSize_, Value)) AdjustBounds();
}

void TLabel::SetAlignment(TAlignment Value) {
  if (Store(alignment_, Value)) Invalidate();
}

void TLabel::AdjustBounds() {
  if (!autoSize_) return;
  TCanvas* c = Canvas();
  c->SetFont(Font());
  // An empty caption still has the height of a line.
  TSize s = c->TextExtent(Caption().empty() ? std::string(" ") : StripAccelerator(Caption()));
  SetBounds(Left(), Top(), s.cx, s.cy);
}

void TLabel::TextChanged() {
  AdjustBounds();
  Invalidate();
}

void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustBounds();
}

void TLabel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (!transparent_) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
  }
  c->SetFont(Font());
  const std::string text = StripAccelerator(Caption());
  int tw = c->TextWidth(text);
  int x = alignment_ == taCenter ? (r.Width() - tw) / 2 : alignment_ == taRightJustify ? r.Width() - tw : 0;
  DrawCaptionText(c, x, 0, text, Enabled());
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TSpinEdit, TWinControl)

void TSpinEdit::DefineProperties(TPropertyTable& t) {
  t.Int("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue).Default(0LL);
  t.Int("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue).Default(0LL);
  t.Int("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement).Default(1LL);
  t.Int("Value", &TSpinEdit::Value, &TSpinEdit::SetValue);
  t.Event("OnChange", &TSpinEdit::OnChange);
}

TSpinEdit::TSpinEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 22);
  SetTabStop(true);
  SetText("0");
  impl_->TakesFocus = true;
  auto* w = MakeWidget<SpinBox>(this);
  QLineEdit* edit = w->findChild<QLineEdit*>();
  impl_->ApplyText = [this, edit] {
    if (edit->text() != QStr(Text())) edit->setText(QStr(Text()));
  };
  impl_->ApplyPalette = [](QPalette& p, const QColor& back, const QColor& fore) {
    p.setColor(QPalette::Base, back);
    p.setColor(QPalette::Text, fore);
  };
  impl_->ApplyText();
  impl_->ApplyColor();
  // Typing: the text is the control's at once, whatever it is.
  QObject::connect(edit, &QLineEdit::textEdited, w, [this](const QString& s) {
    Guard(this, [&] { SetText(s.toStdString()); });
  });
}

int TSpinEdit::Value() const {
  long long v;
  if (!TryStrToInt(Text(), v) || v < INT_MIN || v > INT_MAX) return minValue_;
  return int(v);
}

int TSpinEdit::CheckValue(int NewValue) const {
  if (maxValue_ == minValue_) return NewValue;
  return std::clamp(NewValue, std::min(minValue_, maxValue_), std::max(minValue_, maxValue_));
}

void TSpinEdit::SetValue(int NewValue) { SetText(IntToStr(CheckValue(NewValue))); }

void TSpinEdit::Spin(int Steps) {
  long long v = (long long)Value() + (long long)Steps * increment_;
  SetValue(int(std::clamp<long long>(v, INT_MIN, INT_MAX)));
}

void TSpinEdit::TextChanged() { Change(); }

void TSpinEdit::Change() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TTrackBar, TWinControl)

void TTrackBar::DefineProperties(TPropertyTable& t) {
  t.Int("Min", &TTrackBar::Min, &TTrackBar::SetMin).Default(0LL);
  t.Int("Max", &TTrackBar::Max, &TTrackBar::SetMax).Default(10LL);
  t.Int("Position", &TTrackBar::Position, &TTrackBar::SetPosition).Default(0LL);
  t.Int("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency).Default(1LL);
  t.Enum("TickStyle", &TTrackBar::TickStyle, &TTrackBar::SetTickStyle, {"tsNone", "tsAuto", "tsManual"}).Default(1LL);
  t.Enum("TickMarks", &TTrackBar::TickMarks, &TTrackBar::SetTickMarks, {"tmBottomRight", "tmTopLeft", "tmBoth"})
      .Default(0LL);
  t.Enum("Orientation", &TTrackBar::Orientation, &TTrackBar::SetOrientation, {"trHorizontal", "trVertical"})
      .Default(0LL);
  t.Int("LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize).Default(1LL);
  t.Int("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize).Default(2LL);
  t.Event("OnChange", &TTrackBar::OnChange);
}

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 150, 45);
  SetTabStop(true);
  impl_->TakesFocus = true;
  // Disabled, the groove's filled part is grey instead of the highlight.
  impl_->ApplyPalette = [](QPalette& p, const QColor& back, const QColor& fore) {
    WindowPalette(p, back, fore);
    p.setColor(QPalette::Disabled, QPalette::Highlight, ToQColor(clBtnShadow));
  };
  auto* w = MakeWidget<QSlider>(this);
  w->setStyle(ClassicBoxStyle());
  w->setAutoFillBackground(true);
  impl_->ApplyColor();
  SyncWidget();
  // The user moved the thumb (programmatic moves are blocked in SyncWidget).
  QObject::connect(w, &QSlider::valueChanged, w, [this](int v) { Guard(this, [&] { SetPosition(v); }); });
}

void TTrackBar::SyncWidget() {
  auto* w = static_cast<QSlider*>(impl_->Widget);
  if (!w) return;
  QSignalBlocker block(w);
  bool vertical = orientation_ == trVertical;
  w->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
  // The minimum at the top, and the Up key going up.
  w->setInvertedAppearance(vertical);
  w->setInvertedControls(vertical);
  w->setRange(min_, max_);
  w->setValue(position_);
  w->setSingleStep(lineSize_);
  w->setPageStep(pageSize_);
  w->setTickInterval(std::max(1, frequency_));
  QSlider::TickPosition ticks = QSlider::NoTicks;
  if (tickStyle_ != tsNone) {
    if (tickMarks_ == tmBoth) ticks = QSlider::TicksBothSides;
    else if (tickMarks_ == tmTopLeft) ticks = QSlider::TicksAbove;  // left when vertical
    else ticks = QSlider::TicksBelow;                                // right when vertical
  }
  w->setTickPosition(ticks);
}

void TTrackBar::SetMin(int Value) {
  if (Value > max_ || Value == min_) return;
  min_ = Value;
  SyncWidget();
  SetPosition(position_);
}

void TTrackBar::SetMax(int Value) {
  if (Value < min_ || Value == max_) return;
  max_ = Value;
  SyncWidget();
  SetPosition(position_);
}

void TTrackBar::SetPosition(int Value) {
  Value = std::clamp(Value, min_, max_);
  if (Value == position_) {
    SyncWidget();  // a clamped user move leaves the widget where we are
    return;
  }
  position_ = Value;
  SyncWidget();
  Changed();
}

void TTrackBar::SetFrequency(int Value) {
  if (Store(frequency_, Value)) SyncWidget();
}

void TTrackBar::SetTickStyle(TTickStyle Value) {
  if (Store(tickStyle_, Value)) SyncWidget();
}

void TTrackBar::SetTickMarks(TTickMark Value) {
  if (Store(tickMarks_, Value)) SyncWidget();
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
  if (Store(orientation_, Value)) SyncWidget();
}

void TTrackBar::SetLineSize(int Value) {
  if (Value > 0 && Store(lineSize_, Value)) SyncWidget();
}

void TTrackBar::SetPageSize(int Value) {
  if (Value > 0 && Store(pageSize_, Value)) SyncWidget();
}

void TTrackBar::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  long long to;
  switch (Key) {
    case VK_LEFT: case VK_UP: to = (long long)position_ - lineSize_; break;
    case VK_RIGHT: case VK_DOWN: to = (long long)position_ + lineSize_; break;
    case VK_PRIOR: to = (long long)position_ - pageSize_; break;
    case VK_NEXT: to = (long long)position_ + pageSize_; break;
    case VK_HOME: to = min_; break;
    case VK_END: to = max_; break;
    default: return;
  }
  Key = 0;  // ours, not the widget's
  SetPosition(int(std::clamp<long long>(to, min_, max_)));
}

void TTrackBar::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TCheckBox, TWinControl)

void TCheckBox::DefineProperties(TPropertyTable& t) {
  t.Bool("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Default(false);
  t.Enum("State", &TCheckBox::State, &TCheckBox::SetState, {"cbUnchecked", "cbChecked", "cbGrayed"}).Default(0LL);
  t.Bool("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false);
}

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
  impl_->WidgetClicks = true;
  impl_->TakesFocus = true;
  impl_->ApplyPalette = WindowPalette;
  auto* w = MakeWidget<QCheckBox>(this);
  w->setStyle(ClassicBoxStyle());
  w->setAutoFillBackground(true);
  w->setTristate(true);  // the states are ours; the widget only shows them
  impl_->ApplyText = [this, w] { w->setText(QStr(Caption())); };
  impl_->ApplyText();
  impl_->ApplyColor();
  QObject::connect(w, &QCheckBox::clicked, w, [this] { Guard(this, [this] { Toggle(); }); });
}

void TCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCheckBox::SetState(TCheckBoxState Value) {
  auto* w = static_cast<QCheckBox*>(impl_->Widget);
  {
    QSignalBlocker block(w);
    w->setCheckState(Value == cbChecked ? Qt::Checked : Value == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
  }
  if (Value == state_) return;
  state_ = Value;
  Click();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TRadioButton, TWinControl)

void TRadioButton::DefineProperties(TPropertyTable& t) {
  t.Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
}

TRadioButton::TRadioButton(TComponent* AOwner) : TWinControl(AOwner) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 113, 17);
  impl_->WidgetClicks = true;
  impl_->TakesFocus = true;
  impl_->ApplyPalette = WindowPalette;
  auto* w = MakeWidget<QRadioButton>(this);
  w->setStyle(ClassicBoxStyle());
  w->setAutoExclusive(false);  // the group is ours
  w->setAutoFillBackground(true);
  impl_->ApplyText = [this, w] { w->setText(QStr(Caption())); };
  impl_->ApplyText();
  impl_->ApplyColor();
  // A click always checks; on a checked button it changes nothing.
  QObject::connect(w, &QRadioButton::clicked, w, [this] { Guard(this, [this] { SetChecked(true); }); });
}

void TRadioButton::SetChecked(bool Value) {
  auto* w = static_cast<QRadioButton*>(impl_->Widget);
  {
    QSignalBlocker block(w);
    w->setChecked(Value);
  }
  if (Value == checked_) return;
  checked_ = Value;
  // Only the checked button of a group is a tab stop.
  SetTabStop(Value);
  if (!Value) return;
  if (TWinControl* p = Parent())
    for (int i = 0; i < p->ControlCount(); ++i) {
      auto* sib = dynamic_cast<TRadioButton*>(p->Controls(i));
      if (!sib || sib == this || !sib->checked_) continue;
      sib->checked_ = false;
      sib->SetTabStop(false);
      QSignalBlocker block(sib->impl_->Widget);
      static_cast<QRadioButton*>(sib->impl_->Widget)->setChecked(false);
    }
  Click();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TImage, TGraphicControl)

void TImage::DefineProperties(TPropertyTable& t) {
  t.Object("Picture", &TImage::Picture);
  t.Bool("Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false);
  t.Bool("Center", &TImage::Center, &TImage::SetCenter).Default(false);
  t.Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent).Default(false);
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), picture_(std::make_unique<TPicture>()) {
  SetBounds(0, 0, 105, 105);
  picture_->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() { picture_->OnChange.Clear(); }

void TImage::PictureChanged() {
  if (TGraphic* g = picture_->Graphic()) g->SetTransparent(transparent_);
  Invalidate();
}

void TImage::SetStretch(bool Value) {
  if (Store(stretch_, Value)) Invalidate();
}

void TImage::SetCenter(bool Value) {
  if (Store(center_, Value)) Invalidate();
}

void TImage::SetTransparent(bool Value) {
  if (Store(transparent_, Value)) PictureChanged();
}

TRect TImage::DestRect() const {
  if (stretch_) return ClientRect();
  int w = picture_->Width(), h = picture_->Height();
  if (!center_) return Rect(0, 0, w, h);
  int x = (ClientWidth() - w) / 2, y = (ClientHeight() - h) / 2;
  return Rect(x, y, x + w, y + h);
}

void TImage::Paint() {
  if (TGraphic* g = picture_->Graphic(); g && !g->Empty()) Canvas()->StretchDraw(DestRect(), g);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TPaintBox, TGraphicControl)

void TPaintBox::DefineProperties(TPropertyTable& t) { t.Event("OnPaint", &TPaintBox::OnPaint); }

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetParentColor(true);
  SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
  Canvas()->SetFont(Font());
  Canvas()->Brush()->SetColor(Color());
  if (OnPaint) OnPaint(this);
}
