// Bodies of the fuzz targets on the pictures of the platform's graphics (metafiles,
// bitmaps, icons, cursors, JPEG), shared by the libFuzzer entry points and by the
// test that replays their corpus. They need a running (headless) application.
#pragma once
#include <algorithm>
#include <memory>

#include "fuzz_common.h"
#include "platform/forms.h"
#include "platform/graphics.h"
#include "platform/jpeg.h"
#include "platform/metafile.h"

namespace fuzzbody {

// A small white surface to play pictures onto.
inline std::unique_ptr<TBitmap> Surface() {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(48, 32);
  return b;
}

// Loads the bytes as graphic class G; on success draws it and, when it is small
// enough to be worth it, saves it and loads the result again at the same size (an
// empty metafile frame is written one pixel wide or high).
template <class G>
void LoadDrawResave(const std::uint8_t* data, std::size_t size) {
  G g;
  TMemoryStream in;
  ToStream(in, data, size);
  try {
    g.LoadFromStream(&in);
  } catch (const EInvalidGraphic&) {
    Check(g.Empty());
    return;
  }
  auto s = Surface();
  g.Draw(s->Canvas(), Rect(0, 0, 48, 32));
  if (std::int64_t(g.Width()) * g.Height() > (1 << 20)) return;
  TMemoryStream out;
  g.SaveToStream(&out);
  out.SetPosition(0);
  G back;
  back.LoadFromStream(&out);
  Check(std::max(back.Width(), 1) == std::max(g.Width(), 1) && std::max(back.Height(), 1) == std::max(g.Height(), 1));
}

// Both metafile forms, played back and written again in the form read.
inline void Metafile(const std::uint8_t* data, std::size_t size) { LoadDrawResave<TMetafile>(data, size); }

// The same bytes as a bitmap file, an icon file and a cursor file.
inline void BitmapIconCursor(const std::uint8_t* data, std::size_t size) {
  LoadDrawResave<TBitmap>(data, size);
  LoadDrawResave<TIcon>(data, size);
  if (HCURSOR c = CreateCursorFromData(data, size)) {
    DrawCursor(Surface()->Canvas(), 8, 8, c);
    DestroyCursor(c);
  }
}

inline void Jpeg(const std::uint8_t* data, std::size_t size) { LoadDrawResave<TJPEGImage>(data, size); }

}  // namespace fuzzbody
