// The controls of dialogs and editor pages: edits, memo, up-down, group boxes, radio
// group, bevel, speed button, scroll bar, tab and page controls, splitter, and the
// timer. Each states which programmatic changes fire its events, as the class
// library does.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/controls.h"

// A one-line edit. Events: OnChange fires whenever the text changes - typed or set
// by code (Text, Clear); setting the text it already has fires nothing.
class TEdit : public TWinControl {
  DECLARE_CLASS(TEdit, TWinControl)
public:
  explicit TEdit(TComponent* AOwner);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool Value);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int Value);
  void SelectAll();
  void Clear() { SetText(std::string()); }
  std::string SelText() const;
  int SelStart() const;
  int SelLength() const;

  TNotifyEvent OnChange;

  static void DefineProperties(TPropertyTable& t);

protected:
  void TextChanged() override;
  virtual void Change();

private:
  bool readOnly_ = false;
  int maxLength_ = 0;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
// How a control's bevel is drawn around it: none, as raised or lowered edges (tile,
// soft), or as a flat line in the shadow colour.
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };

// A multi-line edit whose Lines are its text. Events: OnChange fires whenever the
// text changes - typed, or set through Lines or Text.
class TMemo : public TWinControl {
  DECLARE_CLASS(TMemo, TWinControl)
public:
  explicit TMemo(TComponent* AOwner);
  ~TMemo() override;
  TStrings* Lines() const { return lines_.get(); }
  void SetLines(TStrings* Value) { lines_->Assign(Value); }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool Value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle Value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool Value);
  // The frame: bsSingle (a sunken edge) or bsNone; a bevel of a kind other than
  // bkNone with an outer cut replaces it.
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBevelKind BevelKind() const { return bevelKind_; }
  void SetBevelKind(TBevelKind Value);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel Value);
  // Tab stops in pixels from the left, ascending; past the last, or with none, a tab
  // goes on to the next multiple of the default distance.
  void SetTabStops(const std::vector<int>& Pixels);
  void SelectAll();
  void Clear() { lines_->Clear(); }
  std::string SelText() const;

  TNotifyEvent OnChange;

  static void DefineProperties(TPropertyTable& t);

protected:
  void TextChanged() override;

private:
  void LinesChanged();
  std::unique_ptr<TStringList> lines_;
  bool readOnly_ = false;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  bool syncing_ = false;
  TFormBorderStyle borderStyle_ = bsSingle;
  TBevelKind bevelKind_ = bkNone;
  TPanelBevel bevelOuter_ = bvLowered;
  void ApplyFrame();
};

enum TUDBtnType { btNext, btPrev };
enum TUDAlignButton { udLeft, udRight };
enum TUDOrientation { udHorizontal, udVertical };
using TUDClickEvent = TEvent<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;

// Two arrow buttons stepping a signed 16-bit Position between Min and Max by
// Increment (Wrap: past one end to the other), usually beside an associated edit
// whose text follows the position ("1,234" with Thousands).
//
// Reading Position reads the edit's text: a number outside the range reads as the
// nearest end of the range, a text that is not a number as the previous position.
// Events: a click on an arrow (or Up/Down in the edit) asks OnChanging, which may
// refuse, then sets the position and fires OnClick. Setting Position, Min or Max by
// code fires neither; the edit's text changes and so the edit fires its OnChange.
class TUpDown : public TWinControl {
  DECLARE_CLASS(TUpDown, TWinControl)
public:
  explicit TUpDown(TComponent* AOwner);
  ~TUpDown() override;
  int Min() const { return min_; }
  void SetMin(int Value);
  int Max() const { return max_; }
  void SetMax(int Value);
  int Position() const;
  void SetPosition(int Value);
  int Increment() const { return increment_; }
  void SetIncrement(int Value) { increment_ = Value; }
  bool Wrap() const { return wrap_; }
  void SetWrap(bool Value) { wrap_ = Value; }
  bool Thousands() const { return thousands_; }
  void SetThousands(bool Value);
  bool ArrowKeys() const { return arrowKeys_; }
  void SetArrowKeys(bool Value) { arrowKeys_ = Value; }
  TUDAlignButton AlignButton() const { return alignButton_; }
  void SetAlignButton(TUDAlignButton Value);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation Value);
  // The edit beside it: placed against it and showing the position.
  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* Value);

  // What a click on an arrow does.
  void ButtonClick(TUDBtnType Button);

  TUDClickEvent OnClick;
  TUDChangingEvent OnChanging;

  static void DefineProperties(TPropertyTable& t);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Resize() override;

