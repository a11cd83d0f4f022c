// The image filters editor, its control builder and preview; the margins and
// visuals editors.
#include "gallery/filterseditor.h"

#include <gtest/gtest.h>

#include "canvas/buttons.h"
#include "canvas/canvasunit.h"
#include "canvas/comboflat.h"
#include "engine/engineunit.h"
#include "gallery/marginseditor.h"
#include "gallery_test_util.h"
#include "platform/lists.h"
#include "platform/testing.h"

namespace {

class TFiltersEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    static bool units = (LumCanvasUnitInit(), LumEngineUnitInit(), true);
    (void)units;
    ClearRecordedMessages();
    TBitmap bmp;
    bmp.SetSize(40, 30);
    bmp.Canvas()->Brush()->SetColor(clBlue);
    bmp.Canvas()->FillRect(Rect(0, 0, 40, 30));
    picture.SetGraphic(&bmp);
  }
  // An editor on the picture's filters, shown as by EditImageFilters.
  std::unique_ptr<TFiltersEditor> Open(std::initializer_list<TClass> Classes) {
    for (TClass c : Classes) picture.Filters()->Add(c);
    auto e = std::make_unique<TFiltersEditor>(nullptr);
    e->SetTheFilters(picture.Filters());
    e->SetThePicture(&picture);
    e->Show();
    TestInput::PumpUntil([&] { return !e->Timer1->Enabled(); });
    return e;
  }
  static void Select(TFiltersEditor* E, int Row) {
    E->Filters->SetItemIndex(Row);
    E->FiltersClick(E->Filters);
  }
  static std::vector<std::string> Rows(TFiltersEditor* E) {
    std::vector<std::string> r;
    for (int i = 0; i < E->Filters->Count(); ++i) r.push_back(E->Filters->Items()->Strings(i));
    return r;
  }
  std::vector<std::string> Kept() {
    std::vector<std::string> r;
    for (int i = 0; i < picture.Filters()->Count(); ++i) r.push_back(picture.Filters()->Item(i)->Description());
    return r;
  }
  TLumPicture picture;
};

TEST_F(TFiltersEditorTest, EnumerationNamesBecomeCaptions) {
  const std::pair<const char*, const char*> names[] = {
      {"gdTopBottom", "Top Bottom"}, {"psSmallDot", "Small Dot"}, {"tnDontPaint", "Dont Paint"},
      {"gmAverage", "Average"},      {"A", "A"},                  {"x", "x"},
      {"average", "average"},        {"bs3D", "3D"},              {"ssABC", "A BC"},
  };
  for (const auto& [name, caption] : names) EXPECT_EQ(PrettyEnumName(name), caption) << name;
}

TEST_F(TFiltersEditorTest, EachFilterGetsItsControlsOneUnderTheOther) {
  auto e = Open({TColorFilter::StaticClass(), TBrightnessFilter::StaticClass(), TGrayScaleFilter::StaticClass(),
                 TMirrorFilter::StaticClass(), TInvertFilter::StaticClass()});
  TTabSheet* page = e->Properties;
  // Colour: a colour button at 8, then the percent edit 6 below it.
  ASSERT_EQ(page->ControlCount(), 4);  // button, label, edit, up-down
  auto* color = dynamic_cast<TButtonColor*>(page->Controls(0));
  ASSERT_TRUE(color);
  EXPECT_EQ(color->Top(), 8);
  auto* edit = dynamic_cast<TEdit*>(page->Controls(2));
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->Top(), 8 + color->Height() + 6);
  EXPECT_EQ(edit->Width() + page->Controls(3)->Width(), page->ClientWidth() - 68);  // the up-down takes its share
  EXPECT_EQ(page->Controls(1)->Caption(), "&Percent");
  EXPECT_TRUE(e->Properties->TabVisible());

  // Brightness: a label over a scroll bar as wide as the page less 8.
  Select(e.get(), 1);
  ASSERT_EQ(page->ControlCount(), 2);
  auto* bar = dynamic_cast<TScrollBar*>(page->Controls(1));
  ASSERT_TRUE(bar);
  EXPECT_EQ(bar->Top(), 8 + page->Controls(0)->Height());
  EXPECT_EQ(bar->Width(), page->ClientWidth() - 8);
  EXPECT_EQ(bar->Min(), -100);

  // Gray scale: a combo of the method names, on the current one.
  Select(e.get(), 2);
  auto* combo = dynamic_cast<TComboFlat*>(page->Controls(0));
  ASSERT_TRUE(combo);
  EXPECT_EQ(combo->Items()->Text(), "Average\nLuminance\n");
  EXPECT_EQ(combo->ItemIndex(), 1);

  // Mirror: a check box 75 x 16.
  Select(e.get(), 3);
  auto* check = dynamic_cast<TCheckBox*>(page->Controls(0));
  ASSERT_TRUE(check);
  EXPECT_EQ(check->Width(), 75);

  // Invert offers no options: only the region tab is left, loaded with the region.
  static_cast<TLumFilter*>(e->Filters->Items()->GetObject(4))->Region()->SetWidth(12);
  Select(e.get(), 4);
  EXPECT_EQ(page->ControlCount(), 0);
  EXPECT_FALSE(e->Properties->TabVisible());
  EXPECT_EQ(e->PageProps->ActivePage(), e->TabRegion);
  EXPECT_TRUE(e->PageProps->Visible());
  EXPECT_EQ(e->UDWidth->Position(), 12);
}

