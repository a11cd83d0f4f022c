#include "chart/palettes.h"

#include <array>
#include <memory>

#include "canvas/lumconst.h"

namespace {

constexpr TColor C(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }

struct BuiltIn {
  const char* Name;
  std::array<TColor, 12> Colors;
};

// Twelve colours each; neighbours differ strongly so that the first few series of a
// chart stay apart. Palette 13 is what a chart starts with.
constexpr BuiltIn kPalettes[] = {
    {"Default",  // saturated classic colours
     {C(220, 30, 30), C(30, 150, 40), C(250, 200, 0), C(25, 70, 200), C(240, 120, 0), C(130, 40, 160),
      C(0, 150, 160), C(120, 120, 120), C(200, 0, 130), C(110, 130, 0), C(0, 40, 110), C(130, 20, 20)}},
    {"Ledger",  // document tones: slate, burnt orange, cool grey, gold
     {C(60, 100, 170), C(215, 110, 50), C(150, 155, 160), C(235, 180, 30), C(100, 150, 200), C(95, 160, 80),
      C(40, 60, 110), C(150, 70, 30), C(90, 90, 95), C(170, 130, 20), C(50, 110, 150), C(60, 110, 50)}},
    {"Antique",  // dark, muted: burgundy, olive drab, old gold, slate
     {C(128, 0, 32), C(85, 107, 47), C(184, 134, 11), C(47, 79, 79), C(139, 69, 19), C(72, 61, 139),
      C(160, 82, 45), C(105, 105, 80), C(128, 64, 96), C(70, 90, 60), C(150, 120, 90), C(60, 40, 30)}},
    {"Soft Pastel",  // light tints of rose, mint, sky, cream, lilac
     {C(250, 170, 170), C(170, 220, 170), C(170, 200, 250), C(250, 220, 150), C(210, 180, 240),
      C(160, 225, 225), C(250, 200, 220), C(220, 230, 160), C(200, 200, 200), C(250, 190, 150),
      C(180, 210, 200), C(220, 190, 170)}},
    {"Bold",  // pure primaries and secondaries
     {C(255, 0, 0), C(0, 0, 255), C(0, 200, 0), C(255, 255, 0), C(255, 0, 255), C(0, 255, 255),
      C(255, 128, 0), C(128, 0, 255), C(0, 0, 0), C(128, 128, 128), C(0, 128, 128), C(128, 0, 0)}},
    {"Retro",  // orange, mustard, avocado, brown, brick
     {C(230, 120, 30), C(200, 160, 40), C(110, 130, 50), C(160, 80, 40), C(210, 80, 60), C(90, 140, 140),
      C(180, 110, 140), C(120, 90, 60), C(230, 200, 120), C(70, 100, 80), C(190, 60, 50), C(140, 140, 100)}},
    {"Web Safe",  // only channel steps of 51
     {C(204, 0, 0), C(0, 102, 204), C(0, 153, 51), C(255, 153, 0), C(102, 51, 153), C(0, 153, 153),
      C(204, 51, 153), C(153, 153, 0), C(51, 51, 51), C(255, 204, 0), C(102, 153, 255), C(153, 51, 0)}},
    {"Contemporary",  // flat, medium-bright interface colours
     {C(228, 80, 65), C(45, 150, 215), C(45, 190, 110), C(245, 170, 30), C(145, 85, 175), C(30, 165, 145),
      C(235, 120, 40), C(55, 70, 90), C(170, 180, 185), C(200, 50, 100), C(100, 120, 220), C(120, 160, 40)}},
    {"Spectrum",  // the hue circle from red through violet in twelve steps
     {C(230, 25, 25), C(240, 110, 20), C(245, 200, 20), C(160, 210, 30), C(40, 170, 60), C(30, 180, 150),
      C(30, 170, 220), C(40, 90, 210), C(90, 50, 190), C(150, 40, 180), C(210, 40, 160), C(220, 30, 90)}},
    {"Frost",  // cool blues, teals and silvers
     {C(30, 90, 160), C(80, 160, 200), C(150, 200, 230), C(20, 130, 140), C(100, 120, 150), C(170, 180, 200),
      C(40, 60, 100), C(90, 190, 190), C(60, 110, 180), C(200, 220, 235), C(50, 150, 120), C(120, 140, 170)}},
    {"Sandstone",  // warm earth: terracotta, sand, clay, umber
     {C(200, 120, 70), C(220, 180, 120), C(160, 90, 60), C(180, 150, 100), C(120, 80, 50), C(230, 160, 100),
      C(150, 120, 90), C(200, 90, 50), C(100, 70, 50), C(210, 200, 160), C(170, 110, 80), C(130, 100, 70)}},
    {"Glass",  // pale, clear aqua and sky tints
     {C(120, 180, 230), C(150, 220, 200), C(180, 200, 240), C(120, 200, 170), C(200, 220, 250),
      C(160, 190, 220), C(100, 160, 200), C(190, 230, 220), C(140, 170, 210), C(170, 210, 240),
      C(130, 200, 210), C(210, 230, 240)}},
    {"Grey Scale",  // greys, dark and light alternating
     {C(30, 30, 30), C(110, 110, 110), C(180, 180, 180), C(70, 70, 70), C(150, 150, 150), C(210, 210, 210),
      C(50, 50, 50), C(130, 130, 130), C(195, 195, 195), C(90, 90, 90), C(165, 165, 165), C(225, 225, 225)}},
    {"Lattice",  // clearly separated mid-tones that read well on white and on grey
     {C(40, 90, 180), C(230, 110, 20), C(40, 150, 60), C(200, 40, 40), C(130, 80, 170), C(140, 90, 70),
      C(220, 110, 170), C(120, 120, 120), C(180, 180, 40), C(30, 170, 190), C(20, 40, 100), C(120, 30, 30)}},
};

std::unique_ptr<TColorPalettes> gPalettes;

int Wrap(int i, int n) { return ((i % n) + n) % n; }

}  // namespace

