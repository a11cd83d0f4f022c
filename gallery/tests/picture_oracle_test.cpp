// Independent readers of exportdemo's pictures: file, emf2svg-conv and xmllint for the
// enhanced metafile, wmf2svg for the Windows one, identify and PIL for the bitmaps,
// Inkscape and LibreOffice Draw where installed. Each check skips saying why.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "oracle.h"
#include "test_temp.h"

namespace {

using oracle::Have;

class TPictureOracle : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
#ifdef PHONARK_EXPORTDEMO
    dir = TestTempFile("exportdemo");
    made = std::system((std::string(PHONARK_EXPORTDEMO) + " " + dir + " >/dev/null 2>&1").c_str()) == 0;
#endif
  }
  void SetUp() override {
    if (!made) GTEST_SKIP() << "exportdemo was not built with these tests";
  }
  std::string File(const std::string& Name) const { return "'" + dir + "/" + Name + "'"; }
  static inline std::string dir;
  static inline bool made = false;
};

TEST_F(TPictureOracle, MetafilesConvert) {
  if (!Have("file") || !Have("emf2svg-conv") || !Have("xmllint") || !Have("wmf2svg"))
    GTEST_SKIP() << "file, emf2svg-conv (emf2svg), xmllint (libxml2-utils) or wmf2svg (libwmf-bin) missing";
  EXPECT_NE(oracle::Run("file -b " + File("chart.emf")).value_or("").find("Windows Enhanced Metafile"),
            std::string::npos);
  EXPECT_TRUE(oracle::Run("emf2svg-conv -i " + File("chart.emf") + " -o " + File("emf.svg")));
  EXPECT_TRUE(oracle::Run("xmllint --noout " + File("emf.svg")));
  // Its SVG is not checked: wmf2svg writes the title's "&" and "<" unescaped.
  EXPECT_TRUE(oracle::Run("wmf2svg -o " + File("wmf.svg") + " " + File("chart.wmf")));
}

// identify's width, height, depth per channel and class.
TEST_F(TPictureOracle, IdentifyReadsEveryBitmap) {
  if (!Have("identify")) GTEST_SKIP() << "identify (imagemagick) missing";
  const std::pair<const char*, const char*> cases[] = {
      {"0", "8 DirectClass sRGB"},   {"24", "8 DirectClass sRGB"},  {"32", "8 DirectClass sRGB"},
      {"16", "8 DirectClass sRGB"},  {"1", "1 PseudoClass Gray"},   {"mono", "1 PseudoClass Gray"},
      {"8", "8 PseudoClass sRGB"},   {"4", "4 PseudoClass sRGB"},   {"300dpi", "8 DirectClass sRGB"}};
  for (auto [name, want] : cases) {
    const auto got = oracle::Run("identify -format '%w %h %z %r' " + File("chart_" + std::string(name) + ".bmp"));
    EXPECT_EQ(got.value_or("").rfind("640 400 " + std::string(want), 0), 0u) << name;
  }
  EXPECT_NEAR(std::stod(oracle::Run("identify -units PixelsPerInch -format '%x' " + File("chart_300dpi.bmp"))
                            .value_or("0")),
              300, 0.01);
}

TEST_F(TPictureOracle, PilReadsModesSizesAndMasks) {
  if (!oracle::HavePython("PIL")) GTEST_SKIP() << "PIL (python3-pil) missing";
  const std::string script = oracle::ScriptFile("pil_bmp.py", R"(import sys
from PIL import Image
d = sys.argv[1]
for n in ["0", "1", "4", "8", "16", "24", "32", "mono", "300dpi"]:
    im = Image.open(d + "/chart_" + n + ".bmp")
    print(n, im.mode, im.size[0], im.size[1], round(im.info.get("dpi", (0, 0))[0], 4))
raw = open(d + "/chart_mono.bmp", "rb").read()
print("entries", int.from_bytes(raw[46:50], "little"), raw[54:62].hex())
raw = open(d + "/chart_16.bmp", "rb").read()
print("masks", " ".join("%X" % int.from_bytes(raw[54 + 4 * i:58 + 4 * i], "little") for i in range(3)))
a, b = Image.open(d + "/chart_24.bmp").convert("RGB"), Image.open(d + "/chart_32.bmp").convert("RGB")
print("same", a.tobytes() == b.tobytes())
)");
  const std::string out = oracle::Run("/usr/bin/python3 " + script + " '" + dir + "'").value_or("(failed)");
  for (const char* want : {"1 1 640 400", "8 P 640 400", "24 RGB 640 400", "300dpi RGB 640 400 299.999",
                           "entries 2 00000000ffffff00", "masks F800 7E0 1F", "same True"})
    EXPECT_NE(out.find(want), std::string::npos) << want << " in\n" << out;
}

TEST_F(TPictureOracle, InkscapeAndDrawRenderTheMetafiles) {
  if (!Have("inkscape")) GTEST_SKIP() << "inkscape missing (scripts/install-deps.sh test installs it)";
  for (const char* m : {"chart.emf", "chart.wmf"})
    EXPECT_TRUE(oracle::Run("inkscape --export-type=png --export-filename=" + File(std::string(m) + ".png") + " " +
                            File(m)) &&
                std::filesystem::exists(dir + "/" + m + ".png"))
        << m;
  if (!Have("soffice")) GTEST_SKIP() << "LibreOffice Draw missing (scripts/install-office-oracle.sh)";
  EXPECT_TRUE(oracle::Run("cd '" + dir + "' && soffice --headless --convert-to pdf chart.emf"));
  EXPECT_GT(std::filesystem::file_size(dir + "/chart.pdf"), 1000u);
}

}  // namespace
