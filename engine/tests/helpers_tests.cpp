// The shared helpers: component names, series queries, glyphs and check boxes,
// text fields, geometry, and the exporters' base.
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/exportdata.h"
#include "engine/helpers.h"
#include "engine_test.h"
#include "platform/clipbrd.h"
#include "platform/resources.h"
#include "test_temp.h"

namespace {

TEST(UniqueComponentName, TakesTheLowestFreeNumberWhateverTheCase) {
  TComponent owner(nullptr);
  EXPECT_EQ(UniqueComponentName(&owner, "Series"), "Series1");
  for (const char* name : {"series1", "Series2", "Series4", "Tool3"}) (new TComponent(&owner))->SetName(name);
  EXPECT_EQ(UniqueComponentName(&owner, "Series"), "Series3");
  EXPECT_EQ(UniqueComponentName(&owner, "Tool"), "Tool1");
  EXPECT_EQ(UniqueComponentName(nullptr, "Series"), "Series1");
}

TEST(SeriesQueries, ColoursCustomXAndListItems) {
  TCountingChart chart;
  auto* s = new TTestSeries(nullptr);
  chart.AddSeries(s);
  EXPECT_FALSE(HasManyColors(s));
  EXPECT_FALSE(HasCustomXValues(s));
  for (int i = 0; i < 3; ++i) s->AddXY(i, i * i);
  EXPECT_FALSE(HasManyColors(s));
  EXPECT_FALSE(HasCustomXValues(s));
  s->AddXY(3, 1, "", clNone);  // a null has no colour to count
  EXPECT_FALSE(HasManyColors(s));
  s->SetValueColor(1, s->SeriesColor() ^ 0xFF);
  EXPECT_TRUE(HasManyColors(s));
  s->SetValueColor(1, clLumColor);
  s->SetColorEachPoint(true);  // palette colours by index
  EXPECT_TRUE(HasManyColors(s));

  s->AddXY(4.5, 0);
  EXPECT_TRUE(HasCustomXValues(s));
  s->Clear();
  for (int i = 0; i < MaxCustomXValuesChecked; ++i) s->AddXY(i, 0);
  s->AddXY(1e6, 0);  // past the points looked at
  EXPECT_FALSE(HasCustomXValues(s));

  auto* t = new TTestSeries(nullptr);
  t->SetName("Second");
  chart.AddSeries(t);
  s->SetTitle("First title");
  TStringList items;
  items.Add("kept");
  FillSeriesItems(&items, chart.SeriesList());
  ASSERT_EQ(items.Count(), 3);
  EXPECT_EQ(items.Strings(1), "First title");
  EXPECT_EQ(items.Strings(2), "Second");
  EXPECT_EQ(items.Objects(1), s);
  items.Clear();
  FillSeriesItems(&items, chart.SeriesList(), false);
  EXPECT_EQ(items.Strings(0), "");
  EXPECT_EQ(items.Objects(1), t);
  items.Clear();
  s->SetShowInEditor(false);  // hidden from editors: not listed
  FillSeriesItems(&items, chart.SeriesList());
  ASSERT_EQ(items.Count(), 1);
  EXPECT_EQ(items.Objects(0), t);
}

TEST(Glyphs, ClassBitmapsAreFoundByAncestorAndCheckBoxesShowTheirState) {
  // A 3 x 2 blue glyph with a white corner, registered under an ancestor's name.
  static std::vector<std::uint8_t> bytes;
  {
    TBitmap b;
    b.SetSize(3, 2);
    b.Canvas()->Brush()->SetColor(clBlue);
    b.Canvas()->FillRect({0, 0, 3, 2});
    b.Canvas()->SetPixels(0, 1, clWhite);
    TMemoryStream m;
    b.SaveToStream(&m);
    bytes = m.Bytes();
  }
  static const TResourceEntry entry{"TCHARTSERIES", bytes.data(), bytes.size()};
  RegisterResources(&entry, 1);

  TTestSeries s(nullptr);
  TBitmap glyph;
  EXPECT_TRUE(LoadClassBitmap(&s, &glyph));
  EXPECT_EQ(glyph.Width(), 3);
  TComponent plain(nullptr);
  EXPECT_FALSE(LoadClassBitmap(&plain, &glyph));
  EXPECT_EQ(glyph.Width(), 3);  // unchanged

  TBitmap target;
  target.SetSize(40, 20);
  TCanvas* c = target.Canvas();
  c->Brush()->SetColor(clRed);
  c->FillRect({0, 0, 40, 20});
  DrawResourceBitmap(c, &s, 2, 2);
  EXPECT_EQ(c->Pixels(3, 2), clBlue);
  EXPECT_EQ(c->Pixels(2, 3), clRed);  // the bottom-left colour is see-through
  DrawResourceBitmap(c, "no such glyph", 10, 10);
  EXPECT_EQ(c->Pixels(10, 10), clRed);

  // 13 x 13 boxes: checked differs from unchecked, radio from check, nothing
  // drawn outside.
  auto box = [](bool checked, bool radio) {
    TBitmap b;
    b.SetSize(20, 20);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect({0, 0, 20, 20});
    DrawCheckBox(b.Canvas(), 3, 4, checked, radio);
    std::vector<TColor> px;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        const bool inside = x >= 3 && x < 3 + CheckBoxSize && y >= 4 && y < 4 + CheckBoxSize;
        const TColor p = b.Canvas()->Pixels(x, y);
        if (!inside) {
          EXPECT_EQ(p, clRed) << x << "," << y;
        }
        px.push_back(p);
      }
    return px;
  };
  const auto off = box(false, false), on = box(true, false), radioOff = box(false, true);
  EXPECT_NE(off, on);
  EXPECT_NE(off, radioOff);
  EXPECT_NE(off[size_t(4 * 20 + 3)], clRed);  // the check box's corner is drawn
  EXPECT_NE(off[size_t(16 * 20 + 15)], clRed);
}

