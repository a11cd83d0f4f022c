// The panel, titles and walls pages: their controls writing what they name, the
// margin refusal in percent, the title choice and its lines, the walls' rules and
// visual, what shows on the chart in pixels, and pages outliving their chart.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/chart.h"
#include "chart/series.h"
#include "editor/panelpages.h"
#include "editor_test.h"
#include "engine/backimage.h"
#include "page_test.h"
#include "gallery/backimageeditor.h"
#include "gallery/gradienteditor.h"
#include "gallery/marginseditor.h"
#include "gallery/pendialog.h"
#include "gallery/shadoweditor.h"
#include "gallery/shapeeditor.h"
#include "samples/samplechart.h"

namespace {

using editortest::EditorTest;
using editortest::Owned;
using TestInput::PostClick;
using TestInput::PostPickItem;
using TestInput::PostTabClick;
using TestInput::PostText;
using TestInput::WhenModal;

class PanelPagesTest : public editortest::ChartPageTest {
public:
  template <class P>
  P* Place(P* Page) {
    return editortest::ShowPage(Host.get(), Page, Bounds(560, 0, 420, 280));
  }
  // The leftmost and rightmost columns holding Color in the rows Top..Bottom of the
  // chart's picture; -1 when none does.
  static std::pair<int, int> ColumnsOf(TChart* Chart, TColor Color, int Top, int Bottom) {
    std::unique_ptr<TBitmap> b(Chart->CreateBitmap(clWhite, Rect(0, 0, Chart->Width(), Chart->Height())));
    int first = -1, last = -1;
    for (int y = std::max(0, Top); y < std::min(Bottom, b->Height()); ++y)
      for (int x = 0; x < b->Width(); ++x)
        if (b->Canvas()->Pixels(x, y) == Color) {
          if (first < 0 || x < first) first = x;
          last = std::max(last, x);
        }
    return {first, last};
  }
};

TEST_F(PanelPagesTest, PanelPageWritesAndRefusesMarginsThatLeaveNoPlot) {
  auto* page = Place(new TFormLumPanel(Host.get(), chart));
  EXPECT_EQ(page->PageControl1->ActivePage(), page->TabColor);
  struct TStep {
    const char* Name;
    TTabSheet* Tab;
    std::function<void()> Act;
    std::function<bool()> Done;
  };
  const std::vector<TStep> steps = {
      {"Inside", page->TabColor, [&] { PostClick(page->CBImageInside); }, [&] { return chart->BackImage()->Inside(); }},
      {"BevelWidth", page->TabBorders, [&] { PostText(page->SEPanelWi, "3"); },
       [&] { return chart->BevelWidth() == 3; }},
      {"BorderWidth", page->TabBorders, [&] { PostText(page->SEPanelBor, "2"); },
       [&] { return chart->BorderWidth() == 2; }},
      {"Round", page->TabBorders, [&] { PostText(page->ERound, "12"); }, [&] { return chart->BorderRound() == 12; }},
      {"Inner", page->TabBorders, [&] { PostPickItem(page->CBInner, 1); },
       [&] { return chart->BevelInner() == bvLowered; }},
      {"Outer", page->TabBorders, [&] { PostPickItem(page->CBOuter, 0); },
       [&] { return chart->BevelOuter() == bvNone; }},
      {"Top", page->TabMargins, [&] { PostText(page->SETopMa, "7"); }, [&] { return chart->MarginTop() == 7; }},
      {"Bottom", page->TabMargins, [&] { PostText(page->SEBotMa, "9"); }, [&] { return chart->MarginBottom() == 9; }},
  };
  for (const TStep& s : steps) {
    SCOPED_TRACE(s.Name);
    if (page->PageControl1->ActivePage() != s.Tab) PostTabClick(page->PageControl1, s.Tab->TabIndex());
    Pump();
    EXPECT_TRUE(editortest::Repaints(chart, [&] {
      s.Act();
      Pump();
    }));
    EXPECT_TRUE(s.Done());
  }
  // Percent margins of 60 and 45 leave no plot: refused; in pixels they are fine.
  ASSERT_EQ(chart->MarginUnits(), muPercent);
  PostText(page->SELeftMa, "60");
  Pump();
  ASSERT_EQ(chart->MarginLeft(), 60);
  const int right = chart->MarginRight();
  TestInput::PostCall([page] { page->UDRightMa->SetPosition(45); });
  Pump();
  EXPECT_EQ(chart->MarginRight(), right);
  EXPECT_EQ(page->UDRightMa->Position(), right);
  PostPickItem(page->CBMarUnits, 1);
  Pump();
  EXPECT_EQ(chart->MarginUnits(), muPixels);
  EXPECT_EQ(page->UDRightMa->Min(), -2000);
  PostText(page->SERightMa, "45");
  Pump();
  EXPECT_EQ(chart->MarginRight(), 45);

  // The default colour box: on for the button face, and then not to be unchecked.
  PostTabClick(page->PageControl1, page->TabColor->TabIndex());
  Pump();
  chart->SetColor(clRed);
  page->FormShow(page);
  EXPECT_FALSE(page->CBColorDef->Checked());
  EXPECT_TRUE(page->CBColorDef->Enabled());
  PostClick(page->CBColorDef);
  Pump();
  EXPECT_EQ(chart->Color(), clBtnFace);
  EXPECT_FALSE(page->CBColorDef->Enabled());
}

TEST_F(PanelPagesTest, PanelTabsBuildTheirEditorsOnTheFirstVisit) {
  auto* page = Place(new TFormLumPanel(Host.get(), chart));
  EXPECT_EQ(page->GradientEditor(), nullptr);
  EXPECT_EQ(page->ImageEditor(), nullptr);
  for (TTabSheet* tab : {page->TabGradient, page->TabShadow, page->TabEmboss, page->TabImage}) {
    PostTabClick(page->PageControl1, tab->TabIndex());
    Pump();
  }
  ASSERT_NE(page->GradientEditor(), nullptr);
  EXPECT_EQ(page->GradientEditor()->Gradient(), chart->Gradient());
  EXPECT_EQ(page->ShadowEditor()->Shadow(), chart->Shadow());
  EXPECT_EQ(page->EmbossEditor()->Shadow(), chart->Emboss());
  EXPECT_EQ(page->ImageEditor()->Picture(), chart->BackImage());
  TLumGradientEditor* first = page->GradientEditor();
  PostTabClick(page->PageControl1, page->TabGradient->TabIndex());
  Pump();
  EXPECT_EQ(page->GradientEditor(), first);  // built once
}

TEST_F(PanelPagesTest, LeftMarginOfFortyPercentMovesThePlot) {
  chart->SetView3D(false);
  chart->BackWall()->SetTransparent(false);
  chart->BackWall()->SetColor(clYellow);
  auto* page = Place(new TFormLumPanel(Host.get(), chart));
  PostTabClick(page->PageControl1, page->TabMargins->TabIndex());
  Pump();
  const int middle = chart->Height() / 2;
  const int before = ColumnsOf(chart, clYellow, middle, middle + 1).first;
  PostText(page->SELeftMa, "40");
  Pump();
  const int after = ColumnsOf(chart, clYellow, middle, middle + 1).first;
  ASSERT_GE(before, 0);
  EXPECT_LT(before, chart->Width() / 5);
  EXPECT_GE(after, chart->Width() * 2 / 5);
}

TEST_F(PanelPagesTest, TitlesPageSwitchesTitlesAndWritesLinesOnlyWhenTheyDiffer) {
  chart->Foot()->Text()->SetText("Foot one\nFoot two");
  auto* page = Place(new TFormLumTitle(Host.get(), chart->Title(), chart));
  EXPECT_EQ(page->CBTitles->ItemIndex(), 0);
  EXPECT_EQ(page->PageControlTitle->PageCount(), 8);
  EXPECT_EQ(page->ShapeEditor()->Shape(), chart->Title());
  PostPickItem(page->CBTitles, 3);
  Pump();
  EXPECT_EQ(page->Title(), chart->Foot());
  ASSERT_EQ(page->MText->Lines()->Count(), 2);
  EXPECT_EQ(page->MText->Lines()->Strings(1), "Foot two");
  EXPECT_EQ(page->ShapeEditor()->Shape(), chart->Foot());
  PostText(page->MText, "Feet");
  Pump();
  EXPECT_EQ(chart->Foot()->Text()->Text(), "Feet\n");
  EXPECT_FALSE(editortest::Repaints(chart, [&] {
    TestInput::PostCall([page] { page->MText->Lines()->SetText("Feet"); });  // the same lines: nothing written
    Pump();
  }));

  struct TStep {
    const char* Name;
    std::function<void()> Act;
    std::function<bool(TChartTitle*)> Done;
  };
  const std::vector<TStep> steps = {
      {"Visible", [&] { PostClick(page->CBVisible); }, [](TChartTitle* t) { return !t->Visible(); }},
      {"Adjust", [&] { PostClick(page->CBAdjust); }, [](TChartTitle* t) { return !t->AdjustFrame(); }},
      {"Left", [&] { PostPickItem(page->CBAlign, 0); },
       [](TChartTitle* t) { return t->Alignment() == taLeftJustify; }},
      {"Margin", [&] { PostText(page->Edit1, "6"); }, [](TChartTitle* t) { return t->VertMargin() == 6; }},
  };
  for (const TStep& s : steps) {
    SCOPED_TRACE(s.Name);
    s.Act();
    Pump();
    EXPECT_TRUE(s.Done(chart->Foot()));
  }
  // The place: only with the custom box, and then written.
  EXPECT_FALSE(page->ECustLeft->Enabled());
  PostClick(page->CBCustPos);
  Pump();
  EXPECT_TRUE(chart->Foot()->CustomPosition());
  EXPECT_TRUE(page->ECustLeft->Enabled());
  PostText(page->ECustLeft, "35");
  Pump();
  EXPECT_EQ(chart->Foot()->Left(), 35);
}

TEST_F(PanelPagesTest, TitleAlignedRightMovesItsTextRightOfCentre) {
  chart->SetView3D(false);
  chart->Title()->Text()->SetText("WWWW");
  chart->Title()->Font()->SetColor(clRed);
  chart->Title()->Font()->SetSize(14);
  auto* page = Place(new TFormLumTitle(Host.get(), chart->Title(), chart));
  Pump();
  const int top = chart->Title()->ShapeBounds().Top, bottom = chart->Title()->ShapeBounds().Bottom;
  const auto before = ColumnsOf(chart, clRed, top, bottom);
  PostPickItem(page->CBAlign, 2);
  Pump();
  const auto after = ColumnsOf(chart, clRed, top, bottom);
  const int centre = chart->Width() / 2;
  ASSERT_GE(before.first, 0);
  EXPECT_LT(before.first, centre);
  EXPECT_GT(before.second, centre);
  EXPECT_GT(after.first, centre);
  EXPECT_EQ(chart->Title()->Alignment(), taRightJustify);
}

TEST_F(PanelPagesTest, WallsPageRulesAndWrites) {
  auto* page = Place(new TFormLumWall(Host.get(), chart->BackWall()));
  EXPECT_EQ(page->TabSubWalls->TabIndex(), 3);
  EXPECT_TRUE(page->BShadow->Visible());
  EXPECT_FALSE(page->BVisual->Visible());
  PostTabClick(page->TabSubWalls, 2);
  Pump();
  EXPECT_EQ(page->Wall(), chart->BottomWall());
  EXPECT_FALSE(page->CBAutoHide->Visible());
  EXPECT_FALSE(page->BShadow->Visible());
  PostTabClick(page->TabSubWalls, 0);
  Pump();
  TChartWall* left = chart->LeftWall();
  EXPECT_EQ(page->Wall(), left);
  EXPECT_TRUE(page->CBAutoHide->Visible());

  // Size 0 leaves no sides to shade; 1 has them again.
  PostText(page->SEWallSize, "0");
  Pump();
  EXPECT_EQ(left->Size(), 0);
  EXPECT_FALSE(page->CBDark3D->Enabled());
  PostText(page->SEWallSize, "1");
  Pump();
  EXPECT_TRUE(page->CBDark3D->Enabled());

  struct TStep {
    const char* Name;
    std::function<void()> Act;
    std::function<bool()> Done;
  };
  const std::vector<TStep> steps = {
      {"Visible", [&] { PostClick(page->CBVisible); }, [&] { return !left->Visible(); }},
      {"Dark3D", [&] { PostClick(page->CBDark3D); }, [&] { return !left->Dark3D(); }},
      {"Transparent", [&] { PostClick(page->CBTransp); }, [&] { return left->Transparent(); }},
      {"Transparency", [&] { PostText(page->Edit1, "30"); }, [&] { return left->Transparency() == 30; }},
      {"AutoHide", [&] { PostClick(page->CBAutoHide); }, [&] { return left->AutoHide(); }},
      {"Start", [&] { PostText(page->Edit2, "10"); }, [&] { return left->StartPosition() == 10; }},
      {"End", [&] { PostText(page->Edit3, "90"); }, [&] { return left->EndPosition() == 90; }},
      {"AllSizes", [&] { PostText(page->EAllSize, "6"); },
       [&] { return chart->BackWall()->Size() == 6 && chart->RightWall()->Size() == 6 && left->Size() == 6; }},
      {"View3DWalls", [&] { PostClick(page->CBView3dWalls); }, [&] { return !chart->View3DWalls(); }},
  };
  for (const TStep& s : steps) {
    SCOPED_TRACE(s.Name);
    EXPECT_TRUE(editortest::Repaints(chart, [&] {
      s.Act();
      Pump();
    }));
    EXPECT_TRUE(s.Done());
  }
  EXPECT_EQ(page->UDWallSize->Position(), 6);

  // A gradient made visible fills the wall: it is transparent no longer.
  ASSERT_TRUE(left->Transparent());
  WhenModal([this, page] {
    auto* g = Owned<TLumGradientEditor>(page) ? Owned<TLumGradientEditor>(page) : Owned<TLumGradientEditor>(Host.get());
    ASSERT_NE(g, nullptr);
    PostClick(g->CBVisible);
    PostClick(g->BOk);
  });
  PostClick(page->BGradient);
  Pump(8);
  EXPECT_TRUE(left->Gradient()->Visible());
  EXPECT_FALSE(left->Transparent());
  EXPECT_FALSE(page->CBTransp->Checked());
}

TEST_F(PanelPagesTest, WallImageEditorShowsThePictureAlone) {
  auto* page = Place(new TFormLumWall(Host.get(), chart->BackWall()));
  bool checked = false;
  WhenModal([&, page] {
    auto* e = Owned<TBackImageEditor>(page);
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->RGBitmap->Visible());
    EXPECT_FALSE(e->GBPosition->Visible());
    EXPECT_TRUE(e->Button2->Visible());
    EXPECT_EQ(e->Picture(), chart->BackWall()->Picture());
    checked = true;
    PostClick(e->Button2);
  });
  PostClick(page->BImage);
  Pump(8);
  EXPECT_TRUE(checked);
  EXPECT_EQ(Owned<TBackImageEditor>(page), nullptr);  // freed
}