private:
  void PlaceButtons();
  void UpdateAssociate();
  void PlaceBesideAssociate();
  int min_ = 0;
  int max_ = 100;
  mutable int position_ = 0;
  int increment_ = 1;
  bool wrap_ = false;
  bool thousands_ = true;
  bool arrowKeys_ = true;
  TUDAlignButton alignButton_ = udRight;
  TUDOrientation orientation_ = udVertical;
  TWinControl* associate_ = nullptr;
  struct KeyFilter;
  std::unique_ptr<KeyFilter> filter_;
};

// A frame with a caption over its children. Programmatic changes fire nothing.
class TGroupBox : public TCustomControl {
  DECLARE_CLASS(TGroupBox, TCustomControl)
public:
  explicit TGroupBox(TComponent* AOwner);
  void AdjustClientRect(TRect& Rect) const override;

  static void DefineProperties(TPropertyTable& t) { (void)t; }

protected:
  void Paint() override;
  void TextChanged() override { Invalidate(); }
};

// A group box holding one radio button per item, in Columns columns.
// Events: OnClick fires whenever ItemIndex changes to an item - the user checking
// a button, or ItemIndex set by code; setting -1 or the index it has fires nothing.
// ItemIndex is kept within the items, so it is not published (it could not be
// read back before the items exist); builder code sets it after the items.
class TRadioGroup : public TGroupBox {
  DECLARE_CLASS(TRadioGroup, TGroupBox)
public:
  explicit TRadioGroup(TComponent* AOwner);
  ~TRadioGroup() override;
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* Value) { items_->Assign(Value); }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int Value);
  int Columns() const { return columns_; }
  void SetColumns(int Value);
  // The radio button of an item (for tests and focus).
  TRadioButton* Buttons(int Index) const { return buttons_.at(size_t(Index)); }

  static void DefineProperties(TPropertyTable& t);

protected:
  void Resize() override;

private:
  void ItemsChanged();
  void ArrangeButtons();
  void ButtonClicked(TRadioButton* Button);
  std::unique_ptr<TStringList> items_;
  std::vector<TRadioButton*> buttons_;
  int itemIndex_ = -1;
  int columns_ = 1;
  bool updating_ = false;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

// A sunken or raised box, frame or line. Fires nothing.
class TBevel : public TGraphicControl {
  DECLARE_CLASS(TBevel, TGraphicControl)
public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle Value);

  static void DefineProperties(TPropertyTable& t);

protected:
  void Paint() override;

private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};

// A button drawn on its parent, with a glyph (its bottom-left pixel's colour is
// transparent; greyed when disabled). Buttons of one parent with the same
// GroupIndex (above 0) work together: a click puts one down and the others up; a
// click on the down one raises it only with AllowAllUp. GroupIndex 0: a plain button.
// Events: OnClick fires on a user click (after its Down changed) and on Click();
// setting Down fires nothing.
// Down depends on GroupIndex (a plain button never stays down), so it is not
// published; builder code sets it after the group.
class TSpeedButton : public TGraphicControl {
  DECLARE_CLASS(TSpeedButton, TGraphicControl)
public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  bool Flat() const { return flat_; }
  void SetFlat(bool Value);
  bool Down() const { return down_; }
  void SetDown(bool Value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int Value) { groupIndex_ = Value; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool Value);
  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* Value) { glyph_->Assign(Value); }
  // Images side by side in Glyph: 1 (the disabled look is derived from it) or 2
  // (the second is shown while disabled).
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int Value);
  // The left button is held down on the button.
  bool Pressed() const { return pressed_; }
  void Click() override;

  static void DefineProperties(TPropertyTable& t);

protected:
  void Paint() override;
  void TextChanged() override { Invalidate(); }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  void UpdateGroup();
  std::unique_ptr<TBitmap> glyph_;
  bool flat_ = false;
  bool down_ = false;
  bool pressed_ = false;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  int numGlyphs_ = 1;
};

enum TScrollBarKind { sbHorizontal, sbVertical };

// A scroll bar. Events: OnChange fires whenever Position changes - moved by the
// user or set by code, including a clamp after Min or Max changed.
class TScrollBar : public TWinControl {
  DECLARE_CLASS(TScrollBar, TWinControl)
public:
  explicit TScrollBar(TComponent* AOwner);
  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind Value);
  int Min() const { return min_; }
  void SetMin(int Value);
  int Max() const { return max_; }
  void SetMax(int Value);
  int Position() const { return position_; }
  void SetPosition(int Value);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int Value);
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int Value);

  TNotifyEvent OnChange;

  static void DefineProperties(TPropertyTable& t);

private:
  void SyncWidget();
  TScrollBarKind kind_ = sbHorizontal;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int smallChange_ = 1;
  int largeChange_ = 1;
};

using TTabChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;

// A row of tabs over one client area that its children share.
// Events: a tab picked by the user asks OnChanging (which may refuse), then fires
// OnChange. Setting TabIndex or Tabs by code fires nothing. TabIndex is kept within
// the tabs and so, like a radio group's ItemIndex, not published.
class TTabControl : public TWinControl {
  DECLARE_CLASS(TTabControl, TWinControl)
public:
  explicit TTabControl(TComponent* AOwner);
  ~TTabControl() override;
  TStrings* Tabs() const { return tabs_.get(); }
  void SetTabs(TStrings* Value) { tabs_->Assign(Value); }
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int Value);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool Value);
  // The client area below the tabs.
  TRect DisplayRect() const;
  void AdjustClientRect(TRect& Rect) const override { Rect = DisplayRect(); }

  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

  static void DefineProperties(TPropertyTable& t);

  struct Bar;

protected:
  void Resize() override;

private:
  void TabsChanged();
  void UserPicked(int Index);
  std::unique_ptr<TStringList> tabs_;
  int tabIndex_ = -1;
  bool hotTrack_ = false;
  bool syncing_ = false;
  Bar* bar_ = nullptr;
};

class TPageControl;

// A page of a page control: shown while it is the active page.
class TTabSheet : public TWinControl {
  DECLARE_CLASS(TTabSheet, TWinControl)
public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return pageControl_; }
  // Moves the sheet to another page control (nullptr takes it out).
  void SetPageControl(TPageControl* Value);
  void SetParent(TWinControl* AParent) override;
  // Hiding the tab of the active page makes the next page with a visible tab active.
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool Value);
  // Index among all pages of its page control (-1 without one).
  int PageIndex() const;
  // Index among the visible tabs (-1 when its tab is hidden).
  int TabIndex() const;

  static void DefineProperties(TPropertyTable& t);

protected:
  void TextChanged() override;

private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
};

// Pages behind tabs: one page (ActivePage) shows at a time.
// Events: a tab picked by the user asks OnChanging (which may refuse), then
// switches and fires OnChange. Setting ActivePage or ActivePageIndex by code, or a
// page change forced by hiding or removing the active page, fires nothing.
class TPageControl : public TWinControl {
  DECLARE_CLASS(TPageControl, TWinControl)
public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  int PageCount() const { return int(pages_.size()); }
  TTabSheet* Pages(int Index) const;
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* Page);
  int ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }
  void SetActivePageIndex(int Index);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool Value);
  TRect DisplayRect() const;
  void AdjustClientRect(TRect& Rect) const override { Rect = DisplayRect(); }
  // The next page with a visible tab after (or before) Current, wrapping round.
  TTabSheet* FindNextPage(TTabSheet* Current, bool GoForward, bool CheckTabVisible) const;

  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

  static void DefineProperties(TPropertyTable& t);

  struct Bar;

protected:
  void Resize() override;

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void UpdateTabs();
  void UserPicked(int TabIndex);
  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
  bool hotTrack_ = false;
  Bar* bar_ = nullptr;
};

// A bar between two aligned controls; dragging it resizes the control before it
// (on its side), keeping that control and the area beyond it at least MinSize.
// Events: OnMoved fires when a drag ends.
class TSplitter : public TGraphicControl {
  DECLARE_CLASS(TSplitter, TGraphicControl)
public:
  explicit TSplitter(TComponent* AOwner);
  int MinSize() const { return minSize_; }
  void SetMinSize(int Value) { minSize_ = Value < 1 ? 1 : Value; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool Value);

  TNotifyEvent OnMoved;

  static void DefineProperties(TPropertyTable& t);

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  bool Horizontal() const;
  TControl* FindControl() const;
  int OtherSideRoom() const;
  int minSize_ = 30;
  bool beveled_ = false;
  TControl* control_ = nullptr;
  int downPos_ = 0, startSize_ = 0, maxSize_ = 0;
};

// Fires OnTimer every Interval milliseconds while Enabled and the message loop
// runs - also inside nested loops (ProcessMessages, modal dialogs) - but never
// inside its own handler: a tick due while the handler runs is dropped. Freeing or
// disabling the timer in its handler stops it at once. Interval 0 stops it.
class TTimer : public TComponent {
  DECLARE_CLASS(TTimer, TComponent)
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned Value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value);

  TNotifyEvent OnTimer;

  static void DefineProperties(TPropertyTable& t);

  struct Impl;

private:
  void UpdateTimer();
  void Tick();
  unsigned interval_ = 1000;
  bool enabled_ = true;
  bool inHandler_ = false;
  std::unique_ptr<Impl> impl_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
