// Octree reduction of a large photographic-like picture to 256 colours, side by
// side with ImageMagick's `convert -colors 256 +dither` on the same picture:
// time and mean squared error (per channel, 0..255 scale) of each.
//
// Usage: gif_reduce_bench [width height]   (default 2048 x 1536)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "gif/reduce.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Smooth value noise, a few octaves: stands in for texture (foliage, clouds).
class TValueNoise {
public:
  explicit TValueNoise(unsigned seed) {
    std::mt19937 rng(seed);
    for (float& v : grid_) v = float(rng() % 1000) / 1000.0f;
  }
  float At(float x, float y) const {
    float sum = 0, amp = 0.5f, total = 0;
    for (int o = 0; o < 5; ++o, x *= 2.03f, y *= 2.03f, amp *= 0.5f) {
      sum += amp * Smooth(x, y);
      total += amp;
    }
    return sum / total;
  }

private:
  static constexpr int N = 256;
  float Cell(int x, int y) const { return grid_[std::size_t((y & (N - 1)) * N + (x & (N - 1)))]; }
  float Smooth(float x, float y) const {
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    float fx = x - float(ix), fy = y - float(iy);
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    float a = Cell(ix, iy) + (Cell(ix + 1, iy) - Cell(ix, iy)) * fx;
    float b = Cell(ix, iy + 1) + (Cell(ix + 1, iy + 1) - Cell(ix, iy + 1)) * fx;
    return a + (b - a) * fy;
  }
  std::vector<float> grid_ = std::vector<float>(N * N);
};

std::uint8_t Clamp(float v) { return std::uint8_t(std::clamp(v, 0.0f, 255.0f) + 0.5f); }

// A landscape: graded sky with a sun and clouds, textured hills, a lake that
// mirrors the sky, and sensor noise on top.
TDIBPixels MakePicture(int w, int h) {
  TDIBPixels pic(w, h, 24);
  TValueNoise noise(1), clouds(2);
  std::mt19937 rng(3);
  std::normal_distribution<float> grain(0.0f, 3.0f);
  const float sunX = 0.72f * float(w), sunY = 0.22f * float(h), sunR = 0.06f * float(h);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = pic.ScanLine(y);
    float fy = float(y) / float(h);
    for (int x = 0; x < w; ++x) {
      float fx = float(x) / float(w);
      float r, g, b;
      float hill = 0.55f + 0.08f * std::sin(fx * 7.0f) + 0.05f * std::sin(fx * 17.0f + 1.0f) +
                   0.06f * (noise.At(fx * 8, 0.5f) - 0.5f);
      float lake = 0.82f;
      float skyY = fy < lake ? fy : 2 * lake - fy;  // the lake mirrors the sky
      if (fy < hill || fy >= lake) {
        r = 70 + 120 * skyY;
        g = 120 + 90 * skyY;
        b = 220 - 40 * skyY;
        float c = clouds.At(fx * 6, skyY * 12);
        if (c > 0.5f) {
          float k = std::min(1.0f, (c - 0.5f) * 4);
          r += (235 - r) * k;
          g += (235 - g) * k;
          b += (240 - b) * k;
        }
        float dx = float(x) - sunX, dy = skyY * float(h) - sunY;
        float d = std::sqrt(dx * dx + dy * dy);
        float glow = std::exp(-d / (sunR * 2.5f));
        r += (255 - r) * glow;
        g += (240 - g) * glow;
        b += (180 - b) * glow * 0.8f;
        if (fy >= lake) {  // darker, bluer water with ripples
          float ripple = 0.85f + 0.15f * std::sin(float(y) * 0.9f + noise.At(fx * 30, fy * 30) * 6);
          r *= 0.6f * ripple;
          g *= 0.7f * ripple;
          b *= 0.85f * ripple;
        }
      } else {
        float t = noise.At(fx * 40, fy * 40);
        float shade = 0.5f + 0.8f * (fy - hill) / (lake - hill + 0.001f);
        r = (40 + 90 * t) * (1.2f - 0.5f * shade);
        g = (80 + 120 * t) * (1.2f - 0.4f * shade);
        b = (30 + 50 * t) * (1.2f - 0.6f * shade);
      }
      row[x * 3 + 0] = Clamp(b + grain(rng));
      row[x * 3 + 1] = Clamp(g + grain(rng));
      row[x * 3 + 2] = Clamp(r + grain(rng));
    }
  }
  return pic;
}

void WritePPM(const TDIBPixels& pic, const std::string& file) {
  std::ofstream out(file, std::ios::binary);
  out << "P6\n" << pic.Width() << " " << pic.Height() << "\n255\n";
  std::vector<char> row(std::size_t(pic.Width()) * 3);
  for (int y = 0; y < pic.Height(); ++y) {
    const std::uint8_t* s = pic.ScanLine(y);
    for (int x = 0; x < pic.Width(); ++x) {
      row[std::size_t(x) * 3 + 0] = char(s[x * 3 + 2]);
      row[std::size_t(x) * 3 + 1] = char(s[x * 3 + 1]);
      row[std::size_t(x) * 3 + 2] = char(s[x * 3 + 0]);
    }
    out.write(row.data(), std::streamsize(row.size()));
  }
}

