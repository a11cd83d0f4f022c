// The native chart stream: header, what the chart carries, the three variants and
// the header tests; Free Pascal's class library reads our bytes independently.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/errors.h"
#include "gallery/chartstream.h"
#include "gallery_test_util.h"
#include "pascal_oracle.h"
#include "platform/rtl.h"
#include "test_temp.h"

using gallerytest::Hex;
using gallerytest::Str;

namespace {

struct TDesignChart : TChart {
  using TChart::TChart;
  void Design() { SetState(csDesigning); }
};

struct TSmallChart {
  TComponent owner{nullptr};
  TDesignChart* chart;
  TLineSeries* line = nullptr;
  TPointSeries* points = nullptr;
  explicit TSmallChart(bool WithSeries = true) {
    gallerytest::EnsureUnits();
    owner.SetName("Form1");
    chart = new TDesignChart(&owner);
    chart->SetName("Chart1");
    if (!WithSeries) return;
    line = new TLineSeries(&owner);
    line->SetName("Series1");
    line->SetParentChart(chart);
    line->AddXY(0.5, 2, "a");
    points = new TPointSeries(&owner);
    points->SetName("Series2");
    points->SetParentChart(chart);
    points->AddXY(1, 3);
  }
  std::string Write(bool Data, bool Text) {
    TMemoryStream s;
    WriteChartStream(chart, &s, Data, Text);
    return Str(s);
  }
};

// A stream that takes Room bytes and then refuses.
class TShortStream : public TMemoryStream {
public:
  explicit TShortStream(std::int64_t Room) : room_(Room) {}
  std::int64_t Write(const void* Buffer, std::int64_t Count) override {
    if (Size() + Count > room_) throw EWriteError("Stream write error");
    return TMemoryStream::Write(Buffer, Count);
  }

private:
  std::int64_t room_;
};

bool HasData(const std::string& Stream) { return Stream.find("\x04" "Data\x0a") != std::string::npos; }

}  // namespace

TEST(ChartStream, HeaderFrameAndTheSeriesRecord) {
  TSmallChart c;
  const std::string b = c.Write(true, false);
  // Magic, version, signature, class and an empty name.
  EXPECT_EQ(Hex(b.substr(0, 16)), "603050015450463006544368617274" "00");
  const std::size_t at = b.find("\x0bTLineSeries");
  ASSERT_NE(at, std::string::npos);
  const std::size_t data = b.find("\x04" "Data", at);
  ASSERT_NE(data, std::string::npos);
  // Binary of 1 + 4 + 2 + 16 + 5 bytes: version 1, one point, labels, two lists,
  // X 0.5, Y 2, the label "a".
  EXPECT_EQ(Hex(b.substr(data, 5 + 1 + 4 + 28)),
            "0444617461" "0a1c000000" "01" "01000000" "02" "02" "000000000000e03f" "0000000000000040"
            "01000000" "61");
  // The chart ends its children, the file ends there.
  EXPECT_EQ(Hex(b.substr(b.size() - 2)), "0000");
}

TEST(ChartStream, ChartWithoutSeriesHasOnlyItsOwnProperties) {
  TSmallChart c(false);
  const std::string b = c.Write(true, false);
  EXPECT_EQ(b.find("Series"), std::string::npos);
  EXPECT_EQ(Hex(b.substr(b.size() - 2)), "0000");
  const std::string t = c.Write(true, true);
  EXPECT_EQ(t.rfind("object TChart\n", 0), 0u);  // text: no header, no name
  EXPECT_EQ(t.substr(t.size() - 4), "end\n");
  c.chart->Title()->Gradient()->SetStartColor(clRed);  // a shape's gradient: once, by its own name
  const std::string g = c.Write(false, true);
  EXPECT_NE(g.find("  Title.Gradient.StartColor = clRed\n"), std::string::npos) << g;
  EXPECT_EQ(g.find("Brush.Gradient"), std::string::npos) << g;
}

TEST(ChartStream, NameAndSeriesFlagsComeBackOnEveryPath) {
  TSmallChart c;
  c.line->SetManualData(1);
  EXPECT_FALSE(HasData(c.Write(false, false)));  // omitted, whatever the series would do
  const std::string with = c.Write(true, false);
  EXPECT_TRUE(HasData(with));
  EXPECT_NE(with.find("\x04" "Data\x0a", with.find("Series2")), std::string::npos);
  for (TChartSeries* s : {static_cast<TChartSeries*>(c.line), static_cast<TChartSeries*>(c.points)}) {
    EXPECT_EQ(s->ForceStoreData(), 0);
    EXPECT_EQ(s->OmitStoredData(), 0);
  }
  EXPECT_EQ(c.chart->Name(), "Chart1");

  // A writer that fails part-way: the same state afterwards.
  TShortStream shortStream(40);
  EXPECT_THROW(WriteChartStream(c.chart, &shortStream, true, false), EWriteError);
  EXPECT_THROW(WriteChartStream(c.chart, &shortStream, false, true), EWriteError);
  EXPECT_EQ(c.chart->Name(), "Chart1");
  EXPECT_EQ(c.line->ForceStoreData() + c.line->OmitStoredData() + c.points->OmitStoredData(), 0);

  // Designing, the chart keeps its name in the stream.
  c.chart->Design();
  EXPECT_EQ(c.Write(false, true).rfind("object Chart1: TChart\n", 0), 0u);
}

