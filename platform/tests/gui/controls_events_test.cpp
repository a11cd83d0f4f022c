// What each control fires for programmatic changes and for user input, and the
// spin edit's and track bar's own rules.
#include <string>
#include <vector>

#include "app_fixture.h"
#include "gui_test.h"
#include "platform/snapshot.h"
#include "platform/typinfo.h"

using namespace formstest;

namespace {

class ControlEvents : public FormTest {
protected:
  template <class T>
  T* Add(int left, int top, TWinControl* parent = nullptr) {
    auto* c = new T(Form);
    c->SetLeft(left);
    c->SetTop(top);
    c->SetParent(parent ? parent : Form);
    return c;
  }
};

TEST_F(ControlEvents, RadioButtonsOfOneParentFormAGroupAndFireOnlyWhenBecomingChecked) {
  auto* groupA = FormTest::Add<TPanel>(0, 0, 200, 60);
  auto* acoustic = Add<TRadioButton>(5, 5, groupA);
  auto* optic = Add<TRadioButton>(5, 30, groupA);
  auto* elsewhere = Add<TRadioButton>(10, 100);
  std::vector<std::string> log;
  for (auto* r : {acoustic, optic, elsewhere})
    r->OnClick = [&log, r, acoustic, optic](TObject*) {
      log.push_back(r == acoustic ? "acoustic" : r == optic ? "optic" : "elsewhere");
    };
  acoustic->SetChecked(true);
  elsewhere->SetChecked(true);
  EXPECT_TRUE(acoustic->Checked());  // another parent, another group
  optic->SetChecked(true);
  EXPECT_FALSE(acoustic->Checked());
  optic->SetChecked(true);
  optic->SetChecked(false);
  EXPECT_EQ(log, (std::vector<std::string>{"acoustic", "elsewhere", "optic"}));
  // Only the checked button of a group is a tab stop.
  EXPECT_FALSE(acoustic->TabStop());
  EXPECT_FALSE(optic->TabStop());

  log.clear();
  acoustic->SetChecked(true);
  ShowForm();
  TestInput::PostClick(optic);
  TestInput::PostClick(optic);  // already checked: nothing
  Pump();
  EXPECT_TRUE(optic->Checked());
  EXPECT_FALSE(acoustic->Checked());
  EXPECT_TRUE(elsewhere->Checked());
  EXPECT_EQ(log, (std::vector<std::string>{"acoustic", "optic"}));
}

TEST_F(ControlEvents, ButtonClickFiresAndSetsTheFormsModalResult) {
  auto* b = Add<TBitBtn>(10, 10);
  b->SetCaption("Exit");
  b->SetModalResult(mrYes);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  ShowForm();
  TestInput::PostClick(b);
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Form->ModalResult(), mrYes);
  // Space on the focused button clicks it too; a hidden button cannot be clicked.
  b->SetFocus();
  TestInput::PostKey(VK_SPACE);
  Pump();
  EXPECT_EQ(clicks, 2);
  b->Hide();
  TestInput::PostClick(b);
  Pump();
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlEvents, SpinEditReadsItsTextAndKeepsWhateverIsTyped) {
  auto* m2 = Add<TSpinEdit>(10, 10);
  m2->SetMinValue(3);
  m2->SetMaxValue(20);
  std::vector<std::string> changes;
  m2->OnChange = [&](TObject*) { changes.push_back(m2->Text()); };
  m2->SetValue(4);
  m2->SetValue(4);  // same text: nothing
  m2->SetValue(50);
  m2->SetValue(-7);
  EXPECT_EQ(changes, (std::vector<std::string>{"4", "20", "3"}));

  ShowForm();
  changes.clear();
  TestInput::PostText(m2, "x7");
  Pump();
  EXPECT_EQ(changes, (std::vector<std::string>{"x", "x7"}));
  EXPECT_EQ(m2->Text(), "x7");
  EXPECT_EQ(m2->Value(), 3);  // not an integer: the minimum
  TestInput::PostSpin(m2, true);
  Pump();
  EXPECT_EQ(m2->Value(), 4);

  TestInput::PostText(m2, "25");
  Pump();
  EXPECT_EQ(m2->Value(), 25);  // out of range, kept
  EXPECT_EQ(m2->Text(), "25");
  TestInput::PostText(m2, "0");
  Pump();
  EXPECT_EQ(m2->Value(), 0);
  TestInput::PostText(m2, "25");
  TestInput::PostSpin(m2, false);  // the buttons clamp
  Pump();
  EXPECT_EQ(m2->Text(), "20");
  TestInput::PostKey(VK_UP);  // so do the arrow keys
  Pump();
  EXPECT_EQ(m2->Value(), 20);
  TestInput::PostKey(VK_DOWN);
  Pump();
  EXPECT_EQ(m2->Value(), 19);
  EXPECT_EQ(changes.back(), "19");
}