TEST(TextFields, IndexesFromOneAndEmptyOutsideTheFields) {
  const std::string t = "a;bc;;d";
  EXPECT_EQ(GetTextField(t, 0), "");
  EXPECT_EQ(GetTextField(t, -1), "");
  EXPECT_EQ(GetTextField(t, 1), "a");
  EXPECT_EQ(GetTextField(t, 2), "bc");
  EXPECT_EQ(GetTextField(t, 3), "");
  EXPECT_EQ(GetTextField(t, 4), "d");
  EXPECT_EQ(GetTextField(t, 5), "");
  EXPECT_EQ(GetTextField("", 1), "");
  EXPECT_EQ(CountTextFields(t, ';'), 4);
  EXPECT_EQ(CountTextFields("", ';'), 0);
  EXPECT_EQ(CountTextFields("x;", ';'), 2);
  EXPECT_EQ(GetTextFieldSep(std::string("t1") + ColumnSeparator + "t2", 2, ColumnSeparator), "t2");

  EXPECT_EQ(ReplaceChar("a.b.c", '.', ','), "a,b,c");
  EXPECT_EQ(ReplaceChar("a.b.c", '.', 0), "abc");

  const char saved = DecimalSeparator;
  DecimalSeparator = ',';
  EXPECT_EQ(DecimalSeparatorToDot("1,5;2,25"), "1.5;2.25");
  EXPECT_EQ(DotToDecimalSeparator("1.5"), "1,5");
  DecimalSeparator = saved;
}

