// Gradient fills: the gradient is computed into a bitmap of the rectangle's size and
// drawn in one piece, clipped to the rounded outline when corners are rounded.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <vector>

#include "canvas/attributes.h"
#include "canvas/lumcanvas.h"
#include "canvas_internal.h"

namespace {

struct Rgb {
  double r, g, b;
};

Rgb ToRgb(TColor c) {
  const TColor v = ColorToRGB(c);
  return {double(GetRValue(v)), double(GetGValue(v)), double(GetBValue(v))};
}

Rgb Mix(const Rgb& a, const Rgb& b, double f) {
  return {a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f};
}

// Fraction of the way from the start colour's place (0) to the end colour's (1) for
// pixel X, Y of a W x H rectangle; see TGradientDirection.
double Fraction(TGradientDirection d, double X, double Y, int W, int H, int RadialX, int RadialY) {
  const double fx = W > 1 ? X / (W - 1) : 0;
  const double fy = H > 1 ? Y / (H - 1) : 0;
  switch (d) {
    case gdTopBottom: return fy;
    case gdBottomTop: return 1 - fy;
    case gdLeftRight: return fx;
    case gdRightLeft: return 1 - fx;
    case gdFromCenter: return std::max(std::abs(2 * fx - 1), std::abs(2 * fy - 1));
    case gdFromTopLeft: return std::max(fx, fy);
    case gdFromBottomLeft: return std::max(fx, 1 - fy);
    case gdRadial: {
      const double rx = std::max(1.0, (W - 1) / 2.0) * std::numbers::sqrt2, ry = std::max(1.0, (H - 1) / 2.0) * std::numbers::sqrt2;
      const double dx = (X - (W - 1) / 2.0 - RadialX) / rx, dy = (Y - (H - 1) / 2.0 - RadialY) / ry;
      return std::min(1.0, std::sqrt(dx * dx + dy * dy));
    }
    case gdDiagonalUp: return (fx + 1 - fy) / 2;
    case gdDiagonalDown: return (fx + fy) / 2;
  }
  return 0;
}

// The fraction of a gradient's pattern for each pixel of a W x H rectangle, the
// pattern turned by the gradient's Angle (see TCustomLumGradient::Angle).
class Pattern {
public:
  Pattern(const TCustomLumGradient& G, int W, int H)
      : d_(G.Direction()), w_(W), h_(H), rx_(G.RadialX()), ry_(G.RadialY()) {
    const int a = ((G.Angle() % 360) + 360) % 360;
    turned_ = a != 0;
    if (!turned_) return;
    cos_ = std::cos(a * std::numbers::pi / 180);
    sin_ = std::sin(a * std::numbers::pi / 180);
    switch (d_) {
      case gdTopBottom: case gdBottomTop: case gdLeftRight: case gdRightLeft: case gdDiagonalUp: case gdDiagonalDown: {
        // Linear: stretch again between the extreme corners.
        lo_ = 1, hi_ = 0;
        for (int cx : {0, W - 1})
          for (int cy : {0, H - 1}) {
            const double f = Turned(cx, cy);
            lo_ = std::min(lo_, f);
            hi_ = std::max(hi_, f);
          }
        stretch_ = hi_ - lo_ > 1e-9;
        break;
      }
      default: break;
    }
  }
  double At(int X, int Y) const {
    if (!turned_) return Fraction(d_, X, Y, w_, h_, rx_, ry_);
    const double f = Turned(X, Y);
    return stretch_ ? (f - lo_) / (hi_ - lo_) : std::clamp(f, 0.0, 1.0);
  }

private:
  // The unturned pattern at the point the turn brings to (X, Y): on the rectangle mapped
  // to [-1, 1] x [-1, 1] (y down), the point turned back clockwise.
  double Turned(double X, double Y) const {
    const double u = w_ > 1 ? 2 * X / (w_ - 1) - 1 : 0, v = h_ > 1 ? 2 * Y / (h_ - 1) - 1 : 0;
    const double u0 = u * cos_ - v * sin_, v0 = u * sin_ + v * cos_;
    return Fraction(d_, (u0 + 1) / 2 * (w_ - 1), (v0 + 1) / 2 * (h_ - 1), w_, h_, rx_, ry_);
  }
  TGradientDirection d_;
  int w_, h_, rx_, ry_;
  bool turned_ = false, stretch_ = false;
  double cos_ = 1, sin_ = 0, lo_ = 0, hi_ = 1;
};

// Points of a rectangle with corners rounded by an ellipse Corner pixels across.
std::vector<TPoint> RoundedOutline(const TRect& R, int Corner) {
  const double rx = std::min(Corner, R.Width()) / 2.0, ry = std::min(Corner, R.Height()) / 2.0;
  const struct { double cx, cy, from; } corners[] = {
      {R.Right - rx, R.Top + ry, 0},          // top-right, from 0 to 90 degrees
      {R.Left + rx, R.Top + ry, 90},         // top-left
      {R.Left + rx, R.Bottom - ry, 180},     // bottom-left
      {R.Right - rx, R.Bottom - ry, 270},    // bottom-right
  };
  constexpr int steps = 8;
  std::vector<TPoint> pts;
  for (const auto& c : corners)
    for (int i = 0; i <= steps; ++i) {
      const double a = (c.from + 90.0 * i / steps) * std::numbers::pi / 180;
      pts.push_back({int(std::lround(c.cx + rx * std::cos(a))), int(std::lround(c.cy - ry * std::sin(a)))});
    }
  return pts;
}

}  // namespace

