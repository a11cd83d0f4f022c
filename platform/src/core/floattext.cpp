// FloatToStr's text of a double without printing a long double: the exporters write
// millions of values, and the C library's long double printing dominated their time.
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "platform/rtl.h"

void AppendFloatToStr(std::string& Out, double Value) {
  if (std::isnan(Value)) return void(Out += "NAN");
  if (std::isinf(Value)) return void(Out += Value > 0 ? "INF" : "-INF");
  if (Value == 0) return void(Out += '0');
  // The value's 18 significant digits, correctly rounded as FloatToStr takes them (a
  // double widens to long double exactly, so the digits are the same), then 15 of
  // them rounded half away from zero.
  char buf[40];
  const std::to_chars_result r =
      std::to_chars(buf, buf + sizeof buf, std::fabs(Value), std::chars_format::scientific, 17);
  char d[19];
  d[0] = buf[0];
  std::memcpy(d + 1, buf + 2, 17);  // "d.ddddddddddddddddde±x"
  int exp = 0;
  std::from_chars(buf + 21, r.ptr, exp);  // after 'e' and its sign
  if (buf[20] == '-') exp = -exp;
  int n = 15;
  if (d[15] >= '5') {
    int i = 14;
    while (i >= 0 && d[i] == '9') d[i--] = '0';
    if (i >= 0) ++d[i];
    else {
      d[0] = '1';
      n = 1;
      ++exp;
    }
  }
  while (n > 1 && d[n - 1] == '0') --n;

  char out[48];
  char* p = out;
  if (Value < 0) *p++ = '-';
  if (exp < -4 || exp >= 15) {
    *p++ = d[0];
    if (n > 1) {
      *p++ = DecimalSeparator;
      std::memcpy(p, d + 1, std::size_t(n - 1));
      p += n - 1;
    }
    *p++ = 'E';
    p = std::to_chars(p, out + sizeof out, exp).ptr;
  } else if (exp < 0) {
    *p++ = '0';
    *p++ = DecimalSeparator;
    for (int z = -1; z > exp; --z) *p++ = '0';
    std::memcpy(p, d, std::size_t(n));
    p += n;
  } else {
    const int whole = exp + 1;
    for (int i = 0; i < whole; ++i) *p++ = i < n ? d[i] : '0';
    if (n > whole) {
      *p++ = DecimalSeparator;
      std::memcpy(p, d + whole, std::size_t(n - whole));
      p += n - whole;
    }
  }
  Out.append(out, std::size_t(p - out));
}
