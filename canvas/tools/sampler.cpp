// canvas_sampler OUT.png: draws a sampler of the canvas (lines and pen styles, brushes,
// shapes, the ten gradient directions, rotated text, clipping, a frame through the
// off-screen buffer; then the 3D view: cubes in several views, pictures on the three
// planes, arrows and text in depth, shadows, emboss, blending and angled gradients;
// then text: formatted text, outlined, gradient, picture-filled, shadowed, embossed
// and deep fonts, a rotated outlined label, formatted text in a shadowed font and the
// two embedded fonts; then a photo-like picture through each
// image filter and resampled) headless and writes it as a PNG, for looking at.
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

// A view for one cell: free unless Orthogonal, projecting for Cell with Depth.
void SetView(TLumCanvas3D& c, TView3DOptions& v, const TRect& Cell, int Depth, bool Orthogonal, int OrthoAngle,
             int Rotation, int Elevation, int Perspective) {
  v.SetOrthogonal(Orthogonal);
  v.SetOrthoAngle(OrthoAngle);
  v.SetRotation(Rotation);
  v.SetElevation(Elevation);
  v.SetPerspective(Perspective);
  c.SetView3DOptions(&v);
  c.SetIs3D(true);
  c.CalcPerspective(Cell, Depth);
}

std::unique_ptr<TBitmap> SamplePicture() {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(40, 30);
  TCanvas* k = b->Canvas();
  k->Brush()->SetColor(clYellow);
  k->FillRect({0, 0, 40, 30});
  k->Brush()->SetColor(clBlue);
  k->FillRect({0, 0, 14, 10});  // marks the picture's top-left
  k->Brush()->SetColor(clRed);
  k->FillRect({0, 24, 40, 30});  // and its bottom
  k->Font()->SetColor(clBlack);
  k->Font()->SetHeight(-11);
  k->SetBkMode(TRANSPARENT);
  k->TextOut(16, 8, "Pic");
  return b;
}

