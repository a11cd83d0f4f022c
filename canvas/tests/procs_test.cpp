// Colour conversions, resampling and the convex outline against independent oracles.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "canvas/geometry.h"
#include "canvas/procs.h"
#include "gui_test.h"
#include "oracle.h"

namespace {

int HueDistance(int a, int b) {
  const int d = std::abs(a - b) % 240;
  return std::min(d, 240 - d);
}

std::vector<TColor> RandomColors(int N) {
  std::mt19937 rng(7);
  std::vector<TColor> v = {clBlack, clWhite, clRed, clLime, clBlue, RGB(128, 128, 128), RGB(255, 0, 1)};
  while (int(v.size()) < N) v.push_back(RGB(rng() & 255, rng() & 255, rng() & 255));
  return v;
}

}  // namespace

// Colours into HLS are the colorsys oracle's below; here the way back.
TEST(ColorHLS, KnownColoursAndRoundTrip) {
  std::uint16_t h, l, s;
  EXPECT_EQ(HLSToColor(80, 120, 240), clLime);
  EXPECT_EQ(HLSToColor(240, 120, 240), clRed) << "hue 240 is red again";
  EXPECT_EQ(HLSToColor(999, 999, 999), clWhite) << "out-of-range values are clamped, not wrapped into colour";

  for (TColor c : RandomColors(1000)) {
    ColorToHLS(c, h, l, s);
    const TColor back = HLSToColor(h, l, s);
    // 240 hue steps for 6 x 255 levels: a saturated channel may move by 255 * 6 / 240 / 2.
    for (auto get : {GetRValue, GetGValue, GetBValue})
      ASSERT_LE(std::abs(int(get(c)) - int(get(back))), 4) << std::hex << c << " -> " << back;
    std::uint16_t h2, l2, s2;
    ColorToHLS(back, h2, l2, s2);
    ASSERT_LE(std::abs(l2 - l), 1) << std::hex << c;
  }
  for (int g = 0; g < 256; ++g) {
    ColorToHLS(RGB(g, g, g), h, l, s);
    EXPECT_LE(std::abs(int(GetRValue(HLSToColor(h, l, s))) - g), 1) << "greys come back within 1";
  }
}

TEST(ColorHLS, AgreesWithPythonColorsys) {
  if (!oracle::HavePython("colorsys")) GTEST_SKIP() << "/usr/bin/python3 is not installed";
  const auto colors = RandomColors(1000);
  std::ostringstream in;
  for (TColor c : colors) in << int(GetRValue(c)) << ' ' << int(GetGValue(c)) << ' ' << int(GetBValue(c)) << '\n';
  const std::string data = oracle::ScriptFile("hls_in.txt", in.str());
  const std::string script = oracle::ScriptFile("hls.py", R"(import colorsys, sys
for line in open(sys.argv[1]):
    r, g, b = (int(v) / 255.0 for v in line.split())
    h, l, s = colorsys.rgb_to_hls(r, g, b)
    print(h * 240, l * 240, s * 240)
)");
  auto out = oracle::Run("/usr/bin/python3 " + script + " " + data);
  ASSERT_TRUE(out);
  std::istringstream res(*out);
  for (TColor c : colors) {
    double H, L, S;
    ASSERT_TRUE(res >> H >> L >> S);
    std::uint16_t h, l, s;
    ColorToHLS(c, h, l, s);
    EXPECT_LE(std::abs(l - L), 1.0) << std::hex << c;
    EXPECT_LE(std::abs(s - S), 1.0) << std::hex << c;
    if (S > 0) {
      EXPECT_LE(HueDistance(h, int(std::lround(H))), 1) << std::hex << c;
    }
  }
}

TEST(ColorHelpers, RGBTripleIsBlueGreenRed) {
  TRGBTriple t;
  ColorToRGBTriple(RGB(1, 2, 3), t);
  const std::uint8_t* b = reinterpret_cast<const std::uint8_t*>(&t);
  EXPECT_EQ(b[0], 3);
  EXPECT_EQ(b[1], 2);
  EXPECT_EQ(b[2], 1);
  static_assert(sizeof(TRGBTriple) == 3);
}

TEST(LoadLibrarySafe, MissingLibraryAnswersZero) {
  EXPECT_EQ(LoadLibrarySafe("/nonexistent/libnothing.so"), nullptr);
  EXPECT_EQ(LoadLibrarySafe(""), nullptr);
  HMODULE m = LoadLibrarySafe("libm.so.6");
  EXPECT_NE(m, nullptr);
  FreeLibrarySafe(m);
  FreeLibrarySafe(nullptr);
}

