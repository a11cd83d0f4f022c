// The pointer editor: each control writing its property, the sorted style list that
// stores style numbers, the 3D and default-colour rules, the modal dialog on a
// callout's pointer, and a series freed while the editor shows its pointer.
#include <functional>
#include <memory>

#include "canvas/lumcanvas.h"
#include "chart/series.h"
#include "editor/pointereditor.h"
#include "editor_test.h"
#include "page_test.h"
#include "engine/marks.h"
#include "gallery/marginseditor.h"
#include "gallery/pendialog.h"
#include "samples/samplechart.h"

namespace {

using editortest::EditorTest;
using TestInput::PostClick;
using TestInput::PostPickItem;
using TestInput::PostText;

class PointerEditorTest : public EditorTest {
public:
  void SetUp() override {
    EditorTest::SetUp();
    chart = BuildSampleChart(Host.get(), Host.get());
    atoms = dynamic_cast<TPointSeries*>(Host->FindComponent("Atoms"));
    Host->Show();
  }
  TSeriesPointerEditor* Open(TChartSeries* S) {
    auto* e = new TSeriesPointerEditor(Host.get());
    e->SetAlign(alNone);
    e->SetParent(Host.get());
    e->SetBounds(640, 0, e->Width(), e->Height());
    e->SetTag(std::intptr_t(S));
    e->Show();
    Pump();
    return e;
  }
  bool Repaints(const std::function<void()>& Action) { return editortest::Repaints(chart, Action); }
  TChart* chart = nullptr;
  TPointSeries* atoms = nullptr;
};

TEST_F(PointerEditorTest, EachControlWritesItsPropertyAndRepaints) {
  TSeriesPointerEditor* e = Open(atoms);
  TSeriesPointer* p = atoms->Pointer();
  ASSERT_EQ(e->Pointer(), p);
  EXPECT_FALSE(Repaints([] {})) << "a quiet chart draws nothing";
  struct TCase {
    const char* Control;
    std::function<void()> Input;
    std::function<bool()> Written;
  };
  const TCase cases[] = {
      {"CBStyle", [&] { PostPickItem(e->CBStyle, e->CBStyle->Items()->IndexOf("Triangle")); },
       [&] { return p->Style() == psTriangle; }},
      {"CBDrawPoint", [&] { PostClick(e->CBDrawPoint); }, [&] { return !p->Visible(); }},
      {"CBDrawPoint again", [&] { PostClick(e->CBDrawPoint); }, [&] { return p->Visible(); }},
      {"CBColorEach", [&] { PostClick(e->CBColorEach); }, [&] { return atoms->ColorEachPoint(); }},
      {"CBIgnoreNulls", [&] { PostClick(e->CBIgnoreNulls); }, [&] { return atoms->TreatNulls() == tnIgnore; }},
      {"TBTransp", [&] { TestInput::PostTrackBarMove(e->TBTransp, 40); }, [&] { return p->Transparency() == 40; }},
      {"SEPointHorizSize", [&] { PostText(e->SEPointHorizSize, "12"); }, [&] { return p->HorizSize() == 12; }},
      {"SEPointVertSize", [&] { PostText(e->SEPointVertSize, "7"); }, [&] { return p->VertSize() == 7; }},
      {"SEPointDepth", [&] { PostText(e->SEPointDepth, "3"); }, [&] { return p->Depth() == 3; }},
      {"CBInflate", [&] { PostClick(e->CBInflate); }, [&] { return !p->InflateMargins(); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Control);
    if (std::string(c.Control).starts_with("SE") || c.Control == std::string("CBInflate"))
      e->PageControl1->SetActivePage(e->TabSize);
    else
      e->PageControl1->SetActivePage(e->TabStyle);
    EXPECT_TRUE(Repaints([&] {
      c.Input();
      Pump();
    }));
    EXPECT_TRUE(c.Written());
  }
}

TEST_F(PointerEditorTest, StylesShowSortedAndStoreTheirNumbers) {
  TSeriesPointerEditor* e = Open(atoms);
  TStrings* items = e->CBStyle->Items();
  ASSERT_EQ(items->Count(), 14);
  for (int i = 1; i < items->Count(); ++i) EXPECT_LT(items->Strings(i - 1), items->Strings(i));
  EXPECT_LT(items->IndexOf("Circle"), items->IndexOf("Cross"));
  EXPECT_LT(items->IndexOf("Cross"), items->IndexOf("Diamond"));
  PostPickItem(e->CBStyle, items->IndexOf("Diamond"));
  Pump();
  EXPECT_EQ(atoms->Pointer()->Style(), psDiamond);
  // Shown again, the list selects the item of the stored number.
  atoms->Pointer()->SetStyle(psHexagon);
  e->Hide();
  e->Show();
  EXPECT_EQ(e->CBStyle->SelectedText(), "Hexagon");
  // Each item draws its symbol left of its name.
  e->CBStyle->SetDroppedDown(true);
  Pump();
  ASSERT_NE(e->CBStyle->DropDownList(), nullptr);
  e->CBStyle->SetDroppedDown(false);
}

TEST_F(PointerEditorTest, ThreeDFollowsTheChartAndTheStyle) {
  TSeriesPointerEditor* e = Open(atoms);
  struct TCase {
    bool View3D;
    TSeriesPointerStyle Style;
    bool Enabled;
  };
  const TCase cases[] = {{false, psRectangle, false}, {true, psRectangle, true}, {true, psTriangle, true},
                         {true, psDownTriangle, true}, {true, psCross, false},   {true, psCircle, false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(int(c.Style));
    chart->SetView3D(c.View3D);
    PostPickItem(e->CBStyle, e->CBStyle->Items()->IndexOfObject(reinterpret_cast<TObject*>(std::intptr_t(c.Style))));
    Pump();
    e->Hide();
    e->Show();
    EXPECT_EQ(e->CB3dPoint->Enabled(), c.Enabled);
    EXPECT_EQ(e->CBPoDark->Enabled(), c.Enabled && e->CB3dPoint->Checked());
  }
  // Dark 3D follows the 3D box.
  PostPickItem(e->CBStyle, e->CBStyle->Items()->IndexOf("Square"));
  PostClick(e->CB3dPoint);
  Pump();
  EXPECT_FALSE(atoms->Pointer()->Draw3D());
  EXPECT_FALSE(e->CBPoDark->Enabled());
  // Hidden markers: style and sizes disabled, their values kept.
  PostClick(e->CBDrawPoint);
  Pump();
  for (TControl* c : std::initializer_list<TControl*>{e->CBStyle, e->SEPointHorizSize, e->CBDefBrushColor,
                                                      e->BPointFillColor, e->CB3dPoint})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  EXPECT_EQ(e->CBStyle->SelectedText(), "Square");
  EXPECT_EQ(atoms->Pointer()->HorizSize(), 4);
}

TEST_F(PointerEditorTest, DefaultColourBoxFollowsBrushAndPen) {
  TSeriesPointer* p = atoms->Pointer();
  p->Brush()->SetColor(clRed);
  TSeriesPointerEditor* e = Open(atoms);
  EXPECT_FALSE(e->CBDefBrushColor->Checked());
  PostClick(e->CBDefBrushColor);
  Pump();
  EXPECT_EQ(p->Brush()->Color(), clLumColor);
  EXPECT_EQ(p->Pen()->Color(), clLumColor);
  PostClick(e->CBDefBrushColor);
  Pump();
  EXPECT_EQ(p->Pen()->Color(), clBlack) << "unchecked: a pen that took the point's colour turns black";
  EXPECT_EQ(p->Brush()->Color(), clLumColor);
  // The pen dialog changes the colour; the box follows.
  p->Pen()->SetColor(clLumColor);
  TestInput::WhenModal([] { TestInput::PostKey(VK_RETURN); });
  PostClick(e->BPoinPenCol);
  Pump();
  EXPECT_TRUE(e->CBDefBrushColor->Checked());
}

TEST_F(PointerEditorTest, ModalOnACalloutPointerWithoutSeriesBoxes) {
  TMarksCallout* callout = atoms->Marks()->Callout();
  TestInput::WhenModal([&] {
    auto* d = editortest::Owned<TSeriesPointerEditor>(Host.get());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Caption(), "Pointer");
    EXPECT_EQ(d->Pointer(), callout);
    EXPECT_FALSE(d->CBInflate->Visible() || d->CBColorEach->Visible() || d->CBIgnoreNulls->Visible());
    EXPECT_TRUE(d->PanelBottom->Visible());
    EXPECT_FALSE(d->CBStyle->Enabled()) << "a callout's symbol starts hidden";
    PostClick(d->CBDrawPoint);
    PostPickItem(d->CBStyle, d->CBStyle->Items()->IndexOf("Star"));
    PostClick(d->Button1);
  });
  EXPECT_TRUE(EditSeriesPointer(chart, callout));
  EXPECT_TRUE(callout->Visible());
  EXPECT_EQ(callout->Style(), psStar);
  EXPECT_EQ(atoms->Pointer()->Style(), psRectangle) << "the series' own pointer untouched";
}

TEST_F(PointerEditorTest, AFreedSeriesIsForgottenWithItsPointer) {
  auto* line = dynamic_cast<TLineSeries*>(Host->FindComponent("Acoustic"));
  TSeriesPointerEditor* e = Open(line);
  e->PageControl1->SetActivePage(e->TabVisual);
  e->PageControl1Change(e->PageControl1);
  ASSERT_NE(e->VisualsEditor(), nullptr);
  line->Pointer()->SetAllowChangeSize(false);
  e->Hide();
  e->Show();
  EXPECT_FALSE(e->SEPointHorizSize->Visible() || e->UDPointVertSize->Visible());
  delete line;
  EXPECT_EQ(e->Pointer(), nullptr);
  EXPECT_EQ(e->TheSeries(), nullptr);
  EXPECT_EQ(e->VisualsEditor(), nullptr);
  EXPECT_EQ(e->BPoinPenCol->Instance(), nullptr);
  // Input afterwards writes nowhere.
  e->PageControl1->SetActivePage(e->TabStyle);
  PostPickItem(e->CBStyle, 0);
  PostClick(e->CBDefBrushColor);
  Pump();
  e->Repaint();
}

}  // namespace
