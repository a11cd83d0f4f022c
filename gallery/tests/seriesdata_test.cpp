// The data exporters: columns, rows and bytes of each format, the edge cases of
// short series, nulls, long labels and formats, and what keeps each file readable.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "gallery/seriesdata.h"
#include "gallery/xmlwriter.h"
#include "gallery_test_util.h"
#include "platform/rtl.h"
#include "platform/typinfo.h"

using gallerytest::Hex;
using gallerytest::Str;

namespace {

// A line series with a third value list, "Z".
class TZSeries : public TLineSeries {
public:
  explicit TZSeries(TComponent* AOwner) : TLineSeries(AOwner), z_(new TChartValueList(this, "Z")) {
    AddValueList(z_.get());
  }
  void AddXYZ(double X, double Y, double Z) { z_->SetValue(AddXY(X, Y), Z); }

private:
  std::unique_ptr<TChartValueList> z_;
};

struct TData : ::testing::Test {
  void SetUp() override { gallerytest::EnsureUnits(); }
  TChart chart{nullptr};
  TLineSeries* Line(const std::string& Title, int Points, bool WithX = false) {
    auto* s = new TLineSeries(&chart);
    s->SetTitle(Title);
    s->SetParentChart(&chart);
    for (int i = 0; i < Points; ++i) s->AddXY(WithX ? i * 0.5 : i, i + 0.25);
    return s;
  }
  std::string Saved(TLumExportData& D) {
    TMemoryStream m;
    D.SaveToStream(&m);
    return Str(m);
  }
};

// Cells of a BIFF stream as "row,col:kind:value" lines.
std::vector<std::string> Cells(const std::string& B) {
  std::vector<std::string> out;
  auto u16 = [&](std::size_t at) { return unsigned(std::uint8_t(B[at]) | std::uint8_t(B[at + 1]) << 8); };
  for (std::size_t at = 0; at + 4 <= B.size();) {
    unsigned type = u16(at), len = u16(at + 2);
    std::string where = std::to_string(len >= 4 ? u16(at + 4) : 0) + "," + std::to_string(len >= 4 ? u16(at + 6) : 0);
    if (type == 0x0003) {
      double v;
      std::memcpy(&v, B.data() + at + 11, 8);
      out.push_back(where + ":N:" + FloatToStr(v));
    } else if (type == 0x0004) {
      out.push_back(where + ":L:" + B.substr(at + 12, std::uint8_t(B[at + 11])));
    } else if (type == 0x0001) {
      out.push_back(where + ":B");
    }
    at += 4 + len;
  }
  return out;
}

}  // namespace

TEST(ColorText, HexOfTheRgbBytes) {
  EXPECT_EQ(ColorToHexText(RGB(1, 0xAB, 0xFF)), "#01abff");
  EXPECT_EQ(ColorToHexText(clLumColor), "#000000");
  EXPECT_EQ(ColorToHexText(clNone), "#ffffff");  // kept: the sentinel's own bytes
  EXPECT_EQ(ColorToHexText(clRed), "#ff0000");
}

TEST_F(TData, ShorterSeriesLeaveEmptyCellsInEveryFormat) {
  TLineSeries* a = Line("A", 3, true);
  Line("B", 5, true)->SetSeriesColor(clBlack);
  a->SetSeriesColor(clRed);
  a->SetValueColor(0, clBlue);

  TSeriesDataText text(&chart, nullptr);
  text.IncludeColors = true;
  const std::string t = text.AsString();
  EXPECT_EQ(t, "#0000ff\t0\t0.25\t0\t0.25\r\n#ff0000\t0.5\t1.25\t0.5\t1.25\r\n"
               "#ff0000\t1\t2.25\t1\t2.25\r\n#000000\t\t\t1.5\t3.25\r\n#000000\t\t\t2\t4.25\r\n\r\n");

  TSeriesDataHTML html(&chart, nullptr);
  const std::string h = html.AsString();
  EXPECT_NE(h.find("<tr><td></td><td></td><td>2</td><td>4.25</td></tr>\r\n\r\n</table>"), std::string::npos);
  EXPECT_EQ(h.substr(h.size() - 8), "</table>");

  TSeriesDataXLS xls(&chart, nullptr);
  xls.IncludeColors = true;
  const std::vector<std::string> cells = Cells(Saved(xls));
  // Rows 3 and 4 of A: empty colour label, blank X and Y; then B's cells.
  const std::vector<std::string> row4(cells.end() - 6, cells.end());
  EXPECT_EQ(row4, (std::vector<std::string>{"4,0:L:", "4,1:B", "4,2:B", "4,3:L:#000000", "4,4:N:2", "4,5:N:4.25"}));

  TSeriesDataXML xml(&chart, nullptr);
  const std::string x = xml.AsString();
  EXPECT_EQ(x.substr(x.size() - 8), "</chart>");
  EXPECT_NE(x.find("<points count=\"3\">"), std::string::npos);
}

