// GIF decode and encode throughput (megapixels per second) and LZW output size:
// ours beside giflib's library (linked here only, decoding and encoding in
// memory) and Python's imaging library, on the same generated pictures, in one
// run. Peers that are not installed are left out.
//
// Usage: gif_codec_bench [runs]   (best of runs, default 7)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "gif/gifimage.h"

#ifdef PHONARK_BENCH_GIFLIB
#include <gif_lib.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;
int Runs = 7;

// Best of Runs, in seconds.
double Time(const std::function<void()>& f) {
  double best = 1e30;
  for (int i = 0; i < Runs; ++i) {
    auto t0 = Clock::now();
    f();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
  }
  return best;
}

// One input: frames of indexes with their tables, as both codecs are given them.
struct TBenchFrame {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  std::vector<TGIFColor> Local;  // empty: the global table
  std::vector<std::uint8_t> Pixels;
  int Delay = -1;  // -1: no graphic control extension
};
struct TBenchPicture {
  const char* Name;
  int Width, Height;
  std::vector<TGIFColor> Global;
  std::vector<TBenchFrame> Frames;
  double Megapixels() const {
    double n = 0;
    for (const auto& f : Frames) n += double(f.Width) * f.Height;
    return n / 1e6;
  }
};

std::vector<TGIFColor> Palette(int n, int seed) {
  std::vector<TGIFColor> t(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    t[std::size_t(i)] = {std::uint8_t((i * 37 + seed) & 255), std::uint8_t((i * 91 + 3 * seed) & 255),
                         std::uint8_t((i * 53 + 7 * seed) & 255)};
  return t;
}

// Smooth waves plus grain: compresses like a dithered photo.
std::uint8_t PhotoPixel(int x, int y, int phase, std::mt19937& rng) {
  double s = 128 + 60 * std::sin((x + phase) * 0.013) * std::cos(y * 0.021) + 50 * std::sin((x + y + 2 * phase) * 0.004);
  return std::uint8_t(std::clamp(int(s) + int(rng() % 9) - 4, 0, 255));
}

TBenchPicture Photo(int w, int h) {
  TBenchPicture p{"photo-like 256 colours", w, h, Palette(256, 0), {}};
  TBenchFrame f{0, 0, w, h, {}, std::vector<std::uint8_t>(std::size_t(w) * std::size_t(h)), -1};
  std::mt19937 rng(42);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) f.Pixels[std::size_t(y) * std::size_t(w) + std::size_t(x)] = PhotoPixel(x, y, 0, rng);
  p.Frames.push_back(std::move(f));
  return p;
}

// A few flat regions of 16 colours.
TBenchPicture Drawing(int w, int h) {
  TBenchPicture p{"drawing-like 16 colours", w, h, Palette(16, 0), {}};
  TBenchFrame f{0, 0, w, h, {}, std::vector<std::uint8_t>(std::size_t(w) * std::size_t(h)), -1};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      f.Pixels[std::size_t(y) * std::size_t(w) + std::size_t(x)] =
          std::uint8_t(((x / 97) * 3 + (y / 61) * 5 + ((x * x + y * y) / 40000)) % 16);
  p.Frames.push_back(std::move(f));
  return p;
}

// Moving waves, each frame with its own 256-entry table and a delay.
TBenchPicture Animation(int w, int h, int frames) {
  TBenchPicture p{"animation, local tables", w, h, {}, {}};
  std::mt19937 rng(7);
  for (int i = 0; i < frames; ++i) {
    TBenchFrame f{0, 0, w, h, Palette(256, i + 1), std::vector<std::uint8_t>(std::size_t(w) * std::size_t(h)), 4};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) f.Pixels[std::size_t(y) * std::size_t(w) + std::size_t(x)] = PhotoPixel(x, y, 9 * i, rng);
    p.Frames.push_back(std::move(f));
  }
  return p;
}

void Build(const TBenchPicture& p, TGIFImage& img) {
  for (const TGIFColor& c : p.Global) img.GlobalColorMap()->Add(RGB(c.Red, c.Green, c.Blue));
  for (const TBenchFrame& bf : p.Frames) {
    auto* f = new TGIFSubImage(&img);
    img.Images()->Add(f);
    f->SetBounds(bf.Left, bf.Top, bf.Width, bf.Height);
    for (const TGIFColor& c : bf.Local) f->ColorMap()->Add(RGB(c.Red, c.Green, c.Blue));
    std::copy(bf.Pixels.begin(), bf.Pixels.end(), f->Data());
    if (bf.Delay >= 0) {
      auto* gce = new TGIFGraphicControlExtension(f);
      gce->SetDelay(bf.Delay);
      f->Extensions()->Add(gce);
    }
  }
}

