// The projected 3D view: orthogonal and free projections, their inverse, the guards,
// and the 3D operations drawn through them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "canvas_test_util.h"

namespace {

// A 3D canvas on a View3DOptions, projecting for a 400 x 300 plot with a depth of 100.
struct View {
  View() {
    canvas.SetView3DOptions(&options);
    canvas.SetIs3D(true);
    Apply();
  }
  void Apply() { canvas.CalcPerspective({0, 0, 400, 300}, 100); }
  TView3DOptions options;
  TLumCanvas3D canvas;
};

// A 3D drawing surface: a white bitmap with the canvas attached and a view on it.
struct Surface3D : Surface {
  Surface3D(int W, int H, int Depth) : Surface(W, H) {
    canvas.SetView3DOptions(&options);
    canvas.SetIs3D(true);
    depth = Depth;
  }
  void Apply() { canvas.CalcPerspective({0, 0, bmp->Width(), bmp->Height()}, depth); }
  // A free view at these angles and perspective.
  void Free(int Rotation, int Elevation, int Perspective) {
    options.SetOrthogonal(false);
    options.SetRotation(Rotation);
    options.SetElevation(Elevation);
    options.SetPerspective(Perspective);
    Apply();
  }
  TView3DOptions options;
  int depth;
};

}  // namespace

TEST(Projection, InverseProjectUndoesProjectPointOverManyViews) {
  // Views no steeper than 40 degrees and moderate perspectives: beyond them one screen
  // pixel covers more than one plot unit, and no inverse can beat the rounding.
  View v;
  v.options.SetOrthogonal(false);
  int checked = 0;
  for (int rotation : {0, 20, 330, 345, 360})
    for (int elevation : {320, 330, 345, 360, 15})
      for (int perspective : {0, 15, 40})
        for (int z : {0, 40, 100, -30}) {
          v.options.SetRotation(rotation);
          v.options.SetElevation(elevation);
          v.options.SetPerspective(perspective);
          v.canvas.CalcTrigValues();
          for (const TPoint p : {TPoint{0, 0}, TPoint{200, 150}, TPoint{390, 10}, TPoint{37, 280}}) {
            const TPoint s = v.canvas.ProjectPoint(p.X, p.Y, z);
            const TPoint back = v.canvas.InverseProject(s.X, s.Y, z);
            EXPECT_LE(std::abs(back.X - p.X), 1) << rotation << " " << elevation << " " << perspective << " z " << z;
            EXPECT_LE(std::abs(back.Y - p.Y), 1) << rotation << " " << elevation << " " << perspective << " z " << z;
            ++checked;
          }
        }
  EXPECT_EQ(checked, 5 * 5 * 3 * 4 * 4);

  // The orthogonal view, with zoom and offsets.
  v.options.SetOrthogonal(true);
  v.options.SetZoom(150);
  v.options.SetHorizOffset(-20);
  v.options.SetVertOffset(13);
  v.canvas.CalcTrigValues();
  for (int z : {0, 55, 100}) {
    const TPoint s = v.canvas.ProjectPoint(120, 77, z);
    const TPoint back = v.canvas.InverseProject(s.X, s.Y, z);
    EXPECT_LE(std::abs(back.X - 120), 1);
    EXPECT_LE(std::abs(back.Y - 77), 1);
  }
}

