// Pictures, the picture format registry and clipboard format numbers.
#include <mutex>

#include "graphics_impl.h"
#include "platform/jpeg.h"
#include "platform/metafile.h"

namespace {

struct FileFormat {
  std::string ext;  // lower case, no dot
  std::string description;
  TGraphicClass cls;
};
struct ClipFormat {
  std::uint16_t format;
  TGraphicClass cls;
};

struct FormatRegistry {
  std::mutex lock;
  std::vector<FileFormat> files;  // latest first
  std::vector<ClipFormat> clips;
  std::vector<std::string> clipNames;
  int unitInits = 0;
};

FormatRegistry& Formats() {
  static FormatRegistry r;
  return r;
}

std::string Ext(std::string e) {
  if (!e.empty() && e[0] == '.') e.erase(0, 1);
  return LowerCase(e);
}

TGraphic* NewGraphic(TGraphicClass cls) {
  TObject* o = cls->NewInstance(nullptr);
  auto* g = dynamic_cast<TGraphic*>(o);
  if (!g) {
    delete o;
    throw EInvalidGraphic(Format("%s is not a graphic class", cls->Name));
  }
  return g;
}

bool Matches(TGraphicClass cls, TGraphicClass filter) { return !filter || cls->InheritsFrom(filter); }

}  // namespace

std::uint16_t RegisterClipboardFormat(const std::string& Name) {
  FormatRegistry& r = Formats();
  std::lock_guard<std::mutex> g(r.lock);
  for (size_t i = 0; i < r.clipNames.size(); ++i)
    if (SameText(r.clipNames[i], Name)) return std::uint16_t(0xC000 + i);
  if (r.clipNames.size() >= 0x3FFF) return 0;
  r.clipNames.push_back(Name);
  return std::uint16_t(0xC000 + r.clipNames.size() - 1);
}

void GraphicsUnitInit() {
  if (Formats().unitInits++ > 0) return;
  InstallFontSubstitutes();
  TPicture::RegisterFileFormat("bmp", "Bitmaps", TBitmap::StaticClass());
  TPicture::RegisterFileFormat("jpeg", "JPEG Image File", TJPEGImage::StaticClass());
  TPicture::RegisterFileFormat("jpg", "JPEG Image File", TJPEGImage::StaticClass());
  TPicture::RegisterClipboardFormat(CF_BITMAP, TBitmap::StaticClass());
  MetafileUnitInit();
}

void GraphicsUnitDone() {
  if (Formats().unitInits == 0 || --Formats().unitInits > 0) return;
  TPicture::UnregisterGraphicClass(TBitmap::StaticClass());
  TPicture::UnregisterGraphicClass(TJPEGImage::StaticClass());
  MetafileUnitDone();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TPicture, TPersistent)

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TPicture::Take(TGraphic* NewGraphic) {
  std::unique_ptr<TGraphic> g(NewGraphic);
  if (g) {
    g->OnChange = TNotifyEvent([this](TObject* Sender) { Changed(Sender); });
    g->OnProgress = TProgressEvent([this](TObject* Sender, TProgressStage Stage, std::uint8_t Percent, bool Redraw,
                                          const TRect& R, const std::string& Msg) {
      if (OnProgress) OnProgress(Sender, Stage, Percent, Redraw, R, Msg);
    });
  }
  graphic_ = std::move(g);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == graphic_.get() && Value) return;
  if (!Value) {
    Take(nullptr);
  } else {
    std::unique_ptr<TGraphic> copy(NewGraphic(Value->ClassType()));
    copy->Assign(Value);
    Take(copy.release());
  }
  Changed(this);
}

TBitmap* TPicture::Bitmap() {
  if (auto* b = dynamic_cast<TBitmap*>(graphic_.get())) return b;
  Take(new TBitmap());
  Changed(this);
  return static_cast<TBitmap*>(graphic_.get());
}

TIcon* TPicture::Icon() {
  if (auto* i = dynamic_cast<TIcon*>(graphic_.get())) return i;
  Take(new TIcon());
  Changed(this);
  return static_cast<TIcon*>(graphic_.get());
}

int TPicture::Width() const { return graphic_ ? graphic_->Width() : 0; }
int TPicture::Height() const { return graphic_ ? graphic_->Height() : 0; }

void TPicture::LoadFromFile(const std::string& FileName) {
  std::string ext = Ext(ExtractFileExt(FileName));
  TGraphicClass cls = GraphicClassForExtension(ext);
  if (!cls) throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", ext));
  std::unique_ptr<TGraphic> g(NewGraphic(cls));
  g->OnProgress = TProgressEvent([this](TObject* Sender, TProgressStage Stage, std::uint8_t Percent, bool Redraw,
                                        const TRect& R, const std::string& Msg) {
    if (OnProgress) OnProgress(Sender, Stage, Percent, Redraw, R, Msg);
  });
  g->LoadFromFile(FileName);
  Take(g.release());
  Changed(this);
}

void TPicture::SaveToFile(const std::string& FileName) {
  if (graphic_) graphic_->SaveToFile(FileName);
}

void TPicture::LoadFromStream(TStream* Stream) {
  std::uint8_t len = 0;
  std::string name;
  if (Stream->Read(&len, 1) == 1 && len > 0) {
    name.resize(len);
    Stream->ReadBuffer(name.data(), len);
  }
  TGraphicClass cls = name.empty() ? nullptr : GraphicClassForName(name);
  if (!cls) {  // an unknown class: the picture stays empty
    Take(nullptr);
    Changed(this);
    return;
  }
  std::unique_ptr<TGraphic> g(NewGraphic(cls));
  g->LoadFromStream(Stream);
  Take(g.release());
  Changed(this);
}

