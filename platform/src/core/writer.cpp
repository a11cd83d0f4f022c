#include <cfloat>
#include <cstring>

#include "platform/collections.h"
#include "platform/filer.h"
#include "platform/lebytes.h"
#include "platform/textcodec.h"

static_assert(LDBL_MANT_DIG == 64, "the stream's floats are the 10-byte extended format");

IMPLEMENT_CLASS(TFiler, TObject)
IMPLEMENT_CLASS(TWriter, TFiler)

void TPersistent::DefineProperties(TFiler*) {}
void TComponent::GetChildren(const std::function<void(TComponent*)>&, TComponent*) {}

TFiler::TFiler(TStream* Stream, int BufSize) : stream_(Stream), bufSize_(BufSize > 0 ? BufSize : 1) {}

namespace {

struct TColorIdent {
  TColor Color;
  const char* Name;
};

constexpr TColorIdent kColorIdents[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"}, {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"}, {clMenu, "clMenu"}, {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"}, {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"}, {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clNone, "clNone"}, {clDefault, "clDefault"},
};

}  // namespace

bool ColorToIdent(TColor Color, std::string& Ident) {
  for (const TColorIdent& c : kColorIdents)
    if (c.Color == Color) {
      Ident = c.Name;
      return true;
    }
  return false;
}

// ---------------------------------------------------------------------------

TWriter::TWriter(TStream* Stream, int BufSize) : TFiler(Stream, BufSize) { buffer_.reserve(std::size_t(bufSize_)); }

TWriter::~TWriter() {
  // A failure here cannot be reported; callers that need to know flush first.
  try {
    FlushBuffer();
  } catch (...) {
  }
}

void TWriter::FlushBuffer() {
  if (buffer_.empty()) return;
  std::vector<std::uint8_t> out;
  out.swap(buffer_);
  flushed_ += std::int64_t(out.size());
  stream_->WriteBuffer(out.data(), std::int64_t(out.size()));
  buffer_.reserve(std::size_t(bufSize_));
}

void TWriter::WriteBuffer(const void* Data, std::size_t Count) {
  const auto* p = static_cast<const std::uint8_t*>(Data);
  buffer_.insert(buffer_.end(), p, p + Count);
  if (buffer_.size() >= std::size_t(bufSize_)) FlushBuffer();
}

void TWriter::WriteValue(TValueType Value) {
  std::uint8_t b = Value;
  WriteBuffer(&b, 1);
}

void TWriter::WriteSignature() { WriteBuffer("TPF0", 4); }

void TWriter::WriteRootComponent(TComponent* Component) {
  SetRoot(Component);
  WriteSignature();
  WriteComponent(Component);
}

void TWriter::WriteStr(const std::string& Value) {
  if (Value.size() > 255) throw EWriteError(Format("Name too long: \"%s\"", Value.substr(0, 32)));
  std::uint8_t n = std::uint8_t(Value.size());
  WriteBuffer(&n, 1);
  WriteBuffer(Value.data(), Value.size());
}

void TWriter::WriteListBegin() { WriteValue(vaList); }
void TWriter::WriteListEnd() { WriteValue(vaNull); }

void TWriter::WriteInteger(std::int64_t Value) {
  if (Value >= INT8_MIN && Value <= INT8_MAX) {
    WriteValue(vaInt8);
    std::int8_t v = std::int8_t(Value);
    WriteBuffer(&v, 1);
  } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
    WriteValue(vaInt16);
    std::uint8_t b[2];
    LittleEndian::Store16(b, std::uint16_t(Value));
    WriteBuffer(b, 2);
  } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
    WriteValue(vaInt32);
    std::uint8_t b[4];
    LittleEndian::Store32(b, std::uint32_t(Value));
    WriteBuffer(b, 4);
  } else {
    WriteValue(vaInt64);
    std::uint8_t b[8];
    LittleEndian::Store64(b, std::uint64_t(Value));
    WriteBuffer(b, 8);
  }
}

void TWriter::WriteFloat(long double Value) {
  WriteValue(vaExtended);
  std::uint8_t b[sizeof(long double)] = {};
  std::memcpy(b, &Value, sizeof Value);
  WriteBuffer(b, 10);  // the x87 format: 64-bit mantissa, sign and 15-bit exponent
}

void TWriter::WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }

void TWriter::WriteString(const std::string& Value) {
  bool ascii = true;
  for (char c : Value)
    if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
  auto count = [this](std::uint32_t n) {
    std::uint8_t b[4];
    LittleEndian::Store32(b, n);
    WriteBuffer(b, 4);
  };
  if (!ascii) {
    const std::u16string w = Utf8ToUtf16(Value);
    WriteValue(vaWString);
    count(std::uint32_t(w.size()));
    std::vector<std::uint8_t> b;
    b.reserve(2 * w.size());
    for (char16_t u : w) LittleEndian::Put16(b, u);
    WriteBuffer(b.data(), b.size());
  } else if (Value.size() <= 255) {
    WriteValue(vaString);
    WriteStr(Value);
  } else {
    WriteValue(vaLString);
    count(std::uint32_t(Value.size()));
    WriteBuffer(Value.data(), Value.size());
  }
}

void TWriter::WriteIdent(const std::string& Ident) {
  if (SameText(Ident, "False")) WriteValue(vaFalse);
  else if (SameText(Ident, "True")) WriteValue(vaTrue);
  else if (SameText(Ident, "nil")) WriteValue(vaNil);
  else if (SameText(Ident, "Null")) WriteValue(vaNull);
  else {
    WriteValue(vaIdent);
    WriteStr(Ident);
  }
}

