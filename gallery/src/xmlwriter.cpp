#include "gallery/xmlwriter.h"

#include <cstdlib>
#include <vector>

#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/rtl.h"

IMPLEMENT_CLASS(TStringsStack, TStringList)

std::string TStringsStack::Pop() {
  if (Count() == 0) return {};
  std::string s = Get(Count() - 1);
  Delete(Count() - 1);
  return s;
}

std::string XMLEncodingName() {
  // The locale's language as the environment names it (LC_ALL, LC_MESSAGES, LANG).
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(var);
    if (v && *v) return std::string(v).rfind("ja", 0) == 0 ? "shift_jis" : "ISO-8859-1";
  }
  return "ISO-8859-1";
}

std::string XMLHeader(const std::string& Encoding) {
  std::string s = "<?xml version=\"1.0\"";
  if (!Encoding.empty()) s += " encoding=\"" + Encoding + "\"";
  return s + "?>";
}

std::string XMLEscape(const std::string& Text) {
  std::string out;
  out.reserve(Text.size());
  for (char c : Text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\r': out += "&#13;"; break;
      default:
        if (std::uint8_t(c) < 0x20 && c != '\t' && c != '\n') out += ' ';
        else out += c;
    }
  }
  return out;
}

namespace {

std::string Trim(const std::string& s) {
  std::size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return {};
  std::size_t b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}

bool SameText(const std::string& a, const char* b) { return UpperCase(a) == b; }

// The text form's lines, trimmed, blank ones left out.
std::vector<std::string> TextLines(TStream* Stream) {
  std::int64_t n = Stream->Size() - Stream->Position();
  std::string text(std::size_t(n > 0 ? n : 0), '\0');
  if (n > 0) Stream->ReadBuffer(text.data(), n);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = Trim(text.substr(start, end - start));
    if (!line.empty()) lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

class TXMLConverter {
public:
  explicit TXMLConverter(std::vector<std::string> Lines) : lines_(std::move(Lines)) {}

  std::vector<std::string> Run(bool WithHeader) {
    if (WithHeader) out_.push_back(XMLHeader(XMLEncodingName()));
    while (at_ < lines_.size()) Line(lines_[at_++]);
    CloseGroups(0);
    while (objects_.Count() > 0) CloseObject();
    return std::move(out_);
  }

private:
  std::string Pad() const { return std::string(std::size_t(indent_), ' '); }
  void Out(const std::string& s) { out_.push_back(Pad() + s); }
  void Open(const std::string& name) {
    Out("<" + name + ">");
    indent_ += 2;
  }
  void Unindent() { indent_ = indent_ >= 2 ? indent_ - 2 : 0; }

  void CloseGroups(int Depth) {
    while (groups_.Count() > Depth) {
      Unindent();
      Out("</" + groups_.Pop() + ">");
    }
  }
  void CloseObject() {
    Unindent();
    Out("</" + objects_.Pop() + ">");
  }

  static bool IsObjectLine(const std::string& line) {
    // The word alone, followed by a blank: a property named "ObjectName" is no object.
    return line.size() > 6 && SameText(line.substr(0, 6), "OBJECT") && (line[6] == ' ' || line[6] == '\t');
  }

  void Line(std::string line) {
    if (IsObjectLine(line)) {
      // A child object ends the dotted groups of its parent's properties.
      CloseGroups(0);
      std::string element;
      std::size_t colon = line.find(':');
      if (colon != std::string::npos)
        element = Trim(line.substr(colon + 1)) + " Name=\"" + XMLEscape(Trim(line.substr(6, colon - 6))) + "\"";
      else
        element = Trim(line.substr(6));
      if (at_ < lines_.size() && SameText(lines_[at_], "END")) {
        ++at_;
        Out("<" + element + "/>");
      } else {
        Open(element);
        objects_.Push(element.substr(0, element.find(' ')));
      }
      return;
    }
    std::size_t eq = line.find('=');
    // The dotted path before the "=": each segment but the last is a group.
    std::string path = line.substr(0, eq);
    std::vector<std::string> segs;
    for (std::size_t dot; (dot = path.find('.')) != std::string::npos;) {
      segs.push_back(Trim(path.substr(0, dot)));
      path.erase(0, dot + 1);
      line.erase(0, dot + 1);
    }
    for (int d = 0; d < int(segs.size()); ++d) {
      if (groups_.Count() > d && groups_.Get(d) == segs[d]) continue;
      CloseGroups(d);
      groups_.Push(segs[d]);
      Open(segs[d]);
    }
    CloseGroups(int(segs.size()));

    eq = line.find('=');
    if (eq == std::string::npos) {
      if (SameText(line, "END")) {
        CloseGroups(0);
        if (objects_.Count() > 0) CloseObject();
      }
      return;
    }
    std::string name = Trim(line.substr(0, eq));
    std::string value = Trim(line.substr(eq + 1));
    Property(line, name, value);
  }

  void Property(const std::string& line, const std::string& name, const std::string& value) {
    std::size_t eq = line.find('=');
    if (value == "(" || value == "{") {
      List(name);
    } else if (value == "<") {
      Collection(name);
    } else {
      std::string v = eq + 2 <= line.size() ? line.substr(eq + 2) : std::string();
      if (v == "<>") v.clear();
      Out("<" + line.substr(0, eq) + "value=\"" + XMLEscape(v) + "\"/>");
    }
  }

  // Lines up to the one ending in the closing bracket; a bracket alone on its
  // line adds no element.
  void List(const std::string& name) {
    groups_.Push(name);
    Open(name);
    while (at_ < lines_.size()) {
      std::string text = lines_[at_++];
      bool last = text.back() == ')' || text.back() == '}';
      if (last) text = Trim(text.substr(0, text.size() - 1));
      if (!last || !text.empty()) Out("<String value=\"" + XMLEscape(text) + "\"/>");
      if (last) break;
    }
    CloseGroups(groups_.Count() - 1);
  }

  void Collection(const std::string& name) {
    const int base = groups_.Count();
    groups_.Push(name);
    Open(name);
    TStringsStack items;
    while (at_ < lines_.size()) {
      std::string text = lines_[at_++];
      std::size_t eq = text.find('=');
      if (eq != std::string::npos) {
        std::string n = Trim(text.substr(0, eq)), v = Trim(text.substr(eq + 1));
        if (v == "(" || v == "{") List(n);
        else Out("<" + n + " value=\"" + XMLEscape(v == "<>" ? std::string() : v) + "\"/>");
      } else if (SameText(text, "END") || SameText(text, "END>")) {
        Unindent();
        Out("</" + items.Pop() + ">");
        if (text.size() == 4) break;
      } else {
        Open(text);
        items.Push(text);
      }
    }
    // A stream cut short still closes what it opened.
    while (items.Count() > 0) {
      Unindent();
      Out("</" + items.Pop() + ">");
    }
    CloseGroups(base);
  }

  std::vector<std::string> lines_;
  std::size_t at_ = 0;
  std::vector<std::string> out_;
  TStringsStack objects_, groups_;
  int indent_ = 0;
};

}  // namespace

void ComponentToXML(TStream* Stream, bool WithHeader) {
  std::vector<std::string> xml = TXMLConverter(TextLines(Stream)).Run(WithHeader);
  std::string text;
  for (const std::string& l : xml) text += l + "\r\n";
  Stream->SetPosition(0);
  if (!text.empty()) Stream->WriteBuffer(text.data(), std::int64_t(text.size()));
  // Nothing of the old text stays behind the XML.
  Stream->SetSize(std::int64_t(text.size()));
}

void GotoURL(THandle WindowHandle, const std::string& Target) {
  ShellExecuteA(WindowHandle, "open", Target, "", "", 5);
}

void FreeAllControls(TWinControl* Control) {
  while (Control->ControlCount() > 0) delete Control->Controls(0);
}
