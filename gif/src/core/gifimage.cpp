// The image model: colour tables, frames and the graphic class.
#include "gif/gifimage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <utility>
#include <numeric>

#include "gif/gifcoder.h"

TGIFRenderHooks GIFRenderHooks;
bool (*GIFAssignGraphicHook)(TGIFSubImage* Frame, TPersistent* Source) = nullptr;

IMPLEMENT_CLASS(TGIFColorMap, TPersistent)
IMPLEMENT_CLASS(TGIFGlobalColorMap, TGIFColorMap)
IMPLEMENT_CLASS(TGIFLocalColorMap, TGIFColorMap)
IMPLEMENT_CLASS(TGIFSubImage, TGIFItem)
IMPLEMENT_CLASS(TGIFImageList, TGIFList)
IMPLEMENT_CLASS(TGIFExtensionList, TGIFList)
IMPLEMENT_CLASS(TGIFImage, TGraphic)

std::unique_lock<std::recursive_mutex> LockFrames(const TGIFImage* Image) {
  return Image ? std::unique_lock<std::recursive_mutex>(Image->FrameLock()) : std::unique_lock<std::recursive_mutex>();
}

namespace {
TColor ToColor(const TGIFColor& c) { return RGB(c.Red, c.Green, c.Blue); }
TGIFColor FromColor(TColor c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }
}  // namespace

// ---------------------------------------------------------------------------
// Colour tables

void TGIFColorMap::Grow(int Needed) {
  if (Needed < capacity_) return;
  capacity_ = Needed <= 16 ? 16 : std::min(256, (Needed + 31) / 32 * 32);
  colors_.reserve(std::size_t(capacity_));
}

void TGIFColorMap::Clear() {
  auto lock = LockFrames(OwnerImage());
  colors_.clear();
  capacity_ = 0;
  optimized_ = false;
}

int TGIFColorMap::Add(TColor Color) {
  if (Count() >= MaxColors) throw GIFException("Color table overflow");
  {
    auto lock = LockFrames(OwnerImage());
    Grow(Count() + 1);
    colors_.push_back(FromColor(Color));
    optimized_ = false;
  }
  Changed();
  return Count() - 1;
}

int TGIFColorMap::AddUnique(TColor Color) {
  int i = IndexOf(Color);
  return i >= 0 ? i : Add(Color);
}

void TGIFColorMap::Delete(int Index) {
  if (Index < 0 || Index >= Count()) throw GIFException("Invalid color index");
  {
    auto lock = LockFrames(OwnerImage());
    colors_.erase(colors_.begin() + Index);
    optimized_ = false;
  }
  Changed();
}

int TGIFColorMap::IndexOf(TColor Color) const {
  const TGIFColor c = FromColor(Color);
  if (optimized_) {
    for (int i = 0; i < Count(); ++i)
      if (colors_[std::size_t(i)] == c) return i;
  } else {
    for (int i = Count() - 1; i >= 0; --i)
      if (colors_[std::size_t(i)] == c) return i;
  }
  return -1;
}

TColor TGIFColorMap::Colors(int Index) {
  if (Index < 0 || Index >= Count()) {
    Warning(gsWarning, "Invalid color index");
    if (Count() == 0) throw GIFException("Color table is empty");
    Index = 0;
  }
  return ToColor(colors_[std::size_t(Index)]);
}

void TGIFColorMap::SetColors(int Index, TColor Color) {
  if (Index < 0 || Index >= Count()) throw GIFException("Invalid color index");
  {
    auto lock = LockFrames(OwnerImage());
    colors_[std::size_t(Index)] = FromColor(Color);
  }
  Changed();
}

void TGIFColorMap::ImportRGB(const std::uint8_t* Quads, int Count) {
  {
    auto lock = LockFrames(OwnerImage());
    Clear();
    Count = std::min(Count, MaxColors);
    Grow(Count);
    for (int i = 0; i < Count; ++i) colors_.push_back({Quads[4 * i + 2], Quads[4 * i + 1], Quads[4 * i]});
  }
  Changed();
}

int TGIFColorMap::BitsPerPixel() const {
  if (colors_.empty()) return 0;
  int b = 1;
  while ((1 << b) < Count()) ++b;
  return b;
}

