// funcdump CLASS [Name=Value ...] < data.csv: runs one analysis function, made by
// class name and set by property name, over the CSV on standard input and prints
// every series it fills with 17 significant digits.
//
// The CSV has a header line. With Open, High, Low and Close columns the source is one
// price-bar series (X: the X column, else 0, 1, ...), and a Volume column becomes a
// volume series given to the function's Volume (close location value, money flow);
// otherwise every column but X is a source series of its own. A Null column of 1
// marks null points. The sources lie on an offscreen chart laid out at 600 x 400.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/candle.h"
#include "analysis/func_financial.h"
#include "app/mainwindow.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "engine/function.h"
#include "platform/typinfo.h"
#include "platform/units.h"

namespace {

struct TTable {
  std::vector<std::string> Header;
  std::vector<std::vector<double>> Rows;
  int Column(const std::string& Name) const {
    for (size_t i = 0; i < Header.size(); ++i)
      if (Header[i] == Name) return int(i);
    return -1;
  }
};

std::vector<std::string> SplitCsv(const std::string& Line) {
  std::vector<std::string> cells;
  std::stringstream s(Line);
  for (std::string cell; std::getline(s, cell, ',');) {
    while (!cell.empty() && (cell.back() == '\r' || cell.back() == ' ')) cell.pop_back();
    cells.push_back(cell);
  }
  return cells;
}

TTable ReadTable(std::istream& In) {
  TTable t;
  std::string line;
  if (!std::getline(In, line)) throw Exception("No header line on standard input");
  t.Header = SplitCsv(line);
  while (std::getline(In, line)) {
    if (line.empty()) continue;
    std::vector<double> row;
    for (const std::string& cell : SplitCsv(line)) row.push_back(cell.empty() ? 0 : std::stod(cell));
    row.resize(t.Header.size());
    t.Rows.push_back(row);
  }
  return t;
}

// Sets a published property from its text, as its kind reads it.
void SetPropertyText(TObject* Object, const std::string& Name, const std::string& Text) {
  const TPropInfo* p = GetPropInfo(Object->ClassType(), Name);
  if (!p) throw Exception("Unknown property: " + Name);
  switch (p->Kind) {
    case TPropKind::Boolean: SetPropValue(Object, Name, Text == "1" || Text == "True" || Text == "true"); break;
    case TPropKind::Integer:
    case TPropKind::Color: SetOrdProp(Object, Name, std::stoll(Text, nullptr, 0)); break;
    case TPropKind::Float: SetFloatProp(Object, Name, std::stold(Text)); break;
    case TPropKind::Enum:
    case TPropKind::Set: SetEnumProp(Object, Name, Text); break;
    case TPropKind::String: SetStrProp(Object, Name, Text); break;
    default: throw Exception("Property " + Name + " cannot be set from text");
  }
}

// A series under a line naming it (the function's own outputs have no name: "Output N").
void Print(TChartSeries* S, int Number) {
  const std::string name = S->Name().empty() ? "Output " + std::to_string(Number) : S->Name();
  std::printf("# %s (%s)\n", name.c_str(), S->ClassName().c_str());
  const TChartValueLists& lists = S->ValuesList();
  for (int l = 0; l < lists.Count(); ++l) std::printf("%s%s", l ? "," : "", lists[l]->Name().c_str());
  std::printf("\n");
  for (int i = 0; i < S->Count(); ++i) {
    for (int l = 0; l < lists.Count(); ++l) std::printf("%s%.17g", l ? "," : "", lists[l]->GetValue(i));
    std::printf("\n");
  }
}

int Run(int argc, char** argv) {
  TClass cls = GetClass(argv[1]);
  if (!cls || !cls->InheritsFrom(TLumFunction::StaticClass())) throw Exception(std::string("No function class ") + argv[1]);
  const TTable table = ReadTable(std::cin);
  const int xCol = table.Column("X"), nullCol = table.Column("Null");
  auto xAt = [&](size_t r) { return xCol >= 0 ? table.Rows[r][size_t(xCol)] : double(r); };
  auto isNull = [&](size_t r) { return nullCol >= 0 && table.Rows[r][size_t(nullCol)] != 0; };

  TComponent owner(nullptr);
  auto* chart = new TChart(&owner);
  chart->SetBounds(0, 0, 600, 400);
  chart->SetView3D(false);
  std::vector<TChartSeries*> sources;
  TChartSeries* volume = nullptr;
  const int o = table.Column("Open"), h = table.Column("High"), l = table.Column("Low"), c = table.Column("Close");
  if (o >= 0 && h >= 0 && l >= 0 && c >= 0) {
    auto* bars = new TOHLCSeries(&owner);
    bars->SetName("Prices");
    bars->SetParentChart(chart);
    const int v = table.Column("Volume");
    if (v >= 0) {
      volume = new TVolumeSeries(&owner);
      volume->SetName("Volume");
      volume->SetParentChart(chart);
    }
    for (size_t r = 0; r < table.Rows.size(); ++r) {
      const std::vector<double>& row = table.Rows[r];
      bars->AddOHLC(xAt(r), row[size_t(o)], row[size_t(h)], row[size_t(l)], row[size_t(c)], "",
                    isNull(r) ? clNone : clLumColor);
      if (volume) volume->AddXY(xAt(r), row[size_t(v)], "", clLumColor);
    }
    sources.push_back(bars);
  } else {
    for (size_t col = 0; col < table.Header.size(); ++col) {
      if (int(col) == xCol || int(col) == nullCol) continue;
      auto* s = new TLineSeries(&owner);
      s->SetName("Source" + std::to_string(sources.size() + 1));
      s->SetTitle(table.Header[col]);
      s->SetParentChart(chart);
      for (size_t r = 0; r < table.Rows.size(); ++r)
        s->AddXY(xAt(r), table.Rows[r][col], "", isNull(r) ? clNone : clLumColor);
      sources.push_back(s);
    }
  }
  // Lay the axes out: functions that work in pixels need them.
  delete chart->CreateBitmap(clWhite, Rect(0, 0, 600, 400), pf32bit);

  auto* output = new TLineSeries(&owner);
  output->SetName("Output");
  output->SetParentChart(chart);
  auto* function = static_cast<TLumFunction*>(cls->NewInstance(&owner));
  function->SetName("Function");
  output->SetFunction(function);
  function->BeginUpdate();
  if (auto* clv = dynamic_cast<TCLVFunction*>(function)) clv->SetVolume(volume);
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    const size_t eq = arg.find('=');
    if (eq == std::string::npos) throw Exception("Expected Name=Value: " + arg);
    SetPropertyText(function, arg.substr(0, eq), arg.substr(eq + 1));
  }
  if (!sources.empty()) output->SetDataSource(sources[0]);
  for (size_t i = 1; i < sources.size(); ++i) output->GetDataSources()->Add(sources[i]);
  function->EndUpdate();
  output->RefreshSeries();

  Print(output, 1);
  int number = 1;
  for (TChartSeries* s : chart->SeriesList())
    if (s != output && s != volume && std::find(sources.begin(), sources.end(), s) == sources.end()) Print(s, ++number);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: funcdump CLASS [Name=Value ...] < data.csv\n");
    return 2;
  }
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TUnitTable units(PhonarkUnits());
  units.Initialize();
  try {
    return Run(argc, argv);
  } catch (const Exception& e) {
    std::fprintf(stderr, "funcdump: %s\n", e.Message.c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "funcdump: %s\n", e.what());
    return 1;
  }
}
