#include "editor/sourceeditor.h"

#include "canvas/comboflat.h"
#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "engine/function.h"
#include "engine/helpers.h"
#include "gallery/editortools.h"
#include "gallery/formbuild.h"
#include "platform/dialogs.h"

using namespace formbuild;

IMPLEMENT_CLASS(TBaseSourceEditor, TForm)
IMPLEMENT_CLASS(TSelectListForm, TForm)

// ---------------------------------------------------------------------------
TBaseSourceEditor::TBaseSourceEditor(TComponent* AOwner, const char* Name) : TForm(AOwner) {
  SetupDialog(this, Name, "", 380, 280, bsNone);
  SetBorderIcons(biSystemMenu);
  Pan = PlainPanel(this, this, "Pan", alTop, 0, 0, 380, 33);
  PanelApply = PlainPanel(this, Pan, "PanelApply", alRight, 296, 0, 84, 33);
  BApply = PlaceControl<TButton>(this, PanelApply, "BApply", 4, 4, 75, 25, "&Apply");
  BApply->SetEnabled(false);
  CBSources = DropDownList(this, Pan, "CBSources", 72, 6, 180);
  LLabel = PlaceLabel(this, Pan, "LLabel", 8, 10, "&Source:", CBSources);

  OnShow = HANDLER(FormShow);
  OnCloseQuery = HANDLER(FormCloseQuery);
  CBSources->OnChange = HANDLER(CBSourcesChange);
  BApply->OnClick = HANDLER(BApplyClick);
}

TBaseSourceEditor::~TBaseSourceEditor() {
  destroying_ = true;
  // A source this editor made and no series took is freed with it; one a series
  // took goes to that series' owner, so the series keeps its source.
  if (source_ && source_->Owner() == this) {
    TLumSeriesSource* s = source_;
    SetTheSource(nullptr);
    TChartSeries* series = s->Series();
    if (TComponent* owner = series ? series->Owner() : nullptr) {
      if (!s->Name().empty() && owner->FindComponent(s->Name())) s->SetName("");  // names are unique per owner
      owner->InsertComponent(s);
    } else {
      delete s;
    }
  }
  SetTheSeries(nullptr);
  SetTheChart(nullptr);
}

bool TBaseSourceEditor::IsValid(TComponent*) { return false; }

void TBaseSourceEditor::SetTheSeries(TChartSeries* Series) {
  if (series_ == Series) return;
  if (series_) RemoveFreeNotification(series_);
  series_ = Series;
  if (series_) FreeNotification(series_);
}

void TBaseSourceEditor::SetTheChart(TCustomChart* Chart) {
  if (chart_ == Chart) return;
  if (chart_) RemoveFreeNotification(chart_);
  chart_ = Chart;
  if (chart_) FreeNotification(chart_);
}

void TBaseSourceEditor::SetTheSource(TLumSeriesSource* Source) {
  if (source_ == Source) return;
  if (source_) RemoveFreeNotification(source_);
  source_ = Source;
  if (source_) FreeNotification(source_);
}

void TBaseSourceEditor::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == series_) series_ = nullptr;
  if (AComponent == chart_) chart_ = nullptr;
  if (AComponent == source_) source_ = nullptr;
}

void TBaseSourceEditor::FormShow(TObject*) {
  TComponent* tagged = ComponentFromTag(this, Tag());
  if (auto* s = dynamic_cast<TChartSeries*>(tagged)) {
    SetTheSeries(s);
  } else if (auto* c = dynamic_cast<TCustomChart*>(tagged)) {
    SetTheChart(c);
  } else if (auto* src = dynamic_cast<TLumSeriesSource*>(tagged)) {
    SetTheSource(src);
    SetTheSeries(src->Series());
  }
  BApply->SetEnabled(false);
  TranslateControl(this);
}

void TBaseSourceEditor::CBSourcesChange(TObject*) { BApply->SetEnabled(true); }

void TBaseSourceEditor::BApplyClick(TObject*) {}

void TBaseSourceEditor::FormCloseQuery(TObject*, bool& CanClose) {
  if (!BApply->Enabled()) return;
  switch (MessageDlg(LumMsg_ApplyChanges, mtConfirmation, mbYesNoCancel, 0)) {
    case mrYes:
      try {
        BApply->Click();
      } catch (...) {
        // A refused source says why; the page stays with its changes.
        Application->HandleException(this);
      }
      CanClose = !BApply->Enabled();
      break;
    case mrNo:
      BApply->SetEnabled(false);
      CanClose = true;
      break;
    default:
      CanClose = false;
      break;
  }
}

// ---------------------------------------------------------------------------
namespace {
constexpr int kButtonColumn = 40, kOrderColumn = 28, kLabelsHeight = 18;
}

