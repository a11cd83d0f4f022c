#include "canvas/procs.h"

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/graphics.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Both passes weigh whole 4-byte pixels (four lanes of single floats), adding the
// taps in order from 0 and rounding each pass to whole levels, so the vector
// code and the plain code give the same bytes.
#if defined(__SSE2__)
inline __m128 Lanes(const std::uint8_t* P) {
  std::uint32_t v;
  std::memcpy(&v, P, 4);
  const __m128i zero = _mm_setzero_si128();
  return _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(int(v)), zero), zero));
}

// Whole levels of four lanes: Level on each.
inline __m128i Levels(__m128 V) {
  V = _mm_min_ps(_mm_max_ps(_mm_add_ps(V, _mm_set1_ps(0.5f)), _mm_setzero_ps()), _mm_set1_ps(255.0f));
  return _mm_cvttps_epi32(V);
}

inline void StorePixel(std::uint8_t* P, __m128 V) {
  const __m128i w = _mm_packs_epi32(Levels(V), Levels(V));
  const std::uint32_t v = std::uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(w, w)));
  std::memcpy(P, &v, 4);
}
#endif

// One row of InW pixels becomes OutW pixels. Row holds InW * 4 floats.
void HorizontalRow(const std::uint8_t* In, std::uint8_t* Out, int InW, int OutW, const Taps& T, float* Row) {
#if defined(__SSE2__)
  for (int x = 0; x < InW; ++x) _mm_storeu_ps(Row + 4 * x, Lanes(In + 4 * x));
  for (int o = 0; o < OutW; ++o) {
    const float* w = &T.weights[std::size_t(o) * T.stride];
    const float* p = Row + std::size_t(T.first[o]) * 4;
    __m128 acc = _mm_setzero_ps();
    for (int k = 0; k < T.count[o]; ++k, p += 4) acc = _mm_add_ps(acc, _mm_mul_ps(_mm_loadu_ps(p), _mm_set1_ps(w[k])));
    StorePixel(Out + 4 * o, acc);
  }
#else
  (void)InW;
  (void)Row;
  for (int o = 0; o < OutW; ++o) {
    const float* w = &T.weights[std::size_t(o) * T.stride];
    const std::uint8_t* p = In + std::size_t(T.first[o]) * 4;
    float acc[4] = {0, 0, 0, 0};
    for (int k = 0; k < T.count[o]; ++k, p += 4)
      for (int c = 0; c < 4; ++c) acc[c] += p[c] * w[k];
    for (int c = 0; c < 4; ++c) Out[4 * o + c] = Level(acc[c]);
  }
#endif
}

// One output row of Pixels pixels from the rows its taps weigh (In[k] for tap k).
void VerticalRow(const std::uint8_t* const* In, std::uint8_t* Out, int Pixels, const float* W, int Count) {
  int x = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; x + 4 <= Pixels; x += 4) {
    __m128 a0 = _mm_setzero_ps(), a1 = a0, a2 = a0, a3 = a0;
    for (int k = 0; k < Count; ++k) {
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(In[k] + 4 * x));
      const __m128i lo = _mm_unpacklo_epi8(b, zero), hi = _mm_unpackhi_epi8(b, zero);
      const __m128 w = _mm_set1_ps(W[k]);
      a0 = _mm_add_ps(a0, _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(lo, zero)), w));
      a1 = _mm_add_ps(a1, _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpackhi_epi16(lo, zero)), w));
      a2 = _mm_add_ps(a2, _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(hi, zero)), w));
      a3 = _mm_add_ps(a3, _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpackhi_epi16(hi, zero)), w));
    }
    const __m128i l = _mm_packs_epi32(Levels(a0), Levels(a1)), h = _mm_packs_epi32(Levels(a2), Levels(a3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + 4 * x), _mm_packus_epi16(l, h));
  }
  for (; x < Pixels; ++x) {
    __m128 acc = _mm_setzero_ps();
    for (int k = 0; k < Count; ++k) acc = _mm_add_ps(acc, _mm_mul_ps(Lanes(In[k] + 4 * x), _mm_set1_ps(W[k])));
    StorePixel(Out + 4 * x, acc);
  }
