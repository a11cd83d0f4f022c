// Edits: the one-line edit, the memo and the up-down that steps a number in an edit.
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextOption>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>
#include <climits>

#include "canvas_qt.h"
#include "forms_impl.h"
#include "platform/stdctrls.h"
#include "platform/typinfo.h"

using namespace forms_detail;

namespace {

QString QStr(const std::string& S) { return QString::fromStdString(S); }

void EditPalette(QPalette& P, const QColor& Back, const QColor& Fore) {
  P.setColor(QPalette::Base, Back);
  P.setColor(QPalette::Text, Fore);
}

}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TEdit, TWinControl)

void TEdit::DefineProperties(TPropertyTable& t) {
  t.Str("Text", &TEdit::Text, &TEdit::SetText).Default(std::string());
  t.Bool("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(false);
  t.Int("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0LL);
  t.Event("OnChange", &TEdit::OnChange);
}

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  impl_->TakesFocus = true;
  auto* w = MakeWidget<QLineEdit>(this);
  impl_->ApplyText = [this, w] {
    if (w->text() != QStr(Text())) w->setText(QStr(Text()));
  };
  impl_->ApplyPalette = EditPalette;
  impl_->ApplyColor();
  QObject::connect(w, &QLineEdit::textEdited, w, [this](const QString& s) {
    Guard(this, [&] { SetText(s.toStdString()); });
  });
}

void TEdit::SetReadOnly(bool Value) {
  readOnly_ = Value;
  static_cast<QLineEdit*>(impl_->Widget)->setReadOnly(Value);
}

void TEdit::SetMaxLength(int Value) {
  maxLength_ = std::max(0, Value);
  static_cast<QLineEdit*>(impl_->Widget)->setMaxLength(maxLength_ ? maxLength_ : 32767);
}

void TEdit::SelectAll() { static_cast<QLineEdit*>(impl_->Widget)->selectAll(); }

std::string TEdit::SelText() const { return static_cast<QLineEdit*>(impl_->Widget)->selectedText().toStdString(); }

int TEdit::SelStart() const {
  auto* w = static_cast<QLineEdit*>(impl_->Widget);
  return w->hasSelectedText() ? w->selectionStart() : w->cursorPosition();
}

int TEdit::SelLength() const { return int(static_cast<QLineEdit*>(impl_->Widget)->selectedText().size()); }

void TEdit::TextChanged() { Change(); }

void TEdit::Change() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TMemo, TWinControl)

void TMemo::DefineProperties(TPropertyTable& t) {
  t.Object("Lines", &TMemo::Lines);
  t.Bool("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly).Default(false);
  t.Enum("ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars, {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"})
      .Default(0LL);
  t.Bool("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap).Default(true);
  t.Enum("BorderStyle", &TMemo::BorderStyle, &TMemo::SetBorderStyle, {"bsNone", "bsSingle"}).Default((long long)bsSingle);
  t.Enum("BevelKind", &TMemo::BevelKind, &TMemo::SetBevelKind, {"bkNone", "bkTile", "bkSoft", "bkFlat"})
      .Default((long long)bkNone);
  t.Enum("BevelOuter", &TMemo::BevelOuter, &TMemo::SetBevelOuter, {"bvNone", "bvLowered", "bvRaised", "bvSpace"})
      .Default((long long)bvLowered);
  t.Event("OnChange", &TMemo::OnChange);
}

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner), lines_(std::make_unique<TStringList>()) {
  SetBounds(0, 0, 185, 89);
  SetTabStop(true);
  impl_->TakesFocus = true;
  auto* w = MakeWidget<QPlainTextEdit>(this);
  impl_->ApplyText = [this, w] {
    if (w->toPlainText() != QStr(Text())) w->setPlainText(QStr(Text()));
  };
  // A flat bevel is a plain line in the shadow colour (the frame's foreground).
  impl_->ApplyPalette = [](QPalette& P, const QColor& Back, const QColor& Fore) {
    EditPalette(P, Back, Fore);
    P.setColor(QPalette::WindowText, ToQColor(clBtnShadow));
  };
  impl_->ApplyColor();
  lines_->OnChange = [this](TObject*) { LinesChanged(); };
  SetScrollBars(ssNone);
  QObject::connect(w, &QPlainTextEdit::textChanged, w, [this, w] {
    if (syncing_) return;
    Guard(this, [&] { SetText(w->toPlainText().toStdString()); });
  });
}

