// The binary component stream as readable text. The whole text is built in memory
// first, so a stream that turns out bad half-way leaves the output as it was.
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/filer.h"

namespace {

class TBinaryToText {
public:
  explicit TBinaryToText(std::vector<std::uint8_t> bytes) : in_(std::move(bytes)) {}

  std::string Run() {
    if (in_.size() < 4 || std::memcmp(in_.data(), "TPF0", 4) != 0) throw EReadError("Invalid stream format");
    pos_ = 4;
    Object("");
    return std::move(out_);
  }
  std::size_t Consumed() const { return pos_; }

private:
  [[noreturn]] static void Short() { throw EReadError("Stream read error"); }
  std::uint8_t Peek() const {
    if (pos_ >= in_.size()) Short();
    return in_[pos_];
  }
  std::uint8_t Byte() {
    std::uint8_t b = Peek();
    ++pos_;
    return b;
  }
  const std::uint8_t* Take(std::size_t n) {
    if (in_.size() - pos_ < n) Short();
    const std::uint8_t* p = in_.data() + pos_;
    pos_ += n;
    return p;
  }
  std::uint64_t Unsigned(int bytes) {
    const std::uint8_t* p = Take(std::size_t(bytes));
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
  }
  std::string Str() {
    std::size_t n = Byte();
    const std::uint8_t* p = Take(n);
    return std::string(reinterpret_cast<const char*>(p), n);
  }
  void EndOfList() {
    if (Byte() != vaNull) throw EReadError("Invalid stream format");
  }

  // Printable ASCII inside quotes, every other character as #code.
  static std::string Quoted(const std::vector<std::uint32_t>& chars) {
    std::string s;
    bool open = false;
    for (std::uint32_t c : chars) {
      if (c >= 32 && c <= 126) {
        if (!open) s += '\'', open = true;
        if (c == '\'') s += '\'';
        s += char(c);
      } else {
        if (open) s += '\'', open = false;
        s += '#' + std::to_string(c);
      }
    }
    if (open) s += '\'';
    return s.empty() ? "''" : s;
  }

  // Sign or blank, 21 significant digits, a four-digit exponent: enough to read the
  // 10-byte value back exactly.
  static std::string Float(long double v) {
    if (std::isnan(v)) return "Nan";
    if (std::isinf(v)) return v < 0 ? "-Inf" : "+Inf";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.20Le", std::fabs(v));
    const char* e = std::strchr(buf, 'e');
    if (!e) return buf;
    int exp = std::atoi(e + 1);
    std::string s(std::signbit(v) ? "-" : " ");
    s.append(buf, std::size_t(e - buf));
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%04d", exp < 0 ? '-' : '+', exp < 0 ? -exp : exp);
    return s + tail;
  }

