// Shared by the gallery tests: the units they need and small helpers.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "gallery/aboutbox.h"
#include "gallery/chartstream.h"
#include "gallery/gallerypanel.h"
#include "gallery/seriesgallery.h"
#include "gallery/toolsgallery.h"
#include "gallery/exportformat.h"
#include "platform/forms.h"

namespace gallerytest {

inline void EnsureUnits() {
  static bool done = false;
  if (done) return;
  done = true;
  FormsUnitInit();
  LumConstUnitInit();
  LumConst2UnitInit();
  ChartUnitInit();
  LumGallyUnitInit();
  LumStoreUnitInit();
  LumGalleryPanelUnitInit();
  LumToolsGalleryUnitInit();
  LumAboutUnitInit();
}

inline std::string Str(TMemoryStream& S) { return std::string(S.Bytes().begin(), S.Bytes().end()); }

inline std::string Hex(const std::string& Bytes) {
  static const char d[] = "0123456789abcdef";
  std::string h;
  for (unsigned char c : Bytes) h += std::string{d[c >> 4], d[c & 15]};
  return h;
}

// The message of what Call raised.
inline std::string Raised(const std::function<void()>& Call) {
  try {
    Call();
  } catch (const Exception& e) {
    return e.Message;
  }
  return "(nothing raised)";
}

// The three export units, started for a test and stopped after it.
struct TExportUnits {
  TExportUnits() {
    for (auto start : {LumExportUnitInit, EMFExportUnitInit, BMPExportUnitInit}) start();
  }
  ~TExportUnits() {
    for (auto stop : {BMPExportUnitDone, EMFExportUnitDone, LumExportUnitDone}) stop();
  }
};

inline std::string ReadFile(const std::string& Name) {
  TMemoryStream m;
  m.LoadFromFile(Name);
  return Str(m);
}

}  // namespace gallerytest
