// The series page: the series combo, the rebuild for a series, the "Format", "General"
// and "Marks" tabs, and the chart events. The "Data Source" tab is in
// seriespage_source.cpp.
#include "editor/seriespage.h"

#include <algorithm>

#include "canvas/buttons.h"
#include "canvas/lumcanvas.h"
#include "chart/legend.h"
#include "chart/registry.h"
#include "editor/funceditor.h"
#include "editor/pointereditor.h"
#include "engine/helpers.h"
#include "engine/marks.h"
#include "engine/panel.h"
#include "gallery/chartgrid.h"
#include "gallery/chartlistbox.h"
#include "gallery/editortools.h"
#include "gallery/formateditor.h"
#include "gallery/formbuild.h"
#include "gallery/marginseditor.h"
#include "gallery/navigator.h"
#include "gallery/pendialog.h"
#include "gallery/shapeeditor.h"
#include "seriespage_detail.h"

using namespace formbuild;
using namespace seriespage_detail;

IMPLEMENT_CLASS(TFormLumSeries, TForm)

namespace {

constexpr int kWidth = 390, kHeight = 363, kTopHeight = 58;

const char* const MarkStyles[] = {"Value",           "Percent",         "Label",         "Label and Percent",
                                  "Label and Value", "Legend",          "Percent Total", "Label and Percent Total",
                                  "X value",         "X and Y values",  "Series Title",  "Point Index",
                                  "Percent Relative"};

// The gallery name as a label shows it: its first "&" doubled so that it shows, a
// line break as a blank.
std::string ClassCaption(const TChartSeries* Series) {
  std::string name = GallerySeriesName(Series);
  std::replace(name.begin(), name.end(), '\r', ' ');
  if (const auto amp = name.find('&'); amp != std::string::npos) name.insert(amp, "&");
  return name;
}

}  // namespace

