// The numeric format chooser and the mouse cursor chooser.
#include "gallery/formateditor.h"

#include <gtest/gtest.h>

#include <fstream>

#include "canvas/comboflat.h"
#include "engine/engineunit.h"
#include "gallery_test_util.h"
#include "platform/resources.h"
#include "platform/testing.h"
#include "test_temp.h"

namespace {

const TFormatLocale CommaPoint{"$", ",", ".", "dd/mm/yyyy", "hh:nn"};
const TFormatLocale PointComma{"EUR", ".", ",", "dd.mm.yyyy", "hh:nn"};
const TFormatLocale Blank{"", "", ".", "", ""};

class TFormatEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    static bool engine = (LumEngineUnitInit(), true);
    (void)engine;
    SetFormatLocale(&CommaPoint);
    ClearRecordedMessages();
  }
  void TearDown() override { SetFormatLocale(nullptr); }
  // A chooser opened on Format as its OnShow does, without the modal run.
  std::unique_ptr<TFormatEditor> Open(const std::string& Format, bool AllowDate = true) {
    auto f = std::make_unique<TFormatEditor>(nullptr);
    f->SetTheFormat(Format);
    f->RBDate->SetVisible(AllowDate);
    f->FormShow(f.get());
    return f;
  }
};

TEST_F(TFormatEditorTest, ComposesEveryNumberLayoutAndTakesItApartAgain) {
  // Integer parts by fixed digits 0..5, without and with thousands.
  struct Locale {
    const TFormatLocale* L;
    const char* Plain[6];
    const char* Thousands[6];
  } locales[] = {
      {&CommaPoint, {"#", "0", "00", "000", "0000", "00000"}, {"#,###", "#,##0", "#,#00", "#,000", "0,000", "00,000"}},
      {&PointComma, {"#", "0", "00", "000", "0000", "00000"}, {"#.###", "#.##0", "#.#00", "#.000", "0.000", "00.000"}},
  };
  for (const Locale& loc : locales) {
    SetFormatLocale(loc.L);
    for (int fixed = 0; fixed <= 5; ++fixed)
      for (bool thousands : {false, true})
        for (int decimals = 0; decimals <= 3; ++decimals)
          for (bool fixedDec : {false, true}) {
            TNumberFormat n;
            n.Fixed = fixed, n.Thousands = thousands, n.Decimals = decimals, n.FixedDecimals = fixedDec;
            std::string want = thousands ? loc.Thousands[fixed] : loc.Plain[fixed];
            if (decimals) want += loc.L->DecimalSeparator + std::string(size_t(decimals), fixedDec ? '0' : '#');
            SCOPED_TRACE(want);
            EXPECT_EQ(ComposeNumberFormat(n, *loc.L), want);
            auto f = Open(want);
            EXPECT_TRUE(f->RBInteger->Checked());
            EXPECT_EQ(f->CBThousands->Checked(), thousands);
            EXPECT_EQ(f->UpDown2->Position(), fixed);
            EXPECT_EQ(f->UpDown1->Position(), decimals);
            EXPECT_EQ(f->CBFixedDecimals->Checked(), decimals > 0 && fixedDec);
            EXPECT_EQ(f->ComposeFormat(), want);
          }
  }
}