void DrawScene3D(TLumCanvas3D& c, int Top) {
  TLumFont font;
  TView3DOptions view;
  c.ResetState();
  c.AssignFont(&font);
  Label(c, 8, Top, "3D: cubes (ortho 45, ortho 135, 345/345, 330/340 persp 40, 20/350 persp 25)");

  // Cubes: the dark flag shades top and sides.
  struct CubeView {
    bool ortho;
    int angle, rotation, elevation, perspective;
    const char* name;
  };
  const CubeView views[] = {{true, 45, 345, 345, 0, "ortho 45"},
                            {true, 135, 345, 345, 0, "ortho 135"},
                            {false, 45, 345, 345, 15, "345 / 345"},
                            {false, 45, 330, 340, 40, "330 / 340"},
                            {false, 45, 20, 350, 25, "20 / 350"}};
  for (int i = 0; i < 5; ++i) {
    const TRect cell{8 + 96 * i, Top + 16, 8 + 96 * i + 90, Top + 116};
    const CubeView& v = views[i];
    SetView(c, view, cell, 30, v.ortho, v.angle, v.rotation, v.elevation, v.perspective);
    c.Brush()->SetColor(i % 2 ? clTeal : RGB(70, 130, 220));
    c.Pen()->SetColor(clBlack);
    c.CubeFromRect({cell.Left + 25, cell.Top + 35, cell.Left + 60, cell.Top + 75}, 0, 30, true);
    c.SetIs3D(false);
    Label(c, cell.Left + 4, cell.Bottom - 14, v.name);
  }

  // Pictures on the front, side and floor planes of one box, with its outline.
  const TRect box{10, Top + 140, 230, Top + 290};
  SetView(c, view, box, 60, false, 45, 335, 340, 30);
  auto pic = SamplePicture();
  const int l = 70, t = Top + 170, r = 170, b = Top + 250;
  c.DrawPicture(cpFront, pic.get(), {l, t, r, b}, 60);  // back to front
  c.DrawPicture(cpSide, pic.get(), {0, t, 60, b}, r);
  c.DrawPicture(cpFloor, pic.get(), {l, 0, r, 60}, b);
  c.Brush()->SetStyle(bsClear);
  c.Pen()->SetColor(clGray);
  c.RectangleWithZ({l, t, r, b}, 0);
  c.RectangleWithZ({l, t, r, b}, 60);
  c.ZLine3D(l, t, 0, 60);
  c.ZLine3D(r, t, 0, 60);
  c.ZLine3D(l, b, 0, 60);
  c.ZLine3D(r, b, 0, 60);
  c.SetIs3D(false);
  c.ResetState();
  c.AssignFont(&font);
  Label(c, 14, Top + 126, "pictures: front (depth 60), side, floor");

  // Arrows, an ellipse and text in depth, in a perspective view.
  const TRect area{250, Top + 140, 480, Top + 290};
  SetView(c, view, area, 100, false, 45, 340, 345, 35);
  c.Brush()->SetColor(clLime);
  for (int z = 0; z <= 100; z += 50) c.Arrow(true, {270, Top + 250 - z / 2}, {420, Top + 190 - z / 2}, 18, 14, z, 40);
  c.Brush()->SetColor(clYellow);
  c.EllipseWithZ({380, Top + 215, 460, Top + 275}, 100);
  c.Brush()->SetColor(clFuchsia);
  c.Diamond({260, Top + 150, 300, Top + 190}, 50);
  TLumFont big;
  big.SetSize(11);
  big.SetStyle(FontStyles({fsBold}));
  c.AssignFont(&big);
  c.SetBackMode(cbmTransparent);
  c.TextOut3D(300, Top + 150, 0, "Text at 0");
  c.TextOut3D(300, Top + 150, 100, "Text at 100");
  c.SetIs3D(false);
  c.ResetState();
  c.AssignFont(&font);
  Label(c, 256, Top + 126, "arrows at depths 0, 50, 100; ellipse; text");

  // Shadows: sharp, 50 % transparent, smooth (blur 8), smooth inside (blur -8), clipped
  // under a half transparent box; then emboss raised and sunken.
  const int y = Top + 310;
  Label(c, 8, y - 14, "shadows: sharp, 50 %, blur 8, blur -8, clip; emboss raised, sunken; blend 50 %");
  TLumShadow sh;
  sh.SetColor(clBlack);
  sh.SetSize(6);
  auto object = [&](int x, TColor colour) {
    c.Brush()->SetColor(colour);
    c.Brush()->SetStyle(bsSolid);
    c.Pen()->SetColor(clBlack);
    c.Rectangle(x, y, x + 40, y + 34);
  };
  sh.Draw(&c, {10, y, 50, y + 34});
  object(10, clWhite);
  sh.SetTransparency(50);
  sh.Draw(&c, {62, y, 102, y + 34});
  object(62, clWhite);
  sh.SetTransparency(0);
  sh.SetSmooth(true);
  sh.SetSmoothBlur(8);
  sh.Draw(&c, {114, y, 154, y + 34});
  object(114, clWhite);
  sh.SetSmoothBlur(-8);
  sh.SetSize(14);
  sh.Draw(&c, {166, y, 206, y + 34});
  object(166, clWhite);
  sh.SetSmoothBlur(4);
  sh.SetSize(6);
  sh.SetClip(true);
  sh.Draw(&c, {218, y, 258, y + 34});
  TLumBlend* see = c.BeginBlending({218, y, 258, y + 34}, 50);
  object(218, clRed);
  c.EndBlending(see);
  TLumEmboss em;
  em.SetColor(clGray);
  em.SetSize(3);
  c.Brush()->SetColor(clSilver);
  c.FillRect({270, y - 4, 380, y + 40});
  em.Draw(&c, {280, y + 2, 320, y + 32});
  c.Brush()->SetColor(clSilver);
  c.FillRect({280, y + 2, 320, y + 32});
  em.SetSize(-3);
  em.Draw(&c, {332, y + 2, 372, y + 32});
  c.FillRect({332, y + 2, 372, y + 32});
  // Blending: a red box 50 % over stripes.
  for (int i = 0; i < 6; ++i) {
    c.Brush()->SetColor(i % 2 ? clBlue : clYellow);
    c.FillRect({390 + 15 * i, y - 4, 405 + 15 * i, y + 40});
  }
  TLumBlend* blend = c.BeginBlending({400, y + 4, 470, y + 32}, 50);
  c.Brush()->SetColor(clRed);
  c.FillRect({400, y + 4, 470, y + 32});
  c.EndBlending(blend);

  // Angled gradients (left-right turned by the angle).
  const int gy = y + 62;
  Label(c, 8, gy - 14, "gradient angles 0, 30, 45, 90, 135, 200 (left-right), radial 45");
  TLumGradient g;
  g.SetStartColor(clRed);
  g.SetMidColor(clYellow);
  g.SetEndColor(clBlue);
  g.SetDirection(gdLeftRight);
  const int angles[] = {0, 30, 45, 90, 135, 200};
  for (int i = 0; i < 6; ++i) {
    g.SetAngle(angles[i]);
    g.Draw(&c, {8 + 68 * i, gy, 8 + 68 * i + 62, gy + 40});
  }
  g.SetDirection(gdFromCenter);
  g.SetAngle(45);
  g.Draw(&c, {8 + 68 * 6, gy, 8 + 68 * 6 + 62, gy + 40});
}

