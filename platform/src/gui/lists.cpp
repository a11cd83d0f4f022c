// List box, check list box and combo box, painted on their own canvas.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

#include "forms_impl.h"
#include "lists_impl.h"
#include "platform/grids.h"
#include "platform/lists.h"
#include "platform/menus.h"
#include "platform/rtl.h"
#include "platform/trees.h"
#include "platform/typinfo.h"

using namespace forms_detail;

namespace {

constexpr int kBorder = 2;
constexpr int kCheckSize = 13;

bool LessText(const std::string& A, const std::string& B) { return CompareText(A, B) < 0; }

}  // namespace

void forms_detail::ListIndexError(int Index) { throw EListError(Format("List index out of bounds (%d)", Index)); }

int forms_detail::ShiftedIndex(int Current, int At, int Delta) {
  if (At < 0 || Delta == 0 || Current < At) return Current;
  if (Delta < 0 && Current < At - Delta) return -1;
  return Current + Delta;
}

void forms_detail::MakeFocusable(TWinControl* Control) {
  Control->SetTabStop(true);
  Control->GetImpl()->TakesFocus = true;
  Control->GetImpl()->ApplyFocusPolicy();
}

namespace {

// The mouse wheel over a control scrolls it through its vertical bar.
class TWheelToBar : public QObject {
public:
  TWheelToBar(QScrollBar* Bar) : QObject(Bar), bar_(Bar) {}

protected:
  bool eventFilter(QObject* Watched, QEvent* E) override {
    if (E->type() == QEvent::Wheel && bar_->isVisible()) {
      QCoreApplication::sendEvent(bar_, E);
      return true;
    }
    return QObject::eventFilter(Watched, E);
  }

private:
  QScrollBar* bar_;
};

}  // namespace

QScrollBar* forms_detail::AddScrollBar(TControl* Control, Qt::Orientation Orientation, std::function<void(int)> OnMove) {
  auto* bar = new QScrollBar(Orientation, Control->GetImpl()->Widget);
  bar->setFocusPolicy(Qt::NoFocus);
  bar->hide();
  if (Orientation == Qt::Vertical) Control->GetImpl()->Widget->installEventFilter(new TWheelToBar(bar));
  QObject::connect(bar, &QScrollBar::valueChanged, Control->GetImpl()->Widget,
                   [Control, OnMove = std::move(OnMove)](int v) { Guard(Control, [&] { OnMove(v); }); });
  return bar;
}

void forms_detail::DrawFocusRectangle(TCanvas* Canvas, const TRect& R) {
  if (R.Width() <= 0 || R.Height() <= 0) return;
  TColor old = Canvas->Pen()->Color();
  TPenStyle style = Canvas->Pen()->Style();
  Canvas->Pen()->SetColor(clWindowText);
  Canvas->Pen()->SetStyle(psDot);
  const TPoint pts[5] = {{R.Left, R.Top}, {R.Right - 1, R.Top}, {R.Right - 1, R.Bottom - 1},
                         {R.Left, R.Bottom - 1}, {R.Left, R.Top}};
  Canvas->Polyline(pts, 5);
  Canvas->Pen()->SetStyle(style);
  Canvas->Pen()->SetColor(old);
}

void forms_detail::DrawSunkenFrame(TCanvas* Canvas, int Width, int Height) {
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Pen()->SetColor(clBtnShadow);
  Canvas->MoveTo(0, Height - 1);
  Canvas->LineTo(0, 0);
  Canvas->LineTo(Width - 1, 0);
  Canvas->Pen()->SetColor(clBtnHighlight);
  Canvas->LineTo(Width - 1, Height - 1);
  Canvas->LineTo(-1, Height - 1);
  Canvas->Pen()->SetColor(cl3DDkShadow);
  Canvas->MoveTo(1, Height - 2);
  Canvas->LineTo(1, 1);
  Canvas->LineTo(Width - 2, 1);
}

