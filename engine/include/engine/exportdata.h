// Base of the data exporters: the whole export as one text, handed out as a
// string, to the clipboard, to a stream or to a file.
#pragma once
#include <string>

#include "platform/classes.h"

class TLumExportData : public TPersistent {
  DECLARE_CLASS(TLumExportData, TPersistent)
public:
  // The export as text; the base has nothing to export.
  virtual std::string AsString() { return {}; }
  // Puts AsString on the clipboard as text.
  virtual void CopyToClipboard();
  // Writes the characters of AsString, without a terminator.
  virtual void SaveToStream(TStream* Stream);
  // Writes beside FileName and renames, so a failed save leaves no half-written
  // file (nor replaces the one there).
  virtual void SaveToFile(const std::string& FileName);
};
