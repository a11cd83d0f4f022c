#include "engine/exportdata.h"

#include "platform/clipbrd.h"

IMPLEMENT_CLASS(TLumExportData, TPersistent)

void TLumExportData::CopyToClipboard() { Clipboard()->SetAsText(AsString()); }

void TLumExportData::SaveToStream(TStream* Stream) {
  const std::string text = AsString();
  if (!text.empty()) Stream->WriteBuffer(text.data(), std::int64_t(text.size()));
}

void TLumExportData::SaveToFile(const std::string& FileName) {
  SaveStreamToFile(FileName, [this](TStream* Stream) { SaveToStream(Stream); });
}
