// The data exporters: the points of one series, or of every series of a chart, as
// delimited text, XML, an HTML table or a BIFF spreadsheet.
#pragma once
#include <cstdint>
#include <string>

#include "engine/exportdata.h"
#include "engine/panel.h"
#include "engine/series.h"

// "#rrggbb" of the colour; clLumColor gives "#000000".
std::string ColorToHexText(TColor Color);

class TSeriesData : public TLumExportData {
  DECLARE_CLASS(TSeriesData, TLumExportData)
public:
  TSeriesData(TCustomAxisPanel* AChart = nullptr, TChartSeries* ASeries = nullptr);
  static void DefineProperties(TPropertyTable& t);

  TCustomAxisPanel* Chart = nullptr;
  bool IncludeColors = false;
  bool IncludeIndex = false;
  bool IncludeHeader = false;
  bool IncludeLabels = true;
  TChartSeries* Series = nullptr;
  bool UseSeriesFormat = false;
  std::string ValueFormat;

  // Content flags: which columns the series have.
  enum { cfXValues = 1, cfColors = 2, cfLabels = 4 };
  std::uint8_t Flags() const { return flags_; }

  // Every data row, each followed by CR LF.
  std::string AsString() override;
  virtual void GuessFormat();
  // Flags of ASeries, or of the chart's first series with points when nil.
  virtual void GuessSeriesFormat(TChartSeries* ASeries);
  virtual std::string PointToString(int Index);
  // Beside the file and renamed when whole; an error names the file.
  void SaveToFile(const std::string& FileName) override;

  void PrepareFormat(TChartSeries* ASeries);
  // Rows: the series' points, or the most points of any of the chart's series.
  int PointCount() const;
  std::string FormatExportValue(const TChartSeries* ASeries, double Value) const;
  // FormatExportValue appended to Out, with no string of its own.
  void AppendExportValue(std::string& Out, const TChartSeries* ASeries, double Value) const;

protected:
  // The exported series: the one, or the chart's in list order.
  std::vector<TChartSeries*> ExportedSeries() const;
  // Appends the row of point Index to Out (PointToString without a string per row).
  virtual void AppendPoint(std::string& Out, int Index, const std::vector<TChartSeries*>& All);
  std::uint8_t flags_ = 0;
};

class TSeriesDataText : public TSeriesData {
  DECLARE_CLASS(TSeriesDataText, TSeriesData)
public:
  TSeriesDataText(TCustomAxisPanel* AChart = nullptr, TChartSeries* ASeries = nullptr)
      : TSeriesData(AChart, ASeries) {}
  static void DefineProperties(TPropertyTable& t);
  char TextDelimiter = '\t';
  std::string TextQuotes;

  std::string AsString() override;
  void GuessFormat() override;

protected:
  void AppendPoint(std::string& Out, int Index, const std::vector<TChartSeries*>& All) override;

private:
  std::string Quoted(const std::string& Text) const;
};

class TSeriesDataXML : public TSeriesData {
  DECLARE_CLASS(TSeriesDataXML, TSeriesData)
public:
  TSeriesDataXML(TCustomAxisPanel* AChart = nullptr, TChartSeries* ASeries = nullptr);
  static void DefineProperties(TPropertyTable& t);
  // "UTF-8" as it is; "UTF-16"/"UTF-16LE" little-endian with a byte-order mark;
  // any other: ASCII with character references for the rest.
  std::string Encoding;

  std::string AsString() override;
  void SaveToStream(TStream* Stream) override;

private:
  void AppendSeries(std::string& Out, TChartSeries* ASeries);
};

class TSeriesDataHTML : public TSeriesData {
  DECLARE_CLASS(TSeriesDataHTML, TSeriesData)
public:
  TSeriesDataHTML(TCustomAxisPanel* AChart = nullptr, TChartSeries* ASeries = nullptr)
      : TSeriesData(AChart, ASeries) {}
  std::string AsString() override;

protected:
  void AppendPoint(std::string& Out, int Index, const std::vector<TChartSeries*>& All) override;
};

class TSeriesDataXLS : public TSeriesData {
  DECLARE_CLASS(TSeriesDataXLS, TSeriesData)
public:
  TSeriesDataXLS(TCustomAxisPanel* AChart = nullptr, TChartSeries* ASeries = nullptr)
      : TSeriesData(AChart, ASeries) {}
  // The whole workbook is built first: more than 65 535 rows or 256 columns, or a
  // format that does not read back as a number, raises before a byte is written.
  void SaveToStream(TStream* Stream) override;
};
