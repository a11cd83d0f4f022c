// The General, Paging and 3D pages on the sample chart: every control writes what it
// names and the chart repaints; the zoom and scroll enabling; fonts edited together;
// the navigator over pages and printing a range; 3D ranges, enabling and views with a
// canvas that turns freely; the render list; and charts, series and tools freed while
// a page shows them.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/tools_annotation.h"
#include "canvas/canvasunit.h"
#include "canvas/lumcanvas.h"
#include "chart/series.h"
#include "chart/stdseries.h"
#include "editor/generalpage.h"
#include "editor/pagingpage.h"
#include "editor/view3dpage.h"
#include "editor_test.h"
#include "page_test.h"
#include "form_inventory.h"
#include "gallery/filterseditor.h"
#include "gallery/fonteditor.h"
#include "gallery/formateditor.h"
#include "gallery/gallerypanel.h"
#include "gallery/pendialog.h"
#include "oracle.h"
#include "platform/printers.h"
#include "samples/samplechart.h"
#include "test_temp.h"

namespace {

using formcheck::TInventoryEntry;
using TestInput::PostClick;
using TestInput::PostPickItem;
using TestInput::PostText;

// A canvas that turns freely, with an editor of its own found by name.
class TFullTurnCanvas : public TLumCanvas3D {
  DECLARE_CLASS(TFullTurnCanvas, TLumCanvas3D)
public:
  bool SupportsFullRotation() const override { return true; }
};
IMPLEMENT_CLASS(TFullTurnCanvas, TLumCanvas3D)

class TFullTurnEditor : public TForm {
  DECLARE_CLASS(TFullTurnEditor, TForm)
public:
  explicit TFullTurnEditor(TComponent* AOwner) : TForm(AOwner) {}
};
IMPLEMENT_CLASS(TFullTurnEditor, TForm)

// The page-number tool a program might register.
class TPageNumTool : public TLumCustomTool {
  DECLARE_CLASS(TPageNumTool, TLumCustomTool)
public:
  explicit TPageNumTool(TComponent* AOwner) : TLumCustomTool(AOwner) {}
};
IMPLEMENT_CLASS(TPageNumTool, TLumCustomTool)

class ChartPagesTest : public editortest::ChartPageTest {
protected:
  void SetUp() override {
    ChartPageTest::SetUp();
    RegisterCanvas(TFullTurnCanvas::StaticClass(), "Full turn", "TFullTurnEditor");
    RegisterClass(TFullTurnEditor::StaticClass());
  }
  void TearDown() override {
    PageNumToolClass = nullptr;
    UnRegisterCanvas(TFullTurnCanvas::StaticClass());
    UnRegisterClass(TFullTurnEditor::StaticClass());
    EditorTest::TearDown();
  }
  template <class P, class C>
  P* Open(C* Chart) {
    auto* p = new P(Host.get(), Chart);
    return editortest::ShowPage(Host.get(), p, Bounds(640, 0, p->ClientWidth(), p->ClientHeight()));
  }
  // Runs Step and answers whether the chart painted afterwards.
  bool Repaints(const std::function<void()>& Step) { return editortest::Repaints(chart, Step); }
  // What a control writes, as the user gives it: on Tab of a page control, Input
  // then Check.
  struct TControlCase {
    const char* Name;
    int Tab;
    std::function<void()> Input;
    std::function<bool()> Check;
  };
  void RunCases(TPageControl* Pages, const std::vector<TControlCase>& Cases) {
    for (const TControlCase& c : Cases) {
      SCOPED_TRACE(c.Name);
      if (Pages->ActivePageIndex() != c.Tab) {
        TestInput::PostTabClick(Pages, c.Tab);
        Pump();
      }
      EXPECT_FALSE(c.Check()) << "already so before";
      EXPECT_TRUE(Repaints(c.Input)) << "the chart repaints";
      EXPECT_TRUE(c.Check());
    }
  }
  // An annotation tool on the chart: a tool with a font.
  TAnnotationTool* AddNote() {
    auto* note = new TAnnotationTool(Host.get());
    note->SetName("Note");
    note->SetParentChart(chart);
    return note;
  }
  // The General page on its Fonts tab.
  TFormLumGeneral* OpenFonts() {
    auto* p = Open<TFormLumGeneral>(chart);
    TestInput::PostTabClick(p->PageControl1, 3);
    Pump();
    return p;
  }
};

// ---- General --------------------------------------------------------------------
TEST_F(ChartPagesTest, GeneralControlsWriteTheChart) {
  auto* p = Open<TFormLumGeneral>(chart);
  ASSERT_FALSE(Repaints([] {})) << "a quiet chart paints only when asked";
  TChartZoom* z = chart->Zoom();
  RunCases(p->PageControl1,
           {{"CBAnimatedZoom", 0, [&] { PostClick(p->CBAnimatedZoom); }, [&] { return z->Animated(); }},
            {"SEAniZoomSteps", 0, [&] { PostText(p->SEAniZoomSteps, "12"); }, [&] { return z->AnimatedSteps() == 12; }},
            {"EMinPix", 0, [&] { PostText(p->EMinPix, "30"); }, [&] { return z->MinimumPixels() == 30; }},
            {"CBDir", 0, [&] { PostPickItem(p->CBDir, 0); }, [&] { return z->Direction() == tzdHorizontal; }},
            {"CBZoomMouse", 0, [&] { PostPickItem(p->CBZoomMouse, 2); }, [&] { return z->MouseButton() == mbMiddle; }},
            {"CBUpLeft", 0, [&] { PostClick(p->CBUpLeft); }, [&] { return z->UpLeftZooms(); }},
            {"CBHistory", 0, [&] { PostClick(p->CBHistory); }, [&] { return z->History(); }},
            {"CBZoomAspect", 0, [&] { PostClick(p->CBZoomAspect); }, [&] { return z->KeepAspectRatio(); }},
            {"CBAllowZoom", 0, [&] { PostClick(p->CBAllowZoom); }, [&] { return !z->Allow(); }},
            {"RGPanning", 1, [&] { PostClick(p->RGPanning->Buttons(1)); },
             [&] { return chart->AllowPanning() == pmHorizontal; }},
            {"CBScrollMouse", 1, [&] { PostPickItem(p->CBScrollMouse, 2); },
             [&] { return chart->ScrollMouseButton() == mbMiddle; }},
            {"CBInsideBounds", 1, [&] { PostClick(p->CBInsideBounds); },
             [&] { return chart->Panning()->InsideBounds(); }},
            {"CBCursor", 2,
             [&] { PostPickItem(p->CursorEditor->CBCursor, p->CursorEditor->CBCursor->Items()->IndexOf("Cross")); },
             [&] { return chart->Cursor() == crCross && chart->SavedCursor() == crCross; }},
            {"CBZoomText", 3, [&] { PostPickItem(p->CBZoomText, 0); },
             [&] { return chart->View3DOptions()->ZoomText() == ztManual; }},
            {"ETextSize", 3, [&] { PostText(p->ETextSize, "150"); },
             [&] { return chart->View3DOptions()->FontZoom() == 150; }}});
}

TEST_F(ChartPagesTest, GeneralEnablesByAllowAndPanning) {
  chart->Zoom()->SetAllow(false);
  chart->SetAllowPanning(pmNone);
  auto* p = Open<TFormLumGeneral>(chart);
  for (TControl* c : std::initializer_list<TControl*>{p->CBAnimatedZoom, p->SEAniZoomSteps, p->UDAniZoomSteps,
                                                      p->EMinPix, p->BZoomPen, p->BZoomColor, p->CBDir,
                                                      p->CBZoomMouse, p->CBUpLeft})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  EXPECT_TRUE(p->CBHistory->Enabled() && p->CBZoomAspect->Enabled()) << "history and aspect stay";
  EXPECT_FALSE(p->CBScrollMouse->Enabled()) << "no panning, no mouse button";
  TestInput::PostTabClick(p->PageControl1, 1);
  PostClick(p->RGPanning->Buttons(3));
  Pump();
  EXPECT_TRUE(p->CBScrollMouse->Enabled());
  PostClick(p->RGPanning->Buttons(0));
  Pump();
  EXPECT_FALSE(p->CBScrollMouse->Enabled());
  EXPECT_EQ(chart->AllowPanning(), pmNone);
  // The Manual text zoom alone takes a percent.
  TestInput::PostTabClick(p->PageControl1, 3);
  for (auto [item, enabled] : {std::pair{1, false}, {2, false}, {0, true}}) {
    PostPickItem(p->CBZoomText, item);
    Pump();
    EXPECT_EQ(p->ETextSize->Enabled(), enabled) << item;
  }
}

std::vector<std::string> Lines(TListBox* L) {
  std::vector<std::string> v;
  for (int i = 0; i < L->Count(); ++i) v.push_back(L->Items()->Strings(i));
  return v;
}

TEST_F(ChartPagesTest, FontsListEveryElementWithAFontAndStartAtTheTitle) {
  TAnnotationTool* note = AddNote();
  TFormLumGeneral* p = OpenFonts();
  const std::vector<std::string> lines = Lines(p->LBFonts);
  for (const char* l : {"Legend", "Legend title", "Title", "Footer", "SubTitle", "SubFooter", "Acoustic (marks)",
                        "Average (marks)", "Note", "Left axis", "Left axis (Axis Title)", "Depth Top axis",
                        "Depth axis (Axis Title)", "Custom axis 0", "Custom axis 0 (Axis Title)"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), l), lines.end()) << l;
  EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end(),
                             [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; }));
  // 6 chart texts, 6 series' marks, the annotation, 7 axes with their titles.
  EXPECT_EQ(lines.size(), 6u + 6u + 1u + 14u);
  EXPECT_EQ(p->LBFonts->SelCount(), 1);
  EXPECT_EQ(p->EditedFont(), chart->Title()->Font());
  EXPECT_EQ(p->FontEditor()->TheFont(), chart->Title()->Font());
  // Ctrl+A and the box select them all; unchecking goes back to the Title alone.
  p->LBFonts->SetFocus();
  TestInput::PostKey('A', ssCtrl);
  Pump();
  EXPECT_EQ(p->LBFonts->SelCount(), p->LBFonts->Count());
  PostClick(p->CBAllFonts);
  Pump();
  PostClick(p->CBAllFonts);
  Pump();
  EXPECT_EQ(p->LBFonts->SelCount(), 1);
  EXPECT_EQ(p->LBFonts->Items()->Strings(p->LBFonts->ItemIndex()), "Title");
  EXPECT_EQ(FindFontProperty(note), note->Shape()->Font()) << "found through the nested shape";
  EXPECT_EQ(FindFontProperty(chart->Series(0), chart->Series(0)->Marks()), nullptr) << "marks passed over";
}

