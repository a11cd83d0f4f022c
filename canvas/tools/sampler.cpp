// canvas_sampler OUT.png: draws a sampler of the canvas (lines and pen styles, brushes,
// shapes, the ten gradient directions, rotated text, clipping, a frame through the
// off-screen buffer) headless and writes it as a PNG, for looking at.
#include <QFont>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "canvas/canvas.h"

namespace {

const char* const kDirections[] = {"Top Bottom",     "Bottom Top", "Left Right",  "Right Left",
                                   "From Center",    "From Top Left", "From Bottom Left", "Radial",
                                   "Diagonal Up",    "Diagonal Down"};

void Label(TLumCanvas3D& c, int x, int y, const std::string& text) {
  c.SetBackMode(cbmTransparent);
  c.TextOut(x, y, text);
}

void DrawScene(TLumCanvas3D& c, int W, int H) {
  // Panel and back wall as the dispersion chart has them.
  TLumGradient panel;
  panel.SetDirection(gdDiagonalDown);
  panel.SetEndColor(11645361);
  panel.Draw(&c, {0, 0, W, H});
  TLumGradient wall;
  wall.SetEndColor(11118482);
  wall.Draw(&c, {8, 8, 232, 150});
  TLumFont font;
  c.AssignFont(&font);
  Label(c, 14, 10, "Pens");

  // Pen styles, widths and a hidden pen (drawn nowhere).
  TChartPen pen;
  const TPenStyle styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot};
  for (int i = 0; i < 5; ++i) {
    pen.SetStyle(styles[i]);
    pen.SetColor(i % 2 ? clNavy : clMaroon);
    c.ApplyPen(&pen);
    c.HorizLine(14, 120, 32 + 10 * i);
  }
  pen.SetStyle(psSolid);
  for (int w = 1; w <= 4; ++w) {
    pen.SetWidth(w);
    pen.SetColor(clGreen);
    c.ApplyPen(&pen);
    c.Line(130, 28 + 12 * w, 224, 28 + 12 * w - 10);
  }
  TChartHiddenPen hidden;
  c.ApplyPen(&hidden);
  c.Line(14, 90, 224, 90);

  // The dispersion chart's dotted centre line.
  c.Pen()->SetColor(clBlack);
  c.Pen()->SetStyle(psDot);
  c.Pen()->SetWidth(1);
  c.MoveTo(120, 100);
  c.LineTo(120, 146);
  c.LineTo(120, 84);

  // Brushes and shapes.
  c.ResetState();
  TChartBrush brush;
  const TBrushStyle hatches[] = {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross};
  for (int i = 0; i < 6; ++i) {
    brush.SetStyle(hatches[i]);
    brush.SetColor(clWhite);
    c.ApplyBrushWithBack(&brush, i < 3 ? clRed : clBlue);
    c.Rectangle(244 + 38 * i, 10, 244 + 38 * i + 32, 40);
  }
  brush.SetStyle(bsSolid);
  c.ApplyBrushWithBack(&brush, clYellow);
  c.Ellipse(244, 50, 300, 90);
  c.ApplyBrushWithBack(&brush, clAqua);
  c.Polygon({{310, 90}, {340, 50}, {370, 90}});
  c.ApplyBrushWithBack(&brush, clFuchsia);
  c.Diamond({380, 50, 420, 90}, 0);
  c.ApplyBrushWithBack(&brush, clLime);
  c.Arrow(true, {244, 112}, {330, 100}, 16, 12, 0, 40);
  c.Arrow(false, {244, 142}, {330, 130}, 16, 12, 0, 40);

  // A gradient brush fills shapes until a plain brush is applied.
  brush.Gradient()->SetVisible(true);
  brush.Gradient()->SetStartColor(clYellow);
  brush.Gradient()->SetEndColor(clRed);
  c.ApplyBrushWithBack(&brush, clWhite);
  c.Ellipse(430, 50, 470, 90);
  brush.Gradient()->SetVisible(false);
  c.ApplyBrushWithBack(&brush, clWhite);

  // The ten directions, red to blue through yellow.
  TLumGradient g;
  g.SetStartColor(clRed);
  g.SetMidColor(clYellow);
  g.SetEndColor(clBlue);
  for (int d = 0; d < 10; ++d) {
    const int x = 10 + 93 * (d % 5), y = 160 + 70 * (d / 5);
    g.SetDirection(TGradientDirection(d));
    g.Draw(&c, {x, y, x + 84, y + 44}, d == 7 ? 16 : 0);
    c.SetFontZoom(90);
    c.AssignFont(&font);
    Label(c, x, y + 46, kDirections[d]);
    c.SetFontZoom(100);
  }

  // Rotated text about its start point, and clipping.
  TLumFont big;
  big.SetSize(11);
  big.SetStyle(FontStyles({fsBold}));
  c.AssignFont(&big);
  c.SetBackMode(cbmTransparent);
  c.RotateLabel(455, 150, "Omega", 90);
  c.RotateLabel(345, 150, "45 degrees", 45);
  c.ResetState();
  c.ClipRectangle({160, 100, 230, 146});
  c.Brush()->SetStyle(bsClear);
  c.Pen()->SetColor(clPurple);
  c.Pen()->SetWidth(3);
  c.Ellipse(140, 110, 250, 200);  // only the part inside the clip shows
  c.UnClipRectangle();
  c.ResetState();
  c.Brush()->SetStyle(bsClear);
  c.Rectangle(160, 100, 230, 146);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: canvas_sampler OUT.png\n");
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("QT_FONT_DPI", "96", 1);
  QGuiApplication app(argc, argv);
  GraphicsUnitInit();

  const int W = 490, H = 310;
  auto window = std::make_unique<TBitmap>();
  window->SetPixelFormat(pf32bit);
  window->SetSize(W, H);
  TLumCanvas3D canvas;
  TView3DOptions view;
  canvas.InitWindow(window->Canvas(), &view, clWhite, false, {0, 0, W, H});
  DrawScene(canvas, W, H);
  canvas.ShowImage(window->Canvas(), {0, 0, W, H});

  QImage img(W, H, QImage::Format_RGB32);
  for (int y = 0; y < H; ++y) std::memcpy(img.scanLine(y), window->ScanLine(y), size_t(4 * W));
  const bool ok = img.save(QString::fromStdString(argv[1]), "PNG");
  GraphicsUnitDone();
  if (!ok) std::fprintf(stderr, "canvas_sampler: cannot write %s\n", argv[1]);
  return ok ? 0 : 1;
}