// ---------------------------------------------------------------------------
namespace {

// A photo-like picture: smooth shading, fine texture, noise and hard edges.
std::unique_ptr<TBitmap> Photo(int W, int H, unsigned Seed) {
  auto b = guitest::MakeBitmap(W, H);
  std::mt19937 rng(Seed);
  std::normal_distribution<double> noise(0, 6);
  for (int y = 0; y < H; ++y) {
    auto* p = static_cast<std::uint8_t*>(b->ScanLine(y));
    for (int x = 0; x < W; ++x) {
      const double u = double(x) / W, v = double(y) / H;
      double r = 120 + 100 * std::sin(6 * u + 2 * v) + noise(rng);
      double g = 90 + 80 * std::cos(9 * v * u) + 40 * std::sin(x * 0.9) + noise(rng);
      double bl = ((x / 7 + y / 5) % 2) ? 200 : 40;
      if ((x - W / 2) * (x - W / 2) + (y - H / 3) * (y - H / 3) < W * H / 12) r = 250, g = 240;
      p[4 * x + 0] = std::uint8_t(std::clamp(bl + noise(rng), 0.0, 255.0));
      p[4 * x + 1] = std::uint8_t(std::clamp(g, 0.0, 255.0));
      p[4 * x + 2] = std::uint8_t(std::clamp(r, 0.0, 255.0));
      p[4 * x + 3] = 0;
    }
  }
  return b;
}

std::unique_ptr<TBitmap> Checkerboard(int W, int H, int Cell) {
  auto b = guitest::MakeBitmap(W, H);
  for (int y = 0; y < H; ++y) {
    auto* p = static_cast<std::uint8_t*>(b->ScanLine(y));
    for (int x = 0; x < W; ++x) std::memset(p + 4 * x, ((x / Cell + y / Cell) % 2) ? 255 : 0, 3);
  }
  return b;
}

std::string WritePPM(TBitmap* B, const std::string& Name) {
  const std::string path = ::testing::TempDir() + Name;
  std::ofstream f(path, std::ios::binary);
  f << "P6\n" << B->Width() << ' ' << B->Height() << "\n255\n";
  for (int y = 0; y < B->Height(); ++y) {
    auto* p = static_cast<const std::uint8_t*>(B->ScanLine(y));
    for (int x = 0; x < B->Width(); ++x) f.put(char(p[4 * x + 2])).put(char(p[4 * x + 1])).put(char(p[4 * x]));
  }
  return path;
}

// Largest channel difference between our resampling and the reference one.
int ResampleDifference(TBitmap* Src, int W, int H, bool Bilinear) {
  const std::string in = WritePPM(Src, "resample_in.ppm");
  const std::string script = oracle::ScriptFile("resample.py", R"(import sys
from PIL import Image
im = Image.open(sys.argv[1]).convert('RGB')
f = Image.BILINEAR if sys.argv[4] == '1' else Image.LANCZOS
sys.stdout.buffer.write(im.resize((int(sys.argv[2]), int(sys.argv[3])), f).tobytes())
)");
  auto out = oracle::Run("/usr/bin/python3 " + script + " " + in + " " + std::to_string(W) + " " +
                         std::to_string(H) + (Bilinear ? " 1" : " 0"));
  if (!out || out->size() != std::size_t(W) * H * 3) return 1000;
  TBitmap dst;
  dst.SetPixelFormat(pf32bit);
  dst.SetSize(W, H);
  ResampleBitmap(Src, &dst, Bilinear);
  int worst = 0;
  for (int y = 0; y < H; ++y) {
    auto* p = static_cast<const std::uint8_t*>(dst.ScanLine(y));
    for (int x = 0; x < W; ++x)
      for (int c = 0; c < 3; ++c) {
        const int ref = std::uint8_t((*out)[(std::size_t(y) * W + x) * 3 + c]);
        worst = std::max(worst, std::abs(ref - p[4 * x + 2 - c]));
      }
  }
  return worst;
}

}  // namespace

