#include "app/window.h"

#include "app/chain.h"
#include "app/mainwindow.h"
#include "app/runframe.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "platform/forms.h"
#include "platform/rtl.h"
#include "platform/units.h"

namespace Chain {

namespace {

TUnitTable*& Units() {
  static TUnitTable* units = nullptr;
  return units;
}

TBitBtn* RunButton(TForm1* F, std::int32_t Mode) {
  switch (Mode) {
    case cmMonatomic: return F->MonatomicBtn;
    case cmDiatomic: return F->DiatomBtn;
    case cmAlternating: return F->AlternatingBtn;
    case cmCombined: return F->CombinedBtn;
    case cmNextNeighbour: return F->NextNBtn;
    default: return nullptr;
  }
}

}  // namespace

TMainWindow::TMainWindow() {
  Units() = new TUnitTable(PhonarkUnits());
  Units()->Initialize();
  Application->CreateForm(Form1);
  Form1->Show();
  // The first paints come paced to the display rate: let the loop run 50 ms. A wait
  // meant to run out, so not a guarded PumpUntil, which would report it as a hang.
  const std::int64_t end = GetMicroseconds() + 50000;
  while (GetMicroseconds() < end) {
    Application->ProcessMessages();
    Sleep(1);
  }
}

TMainWindow::~TMainWindow() {
  // The forms and their charts go before the units whose lists and texts they use.
  Application->DestroyComponents();
  Form1 = nullptr;
  Units()->Finalize();
  delete Units();
  Units() = nullptr;
}

TForm* TMainWindow::Form() const { return Form1; }
TChart* TMainWindow::ChainChart() const { return Form1->Chart1; }
TChart* TMainWindow::DispersionChart() const { return Form1->Chart2; }

void TMainWindow::SetMasses(int M1, int M2) {
  Form1->M1->SetValue(M1);
  Form1->M2->SetValue(M2);
}

void TMainWindow::SetKPosition(int Position) { Form1->kValueBar->SetPosition(Position); }

void TMainWindow::SetLongitudinal(bool Value) { Form1->LongitudinalCheck->SetChecked(Value); }

void TMainWindow::Run(std::int32_t Mode, int Steps) {
  TBitBtn* button = RunButton(Form1, Mode);
  if (!button) return;
  // Every step starts by clearing the first wave.
  int steps = 0;
  Form1->Series1->OnClearValues = [&](TObject*) {
    if (++steps >= Steps) StopRequested = true;
  };
  button->Click();
  Form1->Series1->OnClearValues.Clear();
}

void TMainWindow::DrawTransverseStep(std::int32_t Mode, std::int32_t T) { Chain::DrawTransverseStep(*Form1, Mode, T); }

void TMainWindow::DrawCurve(std::int32_t Mode) { static_cast<TChainHost*>(Form1)->DrawCurve(Mode, Form1); }

}  // namespace Chain
