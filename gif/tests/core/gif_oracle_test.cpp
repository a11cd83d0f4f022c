// Real GIF files from installed packages, decoded by gifdump and by independent
// readers (giflib's tools, Python's imaging library, netpbm); our LZW and RLE
// re-saves must decode the same under them. A missing reader or file skips.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "gif_test_util.h"
#include "oracle.h"
#include "test_temp.h"

namespace fs = std::filesystem;

namespace {

bool Have(const std::string& tool) { return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0; }

std::string Quote(const std::string& s) { return "'" + s + "'"; }

// Every picture but the flags is re-saved; of the 247 look-alike flags a sample.
bool Sampled(const std::string& file, std::size_t k) { return file.find("/flags/") == std::string::npos || k % 8 == 0; }

std::vector<std::string> RealFiles() {
  std::vector<std::string> files;
  auto addDir = [&](const char* dir) {
    std::error_code ec;
    for (auto& e : fs::directory_iterator(dir, ec))
      if (e.path().extension() == ".gif") files.push_back(e.path().string());
  };
  addDir("/usr/share/tcltk/tk8.6/images");
  addDir("/usr/share/flags/countries/16x11");
  if (fs::exists("/usr/share/qt6/doc/global/template/images/spinner.gif"))
    files.push_back("/usr/share/qt6/doc/global/template/images/spinner.gif");
  std::sort(files.begin(), files.end());
  return files;
}

struct Frame {
  int Left = 0, Top = 0, Width = 0, Height = 0, Interlaced = 0, Disposal = -1, Delay = -1, Transparent = -1;
  std::string Data;  // indexes, or rrggbb triples, as raw bytes
};

std::string Unhex(const std::string& h) {
  std::string out(h.size() / 2, '\0');
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = char(std::stoi(h.substr(2 * i, 2), nullptr, 16));
  return out;
}

using Dumps = std::map<std::string, std::vector<Frame>>;

// Runs gifdump once over all files with an option and parses their frames.
std::optional<Dumps> DumpAll(const std::string& opt, const std::vector<std::string>& files) {
#ifdef PHONARK_GIFDUMP
  std::string cmd = std::string(PHONARK_GIFDUMP) + " " + opt;
  for (const std::string& f : files) cmd += " " + Quote(f);
  auto out = oracle::Run(cmd);
  if (!out) return std::nullopt;
  std::istringstream in(*out);
  std::string line, current = files.size() == 1 ? files[0] : "";
  Dumps dumps;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    std::string tag, word;
    ls >> tag;
    if (tag == "file") {
      current = line.substr(5);
    } else if (tag == "frame") {
      Frame f;
      int index;
      ls >> index >> f.Left >> f.Top >> f.Width >> f.Height >> word >> f.Interlaced >> word >> word >> word >>
          f.Disposal >> word >> f.Delay >> word >> f.Transparent;
      dumps[current].push_back(f);
    } else if ((tag == "pixels" || tag == "rgb") && !dumps[current].empty()) {
      ls >> word;
      dumps[current].back().Data = Unhex(word);
    } else if (tag == "screen") {
      dumps[current];
    }
  }
  return dumps;
#else
  (void)opt;
  (void)files;
  return std::nullopt;
#endif
}

std::optional<std::vector<Frame>> Dump(const std::string& opt, const std::string& file) {
  auto d = DumpAll(opt, {file});
  if (!d || !d->count(file)) return std::nullopt;
  return (*d)[file];
}

#define NEED(tool)                                                  \
  if (!Have(tool)) GTEST_SKIP() << tool << " is not installed";    \
  do {                                                              \
  } while (0)

#ifdef PHONARK_GIFDUMP
#define NEED_GIFDUMP() do {} while (0)
#else
#define NEED_GIFDUMP() GTEST_SKIP() << "gifdump was not built"
#endif

// The indexes of all frames in stream order (interlaced rows as stored).
std::string StreamOrder(const std::vector<Frame>& frames) {
  std::string out;
  for (const Frame& f : frames) {
    if (!f.Interlaced) {
      out += f.Data;
      continue;
    }
    static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = start[pass]; y < f.Height; y += step[pass])
        out += f.Data.substr(std::size_t(y) * std::size_t(f.Width), std::size_t(f.Width));
  }
  return out;
}

class RealFilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    files_ = RealFiles();
    if (files_.empty()) GTEST_SKIP() << "no GIF files from libtk8.6, qt6-base-dev or famfamfam-flag-gif";
    dir_ = TestTempDir() + "/oracle";
    fs::create_directories(dir_);
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }
  // Our LZW or RLE re-save of a file, through gifdump.
  std::string Resave(const std::string& file, const char* how) {
#ifdef PHONARK_GIFDUMP
    std::string out = dir_ + "/" + how + "-" + fs::path(file).filename().string();
    EXPECT_TRUE(oracle::Run(std::string(PHONARK_GIFDUMP) + " --encode " + how + " " + Quote(file) + " " + Quote(out)))
        << "re-saving " << file;
    return out;
#else
    (void)file;
    (void)how;
    return {};
#endif
  }
  std::vector<std::string> files_;
  std::string dir_;
};

}  // namespace