TEST(Geometry, SegmentsCrossTouchOrMiss) {
  TFloatPoint p{-1, -1};
  EXPECT_TRUE(CrossingLines({0, 0}, {4, 4}, {0, 4}, {4, 0}, p));
  EXPECT_DOUBLE_EQ(p.X, 2);
  EXPECT_DOUBLE_EQ(p.Y, 2);
  // Touching at an end counts.
  EXPECT_TRUE(CrossingLines({0, 0}, {2, 0}, {2, 0}, {2, 5}, p));
  EXPECT_DOUBLE_EQ(p.X, 2);
  EXPECT_DOUBLE_EQ(p.Y, 0);
  // Parallel, on one line, and apart (the lines would meet beyond the ends).
  p = {-1, -1};
  EXPECT_FALSE(CrossingLines({0, 0}, {4, 0}, {0, 1}, {4, 1}, p));
  EXPECT_FALSE(CrossingLines({0, 0}, {4, 0}, {2, 0}, {6, 0}, p));
  EXPECT_FALSE(CrossingLines({0, 0}, {1, 1}, {3, 0}, {2, 1}, p));
  EXPECT_FALSE(CrossingLines({0, 0}, {0, 0}, {0, 0}, {1, 1}, p));  // a point is no segment
  EXPECT_DOUBLE_EQ(p.X, -1);  // untouched on failure
}

TEST(Geometry, PointsInPolygonsAndNearLines) {
  // An L shape: the notch at the top right is outside.
  const std::vector<TPoint> l{{0, 0}, {4, 0}, {4, 6}, {10, 6}, {10, 10}, {0, 10}};
  EXPECT_TRUE(PointInPolygon({2, 2}, l));
  EXPECT_TRUE(PointInPolygon({8, 8}, l));
  EXPECT_FALSE(PointInPolygon({8, 2}, l));
  EXPECT_FALSE(PointInPolygon({-1, 5}, l));
  EXPECT_FALSE(PointInPolygon({11, 8}, l));
  EXPECT_FALSE(PointInPolygon({1, 1}, std::vector<TPoint>{{0, 0}, {5, 5}}));

  EXPECT_TRUE(PointInLine({5, 0}, 0, 0, 10, 0));
  EXPECT_FALSE(PointInLine({5, 1}, 0, 0, 10, 0));
  EXPECT_TRUE(PointInLine({1, 0}, 0, 0, 3, 1));  // a pixel a one-pixel line passes
  EXPECT_TRUE(PointInLineTolerance({5, 3}, 0, 0, 10, 0, 3));
  EXPECT_FALSE(PointInLineTolerance({5, 4}, 0, 0, 10, 0, 3));
  // Beyond the ends the distance is to the end point, not to the line.
  EXPECT_FALSE(PointInLineTolerance({14, 0}, 0, 0, 10, 0, 3));
  EXPECT_TRUE(PointInLineTolerance({12, 2}, 0, 0, 10, 0, 3));
  EXPECT_TRUE(PointInLineTolerancePoints({2, 2}, {1, 1}, {1, 1}, 1));
  EXPECT_FALSE(PointInLinePoints({2, 2}, {1, 1}, {1, 1}));
}

class TTextExport : public TLumExportData {
public:
  std::string AsString() override { return Text; }
  std::string Text;
};

TEST(ExportData, SavesTheTextExactlyAndCopiesIt) {
  TTextExport e;
  e.Text = std::string("X\tY\r\n1\t2\r\n") + "\xC3\xA9";
  const std::string file = TestTempFile("export.txt");
  e.SaveToFile(file);
  TMemoryStream m;
  m.LoadFromFile(file);
  EXPECT_EQ(std::string(m.Bytes().begin(), m.Bytes().end()), e.Text);  // no terminator
  EXPECT_TRUE(PartFilesBeside(file).empty());

  // A failed save leaves the old file as it was.
  struct TFailing : TTextExport {
    void SaveToStream(TStream* Stream) override {
      Stream->WriteBuffer("half", 4);
      throw EWriteError("disk full");
    }
  } failing;
  EXPECT_THROW(failing.SaveToFile(file), EWriteError);
  m.LoadFromFile(file);
  EXPECT_EQ(m.Size(), std::int64_t(e.Text.size()));
  EXPECT_TRUE(PartFilesBeside(file).empty());
  EXPECT_THROW(e.SaveToFile(TestTempFile("missing/dir/x.txt")), EFCreateError);

  e.CopyToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), e.Text);
  TLumExportData empty;
  TMemoryStream none;
  empty.SaveToStream(&none);
  EXPECT_EQ(none.Size(), 0);
}

}  // namespace
