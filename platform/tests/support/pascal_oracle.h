// Free Pascal's class library as an independent reader of component streams: a
// ten-line program built once per test process converts binary to text
// (ObjectBinaryToText) or, with -r, text to binary (ObjectTextToBinary).
#pragma once
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "oracle.h"
#include "test_temp.h"

namespace oracle {

inline const std::string& PascalStreamTool() {
  static const std::string tool = [] {
    if (std::system("command -v fpc >/dev/null 2>&1") != 0) return std::string();
    const std::string dir = TestTempDir() + "/fpc";
    std::system(("mkdir -p '" + dir + "'").c_str());
    std::ofstream(dir + "/objconv.pas") <<
        "program objconv;\n{$mode objfpc}\nuses Classes;\n"
        "var i, o: THandleStream; m: TMemoryStream; buf: array[0..4095] of byte; n: longint;\n"
        "begin\n  i := THandleStream.Create(0); o := THandleStream.Create(1); m := TMemoryStream.Create;\n"
        "  repeat n := i.Read(buf, SizeOf(buf)); m.WriteBuffer(buf, n) until n = 0;\n  m.Position := 0;\n"
        "  if ParamStr(1) = '-r' then ObjectTextToBinary(m, o) else ObjectBinaryToText(m, o);\nend.\n";
    if (std::system(("cd '" + dir + "' && fpc -O1 objconv.pas >/dev/null 2>&1").c_str()) != 0) return std::string();
    return dir + "/objconv";
  }();
  return tool;
}

// Free Pascal's conversion of Input (-r: text to binary); nullopt when it failed.
inline std::optional<std::string> PascalConvert(const std::string& Input, bool TextToBinary) {
  static int n = 0;
  const std::string in = TestTempDir() + "/fpc/in" + std::to_string(++n);
  std::ofstream(in, std::ios::binary) << Input;
  return Run("'" + PascalStreamTool() + "'" + (TextToBinary ? " -r" : "") + " < '" + in + "'");
}

}  // namespace oracle

#define SKIP_WITHOUT_FREE_PASCAL()                                                      \
  if (oracle::PascalStreamTool().empty()) GTEST_SKIP() << "fpc (Debian's fp-compiler) is not installed"