void TWriter::WriteSet(const std::vector<std::string>& Names) {
  WriteValue(vaSet);
  for (const std::string& n : Names) WriteStr(n);
  WriteStr("");
}

void TWriter::WriteBinary(const TStreamProc& WriteData) {
  TMemoryStream data;
  WriteData(&data);
  WriteValue(vaBinary);
  std::uint32_t n = std::uint32_t(data.Size());
  std::uint8_t b[4];
  for (int i = 0; i < 4; ++i) b[i] = std::uint8_t(n >> (8 * i));
  WriteBuffer(b, 4);
  WriteBuffer(data.Bytes().data(), data.Bytes().size());
}

void TWriter::WritePropName(const std::string& Name) { WriteStr(propPath_ + Name); }

void TWriter::DefineProperty(const std::string& Name, TReaderProc, TWriterProc WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteData(this);
}

void TWriter::DefineBinaryProperty(const std::string& Name, TStreamProc, TStreamProc WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteBinary(WriteData);
}

std::string TWriter::ComponentReference(TComponent* Component) const {
  if (!Component) return {};
  if (Component == root_) return "Owner";
  if (Component->Name().empty()) return {};
  if (root_ && Component->Owner() == root_) return Component->Name();
  TComponent* owner = Component->Owner();
  if (owner && !owner->Name().empty()) return owner->Name() + "." + Component->Name();
  return Component->Name();
}

void TWriter::WriteCollection(TCollection* Value) {
  WriteValue(vaCollection);
  if (Value) {
    for (int i = 0; i < Value->Count(); ++i) {
      WriteListBegin();
      WriteProperties(Value->Items(i));
      WriteListEnd();
    }
  }
  WriteListEnd();
}

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo& Prop) {
  if (Prop.Kind == TPropKind::Object) {
    if (!IsStoredProp(Instance, Prop)) return;
    TObject* value = typinfo_detail::AsObject(Prop.Get(Instance));
    if (!value) return;
    if (auto* c = dynamic_cast<TComponent*>(value)) {
      std::string ref = ComponentReference(c);
      if (ref.empty()) return;
      WritePropName(Prop.Name);
      WriteIdent(ref);
    } else if (auto* coll = dynamic_cast<TCollection*>(value)) {
      WritePropName(Prop.Name);
      WriteCollection(coll);
    } else if (auto* sub = dynamic_cast<TPersistent*>(value)) {
      std::string saved = propPath_;
      propPath_ += Prop.Name + ".";
      try {
        WriteProperties(sub);
      } catch (...) {
        propPath_ = saved;
        throw;
      }
      propPath_ = saved;
    }
    return;
  }
  if (Prop.Kind == TPropKind::Event) {
    std::string method = typinfo_detail::AsString(Prop.Get(Instance));
    if (method.empty()) return;
    WritePropName(Prop.Name);
    WriteIdent(method);
    return;
  }
  // A value nobody could set again is not stored.
  if (!Prop.Set || !IsStoredProp(Instance, Prop)) return;
  TPropValue v = Prop.Get(Instance);
  WritePropName(Prop.Name);
  switch (Prop.Kind) {
    case TPropKind::Integer: WriteInteger(typinfo_detail::AsInt(v)); break;
    case TPropKind::Float: WriteFloat(typinfo_detail::AsFloat(v)); break;
    case TPropKind::Boolean: WriteBoolean(typinfo_detail::AsBool(v)); break;
    case TPropKind::String: WriteString(typinfo_detail::AsString(v)); break;
    case TPropKind::Enum: WriteIdent(GetEnumName(Prop, typinfo_detail::AsInt(v))); break;
    case TPropKind::Set: {
      long long bits = typinfo_detail::AsInt(v);
      std::vector<std::string> names;
      for (std::size_t i = 0; i < Prop.EnumNames.size() && i < 63; ++i)
        if (bits & (1LL << i)) names.push_back(Prop.EnumNames[i]);
      WriteSet(names);
      break;
    }
    case TPropKind::Color: {
      std::string ident;
      TColor c = TColor(typinfo_detail::AsInt(v));
      if (ColorToIdent(c, ident)) WriteIdent(ident);
      else WriteInteger(c);
      break;
    }
    case TPropKind::Object:
    case TPropKind::Event: break;
  }
}

void TWriter::WriteProperties(TPersistent* Instance) {
  for (const TPropInfo* p : GetPropList(Instance->ClassType())) WriteProperty(Instance, *p);
  Instance->DefineProperties(this);
}

void TWriter::WriteComponent(TComponent* Component) {
  if (!Component) throw EWriteError("Cannot write a nil component");
  if (!written_.insert(Component).second)
    throw EWriteError(Format("Component %s written twice in one stream",
                             Component->Name().empty() ? Component->ClassName() : Component->Name()));
  ++depth_;
  try {
    WriteStr(Component->ClassName());
    WriteStr(Component->Name());
    WriteProperties(Component);
    WriteListEnd();
    Component->GetChildren([this](TComponent* Child) { WriteComponent(Child); }, root_);
    WriteListEnd();
  } catch (...) {
    --depth_;
    throw;
  }
  if (--depth_ == 0) FlushBuffer();
}
