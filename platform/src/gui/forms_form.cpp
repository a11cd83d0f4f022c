// TForm: a top-level window with a persistent canvas, shown, closed or run modally.
#include <QGuiApplication>
#include <QWidget>

#include <algorithm>

#include "forms_impl.h"
#include "platform/controls.h"
#include "platform/stdctrls.h"
#include "platform/typinfo.h"

using namespace forms_detail;

IMPLEMENT_CLASS_PROPS(TForm, TWinControl)

void TForm::DefineProperties(TPropertyTable& t) {
  t.Bool("Visible", &TControl::Visible, &TControl::SetVisible).Default(false);  // a form shows when told
  t.Enum("Position", &TForm::Position, &TForm::SetPosition,
         {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
          "poMainFormCenter", "poOwnerFormCenter"})
      .Default(0LL);
  t.Enum("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle,
         {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"})
      .Default(2LL);
  t.Set("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons, {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"})
      .Default((long long)(biSystemMenu | biMinimize | biMaximize));
  t.Bool("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview).Default(false);
  t.Int("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch).Default(96LL);
  t.Int("HelpContext", &TForm::HelpContext, &TForm::SetHelpContext).Default(0LL);
  t.Event("OnCreate", &TForm::OnCreate);
  t.Event("OnDestroy", &TForm::OnDestroy);
  t.Event("OnShow", &TForm::OnShow);
  t.Event("OnHide", &TForm::OnHide);
  t.Event("OnPaint", &TForm::OnPaint);
  t.Event("OnClose", &TForm::OnClose);
  t.Event("OnCloseQuery", &TForm::OnCloseQuery);
}

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
  SetVisible(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  impl_->TopLevel = true;
  QWidget* w = MakeWidget<QWidget>(this);
  impl_->ApplyText = [this, w] { w->setWindowTitle(QString::fromStdString(Caption())); };
  impl_->ApplyText();
  impl_->EnableCanvas(false);
  ApplyWindowFlags();
}

TForm::~TForm() {
  *alive_ = false;
  if (OnDestroy) Guard(this, [this] { OnDestroy(this); });
  if (QWidget* w = impl_->Widget) {
    impl_->CutTree();
    w->hide();
  }
}

TCanvas* TForm::Canvas() const { return impl_->Canvas.get(); }

void TForm::AfterConstruction() {
  if (created_) return;
  created_ = true;
  if (OnCreate) OnCreate(this);
}

void TForm::SetParent(TWinControl* AParent) {
  if (AParent == Parent()) return;
  if (modal_) throw EInvalidOperation("Cannot change the parent of a modal form");
  QWidget* w = impl_->Widget;
  const bool wasVisible = Visible();
  if (AParent && !Parent() && w->isVisible()) w->hide();
  impl_->TopLevel = AParent == nullptr;
  TWinControl::SetParent(AParent);
  if (!AParent) {
    ApplyWindowFlags();
    impl_->ApplyGeometry();
    TWinControl::SetVisible(false);
    if (wasVisible) SetVisible(true);
  }
  AfterConstruction();
}

void TForm::SetBorderStyle(TFormBorderStyle Value) {
  if (Value == borderStyle_) return;
  borderStyle_ = Value;
  ApplyWindowFlags();
}

void TForm::SetBorderIcons(TBorderIcons Value) {
  if (Value == borderIcons_) return;
  borderIcons_ = Value;
  ApplyWindowFlags();
}

void TForm::ApplyWindowFlags() {
  QWidget* w = impl_->Widget;
  if (!w || !impl_->TopLevel) return;
  Qt::WindowFlags f = Qt::Window;
  switch (borderStyle_) {
    case bsNone: f |= Qt::FramelessWindowHint; break;
    case bsDialog: f = Qt::Dialog; break;
    case bsToolWindow:
    case bsSizeToolWin: f = Qt::Tool; break;
    default: break;
  }
  if (borderStyle_ != bsNone) {
    f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (borderIcons_ & biSystemMenu) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    // Dialog borders have no minimise or maximise box, whatever the icons say.
    if (borderStyle_ == bsSingle || borderStyle_ == bsSizeable) {
      if (borderIcons_ & biMinimize) f |= Qt::WindowMinimizeButtonHint;
      if (borderIcons_ & biMaximize) f |= Qt::WindowMaximizeButtonHint;
    }
  }
  if (w->windowFlags() == f) return;
  const bool shown = w->isVisible();
  w->setWindowFlags(f);  // hides the window
  impl_->ApplyGeometry();
  if (shown) w->show();
}

void TForm::MakeFullyVisible() {
  if (Parent() || !Screen) return;
  const TRect area = Screen->WorkAreaRect();
  int left = std::max(area.Left, std::min(Left(), area.Right - Width()));
  int top = std::max(area.Top, std::min(Top(), area.Bottom - Height()));
  SetBounds(left, top, Width(), Height());
}

void TForm::PlaceOnShow() {
  if (!Screen) return;
  auto centreOn = [this](const TRect& r) {
    SetBounds(r.Left + (r.Width() - Width()) / 2, r.Top + (r.Height() - Height()) / 2, Width(), Height());
  };
  TForm* over = nullptr;
  if (position_ == poOwnerFormCenter) {
    TComponent* o = Owner();
    auto* ctl = dynamic_cast<TControl*>(o);
    over = ctl ? GetParentForm(ctl) : nullptr;
    if (!over) over = dynamic_cast<TForm*>(ctl);
  } else if (position_ == poMainFormCenter && Application) {
    over = Application->MainForm();
  }
  if (over == this) over = nullptr;
  if (over && over->Parent()) over = GetParentForm(over);
  if (over && over->Showing()) centreOn(over->BoundsRect());
  else if (position_ == poScreenCenter || position_ == poDesktopCenter || position_ == poOwnerFormCenter ||
           position_ == poMainFormCenter)
    centreOn(Rect(0, 0, Screen->Width(), Screen->Height()));
}

void TForm::SetVisible(bool Value) {
  QWidget* w = impl_->Widget;
  if (!w) {  // still being built
    TWinControl::SetVisible(Value);
    return;
  }
  if (Parent()) {
    // Embedded: shown and hidden with the parent.
    if (Value == Visible()) return;
    if (Value) AfterConstruction();
    TWinControl::SetVisible(Value);
    if (Value) DoShow();
    else DoHide();
    return;
  }
  if (Value == Visible() && Value == w->isVisible()) return;
  TWinControl::SetVisible(Value);
  if (Value) {
    AfterConstruction();
    DoShow();
    PlaceOnShow();
    int left = Left(), top = Top();
    w->show();
    // Before its first show the window's frame is unknown; Left and Top place the frame.
    if (Left() != left || Top() != top) SetBounds(left, top, Width(), Height());
    if (QGuiApplication::platformName() != "offscreen") w->raise();  // offscreen cannot, and says so
    w->activateWindow();
    // The control to focus first, or the one that had the focus when it was hidden.
    TWinControl* f = impl_->InitialFocus ? impl_->InitialFocus : activeControl_;
    impl_->InitialFocus = nullptr;
    if (f && f->CanFocus()) f->SetFocus();
  } else {
    DoHide();
    w->hide();
  }
}

void TForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TForm::Paint() {
  if (OnPaint) OnPaint(this);
}

TWinControl* TForm::ActiveControl() const {
  return activeControl_ ? activeControl_ : impl_->InitialFocus;
}

void TForm::SetActiveControl(TWinControl* Control) {
  if (Control && Control->CanFocus()) Control->SetFocus();
  else impl_->InitialFocus = Control;
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: impl_->Widget->showMinimized(); break;
    case caFree: Release(); break;
    default: break;
  }
}

void TForm::Release() {
  // The widget's liveness tells whether the form is still there when the call runs.
  QPointer<QWidget> w = impl_->Widget;
  PostToLoop([w] {
    if (TControl* c = w ? ControlOf(w) : nullptr) delete c;
  });
}

TModalResult TForm::ShowModal() {
  if (modal_ || Visible() || Parent()) throw EInvalidOperation("Cannot make a visible window modal");
  QWidget* w = impl_->Widget;
  modal_ = true;
  modalResult_ = mrNone;
  w->setWindowModality(Qt::ApplicationModal);
  std::shared_ptr<bool> alive = alive_;
  struct Restore {
    TForm* f;
    std::shared_ptr<bool> alive;
    ~Restore() {
      if (!*alive) return;
      f->modal_ = false;
      f->Hide();
      f->impl_->Widget->setWindowModality(Qt::NonModal);
    }
  } restore{this, alive};
  Show();
  struct Watch {
    TForm* f;
    ~Watch() {
      if (TModalWatcher* w = ModalWatcher()) w->Ended(f);
    }
  } watch{this};
  if (TModalWatcher* w = ModalWatcher()) w->Started(this);
  for (int pass = 1;; ++pass) {
    Application->HandleMessage();
    if (!*alive) return mrCancel;  // freed meanwhile
    if (TModalWatcher* w = ModalWatcher()) {
      w->Pass(this, pass);
      if (!*alive) return mrCancel;
    }
    if (Application->Terminated()) {
      modalResult_ = mrCancel;
      break;
    }
    if (modalResult_ == mrNone) continue;
    // Closing as a close would: the form may refuse (caNone keeps it open).
    TCloseAction action = caNone;
    if (CloseQuery()) {
      action = caHide;
      if (OnClose) OnClose(this, action);
    }
    if (!*alive) return mrCancel;
    if (action == caFree) Release();
    if (action == caNone) modalResult_ = mrNone;
    else break;
  }
  return modalResult_;
}

TForm* GetParentForm(const TControl* Control) {
  while (Control && Control->Parent()) Control = Control->Parent();
  return dynamic_cast<TForm*>(const_cast<TControl*>(Control));
}

// ---------------------------------------------------------------------------
namespace {

// The window-level form a control is on (the outer one for an embedded form).
TForm* WindowFormOf(TWinControl* Win) { return GetParentForm(Win); }

template <class Pred>
TControl* FindInTree(TWinControl* Root, Pred&& P) {
  for (int i = 0; i < Root->ControlCount(); ++i) {
    TControl* c = Root->Controls(i);
    if (P(c)) return c;
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (TControl* found = FindInTree(w, P)) return found;
  }
  return nullptr;
}

// The letter after a single '&' in a caption (upper case), 0 when none.
char AcceleratorOf(const std::string& Caption) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i)
    if (Caption[i] == '&') {
      if (Caption[i + 1] == '&') {
        ++i;
        continue;
      }
      return char(std::toupper((unsigned char)Caption[i + 1]));
    }
  return 0;
}

}  // namespace

