#include "editor/funceditor.h"

#include <algorithm>
#include <memory>

#include "analysis/func_financial.h"
#include "analysis/unit.h"
#include "canvas/comboflat.h"
#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/registry.h"
#include "engine/datetimesteps.h"
#include "engine/errors.h"
#include "engine/function.h"
#include "engine/helpers.h"
#include "gallery/editortools.h"
#include "gallery/formbuild.h"
#include "gallery/seriesgallery.h"

using namespace formbuild;

IMPLEMENT_CLASS(TLumFuncEditor, TBaseSourceEditor)
IMPLEMENT_CLASS(TBaseFunctionEditor, TForm)
IMPLEMENT_CLASS(TLumFunctionEditor, TBaseFunctionEditor)

// The class the close-location-value unit registers by name; the editor's unit gives
// it its constructor and parent.
TClass TCLVFuncEditor::StaticClass() { return &CLVFuncEditorClass(); }

namespace {

TObject* ClassObject(TClass C) { return reinterpret_cast<TObject*>(const_cast<TMetaClass*>(C)); }
TClass ObjectClass(TObject* O) { return reinterpret_cast<TClass>(O); }

// A function class's flags, read from a throw-away instance.
struct TFunctionFlags {
  bool NoSource = false, Single = false, HideValues = false;
};
TFunctionFlags FlagsOf(TClass FunctionClass) {
  std::unique_ptr<TObject> made(FunctionClass ? FunctionClass->NewInstance(nullptr) : nullptr);
  auto* f = dynamic_cast<TLumFunction*>(made.get());
  if (!f) return {};
  return {f->NoSourceRequired(), f->SingleSource(), f->HideSourceList()};
}

// A gallery name as one combo line: "&" dropped, a line break shown as a blank.
std::string ComboText(std::string Name) {
  std::erase(Name, '&');
  std::replace(Name.begin(), Name.end(), '\r', ' ');
  return Name;
}

// The series a list item names, while it is among the live ones; the item's object
// is only compared, never followed, as its series may be gone.
TChartSeries* Among(const std::vector<TChartSeries*>& Live, const TObject* Listed) {
  for (TChartSeries* s : Live)
    if (static_cast<const TObject*>(s) == Listed) return s;
  return nullptr;
}

// Counts a change the editor makes itself while it lasts.
struct TBusy {
  explicit TBusy(int& Count) : count(Count) { ++count; }
  ~TBusy() { --count; }
  int& count;
};

}  // namespace

// ---------------------------------------------------------------------------
TLumFuncEditor::TLumFuncEditor(TComponent* AOwner) : TBaseSourceEditor(AOwner, "LumFuncEditor") {
  LLabel->SetCaption("&Functions:");
  CBSources->SetSorted(true);
  SpeedButton1 = PlaceControl<TSpeedButton>(this, Pan, "SpeedButton1", 256, 5, 23, 22, "...");
  PageControl1 = ClientPages(this, this, "PageControl1", 0, 33, 380, 247, true);
  TabSource = Sheet(this, PageControl1, "TabSource", "Source Series");
  TabOptions = Sheet(this, PageControl1, "TabOptions", "Options");
  PanSingle = PlainPanel(this, TabSource, "PanSingle", alClient, 0, 0, 372, 219);
  CBSingle = DropDownList(this, PanSingle, "CBSingle", 72, 12, 180);
  LSingle = PlaceLabel(this, PanSingle, "LSingle", 8, 16, "&Series:", CBSingle);
  BNone = PlaceControl<TButton>(this, PanSingle, "BNone", 260, 10, 75, 25, "&None");
  BNone->SetEnabled(false);
  CBValues = DropDownList(this, PanSingle, "CBValues", 72, 44, 180);
  CBValues->SetEnabled(false);
  LValues = PlaceLabel(this, PanSingle, "LValues", 8, 48, "&Values:", CBValues);
  PageControl1->SetActivePage(TabSource);

  // One item per function class of the gallery list.
  for (int i = 0; i < LumSeriesTypes().Count(); ++i) {
    const TLumSeriesType* t = LumSeriesTypes().Get(i);
    if (!t->FunctionClass || t->SeriesClass) continue;
    bool listed = false;
    for (int j = 0; j < CBSources->Items()->Count() && !listed; ++j)
      listed = ObjectClass(CBSources->Items()->Objects(j)) == t->FunctionClass;
    if (!listed) CBSources->Items()->AddObject(ComboText(t->DescriptionText()), ClassObject(t->FunctionClass));
  }

  OnShow = HANDLER(FormShow);
  SpeedButton1->OnClick = HANDLER(SpeedButton1Click);
  CBSingle->OnChange = HANDLER(CBSingleChange);
  CBValues->OnChange = HANDLER(CBValuesChange);
  BNone->OnClick = HANDLER(BNoneClick);
}

