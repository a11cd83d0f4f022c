// The native chart stream: a 4-byte header and the chart's component stream
// (binary), its readable text form, or that text as XML.
#pragma once
#include <cstdint>
#include <string>

#include "canvas/lumconst.h"  // LumFileExtension, LumMsg_WrongFileFormat
#include "chart/chart.h"
#include "platform/classes.h"

constexpr std::uint16_t LumChartMagic = 0x3060;
constexpr std::uint16_t LumChartVersion = 0x0150;

// Kept so streams that name these classes find them; they add nothing.
class TChartChart : public TChart {
  DECLARE_CLASS(TChartChart, TChart)
public:
  explicit TChartChart(TComponent* AOwner) : TChart(AOwner) {}
};

class TODBCChart : public TChartChart {
  DECLARE_CLASS(TODBCChart, TChartChart)
public:
  explicit TODBCChart(TComponent* AOwner) : TChartChart(AOwner) {}
};

void WriteChartStreamHeader(TStream* Stream);
// The chart as binary (header and component stream) or as text (no header), with
// or without its series' points. The chart's Name (dropped from the stream unless
// designing) and the series' storage flags are restored whatever happens.
void WriteChartStream(TCustomChart* Chart, TStream* Stream, bool IncludeData, bool TextFormat);
// Written beside the completed file name and renamed over it when whole.
void WriteChartFile(TCustomChart* Chart, const std::string& FileName, bool IncludeData, bool TextFormat);
// The text form converted to XML, written at Stream's position.
void WriteChartXMLStream(TCustomChart* Chart, TStream* Stream, bool IncludeData, bool XMLHeader);
void WriteChartXMLFile(TCustomChart* Chart, const std::string& FileName, bool IncludeData, bool XMLHeader);
// FileName, with "." and LumFileExtension when it has no extension.
std::string ChartFileName(const std::string& FileName);
// A native stream at Source's position as text into Target; ChartException
// LumMsg_WrongFileFormat (Target untouched) when it is neither form.
void ChartStreamToText(TStream* Source, TStream* Target);
// Both leave the position where it was.
bool IsChartStream(TStream* Stream);
bool HasChartMagic(TStream* Stream);

// Start-up of the storage unit: the two chart classes, registered once however often it runs; the matching shut-down undoes that.
void LumStoreUnitInit();
void LumStoreUnitDone();
