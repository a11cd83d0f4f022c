// The export dialog: picture, native stream and data tabs with copy, save, mail and
// open.
#include "gallery/exportdialog.h"

#include <cmath>
#include <functional>

#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "engine/helpers.h"
#include "engine/settings.h"
#include "gallery/chartstream.h"
#include "gallery/editortools.h"
#include "gallery/formateditor.h"
#include "gallery/seriesdata.h"
#include "gallery/stringseditor.h"
#include "gallery/xmlwriter.h"
#include "formbuild.h"
#include "namedfile.h"
#include "platform/clipbrd.h"
#include "platform/filer.h"
#include "platform/rtl.h"
#include "platform/sysfiles.h"

IMPLEMENT_CLASS_PROPS(TLumExportFormBase, TForm)
IMPLEMENT_CLASS(TLumExportForm, TLumExportFormBase)

using formbuild::Sheet;

const char* const ExportDataFilters[8] = {
    "Space delimited text files (*.txt)|*.txt", "Tab delimited text files (*.txt)|*.txt",
    "Comma delimited text files (*.csv)|*.csv", "Colon delimited text files (*.txt)|*.txt",
    "Custom delimited text files (*.txt)|*.txt", "XML files (*.xml)|*.xml",
    "HTML files (*.htm)|*.htm",                 "Microsoft Excel files (*.xls)|*.xls"};

namespace {

enum { nfBinary, nfText, nfXML };
enum { dfText, dfXML, dfHTML, dfExcel };
enum { dlSpace, dlTab, dlComma, dlColon, dlCustom };

TRadioGroup* Radios(TComponent* Owner, TWinControl* Parent, const char* Name, int L, int T, int W, int H,
                    const char* Caption, std::initializer_list<const char*> Items) {
  auto* r = PlaceControl<TRadioGroup>(Owner, Parent, Name, L, T, W, H, Caption);
  for (const char* i : Items) r->Items()->Add(i);
  r->SetItemIndex(0);
  return r;
}

TComboFlat* DropList(TComponent* Owner, TWinControl* Parent, const char* Name, int L, int T, int W,
                     std::initializer_list<const char*> Items) {
  auto* c = PlaceControl<TComboFlat>(Owner, Parent, Name, L, T, W, 21);
  c->SetStyle(csDropDownList);
  for (const char* i : Items) c->Items()->Add(i);
  return c;
}

std::string WithoutAmpersands(std::string S) {
  std::erase(S, '&');
  return S;
}

// Tab stops under which tab-separated columns line up: each a gap past the widest
// cell of its column (in Font) among the first lines.
std::vector<int> ColumnStops(const std::string& Text, TFont* Font) {
  constexpr int kGap = 12, kLines = 500;
  TBitmap measure;
  measure.Canvas()->Font()->Assign(Font);
  std::vector<int> widths;
  std::size_t start = 0;
  for (int line = 0; line < kLines && start < Text.size(); ++line) {
    std::size_t end = Text.find('\n', start);
    if (end == std::string::npos) end = Text.size();
    std::size_t cell = start;
    for (std::size_t column = 0;; ++column) {
      const std::size_t tab = Text.find('\t', cell);
      if (tab == std::string::npos || tab >= end) break;  // the last cell needs no stop
      if (widths.size() <= column) widths.push_back(0);
      widths[column] = std::max(widths[column], measure.Canvas()->TextWidth(Text.substr(cell, tab - cell)));
      cell = tab + 1;
    }
    start = end + 1;
  }
  std::vector<int> stops;
  for (int w : widths) stops.push_back((stops.empty() ? 0 : stops.back()) + w + kGap);
  return stops;
}

// Every "*.ext" pattern of a "desc|patterns|..." filter, lower case, in order.
std::vector<std::string> FilterExtensions(const std::string& Filter) {
  std::vector<std::string> r;
  std::size_t start = 0;
  for (int field = 0; start <= Filter.size(); ++field) {
    std::size_t bar = Filter.find('|', start);
    if (bar == std::string::npos) bar = Filter.size();
    if (field % 2 == 1) {
      const std::string pattern = Filter.substr(start, bar - start);
      const std::size_t dot = pattern.rfind("*.");
      r.push_back(dot == std::string::npos ? "" : LowerCase(pattern.substr(dot + 2)));
    }
    start = bar + 1;
  }
  return r;
}

}  // namespace

// ---------------------------------------------------------------------------
// Centred on the screen, unlike a plain form.
void TLumExportFormBase::DefineProperties(TPropertyTable& t) {
  t.Enum("Position", &TForm::Position, &TForm::SetPosition,
         {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
          "poMainFormCenter", "poOwnerFormCenter"})
      .Default((long long)poScreenCenter);
}