bool SamePixels(const TBenchPicture& p, TGIFImage& img) {
  if (img.Images()->Count() != int(p.Frames.size())) return false;
  for (std::size_t i = 0; i < p.Frames.size(); ++i) {
    const TGIFSubImage* f = img.Images()->SubImages(int(i));
    if (f->DataSize() != std::int64_t(p.Frames[i].Pixels.size()) ||
        !std::equal(p.Frames[i].Pixels.begin(), p.Frames[i].Pixels.end(), f->Data()))
      return false;
  }
  return true;
}

void Row(const char* who, const char* what, double mp, double seconds, std::int64_t size, double ours = 0) {
  if (seconds <= 0) return;
  std::printf("  %-7s %-11s %8.1f MP/s", who, what, mp / seconds);
  if (size >= 0) std::printf("  %9lld bytes", (long long)size);
  if (ours > 0) std::printf("   ours / %s: %.2fx", who, seconds / ours);
  std::printf("\n");
}

#ifdef PHONARK_BENCH_GIFLIB
struct TMemIn {
  const std::uint8_t* Data;
  std::size_t Size, Pos;
};
int ReadMem(GifFileType* g, GifByteType* buf, int n) {
  auto* m = static_cast<TMemIn*>(g->UserData);
  const std::size_t k = std::min<std::size_t>(std::size_t(n), m->Size - m->Pos);
  std::memcpy(buf, m->Data + m->Pos, k);
  m->Pos += k;
  return int(k);
}
int WriteMem(GifFileType* g, const GifByteType* buf, int n) {
  static_cast<std::vector<std::uint8_t>*>(g->UserData)->insert(
      static_cast<std::vector<std::uint8_t>*>(g->UserData)->end(), buf, buf + n);
  return n;
}

ColorMapObject* Map(const std::vector<TGIFColor>& t) {
  if (t.empty()) return nullptr;
  int n = 2;
  while (n < int(t.size())) n *= 2;
  std::vector<GifColorType> c(std::size_t(n), GifColorType{0, 0, 0});
  for (std::size_t i = 0; i < t.size(); ++i) c[i] = {t[i].Red, t[i].Green, t[i].Blue};
  return GifMakeMapObject(n, c.data());
}

// The library's own line-by-line encoder into memory.
void GiflibEncode(const TBenchPicture& p, std::vector<std::uint8_t>& out) {
  out.clear();
  int err = 0;
  GifFileType* g = EGifOpen(&out, WriteMem, &err);
  if (!g) throw std::runtime_error("EGifOpen failed");
  bool any = false;
  for (const auto& f : p.Frames) any = any || f.Delay >= 0;
  EGifSetGifVersion(g, any);
  ColorMapObject* global = Map(p.Global);
  EGifPutScreenDesc(g, p.Width, p.Height, 8, 0, global);
  for (const auto& f : p.Frames) {
    if (f.Delay >= 0) {
      std::uint8_t gce[4] = {0, std::uint8_t(f.Delay), std::uint8_t(f.Delay >> 8), 0};
      EGifPutExtension(g, GRAPHICS_EXT_FUNC_CODE, 4, gce);
    }
    ColorMapObject* local = Map(f.Local);
    EGifPutImageDesc(g, f.Left, f.Top, f.Width, f.Height, false, local);
    for (int y = 0; y < f.Height; ++y)
      if (EGifPutLine(g, const_cast<GifPixelType*>(f.Pixels.data()) + std::size_t(y) * std::size_t(f.Width), f.Width) !=
          GIF_OK)
        throw std::runtime_error("EGifPutLine failed");
    if (local) GifFreeMapObject(local);
  }
  EGifCloseFile(g, &err);
  if (global) GifFreeMapObject(global);
}

bool GiflibDecode(const std::vector<std::uint8_t>& in, const TBenchPicture* check) {
  TMemIn m{in.data(), in.size(), 0};
  int err = 0;
  GifFileType* g = DGifOpen(&m, ReadMem, &err);
  if (!g) return false;
  bool ok = DGifSlurp(g) == GIF_OK;
  if (ok && check) {
    ok = g->ImageCount == int(check->Frames.size());
    for (int i = 0; ok && i < g->ImageCount; ++i)
      ok = std::equal(check->Frames[std::size_t(i)].Pixels.begin(), check->Frames[std::size_t(i)].Pixels.end(),
                      g->SavedImages[i].RasterBits);
  }
  DGifCloseFile(g, &err);
  return ok;
}
#endif

