// Forms and the message loop: controls, windowed controls, controls with a canvas,
// forms, the application object and the screen.
//
// A form is built by C++ code: its constructor creates each control with `new`, the
// form as owner, sets its properties in the order a form resource would, sets its
// Parent and wires its handlers by name:
//
//   TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
//     SetBounds(185, 48, 993, 633);
//     Panel1 = new TPanel(this);
//     Panel1->SetName("Panel1");
//     Panel1->SetBounds(160, 536, 513, 41);
//     Panel1->SetParent(this);
//     ExitBTn = new TBitBtn(this);
//     ...
//     ExitBTn->OnClick = HANDLER(ExitBTnClick);
//   }
//
// Painting. A control with a canvas (forms, custom controls, graphic controls) keeps
// a persistent off-screen image; its canvas draws into it at any time, and the screen
// only ever shows a copy of it. The control's own painting (Paint) is deferred and
// never nested: Invalidate marks it dirty and posts one paint request; a request made
// while the control paints waits until that paint has ended and then runs no sooner
// than one display frame (16 ms) after the previous paint began, so a control that
// invalidates itself from its own paint repaints at display rate, not in a busy loop.
//
// Exceptions never cross into Qt: every entry from Qt (input, signals, timers,
// deferred paints, posted calls) catches and hands the exception to
// Application->HandleException.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes.h"
#include "platform/graphics.h"
#include "platform/types.h"

class TWinControl;
class TForm;
class TPopupMenu;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// A set of shift keys and mouse buttons, one bit each.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1u << 0;
constexpr TShiftState ssAlt = 1u << 1;
constexpr TShiftState ssCtrl = 1u << 2;
constexpr TShiftState ssLeft = 1u << 3;
constexpr TShiftState ssRight = 1u << 4;
constexpr TShiftState ssMiddle = 1u << 5;
constexpr TShiftState ssDouble = 1u << 6;

// Virtual key codes (letters and digits are their upper-case characters).
constexpr std::uint16_t VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17,
                        VK_MENU = 18, VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34,
                        VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39,
                        VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46, VK_F1 = 112;

// Cursor numbers of the screen's cursor registry; applications add their own (>= 1).
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;
using HCURSOR = std::uintptr_t;  // 0: none

using TMouseEvent = TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = TEvent<void(TObject* Sender, std::uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, char& Key)>;

// Where a control sits in its parent's client area. The parent lays out its aligned
// children itself (see TWinControl::AlignControls); Qt's layouts are not used.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Drag and drop between the program's own controls.
enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent =
    TEvent<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = TEvent<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = TEvent<void(TObject* Sender, TObject* Target, int X, int Y)>;

// Wires a handler method of the enclosing form by name, keeping the name for streaming:
//   Button1->OnClick = HANDLER(Button1Click);
#define HANDLER(Method) {this, &std::remove_pointer_t<decltype(this)>::Method, #Method}