namespace forms_detail {

void PreviewKeyDown(TWinControl* Win, std::uint16_t& Key, TShiftState Shift) {
  TForm* f = WindowFormOf(Win);
  if (!f || f == Win || !f->KeyPreview() || !f->OnKeyDown) return;
  f->OnKeyDown(f, Key, Shift);
}

void PreviewKeyPress(TWinControl* Win, char& Key) {
  TForm* f = WindowFormOf(Win);
  if (!f || f == Win || !f->KeyPreview() || !f->OnKeyPress) return;
  f->OnKeyPress(f, Key);
}

void DialogKey(TWinControl* Win, std::uint16_t& Key, TShiftState Shift) {
  TForm* f = WindowFormOf(Win);
  if (!f) return;
  auto usable = [](TControl* c) { return c->Showing() && c->Enabled(); };
  if ((Key == VK_RETURN || Key == VK_ESCAPE) && !(Shift & (ssAlt | ssCtrl))) {
    if (Key == VK_RETURN && dynamic_cast<TMemo*>(Win)) return;  // a memo takes its returns
    TControl* target = nullptr;
    if (Key == VK_RETURN && dynamic_cast<TButton*>(Win)) target = Win;
    else
      target = FindInTree(f, [&](TControl* c) {
        auto* b = dynamic_cast<TButton*>(c);
        return b && usable(b) && (Key == VK_RETURN ? b->Default() : b->Cancel());
      });
    if (!target) return;
    Key = 0;
    target->Click();
    return;
  }
  if ((Shift & ssAlt) && Key >= 'A' && Key <= 'Z') {
    TControl* label = FindInTree(f, [&](TControl* c) {
      auto* l = dynamic_cast<TLabel*>(c);
      return l && l->FocusControl() && usable(l) && AcceleratorOf(l->Caption()) == char(Key) &&
             l->FocusControl()->CanFocus();
    });
    if (!label) return;
    Key = 0;
    static_cast<TLabel*>(label)->FocusControl()->SetFocus();
  }
}

}  // namespace forms_detail
