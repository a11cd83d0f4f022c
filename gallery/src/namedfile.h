// Writing a whole file for the gallery's writers: through SaveStreamToFile (beside
// the target, renamed when complete), with every error naming the target.
#pragma once
#include <functional>
#include <string>

#include "platform/classes.h"
#include "platform/rtl.h"

inline void SaveNamedFile(const std::string& FileName, const std::function<void(TStream*)>& Write) {
  try {
    SaveStreamToFile(FileName, Write);
  } catch (Exception& e) {
    if (e.Message.find(FileName) == std::string::npos) e.Message = FileName + ": " + e.Message;
    throw;
  }
}
