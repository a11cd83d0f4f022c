#include "platform/clipbrd.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace {

struct Store {
  std::mutex lock;
  std::map<THandle, std::vector<std::uint8_t>> blocks;
  THandle next = 1;
  std::map<std::uint16_t, THandle> formats;  // blocks the clipboard owns
};

Store& S() {
  static Store s;
  return s;
}

const char* const GifMime = "image/gif";

// Other programs see the clipboard only on a real display.
QClipboard* DesktopClipboard() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return nullptr;
  if (QGuiApplication::platformName() == "offscreen") return nullptr;
  return QGuiApplication::clipboard();
}

std::vector<std::uint8_t> BlockBytes(THandle Mem) {
  Store& s = S();
  std::lock_guard<std::mutex> g(s.lock);
  auto it = s.blocks.find(Mem);
  return it == s.blocks.end() ? std::vector<std::uint8_t>() : it->second;
}

THandle NewBlock(const void* Data, std::size_t Size) {
  THandle h = GlobalAlloc(Size);
  if (h && Size) std::memcpy(GlobalLock(h), Data, Size);
  GlobalUnlock(h);
  return h;
}

void Publish() {
  QClipboard* cb = DesktopClipboard();
  if (!cb) return;
  auto* mime = new QMimeData;
  std::uint16_t gif = RegisterClipboardFormat("GIF Image");
  Store& s = S();
  std::map<std::uint16_t, THandle> formats;
  {
    std::lock_guard<std::mutex> g(s.lock);
    formats = s.formats;
  }
  for (auto [format, handle] : formats) {
    std::vector<std::uint8_t> bytes = BlockBytes(handle);
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    if (format == gif) mime->setData(GifMime, data);
    else if (format == CF_TEXT) mime->setText(QString::fromUtf8(data.constData()));
    else if (format == CF_BITMAP) mime->setImageData(QImage::fromData(data, "BMP"));
  }
  cb->setMimeData(mime);
}

// What another program left on the desktop clipboard, as our data.
THandle FromDesktop(std::uint16_t Format) {
  QClipboard* cb = DesktopClipboard();
  if (!cb || cb->ownsClipboard()) return 0;
  const QMimeData* mime = cb->mimeData();
  if (!mime) return 0;
  QByteArray data;
  if (Format == RegisterClipboardFormat("GIF Image") && mime->hasFormat(GifMime)) {
    data = mime->data(GifMime);
  } else if (Format == CF_TEXT && mime->hasText()) {
    data = mime->text().toUtf8();
    data.append('\0');
  } else if (Format == CF_BITMAP && mime->hasImage()) {
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    qvariant_cast<QImage>(mime->imageData()).save(&buffer, "BMP");
  }
  if (data.isEmpty()) return 0;
  THandle h = NewBlock(data.constData(), std::size_t(data.size()));
  std::lock_guard<std::mutex> g(S().lock);
  S().formats[Format] = h;
  return h;
}

}  // namespace

THandle GlobalAlloc(std::size_t Size) {
  Store& s = S();
  std::lock_guard<std::mutex> g(s.lock);
  THandle h = s.next++;
  s.blocks[h].assign(Size, 0);
  return h;
}

THandle GlobalFree(THandle Mem) {
  Store& s = S();
  std::lock_guard<std::mutex> g(s.lock);
  s.blocks.erase(Mem);
  return 0;
}

std::size_t GlobalSize(THandle Mem) {
  Store& s = S();
  std::lock_guard<std::mutex> g(s.lock);
  auto it = s.blocks.find(Mem);
  return it == s.blocks.end() ? 0 : it->second.size();
}

void* GlobalLock(THandle Mem) {
  Store& s = S();
  std::lock_guard<std::mutex> g(s.lock);
  auto it = s.blocks.find(Mem);
  if (it == s.blocks.end()) return nullptr;
  return it->second.data();
}

bool GlobalUnlock(THandle Mem) { return GlobalSize(Mem) > 0; }