// ---------------------------------------------------------------------------
// Any control: position in its parent, visibility, text, colour, font, hint, mouse.
//
// Events fired by programmatic changes: SetBounds and the size setters fire OnResize
// when the size changes; nothing else here fires an event. OnClick fires on a user
// click (press and release of the left button inside the control) and on Click().
class TControl : public TComponent {
  DECLARE_CLASS(TControl, TComponent)
public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  // Moves the control into AParent (nullptr takes it out); a form cannot have a parent.
  virtual void SetParent(TWinControl* AParent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int Value) { SetBounds(Value, top_, width_, height_); }
  void SetTop(int Value) { SetBounds(left_, Value, width_, height_); }
  void SetWidth(int Value) { SetBounds(left_, top_, Value, height_); }
  void SetHeight(int Value) { SetBounds(left_, top_, width_, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  // The client area in the control's own coordinates; a control has no border.
  virtual TRect ClientRect() const { return Rect(0, 0, width_, height_); }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(int Value) { SetWidth(Value + width_ - ClientWidth()); }
  void SetClientHeight(int Value) { SetHeight(Value + height_ - ClientHeight()); }
  TPoint ClientToScreen(const TPoint& P) const;
  TPoint ScreenToClient(const TPoint& P) const;

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and so is every parent up to a shown form.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool Value);

  // Caption and Text are one string (the window text).
  const std::string& Caption() const { return text_; }
  void SetCaption(const std::string& Value) { SetText(Value); }
  const std::string& Text() const { return text_; }
  void SetText(const std::string& Value);

  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool Value);
  // The control's own font; changing it turns ParentFont off.
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* Value) { font_->Assign(Value); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool Value);

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& Value);
  // Hints show when the control's ShowHint and Application->ShowHint are both on.
  bool ShowHint() const;
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool Value);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor Value);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign Value);
  // Scales position and size by M/D, and the font unless it follows the parent's.
  virtual void ChangeScale(int M, int D);

  // Deferred painting (see the top of this file). Controls without a canvas just
  // ask Qt to redraw them.
  virtual void Invalidate();
  // Paints now when the control is dirty and not painting already.
  void Update();
  void Repaint() { Invalidate(); Update(); }
  void Refresh() { Repaint(); }
  void BringToFront();

  // Fires OnClick.
  virtual void Click();
  // Fires OnDblClick; a double click's second press comes after it as a
  // MouseDown with ssDouble.
  virtual void DblClick();
  // Whether the control holds the mouse (every mouse event comes to it, inside or
  // not); false releases it.
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);

  TNotifyEvent OnClick;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // Drag and drop inside the program (platform/src/gui/dragdrop.cpp). BeginDrag starts
  // at once (Immediate) or once the mouse has moved Threshold pixels (-1: 5) with the
  // button down. While dragging, the control under the pointer is asked by OnDragOver
  // (Accept starts true when it is assigned, else false; the cursor shows DragCursor
  // or crNoDrop); releasing the button over an accepting control fires its
  // OnDragDrop, then the source's OnEndDrag with it as target. Escape, a release over
  // a refusing control or EndDrag(false) cancel: OnEndDrag fires with no target and
  // nothing else changes. dmAutomatic starts a drag at each left press.
  TDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TDragMode Value) { dragMode_ = Value; }
  TCursor DragCursor() const { return dragCursor_; }
  void SetDragCursor(TCursor Value) { dragCursor_ = Value; }
  void BeginDrag(bool Immediate, int Threshold = -1);
  void EndDrag(bool Drop);
  bool Dragging() const;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;
  // Shown by a release of the right button over the control (when AutoPopup).
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* Value);

  static void DefineProperties(TPropertyTable& t);

  // The Qt side, defined in the GUI sources only.
  struct Impl;
  Impl* GetImpl() const { return impl_.get(); }

protected:
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  // The mouse came over the control or left it (fire OnMouseEnter, OnMouseLeave).
  virtual void MouseEnter();
  virtual void MouseLeave();
  // After a change of size (fires OnResize).
  virtual void Resize();
  // The control's own drawing onto its canvas; only for controls with a canvas.
  virtual void Paint() {}
  // After the window text changed.
  virtual void TextChanged() {}
  virtual void FontChanged();
  virtual void ColorChanged();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Drag and drop; by default they fire the events.
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void DragDrop(TObject* Source, int X, int Y);
  virtual void DoEndDrag(TObject* Target, int X, int Y);

  std::unique_ptr<Impl> impl_;

private:
  friend class TWinControl;
  void ParentFontChanged();
  void ParentColorChanged();

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string text_;
  TColor color_ = clWindow;
  bool parentColor_ = false;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  bool applyingParentFont_ = false;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TCursor cursor_ = crDefault;
  TAlign align_ = alNone;
  TDragMode dragMode_ = dmManual;
  TCursor dragCursor_ = crDrag;
  TPopupMenu* popupMenu_ = nullptr;
  friend struct DragDropAccess;
};

// ---------------------------------------------------------------------------
// A control that holds child controls and can take the keyboard focus.
//
// Tab order: each parent orders its windowed children (TabOrder 0..n-1, creation
// order unless set); the Tab key walks the form depth-first in that order, skipping
// controls that are hidden, disabled or not TabStop. OnEnter and OnExit fire when the
// focus moves between controls of one form, whatever moved it (Tab, a click, SetFocus);
// switching between windows fires nothing.
class TWinControl : public TControl {
  DECLARE_CLASS(TWinControl, TControl)
public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  int ControlCount() const { return int(controls_.size()); }
  TControl* Controls(int Index) const;
  bool ContainsControl(const TControl* Control) const;