TFormLumSeries::TFormLumSeries(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "FormLumSeries", "", kWidth, kHeight, bsNone);

  Panel1 = PlainPanel(this, this, "Panel1", alTop, 0, 0, kWidth, kTopHeight);
  CBSeries = DropDownList(this, Panel1, "CBSeries", 4, 4, 200);
  CBSeries->SetDropDownCount(16);
  PaintBox1 = PlaceControl<TPaintBox>(this, Panel1, "PaintBox1", 210, 4, 34, 21);
  PaintBox1->SetCursor(crLumHand);
  CBPersistent = CheckBox(this, Panel1, "CBPersistent", 254, 6, 100, "Persistent");
  CBPersistent->SetVisible(false);
  ImageSeries = PlaceControl<TImage>(this, Panel1, "ImageSeries", 4, 31, 24, 24);
  ImageSeries->SetCenter(true);
  ImageSeries->SetTransparent(true);
  LabelSeriesClass = PlaceLabel(this, Panel1, "LabelSeriesClass", 32, 36, "");

  PageSeries = ClientPages(this, this, "PageSeries", 0, kTopHeight, kWidth, kHeight - kTopHeight, true);
  TheTabSheet = Sheet(this, PageSeries, "TheTabSheet", "Format");
  TabGeneral = Sheet(this, PageSeries, "TabGeneral", "General");
  TabMarks = Sheet(this, PageSeries, "TabMarks", "Marks");
  TabDataSource = Sheet(this, PageSeries, "TabDataSource", "Data Source");

  // ---- General: the series' own settings on the left, axes and legend on the right.
  CBCursor = DropDownList(this, TabGeneral, "CBCursor", 72, 8, 96);
  CBCursor->SetSorted(true);
  LCursor = PlaceLabel(this, TabGeneral, "LCursor", 8, 12, "&Cursor:", CBCursor);
  SpeedButton1 = PlaceControl<TSpeedButton>(this, TabGeneral, "SpeedButton1", 170, 8, 22, 21, "...");
  const auto depth = EditWithUpDown(this, TabGeneral, "LDepth", "&Depth:", "EDepth", "UDDepth", 8, 72, 36, 52, 0, 1200);
  LDepth = depth.Label, EDepth = depth.Edit, UDDepth = depth.UpDown;
  CBDepth = CheckBox(this, TabGeneral, "CBDepth", 130, 38, 60, "Auto");
  CBFormat = PlaceControl<TComboFlat>(this, TabGeneral, "CBFormat", 72, 64, 96, 21);
  AddNumericFormats(CBFormat->Items());
  LFormat = PlaceLabel(this, TabGeneral, "LFormat", 8, 68, "&Values:", CBFormat);
  Button1 = PlaceControl<TButton>(this, TabGeneral, "Button1", 170, 64, 22, 21, "...");
  EPercentFormat = PlaceControl<TEdit>(this, TabGeneral, "EPercentFormat", 72, 92, 96, 21);
  LPercentFormat = PlaceLabel(this, TabGeneral, "LPercentFormat", 8, 96, "&Percents:", EPercentFormat);
  Button2 = PlaceControl<TButton>(this, TabGeneral, "Button2", 170, 92, 22, 21, "...");
  GBSort = PlaceControl<TGroupBox>(this, TabGeneral, "GBSort", 8, 122, 184, 74, "Sort:");
  CBSortBy = DropDownList(this, GBSort, "CBSortBy", 8, 18, 168);
  CBSortOrder = DropDownList(this, GBSort, "CBSortOrder", 8, 45, 168, {"Ascending", "Descending"});
  CBShowInEditor = CheckBox(this, TabGeneral, "CBShowInEditor", 8, 204, 184, "Show in this editor");
  CBShowInEditor->SetVisible(false);
  BVisual = PlaceControl<TButton>(this, TabGeneral, "BVisual", 8, 228, 75, 25, "Visual...");
  BVisual->SetVisible(false);

  GBHorizAxis = PlaceControl<TGroupBox>(this, TabGeneral, "GBHorizAxis", 200, 4, 174, 68, "Horizontal Axis:");
  CBHorizAxis = DropDownList(this, GBHorizAxis, "CBHorizAxis", 8, 18, 158);
  CBXDateTime = CheckBox(this, GBHorizAxis, "CBXDateTime", 8, 45, 150, "Dat&eTime");
  GBVertAxis = PlaceControl<TGroupBox>(this, TabGeneral, "GBVertAxis", 200, 76, 174, 68, "Vertical Axis:");
  CBVertAxis = DropDownList(this, GBVertAxis, "CBVertAxis", 8, 18, 158);
  CBYDateTime = CheckBox(this, GBVertAxis, "CBYDateTime", 8, 45, 150, "D&ateTime");
  GBLegend = PlaceControl<TGroupBox>(this, TabGeneral, "GBLegend", 200, 148, 174, 74, "Legend:");
  CBZDateTime = CheckBox(this, TabGeneral, "CBZDateTime", 208, 230, 150, "&Z DateTime");
  CBShowInLegend = CheckBox(this, GBLegend, "CBShowInLegend", 8, 18, 158, "&Show In Legend");
  ELegendTitle = PlaceControl<TEdit>(this, GBLegend, "ELegendTitle", 44, 43, 122, 21);
  LLegendTitle = PlaceLabel(this, GBLegend, "LLegendTitle", 8, 47, "Text:", ELegendTitle);

  // ---- Marks
  PageControlMarks = ClientPages(this, TabMarks, "PageControlMarks", 0, 0, 382, 280, true);
  TabMarkStyle = Sheet(this, PageControlMarks, "TabMarkStyle", "Style");
  TabArrows = Sheet(this, PageControlMarks, "TabArrows", "Arrows");
  TabSymbol = Sheet(this, PageControlMarks, "TabSymbol", "Symbol");
  TabMargins = Sheet(this, PageControlMarks, "TabMargins", "Margins");

  CBMarksVisible = CheckBox(this, TabMarkStyle, "CBMarksVisible", 8, 8, 150, "&Visible");
  CBMarkClip = CheckBox(this, TabMarkStyle, "CBMarkClip", 8, 30, 150, "Cl&ipped");
  CBAllVisible = CheckBox(this, TabMarkStyle, "CBAllVisible", 8, 52, 150, "All Series Visi&ble");
  CBMultiLine = CheckBox(this, TabMarkStyle, "CBMultiLine", 8, 74, 150, "&Multi line");
  CBFontSeriesColor = CheckBox(this, TabMarkStyle, "CBFontSeriesColor", 8, 96, 150, "&Font Series Color");
  const auto markRows = EditUpDownRows(
      this, TabMarkStyle, {{"LMarksAngle", "&Angle:", "SEMarksAngle", "UDMarksAngle"}, {"LEvery", "Draw &every:", "EMarksEvery", "UDEvery"}},
      8, 76, 124, 56, 0, 360);
  LMarksAngle = markRows[0].Label, SEMarksAngle = markRows[0].Edit, UDMarksAngle = markRows[0].UpDown;
  LEvery = markRows[1].Label, EMarksEvery = markRows[1].Edit, UDEvery = markRows[1].UpDown;
  UDMarksAngle->SetIncrement(5);
  UDMarksAngle->SetWrap(true);
  UDMarksAngle->SetThousands(false);
  UDEvery->SetMin(1);
  UDEvery->SetMax(5000);
  CBTextAlign = DropDownList(this, TabMarkStyle, "CBTextAlign", 76, 180, 80, {"Left", "Right", "Center"});
  LTextAlign = PlaceLabel(this, TabMarkStyle, "LTextAlign", 8, 184, "&Text Align:", CBTextAlign);
  RGMarkStyle = PlaceControl<TRadioGroup>(this, TabMarkStyle, "RGMarkStyle", 170, 2, 198, 248, "&Style:");
  for (const char* s : MarkStyles) RGMarkStyle->Items()->Add(s);

  BMarkLinCol = PlaceControl<TButtonPen>(this, TabArrows, "BMarkLinCol", 8, 8, 100, 25, "&Border...");
  BCalloutPointer = PlaceControl<TButton>(this, TabArrows, "BCalloutPointer", 8, 40, 100, 25, "&Pointer...");
  const auto arrowRows = EditUpDownRows(this, TabArrows,
                                        {{"LArrowLength", "&Length:", "SEArrowLength", "UDArrowsLength"},
                                         {"LArrowDist", "&Distance:", "EArrowDist", "UDArrowDist"}},
                                        128, 204, 10, 64, -1000, 1000);
  LArrowLength = arrowRows[0].Label, SEArrowLength = arrowRows[0].Edit, UDArrowsLength = arrowRows[0].UpDown;
  LArrowDist = arrowRows[1].Label, EArrowDist = arrowRows[1].Edit, UDArrowDist = arrowRows[1].UpDown;
  CBHead = DropDownList(this, TabArrows, "CBHead", 204, 70, 80, {"None", "Line", "Solid"});
  LHead = PlaceLabel(this, TabArrows, "LHead", 128, 74, "&Arrow head:", CBHead);
  const auto head = EditWithUpDown(this, TabArrows, "LHeadSize", "&Size:", "Edit1", "UDHeadSize", 128, 204, 98, 64,
                                   -1000, 1000);
  LHeadSize = head.Label, Edit1 = head.Edit, UDHeadSize = head.UpDown;
  for (TUpDown* u : {UDArrowsLength, UDArrowDist, UDHeadSize}) u->SetThousands(false);

  BuildDataSourceTab(this);

  PageSeries->SetActivePage(TheTabSheet);
  PageControlMarks->SetActivePage(TabMarkStyle);
  SetActiveControl(CBSeries);

  OnShow = HANDLER(FormShow);
  OnCloseQuery = HANDLER(FormCloseQuery);
  CBSeries->OnChange = HANDLER(CBSeriesChange);
  PageSeries->OnChange = HANDLER(PageSeriesChange);
  PageSeries->OnChanging = HANDLER(PageSeriesChanging);
  CBPersistent->OnClick = HANDLER(CBPersistentClick);
  PaintBox1->OnPaint = HANDLER(PaintBox1Paint);
  PaintBox1->OnClick = HANDLER(PaintBox1Click);
  CBCursor->OnChange = HANDLER(CBCursorChange);
  SpeedButton1->OnClick = HANDLER(SpeedButton1Click);
  EDepth->OnChange = HANDLER(EDepthChange);
  CBDepth->OnClick = HANDLER(CBDepthClick);
  CBFormat->OnChange = HANDLER(CBFormatChange);
  Button1->OnClick = HANDLER(Button1Click);
  EPercentFormat->OnChange = HANDLER(EPercentFormatChange);
  Button2->OnClick = HANDLER(Button2Click);
  CBHorizAxis->OnChange = HANDLER(CBHorizAxisChange);
  CBVertAxis->OnChange = HANDLER(CBVertAxisChange);
  for (TCheckBox* c : {CBXDateTime, CBYDateTime, CBZDateTime}) c->OnClick = HANDLER(DateTimeClick);
  CBShowInEditor->OnClick = HANDLER(CBShowInEditorClick);
  CBSortBy->OnChange = HANDLER(CBSortChange);
  CBSortOrder->OnChange = HANDLER(CBSortChange);
  CBShowInLegend->OnClick = HANDLER(CBShowInLegendClick);
  ELegendTitle->OnChange = HANDLER(ELegendTitleChange);
  BVisual->OnClick = HANDLER(BVisualClick);
  PageControlMarks->OnChange = HANDLER(PageControlMarksChange);
  CBMarksVisible->OnClick = HANDLER(CBMarksVisibleClick);
  CBMarkClip->OnClick = HANDLER(CBMarkClipClick);
  SEMarksAngle->OnChange = HANDLER(SEMarksAngleChange);
  EMarksEvery->OnChange = HANDLER(EMarksEveryChange);
  CBMultiLine->OnClick = HANDLER(CBMultiLineClick);
  CBAllVisible->OnClick = HANDLER(CBAllVisibleClick);
  RGMarkStyle->OnClick = HANDLER(RGMarkStyleClick);
  CBTextAlign->OnChange = HANDLER(CBTextAlignChange);
  CBFontSeriesColor->OnClick = HANDLER(CBFontSeriesColorClick);
  SEArrowLength->OnChange = HANDLER(SEArrowLengthChange);
  EArrowDist->OnChange = HANDLER(EArrowDistChange);
  BCalloutPointer->OnClick = HANDLER(BCalloutPointerClick);
  CBHead->OnChange = HANDLER(CBHeadChange);
  Edit1->OnChange = HANDLER(Edit1Change);
}

