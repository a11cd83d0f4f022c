// Bodies of the fuzz targets on the gallery's readers (the chart stream's text
// form, the number format chooser's parser), shared by the libFuzzer entry points
// and by the test that replays their corpus.
#pragma once
#include "fuzz_common.h"
#include "gallery/chartstream.h"
#include "gallery/formateditor.h"

namespace fuzzbody {

// Any bytes as a chart stream: the probes leave the position alone, and the
// conversion gives text or its error with the target untouched.
inline void ChartStream(const std::uint8_t* data, std::size_t size) {
  TMemoryStream in, out;
  ToStream(in, data, size);
  const bool chart = IsChartStream(&in);
  Check(in.Position() == 0);
  Check(!HasChartMagic(&in) || chart);
  Check(in.Position() == 0);
  try {
    ChartStreamToText(&in, &out);
    Check(chart);
  } catch (const ChartException&) {
    Check(!chart && out.Size() == 0);
  } catch (const EReadError&) {
    Check(chart && out.Size() == 0);
  }
}

// Any text as a number format: what is taken apart composes to a format that
// takes apart the same way.
inline void NumberFormat(const std::uint8_t* data, std::size_t size) {
  const TFormatLocale& L = FormatLocale();
  TNumberFormat n;
  if (!DecomposeNumberFormat(ToText(data, size), L, n)) return;
  TNumberFormat again;
  Check(DecomposeNumberFormat(ComposeNumberFormat(n, L), L, again));
  Check(again.Currency == n.Currency && again.Thousands == n.Thousands && again.Percent == n.Percent &&
        again.Fixed == n.Fixed && again.Decimals == n.Decimals && again.FixedDecimals == n.FixedDecimals);
}

}  // namespace fuzzbody
