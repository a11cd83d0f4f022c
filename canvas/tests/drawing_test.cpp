// Pixel tests of the drawing surface on small bitmaps.
#include <gtest/gtest.h>

#include "canvas_test_util.h"

TEST(CanvasLines, LineCoversItsPathLeavesOutItsEndAndNothingElse) {
  Surface s;
  s.canvas.Line(5, 10, 25, 10);
  for (int x = 5; x < 25; ++x) EXPECT_EQ(s.At(x, 10), clBlack) << x;
  EXPECT_EQ(s.At(25, 10), clWhite) << "end pixel drawn";
  EXPECT_EQ(s.Count(clBlack), 20);

  Surface d;
  d.canvas.MoveTo(2, 2);
  d.canvas.LineTo(12, 12);  // a diagonal: exactly (2,2)..(11,11)
  for (int i = 2; i < 12; ++i) EXPECT_EQ(d.At(i, i), clBlack) << i;
  EXPECT_EQ(d.At(12, 12), clWhite);
  EXPECT_EQ(d.Count(clBlack), 10);

  // HorizLine, VertLine and LinePoints are the same lines.
  Surface h;
  h.canvas.HorizLine(3, 9, 4);
  h.canvas.VertLine(20, 3, 9);
  h.canvas.LinePoints({30, 1}, {30, 5});
  EXPECT_EQ(h.Count(clBlack), 6 + 6 + 4);
  EXPECT_EQ(h.At(9, 4), clWhite);
  EXPECT_EQ(h.At(20, 9), clWhite);
}

TEST(CanvasLines, DottedPenLeavesGapsAndHiddenPenDrawsNothing) {
  Surface s;
  TChartPen pen;
  pen.SetStyle(psDot);
  pen.SetColor(clRed);
  s.canvas.ApplyPen(&pen);
  s.canvas.Line(0, 5, 40, 5);
  const int ink = s.Count(clRed);
  EXPECT_GT(ink, 8);
  EXPECT_LT(ink, 32) << "a dotted line must leave gaps";
  // Still dotted after a solid fill, which leaves the device in opaque mode with the
  // fill's colour as background.
  s.canvas.Brush()->SetColor(clRed);
  s.canvas.Brush()->SetStyle(bsSolid);
  s.canvas.Rectangle(30, 20, 36, 26);
  s.canvas.ApplyPen(&pen);
  s.canvas.Line(0, 8, 40, 8);
  EXPECT_EQ(guitest::CountColor(s.C(), {0, 8, 40, 9}, clRed), ink) << "the gaps took the fill colour";

  // The dispersion chart's dotted line: colour and style set on the pen directly.
  Surface v;
  v.canvas.Pen()->SetColor(clBlack);
  v.canvas.Pen()->SetStyle(psDot);
  v.canvas.MoveTo(10, 15);
  v.canvas.LineTo(10, 29);
  v.canvas.LineTo(10, 1);
  EXPECT_GT(v.Count(clBlack), 5);
  EXPECT_LT(v.Count(clBlack), 28);
  EXPECT_EQ(v.Ink().Left, 10);
  EXPECT_EQ(v.Ink().Right, 11);

  Surface h;
  TChartHiddenPen hidden;
  hidden.SetColor(clRed);
  h.canvas.ApplyPen(&hidden);
  h.canvas.Line(0, 5, 40, 5);
  h.canvas.Brush()->SetStyle(bsClear);
  h.canvas.Rectangle(2, 2, 30, 20);
  EXPECT_EQ(h.Ink(), TRect{}) << "a hidden pen drew";
  // Showing it again brings the style back.
  hidden.Show();
  h.canvas.ApplyPen(&hidden);
  h.canvas.Line(0, 5, 40, 5);
  EXPECT_EQ(h.Count(clRed), 40);
}

TEST(CanvasLines, WidePenAndColourOverride) {
  Surface s;
  TChartPen pen;
  pen.SetWidth(3);
  pen.SetColor(clBlue);
  s.canvas.ApplyPenColor(&pen, clGreen);  // the given colour wins over the pen's own
  s.canvas.Line(5, 15, 35, 15);
  EXPECT_EQ(s.Count(clBlue), 0);
  EXPECT_EQ(s.Ink().Height(), 3);
  EXPECT_EQ(s.At(20, 14), clGreen);
}

