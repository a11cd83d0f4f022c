// funcdump CLASS [Name=Value ...] < data.csv: runs one analysis function, made by
// class name and set by property name, over the CSV on standard input and prints
// every series it fills with 17 significant digits.
//
// The CSV has a header line. With Open, High, Low and Close columns the source is one
// price-bar series (X: the X column, else 0, 1, ...), and a Volume column becomes a
// volume series given to the function's Volume (close location value, money flow);
// otherwise every column but X is a source series of its own. A Null column of 1
// marks null points. The sources lie on an offscreen chart laid out at 600 x 400.
// Every cell must be a number as a whole; a bad one is named by line and column.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "analysis/candle.h"
#include "analysis/func_financial.h"
#include "app/mainwindow.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "engine/function.h"
#include "platform/rtl.h"
#include "platform/typinfo.h"
#include "platform/units.h"
#include "toolargs.h"

namespace {

// A call the tool cannot take: a class, option, property or value on the command line.
struct TWrongCall {
  std::string Message;
};

struct TTable {
  std::vector<std::string> Header;
  std::vector<std::vector<double>> Rows;
  int Column(const std::string& Name) const {
    for (size_t i = 0; i < Header.size(); ++i)
      if (Header[i] == Name) return int(i);
    return -1;
  }
};

// Cells between commas, trailing spaces and carriage returns cut; an empty last
// cell counts.
std::vector<std::string> SplitCsv(const std::string& Line) {
  std::vector<std::string> cells;
  size_t from = 0;
  for (;;) {
    const size_t comma = std::min(Line.find(',', from), Line.size());
    std::string cell = Line.substr(from, comma - from);
    while (!cell.empty() && (cell.back() == '\r' || cell.back() == ' ')) cell.pop_back();
    cells.push_back(cell);
    if (comma == Line.size()) return cells;
    from = comma + 1;
  }
}

// The whole text as a finite double, or why not.
std::string ReadNumber(const std::string& Text, double& Out) {
  long double v;
  if (Trim(Text).empty()) return "empty, not a number";
  if (!TryStrToFloat(Text, v) || std::isnan(v)) return "'" + Text + "' is not a number";
  if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<double>::max())
    return "'" + Text + "' is out of a double's range";
  Out = double(v);
  return "";
}

TTable ReadTable(std::istream& In) {
  TTable t;
  std::string line;
  if (!std::getline(In, line)) throw Exception("No header line on standard input");
  t.Header = SplitCsv(line);
  int lineNo = 1;
  auto where = [&](size_t Col) {
    std::string at = "line " + std::to_string(lineNo) + ", column " + std::to_string(Col + 1);
    return Col < t.Header.size() ? at + " (" + t.Header[Col] + ")" : at;
  };
  while (std::getline(In, line)) {
    ++lineNo;
    if (line.empty() || line == "\r") continue;
    const std::vector<std::string> cells = SplitCsv(line);
    if (cells.size() > t.Header.size())
      throw Exception(where(t.Header.size()) + ": the row has " + std::to_string(cells.size()) +
                      " cells, the header " + std::to_string(t.Header.size()));
    if (cells.size() < t.Header.size())
      throw Exception(where(cells.size()) + ": missing; the row has " + std::to_string(cells.size()) +
                      " cells, the header " + std::to_string(t.Header.size()));
    std::vector<double> row(cells.size());
    for (size_t c = 0; c < cells.size(); ++c)
      if (const std::string why = ReadNumber(cells[c], row[c]); !why.empty()) throw Exception(where(c) + ": " + why);
    t.Rows.push_back(row);
  }
  return t;
}