// A photo-like picture: sky, sun, hills, a tiled roof.
std::unique_ptr<TBitmap> Photo(int W, int H) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(W, H);
  TLumCanvas3D c;
  c.AttachCanvas(b->Canvas());
  TLumGradient sky;
  sky.SetStartColor(RGB(40, 90, 200));
  sky.SetEndColor(RGB(230, 240, 255));
  sky.Draw(&c, {0, 0, W, H});
  c.Pen()->SetStyle(psClear);
  c.Brush()->SetColor(RGB(255, 210, 40));
  c.Ellipse(W - 34, 6, W - 8, 32);
  c.Brush()->SetColor(RGB(40, 140, 50));
  c.Polygon({{0, H}, {0, H * 2 / 3}, {W / 3, H / 2}, {W * 2 / 3, H * 3 / 4}, {W, H * 3 / 5}, {W, H}});
  c.Brush()->SetColor(RGB(180, 60, 40));
  c.Polygon({{14, H - 10}, {14, H - 30}, {30, H - 44}, {46, H - 30}, {46, H - 10}});
  c.Brush()->SetColor(clWhite);
  c.FillRect({24, H - 24, 34, H - 10});
  return b;
}

TGraphic* PictureByExtension(const std::string& FileName) {
  const auto dot = FileName.rfind('.');
  TGraphicClass cls = dot == std::string::npos ? nullptr : TPicture::GraphicClassForExtension(FileName.substr(dot + 1));
  return cls ? static_cast<TGraphic*>(cls->NewInstance(nullptr)) : nullptr;
}