  int TabOrder() const;
  void SetTabOrder(int Value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool Value);
  // Windowed children and their children, in tab order.
  void GetTabOrderList(std::vector<TWinControl*>& List) const;
  // The control after (or before) CurControl in this control's tab order list.
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop) const;
  void SelectFirst();
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  // Showing and enabled up to the form.
  bool CanFocus() const;
  // EInvalidOperation "Cannot focus a disabled or invisible window".
  virtual void SetFocus();
  bool Focused() const;
  // A number standing for the window, for calls that want one.
  THandle Handle() const { return THandle(this); }

  // Lays out the aligned children in the client area (AdjustClientRect): top ones
  // from the top down, then bottom ones from the bottom up, left, right, and the
  // client ones fill what is left. Among one alignment, children keep the order of
  // their position (Top for top, bottom edge for bottom, ...), creation order when
  // equal. A child never gets a negative size. Runs by itself whenever the parent
  // is resized or an aligned child changes.
  void AlignControls();
  void DisableAlign() { ++alignLock_; }
  void EnableAlign();
  // The area aligned children share, in client coordinates.
  virtual void AdjustClientRect(TRect& Rect) const { Rect = ClientRect(); }
  // Scales the control's size, its children's bounds and the fonts by M/D.
  void ScaleBy(int M, int D);
  void ChangeScale(int M, int D) override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  static void DefineProperties(TPropertyTable& t);

protected:
  virtual void DoEnter();
  virtual void DoExit();
  // Setting Key to 0 swallows the key.
  virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void KeyUp(std::uint16_t& Key, TShiftState Shift);

  // In a top-level control: the control that last took the focus (OnEnter fired).
  TWinControl* activeControl_ = nullptr;

private:
  friend class TControl;
  friend struct TControl::Impl;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);

  std::vector<TControl*> controls_;   // z-order, first created at the bottom
  std::vector<TWinControl*> tabList_;  // windowed children in tab order
  bool tabStop_ = false;
  int alignLock_ = 0;
  bool aligning_ = false;
};

// A windowed control with a canvas, drawn by Paint (for charts, panels and the like).
class TCustomControl : public TWinControl {
  DECLARE_CLASS(TCustomControl, TWinControl)
public:
  explicit TCustomControl(TComponent* AOwner);
  TCanvas* Canvas() const;
};

// A control without a window of its own, drawn by Paint on a canvas whose untouched
// pixels let the parent show through (labels, images, paint boxes).
class TGraphicControl : public TControl {
  DECLARE_CLASS(TGraphicControl, TControl)
public:
  explicit TGraphicControl(TComponent* AOwner);
  TCanvas* Canvas() const;
};

// ---------------------------------------------------------------------------
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderIcons = unsigned;
constexpr TBorderIcons biSystemMenu = 1u << 0, biMinimize = 1u << 1, biMaximize = 1u << 2, biHelp = 1u << 3;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

// A top-level window. Its canvas is a layer that keeps whatever handlers write on it
// (TextOut) until something overwrites it; Paint does not erase it. Width and Height
// are the window's client size (the window frame belongs to the desktop).
//
// Events: OnCreate fires once the form is built (AfterConstruction, which
// TApplication::CreateForm calls; otherwise on the first show or embedding);
// OnDestroy fires first thing while the form is freed, its controls still there.
// OnShow fires each time the form becomes visible (Show, ShowModal,
// SetVisible(true)), OnHide when it is hidden; Close asks OnCloseQuery, then fires
// OnClose; OnPaint fires in each deferred paint.
//
// Embedding: a form given a parent (a tab sheet, a panel) becomes a borderless child
// control of it, shown and hidden with it and freed with its owner (or its parent);
// it cannot be shown modally. Setting the parent back to none makes it a window again.
//
// KeyPreview: the form's OnKeyDown/OnKeyPress see every key before the focused
// control; setting the key to 0 swallows it. Enter clicks the visible, enabled
// Default button and Escape the Cancel button (unless the focused control takes
// those keys itself: a memo takes Enter, a focused button is clicked by it).
class TForm : public TWinControl {
  DECLARE_CLASS(TForm, TWinControl)
public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;

  // Fires OnCreate once.
  void AfterConstruction();

