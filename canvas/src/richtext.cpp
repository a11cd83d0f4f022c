#include "canvas/richtext.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

#include "canvas/lumcanvas.h"
#include "platform/textcodec.h"

TRichPictureHook RichTextPictureHook = nullptr;

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool NamedColor(const std::string& Name, TColor& Color) {
  static const std::map<std::string, TColor> names = {
      {"black", clBlack},   {"white", clWhite},   {"red", clRed},       {"green", clGreen},   {"blue", clBlue},
      {"yellow", clYellow}, {"gray", clGray},     {"grey", clGray},     {"silver", clSilver}, {"maroon", clMaroon},
      {"navy", clNavy},     {"purple", clPurple}, {"teal", clTeal},     {"olive", clOlive},   {"lime", clLime},
      {"aqua", clAqua},     {"fuchsia", clFuchsia}};
  auto it = names.find(Lower(Name));
  if (it == names.end()) return false;
  Color = it->second;
  return true;
}

class Parser {
public:
  Parser(const std::string& Text, const TFont& Start) : text_(Text) {
    TRichRun base;
    base.Style = Start.Style();
    base.Color = Start.Color();
    base.Height = Start.Height();
    base.Face = Start.Name();
    state_.push_back({"", base});
  }

  std::vector<TRichRun> Run() {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '<') {
        Flush();
        Tag();
      } else if (c == '&') {
        Entity();
      } else if (c == '\r') {
        Flush();
        Break();
        ++pos_;
      } else if (c == '\n') {
        ++pos_;
      } else {
        pending_ += c;
        ++pos_;
      }
    }
    Flush();
    return std::move(runs_);
  }