TEST(Projection, OrthogonalDepthZoomAndOffsets) {
  View v;  // the defaults: orthogonal at 45 degrees, zoom 100
  const TPoint front = v.canvas.ProjectPoint(100, 200, 0), back = v.canvas.ProjectPoint(100, 200, 100);
  EXPECT_EQ(front, (TPoint{100, 200}));
  EXPECT_EQ(back.X - front.X, 71);
  EXPECT_EQ(back.Y - front.Y, -71);
  v.options.SetOrthoAngle(135);  // the "Ortho Left" view: depth runs up and to the left
  v.canvas.CalcTrigValues();
  EXPECT_EQ(v.canvas.ProjectPoint(100, 200, 100), (TPoint{29, 129}));

  // Zoom 200 doubles every distance from the centre (200, 150), in both views.
  for (bool orthogonal : {true, false}) {
    v.options.SetOrthogonal(orthogonal);
    v.options.SetZoom(100);
    v.canvas.CalcTrigValues();
    const TPoint a = v.canvas.ProjectPoint(260, 110, 30);
    v.options.SetZoom(200);
    v.canvas.CalcTrigValues();
    const TPoint b = v.canvas.ProjectPoint(260, 110, 30);
    EXPECT_NEAR(b.X - 200, 2 * (a.X - 200), 1) << orthogonal;
    EXPECT_NEAR(b.Y - 150, 2 * (a.Y - 150), 1) << orthogonal;
  }
  // Offsets move everything by whole pixels.
  v.options.SetZoom(100);
  v.options.SetHorizOffset(30);
  v.options.SetVertOffset(-12);
  v.canvas.CalcTrigValues();
  const TPoint moved = v.canvas.ProjectPoint(260, 110, 30);
  v.options.SetHorizOffset(0);
  v.options.SetVertOffset(0);
  v.canvas.CalcTrigValues();
  const TPoint still = v.canvas.ProjectPoint(260, 110, 30);
  EXPECT_EQ(moved.X - still.X, 30);
  EXPECT_EQ(moved.Y - still.Y, -12);
}

TEST(Projection, FreeViewLooksFromTheFrontRightAndAbove) {
  View v;
  v.options.SetOrthogonal(false);
  v.options.SetPerspective(0);
  v.options.SetRotation(360);
  v.options.SetElevation(360);
  v.canvas.CalcTrigValues();
  // Straight at the front: depth vanishes.
  EXPECT_EQ(v.canvas.ProjectPoint(50, 60, 0), v.canvas.ProjectPoint(50, 60, 100));
  v.options.SetRotation(345);
  v.options.SetElevation(345);
  v.canvas.CalcTrigValues();
  const TPoint f = v.canvas.ProjectPoint(50, 60, 0), b = v.canvas.ProjectPoint(50, 60, 100);
  EXPECT_GT(b.X, f.X) << "the back lies to the right";
  EXPECT_LT(b.Y, f.Y) << "and above";
  // With perspective the back face is smaller than the front one.
  v.options.SetPerspective(50);
  v.canvas.CalcTrigValues();
  const TRect front = v.canvas.ProjectedRectBounds({100, 100, 300, 200}, 0);
  const TRect back = v.canvas.ProjectedRectBounds({100, 100, 300, 200}, 100);
  EXPECT_LT(back.Width(), front.Width());
  EXPECT_LT(back.Height(), front.Height());
}

TEST(Projection, DisableRotationNestsAndAPlainCanvasIsFlat) {
  View v;
  const TPoint deep = v.canvas.ProjectPoint(10, 20, 100);
  ASSERT_NE(deep, (TPoint{10, 20}));
  v.canvas.DisableRotation();
  v.canvas.DisableRotation();
  EXPECT_EQ(v.canvas.ProjectPoint(10, 20, 100), (TPoint{10, 20}));
  v.canvas.EnableRotation();
  EXPECT_EQ(v.canvas.ProjectPoint(10, 20, 100), (TPoint{10, 20})) << "one level still open";
  EXPECT_EQ(v.canvas.InverseProject(10, 20, 100), (TPoint{10, 20}));
  v.canvas.EnableRotation();
  EXPECT_EQ(v.canvas.ProjectPoint(10, 20, 100), deep);
  v.canvas.EnableRotation();  // unbalanced: ignored, not a debt
  v.canvas.DisableRotation();
  EXPECT_EQ(v.canvas.ProjectPoint(10, 20, 100), (TPoint{10, 20}));
  v.canvas.EnableRotation();

  v.canvas.SetIs3D(false);  // a 2D chart
  EXPECT_EQ(v.canvas.ProjectPoint(10, 20, 100), (TPoint{10, 20}));
}