TEST_F(TFiltersEditorTest, OptionWritesReachTheFilterAndARefusedValueChangesNothing) {
  auto e = Open({TBlurFilter::StaticClass(), TBrightnessFilter::StaticClass()});
  auto* blur = static_cast<TBlurFilter*>(picture.Filters()->Item(0));
  int refreshed = 0;
  e->OnChange = [&](TObject*) { ++refreshed; };
  auto* edit = dynamic_cast<TEdit*>(e->Properties->Controls(1));
  ASSERT_TRUE(edit);
  edit->SetText("7");
  EXPECT_EQ(blur->Amount(), 7);
  EXPECT_EQ(refreshed, 1);
  TestInput::PostText(edit, "x");
  TestInput::PumpUntil([] { return !RecordedMessages().empty(); });
  EXPECT_EQ(RecordedMessages().size(), 1u);
  EXPECT_EQ(blur->Amount(), 7);
  EXPECT_EQ(refreshed, 1);

  // The region edits write the region.
  e->UDLeft->SetPosition(5);
  e->UDHeight->SetPosition(9);
  EXPECT_EQ(blur->Region()->Left(), 5);
  EXPECT_EQ(blur->Region()->Height(), 9);
  // Loading another filter's page writes nothing back.
  auto* bright = static_cast<TLumFilter*>(picture.Filters()->Item(1));
  Select(e.get(), 1);
  EXPECT_EQ(bright->Region()->Left(), 0);
  EXPECT_EQ(e->UDLeft->Position(), 0);
  auto* bar = static_cast<TScrollBar*>(e->Properties->Controls(1));
  bar->SetPosition(-40);
  EXPECT_EQ(static_cast<TBrightnessFilter*>(bright)->Amount(), -40);
}

TEST_F(TFiltersEditorTest, AddingDeletingAndMovingKeepRowsAndCollectionInStep) {
  auto e = Open({});
  EXPECT_FALSE(e->BDelete->Enabled() || e->BMoveUp->Enabled() || e->BMoveDown->Enabled());

  // "+" drops the sorted class list down; picking adds and selects.
  for (const char* name : {"Invert", "Blur", "Mirror"}) {
    TestMenus::ClearShown();
    TestInput::PostClick(e->BAdd);
    TestInput::PumpUntil([] { return !TestMenus::Shown().empty(); });
    ASSERT_EQ(TestMenus::Shown().size(), 1u);
    EXPECT_EQ(TestMenus::Shown()[0].Captions,
              (std::vector<std::string>{"Blur", "Brightness", "Color", "Gray scale", "Invert", "Mirror"}));
    TestMenus::PostPick(name);
    TestInput::PumpUntil([&] { return e->Filters->Items()->IndexOf(name) >= 0; });
  }
  EXPECT_EQ(Rows(e.get()), (std::vector<std::string>{"Invert", "Blur", "Mirror"}));
  EXPECT_EQ(e->Filters->ItemIndex(), 2);
  EXPECT_TRUE(e->Filters->Checked(2));
  EXPECT_FALSE(e->BMoveDown->Enabled());

  e->BMoveUpClick(nullptr);
  EXPECT_EQ(Kept(), (std::vector<std::string>{"Invert", "Mirror", "Blur"}));
  EXPECT_EQ(e->Filters->ItemIndex(), 1);
  e->Filters->SetItemIndex(0);
  e->BMoveDownClick(nullptr);
  EXPECT_EQ(Kept(), (std::vector<std::string>{"Mirror", "Invert", "Blur"}));
  EXPECT_EQ(Rows(e.get()), Kept());

  // The check marks are the filters' Enabled.
  e->Filters->SetChecked(0, false);
  e->FiltersClickCheck(nullptr);
  EXPECT_FALSE(picture.Filters()->Item(0)->Enabled());

  // Deleting the last row selects the new last one; deleting the only one hides the page.
  e->Filters->SetItemIndex(2);
  e->BDeleteClick(nullptr);
  EXPECT_EQ(e->Filters->ItemIndex(), 1);
  e->BDeleteClick(nullptr);
  e->BDeleteClick(nullptr);
  EXPECT_EQ(picture.Filters()->Count(), 0);
  EXPECT_EQ(e->Filters->ItemIndex(), -1);
  EXPECT_FALSE(e->PageProps->Visible());
  EXPECT_FALSE(e->BDelete->Enabled());
  e->Hide();
}