TEST(CanvasShapes, BrushStylesAndBackgrounds) {
  // A red cross hatch over white: which colours end up in the filled square.
  struct HatchCase {
    const char* what;
    TColor brushColour;
    bool withBack;  // ApplyBrushWithBack, else ApplyBrushColors with a clNone background
    bool blue, white;
  };
  const TRect square{0, 0, 20, 20};
  for (const HatchCase& h : {HatchCase{"transparent background keeps what is under it", clBlue, false, false, true},
                             HatchCase{"the brush's own colour is the background", clBlue, true, true, false},
                             HatchCase{"an unresolved palette colour leaves the gaps", clLumColor, true, false, true}}) {
    Surface s;
    TChartBrush brush;
    brush.SetStyle(bsCross);
    brush.SetColor(h.brushColour);
    if (h.withBack) s.canvas.ApplyBrushWithBack(&brush, clRed);
    else s.canvas.ApplyBrushColors(&brush, clRed, clNone);
    s.canvas.FillRect(square);
    EXPECT_GT(guitest::CountColor(s.C(), square, clRed), 0) << h.what;
    EXPECT_EQ(guitest::CountColor(s.C(), square, clBlue) > 0, h.blue) << h.what;
    EXPECT_EQ(guitest::CountColor(s.C(), square, clWhite) > 0, h.white) << h.what;
    EXPECT_EQ(s.Count(clBlack), 0) << h.what;
  }

  // No fill colour means no fill; a clear brush style likewise.
  Surface n;
  TChartBrush brush;
  n.canvas.ApplyBrushColors(&brush, clNone, clNone);
  n.canvas.Rectangle(2, 2, 20, 20);
  EXPECT_EQ(n.At(10, 10), clWhite);
  EXPECT_EQ(n.At(2, 10), clBlack);
}

TEST(CanvasShapes, VisibleBrushGradientFillsShapesUntilABrushWithoutOne) {
  Surface s;
  TChartBrush brush;
  brush.Gradient()->SetVisible(true);
  brush.Gradient()->SetStartColor(clRed);
  brush.Gradient()->SetEndColor(clBlue);
  s.canvas.ApplyBrushWithBack(&brush, clGreen);
  EXPECT_TRUE(s.canvas.GetGradient()->Visible());
  s.canvas.Rectangle(0, 0, 20, 21);
  EXPECT_EQ(s.At(0, 0), clBlack) << "outline drawn over the gradient";
  EXPECT_EQ(s.At(10, 1), ColorToRGB(s.canvas.GetGradient()->ColorAt(1 / 20.0)));
  EXPECT_TRUE(Near(s.At(10, 19), clBlue, 14));
  EXPECT_EQ(s.Count(clGreen), 0);

  // Polygons and ellipses fill inside their outline only.
  s.canvas.Pen()->SetStyle(psClear);
  s.canvas.Polygon({{22, 0}, {39, 0}, {39, 17}});
  EXPECT_EQ(s.At(23, 15), clWhite);
  EXPECT_NE(s.At(37, 2), clWhite);
  s.canvas.Polygon(nullptr, 0);  // nothing to draw is not an error

  TChartBrush plain;
  s.canvas.ApplyBrushWithBack(&plain, clGreen);
  EXPECT_FALSE(s.canvas.GetGradient()->Visible());
  s.canvas.FillRect({0, 22, 10, 30});
  EXPECT_EQ(s.At(5, 25), clGreen);
}

TEST(CanvasClip, ClipConfinesFillsAndPoppingRestores) {
  // Pixels read back only inside the clip, so each check comes after the pops.
  Surface s;
  s.canvas.Brush()->SetColor(clRed);
  s.canvas.ClipRectangle({5, 5, 15, 10});
  s.canvas.ClipRectangle({10, 0, 40, 30});  // nested: the intersection
  s.canvas.FillRect({0, 0, 40, 30});
  s.canvas.UnClipRectangle();
  s.canvas.UnClipRectangle();
  EXPECT_EQ(s.Ink(), (TRect{10, 5, 15, 10}));

  Surface o;
  o.canvas.Brush()->SetColor(clBlue);
  o.canvas.ClipRectangle({5, 5, 15, 10});
  o.canvas.ClipRectangle({10, 0, 40, 30});
  o.canvas.UnClipRectangle();  // back to the outer clip
  o.canvas.FillRect({0, 0, 40, 30});
  o.canvas.UnClipRectangle();
  EXPECT_EQ(o.Ink(), (TRect{5, 5, 15, 10}));
  o.canvas.UnClipRectangle();  // one pop too many does nothing
  o.canvas.FillRect({0, 0, 40, 30});
  EXPECT_EQ(o.Count(clBlue), 40 * 30);

  // A reversed rectangle clips the same area.
  Surface r;
  r.canvas.ClipRectangle({15, 10, 5, 5});
  r.canvas.Brush()->SetColor(clRed);
  r.canvas.FillRect({0, 0, 40, 30});
  r.canvas.UnClipRectangle();
  EXPECT_EQ(r.Ink(), (TRect{5, 5, 15, 10}));
}