  TCanvas* Canvas() const;
  TPosition Position() const { return position_; }
  void SetPosition(TPosition Value) { position_ = Value; }
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons Value);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool Value) { keyPreview_ = Value; }
  // The resolution the form's sizes were made for (96 unless set).
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int Value) { if (Value > 0) pixelsPerInch_ = Value; }
  // Help is the program's help file only: contexts are kept and the help icon does nothing.
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int Value) { helpContext_ = Value; }
  void SetVisible(bool Value) override;
  void SetParent(TWinControl* AParent) override;
  // Moves the form (a window) so that it lies inside Screen->WorkAreaRect as far as
  // its size allows; the top-left corner wins when it is larger.
  void MakeFullyVisible();

  // Shows the form modally and runs messages until ModalResult is set (a button's
  // ModalResult, Close: mrCancel) or the application terminates; hides it again.
  // Freeing the form (or its owner) meanwhile ends the run with mrCancel.
  // EInvalidOperation for a visible or embedded form.
  TModalResult ShowModal();
  // True while ShowModal runs.
  bool Modal() const { return modal_; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult Value) { modalResult_ = Value; }
  // OnCloseQuery, then OnClose with caHide (the main form: terminate the application,
  // the window staying until then); caFree frees the form once control is back in the
  // message loop; caNone keeps it.
  void Close();
  bool CloseQuery();
  // Frees the form from the message loop, after the handler that asked has returned.
  void Release();

  TWinControl* ActiveControl() const;
  void SetActiveControl(TWinControl* Control);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  static void DefineProperties(TPropertyTable& t);

protected:
  void Paint() override;
  virtual void DoShow();
  virtual void DoHide();

private:
  void ApplyWindowFlags();
  void PlaceOnShow();
  TPosition position_ = poDesigned;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  bool keyPreview_ = false;
  int pixelsPerInch_ = 96;
  int helpContext_ = 0;
  bool created_ = false;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  // Cleared when the form is freed, so that a running ShowModal can tell.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The form a control sits on (nullptr when none).
TForm* GetParentForm(const TControl* Control);

// ---------------------------------------------------------------------------
using TExceptionEvent = TEvent<void(TObject* Sender, Exception* E)>;

// The application object: forms, the message loop and the handling of exceptions
// that reach it.
class TApplication : public TComponent {
  DECLARE_CLASS(TApplication, TComponent)
public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  void Initialize();
  // Creates a form of class T owned by the application into Reference; the first
  // form created this way is the main form.
  template <class T>
  void CreateForm(T*& Reference) {
    T* f = new T(this);
    Reference = f;
    if (!mainForm_) mainForm_ = f;
    f->AfterConstruction();
  }
  TForm* MainForm() const { return mainForm_; }

  // Shows the main form and runs the message loop until Terminated. Returns at once
  // without a main form.
  void Run();
  // Delivers what is pending - input, timers, paints, posted calls, synchronised
  // calls of other threads - and returns. Re-entrant: a handler it runs may call it.
  // It goes on working after Terminate (a running animation keeps its messages).
  void ProcessMessages();
  // Waits for at least one message and delivers what is pending.
  void HandleMessage();
  // Ends the top-level loop once control returns to it.
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Call inside a catch block: OnException when assigned, else ShowException. EAbort
  // is silent.
  void HandleException(TObject* Sender);
  // A message box with the message (recorded instead on the offscreen platform, see
  // platform/testing.h) and a line on standard error.
  void ShowException(Exception* E);

  std::string ExeName() const;
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& Value) { title_ = Value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool Value) { showHint_ = Value; }
  // Milliseconds the mouse rests on a control before its hint shows.
  int HintPause() const { return hintPause_; }
  void SetHintPause(int Value) { hintPause_ = Value < 0 ? 0 : Value; }
  // Milliseconds a shown hint stays before it hides by itself.
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int Value) { hintHidePause_ = Value < 0 ? 0 : Value; }
  // Background of hint windows; the text takes Screen->HintFont.
  TColor HintColor() const { return hintColor_; }
  void SetHintColor(TColor Value) { hintColor_ = Value; }
  // Shows at once the hint of the control under the screen point CursorPos, at that
  // point (nothing when the control has no hint or does not show hints).
  void ActivateHint(const TPoint& CursorPos);
  // Withdraws the hint being shown or waited for.
  void CancelHint();
  // Text of the hint being shown ("" when none).
  std::string ShownHint() const;
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool Value) { showMainForm_ = Value; }

  TExceptionEvent OnException;

  struct Impl;
  Impl* GetImpl() const { return impl_.get(); }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  std::unique_ptr<Impl> impl_;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  std::string title_;
  bool showHint_ = true;
  int hintPause_ = 500;
  int hintHidePause_ = 2500;
  TColor hintColor_ = clInfoBk;
  bool showMainForm_ = true;
};

