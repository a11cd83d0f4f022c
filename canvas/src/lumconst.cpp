#include "canvas/lumconst.h"

#include "canvas/attributes.h"

#include <utility>
#include <vector>

std::string LumMsg_Copyright, LumFileExtension, LumMsg_WrongFileFormat, LumMsg_AxisMinMax, LumMsg_AxisMaxMin,
    LumMsg_LeftAxis, LumMsg_RightAxis, LumMsg_TopAxis, LumMsg_BottomAxis, LumMsg_DepthAxis,
    LumMsg_DepthTopAxis, LumMsg_CircularSeries, LumMsg_InvalidSource, LumMsg_DefaultSeriesName,
    LumMsg_DefaultToolName, LumMsg_GalleryStandard, LumMsg_PaletteDefault, LumMsg_Index, LumMsg_Text,
    LumMsg_Colors, LumMsg_First, LumMsg_Prior, LumMsg_Next, LumMsg_Last, LumMsg_Insert, LumMsg_Delete,
    LumMsg_Edit, LumMsg_Post, LumMsg_Cancel, LumMsg_All;
std::string LumMsg_PageOfPages;

std::string LumMsg_Change, LumMsg_ExportPanelNotSet, LumMsg_CanNotEmail, LumMsg_CanNotFindTemp,
    LumMsg_Bytes, LumMsg_AsMetafile, LumMsg_AsBitmap, LumMsg_MetafileFilter, LumMsg_BitmapFilter,
    LumMsg_LumFiles, LumMsg_SpaceFilter, LumMsg_TabFilter, LumMsg_CommaFilter, LumMsg_ColonFilter,
    LumMsg_CustomFilter, LumMsg_XMLFilter, LumMsg_HTMLFilter, LumMsg_ExcelFilter, LumMsg_TextFile,
    LumMsg_SelectTextFile, LumMsg_SaveAsText, LumMsg_ValuesDate, LumMsg_ValuesClose, LumMsg_ValuesOpen,
    LumMsg_ValuesHigh, LumMsg_ValuesLow, LumMsg_ExpAverageWeight;
std::string LumMsg_GalleryFinancial, LumMsg_GalleryStats, LumMsg_GalleryExtended, LumMsg_FunctionAdd,
    LumMsg_FunctionSubtract, LumMsg_FunctionMultiply, LumMsg_FunctionDivide, LumMsg_FunctionHigh,
    LumMsg_FunctionLow, LumMsg_FunctionAverage, LumMsg_FunctionCustom, LumMsg_FunctionMedian,
    LumMsg_FunctionMode, LumMsg_FunctionCLV, LumMsg_GalleryCandle, LumMsg_GalleryVolume, LumMsg_GalleryDarvas,
    LumMsg_FunctionADX, LumMsg_FunctionATR, LumMsg_FunctionRSI, LumMsg_FunctionMovingAverage,
    LumMsg_FunctionExpMovAve, LumMsg_FunctionExpAverage, LumMsg_FunctionSmoothedMovAvg, LumMsg_FunctionMomentum,
    LumMsg_FunctionMomentumDiv, LumMsg_FunctionStdDeviation, LumMsg_FunctionRMS, LumMsg_FunctionSkewness,
    LumMsg_FunctionKurtosis, LumMsg_FunctionMACD, LumMsg_FunctionMoneyFlow, LumMsg_FunctionRVI,
    LumMsg_FunctionAO, LumMsg_FunctionAC, LumMsg_FunctionAlligator, LumMsg_FunctionGator,
    LumMsg_FunctionStochastic, LumMsg_FunctionBollinger, LumMsg_FunctionCrossPoints, LumMsg_FunctionPerformance,
    LumMsg_FunctionVariance, LumMsg_FunctionPerimeter, LumMsg_FunctionPercentChange, LumMsg_FunctionSlope,
    LumMsg_GalleryHistogram, LumMsg_GalleryHorizHistogram, LumMsg_SubBar, LumMsg_SubNoOpen, LumMsg_SubNoClose,
    LumMsg_SubNoBorder, LumMsg_SubLine, LumMsg_SubDotted, LumMsg_SubOrigin, LumMsg_SubHollow, LumMsg_SubLines,
    LumMsg_SubTransparency, LumMsg_CursorTool, LumMsg_CursorToolLong, LumMsg_DragMarksTool,
    LumMsg_DragMarksToolLong, LumMsg_AxisArrowTool, LumMsg_AxisArrowToolLong, LumMsg_DrawLineTool,
    LumMsg_DrawLineToolLong, LumMsg_NearestTool, LumMsg_NearestToolLong, LumMsg_ColorBandTool,
    LumMsg_ColorBandToolLong, LumMsg_ColorLineTool, LumMsg_ColorLineToolLong, LumMsg_RotateTool,
    LumMsg_RotateToolLong, LumMsg_ImageTool, LumMsg_ImageToolLong, LumMsg_MarksTipTool, LumMsg_MarksTipToolLong,
    LumMsg_AnnotationTool, LumMsg_AnnotationToolLong, LumMsg_SeriesAnimationTool,
    LumMsg_SeriesAnimationToolLong, LumMsg_GridBandTool, LumMsg_GridBandToolLong, LumMsg_AxisScrollTool,
    LumMsg_AxisScrollToolLong, LumMsg_RectangleTool, LumMsg_RectangleToolLong, LumMsg_ClipSeriesTool,
    LumMsg_ClipSeriesToolLong, LumMsg_FullScreenTool, LumMsg_FullScreenToolLong, LumMsg_SmallDots,
    LumMsg_ConfirmDelete, LumMsg_DefaultNumberFormat, LumMsg_PercentFormat, LumMsg_Clear, LumMsg_Browse,
    LumMsg_SelectedSeries, LumMsg_DefaultEditorWidth, LumMsg_DefaultEditorHeight, LumMsg_ApplyChanges,
    LumMsg_DesiredIncrement, LumMsg_IncorrectValue, LumMsg_IncrementHint, LumMsg_DefaultAnimationName,
    LumMsg_ChangeToolName, LumMsg_NewToolName, LumMsg_TooManySamples, LumMsg_Maximum, LumMsg_Minimum,
    LumMsg_Editing, LumMsg_AllGroups, LumMsg_AddNewGroup, LumMsg_ChangeGroupName, LumMsg_GroupName;