TLumExportFormBase::TLumExportFormBase(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsSizeable);
  SetupEditorForm(this, "LumExportForm", "Export Dialog", 514, 393);
  SetPosition(poScreenCenter);

  Tabs = PlaceControl<TPageControl>(this, this, "Tabs", 8, 8, 498, 336);
  TabPicture = Sheet(this, Tabs, "TabPicture", "Picture");
  TabNative = Sheet(this, Tabs, "TabNative", "Native");
  TabData = Sheet(this, Tabs, "TabData", "Data");

  // Picture
  GBFormat = PlaceControl<TGroupBox>(this, TabPicture, "GBFormat", 8, 8, 170, 284, "&Format");
  LBFormat = PlaceControl<TListBox>(this, GBFormat, "LBFormat", 8, 18, 154, 256);
  PageOptions = PlaceControl<TPageControl>(this, TabPicture, "PageOptions", 186, 8, 294, 284);
  TabOptions = Sheet(this, PageOptions, "TabOptions", "Options");
  TabSize = Sheet(this, PageOptions, "TabSize", "Size");
  const auto sizes = formbuild::EditUpDownRows(
      this, TabSize, {{"LabelWidth", "&Width:", "EWidth", "UDWidth"}, {"LabelHeight", "&Height:", "EHeight", "UDHeight"}},
      8, 80, 8, 64, 0, 3000);
  LabelWidth = sizes[0].Label, EWidth = sizes[0].Edit, UDWidth = sizes[0].UpDown;
  LabelHeight = sizes[1].Label, EHeight = sizes[1].Edit, UDHeight = sizes[1].UpDown;
  CBAspect = PlaceControl<TCheckBox>(this, TabSize, "CBAspect", 8, 68, 200, 17, "&Keep aspect ratio");
  CBAspect->SetChecked(true);
  CBPicSize = PlaceControl<TCheckBox>(this, TabSize, "CBPicSize", 8, 96, 90, 17, "&File size:");
  LabelPicSize = PlaceLabel(this, TabSize, "LabelPicSize", 104, 98, "?");

  // Native
  CBNativeFormat = Radios(this, TabNative, "CBNativeFormat", 8, 8, 170, 92, "Format:", {"&Binary", "&Text", "&XML"});
  CBNativeData = PlaceControl<TCheckBox>(this, TabNative, "CBNativeData", 8, 110, 220, 17, "&Include Series data");
  CBNativeData->SetChecked(true);
  CBFileSize = PlaceControl<TCheckBox>(this, TabNative, "CBFileSize", 8, 136, 90, 17, "&File size:");
  LabelSize = PlaceLabel(this, TabNative, "LabelSize", 104, 138, "?");
  BViewNative = PlaceControl<TButton>(this, TabNative, "BViewNative", 8, 166, 75, 25, "&View...");
  BViewNative->SetEnabled(false);

  // Data
  CBSeries = DropList(this, TabData, "CBSeries", 64, 8, 160, {});
  LabelSeries = PlaceLabel(this, TabData, "LabelSeries", 8, 12, "Se&ries:", CBSeries);
  RGText = Radios(this, TabData, "RGText", 8, 38, 216, 96, "&Format:", {"Text", "XML", "HTML Table", "Excel"});
  PageDataOptions = PlaceControl<TPageControl>(this, TabData, "PageDataOptions", 8, 142, 216, 150);
  TabInclude = Sheet(this, PageDataOptions, "TabInclude", "Include");
  CBIndex = PlaceControl<TCheckBox>(this, TabInclude, "CBIndex", 8, 8, 180, 17, "Point &Index");
  CBLabels = PlaceControl<TCheckBox>(this, TabInclude, "CBLabels", 8, 30, 180, 17, "Point &Labels");
  CBLabels->SetChecked(true);
  CBHeader = PlaceControl<TCheckBox>(this, TabInclude, "CBHeader", 8, 52, 180, 17, "&Header");
  CBHeader->SetChecked(true);
  CBColors = PlaceControl<TCheckBox>(this, TabInclude, "CBColors", 8, 74, 180, 17, "Point &Colors");
  TabDataOptions = Sheet(this, PageDataOptions, "TabDataOptions", "Options");
  CBDelim = DropList(this, TabDataOptions, "CBDelim", 96, 6, 104, {"Space", "Tab", "Comma", "Colon", "Custom"});
  CBDelim->SetItemIndex(dlTab);
  LabelDelim = PlaceLabel(this, TabDataOptions, "LabelDelim", 8, 10, "&Delimiter:", CBDelim);
  ECustom = PlaceControl<TEdit>(this, TabDataOptions, "ECustom", 96, 32, 32, 21);
  ECustom->SetEnabled(false);
  EQuotes = PlaceControl<TEdit>(this, TabDataOptions, "EQuotes", 96, 58, 32, 21);
  LabelQuotes = PlaceLabel(this, TabDataOptions, "LabelQuotes", 8, 62, "Text &Quotes:", EQuotes);
  CBXMLEncoding =
      DropList(this, TabDataOptions, "CBXMLEncoding", 96, 84, 104, {"windows-1252", "ISO-8859-1", "UTF-8", "UTF-16"});
  CBXMLEncoding->SetItemIndex(1);
  CBXMLEncoding->SetEnabled(false);
  LabelEncoding = PlaceLabel(this, TabDataOptions, "LabelEncoding", 8, 88, "&XML Encoding:", CBXMLEncoding);
  TabFormat = Sheet(this, PageDataOptions, "TabFormat", "Format");
  CBUseSeriesFormat = PlaceControl<TCheckBox>(this, TabFormat, "CBUseSeriesFormat", 8, 8, 180, 17, "Use Series Format");
  SeriesValueFormat = PlaceControl<TComboFlat>(this, TabFormat, "SeriesValueFormat", 8, 50, 160, 21);
  LabelValueFormat = PlaceLabel(this, TabFormat, "LabelValueFormat", 8, 34, "&Value Format:", SeriesValueFormat);
  BFormat = PlaceControl<TButton>(this, TabFormat, "BFormat", 172, 49, 28, 23, "...");
  TabFormat->SetTabVisible(false);
  PageDataOptions->SetActivePage(TabInclude);
  CBDataPreview = PlaceControl<TCheckBox>(this, TabData, "CBDataPreview", 236, 8, 120, 17, "&Preview");
  MemoData = PlaceControl<TMemo>(this, TabData, "MemoData", 236, 30, 246, 262);
  MemoData->SetReadOnly(true);
  MemoData->SetWordWrap(false);
  MemoData->SetScrollBars(ssBoth);
  MemoData->SetVisible(false);

  // Bottom
  BCopy = PlaceControl<TButton>(this, this, "BCopy", 8, 356, 75, 25, "&Copy");
  BSave = PlaceControl<TButton>(this, this, "BSave", 89, 356, 75, 25, "&Save...");
  BSend = PlaceControl<TButton>(this, this, "BSend", 170, 356, 75, 25, "S&end...");
  BPreview = PlaceControl<TButton>(this, this, "BPreview", 251, 356, 75, 25, "&Preview...");
  BPreview->SetEnabled(false);
  PanelClose = PlaceControl<TPanel>(this, this, "PanelClose", 416, 348, 94, 41);
  PanelClose->SetBevelOuter(bvNone);
  BClose = PlaceControl<TButton>(this, PanelClose, "BClose", 11, 8, 75, 25, "Close");
  BClose->SetDefault(true);
  Tabs->SetActivePage(TabPicture);

  for (TSaveDialog** d : {&SavePictureDialog, &SaveNativeDialog, &SaveDataDialog}) {
    *d = new TSaveDialog(this);
    (*d)->SetOptions(((*d)->Options() & ~ofReadOnly) | ofOverwritePrompt | ofHideReadOnly);
  }
  SavePictureDialog->SetName("SavePictureDialog");
  SaveNativeDialog->SetName("SaveNativeDialog");
  SaveDataDialog->SetName("SaveDataDialog");

  // A stored size smaller than the form's own would cut controls off; a value of
  // another type is no size.
  const auto stored = [](const char* Name, int Default) {
    try {
      return std::max(Default, ReadEditorIntegerSetting(Name, Default));
    } catch (const Exception&) {
      return Default;
    }
  };
  SetClientWidth(stored("ExportWidth", ClientWidth()));
  SetClientHeight(stored("ExportHeight", ClientHeight()));

  OnShow = HANDLER(FormShow);
  OnClose = HANDLER(FormClose);
  LBFormat->OnClick = HANDLER(LBFormatClick);
  EWidth->OnChange = HANDLER(SizeChange);
  EHeight->OnChange = HANDLER(SizeChange);
  CBPicSize->OnClick = HANDLER(CBPicSizeClick);
  CBNativeFormat->OnClick = HANDLER(NativeChange);
  CBNativeData->OnClick = HANDLER(NativeChange);
  CBFileSize->OnClick = HANDLER(NativeChange);
  CBSeries->OnChange = HANDLER(DataChange);
  RGText->OnClick = HANDLER(RGTextClick);
  for (TCheckBox* c : {CBIndex, CBLabels, CBHeader, CBColors, CBDataPreview}) c->OnClick = HANDLER(DataChange);
  CBDelim->OnChange = HANDLER(CBDelimChange);
  ECustom->OnChange = HANDLER(DataChange);
  EQuotes->OnChange = HANDLER(DataChange);
  CBXMLEncoding->OnChange = HANDLER(DataChange);
  CBUseSeriesFormat->OnClick = HANDLER(CBUseSeriesFormatClick);
  SeriesValueFormat->OnChange = HANDLER(DataChange);
  BFormat->OnClick = HANDLER(BFormatClick);
  Tabs->OnChange = HANDLER(TabsChange);
  BCopy->OnClick = HANDLER(BCopyClick);
  BSave->OnClick = HANDLER(BSaveClick);
  BSend->OnClick = HANDLER(BSendClick);
  BPreview->OnClick = HANDLER(BPreviewClick);
  BViewNative->OnClick = HANDLER(BViewNativeClick);
  BClose->OnClick = HANDLER(BCloseClick);
}