TFormLumSeries::~TFormLumSeries() {
  destroying_ = true;
  OnSeriesEvent = {};
  RemoveTypeEditor();
  BMarkLinCol->LinkProperty(nullptr, "");
  SetSeriesListBox(nullptr);
  SetTheSeries(nullptr);
  SetTheChart(nullptr);
}

// ---- The series and its chart ------------------------------------------------
void TFormLumSeries::SetTheSeries(TChartSeries* Value) {
  if (series_ == Value) return;
  if (series_) RemoveFreeNotification(series_);
  series_ = Value;
  if (series_) FreeNotification(series_);
}

void TFormLumSeries::SetTheChart(TCustomAxisPanel* Value) {
  if (chart_ == Value) return;
  if (chart_) {
    chart_->RemoveListener(this);
    RemoveFreeNotification(chart_);
  }
  chart_ = Value;
  if (chart_) {
    FreeNotification(chart_);
    chart_->Listeners().Add(this);
  }
}

void TFormLumSeries::SetSeriesListBox(TChartListBox* Value) {
  if (listBox_ == Value) return;
  if (listBox_) {
    if (listBox_->OtherItems == CBSeries->Items()) listBox_->OtherItems = nullptr;
    RemoveFreeNotification(listBox_);
  }
  listBox_ = Value;
  if (listBox_) {
    FreeNotification(listBox_);
    listBox_->OtherItems = CBSeries->Items();
  }
}