TEST_F(ChartPagesTest, LegendAndTitleMadeBoldTogetherKeepTheirOtherAttributes) {
  chart->Legend()->Font()->SetStyle(FontStyles({fsItalic}));
  chart->Legend()->Font()->SetColor(clRed);
  chart->Legend()->Font()->SetSize(9);
  chart->Title()->Font()->SetSize(12);
  struct TSnap {
    std::string Name;
    int Size;
    TColor Color;
    TFontStyles Style;
  };
  auto snap = [](TLumFont* F) { return TSnap{F->Name(), F->Size(), F->Color(), F->Style()}; };
  const TSnap legend = snap(chart->Legend()->Font()), title = snap(chart->Title()->Font()),
              foot = snap(chart->Foot()->Font());
  TFormLumGeneral* p = OpenFonts();
  PostPickItem(p->LBFonts, p->LBFonts->Items()->IndexOf("Legend"), ssCtrl);
  Pump();
  EXPECT_EQ(p->LBFonts->SelCount(), 2);
  EXPECT_EQ(p->EditedFont(), chart->Legend()->Font()) << "the line clicked is edited";
  EXPECT_TRUE(Repaints([&] { PostClick(p->FontEditor()->CBBold); }));
  for (auto [font, before] : {std::pair{chart->Legend()->Font(), legend}, {chart->Title()->Font(), title}}) {
    EXPECT_EQ(font->Style(), before.Style | FontStyles({fsBold}));
    EXPECT_EQ(font->Size(), before.Size);
    EXPECT_EQ(font->Color(), before.Color);
    EXPECT_EQ(font->Name(), before.Name);
  }
  EXPECT_EQ(chart->Foot()->Font()->Style(), foot.Style) << "an unselected font keeps its own";
  // A second change carries only itself: the colour, not the size the edited font has.
  p->FontEditor()->ESize->SetText("14");
  Pump();
  EXPECT_EQ(chart->Legend()->Font()->Size(), 14);
  EXPECT_EQ(chart->Title()->Font()->Size(), 14);
  EXPECT_TRUE(chart->Title()->Font()->Style() & FontStyles({fsBold}));
}

