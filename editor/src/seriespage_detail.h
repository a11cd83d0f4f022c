// What the series page's two sources share: the building of the "Data Source" tab
// and the numbers of its fixed styles.
#pragma once

class TFormLumSeries;

namespace seriespage_detail {

// The fixed items of the style combo; registered source classes follow them.
enum TSourceStyle { ssManual, ssRandom, ssSeries, ssFunction, ssFirstRegistered };

// More sample values than this are refused with a message.
constexpr int MaxSampleValues = 10000000;

void BuildDataSourceTab(TFormLumSeries* Form);

}  // namespace seriespage_detail
