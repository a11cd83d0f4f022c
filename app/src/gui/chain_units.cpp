// The program's unit table, shared by the executable and the tests.
#ifdef PHONARK_HAS_ANALYSIS
#include "analysis/toolsunit.h"
#include "analysis/unit.h"
#endif
#include "app/mainwindow.h"
#include "canvas/canvasunit.h"
#include "canvas/lumconst.h"
#include "chart/unit.h"
#ifdef PHONARK_HAS_EDITOR
#include "editor/unit.h"
#endif
#include "engine/engineunit.h"
#ifdef PHONARK_HAS_GALLERY
#include "gallery/aboutbox.h"
#include "gallery/chartstream.h"
#include "gallery/exportformat.h"
#include "gallery/gallerypanel.h"
#include "gallery/preview.h"
#include "gallery/seriesgallery.h"
#include "gallery/toolsgallery.h"
#endif
#include "gif/gifunit.h"
#include "platform/forms.h"
#include "platform/graphics.h"

std::vector<TUnitInfo> PhonarkUnits() {
  // Each unit after the units it uses: the class library, the drawing canvas
  // (first half of the texts, then the formatted text, the embedded fonts and the
  // canvas class list), the chart engine (tool classes, hand cursor), the chart
  // control's lists and palettes, the series gallery (the standard series' gallery
  // entries, first of all, and the list box's hooks), the second half of the texts, the analysis units
  // (basic functions, close location value, candles, statistics), the chart tools
  // (their type list), the chart storage (its stream classes), the chart editor (its
  // forms by name), the gallery panel,
  // the tools gallery (their classes and glyphs) and the about box, the picture export
  // (the formatted text's picture hook, then the metafile and bitmap formats), the
  // print preview (its panel by class name), the GIF picture format,
  // and the application's own unit last, which has nothing to do.
  return {
      {"Graphics", GraphicsUnitInit, GraphicsUnitDone},
      {"Forms", FormsUnitInit, FormsUnitDone},
      {"LumConst", LumConstUnitInit, LumConstUnitDone},
      {"LumCanvas", LumCanvasUnitInit, LumCanvasUnitDone},
      {"LumEngine", LumEngineUnitInit, LumEngineUnitDone},
      {"Chart", ChartUnitInit, ChartUnitDone},
#ifdef PHONARK_HAS_GALLERY
      {"LumGally", LumGallyUnitInit, LumGallyUnitDone},
#endif
      {"LumConst2", LumConst2UnitInit, LumConst2UnitDone},
#ifdef PHONARK_HAS_ANALYSIS
      {"BasicFunctions", BasicFunctionsUnitInit, BasicFunctionsUnitDone},
      {"CLVFunction", CLVFunctionUnitInit, CLVFunctionUnitDone},
      {"Candle", CandleUnitInit, CandleUnitDone},
      {"Statistics", StatisticsUnitInit, StatisticsUnitDone},
      {"LumTools", LumToolsUnitInit, LumToolsUnitDone},
#endif
#ifdef PHONARK_HAS_GALLERY
      {"LumStore", LumStoreUnitInit, LumStoreUnitDone},
#ifdef PHONARK_HAS_EDITOR
      {"LumEditor", LumEditorUnitInit, LumEditorUnitDone},
#endif
      {"LumGalleryPanel", LumGalleryPanelUnitInit, LumGalleryPanelUnitDone},
      {"LumToolsGallery", LumToolsGalleryUnitInit, LumToolsGalleryUnitDone},
      {"LumAbout", LumAboutUnitInit, LumAboutUnitDone},
      {"LumExport", LumExportUnitInit, LumExportUnitDone},
      {"EMFExport", EMFExportUnitInit, EMFExportUnitDone},
      {"BMPExport", BMPExportUnitInit, BMPExportUnitDone},
      {"LumPreview", LumPreviewUnitInit, LumPreviewUnitDone},
#endif
      {"GIFImage", GIFImageUnitInit, GIFImageUnitDone},
      {"Chain", nullptr, nullptr},
  };
}
