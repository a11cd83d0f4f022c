#include "editor/view3dpage.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "canvas/canvasunit.h"
#include "canvas/lumcanvas.h"
#include "chart/chart.h"
#include "chart/registry.h"
#include "chart/stdseries.h"
#include "engine/helpers.h"
#include "gallery/editortools.h"
#include "gallery/formbuild.h"
#include "gallery/gallerypanel.h"
#include "platform/rtl.h"
#include "zoomtext.h"

using namespace formbuild;

IMPLEMENT_CLASS(TFormLum3D, TChartObjectPage)

const char* const TFormLum3D::ViewNames[6] = {"2D", "Ortho Right", "Ortho Left", "3D Front", "3D Right", "3D Left"};

namespace {

// A labelled track bar with, when Value is given, a label showing its position.
TTrackBar* PlaceTrack(TComponent* Owner, TWinControl* Parent, const char* LabelName, const char* Caption,
                      const char* Name, int Top, int Min, int Max, TLabel*& Label) {
  auto* t = PlaceControl<TTrackBar>(Owner, Parent, Name, 238, Top, 126, 26);
  t->SetMin(Min);
  t->SetMax(Max);
  t->SetTickStyle(tsNone);
  Label = PlaceLabel(Owner, Parent, LabelName, 156, Top + 6, Caption, t);
  return t;
}

// What a view sets: the five values that decide it, and which walls and axes show.
struct TViewSpec {
  bool View3D, Orthogonal;
  int OrthoAngle, Rotation, Elevation;
};
// The 2D and orthogonal views take a new chart's rotation and elevation (345).
constexpr TViewSpec kViews[6] = {
    {false, true, 45, 345, 345}, {true, true, 45, 345, 345}, {true, true, 135, 345, 345},
    {true, false, 45, 360, 360}, {true, false, 45, 300, 360}, {true, false, 45, 45, 360},
};

// The values a drawing uses decide the match: only the 3D flag for a flat chart, the
// angle of an orthogonal one, rotation and elevation otherwise.
bool SameView(const TViewSpec& V, bool View3D, const TView3DOptions* O) {
  if (V.View3D != View3D) return false;
  if (!View3D) return true;
  if (V.Orthogonal != O->Orthogonal()) return false;
  if (V.Orthogonal) return V.OrthoAngle == O->OrthoAngle();
  return V.Rotation == O->Rotation() && V.Elevation == O->Elevation();
}

}  // namespace

