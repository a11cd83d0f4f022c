// dialogsnap: renders the editor dialogs without a display and writes them as PNGs.
//
//   dialogsnap OUTDIR [NAME...]   every dialog of the table below, or those named
//
// Each entry opens its form on a sample object, as its edit routine would, and
// writes NAME.png (and any further views as NAME_<view>.png). A new dialog joins
// with one function and one line of the table.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/mainwindow.h"
#include "canvas/attributes.h"
#include "gallery/pendialog.h"
#include "gallery/stringseditor.h"
#include "platform/snapshot.h"
#include "platform/units.h"

namespace {

// Shows the form as it would be shown (its OnShow fills it), paints and saves it.
bool Snap(TControl* Control, const std::string& File) {
  if (auto* f = dynamic_cast<TForm*>(Control)) f->Show();
  Application->ProcessMessages();
  const bool ok = SaveControlToPng(Control, File);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", File.c_str());
  return ok;
}

bool PenDialog(const std::string& Base) {
  TChartPen pen;
  pen.SetColor(clRed);
  pen.SetStyle(psDot);
  pen.SetWidth(2);
  std::unique_ptr<TPenDialog> d(CreatePenDialog(nullptr, &pen));
  bool ok = Snap(d.get(), Base + ".png");
  d->CBStyle->SetDroppedDown(true);
  Application->ProcessMessages();
  if (TCustomListBox* list = d->CBStyle->DropDownList()) ok &= Snap(list, Base + "_styles.png");
  d->CBStyle->SetDroppedDown(false);
  return ok;
}

bool TextEditor(const std::string& Base) {
  std::unique_ptr<TStringsEditor> d(new TStringsEditor(nullptr));
  d->Memo1->Lines()->SetText(
      "object Chart1: TChart\n  Title.Text.Strings = (\n    'Dispersion')\n  View3D = False\n"
      "  object Series1: TLineSeries\n    SeriesColor = clRed\n  end\nend\n");
  d->Memo1->SetReadOnly(true);
  return Snap(d.get(), Base + ".png");
}

struct TSnapEntry {
  const char* Name;
  bool (*Write)(const std::string& Base);
};

const TSnapEntry Entries[] = {
    {"pen_dialog", PenDialog},
    {"text_editor", TextEditor},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: dialogsnap OUTDIR [NAME...]\n");
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::string dir = std::string(argv[1]) + "/";
  TUnitTable units(PhonarkUnits());
  units.Initialize();
  bool ok = true;
  for (const TSnapEntry& e : Entries) {
    bool wanted = argc == 2;
    for (int i = 2; i < argc; ++i) wanted |= std::string(argv[i]) == e.Name;
    if (wanted) ok &= e.Write(dir + e.Name);
  }
  units.Finalize();
  return ok ? 0 : 1;
}
