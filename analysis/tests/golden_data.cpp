#include "golden_data.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace golden {
namespace {

std::vector<std::string> Split(const std::string& Line) {
  std::vector<std::string> fields;
  std::stringstream in(Line);
  for (std::string f; std::getline(in, f, ',');) fields.push_back(f);
  return fields;
}

std::vector<std::vector<std::string>> ReadRows(const std::string& File) {
  std::ifstream in(std::string(ANALYSIS_TEST_DATA) + "/" + File);
  EXPECT_TRUE(in.good()) << File;
  std::vector<std::vector<std::string>> rows;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line))
    if (!line.empty()) rows.push_back(Split(line));
  return rows;
}

}  // namespace

TBars ReadInput(const std::string& Name) {
  TBars b;
  for (const auto& r : ReadRows("input_" + Name + ".csv")) {
    std::vector<double>* cols[] = {&b.X, &b.Open, &b.High, &b.Low, &b.Close, &b.Volume};
    for (size_t c = 0; c < 6; ++c) cols[c]->push_back(std::stod(r.at(c)));
    b.Null.push_back(r.at(6) == "1");
  }
  return b;
}

void Fill(TOHLCSeries* S, const TBars& B) {
  S->BeginUpdate();
  for (size_t i = 0; i < B.X.size(); ++i)
    S->AddOHLC(B.X[i], B.Open[i], B.High[i], B.Low[i], B.Close[i], "", B.Null[i] ? clNone : clLumColor);
  S->EndUpdate();
}

std::map<std::string, TLine> ReadExpected(const std::string& Kind, const std::string& Input) {
  std::map<std::string, TLine> lines;
  for (const auto& r : ReadRows("expected_" + Kind + ".csv")) {
    if (r.at(0) != Input) continue;
    TLine& l = lines[r.at(1)];
    l.X.push_back(std::stod(r.at(2)));
    l.Y.push_back(std::stod(r.at(3)));
  }
  return lines;
}

void ExpectLine(const TLine& Expected, const std::vector<double>& X, const std::vector<double>& Y,
                const std::string& What) {
  ASSERT_EQ(X.size(), Expected.X.size()) << What;
  ASSERT_EQ(Y.size(), Expected.Y.size()) << What;
  for (size_t i = 0; i < X.size(); ++i) {
    ASSERT_EQ(X[i], Expected.X[i]) << What << " point " << i;
    ASSERT_NEAR(Y[i], Expected.Y[i], 1e-9 * std::max(1.0, std::fabs(Expected.Y[i]))) << What << " point " << i;
  }
}

}  // namespace golden