TEST_F(ChartPagesTest, FontOfAFreedElementIsLetGoAndHandlersComeBack) {
  TAnnotationTool* note = AddNote();
  TFormLumGeneral* p = OpenFonts();
  // The tool's font edited, with the Atoms marks selected too; both owners go.
  PostPickItem(p->LBFonts, p->LBFonts->Items()->IndexOf("Atoms (marks)"));
  PostPickItem(p->LBFonts, p->LBFonts->Items()->IndexOf("Note"), ssCtrl);
  Pump();
  ASSERT_EQ(p->EditedFont(), note->Shape()->Font());
  delete note;
  delete chart->Series(2);
  Pump();
  EXPECT_EQ(p->EditedFont(), nullptr);
  EXPECT_EQ(p->FontEditor(), nullptr) << "the editor of a font gone goes too";
  for (const char* gone : {"Note", "Atoms (marks)"}) EXPECT_EQ(p->LBFonts->Items()->IndexOf(gone), -1) << gone;
  // A custom axis is no component: its freeing is told to the chart's listeners.
  PostPickItem(p->LBFonts, p->LBFonts->Items()->IndexOf("Custom axis 0 (Axis Title)"));
  Pump();
  ASSERT_EQ(p->EditedFont(), chart->CustomAxes()->Items(0)->Title()->Font());
  delete chart->CustomAxes()->Items(0);
  Pump();
  EXPECT_EQ(p->EditedFont(), nullptr);
  EXPECT_EQ(p->FontEditor(), nullptr);
  EXPECT_EQ(p->LBFonts->Items()->IndexOf("Custom axis 0"), -1);
  // The Title edited, then the page freed: the title's own handler repaints again.
  PostPickItem(p->LBFonts, p->LBFonts->Items()->IndexOf("Title"));
  Pump();
  ASSERT_EQ(p->EditedFont(), chart->Title()->Font());
  delete p;
  EXPECT_TRUE(Repaints([&] { chart->Title()->Font()->SetSize(15); }));
}