void TFormLumSeries::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent) return;
  if (AComponent == listBox_) listBox_ = nullptr;
  if (AComponent == chart_) chart_ = nullptr;  // it took its listener list with it
  if (AComponent == series_) {
    // Freed without a word to the chart's listeners (its chart is being freed).
    DropSeries();
    SetTheSeries(nullptr);
    if (!destroying_) ShowNoSeries();
  }
  if (AComponent == sourceEditor_) sourceEditor_ = nullptr;
  if (AComponent == typeEditor_) typeEditor_ = nullptr;
  if (AComponent == symbolEditor_) symbolEditor_ = nullptr, symbolVisible_ = nullptr;
  if (AComponent == marginsEditor_) marginsEditor_ = nullptr;
  // Rows of a freed series go; the others stay.
  if (!destroying_ && !listBox_) {
    const int row = CBSeries->Items()->IndexOfObject(AComponent);
    if (row >= 0) CBSeries->Items()->Delete(row);
  }
}

void TFormLumSeries::DropSeries() {
  // Dialogs opened on the series' parts (its callout's pointer, its visuals) go first.
  EndModalDialogs(this);
  TChartSeries* gone = series_;
  if (gone == lastSeries_) lastSeries_ = nullptr;
  RemoveTypeEditor();
  BMarkLinCol->LinkProperty(nullptr, "");
  delete symbolEditor_;  // made again for the next series' symbol
  symbolEditor_ = nullptr;
  symbolVisible_ = nullptr;
  if (marginsEditor_) marginsEditor_->LoadMargins(nullptr);
  delete sourceEditor_;
  sourceEditor_ = nullptr;
  sourceStyle_ = -1;
  if (ChartGrid1->Series() == gone) ChartGrid1->SetSeries(nullptr);
}

void TFormLumSeries::FillSeriesCombo() {
  TChartSeries* keep = series_;
  if (listBox_) {
    CBSeries->Items()->Assign(listBox_->Items());
  } else {
    CBSeries->Items()->Clear();
    if (chart_) FillSeriesItems(CBSeries->Items(), chart_->SeriesList());
  }
  CBSeries->SetItemIndex(keep ? CBSeries->Items()->IndexOfObject(keep) : -1);
}

void TFormLumSeries::SelectSeries(TChartSeries* Value) {
  if (Value && CBSeries->Items()->IndexOfObject(Value) < 0) {
    if (!listBox_ && Value->ParentChart()) {
      SetTheChart(Value->ParentChart());
      FillSeriesCombo();
    }
    if (CBSeries->Items()->IndexOfObject(Value) < 0) CBSeries->Items()->AddObject(Value->GetTitleOrName(), Value);
  }
  CBSeries->SetItemIndex(Value ? CBSeries->Items()->IndexOfObject(Value) : -1);
  CBSeriesChange(CBSeries);
}

void TFormLumSeries::ShowNoSeries() {
  ImageSeries->SetVisible(false);
  PageSeries->SetVisible(false);
  LabelSeriesClass->SetCaption("");
  PaintBox1->SetVisible(false);
}

void TFormLumSeries::CBSeriesChange(TObject*) {
  const bool was = changing_;
  changing_ = true;
  const std::string caption = PageSeries->ActivePage() ? PageSeries->ActivePage()->Caption() : std::string();
  const int i = CBSeries->ItemIndex();
  auto* chosen = i >= 0 ? dynamic_cast<TChartSeries*>(CBSeries->Items()->Objects(i)) : nullptr;
  if (chosen && chosen != series_ && sourceEditor_ && !sourceEditor_->CloseQuery()) {
    // The source editor keeps its pending changes: the series stays.
    CBSeries->SetItemIndex(series_ ? CBSeries->Items()->IndexOfObject(series_) : -1);
    if (listBox_ && series_) listBox_->SelectSeries(series_);
    changing_ = was;
    return;
  }
  if (!chosen) {
    if (series_) DropSeries();
    SetTheSeries(nullptr);
    ShowNoSeries();
  } else {
    SetTheSeries(chosen);
    if (listBox_ && listBox_->SelectedSeries() != chosen) {
      listBox_->ClearSelection();
      listBox_->SelectSeries(chosen);
    }
    if (chosen != lastSeries_) {
      Rebuild(caption);
      lastSeries_ = chosen;
    }
  }
  changing_ = was;
}

void TFormLumSeries::RemoveTypeEditor() {
  delete typeEditor_;
  typeEditor_ = nullptr;
  // Tabs a type editor added beside the four of its own.
  for (int i = PageSeries->PageCount() - 1; i >= 0; --i) {
    TTabSheet* t = PageSeries->Pages(i);
    if (t != TheTabSheet && t != TabGeneral && t != TabMarks && t != TabDataSource && !t->HasState(csDestroying))
      delete t;
  }
}

