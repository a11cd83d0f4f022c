// The component writer and the text form, checked against Free Pascal's class library
// as an independent reader, plus the refusals on bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "pascal_oracle.h"
#include "platform/collections.h"
#include "platform/filer.h"
#include "platform/typinfo.h"

namespace {

class TFilerItem : public TCollectionItem {
  DECLARE_CLASS(TFilerItem, TCollectionItem)
public:
  int Size() const { return size_; }
  void SetSize(int v) { size_ = v; }
  static void DefineProperties(TPropertyTable& t) { t.Int("Size", &TFilerItem::Size, &TFilerItem::SetSize).Default(0LL); }

private:
  int size_ = 0;
};
IMPLEMENT_CLASS_PROPS(TFilerItem, TCollectionItem)

class TFilerFont : public TPersistent {
  DECLARE_CLASS(TFilerFont, TPersistent)
public:
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  std::string Name() const { return name_; }
  void SetName(const std::string& v) { name_ = v; }
  static void DefineProperties(TPropertyTable& t) {
    t.Color("Color", &TFilerFont::Color, &TFilerFont::SetColor).Default((long long)clBlack);
    t.Str("Name", &TFilerFont::Name, &TFilerFont::SetName).Default(std::string("Arial"));
  }

private:
  TColor color_ = clBlack;
  std::string name_ = "Arial";
};
IMPLEMENT_CLASS_PROPS(TFilerFont, TPersistent)

// One property of every kind, a sub-object, a collection, a string list, a reference
// to another component and data the class writes for itself.
class TFilerProbe : public TComponent {
  DECLARE_CLASS(TFilerProbe, TComponent)
public:
  explicit TFilerProbe(TComponent* o) : TComponent(o), items_(TFilerItem::StaticClass()) {}
  long long Count() const { return count_; }
  void SetCount(long long v) { count_ = v; }
  long double Ratio() const { return ratio_; }
  void SetRatio(long double v) { ratio_ = v; }
  bool Active() const { return active_; }
  void SetActive(bool v) { active_ = v; }
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }
  int Style() const { return style_; }
  void SetStyle(int v) { style_ = v; }
  long long Options() const { return options_; }
  void SetOptions(long long v) { options_ = v; }
  TFilerFont* Font() const { return const_cast<TFilerFont*>(&font_); }
  TCollection* Items() const { return const_cast<TCollection*>(static_cast<const TCollection*>(&items_)); }
  TStringList* Lines() const { return const_cast<TStringList*>(&lines_); }
  TComponent* Partner() const { return partner_; }
  TNotifyEvent OnClick;
  std::vector<std::uint8_t> Blob;
  long long AxisID = -1;
  TFilerProbe* Child = nullptr;  // written after this one when set

  static void DefineProperties(TPropertyTable& t) {
    t.Int("Count", &TFilerProbe::Count, &TFilerProbe::SetCount).Default(0LL);
    t.Float("Ratio", &TFilerProbe::Ratio, &TFilerProbe::SetRatio).Default((long double)0);
    t.Bool("Active", &TFilerProbe::Active, &TFilerProbe::SetActive).Default(true);
    t.Str("Caption", &TFilerProbe::Caption, &TFilerProbe::SetCaption).Default(std::string());
    t.Enum("Style", &TFilerProbe::Style, &TFilerProbe::SetStyle, {"stPlain", "stBold"}).Default(0LL);
    t.Set("Options", &TFilerProbe::Options, &TFilerProbe::SetOptions, {"opA", "opB", "opC"}).Default(0LL);
    t.Object("Font", &TFilerProbe::Font);
    t.Object("Items", &TFilerProbe::Items);
    t.Object("Lines", &TFilerProbe::Lines);
    t.Object("Partner", &TFilerProbe::Partner);
    t.Event("OnClick", &TFilerProbe::OnClick);
  }
  void DefineProperties(TFiler* Filer) override {
    TComponent::DefineProperties(Filer);
    Filer->DefineProperty("AxisID", {}, [this](TWriter* W) { W->WriteInteger(AxisID); }, AxisID >= 0);
    Filer->DefineBinaryProperty(
        "Blob", {}, [this](TStream* S) { S->WriteBuffer(Blob.data(), std::int64_t(Blob.size())); }, !Blob.empty());
  }
  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent*) override {
    if (Child) Proc(Child);
  }
  TComponent* partner_ = nullptr;

private:
  long long count_ = 0;
  long double ratio_ = 0;
  bool active_ = true;
  std::string caption_;
  int style_ = 0;
  long long options_ = 0;
  TFilerFont font_;
  TCollection items_;
  TStringList lines_;
};
IMPLEMENT_CLASS_PROPS(TFilerProbe, TComponent)

std::string Bytes(TComponent* Root, TComponent* Component) {
  TMemoryStream out;
  {
    TWriter w(&out, 16);  // a small buffer, so flushing happens on the way
    w.SetRoot(Root);
    w.WriteSignature();
    w.WriteComponent(Component);
  }
  return std::string(out.Bytes().begin(), out.Bytes().end());
}