void DrawListCheckBox(TCanvas* Canvas, int X, int Y, TCheckBoxState State, bool Enabled) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(State == cbGrayed || !Enabled ? clBtnFace : clWindow);
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Pen()->SetColor(clBtnShadow);
  Canvas->Rectangle(X, Y, X + kCheckSize, Y + kCheckSize);
  if (State == cbUnchecked) return;
  Canvas->Pen()->SetColor(State == cbGrayed || !Enabled ? clGrayText : clWindowText);
  // The tick: three pixels thick, from the left middle down and up to the right.
  for (int d = 0; d < 3; ++d) {
    Canvas->MoveTo(X + 3, Y + 5 + d);
    Canvas->LineTo(X + 5, Y + 7 + d);
    Canvas->LineTo(X + 10, Y + 2 + d);
  }
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TListItems, TStrings)

TListItems::TItem& TListItems::Item(int Index) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return items_[size_t(Index)];
}

const TListItems::TItem& TListItems::Item(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return items_[size_t(Index)];
}

std::string TListItems::Get(int Index) const { return Item(Index).Text; }

void TListItems::Put(int Index, const std::string& S) {
  Item(Index).Text = S;
  Changed(-1, 0);
}

TObject* TListItems::GetObject(int Index) const { return Item(Index).Object; }

void TListItems::PutObject(int Index, TObject* AObject) { Item(Index).Object = AObject; }

void TListItems::Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }

void TListItems::InsertObject(int Index, const std::string& S, TObject* AObject) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  items_.insert(items_.begin() + Index, TItem{S, AObject});
  Changed(Index, 1);
}

void TListItems::Delete(int Index) {
  Item(Index);
  items_.erase(items_.begin() + Index);
  Changed(Index, -1);
}

void TListItems::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed(-1, 0);
}

int TListItems::AddObject(const std::string& S, TObject* AObject) {
  int at = Count();
  if (sorted_)
    at = int(std::upper_bound(items_.begin(), items_.end(), S,
                              [](const std::string& s, const TItem& i) { return LessText(s, i.Text); }) -
             items_.begin());
  InsertObject(at, S, AObject);
  return at;
}

void TListItems::Exchange(int A, int B) {
  Item(A);
  Item(B);
  std::swap(items_[size_t(A)], items_[size_t(B)]);
  Changed(-1, 0);
}

void TListItems::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  TItem it = Item(CurIndex);
  Item(NewIndex);
  items_.erase(items_.begin() + CurIndex);
  items_.insert(items_.begin() + NewIndex, std::move(it));
  Changed(-1, 0);
}

void TListItems::SetSorted(bool Value) {
  if (Value == sorted_) return;
  sorted_ = Value;
  if (Value) {
    std::stable_sort(items_.begin(), items_.end(), [](const TItem& a, const TItem& b) { return LessText(a.Text, b.Text); });
    Changed(-1, 0);
  }
}

// ---------------------------------------------------------------------------
// A vertical scroll bar on the right edge of a control that paints itself; it shows
// only while the rows do not all fit.
struct TCustomListBox::Bars {
  QScrollBar* Vert = nullptr;
};

IMPLEMENT_CLASS_PROPS(TCustomListBox, TCustomControl)

