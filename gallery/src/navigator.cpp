// The navigator bar, its buttons and the chart grid's navigator.
#include "gallery/navigator.h"

#include "canvas/lumconst.h"
#include "engine/panel.h"
#include "gallery/chartgrid.h"
#include "gallery/editortools.h"
#include "platform/graphics.h"
#include "platform/typinfo.h"

namespace {
const char* const ButtonNames[LumNavButtonCount] = {"First", "Prior", "Next", "Last", "Insert",
                                                    "Delete", "Edit", "Post", "Cancel"};
constexpr unsigned InitRepeatPause = 400, RepeatPause = 100;
}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TLumNavButton, TSpeedButton)

TLumNavButton::TLumNavButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

TCustomLumNavigator* TLumNavButton::Bar() const { return dynamic_cast<TCustomLumNavigator*>(Parent()); }

void TLumNavButton::SetEnabled(bool Value) {
  if (!Value && timer_) timer_->SetEnabled(false);
  TSpeedButton::SetEnabled(Value);
}

void TLumNavButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (TCustomLumNavigator* bar = Bar()) bar->ButtonMouseDown(this);
  SetMouseCapture(true);
  if (!timer_) {
    timer_ = new TTimer(this);
    timer_->SetEnabled(false);
    timer_->OnTimer = [this](TObject* S) { TimerTick(S); };
  }
  timer_->SetInterval(InitRepeatPause);
  timer_->SetEnabled(true);
}

void TLumNavButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (timer_) timer_->SetEnabled(false);
  TSpeedButton::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) SetMouseCapture(false);
}

void TLumNavButton::TimerTick(TObject*) {
  timer_->SetInterval(RepeatPause);
  if (Pressed() && MouseCapture()) {
    try {
      Click();
    } catch (...) {
      timer_->SetEnabled(false);
      throw;
    }
  }
}

void TLumNavButton::Paint() {
  TSpeedButton::Paint();
  TCustomLumNavigator* bar = Bar();
  if (!bar || !bar->Focused() || bar->FocusedButton() != index_) return;
  TRect r = Rect(3, 3, Width() - 3, Height() - 3);
  if (Pressed()) {
    r.Left += 1;
    r.Top += 1;
    r.Right += 1;
    r.Bottom += 1;
  }
  ::DrawFocusRect(Canvas(), r);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TCustomLumNavigator, TPanel)