std::string Text(const std::string& Binary) {
  TMemoryStream in, out;
  in.WriteBuffer(Binary.data(), std::int64_t(Binary.size()));
  in.SetPosition(0);
  ObjectBinaryToText(&in, &out);
  return std::string(out.Bytes().begin(), out.Bytes().end());
}

std::string Hex(const std::string& s) {
  static const char d[] = "0123456789abcdef";
  std::string h;
  for (unsigned char c : s) h += std::string{d[c >> 4], d[c & 15], ' '};
  return h;
}

// The bytes after the signature, the class name and the component name.
std::string Props(const std::string& Binary, const std::string& Name = "P") {
  return Binary.substr(4 + 1 + std::strlen("TFilerProbe") + 1 + Name.size());
}

struct Owner {
  TComponent root{nullptr};
  TFilerProbe* p;
  TFilerProbe* other;
  Owner() {
    root.SetName("Form1");
    p = new TFilerProbe(&root);
    p->SetName("P");
    other = new TFilerProbe(&root);
    other->SetName("Other");
  }
};

}  // namespace

TEST(ComponentWriter, EncodesEachValueInTheSmallestForm) {
  Owner o;
  auto propsOf = [&](auto set) {
    TFilerProbe p(nullptr);
    p.SetName("P");
    set(p);
    return Hex(Props(Bytes(nullptr, &p)));
  };
  // Defaults are not written; a collection is, even empty ("Items = <>"), as the
  // class library does. Then the ends of the property and child lists.
  const std::string tail = "05 49 74 65 6d 73 0e 00 00 00 ";
  EXPECT_EQ(propsOf([](TFilerProbe&) {}), tail);
  // Integer tags by range, little-endian.
  EXPECT_EQ(propsOf([](TFilerProbe& p) { p.SetCount(-128); }), "05 43 6f 75 6e 74 02 80 " + tail);
  EXPECT_EQ(propsOf([](TFilerProbe& p) { p.SetCount(128); }), "05 43 6f 75 6e 74 03 80 00 " + tail);
  EXPECT_EQ(propsOf([](TFilerProbe& p) { p.SetCount(-32769); }), "05 43 6f 75 6e 74 04 ff 7f ff ff " + tail);
  EXPECT_EQ(propsOf([](TFilerProbe& p) { p.SetCount(1LL << 31); }),
            "05 43 6f 75 6e 74 13 00 00 00 80 00 00 00 00 " + tail);
  // Extended 1.5: 64-bit mantissa with the integer bit, exponent 0x3FFF.
  EXPECT_EQ(propsOf([](TFilerProbe& p) { p.SetRatio(1.5L); }),
            "05 52 61 74 69 6f 05 00 00 00 00 00 00 00 c0 ff 3f " + tail);
  EXPECT_EQ(propsOf([](TFilerProbe& p) { p.SetActive(false); }), "06 41 63 74 69 76 65 08 " + tail);
  // ASCII as short string; any other character makes the string wide (UTF-16).
  EXPECT_EQ(propsOf([](TFilerProbe& p) { p.SetCaption("ab"); }), "07 43 61 70 74 69 6f 6e 06 02 61 62 " + tail);
  EXPECT_EQ(propsOf([](TFilerProbe& p) { p.SetCaption("\xC3\xA9\xF0\x9F\x98\x80"); }),
            "07 43 61 70 74 69 6f 6e 12 03 00 00 00 e9 00 3d d8 00 de " + tail);
  EXPECT_EQ(propsOf([](TFilerProbe& p) { p.SetCaption(std::string(256, 'x')); }).substr(0, 39),
            "07 43 61 70 74 69 6f 6e 0c 00 01 00 00 ");
  EXPECT_EQ(propsOf([](TFilerProbe& p) { p.SetOptions(5); }),
            "07 4f 70 74 69 6f 6e 73 0b 03 6f 70 41 03 6f 70 43 00 " + tail);
  // A sub-object's stored properties under a dotted name; colours by name when they have one.
  EXPECT_EQ(propsOf([](TFilerProbe& p) { p.Font()->SetColor(clRed); }),
            "0a 46 6f 6e 74 2e 43 6f 6c 6f 72 07 05 63 6c 52 65 64 " + tail);
  EXPECT_EQ(propsOf([](TFilerProbe& p) { p.Font()->SetColor(0x123456); }),
            "0a 46 6f 6e 74 2e 43 6f 6c 6f 72 04 56 34 12 00 " + tail);
}

