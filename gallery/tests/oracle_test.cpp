// Independent readers from Debian agree with our files: xmllint (well-formed XML and
// our values by XPath), Python's csv and html.parser, LibreOffice for the spreadsheet.
// Each check skips with its reason when its tool is missing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gallery/seriesdata.h"
#include "gallery/xmlwriter.h"
#include "gallery_test_util.h"
#include "oracle.h"
#include "platform/rtl.h"
#include "test_temp.h"

namespace {

using oracle::Have;

std::string Q(const std::string& S) { return "'" + S + "'"; }

// xmllint's answer to an XPath expression, without the line end it adds.
std::string XPath(const std::string& Expr, const std::string& File) {
  std::string out = oracle::Run("xmllint --xpath '" + Expr + "' " + Q(File)).value_or("(failed)");
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

// Lines of Python's reading, fields joined by \x1f.
std::vector<std::string> Lines(const std::string& Out) {
  std::vector<std::string> l;
  for (std::size_t at = 0; at < Out.size();) {
    std::size_t e = Out.find('\n', at);
    l.push_back(Out.substr(at, e - at));
    at = e == std::string::npos ? Out.size() : e + 1;
  }
  return l;
}

// A row as the reading scripts print it: fields joined by \x1f, carriage returns as "\r".
std::string Joined(const std::vector<std::string>& Row, bool ShowCR = true) {
  std::string want;
  for (const std::string& c : Row) want += (want.empty() ? "" : "\x1f") + c;
  for (std::size_t at; ShowCR && (at = want.find('\r')) != std::string::npos;) want.replace(at, 1, "\\r");
  return want;
}

struct TOracle : ::testing::Test {
  void SetUp() override {
    gallerytest::EnsureUnits();
    for (const char* name : {"Acoustic", "Optic"}) {
      auto* s = new TLineSeries(&chart);
      s->SetTitle(name);
      s->SetParentChart(&chart);
      for (int i = 0; i < 5; ++i) s->AddXY(i / 20.0, (name[0] == 'O' ? 1.7 : 0.1) + i / 3.0);
    }
    atoms = new TPointSeries(&chart);
    atoms->SetTitle("Atoms <&> \"q\"");
    atoms->SetParentChart(&chart);
    const std::string labels[4] = {"a1", "a,2 \"quoted\"; x", "a3 & <b> \xCF\x89\r", std::string(300, 'L')};
    for (int i = 0; i < 4; ++i) atoms->AddXY(i * 0.125, 1.0 / (i + 3), labels[i], RGB(10 * i, 20, 30));
    atoms->AddNullXY(0.5, 2, "null");
  }
  // Our cells of the Atoms series as the readers should see them.
  std::vector<std::vector<std::string>> AtomCells(bool Cut) {
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < atoms->Count(); ++i) {
      std::string label = atoms->Labels().GetLabel(i);
      if (Cut && label.size() > 255) label.resize(255);
      rows.push_back({std::to_string(i), label, ColorToHexText(atoms->GetValueColor(i)),
                      FloatToStr(atoms->XValues()->GetValue(i)), FloatToStr(atoms->YValues()->GetValue(i))});
    }
    return rows;
  }
  std::string File(const std::string& Name, TLumExportData& D) {
    const std::string f = TestTempFile(Name);
    D.SaveToFile(f);
    return f;
  }
  TChart chart{nullptr};
  TPointSeries* atoms = nullptr;
};

}  // namespace

TEST_F(TOracle, XmllintReadsEveryXMLAndFindsOurValues) {
  if (!Have("xmllint")) GTEST_SKIP() << "xmllint (Debian's libxml2-utils) is not installed";
  std::vector<std::string> files;
  for (TChartSeries* only : {static_cast<TChartSeries*>(nullptr), static_cast<TChartSeries*>(atoms)})
    for (const char* enc : {"UTF-8", "UTF-16", "ISO-8859-1", "windows-1252", "shift_jis"}) {
      TSeriesDataXML xml(&chart, only);
      xml.Encoding = enc;
      xml.IncludeIndex = xml.IncludeColors = true;
      files.push_back(File(std::string("data_") + (only ? "atoms_" : "all_") + enc + ".xml", xml));
    }
  const std::string chartXml = TestTempFile("chart.xml");
  WriteChartXMLFile(&chart, chartXml, true, true);
  files.push_back(chartXml);
  for (const std::string& f : files) EXPECT_TRUE(oracle::Run("xmllint --noout " + Q(f))) << f;

  for (const std::string& f : files) {
    if (f == chartXml || f.find("all_") == std::string::npos) continue;
    EXPECT_EQ(XPath("string(//series[3]/points/point[3]/@text)", f), "a3 & <b> \xCF\x89\r") << f;
    EXPECT_EQ(XPath("string(//series[3]/@title)", f), "Atoms <&> \"q\"") << f;
    EXPECT_EQ(XPath("string(//series[2]/points/point[5]/@Y)", f), FloatToStr(1.7 + 4 / 3.0)) << f;
    EXPECT_EQ(XPath("count(//series[3]/points/point[5]/@Y)", f), "0") << f;  // the null point
  }
}