TEST(Projection, GuardsAgainstZeroZoomAndTheEye) {
  View v;
  v.options.SetOrthogonal(false);
  for (int zoom : {0, -100}) {
    v.options.SetZoom(zoom);
    v.canvas.CalcTrigValues();
    const TPoint a = v.canvas.ProjectPoint(300, 250, 0), b = v.canvas.ProjectPoint(100, 50, 0);
    EXPECT_GE(a.X, b.X) << "mirrored at zoom " << zoom;
    EXPECT_GE(a.Y, b.Y) << "mirrored at zoom " << zoom;
    const TPoint back = v.canvas.InverseProject(a.X, a.Y, 0);  // no division by zero
    EXPECT_LT(std::abs(back.X), 1 << 30);
  }
  // A strong perspective and points far in front of the box (towards the eye).
  v.options.SetZoom(100);
  v.options.SetPerspective(100);
  v.options.SetRotation(360);
  v.options.SetElevation(360);
  v.canvas.CalcTrigValues();
  TPoint last = v.canvas.ProjectPoint(300, 150, 0);
  for (int z : {-100, -300, -400, -1000, -100000, -2000000000}) {
    const TPoint p = v.canvas.ProjectPoint(300, 150, z);
    EXPECT_GE(p.X, last.X) << "turned over at depth " << z;  // right of the centre stays right
    EXPECT_LT(p.X, 1 << 30);
    last = p;
  }
  const TPoint far = v.canvas.ProjectPoint(2000000000, -2000000000, 2000000000);
  EXPECT_LT(std::abs(far.X), (1 << 30) + 1);

  // Angles that are not numbers count as 0.
  v.options.SetRotationFloat(std::numeric_limits<double>::quiet_NaN());
  v.options.SetElevationFloat(std::numeric_limits<double>::infinity());
  v.canvas.CalcTrigValues();
  const TPoint odd = v.canvas.ProjectPoint(300, 150, 0);
  v.options.SetRotation(0);
  v.options.SetElevation(0);
  v.canvas.CalcTrigValues();
  EXPECT_EQ(odd, v.canvas.ProjectPoint(300, 150, 0));

  // A plane seen edge-on has no inverse: a defined point comes back.
  v.options.SetRotation(90);
  v.options.SetPerspective(0);
  v.canvas.CalcTrigValues();
  EXPECT_EQ(v.canvas.InverseProject(250, 170, 0), (TPoint{250, 170}));
}

TEST(Projection, CubeShowsFrontTopAndSideWithDarkerSides) {
  Surface3D s(200, 160, 60);
  s.Free(345, 345, 0);
  s.canvas.Pen()->SetStyle(psClear);
  s.canvas.Brush()->SetColor(RGB(0, 200, 0));
  const TRect r{60, 60, 140, 120};
  s.canvas.CubeFromRect(r, 0, 60, true);
  // Sample the middle of each face as projected.
  auto at = [&](double x, double y, double z) {
    const TPoint p = s.canvas.ProjectPoint(int(x), int(y), int(z));
    return s.At(p.X, p.Y);
  };
  const TColor front = at(100, 90, 0), top = at(100, 60, 30), right = at(140, 90, 30);
  const TColor left = at(60, 90, 30), bottom = at(100, 120, 30);
  EXPECT_EQ(front, RGB(0, 200, 0));
  EXPECT_EQ(top, RGB(0, 175, 0)) << "top at 7/8";
  EXPECT_EQ(right, RGB(0, 150, 0)) << "side at 3/4";
  // The top-left corner of the front face is the box's outline there: left of it and
  // below the bottom edge there is nothing (those faces look away).
  EXPECT_NE(left, RGB(0, 150, 0));
  EXPECT_NE(bottom, RGB(0, 175, 0));
  const TPoint fl = s.canvas.ProjectPoint(60, 90, 0);
  EXPECT_EQ(s.At(fl.X - 2, fl.Y), clWhite) << "the left side is hidden";
  const TPoint fb = s.canvas.ProjectPoint(100, 120, 0);
  EXPECT_EQ(s.At(fb.X, fb.Y + 2), clWhite) << "the bottom is hidden";
  // Without the dark flag every face takes the brush colour.
  Surface3D p(200, 160, 60);
  p.Free(345, 345, 15);
  p.canvas.Pen()->SetStyle(psClear);
  p.canvas.Brush()->SetColor(RGB(0, 200, 0));
  p.canvas.CubeFromRect(r, 0, 60, false);
  EXPECT_EQ(p.Count(RGB(0, 200, 0)), p.Count(RGB(0, 200, 0)) + p.Count(RGB(0, 175, 0)) + p.Count(RGB(0, 150, 0)));
  EXPECT_EQ(p.Count(RGB(0, 175, 0)), 0);
  // From the left (rotation 20) the left side shows instead of the right.
  Surface3D l(200, 160, 60);
  l.Free(20, 345, 0);
  l.canvas.Pen()->SetStyle(psClear);
  l.canvas.Brush()->SetColor(RGB(0, 200, 0));
  l.canvas.CubeFromRect(r, 0, 60, true);
  const TPoint lp = l.canvas.ProjectPoint(60, 90, 30), rp = l.canvas.ProjectPoint(140, 90, 30);
  EXPECT_EQ(l.At(lp.X, lp.Y), RGB(0, 150, 0));
  EXPECT_NE(l.At(rp.X, rp.Y), RGB(0, 150, 0));
}

