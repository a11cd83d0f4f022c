// GIF decode and encode throughput (megapixels per second) and LZW output size,
// ours beside giflib's tools and Python's imaging library on the same large
// generated pictures, in one run. Readers that are not installed are left out.
//
// Usage: gif_codec_bench [width height]   (default 2048 x 2048)
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "gif/gifimage.h"

namespace {

using Clock = std::chrono::steady_clock;

// Best of a few runs, in seconds.
double Time(const std::function<void()>& f, int runs = 3) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    auto t0 = Clock::now();
    f();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
  }
  return best;
}

bool Have(const std::string& tool) { return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0; }

// A photo-like picture: smooth waves plus grain over a 256-entry palette.
// A drawing-like picture: a few flat regions of 16 colours.
void Fill(TGIFImage& img, int w, int h, bool photo) {
  const int colors = photo ? 256 : 16;
  for (int i = 0; i < colors; ++i)
    img.GlobalColorMap()->Add(RGB((i * 37) & 255, (i * 91) & 255, (i * 53) & 255));
  auto* f = new TGIFSubImage(&img);
  img.Images()->Add(f);
  f->SetBounds(0, 0, w, h);
  std::mt19937 rng(42);
  std::uint8_t* p = f->Data();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int v;
      if (photo) {
        double s = 128 + 60 * std::sin(x * 0.013) * std::cos(y * 0.021) + 50 * std::sin((x + y) * 0.004);
        v = std::clamp(int(s) + int(rng() % 9) - 4, 0, 255);
      } else {
        v = ((x / 97) * 3 + (y / 61) * 5 + ((x * x + y * y) / 40000)) % 16;
      }
      p[std::size_t(y) * std::size_t(w) + std::size_t(x)] = std::uint8_t(v);
    }
}

std::int64_t FileSize(const std::string& f) {
  std::error_code ec;
  auto n = std::filesystem::file_size(f, ec);
  return ec ? -1 : std::int64_t(n);
}

void Row(const char* who, const char* what, double mp, double seconds, std::int64_t size) {
  if (seconds <= 0) return;
  std::printf("  %-8s %-16s %8.1f MP/s", who, what, mp / seconds);
  if (size >= 0) std::printf("   %10lld bytes", (long long)size);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  int w = 2048, h = 2048;
  if (argc == 3) {
    w = std::atoi(argv[1]);
    h = std::atoi(argv[2]);
  }
  char tmpl[] = "/tmp/phonark-gif-bench-XXXXXX";
  const std::string dir = mkdtemp(tmpl) ? tmpl : "/tmp";
  const bool giflib = Have("giftext") && Have("giftool");
  const bool pil = std::system("/usr/bin/python3 -c 'import PIL' >/dev/null 2>&1") == 0;
  const double mp = double(w) * h / 1e6;
  std::printf("GIF codec, %d x %d pixels (%.1f MP)%s%s\n", w, h, mp, giflib ? "" : ", giflib tools missing",
              pil ? "" : ", PIL missing");

  for (bool photo : {true, false}) {
    std::printf("%s picture:\n", photo ? "photo-like 256-colour" : "drawing-like 16-colour");
    TGIFImage img;
    Fill(img, w, h, photo);
    TMemoryStream lzw;
    double enc = Time([&] {
      lzw.Clear();
      img.SaveToStream(&lzw);
    });
    const std::string file = dir + (photo ? "/photo.gif" : "/drawing.gif");
    lzw.SaveToFile(file);
    img.SetCompression(gcRLE);
    TMemoryStream rle;
    double encRle = Time([&] {
      rle.Clear();
      img.SaveToStream(&rle);
    });
    double dec = Time([&] {
      TGIFImage back;
      lzw.SetPosition(0);
      back.LoadFromStream(&lzw);
    });
    Row("ours", "decode", mp, dec, -1);
    Row("ours", "LZW encode", mp, enc, lzw.Size());
    Row("ours", "RLE encode", mp, encRle, rle.Size());

    if (giflib) {
      // giftext -r decodes and writes every index; giftool decodes and re-encodes.
      double gdec = Time([&] { std::system(("giftext -r " + file + " >/dev/null").c_str()); });
      const std::string out = dir + "/giflib.gif";
      double gboth = Time([&] { std::system(("giftool < " + file + " > " + out).c_str()); });
      Row("giflib", "decode (giftext)", mp, gdec, -1);
      Row("giflib", "decode+encode", mp, gboth, FileSize(out));
      if (FileSize(out) > 0)
        std::printf("  LZW size ours / giflib: %.4f\n", double(lzw.Size()) / double(FileSize(out)));
    }
    if (pil) {
      const std::string script = dir + "/bench.py";
      std::ofstream(script) << R"PY(
import io, sys, time
from PIL import Image
data = open(sys.argv[1], "rb").read()
best_d = best_e = 1e30
for _ in range(3):
    t = time.perf_counter(); im = Image.open(io.BytesIO(data)); im.load(); best_d = min(best_d, time.perf_counter() - t)
    buf = io.BytesIO(); t = time.perf_counter(); im.save(buf, "GIF", optimize=False); best_e = min(best_e, time.perf_counter() - t)
print(best_d, best_e, len(buf.getvalue()))
)PY";
      FILE* p = popen(("/usr/bin/python3 " + script + " " + file).c_str(), "r");
      double pd = 0, pe = 0;
      long long ps = -1;
      if (p) {
        if (std::fscanf(p, "%lf %lf %lld", &pd, &pe, &ps) != 3) pd = pe = 0;
        pclose(p);
      }
      Row("PIL", "decode", mp, pd, -1);
      Row("PIL", "LZW encode", mp, pe, ps);
    }
  }
  std::filesystem::remove_all(dir);
  return 0;
}