TEST(CanvasText, RotatedTextIsTallerThanWideAndFontsApply) {
  Surface flat(120, 120), turned(120, 120);
  TLumFont font;
  font.SetSize(12);
  flat.canvas.AssignFont(&font);
  turned.canvas.AssignFont(&font);
  flat.canvas.SetBackMode(cbmTransparent);
  turned.canvas.SetBackMode(cbmTransparent);
  flat.canvas.TextOut(10, 10, "Omega");
  turned.canvas.RotateLabel(30, 100, "Omega", 90);
  const TRect a = flat.Ink(), b = turned.Ink();
  EXPECT_GT(a.Width(), a.Height());
  EXPECT_GT(b.Height(), b.Width());
  EXPECT_NEAR(b.Height(), a.Width(), 3);
  EXPECT_LE(b.Bottom, 101) << "turned counter-clockwise about its start";
  EXPECT_EQ(turned.canvas.Font()->Orientation(), 0) << "rotation left behind";

  // Font zoom scales the height; FontHeight is that of "W".
  Surface z;
  z.canvas.AssignFont(&font);
  const int h100 = z.canvas.FontHeight();
  z.canvas.SetFontZoom(200);
  z.canvas.AssignFont(&font);
  EXPECT_EQ(z.canvas.Font()->Height(), 2 * font.Height());
  EXPECT_GT(z.canvas.FontHeight(), h100 * 3 / 2);
  z.canvas.SetFontZoom(1);
  z.canvas.AssignFont(&font);
  EXPECT_EQ(z.canvas.Font()->Height(), -1) << "zoomed out, still a font";
  EXPECT_EQ(z.canvas.FontHeight(), z.canvas.TextHeight("W"));
}

TEST(CanvasState, ResetStateRestoresTheDefaults) {
  Surface s;
  TChartPen pen;
  pen.SetWidth(4);
  pen.SetStyle(psDash);
  pen.SetColor(clRed);
  pen.SetMode(pmXor);
  s.canvas.ApplyPen(&pen);
  TChartBrush brush;
  brush.SetStyle(bsDiagCross);
  brush.Gradient()->SetVisible(true);
  brush.Gradient()->SetDirection(gdRadial);
  s.canvas.ApplyBrushWithBack(&brush, clBlue);
  TLumFont font;
  font.SetName("Courier New");
  font.SetColor(clRed);
  font.SetStyle(FontStyles({fsBold}));
  s.canvas.AssignFont(&font);
  s.canvas.SetTextAlign(TA_RIGHT | TA_BOTTOM);

  s.canvas.ResetState();
  TPen* p = s.canvas.Pen();
  EXPECT_EQ(p->Color(), clBlack);
  EXPECT_EQ(p->Width(), 1);
  EXPECT_EQ(p->Style(), psSolid);
  EXPECT_EQ(p->Mode(), pmCopy);
  EXPECT_EQ(s.canvas.Brush()->Color(), clWhite);
  EXPECT_EQ(s.canvas.Brush()->Style(), bsSolid);
  EXPECT_EQ(s.canvas.Brush()->Bitmap(), nullptr);
  TFont plain;
  EXPECT_EQ(s.canvas.Font()->Name(), plain.Name());
  EXPECT_EQ(s.canvas.Font()->Height(), plain.Height());
  EXPECT_EQ(s.canvas.Font()->Style(), 0u);
  EXPECT_EQ(s.canvas.Font()->Charset(), plain.Charset());
  EXPECT_EQ(s.canvas.Font()->Color(), clBlack);
  EXPECT_FALSE(s.canvas.GetGradient()->Visible());
  EXPECT_EQ(s.canvas.GetGradient()->Direction(), gdTopBottom);
  EXPECT_EQ(s.canvas.TextAlign(), TA_LEFT | TA_TOP);

  // And drawing after it is plain black on white.
  s.canvas.Rectangle(0, 0, 10, 10);
  EXPECT_EQ(s.At(0, 0), clBlack);
  EXPECT_EQ(s.At(5, 5), clWhite);
}

