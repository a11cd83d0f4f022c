#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/rtl.h"

TEST(FormatFloat, PicturesAndRounding) {
  struct Case { const char* fmt; long double v; const char* want; } cases[] = {
      {"0.##", 0.5, "0.5"},       {"0.##", 1, "1"},          {"0.##", 0.125, "0.13"},
      {"0.##", 0.135, "0.14"},    {"0.##", 2.0 / 3, "0.67"}, {"0.##", -1.25, "-1.25"},
      {"0.##", -0.001, "0"},      {"0.#", 8, "8"},           {"0.#", 4.04, "4"},
      {"0.#", 2.25, "2.3"},       {"0.#", 0.04, "0"},        {"0.###", 0.19635, "0.196"},
      {"#,##0.###", 1234567.891, "1,234,567.891"},           {"#,##0.###", 12, "12"},
      {"#.##", 0.5, ".5"},        {"0.00", 3, "3.00"},       {"000", 7, "007"},
      {"0", 2.5, "3"},            {"0", 3.5, "4"},           {"0", -2.5, "-3"},
      {"0.0;(0.0)", -1.5, "(1.5)"}, {"0.0;(0.0);zero", 0, "zero"}, {"0.0;;zero", 0.01, "zero"},
      {"0.00E+00", 12345, "1.23E+04"}, {"0.00E-00", 0.00012345, "1.23E-04"}, {"0.0E+0", 0, "0.0E+0"},
      {"\"k=\"0.#", 1.5, "k=1.5"}, {"0.# 'Pi'", 2, "2 Pi"},
  };
  for (auto& c : cases) EXPECT_EQ(FormatFloat(c.fmt, c.v), c.want) << c.fmt << " " << double(c.v);
}

// Ties are exact binary halves; each rounds away from zero, whatever the digit before it.
TEST(FormatFloat, TiesRoundAwayFromZero) {
  struct Case { const char* fmt; long double v; const char* want; } cases[] = {
      {"0.##", -0.125, "-0.13"},  {"0.##", 0.375, "0.38"},   {"0.##", -0.375, "-0.38"},
      {"0.##", 0.005L, "0.01"},   {"0.#", -2.25, "-2.3"},    {"0.#", 0.05L, "0.1"},
      {"0", 0.5, "1"},            {"0", -0.5, "-1"},         {"0", 99.5, "100"},
      {"0.00", 9.995L, "10.00"},  {"#,##0", 999.5, "1,000"}, {"#.##", 0.125, ".13"},
      {"0.0;(0.0)", -0.25, "(0.3)"}, {"0.##", 0.0049L, "0"}, {"0.##", -0.0049L, "0"},
      {"0.00E+00", 12350, "1.24E+04"}, {"0.0E-0", 0.00995L, "1.0E-2"}, {"0.0E+0", 9.95L, "1.0E+1"},
  };
  for (auto& c : cases) EXPECT_EQ(FormatFloat(c.fmt, c.v), c.want) << c.fmt << " " << double(c.v);
}

TEST(Round, HalfToEven) {
  EXPECT_EQ(Round(0.5L), 0);
  EXPECT_EQ(Round(1.5L), 2);
  EXPECT_EQ(Round(2.5L), 2);
  EXPECT_EQ(Round(-0.5L), 0);
  EXPECT_EQ(Round(-1.5L), -2);
  EXPECT_EQ(Round(-2.5L), -2);
  EXPECT_EQ(Round(96.5L), 96);
  EXPECT_EQ(Round(2.4999L), 2);
  EXPECT_EQ(Round(-2.6L), -3);
  EXPECT_EQ(Trunc(-2.6L), -2);
}

