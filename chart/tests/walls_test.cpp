// Walls in 3D: each face where the projection puts it, thickness, hiding, blending
// and partial walls; and the chart's lists reached by their property names.
#include <array>
#include <cmath>

#include "canvas/lumcanvas.h"
#include "chart_test_util.h"
#include "engine/groups.h"
#include "platform/typinfo.h"

namespace charttest {
namespace {

class Walls3D : public ChartTest {
protected:
  void SetUp() override {
    ChartTest::SetUp();
    chart->SetView3D(true);
    chart->View3DOptions()->SetOrthogonal(true);
    chart->SetChart3DPercent(40);
    Paint(chart->LeftWall(), clRed);
    Paint(chart->BottomWall(), clLime);
    Paint(chart->RightWall(), clBlue);
    Paint(chart->BackWall(), clYellow);
    chart->BackWall()->SetTransparent(false);
  }

  static void Paint(TChartWall* W, TColor C) {
    W->SetColor(C);
    W->Pen()->Hide();
    W->Show();
  }

  // The pixel at plot point (X, Y, Z) of the orthogonal view at 45 degrees.
  static TColor At(TBitmap* B, int X, int Y, int Z) {
    const int shift = int(std::lround(Z * std::sqrt(0.5)));
    return B->Canvas()->Pixels(X + shift, Y - shift);
  }

  // Whether each wall (left, right, bottom, back) faces the viewer, asked while the
  // chart draws (its projection current).
  std::array<bool, 4> Facing() {
    std::array<bool, 4> out{};
    chart->OnAfterDraw = TNotifyEvent([this, &out](TObject*) {
      int i = 0;
      for (TChartWall* w : {chart->LeftWall(), chart->RightWall(), chart->BottomWall(), chart->BackWall()})
        out[size_t(i++)] = w->FacesViewer(chart->ChartRect(), chart->Width3D());
    });
    Render();
    chart->OnAfterDraw.Clear();
    return out;
  }

