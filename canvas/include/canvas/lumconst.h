// The library's message texts: global strings, empty until the unit table runs their
// initialisation, read by every layer above. The texts are split over two units as the
// start-up order wants them: LumConst (with the canvas, before the chart engine) holds
// what the canvas, engine, chart control and storage raise or show; LumConst2 (after the
// chart control) holds the texts of the analysis, export and editor units. Later work
// adds its texts to the unit that comes before their first reader.
#pragma once
#include <string>

// ---- LumConst ------------------------------------------------------------
// Native chart files.
extern std::string LumFileExtension;         // "lum"
extern std::string LumMsg_WrongFileFormat;   // "Wrong *." + LumFileExtension + " file format"
// Axes.
extern std::string LumMsg_AxisMinMax;        // "Axis Minimum Value must be <= Maximum"
extern std::string LumMsg_AxisMaxMin;        // "Axis Maximum Value must be >= Minimum"
extern std::string LumMsg_LeftAxis;          // "Left Axis"
extern std::string LumMsg_RightAxis;         // "Right Axis"
extern std::string LumMsg_TopAxis;           // "Top Axis"
extern std::string LumMsg_BottomAxis;        // "Bottom Axis"
extern std::string LumMsg_DepthAxis;         // "Depth Right"
extern std::string LumMsg_DepthTopAxis;      // "Depth Top"
// Series and data sources.
extern std::string LumMsg_CircularSeries;    // "Circular Series dependences are not allowed"
extern std::string LumMsg_InvalidSource;     // "No valid DataSource: %s"
extern std::string LumMsg_DefaultSeriesName; // "Series"
extern std::string LumMsg_DefaultToolName;   // "ChartTool"
extern std::string LumMsg_GalleryStandard;   // "Standard"
extern std::string LumMsg_PaletteDefault;    // "Default"
// Storage, grid and navigator.
extern std::string LumMsg_Index;             // "Index"
extern std::string LumMsg_Text;              // "Text"
extern std::string LumMsg_Colors;            // "Colors"
extern std::string LumMsg_First;             // "First"
extern std::string LumMsg_Prior;             // "Prior"
extern std::string LumMsg_Next;              // "Next"
extern std::string LumMsg_Last;              // "Last"
extern std::string LumMsg_Insert;            // "Insert"
extern std::string LumMsg_Delete;            // "Delete"
extern std::string LumMsg_Edit;              // "Edit"
extern std::string LumMsg_Post;              // "Post"
extern std::string LumMsg_Cancel;            // "Cancel"
extern std::string LumMsg_All;               // "(all)"

// ---- LumConst2 -----------------------------------------------------------
// Export.
extern std::string LumMsg_Change;            // "&Cambiar..."
extern std::string LumMsg_ExportPanelNotSet; // "Panel property is not set in Export format"
extern std::string LumMsg_CanNotEmail;       // "Can not email LumChart. Mapi Error: %d"
extern std::string LumMsg_CanNotFindTemp;    // "Can not find Temp folder"
extern std::string LumMsg_Bytes;             // "%d bytes"
extern std::string LumMsg_AsMetafile;        // "as &Metafile"
extern std::string LumMsg_AsBitmap;          // "as &Bitmap"
extern std::string LumMsg_MetafileFilter;    // "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf"
extern std::string LumMsg_BitmapFilter;      // "Bitmaps (*.bmp)|*.bmp"
extern std::string LumMsg_LumFiles;          // "LumChart files"
extern std::string LumMsg_SpaceFilter;       // "Space delimited text files (*.txt)|*.txt"
extern std::string LumMsg_TabFilter;         // "Tab delimited text files (*.txt)|*.txt"
extern std::string LumMsg_CommaFilter;       // "Comma delimited text files (*.csv)|*.csv"
extern std::string LumMsg_ColonFilter;       // "Colon delimited text files (*.txt)|*.txt"
extern std::string LumMsg_CustomFilter;      // "Custom delimited text files (*.txt)|*.txt"
extern std::string LumMsg_XMLFilter;         // "XML files (*.xml)|*.xml"
extern std::string LumMsg_HTMLFilter;        // "HTML files (*.htm)|*.htm"
extern std::string LumMsg_ExcelFilter;       // "Microsoft Excel files (*.xls)|*.xls"
extern std::string LumMsg_TextFile;          // "Text File"
extern std::string LumMsg_SelectTextFile;    // "Select text file"
extern std::string LumMsg_SaveAsText;        // "Save as text file"
// Value lists and sub-galleries of the financial and statistical series.
extern std::string LumMsg_ValuesDate;        // "Date"
extern std::string LumMsg_ValuesClose;       // "Close"
extern std::string LumMsg_ValuesOpen;        // "Open"
extern std::string LumMsg_ValuesHigh;        // "High"
extern std::string LumMsg_ValuesLow;         // "Low"
extern std::string LumMsg_ExpAverageWeight;  // "ExpAverage Weight must be between 0 and 1"

// Unit functions for the unit table: assign the texts, and empty them again at exit.
void LumConstUnitInit();
void LumConstUnitDone();
void LumConst2UnitInit();
void LumConst2UnitDone();
