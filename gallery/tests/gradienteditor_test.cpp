// The gradient editor: its presets, what Cancel undoes, the enabling rules, the
// directions gallery, the embedded form and the gradient button.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "gallery/gallerypanel.h"
#include "gallery/gradienteditor.h"
#include "gallery_test_util.h"
#include "platform/snapshot.h"

namespace {

using TestInput::PostCall;
using TestInput::PostClick;
using TestInput::PostTabClick;
using TestInput::PostText;
using TestInput::WhenModal;

struct TPresetRow {
  const char* Name;
  TColor Start, Mid, End;
  int Balance;
  TGradientDirection Direction;
};

// As the editor's documentation tables them.
const TPresetRow Rows[] = {
    {"Caribe Sun", 0xDDDFD2, 0xF50A97, 0x0B80F4, 50, gdTopBottom},
    {"Business", 0xC0C0C0, 0xFFFFFF, 0x808080, 50, gdTopBottom},
    {"Hot", 0x0000FF, clNone, 0x00FFFF, 50, gdTopBottom},
    {"Ace", 0x000000, 0xFF8080, 0x000000, 74, gdBottomTop},
    {"Farm", 0x006AD5, 0xFFFFFF, 0x0062C4, 4, gdBottomTop},
    {"Sea", 0xFFFF80, 0xFF8080, 0x800000, 55, gdBottomTop},
    {"Night", 0xFFFFFF, 0x800040, 0x000000, 40, gdTopBottom},
    {"Space", 0xA50320, 0x800040, 0xFFFFFF, 50, gdFromTopLeft},
    {"Golf", 0x159902, 0xC0C0C0, 0xD9F986, 50, gdTopBottom},
    {"Funky", 0xBD3881, 0x87607A, 0x52EB85, 50, gdTopBottom},
    {"Sunset", 0xB85A06, 0xA7D8AF, 0x001042, 50, gdTopBottom},
    {"Rainbow", 0xA11EE8, 0x0F8355, 0xDD011A, 50, gdTopBottom},
    {"Pastel", 0x247489, 0x9491F6, 0xFD8B9D, 50, gdTopBottom},
    {"Tropical", 0x9A414B, 0x732FF3, 0x20D761, 50, gdTopBottom},
    {"Sea 2", 0x4C031C, 0xBACBE1, 0x291EF9, 50, gdTopBottom},
    {"Desert", 0x265FB7, 0xCE7185, 0x604457, 50, gdTopBottom},
    {"Clear day", 0xFFF3EA, 0xE0E6E9, 0xCEDBFF, 50, gdTopBottom},
};

class GradientEditorTest : public gallerytest::TDialogTest {
protected:
  void SetUp() override {
    TDialogTest::SetUp();
    gradient.SetVisible(true);
    gradient.SetStartColor(clRed);
    gradient.SetEndColor(clBlue);
    gradient.OnChange = [this](TObject* Sender) { lastSender = Sender; };
  }
  TLumGradientEditor* Open() {
    auto* e = CreateEditorDialog<TLumGradientEditor>(anchor);
    e->SetGradient(&gradient);
    return e;
  }
  TLumGradient gradient;
  TObject* lastSender = nullptr;
};

TEST_F(GradientEditorTest, EveryPresetGivesItsRowAndTheSortedListMapsBack) {
  std::unique_ptr<TLumGradientEditor> e(Open());
  TStrings* items = e->Gallery->Items();
  ASSERT_EQ(items->Count(), 17);
  for (int i = 1; i < items->Count(); ++i) EXPECT_LT(CompareText(items->Strings(i - 1), items->Strings(i)), 0);
  // One preset after the other, each clicked once the previous one was checked.
  std::function<void(int)> step = [&](int k) {
    if (k == 17) return PostClick(e->BCancel);
    const TPresetRow& row = Rows[k];
    const int i = items->IndexOf(row.Name);
    gallerytest::PostItemClick(e->Gallery, i, [&, i, k] {
      SCOPED_TRACE(row.Name);
      EXPECT_EQ(&Rows[reinterpret_cast<std::intptr_t>(items->Objects(i))], &row);
      EXPECT_EQ(gradient.StartColor(), row.Start);
      EXPECT_EQ(gradient.MidColor(), row.Mid);
      EXPECT_EQ(gradient.EndColor(), row.End);
      EXPECT_EQ(gradient.Balance(), row.Balance);
      EXPECT_EQ(gradient.Direction(), row.Direction);
      EXPECT_EQ(e->CBMid->Checked(), row.Mid == clNone) << "the controls reloaded";
      EXPECT_EQ(e->Preview()->Gradient()->EndColor(), row.End);
      step(k + 1);
    });
  };
  WhenModal([&] {
    PostTabClick(e->PageControl1, e->TabDefault->TabIndex());
    step(0);
  });
  EXPECT_EQ(e->ShowModal(), mrCancel);
  EXPECT_EQ(gradient.StartColor(), Rows[16].Start) << "presets alone are kept";
  EXPECT_EQ(e->LabelBalance->Caption(), "50 %");
}

TEST_F(GradientEditorTest, CancelUndoesColourChangesButKeepsAngleAndSubGradientAlone) {
  std::unique_ptr<TLumGradientEditor> e(Open());
  WhenModal([&] {
    PostTabClick(e->PageControl1, e->TabOptions->TabIndex());
    PostText(e->EAngle, "45");
    PostTabClick(e->PageControl1, e->TabSubGradient->TabIndex());
    PostClick(e->CBSubVisible);
    PostClick(e->BCancel);
  });
  EXPECT_EQ(e->ShowModal(), mrCancel);
  EXPECT_EQ(gradient.Angle(), 45);
  EXPECT_EQ(e->TBAngle->Position(), 45);
  EXPECT_TRUE(gradient.SubGradient()->Visible());
  lastSender = nullptr;

  // A colour chosen: everything since the show goes back, and the owner hears it.
  WhenModal([&] {
    TestDialogs::AnswerColor(clLime);
    PostTabClick(e->PageControl1, e->TabColors->TabIndex());
    PostClick(e->BStart);
    PostCall([&] { EXPECT_EQ(gradient.StartColor(), clLime); });
    PostTabClick(e->PageControl1, e->TabOptions->TabIndex());
    PostText(e->EAngle, "90");
    PostClick(e->BCancel);
  });
  EXPECT_EQ(e->ShowModal(), mrCancel);
  EXPECT_EQ(gradient.StartColor(), clRed);
  EXPECT_EQ(gradient.Angle(), 45);
  EXPECT_EQ(lastSender, e.get()) << "the restore is announced by the editor";

  // Another gradient set while shown, without a sub-gradient in its undo copy: the
  // restore drops the sub-gradient the button showed, and the button follows.
  TLumGradient fresh;
  fresh.SetVisible(true);
  WhenModal([&] {
    e->SetGradient(&fresh);
    PostTabClick(e->PageControl1, e->TabColors->TabIndex());
    PostClick(e->BSwap);
    PostClick(e->CBMid);  // a middle colour turned on: white
    PostCall([&] { EXPECT_EQ(fresh.MidColor(), clWhite); });
    PostClick(e->BCancel);
  });
  EXPECT_EQ(e->ShowModal(), mrCancel);
  EXPECT_EQ(fresh.StartColor(), clWhite);
  EXPECT_EQ(fresh.MidColor(), clNone);
  EXPECT_EQ(e->BSubEdit->Gradient(), fresh.SubGradient());
  TBitmap bmp;
  RenderControl(e->BSubEdit, &bmp);

  // The close box and the Escape key cancel as the button does; OK keeps.
  const std::function<void()> ends[] = {[&] { PostCall([&] { e->Close(); }); },
                                        [] { TestInput::PostKey(VK_ESCAPE); }, [&] { PostClick(e->BOk); }};
  for (const auto& end : ends) {
    const bool ok = &end == &ends[2];
    fresh.SetStartColor(clRed);
    fresh.SetEndColor(clYellow);
    WhenModal([&] {
      PostTabClick(e->PageControl1, e->TabColors->TabIndex());
      PostClick(e->BSwap);
      end();
    });
    EXPECT_EQ(e->ShowModal(), ok ? mrOk : mrCancel);
    EXPECT_EQ(fresh.StartColor(), ok ? clYellow : clRed) << &end - ends;
  }
}

TEST_F(GradientEditorTest, ControlsFollowVisibilityDirectionAndTheHideEndFlag) {
  struct TCase {
    bool Visible;
    TGradientDirection Direction;
    bool HideEnd, Colours, Middle, Radial;
  };
  const TCase cases[] = {
      {true, gdTopBottom, false, true, true, false},   {true, gdRadial, false, true, false, true},
      {true, gdFromCenter, false, true, false, false}, {true, gdDiagonalUp, false, true, true, false},
      {false, gdTopBottom, false, false, false, false}, {false, gdRadial, true, true, true, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Visible << " " << c.Direction << " " << c.HideEnd);
    gradient.SetVisible(c.Visible);
    gradient.SetDirection(c.Direction);
    std::unique_ptr<TLumGradientEditor> e(new TLumGradientEditor(nullptr));
    e->SetHideEnd(c.HideEnd);
    e->SetGradient(&gradient);
    for (TControl* x : std::initializer_list<TControl*>{e->CBDirection, e->BStart, e->BEnd, e->Gallery})
      EXPECT_EQ(x->Enabled(), c.Colours) << x->Name();
    EXPECT_EQ(e->CBMid->Enabled() && e->BMid->Enabled(), c.Middle);
    EXPECT_EQ(e->TrackBar1->Enabled() && e->LRadialY->Enabled(), c.Radial);
    EXPECT_EQ(e->BEnd->Visible() || e->BSwap->Visible(), !c.HideEnd);
  }
  // Embedded: no OK/Cancel panel; a sub-gradient's editor has no SubGradient tab.
  std::unique_ptr<TLumGradientEditor> e(EmbedGradientEditor(nullptr, gradient.SubGradient()));
  EXPECT_FALSE(e->Panel2->Visible());
  EXPECT_FALSE(e->TabSubGradient->TabVisible());
}

TEST_F(GradientEditorTest, DirectionsAreBuiltOnceAndAClickSetsTheDirection) {
  gradient.SetDirection(gdRadial);
  std::unique_ptr<TLumGradientEditor> e(Open());
  std::vector<TGalleryChart*> first;
  WhenModal([&] {
    EXPECT_EQ(e->Directions->Charts().Count(), 0) << "not before the tab is visited";
    PostTabClick(e->PageControl1, e->TabDirections->TabIndex());
    PostCall([&] {
      for (TGalleryChart* c : e->Directions->Charts()) first.push_back(c);
      ASSERT_EQ(first.size(), 10u);
      EXPECT_EQ(e->Directions->SelectedChart, first[gdRadial]);
      EXPECT_EQ(first[gdDiagonalUp]->Hint(), "Diagonal Up");
      EXPECT_EQ(first[3]->BackWall()->Gradient()->Direction(), gdRightLeft);
    });
    PostTabClick(e->PageControl1, e->TabColors->TabIndex());
    PostClick(e->BSwap);
    PostTabClick(e->PageControl1, e->TabDirections->TabIndex());
    PostCall([&] {
      EXPECT_EQ(e->Directions->GetChart(0), first[0]) << "built once";
      EXPECT_EQ(gradient.Direction(), gdRadial) << "showing it chose nothing";
      EXPECT_EQ(first[3]->BackWall()->Gradient()->StartColor(), clBlue) << "walls follow the colours";
      PostClick(first[gdLeftRight]);
      PostCall([&] {
        EXPECT_EQ(e->CBDirection->ItemIndex(), int(gdLeftRight));
        EXPECT_FALSE(e->TrackBar1->Enabled());
        EXPECT_TRUE(e->Modified());
        PostClick(e->BOk);
      });
    });
  });
  EXPECT_EQ(e->ShowModal(), mrOk);
  EXPECT_EQ(gradient.Direction(), gdLeftRight);
}

TEST_F(GradientEditorTest, ButtonShowsTheGradientAndOpensTheEditorWithItsFlags) {
  auto* button = PlaceControl<TButtonGradient>(host.get(), host.get(), "BGradient", 10, 50, 100, 25, "&Gradient...");
  gradient.SetDirection(gdLeftRight);
  LinkGradient(button, &gradient);
  TBitmap bmp;
  RenderControl(button, &bmp);
  const TRect box = button->SymbolRect();
  const int y = (box.Top + box.Bottom) / 2;
  EXPECT_EQ(bmp.Canvas()->Pixels(box.Left, y), TColor(0x808080)) << "grey frame";
  const TColor left = bmp.Canvas()->Pixels(box.Left + 1, y), right = bmp.Canvas()->Pixels(box.Right - 2, y);
  EXPECT_TRUE(GetRValue(left) > 200 && GetBValue(left) < 60) << "red turning blue";
  EXPECT_TRUE(GetBValue(right) > 200 && GetRValue(right) < 60);

  host->Show();
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  button->SetHideEnd(true);
  PostClick(button);
  WhenModal([&] {
    auto* e = dynamic_cast<TLumGradientEditor*>(host->FindComponent("LumGradientEditor"));
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->HideEnd() && !e->BEnd->Visible() && e->CBVisible->Visible());
    e->BOk->Click();
  });
  ASSERT_TRUE(TestInput::PumpUntil([&] { return clicks == 1; }));
  EXPECT_EQ(host->FindComponent("LumGradientEditor"), nullptr) << "freed after the click";
  WhenModal([&] {
    auto* e = dynamic_cast<TLumGradientEditor*>(host->FindComponent("LumGradientEditor"));
    EXPECT_TRUE(!e->CBVisible->Visible() && e->BEnd->Visible());
    e->BOk->Click();
  });
  EXPECT_TRUE(EditGradient(anchor, &gradient, false, true));
}

}  // namespace