TLumExportFormBase::~TLumExportFormBase() {
  // The options forms belong to their formats: take them off the page first.
  if (shownOptions_) shownOptions_->SetParent(nullptr);
}

void TLumExportFormBase::SetVisible(bool Value) {
  const bool was = Showing();
  TForm::SetVisible(Value);
  if (TWinControl* p = Parent(); p && was != Showing()) {
    p->AlignControls();
    p->Invalidate();
  }
}

void TLumExportFormBase::SetPanel(TCustomLumPanel* Value) {
  if (Value == panel_) return;
  if (panel_) panel_->RemoveFreeNotification(this);
  panel_ = Value;
  if (panel_) panel_->FreeNotification(this);
}

// A freed panel (or series of the Data tab) is let go: the formats watch it too, the
// series choice loses its row, and what the buttons offer follows.
void TLumExportFormBase::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation != opRemove || HasState(csDestroying)) return;
  bool changed = false;
  if (AComponent == panel_) {
    panel_ = nullptr;
    CBSeries->Items()->Clear();
    changed = true;
  }
  if (const int i = CBSeries->Items()->IndexOfObject(AComponent); i >= 0) {
    const bool chosen = CBSeries->ItemIndex() == i;
    CBSeries->Items()->Delete(i);
    if (chosen) CBSeries->SetItemIndex(0);
    changed = true;
  }
  if (!changed) return;
  RefreshPicSize();
  RefreshNativeSize();
  if (!loading_) RefreshDataPreview();
  EnableButtons();
}

