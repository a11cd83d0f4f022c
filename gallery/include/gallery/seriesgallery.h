// The series gallery: the modal dialog that picks a series type, a new type for a
// series or a function from the registered gallery entries, page by page, and the
// routines that create or change series through it.
#pragma once
#include "canvas/comboflat.h"
#include "gallery/chartlistbox.h"
#include "chart/chart.h"
#include "gallery/gallerypanel.h"
#include "platform/stdctrls.h"

// A window that asks for galleries (the chart editor) and keeps a size for them;
// sizes below 1 mean none.
class IGalleryOwner {
public:
  virtual ~IGalleryOwner() = default;
  virtual int GalleryWidth() const = 0;
  virtual int GalleryHeight() const = 0;
};

class TLumGallery : public TForm {
  DECLARE_CLASS(TLumGallery, TForm)
public:
  explicit TLumGallery(TComponent* AOwner);
  // Writes the size when it is remembered and the caller gave none.
  ~TLumGallery() override;

  TTabControl* TabTypes;
  TTabControl* TabPages;
  TChartGalleryPanel* ChartGalleryPanel1;
  TPanel* P1;
  TCheckBox* CB3D;
  TCheckBox* CBSmooth;
  TEdit* ESearch;
  TComboFlat* CBPalette;
  TButton* Button1;
  TButton* Button2;

  bool FunctionsMode = false;
  bool FunctionsOnly = false;
  int RequestedWidth = 0, RequestedHeight = 0;

  void FormShow(TObject* Sender);
  void TabTypesChange(TObject* Sender);
  void TabPagesChange(TObject* Sender);
  void CBPaletteChange(TObject* Sender);
  void CB3DClick(TObject* Sender);
  void CBSmoothClick(TObject* Sender);
  void ESearchClick(TObject* Sender);
  void ESearchChange(TObject* Sender);
  void PanelSelected(TObject* Sender);
  // Deletes the tab of that name from TabTypes (the dialog's callers do).
  void DeleteTypeTab(const std::string& Name);

private:
  void ApplyPalette();
  void ResetTypeTabs();
};

// The alternate gallery: a list of series types and a panel of the chosen type's
// sub-styles (series types only).
class TLumGalleryForm : public TForm {
  DECLARE_CLASS(TLumGalleryForm, TForm)
public:
  explicit TLumGalleryForm(TComponent* AOwner);

  TPanel* Panel1;
  TLabel* Label1;
  TComboFlat* CBPage;
  TCheckBox* CB3D;
  TCheckBox* CBSmooth;
  TChartListBox* ChartListBox1;
  TSplitter* Splitter1;
  TChartGalleryPanel* ChartGalleryPanel1;
  TPanel* Panel2;
  TButton* BOK;
  TButton* BCancel;

  int RequestedWidth = 0, RequestedHeight = 0;
  // Holds one series per listed type.
  TChart* HiddenChart() const { return hidden_; }
  TClass ShownClass() const { return shown_; }

  void FormShow(TObject* Sender);
  void CBPageChange(TObject* Sender);
  void ListClick(TObject* Sender);
  void CB3DClick(TObject* Sender);
  void CBSmoothClick(TObject* Sender);
  void FormKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);

private:
  TChart* hidden_ = nullptr;
  TClass shown_ = nullptr;
};

// True when the user chose (OK with a selection). Width, Height 0: none given.
bool ShowGalleryDialog(TComponent* AOwner, TChartSeries* CurrentSeries, bool AllowFunctions, int Width, int Height,
                       TClass& SeriesClass, int& SubIndex, bool& View3D, TClass& FunctionClass, bool CheckSeries,
                       int& PaletteIndex);
// The new series in the chart, or nullptr when cancelled.
TChartSeries* CreateNewSeriesGallery(TComponent* AOwner, TChartSeries* Series, TCustomAxisPanel* Chart,
                                     bool AllowFunctions, bool CheckSeries, int& SubIndex, int Width = 0,
                                     int Height = 0);
// Replaces the series by one of the chosen type (unchanged when cancelled).
void ChangeSeriesTypeGallery(TComponent* AOwner, TChartSeries*& Series);
// The chosen function class, or nullptr.
TClass SelectGalleryFunction(TComponent* AOwner);
// The list box's hooks.
TChartSeries* GalleryNewSeries(TComponent* AOwner, TCustomAxisPanel* Chart, TChartSeries* Series);
TClass GalleryChangeType(TComponent* AOwner, TChartSeries*& Series);

// Registers the standard series and sets the list box's hooks; the reverse clears them.
void LumGallyUnitInit();
void LumGallyUnitDone();