TEST(Projection, ClipCubeKeepsFillsInsideTheProjectedBox) {
  Surface3D s(200, 160, 60);  // orthogonal at 45: a hexagon
  s.Apply();
  const TRect r{50, 60, 120, 130};
  s.canvas.ClipCube(r, 0, 60);
  s.canvas.Brush()->SetColor(clRed);
  s.canvas.FillRect({0, 0, 200, 160});
  s.canvas.UnClipRectangle();
  EXPECT_EQ(s.At(85, 95), clRed) << "front face";
  const TPoint back = s.canvas.ProjectPoint(110, 70, 60);
  EXPECT_EQ(s.At(back.X, back.Y), clRed) << "back face";
  EXPECT_EQ(s.At(45, 95), clWhite) << "left of the box";
  EXPECT_EQ(s.At(55, 135), clWhite) << "below the box";
  EXPECT_EQ(s.At(52, 62), clRed) << "front top-left";
  // The corners the hexagon cuts off stay clear.
  EXPECT_EQ(s.At(52, 30), clWhite) << "above the front top-left corner";
  EXPECT_EQ(s.At(158, 128), clWhite) << "right of the front bottom-right corner";
  const TRect ink = s.Ink();
  EXPECT_GE(ink.Left, 49);
  EXPECT_LE(ink.Right, 120 + 43 + 1);
  EXPECT_GE(ink.Top, 60 - 43 - 1);
  EXPECT_LE(ink.Bottom, 131);
  EXPECT_EQ(s.C()->ClipDepth(), 0);
}

TEST(Projection, ShapesAndPicturesFollowTheFreeView) {
  Surface3D s(200, 160, 60);
  s.Free(330, 345, 30);
  s.canvas.Pen()->SetStyle(psClear);
  s.canvas.Brush()->SetColor(clBlue);
  s.canvas.RectangleWithZ({60, 50, 140, 110}, 60);
  // A rectangle at the back is a projected quadrilateral: its corners are where the
  // projection puts them, not an axis-aligned box.
  const auto c = s.canvas.ProjectRectCorners({60, 50, 140, 110}, 60);
  EXPECT_NE(c[0].Y, c[1].Y) << "turned about the vertical";
  const TRect bounds = s.canvas.ProjectedRectBounds({60, 50, 140, 110}, 60);
  EXPECT_EQ(s.Ink().Left, bounds.Left);
  const TPoint mid = s.canvas.ProjectPoint(100, 80, 60);
  EXPECT_EQ(s.At(mid.X, mid.Y), clBlue);

  // A picture on the floor and on a side plane lands inside their projected outlines.
  auto pic = guitest::MakeBitmap(8, 8, clRed);
  Surface3D f(200, 160, 60);
  f.Free(345, 345, 15);
  f.canvas.DrawPicture(cpFloor, pic.get(), {60, 0, 140, 60}, 120);
  const TPoint floorMid = f.canvas.ProjectPoint(100, 120, 30);
  EXPECT_EQ(f.At(floorMid.X, floorMid.Y), clRed);
  EXPECT_EQ(f.At(floorMid.X, floorMid.Y + 20), clWhite);
  f.canvas.DrawPicture(cpSide, pic.get(), {0, 40, 60, 100}, 150);
  const TPoint sideMid = f.canvas.ProjectPoint(150, 70, 30);
  EXPECT_EQ(f.At(sideMid.X, sideMid.Y), clRed);
  // The same planes seen edge-on (straight from the front, no perspective) draw nothing.
  Surface3D e(200, 160, 60);
  e.Free(360, 360, 0);
  e.canvas.DrawPicture(cpFloor, pic.get(), {60, 0, 140, 60}, 120);
  e.canvas.DrawPicture(cpSide, pic.get(), {0, 40, 60, 100}, 150);
  EXPECT_EQ(e.Ink(), TRect{});
}