TEST_F(TOracle, PythonCsvReadsOurCells) {
  const std::string script = oracle::ScriptFile("read_csv.py",
      "import csv, sys\n"
      "d, q = sys.argv[2], sys.argv[3]\n"
      "kw = {'quotechar': q, 'doublequote': True} if q else {'quoting': csv.QUOTE_NONE}\n"
      "for row in csv.reader(open(sys.argv[1], newline='', encoding='utf-8'), delimiter=d, **kw):\n"
      "    if row: print('\\x1f'.join(row).replace('\\r', '\\\\r'))\n");
  const auto expected = AtomCells(false);
  for (char d : {',', ';', '\t', ' '}) {
    TSeriesDataText text(&chart, atoms);
    text.TextDelimiter = d;
    text.TextQuotes = "\"";
    text.IncludeIndex = text.IncludeColors = text.IncludeHeader = true;
    const std::string f = File("atoms.csv", text);
    auto out = oracle::Run("/usr/bin/python3 " + Q(script) + " " + Q(f) + " " + Q(std::string(1, d)) + " '\"'");
    ASSERT_TRUE(out) << "delimiter " << int(d);
    const auto lines = Lines(*out);
    ASSERT_EQ(lines.size(), expected.size() + 1) << *out;
    EXPECT_EQ(lines[0], "Index\x1fText\x1f" "Colors\x1fX\x1f" + atoms->GetTitleOrName());
    for (std::size_t r = 0; r < expected.size(); ++r) {
      EXPECT_EQ(lines[r + 1], Joined(expected[r])) << "delimiter " << int(d);
    }
  }
}

TEST_F(TOracle, HtmlCellsReadBackUnescaped) {
  TSeriesDataHTML html(&chart, atoms);
  html.IncludeIndex = html.IncludeColors = html.IncludeHeader = true;
  const std::string f = File("atoms.html", html);
  if (Have("xmllint")) {
    auto msgs = oracle::Run("(xmllint --html --noout " + Q(f) + " 2>&1)");
    ASSERT_TRUE(msgs);
    EXPECT_EQ(*msgs, "");
  }
  const std::string script = oracle::ScriptFile("read_html.py",
      "import sys\nfrom html.parser import HTMLParser\n"
      "class P(HTMLParser):\n"
      "    def __init__(s):\n        super().__init__(convert_charrefs=True); s.row=None; s.cell=None\n"
      "    def handle_starttag(s, t, a):\n"
      "        if t == 'tr': s.row = []\n"
      "        if t == 'td': s.cell = ''\n"
      "    def handle_endtag(s, t):\n"
      "        if t == 'td': s.row.append(s.cell); s.cell = None\n"
      "        if t == 'tr': print('\\x1f'.join(s.row).replace('\\r', '\\\\r'))\n"
      "    def handle_data(s, d):\n"
      "        if s.cell is not None: s.cell += d\n"
      "P().feed(open(sys.argv[1], encoding='utf-8', newline='').read())\n");
  auto out = oracle::Run("/usr/bin/python3 " + Q(script) + " " + Q(f));
  ASSERT_TRUE(out);
  const auto lines = Lines(*out);
  const auto expected = AtomCells(false);
  ASSERT_EQ(lines.size(), expected.size() + 1) << *out;
  EXPECT_EQ(lines[0], "Index\x1fText\x1f" "Colors\x1fX\x1f" "Atoms <&> \"q\"");
  for (std::size_t r = 0; r < expected.size(); ++r) {
    EXPECT_EQ(lines[r + 1], Joined(expected[r]));
  }
}

// LibreOffice is large: scripts/install-office-oracle.sh installs it on request.
TEST_F(TOracle, LibreOfficeReadsTheSpreadsheet) {
  if (!Have("soffice"))
    GTEST_SKIP() << "soffice (Debian's libreoffice-calc-nogui; scripts/install-office-oracle.sh) is not installed";
  atoms->Labels().SetLabel(2, "a3 & <b>");  // the sheet keeps windows-1252 only
  TSeriesDataXLS xls(&chart, atoms);
  xls.IncludeIndex = xls.IncludeColors = xls.IncludeHeader = true;
  const std::string f = File("data.xls", xls);
  const std::string dir = TestTempFile("office");
  auto run = oracle::Run("HOME=" + Q(dir) + " soffice --headless --convert-to csv --outdir " + Q(dir) + " " + Q(f));
  ASSERT_TRUE(run);
  const std::string script = oracle::ScriptFile("read_lo.py",
      "import csv, sys\n"
      "for row in csv.reader(open(sys.argv[1], newline='', encoding='latin-1')):\n"
      "    print('\\x1f'.join(row))\n");
  auto out = oracle::Run("/usr/bin/python3 " + Q(script) + " " + Q(dir + "/data.csv"));
  ASSERT_TRUE(out);
  const auto lines = Lines(*out);
  auto expected = AtomCells(true);
  expected[4][4] = "";  // the null point's Y is a blank cell
  ASSERT_EQ(lines.size(), expected.size() + 1) << *out;
  EXPECT_EQ(lines[0], "Index\x1fText\x1f" "Colors\x1fX\x1fY");
  for (std::size_t r = 0; r < expected.size(); ++r) {
    EXPECT_EQ(lines[r + 1], Joined(expected[r], false));
  }
}
