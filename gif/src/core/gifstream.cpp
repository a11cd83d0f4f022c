// Reading and writing the blocks of a GIF stream: header, frames, extensions,
// trailer, and the registries that map extension labels to classes.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "gif/gifcoder.h"
#include "gif/gifimage.h"
#include "platform/lebytes.h"

bool CreateBitmapOnLoad = false;
bool OptimizeOnStream = false;

namespace {

std::uint8_t ReadByte(TStream* s) {
  std::uint8_t b;
  ReadCheck(s, &b, 1);
  return b;
}
// Answers false at the end of the stream.
bool TryReadByte(TStream* s, std::uint8_t& b) { return s->Read(&b, 1) == 1; }
void WriteByte(TStream* s, std::uint8_t b) { s->WriteBuffer(&b, 1); }
void WriteWord(TStream* s, int v) {
  std::uint8_t b[2];
  LittleEndian::Store16(b, std::uint16_t(v));
  s->WriteBuffer(b, 2);
}
int Word(const std::uint8_t* p) { return p[0] | (p[1] << 8); }

// The stream stores u16 sizes; a larger value would be cut silently.
void CheckDimension(int v) {
  if (v < 0 || v > GIFMaxDimension)
    throw GIFException(Format("Image dimension %d is outside the GIF range 0..65535", v));
}

// Lines as data sub-blocks of at most 255 bytes; an empty line writes nothing.
void WriteLines(TStream* s, TStringList& lines) {
  for (int i = 0; i < lines.Count(); ++i) {
    std::string line = lines.Get(i);
    for (std::size_t p = 0; p < line.size(); p += 255) {
      std::size_t n = std::min<std::size_t>(255, line.size() - p);
      WriteByte(s, std::uint8_t(n));
      s->WriteBuffer(line.data() + p, std::int64_t(n));
    }
  }
  WriteByte(s, 0);
}

// Data sub-blocks up to the terminator (or the end of the stream), kept as read.
void ReadBlocks(TStream* s, std::vector<TGIFBlock>& blocks) {
  blocks.clear();
  std::uint8_t n;
  while (TryReadByte(s, n) && n != 0) {
    TGIFBlock blk;
    blk.Data.resize(n);
    ReadCheck(s, blk.Data.data(), n);
    blocks.push_back(std::move(blk));
  }
}

void WriteBlocks(TStream* s, const std::vector<TGIFBlock>& blocks) {
  for (const TGIFBlock& blk : blocks) {
    WriteByte(s, std::uint8_t(blk.Size()));
    s->WriteBuffer(blk.Data.data(), blk.Size());
  }
  WriteByte(s, 0);
}

void ReadLines(TStream* s, TStringList& lines) {
  lines.Clear();
  std::uint8_t n;
  char buf[256];
  while (TryReadByte(s, n) && n != 0) {
    ReadCheck(s, buf, n);
    lines.Add(std::string(buf, n));
  }
}

struct TRegistryEntry {
  std::string Key;  // one label byte, or the 11-byte application identifier
  TGIFExtensionClass Class;
};

std::vector<TRegistryEntry>& ExtensionRegistry() {
  static std::vector<TRegistryEntry> r = [] {
    std::vector<TRegistryEntry> v;
    v.push_back({std::string(1, '\x01'), TGIFTextExtension::ExtClass()});
    v.push_back({std::string(1, '\xF9'), TGIFGraphicControlExtension::ExtClass()});
    v.push_back({std::string(1, '\xFE'), TGIFCommentExtension::ExtClass()});
    v.push_back({std::string(1, '\xFF'), TGIFApplicationExtension::ExtClass()});
    return v;
  }();
  return r;
}

std::vector<TRegistryEntry>& AppExtensionRegistry() {
  static std::vector<TRegistryEntry> r = [] {
    std::vector<TRegistryEntry> v;
    v.push_back({"NETSCAPE2.0", TGIFAppExtNSLoop::ExtClass()});
    v.push_back({"ANIMEXTS1.0", TGIFAppExtNSLoop::ExtClass()});
    return v;
  }();
  return r;
}

TGIFExtensionClass FindIn(const std::vector<TRegistryEntry>& r, const char* key, std::size_t n) {
  for (auto it = r.rbegin(); it != r.rend(); ++it)
    if (it->Key.size() == n && std::memcmp(it->Key.data(), key, n) == 0) return it->Class;
  return nullptr;
}

TGIFExtensionClass SameClass(TStream*) { return nullptr; }

template <class C>
TGIFExtension* Make(TGIFSubImage* frame) {
  return new C(frame);
}

}  // namespace

