// The axis page and the range dialog: each tab's controls writing the property they
// name with the chart repainting, the axis list with custom axes added and deleted,
// the logarithmic refusal, the range dialog's readings and refusals, and the page
// outliving its chart.
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/series.h"
#include "editor/axispage.h"
#include "editor/sourceeditor.h"
#include "editor_test.h"
#include "engine/axis.h"
#include "engine/axisitems.h"
#include "page_test.h"
#include "gallery/fonteditor.h"
#include "gallery/pendialog.h"
#include "gallery/shapeeditor.h"
#include "platform/dateutils.h"
#include "samples/samplechart.h"

namespace {

using editortest::EditorTest;
using editortest::Owned;
using TestInput::PostClick;
using TestInput::PostPickItem;
using TestInput::PostTabClick;
using TestInput::PostText;
using TestInput::WhenModal;

class AxisPageTest : public editortest::ChartPageTest {
public:
  TFormLumAxis* Open(TChartAxis* Axis) {
    return editortest::ShowPage(Host.get(), new TFormLumAxis(Host.get(), Axis), Bounds(520, 0, 470, 290));
  }
};

using TAxisStep = editortest::TPageStep<TFormLumAxis, TChartAxis>;

TEST_F(AxisPageTest, EveryTabWritesWhatItNamesAndTheChartRepaints) {
  TFormLumAxis* page = Open(chart->LeftAxis());
  auto scales = [](TFormLumAxis* p) { return p->TabScales; };
  auto title = [](TFormLumAxis* p) { return p->TabTitle; };
  auto labels = [](TFormLumAxis* p) { return p->TabLabels; };
  auto ticks = [](TFormLumAxis* p) { return p->TabTicks; };
  auto grid = [](TFormLumAxis* p) { return p->TabGrid; };
  auto position = [](TFormLumAxis* p) { return p->TabPosition; };
  const std::vector<TAxisStep> steps = {
      {"Visible", scales, [](TFormLumAxis* p) { PostClick(p->CBVisible); }, [](TChartAxis* a) { return !a->Visible(); }},
      {"Inverted", scales, [](TFormLumAxis* p) { PostClick(p->CBInverted); }, [](TChartAxis* a) { return a->Inverted(); }},
      {"MinOffset", scales, [](TFormLumAxis* p) { PostText(p->EMinOff, "7"); },
       [](TChartAxis* a) { return a->MinimumOffset() == 7; }},
      {"MaxOffset", scales, [](TFormLumAxis* p) { PostText(p->EMaxOff, "-4"); },
       [](TChartAxis* a) { return a->MaximumOffset() == -4; }},
      {"MinRound", scales, [](TFormLumAxis* p) { PostClick(p->CBMinRound); },
       [](TChartAxis* a) { return a->MinimumRound(); }},
      {"Title", title, [](TFormLumAxis* p) { PostText(p->ETitle, "Omega"); },
       [](TChartAxis* a) { return a->Title()->Caption() == "Omega"; }},
      {"TitleSize", title, [](TFormLumAxis* p) { PostText(p->SETitleSize, "30"); },
       [](TChartAxis* a) { return a->TitleSize() == 30; }},
      {"TitleVisible", title, [](TFormLumAxis* p) { PostClick(p->CBTitleVisible); },
       [](TChartAxis* a) { return !a->Title()->Visible(); }},
      {"Labels", labels, [](TFormLumAxis* p) { PostClick(p->CBLabels); }, [](TChartAxis* a) { return !a->Labels(); }},
      {"Alternate", labels, [](TFormLumAxis* p) { PostClick(p->CBAlternate); },
       [](TChartAxis* a) { return a->LabelsAlternate(); }},
      {"LabelsAngle", labels, [](TFormLumAxis* p) { PostText(p->SELabelsAngle, "90"); },
       [](TChartAxis* a) { return a->LabelsAngle() == 90; }},
      {"LabelStyle", labels, [](TFormLumAxis* p) { PostPickItem(p->CBLabelStyle, 2); },
       [](TChartAxis* a) { return a->LabelStyle() == talValue; }},
      {"Format", labels,
       [](TFormLumAxis* p) {
         PostTabClick(p->PageLabels, p->TabLabelsFormat->TabIndex());
         PostPickItem(p->CBFormat, p->CBFormat->Items()->IndexOf("0.0"));
       },
       [](TChartAxis* a) { return a->AxisValuesFormat() == "0.0"; }},
      {"Exponent", labels, [](TFormLumAxis* p) { PostClick(p->CBExpo); },
       [](TChartAxis* a) { return a->LabelsExponent(); }},
      {"Align", labels, [](TFormLumAxis* p) { PostClick(p->CBLabelAlign); },
       [](TChartAxis* a) { return a->LabelsAlign() == alOpposite; }},
      {"TickLength", ticks, [](TFormLumAxis* p) { PostText(p->SEAxisTickLength, "9"); },
       [](TChartAxis* a) { return a->TickLength() == 9; }},
      {"InnerLength", ticks, [](TFormLumAxis* p) { PostText(p->SEInnerTicksLength, "5"); },
       [](TChartAxis* a) { return a->TickInnerLength() == 5; }},
      {"MinorCountOnTicks", ticks, [](TFormLumAxis* p) { PostText(p->Edit3, "6"); },
       [](TChartAxis* a) { return a->MinorTickCount() == 6; }},
      {"TickOnLabels", ticks, [](TFormLumAxis* p) { PostClick(p->CBTickOnLabels); },
       [](TChartAxis* a) { return !a->TickOnLabelsOnly(); }},
      // Kept as the page always did: the grid's count is the minor ticks' count too.
      {"MinorCountOnGrid", grid, [](TFormLumAxis* p) { PostText(p->SEMinorCount, "2"); },
       [](TChartAxis* a) { return a->MinorTickCount() == 2; }},
      {"GridZ", grid, [](TFormLumAxis* p) { PostText(p->Edit2, "40"); },
       [](TChartAxis* a) { return a->Grid()->ZPosition() == 40; }},
      {"Centered", grid, [](TFormLumAxis* p) { PostClick(p->CBGridCentered); },
       [](TChartAxis* a) { return a->Grid()->Centered(); }},
      {"DrawEvery", grid, [](TFormLumAxis* p) { PostText(p->EMarksEvery, "3"); },
       [](TChartAxis* a) { return a->Grid()->DrawEvery() == 3; }},
      {"PositionPercent", position, [](TFormLumAxis* p) { PostText(p->EPos, "12"); },
       [](TChartAxis* a) { return a->PositionPercent() == 12; }},
      {"End", position, [](TFormLumAxis* p) { PostText(p->EEnd, "80"); },
       [](TChartAxis* a) { return a->EndPosition() == 80; }},
      {"Start", position, [](TFormLumAxis* p) { PostText(p->EStart, "20"); },
       [](TChartAxis* a) { return a->StartPosition() == 20; }},
      {"Z", position, [](TFormLumAxis* p) { PostText(p->Edit1, "30"); },
       [](TChartAxis* a) { return a->ZPosition() == 30; }},
      {"Units", position, [](TFormLumAxis* p) { PostPickItem(p->CBPosUnits, 1); },
       [](TChartAxis* a) { return a->PositionUnits() == muPixelsUnits; }},
  };
  for (const TAxisStep& s : steps) {
    SCOPED_TRACE(s.Name);
    ShowTab(page->PageAxis, s.Tab(page));
    EXPECT_TRUE(editortest::Repaints(chart, [&] {
      s.Act(page);
      Pump();
    }));
    EXPECT_TRUE(s.Done(chart->LeftAxis()));
  }
  // The other sides' boxes are for custom axes only.
  EXPECT_FALSE(page->CBOtherSide->Enabled());
  EXPECT_FALSE(page->CBHorizAxis->Enabled());
}

TEST_F(AxisPageTest, ScalesFollowTheAutomaticBoxesAndTheLabelGap) {
  TFormLumAxis* page = Open(chart->LeftAxis());
  TChartAxis* axis = chart->LeftAxis();
  PostClick(page->CBAutomatic);
  Pump();
  EXPECT_FALSE(axis->Automatic());
  EXPECT_FALSE(axis->AutomaticMinimum());
  EXPECT_FALSE(axis->AutomaticMaximum());
  EXPECT_FALSE(page->CBAutoMax->Checked());
  EXPECT_FALSE(page->CBMaxRound->Enabled());
  axis->SetMinMax(-50, 50);
  PostClick(page->CBAutomatic);  // on again: the range follows the data once more
  Pump();
  EXPECT_TRUE(axis->AutomaticMaximum());
  EXPECT_NE(axis->Minimum(), -50);
  EXPECT_EQ(page->LAxisMax->Caption(), FormatFloat(axis->AxisValuesFormat(), axis->Maximum()));

  // Unchecked "Show all labels" gives the usual gap, not the one before.
  ShowTab(page->PageAxis, page->TabLabels);
  PostText(page->SESepar, "30");
  Pump();
  EXPECT_EQ(axis->LabelsSeparation(), 30);
  ShowTab(page->PageAxis, page->TabScales);
  EXPECT_FALSE(page->CBShowAll->Checked());
  PostClick(page->CBShowAll);
  Pump();
  EXPECT_EQ(axis->LabelsSeparation(), 0);
  PostClick(page->CBShowAll);
  Pump();
  EXPECT_EQ(axis->LabelsSeparation(), 10);

  // A start at or past the end is refused and shows the start again.
  ShowTab(page->PageAxis, page->TabPosition);
  PostText(page->EStart, "99");
  Pump();
  EXPECT_EQ(axis->StartPosition(), 99);
  TestInput::PostCall([page] { page->UDStart->ButtonClick(btNext); });
  Pump();
  EXPECT_EQ(axis->StartPosition(), 99);
  EXPECT_EQ(page->UDStart->Position(), 99);
  TestInput::PostCall([page] { page->UDEnd->SetPosition(50); });
  Pump();
  EXPECT_EQ(axis->EndPosition(), 100);
  EXPECT_EQ(page->UDEnd->Position(), 100);
}

TEST_F(AxisPageTest, LogarithmicBaseAndRefusal) {
  TFormLumAxis* page = Open(chart->BottomAxis());
  TChartAxis* axis = chart->BottomAxis();  // from 0: no logarithm
  EXPECT_FALSE(page->ELogBase->Enabled());
  PostClick(page->CBLogarithmic);
  Pump();
  EXPECT_FALSE(axis->Logarithmic());
  EXPECT_FALSE(page->CBLogarithmic->Checked());
  EXPECT_TRUE(page->ELogBase->Enabled());
  EXPECT_TRUE(page->LogE->Enabled());
  ASSERT_EQ(RecordedMessages().size(), 1u);
  EXPECT_NE(RecordedMessages()[0].find("logarithmic"), std::string::npos);

  // A base with no logarithm is ignored; e comes from its box and locks it.
  for (const char* text : {"0", "-2", "1", "x"}) {
    PostText(page->ELogBase, text);
    Pump();
    EXPECT_EQ(axis->LogarithmicBase(), 10) << text;
  }
  PostText(page->ELogBase, "2");
  Pump();
  EXPECT_EQ(axis->LogarithmicBase(), 2);
  PostClick(page->LogE);
  Pump();
  EXPECT_NEAR(axis->LogarithmicBase(), std::exp(1.0), 1e-12);
  EXPECT_TRUE(page->LogE->Checked());
  EXPECT_FALSE(page->LogE->Enabled());
  EXPECT_EQ(RecordedMessages().size(), 1u);
}

TEST_F(AxisPageTest, AxisListAddsAndDeletesCustomAxes) {
  TFormLumAxis* page = Open(chart->LeftAxis());
  ASSERT_EQ(page->LBAxes->Count(), 7);
  EXPECT_EQ(page->LBAxes->Items()->Strings(6), "Custom 0");
  EXPECT_FALSE(page->BDelete->Enabled());
  auto* area = dynamic_cast<TChartSeries*>(Host->FindComponent("Area"));
  ASSERT_NE(area, nullptr);
  TChartAxis* custom = chart->Axes()->GetAxis(6);
  ASSERT_EQ(area->CustomVertAxis(), custom);

  PostClick(page->BAdd);
  Pump();
  EXPECT_EQ(chart->CustomAxes()->Count(), 2);
  EXPECT_EQ(page->LBAxes->ItemIndex(), 7);
  EXPECT_EQ(page->Axis(), chart->Axes()->GetAxis(7));
  EXPECT_TRUE(page->BDelete->Enabled());
  // A custom axis turning horizontal is told.
  TChartAxis* told = nullptr;
  page->OnChangeHorizAxis = [&](TChartAxis* A) { told = A; };
  ShowTab(page->PageAxis, page->TabPosition);
  EXPECT_TRUE(page->CBHorizAxis->Enabled());
  PostClick(page->CBHorizAxis);
  Pump();
  EXPECT_TRUE(page->Axis()->Horizontal());
  EXPECT_EQ(told, page->Axis());

  // Deleting the first custom axis shows the one before it, and its series go back.
  PostPickItem(page->LBAxes, 6);
  Pump();
  EXPECT_EQ(page->Axis(), custom);
  PostClick(page->BDelete);
  Pump();
  EXPECT_EQ(page->LBAxes->ItemIndex(), 5);
  EXPECT_EQ(page->Axis(), chart->DepthTopAxis());
  EXPECT_EQ(area->CustomVertAxis(), nullptr);
  EXPECT_EQ(page->LBAxes->Count(), 7);
  EXPECT_EQ(page->LBAxes->Items()->Strings(6), "Custom 0");
}

TEST_F(AxisPageTest, ItemsListAndTheirEditing) {
  TChartAxis* axis = chart->BottomAxis();
  axis->Items()->Add(0.5, "half");
  axis->Items()->Add(1, "one");
  axis->Items()->SetAutomatic(true);
  TFormLumAxis* page = Open(axis);
  ShowTab(page->PageAxis, page->TabItems);
  EXPECT_TRUE(page->CBItemsAuto->Checked());
  EXPECT_FALSE(page->ListItems->Enabled());
  EXPECT_EQ(page->ListItems->ItemIndex(), 0);
  EXPECT_EQ(page->EItemValue->Text(), "0.5");
  PostClick(page->CBItemsAuto);
  Pump();
  EXPECT_FALSE(axis->Items()->Automatic());
  EXPECT_TRUE(page->ListItems->Enabled());
  PostPickItem(page->ListItems, 1);
  Pump();
  PostText(page->EItemValue, "0.75");
  PostText(page->AxisItemText, "three quarters");
  Pump();
  EXPECT_EQ(axis->Items()->Get(1)->Value(), 0.75);
  EXPECT_EQ(axis->Items()->Get(1)->Text(), "three quarters");
  EXPECT_EQ(page->ListItems->Items()->Strings(1), "three quarters");
  PostText(page->EItemValue, "abc");  // no number: the value stays
  Pump();
  EXPECT_EQ(axis->Items()->Get(1)->Value(), 0.75);
}

TEST_F(AxisPageTest, RangeDialogReadsNumbersAndRefusesWhatItCannot) {
  TFormLumAxis* page = Open(chart->LeftAxis());
  TChartAxis* axis = chart->LeftAxis();
  const double min = axis->Minimum(), max = axis->Maximum();

  // Cancel leaves the axis as it was.
  WhenModal([page] {
    auto* d = Owned<TAxisMaxMin>(page);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Caption(), "Maximum Left Axis");
    EXPECT_FALSE(d->EMinimum->Visible());
    EXPECT_EQ(d->Label1->Caption(), "Value:");
    PostText(d->EMaximum, "9");
    PostClick(d->BCancel);
  });
  PostClick(page->BAxisMax);
  Pump(8);
  EXPECT_EQ(axis->Maximum(), max);
  EXPECT_TRUE(page->CBAutoMax->Checked());

