// Drawing canvas figures: the cost of the effects on 1 000 rectangles of 100 x 60 pixels
// as a ratio to plain fills, and of projecting 1 000 000 points in the free 3D view.
#include <QGuiApplication>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "canvas/canvas.h"

namespace {

constexpr int W = 800, H = 600, Rects = 1000, Rounds = 5;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Rectangle i: spread over the buffer, every one wholly inside.
TRect RectAt(int i) {
  const int x = 20 + (i * 37) % (W - 140), y = 20 + (i * 53) % (H - 100);
  return {x, y, x + 100, y + 60};
}

// Milliseconds for Draw over all rectangles, median of Rounds frames.
double Time(TLumCanvas3D& c, TCanvas* window, TView3DOptions* view, const std::function<void(const TRect&)>& Draw) {
  std::vector<double> ms;
  for (int r = 0; r < Rounds; ++r) {
    c.InitWindow(window, view, clWhite, false, {0, 0, W, H});
    const std::int64_t t0 = GetMicroseconds();
    for (int i = 0; i < Rects; ++i) Draw(RectAt(i));
    ms.push_back((GetMicroseconds() - t0) / 1000.0);
  }
  return Median(ms);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  GraphicsUnitInit();
  {
    TBitmap window;
    window.SetPixelFormat(pf32bit);
    window.SetSize(W, H);
    TLumCanvas3D c;
    TView3DOptions view;
    auto fill = [&](const TRect& r) {
      c.Brush()->SetColor(clRed);
      c.FillRect(r);
    };
    TLumShadow shadow;
    shadow.SetSize(6);
    shadow.SetSmooth(true);
    shadow.SetSmoothBlur(8);
    TLumEmboss emboss;
    emboss.SetSize(3);

    const double plain = Time(c, window.Canvas(), &view, fill);
    const double shadowed = Time(c, window.Canvas(), &view, [&](const TRect& r) {
      shadow.Draw(&c, r);
      fill(r);
    });
    const double embossed = Time(c, window.Canvas(), &view, [&](const TRect& r) {
      emboss.Draw(&c, r);
      fill(r);
    });
    const double blended = Time(c, window.Canvas(), &view, [&](const TRect& r) {
      TLumBlend* b = c.BeginBlending(r, 50);
      fill(r);
      c.EndBlending(b);
    });
    std::printf("1 000 rectangles of 100 x 60 on an %d x %d buffer (median of %d frames):\n", W, H, Rounds);
    std::printf("  plain fill                    %9.3f ms  ratio 1\n", plain);
    std::printf("  fill + shadow, blur 8         %9.3f ms  ratio %.1f\n", shadowed, shadowed / plain);
    std::printf("  fill + emboss (size 3, sharp) %9.3f ms  ratio %.1f\n", embossed, embossed / plain);
    std::printf("  fill blended at 50 %%          %9.3f ms  ratio %.1f\n", blended, blended / plain);

    // Projection in the free view with perspective.
    view.SetOrthogonal(false);
    view.SetPerspective(30);
    c.InitWindow(window.Canvas(), &view, clWhite, true, {0, 0, W, H});
    c.CalcPerspective({0, 0, W, H}, 200);
    constexpr int Points = 1000000;
    std::vector<double> ms;
    long long sink = 0;
    for (int r = 0; r < Rounds; ++r) {
      const std::int64_t t0 = GetMicroseconds();
      for (int i = 0; i < Points; ++i) {
        const TPoint p = c.ProjectPoint(i % W, (i / W) % H, i % 200);
        sink += p.X + p.Y;
      }
      ms.push_back((GetMicroseconds() - t0) / 1000.0);
    }
    std::printf("ProjectPoint, 1 000 000 points, free view with perspective: %.3f ms (%.1f ns/point)%s\n",
                Median(ms), Median(ms) * 1e6 / Points, sink == 42 ? " " : "");
  }
  GraphicsUnitDone();
  return 0;
}