// Tolerance 2: the reference works in fixed point, we in floating point; both round
// each pass to whole levels.
TEST(ResampleBitmap, MatchesPILOnPhotosAndACheckerboard) {
  if (!oracle::HavePython("PIL")) GTEST_SKIP() << "python3-pil is not installed";
  struct Case {
    const char* what;
    std::unique_ptr<TBitmap> src;
    int w, h;
  };
  Case cases[] = {{"photo shrunk", Photo(203, 151, 1), 80, 60},
                  {"photo enlarged", Photo(41, 29, 2), 130, 95},
                  {"photo one way", Photo(120, 90, 3), 120, 33},
                  {"checkerboard shrunk", Checkerboard(160, 120, 4), 57, 43},
                  {"checkerboard enlarged", Checkerboard(24, 24, 3), 101, 77}};
  for (auto& c : cases)
    for (bool bilinear : {true, false})
      EXPECT_LE(ResampleDifference(c.src.get(), c.w, c.h, bilinear), 2)
          << c.what << (bilinear ? " bilinear" : " lanczos");
}

TEST(ResampleBitmap, EmptySizesDoNothing) {
  auto src = Checkerboard(10, 10, 2);
  TBitmap empty;
  ResampleBitmap(src.get(), &empty, true);
  EXPECT_TRUE(empty.Empty());
  auto dst = guitest::MakeBitmap(5, 5, clRed);
  ResampleBitmap(&empty, dst.get(), false);
  EXPECT_EQ(dst->Canvas()->Pixels(2, 2), clRed) << "an empty source leaves the destination alone";
  ResampleBitmap(nullptr, dst.get(), false);
}

TEST(ResampleBitmap, UniformStaysUniformThroughLanczosRinging) {
  auto src = guitest::MakeBitmap(33, 17, RGB(200, 100, 7));
  auto dst = guitest::MakeBitmap(71, 5);
  ResampleBitmap(src.get(), dst.get(), false);
  EXPECT_EQ(guitest::CountColor(dst->Canvas(), {0, 0, 71, 5}, RGB(200, 100, 7)), 71 * 5);
}

// ---------------------------------------------------------------------------
TEST(Geometry, ConvexOutlineMatchesAMonotoneChainHull) {
  if (!oracle::HavePython("sys")) GTEST_SKIP() << "/usr/bin/python3 is not installed";
  const std::string script = oracle::ScriptFile("hull.py", R"(import sys
def cross(o, a, b):
    return (a[0]-o[0])*(b[1]-o[1]) - (a[1]-o[1])*(b[0]-o[0])
for line in open(sys.argv[1]):
    v = list(map(int, line.split()))
    pts = sorted(set(zip(v[0::2], v[1::2])))
    if len(pts) < 3:
        print(' '.join('%d %d' % p for p in pts)); continue
    lo, up = [], []
    for p in pts:
        while len(lo) >= 2 and cross(lo[-2], lo[-1], p) <= 0: lo.pop()
        lo.append(p)
    for p in reversed(pts):
        while len(up) >= 2 and cross(up[-2], up[-1], p) <= 0: up.pop()
        up.append(p)
    print(' '.join('%d %d' % p for p in lo[:-1] + up[:-1]))
)");
  std::mt19937 rng(11);
  std::vector<std::vector<TPoint>> sets;
  std::ostringstream in;
  for (int k = 0; k < 200; ++k) {
    const int n = 1 + int(rng() % 40), span = k % 3 == 0 ? 6 : 1000;  // small spans: repeats, collinear runs
    std::vector<TPoint> p;
    for (int i = 0; i < n; ++i) p.push_back({int(rng() % span) - span / 2, int(rng() % span) - span / 2});
    for (auto& q : p) in << q.X << ' ' << q.Y << ' ';
    in << '\n';
    sets.push_back(p);
  }
  auto out = oracle::Run("/usr/bin/python3 " + script + " " + oracle::ScriptFile("hull_in.txt", in.str()));
  ASSERT_TRUE(out);
  std::istringstream res(*out);
  for (auto& p : sets) {
    std::string line;
    std::getline(res, line);
    std::istringstream ls(line);
    std::vector<TPoint> ref;
    for (TPoint q; ls >> q.X >> q.Y;) ref.push_back(q);
    ConvexOutline(p);
    // Same corners in the same cyclic order (either direction counts as an outline).
    ASSERT_EQ(p.size(), ref.size());
    if (ref.empty()) continue;
    auto start = std::find(p.begin(), p.end(), ref[0]);
    ASSERT_NE(start, p.end());
    std::rotate(p.begin(), start, p.end());
    std::vector<TPoint> rev(ref.rbegin(), ref.rend() - 1);
    rev.insert(rev.begin(), ref[0]);
    EXPECT_TRUE(p == ref || p == rev) << "outline of " << p.size() << " corners differs";
  }
}