  // Plot box of the last drawing.
  int L() const { return chart->ChartRect().Left; }
  int T() const { return chart->ChartRect().Top; }
  int R() const { return chart->ChartRect().Right; }
  int B() const { return chart->ChartRect().Bottom; }
  int D() const { return chart->Width3D(); }
  int MidX() const { return (L() + R()) / 2; }
  int MidY() const { return (T() + B()) / 2; }
};

TEST_F(Walls3D, EachFaceShowsInItsPlaneAndNoneWhenWallsAreOff) {
  auto b = Render();
  ASSERT_GT(D(), 10);
  EXPECT_EQ(At(b.get(), L(), MidY(), D() / 2), clRed);
  EXPECT_EQ(At(b.get(), MidX(), B(), D() / 2), clLime);
  EXPECT_EQ(At(b.get(), R(), MidY(), D() / 2), clBlue);
  EXPECT_EQ(At(b.get(), MidX(), MidY(), D()), clYellow);

  chart->SetView3DWalls(false);
  b = Render();
  for (TColor c : {clRed, clLime, clBlue, clYellow}) EXPECT_EQ(Count(b.get(), c), 0) << c;

  // A flat chart draws only its back wall, whatever the others say.
  chart->SetView3DWalls(true);
  chart->SetView3D(false);
  b = Render();
  EXPECT_GT(Count(b.get(), clYellow), 0);
  for (TColor c : {clRed, clLime, clBlue}) EXPECT_EQ(Count(b.get(), c), 0) << c;
}

TEST_F(Walls3D, SizeAddsASlabOutwards) {
  auto b = Render();
  const int thin = Count(b.get(), clRed);
  // Outside the plot box nothing of the left wall yet.
  EXPECT_NE(At(b.get(), L() - 4, MidY(), 0), clRed);
  chart->Walls()->SetSize(8);
  EXPECT_EQ(chart->BackWall()->Size(), 8);
  chart->LeftWall()->SetDark3D(false);
  b = Render();
  EXPECT_EQ(At(b.get(), L() - 4, MidY(), 0), clRed);   // the slab's front face
  EXPECT_NE(At(b.get(), L() - 12, MidY(), 0), clRed);  // and no further
  EXPECT_GT(Count(b.get(), clRed), thin);
  // The back wall's slab lies behind its face.
  EXPECT_EQ(At(b.get(), MidX(), MidY(), D()), clYellow);

  // Dark3D shades the slab's top, not its face towards the plot.
  chart->LeftWall()->SetDark3D(true);
  b = Render();
  const TColor top = At(b.get(), L() - 4, T(), D() / 2);
  EXPECT_NE(top, clRed);
  EXPECT_EQ(GetGValue(ColorToRGB(top)), 0);
  EXPECT_GT(GetRValue(ColorToRGB(top)), 150);
  EXPECT_EQ(At(b.get(), L(), MidY(), D() / 2), clRed);

  chart->LeftWall()->SetSize(-3);
  EXPECT_EQ(chart->LeftWall()->Size(), 0);
}

TEST_F(Walls3D, AutoHideLeavesOutAWallSeenFromOutside) {
  chart->LeftWall()->SetAutoHide(true);
  chart->RightWall()->SetAutoHide(true);
  // Depth runs up and to the right: the left wall shows its inner side, the right
  // wall its outer one.
  EXPECT_EQ(Facing(), (std::array<bool, 4>{true, false, true, true}));
  auto b = Render();
  EXPECT_GT(Count(b.get(), clRed), 0);
  EXPECT_EQ(Count(b.get(), clBlue), 0);

  chart->View3DOptions()->SetOrthoAngle(135);
  b = Render();
  EXPECT_EQ(Count(b.get(), clRed), 0);
  EXPECT_GT(Count(b.get(), clBlue), 0);

  // Without AutoHide a wall shows from either side.
  chart->LeftWall()->SetAutoHide(false);
  b = Render();
  EXPECT_GT(Count(b.get(), clRed), 0);

  // The free view turned to the right sees the left wall from inside as well.
  chart->View3DOptions()->SetOrthogonal(false);
  chart->View3DOptions()->SetRotation(345);
  chart->View3DOptions()->SetElevation(345);
  EXPECT_EQ(Facing(), (std::array<bool, 4>{true, false, true, true}));
  // Looking from below and from the left turns the others round.
  chart->View3DOptions()->SetRotation(15);
  chart->View3DOptions()->SetElevation(15);
  EXPECT_EQ(Facing(), (std::array<bool, 4>{false, true, false, true}));
}

TEST_F(Walls3D, TransparencyBlendsWithWhatLiesBehind) {
  chart->LeftWall()->SetTransparency(50);
  chart->BackWall()->SetTransparency(50);
  chart->BackWall()->SetSize(6);
  auto b = Render();
  // Half of the colour, half of the white panel behind.
  const TColor left = ColorToRGB(At(b.get(), L(), MidY(), D() / 2));
  EXPECT_EQ(GetRValue(left), 255);
  EXPECT_NEAR(GetGValue(left), 128, 2);
  EXPECT_NEAR(GetBValue(left), 128, 2);
  // The back wall's face and its slab alike.
  const TColor back = ColorToRGB(At(b.get(), MidX(), MidY(), D()));
  const TColor slab = ColorToRGB(At(b.get(), R(), MidY(), D() + 3));  // its shaded side
  for (TColor c : {back, slab}) {
    EXPECT_GT(GetRValue(c), 200) << std::hex << c;
    EXPECT_GT(GetGValue(c), 200) << std::hex << c;
    EXPECT_NEAR(GetBValue(c), 128, 2) << std::hex << c;
  }
  // A transparent wall keeps only its frame.
  chart->LeftWall()->SetTransparent(true);
  b = Render();
  EXPECT_EQ(Count(b.get(), clRed), 0);
}

TEST_F(Walls3D, StartAndEndPositionsCutTheWall) {
  chart->LeftWall()->SetStartPosition(50);
  chart->BottomWall()->SetEndPosition(25);
  auto b = Render();
  const int h = B() - T(), w = R() - L();
  // Vertical walls measure from the top, the bottom wall from the left.
  EXPECT_EQ(At(b.get(), L(), T() + h / 4, D() / 2), clWhite);
  EXPECT_EQ(At(b.get(), L(), T() + 3 * h / 4, D() / 2), clRed);
  EXPECT_EQ(At(b.get(), L() + w / 8, B(), D() / 2), clLime);
  EXPECT_NE(At(b.get(), L() + w / 2, B(), D() / 2), clLime);
  EXPECT_EQ(chart->LeftWall()->SpanRect({0, 0, 100, 200}), (TRect{0, 100, 100, 200}));

  // An empty or reversed span draws nothing, outside 0..100 counts as the ends.
  chart->LeftWall()->SetEndPosition(40);
  chart->BottomWall()->SetStartPosition(-20);
  chart->BottomWall()->SetEndPosition(300);
  b = Render();
  EXPECT_EQ(Count(b.get(), clRed), 0);
  EXPECT_EQ(chart->BottomWall()->SpanRect({0, 0, 100, 200}), (TRect{0, 0, 100, 200}));
}

// An animation: a tool kept in the chart's animation list.
class TTestAnimation : public TLumCustomTool {
public:
  explicit TTestAnimation(TComponent* AOwner) : TLumCustomTool(AOwner) {}

protected:
  TChartTools* ToolListOf(TCustomAxisPanel* Chart) const override {
    auto* c = dynamic_cast<TCustomChart*>(Chart);
    return c ? c->Animations() : Chart->Tools();
  }
};

class ChartLists : public ChartTest {
protected:
  TObject* AsObjectProp(const char* Name) { return typinfo_detail::AsObject(GetPropValue(chart.get(), Name)); }
};

TEST_F(ChartLists, ListsArePublishedAndAnimationsKeepApartFromTools) {
  EXPECT_EQ(AsObjectProp("Tools"), chart->Tools());
  EXPECT_EQ(AsObjectProp("Animations"), chart->Animations());
  EXPECT_EQ(AsObjectProp("CustomAxes"), chart->CustomAxes());
  EXPECT_EQ(AsObjectProp("SeriesGroups"), chart->SeriesGroups());
  // Groups are stored only when there are some.
  const TPropInfo* groups = GetPropInfo(chart->ClassType(), "SeriesGroups");
  ASSERT_NE(groups, nullptr);
  EXPECT_FALSE(IsStoredProp(chart.get(), *groups));
  chart->SeriesGroups()->Add("Group1");
  EXPECT_TRUE(IsStoredProp(chart.get(), *groups));

  auto* anim = new TTestAnimation(nullptr);
  anim->SetParentChart(chart.get());
  auto* tool = new TLumCustomTool(nullptr);
  chart->Tools()->Add(tool);
  EXPECT_EQ(chart->Animations()->Count(), 1);
  EXPECT_EQ(chart->Tools()->Count(), 1);
  EXPECT_EQ(chart->Tools()->IndexOf(anim), -1);

  // Moving to another chart leaves the first chart's list; freeing leaves the list.
  TChart other(nullptr);
  anim->SetParentChart(&other);
  EXPECT_EQ(chart->Animations()->Count(), 0);
  EXPECT_EQ(other.Animations()->Count(), 1);
  delete anim;
  EXPECT_EQ(other.Animations()->Count(), 0);

  // The chart frees the animations still in its list.
  auto* left = new TTestAnimation(nullptr);
  left->SetParentChart(&other);
  EXPECT_EQ(other.Animations()->Count(), 1);
}

}  // namespace
}  // namespace charttest