namespace {

using TextTable = std::vector<std::pair<std::string*, const char*>>;

// Each unit's texts in one table, so assigning and emptying cannot drift apart.
const TextTable& FirstHalf() {
  static const TextTable t = {
      {&LumMsg_Copyright, "Charting library of the Phonark lattice program"},
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
      {&LumMsg_PageOfPages, "Page %d of %d"},
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
      {&LumMsg_GalleryFinancial, "Financial"},
      {&LumMsg_GalleryStats, "Stats"},
      {&LumMsg_GalleryExtended, "Extended"},
      {&LumMsg_FunctionAdd, "Add"},
      {&LumMsg_FunctionSubtract, "Subtract"},
      {&LumMsg_FunctionMultiply, "Multiply"},
      {&LumMsg_FunctionDivide, "Divide"},
      {&LumMsg_FunctionHigh, "High"},
      {&LumMsg_FunctionLow, "Low"},
      {&LumMsg_FunctionAverage, "Average"},
      {&LumMsg_FunctionCustom, "y = f(x)"},
      {&LumMsg_FunctionMedian, "Median"},
      {&LumMsg_FunctionMode, "Mode"},
      {&LumMsg_FunctionCLV, "Close Location\rValue"},
      {&LumMsg_GalleryCandle, "Candle"},
      {&LumMsg_GalleryVolume, "Volume"},
      {&LumMsg_GalleryDarvas, "Darvas"},
      {&LumMsg_FunctionADX, "ADX"},
      {&LumMsg_FunctionATR, "ATR"},
      {&LumMsg_FunctionRSI, "R.S.I."},
      {&LumMsg_FunctionMovingAverage, "Moving\rAverage"},
      {&LumMsg_FunctionExpMovAve, "Exp.Moving\rAverage"},
      {&LumMsg_FunctionExpAverage, "Exponential\rAverage"},
      {&LumMsg_FunctionSmoothedMovAvg, "Smoothed\rMoving Average"},
      {&LumMsg_FunctionMomentum, "Momentum"},
      {&LumMsg_FunctionMomentumDiv, "Momentum\rDivision"},
      {&LumMsg_FunctionStdDeviation, "Standard\rDeviation"},
      {&LumMsg_FunctionRMS, "Root Mean\rSquare"},
      {&LumMsg_FunctionSkewness, "Skewness"},
      {&LumMsg_FunctionKurtosis, "Kurtosis"},
      {&LumMsg_FunctionMACD, "MACD"},
      {&LumMsg_FunctionMoneyFlow, "Money Flow"},
      {&LumMsg_FunctionRVI, "RVI"},
      {&LumMsg_FunctionAO, "Awesome\rOscillator"},
      {&LumMsg_FunctionAC, "Accelerator\rDecelerator"},
      {&LumMsg_FunctionAlligator, "Alligator"},
      {&LumMsg_FunctionGator, "Gator\rOscillator"},
      {&LumMsg_FunctionStochastic, "Stochastic"},
      {&LumMsg_FunctionBollinger, "Bollinger\rbands"},
      {&LumMsg_FunctionCrossPoints, "Cross Points"},
      {&LumMsg_FunctionPerformance, "Performance"},
      {&LumMsg_FunctionVariance, "Variance"},
      {&LumMsg_FunctionPerimeter, "Perimeter"},
      {&LumMsg_FunctionPercentChange, "Percentage\rChange"},
      {&LumMsg_FunctionSlope, "Slope"},
      {&LumMsg_GalleryHistogram, "Histogram"},
      {&LumMsg_GalleryHorizHistogram, "Horizontal\rHistogram"},
      {&LumMsg_SubBar, "Bar"},
      {&LumMsg_SubNoOpen, "No Open"},
      {&LumMsg_SubNoClose, "No Close"},
      {&LumMsg_SubNoBorder, "No Border"},
      {&LumMsg_SubLine, "Line"},
      {&LumMsg_SubDotted, "Dotted"},
      {&LumMsg_SubOrigin, "Origin"},
      {&LumMsg_SubHollow, "Hollow"},
      {&LumMsg_SubLines, "Lines"},
      {&LumMsg_SubTransparency, "Transparency"},
      {&LumMsg_CursorTool, "Cursor"},
      {&LumMsg_CursorToolLong, "Displays draggable Cursor lines on top of Series."},
      {&LumMsg_DragMarksTool, "Drag Marks"},
      {&LumMsg_DragMarksToolLong, "Moves Series marks when dragging them with mouse."},
      {&LumMsg_AxisArrowTool, "Axis Arrows"},
      {&LumMsg_AxisArrowToolLong, "Displays clickable arrows at axis start and ending points, to scroll axis."},
      {&LumMsg_DrawLineTool, "Draw Line"},
      {&LumMsg_DrawLineToolLong, "Allows drawing custom lines by dragging the mouse."},
      {&LumMsg_NearestTool, "Nearest Point"},
      {&LumMsg_NearestToolLong, "Displays a graphical signal when the mouse is moving near a series point."},
      {&LumMsg_ColorBandTool, "Color Band"},
      {&LumMsg_ColorBandToolLong, "Displays a coloured rectangle (band) at the specified axis and position."},
      {&LumMsg_ColorLineTool, "Color Line"},
      {&LumMsg_ColorLineToolLong, "Displays a draggable line across axes."},
      {&LumMsg_RotateTool, "Rotate"},
      {&LumMsg_RotateToolLong, "Allows rotating Chart dragging with mouse button."},
      {&LumMsg_ImageTool, "Image"},
      {&LumMsg_ImageToolLong,
       "Displays a picture using the specified Series axes as boundaries. When the axis "
       "are zoomed or scrolled, the picture will follow the new boundaries."},
      {&LumMsg_MarksTipTool, "Mark Tips"},
      {&LumMsg_MarksTipToolLong,
       "Displays \"tips\" or \"hints\" when the end-user moves "
       "or clicks the mouse over a series point."},
      {&LumMsg_AnnotationTool, "Annotation"},
      {&LumMsg_AnnotationToolLong, "Displays custom text at any location inside Chart."},
      {&LumMsg_SeriesAnimationTool, "Series Animation"},
      {&LumMsg_SeriesAnimationToolLong, "Performs growing animation of Series points."},
      {&LumMsg_GridBandTool, "Grid Band"},
      {&LumMsg_GridBandToolLong,
       "Grid Band tool, use it to display a coloured rectangles (bands) at "
       "the grid lines of the specified axis and position."},
      {&LumMsg_AxisScrollTool, "Axis Scroll"},
      {&LumMsg_AxisScrollToolLong, "Allows the scrolling of Axes by mouse dragging"},
      {&LumMsg_RectangleTool, "Rectangle"},
      {&LumMsg_RectangleToolLong, "Displays custom text at any location inside Chart within a resizable box."},
      {&LumMsg_ClipSeriesTool, "Clip Series"},
      {&LumMsg_ClipSeriesToolLong, "Restricts Series painting outside Series associated axes boundaries."},
      {&LumMsg_FullScreenTool, "Full Screen"},
      {&LumMsg_FullScreenToolLong, "Show Chart maximized to full screen"},
      {&LumMsg_SmallDots, "Small Dots"},
      {&LumMsg_ConfirmDelete, "Delete %s ?"},
      {&LumMsg_DefaultNumberFormat, "#,##0.###"},
      {&LumMsg_PercentFormat, "##0.## %"},
      {&LumMsg_Clear, "Clea&r"},
      {&LumMsg_Browse, "B&rowse..."},
      {&LumMsg_SelectedSeries, "(Selected Series)"},
      {&LumMsg_DefaultEditorWidth, "414"},
      {&LumMsg_DefaultEditorHeight, "347"},
      {&LumMsg_ApplyChanges, "Apply Changes ?"},
      {&LumMsg_DesiredIncrement, "Desired %s Increment"},
      {&LumMsg_IncorrectValue, "Incorrect value. Reason: %s"},
      {&LumMsg_IncrementHint, "Enter [Number of Days] [hh:nn:ss]"},
      {&LumMsg_DefaultAnimationName, "ChartAnimation"},
      {&LumMsg_ChangeToolName, "Change tool name"},
      {&LumMsg_NewToolName, "New tool name?"},
      {&LumMsg_TooManySamples, "The number of sample values must be between 0 and %d"},
      {&LumMsg_Maximum, "Maximum"},
      {&LumMsg_Minimum, "Minimum"},
      {&LumMsg_Editing, "Editing %s"},
      {&LumMsg_AllGroups, "(all)"},
      {&LumMsg_AddNewGroup, "Add new group"},
      {&LumMsg_ChangeGroupName, "Change group name"},
      {&LumMsg_GroupName, "Group name:"},
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
