// The component stream of a chart: its bytes, its text form beside an independent
// reader's (Free Pascal's class library), and the series' point data.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>

#include "chart_test_util.h"
#include "oracle.h"
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

std::string Text(const std::vector<std::uint8_t>& Bytes) {
  TMemoryStream in, out;
  in.WriteBuffer(Bytes.data(), std::int64_t(Bytes.size()));
  in.SetPosition(0);
  ObjectBinaryToText(&in, &out);
  return std::string(out.Bytes().begin(), out.Bytes().end());
}

}  // namespace

TEST(ChartStream, Probe) {
  TTwoSeries c;
  c.line->SetForceStoreData(1);
  auto b = Write(&c.owner, c.chart);
  std::ofstream("/tmp/fpt/chart.bin", std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
  std::ofstream("/tmp/fpt/chart.txt", std::ios::binary) << Text(b);
}
