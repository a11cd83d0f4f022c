// Shared by the gallery tests: the units they need and small helpers.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
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
#include "gallery/editortools.h"
#include "gallery/exportformat.h"
#include "platform/forms.h"
#include "platform/lists.h"
#include "platform/testing.h"

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

// A form with a button over which dialogs are opened, as their edit routines open
// them; no dialog answer or message is left over from an earlier test.
class TDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureUnits();
    TestDialogs::Clear();
    ClearRecordedMessages();
    host.reset(new TForm(nullptr));
    host->SetBounds(40, 40, 360, 300);
    anchor = PlaceControl<TButton>(host.get(), host.get(), "Anchor", 10, 10, 75, 25);
  }
  std::unique_ptr<TForm> host;
  TButton* anchor = nullptr;
};

// The three export units, started for a test and stopped after it.
struct TExportUnits {
  TExportUnits() {
    for (auto start : {LumExportUnitInit, EMFExportUnitInit, BMPExportUnitInit}) start();
  }
  ~TExportUnits() {
    for (auto stop : {BMPExportUnitDone, EMFExportUnitDone, LumExportUnitDone}) stop();
  }
};

// The user clicks the list's item (scrolled into view); Then runs after the click.
// Posted from inside a modal script, one click after the other: Then may post the next.
inline void PostItemClick(TCustomListBox* List, int Index, std::function<void()> Then) {
  TestInput::PostCall([List, Index, Then] {
    List->MakeVisible(Index);
    const TRect r = List->ItemRect(Index);
    const int x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
    TestInput::PostMouseDown(List, mbLeft, x, y);
    TestInput::PostMouseUp(List, mbLeft, x, y);
    TestInput::PostCall(Then);
  });
}

inline std::string ReadFile(const std::string& Name) {
  TMemoryStream m;
  m.LoadFromFile(Name);
  return Str(m);
}

}  // namespace gallerytest
