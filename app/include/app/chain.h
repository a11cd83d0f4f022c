// Unit `Chain`: the constants, model numbers and unit variables that every
// handler of the main window shares. Plain values only, no window or chart types.
#pragma once
#include <cstdint>

namespace Chain {

// 2pi and pi as the program has always written them. They are not the exact
// values: the curves, k values and axis ends follow from these two numbers.
inline constexpr long double TwoPi = 6.283192L;
inline constexpr long double Pi = 3.141596L;

// Values of CurrentMode: the model started last.
enum : std::int32_t {
  cmNone = -1,
  cmMonatomic = 0,
  cmDiatomic = 1,
  cmAlternating = 2,
  cmCombined = 3,
  cmNextNeighbour = 4,
};

// Unit variables: zero until the window is shown.
extern std::int32_t CurrentMode;
extern bool StopRequested;
extern float LatticeA;        // lattice constant a
extern double WaveAmplitude;  // amplitude of the one-atom waves
extern float ZoneK;           // k range of the k track bar
extern float DeltaK;          // k step between two points of a dispersion curve
extern float Damping;         // DampBar position, read at each transverse step
extern double Omega;          // angular frequency last computed
extern std::int32_t MarkerSizeEven, MarkerSizeOdd;
extern bool IsMonatomic, IsDiatomic, IsAlternating, IsCombined, IsNextNeighbour;

// Back to the state before the window was shown (tests start from here).
void ResetUnitVariables();
// The values the window's show handler gives them: no model, a = 4, A = 0.5,
// the one-atom k range, no stop request.
void SetShowValues();

}  // namespace Chain
