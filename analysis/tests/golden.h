// Golden data of the analysis functions: the CSV files tools/refgen/ writes into
// analysis/tests/data/, read back, and an input table loaded into a series.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/series.h"

namespace golden {

// A CSV with a header line: cells as text, columns found by name.
struct TCsv {
  std::vector<std::string> Header;
  std::vector<std::vector<std::string>> Rows;

  size_t Column(const std::string& Name) const {
    for (size_t i = 0; i < Header.size(); ++i)
      if (Header[i] == Name) return i;
    ADD_FAILURE() << "no column " << Name;
    return 0;
  }
  double Number(size_t Row, const std::string& Name) const { return std::stod(Rows[Row][Column(Name)]); }
};

inline TCsv ReadCsv(const std::string& File) {
  TCsv csv;
  std::ifstream in(std::string(ANALYSIS_TEST_DATA) + "/" + File);
  EXPECT_TRUE(in.good()) << File;
  std::string line;
  for (bool header = true; std::getline(in, line); header = false) {
    std::vector<std::string> cells;
    std::stringstream s(line);
    for (std::string cell; std::getline(s, cell, ',');) cells.push_back(cell);
    (header ? csv.Header : csv.Rows.emplace_back()) = std::move(cells);
  }
  return csv;
}

// input_<Name>.csv into Series: X against Column (a null point where Null is 1).
inline void LoadInput(TChartSeries* Series, const std::string& Name, const std::string& Column = "Close") {
  const TCsv csv = ReadCsv("input_" + Name + ".csv");
  Series->BeginUpdate();
  for (size_t r = 0; r < csv.Rows.size(); ++r) {
    const double x = csv.Number(r, "X"), y = csv.Number(r, Column);
    if (csv.Number(r, "Null") != 0) Series->AddNullXY(x, y, "");
    else Series->AddXY(x, y, "", clLumColor);
  }
  Series->EndUpdate();
}

// Expected rows (case,x,value) grouped by case.
struct TExpected {
  std::vector<double> X, Value;
};
inline std::map<std::string, TExpected> ReadExpected(const std::string& File) {
  const TCsv csv = ReadCsv(File);
  std::map<std::string, TExpected> cases;
  for (size_t r = 0; r < csv.Rows.size(); ++r) {
    TExpected& e = cases[csv.Rows[r][0]];
    e.X.push_back(csv.Number(r, "x"));
    e.Value.push_back(csv.Number(r, "value"));
  }
  return cases;
}

// Within 1e-9 of the expected value, relative (absolute below 1).
inline ::testing::AssertionResult Agrees(double Got, double Want) {
  if (std::fabs(Got - Want) <= 1e-9 * std::max(1.0, std::fabs(Want))) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << Got << " instead of " << Want;
}

}  // namespace golden
