// Running the independent tools (Python modules, command-line decoders) that tests
// compare against.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace oracle {

inline std::optional<std::string> Run(const std::string& Command) {
  FILE* p = popen((Command + " 2>/dev/null").c_str(), "r");
  if (!p) return std::nullopt;
  std::string out;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  if (pclose(p) != 0) return std::nullopt;
  return out;
}

inline bool HavePython(const char* Module) {
  return std::system(("/usr/bin/python3 -c 'import " + std::string(Module) + "' >/dev/null 2>&1").c_str()) == 0;
}

inline bool Have(const std::string& Program) {
  return std::system(("command -v " + Program + " >/dev/null 2>&1").c_str()) == 0;
}

// Writes Script to a temporary file and answers its path.
inline std::string ScriptFile(const std::string& Name, const std::string& Script) {
  const std::string path = ::testing::TempDir() + Name;
  std::ofstream(path) << Script;
  return path;
}

}  // namespace oracle