// Reads a binary PPM with maxval 255; empty on anything else.
TDIBPixels ReadPPM(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int w = 0, h = 0, maxval = 0;
  in >> magic >> w >> h >> maxval;
  in.get();
  if (!in || magic != "P6" || maxval != 255 || w <= 0 || h <= 0) return {};
  TDIBPixels pic(w, h, 24);
  std::vector<char> row(std::size_t(w) * 3);
  for (int y = 0; y < h; ++y) {
    if (!in.read(row.data(), std::streamsize(row.size()))) return {};
    for (int x = 0; x < w; ++x)
      pic.SetPixelColor(x, y, {std::uint8_t(row[std::size_t(x) * 3]),
                               std::uint8_t(row[std::size_t(x) * 3 + 1]),
                               std::uint8_t(row[std::size_t(x) * 3 + 2])});
  }
  return pic;
}

struct TQuality {
  double mse = 0;
  std::size_t colours = 0;
};

TQuality Compare(const TDIBPixels& a, const TDIBPixels& b) {
  TQuality q;
  std::set<std::uint32_t> seen;
  double sum = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      TGIFColor p = a.PixelColor(x, y), r = b.PixelColor(x, y);
      double dr = p.Red - r.Red, dg = p.Green - r.Green, db = p.Blue - r.Blue;
      sum += dr * dr + dg * dg + db * db;
      seen.insert(std::uint32_t(r.Red) << 16 | std::uint32_t(r.Green) << 8 | r.Blue);
    }
  q.mse = sum / (3.0 * double(a.Width()) * double(a.Height()));
  q.colours = seen.size();
  return q;
}

double TimeCommand(const std::string& cmd) {
  auto t0 = Clock::now();
  int rc = std::system(cmd.c_str());
  double ms = Ms(Clock::now() - t0);
  return rc == 0 ? ms : -1;
}

}  // namespace

int main(int argc, char** argv) {
  int w = argc > 2 ? std::atoi(argv[1]) : 2048;
  int h = argc > 2 ? std::atoi(argv[2]) : 1536;
  if (w <= 0 || h <= 0) {
    std::fprintf(stderr, "usage: gif_reduce_bench [width height]\n");
    return 2;
  }
  std::printf("Octree reduction to 256 colours, %d x %d photographic-like picture (%.1f Mpx)\n", w,
              h, double(w) * h / 1e6);
  TDIBPixels pic = MakePicture(w, h);
  std::printf("distinct colours in the picture: %zu\n\n", Compare(pic, pic).colours);

  // Ours: best of three, the reduction driver as a frame conversion calls it.
  double best = 1e300;
  TDIBPixels ours;
  for (int i = 0; i < 3; ++i) {
    auto t0 = Clock::now();
    ours = ReduceColors(pic, rmOptimized, dmNearest, 8);
    best = std::min(best, Ms(Clock::now() - t0));
  }
  TQuality q = Compare(pic, ours);
  std::printf("%-44s %10s %10s %8s\n", "", "time ms", "MSE", "colours");
  std::printf("%-44s %10.1f %10.2f %8zu\n", "ours: octree, nearest colour (best of 3)", best, q.mse,
              q.colours);

  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("gif_reduce_bench_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::string in = (dir / "in.ppm").string(), out = (dir / "out.ppm").string(),
              copy = (dir / "copy.ppm").string();
  WritePPM(pic, in);
  if (std::system("convert -version >/dev/null 2>&1") != 0) {
    std::printf("ImageMagick's convert was not found: no comparison\n");
  } else {
    double convBest = 1e300, ioBest = 1e300;
    for (int i = 0; i < 3; ++i) {
      convBest = std::min(convBest, TimeCommand("convert '" + in + "' -colors 256 +dither '" + out + "'"));
      ioBest = std::min(ioBest, TimeCommand("convert '" + in + "' '" + copy + "'"));
    }
    TDIBPixels theirs = ReadPPM(out);
    if (convBest < 0 || theirs.Empty() || theirs.Width() != w || theirs.Height() != h) {
      std::printf("convert failed\n");
    } else {
      TQuality t = Compare(pic, theirs);
      std::printf("%-44s %10.1f %10.2f %8zu\n", "convert -colors 256 +dither (best of 3)", convBest,
                  t.mse, t.colours);
      std::printf("%-44s %10.1f\n", "  of which start, read and write (plain copy)", ioBest);
      std::printf("%-44s %10.1f\n", "  net of that", convBest - ioBest);
      std::printf("\nours / convert: time x%.2f (net x%.2f), MSE x%.2f\n", best / convBest,
                  best / std::max(1.0, convBest - ioBest), q.mse / t.mse);
    }
  }
  fs::remove_all(dir);
  return 0;
}