TEST_F(TFiltersEditorTest, ThePreviewShowsTheFilteredPictureUnlessSwitchedOff) {
  auto e = Open({TInvertFilter::StaticClass()});
  TBackImage* back = e->Image->BackImage();
  ASSERT_FALSE(back->Empty());
  EXPECT_EQ(back->Width(), e->Image->Width());  // scaled to the panel
  auto* shown = dynamic_cast<TBitmap*>(back->Graphic());
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->Canvas()->Pixels(1, 1), TColor(0x00FFFF));  // blue inverted

  e->CBScaled->SetChecked(false);
  EXPECT_FALSE(e->Scaled1->Checked());
  EXPECT_EQ(back->Width(), 40);
  e->Scaled1Click(e->Scaled1);
  EXPECT_TRUE(e->CBScaled->Checked());

  e->CBPreview->SetChecked(false);
  EXPECT_TRUE(back->Empty());
  EXPECT_FALSE(e->CBScaled->Enabled());
  // Without a picture there is nothing to preview.
  TFiltersEditor none(nullptr);
  none.SetTheFilters(picture.Filters());
  none.FormShow(&none);
  EXPECT_FALSE(none.CBPreview->Enabled());
  EXPECT_TRUE(none.Image->BackImage()->Empty());
}

TEST_F(TFiltersEditorTest, EditImageFiltersTellsThePictureOnOkOnly) {
  picture.Filters()->Add(TInvertFilter::StaticClass());
  int notices = 0;
  TLumPicture watched([&](TObject*) { ++notices; });
  watched.Assign(&picture);
  notices = 0;
  TestInput::WhenModal([] {
    TestInput::PostKey(VK_ESCAPE);
    TestInput::PostKey(VK_RETURN);  // Escape does not close it: OK does
  });
  EXPECT_TRUE(EditImageFilters(nullptr, &watched));
  EXPECT_EQ(notices, 1);
}

TEST_F(TFiltersEditorTest, MarginsLoadTheirUnitsAndWriteOnlyWhileShowing) {
  TMargins m;
  m.SetUnits(maPixels);
  m.SetLeft(7);
  TForm host(nullptr);
  auto* page = new TMarginsEditor(&host);
  page->SetTag(std::intptr_t(&m));
  page->SetParent(&host);
  host.Show();
  page->Show();
  EXPECT_EQ(page->RGUnits->ItemIndex(), 2);
  EXPECT_EQ(page->UDLeft->Position(), 7);
  page->RGUnits->SetItemIndex(0);
  EXPECT_EQ(m.Units(), maPercentFont);
  page->UDBottom->SetPosition(-12);
  EXPECT_EQ(m.Bottom(), -12);
  EXPECT_EQ(m.Left(), 7);

  // Loading another object one up-down at a time carries nothing of this one over.
  TMargins other;
  other.SetTop(3);
  page->LoadMargins(&other);
  EXPECT_EQ(other.Bottom(), 0);
  EXPECT_EQ(other.Left(), 0);
  EXPECT_EQ(m.Top(), 0);
  host.Hide();
  page->UDTop->SetPosition(99);
  EXPECT_EQ(other.Top(), 3);
}

TEST_F(TFiltersEditorTest, VisualsCanOnlyBeClearedWithoutAChooser) {
  TComponent owner(nullptr);
  TVisualsHolder holder(&owner);
  TVisualsEditor e(nullptr);
  e.SetTag(std::intptr_t(&holder));
  e.FormShow(&e);
  EXPECT_FALSE(e.BClearVisual->Enabled());
  int changes = 0;
  e.OnChange = [&](TObject*) { ++changes; };
  e.Button3Click(&e);  // no chooser: nothing happens
  EXPECT_EQ(changes, 0);

  TFilterRegion visual;
  holder.SetVisual(&visual);
  e.RefreshVisual();
  EXPECT_TRUE(e.BClearVisual->Enabled());
  EXPECT_EQ(e.VisualEditor(), nullptr);  // no editor class in this program
  e.BClearVisualClick(&e);
  EXPECT_EQ(holder.Visual(), nullptr);
  EXPECT_EQ(changes, 1);
}

}  // namespace