TEST(ComponentWriter, ReferencesChildrenAndDefinedDataAsAnIndependentReaderSeesThem) {
  SKIP_WITHOUT_FREE_PASCAL();
  Owner o;
  TFilerProbe* p = o.p;
  p->SetCount(70000);
  p->SetRatio(0.1L);
  p->SetActive(false);
  p->SetCaption("it's a\ttab, caf\xC3\xA9 \xE2\x82\xAC");
  p->SetStyle(1);
  p->SetOptions(3);
  p->Font()->SetName(std::string(300, 'n'));
  p->Font()->SetColor(clBtnFace);
  static_cast<TFilerItem*>(p->Items()->Add())->SetSize(-3);
  p->Items()->Add();
  p->Lines()->Add("first");
  p->Lines()->Add("");
  p->partner_ = o.other;
  p->OnClick.MethodName = "Form1Click";
  p->AxisID = 2;
  for (int i = 0; i < 40; ++i) p->Blob.push_back(std::uint8_t(i * 7));
  TFilerProbe child(&o.root);
  child.SetName("Kid");
  child.SetRatio(-1e300L);
  child.partner_ = &o.root;  // the root itself is "Owner"
  p->Child = &child;

  const std::string binary = Bytes(&o.root, p);
  const std::string text = Text(binary);
  auto theirs = oracle::PascalConvert(binary, false);
  ASSERT_TRUE(theirs);
  EXPECT_EQ(text, *theirs);
  auto back = oracle::PascalConvert(text, true);
  ASSERT_TRUE(back);
  EXPECT_EQ(Hex(*back), Hex(binary));

  for (const char* line : {"  Partner = Other\n", "  OnClick = Form1Click\n", "  AxisID = 2\n",
                           "  Lines.Strings = (\n", "  object Kid: TFilerProbe\n", "    Partner = Owner\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << text;
}

TEST(ComponentWriter, FloatsReadBackExactlyThroughTheText) {
  SKIP_WITHOUT_FREE_PASCAL();
  const long double values[] = {0.0L, -0.0L, 1.0L / 3, 0.1L, 2.5e-300L, -123456789.125L, 1e4000L, 0.3,
                                (long double)(1.0 / 3), 6.02214076e23L};
  for (long double v : values) {
    TFilerProbe p(nullptr);
    p.SetName("P");
    p.SetRatio(v == 0 ? 1 : v);
    const std::string binary = Bytes(nullptr, &p);
    auto back = oracle::PascalConvert(Text(binary), true);
    ASSERT_TRUE(back);
    EXPECT_EQ(Hex(*back), Hex(binary)) << Text(binary);
    EXPECT_EQ(Text(binary), *oracle::PascalConvert(binary, false));
  }
}

TEST(ComponentWriter, RefusesAComponentTwiceAndNamesUnnamedOnesNowhere) {
  Owner o;
  o.p->Child = o.other;
  o.p->partner_ = new TFilerProbe(&o.root);  // no name: no reference can be written
  TMemoryStream out;
  TWriter w(&out, 4096);
  w.SetRoot(&o.root);
  w.WriteSignature();
  w.WriteComponent(o.p);
  EXPECT_EQ(Text(std::string(out.Bytes().begin(), out.Bytes().end())).find("Partner"), std::string::npos);
  EXPECT_THROW(w.WriteComponent(o.other), EWriteError);
  EXPECT_THROW(w.WriteComponent(o.p), EWriteError);
  // A child that writes its parent again would never end.
  o.other->Child = o.p;
  TMemoryStream out2;
  TWriter w2(&out2, 4096);
  EXPECT_THROW(w2.WriteComponent(o.p), EWriteError);
}

TEST(ObjectBinaryToText, BadStreamsRaiseAndLeaveTheTargetAlone) {
  Owner o;
  o.p->SetCaption("caption");
  o.p->Items()->Add();
  o.p->Lines()->Add("x");
  o.p->Blob = {1, 2, 3};
  o.p->Child = o.other;
  const std::string binary = Bytes(&o.root, o.p);
  ASSERT_NO_THROW(Text(binary));

  auto convert = [](const std::string& in) {
    TMemoryStream src, dst;
    dst.WriteBuffer("keep", 4);
    src.WriteBuffer(in.data(), std::int64_t(in.size()));
    src.SetPosition(0);
    EXPECT_THROW(ObjectBinaryToText(&src, &dst), EReadError) << Hex(in);
    EXPECT_EQ(std::string(dst.Bytes().begin(), dst.Bytes().end()), "keep");
    EXPECT_EQ(src.Position(), 0);
  };
  for (std::size_t n = 0; n < binary.size(); ++n) convert(binary.substr(0, n));
  convert("GIF89a\x01\x00\x01\x00");
  convert("TPF0\x05TPanel\x02P1\x04Left\x63\x00\x00\x00");  // an unknown value tag
  convert("TPF0\x00\x00");                                  // no class name
  std::string deep = "TPF0\x01T\x01P\x01L";
  deep += std::string(100000, char(vaList));
  convert(deep);  // nesting without end is refused, not followed down the stack
  convert("TPF0\x01T\x01P\x01S\x12\xff\xff\xff\x7f");  // a wide string longer than the stream
}

TEST(ObjectBinaryToText, LeavesTheInputAfterTheObject) {
  TFilerProbe p(nullptr);
  p.SetName("P");
  std::string binary = Bytes(nullptr, &p);
  TMemoryStream src, dst;
  src.WriteBuffer(binary.data(), std::int64_t(binary.size()));
  src.WriteBuffer("tail", 4);
  src.SetPosition(0);
  ObjectBinaryToText(&src, &dst);
  EXPECT_EQ(src.Position(), std::int64_t(binary.size()));
  EXPECT_EQ(std::string(dst.Bytes().begin(), dst.Bytes().end()), "object P: TFilerProbe\n  Items = <>\nend\n");
}