void TCustomListBox::DefineProperties(TPropertyTable& t) {
  t.Object("Items", &TCustomListBox::Items);
  t.Enum("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle, {"lbStandard", "lbOwnerDrawFixed"}).Default(0LL);
  t.Int("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight).Default(16LL);
  t.Bool("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted).Default(false);
  t.Bool("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect).Default(false);
  t.Bool("ExtendedSelect", &TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect).Default(true);
  t.Event("OnDrawItem", &TCustomListBox::OnDrawItem);
}

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TCustomControl(AOwner), items_(std::make_unique<TListItems>()), bars_(std::make_unique<Bars>()) {
  SetBounds(0, 0, 121, 97);
  MakeFocusable(this);
  items_->OnChanged = [this](int i, int d) { ItemsChanged(i, d); };
  bars_->Vert = AddScrollBar(this, Qt::Vertical, [this](int v) { SetTopIndex(v); });
}

TCustomListBox::~TCustomListBox() { items_->OnChanged = nullptr; }

void TCustomListBox::ItemsChanged(int Index, int Delta) {
  itemIndex_ = ShiftedIndex(itemIndex_, Index, Delta);
  anchor_ = ShiftedIndex(anchor_, Index, Delta);
  if (itemIndex_ >= Count()) itemIndex_ = -1;
  if (Index < 0 && Delta == 0 && Count() == 0) itemIndex_ = anchor_ = -1;
  SetTopIndex(topIndex_);
  UpdateScrollBar();
  Invalidate();
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (Value == style_) return;
  style_ = Value;
  Invalidate();
}

void TCustomListBox::SetItemHeight(int Value) {
  if (Value < 1 || Value == itemHeight_) return;
  itemHeight_ = Value;
  UpdateScrollBar();
  Invalidate();
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (Value == multiSelect_) return;
  multiSelect_ = Value;
  if (!Value) {
    for (int i = 0; i < Count(); ++i) items_->Item(i).Selected = i == itemIndex_;
  }
  Invalidate();
}

int TCustomListBox::ItemIndex() const { return itemIndex_ >= 0 && itemIndex_ < Count() ? itemIndex_ : -1; }

void TCustomListBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= Count()) ListIndexError(Value);
  itemIndex_ = Value;
  anchor_ = Value;
  if (!multiSelect_)
    for (int i = 0; i < Count(); ++i) items_->Item(i).Selected = i == Value;
  if (Value >= 0) MakeVisible(Value);
  Invalidate();
}

bool TCustomListBox::Selected(int Index) const {
  if (Index < 0 || Index >= Count()) return false;
  return items_->Item(Index).Selected;
}

void TCustomListBox::SetSelected(int Index, bool Value) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  if (!multiSelect_) {
    if (Value) SetItemIndex(Index);
    else if (Index == itemIndex_) SetItemIndex(-1);
    return;
  }
  items_->Item(Index).Selected = Value;
  Invalidate();
}

int TCustomListBox::SelCount() const {
  if (!multiSelect_) return -1;
  int n = 0;
  for (int i = 0; i < Count(); ++i) n += items_->Item(i).Selected ? 1 : 0;
  return n;
}

void TCustomListBox::ClearSelection() {
  for (int i = 0; i < Count(); ++i) items_->Item(i).Selected = false;
  if (!multiSelect_) itemIndex_ = -1;
  Invalidate();
}

void TCustomListBox::SelectAll() {
  if (!multiSelect_) return;
  for (int i = 0; i < Count(); ++i) items_->Item(i).Selected = true;
  Invalidate();
}

int TCustomListBox::VisibleRows() const { return std::max(1, (Height() - 2 * kBorder) / itemHeight_); }

void TCustomListBox::SetTopIndex(int Value) {
  if (!bars_ || !bars_->Vert) return;
  int v = std::clamp(Value, 0, std::max(0, Count() - VisibleRows()));
  if (v == topIndex_) return;
  topIndex_ = v;
  {
    QSignalBlocker block(bars_->Vert);
    bars_->Vert->setValue(v);
  }
  Invalidate();
}

void TCustomListBox::MakeVisible(int Index) {
  if (Index < topIndex_) SetTopIndex(Index);
  else if (Index >= topIndex_ + VisibleRows()) SetTopIndex(Index - VisibleRows() + 1);
}

void TCustomListBox::UpdateScrollBar() {
  if (!bars_ || !bars_->Vert) return;
  QScrollBar* sb = bars_->Vert;
  bool need = Count() > VisibleRows();
  QSignalBlocker block(sb);
  sb->setRange(0, std::max(0, Count() - VisibleRows()));
  sb->setPageStep(VisibleRows());
  sb->setValue(topIndex_);
  sb->setGeometry(Width() - kBorder - 16, kBorder, 16, std::max(0, Height() - 2 * kBorder));
  sb->setVisible(need);
}

void TCustomListBox::Resize() {
  SetTopIndex(topIndex_);
  UpdateScrollBar();
  TCustomControl::Resize();
}

TRect TCustomListBox::ItemRect(int Index) const {
  int right = Width() - kBorder - (Count() > VisibleRows() ? 16 : 0);
  int top = kBorder + (Index - topIndex_) * itemHeight_;
  return Rect(kBorder, top, right, top + itemHeight_);
}

int TCustomListBox::ItemAtPos(const TPoint& P, bool Existing) const {
  TRect r = ItemRect(topIndex_);
  if (P.X < r.Left || P.X >= r.Right || P.Y < kBorder || P.Y >= Height() - kBorder) return -1;
  int i = topIndex_ + (P.Y - kBorder) / itemHeight_;
  if (i < Count()) return i;
  return Existing ? -1 : Count();
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  TCanvas* c = Canvas();
  TDrawItemEvent* ev = drawEvent_ ? drawEvent_ : &OnDrawItem;
  if (style_ == lbOwnerDrawFixed && *ev) {
    TWinControl* who = drawControl_ ? drawControl_ : this;
    auto* combo = dynamic_cast<TCustomComboBox*>(drawControl_);
    if (combo) combo->canvasOverride_ = c;
    try {
      (*ev)(who, Index, Rect, State);
    } catch (...) {
      if (combo) combo->canvasOverride_ = nullptr;
      throw;
    }
    if (combo) combo->canvasOverride_ = nullptr;
    return;
  }
  c->FillRect(Rect);
  c->SetBkMode(TRANSPARENT);
  c->TextOut(Rect.Left + 2, Rect.Top + (Rect.Height() - c->TextHeight("Wg")) / 2, items_->Get(Index));
}

void TCustomListBox::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(Rect(0, 0, Width(), Height()));
  const bool focused = Focused();
  c->PushClipRect(Rect(kBorder, kBorder, Width() - kBorder, Height() - kBorder));
  for (int i = topIndex_; i < Count() && ItemRect(i).Top < Height() - kBorder; ++i) {
    TRect r = ItemRect(i);
    r.Left += ItemIndent();
    TOwnerDrawState st = 0;
    if (items_->Item(i).Selected) st |= odSelected;
    if (focused && i == itemIndex_) st |= odFocused;
    if (!Enabled()) st |= odDisabled;
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor((st & odSelected) ? clHighlight : Color());
    if (st & odSelected) c->Font()->SetColor(clHighlightText);
    else if (st & odDisabled) c->Font()->SetColor(clGrayText);
    c->Pen()->SetMode(pmCopy);
    DrawItem(i, r, st);
    if (st & odFocused) DrawFocusRectangle(c, r);
  }
  c->PopClip();
  DrawSunkenFrame(c, Width(), Height());
}

