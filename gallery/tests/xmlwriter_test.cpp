// The text form of a component stream as XML, and the small XML helpers.
#include <gtest/gtest.h>

#include "gallery/xmlwriter.h"
#include "gallery_test_util.h"
#include "platform/controls.h"
#include "platform/testing.h"
#include "test_temp.h"

namespace {

std::string ToXML(const std::string& Text, bool Header = false, const std::string& Before = "") {
  TMemoryStream s;
  std::string all = Before + Text;
  s.WriteBuffer(all.data(), std::int64_t(all.size()));
  s.SetPosition(std::int64_t(Before.size()));
  ComponentToXML(&s, Header);
  return gallerytest::Str(s);
}

}  // namespace

TEST(ComponentToXML, ExamplesOfTheTextForm) {
  EXPECT_EQ(ToXML("object Chart1: TChart\n  Color = clWhite\nend\n"),
            "<TChart Name=\"Chart1\">\r\n  <Color value=\"clWhite\"/>\r\n</TChart>\r\n");
  EXPECT_EQ(ToXML("object Series1: TLineSeries\nend\n"), "<TLineSeries Name=\"Series1\"/>\r\n");
  EXPECT_EQ(ToXML("object Chart1: TChart\n  Title.Font.Color = clRed\n  Title.Font.Name = 'Arial'\n"
                  "  Title.Visible = False\n  Width = 3\nend\n"),
            "<TChart Name=\"Chart1\">\r\n  <Title>\r\n    <Font>\r\n      <Color value=\"clRed\"/>\r\n"
            "      <Name value=\"'Arial'\"/>\r\n    </Font>\r\n    <Visible value=\"False\"/>\r\n"
            "  </Title>\r\n  <Width value=\"3\"/>\r\n</TChart>\r\n");
  // Free Pascal's form puts the closing bracket on a line of its own; the other common form puts it on the last item.
  const std::string list = "<TChart Name=\"C\">\r\n  <Text>\r\n    <Strings>\r\n"
                           "      <String value=\"'one'\"/>\r\n      <String value=\"'two'\"/>\r\n"
                           "    </Strings>\r\n  </Text>\r\n</TChart>\r\n";
  EXPECT_EQ(ToXML("object C: TChart\n  Text.Strings = (\n    'one'\n    'two')\nend\n"), list);
  EXPECT_EQ(ToXML("object C: TChart\n  Text.Strings = (\n    'one'\n    'two'\n  )\nend\n"), list);
  // An object without a name, a header, and blank lines.
  EXPECT_EQ(ToXML("\nobject TChart\n\n  Tag = 1\nend\n", true),
            XMLHeader(XMLEncodingName()) + "\r\n<TChart>\r\n  <Tag value=\"1\"/>\r\n</TChart>\r\n");
}

TEST(ComponentToXML, CollectionsAndBinaryData) {
  EXPECT_EQ(ToXML("object C: TChart\n  Items = <\n    item\n      A = 1\n    end\n    item\n      B = 'x'\n"
                  "    end>\n  Empty = <>\n  Data = {\n    0A0B\n    0C}\nend\n"),
            "<TChart Name=\"C\">\r\n  <Items>\r\n    <item>\r\n      <A value=\"1\"/>\r\n    </item>\r\n"
            "    <item>\r\n      <B value=\"'x'\"/>\r\n    </item>\r\n  </Items>\r\n"
            "  <Empty value=\"\"/>\r\n  <Data>\r\n    <String value=\"0A0B\"/>\r\n"
            "    <String value=\"0C\"/>\r\n  </Data>\r\n</TChart>\r\n");
}

TEST(ComponentToXML, WellFormedWhereTheTextWouldBreakIt) {
  // Values are escaped; a property named like the word object is a property; a child
  // object closes the parent's open dotted groups first.
  EXPECT_EQ(ToXML("object C: TChart\n  Title.Text = 'a<b & \"c\"'\n  ObjectName = 2\n"
                  "  object S: TLineSeries\n    Tag = 1\n  end\nend\n"),
            "<TChart Name=\"C\">\r\n  <Title>\r\n    <Text value=\"'a&lt;b &amp; &quot;c&quot;'\"/>\r\n"
            "  </Title>\r\n  <ObjectName value=\"2\"/>\r\n  <TLineSeries Name=\"S\">\r\n"
            "    <Tag value=\"1\"/>\r\n  </TLineSeries>\r\n</TChart>\r\n");
}

TEST(ComponentToXML, ReadsFromThePositionAndLeavesNothingBehind) {
  const std::string old(500, 'z');
  const std::string xml = ToXML("object C: TChart\nend\n", false, old);
  EXPECT_EQ(xml, "<TChart Name=\"C\"/>\r\n");
}

TEST(XMLHelpers, HeaderEncodingEscapingAndStack) {
  EXPECT_EQ(XMLHeader(""), "<?xml version=\"1.0\"?>");
  EXPECT_EQ(XMLHeader("UTF-8"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  setenv("LC_ALL", "ja_JP.UTF-8", 1);
  EXPECT_EQ(XMLEncodingName(), "shift_jis");
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  EXPECT_EQ(XMLEncodingName(), "ISO-8859-1");
  unsetenv("LC_ALL");
  EXPECT_EQ(XMLEscape("a\rb\x06" "c\td\n<&>\"'"), "a&#13;b c\td\n&lt;&amp;&gt;&quot;'");

  TStringsStack st;
  EXPECT_EQ(st.Pop(), "");
  EXPECT_EQ(st.Push("a"), 0);
  EXPECT_EQ(st.Push("b"), 1);
  EXPECT_EQ(st.Pop(), "b");
  EXPECT_EQ(st.Pop(), "a");
  EXPECT_EQ(st.Count(), 0);
}

TEST(XMLHelpers, GotoURLOpensAndFreeAllControlsEmptiesTheParent) {
  gallerytest::EnsureUnits();
  ClearRecordedShellCalls();
  const std::string file = TestTempFile("open me.txt");
  TStringList().SaveToFile(file);
  GotoURL(0, file);
  ASSERT_EQ(RecordedShellCalls().size(), 1u);
  EXPECT_EQ(RecordedShellCalls()[0], "open " + file);

  TForm form(nullptr);
  for (int i = 0; i < 3; ++i) {
    auto* p = new TPanel(&form);
    p->SetParent(&form);
  }
  FreeAllControls(&form);
  EXPECT_EQ(form.ControlCount(), 0);
}
