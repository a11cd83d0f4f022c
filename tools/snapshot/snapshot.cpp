// snapshot: renders a window without a display and writes it as a PNG.
//
//   snapshot OUTPUT.png          the demonstration window of the control layer
//
// It runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/graphics.h"
#include "platform/snapshot.h"
#include "platform/units.h"

namespace {

template <class T>
T* Place(TComponent* owner, TWinControl* parent, int left, int top, int width, int height,
         const std::string& caption = {}) {
  auto* c = new T(owner);
  c->SetBounds(left, top, width, height);
  if (!caption.empty()) c->SetCaption(caption);
  c->SetParent(parent);
  return c;
}

// One of each control, laid out as the main window lays out its side panel.
TForm* BuildDemoForm() {
  auto* f = new TForm(Application);
  f->SetCaption("Controls");
  f->SetBounds(0, 0, 420, 300);
  auto* buttons = Place<TPanel>(f, f, 10, 240, 400, 41);
  for (int i = 0; i < 4; ++i) {
    static const char* const names[] = {"MonAtomic", "Diatomic", "Alternating", "Combined"};
    Place<TBitBtn>(f, buttons, 21 + 95 * i, 9, 75, 25, names[i]);
  }
  auto* bars = Place<TPanel>(f, f, 10, 40, 164, 190);
  bars->SetBevelOuter(bvLowered);
  static const char* const barNames[] = {"Speed", "Damping", "k value"};
  for (int i = 0; i < 3; ++i) {
    Place<TLabel>(f, bars, 12 + 50 * i, 8, 0, 0, barNames[i]);
    auto* bar = Place<TTrackBar>(f, bars, 15 + 50 * i, 27, 30, 150);
    bar->SetOrientation(trVertical);
    bar->SetTickStyle(tsNone);
    bar->SetMin(1);
    bar->SetMax(30);
    bar->SetPosition(1 + 14 * i);
  }
  static const char* const spins[] = {"C1", "C2", "M1", "M2"};
  for (int i = 0; i < 4; ++i) {
    auto* s = Place<TSpinEdit>(f, f, 190, 40 + 30 * i, 57, 22);
    s->SetMinValue(1);
    s->SetMaxValue(20);
    s->SetValue(8 - i);
    auto* l = Place<TLabel>(f, f, 255, 44 + 30 * i, 0, 0, spins[i]);
    if (i == 1 || i == 2) l->Font()->SetColor(clGreen);
    if (i == 3) l->Font()->SetColor(clRed);
  }
  Place<TRadioButton>(f, f, 190, 165, 113, 17, "Acoustic")->SetChecked(true);
  Place<TRadioButton>(f, f, 190, 185, 113, 17, "Optic");
  Place<TCheckBox>(f, f, 300, 165, 110, 17, "Longitudinal");
  Place<TCheckBox>(f, f, 300, 185, 110, 17, "Imaginary Wave")->SetChecked(true);
  f->Canvas()->TextOut(10, 10, "Text written on the window's own canvas");
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: snapshot OUTPUT.png\n");
    return 2;
  }
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TUnitTable units({{"Graphics", GraphicsUnitInit, GraphicsUnitDone}, {"Forms", FormsUnitInit, FormsUnitDone}});
  units.Initialize();
  bool ok = false;
  try {
    ok = SaveControlToPng(BuildDemoForm(), argv[1]);
    if (!ok) std::fprintf(stderr, "snapshot: cannot write %s\n", argv[1]);
  } catch (Exception& e) {
    std::fprintf(stderr, "snapshot: %s\n", e.Message.c_str());
  }
  units.Finalize();
  return ok ? 0 : 1;
}
