// Error-diffusion ditherers. Each walks the rows alternately left to right and
// right to left (serpentine), so that errors do not pile up along one edge.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "gif/lookup.h"

// Dither mode 0: nearest colour, no diffusion. The base of all ditherers;
// it keeps the walk (direction and column) that the driver follows.
class TDitherEngine {
public:
  // The lookup is not owned and must outlive the engine.
  TDitherEngine(int Width, TColorLookup* Lookup);
  virtual ~TDitherEngine() = default;
  TDitherEngine(const TDitherEngine&) = delete;
  TDitherEngine& operator=(const TDitherEngine&) = delete;

  // Index for the pixel at Column(); advances the column by the direction.
  virtual std::uint8_t Dither(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                              TGIFColor& Used);
  // Turns the walk round for the next row.
  virtual void NextLine();
  // Steps over a pixel that takes no colour (a transparent one): it neither
  // receives nor spreads error.
  void Skip() { column_ += direction_; }

  int Width() const { return width_; }
  int Column() const { return column_; }
  int Direction() const { return direction_; }
  bool InRow() const { return column_ >= 0 && column_ < width_; }

protected:
  TColorLookup* lookup_;
  int width_;
  int column_ = 0;
  int direction_ = 1;
};

// One share of a pixel's error: Row 0 is the current row (Offset > 0 only),
// Row 1.. the rows below; Offset counts in the walking direction.
struct TDitherTap {
  int Row, Offset, Weight;
};

// Shared machinery of the diffusing engines: error rows with guard entries on
// both sides, rotated at each new line, and a table of taps whose weights sum
// to the divisor.
class TErrorDiffusionDitherer : public TDitherEngine {
public:
  std::uint8_t Dither(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                      TGIFColor& Used) override;
  void NextLine() override;

protected:
  template <std::size_t N>
  TErrorDiffusionDitherer(int Width, TColorLookup* Lookup, int Divisor, const TDitherTap (&Taps)[N])
      : TErrorDiffusionDitherer(Width, Lookup, Divisor, Taps, int(N)) {}
  TErrorDiffusionDitherer(int Width, TColorLookup* Lookup, int Divisor, const TDitherTap* Taps,
                          int Count);
  // Spreads one pixel's error (wanted minus used, per channel) ahead.
  virtual void Distribute(int ErrRed, int ErrGreen, int ErrBlue);

private:
  int* Cell(int Row, int Column) { return &errors_[rows_[Row]][(Column + guard_) * 3]; }
  const TDitherTap* taps_;
  int tapCount_;
  int guard_ = 0;
  int divisor_;
  std::vector<std::vector<int>> errors_;
  std::vector<int> rows_;  // rows_[0] is the current row; the rest follow in order
};

class TFloydSteinbergDitherer : public TErrorDiffusionDitherer {
public:
  TFloydSteinbergDitherer(int Width, TColorLookup* Lookup);
};

// Three rows of error over five columns; descendants differ in divisor and weights.
class T5by3Ditherer : public TErrorDiffusionDitherer {
protected:
  using TErrorDiffusionDitherer::TErrorDiffusionDitherer;
};

class TStuckiDitherer : public T5by3Ditherer {
public:
  TStuckiDitherer(int Width, TColorLookup* Lookup);
};

class TSierraDitherer : public T5by3Ditherer {
public:
  TSierraDitherer(int Width, TColorLookup* Lookup);
};

class TJaJuNiDitherer : public T5by3Ditherer {
public:
  TJaJuNiDitherer(int Width, TColorLookup* Lookup);
};

class TSteveArcheDitherer : public TErrorDiffusionDitherer {
public:
  TSteveArcheDitherer(int Width, TColorLookup* Lookup);
};

class TBurkesDitherer : public TErrorDiffusionDitherer {
public:
  TBurkesDitherer(int Width, TColorLookup* Lookup);
};

// The engine of a dither mode (0..6); nullptr for any other value.
std::unique_ptr<TDitherEngine> MakeDitherer(int DitherMode, int Width, TColorLookup* Lookup);