void TCustomLumNavigator::DefineProperties(TPropertyTable& t) {
  t.Enum("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter, {"bvNone", "bvLowered", "bvRaised", "bvSpace"})
      .Default(0LL);
  t.Enum("Alignment", &TPanel::Alignment, &TPanel::SetAlignment, {"taLeftJustify", "taRightJustify", "taCenter"})
      .Default(0LL);
  t.Object("Hints", &TCustomLumNavigator::Hints);
  t.Event("OnButtonClicked", &TCustomLumNavigator::OnButtonClicked);
}

TCustomLumNavigator::TCustomLumNavigator(TComponent* AOwner)
    : TPanel(AOwner), hints_(std::make_unique<TStringList>()), defaultHints_(std::make_unique<TStringList>()) {
  SetCaption("");
  SetBevelOuter(bvNone);
  SetBevelInner(bvNone);
  SetAlignment(taLeftJustify);
  SetTabStop(true);
  CreateButtons();
  hints_->OnChange = [this](TObject*) { InitHints(); };
  InitHints();
  SetBounds(0, 0, 241, 25);
  Layout();
}

TCustomLumNavigator::~TCustomLumNavigator() {
  hints_->OnChange.Clear();
  SetPanel(nullptr);
}

TStrings* TCustomLumNavigator::Hints() const { return hints_.get(); }
void TCustomLumNavigator::SetHints(TStrings* Value) { hints_->Assign(Value); }

void TCustomLumNavigator::CreateButtons() {
  EnsureGalleryResources();
  int x = 0;
  for (int i = 0; i < LumNavButtonCount; ++i) {
    auto* b = new TLumNavButton(this);
    b->SetFlat(true);
    b->SetIndex(i);
    b->SetEnabled(false);
    b->SetBounds(x, 0, minBtnSize_.X, minBtnSize_.Y);
    x += minBtnSize_.X;
    TBitmap glyph;
    glyph.LoadFromResourceName(std::string("LumNav_") + ButtonNames[i]);
    b->SetGlyph(&glyph);
    b->SetNumGlyphs(2);
    b->OnClick = [this](TObject* S) { ButtonClick(S); };
    b->SetParent(this);
    buttons_[i] = b;
  }
  for (int i = nbInsert; i <= nbCancel; ++i) buttons_[i]->SetVisible(false);
}

void TCustomLumNavigator::InitHints() {
  defaultHints_->Clear();
  for (const std::string* s : {&LumMsg_First, &LumMsg_Prior, &LumMsg_Next, &LumMsg_Last, &LumMsg_Insert,
                               &LumMsg_Delete, &LumMsg_Edit, &LumMsg_Post, &LumMsg_Cancel})
    defaultHints_->Add(*s);
  for (int i = 0; i < LumNavButtonCount; ++i) buttons_[i]->SetHint(defaultHints_->Strings(i));
  for (int i = 0; i < std::min(hints_->Count(), LumNavButtonCount); ++i)
    if (!hints_->Strings(i).empty()) buttons_[i]->SetHint(hints_->Strings(i));
}

void TCustomLumNavigator::Layout() {
  if (laying_ || (ComponentState() & csLoading) || !buttons_[0]) return;
  laying_ = true;
  struct Done {
    bool& f;
    ~Done() { f = false; }
  } done{laying_};
  int n = 0;
  for (TLumNavButton* b : buttons_) n += b->Visible();
  n = std::max(n, 1);
  int w = std::max(Width(), n * minBtnSize_.X);
  const int h = std::max(Height(), minBtnSize_.Y);
  const int btnH = h;  // the bar has no border
  buttonWidth_ = w / n;
  if (Align() == alNone) w = n * buttonWidth_;
  if (w != Width() || h != Height()) SetBounds(Left(), Top(), w, h);
  const int rem = w - n * buttonWidth_;
  int acc = n / 2, x = 0;
  for (TLumNavButton* b : buttons_) {
    if (!b->Visible()) {
      b->SetBounds(Width() + 1, 0, buttonWidth_, btnH);
      continue;
    }
    int bw = buttonWidth_;
    if (rem > 0) {
      acc -= rem;
      if (acc < 0) {
        acc += n;
        ++bw;
      }
    }
    b->SetBounds(x, 0, bw, btnH);
    x += bw;
  }
}

void TCustomLumNavigator::Resize() {
  Layout();
  TPanel::Resize();
}

void TCustomLumNavigator::Loaded() {
  TPanel::Loaded();
  Layout();
  InitHints();
  EnableButtons();
}

void TCustomLumNavigator::SetEnabled(bool Value) {
  const bool changed = Value != Enabled();
  TPanel::SetEnabled(Value);
  if (changed && !(ComponentState() & csLoading)) EnableButtons();
}

void TCustomLumNavigator::SetPanel(TCustomLumPanel* Value) {
  if (Value == panel_) return;
  if (panel_) {
    panel_->RemoveFreeNotification(this);
    panel_->RemoveListener(this);
  }
  panel_ = Value;
  if (panel_) {
    panel_->FreeNotification(this);
    panel_->Listeners().Add(this);
  }
  EnableButtons();
}

void TCustomLumNavigator::Notification(TComponent* AComponent, TOperation Operation) {
  TPanel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == panel_) {
    panel_ = nullptr;
    EnableButtons();
  }
}

void TCustomLumNavigator::ButtonClick(TObject* Sender) {
  if (auto* b = dynamic_cast<TLumNavButton*>(Sender)) DoButtonClicked(b->Index());
}

void TCustomLumNavigator::DoButtonClicked(int Index) {
  EnableButtons();
  if (OnButtonClicked) OnButtonClicked(this, Index);
}

void TCustomLumNavigator::ButtonMouseDown(TLumNavButton* Button) {
  const int old = focused_;
  focused_ = Button->Index();
  if (CanFocus() && !Focused()) {
    SetFocus();
  } else if (Focused() && old != focused_) {
    buttons_[old]->Invalidate();
    buttons_[focused_]->Invalidate();
  }
}

void TCustomLumNavigator::SetFocusedButton(int Index) {
  if (Index == focused_) return;
  const int old = focused_;
  focused_ = Index;
  buttons_[old]->Invalidate();
  buttons_[focused_]->Invalidate();
}