void TGIFColorMap::Assign(TPersistent* Source) {
  if (auto* m = dynamic_cast<TGIFColorMap*>(Source)) {
    {
      auto lock = LockFrames(OwnerImage());
      colors_ = m->colors_;
      capacity_ = m->capacity_;
      optimized_ = m->optimized_;
    }
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TGIFColorMap::LoadFromStream(TStream* Stream, int Count) {
  std::uint8_t buf[3 * MaxColors];
  Count = std::min(Count, MaxColors);
  ReadCheck(Stream, buf, 3 * Count);
  auto lock = LockFrames(OwnerImage());
  Clear();
  Grow(Count);
  for (int i = 0; i < Count; ++i) colors_.push_back({buf[3 * i], buf[3 * i + 1], buf[3 * i + 2]});
}

void TGIFColorMap::SaveToStream(TStream* Stream) const {
  if (colors_.empty()) return;
  std::uint8_t buf[3 * MaxColors] = {};
  for (int i = 0; i < Count(); ++i) {
    buf[3 * i] = colors_[std::size_t(i)].Red;
    buf[3 * i + 1] = colors_[std::size_t(i)].Green;
    buf[3 * i + 2] = colors_[std::size_t(i)].Blue;
  }
  Stream->WriteBuffer(buf, 3 * (1 << BitsPerPixel()));
}

void TGIFColorMap::CountFrame(TGIFSubImage* Frame, std::array<std::int64_t, 256>& Counts) {
  const std::uint8_t* p = Frame->Data();
  if (!p) return;
  for (std::int64_t i = 0, n = Frame->DataSize(); i < n; ++i) ++Counts[p[i]];
}

void TGIFColorMap::MapFrame(TGIFSubImage* Frame, const std::array<std::uint8_t, 256>& Map) {
  auto lock = LockFrames(Frame->Image());
  if (std::uint8_t* p = Frame->Data())
    for (std::int64_t i = 0, n = Frame->DataSize(); i < n; ++i) p[i] = Map[p[i]];
  if (Frame->Transparent() && Frame->GraphicControlExtension()) {
    // Set directly: an index whose entry was dropped as unused stays as it is mapped.
    auto* gce = Frame->GraphicControlExtension();
    gce->index_ = Map[gce->index_];
  }
  Frame->FreeBitmap();
}

void TGIFColorMap::Optimize() {
  if (Count() <= 1) return;
  optimized_ = true;
  std::array<std::int64_t, 256> counts{};
  BuildHistogram(counts);
  const int n = Count();
  std::vector<int> order(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  // Pixel values beyond the table were counted in their own slots and are ignored here.
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return counts[a] > counts[b]; });
  bool changed = false;
  for (int i = 0; i < n; ++i) changed |= order[std::size_t(i)] != i;
  if (!changed) return;
  std::array<std::uint8_t, 256> map;
  for (int i = 0; i < 256; ++i) map[std::size_t(i)] = std::uint8_t(i);  // beyond the table: unchanged
  for (int i = 0; i < n; ++i) map[std::size_t(order[std::size_t(i)])] = std::uint8_t(i);
  std::vector<TGIFColor> sorted(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) sorted[std::size_t(i)] = colors_[std::size_t(order[std::size_t(i)])];
  int used = n;
  while (used > 0 && counts[std::size_t(order[std::size_t(used - 1)])] == 0) --used;
  sorted.resize(std::size_t(std::max(used, 1)));
  {
    auto lock = LockFrames(OwnerImage());
    colors_ = std::move(sorted);
    MapImages(map);
  }
  Changed();
}

// Global table

void TGIFGlobalColorMap::Warning(TGIFSeverity Severity, const std::string& Message) {
  if (header_) header_->Warning(Severity, Message);
}

TGIFImage* TGIFGlobalColorMap::OwnerImage() const { return header_ ? header_->Image() : nullptr; }

void TGIFGlobalColorMap::Changed() {
  if (header_ && header_->Image()) header_->Image()->SetPalette(0);
}

void TGIFGlobalColorMap::Optimize() {
  TGIFImage* img = header_ ? header_->Image() : nullptr;
  if (!img || img->Images()->Count() == 0) return;
  TGIFColorMap::Optimize();
}

void TGIFGlobalColorMap::BuildHistogram(std::array<std::int64_t, 256>& Counts) {
  TGIFImage* img = header_->Image();
  for (int i = 0; i < img->Images()->Count(); ++i) {
    TGIFSubImage* f = img->Images()->SubImages(i);
    if (f->ActiveColorMap() == this) CountFrame(f, Counts);
  }
}

void TGIFGlobalColorMap::MapImages(const std::array<std::uint8_t, 256>& Map) {
  TGIFImage* img = header_->Image();
  // Frames were chosen before the table shrank, so test "uses no local table".
  for (int i = 0; i < img->Images()->Count(); ++i) {
    TGIFSubImage* f = img->Images()->SubImages(i);
    if (f->ColorMap()->Count() == 0) MapFrame(f, Map);
  }
}

// Local table

void TGIFLocalColorMap::Warning(TGIFSeverity Severity, const std::string& Message) {
  if (frame_) frame_->Warning(Severity, Message);
}

TGIFImage* TGIFLocalColorMap::OwnerImage() const { return frame_ ? frame_->Image() : nullptr; }

void TGIFLocalColorMap::Changed() {
  if (frame_) frame_->FreeBitmap();
}

void TGIFLocalColorMap::BuildHistogram(std::array<std::int64_t, 256>& Counts) { CountFrame(frame_, Counts); }

void TGIFLocalColorMap::MapImages(const std::array<std::uint8_t, 256>& Map) { MapFrame(frame_, Map); }

// ---------------------------------------------------------------------------
// Frames

TGIFSubImage::TGIFSubImage(TGIFImage* Image)
    : TGIFItem(Image),
      colorMap_(std::make_unique<TGIFLocalColorMap>(this)),
      extensions_(std::make_unique<TGIFExtensionList>(this)) {}

TGIFSubImage::~TGIFSubImage() {
  extensions_->Clear();
  FreeImage();
}

TGIFVersion TGIFSubImage::GetVersion() const {
  return colorMap_->Optimized() || extensions_->Count() > 0 ? gv89a : gv87a;
}

void TGIFSubImage::Clear() {
  auto lock = LockFrames(image_);
  extensions_->Clear();
  colorMap_->Clear();
  FreeImage();
  descriptor_.Width = descriptor_.Height = 0;
  transparent_ = false;
  gce_ = nullptr;
  FreeBitmap();
}

TGIFPixels::TGIFPixels(std::size_t Count) {
  if (Count == 0) return;
  p_.reset(static_cast<std::uint8_t*>(std::calloc(Count, 1)));
  if (!p_) throw std::bad_alloc();
  n_ = Count;
}

void TGIFPixels::TFree::operator()(std::uint8_t* p) const { std::free(p); }

TGIFPixels& TGIFPixels::operator=(TGIFPixels&& Other) noexcept {
  p_ = std::move(Other.p_);
  n_ = std::exchange(Other.n_, 0);
  fill_ = Other.fill_;
  pending_.store(Other.pending_.exchange(false));
  return *this;
}

void TGIFPixels::FillLater(int Width, int Height, bool Interlaced, std::int64_t Done, std::uint8_t Fill) {
  fill_ = {Width, Height, Interlaced, Done, Fill};
  pending_.store(Fill != 0 && Done < std::int64_t(n_), std::memory_order_release);
}

void TGIFPixels::ApplyFill() const {
  static std::mutex lock;  // fills are rare; one lock serves all frames
  std::lock_guard<std::mutex> hold(lock);
  if (!pending_.load(std::memory_order_relaxed)) return;
  GIFFillRest(p_.get(), fill_.Width, fill_.Height, fill_.Interlaced, fill_.Done, fill_.Fill);
  pending_.store(false, std::memory_order_release);
}

bool TGIFSubImage::Empty() const { return data_.empty() || Width() == 0 || Height() == 0; }

void TGIFSubImage::AccountPixels(std::int64_t Delta) {
  if (image_) image_->pixelTotal_ += Delta;
}

void TGIFSubImage::FreeImage() {
  auto lock = LockFrames(image_);
  AccountPixels(-DataSize());
  data_ = TGIFPixels();
}

void TGIFSubImage::CheckPixelCaps(std::int64_t Held) const {
  const std::int64_t n = std::int64_t(Width()) * Height();
  if (n > GIFMaxFramePixels)
    throw GIFException(Format("Frame of %d x %d pixels is larger than this program accepts", Width(), Height()));
  if (Held + n > GIFMaxImagePixels)
    throw GIFException("The frames of this image hold more pixels than this program accepts");
}

void TGIFSubImage::NewImage(std::uint8_t Fill) {
  FreeImage();
  const std::int64_t n = std::int64_t(Width()) * Height();
  if (n <= 0) return;
  CheckPixelCaps(image_ ? image_->PixelTotal() : 0);
  auto lock = LockFrames(image_);
  data_ = TGIFPixels(std::size_t(n));
  if (Fill != 0) std::memset(data_.data(), Fill, std::size_t(n));
  AccountPixels(n);
}

void TGIFSubImage::SetInterlaced(bool Value) {
  auto lock = LockFrames(image_);
  descriptor_.PackedFields = std::uint8_t(Value ? descriptor_.PackedFields | 0x40 : descriptor_.PackedFields & ~0x40);
}

void TGIFSubImage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool resized = AWidth != Width() || AHeight != Height();
  {
    // Not held for the warnings below: their handlers may wait for a painter.
    auto lock = LockFrames(image_);
    descriptor_.Left = ALeft;
    descriptor_.Top = ATop;
    descriptor_.Width = AWidth;
    descriptor_.Height = AHeight;
    if (resized) {
      FreeBitmap();
      NewImage(0);
    }
  }
  if (!image_) return;
  bool warned = false;
  if (ALeft + AWidth > image_->Width()) {
    if (image_->Width() > 0) Warning(gsWarning, "Image width too small for contained frames");
    image_->header_->SetWidth(ALeft + AWidth);
    warned = true;
  }
  if (ATop + AHeight > image_->Height()) {
    if (image_->Height() > 0) Warning(gsWarning, "Image height too small for contained frames");
    image_->header_->SetHeight(ATop + AHeight);
    warned = true;
  }
  if (warned) Warning(gsWarning, "Image exceeds Logical Screen size");
}