TEST_F(ControlEvents, TrackBarFiresOnChangeForEveryChangeOfPosition) {
  auto* bar = Add<TTrackBar>(10, 10);
  bar->SetOrientation(trVertical);
  bar->SetBounds(10, 10, 29, 150);
  bar->SetMin(1);
  bar->SetMax(1000);
  std::vector<int> changes;
  bar->OnChange = [&](TObject*) { changes.push_back(bar->Position()); };
  bar->SetPosition(1000);
  bar->SetPosition(1000);
  bar->SetPosition(5000);  // clamped to the maximum, which it already is
  bar->SetMax(500);         // the position follows the range
  bar->SetMin(600);         // above the maximum: refused
  EXPECT_EQ(bar->Min(), 1);
  EXPECT_EQ(changes, (std::vector<int>{1000, 500}));

  // By property name, as streams and editors set it.
  SetOrdProp(bar, "Position", 7);
  EXPECT_EQ(changes.back(), 7);

  ShowForm();
  TestInput::PostTrackBarMove(bar, 42);
  Pump();
  EXPECT_EQ(bar->Position(), 42);
  EXPECT_EQ(changes.back(), 42);
}

TEST_F(ControlEvents, VerticalTrackBarShowsItsMinimumAtTheTop) {
  auto* bar = Add<TTrackBar>(10, 10);
  bar->SetOrientation(trVertical);
  bar->SetTickStyle(tsNone);
  bar->SetBounds(10, 10, 29, 150);
  bar->SetMin(1);
  bar->SetMax(1000);
  auto shotAt = [&](int pos) {
    bar->SetPosition(pos);
    auto b = std::make_unique<TBitmap>();
    RenderControl(bar, b.get());
    return b;
  };
  auto atMin = shotAt(1), atMid = shotAt(500), atMax = shotAt(1000);
  // The first row where a picture differs from the middle one is where its thumb is.
  auto firstDifferentRow = [&](TBitmap* a) {
    for (int y = 0; y < 150; ++y)
      for (int x = 0; x < 29; ++x)
        if (a->Canvas()->Pixels(x, y) != atMid->Canvas()->Pixels(x, y)) return y;
    return -1;
  };
  int minRow = firstDifferentRow(atMin.get()), maxRow = firstDifferentRow(atMax.get());
  ASSERT_GE(minRow, 0);
  ASSERT_GE(maxRow, 0);
  EXPECT_LT(minRow, 40);
  EXPECT_GT(maxRow, 40);

  // The Up key moves the thumb up, towards the minimum.
  ShowForm();
  bar->SetPosition(500);
  bar->SetFocus();
  TestInput::PostKey(VK_UP);
  Pump();
  EXPECT_EQ(bar->Position(), 499);
}

TEST_F(ControlEvents, LabelFitsItsTextAndImagePlacesItsPicture) {
  auto* label = Add<TLabel>(941, 92);
  label->SetCaption("C2");
  int w = label->Width();
  EXPECT_GT(label->Height(), 5);
  label->SetCaption("C2 longer");
  EXPECT_GT(label->Width(), w);

  auto* image = FormTest::Add<TImage>(0, 0, 60, 60);
  auto pic = guitest::MakeBitmap(32, 32, clRed);
  image->Picture()->SetGraphic(pic.get());
  EXPECT_EQ(image->DestRect(), Rect(0, 0, 32, 32));
  image->SetCenter(true);
  EXPECT_EQ(image->DestRect(), Rect(14, 14, 46, 46));
  image->SetStretch(true);
  EXPECT_EQ(image->DestRect(), Rect(0, 0, 60, 60));
  image->SetStretch(false);
  TBitmap shot;
  RenderControl(image, &shot);
  EXPECT_EQ(shot.Canvas()->Pixels(14, 14), clRed);
  EXPECT_EQ(shot.Canvas()->Pixels(45, 45), clRed);
  EXPECT_NE(shot.Canvas()->Pixels(13, 13), clRed);
}

TEST_F(ControlEvents, ChildrenTakeTheParentsFontAndColourUntilGivenTheirOwn) {
  auto* panel = FormTest::Add<TPanel>();
  auto* label = Add<TLabel>(5, 5, panel);
  auto* check = Add<TCheckBox>(5, 30, panel);
  Form->Font()->SetHeight(-14);
  EXPECT_EQ(panel->Font()->Height(), -14);
  EXPECT_EQ(label->Font()->Height(), -14);
  check->Font()->SetColor(clGreen);
  Form->Font()->SetHeight(-9);
  EXPECT_EQ(label->Font()->Height(), -9);
  EXPECT_EQ(check->Font()->Height(), -14);  // has its own font now
  panel->SetColor(clYellow);
  EXPECT_EQ(label->Color(), clYellow);  // labels take the parent's colour
  EXPECT_TRUE(label->ParentColor());
}

// Forms units register the controls' classes for streams and editors.
TEST_F(ControlEvents, ControlsAreFoundByClassName) {
  TClass c = GetClass("ttrackbar");
  ASSERT_NE(c, nullptr);
  TObject* made = c->NewInstance(Form);
  EXPECT_EQ(made->ClassName(), "TTrackBar");
  delete made;
}

}  // namespace
