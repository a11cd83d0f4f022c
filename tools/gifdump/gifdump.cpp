// gifdump: decodes a GIF and prints what each frame holds, or re-encodes it. The
// usage below says what it prints and what its exit status means.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gif/gifimage.h"
#include "toolargs.h"

namespace {

// Outcomes, the worst of all files being the exit status.
constexpr int Whole = 0, Refused = 1, Warned = 3;

int Worse(int A, int B) {
  auto rank = [](int Status) { return Status == Refused ? 2 : Status == Warned ? 1 : 0; };
  return rank(B) > rank(A) ? B : A;
}

const char* const Usage =
    "usage: gifdump [--pixels|--rgb] FILE...\n"
    "       gifdump --encode lzw|rle IN OUT\n"
    "Prints each file's screen line, then a line per frame (its rectangle, interlace,\n"
    "local colours, disposal, delay, transparent index); with --pixels a line of hex\n"
    "colour indexes after each frame, with --rgb a line of hex colours (rrggbb). With\n"
    "several files each starts with \"file NAME\". Extensions that no image follows show\n"
    "as \"no image, N extensions\". --encode loads IN and saves it to OUT.\n"
    "A file that ends without its trailer byte is read with a warning.\n"
    "Warnings go to standard error as \"gifdump: FILE: warning: TEXT\".\n"
    "Exit status: 0 read whole, 3 read with warnings, 1 refused (a file could not be\n"
    "read or written), 2 a wrong call; of several files the worst counts.\n";

enum class Show { Fields, Pixels, Rgb };

// The codec ends quietly when a file stops between two blocks; one read to its very
// end whose last byte is not the trailer was cut short there.
bool CutBetweenBlocks(TStream* S) {
  const std::int64_t end = S->Position();
  if (end < S->Size()) return false;
  std::uint8_t last = 0;
  return end == 0 || S->Seek(-1, soEnd) < 0 || S->Read(&last, 1) != 1 || last != 0x3B;
}

// Reads the file into Img; false when it ended without its trailer.
bool Load(TGIFImage& Img, const std::string& File) {
  TFileStream f(File, fmOpenRead);
  Img.LoadFromStream(&f);
  return !CutBetweenBlocks(&f);
}

// A frame whose descriptor was never read (the stream ended or the trailer came
// after its extensions) has no image.
bool HasImage(TGIFSubImage* F) { return F->Width() > 0 && F->Height() > 0; }

void Dump(TGIFImage& img, Show show) {
  int loops = -1, frames = 0;
  for (int i = 0; i < img.Images()->Count(); ++i) {
    TGIFExtensionList* ext = img.Images()->SubImages(i)->Extensions();
    for (int j = 0; j < ext->Count() && loops < 0; ++j)
      if (auto* l = dynamic_cast<TGIFAppExtNSLoop*>(ext->Extensions(j))) loops = l->Loops();
    frames += HasImage(img.Images()->SubImages(i));
  }
  std::printf("screen %d %d global %d background %d aspect %d loops %d frames %d\n", img.Width(),
              img.Height(), img.GlobalColorMap()->Count(), img.Header()->BackgroundColorIndex(),
              img.Header()->AspectRatio(), loops, frames);
  static const char hex[] = "0123456789abcdef";
  for (int i = 0, n = 0; i < img.Images()->Count(); ++i) {
    TGIFSubImage* f = img.Images()->SubImages(i);
    if (!HasImage(f)) {
      std::printf("no image, %d extensions\n", f->Extensions()->Count());
      continue;
    }
    auto* gce = f->GraphicControlExtension();
    std::printf("frame %d %d %d %d %d interlaced %d local %d disposal %d delay %d transparent %d\n", n++,
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
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return toolargs::NoArguments(Usage);
  if (toolargs::IsHelp(args[0])) return toolargs::Help(Usage);
  std::string file;  // the one being read, for the warnings
  bool warned = false;
  TGIFImage img;
  img.OnWarning = [&](TObject*, TGIFSeverity, const std::string& msg) {
    std::fprintf(stderr, "gifdump: %s: warning: %s\n", file.c_str(), msg.c_str());
    warned = true;
  };
  auto load = [&] {
    // Unless the codec said already where the file was cut.
    if (!Load(img, file) && !warned) img.OnWarning(nullptr, gsWarning, "the file ends without its trailer");
  };
  auto refused = [&](const Exception& e) {
    std::fprintf(stderr, "gifdump: %s: %s: %s\n", file.c_str(), e.ClassName(), e.Message.c_str());
    return Refused;
  };
  if (args[0] == "--encode") {
    if (args.size() != 4) return toolargs::Wrong("gifdump", "--encode takes lzw or rle, IN and OUT");
    const bool rle = args[1] == "rle";
    if (!rle && args[1] != "lzw") return toolargs::Wrong("gifdump", "unknown encoding '" + args[1] + "'");
    try {
      file = args[2];
      load();
      img.SetCompression(rle ? gcRLE : gcLZW);
      file = args[3];
      img.SaveToFile(file);
    } catch (const Exception& e) {
      return refused(e);
    }
    return warned ? Warned : Whole;
  }
  Show show = Show::Fields;
  size_t a = 0;
  if (args[a] == "--pixels" || args[a] == "--rgb") show = args[a++] == "--pixels" ? Show::Pixels : Show::Rgb;
  for (size_t i = a; i < args.size(); ++i)
    if (toolargs::IsOption(args[i])) return toolargs::Wrong("gifdump", "unknown option '" + args[i] + "'");
  if (a >= args.size()) return toolargs::Wrong("gifdump", "no FILE");
  int rc = Whole;
  for (size_t i = a; i < args.size(); ++i) {
    file = args[i];
    warned = false;
    if (args.size() - a > 1) std::printf("file %s\n", file.c_str());
    try {
      load();
      Dump(img, show);
      rc = Worse(rc, warned ? Warned : Whole);
    } catch (const Exception& e) {
      rc = Worse(rc, refused(e));
    }
  }
  return rc;
}