// Sets a published property from its text, as its kind reads it; the whole text must
// be the value.
void SetPropertyText(TObject* Object, const std::string& Name, const std::string& Text) {
  const TPropInfo* p = GetPropInfo(Object->ClassType(), Name);
  if (!p) throw TWrongCall{"unknown property '" + Name + "' of " + Object->ClassName()};
  auto bad = [&](const std::string& Why) { return TWrongCall{Name + "=" + Text + ": " + Why}; };
  switch (p->Kind) {
    case TPropKind::Boolean:
      if (Text == "1" || SameText(Text, "true")) SetPropValue(Object, Name, true);
      else if (Text == "0" || SameText(Text, "false")) SetPropValue(Object, Name, false);
      else throw bad("'" + Text + "' is not True or False");
      break;
    case TPropKind::Integer:
    case TPropKind::Color: {
      long long v;
      if (!TryStrToInt(Text, v)) throw bad("'" + Text + "' is not a whole number");
      // The ordinal properties hold 32 bits (colours unsigned).
      if (v < INT32_MIN || v > UINT32_MAX) throw bad("'" + Text + "' does not fit 32 bits");
      SetOrdProp(Object, Name, v);
      break;
    }
    case TPropKind::Float: {
      double v = 0;
      if (const std::string why = ReadNumber(Text, v); !why.empty()) throw bad(why);
      SetFloatProp(Object, Name, v);
      break;
    }
    case TPropKind::Enum:
    case TPropKind::Set:
      try {
        SetEnumProp(Object, Name, Text);
      } catch (const Exception&) {
        std::string names;
        for (const std::string& n : p->EnumNames) names += (names.empty() ? "" : ", ") + n;
        throw bad("'" + Text + "' is not one of " + names);
      }
      break;
    case TPropKind::String: SetStrProp(Object, Name, Text); break;
    default: throw TWrongCall{"property '" + Name + "' cannot be set from text"};
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

int Run(TClass cls, int argc, char** argv) {
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

// The classes GetClass makes that compute series.
std::vector<std::string> FunctionClasses() {
  std::vector<std::string> names;
  for (TClass c : GetRegisteredClasses())
    if (c->Create && c->InheritsFrom(TLumFunction::StaticClass())) names.push_back(c->Name);
  std::sort(names.begin(), names.end());
  return names;
}

std::string Usage() {
  return "usage: funcdump CLASS [Name=Value ...] < data.csv\n"
         "Runs one analysis function over the CSV on standard input and prints every series\n"
         "it fills. The CSV has a header line; its columns are\n"
         "  X              the points' X (else 0, 1, ...)\n"
         "  Null           1 marks a null point\n"
         "  Open, High, Low, Close\n"
         "                 all four make one price-bar series, the source; then\n"
         "  Volume         is the volume series given to the function's Volume\n"
         "  any other      without all four, each column is a source series\n"
         "Every cell is a number. Name=Value sets a published property of the function\n"
         "(True/False, whole numbers, numbers, enumeration names, text). CLASS is one of\n" +
         toolargs::NameLines(FunctionClasses());
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TUnitTable units(PhonarkUnits());
  units.Initialize();
  if (argc < 2) return toolargs::NoArguments(Usage());
  const std::string name = argv[1];
  if (toolargs::IsHelp(name)) return toolargs::Help(Usage());
  for (int i = 1; i < argc; ++i)
    if (toolargs::IsOption(argv[i])) return toolargs::Wrong("funcdump", "unknown option '" + std::string(argv[i]) + "'");
  TClass cls = GetClass(name);
  if (!cls || !cls->Create || !cls->InheritsFrom(TLumFunction::StaticClass()))
    return toolargs::Wrong("funcdump", "unknown function class '" + name + "'");
  for (int i = 2; i < argc; ++i)
    if (!std::strchr(argv[i], '=')) return toolargs::Wrong("funcdump", "'" + std::string(argv[i]) + "' is not Name=Value");
  try {
    return Run(cls, argc, argv);
  } catch (const TWrongCall& e) {
    return toolargs::Wrong("funcdump", e.Message);
  } catch (const Exception& e) {
    std::fprintf(stderr, "funcdump: %s\n", e.Message.c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "funcdump: %s\n", e.what());
    return 1;
  }
}
