// Frames composited by our painter against ImageMagick's -coalesce of the same
// files on the same background.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "gif/phonark_picture.h"
#include "gif_render_util.h"
#include "gui_test.h"
#include "test_temp.h"

using namespace gifgui;
namespace fs = std::filesystem;

namespace {

constexpr TColor Background = 0x604020;  // RGB(0x20, 0x40, 0x60)

bool HaveConvert() { return std::system("convert -version > /dev/null 2>&1") == 0; }

// ImageMagick's coalesced frames flattened on the background, as RGB bytes.
std::vector<std::vector<std::uint8_t>> Coalesce(const fs::path& File, const fs::path& Dir) {
  std::string cmd = "convert '" + File.string() + "' -coalesce -background '#204060' -alpha remove -alpha off " +
                    "-depth 8 'rgb:" + (Dir / "f_%d.rgb").string() + "'";
  if (std::system(cmd.c_str()) != 0) return {};
  std::vector<std::vector<std::uint8_t>> frames;
  for (int i = 0;; ++i) {
    std::ifstream in(Dir / ("f_" + std::to_string(i) + ".rgb"), std::ios::binary);
    if (!in) break;
    frames.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return frames;
}

// Our painter's screen after each frame.
std::vector<std::vector<std::uint8_t>> Paint(const fs::path& File) {
  TGIFImage img;
  img.LoadFromFile(File.string());
  const int w = img.Width(), h = img.Height(), n = img.Images()->Count();
  auto screen = guitest::MakeBitmap(w, h, Background);
  FakeEnv env;
  TGIFPainter p(&img, screen->Canvas(), Rect(0, 0, w, h), GIFDefaultDrawOptions, nullptr, &env);
  std::vector<std::vector<std::uint8_t>> frames;
  p.OnAfterFramePaint = TNotifyEvent([&](TObject*) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        TColor c = screen->Canvas()->Pixels(x, y);
        rgb.insert(rgb.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
      }
    frames.push_back(std::move(rgb));
    if (int(frames.size()) == n) p.Stop();
  });
  p.Execute();
  return frames;
}

// Offset frames with every disposal and transparency, written by our codec.
void WriteDisposalMix(const fs::path& File) {
  TGIFImage img;
  AddGrays(img.GlobalColorMap(), 8);
  img.GlobalColorMap()->SetColors(3, clRed);
  img.GlobalColorMap()->SetColors(4, clLime);
  const TDisposalMethod disposals[] = {dsKeep, dsRestorePrevious, dsRestoreBackground, dsUnspecified,
                                       dsRestorePrevious, dsKeep};
  for (int i = 0; i < 6; ++i) {
    std::vector<int> px(36);
    for (int k = 0; k < 36; ++k) px[std::size_t(k)] = (k + i) % 5 == 0 ? 0 : 3 + (k + i) % 3;
    TGIFSubImage* f = AddFrame(img, i * 2, i % 3 * 3, 6, 6, px);
    auto* g = MakeTransparent(f, 0);
    g->SetDisposal(disposals[i]);
    g->SetDelay(5);
  }
  img.UpdateScreenSize();
  img.SaveToFile(File.string());
}

class Coalesce : public testing::Test {
protected:
  void SetUp() override {
    GIFImageUnitInit();
    dir = fs::path(TestTempDir()) / "coalesce";
    fs::create_directories(dir);
  }
  void TearDown() override {
    fs::remove_all(dir);
    GIFImageUnitDone();
  }
  void Compare(const fs::path& File) {
    auto expected = CoalesceFrames(File);
    ASSERT_FALSE(expected.empty()) << "convert could not read " << File;
    auto ours = Paint(File);
    ASSERT_EQ(ours.size(), expected.size()) << File;
    for (std::size_t i = 0; i < ours.size(); ++i) EXPECT_TRUE(ours[i] == expected[i]) << File << " frame " << i;
  }
  std::vector<std::vector<std::uint8_t>> CoalesceFrames(const fs::path& File) {
    fs::path sub = dir / (File.stem().string() + "_frames");
    fs::create_directories(sub);
    return ::Coalesce(File, sub);
  }
  fs::path dir;
};

TEST_F(Coalesce, PainterComposesFramesLikeImageMagick) {
  if (!HaveConvert()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  fs::path mix = dir / "disposals.gif";
  WriteDisposalMix(mix);
  Compare(mix);

  fs::path asset = dir / "phonark.gif";
  std::ofstream(asset, std::ios::binary)
      .write(reinterpret_cast<const char*>(PhonarkGIFData()), std::streamsize(PhonarkGIFSize()));
  Compare(asset);

  // A real animation from a Debian package: partial frames over transparency.
  const fs::path spinner = "/usr/share/qt6/doc/global/template/images/spinner.gif";
  if (fs::exists(spinner)) Compare(spinner);
  else std::printf("skipped %s: not installed (qt6-base-dev)\n", spinner.c_str());
}

}  // namespace
