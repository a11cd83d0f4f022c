// List controls: the list box, the check list box and the combo box. They paint
// themselves on their canvas (owner drawing hands that canvas to OnDrawItem) and keep
// their items with an object and a per-item state each.
//
// Indexes: ItemIndex reads -1 when nothing is current (also after the item it named
// went); writing an index outside -1..Count-1 raises EListError.
// Events: a change made by the user (mouse, keys) fires OnClick (combo: OnSelect, or
// OnChange without one); setting ItemIndex, Selected, Checked or State by code fires
// nothing.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls.h"

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed };

// State of an item handed to owner drawing.
using TOwnerDrawState = unsigned;
constexpr TOwnerDrawState odSelected = 1u << 0, odGrayed = 1u << 1, odDisabled = 1u << 2, odChecked = 1u << 3,
                          odFocused = 1u << 4, odDefault = 1u << 5, odComboBoxEdit = 1u << 12;

using TDrawItemEvent = TEvent<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;

// Items of a list control: strings with objects (not owned) and each item's state,
// which moves with the item when others are inserted, deleted or sorted. Sorted keeps
// the items in case-insensitive order, an added item going to its place.
class TListItems : public TStrings {
  DECLARE_CLASS(TListItems, TStrings)
public:
  struct TItem {
    std::string Text;
    TObject* Object = nullptr;
    bool Selected = false;
    TCheckBoxState State = cbUnchecked;
  };
  TListItems() = default;
  int Count() const override { return int(items_.size()); }
  std::string Get(int Index) const override;
  void Put(int Index, const std::string& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  void Insert(int Index, const std::string& S) override;
  void InsertObject(int Index, const std::string& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  int AddObject(const std::string& S, TObject* AObject) override;
  void Exchange(int A, int B);
  // Moves the item at CurIndex (with its object and state) to NewIndex.
  void Move(int CurIndex, int NewIndex);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value);

  TItem& Item(int Index);
  const TItem& Item(int Index) const;

  // After every change; Index is where an item went in or out (-1: anything).
  std::function<void(int Index, int Delta)> OnChanged;

private:
  void Changed(int Index, int Delta) {
    if (OnChanged) OnChanged(Index, Delta);
  }
  std::vector<TItem> items_;
  bool sorted_ = false;
};

// The list box. Items are ItemHeight pixels high from the top of the client area
// inside a 2-pixel sunken border; ItemRect and ItemAtPos work in the control's own
// coordinates, the same as the mouse and the canvas.
//
// Multi-select: a plain click selects one item only (ExtendedSelect) or toggles it
// (without); Ctrl toggles, Shift selects the range from the last item clicked.
// Keys: Up, Down, Home, End, Page Up, Page Down move ItemIndex (Shift extends the
// selection); Space toggles the current item in multi-select.
class TCustomListBox : public TCustomControl {
  DECLARE_CLASS(TCustomListBox, TCustomControl)
public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* Value) { items_->Assign(Value); }
  int Count() const { return items_->Count(); }
  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle Value);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int Value);
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool Value) { items_->SetSorted(Value); }
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool Value);
  bool ExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool Value) { extendedSelect_ = Value; }

  // The current item (-1: none). In single select it is the selected item.
  int ItemIndex() const;
  void SetItemIndex(int Value);
  // Reading outside the items answers false; writing raises EListError.
  bool Selected(int Index) const;
  void SetSelected(int Index, bool Value);
  // Selected items in multi-select; -1 in single select.
  int SelCount() const;
  void ClearSelection();
  void SelectAll();
  void Clear() { items_->Clear(); }

  // The first item shown; kept so that the last page stays full.
  int TopIndex() const { return topIndex_; }
  void SetTopIndex(int Value);
  // Items that fit wholly in the client area.
  int VisibleRows() const;
  // The item at P: -1 outside the items (Existing), else Count below the last one.
  int ItemAtPos(const TPoint& P, bool Existing) const;
  // The item's row, also for items scrolled out of view.
  TRect ItemRect(int Index) const;
  // Scrolls so that the item shows.
  void MakeVisible(int Index);

  TDrawItemEvent OnDrawItem;

  static void DefineProperties(TPropertyTable& t);

  // A combo draws its drop-down items through its own OnDrawItem on this canvas.
  void SetDrawTarget(TWinControl* Control, TDrawItemEvent* Event) {
    drawControl_ = Control;
    drawEvent_ = Event;
  }

  struct Bars;

protected:
  void Paint() override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void DoEnter() override;
  void DoExit() override;
  void Click() override;
  // Draws item Index in Rect; the brush and font colours are set for the state.
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  // Where the text and owner drawing start inside an item's row.
  virtual int ItemIndent() const { return 0; }
  // A click in the row of Index at X (the check box of a check list box).
  virtual void ItemClicked(int Index, int X) { (void)Index; (void)X; }
  virtual void ToggleCurrent() {}
  TListItems* ListItems() const { return items_.get(); }
  // The user moved the current item to Index (with Shift: extend the selection).
  void UserSelect(int Index, TShiftState Shift);
  void UpdateScrollBar();

