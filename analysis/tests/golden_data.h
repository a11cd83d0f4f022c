// The golden-data files of the analysis functions (tests/data, written by
// tools/refgen): price inputs loaded into a series, and expected outputs by case.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "analysis/candle.h"

namespace golden {

struct TBars {
  std::vector<double> X, Open, High, Low, Close, Volume;
  std::vector<bool> Null;
};

// input_<Name>.csv ("table_a", "walk1", ...).
TBars ReadInput(const std::string& Name);
// The bars as points of S (null points coloured clNone).
void Fill(TOHLCSeries* S, const TBars& Bars);

struct TLine {
  std::vector<double> X, Y;
};
// The expected lines of one input in expected_<Kind>.csv, by case name.
std::map<std::string, TLine> ReadExpected(const std::string& Kind, const std::string& Input);

// Agreement within 1e-9 relative (absolute near zero), point by point, X exactly.
void ExpectLine(const TLine& Expected, const std::vector<double>& X, const std::vector<double>& Y,
                const std::string& What);

}  // namespace golden
