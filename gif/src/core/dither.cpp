#include "gif/dither.h"

#include <algorithm>
#include <cstdlib>

TDitherEngine::TDitherEngine(int Width, TColorLookup* Lookup)
    : lookup_(Lookup), width_(Width < 0 ? 0 : Width) {}

std::uint8_t TDitherEngine::Dither(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                                   TGIFColor& Used) {
  column_ += direction_;
  return lookup_->Lookup(Red, Green, Blue, Used);
}

void TDitherEngine::NextLine() {
  direction_ = -direction_;
  column_ = direction_ > 0 ? 0 : width_ - 1;
}

TErrorDiffusionDitherer::TErrorDiffusionDitherer(int Width, TColorLookup* Lookup, int Divisor,
                                                 const TDitherTap* Taps, int Count)
    : TDitherEngine(Width, Lookup), taps_(Taps), tapCount_(Count), divisor_(Divisor) {
  int rows = 1;
  for (int i = 0; i < Count; ++i) {
    rows = std::max(rows, Taps[i].Row + 1);
    guard_ = std::max(guard_, std::abs(Taps[i].Offset));
  }
  errors_.assign(std::size_t(rows), std::vector<int>(std::size_t(width_ + 2 * guard_) * 3, 0));
  rows_.resize(std::size_t(rows));
  for (int i = 0; i < rows; ++i) rows_[std::size_t(i)] = i;
}

namespace {
// Adds half the divisor, then divides towards zero, so small negative errors
// are dropped where positive ones of the same size still count.
inline int Corrected(int value, int error, int divisor) {
  return std::clamp(value + (error + divisor / 2) / divisor, 0, 255);
}
}  // namespace

std::uint8_t TErrorDiffusionDitherer::Dither(std::uint8_t Red, std::uint8_t Green,
                                             std::uint8_t Blue, TGIFColor& Used) {
  if (!InRow()) return TDitherEngine::Dither(Red, Green, Blue, Used);
  const int* err = Cell(0, column_);
  int r = Corrected(Red, err[0], divisor_);
  int g = Corrected(Green, err[1], divisor_);
  int b = Corrected(Blue, err[2], divisor_);
  std::uint8_t index = lookup_->Lookup(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), Used);
  Distribute(r - Used.Red, g - Used.Green, b - Used.Blue);
  column_ += direction_;
  return index;
}

void TErrorDiffusionDitherer::Distribute(int ErrRed, int ErrGreen, int ErrBlue) {
  for (int i = 0; i < tapCount_; ++i) {
    const TDitherTap& t = taps_[i];
    int* cell = Cell(t.Row, column_ + t.Offset * direction_);
    cell[0] += ErrRed * t.Weight;
    cell[1] += ErrGreen * t.Weight;
    cell[2] += ErrBlue * t.Weight;
  }
}

void TErrorDiffusionDitherer::NextLine() {
  TDitherEngine::NextLine();
  std::rotate(rows_.begin(), rows_.begin() + 1, rows_.end());
  std::vector<int>& last = errors_[rows_.back()];
  std::fill(last.begin(), last.end(), 0);
}

// ---- The engines: weights per tap (current row ahead, then the rows below
// from behind to ahead), summing to the divisor. The guard entries and the
// number of error rows follow from the taps.

namespace {
constexpr TDitherTap FloydSteinbergTaps[] = {{0, 1, 7}, {1, -1, 3}, {1, 0, 5}, {1, 1, 1}};
constexpr TDitherTap StuckiTaps[] = {{0, 1, 8},  {0, 2, 4},  {1, -2, 2}, {1, -1, 4},
                                     {1, 0, 8},  {1, 1, 4},  {1, 2, 2},  {2, -2, 1},
                                     {2, -1, 2}, {2, 0, 4},  {2, 1, 2},  {2, 2, 1}};
constexpr TDitherTap SierraTaps[] = {{0, 1, 5}, {0, 2, 3}, {1, -2, 2}, {1, -1, 4}, {1, 0, 5},
                                     {1, 1, 4}, {1, 2, 2}, {2, -1, 2}, {2, 0, 3},  {2, 1, 2}};
constexpr TDitherTap JaJuNiTaps[] = {{0, 1, 7},  {0, 2, 5},  {1, -2, 3}, {1, -1, 5},
                                     {1, 0, 7},  {1, 1, 5},  {1, 2, 3},  {2, -2, 1},
                                     {2, -1, 3}, {2, 0, 5},  {2, 1, 3},  {2, 2, 1}};
constexpr TDitherTap SteveArcheTaps[] = {{0, 2, 32}, {1, -3, 12}, {1, -1, 26}, {1, 1, 30},
                                         {1, 3, 16}, {2, -2, 12}, {2, 0, 26},  {2, 2, 12},
                                         {3, -3, 5}, {3, -1, 12}, {3, 1, 12},  {3, 3, 5}};
constexpr TDitherTap BurkesTaps[] = {{0, 1, 8}, {0, 2, 4}, {1, -2, 2}, {1, -1, 4},
                                     {1, 0, 8}, {1, 1, 4}, {1, 2, 2}};
}  // namespace

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int Width, TColorLookup* Lookup)
    : TErrorDiffusionDitherer(Width, Lookup, 16, FloydSteinbergTaps) {}
TStuckiDitherer::TStuckiDitherer(int Width, TColorLookup* Lookup)
    : T5by3Ditherer(Width, Lookup, 42, StuckiTaps) {}
TSierraDitherer::TSierraDitherer(int Width, TColorLookup* Lookup)
    : T5by3Ditherer(Width, Lookup, 32, SierraTaps) {}
TJaJuNiDitherer::TJaJuNiDitherer(int Width, TColorLookup* Lookup)
    : T5by3Ditherer(Width, Lookup, 48, JaJuNiTaps) {}
TSteveArcheDitherer::TSteveArcheDitherer(int Width, TColorLookup* Lookup)
    : TErrorDiffusionDitherer(Width, Lookup, 200, SteveArcheTaps) {}
TBurkesDitherer::TBurkesDitherer(int Width, TColorLookup* Lookup)
    : TErrorDiffusionDitherer(Width, Lookup, 32, BurkesTaps) {}

std::unique_ptr<TDitherEngine> MakeDitherer(int DitherMode, int Width, TColorLookup* Lookup) {
  switch (DitherMode) {
    case 0: return std::make_unique<TDitherEngine>(Width, Lookup);
    case 1: return std::make_unique<TFloydSteinbergDitherer>(Width, Lookup);
    case 2: return std::make_unique<TStuckiDitherer>(Width, Lookup);
    case 3: return std::make_unique<TSierraDitherer>(Width, Lookup);
    case 4: return std::make_unique<TJaJuNiDitherer>(Width, Lookup);
    case 5: return std::make_unique<TSteveArcheDitherer>(Width, Lookup);
    case 6: return std::make_unique<TBurkesDitherer>(Width, Lookup);
    default: return nullptr;
  }
}
