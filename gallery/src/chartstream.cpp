#include "gallery/chartstream.h"

#include <cstring>
#include <memory>
#include <vector>

#include "engine/errors.h"
#include "engine/series.h"
#include "gallery/chartgrid.h"
#include "gallery/seriesdata.h"
#include "gallery/xmlwriter.h"
#include "namedfile.h"
#include "platform/filer.h"
#include "platform/rtl.h"

IMPLEMENT_CLASS(TChartChart, TChart)
IMPLEMENT_CLASS(TODBCChart, TChartChart)

void WriteChartStreamHeader(TStream* Stream) {
  const std::uint8_t header[4] = {LumChartMagic & 0xFF, LumChartMagic >> 8, LumChartVersion & 0xFF,
                                  LumChartVersion >> 8};
  Stream->WriteBuffer(header, 4);
}

namespace {

// Gives the chart back its Name and the series their storage flags however the
// writing ends.
class TStoreState {
public:
  TStoreState(TCustomChart* Chart, bool IncludeData)
      : chart_(Chart), designing_(Chart->ComponentState() & csDesigning), name_(Chart->Name()) {
    if (!designing_) Chart->SetName("");
    for (int i = 0; i < Chart->SeriesCount(); ++i) {
      TChartSeries* s = Chart->GetSeries(i);
      if (IncludeData) s->SetForceStoreData(1);
      else s->SetOmitStoredData(1);
    }
  }
  ~TStoreState() {
    for (int i = 0; i < chart_->SeriesCount(); ++i) {
      chart_->GetSeries(i)->SetForceStoreData(0);
      chart_->GetSeries(i)->SetOmitStoredData(0);
    }
    if (!designing_) {
      try {
        chart_->SetName(name_);
      } catch (...) {
        // The name was the chart's own a moment ago; nothing can refuse it now.
      }
    }
  }

private:
  TCustomChart* chart_;
  bool designing_;
  std::string name_;
};

void PeekHeader(TStream* Stream, std::uint8_t (&Buf)[4]) {
  std::memset(Buf, 0, 4);
  std::int64_t at = Stream->Position();
  Stream->Read(Buf, 4);
  Stream->SetPosition(at);
}

}  // namespace

void WriteChartStream(TCustomChart* Chart, TStream* Stream, bool IncludeData, bool TextFormat) {
  std::unique_ptr<TMemoryStream> memory;
  TStream* out = Stream;
  if (TextFormat) {
    memory = std::make_unique<TMemoryStream>();
    out = memory.get();
  }
  WriteChartStreamHeader(out);
  {
    TStoreState state(Chart, IncludeData);
    TWriter writer(out, 4096);
    writer.SetRoot(Chart->Owner() ? Chart->Owner() : Chart);
    writer.WriteSignature();
    writer.WriteComponent(Chart);
    writer.FlushBuffer();
  }
  if (TextFormat) {
    memory->SetPosition(0);
    ChartStreamToText(memory.get(), Stream);
  }
}


void WriteChartFile(TCustomChart* Chart, const std::string& FileName, bool IncludeData, bool TextFormat) {
  const std::string name = ChartFileName(FileName);
  SaveNamedFile(name, [&](TStream* S) { WriteChartStream(Chart, S, IncludeData, TextFormat); });
}

void WriteChartXMLStream(TCustomChart* Chart, TStream* Stream, bool IncludeData, bool XMLHeader) {
  // Converted apart, so nothing the caller's stream held before gets into the XML.
  TMemoryStream text;
  WriteChartStream(Chart, &text, IncludeData, true);
  text.SetPosition(0);
  ComponentToXML(&text, XMLHeader);
  Stream->WriteBuffer(text.Memory(), text.Size());
}

void WriteChartXMLFile(TCustomChart* Chart, const std::string& FileName, bool IncludeData, bool XMLHeader) {
  const std::string name = ChartFileName(FileName);
  SaveNamedFile(name, [&](TStream* S) { WriteChartXMLStream(Chart, S, IncludeData, XMLHeader); });
}

std::string ChartFileName(const std::string& FileName) {
  return ExtractFileExt(FileName).empty() ? FileName + "." + LumFileExtension : FileName;
}

bool HasChartMagic(TStream* Stream) {
  std::uint8_t b[4];
  PeekHeader(Stream, b);
  return (b[0] | b[1] << 8) == LumChartMagic;
}

bool IsChartStream(TStream* Stream) {
  std::uint8_t b[4];
  PeekHeader(Stream, b);
  return (b[0] | b[1] << 8) == LumChartMagic || b[0] == 'O' || b[0] == 'o';
}

void ChartStreamToText(TStream* Source, TStream* Target) {
  if (!IsChartStream(Source)) throw ChartException(LumMsg_WrongFileFormat);
  if (HasChartMagic(Source)) {
    Source->Seek(4, soCurrent);
    ObjectBinaryToText(Source, Target);
  } else {
    Target->CopyFrom(Source, Source->Size() - Source->Position());
  }
}

namespace {
int storeUnitCount = 0;

std::vector<TClass> SeriesDataClasses() {
  return {TSeriesData::StaticClass(), TSeriesDataText::StaticClass(), TSeriesDataXML::StaticClass(),
          TSeriesDataHTML::StaticClass(), TSeriesDataXLS::StaticClass()};
}
}

void LumStoreUnitInit() {
  if (storeUnitCount++ > 0) return;
  RegisterClasses({TChartChart::StaticClass(), TODBCChart::StaticClass()});
  for (TClass c : SeriesDataClasses()) RegisterClass(c);
  for (TClass c : ChartGridClasses()) RegisterClass(c);
}

void LumStoreUnitDone() {
  if (storeUnitCount == 0 || --storeUnitCount > 0) return;
  UnRegisterClass(TChartChart::StaticClass());
  UnRegisterClass(TODBCChart::StaticClass());
  for (TClass c : SeriesDataClasses()) UnRegisterClass(c);
  for (TClass c : ChartGridClasses()) UnRegisterClass(c);
}