// ---- Paging ---------------------------------------------------------------------
TEST_F(ChartPagesTest, PagingControlsWriteTheChart) {
  auto* p = Open<TFormLumPage>(chart);
  TChartPage* pages = chart->Pages();
  const std::vector<TControlCase> cases = {
      {"SEPointsPerPage", -1, [&] { PostText(p->SEPointsPerPage, "5"); }, [&] { return pages->MaxPointsPerPage() == 5; }},
      {"CBScaleLast", -1, [&] { PostClick(p->CBScaleLast); }, [&] { return !pages->ScaleLastPage(); }},
      {"CBAutoScale", -1, [&] { PostClick(p->CBAutoScale); }, [&] { return pages->AutoScale(); }},
      {"CBNoPages", -1, [&] { PostClick(p->CBNoPages); }, [&] { return pages->MaxPointsPerPage() == 0; }},
  };
  for (const TControlCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_FALSE(c.Check());
    EXPECT_TRUE(Repaints(c.Input));
    EXPECT_TRUE(c.Check());
  }
  EXPECT_TRUE(p->CBNoPages->Checked());
  PostText(p->SEPointsPerPage, "");
  Pump();
  EXPECT_EQ(pages->MaxPointsPerPage(), 0) << "an empty edit is no paging";
  EXPECT_FALSE(p->CBPageNum->Visible() || p->BEditTool->Visible()) << "no page-number tool in this program";
}

TEST_F(ChartPagesTest, NavigatorWalksFivePages) {
  chart->Pages()->SetMaxPointsPerPage(5);  // 21 points a branch
  auto* p = Open<TFormLumPage>(chart);
  TChartPageNavigator* n = p->ChartPageNavigator1;
  EXPECT_EQ(p->LabelPages->Caption(), "Page 1 of 5");
  struct TStep {
    int Button, Page;
    bool First, Last;  // First and Prior, Next and Last enabled
  };
  for (const TStep& s : {TStep{nbLast, 5, true, false}, {nbPrior, 4, true, true}, {nbNext, 5, true, false},
                         {nbFirst, 1, false, true}, {nbNext, 2, true, true}}) {
    SCOPED_TRACE(s.Button);
    PostClick(n->Buttons(s.Button));
    Pump();
    EXPECT_EQ(chart->Pages()->Current(), s.Page);
    EXPECT_EQ(p->LabelPages->Caption(), "Page " + std::to_string(s.Page) + " of 5");
    EXPECT_EQ(n->Buttons(nbFirst)->Enabled(), s.First);
    EXPECT_EQ(n->Buttons(nbPrior)->Enabled(), s.First);
    EXPECT_EQ(n->Buttons(nbNext)->Enabled(), s.Last);
    EXPECT_EQ(n->Buttons(nbLast)->Enabled(), s.Last);
  }
  // A page change made elsewhere reaches the buttons.
  chart->Pages()->SetCurrent(5);
  EXPECT_FALSE(n->Buttons(nbNext)->Enabled());
  // Only a chart panel is taken.
  TDraw3D flat(nullptr);
  n->SetPanel(&flat);
  EXPECT_EQ(n->Chart(), nullptr);
  EXPECT_FALSE(n->Buttons(nbFirst)->Enabled() || n->Buttons(nbLast)->Enabled());
}