void TCustomLumNavigator::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TPanel::KeyDown(Key, Shift);
  switch (Key) {
    case VK_SPACE:
      if (buttons_[focused_]->Enabled()) buttons_[focused_]->Click();
      break;
    case VK_LEFT: {
      int i = focused_;
      do
        --i;
      while (i >= 0 && !buttons_[i]->Visible());
      if (i >= 0) SetFocusedButton(i);
      break;
    }
    case VK_RIGHT: {
      int i = focused_;
      do
        ++i;
      while (i < LumNavButtonCount && !buttons_[i]->Visible());
      if (i < LumNavButtonCount) SetFocusedButton(i);
      break;
    }
    default:
      return;
  }
  Key = 0;
}

void TCustomLumNavigator::DoEnter() {
  TPanel::DoEnter();
  buttons_[focused_]->Invalidate();
}

void TCustomLumNavigator::DoExit() {
  TPanel::DoExit();
  buttons_[focused_]->Invalidate();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TChartGridNavigator, TCustomLumNavigator)

void TChartGridNavigator::DefineProperties(TPropertyTable&) {}

TChartGridNavigator::TChartGridNavigator(TComponent* AOwner) : TCustomLumNavigator(AOwner) {}

TChartGridNavigator::~TChartGridNavigator() { SetGrid(nullptr); }

void TChartGridNavigator::SetGrid(TCustomChartGrid* Value) {
  if (Value == grid_) return;
  if (grid_) {
    grid_->RemoveFreeNotification(this);
    grid_->OnChange = nullptr;
    grid_->OnChangeCell = nullptr;
    grid_->SetNavigator(nullptr);
  }
  grid_ = Value;
  if (grid_) {
    grid_->FreeNotification(this);
    grid_->OnChange = [this] { EnableButtons(); };
    grid_->OnChangeCell = [this](int, int ARow) { EnableRow(ARow); };
    grid_->SetNavigator(this);
  }
  EnableButtons();
}

void TChartGridNavigator::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomLumNavigator::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == grid_) {
    grid_ = nullptr;
    EnableButtons();
  }
}

void TChartGridNavigator::DoButtonClicked(int Index) {
  if (grid_ && Index < LumNavButtonCount) {
    const int first = grid_->FirstRow(), last = grid_->RowCount() - 1, row = grid_->Row();
    switch (Index) {
      case nbFirst:
        if (row > first) grid_->SetRow(first);
        break;
      case nbPrior:
        if (row > first) grid_->SetRow(row - 1);
        break;
      case nbNext:
        if (row < last) grid_->SetRow(row + 1);
        break;
      case nbLast:
        if (last > row) grid_->SetRow(last);
        break;
      case nbInsert: grid_->Insert(); break;
      case nbDelete: grid_->Delete(); break;
      case nbEdit: grid_->StartEditing(); break;
      case nbPost: grid_->StopEditing(false); break;
      case nbCancel: grid_->StopEditing(true); break;
    }
  }
  TCustomLumNavigator::DoButtonClicked(Index);
}

void TChartGridNavigator::EnableButtons() {
  if (grid_) EnableRow(grid_->Row());
  else
    for (int i = 0; i < LumNavButtonCount; ++i) Buttons(i)->SetEnabled(false);
}

void TChartGridNavigator::EnableRow(int ARow) {
  if (!grid_) return;
  const int first = grid_->FirstRow(), last = grid_->RowCount() - 1;
  const bool editing = grid_->EditorMode();
  Buttons(nbFirst)->SetEnabled(ARow > first);
  Buttons(nbPrior)->SetEnabled(ARow > first);
  Buttons(nbNext)->SetEnabled(ARow < last);
  Buttons(nbLast)->SetEnabled(ARow < last);
  const bool canInsert =
      ((grid_->Options() & goEditing) && !editing && grid_->Chart() && grid_->Chart()->SeriesCount() > 0) ||
      grid_->Series();
  Buttons(nbInsert)->SetEnabled(canInsert);
  Buttons(nbDelete)->SetEnabled(grid_->RowCount() > 1 && canInsert && grid_->RowHasPoint(ARow));
  Buttons(nbEdit)->SetEnabled(canInsert);
  Buttons(nbPost)->SetEnabled(editing);
  Buttons(nbCancel)->SetEnabled(editing);
}
