#include "zoomtext.h"

#include "canvas/lumcanvas.h"
#include "gallery/formbuild.h"

using namespace formbuild;

TZoomTextRow PlaceZoomTextRow(TComponent* Owner, TWinControl* Parent, int Left, int Top) {
  TZoomTextRow r{};
  r.Combo = DropDownList(Owner, Parent, "CBZoomText", Left + 66, Top, 72, {"Manual", "No", "Auto"});
  r.Label = PlaceLabel(Owner, Parent, "LZoomText", Left, Top + 4, "Zoom &Text:", r.Combo);
  r.Edit = PlaceControl<TEdit>(Owner, Parent, "ETextSize", Left + 66, Top + 28, 42, 21);
  r.UpDown = PlaceUpDown(Owner, r.Edit, "UDTextSize", 1, 2000);
  r.UpDown->SetIncrement(5);
  r.UpDown->SetPosition(100);
  r.Percent = PlaceLabel(Owner, Parent, "LTextPercent", Left + 66 + 42 + 15 + 4, Top + 32, "%");
  return r;
}

void LoadZoomText(const TZoomTextRow& Row, const TView3DOptions* View) {
  Row.Combo->SetItemIndex(int(View->ZoomText()));
  Row.UpDown->SetPosition(View->FontZoom());
  const bool manual = View->ZoomText() == ztManual;
  Row.Edit->SetEnabled(manual);
  Row.UpDown->SetEnabled(manual);
}

void ApplyZoomTextChoice(const TZoomTextRow& Row, TView3DOptions* View) {
  const int i = Row.Combo->ItemIndex();
  if (i < 0) return;
  View->SetZoomText(TZoomText(i));
  Row.Edit->SetEnabled(i == ztManual);
  Row.UpDown->SetEnabled(i == ztManual);
}

void ApplyZoomTextSize(const TZoomTextRow& Row, TView3DOptions* View) { View->SetFontZoom(Row.UpDown->Position()); }