TMemo::~TMemo() { lines_->OnChange.Clear(); }

// Lines and Text are one text: lines joined by line breaks, no break after the last.
void TMemo::LinesChanged() {
  if (syncing_) return;
  std::string text;
  for (int i = 0; i < lines_->Count(); ++i) {
    if (i) text += '\n';
    text += lines_->Get(i);
  }
  syncing_ = true;
  SetText(text);
  syncing_ = false;
}

void TMemo::TextChanged() {
  if (!syncing_) {
    syncing_ = true;
    lines_->BeginUpdate();
    lines_->Clear();
    const std::string& t = Text();
    size_t start = 0;
    if (!t.empty())
      for (;;) {
        size_t nl = t.find('\n', start);
        lines_->Add(t.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
        if (nl == std::string::npos) break;
        start = nl + 1;
      }
    lines_->EndUpdate();
    syncing_ = false;
  }
  if (OnChange) OnChange(this);
}

void TMemo::SetReadOnly(bool Value) {
  readOnly_ = Value;
  static_cast<QPlainTextEdit*>(impl_->Widget)->setReadOnly(Value);
}

void TMemo::SetScrollBars(TScrollStyle Value) {
  scrollBars_ = Value;
  auto* w = static_cast<QPlainTextEdit*>(impl_->Widget);
  w->setHorizontalScrollBarPolicy(Value == ssHorizontal || Value == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                           : Qt::ScrollBarAlwaysOff);
  w->setVerticalScrollBarPolicy(Value == ssVertical || Value == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                       : Qt::ScrollBarAlwaysOff);
}

void TMemo::SetWordWrap(bool Value) {
  wordWrap_ = Value;
  static_cast<QPlainTextEdit*>(impl_->Widget)
      ->setLineWrapMode(Value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetBorderStyle(TFormBorderStyle Value) {
  if (Value != bsNone && Value != bsSingle) throw EInvalidOperation("A memo's border is bsNone or bsSingle");
  borderStyle_ = Value;
  ApplyFrame();
}

void TMemo::SetBevelKind(TBevelKind Value) {
  bevelKind_ = Value;
  ApplyFrame();
}

void TMemo::SetBevelOuter(TPanelBevel Value) {
  bevelOuter_ = Value;
  ApplyFrame();
}

void TMemo::SetTabStops(const std::vector<int>& Pixels) {
  auto* w = static_cast<QPlainTextEdit*>(impl_->Widget);
  QTextOption option = w->document()->defaultTextOption();
  QList<QTextOption::Tab> tabs;
  for (int p : Pixels) tabs.append(QTextOption::Tab(p, QTextOption::LeftTab));
  option.setTabs(tabs);
  w->document()->setDefaultTextOption(option);
}

void TMemo::ApplyFrame() {
  auto* w = static_cast<QPlainTextEdit*>(impl_->Widget);
  const bool bevel = bevelKind_ != bkNone && bevelOuter_ != bvNone && bevelOuter_ != bvSpace;
  if (bevel && bevelKind_ == bkFlat) {
    w->setFrameStyle(QFrame::Box | QFrame::Plain);
  } else if (bevel) {
    w->setFrameStyle(QFrame::Panel | (bevelOuter_ == bvRaised ? QFrame::Raised : QFrame::Sunken));
  } else if (borderStyle_ == bsNone) {
    w->setFrameStyle(QFrame::NoFrame);
  } else {
    w->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  }
  w->setLineWidth(1);
}

void TMemo::SelectAll() { static_cast<QPlainTextEdit*>(impl_->Widget)->selectAll(); }

std::string TMemo::SelText() const {
  // Qt separates selected paragraphs with U+2029.
  QString s = static_cast<QPlainTextEdit*>(impl_->Widget)->textCursor().selectedText();
  s.replace(QChar(0x2029), QChar('\n'));
  return s.toStdString();
}

// ---------------------------------------------------------------------------
// Up and Down in the associated edit step the up-down, as its arrows do.
struct TUpDown::KeyFilter : QObject {
  explicit KeyFilter(TUpDown* U) : Owner(U) {}
  bool eventFilter(QObject* O, QEvent* E) override {
    if (E->type() != QEvent::KeyPress || !Owner->arrowKeys_) return QObject::eventFilter(O, E);
    int k = static_cast<QKeyEvent*>(E)->key();
    if (k != Qt::Key_Up && k != Qt::Key_Down) return QObject::eventFilter(O, E);
    Guard(Owner, [&] { Owner->ButtonClick(k == Qt::Key_Up ? btNext : btPrev); });
    return true;
  }
  TUpDown* Owner;
};

IMPLEMENT_CLASS_PROPS(TUpDown, TWinControl)

void TUpDown::DefineProperties(TPropertyTable& t) {
  t.Int("Min", &TUpDown::Min, &TUpDown::SetMin).Default(0LL);
  t.Int("Max", &TUpDown::Max, &TUpDown::SetMax).Default(100LL);
  t.Int("Position", &TUpDown::Position, &TUpDown::SetPosition).Default(0LL);
  t.Int("Increment", &TUpDown::Increment, &TUpDown::SetIncrement).Default(1LL);
  t.Bool("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap).Default(false);
  t.Bool("Thousands", &TUpDown::Thousands, &TUpDown::SetThousands).Default(true);
  t.Bool("ArrowKeys", &TUpDown::ArrowKeys, &TUpDown::SetArrowKeys).Default(true);
  t.Enum("AlignButton", &TUpDown::AlignButton, &TUpDown::SetAlignButton, {"udLeft", "udRight"}).Default(1LL);
  t.Enum("Orientation", &TUpDown::Orientation, &TUpDown::SetOrientation, {"udHorizontal", "udVertical"})
      .Default(1LL);
  t.Event("OnClick", &TUpDown::OnClick);
  t.Event("OnChanging", &TUpDown::OnChanging);
}

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner), filter_(std::make_unique<KeyFilter>(this)) {
  SetBounds(0, 0, 15, 21);
  auto* w = MakeWidget<QWidget>(this);
  auto* up = new QToolButton(w);
  auto* down = new QToolButton(w);
  up->setObjectName("next");
  down->setObjectName("prev");
  for (QToolButton* b : {up, down}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
    const TUDBtnType type = b == up ? btNext : btPrev;
    QObject::connect(b, &QToolButton::clicked, w, [this, type] { Guard(this, [&] { ButtonClick(type); }); });
  }
  SetOrientation(udHorizontal);
  SetOrientation(udVertical);
}

TUpDown::~TUpDown() { SetAssociate(nullptr); }

void TUpDown::SetOrientation(TUDOrientation Value) {
  orientation_ = Value;
  auto* up = impl_->Widget->findChild<QToolButton*>("next");
  auto* down = impl_->Widget->findChild<QToolButton*>("prev");
  up->setArrowType(Value == udVertical ? Qt::UpArrow : Qt::RightArrow);
  down->setArrowType(Value == udVertical ? Qt::DownArrow : Qt::LeftArrow);
  PlaceButtons();
}

// The buttons share the control: halves one above the other (or side by side).
void TUpDown::PlaceButtons() {
  if (!impl_->Widget) return;  // still being built
  auto* up = impl_->Widget->findChild<QToolButton*>("next");
  auto* down = impl_->Widget->findChild<QToolButton*>("prev");
  const int w = Width(), h = Height();
  if (orientation_ == udVertical) {
    up->setGeometry(0, 0, w, h / 2);
    down->setGeometry(0, h / 2, w, h - h / 2);
  } else {
    down->setGeometry(0, 0, w / 2, h);
    up->setGeometry(w / 2, 0, w - w / 2, h);
  }
}

void TUpDown::Resize() {
  PlaceButtons();
  TWinControl::Resize();
}

void TUpDown::SetMin(int Value) {
  min_ = std::clamp(Value, -32768, 32767);
  UpdateAssociate();
}

void TUpDown::SetMax(int Value) {
  max_ = std::clamp(Value, -32768, 32767);
  UpdateAssociate();
}

int TUpDown::Position() const {
  if (associate_) {
    std::string t = associate_->Text();
    t.erase(std::remove(t.begin(), t.end(), ','), t.end());
    long long v;
    if (TryStrToInt(Trim(t), v))
      position_ = int(std::clamp<long long>(v, std::min(min_, max_), std::max(min_, max_)));
  }
  return position_;
}

void TUpDown::SetPosition(int Value) {
  position_ = std::clamp(Value, std::min(min_, max_), std::max(min_, max_));
  UpdateAssociate();
}

void TUpDown::SetThousands(bool Value) {
  thousands_ = Value;
  UpdateAssociate();
}

void TUpDown::UpdateAssociate() {
  position_ = std::clamp(position_, std::min(min_, max_), std::max(min_, max_));
  if (!associate_) return;
  const std::string digits = IntToStr(std::abs(position_));
  std::string text(position_ < 0 ? 1 : 0, '-');
  for (size_t i = 0; i < digits.size(); ++i) {
    if (thousands_ && i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  associate_->SetText(text);
}

void TUpDown::ButtonClick(TUDBtnType Button) {
  if (!Enabled()) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (!allow) return;
  const int lo = std::min(min_, max_), hi = std::max(min_, max_);
  // The arrows step towards Max (btNext) whichever way Min and Max lie.
  long long step = (long long)increment_ * (max_ >= min_ ? 1 : -1) * (Button == btNext ? 1 : -1);
  long long v = (long long)Position() + step;
  if (v > hi) v = wrap_ ? lo : hi;
  if (v < lo) v = wrap_ ? hi : lo;
  position_ = int(v);
  UpdateAssociate();
  if (OnClick) OnClick(this, Button);
}

void TUpDown::SetAlignButton(TUDAlignButton Value) {
  alignButton_ = Value;
  PlaceBesideAssociate();
}

void TUpDown::SetAssociate(TWinControl* Value) {
  if (Value == associate_) return;
  if (associate_) {
    associate_->RemoveFreeNotification(this);
    if (QWidget* w = associate_->GetImpl()->Widget) {
      if (auto* e = w->findChild<QLineEdit*>()) e->removeEventFilter(filter_.get());
      w->removeEventFilter(filter_.get());
    }
  }
  associate_ = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  Value->GetImpl()->Widget->installEventFilter(filter_.get());
  PlaceBesideAssociate();
  UpdateAssociate();
}

// As the class library does: the up-down takes the edit's height and sits against
// its right (or left) edge, the edit giving up the width.
void TUpDown::PlaceBesideAssociate() {
  TWinControl* a = associate_;
  if (!a || a->Parent() != Parent()) return;
  if (alignButton_ == udRight) {
    a->SetWidth(std::max(0, a->Width() - Width()));
    SetBounds(a->Left() + a->Width(), a->Top(), Width(), a->Height());
  } else {
    SetBounds(a->Left(), a->Top(), Width(), a->Height());
    a->SetBounds(a->Left() + Width(), a->Top(), std::max(0, a->Width() - Width()), a->Height());
  }
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == associate_) associate_ = nullptr;
}
