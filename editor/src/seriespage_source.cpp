// The series page's "Data Source" tab: points typed in the grid, random points,
// another series, a function, or a registered source class with its own editor.
#include <algorithm>
#include <memory>

#include "canvas/lumconst.h"
#include "editor/funceditor.h"
#include "editor/seriespage.h"
#include "engine/errors.h"
#include "engine/function.h"
#include "engine/helpers.h"
#include "engine/panel.h"
#include "gallery/chartgrid.h"
#include "gallery/editortools.h"
#include "gallery/formbuild.h"
#include "gallery/navigator.h"
#include "platform/dialogs.h"
#include "seriespage_detail.h"

namespace seriespage_detail {

namespace {

TObject* ClassObject(TClass C) { return reinterpret_cast<TObject*>(const_cast<TMetaClass*>(C)); }

TPanel* ClientPanel(TFormLumSeries* Form, const char* Name) {
  TPanel* p = formbuild::PlainPanel(Form, Form->TabDataSource, Name, alClient, 0, 32, 382, 248);
  p->SetVisible(false);
  return p;
}

TButton* Button(TFormLumSeries* Form, TWinControl* Parent, const char* Name, int Left, const char* Caption) {
  return PlaceControl<TButton>(Form, Parent, Name, Left, 40, 75, 25, Caption);
}

}  // namespace

void BuildDataSourceTab(TFormLumSeries* F) {
  F->PanelStyle = formbuild::PlainPanel(F, F->TabDataSource, "PanelStyle", alTop, 0, 0, 382, 32);
  F->CBDataSourcestyle =
      formbuild::DropDownList(F, F->PanelStyle, "CBDataSourcestyle", 8, 6, 160, {"Manual", "Random", "Series"});
  F->CBDataSourcestyle->SetDropDownCount(12);
  F->CBDataSourcestyle->Items()->AddObject("Function", ClassObject(TLumFuncEditor::StaticClass()));

  F->PanelGrid = ClientPanel(F, "PanelGrid");
  // Points are typed in here: the editing buttons show beside the moving ones (before
  // the bar is sized, which lays them out).
  F->ChartGridNavigator1 = new TChartGridNavigator(F);
  F->ChartGridNavigator1->SetName("ChartGridNavigator1");
  for (int i = nbInsert; i <= nbCancel; ++i) F->ChartGridNavigator1->Buttons(i)->SetVisible(true);
  F->ChartGridNavigator1->SetBounds(0, 223, 382, 25);
  F->ChartGridNavigator1->SetParent(F->PanelGrid);
  F->ChartGridNavigator1->SetAlign(alBottom);
  F->ChartGrid1 = PlaceControl<TChartGrid>(F, F->PanelGrid, "ChartGrid1", 0, 0, 382, 223);
  F->ChartGrid1->SetAlign(alClient);
  F->ChartGridNavigator1->SetGrid(F->ChartGrid1);

  F->PanelRandomSource = ClientPanel(F, "PanelRandomSource");
  F->ESamples = PlaceControl<TEdit>(F, F->PanelRandomSource, "ESamples", 150, 8, 80, 21);
  F->LSamples = PlaceLabel(F, F->PanelRandomSource, "LSamples", 8, 12, "&Number of sample values:", F->ESamples);
  F->CBSamplesDefault =
      PlaceControl<TCheckBox>(F, F->PanelRandomSource, "CBSamplesDefault", 240, 10, 100, 17, "&Default");
  F->BApplyRandom = Button(F, F->PanelRandomSource, "BApplyRandom", 8, "&Apply");
  F->Button3 = Button(F, F->PanelRandomSource, "Button3", 90, "&Clear");

  F->PanelSeriesSource = ClientPanel(F, "PanelSeriesSource");
  F->CBSeriesSource = formbuild::DropDownList(F, F->PanelSeriesSource, "CBSeriesSource", 60, 8, 200);
  F->LSeriesSource = PlaceLabel(F, F->PanelSeriesSource, "LSeriesSource", 8, 12, "&Series:", F->CBSeriesSource);
  F->BApplySource = Button(F, F->PanelSeriesSource, "BApplySource", 8, "&Apply");
  F->BClearSource = Button(F, F->PanelSeriesSource, "BClearSource", 90, "&Clear");

  F->CBDataSourcestyle->OnChange = {F, &TFormLumSeries::CBDataSourcestyleChange, "CBDataSourcestyleChange"};
  F->ESamples->OnChange = {F, &TFormLumSeries::ESamplesChange, "ESamplesChange"};
  F->CBSamplesDefault->OnClick = {F, &TFormLumSeries::CBSamplesDefaultClick, "CBSamplesDefaultClick"};
  F->BApplyRandom->OnClick = {F, &TFormLumSeries::BApplyRandomClick, "BApplyRandomClick"};
  F->Button3->OnClick = {F, &TFormLumSeries::Button3Click, "Button3Click"};
  F->CBSeriesSource->OnChange = {F, &TFormLumSeries::CBSeriesSourceChange, "CBSeriesSourceChange"};
  F->BApplySource->OnClick = {F, &TFormLumSeries::BApplySourceClick, "BApplySourceClick"};
  F->BClearSource->OnClick = {F, &TFormLumSeries::BClearSourceClick, "BClearSourceClick"};
}

}  // namespace seriespage_detail