TLumExportFormat* TLumExportFormBase::SelectedFormat() const {
  const int i = LBFormat->ItemIndex();
  return i >= 0 && i < FormatCount() ? Formats(i) : nullptr;
}

char TLumExportFormBase::Delimiter() const {
  switch (CBDelim->ItemIndex()) {
    case dlSpace: return ' ';
    case dlComma: return ',';
    case dlColon: return ';';
    case dlCustom: return ECustom->Text().empty() ? ' ' : ECustom->Text()[0];
    default: return '\t';
  }
}

int TLumExportFormBase::DataFilterIndex() const {
  const int format = RGText->ItemIndex();
  return format > dfText ? format + 5 : std::max(CBDelim->ItemIndex(), 0) + 1;
}

std::string TLumExportFormBase::NativeExtension() const {
  switch (CBNativeFormat->ItemIndex()) {
    case nfText: return "txt";
    case nfXML: return "xml";
    default: return LumFileExtension;
  }
}

std::string TLumExportFormBase::CurrentExtension() {
  if (Tabs->ActivePage() == TabNative) return NativeExtension();
  if (Tabs->ActivePage() == TabData) {
    const std::string entry = ExportDataFilters[DataFilterIndex() - 1];
    return entry.substr(entry.rfind("*.") + 2);
  }
  TLumExportFormat* f = SelectedFormat();
  return f ? f->FileExtension() : "";
}