void TFormLumSeries::Rebuild(const std::string& ActiveCaption) {
  TChartSeries* s = series_;
  SetTheChart(s->ParentChart());
  if (!listBox_ && CBSeries->Items()->IndexOfObject(s) < 0) FillSeriesCombo();
  FillDataSourceStyles();

  ImageSeries->Picture()->SetGraphic(nullptr);
  TBitmap glyph;
  if (LoadClassBitmap(s, &glyph)) ImageSeries->Picture()->SetBitmap(&glyph);
  PaintBox1->SetVisible(s->OneColor());
  LabelSeriesClass->SetCaption(ClassCaption(s) + ": " + s->GetTitleOrName());

  ImageSeries->SetVisible(true);
  PageSeries->SetVisible(true);
  TabGeneral->SetTabVisible(ShowGeneralTab);
  TabMarks->SetTabVisible(ShowMarksTab);
  TabDataSource->SetTabVisible(AllowDataSource && (s->Locked() & (1 | 32)) == 0);
  GBHorizAxis->SetVisible(s->UseAxis());
  GBVertAxis->SetVisible(s->UseAxis());
  CBPersistent->SetVisible(ShowPersistent && (s->Locked() & 1) == 0);
  if (CBPersistent->Visible()) CBPersistent->SetChecked((s->Locked() & 16) != 0);

  // Sub-editors of the previous series edit this one's parts from now on.
  BMarkLinCol->LinkProperty(nullptr, "");
  if (symbolEditor_) symbolEditor_->LoadShape(s->Marks()->Symbol());
  if (marginsEditor_) marginsEditor_->LoadMargins(s->Marks()->Margins());
  if (sourceEditor_) {
    delete sourceEditor_;  // its close query was asked before the series changed
    sourceEditor_ = nullptr;
  }
  sourceStyle_ = -1;

  RemoveTypeEditor();
  const std::string name = s->EditorClassName();
  TClass editor = name.empty() ? nullptr : GetClass(name);
  if (editor && editor->Create) {
    std::unique_ptr<TObject> made(editor->NewInstance(this));
    if (auto* form = dynamic_cast<TForm*>(made.get())) {
      typeEditor_ = form;
      made.release();
      FreeNotification(form);
      form->SetAlign(alClient);
      TranslateControl(form);
      EmbedEditorFormWithTag(form, TheTabSheet, std::intptr_t(s));
    }
  }
  // No form of that name: no "Format" tab.
  TheTabSheet->SetTabVisible(typeEditor_ != nullptr);

  SelectTab(ActiveCaption);
  CBDataSourcestyle->SetItemIndex(-1);
  PageSeriesChange(PageSeries);
  PaintBox1->Invalidate();
}

void TFormLumSeries::SelectTab(const std::string& Caption) {
  TTabSheet* tab = nullptr;
  for (int i = 0; i < PageSeries->PageCount() && !tab; ++i)
    if (PageSeries->Pages(i)->Caption() == Caption && PageSeries->Pages(i)->TabVisible()) tab = PageSeries->Pages(i);
  if (!tab) tab = TheTabSheet->TabVisible() ? TheTabSheet : TabGeneral;
  if (!tab->TabVisible()) tab = PageSeries->FindNextPage(tab, true, true);
  PageSeries->SetActivePage(tab);
}

void TFormLumSeries::FormShow(TObject*) {
  changing_ = false;
  TChartSeries* s = series_;
  CBShowInEditor->SetVisible(s && s->HasState(csDesigning));
  if (CBShowInEditor->Visible()) {
    changing_ = true;
    CBShowInEditor->SetChecked(s->ShowInEditor());
    changing_ = false;
  }
}

void TFormLumSeries::PageSeriesChange(TObject*) {
  changingPage_ = false;
  if (!series_) return;
  const bool was = changing_;
  changing_ = true;
  TTabSheet* active = PageSeries->ActivePage();
  if (active == TabGeneral) FillGeneral();
  else if (active == TabMarks) FillMarks();
  else if (active == TabDataSource) FillDataSource();
  changing_ = was;
}

void TFormLumSeries::PageSeriesChanging(TObject* Sender, bool& AllowChange) {
  AllowChange = !sourceEditor_ || sourceEditor_->CloseQuery();
  // Asked by the page control itself: nothing writes until the change is done.
  if (Sender != Owner()) changingPage_ = AllowChange;
}

void TFormLumSeries::FormCloseQuery(TObject*, bool& CanClose) {
  CanClose = !sourceEditor_ || sourceEditor_->CloseQuery();
}

void TFormLumSeries::CBPersistentClick(TObject*) {
  if (!Editing()) return;
  const unsigned char l = series_->Locked();
  series_->SetLocked(CBPersistent->Checked() ? (l | 16) : (l & ~16));
}

void TFormLumSeries::PaintBox1Paint(TObject*) {
  if (!series_) return;
  TLumCanvas3D canvas;
  canvas.AttachCanvas(PaintBox1->Canvas());
  PaintSeriesLegend(series_, &canvas, Rect(0, 4, PaintBox1->Width(), PaintBox1->Height() - 4));
  canvas.AttachCanvas(nullptr);
}

void TFormLumSeries::PaintBox1Click(TObject*) {
  if (!series_) return;
  TColor c = series_->SeriesColor();
  if (EditColor(this, c)) series_->SetSeriesColor(c);
}

