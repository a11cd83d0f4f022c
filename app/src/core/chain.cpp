#include "app/chain.h"

namespace Chain {

std::int32_t CurrentMode = 0;
bool StopRequested = false;
float LatticeA = 0;
double WaveAmplitude = 0;
float ZoneK = 0;
float DeltaK = 0;
float Damping = 0;
double Omega = 0;
std::int32_t MarkerSizeEven = 0, MarkerSizeOdd = 0;
bool IsMonatomic = false, IsDiatomic = false, IsAlternating = false, IsCombined = false,
     IsNextNeighbour = false;

void ResetUnitVariables() {
  CurrentMode = 0;
  StopRequested = false;
  LatticeA = 0;
  WaveAmplitude = 0;
  ZoneK = DeltaK = Damping = 0;
  Omega = 0;
  MarkerSizeEven = MarkerSizeOdd = 0;
  IsMonatomic = IsDiatomic = IsAlternating = IsCombined = IsNextNeighbour = false;
}

void SetShowValues() {
  CurrentMode = cmNone;
  LatticeA = 4.0f;
  WaveAmplitude = 0.5;
  ZoneK = float(TwoPi / LatticeA);
  DeltaK = float(Pi / (1000 * (long double)LatticeA));
  StopRequested = false;
}

}  // namespace Chain
