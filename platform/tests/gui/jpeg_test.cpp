// JPEG pictures against the reference decoder (djpeg) and PIL.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>

#include "gui_test.h"
#include "oracle.h"
#include "platform/jpeg.h"
#include "test_temp.h"

namespace {

bool Have(const char* Tool) { return std::system((std::string("command -v ") + Tool + " >/dev/null 2>&1").c_str()) == 0; }

void WriteFile(const std::string& Path, const std::string& Data) { std::ofstream(Path, std::ios::binary) << Data; }

// A photo-like picture as a PPM file.
std::string PhotoPPM(const std::string& Name, int W, int H, unsigned Seed) {
  std::mt19937 rng(Seed);
  std::string data = "P6\n" + std::to_string(W) + " " + std::to_string(H) + "\n255\n";
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      data += char((x * 255 / W + int(rng() % 20)) & 255);
      data += char(((x / 9 + y / 7) % 2 ? 220 : 30) + int(rng() % 8));
      data += char((y * 255 / H) ^ (x * 3 & 31));
    }
  const std::string path = TestTempFile(Name);
  WriteFile(path, data);
  return path;
}

// Pixels of a binary PPM (P6) or PGM (P5) as 0x00BBGGRR colours.
std::vector<TColor> ReadNetpbm(const std::string& Data, int& W, int& H) {
  std::size_t pos = 0;
  auto token = [&] {
    while (pos < Data.size() && std::isspace(static_cast<unsigned char>(Data[pos]))) ++pos;
    std::size_t s = pos;
    while (pos < Data.size() && !std::isspace(static_cast<unsigned char>(Data[pos]))) ++pos;
    return Data.substr(s, pos - s);
  };
  const std::string magic = token();
  W = std::stoi(token());
  H = std::stoi(token());
  token();
  ++pos;
  const bool grey = magic == "P5";
  std::vector<TColor> out;
  for (int i = 0; i < W * H; ++i) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(Data.data() + pos + i * (grey ? 1 : 3));
    out.push_back(grey ? RGB(p[0], p[0], p[0]) : RGB(p[0], p[1], p[2]));
  }
  return out;
}

int Differences(TJPEGImage& J, const std::vector<TColor>& Ref) {
  int n = 0;
  for (int y = 0; y < J.Height(); ++y)
    for (int x = 0; x < J.Width(); ++x) n += J.Bitmap()->Canvas()->Pixels(x, y) != Ref[std::size_t(y) * J.Width() + x];
  return n;
}

}  // namespace

TEST(JPEG, DecodesToTheSamePixelsAsDjpeg) {
  if (!Have("cjpeg") || !Have("djpeg")) GTEST_SKIP() << "libjpeg-turbo-progs is not installed";
  const std::string ppm = PhotoPPM("jpeg_src.ppm", 97, 61, 3);
  const char* variants[] = {"-quality 90", "-quality 40 -sample 2x2", "-progressive", "-grayscale",
                            "-quality 75 -sample 1x1 -restart 2", "-optimize -dct float"};
  for (const char* v : variants) {
    const std::string jpg = TestTempFile("jpeg_case.jpg");
    ASSERT_EQ(std::system(("cjpeg " + std::string(v) + " -outfile " + jpg + " " + ppm).c_str()), 0) << v;
    auto ref = oracle::Run("djpeg -pnm " + jpg);
    ASSERT_TRUE(ref) << v;
    int w, h;
    const auto pixels = ReadNetpbm(*ref, w, h);
    TJPEGImage j;
    j.LoadFromFile(jpg);
    ASSERT_EQ(j.Width(), w) << v;
    ASSERT_EQ(j.Height(), h) << v;
    EXPECT_EQ(Differences(j, pixels), 0) << v;
  }
}

TEST(JPEG, OurSavesDecodeInDjpegAndPIL) {
  auto b = guitest::MakeBitmap(64, 40, clWhite);
  b->Canvas()->Brush()->SetColor(RGB(200, 30, 40));
  b->Canvas()->Ellipse(5, 5, 50, 35);
  TJPEGImage j;
  j.Assign(b.get());
  j.SetCompressionQuality(95);
  const std::string path = TestTempFile("jpeg_ours.jpg");
  j.SaveToFile(path);

  TJPEGImage back;
  back.LoadFromFile(path);
  ASSERT_EQ(back.Width(), 64);
  const TColor c = back.Bitmap()->Canvas()->Pixels(27, 20);
  EXPECT_NEAR(GetRValue(c), 200, 6);
  EXPECT_NEAR(GetGValue(c), 30, 6);

  if (Have("djpeg")) {
    auto ref = oracle::Run("djpeg -pnm " + path);
    ASSERT_TRUE(ref) << "djpeg refused our file";
    int w, h;
    EXPECT_EQ(Differences(back, ReadNetpbm(*ref, w, h)), 0);
  }
  if (oracle::HavePython("PIL")) {
    auto out = oracle::Run("/usr/bin/python3 -c \"from PIL import Image; im = Image.open('" + path +
                           "'); im.load(); print(im.format, im.size[0], im.size[1], im.getpixel((27, 20)))\"");
    ASSERT_TRUE(out) << "PIL refused our file";
    EXPECT_EQ(out->substr(0, 11), "JPEG 64 40 ");
  }
}

TEST(JPEG, CorruptTruncatedAndImpossibleFilesRaiseAndKeepThePicture) {
  auto b = guitest::MakeBitmap(40, 30, clBlue);
  TJPEGImage good;
  good.Assign(b.get());
  TMemoryStream s;
  good.SaveToStream(&s);
  const std::string bytes(reinterpret_cast<const char*>(s.Memory()), std::size_t(s.Size()));

  auto load = [](TJPEGImage& J, const std::string& Data) {
    TMemoryStream m;
    m.WriteBuffer(Data.data(), std::int64_t(Data.size()));
    m.SetPosition(0);
    J.LoadFromStream(&m);
  };
  TJPEGImage j;
  load(j, bytes);
  ASSERT_EQ(j.Width(), 40);
  const TColor before = j.Bitmap()->Canvas()->Pixels(3, 3);
  std::string forged = bytes;  // the frame header claims 65000 x 65000
  const std::size_t sof = forged.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  forged[sof + 5] = forged[sof + 7] = char(0xFD);
  forged[sof + 6] = forged[sof + 8] = char(0xE8);
  for (const std::string& bad : {bytes.substr(0, bytes.size() / 2), std::string("not a jpeg at all"),
                                 bytes.substr(0, 4), forged, std::string()}) {
    EXPECT_THROW(load(j, bad), EInvalidGraphic) << bad.size();
    EXPECT_EQ(j.Width(), 40) << "left as it was";
    EXPECT_EQ(j.Bitmap()->Canvas()->Pixels(3, 3), before);
  }
  try {
    load(j, forged);
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(e.Message.find("too large"), std::string::npos) << e.Message;
  }
}