void ReadCheck(TStream* Stream, void* Buffer, std::int64_t Count) {
  if (Stream->Read(Buffer, Count) < Count) throw GIFException("Premature end of data");
}

void RegisterExtension(std::uint8_t Label, TGIFExtensionClass Class) {
  ExtensionRegistry().push_back({std::string(1, char(Label)), Class});
}
TGIFExtensionClass FindExtensionClass(std::uint8_t Label) {
  char k = char(Label);
  return FindIn(ExtensionRegistry(), &k, 1);
}
void RegisterAppExtension(const std::string& Ident11, TGIFExtensionClass Class) {
  AppExtensionRegistry().push_back({Ident11.substr(0, 11), Class});
}
TGIFExtensionClass FindAppExtensionClass(const char* Ident11) {
  return FindIn(AppExtensionRegistry(), Ident11, 11);
}

void GIFSaveToFile(const std::string& FileName, const std::function<void(TStream*)>& Save) {
  // Encode in memory, write beside the target and rename: a failure leaves
  // neither a partial file nor a damaged old one.
  TMemoryStream mem;
  Save(&mem);
  SaveStreamToFile(FileName, [&mem](TStream* File) { File->WriteBuffer(mem.Memory(), mem.Size()); });
}

// ---------------------------------------------------------------------------
// Items and lists

IMPLEMENT_CLASS(TGIFItem, TPersistent)
IMPLEMENT_CLASS(TGIFList, TPersistent)
IMPLEMENT_CLASS(TGIFHeader, TGIFItem)
IMPLEMENT_CLASS(TGIFTrailer, TGIFItem)

void TGIFItem::Warning(TGIFSeverity Severity, const std::string& Message) {
  if (image_) image_->Warning(this, Severity, Message);
}

void TGIFItem::SaveToFile(const std::string& FileName) {
  GIFSaveToFile(FileName, [this](TStream* s) { SaveToStream(s); });
}

void TGIFItem::LoadFromFile(const std::string& FileName) {
  TFileStream f(FileName, fmOpenRead);
  LoadFromStream(&f);
}

TGIFList::~TGIFList() { Clear(); }

TGIFItem* TGIFList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", Index));
  return items_[std::size_t(Index)];
}

int TGIFList::Add(TGIFItem* Item) {
  auto lock = LockFrames(image_);
  items_.push_back(Item);
  return Count() - 1;
}

void TGIFList::Insert(int Index, TGIFItem* Item) {
  if (Index < 0 || Index > Count()) throw EListError(Format("List index out of bounds (%d)", Index));
  auto lock = LockFrames(image_);
  items_.insert(items_.begin() + Index, Item);
}

void TGIFList::Delete(int Index) {
  auto lock = LockFrames(image_);
  TGIFItem* item = Items(Index);
  items_.erase(items_.begin() + Index);
  delete item;
}

int TGIFList::Remove(TGIFItem* Item) {
  auto lock = LockFrames(image_);
  int i = IndexOf(Item);
  if (i >= 0) items_.erase(items_.begin() + i);
  return i;
}