// The screen: its size and the cursor registry.
class TScreen : public TComponent {
  DECLARE_CLASS(TScreen, TComponent)
public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;
  int Width() const;
  int Height() const;
  int PixelsPerInch() const { return 96; }
  // The whole desktop (all monitors) and the part of it that windows should use.
  TRect DesktopRect() const;
  TRect WorkAreaRect() const;
  int DesktopWidth() const { return DesktopRect().Width(); }
  int DesktopHeight() const { return DesktopRect().Height(); }
  TFont* HintFont() const { return hintFont_.get(); }
  void SetHintFont(TFont* Value) { hintFont_->Assign(Value); }
  // The cursor registered under Index; the default cursor for an unknown number.
  HCURSOR Cursors(int Index) const;
  // Registers (or replaces, freeing the old one) the cursor under Index; takes
  // ownership of the handle.
  void SetCursors(int Index, HCURSOR Handle);
  // Registers the cursor under the first free number from 1 up; answers it.
  TCursor AddCursor(HCURSOR Handle);
  // A cursor for the whole application over every control's own (crDefault: none).
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor Value);
  // The installed font families, application fonts included, sorted; read anew on
  // each call.
  TStrings* Fonts() const;

  struct Impl;

private:
  std::unique_ptr<Impl> impl_;
  mutable TStringList fonts_;
  std::unique_ptr<TFont> hintFont_;
  TCursor cursor_ = crDefault;
};

// A cursor made from a bitmap: pixels of its TransparentColor are transparent.
HCURSOR CreateBitmapCursor(TBitmap* Image, int HotX, int HotY);

// ---- Cursors and the mouse (forms_cursors.cpp) ----
// Cursor numbers of the chart library (its hand pointer is loaded at start-up).
constexpr TCursor crLumHand = 2020;
// A cursor from the bytes of a cursor (.cur) or icon file, the hot spot as the file
// gives it; 0 when the data is not a cursor.
HCURSOR CreateCursorFromData(const std::uint8_t* Data, std::size_t Size);
// Frees a cursor made by the functions above (one handed to the screen stays there).
void DestroyCursor(HCURSOR Cursor);
// The same from a named resource or from a file; 0 when missing or unreadable.
HCURSOR LoadCursorFromResourceName(const std::string& Name);
HCURSOR LoadCursorFromFile(const std::string& FileName);
// The cursor's picture at (X, Y) of the canvas, hot spot at the point (nothing for
// a cursor of the desktop's own shapes).
void DrawCursor(TCanvas* Canvas, int X, int Y, HCURSOR Cursor);
// Whether the cursor has a picture of its own (one loaded from data), and its hot spot.
bool CursorHasPicture(HCURSOR Cursor);
TPoint CursorHotSpot(HCURSOR Cursor);
// Names and numbers of the cursors ("crDefault" .. "crSizeAll", "crLumHand").
bool CursorToIdent(TCursor Cursor, std::string& Ident);
bool IdentToCursor(const std::string& Ident, TCursor& Cursor);
std::string CursorToString(TCursor Cursor);  // the name, else the number
TCursor StringToCursor(const std::string& S);  // EConvertError for neither
void GetCursorValues(const std::function<void(const std::string&)>& Proc);
// The mouse position in screen coordinates.
TPoint GetCursorPos();
// The control holding the mouse, if any; ReleaseCapture lets it go.
TControl* GetCaptureControl();
void ReleaseCapture();

extern TApplication* Application;
extern TScreen* Screen;

// The forms unit: creates the Qt application when there is none yet, Application and
// Screen, makes the calling thread the main thread and registers the control classes.
// FormsUnitDone frees the application object (and with it its forms) and the screen.
void FormsUnitInit();
void FormsUnitDone();