TEST_F(ChartPagesTest, PageNumberToolWhenAProgramHasOne) {
  PageNumToolClass = TPageNumTool::StaticClass();
  auto* p = Open<TFormLumPage>(chart);
  EXPECT_TRUE(p->CBPageNum->Visible() && p->BEditTool->Visible());
  EXPECT_FALSE(p->CBPageNum->Checked());
  const int tools = chart->Tools()->Count();
  PostClick(p->CBPageNum);
  Pump();
  TLumCustomTool* t = p->PageNumTool();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(chart->Tools()->Count(), tools + 1);
  EXPECT_TRUE(t->Active());
  EXPECT_EQ(t->Owner(), chart->Owner());
  EXPECT_EQ(t->Name().rfind("ChartTool", 0), 0u) << t->Name();
  PostClick(p->CBPageNum);
  Pump();
  EXPECT_EQ(p->PageNumTool(), t) << "unchecked: the same tool, inactive";
  EXPECT_FALSE(t->Active());
}

TEST_F(ChartPagesTest, NavigatorPrintsPagesTwoToFourToPdf) {
  if (!oracle::Have("pdfinfo") || !oracle::Have("pdftoppm")) GTEST_SKIP() << "poppler-utils is not installed";
  auto* printer = new TPrinter(false);
  printer->SetOutputFile(TestTempFile("pages.pdf"));
  printer->SetResolution(72);
  SetPrinter(printer);
  chart->Pages()->SetMaxPointsPerPage(5);
  auto* p = Open<TFormLumPage>(chart);
  TestDialogs::AnswerPrint(2, 4);
  p->ChartPageNavigator1->Print();
  const auto shown = TestDialogs::Asked();  // the dialog's record
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().Kind, "Print");
  EXPECT_EQ(shown.back().Text, "1-5 of 1-5") << "the whole range offered";
  const auto info = oracle::Run("pdfinfo '" + printer->OutputFile() + "'");
  ASSERT_TRUE(info);
  EXPECT_NE(info->find("Pages:           3\n"), std::string::npos) << *info;
  const std::string prefix = TestTempFile("page");
  ASSERT_TRUE(oracle::Run("pdftoppm -r 40 -png '" + printer->OutputFile() + "' '" + prefix + "'"));
  for (int i = 1; i <= 3; ++i) EXPECT_TRUE(oracle::Run("test -s '" + prefix + "-" + std::to_string(i) + ".png'")) << i;
  EXPECT_EQ(chart->Pages()->Current(), 1) << "the page shown before comes back";
  SetPrinter(nullptr);
}

// ---- 3D -------------------------------------------------------------------------
TEST_F(ChartPagesTest, View3DControlsWriteTheChart) {
  TView3DOptions* v = chart->View3DOptions();
  chart->SetCanvas(new TFullTurnCanvas);  // every bar enabled
  v->SetOrthogonal(false);
  auto* p = Open<TFormLum3D>(chart);
  RunCases(p->PageControl1,
           {{"SE3d", 0, [&] { PostText(p->SE3d, "30"); }, [&] { return chart->Chart3DPercent() == 30; }},
            {"EOrthoAngle", 0, [&] { PostText(p->EOrthoAngle, "90"); }, [&] { return v->OrthoAngle() == 90; }},
            {"SBZoom", 0, [&] { TestInput::PostTrackBarMove(p->SBZoom, 150); }, [&] { return v->Zoom() == 150; }},
            {"SBRotation", 0, [&] { TestInput::PostTrackBarMove(p->SBRotation, 40); }, [&] { return v->Rotation() == 40; }},
            {"SBElevation", 0, [&] { TestInput::PostTrackBarMove(p->SBElevation, 20); },
             [&] { return v->Elevation() == 20; }},
            {"SBHOffset", 0, [&] { TestInput::PostTrackBarMove(p->SBHOffset, 100); }, [&] { return v->HorizOffset() == 100; }},
            {"SBVOffset", 0, [&] { TestInput::PostTrackBarMove(p->SBVOffset, -80); }, [&] { return v->VertOffset() == -80; }},
            {"SBPerspec", 0, [&] { TestInput::PostTrackBarMove(p->SBPerspec, 60); }, [&] { return v->Perspective() == 60; }},
            {"CBZoomText", 0, [&] { PostPickItem(p->CBZoomText, 1); }, [&] { return v->ZoomText() == ztNo; }},
            {"CBClipPoints", 0, [&] { PostClick(p->CBClipPoints); }, [&] { return !chart->ClipPoints(); }},
            {"CBOrthogonal", 0, [&] { PostClick(p->CBOrthogonal); }, [&] { return v->Orthogonal(); }},
            {"CBView3d", 0, [&] { PostClick(p->CBView3d); }, [&] { return !chart->View3D(); }}});
  EXPECT_EQ(p->LZoomValue->Caption(), "150%");
  EXPECT_EQ(p->LRotationValue->Caption(), "40");
}