#else
  for (; x < Pixels; ++x)
    for (int c = 0; c < 4; ++c) {
      float acc = 0;
      for (int k = 0; k < Count; ++k) acc += In[k][4 * x + c] * W[k];
      Out[4 * x + c] = Level(acc);
    }
#endif
}

}  // namespace

void ResampleBitmap(TBitmap* Source, TBitmap* Destination, bool Bilinear) {
  if (!Source || !Destination || Source->Empty() || Destination->Empty()) return;
  const int sw = Source->Width(), sh = Source->Height();
  const int dw = Destination->Width(), dh = Destination->Height();
  const Kernel k = Bilinear ? Kernel{1.0, Triangle} : Kernel{3.0, Lanczos3};
  if (Source == Destination) {  // the same size: every pass would keep the pixels
    Destination->SetPixelFormat(pf32bit);
    Destination->Changed(Destination);
    return;
  }

  // The source's own rows when it holds 32-bit pixels; other formats are converted first.
  TBitmap converted;
  TBitmap* from = Source;
  if (Source->PixelFormat() != pf32bit && Source->PixelFormat() != pfDevice) {
    converted.Assign(Source);
    converted.SetPixelFormat(pf32bit);
    from = &converted;
  }
  std::vector<const std::uint8_t*> in(static_cast<std::size_t>(sh));
  for (int y = 0; y < sh; ++y) in[std::size_t(y)] = static_cast<const std::uint8_t*>(from->ScanLine(y));
  Destination->SetPixelFormat(pf32bit);
  std::vector<std::uint8_t*> out(static_cast<std::size_t>(dh));
  for (int y = 0; y < dh; ++y) out[std::size_t(y)] = static_cast<std::uint8_t*>(Destination->ScanLine(y));

  // Rows first, then columns, as the reference resampler does: the rows the column
  // taps reach are resampled into one intermediate (or straight into the destination
  // when the height stays), then the columns go straight into the destination.
  const Taps rows = dh == sh ? Taps{} : MakeTaps(sh, dh, k);
  int y0 = 0, y1 = sh;
  if (dh != sh) {
    y0 = sh;
    y1 = 0;
    for (int o = 0; o < dh; ++o)
      if (rows.count[std::size_t(o)] > 0) {
        y0 = std::min(y0, rows.first[std::size_t(o)]);
        y1 = std::max(y1, rows.first[std::size_t(o)] + rows.count[std::size_t(o)]);
      }
    y1 = std::max(y0, y1);
  }
  std::unique_ptr<std::uint8_t[]> middle;
  std::vector<const std::uint8_t*> mid(in);
  if (dw != sw) {
    const Taps cols = MakeTaps(sw, dw, k);
    std::unique_ptr<float[]> row(new float[std::size_t(sw) * 4]);
    if (dh != sh) middle.reset(new std::uint8_t[std::size_t(dw) * 4 * std::size_t(y1 - y0)]);
    for (int y = y0; y < y1; ++y) {
      std::uint8_t* o = dh == sh ? out[std::size_t(y)] : middle.get() + std::size_t(y - y0) * std::size_t(dw) * 4;
      HorizontalRow(in[std::size_t(y)], o, sw, dw, cols, row.get());
      mid[std::size_t(y)] = o;
    }
  }
  if (dh != sh) {
    for (int o = 0; o < dh; ++o) {
      const std::size_t f = std::size_t(rows.first[std::size_t(o)]);
      VerticalRow(mid.data() + f, out[std::size_t(o)], dw, &rows.weights[std::size_t(o) * rows.stride],
                  rows.count[std::size_t(o)]);
    }
  } else if (dw == sw) {
    for (int y = 0; y < dh; ++y) std::memcpy(out[std::size_t(y)], in[std::size_t(y)], std::size_t(dw) * 4);
  }
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