namespace {

// The colours of a gradient at Steps evenly spaced fractions, so a fill looks each
// pixel's colour up instead of blending it.
class Ramp {
public:
  static constexpr int Steps = 1024;
  explicit Ramp(const TCustomLumGradient& G) {
    for (int i = 0; i < Steps; ++i) colours_[i] = G.ColorAt(double(i) / (Steps - 1));
  }
  TColor At(double T) const { return colours_[std::clamp(int(std::lround(T * (Steps - 1))), 0, Steps - 1)]; }

private:
  TColor colours_[Steps];
};

}  // namespace

TColor TCustomLumGradient::ColorAt(double T) const {
  const double b = std::clamp(balance_, 0, 100) / 100.0;
  T = std::clamp(T, 0.0, 1.0);
  const Rgb s = ToRgb(startColor_), e = ToRgb(endColor_);
  const Rgb m = midColor_ == clNone ? Mix(s, e, 0.5) : ToRgb(midColor_);
  const Rgb c = (b > 0 && T <= b) ? Mix(s, m, T / b) : Mix(m, e, (T - b) / (1 - b));
  return RGB(int(std::lround(c.r)), int(std::lround(c.g)), int(std::lround(c.b)));
}

void TCustomLumGradient::Draw(TLumCanvas* Canvas, const TRect& Rect, int CornerSize) {
  if (!Canvas || !Canvas->ReferenceCanvas()) return;
  const TRect r = canvas_internal::Normalized(Rect);
  const int w = r.Width(), h = r.Height();
  if (w <= 0 || h <= 0) return;

  const TSubGradient* sub = ExistingSubGradient();
  if (sub && !sub->Visible()) sub = nullptr;
  const int keep = sub ? sub->Transparency() : 0;  // percent of this gradient showing through

  // Everything the pixels depend on; a chart redrawn at the same size fills from
  // the kept pixels.
  std::vector<long long> key;
  auto look = [&key](const TCustomLumGradient& g) {
    key.insert(key.end(), {(long long)g.Direction(), (long long)ColorToRGB(g.StartColor()),
                           g.MidColor() == clNone ? -1LL : (long long)ColorToRGB(g.MidColor()),
                           (long long)ColorToRGB(g.EndColor()), (long long)g.Balance(), (long long)g.RadialX(),
                           (long long)g.RadialY(), (long long)g.Angle()});
  };
  look(*this);
  key.insert(key.end(), {(long long)w, (long long)h});
  if (sub) {
    look(*sub);
    key.push_back(keep);
  }
  // The last few fills of this thread, newest first (a canvas made for one picture
  // brings a new gradient object each time, so the pixels are kept by look).
  struct Kept {
    std::vector<long long> Key;
    std::shared_ptr<TBitmap> Pixels;
  };
  thread_local std::vector<Kept> kept;
  std::shared_ptr<TBitmap> pixels;
  for (auto it = kept.begin(); it != kept.end(); ++it)
    if (it->Key == key) {
      pixels = it->Pixels;
      std::rotate(kept.begin(), it, it + 1);
      break;
    }
  if (!pixels) {
    const Ramp ramp(*this);
    const std::unique_ptr<Ramp> subRamp = sub ? std::make_unique<Ramp>(*sub) : nullptr;
    const Pattern pattern(*this, w, h);
    const std::unique_ptr<Pattern> subPattern = sub ? std::make_unique<Pattern>(*sub, w, h) : nullptr;
    pixels = std::make_shared<TBitmap>();
    pixels->SetPixelFormat(pf32bit);
    pixels->SetSize(w, h);
    // Rows are contiguous from the top; one ScanLine call, as each call may cost a pass
    // over the whole bitmap.
    auto* first = static_cast<std::uint8_t*>(pixels->ScanLine(0));
    const int stride = BytesPerScanline(w, 32, 32);
    for (int y = 0; y < h; ++y) {
      std::uint8_t* row = first + std::ptrdiff_t(y) * stride;
      for (int x = 0; x < w; ++x) {
        TColor c = ramp.At(pattern.At(x, y));
        if (sub) {
          const TColor s = subRamp->At(subPattern->At(x, y));
          c = canvas_internal::Blend(s, c, keep);
        }
        row[4 * x] = GetBValue(c);
        row[4 * x + 1] = GetGValue(c);
        row[4 * x + 2] = GetRValue(c);
        row[4 * x + 3] = 0;
      }
    }
    constexpr size_t KeptFills = 4;
    constexpr long long KeptPixels = 1 << 20;  // larger fills are not kept
    if ((long long)w * h <= KeptPixels) {
      kept.insert(kept.begin(), {std::move(key), pixels});
      if (kept.size() > KeptFills) kept.pop_back();
    }
  }
  TBitmap& bmp = *pixels;

  TCanvas* dest = Canvas->ReferenceCanvas();
  const bool rounded = CornerSize > 0;
  if (rounded) dest->PushClipPolygon(RoundedOutline(r, CornerSize));
  const TCopyMode mode = dest->CopyMode();
  dest->SetCopyMode(cmSrcCopy);
  dest->Draw(r.Left, r.Top, &bmp);
  dest->SetCopyMode(mode);
  if (rounded) dest->PopClip();
}