  // A bad text keeps the dialog open with the conversion error shown.
  bool stillOpen = false;
  WhenModal([&, page] {
    auto* d = Owned<TAxisMaxMin>(page);
    ASSERT_NE(d, nullptr);
    PostText(d->EMaximum, "abc");
    PostClick(d->BOk);
    TestInput::PostCall([&, d] {
      stillOpen = d->Showing();
      PostText(d->EMaximum, "5.5");
      PostClick(d->BOk);
    });
  });
  PostClick(page->BAxisMax);
  Pump(12);
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(RecordedMessages().size(), 1u);
  EXPECT_EQ(axis->Maximum(), 5.5);
  EXPECT_FALSE(page->CBAutoMax->Checked());
  EXPECT_FALSE(axis->AutomaticMaximum());
  EXPECT_EQ(page->LAxisMax->Caption(), "5.5");

  // Past the other end: the axis' own refusal, nothing changed.
  ClearRecordedMessages();
  WhenModal([page, min] {
    auto* d = Owned<TAxisMaxMin>(page);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Caption(), "Minimum Left Axis");
    PostText(d->EMaximum, "6");
    PostClick(d->BOk);
    (void)min;
  });
  PostClick(page->BAxisMin);
  Pump(8);
  EXPECT_EQ(axis->Minimum(), min);
  EXPECT_TRUE(page->CBAutoMin->Checked());
  ASSERT_EQ(RecordedMessages().size(), 1u);
  EXPECT_NE(RecordedMessages()[0].find(LumMsg_AxisMinMax), std::string::npos);
}

