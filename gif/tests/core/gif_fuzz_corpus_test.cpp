// Replays the fuzzers' regression corpus (fuzz/corpus/<target>/) through the
// same bodies the fuzz targets run, so every input that once failed stays fixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "gif_fuzz_targets.h"

namespace fs = std::filesystem;

TEST(GifFuzzCorpus, EveryInputRunsClean) {
#ifdef PHONARK_FUZZ_CORPUS
  const fs::path root = PHONARK_FUZZ_CORPUS;
  if (!fs::exists(root)) GTEST_SKIP() << "no corpus at " << root;
  const std::pair<const char*, void (*)(const std::uint8_t*, std::size_t)> targets[] = {
      {"gif_load", &giffuzz::LoadAndResave},
      {"gif_lzw", &giffuzz::DecodeOnly},
      {"gif_roundtrip", &giffuzz::EncodeThenDecode},
  };
  int inputs = 0;
  for (auto [name, body] : targets) {
    if (!fs::exists(root / name)) continue;
    for (auto& e : fs::directory_iterator(root / name)) {
      std::ifstream in(e.path(), std::ios::binary);
      std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      SCOPED_TRACE(e.path().string());
      body(data.data(), data.size());
      ++inputs;
    }
  }
  EXPECT_GT(inputs, 0);
#else
  GTEST_SKIP() << "corpus location not configured";
#endif
}