void TCustomListBox::UserSelect(int Index, TShiftState Shift) {
  if (Index < 0 || Index >= Count()) return;
  if (!multiSelect_) {
    bool changed = Index != itemIndex_;
    SetItemIndex(Index);
    userChanged_ = userChanged_ || changed;
    return;
  }
  if ((Shift & ssShift) && anchor_ >= 0) {
    int a = std::min(anchor_, Index), b = std::max(anchor_, Index);
    if (!(Shift & ssCtrl))
      for (int i = 0; i < Count(); ++i) items_->Item(i).Selected = false;
    for (int i = a; i <= b; ++i) items_->Item(i).Selected = true;
  } else if ((Shift & ssCtrl) || !extendedSelect_) {
    items_->Item(Index).Selected = !items_->Item(Index).Selected;
    anchor_ = Index;
  } else {
    for (int i = 0; i < Count(); ++i) items_->Item(i).Selected = i == Index;
    anchor_ = Index;
  }
  itemIndex_ = Index;
  MakeVisible(Index);
  userChanged_ = true;
  Invalidate();
}

void TCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    int i = ItemAtPos({X, Y}, true);
    // A double click's second press selects nothing: OnDblClick already fired.
    if (!(Shift & ssDouble) && i >= 0) {
      UserSelect(i, Shift);
      ItemClicked(i, X - ItemRect(i).Left);
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListBox::MouseMove(TShiftState Shift, int X, int Y) {
  // Dragging with the button down moves the current item along (single select).
  if ((Shift & ssLeft) && !multiSelect_ && !Dragging()) {
    int i = ItemAtPos({X, Y}, true);
    if (i >= 0 && i != itemIndex_) UserSelect(i, 0);
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomListBox::Click() {
  // Only a change of selection by the user counts as a click.
  if (!userChanged_) return;
  userChanged_ = false;
  TCustomControl::Click();
}

void TCustomListBox::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (!Key || Count() == 0) return;
  int cur = ItemIndex();
  int to = cur;
  switch (Key) {
    case VK_UP: to = std::max(0, cur - 1); break;
    case VK_DOWN: to = std::min(Count() - 1, cur + 1); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = Count() - 1; break;
    case VK_PRIOR: to = std::max(0, cur - VisibleRows() + 1); break;
    case VK_NEXT: to = std::min(Count() - 1, std::max(0, cur) + VisibleRows() - 1); break;
    case VK_SPACE:
      if (cur >= 0) {
        ToggleCurrent();
        if (multiSelect_) {
          items_->Item(cur).Selected = !items_->Item(cur).Selected;
          userChanged_ = true;
          Invalidate();
        }
      }
      Key = 0;
      if (userChanged_) Click();
      return;
    default: return;
  }
  Key = 0;
  if (to == cur && !(multiSelect_ && !(Shift & ssShift))) return;
  UserSelect(to, multiSelect_ ? (Shift & ssShift) : 0);
  if (multiSelect_ && !(Shift & ssShift) && extendedSelect_) {
    for (int i = 0; i < Count(); ++i) items_->Item(i).Selected = i == to;
    anchor_ = to;
  }
  Click();
}

void TCustomListBox::DoEnter() {
  Invalidate();
  TCustomControl::DoEnter();
}

void TCustomListBox::DoExit() {
  Invalidate();
  TCustomControl::DoExit();
}

IMPLEMENT_CLASS(TListBox, TCustomListBox)

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TCheckListBox, TCustomListBox)

void TCheckListBox::DefineProperties(TPropertyTable& t) {
  t.Bool("AllowGrayed", &TCheckListBox::AllowGrayed, &TCheckListBox::SetAllowGrayed).Default(false);
  t.Event("OnClickCheck", &TCheckListBox::OnClickCheck);
}

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

int TCheckListBox::ItemIndent() const { return kCheckSize + 4; }

bool TCheckListBox::Checked(int Index) const { return State(Index) == cbChecked; }

void TCheckListBox::SetChecked(int Index, bool Value) { SetState(Index, Value ? cbChecked : cbUnchecked); }

TCheckBoxState TCheckListBox::State(int Index) const {
  if (Index < 0 || Index >= Count()) return cbUnchecked;
  return ListItems()->Item(Index).State;
}

void TCheckListBox::SetState(int Index, TCheckBoxState Value) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  if (ListItems()->Item(Index).State == Value) return;
  ListItems()->Item(Index).State = Value;
  Invalidate();
}

