// TForm: a top-level window with a persistent canvas, shown, closed or run modally.
#include <QGuiApplication>
#include <QWidget>

#include "forms_impl.h"
#include "platform/typinfo.h"

using namespace forms_detail;

IMPLEMENT_CLASS_PROPS(TForm, TWinControl)

void TForm::DefineProperties(TPropertyTable& t) {
  t.Bool("Visible", &TControl::Visible, &TControl::SetVisible).Default(false);  // a form shows when told
  t.Enum("Position", &TForm::Position, &TForm::SetPosition,
         {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter"})
      .Default(0LL);
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
}

TForm::~TForm() {
  if (QWidget* w = impl_->Widget) {
    impl_->CutTree();
    w->hide();
  }
}

TCanvas* TForm::Canvas() const { return impl_->Canvas.get(); }

void TForm::SetParent(TWinControl* AParent) {
  if (AParent) throw EInvalidOperation("A form cannot be placed in another control");
}

void TForm::SetVisible(bool Value) {
  QWidget* w = impl_->Widget;
  if (!w) {  // still being built
    TWinControl::SetVisible(Value);
    return;
  }
  if (Value == Visible() && Value == w->isVisible()) return;
  TWinControl::SetVisible(Value);
  if (Value) {
    DoShow();
    if (Screen && (position_ == poScreenCenter || position_ == poDesktopCenter))
      SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(), Height());
    int left = Left(), top = Top();
    w->show();
    // Before its first show the window's frame is unknown; Left and Top place the frame.
    if (Left() != left || Top() != top) SetBounds(left, top, Width(), Height());
    if (QGuiApplication::platformName() != "offscreen") w->raise();  // offscreen cannot, and says so
    w->activateWindow();
    if (TWinControl* f = impl_->InitialFocus) {
      impl_->InitialFocus = nullptr;
      if (f->CanFocus()) f->SetFocus();
    }
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
  if (modal_ || Visible()) throw EInvalidOperation("Cannot make a visible window modal");
  QWidget* w = impl_->Widget;
  modal_ = true;
  modalResult_ = mrNone;
  w->setWindowModality(Qt::ApplicationModal);
  struct Restore {
    TForm* f;
    ~Restore() {
      f->modal_ = false;
      f->Hide();
      f->impl_->Widget->setWindowModality(Qt::NonModal);
    }
  } restore{this};
  Show();
  for (;;) {
    Application->HandleMessage();
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
