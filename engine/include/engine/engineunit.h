// The engine unit: registers the tool base classes for names and streams and loads
// the hand cursor (screen cursor crLumHand, 2020, from the resource
// "LUM_CURSOR_HAND"). The program's unit table runs it after the canvas units;
// calls nest, the last Done undoes the first Init.
#pragma once

void LumEngineUnitInit();
void LumEngineUnitDone();