const char* PilScript = R"PY(
import io, sys, time
from PIL import Image, ImageSequence
data = open(sys.argv[1], "rb").read()
runs = int(sys.argv[2])
best_d = best_e = 1e30
for _ in range(runs):
    t = time.perf_counter()
    im = Image.open(io.BytesIO(data))
    frames = []
    for f in ImageSequence.Iterator(im):
        f.load(); frames.append(f.copy())
    best_d = min(best_d, time.perf_counter() - t)
    buf = io.BytesIO(); t = time.perf_counter()
    frames[0].save(buf, "GIF", optimize=False, save_all=len(frames) > 1, append_images=frames[1:])
    best_e = min(best_e, time.perf_counter() - t)
print(best_d, best_e, len(buf.getvalue()))
)PY";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2) Runs = std::max(1, std::atoi(argv[1]));
  // A folder of its own: the whole of it is removed at the end.
  std::string dir = (std::filesystem::temp_directory_path() / "phonark-gif-bench-XXXXXX").string();
  if (!mkdtemp(dir.data())) {
    std::fprintf(stderr, "gif_codec_bench: cannot make a temporary folder\n");
    return 1;
  }
  const bool pil = std::system("/usr/bin/python3 -c 'import PIL' >/dev/null 2>&1") == 0;
#ifdef PHONARK_BENCH_GIFLIB
  const bool giflib = true;
#else
  const bool giflib = false;
#endif
  std::printf("GIF codec, best of %d runs%s%s\n", Runs, giflib ? "" : ", giflib missing (install libgif-dev)",
              pil ? "" : ", PIL missing");
  const std::string script = dir + "/bench.py";
  std::ofstream(script) << PilScript;

  for (const TBenchPicture& p : {Photo(2048, 2048), Drawing(2048, 2048), Animation(512, 384, 40)}) {
    const double mp = p.Megapixels();
    std::printf("%s, %d x %d, %zu frame(s), %.1f MP:\n", p.Name, p.Width, p.Height, p.Frames.size(), mp);
    TGIFImage img;
    Build(p, img);
    TMemoryStream lzw;
    const double enc = Time([&] {
      lzw.Clear();
      img.SaveToStream(&lzw);
    });
    const double dec = Time([&] {
      TGIFImage back;
      lzw.SetPosition(0);
      back.LoadFromStream(&lzw);
    });
    {
      TGIFImage back;
      lzw.SetPosition(0);
      back.LoadFromStream(&lzw);
      if (!SamePixels(p, back)) std::printf("  ours: decoded pixels differ!\n");
    }
    Row("ours", "decode", mp, dec, -1);
    Row("ours", "LZW encode", mp, enc, lzw.Size());
    std::vector<std::uint8_t> ourBytes(static_cast<const std::uint8_t*>(lzw.Memory()),
                                       static_cast<const std::uint8_t*>(lzw.Memory()) + lzw.Size());
#ifdef PHONARK_BENCH_GIFLIB
    std::vector<std::uint8_t> theirs;
    const double genc = Time([&] { GiflibEncode(p, theirs); });
    const double gdec = Time([&] { GiflibDecode(ourBytes, nullptr); });
    if (!GiflibDecode(ourBytes, &p)) std::printf("  giflib: decoding our file failed or differs!\n");
    if (!GiflibDecode(theirs, &p)) std::printf("  giflib: its own file does not decode to the pixels!\n");
    Row("giflib", "decode", mp, gdec, -1, dec);
    Row("giflib", "LZW encode", mp, genc, std::int64_t(theirs.size()), enc);
    std::printf("  LZW size ours - giflib: %+lld bytes\n", (long long)lzw.Size() - (long long)theirs.size());
#endif
    if (pil) {
      const std::string file = dir + "/in.gif";
      lzw.SaveToFile(file);
      FILE* f = popen(("/usr/bin/python3 " + script + " " + file + " " + std::to_string(Runs)).c_str(), "r");
      double pd = 0, pe = 0;
      long long ps = -1;
      if (f) {
        if (std::fscanf(f, "%lf %lf %lld", &pd, &pe, &ps) != 3) pd = pe = 0;
        pclose(f);
      }
      Row("PIL", "decode", mp, pd, -1, dec);
      Row("PIL", "LZW encode", mp, pe, ps, enc);
    }
  }
  std::filesystem::remove_all(dir);
  return 0;
}
