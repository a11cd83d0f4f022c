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

TChartObjectPage::~TChartObjectPage() { WatchChart(nullptr); }

void TChartObjectPage::WatchChart(TCustomAxisPanel* Chart) {
  if (chart_ == Chart) return;
  if (chart_) chart_->RemoveFreeNotification(this);
  chart_ = Chart;
  if (chart_) chart_->FreeNotification(this);
}

void TChartObjectPage::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation != opRemove || !chart_ || AComponent != chart_) return;
  chart_ = nullptr;
  UnlinkButtons(this);
  ChartFreed();
}
