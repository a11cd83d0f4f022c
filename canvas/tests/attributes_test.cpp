// Drawing attributes: change notification, copies, sub-objects, published properties.
#include <gtest/gtest.h>

#include <functional>

#include "canvas/canvas.h"
#include "platform/typinfo.h"

namespace {

// Counts the notifications an attribute sends and checks their sender.
struct Counter {
  int n = 0;
  TObject* expected = nullptr;
  TNotifyEvent Handler() {
    return TNotifyEvent([this](TObject* s) {
      ++n;
      if (expected) {
        EXPECT_EQ(s, expected);
      }
    });
  }
};

// Each change notifies once; writing the same value again does not.
void ExpectOneNotification(Counter& c, const char* what, const std::function<void()>& change) {
  const int before = c.n;
  change();
  EXPECT_EQ(c.n, before + 1) << what << ": a change must notify once";
  change();
  EXPECT_EQ(c.n, before + 1) << what << ": an unchanged value must not notify";
}

}  // namespace

TEST(Attributes, EverySetterNotifiesItsOwnerOnlyOnChange) {
  Counter c;
  TChartPen pen(c.Handler());
  c.expected = &pen;
  ExpectOneNotification(c, "pen colour", [&] { pen.SetColor(clRed); });
  ExpectOneNotification(c, "pen width", [&] { pen.SetWidth(3); });
  ExpectOneNotification(c, "pen style", [&] { pen.SetStyle(psDot); });
  ExpectOneNotification(c, "pen hide", [&] { pen.Hide(); });
  ExpectOneNotification(c, "pen small dots", [&] { pen.SetSmallDots(true); });
  ExpectOneNotification(c, "pen end style", [&] { pen.SetEndStyle(esFlat); });
  ExpectOneNotification(c, "pen mode", [&] { pen.SetMode(pmXor); });

  Counter b;
  TChartBrush brush(b.Handler());
  ExpectOneNotification(b, "brush style", [&] { brush.SetStyle(bsCross); });
  ExpectOneNotification(b, "brush colour", [&] { brush.SetColor(clRed); });
  ExpectOneNotification(b, "brush back colour", [&] { brush.SetBackColor(clBlue); });
  // Its gradient, created on first read, reports through the brush.
  ExpectOneNotification(b, "brush gradient", [&] { brush.Gradient()->SetDirection(gdRadial); });
  ExpectOneNotification(b, "brush gradient's sub-gradient",
                        [&] { brush.Gradient()->SubGradient()->SetTransparency(40); });

  Counter g;
  TLumGradient grad(g.Handler());
  ExpectOneNotification(g, "gradient visible", [&] { grad.SetVisible(true); });
  ExpectOneNotification(g, "gradient start", [&] { grad.SetStartColor(clRed); });
  ExpectOneNotification(g, "gradient mid", [&] { grad.SetMidColor(clGreen); });
  ExpectOneNotification(g, "gradient end", [&] { grad.SetEndColor(clBlack); });
  ExpectOneNotification(g, "gradient balance", [&] { grad.SetBalance(30); });
  ExpectOneNotification(g, "gradient radial", [&] { grad.SetRadialX(-20); });
  ExpectOneNotification(g, "gradient angle", [&] { grad.SetAngle(90); });

  Counter s;
  TLumShadow shadow(s.Handler());
  ExpectOneNotification(s, "shadow size", [&] { shadow.SetSize(7); });
  ExpectOneNotification(s, "shadow colour", [&] { shadow.SetColor(clRed); });
  ExpectOneNotification(s, "shadow transparency", [&] { shadow.SetTransparency(300); });
  EXPECT_EQ(shadow.Transparency(), 100);
  EXPECT_EQ(shadow.HorizSize(), 7);
  EXPECT_EQ(shadow.VertSize(), 7);

  Counter f;
  TLumFont font(f.Handler());
  ExpectOneNotification(f, "font size", [&] { font.SetSize(12); });
  ExpectOneNotification(f, "font name", [&] { font.SetName("Courier New"); });
  ExpectOneNotification(f, "font style", [&] { font.SetStyle(FontStyles({fsItalic})); });
  ExpectOneNotification(f, "font colour", [&] { font.SetColor(clRed); });

  Counter v;
  TView3DOptions view(v.Handler());
  ExpectOneNotification(v, "view zoom", [&] { view.SetZoom(70); });
  ExpectOneNotification(v, "view orthogonal", [&] { view.SetOrthogonal(false); });
  ExpectOneNotification(v, "view rotation", [&] { view.SetRotationFloat(12.5); });
  ExpectOneNotification(v, "view elevation", [&] { view.SetElevation(300); });
  ExpectOneNotification(v, "view font zoom", [&] { view.SetFontZoom(120); });
}