TEST(Canvas3D, FlatViewDrawsWhatThe2DOperationsDraw) {
  auto same = [](auto draw3d, auto draw2d) {
    Surface a, b;
    a.canvas.SetIs3D(true);
    a.canvas.Brush()->SetColor(clYellow);
    b.canvas.Brush()->SetColor(clYellow);
    draw3d(a.canvas);
    draw2d(b.canvas);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x)
        if (a.At(x, y) != b.At(x, y)) return false;
    return a.Ink() != TRect{};
  };
  EXPECT_TRUE(same([](TCanvas3D& c) { c.RectangleWithZ({3, 4, 20, 15}, 7); },
                   [](TLumCanvas& c) { c.Rectangle(3, 4, 20, 15); }));
  EXPECT_TRUE(same([](TCanvas3D& c) { c.EllipseWithZ({3, 4, 20, 15}, 7); },
                   [](TLumCanvas& c) { c.Ellipse(3, 4, 20, 15); }));
  EXPECT_TRUE(same([](TCanvas3D& c) { c.CubeFromRect({3, 4, 20, 15}, 2, 9, true); },
                   [](TLumCanvas& c) { c.Rectangle(3, 4, 20, 15); }));
  EXPECT_TRUE(same(
      [](TCanvas3D& c) {
        c.HorizLine3D(1, 30, 2, 5);
        c.VertLine3D(35, 1, 25, 5);
        c.MoveTo3D(2, 28, 1);
        c.LineTo3D(30, 20, 9);
        c.LineWithZPoints({5, 5}, {9, 25}, 3);
      },
      [](TLumCanvas& c) {
        c.Line(1, 2, 30, 2);
        c.Line(35, 1, 35, 25);
        c.Line(2, 28, 30, 20);
        c.Line(5, 5, 9, 25);
      }));
  EXPECT_TRUE(same([](TCanvas3D& c) { c.Diamond({4, 4, 24, 24}, 3); },
                   [](TLumCanvas& c) { c.Polygon({{14, 4}, {24, 14}, {14, 24}, {4, 14}}); }));

  // ZLine3D is seen end-on; ClipCube clips to the box.
  Surface s;
  s.canvas.ZLine3D(10, 10, 0, 50);
  EXPECT_EQ(s.Ink(), TRect{});
  s.canvas.ClipCube({5, 5, 15, 10}, 0, 20);
  s.canvas.Brush()->SetColor(clRed);
  s.canvas.FillRect({0, 0, 40, 30});
  s.canvas.UnClipRectangle();
  EXPECT_EQ(s.Ink(), (TRect{5, 5, 15, 10}));
  EXPECT_EQ(s.canvas.InverseProject(7, 9, 30), (TPoint{7, 9}));
  EXPECT_EQ(s.canvas.ProjectedRectBounds({5, 5, 15, 10}, 4), (TRect{5, 5, 15, 10}));
}

TEST(Canvas3D, ArrowsAndPictures) {
  Surface s;
  s.canvas.Brush()->SetColor(clRed);
  s.canvas.Pen()->SetStyle(psClear);
  s.canvas.Arrow(true, {2, 15}, {38, 15}, 12, 8, 0, 50);
  EXPECT_EQ(s.At(20, 15), clRed) << "body";
  EXPECT_EQ(s.At(20, 19), clWhite) << "body is half the head's width";
  EXPECT_EQ(s.At(32, 18), clRed) << "head";
  EXPECT_EQ(s.At(32, 24), clWhite);
  s.canvas.Arrow(true, {5, 5}, {5, 5}, 12, 8, 0, 50);  // no direction: nothing, no crash

  Surface o;
  o.canvas.Arrow(false, {2, 15}, {38, 15}, 12, 8, 0, 50);
  EXPECT_EQ(o.At(20, 15), clWhite) << "an open arrow is not filled";
  EXPECT_EQ(o.At(20, 18), clBlack);

  auto pic = guitest::MakeBitmap(4, 4, clBlue);
  Surface p;
  p.canvas.DrawPicture(cpFront, pic.get(), {10, 10, 30, 20}, 5);
  p.canvas.DrawPicture(cpSide, pic.get(), {0, 0, 5, 5}, 5);
  EXPECT_EQ(p.Ink(), (TRect{10, 10, 30, 20})) << "edge-on planes draw nothing when flat";
}