void TPicture::SaveToStream(TStream* Stream) {
  std::string name = graphic_ ? graphic_->ClassName() : std::string();
  if (name.size() > 255) name.resize(255);
  std::uint8_t len = std::uint8_t(name.size());
  Stream->WriteBuffer(&len, 1);
  if (len) Stream->WriteBuffer(name.data(), len);
  if (graphic_) graphic_->SaveToStream(Stream);
}

void TPicture::LoadFromClipboardFormat(std::uint16_t Format, THandle Data, HPALETTE APalette) {
  TGraphicClass cls = nullptr;
  {
    FormatRegistry& r = Formats();
    std::lock_guard<std::mutex> g(r.lock);
    for (const ClipFormat& c : r.clips)
      if (c.format == Format) {
        cls = c.cls;
        break;
      }
  }
  if (!cls) throw EInvalidGraphic("Unsupported clipboard format");
  std::unique_ptr<TGraphic> g(NewGraphic(cls));
  g->LoadFromClipboardFormat(Format, Data, APalette);
  Take(g.release());
  Changed(this);
}

void TPicture::SaveToClipboardFormat(std::uint16_t& Format, THandle& Data, HPALETTE& APalette) {
  if (graphic_) graphic_->SaveToClipboardFormat(Format, Data, APalette);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) SetGraphic(nullptr);
  else if (auto* p = dynamic_cast<TPicture*>(Source)) SetGraphic(p->Graphic());
  else if (auto* g = dynamic_cast<TGraphic*>(Source)) SetGraphic(g);
  else TPersistent::Assign(Source);
}

void TPicture::RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                  TGraphicClass GraphicClass) {
  if (!GraphicClass) return;
  FormatRegistry& r = Formats();
  std::lock_guard<std::mutex> g(r.lock);
  std::string ext = Ext(Extension);
  std::erase_if(r.files, [&](const FileFormat& f) { return f.ext == ext; });
  r.files.insert(r.files.begin(), {ext, Description, GraphicClass});
}

void TPicture::RegisterClipboardFormat(std::uint16_t Format, TGraphicClass GraphicClass) {
  if (!GraphicClass) return;
  FormatRegistry& r = Formats();
  std::lock_guard<std::mutex> g(r.lock);
  std::erase_if(r.clips, [&](const ClipFormat& c) { return c.format == Format; });
  r.clips.insert(r.clips.begin(), {Format, GraphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass GraphicClass) {
  if (!GraphicClass) return;
  FormatRegistry& r = Formats();
  std::lock_guard<std::mutex> g(r.lock);
  std::erase_if(r.files, [&](const FileFormat& f) { return f.cls->InheritsFrom(GraphicClass); });
  std::erase_if(r.clips, [&](const ClipFormat& c) { return c.cls->InheritsFrom(GraphicClass); });
}

bool TPicture::SupportsClipboardFormat(std::uint16_t Format) {
  FormatRegistry& r = Formats();
  std::lock_guard<std::mutex> g(r.lock);
  for (const ClipFormat& c : r.clips)
    if (c.format == Format) return true;
  return false;
}

TGraphicClass TPicture::GraphicClassForExtension(const std::string& Extension) {
  FormatRegistry& r = Formats();
  std::lock_guard<std::mutex> g(r.lock);
  std::string ext = Ext(Extension);
  for (const FileFormat& f : r.files)
    if (f.ext == ext) return f.cls;
  return nullptr;
}

TGraphicClass TPicture::GraphicClassForName(const std::string& ClassName) {
  FormatRegistry& r = Formats();
  std::lock_guard<std::mutex> g(r.lock);
  for (const FileFormat& f : r.files)
    if (SameText(f.cls->Name, ClassName)) return f.cls;
  for (const ClipFormat& c : r.clips)
    if (SameText(c.cls->Name, ClassName)) return c.cls;
  return nullptr;
}

std::string TPicture::GraphicFilter(TGraphicClass GraphicClass) {
  FormatRegistry& r = Formats();
  std::lock_guard<std::mutex> g(r.lock);
  std::string masks, entries;
  int count = 0;
  for (const FileFormat& f : r.files) {
    if (!Matches(f.cls, GraphicClass)) continue;
    std::string mask = "*." + f.ext;
    masks += (count ? ";" : "") + mask;
    entries += (count ? "|" : "") + f.description + " (" + mask + ")|" + mask;
    ++count;
  }
  if (count > 1) return "All (" + masks + ")|" + masks + "|" + entries;
  return entries;
}

std::string TPicture::GraphicExtension(TGraphicClass GraphicClass) {
  FormatRegistry& r = Formats();
  std::lock_guard<std::mutex> g(r.lock);
  for (const FileFormat& f : r.files)
    if (Matches(f.cls, GraphicClass)) return f.ext;
  return "";
}

std::string TPicture::GraphicFileMask(TGraphicClass GraphicClass) {
  FormatRegistry& r = Formats();
  std::lock_guard<std::mutex> g(r.lock);
  std::string masks;
  for (const FileFormat& f : r.files)
    if (Matches(f.cls, GraphicClass)) {
      if (!masks.empty()) masks += ';';
      masks += "*." + f.ext;
    }
  return masks;
}