TEST(Attributes, PenRulesAndHiddenPen) {
  TChartPen pen;
  EXPECT_TRUE(pen.Visible());
  pen.SetWidth(0);
  EXPECT_EQ(pen.Width(), 1);
  pen.SetWidth(-5);
  EXPECT_EQ(pen.Width(), 1);

  Counter c;
  TChartHiddenPen hidden(c.Handler());
  EXPECT_FALSE(hidden.Visible());
  hidden.Show();
  EXPECT_TRUE(hidden.Visible());
  EXPECT_EQ(c.n, 1);
  // Visible is stored for a hidden pen only when shown, for a plain pen only when hidden.
  EXPECT_TRUE(IsStoredProp(&hidden, *GetPropInfo(hidden.ClassType(), "Visible")));
  EXPECT_FALSE(IsStoredProp(&pen, *GetPropInfo(pen.ClassType(), "Visible")));
}

TEST(Attributes, AssignCopiesEverythingAndNotifiesOnce) {
  TChartPen src;
  src.SetColor(clRed);
  src.SetWidth(4);
  src.SetStyle(psDashDot);
  src.SetSmallDots(true);
  src.SetSmallSpace(3);
  src.SetEndStyle(esSquare);
  src.SetMode(pmNotXor);
  src.Hide();
  Counter c;
  TChartPen dst(c.Handler());
  dst.Assign(&src);
  EXPECT_EQ(c.n, 1);
  EXPECT_FALSE(dst.Visible());
  EXPECT_EQ(dst.Color(), clRed);
  EXPECT_EQ(dst.Width(), 4);
  EXPECT_EQ(dst.Style(), psDashDot);
  EXPECT_TRUE(dst.SmallDots());
  EXPECT_EQ(dst.SmallSpace(), 3);
  EXPECT_EQ(dst.EndStyle(), esSquare);
  EXPECT_EQ(dst.Mode(), pmNotXor);

  // A brush copy takes the gradient and its sub-gradient; our gradient keeps reporting
  // to us, and a source without a gradient gives ours back its defaults.
  TChartBrush b1;
  b1.SetStyle(bsVertical);
  b1.SetBackColor(clYellow);
  b1.Gradient()->SetVisible(true);
  b1.Gradient()->SetMidColor(clGreen);
  b1.Gradient()->SubGradient()->SetTransparency(30);
  Counter bc;
  TChartBrush b2(bc.Handler());
  b2.Assign(&b1);
  EXPECT_EQ(bc.n, 1);
  EXPECT_EQ(b2.Style(), bsVertical);
  EXPECT_EQ(b2.BackColor(), clYellow);
  EXPECT_EQ(b2.Color(), clLumColor);
  ASSERT_TRUE(b2.HasGradient());
  EXPECT_NE(b2.Gradient(), b1.Gradient());
  EXPECT_TRUE(b2.Gradient()->Visible());
  EXPECT_EQ(b2.Gradient()->MidColor(), clGreen);
  EXPECT_EQ(b2.Gradient()->SubGradient()->Transparency(), 30);
  b2.Gradient()->SetEndColor(clRed);
  EXPECT_EQ(bc.n, 2);
  TChartBrush bare;
  b2.Assign(&bare);
  EXPECT_FALSE(b2.Gradient()->Visible());
  EXPECT_FALSE(bare.HasGradient()) << "assigning from a brush must not create its gradient";

  // Fonts copy to and from the platform font.
  TLumFont lf;
  lf.SetName("Courier New");
  lf.SetSize(10);
  lf.SetStyle(FontStyles({fsBold, fsUnderline}));
  lf.SetColor(clNavy);
  TFont pf;
  pf.Assign(&lf);
  EXPECT_EQ(pf.Name(), "Courier New");
  EXPECT_EQ(pf.Size(), 10);
  EXPECT_EQ(pf.Style(), FontStyles({fsBold, fsUnderline}));
  EXPECT_EQ(pf.Color(), clNavy);
  TLumFont back;
  back.Assign(&pf);
  EXPECT_EQ(back.Name(), "Courier New");
  EXPECT_EQ(back.Height(), lf.Height());

  TView3DOptions v1, v2;
  v1.SetRotationFloat(10.5);
  v1.SetPerspective(55);
  v2.Assign(&v1);
  EXPECT_DOUBLE_EQ(v2.RotationFloat(), 10.5);
  EXPECT_EQ(v2.Rotation(), 10) << "rounded half to even";
  EXPECT_EQ(v2.Perspective(), 55);

  // Assigning something foreign is refused.
  EXPECT_THROW(dst.Assign(&b1), EConvertError);
}

