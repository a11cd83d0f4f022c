// The metafile file forms without any drawing: records through EMF and WMF and back,
// and the reader never trusting a count or a size.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/classes.h"
#include "platform/metafile_records.h"
#include "platform/rtl.h"

namespace {

mf::TPicture Sample() {
  mf::TPicture p;
  p.Width = 120;
  p.Height = 80;
  auto add = [&](mf::TOp op, std::vector<TPoint> pts) -> mf::TRecord& {
    mf::TRecord r;
    r.Op = op;
    r.Points = std::move(pts);
    r.Pen = {0x0000FF, 2, 0, 4};
    r.Brush = {0x00FF00, 0};
    p.Records.push_back(r);
    return p.Records.back();
  };
  add(mf::TOp::Rectangle, {{5, 5}, {60, 40}});
  add(mf::TOp::PushClipRect, {{0, 0}, {100, 80}});
  add(mf::TOp::Ellipse, {{50, 10}, {110, 70}}).Pen.Mode = 14;  // xor survives as ROP2
  add(mf::TOp::PopClip, {});
  add(mf::TOp::Polyline, {{0, 79}, {30, 50}, {60, 79}});
  add(mf::TOp::Pie, {{10, 40}, {50, 78}, {50, 60}, {30, 40}});
  mf::TRecord& t = add(mf::TOp::Text, {{20, 30}});
  t.Text = "Wave \xE2\x82\xAC\xC3\xA9";  // '€' and 'é' are in the ANSI code page
  t.Font = {"Arial", -12, 1, 900, 0x800000};
  t.TextAlign = 24;
  mf::TRecord& b = add(mf::TOp::Bitmap, {{100, 0}, {104, 2}});
  b.BitmapWidth = 2;
  b.BitmapHeight = 1;
  b.Pixels = {0xFF0000, 0x00FF00};
  return p;
}

std::string Write(const mf::TPicture& p, bool Enhanced) {
  TMemoryStream s;
  if (Enhanced) mf::WriteEMF(p, &s);
  else mf::WriteWMF(p, &s);
  return std::string(reinterpret_cast<const char*>(s.Memory()), std::size_t(s.Size()));
}

mf::TPicture Read(const std::string& bytes, bool& Enhanced) {
  TMemoryStream s;
  s.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
  s.SetPosition(0);
  return mf::ReadMetafile(&s, Enhanced);
}

TEST(MetafileForms, RecordsSurviveBothForms) {
  const mf::TPicture p = Sample();
  for (bool enhanced : {true, false}) {
    bool e = !enhanced;
    const std::string bytes = Write(p, enhanced);
    EXPECT_EQ(bytes.find("Wave \x80\xE9") != std::string::npos, !enhanced);  // UTF-16 in EMF
    const mf::TPicture back = Read(bytes, e);
    EXPECT_EQ(e, enhanced);
    EXPECT_EQ(back.Width, 120);
    EXPECT_EQ(back.Height, 80);
    ASSERT_EQ(back.Records.size(), p.Records.size()) << "enhanced " << enhanced;
    for (std::size_t i = 0; i < p.Records.size(); ++i) {
      const mf::TRecord &a = p.Records[i], &b = back.Records[i];
      EXPECT_EQ(int(a.Op), int(b.Op)) << i;
      EXPECT_EQ(a.Points, b.Points) << i;
    }
    EXPECT_EQ(back.Records[0].Pen.Color, 0x0000FF);
    EXPECT_EQ(back.Records[0].Brush.Color, 0x00FF00);
    EXPECT_EQ(back.Records[2].Pen.Mode, 14);
    const mf::TRecord& t = back.Records[6];
    EXPECT_EQ(t.Text, p.Records[6].Text);
    EXPECT_EQ(t.Font.Name, "Arial");
    EXPECT_EQ(t.Font.Height, -12);
    EXPECT_EQ(t.Font.Orientation, 900);
    EXPECT_EQ(t.Font.Style, 1u);
    EXPECT_EQ(t.Font.Color, 0x800000);
    EXPECT_EQ(t.TextAlign, 24u);
    EXPECT_EQ(back.Records[7].Pixels, (std::vector<std::uint32_t>{0xFF0000, 0x00FF00}));
  }
}

TEST(MetafileForms, TruncatedOrLyingInputIsRefused) {
  const mf::TPicture p = Sample();
  for (bool enhanced : {true, false}) {
    const std::string full = Write(p, enhanced);
    bool e;
    // Every cut short of the end-of-file record is refused, never read past.
    for (std::size_t cut = 0; cut + 1 < full.size(); cut += (cut < 64 ? 1 : 7))
      EXPECT_THROW(Read(full.substr(0, cut), e), EInvalidGraphic) << "cut " << cut << " enhanced " << enhanced;
  }
  // Record sizes and counts beyond the data.
  std::string emf = Write(p, true);
  for (std::size_t at = 108; at + 8 <= emf.size();) {
    std::uint32_t type, size;
    std::memcpy(&type, &emf[at], 4);
    std::memcpy(&size, &emf[at + 4], 4);
    if (type == 81) {  // the bitmap claims to be enormous
      const std::int32_t wide = 1 << 30;
      std::memcpy(&emf[at + 80 + 4], &wide, 4);
      break;
    }
    at += size;
  }
  bool e;
  EXPECT_THROW(Read(emf, e), EInvalidGraphic);
  std::string wmf = Write(p, false);
  const std::uint32_t words = 0x7FFFFFFF;
  std::memcpy(&wmf[22 + 18], &words, 4);  // the first record's size
  EXPECT_THROW(Read(wmf, e), EInvalidGraphic);
  EXPECT_THROW(Read(std::string(200, '\x01'), e), EInvalidGraphic);
}

}  // namespace