TEST_F(TData, HeadersNameTheListsOrTheTitle) {
  Line("Optic", 2, true);
  auto* z = new TZSeries(&chart);
  z->SetParentChart(&chart);
  z->AddXYZ(0, 1, 2);
  TSeriesDataText text(&chart, nullptr);
  text.IncludeHeader = true;
  text.IncludeIndex = true;
  text.TextQuotes = "\"";
  EXPECT_EQ(text.AsString().substr(0, text.AsString().find("\r\n")), "\"Index\"\t\"X\"\t\"Optic\"\t\"X\"\t\"Y\"\t\"Z\"");

  TSeriesDataHTML html(&chart, nullptr);
  html.IncludeHeader = true;
  EXPECT_NE(html.AsString().find("<tr><td>X</td><td>Optic</td><td>X</td><td>Y</td><td>Z</td></tr>"),
            std::string::npos);
  TSeriesDataXLS xls(&chart, nullptr);
  xls.IncludeHeader = true;
  std::vector<std::string> cells = Cells(Saved(xls));
  cells.resize(5);
  EXPECT_EQ(cells, (std::vector<std::string>{"0,0:L:X", "0,1:L:Y", "0,2:L:X", "0,3:L:Y", "0,4:L:Z"}));
}

TEST_F(TData, TextItemsQuotesAndEndings) {
  TLineSeries* s = Line("S", 0);
  s->AddXY(1.5, 2, "lab");
  s->AddXY(2.5, 3, "say \"hi\"");
  TSeriesDataText text(&chart, s);
  text.TextDelimiter = ';';
  EXPECT_EQ(text.AsString(), "lab;1.5;2\r\nsay \"hi\";2.5;3\r\n\r\n");
  text.TextQuotes = "\"";
  EXPECT_EQ(text.AsString(), "\"lab\";1.5;2\r\n\"say \"\"hi\"\"\";2.5;3\r\n\r\n");
  text.IncludeLabels = false;
  EXPECT_EQ(text.AsString(), "1.5;2\r\n2.5;3\r\n\r\n");

  // Date-time lists are written as text; a null point's values are written.
  s->XValues()->SetDateTime(true);
  s->AddNullXY(0, 4);
  EXPECT_EQ(text.AsString().substr(0, 1), "\"");
  EXPECT_NE(text.AsString().find(";4\r\n"), std::string::npos);
}

TEST_F(TData, NullPointsLongLabelsAndFormats) {
  TLineSeries* s = Line("S", 0);
  s->AddXY(1, 1.26, std::string(300, 'w'));
  s->AddNullXY(2, 7);
  s->SetValueFormat("0.0");

  TSeriesDataXML xml(&chart, s);
  xml.IncludeHeader = false;
  xml.UseSeriesFormat = true;
  const std::string x = xml.AsString();
  EXPECT_NE(x.find("<point  text=\"" + std::string(300, 'w') + "\" X=\"1.0\" Y=\"1.3\"/>\r\n"), std::string::npos);
  EXPECT_NE(x.find("<point  text=\"\" X=\"2.0\"/>\r\n"), std::string::npos);
  EXPECT_EQ(x.substr(x.size() - 24), "</points>\r\n</series>\r\n\r\n");

  TSeriesDataText text(&chart, s);
  text.UseSeriesFormat = true;
  text.IncludeLabels = false;
  EXPECT_EQ(text.AsString(), "1.0\t1.3\r\n2.0\t7.0\r\n\r\n");

  TSeriesDataXLS xls(&chart, s);
  xls.UseSeriesFormat = true;
  const std::vector<std::string> cells = Cells(Saved(xls));
  EXPECT_EQ(cells, (std::vector<std::string>{"0,0:L:" + std::string(255, 'w'), "0,1:N:1", "0,2:N:1.3",
                                             "1,0:L:", "1,1:N:2", "1,2:B"}));
}

