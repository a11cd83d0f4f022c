// Exceptions of the chart engine: misuse of series, functions, pages and data
// sources (ChartException) and invalid axis settings (AxisException).
#pragma once
#include "platform/rtl.h"

PHONARK_EXCEPTION(ChartException, Exception);
PHONARK_EXCEPTION(AxisException, Exception);
