// The metafile and bitmap export formats and their options forms.
#include "canvas/lumconst.h"
#include "engine/helpers.h"
#include "gallery/editortools.h"
#include "gallery/exportformat.h"
#include "gallery/filterseditor.h"
#include "platform/clipbrd.h"

IMPLEMENT_CLASS_PROPS(TEMFOptions, TForm)
IMPLEMENT_CLASS(TEMFExportFormat, TLumExportFormat)
IMPLEMENT_CLASS_PROPS(TBMPOptions, TForm)
IMPLEMENT_CLASS(TBMPExportFormat, TLumExportFormat)

namespace {
// The options forms are embedded pages: they start without a border.
void BorderlessPage(TPropertyTable& t) {
  t.Enum("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle,
         {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"})
      .Default((long long)bsNone);
}
}  // namespace

void TEMFOptions::DefineProperties(TPropertyTable& t) { BorderlessPage(t); }
void TBMPOptions::DefineProperties(TPropertyTable& t) { BorderlessPage(t); }

TEMFOptions::TEMFOptions(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsNone);
  SetupEditorForm(this, "EMFOptions", "EMFOptions", 152, 75);
  CBEnhanced = PlaceControl<TCheckBox>(this, this, "CBEnhanced", 8, 12, 120, 17, "&Enhanced");
  CBEnhanced->SetChecked(true);
  OnShow = HANDLER(FormShow);
}

void TEMFOptions::FormShow(TObject*) { TranslateControl(this); }

bool TEMFExportFormat::Enhanced() const {
  return !options_ || static_cast<TEMFOptions*>(options_.get())->CBEnhanced->Checked();
}

TMetafile* TEMFExportFormat::Metafile() {
  const bool enhanced = Enhanced();
  CheckPictureSize(!enhanced);
  TMetafile* m = Panel()->CreateMetafile(enhanced, Rect(0, 0, Width, Height));
  if (!m) throw Exception("Cannot export the chart while it is drawing");
  return m;
}

void TEMFExportFormat::DoCopyToClipboard() {
  std::unique_ptr<TMetafile> m(Metafile());
  Clipboard()->Assign(m.get());
}

void TEMFExportFormat::SaveToStream(TStream* Stream) {
  std::unique_ptr<TMetafile> m(Metafile());
  m->SaveToStream(Stream);
}

// Two entries: enhanced, then Windows metafiles.
int TEMFExportFormat::FilterIndex() const { return Enhanced() ? filterIndex_ : filterIndex_ + 1; }

void TEMFExportFormat::SetFilterIndex(int& Index) {
  TLumExportFormat::SetFilterIndex(Index);
  ++Index;
}

bool TEMFExportFormat::WantsFilterIndex(int Index) {
  if (Index == filterIndex_) {
    // Back to enhanced after a Windows metafile was chosen once.
    if (options_) EMFOptions()->CBEnhanced->SetChecked(true);
    return true;
  }
  if (Index != filterIndex_ + 1) return false;
  EMFOptions()->CBEnhanced->SetChecked(false);
  return true;
}

std::string TEMFExportFormat::Description() const { return LumMsg_AsMetafile; }
std::string TEMFExportFormat::FileFilter() const { return LumMsg_MetafileFilter; }

TForm* TEMFExportFormat::Options(bool Create) {
  if (!options_ && Create) options_.reset(new TEMFOptions(nullptr));
  return options_.get();
}

// ---------------------------------------------------------------------------
TBMPOptions::TBMPOptions(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsNone);
  SetupEditorForm(this, "BMPOptions", "BMPOptions", 202, 216);
  CBColors = PlaceControl<TComboFlat>(this, this, "CBColors", 64, 8, 130, 21);
  CBColors->SetStyle(csDropDownList);
  for (const char* c : {"Default", "2 (1 bit)", "16 (4 bit)", "256 (8 bit)", "32768 (15 bit)", "65536 (16 bit)",
                        "16M (24 bit)", "16M (32 bit)"})
    CBColors->Items()->Add(c);
  CBColors->SetItemIndex(0);
  Label1 = PlaceLabel(this, this, "Label1", 8, 12, "&Colors:", CBColors);
  CBMono = PlaceControl<TCheckBox>(this, this, "CBMono", 64, 38, 130, 17, "&Monochrome");
  EDpi = PlaceControl<TEdit>(this, this, "EDpi", 64, 64, 56, 21);
  UDDpi = PlaceUpDown(this, EDpi, "UDDpi", 0, 3000);
  UDDpi->SetPosition(0);
  Label2 = PlaceLabel(this, this, "Label2", 8, 68, "&DPI:", EDpi);
  Button1 = PlaceControl<TButton>(this, this, "Button1", 128, 62, 66, 25, "&Filters...");
  GroupBox1 = PlaceControl<TGroupBox>(this, this, "GroupBox1", 8, 94, 186, 114, "Preview:");
  ImageFiltered1 = PlaceControl<TImage>(this, GroupBox1, "ImageFiltered1", 8, 18, 170, 88);
  ImageFiltered1->SetStretch(true);