void DrawSceneText(TLumCanvas3D& c, int Top) {
  c.ResetState();
  TLumFont small;
  c.AssignFont(&small);
  Label(c, 8, Top, "formatted text (HTML flag on), then the same text with the flag off");
  const std::string pic = "/tmp/canvas_sampler_icon.bmp";
  {
    auto icon = std::make_unique<TBitmap>();
    icon->SetPixelFormat(pf32bit);
    icon->SetSize(12, 12);
    icon->Canvas()->Brush()->SetColor(clRed);
    icon->Canvas()->FillRect({0, 0, 12, 12});
    icon->Canvas()->Brush()->SetColor(clYellow);
    icon->Canvas()->FillRect({3, 3, 9, 9});
    icon->SaveToFile(pic);
  }
  RichTextPictureHook = PictureByExtension;
  TLumFont f;
  f.SetSize(10);
  c.AssignFont(&f);
  const std::string rich = "Plain <b>bold</b> <i>italic</i> <u>under</u> <s>struck</s> "
                           "<font color=red>red</font> <font size=+4 face='Times New Roman'>big serif</font><br>"
                           "line two: &lt;tags&gt; &amp; &#169; &#x3c9;(k) <img src='" + pic + "'> picture, "
                           "<img src='/no/such.bmp'>missing picture";
  c.TextOutRich(8, Top + 16, rich, true);
  c.TextOutRich(8, Top + 58, "<b>bold</i> malformed: drawn as it is", true);
  c.TextOutRich(250, Top + 58, "<b>flag off</b>", false);

  // Fonts with extras.
  const int y = Top + 84;
  auto big = [](TLumFont& F) {
    F.SetName("Arial");
    F.SetSize(20);
    F.SetStyle(FontStyles({fsBold}));
    F.SetColor(clNavy);
  };
  c.AssignFont(&small);
  Label(c, 8, y, "outlined, gradient, outline gradient, picture, shadow, emboss, depth 4, turned");
  TLumFont outlined;
  big(outlined);
  outlined.SetColor(clYellow);
  outlined.OutLine()->Show();
  outlined.OutLine()->SetColor(clRed);
  c.AssignFont(&outlined);
  c.TextOut(8, y + 14, "Outline");
  TLumFont graded;
  big(graded);
  graded.Gradient()->SetVisible(true);
  graded.Gradient()->SetStartColor(clRed);
  graded.Gradient()->SetEndColor(clBlue);
  c.AssignFont(&graded);
  c.TextOut(110, y + 14, "Gradient");
  TLumFont gradedOutline;
  big(gradedOutline);
  gradedOutline.SetColor(clWhite);
  gradedOutline.Gradient()->Assign(graded.Gradient());
  gradedOutline.Gradient()->SetOutline(true);
  gradedOutline.OutLine()->Show();
  gradedOutline.OutLine()->SetWidth(2);
  c.AssignFont(&gradedOutline);
  c.TextOut(230, y + 14, "Edges");
  TLumFont pictured;
  big(pictured);
  auto photo = Photo(60, 30);
  pictured.Picture()->SetGraphic(photo.get());
  c.AssignFont(&pictured);
  c.TextOut(320, y + 14, "Photo");
  TLumFont shadowed;
  big(shadowed);
  shadowed.Shadow()->SetVisible(true);
  shadowed.Shadow()->SetSize(3);
  shadowed.Shadow()->SetTransparency(40);
  c.AssignFont(&shadowed);
  c.TextOut(8, y + 46, "Shadow");
  TLumFont embossed;
  big(embossed);
  embossed.SetColor(clSilver);
  embossed.Emboss()->SetVisible(true);
  embossed.Emboss()->SetColor(clBlack);
  embossed.Emboss()->SetSize(1);
  c.AssignFont(&embossed);
  c.TextOut(130, y + 46, "Emboss");
  TLumFont deep;
  big(deep);
  deep.SetColor(clRed);
  deep.SetDepth(4);
  deep.SetInterCharSize(2);
  c.AssignFont(&deep);
  c.TextOut(260, y + 46, "Depth");
  TLumFont turned;
  big(turned);
  turned.SetSize(16);
  turned.SetColor(clYellow);
  turned.OutLine()->Show();
  turned.OutLine()->SetColor(clRed);
  c.AssignFont(&turned);
  c.RotateLabel(420, y + 126, "Turned", 90);

  // Formatted text in a shadowed font: every run has the shadow, in its own colour.
  TLumFont shadowedRich;
  shadowedRich.SetSize(12);
  shadowedRich.Shadow()->SetVisible(true);
  shadowedRich.Shadow()->SetSize(2);
  c.AssignFont(&shadowedRich);
  c.TextOutRich(345, Top + 54, "<b>rich</b> <font color=red>shadow</font>", true);

  // The embedded fonts.
  c.AssignFont(&small);
  Label(c, 8, y + 80, std::string("embedded fonts: ") + LumLCDFontName + " and " + LumLEDFontName);
  TLumFont lcd;
  lcd.SetName(LumLCDFontName);
  lcd.SetSize(22);
  lcd.SetColor(clGreen);
  c.AssignFont(&lcd);
  c.TextOut(8, y + 96, "12:34.56");
  TLumFont led;
  led.SetName(LumLEDFontName);
  led.SetSize(22);
  led.SetColor(clRed);
  c.AssignFont(&led);
  c.TextOut(230, y + 96, "LED 42");
  c.ResetState();
}

