#include "platform/textcodec.h"

namespace {

bool IsScalar(char32_t Cp) { return Cp <= 0x10FFFF && (Cp < 0xD800 || Cp > 0xDFFF); }

// Code points of windows-1252's bytes 0x80..0x9F; 0 where the page has none.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The code point at Pos; Ok turns false where a U+FFFD stands for a fault.
char32_t Decode(std::string_view S, std::size_t& Pos, bool& Ok) {
  const auto c = static_cast<unsigned char>(S[Pos++]);
  if (c < 0x80) return c;
  Ok = false;
  int more;
  char32_t cp;
  // The second byte's range excludes overlong forms, surrogates and values past U+10FFFF.
  unsigned char lo = 0x80, hi = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) more = 1, cp = c & 0x1Fu;
  else if (c >= 0xE0 && c <= 0xEF) more = 2, cp = c & 0x0Fu, lo = c == 0xE0 ? 0xA0 : 0x80, hi = c == 0xED ? 0x9F : 0xBF;
  else if (c >= 0xF0 && c <= 0xF4) more = 3, cp = c & 0x07u, lo = c == 0xF0 ? 0x90 : 0x80, hi = c == 0xF4 ? 0x8F : 0xBF;
  else return ReplacementChar;
  for (; more > 0; --more, lo = 0x80, hi = 0xBF) {
    if (Pos >= S.size()) return ReplacementChar;
    const auto d = static_cast<unsigned char>(S[Pos]);
    if (d < lo || d > hi) return ReplacementChar;  // that byte starts what comes next
    cp = cp << 6 | (d & 0x3Fu);
    ++Pos;
  }
  Ok = true;
  return cp;
}
}  // namespace

char32_t NextCodePoint(std::string_view S, std::size_t& Pos) {
  bool ok = true;
  return Decode(S, Pos, ok);
}

void AppendUtf8(std::string& Out, char32_t Cp) {
  if (!IsScalar(Cp)) Cp = ReplacementChar;
  if (Cp < 0x80) {
    Out += char(Cp);
    return;
  }
  static constexpr unsigned char kLead[4] = {0, 0xC0, 0xE0, 0xF0};
  const int more = Cp < 0x800 ? 1 : Cp < 0x10000 ? 2 : 3;
  Out += char(kLead[more] | (Cp >> (6 * more)));
  for (int k = more - 1; k >= 0; --k) Out += char(0x80 | ((Cp >> (6 * k)) & 0x3F));
}

bool IsValidUtf8(std::string_view S) {
  bool ok = true;
  for (std::size_t i = 0; i < S.size() && ok;) Decode(S, i, ok);
  return ok;
}

std::u32string Utf8ToCodePoints(std::string_view S) {
  std::u32string out;
  out.reserve(S.size());
  for (std::size_t i = 0; i < S.size();) out += NextCodePoint(S, i);
  return out;
}

std::string CodePointsToUtf8(std::u32string_view S) {
  std::string out;
  out.reserve(S.size());
  for (char32_t c : S) AppendUtf8(out, c);
  return out;
}

std::u16string Utf8ToUtf16(std::string_view S) {
  std::u16string out;
  out.reserve(S.size());
  for (std::size_t i = 0; i < S.size();) {
    char32_t cp = NextCodePoint(S, i);
    if (cp < 0x10000) {
      out += char16_t(cp);
    } else {
      cp -= 0x10000;
      out += char16_t(0xD800 + (cp >> 10));
      out += char16_t(0xDC00 + (cp & 0x3FF));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view S) {
  std::string out;
  out.reserve(S.size());
  for (std::size_t i = 0; i < S.size(); ++i) {
    char32_t cp = S[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < S.size() && S[i + 1] >= 0xDC00 && S[i + 1] <= 0xDFFF)
      cp = 0x10000 + ((cp - 0xD800) << 10) + (S[++i] - 0xDC00u);
    AppendUtf8(out, cp);  // a lone surrogate becomes U+FFFD there
  }
  return out;
}

std::string Utf8ToCodePage(std::string_view S, TCodePage Page) {
  std::string out;
  out.reserve(S.size());
  for (std::size_t i = 0; i < S.size();) {
    const char32_t cp = NextCodePoint(S, i);
    char b = '?';
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF) || (cp <= 0xFF && Page == TCodePage::Latin1)) {
      b = char(cp);
    } else if (Page == TCodePage::Windows1252) {
      for (int k = 0; k < 32; ++k)
        if (kCp1252High[k] && kCp1252High[k] == cp) b = char(0x80 + k);
    }
    out += b;
  }
  return out;
}

std::string CodePageToUtf8(std::string_view S, TCodePage Page) {
  std::string out;
  out.reserve(S.size());
  for (char c : S) {
    const auto b = static_cast<unsigned char>(c);
    char32_t cp = b;
    if (Page == TCodePage::Windows1252 && b >= 0x80 && b <= 0x9F)
      cp = kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : ReplacementChar;
    AppendUtf8(out, cp);
  }
  return out;
}