TEST_F(AxisPageTest, RangeDialogReadsDatesAndTimes) {
  TFormatSettings fixed;
  fixed.ShortDateFormat = "dd/mm/yyyy";
  fixed.LongTimeFormat = "hh:nn:ss";
  TFormatSettingsOverride settings(fixed);
  auto* dates = new TLineSeries(Host.get());
  dates->SetParentChart(chart);
  dates->XValues()->SetDateTime(true);
  dates->SetHorizAxis(aTopAxis);
  for (int i = 0; i < 5; ++i) dates->AddXY(EncodeDate(2000, 1, 1) + i, i);
  TChartAxis* axis = chart->TopAxis();
  ASSERT_TRUE(axis->IsDateTime());
  TFormLumAxis* page = Open(axis);
  WhenModal([page] {
    auto* d = Owned<TAxisMaxMin>(page);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->EMinimum->Visible());
    EXPECT_EQ(d->EMaximum->Hint(), "Enter Date");
    PostText(d->EMaximum, "09/01/2000");
    PostText(d->EMinimum, "12:00:00");
    PostClick(d->BOk);
  });
  PostClick(page->BAxisMax);
  Pump(10);
  EXPECT_DOUBLE_EQ(axis->Maximum(), EncodeDate(2000, 1, 9) + 0.5);
  EXPECT_EQ(page->LAxisMax->Caption(), DateTimeToStr(EncodeDate(2000, 1, 9) + 0.5));
  // An empty date reads the time alone.
  WhenModal([page] {
    auto* d = Owned<TAxisMaxMin>(page);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->EMaximum->Text(), "01/01/2000");
    TestInput::PostCall([d] { d->EMaximum->SetText(""); });
    PostText(d->EMinimum, "06:00:00");
    PostClick(d->BOk);
  });
  PostClick(page->BAxisMin);
  Pump(10);
  EXPECT_DOUBLE_EQ(axis->Minimum(), 0.25);

  // Past the valid dates there is no date to show, only the time.
  TAxisMaxMin d(Host.get());
  d.IsDateTime = true;
  for (double v : {2958466.0, 2958466.5, -657434.5}) {
    d.Value = v;
    d.FormShow(&d);
    EXPECT_EQ(d.EMaximum->Text(), "") << v;
    EXPECT_EQ(d.EMinimum->Text(), TimeToStr(v)) << v;
    EXPECT_EQ(AxisEndText(axis, v), TimeToStr(v)) << v;
  }
  d.Value = 2958465.5;  // the last valid day
  d.FormShow(&d);
  EXPECT_EQ(d.EMaximum->Text(), "31/12/9999");
}