TEST_F(ChartPagesTest, View3DRangesFollowTheCanvasAndOffsetsWiden) {
  chart->View3DOptions()->SetHorizOffset(2000);
  chart->View3DOptions()->SetVertOffset(-10);
  auto* p = Open<TFormLum3D>(chart);
  EXPECT_EQ(p->SBHOffset->Min(), -3000);
  EXPECT_EQ(p->SBHOffset->Max(), 3000);
  EXPECT_EQ(p->SBHOffset->Position(), 2000);
  EXPECT_EQ(p->SBVOffset->Min(), -1500) << "an offset inside keeps the bar";
  EXPECT_EQ(p->SBElevation->Min(), 270);
  EXPECT_EQ(p->SBElevation->Frequency(), 10);
  EXPECT_EQ(p->SBRotation->Frequency(), 45);
  chart->SetCanvas(new TFullTurnCanvas);
  p->FormShow(p);
  EXPECT_EQ(p->SBElevation->Min(), 0);
  EXPECT_EQ(p->SBElevation->Frequency(), 20);
  EXPECT_EQ(p->SBRotation->Frequency(), 20);
}

TEST_F(ChartPagesTest, View3DEnablingWithPieAndFullRotation) {
  struct TCase {
    bool Full, View3D, Ortho, Pie;
    bool Orthogonal, Elevation, Rotation;
  };
  const TCase cases[] = {
      {false, true, false, false, true, true, true},   {false, true, true, false, true, false, false},
      {false, false, false, false, false, false, false}, {false, true, false, true, false, true, false},
      {true, true, true, true, true, true, true},      {true, true, true, false, true, true, true},
      {true, false, true, false, false, false, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Full) + std::to_string(c.View3D) + std::to_string(c.Ortho) + std::to_string(c.Pie));
    TearDown();
    SetUp();
    if (c.Full) chart->SetCanvas(new TFullTurnCanvas);
    if (c.Pie) chart->MoveSeries(chart->AddSeriesOfClass(TPieSeries::StaticClass()), 0);
    chart->SetView3D(c.View3D);
    chart->View3DOptions()->SetOrthogonal(c.Ortho);
    auto* p = Open<TFormLum3D>(chart);
    EXPECT_EQ(p->CBOrthogonal->Enabled(), c.Orthogonal);
    EXPECT_EQ(p->EOrthoAngle->Enabled(), c.Orthogonal);
    EXPECT_EQ(p->UDOrthoAngle->Enabled(), c.Orthogonal);
    EXPECT_EQ(p->SBElevation->Enabled(), c.Elevation);
    EXPECT_EQ(p->SBRotation->Enabled(), c.Rotation);
  }
}

TEST_F(ChartPagesTest, ViewsMatchTheChartAndApplyTheirValues) {
  chart->SetCanvas(new TFullTurnCanvas);
  auto* p = Open<TFormLum3D>(chart);
  TestInput::PostTabClick(p->PageControl1, 1);
  Pump();
  ASSERT_NE(p->ChartGalleryPanel1, nullptr);
  ASSERT_EQ(p->ChartGalleryPanel1->Charts().Count(), 6);
  EXPECT_EQ(p->ChartGalleryPanel1->GetChart(3)->Title()->Text()->Strings(0), "3D Front");
  // Each view picked gives the chart its values; the view shown again matches it.
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(TFormLum3D::ViewNames[i]);
    TGalleryChart* g = p->ChartGalleryPanel1->GetChart(i);
    EXPECT_TRUE(Repaints([&] { PostClick(g); }));
    EXPECT_EQ(chart->View3D(), g->View3D());
    EXPECT_EQ(chart->View3DOptions()->Orthogonal(), g->View3DOptions()->Orthogonal());
    EXPECT_EQ(chart->View3DOptions()->OrthoAngle(), g->View3DOptions()->OrthoAngle());
    EXPECT_EQ(chart->View3DOptions()->Rotation(), g->View3DOptions()->Rotation());
    EXPECT_EQ(chart->View3DOptions()->Elevation(), g->View3DOptions()->Elevation());
    EXPECT_EQ(p->MatchingView(), i);
  }
  // A chart turned elsewhere matches no view: nothing is selected, nothing changes.
  chart->View3DOptions()->SetRotation(10);
  TestInput::PostTabClick(p->PageControl1, 0);
  TestInput::PostTabClick(p->PageControl1, 1);
  Pump();
  EXPECT_EQ(p->ChartGalleryPanel1->SelectedChart, nullptr);
  EXPECT_EQ(chart->View3DOptions()->Rotation(), 10);
}

