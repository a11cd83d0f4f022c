// Editor settings in the settings store.
#include "engine_test.h"
#include "platform/registry.h"

namespace {

TEST(EditorSettings, DefaultsRoundTripAndTypeMismatch) {
  EXPECT_EQ(ReadEditorIntegerSetting("DefaultPalette", 13), 13);  // no key yet
  EXPECT_EQ(ReadEditorStringSetting("Missing", "x"), "x");
  WriteEditorIntegerSetting("DefaultPalette", 9);
  WriteEditorBooleanSetting("Grid", true);
  EXPECT_EQ(ReadEditorIntegerSetting("DefaultPalette", 13), 9);
  EXPECT_TRUE(ReadEditorBooleanSetting("Grid", false));
  EXPECT_FALSE(ReadEditorBooleanSetting("Other", false));  // key exists, value missing
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(LumEditorKey, false));
  reg.WriteString("Size", "big");
  EXPECT_THROW(ReadEditorIntegerSetting("Size", 0), ERegistryException);
  EXPECT_EQ(ReadEditorStringSetting("Size", ""), "big");
}

}  // namespace
