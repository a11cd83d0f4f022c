// The one text codec: its policy for invalid input, UTF-16 and the code pages.
#include <gtest/gtest.h>

#include "platform/textcodec.h"

TEST(TextCodec, InvalidUtf8BecomesOneReplacementPerMaximalSubpart) {
  const std::pair<std::string, std::u32string> cases[] = {
      {"a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF\xEF\xBF\xBD", U"a\u00E9\u20AC\U0001F600\U0010FFFF\uFFFD"},
      {"\x80\xBF" "a\xC0\xC1\xF5\xFF", U"\uFFFD\uFFFDa\uFFFD\uFFFD\uFFFD\uFFFD"},  // stray, or starting nothing
      {"\xC0\xAF\xE0\x80\xAF\xF0\x80\x80\xAF", std::u32string(9, 0xFFFD)},       // overlong
      {"\xED\xA0\x80" "b\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFDb\uFFFD\uFFFD\uFFFD\uFFFD"},  // surrogate, > U+10FFFF
      {"\xE2\x82" "c\xF0\x9F\x98", U"\uFFFDc\uFFFD"},  // cut short, inside and at the end
      {"\xC3\xC3\xA9", U"\uFFFD\u00E9"},               // a lead byte for a continuation
  };
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(Utf8ToCodePoints(in), out) << in;
    const bool valid = in.find("\xEF\xBF\xBD") != std::string::npos || out.find(U'\uFFFD') == out.npos;
    EXPECT_EQ(IsValidUtf8(in), valid) << in;
    // Decoded text encodes back to itself, also through UTF-16.
    const std::string clean = CodePointsToUtf8(out);
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(in)), clean) << in;
    EXPECT_EQ(clean == in, valid) << in;
  }
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\xD83D\xDE00");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(u"\xDE00\xD83D" "a\xD83D")), "\xEF\xBF\xBD\xEF\xBF\xBD" "a\xEF\xBF\xBD");
  EXPECT_EQ(CodePointsToUtf8(std::u32string{0x110000, 0xDC00}), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(TextCodec, CodePagesRoundTripWhatTheyHold) {
  for (int b = 1; b < 256; ++b) {
    const std::string byte(1, char(b));
    EXPECT_EQ(Utf8ToCodePage(CodePageToUtf8(byte, TCodePage::Latin1), TCodePage::Latin1), byte) << b;
    const bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
    const std::string text = CodePageToUtf8(byte, TCodePage::Windows1252);
    EXPECT_EQ(text == "\xEF\xBF\xBD", undefined) << b;
    EXPECT_EQ(Utf8ToCodePage(text, TCodePage::Windows1252), undefined ? "?" : byte) << b;
  }
  const std::string s = "\xE2\x82\xAC\xC3\xA9\xCF\x89\xC2\x80\xE2\x82";  // € é ω U+0080, then cut short
  EXPECT_EQ(Utf8ToCodePage(s, TCodePage::Windows1252), "\x80\xE9??" "?");
  EXPECT_EQ(Utf8ToCodePage(s, TCodePage::Latin1), "?\xE9?\x80?");
}