TEST(Projection, RunsOfPointsProjectAsEachPointDoes) {
  // Series hand whole runs to ProjectPoints and, where the view keeps X and Y apart,
  // search columns through ProjectionX and ProjectionY: all must give ProjectPoint's pixels,
  // which in the orthogonal view are the header's formula rounded half to even.
  View v;
  std::vector<TPoint> points;
  for (int i = 0; i < 400; ++i) points.push_back({(i * 7919) % 1201 - 400, (i * 104729) % 907 - 300});
  for (int far : {999999, -1000000, 123456789}) {
    points.push_back({far, -far / 3});
    points.push_back({3, far});
  }
  struct TCase {
    bool Is3D, Orthogonal, Disabled;
    int Angle, Zoom, HOffset, Rotation, Perspective;
  };
  const TCase cases[] = {{false, true, false, 45, 100, 0, 345, 15},  {true, true, true, 45, 100, 0, 345, 15},
                         {true, true, false, 45, 100, 0, 345, 15},   {true, true, false, 135, 73, -11, 345, 15},
                         {true, true, false, 30, 250, 17, 345, 15},  {true, false, false, 45, 100, 0, 345, 15},
                         {true, false, false, 45, 120, 5, 20, 0},    {true, false, false, 45, 100, 0, 330, 60}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "3D " << c.Is3D << " orthogonal " << c.Orthogonal << " angle " << c.Angle
                                    << " zoom " << c.Zoom << " rotation " << c.Rotation);
    v.canvas.SetIs3D(c.Is3D);
    v.options.SetOrthogonal(c.Orthogonal);
    v.options.SetOrthoAngle(c.Angle);
    v.options.SetZoom(c.Zoom);
    v.options.SetHorizOffset(c.HOffset);
    v.options.SetVertOffset(-c.HOffset);
    v.options.SetRotation(c.Rotation);
    v.options.SetPerspective(c.Perspective);
    v.Apply();
    if (c.Disabled) v.canvas.DisableRotation();
    const bool separable = !c.Is3D || c.Disabled || c.Orthogonal;
    EXPECT_EQ(v.canvas.SeparableProjection(), separable);
    for (int z : {0, 37, 100}) {
      std::vector<TPoint> out(points.size());
      v.canvas.ProjectPoints(points.data(), int(points.size()), z, out.data());
      for (size_t i = 0; i < points.size(); ++i) {
        const TPoint one = v.canvas.ProjectPoint(points[i].X, points[i].Y, z);
        ASSERT_EQ(out[i], one) << points[i].X << ", " << points[i].Y << " at " << z;
        if (!separable) continue;
        EXPECT_EQ(v.canvas.ProjectionX(z)(points[i].X), one.X);
        EXPECT_EQ(v.canvas.ProjectionY(z)(points[i].Y), one.Y);
        if (c.Is3D && !c.Disabled) {
          const double a = c.Angle * std::acos(-1.0) / 180, f = c.Zoom / 100.0;
          const double x = 200 + f * (points[i].X - 200 + z * std::cos(a)) + c.HOffset;
          const double y = 150 + f * (points[i].Y - 150 - z * std::sin(a)) - c.HOffset;
          const auto round = [](double d) { return int(std::nearbyint(std::clamp(d, -1073741824.0, 1073741824.0))); };
          EXPECT_EQ(one, (TPoint{round(x), round(y)})) << points[i].X << ", " << points[i].Y;
        }
      }
      if (separable)  // never decreasing along either axis
        for (int p = -500; p < 500; ++p) {
          EXPECT_LE(v.canvas.ProjectionX(z)(p), v.canvas.ProjectionX(z)(p + 1));
          EXPECT_LE(v.canvas.ProjectionY(z)(p), v.canvas.ProjectionY(z)(p + 1));
        }
    }
    if (c.Disabled) v.canvas.EnableRotation();
  }
}