TLumFuncEditor::~TLumFuncEditor() {
  destroying_ = true;
  Listen(nullptr);
}

void TLumFuncEditor::Listen(TCustomAxisPanel* Chart) {
  if (listened_.Get() == Chart) return;
  if (TCustomAxisPanel* old = listened_.Get()) old->RemoveListener(this);
  listened_.Set(Chart);
  if (Chart) Chart->Listeners().Add(this);
}

void TLumFuncEditor::Notification(TComponent* AComponent, TOperation Operation) {
  TBaseSourceEditor::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == optionsForm_) optionsForm_ = nullptr;
  if (AComponent == selectForm_) selectForm_ = nullptr;
}

TClass TLumFuncEditor::SelectedClass() const {
  const int i = CBSources->ItemIndex();
  return i < 0 ? nullptr : ObjectClass(CBSources->Items()->Objects(i));
}

void TLumFuncEditor::FormShow(TObject* Sender) {
  TBaseSourceEditor::FormShow(Sender);
  PageControl1->SetActivePage(TabSource);
  Listen(TheSeries() ? TheSeries()->ParentChart() : nullptr);
  if (!selectForm_) {
    selectForm_ = new TSelectListForm(this);
    selectForm_->SetAlign(alClient);
    selectForm_->OnChange = HANDLER(SelectFormChange);
    EmbedEditorForm(selectForm_, TabSource);
    TranslateControl(selectForm_);
  }
  if (TChartSeries* s = TheSeries()) {
    FillSourceLists();
    TClass current = s->FunctionType() ? s->FunctionType()->ClassType() : nullptr;
    int index = -1;
    for (int i = 0; i < CBSources->Items()->Count() && current; ++i)
      if (ObjectClass(CBSources->Items()->Objects(i)) == current) index = i;
    CBSources->SetItemIndex(index);
    CBSourcesChange(CBSources);
    BApply->SetEnabled(false);
  }
  selectForm_->EnableButtons();
}

std::vector<TChartSeries*> TLumFuncEditor::Candidates() const {
  std::vector<TChartSeries*> r;
  TChartSeries* series = TheSeries();
  TComponent* owner = series ? series->Owner() : nullptr;
  if (!owner) return r;
  TCustomAxisPanel* chart = series->ParentChart();
  auto consider = [&](TComponent* c) {
    auto* s = dynamic_cast<TChartSeries*>(c);
    if (!s || s == leaving_ || !s->ShowInEditor() || s->HasState(csDestroying)) return;
    if (std::find(r.begin(), r.end(), s) != r.end()) return;
    if (chart ? chart->IsValidDataSource(series, s) : series->IsValidSourceOf(s)) r.push_back(s);
  };
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    TComponent* c = owner->Components(i);
    consider(c);
    for (int j = 0; j < c->ComponentCount(); ++j) consider(c->Components(j));
  }
  return r;
}

TChartSeries* TLumFuncEditor::Live(const TObject* Listed) const { return Listed ? Among(Candidates(), Listed) : nullptr; }

