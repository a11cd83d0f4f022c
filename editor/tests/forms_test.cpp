// Every form of the editor as its table gives it: names, kinds, captions, items and
// sizes, and a layout that fits (nothing clipped, no shown siblings overlapping).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas/comboflat.h"
#include "chart/series.h"
#include "editor/funceditor.h"
#include "editor/toolspage.h"
#include "editor_test.h"
#include "form_inventory.h"

namespace {

using formcheck::TInventoryEntry;

struct TFormSpec {
  TClass (*Class)();
  int ClientWidth, ClientHeight;
  std::vector<TInventoryEntry> Controls;
  std::function<void(TForm*)> Check = {};
};

std::vector<std::string> Steps() {
  TAxisIncrement d(nullptr);
  std::vector<std::string> v;
  for (int i = 0; i < d.CBSteps->Items()->Count(); ++i) v.push_back(d.CBSteps->Items()->Strings(i));
  return v;
}

// Built when first asked: the steps come from a form, which needs the application.
std::vector<TFormSpec> Specs() {
  return {
    {TBaseSourceEditor::StaticClass, 380, 280,
     {{"LLabel", "TLabel", "&Source:"}, {"CBSources", "TComboFlat", "&Source:"}, {"BApply", "TButton", "&Apply"}},
     [](TForm* f) {
       EXPECT_EQ(f->BorderIcons(), biSystemMenu);
       EXPECT_FALSE(static_cast<TBaseSourceEditor*>(f)->BApply->Enabled());
     }},
    {TSelectListForm::StaticClass, 326, 146,
     {{"L1", "TLabel", "A&vailable:"}, {"L2", "TLabel", "&Selected: "}, {"FromList", "TListBox", ""},
      {"ToList", "TListBox", ""}, {"BRightOne", "TButton", ">"}, {"BRightAll", "TButton", ">>"},
      {"BLeftOne", "TButton", "<"}, {"BLeftAll", "TButton", "<<"}, {"BMoveUP", "TSpeedButton", ""},
      {"BMoveDown", "TSpeedButton", ""}},
     [](TForm* f) {
       auto* l = static_cast<TSelectListForm*>(f);
       EXPECT_TRUE(l->L1->FocusControl() == l->FromList && l->L2->FocusControl() == l->ToList);
       EXPECT_TRUE(l->FromList->MultiSelect() && l->ToList->MultiSelect());
       EXPECT_FALSE(l->BMoveUP->Glyph()->Empty()) << "arrow glyphs";
       l->SetBounds(0, 0, 500, 200);  // the lists share the room beside the buttons
       EXPECT_NEAR(l->FromList->Width(), l->ToList->Width(), 1);
     }},
    {TAxisIncrement::StaticClass, 244, 148,
     {{"RadioGroup1", "TRadioGroup", "Increment:", {"&Standard:", "&Custom:"}},
      {"CBSteps", "TComboFlat", "", Steps()}, {"ECustom", "TEdit", "&Increment:"},
      {"CBExact", "TCheckBox", "&Exact Date Time"}, {"BOk", "TButton", "OK"}, {"BCancel", "TButton", "Cancel"}},
     [](TForm* f) {
       auto* d = static_cast<TAxisIncrement*>(f);
       const std::vector<std::string> steps = Steps();
       ASSERT_EQ(steps.size(), 27u);
       EXPECT_TRUE(steps[0] == "One Microsecond" && steps[15] == "Twelve Hours" && steps[26] == "One Year");
       EXPECT_TRUE(d->Caption() == "Axis Increment" && d->Position() == poScreenCenter);
       EXPECT_TRUE(d->CBSteps->DropDownCount() == 18 && d->BOk->Default() && d->BCancel->ModalResult() == mrCancel);
     }},
    {TLumFuncEditor::StaticClass, 380, 280,
     {{"LLabel", "TLabel", "&Functions:"}, {"SpeedButton1", "TSpeedButton", "..."}, {"BApply", "TButton", "&Apply"},
      {"TabSource", "TTabSheet", "Source Series"}, {"TabOptions", "TTabSheet", "Options"},
      {"CBSingle", "TComboFlat", "&Series:"}, {"CBValues", "TComboFlat", "&Values:"}, {"BNone", "TButton", "&None"}},
     [](TForm* f) {
       auto* e = static_cast<TLumFuncEditor*>(f);
       EXPECT_TRUE(e->PageControl1->HotTrack() && e->CBSources->Sorted());
       EXPECT_FALSE(e->BNone->Enabled() || e->CBValues->Enabled());
     }},
    {TLumFunctionEditor::StaticClass, 312, 213,
     {{"ENum", "TEdit", "&Number of points:"}, {"BChange", "TButton", "&Change..."},
      {"CBAlign", "TComboFlat", "&Alignment:", {"First", "Center", "Last"}},
      {"CBStyle", "TComboFlat", "&Calculate using:", {"All points", "Every number of points", "Every range"}}},
     [](TForm* f) {
       auto* p = static_cast<TLumFunctionEditor*>(f);
       EXPECT_TRUE(p->Align() == alClient && p->Position() == poScreenCenter && p->ENum->Text() == "0");
       EXPECT_FALSE(p->ENum->Enabled() || p->BChange->Enabled());
     }},
    {TCLVFuncEditor::StaticClass, 312, 213,
     {{"CBVolume", "TComboFlat", "&Volume series:"}, {"CBAccumulate", "TCheckBox", "&Accumulate"}}},
    {TFormLumTools::StaticClass, 404, 270,
     {{"BAdd", "TButton", "&Add..."}, {"BDelete", "TButton", "&Delete"}, {"BClone", "TSpeedButton", ""},
      {"CBActive", "TCheckBox", "A&ctive"}, {"CBShowInEditor", "TCheckBox", "Show in this editor"},
      {"BMoveUp", "TSpeedButton", ""}, {"BMoveDown", "TSpeedButton", ""}, {"LBTools", "TListBox", ""},
      {"PanelToolEditor", "TPanel", ""}, {"PBottom", "TPanel", ""}},
     [](TForm* f) {
       auto* p = static_cast<TFormLumTools*>(f);
       EXPECT_TRUE(p->BAdd->Hint() == "Add" && p->BDelete->Hint() == "Remove" && p->BClone->Hint() == "Clone");
       EXPECT_FALSE(p->BClone->Glyph()->Empty());
       EXPECT_TRUE(p->LBTools->Style() == lbOwnerDrawFixed && p->LBTools->ItemHeight() == 18);
       EXPECT_FALSE(p->CBShowInEditor->Visible() || p->PBottom->Visible()) << "only while designing";
       // An empty list offers only Add.
       for (TControl* c : std::initializer_list<TControl*>{p->CBActive, p->BDelete, p->BClone, p->BMoveUp})
         EXPECT_FALSE(c->Enabled()) << c->Name();
     }},
  };
}

class EditorForms : public editortest::EditorTest {};

TEST_F(EditorForms, ControlsAreTheTablesOwnAndFitTheirForm) {
  auto* chart = new TChart(Host.get());
  auto* series = new TLineSeries(Host.get());
  series->SetParentChart(chart);
  for (const TFormSpec& spec : Specs()) {
    const TClass c = spec.Class();
    SCOPED_TRACE(c->Name);
    std::unique_ptr<TForm> f(dynamic_cast<TForm*>(c->NewInstance(Host.get())));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->ClientWidth(), spec.ClientWidth);
    EXPECT_EQ(f->ClientHeight(), spec.ClientHeight);
    f->SetTag(std::intptr_t(series));
    f->Show();
    formcheck::CheckInventory(f.get(), spec.Controls);
    formcheck::CheckLayout(f.get());
    if (spec.Check) spec.Check(f.get());
  }
}

}  // namespace