TFormLum3D::TFormLum3D(TComponent* AOwner, TCustomLumPanel* AChart)
    : TChartObjectPage(AOwner, "FormLum3D", 420, 285), panel_(AChart) {
  PageControl1 = ClientPages(this, this, "PageControl1", 0, 0, 420, 285, true);
  TabOptions = Sheet(this, PageControl1, "TabOptions", "Options");
  TabViews = Sheet(this, PageControl1, "TabViews", "Views");
  TabRender = Sheet(this, PageControl1, "TabRender", "Render");
  PageControl1->SetActivePage(TabOptions);

  CBView3d = PlaceControl<TCheckBox>(this, TabOptions, "CBView3d", 8, 8, 130, 17, "&3 Dimensions");
  const auto percent = EditWithUpDown(this, TabOptions, "L3D", "3&D %:", "SE3d", "UD3D", 8, 72, 32, 42, 1, 100);
  L3D = percent.Label, SE3d = percent.Edit, UD3D = percent.UpDown;
  UD3D->SetIncrement(5);
  UD3D->SetPosition(15);
  CBOrthogonal = PlaceControl<TCheckBox>(this, TabOptions, "CBOrthogonal", 8, 64, 130, 17, "&Orthogonal");
  const auto angle =
      EditWithUpDown(this, TabOptions, "LOrthoAngle", "&Angle:", "EOrthoAngle", "UDOrthoAngle", 24, 72, 86, 42, 0, 180);
  LOrthoAngle = angle.Label, EOrthoAngle = angle.Edit, UDOrthoAngle = angle.UpDown;
  UDOrthoAngle->SetIncrement(5);
  UDOrthoAngle->SetPosition(45);
  CBClipPoints = PlaceControl<TCheckBox>(this, TabOptions, "CBClipPoints", 8, 120, 130, 17, "&Clip Points");
  const TZoomTextRow text = PlaceZoomTextRow(this, TabOptions, 8, 150);
  LZoomText = text.Label, CBZoomText = text.Combo, ETextSize = text.Edit, UDTextSize = text.UpDown;
  LTextPercent = text.Percent;

  SBZoom = PlaceTrack(this, TabOptions, "LZoom", "&Zoom:", "SBZoom", 4, 1, 500, LZoom);
  SBZoom->SetPosition(100);
  LZoomValue = PlaceLabel(this, TabOptions, "LZoomValue", 368, 10, "100%");
  SBRotation = PlaceTrack(this, TabOptions, "LRotation", "&Rotation:", "SBRotation", 36, 0, 360, LRotation);
  LRotationValue = PlaceLabel(this, TabOptions, "LRotationValue", 368, 42, "0");
  SBElevation = PlaceTrack(this, TabOptions, "LElevation", "E&levation:", "SBElevation", 68, 270, 360, LElevation);
  LElevationValue = PlaceLabel(this, TabOptions, "LElevationValue", 368, 74, "270");
  SBHOffset = PlaceTrack(this, TabOptions, "LHOffset", "&Horiz. Offset:", "SBHOffset", 100, -1500, 1500, LHOffset);
  SBVOffset = PlaceTrack(this, TabOptions, "LVOffset", "&Vert. Offset:", "SBVOffset", 132, -1500, 1500, LVOffset);
  SBPerspec = PlaceTrack(this, TabOptions, "LPerspec", "&Perspective:", "SBPerspec", 164, 0, 100, LPerspec);
  for (TTrackBar* t : {SBHOffset, SBVOffset}) t->SetPageSize(100);
  SBZoom->SetPageSize(10);

  ChartGalleryPanel1 = nullptr;

  LBRender = PlaceControl<TListBox>(this, TabRender, "LBRender", 0, 0, 150, 257);
  LBRender->SetAlign(alLeft);
  PanelRender = PlainPanel(this, TabRender, "PanelRender", alClient, 150, 0, 262, 257);
  PanelGDI = PlainPanel(this, PanelRender, "PanelGDI", alNone, 8, 8, 200, 30);
  PanelGDI->SetVisible(false);
  CBBuffered = PlaceControl<TCheckBox>(this, PanelGDI, "CBBuffered", 0, 6, 180, 17, "&Buffered display");

  OnShow = HANDLER(FormShow);
  PageControl1->OnChange = HANDLER(PageControl1Change);
  CBView3d->OnClick = HANDLER(CBView3dClick);
  SE3d->OnChange = HANDLER(SE3dChange);
  CBOrthogonal->OnClick = HANDLER(CBOrthogonalClick);
  EOrthoAngle->OnChange = HANDLER(EOrthoAngleChange);
  CBClipPoints->OnClick = HANDLER(CBClipPointsClick);
  CBZoomText->OnChange = HANDLER(CBZoomTextChange);
  ETextSize->OnChange = HANDLER(ETextSizeChange);
  SBZoom->OnChange = HANDLER(SBZoomChange);
  SBRotation->OnChange = HANDLER(SBRotationChange);
  SBElevation->OnChange = HANDLER(SBElevationChange);
  SBHOffset->OnChange = HANDLER(SBHOffsetChange);
  SBVOffset->OnChange = HANDLER(SBVOffsetChange);
  SBPerspec->OnChange = HANDLER(SBPerspecChange);
  LBRender->OnClick = HANDLER(LBRenderClick);
  CBBuffered->OnClick = HANDLER(CBBufferedClick);

  WatchChart(AChart);
  creating_ = false;
}

TFormLum3D::~TFormLum3D() { loading_ = true; }

TCustomLumPanel* TFormLum3D::Chart() const { return panel_; }

void TFormLum3D::ChartFreed() {
  panel_ = nullptr;
  // The canvas went with the chart: so does the editor made for it.
  delete renderEditor_.Get();
  PanelGDI->SetVisible(false);
  LBRender->Clear();
  renderClasses_.clear();
  if (ChartGalleryPanel1) ChartGalleryPanel1->ClearSelection();
}

void TFormLum3D::Changed() {
  if (TCustomLumPanel* c = Chart()) c->Invalidate();
}

bool TFormLum3D::RotationAllowed() const {
  TCustomLumPanel* c = Chart();
  if (!c) return false;
  if (c->Canvas() && c->Canvas()->SupportsFullRotation()) return true;
  auto* axes = dynamic_cast<TCustomAxisPanel*>(c);
  return !axes || axes->SeriesCount() == 0 || !dynamic_cast<TPieSeries*>(axes->Series(0));
}