  // One value whose line starts at indent I; ends with the line break.
  void Value(const std::string& I) {
    TNest nest(this);
    std::uint8_t t = Byte();
    switch (t) {
      case vaList:
        if (Peek() == vaNull) {
          ++pos_;
          out_ += "(" + I + ")\n";
          return;
        }
        out_ += "(\n";
        while (Peek() != vaNull) {
          out_ += I + "  ";
          Value(I + "  ");
        }
        ++pos_;
        out_ += I + ")\n";
        return;
      case vaInt8: out_ += std::to_string(std::int8_t(Unsigned(1))) + "\n"; return;
      case vaInt16: out_ += std::to_string(std::int16_t(Unsigned(2))) + "\n"; return;
      case vaInt32: out_ += std::to_string(std::int32_t(Unsigned(4))) + "\n"; return;
      case vaInt64: out_ += std::to_string(std::int64_t(Unsigned(8))) + "\n"; return;
      case vaExtended: {
        long double v = 0;
        std::memcpy(&v, Take(10), 10);
        out_ += Float(v) + "\n";
        return;
      }
      case vaString:
      case vaLString: {
        std::size_t n = t == vaString ? Byte() : std::size_t(Unsigned(4));
        const std::uint8_t* p = Take(n);
        out_ += Quoted(std::vector<std::uint32_t>(p, p + n)) + "\n";
        return;
      }
      case vaWString: {
        std::size_t n = std::size_t(Unsigned(4));
        if (n > (in_.size() - pos_) / 2) Short();
        std::vector<std::uint32_t> units(n);
        for (std::size_t i = 0; i < n; ++i) units[i] = std::uint32_t(Unsigned(2));
        out_ += Quoted(units) + "\n";
        return;
      }
      case vaIdent: out_ += Str() + "\n"; return;
      case vaFalse: out_ += "False\n"; return;
      case vaTrue: out_ += "True\n"; return;
      case vaNil: out_ += "nil\n"; return;
      case vaNull: out_ += "Null\n"; return;
      case vaSet: {
        out_ += "[";
        for (bool first = true;; first = false) {
          std::string n = Str();
          if (n.empty()) break;
          if (!first) out_ += ", ";
          out_ += n;
        }
        out_ += "]\n";
        return;
      }
      case vaBinary: {
        std::size_t n = std::size_t(Unsigned(4));
        const std::uint8_t* p = Take(n);
        static const char hex[] = "0123456789ABCDEF";
        out_ += "{\n";
        for (std::size_t i = 0; i < n; i += 32) {
          out_ += I + "  ";
          for (std::size_t k = i; k < n && k < i + 32; ++k) {
            out_ += hex[p[k] >> 4];
            out_ += hex[p[k] & 15];
          }
          out_ += "\n";
        }
        out_ += I + "}\n";
        return;
      }
      case vaCollection:
        if (Peek() == vaNull) {
          ++pos_;
          out_ += "<>\n";
          return;
        }
        out_ += "<" + I + "\n";
        for (;;) {
          if (Byte() != vaList) throw EReadError("Invalid stream format");
          out_ += I + "  item\n";
          Properties(I + "    ");
          out_ += I + "  end";
          if (Peek() == vaNull) break;
          out_ += I + "\n";
        }
        ++pos_;
        out_ += ">\n";
        return;
      default: throw EReadError(Format("Invalid property value (tag %d)", int(t)));
    }
  }

  void Properties(const std::string& I) {
    while (Peek() != vaNull) {
      std::string name = Str();
      if (name.empty()) throw EReadError("Invalid stream format");
      out_ += I + name + " = ";
      Value(I);
    }
    ++pos_;
  }

  void Object(const std::string& I) {
    TNest nest(this);
    const char* word = "object";
    if ((Peek() & 0xF0) == 0xF0) {
      int flags = Byte() & 0x0F;
      if (flags & 2) {  // the child position: an integer that the text does not show
        std::uint8_t t = Byte();
        if (t == vaInt8) Take(1);
        else if (t == vaInt16) Take(2);
        else if (t == vaInt32) Take(4);
        else throw EReadError("Invalid stream format");
      }
      if (flags & 1) word = "inherited";
      else if (flags & 4) word = "inline";
    }
    std::string cls = Str();
    std::string name = Str();
    if (cls.empty()) throw EReadError("Invalid stream format");
    out_ += I + word + " " + (name.empty() ? cls : name + ": " + cls) + "\n";
    Properties(I + "  ");
    while (Peek() != vaNull) Object(I + "  ");
    ++pos_;
    out_ += I + "end\n";
  }

  // Nesting deeper than any component holds is a foreign stream, not a reason to
  // run out of stack.
  struct TNest {
    explicit TNest(TBinaryToText* c) : c_(c) {
      if (++c_->depth_ > 200) throw EReadError("Invalid stream format");
    }
    ~TNest() { --c_->depth_; }
    TBinaryToText* c_;
  };

  std::vector<std::uint8_t> in_;
  std::size_t pos_ = 0;
  int depth_ = 0;
  std::string out_;
};

}  // namespace

void ObjectBinaryToText(TStream* Input, TStream* Output) {
  std::int64_t start = Input->Position();
  std::int64_t size = Input->Size() - start;
  std::vector<std::uint8_t> bytes(std::size_t(size > 0 ? size : 0));
  if (!bytes.empty()) Input->ReadBuffer(bytes.data(), std::int64_t(bytes.size()));
  TBinaryToText conv(std::move(bytes));
  std::string text;
  try {
    text = conv.Run();
  } catch (...) {
    Input->SetPosition(start);
    throw;
  }
  Input->SetPosition(start + std::int64_t(conv.Consumed()));
  Output->WriteBuffer(text.data(), std::int64_t(text.size()));
}
