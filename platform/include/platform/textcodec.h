// The one place where text changes encoding: UTF-8, code points, UTF-16 and the
// single-byte code pages of the byte formats we write.
//
// Invalid input has one policy everywhere. Decoding UTF-8, each maximal subpart of
// an ill-formed sequence (the longest start of a well-formed sequence, or else a
// single byte) becomes one U+FFFD and decoding goes on with the next byte: overlong
// forms (C0 80), encoded surrogates (ED A0 80), values past U+10FFFF (F4 90 80 80)
// and stray continuation bytes give one U+FFFD per byte; a sequence cut short gives
// one U+FFFD. A lone surrogate in UTF-16, or a value that is no code point when
// encoding, becomes U+FFFD too. Converting to a code page, a character the page
// lacks becomes '?'; a byte the page leaves undefined reads as U+FFFD.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

constexpr char32_t ReplacementChar = 0xFFFD;

// The code point at Pos, which then moves past it. Pos < S.size().
char32_t NextCodePoint(std::string_view S, std::size_t& Pos);
// Out gains Cp as UTF-8.
void AppendUtf8(std::string& Out, char32_t Cp);
// True when S is well-formed UTF-8 throughout.
bool IsValidUtf8(std::string_view S);

std::u32string Utf8ToCodePoints(std::string_view S);
std::string CodePointsToUtf8(std::u32string_view S);
std::u16string Utf8ToUtf16(std::string_view S);
std::string Utf16ToUtf8(std::u16string_view S);

// Latin-1 holds U+0000..U+00FF as themselves; windows-1252 puts typographic
// characters and '€' (0x80) at 0x80..0x9F instead of the C1 controls.
enum class TCodePage { Latin1, Windows1252 };
std::string Utf8ToCodePage(std::string_view S, TCodePage Page);
std::string CodePageToUtf8(std::string_view S, TCodePage Page);