void TFormLum3D::FormShow(TObject*) {
  TCustomLumPanel* c = Chart();
  if (!c) return;
  loading_ = true;
  TView3DOptions* v = c->View3DOptions();
  auto* chart = dynamic_cast<TCustomChart*>(c);
  SetControlsVisible(chart != nullptr, {L3D, SE3d, UD3D, CBClipPoints});
  if (chart) {
    UD3D->SetPosition(chart->Chart3DPercent());
    CBClipPoints->SetChecked(c->ClipPoints());
  }
  const bool full = c->Canvas() && c->Canvas()->SupportsFullRotation();
  SBRotation->SetMin(0);
  SBRotation->SetFrequency(full ? 20 : 45);
  SBElevation->SetMin(full ? 0 : 270);
  SBElevation->SetFrequency(full ? 20 : 10);
  SBZoom->SetPosition(v->Zoom());
  SBRotation->SetPosition(v->Rotation());
  SBElevation->SetPosition(v->Elevation());
  // An offset beyond its bar widens the bar to one and a half times it either way.
  for (auto [bar, offset] : {std::pair{SBHOffset, v->HorizOffset()}, std::pair{SBVOffset, v->VertOffset()}}) {
    if (offset < bar->Min() || offset > bar->Max()) {
      const int wide = std::abs(offset) + std::abs(offset) / 2;
      bar->SetMin(-wide);
      bar->SetMax(wide);
    }
    bar->SetPosition(offset);
  }
  LZoomValue->SetCaption(IntToStr(v->Zoom()) + "%");
  LRotationValue->SetCaption(IntToStr(v->Rotation()));
  LElevationValue->SetCaption(IntToStr(v->Elevation()));
  CBView3d->SetChecked(c->View3D());
  CBOrthogonal->SetChecked(v->Orthogonal());
  UDOrthoAngle->SetPosition(v->OrthoAngle());
  SBPerspec->SetPosition(v->Perspective());
  LoadZoomText({LZoomText, CBZoomText, ETextSize, UDTextSize, LTextPercent}, v);
  TabViews->SetTabVisible(!c->HasState(csDesigning));
  EnableControls();
  if (PageControl1->ActivePage() == TabViews) SelectMatchingView();
  if (PageControl1->ActivePage() == TabRender) FillRender();
  loading_ = false;
  TranslateControl(this);
}

void TFormLum3D::EnableControls() {
  TCustomLumPanel* c = Chart();
  if (!c) return;
  const bool full = c->Canvas() && c->Canvas()->SupportsFullRotation();
  CBOrthogonal->SetEnabled(c->View3D() && RotationAllowed());
  SBElevation->SetEnabled(c->View3D() && (full || !c->View3DOptions()->Orthogonal()));
  SBRotation->SetEnabled(SBElevation->Enabled() && CBOrthogonal->Enabled());
  EOrthoAngle->SetEnabled(CBOrthogonal->Enabled());
  UDOrthoAngle->SetEnabled(EOrthoAngle->Enabled());
}

void TFormLum3D::CBView3dClick(TObject*) {
  if (!Editing()) return;
  Chart()->SetView3D(CBView3d->Checked());
  EnableControls();
}

void TFormLum3D::SE3dChange(TObject*) {
  if (auto* chart = dynamic_cast<TCustomChart*>(Chart()); chart && Editing())
    chart->SetChart3DPercent(UD3D->Position());
}

void TFormLum3D::CBOrthogonalClick(TObject*) {
  if (!Editing()) return;
  Chart()->View3DOptions()->SetOrthogonal(CBOrthogonal->Checked());
  EnableControls();
}

void TFormLum3D::EOrthoAngleChange(TObject*) {
  if (Editing()) Chart()->View3DOptions()->SetOrthoAngle(UDOrthoAngle->Position());
}

void TFormLum3D::CBClipPointsClick(TObject*) {
  if (Editing()) Chart()->SetClipPoints(CBClipPoints->Checked());
}

void TFormLum3D::CBZoomTextChange(TObject*) {
  if (Editing()) ApplyZoomTextChoice({LZoomText, CBZoomText, ETextSize, UDTextSize, LTextPercent}, Chart()->View3DOptions());
}

void TFormLum3D::ETextSizeChange(TObject*) {
  if (Editing()) ApplyZoomTextSize({LZoomText, CBZoomText, ETextSize, UDTextSize, LTextPercent}, Chart()->View3DOptions());
}