int TGIFList::IndexOf(const TGIFItem* Item) const {
  auto it = std::find(items_.begin(), items_.end(), Item);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

void TGIFList::Clear() {
  while (!items_.empty()) Delete(0);
}

void TGIFList::Warning(TGIFSeverity Severity, const std::string& Message) {
  if (image_) image_->Warning(this, Severity, Message);
}

void TGIFList::SaveToStream(TStream* Stream) {
  for (TGIFItem* item : items_) item->SaveToStream(Stream);
}

// ---------------------------------------------------------------------------
// Header

TGIFHeader::TGIFHeader(TGIFImage* Image)
    : TGIFItem(Image), colorMap_(std::make_unique<TGIFGlobalColorMap>(this)) {}

TGIFHeader::~TGIFHeader() = default;

TGIFVersion TGIFHeader::GetVersion() const {
  return colorMap_->Optimized() || aspect_ != 0 ? gv89a : gv87a;
}

TColor TGIFHeader::BackgroundColor() { return colorMap_->Colors(background_); }

void TGIFHeader::Clear() {
  colorMap_->Clear();
  width_ = height_ = 0;
  background_ = aspect_ = 0;
  Prepare();
}

void TGIFHeader::Assign(TPersistent* Source) {
  if (auto* h = dynamic_cast<TGIFHeader*>(Source)) {
    colorMap_->Assign(h->colorMap_.get());
    width_ = h->width_;
    height_ = h->height_;
    packed_ = h->packed_;
    background_ = h->background_;
    aspect_ = h->aspect_;
    return;
  }
  TGIFItem::Assign(Source);
}

void TGIFHeader::Prepare() {
  std::uint8_t p = 0;
  const int bits = colorMap_->BitsPerPixel();
  if (colorMap_->Count() > 0) {
    p |= 0x80;
    if (colorMap_->Optimized()) p |= 0x08;
  }
  const int res = image_ ? image_->ColorResolution() : bits - 1;
  p |= std::uint8_t((res << 4) & 0x70);
  const int size = colorMap_->Count() > 0 ? bits - 1 : (image_ ? image_->BitsPerPixel() : 0) - 1;
  p |= std::uint8_t(size & 7);
  packed_ = p;
}

void TGIFHeader::LoadFromStream(TStream* Stream) {
  std::uint8_t sig[6];
  const std::int64_t start = Stream->Position();
  ReadCheck(Stream, sig, 6);
  if (std::memcmp(sig, "GIF", 3) != 0) {
    // Some files carry a 4-byte prefix in front of the signature.
    Stream->Seek(start + 4, soBeginning);
    ReadCheck(Stream, sig, 6);
    if (std::memcmp(sig, "GIF", 3) != 0) throw GIFException("Invalid GIF signature");
  }
  std::uint8_t d[7];
  ReadCheck(Stream, d, 7);
  width_ = Word(d);
  height_ = Word(d + 2);
  packed_ = d[4];
  background_ = d[5];
  aspect_ = d[6];
  if (packed_ & 0x80) {
    const int n = 2 << (packed_ & 7);
    if (n < 2 || n > 256) throw GIFException("Invalid number of colors specified in Screen Descriptor");
    colorMap_->LoadFromStream(Stream, n);
  } else {
    colorMap_->Clear();
  }
}

void TGIFHeader::SaveToStream(TStream* Stream) {
  const TGIFVersion v = image_ ? image_->GetVersion() : GetVersion();
  if (v == gvUnknown) throw GIFException("Unsupported GIF version");
  CheckDimension(width_);
  CheckDimension(height_);
  Prepare();
  Stream->WriteBuffer(v == gv87a ? "GIF87a" : "GIF89a", 6);
  WriteWord(Stream, width_);
  WriteWord(Stream, height_);
  WriteByte(Stream, packed_);
  WriteByte(Stream, background_);
  WriteByte(Stream, aspect_);
  if (packed_ & 0x80) colorMap_->SaveToStream(Stream);
}

// ---------------------------------------------------------------------------
// Trailer

void TGIFTrailer::SaveToStream(TStream* Stream) { WriteByte(Stream, 0x3B); }

void TGIFTrailer::LoadFromStream(TStream* Stream) {
  std::uint8_t b;
  if (TryReadByte(Stream, b) && b != 0x3B) Warning(gsWarning, "Invalid Image trailer");
}

// ---------------------------------------------------------------------------
// Frames

namespace {
// Skips zero bytes; answers false at the end of the stream.
bool NextNonZero(TStream* s, std::uint8_t& b) {
  do {
    if (!TryReadByte(s, b)) return false;
  } while (b == 0);
  return true;
}
}  // namespace

void TGIFImageList::CountLoadedFrame(const TGIFSubImage* Frame) {
  Frame->CheckPixelCaps(loadedPixels_);
  loadedPixels_ += std::int64_t(Frame->Width()) * Frame->Height();
}

void TGIFImageList::LoadFromStream(TStream* Stream) {
  loadedPixels_ = 0;
  std::uint8_t b;
  if (!NextNonZero(Stream, b)) return;
  const std::int64_t size = Stream->Size();
  while (b != 0x3B) {
    Stream->Seek(-1, soCurrent);
    if (b != 0x21 && b != 0x2C) {
      Warning(gsWarning, "Unknown GIF block type");
      return;
    }
    auto* frame = new TGIFSubImage(image_);
    try {
      frame->LoadFromStream(Stream);
    } catch (...) {
      // What was read stays in the image.
      Add(frame);
      throw;
    }
    Add(frame);
    if (image_) {
      const int pct = size > 0 ? int(Stream->Position() * 100 / size) : 0;
      image_->ProgressMsg(psRunning, pct, CreateBitmapOnLoad, "Loading...");
    }
    if (!NextNonZero(Stream, b)) return;
  }
  Stream->Seek(-1, soCurrent);
}

void TGIFImageList::SaveToStream(TStream* Stream) {
  for (int i = 0; i < Count(); ++i) {
    SubImages(i)->SaveToStream(Stream);
    if (image_) image_->ProgressMsg(psRunning, (i + 1) * 100 / Count(), false, "Saving...");
  }
}

TGIFExtensionList::TGIFExtensionList(TGIFSubImage* Frame)
    : TGIFList(Frame ? Frame->Image() : nullptr), frame_(Frame) {}

TGIFExtension* TGIFExtensionList::Extensions(int Index) const {
  return static_cast<TGIFExtension*>(Items(Index));
}

void TGIFExtensionList::LoadFromStream(TStream* Stream) {
  std::uint8_t b;
  if (!TryReadByte(Stream, b)) return;
  while (b != 0x2C && b != 0x3B) {
    if (b != 0x21) {
      Warning(gsWarning, "Invalid extension introducer");
      break;
    }
    // An extension nobody registered is kept as read: its sub-blocks say where it ends.
    TGIFExtensionClass cls = TGIFExtension::FindExtension(Stream);
    if (!cls) cls = TGIFUnknownExtension::ExtClass();
    Stream->Seek(-1, soCurrent);
    TGIFExtension* ext = cls->Create(frame_);
    try {
      ext->LoadFromStream(Stream);
    } catch (...) {
      delete ext;
      throw;
    }
    Add(ext);
    if (!TryReadByte(Stream, b)) return;
  }
  Stream->Seek(-1, soCurrent);
}

void TGIFSubImage::LoadFromStream(TStream* Stream) {
  Clear();
  extensions_->LoadFromStream(Stream);
  std::uint8_t b;
  // The stream ended inside the frame, before its image: a cut file.
  if (!TryReadByte(Stream, b)) {
    Warning(gsWarning, "Premature end of data");
    return;
  }
  Stream->Seek(-1, soCurrent);
  // Anything but a separator (trailer, zero byte, or stray bytes after a bad
  // introducer) means the frame has no image.
  if (b != 0x2C) return;
  std::uint8_t d[10];
  ReadCheck(Stream, d, 10);
  descriptor_.Separator = d[0];
  descriptor_.Left = Word(d + 1);
  descriptor_.Top = Word(d + 3);
  descriptor_.Width = Word(d + 5);
  descriptor_.Height = Word(d + 7);
  descriptor_.PackedFields = d[9];
  if ((descriptor_.Width == 0 || descriptor_.Height == 0) && image_) {
    descriptor_.Width = image_->Width();
    descriptor_.Height = image_->Height();
    Warning(gsWarning, "Image exceeds Logical Screen size");
  }
  if (descriptor_.PackedFields & 0x80) {
    const int n = 2 << (descriptor_.PackedFields & 7);
    if (n < 2 || n > 256) throw GIFException("Invalid number of colors specified in Image Descriptor");
    colorMap_->LoadFromStream(Stream, n);
  }
  if (image_) image_->Images()->CountLoadedFrame(this);
  Decompress(Stream);
  if (CreateBitmapOnLoad && GIFRenderHooks.BuildBitmap) GIFRenderHooks.BuildBitmap(this);
}

void TGIFSubImage::SaveToStream(TStream* Stream) {
  extensions_->SaveToStream(Stream);
  if (Empty()) return;
  CheckDimension(Left());
  CheckDimension(Top());
  CheckDimension(Width());
  CheckDimension(Height());
  if (colorMap_->Count() > 0) {
    std::uint8_t p = 0x80;
    if (colorMap_->Optimized()) p |= 0x20;
    p |= std::uint8_t((colorMap_->BitsPerPixel() - 1) & 7);
    descriptor_.PackedFields = p;
  } else {
    descriptor_.PackedFields &= 0x58;
  }
  std::uint8_t d[10] = {0x2C,
                        std::uint8_t(Left()), std::uint8_t(Left() >> 8),
                        std::uint8_t(Top()), std::uint8_t(Top() >> 8),
                        std::uint8_t(Width()), std::uint8_t(Width() >> 8),
                        std::uint8_t(Height()), std::uint8_t(Height() >> 8),
                        descriptor_.PackedFields};
  Stream->WriteBuffer(d, 10);
  colorMap_->SaveToStream(Stream);
  Compress(Stream);
}

// Pixels are allocated when the first one arrives, so a frame whose data
// holds none stays empty; those the data does not reach get the fill when
// they are first asked for. Either way a frame costs about what its data holds.
void TGIFSubImage::Decompress(TStream* Stream) {
  const int fill = transparent_ && gce_ ? gce_->TransparentColorIndex() : 0;
  FreeImage();
  std::int64_t decoded = 0;
  auto fillRest = [&] {
    if (!data_.empty()) data_.FillLater(Width(), Height(), Interlaced(), decoded, std::uint8_t(fill));
  };
  try {
    GIFDecode(
        Stream, Width(), Height(), Interlaced(),
        [this] {
          NewImage(0);
          return data_.data();
        },
        image_, this, decoded);
  } catch (...) {
    fillRest();
    throw;
  }
  fillRest();
}

void TGIFSubImage::Compress(TStream* Stream) {
  int bits, colors;
  if (colorMap_->Count() == 0) {
    bits = image_ ? image_->BitsPerPixel() : 0;
    colors = 1 << bits;
  } else {
    colors = colorMap_->Count();
    bits = colorMap_->BitsPerPixel();
  }
  std::unique_ptr<TGIFEncoder> enc;
  if (image_ && image_->Compression() == gcRLE)
    enc = std::make_unique<TRLEEncoder>(image_);
  else
    enc = std::make_unique<TLZWEncoder>(image_);
  enc->Compress(Stream, bits, colors, Data(), Interlaced(), Height(), Width());
}

// ---------------------------------------------------------------------------
// Extensions

IMPLEMENT_CLASS(TGIFExtension, TGIFItem)
IMPLEMENT_CLASS(TGIFGraphicControlExtension, TGIFExtension)
IMPLEMENT_CLASS(TGIFTextExtension, TGIFExtension)
IMPLEMENT_CLASS(TGIFCommentExtension, TGIFExtension)
IMPLEMENT_CLASS(TGIFUnknownExtension, TGIFExtension)
IMPLEMENT_CLASS(TGIFApplicationExtension, TGIFExtension)
IMPLEMENT_CLASS(TGIFUnknownAppExtension, TGIFApplicationExtension)
IMPLEMENT_CLASS(TGIFAppExtNSLoop, TGIFApplicationExtension)

TGIFExtension::TGIFExtension(TGIFSubImage* Frame)
    : TGIFItem(Frame ? Frame->Image() : nullptr), frame_(Frame) {}

TGIFExtensionClass TGIFExtension::FindExtension(TStream* Stream) {
  const std::int64_t pos = Stream->Position();
  std::uint8_t label;
  TGIFExtensionClass cls = nullptr;
  if (TryReadByte(Stream, label)) {
    cls = FindExtensionClass(label);
    while (cls) {
      TGIFExtensionClass refined = cls->FindExtension(Stream);
      if (!refined || refined == cls) break;
      cls = refined;
    }
  }
  Stream->Seek(pos, soBeginning);
  return cls;
}

void TGIFExtension::LoadFromStream(TStream* Stream) {
  std::uint8_t b[2];
  ReadCheck(Stream, b, 1);
  if (b[0] != 0x21) throw GIFException("Invalid extension introducer");
  ReadCheck(Stream, b + 1, 1);
  if (b[1] != GetExtensionType())
    throw GIFException("Internal error: Extension Instance does not match Extension Label");
  LoadBody(Stream);
}

void TGIFExtension::WriteLabel(TStream* Stream) const {
  std::uint8_t b[2] = {0x21, GetExtensionType()};
  Stream->WriteBuffer(b, 2);
}

// Graphic control

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage* Frame) : TGIFExtension(Frame) {
  auto lock = LockFrames(image_);
  if (Frame && !Frame->gce_) Frame->gce_ = this;
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension() {
  auto lock = LockFrames(image_);
  if (frame_ && frame_->gce_ == this) {
    if (Transparent()) frame_->transparent_ = false;
    frame_->gce_ = nullptr;
  }
}

TGIFExtensionClass TGIFGraphicControlExtension::ExtClass() {
  static const TGIFExtensionClassInfo info{StaticClass(), 0xF9, &Make<TGIFGraphicControlExtension>,
                                           &SameClass};
  return &info;
}

void TGIFGraphicControlExtension::SetTransparent(bool Value) {
  auto lock = LockFrames(image_);
  packed_ = std::uint8_t(Value ? packed_ | 0x01 : packed_ & ~0x01);
  if (frame_ && frame_->gce_ == this) frame_->transparent_ = Value;
}

void TGIFGraphicControlExtension::SetTransparentColorIndex(int Value) {
  TGIFColorMap* map = frame_ ? frame_->ActiveColorMap() : nullptr;
  if (map && map->Count() > 0 && Value >= map->Count()) {
    Warning(gsWarning, "Invalid color index");
    Value = 0;
  }
  auto lock = LockFrames(image_);
  index_ = std::uint8_t(Value);
}

void TGIFGraphicControlExtension::LoadBody(TStream* Stream) {
  std::uint8_t b[6] = {};
  if (Stream->Read(b, 6) < 6) Warning(gsWarning, "Premature end of data");
  blockSize_ = b[0];
  packed_ = b[1];
  delay_ = std::uint16_t(Word(b + 2));
  index_ = b[4];
  if (Transparent() && frame_ && frame_->gce_ == this) frame_->transparent_ = true;
}

void TGIFGraphicControlExtension::SaveToStream(TStream* Stream) {
  WriteLabel(Stream);
  // The body is always these four bytes, whatever size was read.
  std::uint8_t b[6] = {4, packed_, std::uint8_t(delay_), std::uint8_t(delay_ >> 8), index_, 0};
  Stream->WriteBuffer(b, 6);
}

// Plain text

TGIFTextExtension::TGIFTextExtension(TGIFSubImage* Frame) : TGIFExtension(Frame) {}

TGIFExtensionClass TGIFTextExtension::ExtClass() {
  static const TGIFExtensionClassInfo info{StaticClass(), 0x01, &Make<TGIFTextExtension>, &SameClass};
  return &info;
}

void TGIFTextExtension::LoadBody(TStream* Stream) {
  std::uint8_t b[13];
  ReadCheck(Stream, b, 13);
  GridLeft = Word(b + 1);
  GridTop = Word(b + 3);
  GridWidth = Word(b + 5);
  GridHeight = Word(b + 7);
  CellWidth = b[9];
  CellHeight = b[10];
  ForegroundColorIndex = b[11];
  BackgroundColorIndex = b[12];
  ReadLines(Stream, text_);
}

void TGIFTextExtension::SaveToStream(TStream* Stream) {
  WriteLabel(Stream);
  std::uint8_t b[13] = {12,
                        std::uint8_t(GridLeft), std::uint8_t(GridLeft >> 8),
                        std::uint8_t(GridTop), std::uint8_t(GridTop >> 8),
                        std::uint8_t(GridWidth), std::uint8_t(GridWidth >> 8),
                        std::uint8_t(GridHeight), std::uint8_t(GridHeight >> 8),
                        CellWidth, CellHeight, ForegroundColorIndex, BackgroundColorIndex};
  Stream->WriteBuffer(b, 13);
  WriteLines(Stream, text_);
}

// Comment

TGIFCommentExtension::TGIFCommentExtension(TGIFSubImage* Frame) : TGIFExtension(Frame) {}

TGIFExtensionClass TGIFCommentExtension::ExtClass() {
  static const TGIFExtensionClassInfo info{StaticClass(), 0xFE, &Make<TGIFCommentExtension>, &SameClass};
  return &info;
}

void TGIFCommentExtension::LoadBody(TStream* Stream) { ReadLines(Stream, text_); }

void TGIFCommentExtension::SaveToStream(TStream* Stream) {
  WriteLabel(Stream);
  WriteLines(Stream, text_);
}

// Unknown label

TGIFUnknownExtension::TGIFUnknownExtension(TGIFSubImage* Frame) : TGIFExtension(Frame) {}

TGIFExtensionClass TGIFUnknownExtension::ExtClass() {
  static const TGIFExtensionClassInfo info{StaticClass(), 0, &Make<TGIFUnknownExtension>, &SameClass};
  return &info;
}

void TGIFUnknownExtension::LoadFromStream(TStream* Stream) {
  if (ReadByte(Stream) != 0x21) throw GIFException("Invalid extension introducer");
  label_ = ReadByte(Stream);
  Warning(gsWarning, "Unknown extension type");
  LoadBody(Stream);
}

void TGIFUnknownExtension::LoadBody(TStream* Stream) { ReadBlocks(Stream, blocks_); }

void TGIFUnknownExtension::SaveToStream(TStream* Stream) {
  WriteLabel(Stream);
  WriteBlocks(Stream, blocks_);
}

// Application

namespace {
TGIFExtensionClass RefineApplication(TStream* Stream) {
  const std::int64_t pos = Stream->Position();
  std::uint8_t size;
  char ident[11];
  if (TryReadByte(Stream, size)) {
    if (size == 11 && Stream->Read(ident, 11) == 11) {
      TGIFExtensionClass cls = FindAppExtensionClass(ident);
      return cls ? cls : TGIFUnknownAppExtension::ExtClass();
    }
    if (size == 10 && Stream->Read(ident, 10) == 10) return TGIFUnknownAppExtension::ExtClass();
  }
  Stream->Seek(pos, soBeginning);
  return TGIFApplicationExtension::ExtClass();
}
}  // namespace

TGIFApplicationExtension::TGIFApplicationExtension(TGIFSubImage* Frame) : TGIFExtension(Frame) {}

TGIFExtensionClass TGIFApplicationExtension::ExtClass() {
  static const TGIFExtensionClassInfo info{StaticClass(), 0xFF, &Make<TGIFApplicationExtension>,
                                           &RefineApplication};
  return &info;
}

TGIFExtensionClass TGIFUnknownAppExtension::ExtClass() {
  static const TGIFExtensionClassInfo info{StaticClass(), 0xFF, &Make<TGIFUnknownAppExtension>,
                                           &SameClass};
  return &info;
}

void TGIFApplicationExtension::SetIdentifier(const std::string& Value) {
  auto lock = LockFrames(image_);
  std::memset(ident_, ' ', 8);
  std::memcpy(ident_, Value.data(), std::min<std::size_t>(8, Value.size()));
}

void TGIFApplicationExtension::SetAuthentication(const std::string& Value) {
  auto lock = LockFrames(image_);
  std::memset(auth_, ' ', 3);
  std::memcpy(auth_, Value.data(), std::min<std::size_t>(3, Value.size()));
}

// Blocks of unusual size (not 11) keep all their bytes and are written back as
// read, so no byte of the file is lost or invented. Their length byte says
// where they end, so a short one is read on like any other; one of size 0 is
// its own terminator and has no data.
void TGIFApplicationExtension::LoadBody(TStream* Stream) {
  const int n = ReadByte(Stream);
  blockSize_ = n;
  std::memset(ident_, 0, 8);
  std::memset(auth_, 0, 3);
  std::uint8_t head[255];
  ReadCheck(Stream, head, n);
  std::memcpy(ident_, head, std::size_t(std::min(n, 8)));
  if (n > 8) std::memcpy(auth_, head + 8, std::size_t(std::min(n, 11) - 8));
  extraHeader_.assign(head + std::min(n, 11), head + n);
  if (n > 0) LoadData(Stream);
}

void TGIFApplicationExtension::SaveToStream(TStream* Stream) {
  WriteLabel(Stream);
  WriteByte(Stream, std::uint8_t(blockSize_));
  std::uint8_t head[255];
  std::memcpy(head, ident_, 8);
  std::memcpy(head + 8, auth_, 3);
  std::copy(extraHeader_.begin(), extraHeader_.end(), head + 11);
  Stream->WriteBuffer(head, blockSize_);
  if (blockSize_ > 0) SaveData(Stream);
}

void TGIFApplicationExtension::LoadData(TStream* Stream) { ReadBlocks(Stream, blocks_); }

void TGIFApplicationExtension::SaveData(TStream* Stream) { WriteBlocks(Stream, blocks_); }

// Looping

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage* Frame) : TGIFApplicationExtension(Frame) {
  std::memcpy(ident_, "NETSCAPE", 8);
  std::memcpy(auth_, "2.0", 3);
}

