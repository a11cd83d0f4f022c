// Shared by the gallery tests: the units they need and small helpers.
#pragma once
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

inline std::string ReadFile(const std::string& Name) {
  TMemoryStream m;
  m.LoadFromFile(Name);
  return Str(m);
}

}  // namespace gallerytest