// ---- Chart events -------------------------------------------------------------
void TFormLumSeries::LumEvent(const TLumEvent& Event) {
  auto* e = dynamic_cast<const TLumSeriesEvent*>(&Event);
  if (!e || destroying_) return;
  if (e->Event == seRepaint) PaintBox1->Invalidate();
  if (e->Event == seRemove && e->Series && e->Series == series_) {
    TChartSeries* gone = series_;
    DropSeries();
    SetTheSeries(nullptr);
    // The list box takes the combo's row with its own; without one it goes here.
    if (!listBox_) {
      const int row = CBSeries->Items()->IndexOfObject(gone);
      if (row >= 0) CBSeries->Items()->Delete(row);
    }
    if (CBSeries->ItemIndex() >= 0 && CBSeries->Items()->Objects(CBSeries->ItemIndex()) == gone)
      CBSeries->SetItemIndex(-1);
    CBSeriesChange(CBSeries);
  } else if (!listBox_ && (e->Event == seAdd || e->Event == seChangeTitle || e->Event == seDataChanged ||
                           (e->Event == seRemove && e->Series != series_))) {
    if (e->Event != seRemove) FillSeriesCombo();
    else if (const int row = CBSeries->Items()->IndexOfObject(e->Series); row >= 0) CBSeries->Items()->Delete(row);
  }
  if (e->Event == seChangeTitle && series_ && e->Series == series_)
    LabelSeriesClass->SetCaption(ClassCaption(series_) + ": " + series_->GetTitleOrName());
  if (OnSeriesEvent.Assigned()) OnSeriesEvent(this, e->Event, e->Series);
}

// ---- General ------------------------------------------------------------------
void TFormLumSeries::FillGeneral() {
  TChartSeries* s = series_;
  FillCursorCombo(CBCursor, s->Cursor());
  CBDepth->SetChecked(s->Depth() == -1);
  if (s->Depth() >= 0) UDDepth->SetPosition(s->Depth());
  CBFormat->SetText(DecimalSeparatorToDot(s->ValueFormat()));
  EPercentFormat->SetText(DecimalSeparatorToDot(s->PercentFormat()));
  FillAxisCombo(CBHorizAxis, true);
  FillAxisCombo(CBVertAxis, false);
  CBXDateTime->SetChecked(s->XValues()->DateTime());
  CBYDateTime->SetChecked(s->YValues()->DateTime());
  TChartValueList* z = s->GetValueListByName("Z");
  CBZDateTime->SetVisible(z != nullptr);
  if (z) CBZDateTime->SetChecked(z->DateTime());
  CBShowInEditor->SetVisible(s->HasState(csDesigning));
  CBShowInEditor->SetChecked(s->ShowInEditor());
  FillSort();
  CBShowInLegend->SetChecked(s->ShowInLegend());
  ELegendTitle->SetText(s->LegendTitle());
  BVisual->SetVisible(VisualChooserHook != nullptr);
}

// "Top", "Bottom", "Top and Bottom" (or the vertical three), then "Custom n" for each
// custom axis of that direction, n its place among the chart's custom axes.
void TFormLumSeries::FillAxisCombo(TComboFlat* Combo, bool Horizontal) {
  std::vector<int>& numbers = Horizontal ? horizCustom_ : vertCustom_;
  numbers.clear();
  Combo->Items()->Clear();
  static const char* const Standard[2][3] = {{"Left", "Right", "Left and Right"}, {"Top", "Bottom", "Top and Bottom"}};
  for (const char* s : Standard[Horizontal]) Combo->Items()->Add(s);
  TChartAxis* custom = Horizontal ? series_->CustomHorizAxis() : series_->CustomVertAxis();
  int index = Horizontal ? int(series_->HorizAxis()) : int(series_->VertAxis());
  if (chart_) {
    TChartCustomAxes* axes = chart_->CustomAxes();
    for (int n = 0; n < axes->Count(); ++n) {
      if (axes->Items(n)->Horizontal() != Horizontal) continue;
      numbers.push_back(n);
      Combo->Items()->Add("Custom " + std::to_string(n));
      if (axes->Items(n) == custom) index = Combo->Items()->Count() - 1;
    }
  }
  Combo->SetItemIndex(index < Combo->Items()->Count() ? index : -1);
}

void TFormLumSeries::CBCursorChange(TObject*) {
  if (Editing()) series_->SetCursor(CursorFromName(series_->Cursor(), CBCursor->SelectedText()));
}

void TFormLumSeries::SpeedButton1Click(TObject*) {
  if (!series_) return;
  const TCursor c = EditMouseCursor(series_, series_->Cursor());
  if (!series_) return;
  series_->SetCursor(c);
  FillCursorCombo(CBCursor, c);
}

void TFormLumSeries::EDepthChange(TObject*) {
  if (!Editing()) return;
  series_->SetDepth(UDDepth->Position());
  changing_ = true;
  CBDepth->SetChecked(false);
  changing_ = false;
}

void TFormLumSeries::CBDepthClick(TObject*) {
  if (Editing()) series_->SetDepth(CBDepth->Checked() ? -1 : UDDepth->Position());
}

void TFormLumSeries::CBFormatChange(TObject*) {
  if (Editing()) series_->SetValueFormat(DotToDecimalSeparator(CBFormat->Text()));
}

void TFormLumSeries::Button1Click(TObject*) { ChooseFormat(false); }

// The format chooser on the series' value (or percent) format, dates offered; the
// choice shows with "." and is written.
void TFormLumSeries::ChooseFormat(bool Percent) {
  if (!series_) return;
  std::string result;
  if (!EditValueFormat(this, Percent ? series_->PercentFormat() : series_->ValueFormat(), result, true) || !series_)
    return;
  TControl* field = Percent ? static_cast<TControl*>(EPercentFormat) : CBFormat;
  field->SetText(DecimalSeparatorToDot(result));
  if (Percent) series_->SetPercentFormat(result);
  else series_->SetValueFormat(result);
}

void TFormLumSeries::EPercentFormatChange(TObject*) {
  if (Editing()) series_->SetPercentFormat(DotToDecimalSeparator(EPercentFormat->Text()));
}

