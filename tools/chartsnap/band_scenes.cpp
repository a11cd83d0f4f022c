#include "band_scenes.h"

#include "analysis/tools_bands.h"
#include "chart/chart.h"

void BuildColorBandScene(TComponent* Owner, TChart* Chart) {
  auto* band = new TColorBandTool(Owner);
  band->SetAxis(Chart->BottomAxis());
  band->SetStartValue(30);
  band->SetEndValue(60);
  band->SetColor(0xFF8040);  // a mid blue
  band->SetTransparency(55);
  band->SetResizeStart(true);
  band->SetResizeEnd(true);
  band->StartLinePen()->SetColor(clNavy);
  band->EndLinePen()->SetColor(clNavy);
  band->Pen()->Hide();

  auto* level = new TColorLineTool(Owner);
  level->SetAxis(Chart->LeftAxis());
  level->SetValue(70);
  level->Pen()->SetColor(clRed);
  level->Pen()->SetWidth(2);

  auto* centre = new TColorLineTool(Owner);
  centre->SetAxis(Chart->BottomAxis());
  centre->SetStyle(clCenter);
  centre->Pen()->SetColor(clGreen);
  centre->Pen()->SetStyle(psDash);
}

void BuildGridBandScene(TComponent* Owner, TChart* Chart) {
  Chart->LeftAxis()->SetIncrement(20);
  Chart->LeftAxis()->SetGridCentered(true);
  auto* grid = new TGridBandTool(Owner);
  grid->SetAxis(Chart->LeftAxis());
  grid->Band1()->SetColor(0xFFE8D0);  // pale blue
  grid->Band2()->SetColor(0x80C0FF);  // orange, hatched over the back wall
  grid->Band2()->SetStyle(bsDiagCross);
  grid->Band2()->SetTransparency(40);
  Chart->BackWall()->SetColor(0xE0FFFF);
}