TEST(ChartStream, FileNamesAndFilesOfEachVariant) {
  gallerytest::EnsureUnits();  // the extension is one of the message texts
  EXPECT_EQ(ChartFileName("chart"), "chart.lum");
  EXPECT_EQ(ChartFileName("chart.txt"), "chart.txt");
  EXPECT_EQ(ChartFileName("chart."), "chart.");
  EXPECT_EQ(ChartFileName("dir.v2/chart"), "dir.v2/chart.lum");

  TSmallChart c;
  const std::string dir = TestTempFile("dir.v2");
  std::filesystem::create_directories(dir);
  WriteChartFile(c.chart, dir + "/bin", true, false);
  WriteChartFile(c.chart, dir + "/text", true, true);
  WriteChartXMLFile(c.chart, dir + "/xml", true, true);
  EXPECT_EQ(gallerytest::ReadFile(dir + "/bin.lum"), c.Write(true, false));
  EXPECT_EQ(gallerytest::ReadFile(dir + "/text.lum"), c.Write(true, true));
  EXPECT_EQ(gallerytest::ReadFile(dir + "/xml.lum").rfind("<?xml version=\"1.0\" encoding=", 0), 0u);
  EXPECT_TRUE(PartFilesBeside(dir + "/bin.lum").empty());
}

TEST(ChartStream, HeaderTestsLeaveThePosition) {
  auto check = [](const std::string& Bytes, bool Chart, bool Magic) {
    TMemoryStream s;
    const std::string all = "xy" + Bytes;
    s.WriteBuffer(all.data(), std::int64_t(all.size()));
    s.SetPosition(2);
    EXPECT_EQ(IsChartStream(&s), Chart) << Hex(Bytes);
    EXPECT_EQ(HasChartMagic(&s), Magic) << Hex(Bytes);
    EXPECT_EQ(s.Position(), 2);
  };
  check("", false, false);
  check("object C: TChart", true, false);
  check("Object", true, false);
  check(std::string("\x60\x30\x50\x01", 4), true, true);
  check(std::string("\x60\x30", 2), true, true);  // a short read is zero-filled
  check(std::string("\x60", 1), false, false);
  check("TPF0", false, false);
}

TEST(ChartStream, StreamToTextOfEachForm) {
  TSmallChart c;
  const std::string bin = c.Write(true, false);
  const std::string text = c.Write(true, true);
  auto convert = [](const std::string& In) {
    TMemoryStream s, out;
    s.WriteBuffer(In.data(), std::int64_t(In.size()));
    s.SetPosition(0);
    ChartStreamToText(&s, &out);
    return Str(out);
  };
  EXPECT_EQ(convert(bin), text);
  EXPECT_EQ(convert(text), text);  // text already: copied
  EXPECT_EQ(text.find("\x60\x30"), std::string::npos);

  TMemoryStream junk, target;
  junk.WriteBuffer("TPF0", 4);
  junk.SetPosition(0);
  target.WriteBuffer("keep", 4);
  try {
    ChartStreamToText(&junk, &target);
    ADD_FAILURE() << "no exception";
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Wrong *.lum file format");
  }
  EXPECT_EQ(Str(target), "keep");
}

TEST(ChartStream, XMLIsWrittenAtTheCallersPosition) {
  TSmallChart c;
  TMemoryStream s;
  s.WriteBuffer("before:", 7);
  WriteChartXMLStream(c.chart, &s, false, false);
  const std::string all = Str(s);
  EXPECT_EQ(all.rfind("before:<TChart>\r\n", 0), 0u);
  EXPECT_NE(all.find("  <TLineSeries Name=\"Series1\">"), std::string::npos);
  EXPECT_EQ(all.substr(all.size() - 11), "</TChart>\r\n");
}

TEST(ChartStream, UnitRegistersTheChartClassesOnce) {
  gallerytest::EnsureUnits();
  ASSERT_EQ(GetClass("TODBCChart"), TODBCChart::StaticClass());
  LumStoreUnitInit();
  LumStoreUnitDone();  // the earlier start-up still holds them
  EXPECT_EQ(GetClass("TChartChart"), TChartChart::StaticClass());
  LumStoreUnitDone();
  EXPECT_EQ(GetClass("TChartChart"), nullptr);
  LumStoreUnitInit();
  EXPECT_EQ(GetClass("TChartChart"), TChartChart::StaticClass());
  EXPECT_EQ(LumMsg_WrongFileFormat, "Wrong *.lum file format");
}

TEST(ChartStream, FreePascalReadsOurBinaryAndOurText) {
  SKIP_WITHOUT_FREE_PASCAL();
  TSmallChart c;
  c.line->SetTitle("Fr\xC3\xA9quence \"q\" 'x'");
  c.line->AddXY(1.0 / 3, -1e-300, "\xCF\x89");
  const std::string bin = c.Write(true, false).substr(4);
  auto theirText = oracle::PascalConvert(bin, false);
  ASSERT_TRUE(theirText);
  auto back = oracle::PascalConvert(*theirText, true);
  ASSERT_TRUE(back);
  EXPECT_EQ(Hex(*back), Hex(bin));
  auto fromOurs = oracle::PascalConvert(c.Write(true, true), true);
  ASSERT_TRUE(fromOurs);
  EXPECT_EQ(Hex(*fromOurs), Hex(bin));
}
