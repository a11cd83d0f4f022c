#include <cstring>

#include "analysis/tools.h"
#include "canvas/lumconst.h"

const TToolCatalogueEntry ToolCatalogue[ToolCatalogueCount] = {
    {"TCursorTool", &LumMsg_CursorTool, &LumMsg_CursorToolLong, "TCursorToolEditor"},
    {"TDragMarksTool", &LumMsg_DragMarksTool, &LumMsg_DragMarksToolLong, "TDragMarksToolEditor"},
    {"TAxisArrowTool", &LumMsg_AxisArrowTool, &LumMsg_AxisArrowToolLong, "TAxisArrowToolEditor"},
    {"TDrawLineTool", &LumMsg_DrawLineTool, &LumMsg_DrawLineToolLong, "TDrawLineEdit"},
    {"TNearestTool", &LumMsg_NearestTool, &LumMsg_NearestToolLong, "TNearestToolEdit"},
    {"TColorBandTool", &LumMsg_ColorBandTool, &LumMsg_ColorBandToolLong, "TColorBandToolEditor"},
    {"TColorLineTool", &LumMsg_ColorLineTool, &LumMsg_ColorLineToolLong, "TColorLineToolEditor"},
    {"TRotateTool", &LumMsg_RotateTool, &LumMsg_RotateToolLong, "TRotateToolEditor"},
    {"TChartImageTool", &LumMsg_ImageTool, &LumMsg_ImageToolLong, "TChartImageToolEditor"},
    {"TMarksTipTool", &LumMsg_MarksTipTool, &LumMsg_MarksTipToolLong, "TMarksTipToolEdit"},
    {"TAnnotationTool", &LumMsg_AnnotationTool, &LumMsg_AnnotationToolLong, "TAnnotationToolEdit"},
    {"TSeriesAnimationTool", &LumMsg_SeriesAnimationTool, &LumMsg_SeriesAnimationToolLong, "TSeriesAnimToolEditor"},
    {"TGridBandTool", &LumMsg_GridBandTool, &LumMsg_GridBandToolLong, "TGridBandToolEdit"},
    {"TAxisScrollTool", &LumMsg_AxisScrollTool, &LumMsg_AxisScrollToolLong, "TAxisScrollEditor"},
    {"TRectangleTool", &LumMsg_RectangleTool, &LumMsg_RectangleToolLong, "TAnnotationToolEdit"},
    // The series tools' editor, inherited.
    {"TClipSeriesTool", &LumMsg_ClipSeriesTool, &LumMsg_ClipSeriesToolLong, "TSeriesToolEditor"},
    {"TFullScreenTool", &LumMsg_FullScreenTool, &LumMsg_FullScreenToolLong, ""},
};

const TToolCatalogueEntry* FindToolCatalogueEntry(const std::string& ClassName) {
  for (const TToolCatalogueEntry& e : ToolCatalogue)
    if (ClassName == e.ClassName) return &e;
  return nullptr;
}

// ---------------------------------------------------------------------------
void TakeMouse(TCustomAxisPanel* Chart) {
  if (Chart) Chart->CancelMouse = true;
}

void TakeMouse(TCustomAxisPanel* Chart, TCursor Cursor) {
  if (!Chart) return;
  Chart->SetCursor(Cursor);
  Chart->CancelMouse = true;
}

void GiveBackCursor(TCustomAxisPanel* Chart) {
  if (Chart) Chart->RestoreSavedCursor();
}

TColor ChartColorRGB(TCustomAxisPanel* Chart) {
  const TColor c = Chart->Color() == clLumColor ? clBtnFace : Chart->Color();
  return ColorToRGB(c);
}

// ---------------------------------------------------------------------------
TToolDrawing::TToolDrawing(TCustomAxisPanel* Chart) : chart_(Chart) {
  if (!Chart) return;
  TCanvas3D* c = Chart->Canvas();
  if (!c) return;
  if (!Chart->Drawing()) {
    // Outside a paint the canvas still points at the last frame's buffer: draw on
    // the image the window shows instead. Nothing to draw on before the first paint.
    TCanvas* image = static_cast<TCustomControl*>(Chart)->Canvas();
    auto* lc = dynamic_cast<TLumCanvas3D*>(c);
    if (lc && lc->BufferedDisplay()) {
      if (!lc->Bitmap() || !image) return;
      restore_ = c->ReferenceCanvas();
      c->AttachCanvas(image);
      rebound_ = true;
    }
  }
  canvas_ = c;
}

TToolDrawing::~TToolDrawing() {
  if (!canvas_) return;
  canvas_->Pen()->SetMode(pmCopy);
  if (rebound_) canvas_->AttachCanvas(restore_);
}

TClipToPlot::TClipToPlot(TCustomAxisPanel* Chart, TCanvas3D* Canvas) {
  if (!Chart || !Canvas || !Chart->CanClip()) return;
  const TRect& r = Chart->ChartRect();
  const TRect clip{r.Left, r.Top, r.Right + 1, r.Bottom + 1};
  if (Chart->View3D())
    Canvas->ClipCube(clip, 0, Chart->Width3D());
  else
    Canvas->ClipRectangle(clip);
  canvas_ = Canvas;
}

TClipToPlot::~TClipToPlot() {
  if (canvas_) canvas_->UnClipRectangle();
}

bool TToolDrawing::Is3D() const { return chart_->View3D(); }

void TToolDrawing::CursorPen(TChartPen* Pen) {
  if (chart_->Monochrome()) canvas_->ApplyPenColor(Pen, clSilver);
  else canvas_->ApplyPenColor(Pen, TColor(ColorToRGB(Pen->Color()) ^ ChartColorRGB(chart_)));
  canvas_->Brush()->SetStyle(bsClear);
  canvas_->Pen()->SetMode(pmXor);
}

void TToolDrawing::DrawLinePen(TChartPen* Pen) {
  canvas_->Brush()->SetStyle(bsClear);
  NotXorPen(Pen, ColorToRGB(chart_->GetBackColor()));
}

void TToolDrawing::NotXorChartPen(TChartPen* Pen) { NotXorPen(Pen, ChartColorRGB(chart_)); }

void TToolDrawing::NotXorPen(TChartPen* Pen, TColor Back) {
  if (!canvas_->SupportsXORMode()) {
    canvas_->ApplyPen(Pen);
    return;
  }
  canvas_->ApplyPenColor(Pen, TColor(ColorToRGB(Pen->Color()) ^ (0xFFFFFF - Back)));
  canvas_->Pen()->SetMode(pmNotXor);
}