std::uint8_t* TGIFSubImage::Scanline(int Row) {
  if (data_.empty()) throw GIFException("Image is empty");
  if (Row < 0 || Row >= Height()) throw GIFException("Invalid pixel coordinates");
  return data_.data() + std::int64_t(Row) * Width();
}

std::uint8_t TGIFSubImage::Pixels(int X, int Y) {
  if (X < 0 || X >= Width()) throw GIFException("Invalid pixel coordinates");
  return Scanline(Y)[X];
}

void TGIFSubImage::SetPixels(int X, int Y, std::uint8_t Value) {
  if (X < 0 || X >= Width()) throw GIFException("Invalid pixel coordinates");
  auto lock = LockFrames(image_);
  Scanline(Y)[X] = Value;
}

TGIFColorMap* TGIFSubImage::ActiveColorMap() const {
  if (colorMap_->Count() > 0) return colorMap_.get();
  if (image_ && image_->GlobalColorMap()->Count() > 0) return image_->GlobalColorMap();
  return colorMap_.get();
}

int TGIFSubImage::TransparentIndex() const {
  return transparent_ && gce_ ? gce_->TransparentColorIndex() : -1;
}

void TGIFSubImage::Crop() {
  if (!transparent_ || Empty()) return;
  const int t = TransparentIndex();
  const int w = Width(), h = Height();
  int x0 = w, x1 = -1, y0 = h, y1 = -1;
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* p = data_.data() + std::int64_t(y) * w;
    for (int x = 0; x < w; ++x) {
      if (p[x] == t) continue;
      x0 = std::min(x0, x);
      x1 = std::max(x1, x);
      y0 = std::min(y0, y);
      y1 = std::max(y1, y);
    }
  }
  if (x1 < 0) {
    Clear();
    return;
  }
  const int nw = x1 - x0 + 1, nh = y1 - y0 + 1;
  if (nw == w && nh == h) return;
  auto lock = LockFrames(image_);
  TGIFPixels cut(std::size_t(nw) * std::size_t(nh));
  for (int y = 0; y < nh; ++y)
    std::memcpy(cut.data() + std::size_t(y) * nw, data_.data() + std::int64_t(y + y0) * w + x0, std::size_t(nw));
  AccountPixels(std::int64_t(cut.size()) - DataSize());
  data_ = std::move(cut);
  descriptor_.Left += x0;
  descriptor_.Top += y0;
  descriptor_.Width = nw;
  descriptor_.Height = nh;
  FreeBitmap();
}

