// The chart editor's 3D page: the view options of a chart (3D or flat, orthogonal
// angle, zoom, rotation, elevation, offsets, perspective, text zoom), a gallery of six
// standard views built on the first visit of its tab, and the drawing canvas the
// chart uses, with the canvas class's own editor (or the standard canvas's
// "Buffered display").
//
// Made with the chart it edits; the chart editor shows it again (FormShow) on each
// visit of its tab. It lets go of the chart when the chart is freed.
#pragma once
#include <vector>

#include "canvas/comboflat.h"
#include "editor/chartpage.h"
#include "platform/compwatch.h"
#include "platform/controls.h"
#include "platform/lists.h"
#include "platform/stdctrls.h"

class TChartGalleryPanel;
class TCustomLumPanel;
class TGalleryChart;

class TFormLum3D : public TChartObjectPage {
  DECLARE_CLASS(TFormLum3D, TChartObjectPage)
public:
  TFormLum3D(TComponent* AOwner, TCustomLumPanel* AChart);
  ~TFormLum3D() override;

  TPageControl* PageControl1;
  TTabSheet* TabOptions;
  TCheckBox* CBView3d;
  TLabel* L3D;
  TEdit* SE3d;
  TUpDown* UD3D;
  TCheckBox* CBOrthogonal;
  TLabel* LOrthoAngle;
  TEdit* EOrthoAngle;
  TUpDown* UDOrthoAngle;
  TCheckBox* CBClipPoints;
  TLabel* LZoomText;
  TComboFlat* CBZoomText;
  TEdit* ETextSize;
  TUpDown* UDTextSize;
  TLabel* LTextPercent;
  TLabel* LZoom;
  TTrackBar* SBZoom;
  TLabel* LZoomValue;
  TLabel* LRotation;
  TTrackBar* SBRotation;
  TLabel* LRotationValue;
  TLabel* LElevation;
  TTrackBar* SBElevation;
  TLabel* LElevationValue;
  TLabel* LHOffset;
  TTrackBar* SBHOffset;
  TLabel* LVOffset;
  TTrackBar* SBVOffset;
  TLabel* LPerspec;
  TTrackBar* SBPerspec;
  TTabSheet* TabViews;
  TChartGalleryPanel* ChartGalleryPanel1;  // nullptr until the tab's first visit
  TTabSheet* TabRender;
  TListBox* LBRender;
  TPanel* PanelRender;
  TPanel* PanelGDI;
  TCheckBox* CBBuffered;

  // The chart edited; nullptr once it was freed.
  TCustomLumPanel* Chart() const;
  // The render panel's editor of the canvas class; nullptr when none is shown.
  TForm* RenderEditor() const { return renderEditor_.Get(); }
  // The six views' names, in gallery order.
  static const char* const ViewNames[6];
  // The view matching the chart (its gallery index), -1 when none does.
  int MatchingView() const;

  void FormShow(TObject* Sender);
  void PageControl1Change(TObject* Sender);
  void CBView3dClick(TObject* Sender);
  void SE3dChange(TObject* Sender);
  void CBOrthogonalClick(TObject* Sender);
  void EOrthoAngleChange(TObject* Sender);
  void CBClipPointsClick(TObject* Sender);
  void CBZoomTextChange(TObject* Sender);
  void ETextSizeChange(TObject* Sender);
  void SBZoomChange(TObject* Sender);
  void SBRotationChange(TObject* Sender);
  void SBElevationChange(TObject* Sender);
  void SBHOffsetChange(TObject* Sender);
  void SBVOffsetChange(TObject* Sender);
  void SBPerspecChange(TObject* Sender);
  void ViewChanged(TObject* Sender);
  void LBRenderClick(TObject* Sender);
  void CBBufferedClick(TObject* Sender);

protected:
  void ChartFreed() override;

private:
  // Handlers act only while the page shows and is not filling its controls.
  bool Editing() const { return !loading_ && !creating_ && Chart() && Showing(); }
  void EnableControls();
  bool RotationAllowed() const;
  void CreateViews();
  void SelectMatchingView();
  void FillRender();
  // The editor of the chart's canvas class, in place of the previous one.
  void ShowRenderEditor();
  void Changed();
  // Watched here: any chart panel, not only an axis panel.
  TCustomLumPanel* panel_ = nullptr;
  bool loading_ = false;
  bool creating_ = true;
  TComponentRef<TForm> renderEditor_;
  // The canvas classes LBRender lists, in its order.
  std::vector<TClass> renderClasses_;
};
