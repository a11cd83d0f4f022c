#include "analysis/tools_view.h"

#include <utility>

IMPLEMENT_CLASS_PROPS(TFullScreenTool, TLumCustomTool)

TFullScreenTool::TFullScreenTool(TComponent* AOwner) : TLumCustomTool(AOwner) {
  TLumCustomTool::SetActive(false);
}

TFullScreenTool::~TFullScreenTool() {
  if (form_) Reset();
  if (closed_) DropForm(std::exchange(closed_, nullptr), true);
  if (savedParent_) savedParent_->RemoveFreeNotification(this);
}

void TFullScreenTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TFullScreenTool*>(Source)) releaseKey_ = t->releaseKey_;
  TLumCustomTool::Assign(Source);
}

void TFullScreenTool::DefineProperties(TPropertyTable& t) {
  // A new full screen tool is off.
  t.Bool("Active", &TCustomChartElement::Active, &TCustomChartElement::SetActive).Default(false);
  t.Event("OnReset", &TFullScreenTool::OnReset);
  t.Int("ReleaseKey", &TFullScreenTool::ReleaseKey, &TFullScreenTool::SetReleaseKey).Default(27LL);
}

void TFullScreenTool::SetActive(bool Value) {
  if (Value == Active()) return;
  TLumCustomTool::SetActive(Value);
  if (HasState(csDesigning) || !ParentChart()) return;
  if (Value) GoFullScreen();
  else if (form_) Reset();
}

void TFullScreenTool::SetParentChart(TCustomAxisPanel* Value) {
  // The chart that goes back is the one that went full screen.
  if (Value != ParentChart() && form_) Reset();
  TLumCustomTool::SetParentChart(Value);
}

void TFullScreenTool::Notification(TComponent* AComponent, TOperation Operation) {
  TLumCustomTool::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == savedParent_) savedParent_ = nullptr;
}

void TFullScreenTool::GoFullScreen() {
  TCustomAxisPanel* c = ParentChart();
  // A window the user closed earlier is not reused.
  if (closed_) DropForm(std::exchange(closed_, nullptr), true);
  if (savedParent_) savedParent_->RemoveFreeNotification(this);
  savedParent_ = c->Parent();
  if (savedParent_) savedParent_->FreeNotification(this);
  form_ = new TForm(nullptr);
  form_->SetBorderStyle(bsNone);
  form_->SetKeyPreview(true);
  const TRect desk = Screen->DesktopRect();
  form_->SetBounds(desk.Left, desk.Top, desk.Width(), desk.Height());
  savedAlign_ = c->Align();
  c->SetAlign(alNone);
  savedBounds_ = c->BoundsRect();
  c->SetParent(form_);
  c->SetBounds(desk.Left, desk.Top, desk.Width(), desk.Height());
  // The handlers see whether the tool still lives: a window left to the loop may
  // outlast it.
  auto alive = life_.Watch();
  form_->OnKeyDown = [this, alive](TObject* Sender, std::uint16_t& Key, TShiftState Shift) {
    if (*alive) FormKeyDown(Sender, Key, Shift);
  };
  form_->OnClose = [this, alive](TObject* Sender, TCloseAction& Action) {
    if (*alive) FormClose(Sender, Action);
  };
  form_->OnDestroy = [this, alive](TObject* Sender) {
    if (*alive) FormDestroy(Sender);
  };
  form_->Show();
}

void TFullScreenTool::Reset() {
  TForm* f = std::exchange(form_, nullptr);
  TCustomAxisPanel* c = ParentChart();
  if (c && !c->Destroying() && c->Parent() == f) {
    // A parent on its way out takes no children.
    TWinControl* p = savedParent_ && !savedParent_->HasState(csDestroying) ? savedParent_ : nullptr;
    c->SetParent(p);
    c->SetBounds(savedBounds_.Left, savedBounds_.Top, savedBounds_.Width(), savedBounds_.Height());
    c->SetAlign(savedAlign_);
  }
  if (savedParent_) savedParent_->RemoveFreeNotification(this);
  savedParent_ = nullptr;
  if (f) {
    if (freeOnReset_) DropForm(f, true);
    else {
      DropForm(f, false);
      closed_ = f;
    }
  }
  if (Active()) TLumCustomTool::SetActive(false);
  FireEvent(OnReset, this);
}

void TFullScreenTool::DropForm(TForm* F, bool FreeIt) {
  // A running handler is not cleared under its own feet.
  if (inHandler_ == 0) {
    F->OnKeyDown = {};
    F->OnClose = {};
  }
  F->OnDestroy = {};
  if (!FreeIt) return;
  TCustomAxisPanel* c = ParentChart();
  // A chart being freed is still the window's child: leave the window to the loop,
  // by when the chart has left it.
  const bool chartOnIt = c && c->Parent() == F;
  if (inHandler_ > 0 || chartOnIt) {
    F->Hide();
    F->Release();
  } else {
    delete F;
  }
}

void TFullScreenTool::FormKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState) {
  if (Key != releaseKey_ || !Active() || Sender != form_) return;
  ++inHandler_;
  auto alive = life_.Watch();
  SetActive(false);
  if (*alive) --inHandler_;
  Key = 0;
}

void TFullScreenTool::FormClose(TObject* Sender, TCloseAction& Action) {
  // Hidden, not freed: the window lives until the next activation or the tool goes.
  Action = caHide;
  if (Sender != form_) return;
  ++inHandler_;
  auto alive = life_.Watch();
  freeOnReset_ = false;
  SetActive(false);
  if (!*alive) return;
  freeOnReset_ = true;
  --inHandler_;
}

void TFullScreenTool::FormDestroy(TObject* Sender) {
  // Freed by someone else: take the chart back before the window frees its children.
  if (Sender != form_) return;
  freeOnReset_ = false;
  Reset();
  closed_ = nullptr;
  freeOnReset_ = true;
}