// ---- Showing -----------------------------------------------------------------
void TLumExportFormBase::FormShow(TObject*) {
  loading_ = true;
  struct Done {
    bool& b;
    ~Done() { b = false; }
  } done{loading_};
  RGText->SetItemIndex(dfText);
  if (auto* p = dynamic_cast<TCustomLumPanel*>(formbuild::ComponentFromTag(this, Tag()))) SetPanel(p);
  if (panel_) {
    adjusting_ = true;
    UDWidth->SetPosition(panel_->Width());
    UDHeight->SetPosition(panel_->Height());
    aspect_ = panel_->Height() == 0 ? 0 : double(panel_->Width()) / panel_->Height();
    PrepareSeries();
    if (shownOptions_) shownOptions_->SetParent(nullptr);
    shownOptions_ = nullptr;
    LBFormat->Items()->Clear();
    formats_.clear();
    firstFilterIndex_.clear();
    std::string filter;
    int index = 0;
    for (int i = 0; LumExportFormats && i < LumExportFormats->Count(); ++i) {
      std::unique_ptr<TLumExportFormat> f(LumExportFormats->NewFormat(i));
      if (!f) continue;
      f->SetPanel(panel_);
      firstFilterIndex_.push_back(index + 1);
      f->SetFilterIndex(index);
      filter += (filter.empty() ? "" : "|") + f->FileFilter();
      LBFormat->Items()->AddObject(WithoutAmpersands(f->Description()), f.get());
      formats_.push_back(std::move(f));
    }
    SavePictureDialog->SetFilter(filter);
    CBDelim->SetItemIndex(dlTab);
    LBFormat->SetItemIndex(formats_.empty() ? -1 : 0);
    LBFormatClick(LBFormat);
    adjusting_ = false;
  }
  TranslateControl(this);
  const std::string encoding = XMLEncodingName();
  if (CBXMLEncoding->Items()->IndexOf(encoding) < 0) CBXMLEncoding->Items()->Add(encoding);
  CBXMLEncoding->SetItemIndex(CBXMLEncoding->Items()->IndexOf(encoding));
  if (TabFormat->TabVisible()) {
    const std::string format = SeriesValueFormat->Text();
    SeriesValueFormat->Items()->Clear();
    AddNumericFormats(SeriesValueFormat->Items());
    SeriesValueFormat->SetText(format);
  }
  CBUseSeriesFormatClick(CBUseSeriesFormat);
  RGTextClick(RGText);
  EnableButtons();
}

void TLumExportFormBase::FormClose(TObject*, TCloseAction&) {
  WriteEditorIntegerSetting("ExportHeight", ClientHeight());
  WriteEditorIntegerSetting("ExportWidth", ClientWidth());
}

void TLumExportFormBase::BCloseClick(TObject*) {
  if (Parent()) return;
  if (Visible()) Close();
}

// ---- Picture -----------------------------------------------------------------
void TLumExportFormBase::LBFormatClick(TObject*) {
  if (shownOptions_) {
    shownOptions_->Hide();
    shownOptions_->SetParent(nullptr);
    shownOptions_ = nullptr;
  }
  TLumExportFormat* f = SelectedFormat();
  TForm* options = f ? f->Options() : nullptr;
  const bool hasOptions = options && options->ControlCount() > 0;
  TabOptions->SetTabVisible(hasOptions);
  if (hasOptions) {
    PageOptions->SetActivePage(TabOptions);
    EmbedEditorForm(options, TabOptions);
    TranslateControl(options);
    shownOptions_ = options;
  } else {
    PageOptions->SetActivePage(TabSize);
  }
  if (f) {
    f->Width = UDWidth->Position();
    f->Height = UDHeight->Position();
  }
  RefreshPicSize();
  EnableButtons();
}

void TLumExportFormBase::SizeChange(TObject* Sender) {
  if (Showing() && !adjusting_ && CBAspect->Checked() && aspect_ != 0) {
    adjusting_ = true;
    if (Sender == EWidth)
      UDHeight->SetPosition(int(std::nearbyint(UDWidth->Position() / aspect_)));
    else
      UDWidth->SetPosition(int(std::nearbyint(UDHeight->Position() * aspect_)));
    adjusting_ = false;
  }
  if (TLumExportFormat* f = SelectedFormat()) {
    f->Width = UDWidth->Position();
    f->Height = UDHeight->Position();
  }
  if (!adjusting_) RefreshPicSize();
}

void TLumExportFormBase::CBPicSizeClick(TObject*) { RefreshPicSize(); }

// A size no picture can take shows "?": the buttons say why.
void TLumExportFormBase::RefreshPicSize() {
  std::string text = "?";
  TLumExportFormat* f = SelectedFormat();
  if (CBPicSize->Checked() && f && f->Panel()) {
    try {
      THourGlass wait;
      TMemoryStream m;
      f->SaveToStreamOptions(&m, f->Options(false));
      text = Format("%d bytes", int(m.Size()));
    } catch (const Exception&) {
    }
  }
  LabelPicSize->SetCaption(text);
}

// ---- Native ------------------------------------------------------------------
std::unique_ptr<TMemoryStream> TLumExportFormBase::NativeToStream() {
  if (!panel_) throw Exception(LumMsg_ExportPanelNotSet);
  auto binary = std::make_unique<TMemoryStream>();
  {
    TWriter w(binary.get(), 4096);
    w.WriteRootComponent(panel_);
  }
  binary->SetPosition(0);
  if (CBNativeFormat->ItemIndex() == nfBinary) return binary;
  auto text = std::make_unique<TMemoryStream>();
  ObjectBinaryToText(binary.get(), text.get());
  text->SetPosition(0);
  if (CBNativeFormat->ItemIndex() == nfXML) {
    ComponentToXML(text.get(), true);
    text->SetPosition(0);
  }
  return text;
}