void DrawScenePictures(TLumCanvas3D& c, int Top) {
  TLumFont small;
  c.AssignFont(&small);
  Label(c, 8, Top, "a picture through each filter (the last: invert on a region), then resampled");
  auto photo = Photo(90, 60);
  TLumPicture pic;
  pic.SetGraphic(photo.get());
  c.Draw(8, Top + 14, pic.FilteredGraphic());
  Label(c, 8, Top + 76, "original");
  int i = 1;
  for (TClass cls : FilterClasses()) {
    pic.Filters()->Clear();
    pic.Filters()->Add(cls);
    pic.FiltersChanged();
    const int x = 8 + 96 * (i % 5), y = Top + 14 + 78 * (i / 5);
    c.Draw(x, y, pic.FilteredGraphic());
    Label(c, x, y + 62, FilterDescription(cls));
    ++i;
  }
  pic.Filters()->Clear();
  TLumFilter* region = pic.Filters()->Add(TInvertFilter::StaticClass());
  region->Region()->SetLeft(60);
  region->Region()->SetTop(-10);
  region->Region()->SetWidth(100);
  region->Region()->SetHeight(40);
  pic.FiltersChanged();
  const int x = 8 + 96 * (i % 5), y = Top + 14 + 78 * (i / 5);
  c.Draw(x, y, pic.FilteredGraphic());
  Label(c, x, y + 62, "region (clipped)");

  // Resampled to 45 x 30 and back up to 180 x 120 both ways.
  const int ry = Top + 14 + 78 * 2;
  TBitmap down, upB, upL;
  for (TBitmap* b : {&down, &upB, &upL}) b->SetPixelFormat(pf32bit);
  down.SetSize(45, 30);
  ResampleBitmap(photo.get(), &down, false);
  upB.SetSize(180, 120);
  upL.SetSize(180, 120);
  ResampleBitmap(&down, &upB, true);
  ResampleBitmap(&down, &upL, false);
  c.Draw(8, ry, &down);
  c.Draw(60, ry, &upB);
  c.Draw(250, ry, &upL);
  Label(c, 8, ry + 122, "45 x 30, then enlarged bilinear and Lanczos-3");
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
  LumCanvasUnitInit();

  const int W = 490, H = 310 + 440 + 230 + 330;
  auto window = std::make_unique<TBitmap>();
  window->SetPixelFormat(pf32bit);
  window->SetSize(W, H);
  TLumCanvas3D canvas;
  TView3DOptions view;
  canvas.InitWindow(window->Canvas(), &view, clWhite, false, {0, 0, W, H});
  DrawScene(canvas, W, 310);
  DrawScene3D(canvas, 320);
  DrawSceneText(canvas, 760);
  DrawScenePictures(canvas, 990);
  canvas.ShowImage(window->Canvas(), {0, 0, W, H});

  QImage img(W, H, QImage::Format_RGB32);
  for (int y = 0; y < H; ++y) std::memcpy(img.scanLine(y), window->ScanLine(y), size_t(4 * W));
  const bool ok = img.save(QString::fromStdString(argv[1]), "PNG");
  LumCanvasUnitDone();
  GraphicsUnitDone();
  if (!ok) std::fprintf(stderr, "canvas_sampler: cannot write %s\n", argv[1]);
  return ok ? 0 : 1;
}
