// snapshot: renders a window without a display and writes it as a PNG.
//
//   snapshot OUTPUT.png          the demonstration window of the control layer
//   snapshot --dialog OUTPUT.png a demonstration dialog with the controls of dialogs
//   snapshot --lists OUTPUT.png  lists, a combo, a check list, a tree, a grid being edited
//                                and a colour button
//   snapshot --buttons OUTPUT.png the library's symbol buttons (colour button)
//   snapshot --help               what it takes
//
// It runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/graphics.h"
#include "platform/snapshot.h"
#include "platform/stdctrls.h"
#include "platform/units.h"

#include "lists_demo.h"
#include "toolargs.h"

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

// An editor dialog: aligned panels and a splitter around a page control whose
// pages hold the controls of dialogs.
TForm* BuildDemoDialog() {
  auto* f = new TForm(Application);
  f->SetCaption("Dialog controls");
  f->SetBorderStyle(bsDialog);
  f->SetBounds(0, 0, 520, 360);
  auto* buttons = Place<TPanel>(f, f, 0, 0, 0, 41);
  buttons->SetBevelOuter(bvNone);
  buttons->SetAlign(alBottom);
  auto* ok = Place<TButton>(f, buttons, 340, 8, 75, 25, "OK");
  ok->SetDefault(true);
  Place<TButton>(f, buttons, 425, 8, 75, 25, "Cancel")->SetCancel(true);
  Place<TBevel>(f, buttons, 10, 0, 490, 2)->SetShape(bsTopLine);
  auto* tools = Place<TPanel>(f, f, 0, 0, 0, 30);
  tools->SetAlign(alTop);
  tools->SetBevelOuter(bvNone);
  for (int i = 0; i < 4; ++i) {
    auto* b = Place<TSpeedButton>(f, tools, 6 + 25 * i, 4, 23, 22);
    b->SetGroupIndex(1);
    b->SetFlat(i > 1);
    auto* g = b->Glyph();
    g->SetSize(12, 12);
    g->Canvas()->Brush()->SetColor(clFuchsia);
    g->Canvas()->FillRect(Rect(0, 0, 12, 12));
    g->Canvas()->Brush()->SetColor(i % 2 ? clNavy : clGreen);
    g->Canvas()->Pen()->SetColor(clBlack);
    g->Canvas()->Ellipse(1 + i, 1, 11, 11 - i);
    if (i == 0) b->SetDown(true);
    if (i == 3) b->SetEnabled(false);
  }
  Place<TSpeedButton>(f, tools, 110, 4, 60, 22, "Apply");
  auto* tree = Place<TPanel>(f, f, 0, 0, 110, 0, "Series1");
  tree->SetAlign(alLeft);
  tree->SetBevelOuter(bvLowered);
  Place<TSplitter>(f, f, 0, 0, 4, 0)->SetBeveled(true);
  auto* pages = Place<TPageControl>(f, f, 0, 0, 0, 0);
  pages->SetAlign(alClient);
  auto* general = new TTabSheet(f);
  general->SetCaption("Format");
  general->SetPageControl(pages);
  auto* other = new TTabSheet(f);
  other->SetCaption("Marks");
  other->SetPageControl(pages);
  auto* border = Place<TGroupBox>(f, general, 8, 6, 180, 110, "Border");
  // A labelled edit with an up-down, the label focusing the edit.
  auto number = [&](int top, const char* caption, int max, int position) {
    auto* label = Place<TLabel>(f, border, 10, top + 4, 0, 0, caption);
    auto* edit = Place<TEdit>(f, border, 60, top, 60, 21);
    label->SetFocusControl(edit);
    auto* ud = Place<TUpDown>(f, border, 0, 0, 15, 21);
    ud->SetMin(1);
    ud->SetMax(max);
    ud->SetAssociate(edit);
    ud->SetPosition(position);
  };
  number(18, "&Width:", 100, 2);
  number(48, "Sp&ace:", 5000, 1250);
  auto* grey = Place<TCheckBox>(f, border, 10, 80, 150, 17, "&Visible");
  grey->SetAllowGrayed(true);
  grey->SetState(cbGrayed);
  auto* style = Place<TRadioGroup>(f, general, 196, 6, 170, 110, "Style");
  for (const char* s : {"Solid", "Dash", "Dot", "Dash Dot"}) style->Items()->Add(s);
  style->SetColumns(2);
  style->SetItemIndex(1);
  auto* memo = Place<TMemo>(f, general, 8, 124, 270, 88);
  memo->SetScrollBars(ssVertical);
  memo->Lines()->Add("A memo with lines,");
  memo->Lines()->Add("a vertical scroll bar");
  memo->Lines()->Add("and a third line.");
  auto* bar = Place<TScrollBar>(f, general, 286, 124, 17, 88);
  bar->SetKind(sbVertical);
  bar->SetBounds(286, 124, 17, 88);
  bar->SetPosition(30);
  auto* track = Place<TTrackBar>(f, general, 306, 124, 70, 40);
  track->SetPageSize(5);
  auto* tabs = Place<TTabControl>(f, other, 8, 8, 240, 120);
  tabs->Tabs()->Add("Style");
  tabs->Tabs()->Add("Arrows");
  Place<TEdit>(f, tabs, 12, 34, 120, 21)->SetText("Marks text");
  return f;
}

}  // namespace