TEST_F(ChartPagesTest, RenderListReplacesTheCanvasAndShowsItsEditor) {
  auto* p = Open<TFormLum3D>(chart);
  TestInput::PostTabClick(p->PageControl1, 2);
  Pump();
  EXPECT_EQ(Lines(p->LBRender), (std::vector<std::string>{"Standard", "Full turn"}));
  EXPECT_EQ(p->LBRender->ItemIndex(), 0);
  EXPECT_TRUE(p->PanelGDI->Visible() && p->CBBuffered->Checked());
  EXPECT_TRUE(Repaints([&] { PostClick(p->CBBuffered); }));
  EXPECT_FALSE(static_cast<TLumCanvas3D*>(chart->Canvas())->BufferedDisplay());
  EXPECT_TRUE(Repaints([&] { PostPickItem(p->LBRender, 1); }));
  EXPECT_EQ(chart->Canvas()->ClassType(), TFullTurnCanvas::StaticClass());
  ASSERT_NE(p->RenderEditor(), nullptr);
  EXPECT_EQ(p->RenderEditor()->ClassType(), TFullTurnEditor::StaticClass());
  EXPECT_EQ(p->RenderEditor()->Tag(), std::intptr_t(chart->Canvas()));
  EXPECT_FALSE(p->PanelGDI->Visible());
  PostPickItem(p->LBRender, 0);
  Pump();
  EXPECT_EQ(chart->Canvas()->ClassType(), TLumCanvas3D::StaticClass());
  EXPECT_EQ(p->RenderEditor(), nullptr);
  EXPECT_TRUE(p->PanelGDI->Visible());
}

// ---- Lifetimes ------------------------------------------------------------------
TEST_F(ChartPagesTest, FreeingTheChartWhilePagesShowIt) {
  chart->SetCanvas(new TFullTurnCanvas);  // its editor shows on the render tab
  auto* general = Open<TFormLumGeneral>(chart);
  TestInput::PostTabClick(general->PageControl1, 3);
  auto* paging = Open<TFormLumPage>(chart);
  auto* view = Open<TFormLum3D>(chart);
  TestInput::PostTabClick(view->PageControl1, 2);
  Pump();
  ASSERT_NE(general->EditedFont(), nullptr);
  ASSERT_NE(view->RenderEditor(), nullptr);
  delete chart;
  chart = nullptr;
  Pump();
  EXPECT_EQ(general->Chart(), nullptr);
  EXPECT_EQ(general->EditedFont(), nullptr);
  EXPECT_EQ(paging->ChartPageNavigator1->Chart(), nullptr);
  EXPECT_EQ(view->Chart(), nullptr);
  // Every control clicked and every page shown again: nothing reaches for the chart.
  for (TForm* f : std::initializer_list<TForm*>{general, paging, view}) {
    f->Hide();
    f->Show();
    for (int i = 0; i < f->ComponentCount(); ++i)
      if (auto* c = dynamic_cast<TControl*>(f->Components(i)); c && c->Showing() && c->Enabled()) PostClick(c);
    Pump();
  }
  for (auto* t : {general->PageControl1, view->PageControl1})
    for (int i = 0; i < t->PageCount(); ++i) TestInput::PostTabClick(t, i);
  Pump();
  paging->ChartPageNavigator1->Print();
  EXPECT_TRUE(TestDialogs::Asked().empty() || TestDialogs::Asked().back().Kind != "Print");
}