TGIFExtensionClass TGIFAppExtNSLoop::ExtClass() {
  static const TGIFExtensionClassInfo info{StaticClass(), 0xFF, &Make<TGIFAppExtNSLoop>, &SameClass};
  return &info;
}

void TGIFAppExtNSLoop::LoadData(TStream* Stream) {
  std::uint8_t n;
  std::uint8_t b[4];
  while (TryReadByte(Stream, n) && n != 0) {
    std::uint8_t id = ReadByte(Stream);
    int left = n - 1;
    if ((id & 7) == 1) {
      if (n - 1 < 2) throw GIFException("Invalid GIF data");
      ReadCheck(Stream, b, 2);
      loops_ = std::uint16_t(Word(b));
      left = n - 3;
    } else if ((id & 7) == 2) {
      if (n - 1 < 4) throw GIFException("Invalid GIF data");
      ReadCheck(Stream, b, 4);
      bufferSize_ = std::uint32_t(b[0] | (b[1] << 8) | (b[2] << 16)) | (std::uint32_t(b[3]) << 24);
      left = n - 5;
    }
    if (left > 0) Stream->Seek(left, soCurrent);
  }
}

void TGIFAppExtNSLoop::SaveData(TStream* Stream) {
  std::uint8_t b[] = {3, 1, std::uint8_t(loops_), std::uint8_t(loops_ >> 8)};
  Stream->WriteBuffer(b, 4);
  if (bufferSize_ != 0) {
    std::uint8_t c[] = {5, 2, std::uint8_t(bufferSize_), std::uint8_t(bufferSize_ >> 8),
                        std::uint8_t(bufferSize_ >> 16), std::uint8_t(bufferSize_ >> 24)};
    Stream->WriteBuffer(c, 6);
  }
  WriteByte(Stream, 0);
}