void TGIFSubImage::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    Clear();
    return;
  }
  if (auto* src = dynamic_cast<TGIFSubImage*>(Source)) {
    {
      // The extensions below may warn: their handlers run without the lock.
      auto lock = LockFrames(image_);
      Clear();
      if (src->Empty()) return;
      descriptor_ = src->descriptor_;
      transparent_ = src->transparent_;
      NewImage(0);
      std::memcpy(data_.data(), src->data_.data(), data_.size());
    }
    colorMap_->Assign(src->colorMap_.get());
    if (src->extensions_->Count() > 0) {
      TMemoryStream mem;
      src->extensions_->SaveToStream(&mem);
      std::uint8_t sep = 0x2C;
      mem.WriteBuffer(&sep, 1);
      mem.SetPosition(0);
      extensions_->LoadFromStream(&mem);
    }
    return;
  }
  if (GIFAssignGraphicHook && GIFAssignGraphicHook(this, Source)) return;
  TGIFItem::Assign(Source);
}

// ---------------------------------------------------------------------------
// Image

TGIFImage::TGIFImage()
    : header_(std::make_unique<TGIFHeader>(this)), images_(std::make_unique<TGIFImageList>(this)) {}

TGIFImage::~TGIFImage() {
  StopDraw();
  images_->Clear();
  FreeBitmap();
}