void TCheckListBox::Toggle(int Index) {
  TCheckBoxState s = State(Index);
  TCheckBoxState n = s == cbUnchecked ? cbChecked : s == cbChecked && allowGrayed_ ? cbGrayed : cbUnchecked;
  SetState(Index, n);
  if (OnClickCheck) OnClickCheck(this);
}

void TCheckListBox::ItemClicked(int Index, int X) {
  if (X >= 0 && X < ItemIndent()) Toggle(Index);
}

void TCheckListBox::ToggleCurrent() { Toggle(ItemIndex()); }

void TCheckListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  TCanvas* c = Canvas();
  TColor brush = c->Brush()->Color();
  TColor font = c->Font()->Color();
  TRect box = Rect;
  box.Left -= ItemIndent();
  box.Right = Rect.Left;
  c->Brush()->SetColor(Color());
  c->FillRect(box);
  DrawListCheckBox(c, box.Left + 2, box.Top + (box.Height() - kCheckSize) / 2, this->State(Index), Enabled());
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(brush);
  c->Font()->SetColor(font);
  c->Pen()->SetColor(clWindowText);
  TCustomListBox::DrawItem(Index, Rect, State | (this->State(Index) == cbChecked ? odChecked : 0) |
                                            (this->State(Index) == cbGrayed ? odGrayed : 0));
}

// ---------------------------------------------------------------------------
// The editable text of a csDropDown combo: a line edit over the edit area.
struct TCustomComboBox::Editor {
  QLineEdit* Line = nullptr;
};

