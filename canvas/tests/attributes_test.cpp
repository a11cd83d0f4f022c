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

TEST(Attributes, SettersNotifyTheOwnerOnlyOnChange) {
  Counter c;
  TChartPen pen(c.Handler());
  c.expected = &pen;
  ExpectOneNotification(c, "pen colour", [&] { pen.SetColor(clRed); });
  ExpectOneNotification(c, "pen hide", [&] { pen.Hide(); });

  // Sub-objects created on first read report through their holder.
  Counter b;
  TChartBrush brush(b.Handler());
  ExpectOneNotification(b, "brush style", [&] { brush.SetStyle(bsCross); });
  ExpectOneNotification(b, "brush gradient", [&] { brush.Gradient()->SetDirection(gdRadial); });
  ExpectOneNotification(b, "brush gradient's sub-gradient",
                        [&] { brush.Gradient()->SubGradient()->SetTransparency(40); });

  Counter s;
  TLumShadow shadow(s.Handler());
  ExpectOneNotification(s, "shadow size", [&] { shadow.SetSize(7); });
  EXPECT_EQ(shadow.VertSize(), 7);
  ExpectOneNotification(s, "shadow transparency", [&] { shadow.SetTransparency(300); });
  EXPECT_EQ(shadow.Transparency(), 100);

  Counter f;
  TLumFont font(f.Handler());
  ExpectOneNotification(f, "font size", [&] { font.SetSize(12); });

  Counter v;
  TView3DOptions view(v.Handler());
  ExpectOneNotification(v, "view zoom", [&] { view.SetZoom(70); });
  ExpectOneNotification(v, "view rotation", [&] { view.SetRotationFloat(12.5); });
}

TEST(Attributes, PenRulesAndHiddenPen) {
  TChartPen pen;
  pen.SetWidth(0);
  EXPECT_EQ(pen.Width(), 1);
  pen.SetWidth(-5);
  EXPECT_EQ(pen.Width(), 1);

  Counter c;
  TChartHiddenPen hidden(c.Handler());
  hidden.Show();
  EXPECT_TRUE(hidden.Visible());
  EXPECT_EQ(c.n, 1);
  // Visible is stored for a hidden pen only when shown, for a plain pen only when hidden.
  EXPECT_TRUE(IsStoredProp(&hidden, *GetPropInfo(hidden.ClassType(), "Visible")));
  EXPECT_FALSE(IsStoredProp(&pen, *GetPropInfo(pen.ClassType(), "Visible")));
}

// Field by field copies are the property walk's; here what it cannot see.
TEST(Attributes, AssignNotifiesOnceAndCopiesSubObjectsAsTheirOwn) {
  TChartPen src;
  src.Hide();
  Counter c;
  TChartPen dst(c.Handler());
  dst.Assign(&src);
  EXPECT_EQ(c.n, 1);
  EXPECT_FALSE(dst.Visible());

  // A brush copy takes the gradient and its sub-gradient; our gradient keeps reporting
  // to us, and a source without a gradient gives ours back its defaults.
  TChartBrush b1;
  b1.Gradient()->SetVisible(true);
  b1.Gradient()->SubGradient()->SetTransparency(30);
  Counter bc;
  TChartBrush b2(bc.Handler());
  b2.Assign(&b1);
  EXPECT_EQ(bc.n, 1);
  ASSERT_TRUE(b2.HasGradient());
  EXPECT_NE(b2.Gradient(), b1.Gradient());
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
  v2.Assign(&v1);
  EXPECT_EQ(v2.Rotation(), 10) << "the stored double, rounded half to even";

  // Assigning something foreign is refused.
  EXPECT_THROW(dst.Assign(&b1), EConvertError);
}

TEST(Attributes, TurningTheMiddleColourOnLeavesThePicture) {
  TLumGradient g;
  g.SetStartColor(clRed);
  g.SetEndColor(clBlue);
  const TColor halfway = g.ColorAt(0.5);
  g.SetUseMidColor(true);
  EXPECT_TRUE(g.UseMidColor());
  EXPECT_EQ(g.ColorAt(0.5), halfway);
  g.SetUseMidColor(false);
  EXPECT_EQ(g.MidColor(), clNone);
}

TEST(Attributes, PublishedPropertiesByName) {
  TLumGradient g;
  SetEnumProp(&g, "Direction", "gdDiagonalDown");
  EXPECT_EQ(g.Direction(), gdDiagonalDown);
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
}
