// The clipboard: formats by number (CF_BITMAP, or numbers from
// RegisterClipboardFormat) holding blocks of memory. Data set here is kept in
// the process; on a desktop it is also offered to other programs, and what they
// put there is read back as "GIF Image" (image/gif) or a bitmap.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/graphics.h"

// Movable memory blocks, the clipboard's data handles. 0 is no block.
THandle GlobalAlloc(std::size_t Size);
THandle GlobalFree(THandle Mem);  // answers 0
std::size_t GlobalSize(THandle Mem);
void* GlobalLock(THandle Mem);     // nullptr for an unknown handle
bool GlobalUnlock(THandle Mem);

// The clipboard takes ownership of Data (a GlobalAlloc block); answers Data, or
// 0 when the clipboard refuses it (format 0 or no block).
THandle SetClipboardData(std::uint16_t Format, THandle Data);
// The block of a format, owned by the clipboard; 0 when there is none.
THandle GetClipboardData(std::uint16_t Format);
bool IsClipboardFormatAvailable(std::uint16_t Format);
void EmptyClipboard();

// A bitmap as clipboard data: a block holding its bitmap file, and back.
THandle BitmapToClipboardData(TBitmap* Bitmap);
void BitmapFromClipboardData(TBitmap* Bitmap, THandle Data);

class TClipboard : public TPersistent {
  DECLARE_CLASS(TClipboard, TPersistent)
public:
  void Open();
  void Close();
  void Clear();
  bool HasFormat(std::uint16_t Format) const { return IsClipboardFormatAvailable(Format); }
  void SetAsHandle(std::uint16_t Format, THandle Value);
  THandle GetAsHandle(std::uint16_t Format) const { return GetClipboardData(Format); }
  // Text as CF_TEXT (UTF-8, ending in a zero byte). Setting it replaces what the
  // clipboard held; reading answers "" when it holds no text.
  std::string AsText() const;
  void SetAsText(const std::string& Value);
  // Puts a picture or graphic on the clipboard: a bitmap as CF_BITMAP, any other
  // graphic through its SaveToClipboardFormat (and whatever else that adds).
  void Assign(TPersistent* Source) override;

protected:
  // A picture assigned from the clipboard loads the first format that a graphic
  // class is registered for.
  void AssignTo(TPersistent* Dest) override;

private:
  int opened_ = 0;
};

TClipboard* Clipboard();