TEST_F(TFormatEditorTest, OpensEachKindOfFormatOnItsOwnButton) {
  enum Kind { Number, Date, Geo, Custom };
  struct Case {
    std::string Format;
    const TFormatLocale* L;
    bool AllowDate;
    Kind K;
    bool Currency, Thousands, Percent;
    int Fixed, Decimals;
  } cases[] = {
      {"#,##0.00", &CommaPoint, true, Number, false, true, false, 1, 2},
      {"0.0%", &CommaPoint, true, Number, false, false, true, 1, 1},
      {"$#,##0", &CommaPoint, true, Number, true, true, false, 1, 0},
      {"dd-mm-yyyy", &CommaPoint, true, Date, false, false, false, 0, 0},
      {"hh:nn", &CommaPoint, true, Date, false, false, false, 0, 0},
      {"ddd mm ss", &CommaPoint, true, Geo, false, false, false, 0, 0},
      {"ddd", &CommaPoint, true, Date, false, false, false, 0, 0},
      {"ddd", &CommaPoint, false, Geo, false, false, false, 0, 0},
      {"#.# x10E-#", &CommaPoint, true, Custom, false, false, false, 0, 1},
      // Garbage comes back as it went in.
      {"%%##;x", &CommaPoint, true, Custom, false, false, true, 0, 0},
      {std::string(25, '0'), &CommaPoint, true, Custom, false, false, false, 0, 0},
      // Empty locale strings are never "found" at the start of the text.
      {"0.00", &Blank, true, Number, false, false, false, 1, 2},
      {"#.##0,0", &PointComma, true, Number, false, true, false, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Format);
    SetFormatLocale(c.L);
    auto f = Open(c.Format, c.AllowDate);
    EXPECT_EQ(f->RBInteger->Checked(), c.K == Number);
    EXPECT_EQ(f->RBDate->Checked(), c.K == Date);
    EXPECT_EQ(f->RBGeo->Checked(), c.K == Geo);
    EXPECT_EQ(f->RBCustom->Checked(), c.K == Custom);
    EXPECT_EQ(f->CBDate->Enabled(), c.K == Date);
    EXPECT_EQ(f->CBGeo->Enabled(), c.K == Geo);
    EXPECT_EQ(f->CBCustom->Enabled(), c.K == Custom);
    if (c.K == Number) {
      EXPECT_EQ(f->CBCurrency->Checked(), c.Currency);
      EXPECT_EQ(f->CBThousands->Checked(), c.Thousands);
      EXPECT_EQ(f->CBPercent->Checked(), c.Percent);
      EXPECT_EQ(f->UpDown2->Position(), c.Fixed);
      EXPECT_EQ(f->UpDown1->Position(), c.Decimals);
    }
    EXPECT_EQ(f->ComposeFormat(), c.Format);
  }
}

TEST_F(TFormatEditorTest, ButtonsAndBoxesFollowTheRadioHandling) {
  auto f = Open("$#,##0");
  f->CBPercent->SetChecked(true);
  EXPECT_FALSE(f->CBCurrency->Checked());
  EXPECT_FALSE(f->CBThousands->Checked());
  EXPECT_FALSE(f->CBCurrency->Enabled());
  EXPECT_FALSE(f->CBThousands->Enabled());
  EXPECT_EQ(f->ComposeFormat(), "0%");
  f->CBPercent->SetChecked(false);
  EXPECT_TRUE(f->CBCurrency->Enabled());

  // Date chosen with an empty box: the short date format; the number button goes off.
  f->RBDate->SetChecked(true);
  EXPECT_FALSE(f->RBInteger->Checked());
  EXPECT_TRUE(f->CBDate->Enabled());
  EXPECT_EQ(f->ComposeFormat(), "dd/mm/yyyy");
  f->RBGeo->SetChecked(true);
  EXPECT_FALSE(f->CBDate->Enabled());
  EXPECT_EQ(f->ComposeFormat(), "ddd\xC2\xB0 mm' ss\".zzz");
  // Custom with an empty box starts from what the number boxes describe.
  f->UpDown1->SetPosition(2);
  f->RBCustom->SetChecked(true);
  EXPECT_EQ(f->ComposeFormat(), "0.##");
  EXPECT_FALSE(f->CBPercent->Enabled());
  f->RBInteger->SetChecked(true);
  EXPECT_FALSE(f->RBCustom->Checked());
  EXPECT_FALSE(f->CBCustom->Enabled());
  EXPECT_EQ(f->ComposeFormat(), "0.##");
}

TEST_F(TFormatEditorTest, EditValueFormatAnswersOnOkAndKeepsTheFormatOnCancel) {
  std::string result;
  TestInput::WhenModal([] { TestInput::PostKey(VK_ESCAPE); });
  EXPECT_FALSE(EditValueFormat(nullptr, "#,##0.00", result));
  EXPECT_EQ(result, "#,##0.00");
  // Garbage opens as custom and OK gives it back unchanged.
  TestInput::WhenModal([] { TestInput::PostKey(VK_RETURN); });
  EXPECT_TRUE(EditValueFormat(nullptr, "x#y", result));
  EXPECT_EQ(result, "x#y");
}

