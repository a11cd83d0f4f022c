// The component stream of a chart: its bytes, its text form beside an independent
// reader's (Free Pascal's class library), and the series' point data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "chart_test_util.h"
#include "pascal_oracle.h"
#include "platform/filer.h"
#include "test_temp.h"

namespace {

// A form-like owner holding a chart and two series, as a built form holds them.
struct TTwoSeries {
  TComponent owner{nullptr};
  TChart* chart;
  TLineSeries* line;
  TBarSeries* bar;
  TTwoSeries() {
    charttest::EnsureUnits();
    owner.SetName("Form1");
    chart = new TChart(&owner);
    chart->SetName("Chart1");
    chart->SetBounds(8, 16, 400, 250);
    chart->SetColor(clWhite);
    line = new TLineSeries(&owner);
    line->SetName("Series1");
    line->SetTitle("Fr\xC3\xA9quence");  // a character that needs a wide string
    line->SetParentChart(chart);
    bar = new TBarSeries(&owner);
    bar->SetName("Series2");
    bar->SetSeriesColor(clRed);
    bar->SetParentChart(chart);
    line->AddXY(0.5, 1.25, "a");
    line->AddXY(2, -3.75);
    bar->AddXY(1, 300);
  }
};

std::vector<std::uint8_t> Write(TComponent* Root, TComponent* Component) {
  TMemoryStream out;
  {
    TWriter w(&out, 4096);
    w.SetRoot(Root);
    w.WriteSignature();
    w.WriteComponent(Component);
  }
  return out.Bytes();
}

std::string Hex(const std::vector<std::uint8_t>& Bytes, std::size_t From = 0) {
  static const char d[] = "0123456789abcdef";
  std::string h;
  for (std::size_t i = From; i < Bytes.size(); ++i) h += std::string{d[Bytes[i] >> 4], d[Bytes[i] & 15]};
  return h;
}

std::size_t Find(const std::vector<std::uint8_t>& Bytes, const std::string& What) {
  auto it = std::search(Bytes.begin(), Bytes.end(), What.begin(), What.end());
  return it == Bytes.end() ? std::string::npos : std::size_t(it - Bytes.begin());
}

std::string Text(const std::vector<std::uint8_t>& Bytes) {
  TMemoryStream in, out;
  in.WriteBuffer(Bytes.data(), std::int64_t(Bytes.size()));
  in.SetPosition(0);
  ObjectBinaryToText(&in, &out);
  return std::string(out.Bytes().begin(), out.Bytes().end());
}

}  // namespace

// The chart's own properties belong to many classes and change with them; the series
// records and the stream's frame are fixed here, the rest is read by Free Pascal below.
TEST(ChartStream, TwoSeriesGiveTheRecordedBytes) {
  TTwoSeries c;
  c.line->SetForceStoreData(1);
  const auto bytes = Write(&c.owner, c.chart);
  ASSERT_GT(bytes.size(), 16u);
  EXPECT_EQ(Hex(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 18)),
            "54504630" "06544368617274" "06436861727431");  // TPF0, class, name
  const std::size_t series = Find(bytes, "\x0bTLineSeries");
  ASSERT_NE(series, std::string::npos);
  EXPECT_EQ(Hex(bytes, series),
      "0b544c696e6553657269657307536572696573310b536572696573436f6c6f7204285ab400055469"
      "746c65120900000046007200e9007100750065006e00630065000c5856616c7565732e4e616d6506"
      "01580d5856616c7565732e4f72646572070b6c6f417363656e64696e670c5956616c7565732e4e61"
      "6d650601590d5956616c7565732e4f7264657207066c6f4e6f6e6504446174610a300000000102"
      "0000000202000000000000e03f000000000000f43f010000006100000000000000400000000000000e"
      "c00000000000000a5442617253657269657307536572696573320b536572696573436f6c6f72070563"
      "6c5265640c5856616c7565732e4e616d650601580d5856616c7565732e4f72646572070b6c6f4173"
      "63656e64696e670c5956616c7565732e4e616d6506034261720d5956616c7565732e4f7264657207"
      "066c6f4e6f6e65000000");
}