  CBColors->OnChange = HANDLER(CBColorsChange);
  CBMono->OnClick = HANDLER(CBMonoClick);
  Button1->OnClick = HANDLER(Button1Click);
  OnShow = HANDLER(FormShow);
}

TPixelFormat TBMPOptions::PixelFormat() const {
  const int i = CBColors->ItemIndex();
  return i < 0 || i > int(pf32bit) ? pfDevice : TPixelFormat(i);
}

void TBMPOptions::RefreshPreview() {
  std::unique_ptr<TBitmap> b;
  if (ExportFormat && ExportFormat->Panel()) {
    try {
      b.reset(ExportFormat->FilteredBitmap(this));
    } catch (const Exception&) {
      // Copy and Save say why; the preview just stays empty.
    }
  }
  ImageFiltered1->Picture()->SetGraphic(b.get());
}

void TBMPOptions::FormShow(TObject*) {
  TranslateControl(this);
  loading_ = true;
  CBColors->SetItemIndex(0);
  CBColors->SetEnabled(!CBMono->Checked());
  loading_ = false;
  RefreshPreview();
}

void TBMPOptions::CBColorsChange(TObject*) {
  if (!loading_) RefreshPreview();
}

void TBMPOptions::CBMonoClick(TObject*) {
  CBColors->SetEnabled(!CBMono->Checked());
  if (!loading_) RefreshPreview();
}

void TBMPOptions::Button1Click(TObject*) {
  if (!ExportFormat || !ExportFormat->Panel()) return;
  std::unique_ptr<TBitmap> raw(ExportFormat->RawBitmap(this));
  TLumPicture picture;
  picture.SetGraphic(raw.get());
  if (EditImageFilters(this, &picture, ExportFormat->Filters())) RefreshPreview();
}

TBMPExportFormat::TBMPExportFormat() : filters_(std::make_unique<TFilterItems>()) {}
TBMPExportFormat::~TBMPExportFormat() = default;

TForm* TBMPExportFormat::Options(bool Create) {
  if (!options_ && Create) {
    auto* f = new TBMPOptions(nullptr);
    f->ExportFormat = this;
    options_.reset(f);
  }
  return options_.get();
}

TBitmap* TBMPExportFormat::RawBitmap(TBMPOptions* Form) {
  if (!Form) Form = BMPOptions();
  CheckPictureSize(false);
  std::unique_ptr<TBitmap> b(Panel()->CreateBitmap(Panel()->Color(), Rect(0, 0, Width, Height), Form->PixelFormat()));
  if (!b) throw Exception("Cannot export the chart while it is drawing");
  if (Form->UDDpi->Position() > 0) b->SetDpi(Form->UDDpi->Position());
  // Not the other way round: unsetting it would turn any bitmap, 1 bit included,
  // to the device format.
  if (Form->CBMono->Checked()) b->SetMonochrome(true);
  return b.release();
}

TBitmap* TBMPExportFormat::FilteredBitmap(TBMPOptions* Form) {
  std::unique_ptr<TBitmap> b(RawBitmap(Form));
  const TPixelFormat depth = b->PixelFormat();
  const bool mono = b->Monochrome();
  TFilterItems::ApplyTo(filters_.get(), b.get());
  // Filters work at 32 bits; the file keeps the depth that was chosen.
  if (mono) b->SetMonochrome(true);
  else if (b->PixelFormat() != depth) b->SetPixelFormat(depth);
  return b.release();
}

void TBMPExportFormat::DoCopyToClipboard() {
  std::unique_ptr<TBitmap> b(FilteredBitmap());
  Clipboard()->Assign(b.get());
}

// A form of another kind brings no bitmap settings: the format's own apply.
void TBMPExportFormat::SaveToStreamOptions(TStream* Stream, TForm* Form) {
  std::unique_ptr<TBitmap> b(FilteredBitmap(dynamic_cast<TBMPOptions*>(Form)));
  b->SaveToStream(Stream);
}

std::string TBMPExportFormat::Description() const { return LumMsg_AsBitmap; }
std::string TBMPExportFormat::FileFilter() const { return LumMsg_BitmapFilter; }