void TLumFuncEditor::FillSourceLists() {
  TChartSeries* series = TheSeries();
  if (!series || !selectForm_) return;
  const std::vector<TChartSeries*> live = Candidates();
  // What stays chosen: the pending choice while Apply is enabled, else the sources.
  std::vector<TChartSeries*> chosen;
  TChartSeries* single = nullptr;
  if (BApply->Enabled()) {
    TStrings* to = selectForm_->ToList->Items();
    for (int i = 0; i < to->Count(); ++i)
      if (TChartSeries* s = Among(live, to->Objects(i))) chosen.push_back(s);
    if (CBSingle->ItemIndex() >= 0) single = Among(live, CBSingle->Items()->Objects(CBSingle->ItemIndex()));
  } else if (series->HasDataSources()) {
    for (TComponent* c : *series->GetDataSources())
      if (TChartSeries* s = Among(live, c)) chosen.push_back(s);
    single = chosen.empty() ? nullptr : chosen.front();
  }
  fillingSingle_ = true;
  const std::string values = CBValues->ItemIndex() >= 0 ? CBValues->Text() : series->MandatoryValueList()->ValueSource();
  CBSingle->Items()->Clear();
  TStrings* from = selectForm_->FromList->Items();
  TStrings* to = selectForm_->ToList->Items();
  from->Clear();
  to->Clear();
  for (TChartSeries* s : live) {
    CBSingle->Items()->AddObject(s->GetTitleOrName(), s);
    if (std::find(chosen.begin(), chosen.end(), s) == chosen.end()) from->AddObject(s->GetTitleOrName(), s);
  }
  for (TChartSeries* s : chosen) to->AddObject(s->GetTitleOrName(), s);
  CBSingle->SetItemIndex(CBSingle->Items()->IndexOfObject(single));
  FillValueLists(single);
  if (single) CBValues->SetItemIndex(std::max(0, CBValues->Items()->IndexOf(values)));
  fillingSingle_ = false;
  selectForm_->EnableButtons();
}

void TLumFuncEditor::FillValueLists(TChartSeries* Source) {
  CBValues->Items()->Clear();
  if (Source)
    for (int i = 1; i < Source->ValuesList().Count(); ++i) CBValues->Items()->Add(Source->ValuesList()[i]->Name());
  CBValues->SetEnabled(Source != nullptr);
  BNone->SetEnabled(Source != nullptr);
  if (Source && CBValues->Items()->Count() > 0) CBValues->SetItemIndex(0);
}

void TLumFuncEditor::ApplyClass(TClass FunctionClass) {
  TChartSeries* series = TheSeries();
  if (!series) return;
  TBusy busy(busy_);
  TLumFunction* current = series->FunctionType();
  if (!FunctionClass) {
    if (current) series->SetFunction(nullptr);
    return;
  }
  if (current && current->ClassType() == FunctionClass) return;
  series->SetFunction(nullptr);
  CreateNewLumFunction(series, FunctionClass);
  BApply->SetEnabled(true);
}

void TLumFuncEditor::ShowOptions(TClass FunctionClass) {
  delete optionsForm_;
  optionsForm_ = nullptr;
  std::unique_ptr<TObject> made(FunctionClass ? FunctionClass->NewInstance(nullptr) : nullptr);
  auto* f = dynamic_cast<TLumFunction*>(made.get());
  const std::string name = f ? f->EditorClassName() : std::string();
  made.reset();
  TClass editor = name.empty() ? nullptr : GetClass(name);
  if (editor && editor->Create) {
    std::unique_ptr<TObject> page(editor->Create(this));
    if (auto* form = dynamic_cast<TForm*>(page.get())) {
      optionsForm_ = form;
      page.release();
      TranslateControl(form);
      EmbedEditorFormWithTag(form, TabOptions, std::intptr_t(TheSeries()));
    }
  }
  // No page to show (no name, or one no unit registered): no Options tab.
  TabOptions->SetTabVisible(optionsForm_ != nullptr);
}

void TLumFuncEditor::CBSourcesChange(TObject* Sender) {
  if (destroying_) return;
  TBaseSourceEditor::CBSourcesChange(Sender);
  const TClass chosen = SelectedClass();
  bool single = false;
  if (chosen) {
    ApplyClass(chosen);
    const TFunctionFlags flags = FlagsOf(chosen);
    single = !flags.NoSource && flags.Single;
    PanSingle->SetVisible(single);
    if (single) {
      LValues->SetVisible(!flags.HideValues);
      CBValues->SetVisible(!flags.HideValues);
    }
    ShowOptions(chosen);
    if (flags.NoSource && optionsForm_) PageControl1->SetActivePage(TabOptions);
    TabSource->SetTabVisible(!flags.NoSource);
    BApply->SetEnabled(true);
  } else {
    ShowOptions(nullptr);
    TabSource->SetTabVisible(true);
    PanSingle->SetVisible(false);
  }
  if (selectForm_) selectForm_->SetVisible(!single);
}