private:
  friend class TCustomComboBox;
  void ItemsChanged(int Index, int Delta);
  std::unique_ptr<TListItems> items_;
  TListBoxStyle style_ = lbStandard;
  int itemHeight_ = 16;
  bool multiSelect_ = false;
  bool extendedSelect_ = true;
  int itemIndex_ = -1;
  int anchor_ = -1;
  int topIndex_ = 0;
  bool userChanged_ = false;
  TWinControl* drawControl_ = nullptr;
  TDrawItemEvent* drawEvent_ = nullptr;
  std::unique_ptr<Bars> bars_;
};

class TListBox : public TCustomListBox {
  DECLARE_CLASS(TListBox, TCustomListBox)
public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// A list box with a check box before each item: unchecked, checked, or (with
// AllowGrayed) grey. A click on the box or Space on the current item goes unchecked
// -> checked -> grey (AllowGrayed) -> unchecked and fires OnClickCheck; setting
// Checked or State by code fires nothing. Owner drawing gets the row right of the box.
class TCheckListBox : public TCustomListBox {
  DECLARE_CLASS(TCheckListBox, TCustomListBox)
public:
  explicit TCheckListBox(TComponent* AOwner);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool Value) { allowGrayed_ = Value; }
  // Checked is true in the checked state only; setting it leaves the grey state.
  bool Checked(int Index) const;
  void SetChecked(int Index, bool Value);
  TCheckBoxState State(int Index) const;
  void SetState(int Index, TCheckBoxState Value);

  TNotifyEvent OnClickCheck;

  static void DefineProperties(TPropertyTable& t);

protected:
  int ItemIndent() const override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void ItemClicked(int Index, int X) override;
  void ToggleCurrent() override;

private:
  void Toggle(int Index);
  bool allowGrayed_ = false;
};

// Draws a 13 x 13 check box with its top-left at (X, Y).
void DrawListCheckBox(TCanvas* Canvas, int X, int Y, TCheckBoxState State, bool Enabled);

// The combo box: an edit area with a button that drops the list down.
// csDropDown: the edit area is editable (typing fires OnChange, ItemIndex follows an
// item of the same text); csDropDownList and csOwnerDrawFixed: only items can be
// chosen; csOwnerDrawFixed draws the items and the edit area (odComboBoxEdit) through
// OnDrawItem on the combo's canvas. Setting ItemHeight makes the height ItemHeight + 6.
// Events: the user choosing an item (list, Up/Down keys) fires OnClick, then OnSelect,
// or OnChange when OnSelect is not assigned. Setting ItemIndex or Text by code fires
// nothing. OnDropDown and OnCloseUp come with the list.
class TCustomComboBox : public TCustomControl {
  DECLARE_CLASS(TCustomComboBox, TCustomControl)
public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* Value) { items_->Assign(Value); }
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle Value);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int Value);
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool Value) { items_->SetSorted(Value); }
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int Value) { dropDownCount_ = Value < 1 ? 1 : Value; }
  int ItemIndex() const;
  void SetItemIndex(int Value);
  void Clear();
  bool DroppedDown() const { return dropDown_ != nullptr; }
  void SetDroppedDown(bool Value);
  // The drop-down list while it is shown (nullptr otherwise).
  TCustomListBox* DropDownList() const;

  TDrawItemEvent OnDrawItem;
  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

  static void DefineProperties(TPropertyTable& t);

  TCanvas* Canvas() const { return canvasOverride_ ? canvasOverride_ : TCustomControl::Canvas(); }

  struct Editor;

protected:
  void Paint() override;
  void Resize() override;
  void TextChanged() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void DoEnter() override;
  void DoExit() override;
  virtual void Change();
  virtual void Select();

private:
  friend class TCustomListBox;
  void ItemsChanged(int Index, int Delta);
  void UserChoose(int Index);
  void ShowText();
  void Typed(const std::string& Text);
  std::unique_ptr<TListItems> items_;
  TComboBoxStyle style_ = csDropDown;
  int itemHeight_ = 15;
  int dropDownCount_ = 8;
  int itemIndex_ = -1;
  bool syncing_ = false;
  TForm* dropDown_ = nullptr;
  TCanvas* canvasOverride_ = nullptr;
  std::unique_ptr<Editor> editor_;
};

class TComboBox : public TCustomComboBox {
  DECLARE_CLASS(TComboBox, TCustomComboBox)
public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

namespace forms_detail {
// The list, grid, tree and menu classes the forms unit registers.
const std::vector<TClass>& ListControlClasses();
}  // namespace forms_detail
