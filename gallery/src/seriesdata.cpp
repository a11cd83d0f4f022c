#include "gallery/seriesdata.h"

#include <cstdio>
#include <vector>

#include "chart/registry.h"
#include "gallery/xmlwriter.h"
#include "namedfile.h"
#include "platform/dateutils.h"
#include "platform/lebytes.h"
#include "platform/rtl.h"
#include "platform/textcodec.h"
#include "platform/typinfo.h"

IMPLEMENT_CLASS_PROPS(TSeriesData, TLumExportData)
IMPLEMENT_CLASS_PROPS(TSeriesDataText, TSeriesData)
IMPLEMENT_CLASS_PROPS(TSeriesDataXML, TSeriesData)
IMPLEMENT_CLASS(TSeriesDataHTML, TSeriesData)
IMPLEMENT_CLASS(TSeriesDataXLS, TSeriesData)

namespace {
const char* const CRLF = "\r\n";


int ListCount(const TChartSeries* S) { return S->ValuesList().Count(); }
TChartValueList* List(const TChartSeries* S, int K) { return S->ValuesList()[K]; }

// A name XML can take as an attribute: characters it cannot hold become '_'.
std::string AttributeName(const std::string& Name) {
  std::string out;
  for (char c : Name) {
    bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
              (!out.empty() && ((c >= '0' && c <= '9') || c == '-' || c == '.'));
    out += ok ? c : '_';
  }
  return out.empty() ? "_" : out;
}
// A published property over a plain field (the exporters' settings are fields).
template <class C, class V>
TPropInfo& FieldProp(TPropertyTable& t, const char* Name, TPropKind Kind, V C::*Field) {
  return t.Add(
      Name, Kind, [Field](const TObject* o) { return typinfo_detail::ToProp<V>(static_cast<const C*>(o)->*Field); },
      [Field](TObject* o, const TPropValue& v) { static_cast<C*>(o)->*Field = typinfo_detail::FromProp<V>(v); });
}
}  // namespace