void TLumFuncEditor::SelectFormChange(TObject*) {
  if (!destroying_) BApply->SetEnabled(true);
}

void TLumFuncEditor::SpeedButton1Click(TObject*) {
  TClass chosen = SelectGalleryFunction(this);
  if (!chosen) return;
  const int i = CBSources->Items()->IndexOfObject(ClassObject(chosen));
  if (i < 0) return;
  CBSources->SetItemIndex(i);
  CBSourcesChange(CBSources);
}

void TLumFuncEditor::CBSingleChange(TObject*) {
  if (fillingSingle_) return;
  BApply->SetEnabled(true);
  const int i = CBSingle->ItemIndex();
  FillValueLists(i < 0 ? nullptr : Live(CBSingle->Items()->Objects(i)));
}

void TLumFuncEditor::CBValuesChange(TObject*) {
  if (!fillingSingle_) BApply->SetEnabled(true);
}

void TLumFuncEditor::BNoneClick(TObject*) {
  CBSingle->SetItemIndex(-1);
  FillValueLists(nullptr);
  BApply->SetEnabled(true);
}

void TLumFuncEditor::BApplyClick(TObject*) {
  TChartSeries* series = TheSeries();
  if (!series) return;
  TBusy busy(busy_);
  if (optionsForm_ && optionsForm_->OnCloseQuery) optionsForm_->CloseQuery();
  // Every chosen source is checked before the series' sources change, so a
  // refused one leaves them as they were.
  std::vector<TChartSeries*> chosen;
  const bool many = selectForm_ && selectForm_->Visible();
  if (many) {
    TStrings* to = selectForm_->ToList->Items();
    for (int i = 0; i < to->Count(); ++i)
      if (TChartSeries* s = Live(to->Objects(i))) chosen.push_back(s);
  } else if (CBSingle->ItemIndex() >= 0) {
    if (TChartSeries* s = Live(CBSingle->Items()->Objects(CBSingle->ItemIndex()))) chosen.push_back(s);
  }
  TCustomAxisPanel* chart = series->ParentChart();
  for (TChartSeries* s : chosen) {
    series->CheckCircularSource(s);
    if (!(chart ? chart->IsValidDataSource(series, s) : series->IsValidSourceOf(s)))
      throw ChartException(Format(LumMsg_InvalidSource, s->Name().empty() ? s->ClassName() : s->Name()));
  }
  series->BeginUpdate();
  try {
    series->SetDataSource(nullptr);
    if (!many) series->MandatoryValueList()->SetValueSource(std::string());
    for (TChartSeries* s : chosen) series->GetDataSources()->Add(s);
    if (!many && !chosen.empty() && CBValues->ItemIndex() >= 0)
      series->MandatoryValueList()->SetValueSource(CBValues->Text());
    ApplyClass(SelectedClass());
  } catch (...) {
    series->EndUpdate();
    throw;
  }
  series->EndUpdate();  // refreshes the series from its sources
  BApply->SetEnabled(false);
}

void TLumFuncEditor::LumEvent(const TLumEvent& Event) {
  // What the editor's own changes of the series set off is no news to it.
  if (destroying_ || busy_ > 0) return;
  auto* e = dynamic_cast<const TLumSeriesEvent*>(&Event);
  if (!e || (e->Event != seAdd && e->Event != seRemove && e->Event != seDataChanged)) return;
  if (e->Series && e->Series == TheSeries()) {
    BApply->SetEnabled(false);
  } else {
    // A series leaving may be on its way out of memory: it is listed no more.
    leaving_ = e->Event == seRemove ? e->Series : nullptr;
    FillSourceLists();
    leaving_ = nullptr;
  }
}