TEST_F(AxisPageTest, FormatListsFollowTheKindAndRangeOfTheAxis) {
  auto* dates = new TLineSeries(Host.get());
  dates->SetParentChart(chart);
  dates->XValues()->SetDateTime(true);
  dates->SetHorizAxis(aTopAxis);
  dates->AddXY(EncodeDate(2000, 1, 1), 1);
  dates->AddXY(EncodeDate(2000, 3, 1), 2);
  Pump();
  struct TCase {
    TChartAxis* Axis;
    double Min, Max;
    const char* Caption;
    const char* Listed;
    const char* Unlisted;
  };
  const double day = EncodeDate(2000, 1, 1);
  for (const TCase& c : {TCase{chart->TopAxis(), day, day + 60, "DateTime For&mat:", "yyyy-mm-dd", "hh:nn:ss.zzz"},
                         TCase{chart->TopAxis(), day, day + 0.5, "DateTime For&mat:", "hh:nn:ss.zzz", "yyyy-mm-dd"},
                         TCase{chart->LeftAxis(), 0, 2, "Values For&mat:", "#.# x10E-#", "hh:nn"}}) {
    SCOPED_TRACE(c.Caption);
    c.Axis->SetAutomatic(false);
    c.Axis->SetMinMax(c.Min, c.Max);
    std::unique_ptr<TFormLumAxis> page(Open(c.Axis));
    ShowTab(page->PageAxis, page->TabLabels);
    EXPECT_EQ(page->LFormat->Caption(), c.Caption);
    EXPECT_GE(page->CBFormat->Items()->IndexOf(c.Listed), 0);
    EXPECT_LT(page->CBFormat->Items()->IndexOf(c.Unlisted), 0);
  }
  // A date-time axis takes the chosen format as its date-time format.
  std::unique_ptr<TFormLumAxis> page(Open(chart->TopAxis()));
  ShowTab(page->PageAxis, page->TabLabels);
  PostTabClick(page->PageLabels, page->TabLabelsFormat->TabIndex());
  PostPickItem(page->CBFormat, page->CBFormat->Items()->IndexOf("hh:nn:ss"));
  Pump();
  EXPECT_EQ(chart->TopAxis()->DateTimeFormat(), "hh:nn:ss");
  EXPECT_EQ(chart->TopAxis()->AxisValuesFormat(), "#,##0.###");
}