const std::string& TColorPalettes::Name(int Index) const {
  if (!Exists(Index)) throw EListError(Format("List index out of bounds (%d)", Index));
  return items_[size_t(Index)].Name;
}

const std::vector<TColor>& TColorPalettes::Colors(int Index) const {
  if (!Exists(Index)) throw EListError(Format("List index out of bounds (%d)", Index));
  return items_[size_t(Index)].Colors;
}

void TColorPalettes::Rename(int Index, const std::string& Name) {
  if (!Exists(Index)) throw EListError(Format("List index out of bounds (%d)", Index));
  items_[size_t(Index)].Name = Name;
}

int TColorPalettes::Add(const std::string& Name, std::vector<TColor> Colors) {
  items_.push_back({Name, std::move(Colors)});
  return Count() - 1;
}

TColor TColorPalettes::Color(int PaletteIndex, int ColorIndex) const {
  if (!Exists(PaletteIndex)) PaletteIndex = 0;
  if (!Exists(PaletteIndex) || items_[size_t(PaletteIndex)].Colors.empty()) return PaletteColor(0, ColorIndex);
  const auto& cs = items_[size_t(PaletteIndex)].Colors;
  return cs[size_t(Wrap(ColorIndex, int(cs.size())))];
}

TColorPalettes* ColorPalettes() { return gPalettes.get(); }

TColor PaletteColor(int PaletteIndex, int ColorIndex) {
  if (gPalettes && gPalettes->Count() > 0 && !gPalettes->Colors(0).empty())
    return gPalettes->Color(PaletteIndex, ColorIndex);
  constexpr int n = int(std::size(kPalettes));
  const auto& cs = kPalettes[PaletteIndex >= 0 && PaletteIndex < n ? PaletteIndex : 0].Colors;
  return cs[size_t(Wrap(ColorIndex, int(cs.size())))];
}

void FillColorPaletteList(TStrings* List, bool AddDefault) {
  const TColorPalettes* p = ColorPalettes();
  if (!List || !p) return;
  List->BeginUpdate();
  for (int i = AddDefault ? 0 : 1; i < p->Count(); ++i) List->AddObject(p->Name(i), PaletteObject(i));
  List->EndUpdate();
}

namespace chart_detail {
void CreatePalettes() {
  auto p = std::make_unique<TColorPalettes>();
  for (const BuiltIn& b : kPalettes) p->Add(b.Name, std::vector<TColor>(b.Colors.begin(), b.Colors.end()));
  // The first palette carries the library's text for "Default".
  if (!LumMsg_PaletteDefault.empty()) p->Rename(0, LumMsg_PaletteDefault);
  gPalettes = std::move(p);
}
void FreePalettes() { gPalettes.reset(); }
}  // namespace chart_detail