// ---------------------------------------------------------------------------
TBaseFunctionEditor::TBaseFunctionEditor(TComponent* AOwner, const char* Name) : TForm(AOwner) {
  SetupDialog(this, Name, "", 312, 213, bsNone);
  SetAlign(alClient);
  SetPosition(poScreenCenter);
  OnShow = HANDLER(FormShow);
  OnCloseQuery = HANDLER(FormCloseQuery);
  RecordDefaults(this);
}

TBaseFunctionEditor::~TBaseFunctionEditor() = default;

TLumFuncEditor* TBaseFunctionEditor::FuncEditor() const { return dynamic_cast<TLumFuncEditor*>(Owner()); }

void TBaseFunctionEditor::MarkChanged() {
  if (TLumFuncEditor* owner = FuncEditor()) owner->BApply->SetEnabled(true);
}

void TBaseFunctionEditor::FillSeriesList(TStrings* Items) {
  TLumFunction* f = IFunction();
  TChartSeries* series = f ? f->ParentSeries() : nullptr;
  if (series && series->ParentChart()) FillSeriesItems(Items, series->ParentChart()->SeriesList(), true);
}

void TBaseFunctionEditor::FormShow(TObject*) {
  Loading = true;
  // The Tag names the function, or the series that holds it (the function editor
  // embeds its options so); only one the owners reach is followed.
  TComponent* tagged = nullptr;
  if (TLumFuncEditor* owner = FuncEditor(); owner && owner->TheSeries() && Tag() == std::intptr_t(owner->TheSeries()))
    tagged = owner->TheSeries();
  else
    tagged = ComponentFromTag(this, Tag());
  auto* f = dynamic_cast<TLumFunction*>(tagged);
  if (auto* s = dynamic_cast<TChartSeries*>(tagged)) f = s->FunctionType();
  function_.Set(f);
  if (f) {
    LoadFunction();
    if (TLumFuncEditor* owner = FuncEditor()) owner->BApply->SetEnabled(false);
  }
  Loading = false;
  TranslateControl(this);
}

void TBaseFunctionEditor::FormCloseQuery(TObject*, bool& CanClose) {
  CanClose = true;
  TLumFuncEditor* owner = FuncEditor();
  TLumFunction* f = IFunction();
  if (!f) {
    TChartSeries* series = owner ? owner->TheSeries() : nullptr;
    TClass chosen = owner ? owner->SelectedClass() : nullptr;
    if (!series || !chosen) return;
    f = series->FunctionType();
    if (!f || f->ClassType() != chosen) f = CreateNewLumFunction(series, chosen);
    function_.Set(f);
  }
  f->BeginUpdate();
  try {
    ApplyFormChanges();
  } catch (...) {
    f->EndUpdate();
    throw;
  }
  f->EndUpdate();
}

// ---------------------------------------------------------------------------
TLumFunctionEditor::TLumFunctionEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner, "LumFunctionEditor") {
  CBStyle = DropDownList(this, this, "CBStyle", 110, 12, 170, {"All points", "Every number of points", "Every range"});
  LStyle = PlaceLabel(this, this, "LStyle", 8, 16, "&Calculate using:", CBStyle);
  ENum = PlaceControl<TEdit>(this, this, "ENum", 110, 44, 60, 21);
  ENum->SetText("0");
  ENum->SetEnabled(false);
  LNum = PlaceLabel(this, this, "LNum", 8, 48, "&Number of points:", ENum);
  BChange = PlaceControl<TButton>(this, this, "BChange", 178, 42, 75, 25, "&Change...");
  BChange->SetEnabled(false);
  CBAlign = DropDownList(this, this, "CBAlign", 110, 76, 100, {"First", "Center", "Last"});
  LAlign = PlaceLabel(this, this, "LAlign", 8, 80, "&Alignment:", CBAlign);
  CBStyle->OnChange = HANDLER(CBStyleChange);
  BChange->OnClick = HANDLER(BChangeClick);
  ENum->OnChange = HANDLER(ControlChange);
  CBAlign->OnChange = HANDLER(ControlChange);
  RecordDefaults(this);
}

