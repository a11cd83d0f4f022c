// Replays the fuzzers' regression corpus (fuzz/corpus/<target>/) through the same
// bodies the fuzz targets run, so every input that once failed stays fixed. The
// test executable is given PHONARK_FUZZ_CORPUS by phonark_fuzz_corpus().
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

namespace fuzzreplay {

using Body = void (*)(const std::uint8_t*, std::size_t);

// Runs every file of each named folder; answers how many ran (-1: no corpus here).
inline int Replay(std::initializer_list<std::pair<const char*, Body>> targets) {
#ifdef PHONARK_FUZZ_CORPUS
  namespace fs = std::filesystem;
  const fs::path root = PHONARK_FUZZ_CORPUS;
  if (!fs::exists(root)) return -1;
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
  return inputs;
#else
  (void)targets;
  return -1;
#endif
}

}  // namespace fuzzreplay

// One test case replaying the folders given.
#define PHONARK_FUZZ_REPLAY_TEST(Suite, ...)                                     \
  TEST(Suite, EveryInputRunsClean) {                                             \
    const int n = fuzzreplay::Replay({__VA_ARGS__});                             \
    if (n < 0) GTEST_SKIP() << "no fuzz corpus configured or present";          \
    EXPECT_GT(n, 0);                                                             \
  }
