// gifdump: decodes a GIF and prints what each frame holds, or re-encodes it.
//   gifdump [--pixels|--rgb] FILE...   screen line, then one line per frame, and
//                                      with --pixels a line of hex indexes, with
//                                      --rgb a line of hex colours (rrggbb); with
//                                      several files each starts with "file NAME"
//   gifdump --encode lzw|rle IN OUT    loads IN and saves it to OUT
#include <cstdio>
#include <cstring>
#include <string>

#include "gif/gifimage.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: gifdump [--pixels|--rgb] FILE...\n       gifdump --encode lzw|rle IN OUT\n");
  return 2;
}

enum class Show { Fields, Pixels, Rgb };

void Dump(TGIFImage& img, Show show) {
  int loops = -1;
  for (int i = 0; i < img.Images()->Count(); ++i) {
    TGIFExtensionList* ext = img.Images()->SubImages(i)->Extensions();
    for (int j = 0; j < ext->Count() && loops < 0; ++j)
      if (auto* l = dynamic_cast<TGIFAppExtNSLoop*>(ext->Extensions(j))) loops = l->Loops();
  }
  std::printf("screen %d %d global %d background %d aspect %d loops %d frames %d\n", img.Width(),
              img.Height(), img.GlobalColorMap()->Count(), img.Header()->BackgroundColorIndex(),
              img.Header()->AspectRatio(), loops, img.Images()->Count());
  static const char hex[] = "0123456789abcdef";
  for (int i = 0; i < img.Images()->Count(); ++i) {
    TGIFSubImage* f = img.Images()->SubImages(i);
    auto* gce = f->GraphicControlExtension();
    std::printf("frame %d %d %d %d %d interlaced %d local %d disposal %d delay %d transparent %d\n", i,
                f->Left(), f->Top(), f->Width(), f->Height(), f->Interlaced() ? 1 : 0,
                f->ColorMap()->Count(), gce ? int(gce->Disposal()) : -1, gce ? gce->Delay() : -1,
                f->TransparentIndex());
    if (show == Show::Fields) continue;
    std::string line = show == Show::Rgb ? "rgb " : "pixels ";
    const std::uint8_t* p = f->Data();
    TGIFColorMap* map = f->ActiveColorMap();
    auto put = [&](int v) {
      line += hex[v >> 4];
      line += hex[v & 15];
    };
    for (std::int64_t k = 0; p && k < f->DataSize(); ++k) {
      if (show == Show::Pixels) {
        put(p[k]);
      } else {
        TGIFColor c = p[k] < map->Count() ? map->Data(p[k]) : TGIFColor{};
        put(c.Red);
        put(c.Green);
        put(c.Blue);
      }
    }
    std::printf("%s\n", line.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  TGIFImage img;
  img.OnWarning = [](TObject*, TGIFSeverity, const std::string& msg) {
    std::fprintf(stderr, "warning: %s\n", msg.c_str());
  };
  if (argc == 5 && std::strcmp(argv[1], "--encode") == 0) {
    const bool rle = std::strcmp(argv[2], "rle") == 0;
    if (!rle && std::strcmp(argv[2], "lzw") != 0) return Usage();
    try {
      img.LoadFromFile(argv[3]);
      img.SetCompression(rle ? gcRLE : gcLZW);
      img.SaveToFile(argv[4]);
      return 0;
    } catch (const Exception& e) {
      std::fprintf(stderr, "gifdump: %s: %s\n", e.ClassName(), e.Message.c_str());
      return 1;
    }
  }
  Show show = Show::Fields;
  int a = 1;
  if (a < argc && std::strcmp(argv[a], "--pixels") == 0) {
    show = Show::Pixels;
    ++a;
  } else if (a < argc && std::strcmp(argv[a], "--rgb") == 0) {
    show = Show::Rgb;
    ++a;
  }
  if (a >= argc) return Usage();
  int rc = 0;
  for (int i = a; i < argc; ++i) {
    if (argc - a > 1) std::printf("file %s\n", argv[i]);
    try {
      img.LoadFromFile(argv[i]);
      Dump(img, show);
    } catch (const Exception& e) {
      std::fprintf(stderr, "gifdump: %s: %s: %s\n", argv[i], e.ClassName(), e.Message.c_str());
      rc = 1;
    }
  }
  return rc;
}
