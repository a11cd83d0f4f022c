// Helpers the editors, exporters and tools share: names, series queries, glyphs,
// check boxes, text fields and a little plane geometry.
#pragma once
#include <string>
#include <vector>

#include "platform/classes.h"
#include "platform/types.h"

class TBitmap;
class TCanvas;
class TChartSeries;
class TChartSeriesList;
class TControl;

// Series titles break lines at LineSeparator; exports put ColumnSeparator
// between the columns kept in one title.
constexpr char LineSeparator = 13;
constexpr char ColumnSeparator = 6;

// The print-panel-background flag is PrintPanelBackground in engine/print.h.

// ---- Components and series -------------------------------------------------
// Prefix and the lowest number 1, 2, ... not used as a component name of Owner
// (compared without case); Prefix + "1" without an owner.
std::string UniqueComponentName(const TComponent* Owner, const std::string& Prefix);
// Appends the series editors may show (ShowInEditor) to Items, as titles
// (GetTitleOrName) or component names, each with the series as its object, inside
// one BeginUpdate/EndUpdate.
void FillSeriesItems(TStrings* Items, const TChartSeriesList& List, bool UseTitles = true);
// Whether the points are drawn in more than one colour (nulls left out).
bool HasManyColors(const TChartSeries* Series);
// Whether X values are other than 0, 1, 2, ...; only the first 10001 points are
// looked at.
bool HasCustomXValues(const TChartSeries* Series);
constexpr int MaxCustomXValuesChecked = 10001;

// ---- Glyphs and check boxes -----------------------------------------------
// Loads the bitmap resource named after the object's class, else after each
// ancestor class in turn; false (Bitmap unchanged) when none exists.
bool LoadClassBitmap(const TObject* Object, TBitmap* Bitmap);
// Draws the bitmap resource of the object's class (as LoadClassBitmap finds it)
// or of that name at (X, Y), its bottom-left colour transparent; nothing when
// there is none.
void DrawResourceBitmap(TCanvas* Canvas, const TObject* Object, int X, int Y);
void DrawResourceBitmap(TCanvas* Canvas, const std::string& ResourceName, int X, int Y);
// A 13 x 13 check box (or radio button) with its top-left at (X, Y); Color is
// the inside of the box (clWindow as usual).
constexpr int CheckBoxSize = 13;
void DrawCheckBox(TCanvas* Canvas, int X, int Y, bool Checked, bool Radio = false, TColor Color = clWindow);

// ---- Translation ------------------------------------------------------------
// Called by TranslateControl when set; this program sets none, so forms keep
// their own texts.
using TTranslateControlHook = void (*)(TControl* Control);
extern TTranslateControlHook TranslateControlHook;
void TranslateControl(TControl* Control);

// ---- Texts ------------------------------------------------------------------
// Fields of a Separator-separated text, numbered from 1; "" below 1 or past the
// last field. An empty text has no fields; otherwise there is one more field
// than separators.
std::string GetTextFieldSep(const std::string& Text, int Index, char Separator);
int CountTextFields(const std::string& Text, char Separator);
inline std::string GetTextField(const std::string& Text, int Index) { return GetTextFieldSep(Text, Index, ';'); }
// Every Old replaced by New, or removed when New is character 0.
std::string ReplaceChar(const std::string& Text, char Old, char New);
std::string IntToString(long long Value);
// Copies with DecimalSeparator turned into '.' and back.
std::string DecimalSeparatorToDot(const std::string& Text);
std::string DotToDecimalSeparator(const std::string& Text);

// ---- Geometry (pixels) ------------------------------------------------------
struct TFloatPoint {
  double X = 0, Y = 0;
  bool operator==(const TFloatPoint&) const = default;
};
// Whether P lies within Tolerance pixels of the segment (X0, Y0)-(X1, Y1): its
// distance from the segment is at most Tolerance plus half a pixel, so tolerance
// 0 takes the pixels a one-pixel line passes through.
bool PointInLineTolerance(const TPoint& P, int X0, int Y0, int X1, int Y1, int Tolerance);
bool PointInLineTolerancePoints(const TPoint& P, const TPoint& A, const TPoint& B, int Tolerance);
bool PointInLine(const TPoint& P, int X0, int Y0, int X1, int Y1);
bool PointInLinePoints(const TPoint& P, const TPoint& A, const TPoint& B);
// Even-odd rule; a point on the boundary may fall either way.
bool PointInPolygon(const TPoint& P, const TPoint* Points, int Count);
inline bool PointInPolygon(const TPoint& P, const std::vector<TPoint>& Points) {
  return PointInPolygon(P, Points.data(), int(Points.size()));
}
// True, with the crossing point in Cross, when segment A0-A1 and segment B0-B1
// meet (touching ends included); false when they are parallel (also when they
// lie on one line) or apart.
bool CrossingLines(const TFloatPoint& A0, const TFloatPoint& A1, const TFloatPoint& B0, const TFloatPoint& B1,
                   TFloatPoint& Cross);
