#include "canvas/procs.h"

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/graphics.h"

namespace {
constexpr double HLSMax = 240;

std::uint16_t Step(double v) { return std::uint16_t(std::clamp(std::lround(v), 0L, 240L)); }
}  // namespace

void ColorToHLS(TColor Color, std::uint16_t& Hue, std::uint16_t& Luminance, std::uint16_t& Saturation) {
  const TColor c = ColorToRGB(Color);
  const double r = GetRValue(c) / 255.0, g = GetGValue(c) / 255.0, b = GetBValue(c) / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const double l = (mx + mn) / 2;
  Luminance = Step(l * HLSMax);
  if (mx == mn) {
    Hue = 0;
    Saturation = 0;
    return;
  }
  const double d = mx - mn;
  const double s = l <= 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
  double h;
  if (mx == r)
    h = (g - b) / d;
  else if (mx == g)
    h = 2 + (b - r) / d;
  else
    h = 4 + (r - g) / d;
  h = std::fmod(h / 6 + 1, 1.0);
  Hue = Step(h * HLSMax);
  if (Hue == 240) Hue = 0;
  Saturation = Step(s * HLSMax);
}

TColor HLSToColor(std::uint16_t Hue, std::uint16_t Luminance, std::uint16_t Saturation) {
  const double h = std::fmod(Hue / HLSMax, 1.0), l = std::min(Luminance / HLSMax, 1.0),
               s = std::min(Saturation / HLSMax, 1.0);
  auto level = [](double v) { return int(std::clamp(std::lround(v * 255), 0L, 255L)); };
  if (s == 0) return RGB(level(l), level(l), level(l));
  const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
  const double m1 = 2 * l - m2;
  auto band = [m1, m2](double t) {
    t = std::fmod(t + 1, 1.0);
    if (t < 1.0 / 6) return m1 + (m2 - m1) * t * 6;
    if (t < 0.5) return m2;
    if (t < 2.0 / 3) return m1 + (m2 - m1) * (2.0 / 3 - t) * 6;
    return m1;
  };
  return RGB(level(band(h + 1.0 / 3)), level(band(h)), level(band(h - 1.0 / 3)));
}

void ColorToRGBTriple(TColor Color, TRGBTriple& Triple) {
  Triple.rgbtBlue = GetBValue(Color);
  Triple.rgbtGreen = GetGValue(Color);
  Triple.rgbtRed = GetRValue(Color);
}

