// exportdemo OUTDIR [POINTS]: writes the sample chart as native stream (binary, text,
// XML), its data in every delimiter, quoting, encoding and format, for all series
// and for "Optic" alone, and its pictures (as the screen shows it, as enhanced and
// Windows metafile, as bitmap in every colour depth, monochrome and at 300 dpi), so
// independent readers can be pointed at the files. OUTDIR is made when missing;
// POINTS is checked before anything is.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/mainwindow.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "gallery/chartstream.h"
#include "gallery/exportformat.h"
#include "gallery/seriesdata.h"
#include "platform/rtl.h"
#include "platform/snapshot.h"
#include "platform/units.h"
#include "samples/samplechart.h"
#include "toolargs.h"

namespace {

void Write(const std::string& Dir, const std::string& Name, TLumExportData& Data) {
  Data.SaveToFile(Dir + "/" + Name);
}

// chart.png as the screen shows it; chart.emf, chart.wmf; chart_<bits>.bmp for each
// colour depth the bitmap options offer (0: the default), chart_mono.bmp and
// chart_300dpi.bmp.
void WritePictures(TChart* Chart, const std::string& Dir) {
  std::string why;
  if (!SaveControlToPng(Chart, Dir + "/chart.png", &why)) throw Exception(why);
  TEMFExportFormat metafile;
  metafile.SetPanel(Chart);
  metafile.SaveToFile(Dir + "/chart.emf");
  metafile.EMFOptions()->CBEnhanced->SetChecked(false);
  metafile.SaveToFile(Dir + "/chart.wmf");
  TBMPExportFormat bitmap;
  bitmap.SetPanel(Chart);
  TBMPOptions* options = bitmap.BMPOptions();
  const int bits[] = {0, 1, 4, 8, 15, 16, 24, 32};  // as the colour items list them
  for (int i = 0; i < options->CBColors->Items()->Count(); ++i) {
    options->CBColors->SetItemIndex(i);
    bitmap.SaveToFile(Dir + "/chart_" + std::to_string(bits[i]) + ".bmp");
  }
  options->CBColors->SetItemIndex(0);
  options->CBMono->SetChecked(true);
  bitmap.SaveToFile(Dir + "/chart_mono.bmp");
  options->CBMono->SetChecked(false);
  options->UDDpi->SetPosition(300);
  bitmap.SaveToFile(Dir + "/chart_300dpi.bmp");
}

// The spreadsheet holds at most 65 535 rows and its header takes one.
constexpr long MaxPoints = 65535 - 1;

std::string Usage() {
  return "usage: exportdemo OUTDIR [POINTS]\n"
         "Writes a sample chart in every stream, data-export and picture variant into\n"
         "OUTDIR (made when missing): pictures chart.png, chart.emf, chart.wmf,\n"
         "chart_<bits>.bmp (0: default), chart_mono.bmp, chart_300dpi.bmp. POINTS, the\n"
         "points of each curve, is a whole number from 0 to " +
         std::to_string(MaxPoints) + "\n(the spreadsheet's rows but its header); 21 when left out.\n";
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return toolargs::NoArguments(Usage());
  if (toolargs::IsHelp(args[0])) return toolargs::Help(Usage());
  if (toolargs::IsOption(args[0])) return toolargs::Wrong("exportdemo", "unknown option '" + args[0] + "'");
  if (args.size() > 2) return toolargs::Wrong("exportdemo", "unexpected argument '" + args[2] + "'");
  long long points = 21;
  // Digits only: no sign, no spaces, no base prefix.
  if (args.size() == 2 && (args[1].empty() || args[1].find_first_not_of("0123456789") != std::string::npos ||
                           !TryStrToInt(args[1], points) || points > MaxPoints))
    return toolargs::Wrong("exportdemo", "POINTS '" + args[1] + "' is not a whole number from 0 to " +
                                             std::to_string(MaxPoints));
  const std::string dir = args[0];
  std::error_code made;
  std::filesystem::create_directories(dir, made);
  if (made || !std::filesystem::is_directory(dir)) {
    std::fprintf(stderr, "exportdemo: cannot make OUTDIR '%s': %s\n", dir.c_str(),
                 made ? made.message().c_str() : "not a directory");
    return 1;
  }
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TUnitTable units(PhonarkUnits());
  units.Initialize();
  int rc = 0;
  try {
    TForm owner(nullptr);
    TChart* chart = BuildSampleChart(&owner, &owner, int(points));
    auto* optic = dynamic_cast<TChartSeries*>(owner.FindComponent("Optic"));

    WritePictures(chart, dir);
    WriteChartFile(chart, dir + "/chart.lum", true, false);
    WriteChartFile(chart, dir + "/chart.txt", true, true);
    WriteChartXMLFile(chart, dir + "/chart.xml", true, true);

    for (TChartSeries* only : {static_cast<TChartSeries*>(nullptr), static_cast<TChartSeries*>(optic)}) {
      const std::string who = only ? "optic" : "all";
      const struct { const char* name; char delimiter; } delimiters[] = {
          {"tab", '\t'}, {"comma", ','}, {"semicolon", ';'}, {"space", ' '}, {"colon", ':'}};
      for (const auto& d : delimiters)
        for (const char* quotes : {"", "\""}) {
          TSeriesDataText text(chart, only);
          text.TextDelimiter = d.delimiter;
          text.TextQuotes = quotes;
          text.IncludeHeader = text.IncludeIndex = text.IncludeColors = true;
          Write(dir, "data_" + who + "_" + d.name + (*quotes ? "_quoted" : "") + ".txt", text);
        }
      for (const char* enc : {"UTF-8", "UTF-16", "ISO-8859-1", "windows-1252", "shift_jis"}) {
        TSeriesDataXML xml(chart, only);
        xml.Encoding = enc;
        xml.IncludeIndex = xml.IncludeColors = true;
        Write(dir, "data_" + who + "_" + enc + ".xml", xml);
      }
      TSeriesDataHTML html(chart, only);
      html.IncludeHeader = html.IncludeIndex = html.IncludeColors = true;
      Write(dir, "data_" + who + ".html", html);
      TSeriesDataXLS xls(chart, only);
      xls.IncludeHeader = xls.IncludeIndex = xls.IncludeColors = true;
      Write(dir, "data_" + who + ".xls", xls);
    }
    std::printf("exportdemo: wrote %s\n", dir.c_str());
  } catch (Exception& e) {
    std::fprintf(stderr, "exportdemo: %s\n", e.Message.c_str());
    rc = 1;
  }
  units.Finalize();
  return rc;
}
