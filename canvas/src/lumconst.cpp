#include "canvas/lumconst.h"

#include "canvas/attributes.h"

#include <utility>
#include <vector>

std::string LumFileExtension, LumMsg_WrongFileFormat, LumMsg_AxisMinMax, LumMsg_AxisMaxMin,
    LumMsg_LeftAxis, LumMsg_RightAxis, LumMsg_TopAxis, LumMsg_BottomAxis, LumMsg_DepthAxis,
    LumMsg_DepthTopAxis, LumMsg_CircularSeries, LumMsg_InvalidSource, LumMsg_DefaultSeriesName,
    LumMsg_DefaultToolName, LumMsg_GalleryStandard, LumMsg_PaletteDefault, LumMsg_Index, LumMsg_Text,
    LumMsg_Colors, LumMsg_First, LumMsg_Prior, LumMsg_Next, LumMsg_Last, LumMsg_Insert, LumMsg_Delete,
    LumMsg_Edit, LumMsg_Post, LumMsg_Cancel, LumMsg_All;

std::string LumMsg_Change, LumMsg_ExportPanelNotSet, LumMsg_CanNotEmail, LumMsg_CanNotFindTemp,
    LumMsg_Bytes, LumMsg_AsMetafile, LumMsg_AsBitmap, LumMsg_MetafileFilter, LumMsg_BitmapFilter,
    LumMsg_LumFiles, LumMsg_SpaceFilter, LumMsg_TabFilter, LumMsg_CommaFilter, LumMsg_ColonFilter,
    LumMsg_CustomFilter, LumMsg_XMLFilter, LumMsg_HTMLFilter, LumMsg_ExcelFilter, LumMsg_TextFile,
    LumMsg_SelectTextFile, LumMsg_SaveAsText, LumMsg_ValuesDate, LumMsg_ValuesClose, LumMsg_ValuesOpen,
    LumMsg_ValuesHigh, LumMsg_ValuesLow, LumMsg_ExpAverageWeight;

namespace {

using TextTable = std::vector<std::pair<std::string*, const char*>>;

// Each unit's texts in one table, so assigning and emptying cannot drift apart.
const TextTable& FirstHalf() {
  static const TextTable t = {
      {&LumFileExtension, "lum"},
      {&LumMsg_AxisMinMax, "Axis Minimum Value must be <= Maximum"},
      {&LumMsg_AxisMaxMin, "Axis Maximum Value must be >= Minimum"},
      {&LumMsg_LeftAxis, "Left Axis"},
      {&LumMsg_RightAxis, "Right Axis"},
      {&LumMsg_TopAxis, "Top Axis"},
      {&LumMsg_BottomAxis, "Bottom Axis"},
      {&LumMsg_DepthAxis, "Depth Right"},
      {&LumMsg_DepthTopAxis, "Depth Top"},
      {&LumMsg_CircularSeries, "Circular Series dependences are not allowed"},
      {&LumMsg_InvalidSource, "No valid DataSource: %s"},
      {&LumMsg_DefaultSeriesName, "Series"},
      {&LumMsg_DefaultToolName, "ChartTool"},
      {&LumMsg_GalleryStandard, "Standard"},
      {&LumMsg_PaletteDefault, "Default"},
      {&LumMsg_Index, "Index"},
      {&LumMsg_Text, "Text"},
      {&LumMsg_Colors, "Colors"},
      {&LumMsg_First, "First"},
      {&LumMsg_Prior, "Prior"},
      {&LumMsg_Next, "Next"},
      {&LumMsg_Last, "Last"},
      {&LumMsg_Insert, "Insert"},
      {&LumMsg_Delete, "Delete"},
      {&LumMsg_Edit, "Edit"},
      {&LumMsg_Post, "Post"},
      {&LumMsg_Cancel, "Cancel"},
      {&LumMsg_All, "(all)"},
  };
  return t;
}

const TextTable& SecondHalf() {
  static const TextTable t = {
      {&LumMsg_Change, "&Cambiar..."},
      {&LumMsg_ExportPanelNotSet, "Panel property is not set in Export format"},
      {&LumMsg_CanNotEmail, "Can not email LumChart. Mapi Error: %d"},
      {&LumMsg_CanNotFindTemp, "Can not find Temp folder"},
      {&LumMsg_Bytes, "%d bytes"},
      {&LumMsg_AsMetafile, "as &Metafile"},
      {&LumMsg_AsBitmap, "as &Bitmap"},
      {&LumMsg_MetafileFilter, "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf"},
      {&LumMsg_BitmapFilter, "Bitmaps (*.bmp)|*.bmp"},
      {&LumMsg_LumFiles, "LumChart files"},
      {&LumMsg_SpaceFilter, "Space delimited text files (*.txt)|*.txt"},
      {&LumMsg_TabFilter, "Tab delimited text files (*.txt)|*.txt"},
      {&LumMsg_CommaFilter, "Comma delimited text files (*.csv)|*.csv"},
      {&LumMsg_ColonFilter, "Colon delimited text files (*.txt)|*.txt"},
      {&LumMsg_CustomFilter, "Custom delimited text files (*.txt)|*.txt"},
      {&LumMsg_XMLFilter, "XML files (*.xml)|*.xml"},
      {&LumMsg_HTMLFilter, "HTML files (*.htm)|*.htm"},
      {&LumMsg_ExcelFilter, "Microsoft Excel files (*.xls)|*.xls"},
      {&LumMsg_TextFile, "Text File"},
      {&LumMsg_SelectTextFile, "Select text file"},
      {&LumMsg_SaveAsText, "Save as text file"},
      {&LumMsg_ValuesDate, "Date"},
      {&LumMsg_ValuesClose, "Close"},
      {&LumMsg_ValuesOpen, "Open"},
      {&LumMsg_ValuesHigh, "High"},
      {&LumMsg_ValuesLow, "Low"},
      {&LumMsg_ExpAverageWeight, "ExpAverage Weight must be between 0 and 1"},
  };
  return t;
}

void Assign(const TextTable& t) {
  for (const auto& [var, text] : t) *var = text;
}
void Empty(const TextTable& t) {
  for (const auto& [var, text] : t) var->clear();
}

}  // namespace

void LumConstUnitInit() {
  Assign(FirstHalf());
  // Built from the extension so a changed extension renames the message too.
  LumMsg_WrongFileFormat = "Wrong *." + LumFileExtension + " file format";
  RegisterClass(TLumEmboss::StaticClass());
}

void LumConstUnitDone() {
  Empty(FirstHalf());
  LumMsg_WrongFileFormat.clear();
  UnRegisterClass(TLumEmboss::StaticClass());
}

void LumConst2UnitInit() { Assign(SecondHalf()); }
void LumConst2UnitDone() { Empty(SecondHalf()); }
