// The series' points in a component stream, and the series a chart writes after itself.
#include "engine/panel.h"
#include "engine/series.h"
#include "platform/filer.h"
#include "platform/lebytes.h"

void TChartSeries::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Data", {}, [this](TStream* S) { WriteData(S); }, StoresData());
}

namespace {
// The first byte of the "Data" property; a later layout takes the next number.
constexpr std::uint8_t SeriesDataVersion = 1;
}  // namespace

void TChartSeries::WriteData(TStream* Stream) const {
  const int n = Count();
  const int lists = valuesList_.Count();
  const int held = DataStorageFlags(this);
  const bool colors = held & dsfColors;
  const bool labels = held & dsfLabels;

  std::vector<std::uint8_t> out;
  out.reserve(7 + std::size_t(n) * (std::size_t(lists) * 8 + (colors ? 4 : 0)));
  out.push_back(SeriesDataVersion);
  LittleEndian::Put32(out, std::uint32_t(n));
  out.push_back(std::uint8_t((colors ? 1 : 0) | (labels ? 2 : 0)));
  out.push_back(std::uint8_t(lists));
  std::vector<const TChartValue*> columns;
  for (int k = 0; k < lists; ++k) columns.push_back(valuesList_[k]->Values().data());
  for (int i = 0; i < n; ++i) {
    for (const TChartValue* c : columns) {
      LittleEndian::PutDouble(out, c[i]);
    }
    if (colors) LittleEndian::Put32(out, std::uint32_t(GetPointColor(i)));
    if (labels) {
      std::string l = labels_.GetLabel(i);
      LittleEndian::Put32(out, std::uint32_t(l.size()));
      out.insert(out.end(), l.begin(), l.end());
    }
  }
  Stream->WriteBuffer(out.data(), std::int64_t(out.size()));
}

void TCustomAxisPanel::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  for (TChartSeries* s : seriesList_)
    if (s->Owner() == Root) Proc(s);
}