private:
  struct State {
    std::string tag;  // the tag that opened this state
    TRichRun font;
  };

  [[noreturn]] void Fail(std::size_t At, const std::string& Why) const {
    throw HtmlParserException(Format("Formatted text is malformed at character %d: %s", int(At) + 1, Why));
  }

  const TRichRun& Font() const { return state_.back().font; }

  void Flush() {
    if (pending_.empty()) return;
    TRichRun r = Font();
    r.Kind = TRichRun::rkText;
    r.Text = std::move(pending_);
    pending_.clear();
    runs_.push_back(std::move(r));
  }

  void Break() {
    TRichRun r = Font();
    r.Kind = TRichRun::rkLineBreak;
    runs_.push_back(std::move(r));
  }

  void Entity() {
    const std::size_t start = pos_;
    const std::size_t end = text_.find(';', pos_);
    if (end == std::string::npos || end - start > 12) Fail(start, "an entity without its ';'");
    const std::string name = text_.substr(start + 1, end - start - 1);
    pos_ = end + 1;
    static const std::map<std::string, const char*> named = {{"amp", "&"},   {"lt", "<"},    {"gt", ">"},
                                                             {"quot", "\""}, {"apos", "'"}, {"nbsp", "\xC2\xA0"}};
    if (auto it = named.find(Lower(name)); it != named.end()) {
      pending_ += it->second;
      return;
    }
    if (name.size() >= 2 && name[0] == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string digits = name.substr(hex ? 2 : 1);
      char* stop = nullptr;
      const unsigned long cp = digits.empty() ? 0 : std::strtoul(digits.c_str(), &stop, hex ? 16 : 10);
      if (!digits.empty() && stop && *stop == 0 && cp > 0 && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF)) {
        AppendUtf8(pending_, cp);
        return;
      }
    }
    Fail(start, "unknown entity '&" + name + ";'");
  }

  // Attributes of the tag between pos_ and End: name=value pairs.
  std::map<std::string, std::string> Attributes(std::size_t Start, std::size_t End) {
    std::map<std::string, std::string> a;
    std::size_t i = Start;
    auto skip = [&] {
      while (i < End && std::isspace(static_cast<unsigned char>(text_[i]))) ++i;
    };
    for (skip(); i < End; skip()) {
      const std::size_t nameStart = i;
      while (i < End && (std::isalnum(static_cast<unsigned char>(text_[i])) || text_[i] == '-')) ++i;
      if (i == nameStart) Fail(i, "an attribute name was expected");
      const std::string name = Lower(text_.substr(nameStart, i - nameStart));
      skip();
      if (i >= End || text_[i] != '=') Fail(i, "attribute '" + name + "' has no value");
      ++i;
      skip();
      std::string value;
      if (i < End && (text_[i] == '"' || text_[i] == '\'')) {
        const char q = text_[i];
        const std::size_t close = text_.find(q, i + 1);
        if (close == std::string::npos || close > End) Fail(i, "a quoted value is not closed");
        value = text_.substr(i + 1, close - i - 1);
        i = close + 1;
      } else {
        const std::size_t vs = i;
        while (i < End && !std::isspace(static_cast<unsigned char>(text_[i]))) ++i;
        value = text_.substr(vs, i - vs);
      }
      a[name] = value;
    }
    return a;
  }

  void Tag() {
    const std::size_t start = pos_;
    const std::size_t end = text_.find('>', pos_);
    const std::size_t nextOpen = text_.find('<', pos_ + 1);
    if (end == std::string::npos || (nextOpen != std::string::npos && nextOpen < end))
      Fail(start, "a tag without its '>'");
    pos_ = end + 1;
    std::size_t i = start + 1;
    const bool closing = i < end && text_[i] == '/';
    if (closing) ++i;
    std::size_t bodyEnd = end;
    if (bodyEnd > i && text_[bodyEnd - 1] == '/') --bodyEnd;  // <br/>
    const std::size_t nameStart = i;
    while (i < bodyEnd && std::isalpha(static_cast<unsigned char>(text_[i]))) ++i;
    std::string name = Lower(text_.substr(nameStart, i - nameStart));
    if (name == "strike") name = "s";
    if (name.empty()) Fail(start, "a tag without a name");

    static const std::map<std::string, TFontStyle> styles = {
        {"b", fsBold}, {"i", fsItalic}, {"u", fsUnderline}, {"s", fsStrikeOut}};
    const bool known = styles.count(name) || name == "font" || name == "br" || name == "img";
    if (!known) Fail(start, "unknown tag <" + name + ">");

    if (closing) {
      if (name == "br" || name == "img") Fail(start, "<" + name + "> has no closing tag");
      // Closes the innermost open tag of that name and everything opened inside it.
      for (std::size_t k = state_.size(); k-- > 1;)
        if (state_[k].tag == name) {
          state_.resize(k);
          return;
        }
      Fail(start, "</" + name + "> closes nothing");
    }
    auto attrs = Attributes(i, bodyEnd);
    if (name == "br") {
      Break();
      return;
    }
    if (name == "img") {
      auto src = attrs.find("src");
      if (src == attrs.end() || src->second.empty()) Fail(start, "<img> without a src");
      TRichRun r = Font();
      r.Kind = TRichRun::rkPicture;
      r.Text = src->second;
      runs_.push_back(std::move(r));
      return;
    }
    State next{name, Font()};
    if (auto s = styles.find(name); s != styles.end()) {
      next.font.Style |= 1u << s->second;
    } else {  // font
      for (const auto& [key, value] : attrs) {
        if (key == "color") {
          TColor c;
          if (value.size() == 7 && value[0] == '#' &&
              std::all_of(value.begin() + 1, value.end(), [](char h) { return std::isxdigit(static_cast<unsigned char>(h)); })) {
            const unsigned long v = std::strtoul(value.c_str() + 1, nullptr, 16);
            next.font.Color = RGB(int(v >> 16) & 255, int(v >> 8) & 255, int(v) & 255);
          } else if (NamedColor(value, c)) {
            next.font.Color = c;
          } else {
            Fail(start, "bad colour '" + value + "'");
          }
        } else if (key == "size") {
          char* stop = nullptr;
          const long n = value.empty() ? 0 : std::strtol(value.c_str(), &stop, 10);
          if (value.empty() || *stop != 0 || n < -1000 || n > 1000) Fail(start, "bad size '" + value + "'");
          int points = int(n);
          if (value[0] == '+' || value[0] == '-')
            points += -MulDiv(next.font.Height, 72, TFont::PixelsPerInch);
          points = std::clamp(points, 1, 1000);
          next.font.Height = -MulDiv(points, TFont::PixelsPerInch, 72);
        } else if (key == "face") {
          if (!value.empty()) next.font.Face = value;
        } else {
          Fail(start, "unknown attribute '" + key + "'");
        }
      }
    }
    state_.push_back(std::move(next));
  }

  const std::string& text_;
  std::size_t pos_ = 0;
  std::string pending_;
  std::vector<State> state_;  // the font stack
  std::vector<TRichRun> runs_;
};

}  // namespace

std::vector<TRichRun> ParseRichText(const std::string& Text, const TFont& Start) {
  return Parser(Text, Start).Run();
}