void TLumExportFormBase::NativeToFile(const std::string& FileName, bool) {
  if (!panel_) throw Exception(LumMsg_ExportPanelNotSet);
  const bool visible = panel_->Visible();
  panel_->SetVisible(true);
  struct Restore {
    TCustomLumPanel* p;
    bool v;
    ~Restore() { p->SetVisible(v); }
  } restore{panel_, visible};
  SaveNamedFile(FileName, [&](TStream* s) {
    TWriter w(s, 4096);
    w.WriteRootComponent(panel_);
  });
}

void TLumExportFormBase::PrepareSeries() {
  TabData->SetTabVisible(false);
  CBNativeData->SetVisible(false);
}

std::string TLumExportFormBase::NativeText() {
  std::unique_ptr<TMemoryStream> m = NativeToStream();
  return std::string(m->Bytes().begin(), m->Bytes().end());
}

void TLumExportFormBase::NativeChange(TObject*) {
  if (loading_) return;
  RefreshNativeSize();
  EnableButtons();
}

// As for the picture: a stream that cannot be made shows "?".
void TLumExportFormBase::RefreshNativeSize() {
  std::string text = "?";
  if (CBFileSize->Checked() && panel_) {
    try {
      THourGlass wait;
      text = Format("%d bytes", int(NativeToStream()->Size()));
    } catch (const Exception&) {
    }
  }
  LabelSize->SetCaption(text);
}

void TLumExportFormBase::BViewNativeClick(TObject*) {
  std::string text = NativeText();
  EditText(this, text, true);
}

// ---- Data --------------------------------------------------------------------
void TLumExportFormBase::DataChange(TObject*) {
  if (!loading_) RefreshDataPreview();
}

void TLumExportFormBase::RefreshDataPreview() {
  const bool shown = CBDataPreview->Checked() && RGText->ItemIndex() != dfExcel;
  MemoData->SetVisible(shown);
  if (!shown) return;
  std::unique_ptr<TLumExportData> e(CreateDataExporter());
  const std::string text = e ? e->AsString() : "";
  MemoData->SetTabStops(ColumnStops(text, MemoData->Font()));
  MemoData->Lines()->SetText(text);
}

void TLumExportFormBase::RGTextClick(TObject*) {
  const bool text = RGText->ItemIndex() == dfText;
  CBDelim->SetEnabled(text);
  ECustom->SetEnabled(text && CBDelim->ItemIndex() == dlCustom);
  CBXMLEncoding->SetEnabled(RGText->ItemIndex() == dfXML);
  if (loading_) return;
  RefreshDataPreview();
  EnableButtons();
}

void TLumExportFormBase::CBDelimChange(TObject*) {
  const bool custom = CBDelim->ItemIndex() == dlCustom;
  ECustom->SetEnabled(custom && CBDelim->Enabled());
  if (custom && ECustom->CanFocus()) ECustom->SetFocus();
  DataChange(CBDelim);
}

void TLumExportFormBase::CBUseSeriesFormatClick(TObject*) {
  SeriesValueFormat->SetEnabled(!CBUseSeriesFormat->Checked());
  BFormat->SetEnabled(!CBUseSeriesFormat->Checked());
  DataChange(CBUseSeriesFormat);
}

void TLumExportFormBase::BFormatClick(TObject*) {
  std::string result;
  if (EditValueFormat(this, SeriesValueFormat->Text(), result)) {
    SeriesValueFormat->SetText(result);
    DataChange(SeriesValueFormat);
  }
}

// ---- Buttons -----------------------------------------------------------------
void TLumExportFormBase::TabsChange(TObject*) { EnableButtons(); }

void TLumExportFormBase::EnableButtons() {
  TTabSheet* page = Tabs->ActivePage();
  const int native = CBNativeFormat->ItemIndex();
  // Nothing to export without a panel (never set, or freed meanwhile).
  const bool nativeText = panel_ && (native == nfText || native == nfXML);
  bool copy = false;
  bool save = false;
  if (page == TabPicture) copy = save = panel_ && SelectedFormat();
  else if (page == TabData) {
    copy = save = HasData();
    if (RGText->ItemIndex() == dfExcel) copy = false;
  } else if (page == TabNative) {
    copy = nativeText;
    save = panel_ != nullptr;
  }
  BCopy->SetEnabled(copy);
  BSave->SetEnabled(save);
  BSend->SetEnabled(save && MailAvailable());
  BViewNative->SetEnabled(nativeText);
  BPreview->SetEnabled(copy && ShellCanOpenExtension(CurrentExtension()));
}

