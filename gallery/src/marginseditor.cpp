#include "gallery/marginseditor.h"

#include "engine/helpers.h"
#include "formbuild.h"
#include "gallery/editortools.h"

using namespace formbuild;

IMPLEMENT_CLASS(TMarginsEditor, TForm)
IMPLEMENT_CLASS(TVisualsEditor, TForm)

TVisualChooserHook VisualChooserHook = nullptr;
TClass VisualEditorClass = nullptr;

TMarginsEditor::TMarginsEditor(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "MarginsEditor", "MarginsEditor", 241, 230, bsNone);
  const auto r = EditUpDownRows(this, this,
                                {{"LLeft", "&Left:", "ELeft", "UDLeft"},
                                 {"LTop", "&Top:", "ETop", "UDTop"},
                                 {"LRight", "&Right:", "ERight", "UDRight"},
                                 {"LBottom", "&Bottom:", "EBottom", "UDBottom"}},
                                12, 72, 10, 56, -32000, 32000);
  LLeft = r[0].Label, ELeft = r[0].Edit, UDLeft = r[0].UpDown;
  LTop = r[1].Label, ETop = r[1].Edit, UDTop = r[1].UpDown;
  LRight = r[2].Label, ERight = r[2].Edit, UDRight = r[2].UpDown;
  LBottom = r[3].Label, EBottom = r[3].Edit, UDBottom = r[3].UpDown;
  RGUnits = PlaceControl<TRadioGroup>(this, this, "RGUnits", 12, 128, 217, 90, "&Units:");
  for (const char* u : {"Percent &Font", "P&ercent Size", "P&ixels"}) RGUnits->Items()->Add(u);

  for (TEdit* e : {ELeft, ETop, ERight, EBottom}) e->OnChange = HANDLER(MarginChange);
  RGUnits->OnClick = HANDLER(RGUnitsClick);
  OnShow = HANDLER(FormShow);
}

void TMarginsEditor::LoadMargins(TMargins* Value) {
  margins_ = Value;
  if (!margins_) return;
  RGUnits->SetItemIndex(std::min(int(margins_->Units()), 2));
  RGUnitsClick(RGUnits);
  UDLeft->SetPosition(margins_->Left());
  UDTop->SetPosition(margins_->Top());
  UDRight->SetPosition(margins_->Right());
  UDBottom->SetPosition(margins_->Bottom());
}

void TMarginsEditor::FormShow(TObject*) {
  TranslateControl(this);
  if (Tag()) LoadMargins(reinterpret_cast<TMargins*>(Tag()));
}

// Each edit writes its own margin only, so loading another object one up-down at a
// time never carries a value of the previous one over.
void TMarginsEditor::MarginChange(TObject* Sender) {
  if (!margins_ || !Showing()) return;
  if (Sender == ELeft) margins_->SetLeft(UDLeft->Position());
  else if (Sender == ETop) margins_->SetTop(UDTop->Position());
  else if (Sender == ERight) margins_->SetRight(UDRight->Position());
  else if (Sender == EBottom) margins_->SetBottom(UDBottom->Position());
}

void TMarginsEditor::RGUnitsClick(TObject*) {
  if (!margins_) return;
  const int i = RGUnits->ItemIndex();
  margins_->SetUnits(i == 0 ? maPercentFont : i == 1 ? maPercentSize : maPixels);
}

// ---------------------------------------------------------------------------
TVisualsEditor::TVisualsEditor(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "VisualsEditor", "Visuals", 331, 240);
  Panel1 = PlaceControl<TPanel>(this, this, "Panel1", 0, 0, 331, 33);
  Panel1->SetAlign(alTop);
  Panel1->SetBevelOuter(bvNone);
  Button3 = PlaceControl<TButton>(this, Panel1, "Button3", 8, 4, 75, 25, "&Choose...");
  BClearVisual = PlaceControl<TButton>(this, Panel1, "BClearVisual", 90, 4, 75, 25, "C&lear");
  BClearVisual->SetEnabled(false);
  Button3->OnClick = HANDLER(Button3Click);
  BClearVisual->OnClick = HANDLER(BClearVisualClick);
  OnShow = HANDLER(FormShow);
}

void TVisualsEditor::FormShow(TObject*) {
  TranslateControl(this);
  holder_ = reinterpret_cast<TVisualsHolder*>(Tag());
  RefreshVisual();
}

void TVisualsEditor::RefreshVisual() {
  TPersistent* visual = holder_ ? holder_->Visual() : nullptr;
  BClearVisual->SetEnabled(visual != nullptr);
  if (!visual) return;
  if (visualEditor_) {
    visualEditor_->SetTag(std::intptr_t(visual));
    if (visualEditor_->OnShow.Assigned()) visualEditor_->OnShow(visualEditor_);
  } else if (VisualEditorClass) {
    auto* f = dynamic_cast<TForm*>(VisualEditorClass->NewInstance(this));
    if (!f) return;
    visualEditor_ = f;
    f->SetAlign(alClient);
    InsertEditorForm(f, this, std::intptr_t(visual));
  }
}

void TVisualsEditor::Changed() {
  if (OnChange.Assigned()) OnChange(this);
}

void TVisualsEditor::Button3Click(TObject*) {
  if (!VisualChooserHook || !holder_) return;
  TPersistent* chosen = VisualChooserHook(this, holder_->Owner(), holder_->Visual());
  if (!chosen) return;
  delete holder_->Visual();
  holder_->SetVisual(chosen);
  Changed();
  RefreshVisual();
}

void TVisualsEditor::BClearVisualClick(TObject*) {
  if (holder_) holder_->SetVisual(nullptr);
  Changed();
  BClearVisual->SetEnabled(false);
  delete visualEditor_;
  visualEditor_ = nullptr;
}

bool EditVisuals(TComponent* AOwner, TVisualsHolder* Holder) {
  TModalDialog<TVisualsEditor> f(new TVisualsEditor(AOwner));
  f->SetTag(std::intptr_t(Holder));
  return f.Run();
}