TEST_F(RealFilesTest, RawIndexesMatchGiftextAndSoDoOurResaves) {
  NEED_GIFDUMP();
  NEED("giftext");
  int checked = 0;
  auto all = DumpAll("--pixels", files_);
  ASSERT_TRUE(all);
  for (std::size_t k = 0; k < files_.size(); ++k) {
    const std::string& file = files_[k];
    ASSERT_TRUE(all->count(file)) << file;
    const std::vector<Frame>* ours = &(*all)[file];
    auto raw = oracle::Run("giftext -r " + Quote(file));
    if (!raw) continue;  // giftext refuses it too
    EXPECT_EQ(StreamOrder(*ours), *raw) << file;
    ++checked;
    if (!Sampled(file, k)) continue;
    for (const char* how : {"lzw", "rle"}) {
      std::string again = Resave(file, how);
      auto back = Dump("--pixels", again);
      ASSERT_TRUE(back) << again;
      ASSERT_EQ(back->size(), ours->size()) << again;
      for (std::size_t i = 0; i < ours->size(); ++i) EXPECT_EQ((*back)[i].Data, (*ours)[i].Data) << again;
      EXPECT_EQ(oracle::Run("giftext -r " + Quote(again)).value_or("failed"), StreamOrder(*back)) << again;
    }
  }
  EXPECT_GT(checked, 0);
}

TEST_F(RealFilesTest, FrameFieldsMatchGiftool) {
  NEED_GIFDUMP();
  NEED("giftool");
  auto all = DumpAll("", files_);
  ASSERT_TRUE(all);
  for (const std::string& file : files_) {
    ASSERT_TRUE(all->count(file)) << file;
    const std::vector<Frame>* ours = &(*all)[file];
    std::string expect;
    for (std::size_t i = 0; i < ours->size(); ++i) {
      const Frame& f = (*ours)[i];
      expect += Format("%d %d,%d %d %d %d %d;", int(i + 1), f.Left, f.Top, f.Width, f.Height,
                       std::max(f.Disposal, 0), std::max(f.Delay, 0));
    }
    EXPECT_EQ(oracle::Run("giftool -f '%n %p %w %h %x %d;' < " + Quote(file)).value_or("failed"), expect) << file;
  }
}

TEST_F(RealFilesTest, ColoursMatchNetpbmForOriginalsAndResaves) {
  NEED_GIFDUMP();
  NEED("giftopnm");
  auto all = DumpAll("--rgb", files_);
  ASSERT_TRUE(all);
  for (std::size_t k = 0; k < files_.size(); ++k) {
    const std::string& file = files_[k];
    ASSERT_TRUE(all->count(file)) << file;
    const std::vector<Frame>* ours = &(*all)[file];
    std::vector<std::string> variants = {file};
    if (Sampled(file, k)) {
      variants.push_back(Resave(file, "lzw"));
      variants.push_back(Resave(file, "rle"));
    }
    for (const std::string& v : variants) {
      auto pnm = oracle::Run("giftopnm -image=all " + Quote(v));
      ASSERT_TRUE(pnm) << v;
      std::istringstream in(*pnm);
      for (std::size_t i = 0; i < ours->size(); ++i) {
        std::string magic;
        int w, h, maxv;
        in >> magic >> w >> h >> maxv;
        in.get();
        const Frame& f = (*ours)[i];
        ASSERT_EQ(w, f.Width) << v;
        ASSERT_EQ(h, f.Height) << v;
        const std::size_t n = std::size_t(w) * std::size_t(h);
        std::string px(magic == "P6" ? 3 * n : n, '\0');
        in.read(px.data(), std::streamsize(px.size()));
        std::string rgb = px;
        if (magic == "P5") {
          rgb.clear();
          for (char c : px) rgb.append(3, c);
        }
        EXPECT_EQ(rgb, f.Data) << v << " frame " << i;
      }
    }
  }
}

TEST_F(RealFilesTest, FirstFrameAndTimingMatchPythonImaging) {
  NEED_GIFDUMP();
  if (!Have("/usr/bin/python3") || std::system("/usr/bin/python3 -c 'import PIL' >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "python3-pil is not installed";
  // For each file: per frame its rectangle and duration, and for the first
  // frame its colours inside that rectangle.
  const std::string script = dir_ + "/pil.py";
  std::ofstream(script) << R"PY(
import sys
from PIL import Image
for name in sys.argv[1:]:
    im = Image.open(name)
    parts = []
    for i in range(im.n_frames):
        im.seek(i)
        x0, y0, x1, y1 = im.tile[0][1] if im.tile else im.dispose_extent
        parts.append("%d,%d,%d,%d,%d" % (x0, y0, x1 - x0, y1 - y0, im.info.get("duration", 0) // 10))
        if i == 0:
            rgb = im.convert("RGB").crop((x0, y0, x1, y1)).tobytes().hex()
    print(name, " ".join(parts), rgb)
)PY";
  std::string args;
  for (const std::string& f : files_) args += " " + Quote(f);
  auto out = oracle::Run("/usr/bin/python3 " + Quote(script) + args);
  ASSERT_TRUE(out);
  std::istringstream in(*out);
  auto all = DumpAll("--rgb", files_);
  ASSERT_TRUE(all);
  for (const std::string& file : files_) {
    std::string line;
    ASSERT_TRUE(std::getline(in, line)) << file;
    std::istringstream ls(line);
    std::string name;
    ls >> name;
    ASSERT_EQ(name, file);
    ASSERT_TRUE(all->count(file)) << file;
    const std::vector<Frame>* ours = &(*all)[file];
    std::string word, expect;
    for (const Frame& f : *ours) expect += Format("%d,%d,%d,%d,%d ", f.Left, f.Top, f.Width, f.Height, std::max(f.Delay, 0));
    std::string got;
    for (std::size_t i = 0; i < ours->size() && ls >> word; ++i) got += word + " ";
    EXPECT_EQ(got, expect) << file;
    ls >> word;
    EXPECT_EQ(Unhex(word), ours->front().Data) << file;
  }
}