TEST(CanvasFrame, BufferedFrameReachesTheWindowOnlyWhenShown) {
  auto window = guitest::MakeBitmap(50, 40, clWhite);
  window->Canvas()->Pen()->SetColor(clRed);
  TLumCanvas3D canvas;
  TView3DOptions view;
  EXPECT_TRUE(canvas.Dirty());
  TCanvas* c = canvas.InitWindow(window->Canvas(), &view, clYellow, false, {0, 0, 50, 40});
  ASSERT_NE(c, window->Canvas());
  EXPECT_EQ(canvas.ReferenceCanvas(), c);
  EXPECT_EQ(c->Pen()->Color(), clRed) << "the frame starts with the window's pen";
  EXPECT_EQ(canvas.View3DOptions(), &view);
  EXPECT_EQ(canvas.XCenter(), 25);
  canvas.Line(0, 0, 50, 0);
  canvas.ClipRectangle({0, 0, 1, 1});  // left open, as by a frame that ended early
  EXPECT_EQ(window->Canvas()->Pixels(10, 0), clWhite);
  canvas.ShowImage(window->Canvas(), {0, 0, 50, 40});
  EXPECT_FALSE(canvas.Dirty());
  EXPECT_EQ(window->Canvas()->Pixels(10, 0), clRed);
  EXPECT_EQ(window->Canvas()->Pixels(10, 20), clYellow) << "back colour";

  canvas.Invalidate();
  EXPECT_TRUE(canvas.Dirty());
  canvas.InitWindow(window->Canvas(), &view, clNone, false, {0, 0, 50, 40});
  EXPECT_EQ(c->Pixels(10, 0), clRed) << "clNone keeps the last frame";
  canvas.Brush()->SetColor(clGreen);
  canvas.FillRect({0, 0, 50, 40});
  EXPECT_EQ(c->Pixels(30, 30), clGreen) << "the clip of the last frame was dropped";

  // Empty and odd rectangles neither crash nor copy outside the buffer.
  canvas.InitWindow(window->Canvas(), &view, clWhite, false, {0, 0, 0, 0});
  canvas.ShowImage(window->Canvas(), {-5, -5, 500, 500});
  canvas.ShowImage(nullptr, {0, 0, 10, 10});

  // Unbuffered, drawing goes straight to the window.
  auto direct = guitest::MakeBitmap(20, 20, clWhite);
  canvas.SetBufferedDisplay(false);
  EXPECT_EQ(canvas.Bitmap(), nullptr);
  EXPECT_EQ(canvas.InitWindow(direct->Canvas(), nullptr, clNone, false, {0, 0, 20, 20}), direct->Canvas());
  canvas.Line(0, 5, 20, 5);
  EXPECT_EQ(direct->Canvas()->Pixels(10, 5), clBlack);
}

TEST(CanvasFrame, TextZoomFollowsTheView) {
  auto window = guitest::MakeBitmap(20, 20);
  TLumCanvas3D canvas;
  TView3DOptions view;
  view.SetZoom(150);
  view.SetFontZoom(200);
  canvas.InitWindow(window->Canvas(), &view, clNone, false, {0, 0, 20, 20});
  EXPECT_EQ(canvas.FontZoom(), 200) << "2D: only the font zoom";
  canvas.InitWindow(window->Canvas(), &view, clNone, true, {0, 0, 20, 20});
  EXPECT_EQ(canvas.FontZoom(), 300) << "3D with ZoomText: the view's zoom as well";
  view.SetZoomText(ztManual);
  canvas.InitWindow(window->Canvas(), &view, clNone, true, {0, 0, 20, 20});
  EXPECT_EQ(canvas.FontZoom(), 200);
  // No: fonts at their own size, whatever the two zooms say, flat or in 3D.
  view.SetZoomText(ztNo);
  for (bool is3D : {false, true}) {
    canvas.InitWindow(window->Canvas(), &view, clNone, is3D, {0, 0, 20, 20});
    EXPECT_EQ(canvas.FontZoom(), 100) << is3D;
  }
  view.SetZoomText(ztManual);
  canvas.InitWindow(window->Canvas(), &view, clNone, false, {0, 0, 20, 20});
  EXPECT_EQ(canvas.FontZoom(), 200) << "Manual, flat: the font zoom alone";
}

TEST(CanvasFrame, DetachedCanvasDrawsNothingButKeepsItsState) {
  TLumCanvas3D canvas;
  ASSERT_NE(canvas.Pen(), nullptr);
  canvas.LineTo(10, 10);
  canvas.Rectangle(0, 0, 5, 5);
  canvas.TextOut(0, 0, "x");
  EXPECT_GT(canvas.TextWidth("Omega"), 0);
}
