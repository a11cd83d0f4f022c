#include <gtest/gtest.h>
#include "analysis/candle.h"
#include "chart_test_util.h"
TEST(Smoke, Builds) { SUCCEED(); }