TEST_F(PanelPagesTest, WallVisualThroughTheVisualsEditorWhileAChooserIsSet) {
  struct THook {
    THook() {
      VisualChooserHook = [](TVisualsEditor*, TComponent*, TPersistent*) -> TPersistent* { return new TPersistent; };
    }
    ~THook() { VisualChooserHook = nullptr; }
  } hook;
  auto* page = Place(new TFormLumWall(Host.get(), chart->BackWall()));
  EXPECT_TRUE(page->BVisual->Visible());
  for (const char* button : {"Button3", "Button3", "BClearVisual", "Button3"}) {
    SCOPED_TRACE(button);
    WhenModal([page, button] {
      auto* e = Owned<TVisualsEditor>(page);
      ASSERT_NE(e, nullptr);
      EXPECT_EQ(e->Holder(), page->Wall()->VisualHolder());
      PostClick(dynamic_cast<TControl*>(e->FindComponent(button)));
      TestInput::PostCall([e] { e->SetModalResult(mrOk); });
    });
    PostClick(page->BVisual);
    Pump(8);
    EXPECT_EQ(chart->BackWall()->HasVisual(), std::string(button) == "Button3");
  }
  // The chart's wall frees the visual it still holds (the sanitizer run watches).
  delete chart;
  Pump();
  EXPECT_EQ(page->Wall(), nullptr);
}