void TGIFImage::StopDraw() {
  if (GIFRenderHooks.StopDraw) GIFRenderHooks.StopDraw(this);
}

void TGIFImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  // Rendering lives in the drawing library, which fills the hook; without it
  // the picture draws nothing.
  if (GIFRenderHooks.Draw) GIFRenderHooks.Draw(this, ACanvas, Rect);
}

void TGIFImage::LoadFromClipboardFormat(std::uint16_t Format, THandle Data, HPALETTE APalette) {
  if (GIFRenderHooks.LoadFromClipboardFormat) GIFRenderHooks.LoadFromClipboardFormat(this, Format, Data, APalette);
  else TGraphic::LoadFromClipboardFormat(Format, Data, APalette);
}

void TGIFImage::SaveToClipboardFormat(std::uint16_t& Format, THandle& Data, HPALETTE& APalette) {
  if (GIFRenderHooks.SaveToClipboardFormat) GIFRenderHooks.SaveToClipboardFormat(this, Format, Data, APalette);
  else TGraphic::SaveToClipboardFormat(Format, Data, APalette);
}

void TGIFImage::Warning(TObject* Sender, TGIFSeverity Severity, const std::string& Message) {
  if (OnWarning) OnWarning(Sender, Severity, Message);
}

void TGIFImage::ProgressMsg(TProgressStage Stage, int Percent, bool RedrawNow, const std::string& Msg) {
  Progress(this, Stage, std::uint8_t(std::clamp(Percent, 0, 100)), RedrawNow, TRect{}, Msg);
}

void TGIFImage::Clear() {
  StopDraw();
  FreeBitmap();
  images_->Clear();
  header_->Clear();
  SetPalette(0);
}

void TGIFImage::SetPalette(HPALETTE Value) {
  if (Value == palette_) return;
  palette_ = Value;
  if (RenderCache) {
    FreeBitmap();
    PaletteModified = true;
    Changed(this);
  }
}

void TGIFImage::SetWidth(int Value) { SetScreenSize(Value, true); }
void TGIFImage::SetHeight(int Value) { SetScreenSize(Value, false); }

void TGIFImage::SetScreenSize(int Value, bool Horizontal) {
  for (int i = 0; i < images_->Count(); ++i) {
    TGIFSubImage* f = images_->SubImages(i);
    if ((Horizontal ? f->Left() + f->Width() : f->Top() + f->Height()) > Value)
      throw GIFException(Horizontal ? "Image width too small for contained frames"
                                    : "Image height too small for contained frames");
  }
  if (Value != (Horizontal ? header_->Width() : header_->Height())) {
    Horizontal ? header_->SetWidth(Value) : header_->SetHeight(Value);
    FreeBitmap();
    Changed(this);
  }
}

TGIFVersion TGIFImage::GetVersion() const {
  TGIFVersion v = gvUnknown;
  for (int i = 0; i < images_->Count() && v != gv89a; ++i) v = std::max(v, images_->SubImages(i)->GetVersion());
  return v;
}