void TFormLumSeries::Button2Click(TObject*) { ChooseFormat(true); }

void TFormLumSeries::CBHorizAxisChange(TObject*) {
  const int i = CBHorizAxis->ItemIndex();
  if (!Editing() || i < 0) return;
  if (i < 3) series_->SetHorizAxis(THorizAxis(i));
  else if (chart_ && size_t(i - 3) < horizCustom_.size() && horizCustom_[size_t(i - 3)] < chart_->CustomAxes()->Count())
    series_->SetCustomHorizAxis(chart_->CustomAxes()->Items(horizCustom_[size_t(i - 3)]));
}

void TFormLumSeries::CBVertAxisChange(TObject*) {
  const int i = CBVertAxis->ItemIndex();
  if (!Editing() || i < 0) return;
  if (i < 3) series_->SetVertAxis(TVertAxis(i));
  else if (chart_ && size_t(i - 3) < vertCustom_.size() && vertCustom_[size_t(i - 3)] < chart_->CustomAxes()->Count())
    series_->SetCustomVertAxis(chart_->CustomAxes()->Items(vertCustom_[size_t(i - 3)]));
}

void TFormLumSeries::DateTimeClick(TObject* Sender) {
  if (!Editing()) return;
  TChartValueList* list = Sender == CBXDateTime   ? series_->XValues()
                          : Sender == CBYDateTime ? series_->YValues()
                                                  : series_->GetValueListByName("Z");
  if (list) list->SetDateTime(static_cast<TCheckBox*>(Sender)->Checked());
}

void TFormLumSeries::CBShowInEditorClick(TObject*) {
  if (Editing()) series_->SetShowInEditor(CBShowInEditor->Checked());
}

// "None", "Text", then each value list that has a name; the list (or labels) that
// orders the points is selected with its direction.
void TFormLumSeries::FillSort() {
  CBSortBy->Items()->Clear();
  CBSortBy->Items()->Add("None");
  CBSortBy->Items()->Add("Text");
  int index = 0;
  CBSortOrder->SetItemIndex(0);
  for (TChartValueList* l : series_->ValuesList()) {
    if (l->Name().empty()) continue;
    CBSortBy->Items()->AddObject(l->Name(), l);
    if (l->Order() != loNone) {
      index = CBSortBy->Items()->Count() - 1;
      CBSortOrder->SetItemIndex(l->Order() == loAscending ? 0 : 1);
    }
  }
  CBSortBy->SetItemIndex(index);
  EnableSortOrder();
}

void TFormLumSeries::EnableSortOrder() { CBSortOrder->SetEnabled(CBSortBy->ItemIndex() > 0); }

void TFormLumSeries::CBSortChange(TObject*) {
  EnableSortOrder();
  if (!Editing()) return;
  const int i = CBSortBy->ItemIndex();
  const TChartListOrder order = CBSortOrder->ItemIndex() == 1 ? loDescending : loAscending;
  auto* chosen = i >= 2 ? static_cast<TChartValueList*>(CBSortBy->Items()->Objects(i)) : nullptr;
  for (TChartValueList* l : series_->ValuesList())
    if (l != chosen) l->SetOrder(loNone);
  if (i == 1) series_->SortPoints(order);
  else if (chosen) series_->SortByValues(chosen, order);
  else series_->Repaint();
}

void TFormLumSeries::CBShowInLegendClick(TObject*) {
  if (Editing()) series_->SetShowInLegend(CBShowInLegend->Checked());
}

void TFormLumSeries::ELegendTitleChange(TObject*) {
  if (Editing()) series_->SetLegendTitle(ELegendTitle->Text());
}

void TFormLumSeries::BVisualClick(TObject*) {
  if (!series_) return;
  TVisualsHolder holder(series_);
  holder.SetVisual(series_->Visual());
  EditVisuals(this, &holder);
  if (series_) series_->SetVisual(holder.Visual());
}

// ---- Marks --------------------------------------------------------------------
void TFormLumSeries::FillMarks() {
  TTabSheet* active = PageControlMarks->ActivePage();
  if (active == TabMarkStyle) FillMarkStyle();
  else if (active == TabArrows) FillArrows();
  else if (active == TabSymbol) FillSymbol();
  else if (active == TabMargins) FillMargins();
}

void TFormLumSeries::PageControlMarksChange(TObject*) {
  if (!series_) return;
  const bool was = changing_;
  changing_ = true;
  FillMarks();
  changing_ = was;
}

bool TFormLumSeries::AllMarksVisible() const {
  if (!chart_) return false;
  for (TChartSeries* s : chart_->SeriesList())
    if (!s->Marks()->Visible()) return false;
  return true;
}

void TFormLumSeries::FillMarkStyle() {
  TSeriesMarks* m = series_->Marks();
  CBMarksVisible->SetChecked(m->Visible());
  CBMarkClip->SetChecked(m->Clip());
  CBAllVisible->SetChecked(AllMarksVisible());
  CBMultiLine->SetChecked(m->MultiLine());
  CBFontSeriesColor->SetChecked(m->FontSeriesColor());
  UDMarksAngle->SetPosition(m->Angle());
  UDEvery->SetPosition(m->DrawEvery());
  CBTextAlign->SetItemIndex(int(m->TextAlign()));
  RGMarkStyle->SetItemIndex(int(m->Style()));
  EnableMultiLine();
}

