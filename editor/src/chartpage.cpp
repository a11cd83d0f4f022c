#include "editor/chartpage.h"

#include "canvas/buttons.h"
#include "engine/panel.h"
#include "gallery/editortools.h"

IMPLEMENT_CLASS(TChartObjectPage, TForm)

namespace {

// Every sample button Root owns, at any depth: a pen, gradient or colour they show
// may have gone with the chart.
void UnlinkButtons(TComponent* Root) {
  for (int i = 0; i < Root->ComponentCount(); ++i) {
    TComponent* c = Root->Components(i);
    if (auto* b = dynamic_cast<TLumButton*>(c)) b->LinkProperty(nullptr, "");
    UnlinkButtons(c);
  }
}

}  // namespace

TChartObjectPage::TChartObjectPage(TComponent* AOwner, const char* Name, int ClientWidth, int ClientHeight)
    : TForm(AOwner) {
  SetBorderStyle(bsNone);
  SetupEditorForm(this, Name, "", ClientWidth, ClientHeight);
  SetAlign(alClient);
}

TChartObjectPage::~TChartObjectPage() {
  // A dialog opened from the page ends with it (its handler checks the page is there).
  EndModalDialogs(this);
  WatchChart(nullptr);
}

TCustomAxisPanel* TChartObjectPage::WatchedChart() const { return dynamic_cast<TCustomAxisPanel*>(watched_); }

void TChartObjectPage::WatchChart(TComponent* Panel) {
  if (watched_ == Panel) return;
  if (watched_) {
    if (TCustomAxisPanel* c = WatchedChart()) c->RemoveListener(this);
    watched_->RemoveFreeNotification(this);
  }
  watched_ = Panel;
  if (watched_) {
    watched_->FreeNotification(this);
    if (TCustomAxisPanel* c = WatchedChart()) c->Listeners().Add(this);
  }
}

void TChartObjectPage::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation != opRemove || !watched_ || AComponent != watched_) return;
  watched_ = nullptr;
  // The dialogs opened from the page edit parts of the chart: they go first.
  EndModalDialogs(this);
  UnlinkButtons(this);
  ChartFreed();
}
