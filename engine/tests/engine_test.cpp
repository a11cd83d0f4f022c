#include "engine_test.h"

#include "canvas/lumconst.h"

IMPLEMENT_CLASS(TTestSeries, TChartSeries)

void TTestSeries::DrawValue(int ValueIndex) {
  TCanvas3D* c = ParentChart()->Canvas();
  const TColor color = GetValueColor(ValueIndex);
  if (color == clNone) return;
  if (Bars) {
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetColor(color);
    const int x = CalcXPos(ValueIndex);
    c->VertLine3D(x, CalcYPosValue(YOrigin), CalcYPos(ValueIndex), MiddleZ());
    return;
  }
  Pointer.Draw(CalcXPos(ValueIndex), CalcYPos(ValueIndex), color);
}

void EngineEnvironment::SetUp() {
  FormsUnitInit();
  LumConstUnitInit();
}

namespace {
const auto* const environment = testing::AddGlobalTestEnvironment(new EngineEnvironment);
}

std::unique_ptr<TBitmap> Render(TCustomAxisPanel* Chart, TColor Back) {
  return std::unique_ptr<TBitmap>(Chart->CreateBitmap(Back, Rect(0, 0, Chart->Width(), Chart->Height())));
}