class TCursorEditTest : public TFormatEditorTest {};

TEST_F(TCursorEditTest, NamesResolveBothWaysAndTheListOffersTheHand) {
  EXPECT_EQ(CursorFromName(crDefault, "LumHand"), crLumHand);
  EXPECT_EQ(CursorFromName(crCross, "NoSuchCursor"), crCross);
  EXPECT_EQ(CursorFromName(crCross, "HandPoint"), crHandPoint);
  TMouseCursorEdit f(nullptr);
  FillCursorCombo(f.CBCursor, crLumHand);
  EXPECT_EQ(f.CBCursor->SelectedText(), "LumHand");
  EXPECT_EQ(f.CBCursor->Items()->IndexOf("crLumHand"), -1);
  FillCursorCombo(f.CBCursor, 4321);
  EXPECT_EQ(f.CBCursor->ItemIndex(), -1);

  // Choosing "LumHand" gives 2020 and tells the page.
  f.SetTheCursor(crDefault);
  f.FormShow(&f);
  EXPECT_FALSE(f.BLoad->Visible());  // no component given
  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  f.CBCursor->SetItemIndex(f.CBCursor->Items()->IndexOf("LumHand"));
  f.CBCursorChange(f.CBCursor);
  EXPECT_EQ(f.TheCursor(), crLumHand);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(f.ImageCursor->Picture()->Graphic() == nullptr);  // the hand has a picture
}

TEST_F(TCursorEditTest, LoadedFilesTakeTheFirstFreeSlotAndBadOnesChangeNothing) {
  const std::uint8_t* data = nullptr;
  size_t size = 0;
  ASSERT_TRUE(FindResource("LUM_CURSOR_HAND", data, size));
  const std::string good = TestTempFile("hand.cur"), bad = TestTempFile("bad.cur"), ani = TestTempFile("a.ani");
  std::ofstream(good, std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size));
  std::ofstream(bad, std::ios::binary) << "not a cursor";
  std::ofstream(ani, std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size));

  TComponent owner(nullptr);
  TMouseCursorEdit f(nullptr);
  f.SetTheComponent(&owner);
  f.SetTheCursor(crCross);
  f.FormShow(&f);
  EXPECT_TRUE(f.BLoad->Visible());
  const HCURSOR arrow = Screen->Cursors(crDefault);
  f.Show();
  for (const std::string& file : {bad, ani}) {
    TestDialogs::AnswerFile(file);
    TestInput::PostClick(f.BLoad);
    TestInput::PumpUntil([] { return !RecordedMessages().empty(); });
    ASSERT_EQ(RecordedMessages().size(), 1u) << file;
    EXPECT_NE(RecordedMessages()[0].find(file), std::string::npos);
    ClearRecordedMessages();
    EXPECT_EQ(f.TheCursor(), crCross);
    EXPECT_EQ(Screen->Cursors(FirstLoadedCursor), arrow);
  }
  for (TCursor want : {FirstLoadedCursor, FirstLoadedCursor + 1}) {
    TestDialogs::AnswerFile(good);
    f.BLoadClick(f.BLoad);
    EXPECT_EQ(f.TheCursor(), want);
    EXPECT_NE(Screen->Cursors(want), arrow);
    EXPECT_EQ(f.CBCursor->ItemIndex(), -1);
  }
  f.Hide();
}

TEST_F(TCursorEditTest, EditMouseCursorAnswersTheChosenCursorOrTheStartingOne) {
  TestInput::WhenModal([] { TestInput::PostKey(VK_RETURN); });
  EXPECT_EQ(EditMouseCursor(nullptr, crIBeam), crIBeam);
  // The list has the focus; "LumHand" follows "IBeam".
  TestInput::WhenModal([] {
    TestInput::PostKey(VK_DOWN);
    TestInput::PostKey(VK_RETURN);
  });
  EXPECT_EQ(EditMouseCursor(nullptr, crIBeam), crLumHand);
}

}  // namespace