void TLumFunctionEditor::LoadFunction() {
  TLumFunction* f = IFunction();
  if (!f) return;
  if (f->PeriodStyle() == psRange && !dynamic_cast<TLumMovingFunction*>(f)) CBStyle->SetItemIndex(2);
  else CBStyle->SetItemIndex(Round(f->Period()) == 0 ? 0 : 1);
  CBAlign->SetItemIndex(int(f->PeriodAlign()));
  CBStyleChange(CBStyle);
}

void TLumFunctionEditor::CBStyleChange(TObject*) {
  const int style = CBStyle->ItemIndex();
  const double period = IFunction() ? IFunction()->Period() : 0;
  ENum->SetEnabled(style == 1);
  BChange->SetEnabled(style == 2);
  if (style == 1) ENum->SetText(IntToStr(Round(period)));
  else if (style == 2) ENum->SetText(FloatToStr(period));
  else ENum->SetText("");
  if (ENum->Enabled() && ENum->CanFocus()) ENum->SetFocus();
  MarkChanged();
}

void TLumFunctionEditor::BChangeClick(TObject*) {
  TModalDialog<TAxisIncrement> d(new TAxisIncrement(this));
  long double period = 0;
  TryStrToFloat(ENum->Text(), period);
  d->Increment = double(period);
  d->IsExact = true;
  TLumFunction* f = IFunction();
  TChartSeries* series = f ? f->ParentSeries() : nullptr;
  auto* source = series ? dynamic_cast<TChartSeries*>(series->DataSource()) : nullptr;
  d->IsDateTime = source && source->XValues()->DateTime();
  d->Step = FindDateTimeStep(d->Increment);
  CenterEditorDialog(d.Get());
  TranslateControl(d.Get());
  if (d.Run()) ENum->SetText(FloatToStr(d->Increment));
}

void TLumFunctionEditor::ControlChange(TObject*) {
  if (!Loading) MarkChanged();
}

void TLumFunctionEditor::ApplyFormChanges() {
  TLumFunction* f = IFunction();
  if (!f) return;
  if (CBAlign->ItemIndex() >= 0) f->SetPeriodAlign(TFunctionPeriodAlign(CBAlign->ItemIndex()));
  f->SetPeriodStyle(CBStyle->ItemIndex() == 2 ? psRange : psNumPoints);
  long double period = 0;
  if (!TryStrToFloat(Trim(ENum->Text()), period)) period = 0;
  f->SetPeriod(double(period));
}

// ---------------------------------------------------------------------------
TCLVFuncEditor::TCLVFuncEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner, "CLVFuncEditor") {
  CBVolume = DropDownList(this, this, "CBVolume", 100, 12, 170);
  LVolume = PlaceLabel(this, this, "LVolume", 8, 16, "&Volume series:", CBVolume);
  CBAccumulate = PlaceControl<TCheckBox>(this, this, "CBAccumulate", 100, 44, 120, 17, "&Accumulate");
  CBVolume->OnChange = HANDLER(ControlChange);
  CBAccumulate->OnClick = HANDLER(ControlChange);
  RecordDefaults(this);
}

void TCLVFuncEditor::LoadFunction() {
  auto* f = dynamic_cast<TCLVFunction*>(IFunction());
  if (!f) return;
  CBVolume->Items()->Clear();
  CBVolume->Items()->Add("");
  FillSeriesList(CBVolume->Items());
  CBVolume->SetItemIndex(std::max(0, CBVolume->Items()->IndexOfObject(f->Volume())));
  CBAccumulate->SetChecked(f->Accumulate());
}

void TCLVFuncEditor::ApplyFormChanges() {
  auto* f = dynamic_cast<TCLVFunction*>(IFunction());
  if (!f) return;
  // Only a series the chart still holds: the list may name one freed since.
  TChartSeries* volume = nullptr;
  const int i = CBVolume->ItemIndex();
  TChartSeries* parent = f->ParentSeries();
  if (i > 0 && parent && parent->ParentChart()) {
    auto* listed = CBVolume->Items()->Objects(i);
    for (TChartSeries* s : parent->ParentChart()->SeriesList())
      if (static_cast<TObject*>(s) == listed) volume = s;
  }
  f->SetVolume(volume);
  f->SetAccumulate(CBAccumulate->Checked());
}

void TCLVFuncEditor::ControlChange(TObject*) {
  if (!Loading) MarkChanged();
}
