// Picture export: formats that turn a chart panel into a metafile or a bitmap, for
// the clipboard, a stream or a file; the list of format classes the export dialog
// offers, and the options forms a format embeds there.
//
// A format owns its options form (made on first request). Pictures are checked before
// anything is drawn: an empty size, a Windows metafile over 32767 either way, or over
// 2^28 pixels raise, and so does a chart that is drawing; files are written whole.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "canvas/comboflat.h"
#include "canvas/filters.h"
#include "engine/panel.h"
#include "platform/compwatch.h"
#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/metafile.h"
#include "platform/stdctrls.h"


class TLumExportFormat : public TObject {
  DECLARE_CLASS(TLumExportFormat, TObject)
public:
  TLumExportFormat();
  ~TLumExportFormat() override;

  // Watched: nullptr once the panel is freed, and the format refuses to draw.
  TCustomLumPanel* Panel() const { return panel_.Get(); }
  void SetPanel(TCustomLumPanel* Value) { panel_.Set(Value); }
  // 0: the panel's own.
  int Height = 0;
  int Width = 0;

  // Panel must be set ("Panel property is not set in Export format").
  void CopyToClipboard();
  // Draws first, then writes the whole file; with Options, that form's settings.
  void SaveToFile(const std::string& FileName, TForm* Options = nullptr);

  virtual void DoCopyToClipboard() = 0;
  // 1-based place of the format's entry in the save dialog's filter.
  virtual int FilterIndex() const { return filterIndex_; }
  // Takes the next running index (incremented first).
  virtual void SetFilterIndex(int& Index);
  // Whether an index chosen in the save dialog is one of this format's entries.
  virtual bool WantsFilterIndex(int Index) { return Index == filterIndex_; }
  virtual std::string Description() const = 0;
  // Without the dot.
  virtual std::string FileExtension() const = 0;
  virtual std::string FileFilter() const = 0;
  // The class of the picture made; nullptr when none.
  virtual TClass GraphicClass() const { return nullptr; }
  virtual void SaveToStream(TStream* Stream) = 0;
  virtual void SaveToStreamOptions(TStream* Stream, TForm* Options);
  // The options form, made on first request when Create is true; nullptr when the
  // format has none.
  virtual TForm* Options(bool Create = true);

  // Width and Height of 0 take the panel's.
  void CheckSize();

protected:
  // CheckSize, then the clear error for a size no picture can take.
  void CheckPictureSize(bool WindowsMetafile);
  void CheckPanel() const;
  int filterIndex_ = 0;
  std::unique_ptr<TForm> options_;

private:
  TComponentRef<TCustomLumPanel> panel_;
};

// The registered format classes, in registration order.
class TLumExportFormats {
public:
  int Count() const { return int(items_.size()); }
  TClass Get(int Index) const { return items_.at(std::size_t(Index)); }
  void Add(TClass Format) { items_.push_back(Format); }
  void Remove(TClass Format);
  // A new format of the class at Index (the caller frees it).
  TLumExportFormat* NewFormat(int Index) const;

private:
  std::vector<TClass> items_;
};

// nullptr until the first registration and after the export unit's shut-down.
extern TLumExportFormats* LumExportFormats;
void RegisterLumExportFormat(TClass Format);
void UnRegisterLumExportFormat(TClass Format);

// A new empty picture of the first registered format whose extension is the file's
// (case aside); nullptr when none. The formatted text's picture hook while the
// export unit runs.
TGraphic* ExportPictureForFile(const std::string& FileName);

// ---------------------------------------------------------------------------
class TEMFOptions : public TForm {
  DECLARE_CLASS(TEMFOptions, TForm)
public:
  explicit TEMFOptions(TComponent* AOwner);
  TCheckBox* CBEnhanced;
  void FormShow(TObject* Sender);
  static void DefineProperties(TPropertyTable& t);
};

class TEMFExportFormat : public TLumExportFormat {
  DECLARE_CLASS(TEMFExportFormat, TLumExportFormat)
public:
  // Enhanced until the options form exists, then as CBEnhanced says.
  bool Enhanced() const;
  // A new metafile of the chart (the caller frees it).
  TMetafile* Metafile();

  void DoCopyToClipboard() override;
  int FilterIndex() const override;
  void SetFilterIndex(int& Index) override;
  bool WantsFilterIndex(int Index) override;
  std::string Description() const override;
  std::string FileExtension() const override { return Enhanced() ? "emf" : "wmf"; }
  std::string FileFilter() const override;
  TClass GraphicClass() const override { return TMetafile::StaticClass(); }
  void SaveToStream(TStream* Stream) override;
  TForm* Options(bool Create = true) override;
  TEMFOptions* EMFOptions(bool Create = true) { return static_cast<TEMFOptions*>(Options(Create)); }
};

class TBMPExportFormat;

class TBMPOptions : public TForm {
  DECLARE_CLASS(TBMPOptions, TForm)
public:
  explicit TBMPOptions(TComponent* AOwner);
  TLabel* Label1;
  TComboFlat* CBColors;
  TCheckBox* CBMono;
  TLabel* Label2;
  TEdit* EDpi;
  TUpDown* UDDpi;
  TButton* Button1;
  TGroupBox* GroupBox1;
  TImage* ImageFiltered1;

  // The format whose picture the preview and "&Filters..." show; nullptr: none.
  TBMPExportFormat* ExportFormat = nullptr;
  // The item index of CBColors as a pixel format (pfDevice when none is selected).
  TPixelFormat PixelFormat() const;
  bool Loading() const { return loading_; }
  // The preview from the filtered bitmap; empty when the picture cannot be made.
  void RefreshPreview();

  void FormShow(TObject* Sender);
  void CBColorsChange(TObject* Sender);
  void CBMonoClick(TObject* Sender);
  void Button1Click(TObject* Sender);
  static void DefineProperties(TPropertyTable& t);

private:
  bool loading_ = false;
};

class TBMPExportFormat : public TLumExportFormat {
  DECLARE_CLASS(TBMPExportFormat, TLumExportFormat)
public:
  TBMPExportFormat();
  ~TBMPExportFormat() override;

  TFilterItems* Filters() const { return filters_.get(); }
  // The chart drawn with the options form's pixel format, DPI and monochrome (the
  // given form's, else the format's own); the caller frees it.
  TBitmap* RawBitmap(TBMPOptions* Options = nullptr);
  // The raw bitmap with the enabled filters applied in order.
  TBitmap* FilteredBitmap(TBMPOptions* Options = nullptr);

  void DoCopyToClipboard() override;
  std::string Description() const override;
  std::string FileExtension() const override { return "bmp"; }
  std::string FileFilter() const override;
  TClass GraphicClass() const override { return TBitmap::StaticClass(); }
  void SaveToStream(TStream* Stream) override { SaveToStreamOptions(Stream, nullptr); }
  void SaveToStreamOptions(TStream* Stream, TForm* Options) override;
  TForm* Options(bool Create = true) override;
  TBMPOptions* BMPOptions(bool Create = true) { return static_cast<TBMPOptions*>(Options(Create)); }

private:
  std::unique_ptr<TFilterItems> filters_;
};

// The export unit: the picture hook in at start-up, out (and the list freed) at
// shut-down. The metafile and bitmap units each register their format and options
// form once, however often they start.
void LumExportUnitInit();
void LumExportUnitDone();
void EMFExportUnitInit();
void EMFExportUnitDone();
void BMPExportUnitInit();
void BMPExportUnitDone();