TEST_F(TData, SpreadsheetOfTwoByTwoIsTheseBytes) {
  TLineSeries* s = Line("S", 0);
  s->AddXY(0, 1.5);
  s->AddXY(1, -2);
  TSeriesDataXLS xls(&chart, s);
  xls.IncludeIndex = true;
  EXPECT_EQ(Hex(Saved(xls)),
            "090808000005100000000000"                    // BOF
            "00020a00" "0000" "0200" "0000" "0200" "0000"  // DIMENSIONS: 2 rows, 2 columns
            "03000f00" "0000" "0000" "000000" "0000000000000000"
            "03000f00" "0000" "0100" "000000" "000000000000f83f"
            "03000f00" "0100" "0000" "000000" "000000000000f03f"
            "03000f00" "0100" "0100" "000000" "00000000000000c0"
            "0a000000");  // EOF
}

TEST_F(TData, SpreadsheetRefusesBeforeWritingAnything) {
  TLineSeries* s = Line("S", 2);
  s->AddXY(2, 1000);
  TSeriesDataXLS xls(&chart, s);
  xls.UseSeriesFormat = true;  // "#,##0.###": 1,000 is no number
  TMemoryStream m;
  EXPECT_THROW(xls.SaveToStream(&m), EConvertError);
  EXPECT_EQ(m.Size(), 0);

  xls.UseSeriesFormat = false;
  for (int i = 3; i < 65535; ++i) s->AddXY(i, i);
  EXPECT_NO_THROW(xls.SaveToStream(&m));  // 65 535 rows fit
  const std::int64_t full = m.Size();
  xls.IncludeHeader = true;
  EXPECT_THROW(xls.SaveToStream(&m), EConvertError);
  EXPECT_EQ(m.Size(), full);

  TChart wide(nullptr);
  for (int i = 0; i < 129; ++i) {
    auto* w = new TLineSeries(&wide);
    w->SetParentChart(&wide);
    w->AddXY(0.5, 1);
  }
  TSeriesDataXLS all(&wide, nullptr);
  TMemoryStream n;
  EXPECT_THROW(all.SaveToStream(&n), EConvertError);  // 129 x (X, Y) columns
  EXPECT_EQ(n.Size(), 0);
}

TEST_F(TData, MarkupEscapesTextsAndNames) {
  TLineSeries* s = Line("a<b> & \"c\"\r\x06", 0);
  s->AddXY(1, 2, "x&y");
  s->YValues()->SetName("Y value");
  TSeriesDataXML xml(&chart, nullptr);
  xml.IncludeHeader = false;
  const std::string x = xml.AsString();
  EXPECT_NE(x.find("<series title=\"a&lt;b&gt; &amp; &quot;c&quot;&#13; \" type=\"Line\""),
            std::string::npos);
  EXPECT_NE(x.find("<point  text=\"x&amp;y\" X=\"1\" Y_value=\"2\"/>"), std::string::npos);

  TSeriesDataHTML html(&chart, nullptr);
  html.IncludeHeader = true;
  const std::string h = html.AsString();
  EXPECT_NE(h.find("<td>a&lt;b&gt; &amp; &quot;c&quot;&#13; </td>"), std::string::npos);
  EXPECT_NE(h.find("<td>x&amp;y</td>"), std::string::npos);
}

TEST_F(TData, XMLBytesInTheDeclaredEncoding) {
  TLineSeries* s = Line("\xCF\x89 \xC3\xA9", 1);
  TSeriesDataXML xml(&chart, s);
  xml.Encoding = "ISO-8859-1";
  const std::string latin = Saved(xml);
  EXPECT_EQ(latin.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<series title=\"&#969; &#233;\"", 0), 0u);
  xml.Encoding = "UTF-8";
  EXPECT_NE(Saved(xml).find("title=\"\xCF\x89 \xC3\xA9\""), std::string::npos);
  xml.Encoding = "UTF-16";
  const std::string wide = Saved(xml);
  EXPECT_EQ(Hex(wide.substr(0, 6)), "fffe3c003f00");
  EXPECT_NE(wide.find(std::string("\xC9\x03 \x00\xE9\x00", 6)), std::string::npos);
}