namespace {

constexpr int kButtonWidth = 17;

// Hands the key presses of a child widget to a function first (true: swallowed).
class TKeyFilter : public QObject {
public:
  TKeyFilter(QObject* Parent, std::function<bool(std::uint16_t, TShiftState)> Fn) : QObject(Parent), fn_(std::move(Fn)) {}

protected:
  bool eventFilter(QObject* Watched, QEvent* E) override {
    if (E->type() == QEvent::KeyPress) {
      auto* k = static_cast<QKeyEvent*>(E);
      if (std::uint16_t vk = VirtualKeyOf(k->key())) return fn_(vk, ShiftOf(k->modifiers(), Qt::NoButton));
    }
    return QObject::eventFilter(Watched, E);
  }

private:
  std::function<bool(std::uint16_t, TShiftState)> fn_;
};

// The drop-down: a borderless window holding a list box that draws through the
// combo's OnDrawItem and hands the user's pick back.
class TComboDropDown : public TForm {
public:
  TComboDropDown(TCustomComboBox* Combo, TListItems* Items, int ItemHeight, int Rows, bool OwnerDraw)
      : TForm(Combo) {
    SetBorderStyle(bsNone);
    List = new TListBox(this);
    List->SetItemHeight(ItemHeight);
    List->SetStyle(OwnerDraw ? lbOwnerDrawFixed : lbStandard);
    List->SetDrawTarget(Combo, &Combo->OnDrawItem);
    List->Items()->Assign(Items);
    List->SetBounds(0, 0, Combo->Width(), Rows * ItemHeight + 4);
    List->SetParent(this);
    SetBounds(0, 0, List->Width(), List->Height());
  }
  TListBox* List;
};

}  // namespace

IMPLEMENT_CLASS_PROPS(TCustomComboBox, TCustomControl)