THandle SetClipboardData(std::uint16_t Format, THandle Data) {
  if (Format == 0 || !Data) return 0;
  {
    Store& s = S();
    std::lock_guard<std::mutex> g(s.lock);
    if (!s.blocks.count(Data)) return 0;
    auto it = s.formats.find(Format);
    if (it != s.formats.end() && it->second != Data) s.blocks.erase(it->second);
    s.formats[Format] = Data;
  }
  Publish();
  return Data;
}

THandle GetClipboardData(std::uint16_t Format) {
  {
    Store& s = S();
    std::lock_guard<std::mutex> g(s.lock);
    auto it = s.formats.find(Format);
    if (it != s.formats.end()) return it->second;
  }
  return FromDesktop(Format);
}

bool IsClipboardFormatAvailable(std::uint16_t Format) { return GetClipboardData(Format) != 0; }

void EmptyClipboard() {
  Store& s = S();
  std::lock_guard<std::mutex> g(s.lock);
  for (auto [format, handle] : s.formats) s.blocks.erase(handle);
  s.formats.clear();
}

THandle BitmapToClipboardData(TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Empty()) return 0;
  TMemoryStream stream;
  Bitmap->SaveToStream(&stream);
  return NewBlock(stream.Memory(), std::size_t(stream.Size()));
}

void BitmapFromClipboardData(TBitmap* Bitmap, THandle Data) {
  std::vector<std::uint8_t> bytes = BlockBytes(Data);
  if (bytes.empty()) throw EInvalidGraphic("Bitmap image is not valid");
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
  stream.SetPosition(0);
  Bitmap->LoadFromStream(&stream);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TClipboard, TPersistent)

void TClipboard::Open() { ++opened_; }
void TClipboard::Close() {
  if (opened_ > 0) --opened_;
}
void TClipboard::Clear() { EmptyClipboard(); }

void TClipboard::SetAsHandle(std::uint16_t Format, THandle Value) {
  if (!SetClipboardData(Format, Value)) throw EInvalidOperation("Cannot set clipboard data");
}

std::string TClipboard::AsText() const {
  std::vector<std::uint8_t> bytes = BlockBytes(GetClipboardData(CF_TEXT));
  std::string text(bytes.begin(), bytes.end());
  return text.substr(0, text.find('\0'));
}

void TClipboard::SetAsText(const std::string& Value) {
  Open();
  try {
    Clear();
    SetAsHandle(CF_TEXT, NewBlock(Value.c_str(), Value.size() + 1));
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

void TClipboard::Assign(TPersistent* Source) {
  TGraphic* graphic = dynamic_cast<TGraphic*>(Source);
  if (auto* picture = dynamic_cast<TPicture*>(Source)) graphic = picture->Graphic();
  if (!graphic) {
    TPersistent::Assign(Source);
    return;
  }
  Open();
  try {
    Clear();
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) {
      SetAsHandle(CF_BITMAP, BitmapToClipboardData(bitmap));
    } else {
      std::uint16_t format = 0;
      THandle data = 0;
      HPALETTE palette = 0;
      graphic->SaveToClipboardFormat(format, data, palette);
      if (format && data) SetAsHandle(format, data);
    }
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

void TClipboard::AssignTo(TPersistent* Dest) {
  auto* picture = dynamic_cast<TPicture*>(Dest);
  if (!picture) {
    TPersistent::AssignTo(Dest);
    return;
  }
  // Registered formats carry more than a bitmap does: they come first.
  std::vector<std::uint16_t> formats;
  {
    Store& s = S();
    std::lock_guard<std::mutex> g(s.lock);
    for (auto [format, handle] : s.formats)
      if (format != CF_BITMAP) formats.push_back(format);
  }
  formats.push_back(RegisterClipboardFormat("GIF Image"));
  for (std::uint16_t f : formats)
    if (TPicture::SupportsClipboardFormat(f) && GetClipboardData(f)) {
      picture->LoadFromClipboardFormat(f, GetClipboardData(f), 0);
      return;
    }
  if (THandle bitmap = GetClipboardData(CF_BITMAP)) {
    TBitmap b;
    BitmapFromClipboardData(&b, bitmap);
    picture->SetGraphic(&b);
    return;
  }
  throw EInvalidGraphic("Unsupported clipboard format");
}

TClipboard* Clipboard() {
  static TClipboard clipboard;
  return &clipboard;
}
