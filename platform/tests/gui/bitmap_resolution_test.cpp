// The resolution a bitmap file carries, as PIL reads it, and back.
#include <gtest/gtest.h>

#include "gui_test.h"
#include "oracle.h"
#include "test_temp.h"

namespace {

TEST(BitmapResolution, WrittenReadBackAndSeenByPIL) {
  auto b = guitest::MakeBitmap(8, 4);
  EXPECT_EQ(b->Dpi(), 96);
  b->SetDpi(300);
  EXPECT_EQ(b->PixelsPerMeterX(), 11811);
  const std::string file = TestTempFile("dpi.bmp");
  b->SaveToFile(file);

  TBitmap back;
  back.LoadFromFile(file);
  EXPECT_EQ(back.Dpi(), 300);
  EXPECT_EQ(back.PixelsPerMeterY(), 11811);
  TBitmap copy;
  copy.Assign(&back);
  EXPECT_EQ(copy.Dpi(), 300);
  copy.SetDpi(0);  // back to the default
  EXPECT_EQ(copy.PixelsPerMeterX(), 3780);

  if (!oracle::HavePython("PIL")) GTEST_SKIP() << "PIL is not installed";
  auto dpi = oracle::Run("/usr/bin/python3 -c \"import sys; from PIL import Image; "
                         "d = Image.open(sys.argv[1]).info['dpi']; print(round(d[0]), round(d[1]))\" '" + file + "'");
  ASSERT_TRUE(dpi);
  EXPECT_EQ(*dpi, "300 300\n");
}

}  // namespace