void TCustomComboBox::DefineProperties(TPropertyTable& t) {
  t.Object("Items", &TCustomComboBox::Items);
  t.Enum("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle,
         {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed"})
      .Default(0LL);
  t.Int("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight).Default(15LL);
  t.Bool("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted).Default(false);
  t.Int("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount).Default(8LL);
  t.Event("OnDrawItem", &TCustomComboBox::OnDrawItem);
  t.Event("OnChange", &TCustomComboBox::OnChange);
  t.Event("OnSelect", &TCustomComboBox::OnSelect);
  t.Event("OnDropDown", &TCustomComboBox::OnDropDown);
  t.Event("OnCloseUp", &TCustomComboBox::OnCloseUp);
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TCustomControl(AOwner), items_(std::make_unique<TListItems>()), editor_(std::make_unique<Editor>()) {
  SetBounds(0, 0, 145, 21);
  MakeFocusable(this);
  items_->OnChanged = [this](int i, int d) { ItemsChanged(i, d); };
  auto* line = new QLineEdit(impl_->Widget);
  line->setFrame(false);
  editor_->Line = line;
  QObject::connect(line, &QLineEdit::textEdited, impl_->Widget,
                   [this](const QString& s) { Guard(this, [&] { Typed(s.toStdString()); }); });
  // Up, Down and F4 typed in the line go to the combo's own handling.
  line->installEventFilter(new TKeyFilter(line, [this](std::uint16_t Key, TShiftState Shift) {
    if (Key != VK_UP && Key != VK_DOWN && Key != VK_F1 + 3) return false;
    std::uint16_t k = Key;
    Guard(this, [&] { KeyDown(k, Shift); });
    return k == 0;
  }));
  SetStyle(csDropDown);
  Resize();
}

TCustomComboBox::~TCustomComboBox() {
  items_->OnChanged = nullptr;
  delete dropDown_;
  dropDown_ = nullptr;
}


void TCustomComboBox::Resize() {
  if (editor_ && editor_->Line)
    editor_->Line->setGeometry(3, 3, std::max(0, Width() - kButtonWidth - 5), std::max(0, Height() - 6));
  TCustomControl::Resize();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  style_ = Value;
  const bool editable = Value == csDropDown || Value == csSimple;
  editor_->Line->setVisible(editable);
  if (editable) {
    impl_->Widget->setFocusProxy(editor_->Line);
    ShowText();
  } else {
    impl_->Widget->setFocusProxy(nullptr);
  }
  Invalidate();
}

void TCustomComboBox::SetItemHeight(int Value) {
  if (Value < 1 || Value == itemHeight_) return;
  itemHeight_ = Value;
  SetHeight(Value + 6);
}

int TCustomComboBox::ItemIndex() const { return itemIndex_ >= 0 && itemIndex_ < items_->Count() ? itemIndex_ : -1; }

void TCustomComboBox::SetItemIndex(int Value) {
  if (Value < -1 || Value >= items_->Count()) ListIndexError(Value);
  itemIndex_ = Value;
  syncing_ = true;
  SetText(Value >= 0 ? items_->Get(Value) : std::string());
  syncing_ = false;
  ShowText();
  Invalidate();
}

void TCustomComboBox::Clear() {
  items_->Clear();
  itemIndex_ = -1;
  syncing_ = true;
  SetText(std::string());
  syncing_ = false;
  ShowText();
}

void TCustomComboBox::ItemsChanged(int Index, int Delta) {
  itemIndex_ = ShiftedIndex(itemIndex_, Index, Delta);
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
  if (Index < 0 && Delta == 0 && items_->Count() == 0) itemIndex_ = -1;
  Invalidate();
}

void TCustomComboBox::TextChanged() {
  if (!syncing_) {
    // Text set by code: the item of that text becomes current, if any.
    int i = items_->IndexOf(Text());
    itemIndex_ = i;
  }
  ShowText();
  Invalidate();
}

void TCustomComboBox::ShowText() {
  QString s = QString::fromStdString(Text());
  if (editor_->Line->text() != s) editor_->Line->setText(s);
}

void TCustomComboBox::Typed(const std::string& S) {
  syncing_ = true;
  SetText(S);
  syncing_ = false;
  itemIndex_ = items_->IndexOf(S);
  Change();
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
  if (OnSelect) OnSelect(this);
  else Change();
}

void TCustomComboBox::UserChoose(int Index) {
  if (Index < 0 || Index >= items_->Count()) return;
  SetItemIndex(Index);
  if (OnClick) OnClick(this);
  Select();
}

TCustomListBox* TCustomComboBox::DropDownList() const {
  return dropDown_ ? static_cast<TComboDropDown*>(dropDown_)->List : nullptr;
}

void TCustomComboBox::SetDroppedDown(bool Value) {
  if (Value == DroppedDown()) return;
  if (!Value) {
    TForm* f = dropDown_;
    dropDown_ = nullptr;
    f->Hide();
    f->Release();
    if (OnCloseUp) OnCloseUp(this);
    return;
  }
  if (OnDropDown) OnDropDown(this);
  const int rows = std::clamp(items_->Count(), 1, dropDownCount_);
  auto* d = new TComboDropDown(this, items_.get(), itemHeight_, rows, style_ == csOwnerDrawFixed);
  dropDown_ = d;
  TPoint p = ClientToScreen({0, Height()});
  d->SetBounds(p.X, p.Y, d->Width(), d->Height());
  if (ItemIndex() >= 0) d->List->SetItemIndex(ItemIndex());
  d->List->OnClick = [this, d](TObject*) {
    int i = d->List->ItemIndex();
    SetDroppedDown(false);
    UserChoose(i);
  };
  d->List->OnKeyDown = [this, d](TObject*, std::uint16_t& Key, TShiftState) {
    if (Key == VK_ESCAPE) {
      Key = 0;
      SetDroppedDown(false);
    } else if (Key == VK_RETURN) {
      Key = 0;
      int i = d->List->ItemIndex();
      SetDroppedDown(false);
      UserChoose(i);
    }
  };
  d->Show();
  d->List->SetFocus();
}

void TCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    const bool onButton = X >= Width() - kButtonWidth - 2;
    if (onButton || (style_ != csDropDown && style_ != csSimple)) SetDroppedDown(!DroppedDown());
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomComboBox::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (!Key) return;
  if ((Key == VK_DOWN && (Shift & ssAlt)) || Key == VK_F1 + 3) {
    SetDroppedDown(!DroppedDown());
    Key = 0;
    return;
  }
  if (items_->Count() == 0) return;
  int cur = ItemIndex(), to = cur;
  switch (Key) {
    case VK_UP: to = std::max(0, cur - 1); break;
    case VK_DOWN: to = std::min(items_->Count() - 1, cur + 1); break;
    case VK_HOME: if (style_ == csDropDown) return; to = 0; break;
    case VK_END: if (style_ == csDropDown) return; to = items_->Count() - 1; break;
    default: return;
  }
  Key = 0;
  if (to != cur) UserChoose(to);
}

void TCustomComboBox::KeyPress(char& Key) {
  TCustomControl::KeyPress(Key);
  // Characters that reach the combo itself go into its editable text.
  QLineEdit* line = editor_->Line;
  if (!Key || !line->isVisible()) return;
  if (Key == '\b') line->backspace();
  else if (static_cast<unsigned char>(Key) >= 32) line->insert(QString(QChar(Key)));
  else return;
  Key = 0;
  Typed(line->text().toStdString());
}

void TCustomComboBox::DoEnter() {
  Invalidate();
  TCustomControl::DoEnter();
}

void TCustomComboBox::DoExit() {
  Invalidate();
  TCustomControl::DoExit();
}

void TCustomComboBox::Paint() {
  TCanvas* c = TCustomControl::Canvas();
  const int w = Width(), h = Height();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Enabled() ? Color() : clBtnFace);
  c->FillRect(Rect(0, 0, w, h));
  // The button with its arrow.
  TRect b = Rect(w - kButtonWidth - 2, 2, w - 2, h - 2);
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(b);
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetMode(pmCopy);
  c->Pen()->SetColor(clBtnShadow);
  c->MoveTo(b.Left, b.Bottom - 1);
  c->LineTo(b.Right - 1, b.Bottom - 1);
  c->LineTo(b.Right - 1, b.Top - 1);
  c->Brush()->SetColor(Enabled() ? clWindowText : clGrayText);
  c->Pen()->SetColor(Enabled() ? clWindowText : clGrayText);
  const int ax = (b.Left + b.Right) / 2, ay = (b.Top + b.Bottom) / 2;
  const TPoint arrow[3] = {{ax - 3, ay - 1}, {ax + 3, ay - 1}, {ax, ay + 2}};
  c->Polygon(arrow, 3);
  if (style_ == csDropDownList || style_ == csOwnerDrawFixed) {
    TRect r = Rect(3, 3, b.Left - 1, h - 3);
    const bool focused = Focused() && !DroppedDown();
    c->Font()->Assign(Font());
    // Disabled: grey text on the button face, as the box around it.
    c->Brush()->SetColor(focused ? clHighlight : Enabled() ? Color() : clBtnFace);
    if (focused) c->Font()->SetColor(clHighlightText);
    else if (!Enabled()) c->Font()->SetColor(clGrayText);
    const int i = ItemIndex();
    TOwnerDrawState st = odComboBoxEdit | (focused ? odSelected | odFocused : 0) | (Enabled() ? 0 : odDisabled);
    if (style_ == csOwnerDrawFixed && OnDrawItem) {
      if (i >= 0) OnDrawItem(this, i, r, st);
      else c->FillRect(r);
    } else {
      c->FillRect(r);
      c->SetBkMode(TRANSPARENT);
      if (i >= 0) c->TextOut(r.Left + 1, r.Top + (r.Height() - c->TextHeight("Wg")) / 2, items_->Get(i));
    }
    if (focused) DrawFocusRectangle(c, r);
  }
  DrawSunkenFrame(c, w, h);
}

IMPLEMENT_CLASS(TComboBox, TCustomComboBox)

// ---------------------------------------------------------------------------
const std::vector<TClass>& forms_detail::ListControlClasses() {
  static const std::vector<TClass> classes = {
      TListBox::StaticClass(), TCheckListBox::StaticClass(), TComboBox::StaticClass(),
      TMenuItem::StaticClass(), TPopupMenu::StaticClass(), TDrawGrid::StaticClass(),
      TStringGrid::StaticClass(), TTreeView::StaticClass()};
  return classes;
}