TEST(Round, EqualsTheLibraryRoundingEverywhere) {
  // Halves, neighbours of halves one unit off in the last place, random values of
  // every size up to past where the short way stops, both signs.
  std::mt19937_64 random(3);
  std::vector<long double> values;
  for (long long k = -70; k <= 70; ++k) {
    const long double half = k + 0.5L;
    values.insert(values.end(), {half, std::nextafter(half, 0.0L), std::nextafter(half, 1e30L), (long double)k});
  }
  for (int e = 0; e <= 70; ++e)
    for (long double m : {1.0L, 1.5L, 1.75L, 0.9999999L}) {
      const long double v = std::ldexp(m, e);
      values.insert(values.end(), {v, -v, v + 0.5L, -v - 0.5L, std::nextafter(v, 0.0L)});
    }
  for (int i = 0; i < 20000; ++i) {
    const long double v = std::ldexp((long double)(random() >> 11) / (1LL << 53), int(random() % 64) - 3);
    values.push_back(i % 2 ? v : -v);
  }
  for (long double v : values) {
    if (std::fabs(v) >= 9.2e18L) continue;
    EXPECT_EQ(Round(v), (long long)std::nearbyint(v)) << double(v);
  }
}

TEST(FloatToStr, GeneralForm) {
  EXPECT_EQ(FloatToStr(0.5), "0.5");
  EXPECT_EQ(FloatToStr(1e-5), "1E-5");
  EXPECT_EQ(FloatToStr(1e20), "1E20");
  EXPECT_EQ(FloatToStr(-3), "-3");
  EXPECT_EQ(FloatToStr(0.1), "0.1");
  EXPECT_EQ(FloatToStr(123456.75), "123456.75");
  EXPECT_EQ(FloatToStr(-0.0001), "-0.0001");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(999999999999999.5L), "1E15");  // a tie at the 15th digit rounds up
  EXPECT_EQ(FloatToStr(2.0 / 3), "0.666666666666667");
}

TEST(Format, DirectivesAndErrors) {
  EXPECT_EQ(Format("%d bytes", 42), "42 bytes");
  EXPECT_EQ(Format("No valid DataSource: %s", std::string("Series1")), "No valid DataSource: Series1");
  EXPECT_EQ(Format("%5d|%-4s|%x|%.3d", 7, "ab", 255, 5), "    7|ab  |FF|005");
  EXPECT_EQ(Format("%.2f %%", 1.005L * 100), "100.50 %");
  EXPECT_EQ(Format("%n", 1234567.5), "1,234,567.50");
  EXPECT_EQ(Format("%.2f|%.1f|%.0f", 0.125, -0.25, 2.5), "0.13|-0.3|3");
  EXPECT_EQ(Format("%.2n", 1234.125), "1,234.13");
  EXPECT_EQ(Format("%.3e|%e", 1.125, -2.5), "1.13E+00|-2.50000000000000E+00");
  EXPECT_EQ(Format("%.2f", -0.001), "0.00");
  EXPECT_EQ(Format("%1:s %0:s", "a", "b"), "b a");
  EXPECT_THROW(Format("%d", "text"), EConvertError);
  EXPECT_THROW(Format("%s %s", "one"), EConvertError);
}

TEST(Conversions, IntegersAndFloats) {
  EXPECT_EQ(StrToInt(" 12 "), 12);
  EXPECT_EQ(StrToInt("-7"), -7);
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_THROW(StrToInt("12a"), EConvertError);
  EXPECT_EQ(StrToIntDef("", 3), 3);
  EXPECT_EQ(StrToIntDef("x", 3), 3);
  EXPECT_EQ(StrToIntDef("99999999999999999999", 1), 1);
  EXPECT_DOUBLE_EQ(double(StrToFloat("2.5")), 2.5);
  EXPECT_THROW(StrToFloat("2,5x"), EConvertError);
  EXPECT_EQ(IntToHex(255, 4), "00FF");
}

TEST(FileNames, Helpers) {
  EXPECT_EQ(ExtractFilePath("/opt/phonark/bin/phonark"), "/opt/phonark/bin/");
  EXPECT_EQ(ExtractFilePath("phonark"), "");
  EXPECT_EQ(ExtractFileName("/a/b.gif"), "b.gif");
  EXPECT_EQ(ExtractFileExt("/a.b/c"), "");
  EXPECT_EQ(ExtractFileExt("/a/c.GIF"), ".GIF");
  EXPECT_EQ(ChangeFileExt("/a/c.gif", ".bmp"), "/a/c.bmp");
  EXPECT_EQ(ChangeFileExt("/a.d/c", ".bmp"), "/a.d/c.bmp");
}
