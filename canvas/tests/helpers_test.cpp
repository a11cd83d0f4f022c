// Geometry helpers and the message texts.
#include <gtest/gtest.h>

#include "canvas/geometry.h"
#include "canvas/lumconst.h"

TEST(Geometry, RectanglesIncludeTheirEdges) {
  const TRect r = MakeRect(10, 20, 30, 40);
  EXPECT_TRUE(PointInRect(r, 10, 20));
  EXPECT_TRUE(PointInRect(r, 30, 40));
  EXPECT_FALSE(PointInRect(r, 31, 30));
  EXPECT_FALSE(PointInRect(r, 20, 19));
  EXPECT_TRUE(PointInRectP(r, MakePoint(30, 20)));
  EXPECT_FALSE(PointInRectP(r, MakePoint(9, 40)));
}

TEST(Geometry, PointAlongLineWalksBackFromTheSecondPoint) {
  EXPECT_EQ(PointAlongLine({0, 0}, {10, 0}, 4), (TPoint{6, 0}));
  EXPECT_EQ(PointAlongLine({0, 0}, {0, -10}, 3), (TPoint{0, -7}));
  EXPECT_EQ(PointAlongLine({0, 0}, {30, 40}, 25), (TPoint{15, 20}));
  EXPECT_EQ(PointAlongLine({0, 0}, {10, 0}, 15), (TPoint{-5, 0})) << "beyond the segment";
  EXPECT_EQ(PointAlongLine({0, 0}, {5, 0}, 2.5), (TPoint{2, 0})) << "2.5 rounds half to even";
  EXPECT_EQ(PointAlongLine({4, 4}, {4, 4}, 10), (TPoint{4, 4})) << "no direction: the point itself";
}

TEST(MessageTexts, AssignedByTheirUnitsAndEmptiedAtExit) {
  LumConstUnitDone();
  LumConst2UnitDone();
  EXPECT_TRUE(LumMsg_AxisMinMax.empty()) << "texts exist only once their unit has run";

  LumConstUnitInit();
  EXPECT_EQ(LumMsg_AxisMinMax, "Axis Minimum Value must be <= Maximum");
  EXPECT_EQ(LumMsg_LeftAxis, "Left Axis");
  EXPECT_TRUE(LumMsg_ValuesClose.empty()) << "the second half comes with its own unit";

  LumConst2UnitInit();
  EXPECT_EQ(LumMsg_ValuesClose, "Close");
  EXPECT_EQ(LumMsg_FunctionCLV, "Close Location\rValue") << "a gallery cell breaks at the carriage return";
  EXPECT_EQ(LumMsg_MarksTipToolLong,
            "Displays \"tips\" or \"hints\" when the end-user moves or clicks the mouse over a series point.");

  LumConstUnitDone();
  EXPECT_TRUE(LumMsg_LeftAxis.empty());
  EXPECT_TRUE(LumMsg_WrongFileFormat.empty());
  EXPECT_EQ(LumMsg_ValuesClose, "Close");
  LumConst2UnitDone();
  EXPECT_TRUE(LumMsg_ValuesClose.empty());
  EXPECT_TRUE(LumMsg_GridBandToolLong.empty());
}
