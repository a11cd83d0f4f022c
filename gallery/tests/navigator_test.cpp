// The navigator: the even layout and its remainder, hints, keys, the held button's
// repeat on the stepped clock, and the grid navigator's enabling row by row.
#include <gtest/gtest.h>

#include <memory>

#include "gallery/chartgrid.h"
#include "gallery/navigator.h"
#include "gallery_test_util.h"
#include "platform/testing.h"

namespace {

class NavigatorTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    ClearRecordedMessages();
    host.reset(new TForm(nullptr));
    host->SetClientWidth(400);
    host->SetClientHeight(300);
    host->Show();
  }
  template <class T>
  T* Add() {
    auto* c = new T(host.get());
    c->SetParent(host.get());
    return c;
  }
  std::vector<int> Widths(TCustomLumNavigator* N) {
    std::vector<int> w;
    for (int i = 0; i < LumNavButtonCount; ++i)
      if (N->Buttons(i)->Visible()) w.push_back(N->Buttons(i)->Width());
    return w;
  }
  std::unique_ptr<TForm> host;
};

TEST_F(NavigatorTest, SpreadsTheRemainderOnlyWhenAligned) {
  auto* n = Add<TCustomLumNavigator>();
  EXPECT_EQ(n->Width(), 240);  // 241 not aligned: four buttons of 60
  EXPECT_EQ(Widths(n), (std::vector<int>{60, 60, 60, 60}));
  // The five hidden buttons wait just right of the bar.
  EXPECT_EQ(n->Buttons(nbInsert)->Left(), 241);
  host->SetClientWidth(241);
  n->SetAlign(alTop);
  EXPECT_EQ(Widths(n), (std::vector<int>{60, 60, 61, 60}));
  EXPECT_EQ(n->Buttons(nbLast)->Left(), 181);
  // Never narrower than 20 per visible button.
  n->SetAlign(alNone);
  n->SetWidth(30);
  EXPECT_EQ(n->Width(), 80);
}

TEST_F(NavigatorTest, CustomHintsReplaceOnlyNonEmptyLines) {
  auto* n = Add<TCustomLumNavigator>();
  n->Hints()->SetText("Go first\n\n");
  EXPECT_EQ(n->Buttons(nbFirst)->Hint() + "/" + n->Buttons(nbPrior)->Hint(), "Go first/Prior");
  n->Hints()->Clear();
  EXPECT_EQ(n->Buttons(nbFirst)->Hint(), "First");
}

TEST_F(NavigatorTest, ArrowsMoveTheFocusAmongVisibleButtonsAndSpaceClicks) {
  auto* n = Add<TCustomLumNavigator>();
  std::vector<int> clicked;
  n->OnButtonClicked = [&](TObject*, int Index) { clicked.push_back(Index); };
  n->SetFocus();
  TestInput::PostKey(VK_LEFT);
  TestInput::PumpPasses(4);
  EXPECT_EQ(n->FocusedButton(), 0);
  for (int i = 0; i < 5; ++i) TestInput::PostKey(VK_RIGHT);
  TestInput::PumpPasses(4);
  EXPECT_EQ(n->FocusedButton(), nbLast);  // the hidden ones are skipped
  TestInput::PostKey(VK_SPACE);  // disabled: no click
  TestInput::PumpPasses(4);
  n->Buttons(nbLast)->SetEnabled(true);
  TestInput::PostKey(VK_SPACE);
  TestInput::PumpPasses(4);
  EXPECT_EQ(clicked, std::vector<int>{nbLast});
}

