// Start-up of the analysis units, run after the chart unit in this order: the basic
// functions, the close-location-value function, the candle unit (candle, volume and
// Darvas series; ADX, ATR and R.S.I.) and the statistics unit (the moving, statistical
// and oscillator functions and the histogram series). Each puts its entries into the
// gallery list once (a second start-up adds nothing) and registers its classes by
// name; each Done removes its entries again, except the basic functions', which stay
// until the list itself goes.
#pragma once
#include "platform/classes.h"

void BasicFunctionsUnitInit();
void BasicFunctionsUnitDone();
void CLVFunctionUnitInit();
void CLVFunctionUnitDone();
void CandleUnitInit();
void CandleUnitDone();
void StatisticsUnitInit();
void StatisticsUnitDone();

// The close-location-value function's editor form, a class of the editor layer: the
// close-location-value unit registers it by name, and the editor layer's start-up
// fills its constructor slot (Create); until then it cannot be created.
TMetaClass& CLVFuncEditorClass();