TEST(Attributes, DefaultsTheFormsRelyOn) {
  TLumGradient g;
  EXPECT_FALSE(g.Visible());
  EXPECT_EQ(g.Direction(), gdTopBottom);
  EXPECT_EQ(g.StartColor(), clWhite);
  EXPECT_EQ(g.MidColor(), clNone);
  EXPECT_FALSE(g.UseMidColor());
  EXPECT_EQ(g.Balance(), 50);
  EXPECT_FALSE(g.HasSubGradient());

  // Turning the middle colour on does not change the picture.
  g.SetStartColor(clRed);
  g.SetEndColor(clBlue);
  const TColor halfway = g.ColorAt(0.5);
  g.SetUseMidColor(true);
  EXPECT_TRUE(g.UseMidColor());
  EXPECT_EQ(g.ColorAt(0.5), halfway);
  g.SetUseMidColor(false);
  EXPECT_EQ(g.MidColor(), clNone);

  TChartBrush b;
  EXPECT_EQ(b.Style(), bsSolid);
  EXPECT_EQ(b.Color(), clLumColor);
  EXPECT_EQ(b.BackColor(), clNone);
  EXPECT_FALSE(b.HasGradient());
  EXPECT_FALSE(b.HasImage());

  TLumFont f;
  EXPECT_EQ(f.Name(), "Arial");
  EXPECT_EQ(f.Size(), 8);
  EXPECT_EQ(f.Color(), clBlack);
  f.SetName("");
  EXPECT_EQ(f.Name(), "Arial") << "an empty name is ignored";

  TView3DOptions v;
  EXPECT_TRUE(v.Orthogonal());
  EXPECT_EQ(v.OrthoAngle(), 45);
  EXPECT_EQ(v.Zoom(), 100);
  EXPECT_EQ(v.Perspective(), 15);
  EXPECT_EQ(v.Rotation(), 345);
  EXPECT_EQ(v.Elevation(), 345);
  EXPECT_TRUE(v.ZoomText());
  EXPECT_EQ(v.FontZoom(), 100);
}

TEST(Attributes, PublishedPropertiesByName) {
  TLumGradient g;
  SetEnumProp(&g, "Direction", "gdDiagonalDown");
  EXPECT_EQ(g.Direction(), gdDiagonalDown);
  EXPECT_EQ(GetEnumProp(&g, "Direction"), "gdDiagonalDown");
  SetOrdProp(&g, "EndColor", 11645361);  // the dispersion chart's panel gradient
  EXPECT_EQ(g.EndColor(), 11645361);
  EXPECT_FALSE(IsStoredProp(&g, *GetPropInfo(g.ClassType(), "SubGradient"))) << "none was created";

  TChartBrush b;
  TObject* sub = std::get<TObject*>(GetPropValue(&b, "Gradient"));  // created on first read
  SetPropValue(sub, "Visible", true);
  EXPECT_TRUE(b.Gradient()->Visible());

  // A shadow stores what differs from the defaults it was given.
  TLumShadow s;
  s.InitDefaults(true, clGray, 2);
  EXPECT_FALSE(IsStoredProp(&s, *GetPropInfo(s.ClassType(), "Visible")));
  EXPECT_FALSE(IsStoredProp(&s, *GetPropInfo(s.ClassType(), "HorizSize")));
  s.SetVertSize(5);
  EXPECT_TRUE(IsStoredProp(&s, *GetPropInfo(s.ClassType(), "VertSize")));

  TChartPen p;
  SetEnumProp(&p, "Style", "psDot");
  EXPECT_EQ(p.Style(), psDot);
  TView3DOptions v;
  SetOrdProp(&v, "Zoom", 70);
  SetOrdProp(&v, "Orthogonal", 0);
  EXPECT_EQ(v.Zoom(), 70);
  EXPECT_FALSE(v.Orthogonal());
}