int TGIFImage::BitsPerPixel() const {
  int b = header_->BitsPerPixel();
  for (int i = 0; i < images_->Count(); ++i) b = std::max(b, images_->SubImages(i)->ColorMap()->BitsPerPixel());
  return b;
}

void TGIFImage::UpdateScreenSize() {
  for (int i = 0; i < images_->Count(); ++i) {
    TGIFSubImage* f = images_->SubImages(i);
    header_->SetWidth(std::max(header_->Width(), f->Left() + f->Width()));
    header_->SetHeight(std::max(header_->Height(), f->Top() + f->Height()));
  }
}

void TGIFImage::LoadFromStream(TStream* Stream) {
  ProgressMsg(psStarting, 0, false, "Loading...");
  try {
    Clear();
    header_->LoadFromStream(Stream);
    images_->LoadFromStream(Stream);
    UpdateScreenSize();
    TGIFTrailer(this).LoadFromStream(Stream);
  } catch (...) {
    ProgressMsg(psEnding, 0, true, "Loading...");
    throw;
  }
  ProgressMsg(psEnding, 100, true, "Loading...");
}

void TGIFImage::SaveToStream(TStream* Stream) {
  ProgressMsg(psStarting, 0, false, "Saving...");
  try {
    header_->SaveToStream(Stream);
    images_->SaveToStream(Stream);
    TGIFTrailer(this).SaveToStream(Stream);
  } catch (...) {
    ProgressMsg(psEnding, 0, true, "Saving...");
    throw;
  }
  ProgressMsg(psEnding, 100, true, "Saving...");
}

void TGIFImage::SaveToFile(const std::string& FileName) {
  GIFSaveToFile(FileName, [this](TStream* s) { SaveToStream(s); });
}

int TGIFImage::Add(TPersistent* Source) {
  TGIFSubImage* frame;
  if (auto* f = dynamic_cast<TGIFSubImage*>(Source)) {
    frame = f;
  } else if (dynamic_cast<TGraphic*>(Source)) {
    frame = new TGIFSubImage(this);
    try {
      frame->Assign(Source);
    } catch (...) {
      delete frame;
      throw;
    }
  } else {
    throw GIFException("Object type not supported for operation");
  }
  int i = images_->Add(frame);
  FreeBitmap();
  Changed(this);
  return i;
}

void TGIFImage::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    Clear();
    return;
  }
  auto* src = dynamic_cast<TGIFImage*>(Source);
  if (!src) {
    if (!dynamic_cast<TGraphic*>(Source)) {
      TGraphic::Assign(Source);
      return;
    }
    Clear();
    Add(Source);
    return;
  }
  Clear();
  // The source's handlers report the copy; our own progress handler comes back
  // afterwards and the source's warning handler stays, as the copy asks.
  TProgressEvent ownProgress = OnProgress;
  OnProgress = src->OnProgress;
  OnWarning = src->OnWarning;
  try {
    ProgressMsg(psStarting, 0, false, "Copying...");
    header_->Assign(src->header_.get());
    threadPriority_ = src->threadPriority_;
    backgroundColor_ = src->backgroundColor_;
    drawOptions_ = src->drawOptions_.load();
    colorReduction_ = src->colorReduction_;
    ditherMode_ = src->ditherMode_;
    visibleFrame_ = src->visibleFrame_;
    OnAnimationStart = src->OnAnimationStart;
    OnFramePaint = src->OnFramePaint;
    OnAfterFramePaint = src->OnAfterFramePaint;
    OnAnimationLoop = src->OnAnimationLoop;
    OnAnimationEnd = src->OnAnimationEnd;
    const int n = src->images_->Count();
    for (int i = 0; i < n; ++i) {
      auto* f = new TGIFSubImage(this);
      images_->Add(f);
      f->Assign(src->images_->SubImages(i));
      ProgressMsg(psRunning, (i + 1) * 100 / n, false, "Copying...");
    }
    UpdateScreenSize();
    ProgressMsg(psEnding, 100, true, "Copying...");
  } catch (...) {
    ProgressMsg(psEnding, 0, true, "Copying...");
    OnProgress = ownProgress;
    throw;
  }
  OnProgress = ownProgress;
}