void TLumExportFormBase::BCopyClick(TObject*) {
  TTabSheet* page = Tabs->ActivePage();
  if (page == TabPicture) {
    TLumExportFormat* f = SelectedFormat();
    if (!f) return;
    f->Width = UDWidth->Position();
    f->Height = UDHeight->Position();
    f->CopyToClipboard();
  } else if (page == TabData) {
    THourGlass wait;
    std::unique_ptr<TLumExportData> e(CreateDataExporter());
    if (e) e->CopyToClipboard();
  } else if (page == TabNative && CBNativeFormat->ItemIndex() != nfBinary) {
    Clipboard()->SetAsText(NativeText());
  }
}

TLumExportFormat* TLumExportFormBase::FormatForFile(const std::string& FileName) {
  std::string ext = LowerCase(ExtractFileExt(FileName));
  if (!ext.empty()) ext.erase(0, 1);
  for (int i = 0; i < FormatCount(); ++i) {
    if (LowerCase(Formats(i)->FileExtension()) == ext) return Formats(i);
    // A format of several entries (enhanced and Windows metafiles) takes the one
    // whose pattern the name has.
    const std::vector<std::string> exts = FilterExtensions(Formats(i)->FileFilter());
    for (std::size_t k = 0; k < exts.size(); ++k)
      if (!ext.empty() && exts[k] == ext && Formats(i)->WantsFilterIndex(firstFilterIndex_[std::size_t(i)] + int(k)))
        return Formats(i);
  }
  return SelectedFormat();
}

void TLumExportFormBase::SavePicture(const std::string& FileName) {
  TLumExportFormat* f = FormatForFile(FileName);
  if (!f) throw Exception(LumMsg_ExportPanelNotSet);
  f->Width = UDWidth->Position();
  f->Height = UDHeight->Position();
  f->SaveToFile(FileName, f->Options(false));
}

void TLumExportFormBase::SaveNative(const std::string& FileName) {
  NativeToFile(ChangeFileExt(FileName, "." + NativeExtension()), CBNativeData->Checked());
}

void TLumExportFormBase::SaveData(const std::string& FileName) {
  std::unique_ptr<TLumExportData> e(CreateDataExporter());
  if (!e) throw Exception(LumMsg_ExportPanelNotSet);
  e->SaveToFile(FileName);
}

void TLumExportFormBase::BSaveClick(TObject*) {
  TTabSheet* page = Tabs->ActivePage();
  if (page == TabPicture) {
    TLumExportFormat* f = SelectedFormat();
    if (!f) return;
    SavePictureDialog->SetDefaultExt(f->FileExtension());
    SavePictureDialog->SetFilterIndex(f->FilterIndex());
    SavePictureDialog->SetInitialDir(InitialDir);
    SavePictureDialog->SetFileName("");
    if (!SavePictureDialog->Execute()) return;
    THourGlass wait;
    SavePicture(SavePictureDialog->FileName());
  } else if (page == TabNative) {
    const std::string ext = NativeExtension();
    SaveNativeDialog->SetDefaultExt(ext);
    SaveNativeDialog->SetFilter(LumMsg_LumFiles + " (*." + ext + ")|*." + ext);
    SaveNativeDialog->SetInitialDir(InitialDir);
    if (!SaveNativeDialog->Execute()) return;
    THourGlass wait;
    SaveNative(SaveNativeDialog->FileName());
  } else if (page == TabData) {
    std::string filter;
    for (const char* e : ExportDataFilters) filter += (filter.empty() ? "" : "|") + std::string(e);
    SaveDataDialog->SetFilter(filter);
    SaveDataDialog->SetFilterIndex(DataFilterIndex());
    SaveDataDialog->SetInitialDir(InitialDir);
    if (!SaveDataDialog->Execute()) return;
    // The entry chosen decides the format, the delimiter included: a "Comma
    // delimited" file must hold commas.
    const int index = SaveDataDialog->FilterIndex();
    if (index > 5) RGText->SetItemIndex(index - 5);
    else {
      RGText->SetItemIndex(dfText);
      if (index >= 1) CBDelim->SetItemIndex(index - 1);
      RGTextClick(RGText);
    }
    THourGlass wait;
    SaveData(SaveDataDialog->FileName());
  }
}

std::string TLumExportFormBase::WriteTempFile() {
  const std::string file = PrivateTempFolder() + ExportMailSubject + "." + CurrentExtension();
  TTabSheet* page = Tabs->ActivePage();
  THourGlass wait;
  if (page == TabNative) SaveNative(file);
  else if (page == TabData) SaveData(file);
  else SavePicture(file);
  return file;
}