std::string ColorToHexText(TColor Color) {
  if (Color == clLumColor) return "#000000";
  TColor c = ColorToRGB(Color);
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%.2x%.2x%.2x", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}

// ---------------------------------------------------------------------------
TSeriesData::TSeriesData(TCustomAxisPanel* AChart, TChartSeries* ASeries) : Chart(AChart), Series(ASeries) {}

void TSeriesData::DefineProperties(TPropertyTable& t) {
  FieldProp(t, "IncludeColors", TPropKind::Boolean, &TSeriesData::IncludeColors).Default(false);
  FieldProp(t, "IncludeIndex", TPropKind::Boolean, &TSeriesData::IncludeIndex).Default(false);
  FieldProp(t, "IncludeHeader", TPropKind::Boolean, &TSeriesData::IncludeHeader).Default(false);
  FieldProp(t, "IncludeLabels", TPropKind::Boolean, &TSeriesData::IncludeLabels).Default(true);
  FieldProp(t, "UseSeriesFormat", TPropKind::Boolean, &TSeriesData::UseSeriesFormat).Default(false);
  FieldProp(t, "ValueFormat", TPropKind::String, &TSeriesData::ValueFormat).Default(std::string());
}

std::vector<TChartSeries*> TSeriesData::ExportedSeries() const {
  if (Series) return {Series};
  std::vector<TChartSeries*> all;
  if (Chart)
    for (int i = 0; i < Chart->SeriesCount(); ++i) all.push_back(Chart->GetSeries(i));
  return all;
}

void TSeriesData::GuessSeriesFormat(TChartSeries* ASeries) {
  if (!ASeries && Chart)
    for (int i = 0; i < Chart->SeriesCount() && !ASeries; ++i)
      if (Chart->GetSeries(i)->Count() > 0) ASeries = Chart->GetSeries(i);
  if (ASeries) flags_ = std::uint8_t(TChartSeries::DataStorageFlags(ASeries));
}

void TSeriesData::GuessFormat() { GuessSeriesFormat(Series); }

void TSeriesData::PrepareFormat(TChartSeries* ASeries) {
  GuessSeriesFormat(ASeries);
  if (!IncludeLabels) flags_ &= ~cfLabels;
  if (!IncludeColors) flags_ &= ~cfColors;
}

int TSeriesData::PointCount() const {
  if (Series) return Series->Count();
  int n = 0;
  if (Chart)
    for (int i = 0; i < Chart->SeriesCount(); ++i) n = std::max(n, Chart->GetSeries(i)->Count());
  return n;
}

std::string TSeriesData::FormatExportValue(const TChartSeries* ASeries, double Value) const {
  std::string out;
  AppendExportValue(out, ASeries, Value);
  return out;
}

void TSeriesData::AppendExportValue(std::string& Out, const TChartSeries* ASeries, double Value) const {
  const std::string& fmt = ASeries && UseSeriesFormat ? ASeries->ValueFormat() : ValueFormat;
  if (fmt.empty()) AppendFloatToStr(Out, Value);
  else Out += FormatFloat(fmt, Value);
}

std::string TSeriesData::PointToString(int Index) {
  std::string row;
  AppendPoint(row, Index, ExportedSeries());
  return row;
}

void TSeriesData::AppendPoint(std::string&, int, const std::vector<TChartSeries*>&) {}

void TSeriesData::SaveToFile(const std::string& FileName) {
  SaveNamedFile(FileName, [this](TStream* S) { SaveToStream(S); });
}

std::string TSeriesData::AsString() {
  PrepareFormat(Series);
  std::string out;
  const int n = PointCount();
  const std::vector<TChartSeries*> all = ExportedSeries();
  for (int i = 0; i < n; ++i) {
    AppendPoint(out, i, all);
    out += CRLF;
  }
  return out;
}

// ---------------------------------------------------------------------------
std::string TSeriesDataText::Quoted(const std::string& Text) const {
  if (TextQuotes.empty()) return Text;
  std::string out = TextQuotes;
  // A quote inside the item is doubled, so a reader finds where the item ends.
  for (std::size_t at = 0;;) {
    std::size_t q = Text.find(TextQuotes, at);
    out += Text.substr(at, q == std::string::npos ? std::string::npos : q - at);
    if (q == std::string::npos) break;
    out += TextQuotes + TextQuotes;
    at = q + TextQuotes.size();
  }
  return out + TextQuotes;
}

void TSeriesDataText::DefineProperties(TPropertyTable& t) {
  // The delimiter as its character code (a byte).
  t.Add(
       "TextDelimiter", TPropKind::Integer,
       [](const TObject* o) -> TPropValue {
         return (long long)(unsigned char)static_cast<const TSeriesDataText*>(o)->TextDelimiter;
       },
       [](TObject* o, const TPropValue& v) {
         const long long code = typinfo_detail::AsInt(v);
         if (code < 0 || code > 255) throw EPropertyError("Invalid property value");
         static_cast<TSeriesDataText*>(o)->TextDelimiter = char(code);
       })
      .Default(9LL);
  FieldProp(t, "TextQuotes", TPropKind::String, &TSeriesDataText::TextQuotes).Default(std::string());
}

void TSeriesDataText::GuessFormat() {
  TSeriesData::GuessFormat();
  if (!Series && IncludeLabels && !(flags_ & cfLabels))
    for (TChartSeries* s : ExportedSeries())
      if (TChartSeries::DataStorageFlags(s) & TChartSeries::dsfLabels) flags_ |= cfLabels;
}

std::string TSeriesDataText::AsString() {
  PrepareFormat(Series);
  std::string out;
  if (IncludeHeader) {
    const std::string D(1, TextDelimiter);
    std::string h;
    if (IncludeIndex) h += Quoted("Index");
    if (flags_ & cfLabels) h += (h.empty() ? "" : D) + Quoted("Text");
    if (flags_ & cfColors) h += (h.empty() ? "" : D) + Quoted("Colors");
    if (!h.empty()) h += D;
    bool firstSeries = true;
    for (TChartSeries* s : ExportedSeries()) {
      std::string names;
      auto add = [&](const std::string& t) { names += (names.empty() ? "" : D) + Quoted(t); };
      if (flags_ & cfXValues) add(s->XValues()->Name());
      if (ListCount(s) == 2) add(s->GetTitleOrName());
      else
        for (int k = 1; k < ListCount(s); ++k) add(List(s, k)->Name());
      h += (firstSeries ? "" : D) + names;
      firstSeries = false;
    }
    out += h + CRLF;
  }
  out += TSeriesData::AsString();
  out += CRLF;
  return out;
}

void TSeriesDataText::AppendPoint(std::string& row, int Index, const std::vector<TChartSeries*>& All) {
  bool any = false;
  auto item = [&](const std::string& t) {
    if (any) row += TextDelimiter;
    row += t;
    any = true;
  };
  if (IncludeIndex) item(std::to_string(Index));
  bool first = true;
  for (TChartSeries* s : All) {
    const bool has = Index < s->Count();
    if (first) {
      if (flags_ & cfLabels) {
        std::string label;
        if (Series) label = has ? s->Labels().GetLabel(Index) : "";
        else
          for (TChartSeries* o : All)
            if (Index < o->Count() && label.empty()) label = o->Labels().GetLabel(Index);
        item(label.empty() ? "" : Quoted(label));
      }
      if (flags_ & cfColors) item(ColorToHexText(has ? s->GetValueColor(Index) : clLumColor));
      first = false;
    }
    auto value = [&](TChartValueList* l) {
      if (!has) return item("");
      if (l->DateTime()) return item(Quoted(DateTimeToStr(l->GetValue(Index))));
      if (any) row += TextDelimiter;
      AppendExportValue(row, s, l->GetValue(Index));
      any = true;
    };
    if (flags_ & cfXValues) value(s->XValues());
    for (int k = 1; k < ListCount(s); ++k) value(List(s, k));
  }
}

// ---------------------------------------------------------------------------
TSeriesDataXML::TSeriesDataXML(TCustomAxisPanel* AChart, TChartSeries* ASeries)
    : TSeriesData(AChart, ASeries), Encoding(XMLEncodingName()) {
  IncludeHeader = true;
  RecordDefaults(this);  // the header is this class's default
}

void TSeriesDataXML::DefineProperties(TPropertyTable& t) {
  // The system's own encoding is implied, so a stored export follows the system it is
  // read on.
  FieldProp(t, "Encoding", TPropKind::String, &TSeriesDataXML::Encoding).Stored([](const TObject* o) {
    const std::string& e = static_cast<const TSeriesDataXML*>(o)->Encoding;
    return !e.empty() && e != XMLEncodingName();
  });
}

void TSeriesDataXML::AppendSeries(std::string& out, TChartSeries* S) {
  out += "<series title=\"" + XMLEscape(S->GetTitleOrName()) + "\" type=\"" +
                    XMLEscape(GallerySeriesName(S)) + "\" color=\"" + ColorToHexText(S->SeriesColor()) + "\">" +
                    CRLF + "<points count=\"" + std::to_string(S->Count()) + "\">" + CRLF;
  std::vector<std::string> names;
  for (int k = 0; k < ListCount(S); ++k) names.push_back(AttributeName(List(S, k)->Name()));
  for (int i = 0; i < S->Count(); ++i) {
    std::string& line = out;
    line += "<point ";
    if (IncludeIndex) line += "index=\"" + std::to_string(i) + "\"";
    if (flags_ & cfLabels) line += " text=\"" + XMLEscape(S->Labels().GetLabel(i)) + "\"";
    if (flags_ & cfColors) line += " color=\"" + ColorToHexText(S->GetValueColor(i)) + "\"";
    auto attr = [&](int k) {
      line += ' ';
      line += names[std::size_t(k)];
      line += "=\"";
      AppendExportValue(line, S, List(S, k)->GetValue(i));
      line += '"';
    };
    if (flags_ & cfXValues) attr(0);
    if (!S->IsNull(i))
      for (int k = 1; k < ListCount(S); ++k) attr(k);
    out += "/>";
    out += CRLF;
  }
  out += std::string("</points>") + CRLF + "</series>" + CRLF + CRLF;
}

std::string TSeriesDataXML::AsString() {
  PrepareFormat(Series);
  std::string out;
  if (IncludeHeader) out += XMLHeader(Encoding) + CRLF;
  if (Series) {
    AppendSeries(out, Series);
    return out;
  }
  out += std::string("<chart>") + CRLF;
  for (TChartSeries* s : ExportedSeries()) {
    PrepareFormat(s);
    AppendSeries(out, s);
  }
  out += "</chart>";
  return out;
}

namespace {
bool IsEncoding(std::string e, std::initializer_list<const char*> names) {
  e = UpperCase(e);
  for (const char* n : names)
    if (e == n) return true;
  return false;
}
}  // namespace

void TSeriesDataXML::SaveToStream(TStream* Stream) {
  const std::string text = AsString();
  std::string out;
  if (Encoding.empty() || IsEncoding(Encoding, {"UTF-8", "UTF8"})) {
    if (!text.empty()) Stream->WriteBuffer(text.data(), std::int64_t(text.size()));
    return;
  }
  if (IsEncoding(Encoding, {"UTF-16", "UTF-16LE", "UNICODE"})) {
    out = "\xFF\xFE";
    for (char16_t u : Utf8ToUtf16(text)) LittleEndian::Put16(out, u);
  } else {
    // Every declared single- or multi-byte set holds ASCII; the rest as references.
    for (std::size_t i = 0; i < text.size();) {
      const char32_t cp = NextCodePoint(text, i);
      if (cp < 0x80) out += char(cp);
      else out += "&#" + std::to_string(std::uint32_t(cp)) + ";";
    }
  }
  if (!out.empty()) Stream->WriteBuffer(out.data(), std::int64_t(out.size()));
}

// ---------------------------------------------------------------------------
namespace {
std::string Cell(const std::string& Text) { return "<td>" + XMLEscape(Text) + "</td>"; }
}  // namespace

std::string TSeriesDataHTML::AsString() {
  PrepareFormat(Series);
  std::string out = std::string("<table border=\"1\">") + CRLF;
  if (IncludeHeader) {
    std::string h = "<tr>";
    if (IncludeIndex) h += Cell("Index");
    for (TChartSeries* s : ExportedSeries()) {
      if (flags_ & cfLabels) h += Cell("Text");
      if (flags_ & cfColors) h += Cell("Colors");
      if (flags_ & cfXValues) h += Cell(s->XValues()->Name());
      if (ListCount(s) == 2) h += Cell(s->GetTitleOrName());
      else
        for (int k = 1; k < ListCount(s); ++k) h += Cell(List(s, k)->Name());
    }
    out += h + "</tr>" + CRLF;
  }
  out += TSeriesData::AsString();
  out += CRLF;
  out += "</table>";
  return out;
}

void TSeriesDataHTML::AppendPoint(std::string& row, int Index, const std::vector<TChartSeries*>& All) {
  row += "<tr>";
  if (IncludeIndex) row += Cell(std::to_string(Index));
  for (TChartSeries* s : All) {
    const bool has = Index < s->Count();
    auto cell = [&](const std::string& t) { row += has ? Cell(t) : "<td></td>"; };
    if (flags_ & cfLabels) cell(has ? s->Labels().GetLabel(Index) : "");
    if (flags_ & cfColors) cell(has ? ColorToHexText(s->GetValueColor(Index)) : "");
    for (int k = (flags_ & cfXValues) ? 0 : 1; k < ListCount(s); ++k)
      cell(has ? FormatExportValue(s, List(s, k)->GetValue(Index)) : "");
  }
  row += "</tr>";
}

// ---------------------------------------------------------------------------
namespace {
class TBiff {
public:
  void Put16(unsigned v) { LittleEndian::Put16(b, std::uint16_t(v)); }
  void CellHeader(unsigned Type, unsigned DataLength, int Row, int Col) {
    Put16(Type);
    Put16(DataLength + 7);
    Put16(unsigned(Row));
    Put16(unsigned(Col));
    b.insert(b.end(), 3, 0);
  }
  void Number(int Row, int Col, double V) {
    CellHeader(0x0003, 8, Row, Col);
    LittleEndian::PutDouble(b, V);
  }
  void Label(int Row, int Col, const std::string& Text) {
    std::string t = Utf8ToCodePage(Text, TCodePage::Windows1252);
    if (t.size() > 255) t.resize(255);
    CellHeader(0x0004, unsigned(1 + t.size()), Row, Col);
    b.push_back(std::uint8_t(t.size()));
    b.insert(b.end(), t.begin(), t.end());
  }
  void Blank(int Row, int Col) { CellHeader(0x0001, 0, Row, Col); }
  std::vector<std::uint8_t> b;
};
}  // namespace

void TSeriesDataXLS::SaveToStream(TStream* Stream) {
  PrepareFormat(Series);
  const std::vector<TChartSeries*> all = ExportedSeries();
  const int points = PointCount();
  const long rows = long(points) + (IncludeHeader ? 1 : 0);
  long cols = IncludeIndex ? 1 : 0;
  for (int bit : {cfLabels, cfColors, cfXValues})
    if (flags_ & bit) cols += long(all.size());
  for (TChartSeries* s : all) cols += ListCount(s) - 1;
  if (rows > 65535) throw EConvertError(Format("Too many rows for a spreadsheet: %d (at most 65535)", int(rows)));
  if (cols > 256) throw EConvertError(Format("Too many columns for a spreadsheet: %d (at most 256)", int(cols)));

  TBiff x;
  const std::uint8_t bof[12] = {0x09, 0x08, 0x08, 0x00, 0x00, 0x05, 0x10, 0x00, 0, 0, 0, 0};
  x.b.assign(bof, bof + 12);
  x.Put16(0x0200);
  x.Put16(10);
  x.Put16(0);
  x.Put16(unsigned(rows));
  x.Put16(0);
  x.Put16(unsigned(cols));
  x.Put16(0);

  const int shift = IncludeHeader ? 1 : 0;
  if (IncludeHeader) {
    int c = 0;
    if (IncludeIndex) x.Label(0, c++, "Index");
    for (TChartSeries* s : all) {
      if (flags_ & cfLabels) x.Label(0, c++, "Text");
      if (flags_ & cfColors) x.Label(0, c++, "Colors");
      if (flags_ & cfXValues) x.Label(0, c++, s->XValues()->Name());
      for (int k = 1; k < ListCount(s); ++k) x.Label(0, c++, List(s, k)->Name());
    }
  }
  for (int i = 0; i < points; ++i) {
    const int r = i + shift;
    int c = 0;
    if (IncludeIndex) x.Number(r, c++, i);
    for (TChartSeries* s : all) {
      const std::string& fmt = UseSeriesFormat ? s->ValueFormat() : ValueFormat;
      auto value = [&](double v) {
        // A format stores the number as the text shows it.
        x.Number(r, c++, fmt.empty() ? v : double(StrToFloat(FormatFloat(fmt, v))));
      };
      const int extra = ListCount(s) - 1;
      if (i < s->Count()) {
        if (flags_ & cfLabels) x.Label(r, c++, s->Labels().GetLabel(i));
        if (flags_ & cfColors) x.Label(r, c++, ColorToHexText(s->GetValueColor(i)));
        if (flags_ & cfXValues) value(s->XValues()->GetValue(i));
        if (s->IsNull(i))
          for (int k = 0; k < extra; ++k) x.Blank(r, c++);
        else
          for (int k = 1; k <= extra; ++k) value(List(s, k)->GetValue(i));
      } else {
        if (flags_ & cfLabels) x.Label(r, c++, "");
        if (flags_ & cfColors) x.Label(r, c++, "");
        if (flags_ & cfXValues) x.Blank(r, c++);
        for (int k = 0; k < extra; ++k) x.Blank(r, c++);
      }
    }
  }
  const std::uint8_t eof[4] = {0x0A, 0x00, 0x00, 0x00};
  x.b.insert(x.b.end(), eof, eof + 4);
  Stream->WriteBuffer(x.b.data(), std::int64_t(x.b.size()));
}