TEST_F(PanelPagesTest, FreedChartIsLetGoByEveryPage) {
  auto* panel = Place(new TFormLumPanel(Host.get(), chart));
  for (TTabSheet* tab : {panel->TabGradient, panel->TabShadow, panel->TabImage, panel->TabBorders}) {
    PostTabClick(panel->PageControl1, tab->TabIndex());
    Pump();
  }
  auto* titles = Place(new TFormLumTitle(Host.get(), chart->SubTitle(), chart));
  titles->SetLeft(0);
  auto* walls = Place(new TFormLumWall(Host.get(), chart->LeftWall()));
  walls->SetTop(300);
  delete chart;
  Pump();
  EXPECT_EQ(panel->Panel(), nullptr);
  EXPECT_EQ(panel->GradientEditor(), nullptr);
  EXPECT_EQ(titles->Title(), nullptr);
  EXPECT_EQ(titles->ShapeEditor(), nullptr);
  EXPECT_EQ(walls->Wall(), nullptr);
  PostText(panel->SEPanelWi, "4");
  PostClick(panel->BBorder);
  PostClick(titles->CBVisible);
  PostPickItem(titles->CBTitles, 2);
  PostClick(walls->CBVisible);
  PostClick(walls->BWallPen);
  PostClick(walls->BImage);
  PostTabClick(walls->TabSubWalls, 3);
  for (TForm* f : std::initializer_list<TForm*>{panel, titles, walls}) f->Repaint();
  Pump(8);
  EXPECT_EQ(Owned<TBackImageEditor>(walls), nullptr);
}

}  // namespace