TEST_F(AxisPageTest, IncrementLabelAfterTheIncrementDialog) {
  TFormLumAxis* page = Open(chart->LeftAxis());
  EXPECT_EQ(page->LAxisIncre->Caption(), "0");
  WhenModal([page] {
    auto* d = Owned<TAxisIncrement>(page);
    ASSERT_NE(d, nullptr);
    PostText(d->ECustom, "0.25");
    PostClick(d->BOk);
  });
  PostClick(page->BIncre);
  Pump(8);
  EXPECT_EQ(chart->LeftAxis()->Increment(), 0.25);
  EXPECT_EQ(page->LAxisIncre->Caption(), "0.25");
}

TEST_F(AxisPageTest, InvertedLeftAxisPutsTheFirstPointOfARisingLineAtTheTop) {
  auto* c = new TChart(Host.get());
  c->SetParent(Host.get());
  c->SetBounds(0, 420, 300, 220);
  c->SetView3D(false);
  c->Legend()->SetVisible(false);
  c->LeftAxis()->Grid()->SetVisible(false);
  auto* line = new TLineSeries(Host.get());
  line->SetParentChart(c);
  line->SetSeriesColor(clRed);
  for (int i = 0; i <= 10; ++i) line->AddXY(i, i);
  TFormLumAxis* page = Open(c->LeftAxis());
  // The row of the leftmost red pixel: the first point's.
  auto firstPointRow = [c] {
    std::unique_ptr<TBitmap> b(c->CreateBitmap(clWhite, Rect(0, 0, c->Width(), c->Height())));
    for (int x = 0; x < b->Width(); ++x)
      for (int y = 0; y < b->Height(); ++y)
        if (b->Canvas()->Pixels(x, y) == clRed) return y;
    return -1;
  };
  const int before = firstPointRow();
  PostClick(page->CBInverted);
  Pump();
  const int after = firstPointRow();
  const int middle = (c->ChartRect().Top + c->ChartRect().Bottom) / 2;
  EXPECT_GT(before, middle);
  EXPECT_GE(after, 0);
  EXPECT_LT(after, middle);
}

