// The main window's picture: each frame is one molecule, two atoms joined by their
// spring, with nothing apart from it, and the molecule stays inside the picture.
#include <gtest/gtest.h>

#include <vector>

#include "gif/gifimage.h"
#include "gif/phonark_picture.h"

namespace {

// Pixels drawn (not transparent) that touch a drawn pixel, diagonals included,
// counted from the first drawn pixel; and all drawn pixels.
std::pair<int, int> ConnectedAndDrawn(TGIFSubImage* f, int transparent) {
  const int w = f->Width(), h = f->Height();
  std::vector<int> seen(size_t(w * h), 0), stack;
  int drawn = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (f->Pixels(x, y) != transparent && drawn++ == 0) stack.push_back(y * w + x);
  int connected = 0;
  while (!stack.empty()) {
    const int p = stack.back();
    stack.pop_back();
    if (seen[size_t(p)]) continue;
    seen[size_t(p)] = 1;
    ++connected;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int x = p % w + dx, y = p / w + dy;
        if (x >= 0 && y >= 0 && x < w && y < h && !seen[size_t(y * w + x)] && f->Pixels(x, y) != transparent)
          stack.push_back(y * w + x);
      }
  }
  return {connected, drawn};
}

TEST(PhonarkPicture, EachFrameIsOneWholeMolecule) {
  TMemoryStream s;
  s.WriteBuffer(PhonarkGIFData(), std::int64_t(PhonarkGIFSize()));
  s.SetPosition(0);
  TGIFImage gif;
  gif.LoadFromStream(&s);
  ASSERT_EQ(gif.Images()->Count(), 4);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    TGIFSubImage* f = gif.Images()->SubImages(i);
    const auto [connected, drawn] = ConnectedAndDrawn(f, f->GraphicControlExtension()->TransparentColorIndex());
    EXPECT_GT(drawn, 150);
    EXPECT_EQ(connected, drawn);  // no stray mark apart from the molecule
    for (int y = 0; y < f->Height(); ++y) {  // nothing cut at the edges
      EXPECT_EQ(f->Pixels(0, y), 0);
      EXPECT_EQ(f->Pixels(f->Width() - 1, y), 0);
    }
  }
}

}  // namespace
