// What the chart tools share: the catalogue texts, taking the mouse, and the
// inverted pens that let a tool move a figure over the finished chart picture
// without repainting it (drawing the same figure twice restores the pixels).
#pragma once
#include <memory>
#include <string>
#include <utility>

#include "canvas/lumcanvas.h"
#include "engine/panel.h"
#include "engine/tools.h"

// One catalogue row, in gallery order: the class name, its gallery name and
// sentence (message texts, canvas/lumconst.h) and its editor form's name.
struct TToolCatalogueEntry {
  const char* ClassName;
  const std::string* Description;
  const std::string* LongDescription;
  const char* EditorClassName;
};
constexpr int ToolCatalogueCount = 17;
extern const TToolCatalogueEntry ToolCatalogue[ToolCatalogueCount];
// The entry of a class name (nullptr: none).
const TToolCatalogueEntry* FindToolCatalogueEntry(const std::string& ClassName);

// Class-level answers of a tool class, from its catalogue entry.
#define LUM_TOOL_CLASS_TEXTS(CLASS)                                                              \
  static std::string ClassDescription() { return *FindToolCatalogueEntry(#CLASS)->Description; } \
  static std::string ClassLongDescription() { return *FindToolCatalogueEntry(#CLASS)->LongDescription; } \
  static std::string ClassEditorClassName() { return FindToolCatalogueEntry(#CLASS)->EditorClassName; } \
  std::string Description() const override { return ClassDescription(); }                     \
  std::string LongDescription() const override { return ClassLongDescription(); }             \
  std::string EditorClassName() const override { return ClassEditorClassName(); }

// Lets a tool see, after firing one of its own events, whether a handler freed it:
// copy Watch() before the event, look at it after.
class TToolLifeline {
public:
  TToolLifeline() = default;
  TToolLifeline(const TToolLifeline&) = delete;
  TToolLifeline& operator=(const TToolLifeline&) = delete;
  ~TToolLifeline() { *alive_ = false; }
  std::shared_ptr<const bool> Watch() const { return alive_; }

private:
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Calls a tool's event through a copy of its handler, so that a handler which frees
// the tool (and with it the handler) returns safely.
template <class E, class... A>
void FireEvent(const E& Event, A&&... Args) {
  if (!Event.Assigned()) return;
  const E handler = Event;
  handler(std::forward<A>(Args)...);
}

// A tool takes the mouse event: the chart's zoom and scroll and the later tools
// leave it alone; with a cursor, the chart shows it.
void TakeMouse(TCustomAxisPanel* Chart);
void TakeMouse(TCustomAxisPanel* Chart, TCursor Cursor);
// The mouse is over nothing of the tool's: the chart shows its own saved cursor
// again, not one a tool left behind.
void GiveBackCursor(TCustomAxisPanel* Chart);

// The chart colour as the tools' inverted pens see it: clLumColor is the button face.
TColor ChartColorRGB(TCustomAxisPanel* Chart);

// While in scope, clips the canvas to the chart's plot rectangle (both ends in), or in
// 3D to the outline of its whole box, when the chart clips points.
class TClipToPlot {
public:
  TClipToPlot(TCustomAxisPanel* Chart, TCanvas3D* Canvas);
  ~TClipToPlot();
  TClipToPlot(const TClipToPlot&) = delete;
  TClipToPlot& operator=(const TClipToPlot&) = delete;

private:
  TCanvas3D* canvas_ = nullptr;
};

// Drawing on the chart's canvas for one figure. Inside a paint the canvas draws on
// the frame being made; outside it, on the control's persistent image, which the
// window then shows as it is (no repaint). Pen mode and canvas binding are restored
// when the scope ends.
class TToolDrawing {
public:
  explicit TToolDrawing(TCustomAxisPanel* Chart);
  ~TToolDrawing();
  TToolDrawing(const TToolDrawing&) = delete;
  TToolDrawing& operator=(const TToolDrawing&) = delete;

  TCanvas3D* Canvas() const { return canvas_; }
  // Whether the canvas draws anywhere (a chart never painted has no picture yet).
  bool Ready() const { return canvas_ != nullptr; }
  bool Is3D() const;

  // Cursor lines: the pen's colour XOR the chart colour (silver on a monochrome
  // chart), XOR mode, no brush.
  void CursorPen(TChartPen* Pen);
  // Lines being drawn: the pen's colour XOR (white - background), not-XOR mode, no
  // brush. Canvases that cannot invert draw plainly.
  void DrawLinePen(TChartPen* Pen);
  // Highlights: the pen's colour XOR (white - the chart colour), not-XOR mode; the
  // brush is left alone. Canvases that cannot invert draw plainly.
  void NotXorChartPen(TChartPen* Pen);

private:
  // The pen's colour XOR (white - Back) in not-XOR mode, so it shows in its own
  // colour over Back.
  void NotXorPen(TChartPen* Pen, TColor Back);

  TCustomAxisPanel* chart_;
  TCanvas3D* canvas_ = nullptr;
  TCanvas* restore_ = nullptr;  // the binding to put back after drawing outside a paint
  bool rebound_ = false;
};