#ifdef PHONARK_SNAPSHOT_BUTTONS
TForm* BuildButtonsForm();  // buttons_form.cpp
void AddColorButton(TForm* Form, int Left, int Top);
#else
TForm* BuildButtonsForm() { throw Exception("built without the canvas library"); }
void AddColorButton(TForm*, int, int) {}
#endif

// The lists form with a colour button under its check list (when the canvas library is built).
TForm* BuildListsWithColorButton() {
  TForm* f = BuildListsDemoForm();
  f->SetHeight(f->Height() + 32);
  AddColorButton(f, 10, 302);
  return f;
}

std::string Usage() {
  return "usage: snapshot [--dialog|--lists|--buttons] OUTPUT.png\n"
         "Writes a window of the control layer as a PNG: the demonstration window, or\n"
         "  --dialog   a dialog with the controls of dialogs\n"
         "  --lists    lists, a combo, a check list, a tree, a grid being edited, a colour button\n"
         "  --buttons  the library's symbol buttons\n";
}

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return toolargs::NoArguments(Usage());
  if (toolargs::IsHelp(args[0])) return toolargs::Help(Usage());
  const std::string kind = args.size() == 2 ? args[0] : "";
  if (args.size() > 2) return toolargs::Wrong("snapshot", "unexpected argument '" + args[2] + "'");
  if (!kind.empty() && kind != "--dialog" && kind != "--lists" && kind != "--buttons")
    return toolargs::Wrong("snapshot", "unknown option '" + kind + "'");
  const std::string out = args.back();
  if (toolargs::IsOption(out)) return toolargs::Wrong("snapshot", "unknown option '" + out + "'");
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TUnitTable units({{"Graphics", GraphicsUnitInit, GraphicsUnitDone}, {"Forms", FormsUnitInit, FormsUnitDone}});
  units.Initialize();
  bool ok = false;
  std::string why;
  try {
    ok = SaveControlToPng(kind == "--lists"     ? BuildListsWithColorButton()
                          : kind == "--buttons" ? BuildButtonsForm()
                          : kind == "--dialog"  ? BuildDemoDialog()
                                                : BuildDemoForm(),
                          out, &why);
  } catch (Exception& e) {
    why = e.Message;
  }
  if (!ok) std::fprintf(stderr, "snapshot: %s\n", why.c_str());
  units.Finalize();
  return ok ? 0 : 1;
}