using namespace seriespage_detail;

namespace {

TClass ObjectClass(TObject* O) { return reinterpret_cast<TClass>(O); }

// A throw-away source of the class, to ask what the class answers.
std::unique_ptr<TLumSeriesSource> SourceOfClass(TClass C) {
  std::unique_ptr<TObject> made(C && C->Create ? C->NewInstance(nullptr) : nullptr);
  auto* s = dynamic_cast<TLumSeriesSource*>(made.get());
  if (s) made.release();
  return std::unique_ptr<TLumSeriesSource>(s);
}

}  // namespace

void TFormLumSeries::FillDataSourceStyles() {
  TStrings* items = CBDataSourcestyle->Items();
  while (items->Count() > ssFirstRegistered) items->Delete(items->Count() - 1);
  for (TClass c : LumSeriesSources()) {
    auto source = SourceOfClass(c);
    if (source && source->Available(series_)) items->AddObject(c->Name, ClassObject(c));
  }
}

int TFormLumSeries::StyleOfSeries() const {
  if (series_->FunctionType()) return ssFunction;
  TComponent* source = series_->DataSource();
  if (auto* s = dynamic_cast<TLumSeriesSource*>(source)) {
    const int i = CBDataSourcestyle->Items()->IndexOfObject(ClassObject(s->ClassType()));
    return i >= ssFirstRegistered ? i : ssManual;
  }
  return dynamic_cast<TChartSeries*>(source) ? ssSeries : ssManual;
}

void TFormLumSeries::FillDataSource() {
  if (CBDataSourcestyle->ItemIndex() < 0) CBDataSourcestyle->SetItemIndex(StyleOfSeries());
  if (CBDataSourcestyle->ItemIndex() != sourceStyle_) RebuildDataSource();
  else if (sourceStyle_ == ssRandom) ShowSamples();
  else if (sourceStyle_ == ssSeries) FillSeriesSources();
}

bool TFormLumSeries::FreeSourceEditor() {
  if (!sourceEditor_) return true;
  if (!sourceEditor_->CloseQuery()) return false;
  delete sourceEditor_;
  sourceEditor_ = nullptr;
  return true;
}

void TFormLumSeries::RebuildDataSource() {
  if (!FreeSourceEditor()) {
    // The editor keeps its pending changes, and the combo its style.
    CBDataSourcestyle->SetItemIndex(sourceStyle_);
    return;
  }
  const bool was = changing_;
  changing_ = true;
  for (TControl* c : std::initializer_list<TControl*>{PanelGrid, PanelRandomSource, PanelSeriesSource})
    c->SetVisible(false);
  const int style = CBDataSourcestyle->ItemIndex();
  sourceStyle_ = style;
  if (style == ssManual) {
    ChartGrid1->SetSeries(series_);
    PanelGrid->SetAlign(alClient);
    PanelGrid->SetVisible(true);
  } else if (style == ssRandom) {
    PanelRandomSource->SetVisible(true);
    BApplyRandom->SetEnabled(true);
    ShowSamples();
  } else if (style == ssSeries) {
    PanelSeriesSource->SetVisible(true);
    FillSeriesSources();
  } else if (style == ssFunction) {
    TClass c = ObjectClass(CBDataSourcestyle->Items()->Objects(style));
    std::unique_ptr<TObject> made(c && c->Create ? c->NewInstance(this) : nullptr);
    if (dynamic_cast<TForm*>(made.get())) ShowSourceEditor(static_cast<TForm*>(made.release()), false);
  } else if (style >= ssFirstRegistered) {
    auto source = SourceOfClass(ObjectClass(CBDataSourcestyle->Items()->Objects(style)));
    const std::string name = source ? source->EditorClass() : std::string();
    TClass editor = name.empty() ? nullptr : GetClass(name);
    std::unique_ptr<TObject> made(editor && editor->Create ? editor->NewInstance(this) : nullptr);
    if (dynamic_cast<TForm*>(made.get()))
      ShowSourceEditor(static_cast<TForm*>(made.release()), source->HasDataButtons());
  }
  changing_ = was;
}

// The editor fills the tab under the style combo; with data buttons the grid and
// its navigator show the series' points under it.
void TFormLumSeries::ShowSourceEditor(TForm* Editor, bool DataButtons) {
  sourceEditor_ = Editor;
  FreeNotification(Editor);
  if (DataButtons) {
    ChartGrid1->SetSeries(series_);
    PanelGrid->SetAlign(alBottom);
    PanelGrid->SetHeight(120);
    PanelGrid->SetVisible(true);
  }
  Editor->SetAlign(alClient);
  TranslateControl(Editor);
  EmbedEditorFormWithTag(Editor, TabDataSource, std::intptr_t(series_));
}