TEST(Projection, BoxesInOneGoEqualBoxesDrawnOneByOne) {
  // Bars' boxes over one another in every view: orthogonal at several angles and
  // zooms (one go), free and flat (drawn in turn); a colour per box or the brush's,
  // dark sides or not, a pen or none, inside the clip of their slot.
  struct TView {
    const char* Name;
    bool Orthogonal;
    int Angle, Zoom, Rotation;
  };
  std::mt19937 random(31);
  auto any = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(random); };
  std::vector<TRect> boxes;
  std::vector<TColor> colours;
  for (int i = 0; i < 600; ++i) {
    const int l = any(-10, 200), w = any(0, 9) ? any(1, 3) : any(4, 30), b = any(0, 5) ? 140 : any(60, 150);
    boxes.push_back({l, b - any(1, 130), l + w, b});
    colours.push_back(i % 3 ? RGB(0, 90, 200) : RGB(200, any(0, 255), 0));
  }
  for (const TView& v : {TView{"orthogonal", true, 45, 100, 0}, TView{"orthogonal at 30, zoomed", true, 30, 135, 0},
                         TView{"orthogonal at 135", true, 135, 90, 0}, TView{"free", false, 0, 100, 345}}) {
    for (int round = 0; round < 4; ++round) {
      SCOPED_TRACE(testing::Message() << v.Name << ", round " << round);
      Surface3D one(220, 170, 40), each(220, 170, 40);
      for (Surface3D* s : {&one, &each}) {
        s->options.SetOrthogonal(v.Orthogonal);
        s->options.SetOrthoAngle(v.Angle);
        s->options.SetZoom(v.Zoom);
        if (!v.Orthogonal) s->Free(v.Rotation, 345, 10);
        s->Apply();
        s->canvas.Pen()->SetStyle(round == 1 ? psClear : psSolid);
        s->canvas.Brush()->SetColor(clYellow);
        if (round == 3) s->canvas.ClipCube({0, 10, 200, 150}, 5, 30);
        const TColor* c = round == 2 ? nullptr : colours.data();
        if (s == &one) {
          s->canvas.CubesFromRects(boxes.data(), c, int(boxes.size()), 5, 30, round != 2);
        } else {
          for (size_t i = 0; i < boxes.size(); ++i) {
            s->canvas.Brush()->SetColor(c ? c[i] : clYellow);
            s->canvas.CubeFromRect(boxes[i], 5, 30, round != 2);
          }
          s->canvas.Brush()->SetColor(clYellow);
        }
        EXPECT_EQ(s->canvas.Brush()->Color(), clYellow);
        if (round == 3) s->canvas.UnClipRectangle();
      }
      int differ = 0;
      for (int y = 0; y < 170; ++y)
        for (int x = 0; x < 220; ++x)
          if (one.At(x, y) != each.At(x, y) && ++differ <= 3) ADD_FAILURE() << "pixel " << x << "," << y;
      EXPECT_EQ(differ, 0);
      EXPECT_GT(one.Count(clBlack) + one.Count(RGB(0, 90, 200)) + one.Count(clYellow), 3000);
    }
  }
}