void TFormLum3D::SBZoomChange(TObject*) {
  LZoomValue->SetCaption(IntToStr(SBZoom->Position()) + "%");
  if (Editing()) Chart()->View3DOptions()->SetZoom(SBZoom->Position());
}

void TFormLum3D::SBRotationChange(TObject*) {
  LRotationValue->SetCaption(IntToStr(SBRotation->Position()));
  if (Editing()) Chart()->View3DOptions()->SetRotation(SBRotation->Position());
}

void TFormLum3D::SBElevationChange(TObject*) {
  LElevationValue->SetCaption(IntToStr(SBElevation->Position()));
  if (Editing()) Chart()->View3DOptions()->SetElevation(SBElevation->Position());
}

void TFormLum3D::SBHOffsetChange(TObject*) {
  if (Editing()) Chart()->View3DOptions()->SetHorizOffset(SBHOffset->Position());
}

void TFormLum3D::SBVOffsetChange(TObject*) {
  if (Editing()) Chart()->View3DOptions()->SetVertOffset(SBVOffset->Position());
}

void TFormLum3D::SBPerspecChange(TObject*) {
  if (Editing()) Chart()->View3DOptions()->SetPerspective(SBPerspec->Position());
}

// ---- Views ------------------------------------------------------------------
void TFormLum3D::PageControl1Change(TObject*) {
  if (!Chart()) return;
  if (PageControl1->ActivePage() == TabViews) {
    if (!ChartGalleryPanel1) CreateViews();
    const bool was = loading_;
    loading_ = true;
    SelectMatchingView();
    loading_ = was;
  } else if (PageControl1->ActivePage() == TabRender) {
    FillRender();
  }
}

void TFormLum3D::CreateViews() {
  ChartGalleryPanel1 = PlaceControl<TChartGalleryPanel>(this, TabViews, "ChartGalleryPanel1", 0, 0, 412, 257);
  ChartGalleryPanel1->SetAlign(alClient);
  ChartGalleryPanel1->SetSmooth(false);
  ChartGalleryPanel1->SetDisplaySub(false);
  ChartGalleryPanel1->SetFocusRotation(false);
  ChartGalleryPanel1->SetNumCols(3);
  ChartGalleryPanel1->SetNumRows(2);
  if (LumSeriesTypes().Count() == 0) return;
  const TLumSeriesType& first = *LumSeriesTypes()[0];
  for (int i = 0; i < 6; ++i) {
    TGalleryChart* g = ChartGalleryPanel1->CreateChart(first);
    const TViewSpec& v = kViews[i];
    g->SetAutoRepaint(false);
    g->Title()->Text()->Clear();
    g->Title()->Text()->Add(ViewNames[i]);
    g->BackWall()->SetTransparent(false);
    g->Walls()->SetSize(5);
    g->SetView3D(v.View3D);
    TView3DOptions* o = g->View3DOptions();
    o->SetOrthogonal(v.Orthogonal);
    o->SetOrthoAngle(v.OrthoAngle);
    o->SetRotation(v.Rotation);
    o->SetElevation(v.Elevation);
    g->LeftAxis()->SetLabels(true);
    // The right axis labels as small as the gallery made the left ones.
    g->RightAxis()->LabelsFont()->Assign(g->LeftAxis()->LabelsFont());
    if (v.View3D && !v.Orthogonal)
      for (TChartSeries* s : g->SeriesList()) s->SetVertAxis(aBothVertAxis);
    switch (i) {
      case 2:  // Ortho Left
        g->RightWall()->SetVisible(true);
        for (TChartSeries* s : g->SeriesList()) s->SetVertAxis(aRightAxis);
        g->RightAxis()->SetZPosition(0);
        break;
      case 3:  // 3D Front
        g->LeftWall()->SetVisible(true);
        g->RightWall()->SetVisible(true);
        g->RightAxis()->SetZPosition(0);
        break;
      case 4:  // 3D Right
        g->LeftWall()->SetVisible(true);
        g->RightAxis()->SetZPosition(100);
        break;
      case 5:  // 3D Left
        g->RightWall()->SetVisible(true);
        g->RightAxis()->SetZPosition(0);
        g->LeftAxis()->SetZPosition(100);
        break;
      default: break;
    }
    g->SetAutoRepaint(true);
    g->Invalidate();
  }
  ChartGalleryPanel1->ResizeCharts();
  ChartGalleryPanel1->OnChangeChart = HANDLER(ViewChanged);
}