// Multi line matters only for the styles whose texts have two parts.
void TFormLumSeries::EnableMultiLine() {
  const int s = RGMarkStyle->ItemIndex();
  CBMultiLine->SetEnabled(s == smsLabelPercent || s == smsLabelValue || s == smsPercentTotal ||
                          s == smsLabelPercentTotal || s == smsXY);
}

void TFormLumSeries::CBMarksVisibleClick(TObject*) {
  if (!Editing()) return;
  series_->Marks()->SetVisible(CBMarksVisible->Checked());
  changing_ = true;
  CBAllVisible->SetChecked(AllMarksVisible());
  changing_ = false;
}

void TFormLumSeries::CBMarkClipClick(TObject*) {
  if (Editing()) series_->Marks()->SetClip(CBMarkClip->Checked());
}

void TFormLumSeries::SEMarksAngleChange(TObject*) {
  if (Editing()) series_->Marks()->SetAngle(UDMarksAngle->Position());
}

void TFormLumSeries::EMarksEveryChange(TObject*) {
  if (Editing()) series_->Marks()->SetDrawEvery(UDEvery->Position());
}

void TFormLumSeries::CBMultiLineClick(TObject*) {
  if (Editing()) series_->Marks()->SetMultiLine(CBMultiLine->Checked());
}

void TFormLumSeries::CBAllVisibleClick(TObject*) {
  if (!Editing() || !chart_) return;
  for (TChartSeries* s : chart_->SeriesList()) s->Marks()->SetVisible(CBAllVisible->Checked());
  changing_ = true;
  CBMarksVisible->SetChecked(CBAllVisible->Checked());
  changing_ = false;
}

void TFormLumSeries::RGMarkStyleClick(TObject*) {
  EnableMultiLine();
  if (Editing() && RGMarkStyle->ItemIndex() >= 0)
    series_->Marks()->SetStyle(TSeriesMarksStyle(RGMarkStyle->ItemIndex()));
}

void TFormLumSeries::CBTextAlignChange(TObject*) {
  if (Editing() && CBTextAlign->ItemIndex() >= 0) series_->Marks()->SetTextAlign(TAlignment(CBTextAlign->ItemIndex()));
}

void TFormLumSeries::CBFontSeriesColorClick(TObject*) {
  if (Editing()) series_->Marks()->SetFontSeriesColor(CBFontSeriesColor->Checked());
}

void TFormLumSeries::FillArrows() {
  TMarksCallout* c = series_->Marks()->Callout();
  BMarkLinCol->LinkProperty(c->Arrow(), "");
  UDArrowsLength->SetPosition(c->Length());
  UDArrowDist->SetPosition(c->Distance());
  CBHead->SetItemIndex(int(c->ArrowHead()));
  UDHeadSize->SetPosition(c->ArrowHeadSize());
}

void TFormLumSeries::SEArrowLengthChange(TObject*) {
  if (Editing()) series_->Marks()->Callout()->SetLength(UDArrowsLength->Position());
}

void TFormLumSeries::EArrowDistChange(TObject*) {
  if (Editing()) series_->Marks()->Callout()->SetDistance(UDArrowDist->Position());
}

void TFormLumSeries::BCalloutPointerClick(TObject*) {
  if (series_) EditSeriesPointer(BCalloutPointer, series_->Marks()->Callout());
}

void TFormLumSeries::CBHeadChange(TObject*) {
  if (Editing() && CBHead->ItemIndex() >= 0)
    series_->Marks()->Callout()->SetArrowHead(TArrowHeadStyle(CBHead->ItemIndex()));
}

void TFormLumSeries::Edit1Change(TObject*) {
  if (Editing()) series_->Marks()->Callout()->SetArrowHeadSize(UDHeadSize->Position());
}

// The symbol's shape editor, made on the first visit: its transparency box gives
// its place to "&Visible", and the "Text" tab is hidden (a symbol has no text).
void TFormLumSeries::FillSymbol() {
  TLumCustomShape* symbol = series_->Marks()->Symbol();
  if (!symbolEditor_) {
    symbolEditor_ = EmbedShapeEditor(this, symbol, TabSymbol);
    FreeNotification(symbolEditor_);
    TCheckBox* transparent = symbolEditor_->CBTransparent;
    transparent->SetVisible(false);
    symbolVisible_ = new TCheckBox(symbolEditor_);
    symbolVisible_->SetName("CBSymbolVisible");
    symbolVisible_->SetCaption("&Visible");
    symbolVisible_->SetBounds(transparent->Left(), transparent->Top(), transparent->Width(), transparent->Height());
    symbolVisible_->SetParent(transparent->Parent());
    symbolVisible_->OnClick = {symbolEditor_, &TFormLumShape::CBVisibleChecked, "CBVisibleChecked"};
    symbolEditor_->TabText->SetTabVisible(false);
  } else {
    symbolEditor_->LoadShape(symbol);
  }
  symbolVisible_->SetChecked(symbol->Visible());
}

void TFormLumSeries::FillMargins() {
  if (!marginsEditor_) {
    marginsEditor_ = new TMarginsEditor(this);
    FreeNotification(marginsEditor_);
    marginsEditor_->SetAlign(alClient);
    EmbedEditorForm(marginsEditor_, TabMargins);
    TranslateControl(marginsEditor_);
  }
  marginsEditor_->LoadMargins(series_->Marks()->Margins());
}