TEST_F(AxisPageTest, CustomAxisFreedElsewhereGivesWayToTheLineBefore) {
  chart->CustomAxes()->Add();
  TChartAxis* first = chart->Axes()->GetAxis(6);
  TChartAxis* second = chart->Axes()->GetAxis(7);
  TFormLumAxis* page = Open(second);
  ShowTab(page->PageAxis, page->TabLabels);
  ShowTab(page->PageLabels, page->TabLabelsText);
  ShowTab(page->PageAxis, page->TabTitle);
  ShowTab(page->PageTitle, page->TitleEditor()->TabFormat);
  ASSERT_EQ(page->TitleEditor()->Shape(), second->Title());
  // Another custom axis going renumbers the list; the one shown stays.
  delete first;
  Pump();
  EXPECT_EQ(page->Axis(), second);
  EXPECT_EQ(page->LBAxes->Count(), 7);
  EXPECT_EQ(page->LBAxes->ItemIndex(), 6);
  EXPECT_EQ(page->LBAxes->Items()->Strings(6), "Custom 0");
  // The one shown going: the line before it, and the editors on its parts.
  delete second;
  Pump();
  TChartAxis* depthTop = chart->DepthTopAxis();
  EXPECT_EQ(page->Axis(), depthTop);
  EXPECT_EQ(page->LBAxes->ItemIndex(), 5);
  EXPECT_EQ(page->LBAxes->Count(), 6);
  EXPECT_EQ(page->TitleEditor()->Shape(), depthTop->Title());
  EXPECT_EQ(page->LabelsFontEditor()->TheFont(), depthTop->LabelsFont());
  PostClick(page->TitleEditor()->CBTransparent);
  Pump();
  EXPECT_EQ(depthTop->Title()->Transparent(), page->TitleEditor()->CBTransparent->Checked());
  page->Repaint();
  Pump();
}

TEST_F(AxisPageTest, FreedChartIsLetGo) {
  TFormLumAxis* page = Open(chart->LeftAxis());
  ShowTab(page->PageAxis, page->TabTitle);
  ShowTab(page->PageAxis, page->TabTicks);
  delete chart;
  Pump();
  EXPECT_EQ(page->Axis(), nullptr);
  EXPECT_EQ(page->TitleEditor(), nullptr);
  EXPECT_EQ(page->LabelsFontEditor(), nullptr);
  // Nothing reaches the freed chart any more.
  PostClick(page->BTickPen);
  PostText(page->SEAxisTickLength, "3");
  ShowTab(page->PageAxis, page->TabScales);
  PostClick(page->CBInverted);
  PostClick(page->BAdd);
  page->Repaint();
  Pump();
  EXPECT_EQ(page->LBAxes->Count(), 0);
}

}  // namespace