TEST_F(TData, NothingToExportWithoutAChart) {
  TSeriesDataText text(nullptr, nullptr);
  EXPECT_EQ(text.PointCount(), 0);
  EXPECT_EQ(text.AsString(), "\r\n");
  TSeriesDataXML xml(nullptr, nullptr);
  xml.IncludeHeader = false;
  EXPECT_EQ(xml.AsString(), "<chart>\r\n</chart>");
  TSeriesDataXLS xls(nullptr, nullptr);
  TMemoryStream m;
  xls.SaveToStream(&m);
  EXPECT_EQ(Hex(Str(m)), "090808000005100000000000" "00020a0000000000000000000000" "0a000000");
}

TEST_F(TData, FirstSeriesWithPointsDecidesTheColumns) {
  Line("empty", 0);
  Line("plain", 2);
  TLineSeries* labelled = Line("labelled", 2, true);
  labelled->Labels().SetLabel(1, "L");
  TSeriesDataText text(&chart, nullptr);
  // "plain" has no X values of its own: no X column, no label column; the empty
  // series still has its (empty) Y item.
  EXPECT_EQ(text.AsString(), "\t0.25\t0.25\r\n\t1.25\t1.25\r\n\r\n");
  text.GuessFormat();  // the text's own guess looks at every series' labels
  EXPECT_EQ(text.Flags(), TSeriesData::cfLabels);
}

namespace {

std::vector<std::string> Published(TClass C) {
  std::vector<std::string> names;
  for (const TPropInfo* p : GetPropList(C)) names.push_back(p->Name);
  return names;
}

TEST_F(TData, PublishedSettingsAreTheExportersOwn) {
  using V = std::vector<std::string>;
  const V base{"IncludeColors", "IncludeIndex", "IncludeHeader", "IncludeLabels", "UseSeriesFormat", "ValueFormat"};
  for (const char* name : {"TSeriesData", "TSeriesDataHTML", "TSeriesDataXLS"}) {
    ASSERT_TRUE(GetClass(name)) << name;
    EXPECT_EQ(Published(GetClass(name)), base) << name;
  }
  V text = base, xml = base;
  text.insert(text.end(), {"TextDelimiter", "TextQuotes"});
  xml.push_back("Encoding");
  EXPECT_EQ(Published(GetClass("TSeriesDataText")), text);
  EXPECT_EQ(Published(GetClass("TSeriesDataXML")), xml);

  // Settings made by name reach the export; the delimiter is a character code.
  TLineSeries* s = Line("L", 0);
  s->AddXY(0, 0.25);
  s->AddXY(0.5, 1.25, "b");
  std::unique_ptr<TObject> o(GetClass("TSeriesDataText")->NewInstance(nullptr));
  auto* t = dynamic_cast<TSeriesDataText*>(o.get());
  ASSERT_TRUE(t);
  t->Chart = &chart;
  EXPECT_EQ(GetOrdProp(t, "TextDelimiter"), 9);
  SetOrdProp(t, "TextDelimiter", ';');
  SetStrProp(t, "TextQuotes", "'");
  SetPropValue(t, "IncludeIndex", true);
  EXPECT_EQ(t->AsString(), "0;;0;0.25\r\n1;'b';0.5;1.25\r\n\r\n");
  EXPECT_THROW(SetOrdProp(t, "TextDelimiter", 256), EPropertyError);
  EXPECT_THROW(SetOrdProp(t, "TextDelimiter", -1), EPropertyError);
  EXPECT_EQ(t->TextDelimiter, ';');
}

TEST_F(TData, XMLStoresOnlyWhatDiffersFromItsOwnStart) {
  TSeriesDataXML x(&chart, nullptr);
  auto stored = [&](const char* name) { return IsStoredProp(&x, *GetPropInfo(x.ClassType(), name)); };
  // The header is on for XML alone: on is its default, off is what gets stored.
  EXPECT_FALSE(stored("IncludeHeader"));
  x.IncludeHeader = false;
  EXPECT_TRUE(stored("IncludeHeader"));
  EXPECT_FALSE(TSeriesDataText(&chart, nullptr).IncludeHeader);
  // The system's encoding and none are implied; any other is stored.
  EXPECT_EQ(x.Encoding, XMLEncodingName());
  EXPECT_FALSE(stored("Encoding"));
  x.Encoding = "";
  EXPECT_FALSE(stored("Encoding"));
  x.Encoding = x.Encoding == "UTF-8" ? "ISO-8859-1" : "UTF-8";
  EXPECT_TRUE(stored("Encoding"));
}

}  // namespace
