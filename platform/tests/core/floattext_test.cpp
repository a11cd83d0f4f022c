// The fast double text against FloatToStr itself, character for character: random bit
// patterns over every exponent, everyday magnitudes, and the values where rounding to
// 15 digits or the choice between fixed and exponent form turns.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "platform/rtl.h"

namespace {

std::string Fast(double v) {
  std::string s = "<";  // appends, keeping what is there
  AppendFloatToStr(s, v);
  return s.substr(1);
}

// Counts and reports (the first few) values whose texts differ.
struct TAgree {
  int checked = 0, wrong = 0;
  void operator()(double v) {
    ++checked;
    const std::string want = FloatToStr(v), got = Fast(v);
    if (want != got && ++wrong <= 10)
      ADD_FAILURE() << std::hexfloat << v << ": FloatToStr " << want << ", fast " << got;
  }
  void Around(double v) {
    (*this)(v);
    (*this)(-v);
    (*this)(std::nextafter(v, 0.0));
    (*this)(std::nextafter(v, HUGE_VAL));
  }
};

TEST(AppendFloatToStr, AgreesWithFloatToStrOnRandomDoubles) {
  std::mt19937_64 rng(20261206);
  TAgree agree;
  for (int i = 0; i < 60000; ++i) {  // any finite bit pattern, subnormals too
    const std::uint64_t bits = rng();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) agree(v);
  }
  std::uniform_real_distribution<double> unit(-1, 1);
  std::uniform_int_distribution<int> power(-20, 20);
  for (int i = 0; i < 60000; ++i) agree(unit(rng) * std::pow(10.0, power(rng)));
  for (int i = 0; i < 20000; ++i) agree(double(int(rng() % 200000) - 100000) / 20);  // grid steps
  EXPECT_EQ(agree.wrong, 0) << "of " << agree.checked;
}

TEST(AppendFloatToStr, AgreesWhereRoundingAndFormTurn) {
  TAgree agree;
  std::mt19937_64 rng(7);
  // 16 digits ending in 5 (and the nearest doubles): the half-up rounding to 15 digits
  // and the carry through nines.
  for (int i = 0; i < 20000; ++i) {
    char text[40];
    std::snprintf(text, sizeof text, "%llu5e%d", (unsigned long long)(rng() % 900000000000000ULL + 100000000000000ULL),
                  int(rng() % 60) - 40);
    agree.Around(std::strtod(text, nullptr));
  }
  for (const char* text : {"9.999999999999995", "0.9999999999999995", "999999999999999.5", "99999999999999.95",
                           "1.0000000000000005", "0.00009999999999999995", "0.0001", "0.00001", "1e15", "1e14",
                           "123456789012345678", "0.1", "0.3", "2.675", "1e-300", "1.7976931348623157e308"})
    agree.Around(std::strtod(text, nullptr));
  for (int e = -1074; e <= 1023; ++e) agree.Around(std::ldexp(1.0, e));  // powers of two
  for (int e = -30; e <= 30; ++e) agree.Around(std::pow(10.0, e));
  agree(std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(agree.wrong, 0) << "of " << agree.checked;
}

TEST(AppendFloatToStr, SpecialValuesAndSeparator) {
  for (double v : {0.0, -0.0, HUGE_VAL, -HUGE_VAL, std::nan("")}) EXPECT_EQ(Fast(v), FloatToStr(v));
  const char saved = DecimalSeparator;
  DecimalSeparator = ',';
  EXPECT_EQ(Fast(-1.26), "-1,26");
  EXPECT_EQ(Fast(1.5e-7), "1,5E-7");
  EXPECT_EQ(Fast(0.015625), FloatToStr(0.015625));
  DecimalSeparator = saved;
}

}  // namespace