// ---------------------------------------------------------------------------
namespace {

struct Kernel {
  double radius;
  double (*weight)(double);
};

double Triangle(double x) {
  x = std::fabs(x);
  return x < 1 ? 1 - x : 0;
}

double Sinc(double x) {
  if (x == 0) return 1;
  x *= M_PI;
  return std::sin(x) / x;
}

double Lanczos3(double x) { return std::fabs(x) < 3 ? Sinc(x) * Sinc(x / 3) : 0; }

// For each output position, the first input index and normalised weights.
struct Taps {
  std::vector<int> first;
  std::vector<int> count;
  std::vector<float> weights;  // stride per output
  int stride = 0;
};

Taps MakeTaps(int InSize, int OutSize, const Kernel& K) {
  Taps t;
  const double scale = double(InSize) / OutSize;
  const double widen = std::max(scale, 1.0);
  const double support = K.radius * widen;
  t.stride = int(std::ceil(support)) * 2 + 1;
  t.first.resize(OutSize);
  t.count.resize(OutSize);
  t.weights.assign(std::size_t(OutSize) * t.stride, 0);
  std::vector<double> w(t.stride);
  for (int o = 0; o < OutSize; ++o) {
    const double centre = (o + 0.5) * scale;
    int lo = std::max(0, int(centre - support + 0.5));
    int hi = std::min(InSize, int(centre + support + 0.5));
    hi = std::min(hi, lo + t.stride);
    double sum = 0;
    for (int i = lo; i < hi; ++i) sum += w[i - lo] = K.weight((i - centre + 0.5) / widen);
    for (int i = 0; i < hi - lo; ++i) t.weights[std::size_t(o) * t.stride + i] = float(sum != 0 ? w[i] / sum : 0);
    t.first[o] = lo;
    t.count[o] = hi - lo;
  }
  return t;
}

inline std::uint8_t Level(float v) { return v <= 0 ? 0 : v >= 255 ? 255 : std::uint8_t(v + 0.5f); }

// Rows: each of Lines rows of InW 4-byte pixels becomes OutW pixels.
void Horizontal(const std::uint8_t* In, std::uint8_t* Out, int Lines, int InW, int OutW, const Taps& T) {
  for (int line = 0; line < Lines; ++line) {
    const std::uint8_t* in = In + std::size_t(line) * InW * 4;
    std::uint8_t* out = Out + std::size_t(line) * OutW * 4;
    for (int o = 0; o < OutW; ++o) {
      const float* w = &T.weights[std::size_t(o) * T.stride];
      const std::uint8_t* p = in + std::size_t(T.first[o]) * 4;
      float b = 0, g = 0, r = 0, a = 0;
      for (int k = 0; k < T.count[o]; ++k, p += 4) {
        b += p[0] * w[k];
        g += p[1] * w[k];
        r += p[2] * w[k];
        a += p[3] * w[k];
      }
      out[4 * o] = Level(b);
      out[4 * o + 1] = Level(g);
      out[4 * o + 2] = Level(r);
      out[4 * o + 3] = Level(a);
    }
  }
}

// Columns, a whole row at a time (rows are contiguous: the cache stays warm).
void Vertical(const std::uint8_t* In, std::uint8_t* Out, int RowBytes, int OutH, const Taps& T) {
  std::vector<float> acc(static_cast<std::size_t>(RowBytes));
  for (int o = 0; o < OutH; ++o) {
    std::fill(acc.begin(), acc.end(), 0.0f);
    const float* w = &T.weights[std::size_t(o) * T.stride];
    for (int k = 0; k < T.count[o]; ++k) {
      const std::uint8_t* row = In + std::size_t(T.first[o] + k) * RowBytes;
      const float wk = w[k];
      for (int i = 0; i < RowBytes; ++i) acc[std::size_t(i)] += row[i] * wk;
    }
    std::uint8_t* out = Out + std::size_t(o) * RowBytes;
    for (int i = 0; i < RowBytes; ++i) out[i] = Level(acc[std::size_t(i)]);
  }
}

}  // namespace

void ResampleBitmap(TBitmap* Source, TBitmap* Destination, bool Bilinear) {
  if (!Source || !Destination || Source->Empty() || Destination->Empty()) return;
  const int sw = Source->Width(), sh = Source->Height();
  const int dw = Destination->Width(), dh = Destination->Height();
  const Kernel k = Bilinear ? Kernel{1.0, Triangle} : Kernel{3.0, Lanczos3};

  TBitmap src;
  src.Assign(Source);
  src.SetPixelFormat(pf32bit);
  std::vector<std::uint8_t> in(std::size_t(sw) * sh * 4);
  for (int y = 0; y < sh; ++y) std::memcpy(&in[std::size_t(y) * sw * 4], src.ScanLine(y), std::size_t(sw) * 4);

  // Rows first, then columns, as the reference resampler does.
  std::vector<std::uint8_t> mid(std::size_t(dw) * sh * 4);
  if (dw == sw)
    mid = in;
  else
    Horizontal(in.data(), mid.data(), sh, sw, dw, MakeTaps(sw, dw, k));
  std::vector<std::uint8_t> out(std::size_t(dw) * dh * 4);
  if (dh == sh)
    out = mid;
  else
    Vertical(mid.data(), out.data(), dw * 4, dh, MakeTaps(sh, dh, k));

  Destination->SetPixelFormat(pf32bit);
  for (int y = 0; y < dh; ++y)
    std::memcpy(Destination->ScanLine(y), &out[std::size_t(y) * dw * 4], std::size_t(dw) * 4);
  Destination->Changed(Destination);
}

// ---------------------------------------------------------------------------
namespace {
bool processEnding = false;
}

HMODULE LoadLibrarySafe(const std::string& FileName) {
  static const bool watched = [] { return std::atexit([] { processEnding = true; }) == 0; }();
  (void)watched;
  if (FileName.empty()) return nullptr;
  return dlopen(FileName.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void FreeLibrarySafe(HMODULE Handle) {
  if (Handle && !processEnding) dlclose(Handle);
}