void TLumExportFormBase::BSendClick(TObject*) {
  if (!MailAvailable()) {
    BSend->SetEnabled(false);
    return;
  }
  const std::string file = WriteTempFile();
  // Kept: the mail program reads it after xdg-email has returned; the private folder
  // goes when the program ends.
  const int answer = SendMailAttachment(ExportMailSubject, file);
  if (answer != 0) throw Exception(Format(LumMsg_CanNotEmail, answer));
}

void TLumExportFormBase::BPreviewClick(TObject*) {
  const std::string file = WriteTempFile();
  THourGlass wait;
  GotoURL(Handle(), file);
}

// ---------------------------------------------------------------------------
TLumExportForm::TLumExportForm(TComponent* AOwner) : TLumExportFormBase(AOwner) { TabFormat->SetTabVisible(true); }

bool TLumExportForm::HasData() {
  auto* chart = dynamic_cast<TCustomAxisPanel*>(Panel());
  return chart && chart->SeriesCount() > 0;
}

void TLumExportForm::PrepareSeries() {
  auto* chart = dynamic_cast<TCustomAxisPanel*>(Panel());
  if (!chart) {
    TLumExportFormBase::PrepareSeries();
    return;
  }
  TabData->SetTabVisible(true);
  CBNativeData->SetVisible(true);
  for (int i = 0; i < CBSeries->Items()->Count(); ++i)
    if (auto* old = dynamic_cast<TComponent*>(CBSeries->Items()->Objects(i)))
      old->RemoveFreeNotification(this);
  CBSeries->Items()->Clear();
  FillSeriesItems(CBSeries->Items(), chart->SeriesList());
  for (int i = 0; i < CBSeries->Items()->Count(); ++i)
    if (auto* s = dynamic_cast<TComponent*>(CBSeries->Items()->Objects(i))) s->FreeNotification(this);
  CBSeries->Items()->InsertObject(0, "(all)", nullptr);
  CBSeries->SetItemIndex(0);
}

TLumExportData* TLumExportForm::CreateDataExporter() {
  auto* chart = dynamic_cast<TCustomAxisPanel*>(Panel());
  if (!chart) return nullptr;
  const int i = CBSeries->ItemIndex();
  auto* series = i >= 0 ? dynamic_cast<TChartSeries*>(CBSeries->Items()->Objects(i)) : nullptr;
  std::unique_ptr<TSeriesData> e;
  switch (RGText->ItemIndex()) {
    case dfXML: {
      auto* x = new TSeriesDataXML(chart, series);
      x->Encoding = CBXMLEncoding->Text();
      e.reset(x);
      break;
    }
    case dfHTML: e.reset(new TSeriesDataHTML(chart, series)); break;
    case dfExcel: e.reset(new TSeriesDataXLS(chart, series)); break;
    default: {
      auto* t = new TSeriesDataText(chart, series);
      t->TextDelimiter = Delimiter();
      t->TextQuotes = EQuotes->Text();
      e.reset(t);
    }
  }
  e->IncludeLabels = CBLabels->Checked();
  e->IncludeIndex = CBIndex->Checked();
  e->IncludeHeader = CBHeader->Checked();
  e->IncludeColors = CBColors->Checked();
  e->UseSeriesFormat = CBUseSeriesFormat->Checked();
  if (!e->UseSeriesFormat) e->ValueFormat = DotToDecimalSeparator(SeriesValueFormat->Text());
  return e.release();
}

std::unique_ptr<TMemoryStream> TLumExportForm::NativeToStream() {
  auto* chart = dynamic_cast<TCustomChart*>(Panel());
  if (!chart) return TLumExportFormBase::NativeToStream();
  auto m = std::make_unique<TMemoryStream>();
  const bool data = CBNativeData->Checked();
  if (CBNativeFormat->ItemIndex() == nfXML) WriteChartXMLStream(chart, m.get(), data, true);
  else WriteChartStream(chart, m.get(), data, CBNativeFormat->ItemIndex() == nfText);
  m->SetPosition(0);
  return m;
}

void TLumExportForm::NativeToFile(const std::string& FileName, bool IncludeData) {
  auto* chart = dynamic_cast<TCustomChart*>(Panel());
  if (!chart) return TLumExportFormBase::NativeToFile(FileName, IncludeData);
  if (CBNativeFormat->ItemIndex() == nfXML) WriteChartXMLFile(chart, FileName, IncludeData, true);
  else WriteChartFile(chart, FileName, IncludeData, CBNativeFormat->ItemIndex() == nfText);
}