// ---------------------------------------------------------------------------
namespace {

struct Item {
  const TRichRun* run;
  int width = 0, ascent = 0, descent = 0;
  std::unique_ptr<TGraphic> picture;
};
struct TextLine {
  std::vector<Item> items;
  int width = 0, ascent = 0, descent = 0;
};

void Select(TFont* F, const TRichRun& R) {
  F->SetName(R.Face);
  F->SetHeight(R.Height);
  F->SetStyle(R.Style);
  F->SetColor(R.Color);
}

std::unique_ptr<TGraphic> LoadPicture(const std::string& FileName) {
  if (!RichTextPictureHook) return nullptr;
  try {
    std::unique_ptr<TGraphic> g(RichTextPictureHook(FileName));
    if (!g) return nullptr;
    g->LoadFromFile(FileName);
    if (g->Empty()) return nullptr;
    return g;
  } catch (const std::exception&) {
    return nullptr;  // a missing or unreadable picture draws nothing
  }
}

// Lays the runs out in lines; the canvas's font ends as the last run's.
std::vector<TextLine> Layout(TCanvas* C, const std::vector<TRichRun>& Runs) {
  std::vector<TextLine> lines(1);
  const TTextMetric base = C->TextMetrics();
  auto close = [&](TextLine& l) {
    if (l.items.empty() || l.ascent + l.descent == 0) {
      l.ascent = std::max(l.ascent, base.tmAscent);
      l.descent = std::max(l.descent, base.tmDescent);
    }
  };
  for (const TRichRun& r : Runs) {
    if (r.Kind == TRichRun::rkLineBreak) {
      close(lines.back());
      lines.emplace_back();
      continue;
    }
    Item it{&r, 0, 0, 0, nullptr};
    if (r.Kind == TRichRun::rkText) {
      Select(C->Font(), r);
      const TTextMetric m = C->TextMetrics();
      it.width = C->TextWidth(r.Text);
      it.ascent = m.tmAscent;
      it.descent = m.tmDescent;
    } else {
      it.picture = LoadPicture(r.Text);
      if (!it.picture) continue;
      it.width = it.picture->Width();
      it.ascent = it.picture->Height();
    }
    TextLine& l = lines.back();
    l.width += it.width;
    l.ascent = std::max(l.ascent, it.ascent);
    l.descent = std::max(l.descent, it.descent);
    l.items.push_back(std::move(it));
  }
  close(lines.back());
  return lines;
}

// Keeps a canvas's font and text alignment while formatted text changes them.
class FontKeeper {
public:
  explicit FontKeeper(TCanvas* C) : c_(C), align_(C->TextAlign()) { font_.Assign(C->Font()); }
  ~FontKeeper() {
    c_->Font()->Assign(&font_);
    c_->SetTextAlign(align_);
  }
  FontKeeper(const FontKeeper&) = delete;
  FontKeeper& operator=(const FontKeeper&) = delete;
  unsigned Align() const { return align_; }

private:
  TCanvas* c_;
  TFont font_;
  unsigned align_;
};

}  // namespace

void TLumCanvas::TextOutRich(int X, int Y, const std::string& Text, bool AllowHtml) {
  if (!canvas_) return;
  std::vector<TRichRun> runs;
  if (AllowHtml) {
    try {
      runs = ParseRichText(Text, *canvas_->Font());
    } catch (const HtmlParserException&) {
      AllowHtml = false;  // a paint never raises: malformed text is drawn as it is
    }
  }
  if (!AllowHtml) {
    TextOut(X, Y, Text);
    return;
  }
  FontKeeper keep(canvas_);
  const std::vector<TextLine> lines = Layout(canvas_, runs);
  canvas_->SetTextAlign(TA_LEFT | TA_TOP);
  const unsigned h = keep.Align() & (TA_RIGHT | TA_CENTER);
  int y = Y;
  for (const TextLine& l : lines) {
    int x = h == TA_CENTER ? X - l.width / 2 : h == TA_RIGHT ? X - l.width : X;
    const int baseline = y + l.ascent;
    for (const Item& it : l.items) {
      if (it.picture) {
        canvas_->Draw(x, baseline - it.ascent, it.picture.get());
      } else {
        Select(canvas_->Font(), *it.run);  // the run's face and colour, the font's extras
        DrawText(x, baseline - it.ascent, it.run->Text);
      }
      x += it.width;
    }
    y += l.ascent + l.descent;
  }
}

TSize TLumCanvas::RichTextExtent(const std::string& Text, bool AllowHtml) {
  TCanvas* c = Current();
  if (AllowHtml) {
    try {
      const std::vector<TRichRun> runs = ParseRichText(Text, *c->Font());
      FontKeeper keep(c);
      TSize s{0, 0};
      for (const TextLine& l : Layout(c, runs)) {
        s.cx = std::max(s.cx, l.width);
        s.cy += l.ascent + l.descent;
      }
      return s;
    } catch (const HtmlParserException&) {
    }
  }
  return c->TextExtent(Text);
}
