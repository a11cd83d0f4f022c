// The export dialog: one chart panel out as a picture (the registered picture
// formats with their options), as the native chart stream, or as data, each copied,
// saved, mailed or opened in the desktop's program for its type.
//
// TLumExportFormBase holds the form and everything that needs no chart;
// TLumExportForm adds the series, the data exporters and the chart stream. The
// dialog is shown modally, or embedded in an editor page: hide PanelClose, uncheck
// CBFileSize, optionally hide TabNative's tab, then call EnableButtons once.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "canvas/comboflat.h"
#include "engine/exportdata.h"
#include "engine/panel.h"
#include "gallery/exportformat.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/lists.h"
#include "platform/stdctrls.h"

// The data save dialog's entries, filter indexes 1 to 8.
extern const char* const ExportDataFilters[8];
// Subject of the mail and stem of the temporary file.
constexpr const char* ExportMailSubject = "LumChart";

class TLumExportFormBase : public TForm {
  DECLARE_CLASS(TLumExportFormBase, TForm)
public:
  explicit TLumExportFormBase(TComponent* AOwner);
  ~TLumExportFormBase() override;

  TPageControl* Tabs;
  TTabSheet* TabPicture;
  TGroupBox* GBFormat;
  TListBox* LBFormat;
  TPageControl* PageOptions;
  TTabSheet* TabOptions;
  TTabSheet* TabSize;
  TLabel* LabelWidth;
  TEdit* EWidth;
  TUpDown* UDWidth;
  TLabel* LabelHeight;
  TEdit* EHeight;
  TUpDown* UDHeight;
  TCheckBox* CBAspect;
  TCheckBox* CBPicSize;
  TLabel* LabelPicSize;

  TTabSheet* TabNative;
  TRadioGroup* CBNativeFormat;
  TCheckBox* CBNativeData;
  TCheckBox* CBFileSize;
  TLabel* LabelSize;
  TButton* BViewNative;

  TTabSheet* TabData;
  TLabel* LabelSeries;
  TComboFlat* CBSeries;
  TRadioGroup* RGText;
  TCheckBox* CBDataPreview;
  TMemo* MemoData;
  TPageControl* PageDataOptions;
  TTabSheet* TabInclude;
  TCheckBox* CBIndex;
  TCheckBox* CBLabels;
  TCheckBox* CBHeader;
  TCheckBox* CBColors;
  TTabSheet* TabDataOptions;
  TLabel* LabelDelim;
  TComboFlat* CBDelim;
  TEdit* ECustom;
  TLabel* LabelQuotes;
  TEdit* EQuotes;
  TLabel* LabelEncoding;
  TComboFlat* CBXMLEncoding;
  TTabSheet* TabFormat;
  TCheckBox* CBUseSeriesFormat;
  TLabel* LabelValueFormat;
  TComboFlat* SeriesValueFormat;
  TButton* BFormat;

  TButton* BCopy;
  TButton* BSave;
  TButton* BSend;
  TButton* BPreview;
  TPanel* PanelClose;
  TButton* BClose;

  TSaveDialog* SavePictureDialog;
  TSaveDialog* SaveNativeDialog;
  TSaveDialog* SaveDataDialog;

  // The panel to export; the form's Tag names it when showing (see FormShow). Freeing
  // it (or a series the Data tab lists) is noticed: the form lets it go.
  TCustomLumPanel* Panel() const { return panel_; }
  void SetPanel(TCustomLumPanel* Value);
  // Of the three save dialogs; empty: the desktop's choice.
  std::string InitialDir;

  // Chart-specific operations; the base exports a plain component.
  // A new exporter configured from the Data tab; nullptr when there is no data.
  virtual TLumExportData* CreateDataExporter() { return nullptr; }
  // The native export as a stream at position 0.
  virtual std::unique_ptr<TMemoryStream> NativeToStream();
  virtual void NativeToFile(const std::string& FileName, bool IncludeData);
  virtual bool HasData() { return false; }
  virtual void PrepareSeries();

  // The picture format chosen in LBFormat; nullptr when none.
  TLumExportFormat* SelectedFormat() const;
  int FormatCount() const { return int(formats_.size()); }
  TLumExportFormat* Formats(int Index) const { return formats_.at(std::size_t(Index)).get(); }
  double AspectRatio() const { return aspect_; }
  // The character CBDelim (and ECustom) stand for.
  char Delimiter() const;
  // The data dialog's filter index for the chosen format and delimiter.
  int DataFilterIndex() const;
  // Without the dot: the current tab's file extension.
  std::string CurrentExtension();
  // Writes the current tab's export to the private temporary folder as
  // "LumChart.<ext>" and answers its name.
  std::string WriteTempFile();
  bool Loading() const { return loading_; }

  void EnableButtons();
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void LBFormatClick(TObject* Sender);
  void SizeChange(TObject* Sender);
  void CBPicSizeClick(TObject* Sender);
  void NativeChange(TObject* Sender);
  void DataChange(TObject* Sender);
  void RGTextClick(TObject* Sender);
  void CBDelimChange(TObject* Sender);
  void CBUseSeriesFormatClick(TObject* Sender);
  void BFormatClick(TObject* Sender);
  void TabsChange(TObject* Sender);
  void BCopyClick(TObject* Sender);
  void BSaveClick(TObject* Sender);
  void BSendClick(TObject* Sender);
  void BPreviewClick(TObject* Sender);
  void BViewNativeClick(TObject* Sender);
  void BCloseClick(TObject* Sender);

  void SetVisible(bool Value) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  std::string NativeExtension() const;
  std::string NativeText();
  void RefreshPicSize();
  void RefreshNativeSize();
  void RefreshDataPreview();
  void SavePicture(const std::string& FileName);
  void SaveNative(const std::string& FileName);
  void SaveData(const std::string& FileName);
  // The format for a file: by its extension among every format's filter patterns,
  // else the selected one.
  TLumExportFormat* FormatForFile(const std::string& FileName);
  bool loading_ = false;

private:
  TCustomLumPanel* panel_ = nullptr;
  std::vector<std::unique_ptr<TLumExportFormat>> formats_;
  std::vector<int> firstFilterIndex_;
  TForm* shownOptions_ = nullptr;
  bool adjusting_ = false;
  double aspect_ = 0;
};

class TLumExportForm : public TLumExportFormBase {
  DECLARE_CLASS(TLumExportForm, TLumExportFormBase)
public:
  explicit TLumExportForm(TComponent* AOwner);

  TLumExportData* CreateDataExporter() override;
  std::unique_ptr<TMemoryStream> NativeToStream() override;
  void NativeToFile(const std::string& FileName, bool IncludeData) override;
  bool HasData() override;
  void PrepareSeries() override;
};