int TFormLum3D::MatchingView() const {
  TCustomLumPanel* c = Chart();
  if (!c) return -1;
  for (int i = 0; i < 6; ++i)
    if (SameView(kViews[i], c->View3D(), c->View3DOptions())) return i;
  return -1;
}

void TFormLum3D::SelectMatchingView() {
  if (!ChartGalleryPanel1 || ChartGalleryPanel1->Charts().Count() < 6) return;
  const int i = MatchingView();
  if (i < 0) {
    ChartGalleryPanel1->ClearSelection();
    return;
  }
  ChartGalleryPanel1->SelectChart(ChartGalleryPanel1->GetChart(i));
}

void TFormLum3D::ViewChanged(TObject*) {
  TCustomLumPanel* c = Chart();
  if (!c || loading_ || !ChartGalleryPanel1 || !ChartGalleryPanel1->SelectedChart) return;
  const int i = ChartGalleryPanel1->Charts().IndexOf(ChartGalleryPanel1->SelectedChart);
  if (i < 0 || i >= 6) return;
  TGalleryChart* g = ChartGalleryPanel1->SelectedChart;
  c->SetView3D(g->View3D());
  TView3DOptions* o = c->View3DOptions();
  o->SetOrthogonal(g->View3DOptions()->Orthogonal());
  o->SetOrthoAngle(g->View3DOptions()->OrthoAngle());
  o->SetRotation(g->View3DOptions()->Rotation());
  o->SetElevation(g->View3DOptions()->Elevation());
  // The options tab follows.
  FormShow(this);
}

// ---- Render -----------------------------------------------------------------
void TFormLum3D::FillRender() {
  TCustomLumPanel* c = Chart();
  LBRender->Clear();
  if (!c) return;
  renderClasses_ = CanvasClasses();
  for (TClass k : renderClasses_) LBRender->Items()->Add(CanvasDescription(k));
  const TClass current = c->Canvas() ? c->Canvas()->ClassType() : nullptr;
  const auto at = std::find(renderClasses_.begin(), renderClasses_.end(), current);
  LBRender->SetItemIndex(at == renderClasses_.end() ? -1 : int(at - renderClasses_.begin()));
  ShowRenderEditor();
}

void TFormLum3D::LBRenderClick(TObject*) {
  TCustomLumPanel* c = Chart();
  const int i = LBRender->ItemIndex();
  if (!c || i < 0 || size_t(i) >= renderClasses_.size()) return;
  const TClass k = renderClasses_[size_t(i)];
  // Only a class still registered is made.
  const auto& classes = CanvasClasses();
  if (std::find(classes.begin(), classes.end(), k) == classes.end()) return;
  THourGlass wait;
  // The editor of the old canvas goes before the canvas does.
  delete renderEditor_.Get();
  PanelGDI->SetVisible(false);
  c->SetCanvas(CreateCanvas(k));
  ShowRenderEditor();
}

void TFormLum3D::ShowRenderEditor() {
  TCustomLumPanel* c = Chart();
  delete renderEditor_.Get();
  PanelGDI->SetVisible(false);
  if (!c || !c->Canvas()) return;
  TCanvas3D* canvas = c->Canvas();
  const std::string name = CanvasEditorClassName(canvas->ClassType());
  TClass editor = name.empty() ? nullptr : GetClass(name);
  if (editor && editor->Create) {
    std::unique_ptr<TObject> made(editor->Create(this));
    if (auto* form = dynamic_cast<TForm*>(made.get())) {
      made.release();
      renderEditor_.Set(form);
      form->SetAlign(alClient);
      TranslateControl(form);
      EmbedEditorFormWithTag(form, PanelRender, std::intptr_t(canvas));
      return;
    }
  }
  if (auto* standard = dynamic_cast<TLumCanvas3D*>(canvas)) {
    const bool was = loading_;
    loading_ = true;
    CBBuffered->SetChecked(standard->BufferedDisplay());
    loading_ = was;
    PanelGDI->SetVisible(true);
  }
}

void TFormLum3D::CBBufferedClick(TObject*) {
  if (!Editing()) return;
  if (auto* standard = dynamic_cast<TLumCanvas3D*>(Chart()->Canvas())) {
    standard->SetBufferedDisplay(CBBuffered->Checked());
    Changed();
  }
}