// Holding Next: clicks at 400 ms, then every 100 ms, and the release's own click;
// nothing once released, disabled or freed.
TEST_F(NavigatorTest, HeldButtonRepeatsOnTheClock) {
  auto* n = Add<TCustomLumNavigator>();
  TLumNavButton* next = n->Buttons(nbNext);
  next->SetEnabled(true);
  TestInput::TSteppedClock clock;
  std::vector<std::int64_t> at;
  n->OnButtonClicked = [&](TObject*, int Index) {
    if (Index == nbNext) at.push_back(clock.ElapsedMs());
  };
  auto hold = [&](unsigned Ms) {
    TestInput::PostMouseDown(next, mbLeft, 5, 5);
    TestInput::PumpPasses(1);
    const std::int64_t pressed = clock.ElapsedMs();
    TestInput::PumpFor(Ms);
    return pressed;
  };
  const std::int64_t pressed = hold(1000);
  TestInput::PostMouseUp(next, mbLeft, 5, 5);
  TestInput::PumpPasses(4);
  ASSERT_NEAR(double(at.size()), 8, 1);
  EXPECT_NEAR(double(at[0] - pressed), 400, 2);
  for (std::size_t i = 1; i + 1 < at.size(); ++i) EXPECT_NEAR(double(at[i] - at[i - 1]), 100, 2) << i;
  const std::size_t released = at.size();
  TestInput::PumpFor(600);
  EXPECT_EQ(at.size(), released);

  // Disabled while held.
  at.clear();
  hold(450);
  next->SetEnabled(false);
  const std::size_t before = at.size();
  TestInput::PumpFor(500);
  EXPECT_EQ(at.size(), before);
  TestInput::PostMouseUp(next, mbLeft, 5, 5);
  TestInput::PumpPasses(4);

  // Freed while held: its timer goes with it.
  next->SetEnabled(true);
  TestInput::PostMouseDown(next, mbLeft, 5, 5);
  TestInput::PumpPasses(4);
  delete n;
  TestInput::PumpFor(600);
}

TEST_F(NavigatorTest, FollowsItsPanelUntilItIsFreed) {
  auto* n = Add<TCustomLumNavigator>();
  auto* chart = Add<TChart>();
  n->SetPanel(chart);
  delete chart;
  EXPECT_EQ(n->Panel(), nullptr);
}

class GridNavigatorTest : public NavigatorTest {
protected:
  void SetUp() override {
    NavigatorTest::SetUp();
    chart = Add<TChart>();
    auto* s = new TLineSeries(host.get());
    s->SetParentChart(chart);
    for (int i = 0; i < 4; ++i) s->AddXY(i, i * i);
    grid = Add<TChartGrid>();
    grid->SetChart(chart);
    nav = Add<TChartGridNavigator>();
    nav->SetGrid(grid);
  }
  std::string Enabled() {
    std::string e;
    for (int i = 0; i < LumNavButtonCount; ++i) e += nav->Buttons(i)->Enabled() ? '1' : '0';
    return e;
  }
  TChart* chart = nullptr;
  TChartGrid* grid = nullptr;
  TChartGridNavigator* nav = nullptr;
};

TEST_F(GridNavigatorTest, EnablesByRowAndEditState) {
  const struct {
    int Click, Row;
    bool Editing;
    const char* Enabled;  // First Prior Next Last Insert Delete Edit Post Cancel
  } steps[] = {{-1, 2, false, "001111100"}, {nbNext, 3, false, "111111100"}, {nbLast, 5, false, "110011100"},
               {nbEdit, 5, true, "110000011"}, {nbCancel, 5, false, "110011100"}, {nbFirst, 2, false, "001111100"}};
  for (const auto& s : steps) {
    if (s.Click >= 0) nav->Buttons(s.Click)->Click();
    EXPECT_EQ(grid->Row(), s.Row) << s.Click;
    EXPECT_EQ(grid->EditorMode(), s.Editing) << s.Click;
    EXPECT_EQ(Enabled(), s.Enabled) << s.Click;
  }
  // Freed grid: the navigator lets it go and disables everything.
  delete grid;
  EXPECT_EQ(nav->Grid(), nullptr);
  EXPECT_EQ(Enabled(), "000000000");
}

}  // namespace
