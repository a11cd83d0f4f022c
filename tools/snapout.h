// How the picturing tools write a control as a PNG and say so: "wrote FILE" on
// standard output, or "FAILED FILE: why" (the file and the system's reason) on
// standard error, so a run that lost a picture says which and why.
#pragma once
#include <cstdio>
#include <string>

#include "platform/snapshot.h"

inline bool WritePng(TControl* Control, const std::string& Path) {
  std::string why;
  if (!SaveControlToPng(Control, Path, &why)) {
    std::fflush(stdout);
    std::fprintf(stderr, "FAILED %s: %s\n", Path.c_str(), why.c_str());
    return false;
  }
  std::printf("wrote %s\n", Path.c_str());
  return true;
}
