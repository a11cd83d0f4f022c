#include "canvas/buttons.h"
#include "canvas/canvasunit.h"

#include <algorithm>
#include <map>
#include <strings.h>

#include "canvas/comboflat.h"
#include "canvas/filters.h"
#include "canvas/lumcanvas.h"
#include "platform/graphics.h"
#include "platform/resources.h"

void RegisterCanvasFontResources();  // generated: canvas/fonts

const char* const LumLCDFontName = "DSEG7 Classic";
const char* const LumLEDFontName = "DSEG14 Modern";
const char* const LumStandardCanvasDescription = "Standard";
TPrivateFontsHook PrivateFontsHook = nullptr;

namespace {

struct CanvasEntry {
  std::string description, editor;
};

struct UnitState {
  int inits = 0;  // the unit may run more than once (tests); only the first counts
  std::vector<int> fontHandles;
  std::vector<std::string> families;
  std::vector<TClass> canvases;
  std::map<TClass, CanvasEntry> entries;  // kept for unregistered descendants' look-up too
};

UnitState& State() {
  static UnitState s;
  return s;
}

void AddPrivateFonts(TStrings* Fonts) {
  if (!Fonts) return;
  for (const std::string& f : State().families)
    if (Fonts->IndexOf(f) < 0) Fonts->Add(f);
}

void RegisterFonts() {
  RegisterCanvasFontResources();
  for (const char* res : {"LUMFONT_LCD", "LUMFONT_LED"}) {
    const std::uint8_t* data;
    std::size_t size;
    if (!FindResource(res, data, size)) continue;
    std::vector<std::string> families;
    if (const int h = AddFontMemResource(data, size, &families)) {
      State().fontHandles.push_back(h);
      for (auto& f : families) State().families.push_back(f);
    }
  }
  if (!State().fontHandles.empty()) PrivateFontsHook = AddPrivateFonts;
}

void RemoveFonts() {
  PrivateFontsHook = nullptr;
  for (int h : State().fontHandles) RemoveFontMemResource(h);
  State().fontHandles.clear();
  State().families.clear();
}

}  // namespace

// ---------------------------------------------------------------------------
void RegisterCanvas(TClass CanvasClass, const std::string& Description, const std::string& EditorClassName) {
  if (!CanvasClass || !CanvasClass->InheritsFrom(TCanvas3D::StaticClass()))
    throw EInvalidOperation("Canvas class must descend from TCanvas3D");
  State().entries[CanvasClass] = {Description, EditorClassName};
  auto& v = State().canvases;
  if (std::find(v.begin(), v.end(), CanvasClass) == v.end()) v.push_back(CanvasClass);
}

void UnRegisterCanvas(TClass CanvasClass) {
  auto& v = State().canvases;
  v.erase(std::remove(v.begin(), v.end(), CanvasClass), v.end());
}

const std::vector<TClass>& CanvasClasses() { return State().canvases; }

TClass FindCanvasClass(const std::string& ClassName) {
  for (TClass c : State().canvases)
    if (strcasecmp(c->Name.c_str(), ClassName.c_str()) == 0) return c;
  return nullptr;
}

namespace {
// The entry of the class or of its nearest registered ancestor.
const CanvasEntry* EntryOf(TClass CanvasClass) {
  for (TClass c = CanvasClass; c; c = c->Parent)
    if (auto it = State().entries.find(c); it != State().entries.end()) return &it->second;
  return nullptr;
}
}  // namespace

std::string CanvasDescription(TClass CanvasClass) {
  const CanvasEntry* e = EntryOf(CanvasClass);
  return e ? e->description : std::string();
}

std::string CanvasEditorClassName(TClass CanvasClass) {
  const CanvasEntry* e = EntryOf(CanvasClass);
  return e ? e->editor : std::string();
}

TCanvas3D* CreateCanvas(TClass CanvasClass) {
  if (!CanvasClass || !CanvasClass->InheritsFrom(TCanvas3D::StaticClass()))
    throw EInvalidOperation("Canvas class must descend from TCanvas3D");
  return static_cast<TCanvas3D*>(CanvasClass->NewInstance(nullptr));
}

// ---------------------------------------------------------------------------
void LumCanvasUnitInit() {
  if (State().inits++ > 0) return;
  RegisterFonts();
  RegisterCanvas(TLumCanvas3D::StaticClass(), LumStandardCanvasDescription);
  RegisterStandardFilters();
  RegisterClasses({TComboFlat::StaticClass(), TLumButton::StaticClass(), TButtonColor::StaticClass()});
}

void LumCanvasUnitDone() {
  if (State().inits == 0 || --State().inits > 0) return;
  UnRegisterClass(TComboFlat::StaticClass());
  UnRegisterStandardFilters();
  UnRegisterClass(TButtonColor::StaticClass());
  UnRegisterClass(TLumButton::StaticClass());
  State().canvases.clear();
  State().entries.clear();
  RemoveFonts();
}
