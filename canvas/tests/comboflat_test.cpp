// The flat combo box: its selected text and registration.
#include <gtest/gtest.h>

#include "canvas/canvasunit.h"
#include "canvas/comboflat.h"
#include "platform/forms.h"
#include "platform/typinfo.h"

namespace {

TEST(ComboFlat, SelectedTextAndRegisteredClass) {
  FormsUnitInit();
  LumCanvasUnitInit();
  auto* form = new TForm(Application);
  auto* c = new TComboFlat(form);
  c->SetParent(form);
  EXPECT_EQ(c->SelectedText(), "");
  TObject o;
  c->SetSorted(true);
  c->Items()->AddObject("Solid", &o);
  c->Items()->AddObject("Dash", nullptr);
  c->SetItemIndex(1);
  EXPECT_EQ(c->SelectedText(), "Solid");
  EXPECT_EQ(c->Items()->Objects(1), &o);
  c->Items()->Delete(1);
  EXPECT_EQ(c->SelectedText(), "");  // the selected item went
  EXPECT_EQ(GetClass("TComboFlat"), TComboFlat::StaticClass());
  delete form;
  LumCanvasUnitDone();
  FormsUnitDone();  // the other canvas tests run without it
}

}  // namespace