TEST(ChartStream, TextFormIsTheIndependentReadersBothWays) {
  SKIP_WITHOUT_FREE_PASCAL();
  TTwoSeries c;
  c.line->SetForceStoreData(1);
  c.bar->SetManualData(1);
  const auto bytes = Write(&c.owner, c.chart);
  const std::string binary(bytes.begin(), bytes.end());
  const std::string text = Text(bytes);
  auto theirs = oracle::PascalConvert(binary, false);
  ASSERT_TRUE(theirs);
  EXPECT_EQ(text, *theirs);
  auto back = oracle::PascalConvert(text, true);
  ASSERT_TRUE(back);
  EXPECT_EQ(Hex(std::vector<std::uint8_t>(back->begin(), back->end())), Hex(bytes));
  EXPECT_EQ(text.rfind("object Chart1: TChart\n", 0), 0u);
  EXPECT_NE(text.find("  object Series2: TBarSeries\n"), std::string::npos);
}

TEST(ChartStream, SeriesWriteTheirPointsByTheStorageFlags) {
  TTwoSeries c;
  auto dataOf = [&](TChartSeries* s) {
    const std::string text = Text(Write(&c.owner, c.chart));
    const std::size_t at = text.find("object " + s->Name() + ":");
    const std::size_t end = text.find("  end\n", at);
    return text.substr(at, end - at).find("Data = {") != std::string::npos;
  };
  EXPECT_FALSE(dataOf(c.line));  // points made by code are the program's to make again
  c.line->SetManualData(1);
  EXPECT_TRUE(dataOf(c.line));
  EXPECT_FALSE(dataOf(c.bar));
  c.line->SetOmitStoredData(1);
  EXPECT_FALSE(dataOf(c.line));
  c.line->SetForceStoreData(1);
  EXPECT_TRUE(dataOf(c.line));  // forcing wins over omitting
  c.bar->Clear();
  c.bar->SetForceStoreData(1);
  EXPECT_TRUE(dataOf(c.bar));  // forced: written even with no points (a count of 0)
}

TEST(ChartStream, DataCarriesEveryValueListColourAndLabel) {
  TTwoSeries c;
  c.line->Clear();
  c.line->AddXY(-1e-300, 1.0 / 3, "", clBlue);
  c.line->AddXY(7, 0.1, "\xE2\x82\xAC", clNone);  // a null point keeps its place
  TMemoryStream s;
  c.line->WriteData(&s);
  const auto& b = s.Bytes();
  auto i32 = [&](std::size_t at) {
    return std::uint32_t(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24);
  };
  auto f64 = [&](std::size_t at) {
    std::uint64_t bits = i32(at) | std::uint64_t(i32(at + 4)) << 32;
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
  };
  ASSERT_EQ(b.size(), 1u + 4 + 2 + 2 * (16 + 4 + 4) + 3);
  EXPECT_EQ(b[0], 1);  // the layout's version
  EXPECT_EQ(i32(1), 2u);
  EXPECT_EQ(b[5], 3);  // colours and labels
  EXPECT_EQ(b[6], 2);  // X and Y
  EXPECT_EQ(f64(7), -1e-300);
  EXPECT_EQ(f64(15), 1.0 / 3);
  EXPECT_EQ(TColor(i32(23)), clBlue);
  EXPECT_EQ(i32(27), 0u);
  EXPECT_EQ(f64(31), 7.0);
  EXPECT_EQ(f64(39), 0.1);
  EXPECT_EQ(TColor(i32(47)), clNone);
  EXPECT_EQ(i32(51), 3u);
  EXPECT_EQ(std::string(b.begin() + 55, b.end()), "\xE2\x82\xAC");
}