void TFormLumSeries::CBDataSourcestyleChange(TObject*) {
  if (!Editing()) return;
  const int style = CBDataSourcestyle->ItemIndex();
  // Leaving the editor drops what it has not applied.
  if (auto* e = dynamic_cast<TBaseSourceEditor*>(sourceEditor_)) e->BApply->SetEnabled(false);
  if (style == ssManual || style == ssRandom) {
    FreeSourceEditor();
    RemoveOwnSources(style == ssManual);
  }
  RebuildDataSource();
}

// The series' function and sources go, a source object that serves only this series
// with them, and the points they made; "Manual" marks the points as typed in.
void TFormLumSeries::RemoveOwnSources(bool Manual) {
  TChartSeries* s = series_;
  if (s->FunctionType() || s->HasDataSources()) {
    std::vector<TLumSeriesSource*> own;
    for (TComponent* c : *s->GetDataSources())
      if (auto* source = dynamic_cast<TLumSeriesSource*>(c); source && source->Series() == s) own.push_back(source);
    s->SetFunction(nullptr);
    s->SetDataSource(nullptr);
    for (TLumSeriesSource* source : own) delete source;
    s->Clear();
  }
  if (Manual) s->SetManualData(1);
}

// ---- Random -------------------------------------------------------------------
void TFormLumSeries::ShowSamples() {
  const bool was = changing_;
  changing_ = true;
  ESamples->SetText(IntToString(series_->RandomSampleCount()));
  CheckSamplesDefault();
  changing_ = was;
}

void TFormLumSeries::CheckSamplesDefault() {
  const int n = series_->RandomSampleCount();
  const bool was = changing_;
  changing_ = true;
  CBSamplesDefault->SetChecked(n == 0 || n == series_->NumSampleValues());
  CBSamplesDefault->SetEnabled(!CBSamplesDefault->Checked());
  changing_ = was;
}

void TFormLumSeries::ESamplesChange(TObject*) {
  if (!Editing()) return;
  // No number, or one below 0, stands for the default; a number too long to read is
  // too many.
  const std::string text = Trim(ESamples->Text());
  long long n = 0;
  if (!TryStrToInt(text, n))
    n = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })
            ? MaxSampleValues + 1LL
            : 0;
  if (n < 0) n = 0;
  if (n > MaxSampleValues) {
    ShowMessage(Format(LumMsg_TooManySamples.c_str(), MaxSampleValues));
    ShowSamples();  // the count it keeps
    return;
  }
  series_->SetRandomSampleCount(int(n));
  CheckSamplesDefault();
  BApplyRandom->SetEnabled(true);
}

void TFormLumSeries::CBSamplesDefaultClick(TObject*) {
  if (!Editing() || !CBSamplesDefault->Checked()) return;
  ESamples->SetText(IntToString(series_->NumSampleValues()));
  CBSamplesDefault->SetEnabled(false);
}

void TFormLumSeries::BApplyRandomClick(TObject*) {
  if (!series_) return;
  series_->SetDataSource(nullptr);
  const int n = series_->RandomSampleCount();
  series_->AddSampleValues(n > 0 ? n : series_->NumSampleValues());
}

void TFormLumSeries::Button3Click(TObject*) {
  if (!series_) return;
  series_->Clear();
  CBDataSourcestyle->SetItemIndex(ssManual);
  CBDataSourcestyleChange(CBDataSourcestyle);
}

// ---- Series -------------------------------------------------------------------
// The chart's other series this one may take its points from: valid sources that do
// not lead back to it.
void TFormLumSeries::FillSeriesSources() {
  const bool was = changing_;
  changing_ = true;
  CBSeriesSource->Items()->Clear();
  if (chart_) {
    for (TChartSeries* other : chart_->SeriesList()) {
      if (other == series_ || !other->ShowInEditor() || !chart_->IsValidDataSource(series_, other)) continue;
      try {
        series_->CheckCircularSource(other);
      } catch (const ChartException&) {
        continue;
      }
      CBSeriesSource->Items()->AddObject(other->GetTitleOrName(), other);
    }
  }
  TComponent* current = series_->DataSource();
  CBSeriesSource->SetItemIndex(current ? CBSeriesSource->Items()->IndexOfObject(current) : -1);
  BApplySource->SetEnabled(false);
  BClearSource->SetEnabled(current != nullptr);
  changing_ = was;
}

void TFormLumSeries::CBSeriesSourceChange(TObject*) {
  if (Editing()) BApplySource->SetEnabled(true);
}

void TFormLumSeries::BApplySourceClick(TObject*) {
  if (!series_) return;
  const int i = CBSeriesSource->ItemIndex();
  // Checked before anything changes: a refused source leaves the series as it was.
  series_->SetDataSource(i >= 0 ? dynamic_cast<TChartSeries*>(CBSeriesSource->Items()->Objects(i)) : nullptr);
  BApplySource->SetEnabled(false);
  BClearSource->SetEnabled(series_->DataSource() != nullptr);
}

void TFormLumSeries::BClearSourceClick(TObject*) {
  CBSeriesSource->SetItemIndex(-1);
  BApplySourceClick(BClearSource);
}