// ---- Forms ----------------------------------------------------------------------
TEST_F(ChartPagesTest, PagesHoldTheirTablesControlsAndFit) {
  struct TSpec {
    std::function<TForm*()> Open;
    std::vector<TInventoryEntry> Controls;
  };
  const std::vector<TSpec> specs = {
      {[&] { return Open<TFormLumGeneral>(chart); },
       {{"CBAllowZoom", "TCheckBox", "&Allow"},
        {"CBAnimatedZoom", "TCheckBox", "An&imated"},
        {"SEAniZoomSteps", "TEdit", "&Steps:"},
        {"BZoomPen", "TButtonPen", "P&en..."},
        {"BZoomColor", "TButton", "P&attern..."},
        {"EMinPix", "TEdit", "&Minimum pixels:"},
        {"CBDir", "TComboFlat", "&Direction:", {"Horizontal", "Vertical", "Both"}},
        {"CBZoomMouse", "TComboFlat", "M&ouse Button:", {"Left", "Right", "Middle"}},
        {"CBUpLeft", "TCheckBox", "Zoom on &Up Left drag"},
        {"CBHistory", "TCheckBox", "&Historical unzoom"},
        {"CBZoomAspect", "TCheckBox", "&Keep aspect ratio"},
        {"RGPanning", "TRadioGroup", "Allow Scroll:", {"&None", "&Horizontal", "&Vertical", "&Both"}},
        {"CBScrollMouse", "TComboFlat", "&Mouse Button:", {"Left", "Right", "Middle"}},
        {"CBInsideBounds", "TCheckBox", "&Inside Bounds"},
        {"LBFonts", "TListBox", ""},
        {"CBAllFonts", "TCheckBox", "&All Fonts"},
        {"CBZoomText", "TComboFlat", "Zoom &Text:", {"Manual", "No", "Auto"}},
        {"UDTextSize", "TUpDown", "", {}, 1, 2000},
        {"TabZoom", "TTabSheet", "Zoom"},
        {"TabScroll", "TTabSheet", "Scroll"},
        {"TabCursor", "TTabSheet", "Cursor"},
        {"TabFonts", "TTabSheet", "Fonts"}}},
      {[&] { return Open<TFormLumPage>(chart); },
       {{"SEPointsPerPage", "TEdit", "P&oints per Page:"},
        {"UDPointsPerPage", "TUpDown", "", {}, 0, 32000},
        {"CBScaleLast", "TCheckBox", "&Scale Last Page"},
        {"CBPageLegend", "TCheckBox", "&Current page Legend"},
        {"CBAutoScale", "TCheckBox", "&Auto scale axis"},
        {"CBNoPages", "TCheckBox", "&No pages"},
        {"CBPageNum", "TCheckBox", "Show &Page Number"},
        {"BEditTool", "TButton", "&Edit..."},
        {"LabelPages", "TLabel", "Page 1 of 1"},
        {"ChartPageNavigator1", "TChartPageNavigator", ""}}},
      {[&] { return Open<TFormLum3D>(chart); },
       {{"CBView3d", "TCheckBox", "&3 Dimensions"},
        {"SE3d", "TEdit", "3&D %:"},
        {"CBOrthogonal", "TCheckBox", "&Orthogonal"},
        {"EOrthoAngle", "TEdit", "&Angle:"},
        {"UDOrthoAngle", "TUpDown", "", {}, 0, 180},
        {"SBZoom", "TTrackBar", "", {}, 1, 500},
        {"LZoom", "TLabel", "&Zoom:"},
        {"LZoomValue", "TLabel", "100%"},
        {"SBRotation", "TTrackBar", "", {}, 0, 360},
        {"LRotation", "TLabel", "&Rotation:"},
        {"SBElevation", "TTrackBar", "", {}, 270, 360},
        {"LElevation", "TLabel", "E&levation:"},
        {"SBHOffset", "TTrackBar", "", {}, -1500, 1500},
        {"LHOffset", "TLabel", "&Horiz. Offset:"},
        {"SBVOffset", "TTrackBar", "", {}, -1500, 1500},
        {"LVOffset", "TLabel", "&Vert. Offset:"},
        {"SBPerspec", "TTrackBar", "", {}, 0, 100},
        {"LPerspec", "TLabel", "&Perspective:"},
        {"CBClipPoints", "TCheckBox", "&Clip Points"},
        {"CBZoomText", "TComboFlat", "Zoom &Text:", {"Manual", "No", "Auto"}},
        {"TabOptions", "TTabSheet", "Options"},
        {"TabViews", "TTabSheet", "Views"},
        {"TabRender", "TTabSheet", "Render"},
        {"LBRender", "TListBox", ""},
        {"CBBuffered", "TCheckBox", "&Buffered display"}}},
  };
  for (const TSpec& s : specs) {
    TForm* f = s.Open();
    SCOPED_TRACE(f->ClassName());
    EXPECT_EQ(f->BorderStyle(), bsNone);
    formcheck::CheckInventory(f, s.Controls);
    // Every tab laid out as it shows.
    std::vector<TPageControl*> tabs;
    for (int i = 0; i < f->ComponentCount(); ++i)
      if (auto* pc = dynamic_cast<TPageControl*>(f->Components(i))) tabs.push_back(pc);
    if (tabs.empty()) formcheck::CheckLayout(f);
    for (TPageControl* pc : tabs)
      for (int i = 0; i < pc->PageCount(); ++i) {
        TestInput::PostTabClick(pc, i);
        Pump();
        SCOPED_TRACE(pc->ActivePage()->Caption());
        formcheck::CheckLayout(f);
      }
    delete f;
  }
}

}  // namespace