TSelectListForm::TSelectListForm(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "SelectListForm", "", 326, 146, bsNone);
  PanelLabels = PlainPanel(this, this, "PanelLabels", alTop, 0, 0, 326, kLabelsHeight);
  FromList = PlaceControl<TListBox>(this, this, "FromList", 0, kLabelsHeight, 129, 128);
  FromList->SetAlign(alLeft);
  FromList->SetMultiSelect(true);
  PanelButtons = PlainPanel(this, this, "PanelButtons", alLeft, 129, kLabelsHeight, kButtonColumn, 128);
  BRightOne = PlaceControl<TButton>(this, PanelButtons, "BRightOne", 6, 4, 28, 25, ">");
  BRightAll = PlaceControl<TButton>(this, PanelButtons, "BRightAll", 6, 33, 28, 25, ">>");
  BLeftOne = PlaceControl<TButton>(this, PanelButtons, "BLeftOne", 6, 70, 28, 25, "<");
  BLeftAll = PlaceControl<TButton>(this, PanelButtons, "BLeftAll", 6, 99, 28, 25, "<<");
  PanelOrder = PlainPanel(this, this, "PanelOrder", alRight, 326 - kOrderColumn, kLabelsHeight, kOrderColumn, 128);
  BMoveUP = PlaceControl<TSpeedButton>(this, PanelOrder, "BMoveUP", 3, 4, 23, 22);
  BMoveDown = PlaceControl<TSpeedButton>(this, PanelOrder, "BMoveDown", 3, 30, 23, 22);
  ToList = PlaceControl<TListBox>(this, this, "ToList", 169, kLabelsHeight, 129, 128);
  ToList->SetAlign(alClient);
  ToList->SetMultiSelect(true);
  L1 = PlaceLabel(this, PanelLabels, "L1", 0, 2, "A&vailable:", FromList);
  L2 = PlaceLabel(this, PanelLabels, "L2", 169, 2, "&Selected: ", ToList);
  LoadArrowGlyphs(BMoveUP, BMoveDown);
  SetActiveControl(FromList);

  OnShow = HANDLER(FormShow);
  OnResize = HANDLER(FormResize);
  BRightOne->OnClick = HANDLER(BRightOneClick);
  BRightAll->OnClick = HANDLER(BRightAllClick);
  BLeftOne->OnClick = HANDLER(BLeftOneClick);
  BLeftAll->OnClick = HANDLER(BLeftAllClick);
  FromList->OnDblClick = HANDLER(FromListDblClick);
  ToList->OnDblClick = HANDLER(ToListDblClick);
  BMoveUP->OnClick = HANDLER(BMoveUPClick);
  BMoveDown->OnClick = HANDLER(BMoveDownClick);
  FromList->OnClick = HANDLER(ListClick);
  ToList->OnClick = HANDLER(ListClick);
  EnableButtons();
}

void TSelectListForm::FormResize(TObject*) {
  const int share = std::max(40, (ClientWidth() - kButtonColumn - kOrderColumn) / 2);
  FromList->SetWidth(share);
  L2->SetLeft(share + kButtonColumn);
}

void TSelectListForm::FormShow(TObject*) {
  EnableButtons();
  TWinControl* first = FromList->Count() > 0 ? static_cast<TWinControl*>(FromList) : ToList;
  if (first->CanFocus()) first->SetFocus();
}

void TSelectListForm::EnableButtons() {
  BRightOne->SetEnabled(FromList->Count() > 0);
  BRightAll->SetEnabled(FromList->Count() > 0);
  BLeftOne->SetEnabled(ToList->Count() > 0);
  BLeftAll->SetEnabled(ToList->Count() > 0);
  const int i = ToList->ItemIndex();
  BMoveUP->SetEnabled(i > 0);
  BMoveDown->SetEnabled(i >= 0 && i < ToList->Count() - 1);
}

void TSelectListForm::Changed() {
  EnableButtons();
  if (OnChange) OnChange(this);
}

void TSelectListForm::BRightOneClick(TObject*) {
  MoveSelectedItems(FromList, ToList);
  Changed();
  if (FromList->Count() == 0 && ToList->CanFocus()) ToList->SetFocus();
}

void TSelectListForm::BRightAllClick(TObject*) {
  MoveAllItems(FromList->Items(), ToList->Items());
  Changed();
}

void TSelectListForm::BLeftOneClick(TObject*) {
  MoveSelectedItems(ToList, FromList);
  Changed();
}

void TSelectListForm::BLeftAllClick(TObject*) {
  MoveAllItems(ToList->Items(), FromList->Items());
  Changed();
}

void TSelectListForm::FromListDblClick(TObject*) {
  BRightOneClick(this);
  if (ToList->Count() > 0) {
    ToList->ClearSelection();
    ToList->SetItemIndex(ToList->Count() - 1);
    ToList->SetSelected(ToList->Count() - 1, true);
    EnableButtons();
  }
}

void TSelectListForm::ToListDblClick(TObject*) { BLeftOneClick(this); }

void TSelectListForm::MoveSelected(int Delta) {
  const int i = ToList->ItemIndex(), j = i + Delta;
  if (i < 0 || j < 0 || j >= ToList->Count()) return;
  static_cast<TListItems*>(ToList->Items())->Exchange(i, j);
  ToList->ClearSelection();
  ToList->SetItemIndex(j);
  ToList->SetSelected(j, true);
  if (ToList->CanFocus()) ToList->SetFocus();
  Changed();
}

void TSelectListForm::BMoveUPClick(TObject*) { MoveSelected(-1); }
void TSelectListForm::BMoveDownClick(TObject*) { MoveSelected(1); }
void TSelectListForm::ListClick(TObject*) { EnableButtons(); }
