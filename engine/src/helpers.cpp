#include "engine/helpers.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "engine/panel.h"
#include "engine/series.h"
#include "platform/graphics.h"
#include "platform/resources.h"

TTranslateControlHook TranslateControlHook = nullptr;

// ---- Components and series -------------------------------------------------
std::string UniqueComponentName(const TComponent* Owner, const std::string& Prefix) {
  for (long long n = 1;; ++n) {
    std::string name = Prefix + IntToStr(n);
    if (!Owner || !Owner->FindComponent(name)) return name;
  }
}

void FillSeriesItems(TStrings* Items, const TChartSeriesList& List, bool UseTitles) {
  if (!Items) return;
  Items->BeginUpdate();
  try {
    for (TChartSeries* s : List)
      if (s->ShowInEditor()) Items->AddObject(UseTitles ? s->GetTitleOrName() : s->Name(), s);
  } catch (...) {
    Items->EndUpdate();
    throw;
  }
  Items->EndUpdate();
}

bool HasManyColors(const TChartSeries* Series) {
  if (!Series) return false;
  bool first = true;
  TColor seen = clNone;
  for (int i = 0; i < Series->Count(); ++i) {
    if (Series->IsNull(i)) continue;
    const TColor c = Series->GetValueColor(i);
    if (first) {
      seen = c;
      first = false;
    } else if (c != seen) {
      return true;
    }
  }
  return false;
}

bool HasCustomXValues(const TChartSeries* Series) {
  if (!Series) return false;
  const int n = std::min(Series->Count(), MaxCustomXValuesChecked);
  for (int i = 0; i < n; ++i)
    if (Series->GetXValue(i) != double(i)) return true;
  return false;
}

// ---- Glyphs and check boxes -----------------------------------------------
namespace {
bool LoadResourceBitmap(const std::string& Name, TBitmap* Bitmap) {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  if (!FindResource(Name, data, size)) return false;
  Bitmap->LoadFromResourceName(Name);
  return true;
}

void DrawGlyph(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y) {
  Bitmap->SetTransparent(true);
  Canvas->Draw(X, Y, Bitmap);
}
}  // namespace

bool LoadClassBitmap(const TObject* Object, TBitmap* Bitmap) {
  if (!Object || !Bitmap) return false;
  for (TClass c = Object->ClassType(); c; c = c->Parent)
    if (LoadResourceBitmap(c->Name, Bitmap)) return true;
  return false;
}

void DrawResourceBitmap(TCanvas* Canvas, const TObject* Object, int X, int Y) {
  if (!Canvas) return;
  TBitmap b;
  if (LoadClassBitmap(Object, &b)) DrawGlyph(Canvas, &b, X, Y);
}

void DrawResourceBitmap(TCanvas* Canvas, const std::string& ResourceName, int X, int Y) {
  if (!Canvas) return;
  TBitmap b;
  if (LoadResourceBitmap(ResourceName, &b)) DrawGlyph(Canvas, &b, X, Y);
}

void DrawCheckBox(TCanvas* Canvas, int X, int Y, bool Checked, bool Radio, TColor Color) {
  unsigned state = (Radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) | DFCS_FLAT;
  if (Checked) state |= DFCS_CHECKED;
  DrawFrameControl(Canvas, {X, Y, X + CheckBoxSize, Y + CheckBoxSize}, DFC_BUTTON, state, Color);
}

void TranslateControl(TControl* Control) {
  if (TranslateControlHook) TranslateControlHook(Control);
}

// ---- Texts ------------------------------------------------------------------
std::string GetTextFieldSep(const std::string& Text, int Index, char Separator) {
  if (Index < 1 || Text.empty()) return {};
  size_t start = 0;
  for (int i = 1; i < Index; ++i) {
    start = Text.find(Separator, start);
    if (start == std::string::npos) return {};
    ++start;
  }
  const size_t end = Text.find(Separator, start);
  return Text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

int CountTextFields(const std::string& Text, char Separator) {
  if (Text.empty()) return 0;
  return 1 + int(std::count(Text.begin(), Text.end(), Separator));
}

std::string ReplaceChar(const std::string& Text, char Old, char New) {
  std::string result;
  result.reserve(Text.size());
  for (char c : Text) {
    if (c != Old) result += c;
    else if (New != 0) result += New;
  }
  return result;
}

std::string IntToString(long long Value) { return IntToStr(Value); }

std::string DecimalSeparatorToDot(const std::string& Text) {
  return DecimalSeparator == '.' ? Text : ReplaceChar(Text, DecimalSeparator, '.');
}

std::string DotToDecimalSeparator(const std::string& Text) {
  return DecimalSeparator == '.' ? Text : ReplaceChar(Text, '.', DecimalSeparator);
}

// ---- Geometry ---------------------------------------------------------------
bool PointInLineTolerance(const TPoint& P, int X0, int Y0, int X1, int Y1, int Tolerance) {
  const double dx = double(X1) - X0, dy = double(Y1) - Y0;
  const double len2 = dx * dx + dy * dy;
  // The nearest point of the segment, by the projection clamped to its ends.
  double t = len2 > 0 ? ((double(P.X) - X0) * dx + (double(P.Y) - Y0) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = double(P.X) - (X0 + t * dx), ey = double(P.Y) - (Y0 + t * dy);
  const double reach = std::max(0, Tolerance) + 0.5;
  return ex * ex + ey * ey <= reach * reach;
}

bool PointInLineTolerancePoints(const TPoint& P, const TPoint& A, const TPoint& B, int Tolerance) {
  return PointInLineTolerance(P, A.X, A.Y, B.X, B.Y, Tolerance);
}

bool PointInLine(const TPoint& P, int X0, int Y0, int X1, int Y1) {
  return PointInLineTolerance(P, X0, Y0, X1, Y1, 0);
}

bool PointInLinePoints(const TPoint& P, const TPoint& A, const TPoint& B) {
  return PointInLineTolerance(P, A.X, A.Y, B.X, B.Y, 0);
}

bool PointInPolygon(const TPoint& P, const TPoint* Points, int Count) {
  if (!Points || Count < 3) return false;
  bool inside = false;
  for (int i = 0, j = Count - 1; i < Count; j = i++) {
    const TPoint& a = Points[i];
    const TPoint& b = Points[j];
    if ((a.Y > P.Y) != (b.Y > P.Y)) {
      const double x = a.X + (double(P.Y) - a.Y) * (double(b.X) - a.X) / (double(b.Y) - a.Y);
      if (P.X < x) inside = !inside;
    }
  }
  return inside;
}

bool CrossingLines(const TFloatPoint& A0, const TFloatPoint& A1, const TFloatPoint& B0, const TFloatPoint& B1,
                   TFloatPoint& Cross) {
  const double ax = A1.X - A0.X, ay = A1.Y - A0.Y;
  const double bx = B1.X - B0.X, by = B1.Y - B0.Y;
  const double denom = ax * by - ay * bx;
  if (denom == 0) return false;
  const double cx = B0.X - A0.X, cy = B0.Y - A0.Y;
  const double t = (cx * by - cy * bx) / denom;  // along A
  const double u = (cx * ay - cy * ax) / denom;  // along B
  if (t < 0 || t > 1 || u < 0 || u > 1) return false;
  Cross = {A0.X + t * ax, A0.Y + t * ay};
  return true;
}
