#include "gallery/exportformat.h"

#include <algorithm>

#include "canvas/lumconst.h"
#include "canvas/richtext.h"
#include "gallery/exportdialog.h"
#include "namedfile.h"
#include "platform/classes.h"
#include "platform/rtl.h"

IMPLEMENT_CLASS(TLumExportFormat, TObject)

TLumExportFormats* LumExportFormats = nullptr;

namespace {

// Metafile coordinates are 16-bit in the Windows form; bitmaps and the metafile
// canvas's backing image stop at 2^28 pixels (a gigabyte at 32 bits).
constexpr long long MaxWindowsMetafileSide = 32767;
constexpr long long MaxPicturePixels = 1LL << 28;

}  // namespace

TLumExportFormat::TLumExportFormat() = default;
TLumExportFormat::~TLumExportFormat() = default;

void TLumExportFormat::CheckPanel() const {
  if (!Panel()) throw Exception(LumMsg_ExportPanelNotSet);
}

void TLumExportFormat::CopyToClipboard() {
  CheckPanel();
  Options(true);
  CheckSize();
  DoCopyToClipboard();
}

void TLumExportFormat::SaveToFile(const std::string& FileName, TForm* Form) {
  CheckPanel();
  Options(true);
  CheckSize();
  // The picture is made in memory first, so a failed drawing leaves no file behind.
  TMemoryStream picture;
  if (Form) SaveToStreamOptions(&picture, Form);
  else SaveToStream(&picture);
  SaveNamedFile(FileName, [&](TStream* s) { s->WriteBuffer(picture.Memory(), picture.Size()); });
}

void TLumExportFormat::SetFilterIndex(int& Index) { filterIndex_ = ++Index; }

// A form that has no settings of its own for the picture writes as without one.
void TLumExportFormat::SaveToStreamOptions(TStream* Stream, TForm*) { SaveToStream(Stream); }

TForm* TLumExportFormat::Options(bool) { return nullptr; }

void TLumExportFormat::CheckSize() {
  if (!Panel()) return;
  if (Width == 0) Width = Panel()->Width();
  if (Height == 0) Height = Panel()->Height();
}

void TLumExportFormat::CheckPictureSize(bool WindowsMetafile) {
  CheckPanel();
  CheckSize();
  const long long w = Width, h = Height;
  if (w <= 0 || h <= 0) throw Exception(Format("Cannot export an empty picture (%d x %d)", Width, Height));
  if (WindowsMetafile && (w > MaxWindowsMetafileSide || h > MaxWindowsMetafileSide))
    throw Exception(Format("Cannot export a Windows metafile of %d x %d: at most 32767 each way", Width, Height));
  if (w * h > MaxPicturePixels)
    throw Exception(Format("Cannot export a picture of %d x %d: at most 268435456 pixels", Width, Height));
}

// ---------------------------------------------------------------------------
void TLumExportFormats::Remove(TClass Format) {
  const auto i = std::find(items_.begin(), items_.end(), Format);
  if (i != items_.end()) items_.erase(i);
}

TLumExportFormat* TLumExportFormats::NewFormat(int Index) const {
  std::unique_ptr<TObject> o(Get(Index)->NewInstance(nullptr));
  auto* f = dynamic_cast<TLumExportFormat*>(o.get());
  if (f) o.release();
  return f;
}

void RegisterLumExportFormat(TClass Format) {
  if (!LumExportFormats) LumExportFormats = new TLumExportFormats();
  LumExportFormats->Add(Format);
}

void UnRegisterLumExportFormat(TClass Format) {
  if (LumExportFormats) LumExportFormats->Remove(Format);
}

TGraphic* ExportPictureForFile(const std::string& FileName) {
  if (!LumExportFormats) return nullptr;
  std::string ext = LowerCase(ExtractFileExt(FileName));
  if (!ext.empty()) ext.erase(0, 1);
  for (int i = 0; i < LumExportFormats->Count(); ++i) {
    std::unique_ptr<TLumExportFormat> f(LumExportFormats->NewFormat(i));
    if (!f || LowerCase(f->FileExtension()) != ext) continue;
    const TClass graphic = f->GraphicClass();
    if (!graphic) return nullptr;
    std::unique_ptr<TObject> o(graphic->NewInstance(nullptr));
    auto* g = dynamic_cast<TGraphic*>(o.get());
    if (g) o.release();
    return g;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
namespace {
int exportUnitCount = 0;
int emfUnitCount = 0;
int bmpUnitCount = 0;

// Registers Format and its options form on the unit's first start only.
void StartFormatUnit(int& Count, TClass Format, TClass Options) {
  if (Count++ > 0) return;
  RegisterLumExportFormat(Format);
  RegisterClass(Options);
}

void StopFormatUnit(int& Count, TClass Format, TClass Options) {
  if (Count == 0 || --Count > 0) return;
  UnRegisterLumExportFormat(Format);
  UnRegisterClass(Options);
}
}  // namespace

void LumExportUnitInit() {
  if (exportUnitCount++ > 0) return;
  RichTextPictureHook = ExportPictureForFile;
  RegisterClasses({TLumExportFormBase::StaticClass(), TLumExportForm::StaticClass()});
}

void LumExportUnitDone() {
  if (exportUnitCount == 0 || --exportUnitCount > 0) return;
  if (RichTextPictureHook == ExportPictureForFile) RichTextPictureHook = nullptr;
  UnRegisterClass(TLumExportFormBase::StaticClass());
  UnRegisterClass(TLumExportForm::StaticClass());
  delete LumExportFormats;
  LumExportFormats = nullptr;
}

void EMFExportUnitInit() { StartFormatUnit(emfUnitCount, TEMFExportFormat::StaticClass(), TEMFOptions::StaticClass()); }
void EMFExportUnitDone() { StopFormatUnit(emfUnitCount, TEMFExportFormat::StaticClass(), TEMFOptions::StaticClass()); }
void BMPExportUnitInit() { StartFormatUnit(bmpUnitCount, TBMPExportFormat::StaticClass(), TBMPOptions::StaticClass()); }
void BMPExportUnitDone() { StopFormatUnit(bmpUnitCount, TBMPExportFormat::StaticClass(), TBMPOptions::StaticClass()); }
