// Named colour palettes: the colours a chart gives its series by their index.
#pragma once
#include <string>
#include <vector>

#include "platform/classes.h"
#include "platform/types.h"

class TColorPalettes {
public:
  int Count() const { return int(items_.size()); }
  // EListError for an index outside 0..Count-1.
  const std::string& Name(int Index) const;
  const std::vector<TColor>& Colors(int Index) const;
  int Add(const std::string& Name, std::vector<TColor> Colors);
  void Rename(int Index, const std::string& Name);
  bool Exists(int Index) const { return Index >= 0 && Index < Count(); }
  // Colour ColorIndex of palette PaletteIndex, wrapping round the palette; a palette
  // number that names no palette uses palette 0, so a stray stored number still colours.
  TColor Color(int PaletteIndex, int ColorIndex) const;

private:
  struct Item {
    std::string Name;
    std::vector<TColor> Colors;
  };
  std::vector<Item> items_;
};

// The palettes of the library, numbered from 0; created by ChartUnitInit, nullptr
// before and after.
TColorPalettes* ColorPalettes();
// Palette colour by index, also before the palettes exist (the built-in first palette).
TColor PaletteColor(int PaletteIndex, int ColorIndex);

// The index charts use when the settings store holds none.
constexpr int DefaultPaletteIndex = 13;

// Adds each palette's name with its number as the item's object (read it back with
// PaletteNumber); AddDefault puts palette 0, "Default", first, otherwise it is left out.
void FillColorPaletteList(TStrings* List, bool AddDefault);
inline TObject* PaletteObject(int Number) { return reinterpret_cast<TObject*>(std::intptr_t(Number)); }
inline int PaletteNumber(TObject* Object) { return int(reinterpret_cast<std::intptr_t>(Object)); }

namespace chart_detail {
void CreatePalettes();
void FreePalettes();
}  // namespace chart_detail
