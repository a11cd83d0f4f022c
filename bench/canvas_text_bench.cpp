// Drawing canvas figures: ResampleBitmap of a 2048 x 1536 picture to 800 x 600 beside
// PIL's resize of the same picture in the same run (and the largest level difference), and formatted text of a five-tag
// string as a ratio to plain text.
#include <QGuiApplication>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "canvas/canvas.h"

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Median milliseconds of Runs calls of F.
double Time(int Runs, const std::function<void()>& F) {
  std::vector<double> ms;
  for (int r = 0; r < Runs; ++r) {
    const std::int64_t t0 = GetMicroseconds();
    F();
    ms.push_back((GetMicroseconds() - t0) / 1000.0);
  }
  return Median(ms);
}

std::unique_ptr<TBitmap> Photo(int W, int H) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(W, H);
  std::mt19937 rng(5);
  for (int y = 0; y < H; ++y) {
    auto* p = static_cast<std::uint8_t*>(b->ScanLine(y));
    for (int x = 0; x < W; ++x) {
      p[4 * x] = std::uint8_t(x * 255 / W);
      p[4 * x + 1] = std::uint8_t((x / 13 + y / 11) % 2 ? 200 : 40);
      p[4 * x + 2] = std::uint8_t((y * 255 / H) ^ (rng() & 15));
      p[4 * x + 3] = 0;
    }
  }
  return b;
}

// PIL's median milliseconds for the resize of the same pixels as RGBX (the four bytes
// a pixel has here too), or a negative number when PIL is missing. Its result's
// bytes (R, G, B, X per pixel) land in Result.
double PILTime(TBitmap* Src, int W, int H, const char* Filter, int Runs, std::vector<std::uint8_t>& Result) {
  if (std::system("/usr/bin/python3 -c 'import PIL' >/dev/null 2>&1") != 0) return -1;
  const std::string ppm = "/tmp/canvas_text_bench.ppm", script = "/tmp/canvas_text_bench.py",
                    out = "/tmp/canvas_text_bench.out";
  {
    std::ofstream f(ppm, std::ios::binary);
    f << "P6\n" << Src->Width() << ' ' << Src->Height() << "\n255\n";
    for (int y = 0; y < Src->Height(); ++y) {
      auto* p = static_cast<const std::uint8_t*>(Src->ScanLine(y));
      for (int x = 0; x < Src->Width(); ++x) f.put(char(p[4 * x + 2])).put(char(p[4 * x + 1])).put(char(p[4 * x]));
    }
    std::ofstream(script) << "import sys, time\nfrom PIL import Image\n"
                             "im = Image.open(sys.argv[1]).convert('RGBX'); im.load()\n"
                             "f = getattr(Image, sys.argv[4]); t = []\n"
                             "for _ in range(int(sys.argv[5])):\n"
                             "    s = time.perf_counter(); r = im.resize((int(sys.argv[2]), int(sys.argv[3])), f)\n"
                             "    t.append((time.perf_counter() - s) * 1000)\n"
                             "open(sys.argv[6], 'wb').write(r.tobytes())\n"
                             "t.sort(); print(t[len(t) // 2])\n";
  }
  const std::string cmd = "/usr/bin/python3 " + script + " " + ppm + " " + std::to_string(W) + " " +
                          std::to_string(H) + " " + Filter + " " + std::to_string(Runs) + " " + out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return -1;
  double ms = -1;
  if (std::fscanf(p, "%lf", &ms) != 1) ms = -1;
  pclose(p);
  std::ifstream in(out, std::ios::binary);
  Result.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  std::remove(out.c_str());
  return ms;
}

// The largest difference of a colour channel between ours and PIL's RGBX bytes
// (-1 when the sizes do not match).
int LargestDifference(TBitmap& Ours, const std::vector<std::uint8_t>& Theirs) {
  const int w = Ours.Width(), h = Ours.Height();
  if (Theirs.size() != std::size_t(w) * std::size_t(h) * 4) return -1;
  int worst = 0;
  for (int y = 0; y < h; ++y) {
    auto* p = static_cast<const std::uint8_t*>(Ours.ScanLine(y));
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c)
        worst = std::max(worst, std::abs(int(p[4 * x + 2 - c]) - int(Theirs[(std::size_t(y) * w + x) * 4 + c])));
  }
  return worst;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("QT_FONT_DPI", "96", 1);
  QGuiApplication app(argc, argv);
  GraphicsUnitInit();

  auto src = Photo(2048, 1536);
  TBitmap dst;
  dst.SetPixelFormat(pf32bit);
  dst.SetSize(800, 600);
  std::printf("ResampleBitmap 2048 x 1536 -> 800 x 600, 4 bytes a pixel (median of 7, ms; PIL's RGBX in the same run)\n");
  for (bool bilinear : {true, false}) {
    const double ours = Time(7, [&] { ResampleBitmap(src.get(), &dst, bilinear); });
    std::vector<std::uint8_t> theirs;
    const double pil = PILTime(src.get(), 800, 600, bilinear ? "BILINEAR" : "LANCZOS", 7, theirs);
    if (pil > 0)
      std::printf("  %-9s ours %8.1f   PIL %8.1f   ratio ours/PIL %.2f   largest level difference %d\n",
                  bilinear ? "bilinear" : "Lanczos-3", ours, pil, ours / pil, LargestDifference(dst, theirs));
    else
      std::printf("  %-9s ours %8.1f   PIL not installed\n", bilinear ? "bilinear" : "Lanczos-3", ours);
  }

  // Five tags against the same visible text drawn plainly, 2 000 draws a round.
  TBitmap surface;
  surface.SetPixelFormat(pf32bit);
  surface.SetSize(600, 60);
  TLumCanvas3D c;
  c.AttachCanvas(surface.Canvas());
  c.SetBackMode(cbmTransparent);
  const std::string rich =
      "Omega <b>(k)</b> of the <i>diatomic</i> chain, <font color=red>optic</font> and <u>acoustic</u> "
      "<font size=+2>branches</font>";
  const std::string plain = "Omega (k) of the diatomic chain, optic and acoustic branches";
  const int n = 2000;
  const double tPlain = Time(5, [&] {
    for (int i = 0; i < n; ++i) c.TextOut(4, 4, plain);
  });
  const double tRich = Time(5, [&] {
    for (int i = 0; i < n; ++i) c.TextOutRich(4, 4, rich, true);
  });
  std::printf("TextOutRich of a five-tag string vs TextOut of its text (%d draws, median of 5)\n", n);
  std::printf("  TextOut %8.1f ms   TextOutRich %8.1f ms   ratio %.2f\n", tPlain, tRich, tRich / tPlain);
  GraphicsUnitDone();
  return 0;
}
