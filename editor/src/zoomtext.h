// The "Zoom Text:" row the general and 3D pages share: how the chart's texts are
// sized (Manual, No, Auto) and, for Manual, the percent they are drawn at.
#pragma once
#include "canvas/comboflat.h"
#include "platform/stdctrls.h"

class TView3DOptions;

struct TZoomTextRow {
  TLabel* Label;
  TComboFlat* Combo;
  TEdit* Edit;
  TUpDown* UpDown;
  TLabel* Percent;
};

// CBZoomText with its label at (Left, Top), ETextSize with UDTextSize (1..2000 in
// steps of 5) and "%" below it.
TZoomTextRow PlaceZoomTextRow(TComponent* Owner, TWinControl* Parent, int Left, int Top);
// The row from the view; the size edit is enabled only for Manual.
void LoadZoomText(const TZoomTextRow& Row, const TView3DOptions* View);
// The combo's choice and the percent into the view.
void ApplyZoomTextChoice(const TZoomTextRow& Row, TView3DOptions* View);
void ApplyZoomTextSize(const TZoomTextRow& Row, TView3DOptions* View);
