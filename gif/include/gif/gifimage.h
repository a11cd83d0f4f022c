// The GIF picture in memory: the graphic class, its header, frames, extensions,
// colour tables and the lists that own them, with their stream readers and writers.
#pragma once
#include <array>
#include <atomic>
#include <functional>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "gif/giftypes.h"

class TGIFHeader;
class TGIFExtension;
class TGIFGraphicControlExtension;

// Whatever the rendering library keeps per frame or per image (bitmaps, masks,
// palettes): the core only frees it when the pixels, bounds or colours change.
class TGIFRenderCache {
public:
  virtual ~TGIFRenderCache() = default;
};

// Holds the frame lock of Image (TGIFImage::FrameLock) for one change of its
// frames; holds nothing without an image.
std::unique_lock<std::recursive_mutex> LockFrames(const TGIFImage* Image);

// ---------------------------------------------------------------------------
class TGIFColorMap : public TPersistent {
  DECLARE_CLASS(TGIFColorMap, TPersistent)
public:
  static constexpr int MaxColors = 256;

  int Count() const { return int(colors_.size()); }
  int Capacity() const { return capacity_; }
  bool Optimized() const { return optimized_; }
  void SetOptimized(bool Value) {
    auto lock = LockFrames(OwnerImage());
    optimized_ = Value;
  }
  const TGIFColor& Data(int Index) const { return colors_[std::size_t(Index)]; }
  const std::vector<TGIFColor>& Entries() const { return colors_; }

  void Clear();
  int Add(TColor Color);
  int AddUnique(TColor Color);
  void Delete(int Index);
  int IndexOf(TColor Color) const;
  TColor Colors(int Index);
  void SetColors(int Index, TColor Color);
  // Entries from RGB quads (blue, green, red, reserved), at most 256.
  void ImportRGB(const std::uint8_t* Quads, int Count);
  // Smallest b with 2^b not below the count; 1 for up to 2 entries, 0 when empty.
  int BitsPerPixel() const;
  void Assign(TPersistent* Source) override;

  void LoadFromStream(TStream* Stream, int Count);
  // Writes the entries padded with black up to 2^BitsPerPixel.
  void SaveToStream(TStream* Stream) const;

  // Sorts the entries by use, drops unused trailing ones and remaps the pixels.
  virtual void Optimize();
  virtual void Changed() {}
  virtual void Warning(TGIFSeverity Severity, const std::string& Message) = 0;

protected:
  // The image whose frames use this table: its changes take that image's frame lock.
  virtual TGIFImage* OwnerImage() const = 0;
  // Pixel counts per index over the frames that use this table; values beyond
  // the table are ignored.
  virtual void BuildHistogram(std::array<std::int64_t, 256>& Counts) = 0;
  // Rewrites the pixels of those frames through Map (256 entries).
  virtual void MapImages(const std::array<std::uint8_t, 256>& Map) = 0;
  static void MapFrame(TGIFSubImage* Frame, const std::array<std::uint8_t, 256>& Map);
  static void CountFrame(TGIFSubImage* Frame, std::array<std::int64_t, 256>& Counts);

private:
  void Grow(int Needed);
  std::vector<TGIFColor> colors_;
  int capacity_ = 0;
  bool optimized_ = false;
};

class TGIFGlobalColorMap : public TGIFColorMap {
  DECLARE_CLASS(TGIFGlobalColorMap, TGIFColorMap)
public:
  explicit TGIFGlobalColorMap(TGIFHeader* Header) : header_(Header) {}
  void Optimize() override;
  void Changed() override;
  void Warning(TGIFSeverity Severity, const std::string& Message) override;

protected:
  TGIFImage* OwnerImage() const override;
  void BuildHistogram(std::array<std::int64_t, 256>& Counts) override;
  void MapImages(const std::array<std::uint8_t, 256>& Map) override;

private:
  TGIFHeader* header_;
};

class TGIFLocalColorMap : public TGIFColorMap {
  DECLARE_CLASS(TGIFLocalColorMap, TGIFColorMap)
public:
  explicit TGIFLocalColorMap(TGIFSubImage* Frame) : frame_(Frame) {}
  void Changed() override;
  void Warning(TGIFSeverity Severity, const std::string& Message) override;

protected:
  TGIFImage* OwnerImage() const override;
  void BuildHistogram(std::array<std::int64_t, 256>& Counts) override;
  void MapImages(const std::array<std::uint8_t, 256>& Map) override;

private:
  TGIFSubImage* frame_;
};

// ---------------------------------------------------------------------------
class TGIFItem : public TPersistent {
  DECLARE_CLASS(TGIFItem, TPersistent)
public:
  explicit TGIFItem(TGIFImage* Image) : image_(Image) {}
  TGIFImage* Image() const { return image_; }
  virtual TGIFVersion GetVersion() const { return gv87a; }
  virtual void Warning(TGIFSeverity Severity, const std::string& Message);
  virtual void SaveToStream(TStream* Stream) = 0;
  virtual void LoadFromStream(TStream* Stream) = 0;
  // A failed save removes the file it had begun.
  virtual void SaveToFile(const std::string& FileName);
  virtual void LoadFromFile(const std::string& FileName);

protected:
  TGIFImage* image_;
};

class TGIFList : public TPersistent {
  DECLARE_CLASS(TGIFList, TPersistent)
public:
  explicit TGIFList(TGIFImage* Image) : image_(Image) {}
  ~TGIFList() override;
  TGIFImage* Image() const { return image_; }
  int Count() const { return int(items_.size()); }
  TGIFItem* Items(int Index) const;
  int Add(TGIFItem* Item);
  void Insert(int Index, TGIFItem* Item);
  void Delete(int Index);                 // frees the item
  int Remove(TGIFItem* Item);             // without freeing
  int IndexOf(const TGIFItem* Item) const;
  void Clear();
  virtual void Warning(TGIFSeverity Severity, const std::string& Message);
  virtual void SaveToStream(TStream* Stream);
  virtual void LoadFromStream(TStream* Stream) = 0;

protected:
  std::vector<TGIFItem*> items_;
  TGIFImage* image_;
};

// ---------------------------------------------------------------------------
class TGIFHeader : public TGIFItem {
  DECLARE_CLASS(TGIFHeader, TGIFItem)
public:
  explicit TGIFHeader(TGIFImage* Image);
  ~TGIFHeader() override;
  TGIFVersion GetVersion() const override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromStream(TStream* Stream) override;
  void Clear();
  void Assign(TPersistent* Source) override;
  // Recomputes the packed byte from the tables (done before writing).
  void Prepare();

  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetWidth(int Value) { width_ = Value; }
  void SetHeight(int Value) { height_ = Value; }
  std::uint8_t PackedFields() const { return packed_; }
  std::uint8_t BackgroundColorIndex() const { return background_; }
  void SetBackgroundColorIndex(std::uint8_t Value) { background_ = Value; }
  std::uint8_t AspectRatio() const { return aspect_; }
  void SetAspectRatio(std::uint8_t Value) { aspect_ = Value; }
  TColor BackgroundColor();
  TGIFGlobalColorMap* ColorMap() const { return colorMap_.get(); }
  int BitsPerPixel() const { return colorMap_->BitsPerPixel(); }
  int ColorResolution() const { return BitsPerPixel() - 1; }

private:
  int width_ = 0, height_ = 0;
  std::uint8_t packed_ = 0, background_ = 0, aspect_ = 0;
  std::unique_ptr<TGIFGlobalColorMap> colorMap_;
};

class TGIFTrailer : public TGIFItem {
  DECLARE_CLASS(TGIFTrailer, TGIFItem)
public:
  using TGIFItem::TGIFItem;
  void SaveToStream(TStream* Stream) override;
  void LoadFromStream(TStream* Stream) override;
};

// ---------------------------------------------------------------------------
struct TImageDescriptor {
  std::uint8_t Separator = 0x2C;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  std::uint8_t PackedFields = 0;
};

class TGIFExtensionList : public TGIFList {
  DECLARE_CLASS(TGIFExtensionList, TGIFList)
public:
  explicit TGIFExtensionList(TGIFSubImage* Frame);
  TGIFSubImage* Frame() const { return frame_; }
  TGIFExtension* Extensions(int Index) const;
  // Reads the extensions in front of an image descriptor.
  void LoadFromStream(TStream* Stream) override;

private:
  TGIFSubImage* frame_;
};

// A frame's pixel storage. It starts zeroed without being written: large
// blocks come from fresh pages, which take no memory until a pixel is stored
// in them, so a frame whose data holds a few pixels costs about what it holds.
// For the same reason the fill of the pixels a frame's data did not reach is
// written only when the pixels are first asked for (from any thread).
class TGIFPixels {
public:
  TGIFPixels() = default;
  explicit TGIFPixels(std::size_t Count);  // zeroed; std::bad_alloc when refused
  TGIFPixels(TGIFPixels&& Other) noexcept { *this = std::move(Other); }
  TGIFPixels& operator=(TGIFPixels&& Other) noexcept;
  std::uint8_t* data() { return Ready(); }
  const std::uint8_t* data() const { return Ready(); }
  std::size_t size() const { return n_; }
  bool empty() const { return n_ == 0; }
  // The pixels after the first Done of a Width x Height frame's walk (rows in
  // interlace order when Interlaced) are Fill.
  void FillLater(int Width, int Height, bool Interlaced, std::int64_t Done, std::uint8_t Fill);

private:
  struct TFree {
    void operator()(std::uint8_t* p) const;
  };
  struct TPendingFill {
    int Width = 0, Height = 0;
    bool Interlaced = false;
    std::int64_t Done = 0;
    std::uint8_t Fill = 0;
  };
  std::uint8_t* Ready() const {
    if (pending_.load(std::memory_order_acquire)) ApplyFill();
    return p_.get();
  }
  void ApplyFill() const;
  std::unique_ptr<std::uint8_t[], TFree> p_;
  std::size_t n_ = 0;
  TPendingFill fill_;
  mutable std::atomic<bool> pending_{false};
};

class TGIFSubImage : public TGIFItem {
  DECLARE_CLASS(TGIFSubImage, TGIFItem)
public:
  explicit TGIFSubImage(TGIFImage* Image);
  ~TGIFSubImage() override;
  TGIFVersion GetVersion() const override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromStream(TStream* Stream) override;
  void Assign(TPersistent* Source) override;

  void Clear();
  bool Empty() const;
  int Left() const { return descriptor_.Left; }
  int Top() const { return descriptor_.Top; }
  int Width() const { return descriptor_.Width; }
  int Height() const { return descriptor_.Height; }
  void SetLeft(int Value) { SetBounds(Value, Top(), Width(), Height()); }
  void SetTop(int Value) { SetBounds(Left(), Value, Width(), Height()); }
  void SetWidth(int Value) { SetBounds(Left(), Top(), Value, Height()); }
  void SetHeight(int Value) { SetBounds(Left(), Top(), Width(), Value); }
  TRect BoundsRect() const { return Bounds(Left(), Top(), Width(), Height()); }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  const TImageDescriptor& Descriptor() const { return descriptor_; }
  bool Interlaced() const { return (descriptor_.PackedFields & 0x40) != 0; }
  void SetInterlaced(bool Value);

  // Pixel data: Width x Height colour indexes, rows from the top. Writing them
  // while the image animates: hold LockFrames(Image()) and free the bitmap.
  std::uint8_t* Data() { return data_.empty() ? nullptr : data_.data(); }
  const std::uint8_t* Data() const { return data_.empty() ? nullptr : data_.data(); }
  std::int64_t DataSize() const { return std::int64_t(data_.size()); }
  std::uint8_t* Scanline(int Row);
  std::uint8_t Pixels(int X, int Y);
  void SetPixels(int X, int Y, std::uint8_t Value);
  // Allocates Width x Height pixels filled with Fill (GIFException beyond the caps).
  void NewImage(std::uint8_t Fill = 0);
  // Raises the caps' exceptions when this frame's size, added to Held pixels, is beyond them.
  void CheckPixelCaps(std::int64_t Held) const;
  void FreeImage();

  TGIFLocalColorMap* ColorMap() const { return colorMap_.get(); }
  TGIFColorMap* ActiveColorMap() const;
  TGIFExtensionList* Extensions() const { return extensions_.get(); }
  TGIFGraphicControlExtension* GraphicControlExtension() const { return gce_; }
  bool Transparent() const { return transparent_; }
  int TransparentIndex() const;  // -1 when not transparent
  void Crop();

  void Decompress(TStream* Stream);
  void Compress(TStream* Stream);

  // Rendering's per-frame data (bitmap, mask, palette) and the mask-needed flag.
  std::unique_ptr<TGIFRenderCache> RenderCache;
  bool NeedMask = true;
  void FreeBitmap() {
    auto lock = LockFrames(image_);
    RenderCache.reset();
    NeedMask = true;
  }

private:
  friend class TGIFGraphicControlExtension;
  void AccountPixels(std::int64_t Delta);
  TImageDescriptor descriptor_;
  TGIFPixels data_;
  std::unique_ptr<TGIFLocalColorMap> colorMap_;
  std::unique_ptr<TGIFExtensionList> extensions_;
  TGIFGraphicControlExtension* gce_ = nullptr;
  bool transparent_ = false;
};

class TGIFImageList : public TGIFList {
  DECLARE_CLASS(TGIFImageList, TGIFList)
public:
  using TGIFList::TGIFList;
  TGIFSubImage* SubImages(int Index) const { return static_cast<TGIFSubImage*>(Items(Index)); }
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // Counts a frame read by this load against the caps by its declared size,
  // whether or not its data fills it, so that a small file cannot claim much.
  void CountLoadedFrame(const TGIFSubImage* Frame);

private:
  std::int64_t loadedPixels_ = 0;
};

// ---------------------------------------------------------------------------
class TGIFExtension;
// A class reference for extensions: how to make one and how it refines itself
// from the bytes of the stream.
struct TGIFExtensionClassInfo {
  TClass Class;
  std::uint8_t Label;
  TGIFExtension* (*Create)(TGIFSubImage* Frame);
  // Answers the class that should read the extension at the stream's position
  // (behind the label); itself when it needs no refinement.
  const TGIFExtensionClassInfo* (*FindExtension)(TStream* Stream);
};
using TGIFExtensionClass = const TGIFExtensionClassInfo*;

class TGIFExtension : public TGIFItem {
  DECLARE_CLASS(TGIFExtension, TGIFItem)
public:
  explicit TGIFExtension(TGIFSubImage* Frame);
  TGIFSubImage* Frame() const { return frame_; }
  TGIFVersion GetVersion() const override { return gv89a; }
  virtual std::uint8_t GetExtensionType() const = 0;
  // Reads the introducer and label and checks them; then LoadBody.
  void LoadFromStream(TStream* Stream) override;
  // Finds the class for the extension whose label is at the stream's position.
  static TGIFExtensionClass FindExtension(TStream* Stream);

protected:
  virtual void LoadBody(TStream* Stream) = 0;
  void WriteLabel(TStream* Stream) const;
  TGIFSubImage* frame_;
};

class TGIFGraphicControlExtension : public TGIFExtension {
  DECLARE_CLASS(TGIFGraphicControlExtension, TGIFExtension)
public:
  explicit TGIFGraphicControlExtension(TGIFSubImage* Frame);
  ~TGIFGraphicControlExtension() override;
  static TGIFExtensionClass ExtClass();
  std::uint8_t GetExtensionType() const override { return 0xF9; }
  void SaveToStream(TStream* Stream) override;

  TDisposalMethod Disposal() const { return TDisposalMethod((packed_ & 0x1C) >> 2); }
  void SetDisposal(TDisposalMethod Value) {
    auto lock = LockFrames(Image());
    packed_ = std::uint8_t((packed_ & ~0x1C) | ((Value & 7) << 2));
  }
  bool UserInput() const { return (packed_ & 0x02) != 0; }
  void SetUserInput(bool Value) {
    auto lock = LockFrames(Image());
    packed_ = std::uint8_t(Value ? packed_ | 0x02 : packed_ & ~0x02);
  }
  bool Transparent() const { return (packed_ & 0x01) != 0; }
  void SetTransparent(bool Value);
  int Delay() const { return delay_; }
  void SetDelay(int Value) {
    auto lock = LockFrames(Image());
    delay_ = std::uint16_t(Value);
  }
  std::uint8_t TransparentColorIndex() const { return index_; }
  void SetTransparentColorIndex(int Value);
  std::uint8_t PackedFields() const { return packed_; }

protected:
  void LoadBody(TStream* Stream) override;

private:
  friend class TGIFColorMap;
  std::uint8_t blockSize_ = 4, packed_ = 0, index_ = 0;
  std::uint16_t delay_ = 0;
};

// Text and comment extensions hold their text as lines, one per data sub-block.
class TGIFTextExtension : public TGIFExtension {
  DECLARE_CLASS(TGIFTextExtension, TGIFExtension)
public:
  explicit TGIFTextExtension(TGIFSubImage* Frame);
  static TGIFExtensionClass ExtClass();
  std::uint8_t GetExtensionType() const override { return 0x01; }
  void SaveToStream(TStream* Stream) override;
  TStringList* Text() { return &text_; }

  int GridLeft = 0, GridTop = 0, GridWidth = 0, GridHeight = 0;
  std::uint8_t CellWidth = 0, CellHeight = 0, ForegroundColorIndex = 0, BackgroundColorIndex = 0;

protected:
  void LoadBody(TStream* Stream) override;

private:
  TStringList text_;
};

class TGIFCommentExtension : public TGIFExtension {
  DECLARE_CLASS(TGIFCommentExtension, TGIFExtension)
public:
  explicit TGIFCommentExtension(TGIFSubImage* Frame);
  static TGIFExtensionClass ExtClass();
  std::uint8_t GetExtensionType() const override { return 0xFE; }
  void SaveToStream(TStream* Stream) override;
  TStringList* Text() { return &text_; }

protected:
  void LoadBody(TStream* Stream) override;

private:
  TStringList text_;
};

// One data sub-block as read.
struct TGIFBlock {
  std::vector<std::uint8_t> Data;
  int Size() const { return int(Data.size()); }
};

// An extension whose label no registered class knows: its label and data
// sub-blocks are kept as read so that saving writes it back unchanged.
class TGIFUnknownExtension : public TGIFExtension {
  DECLARE_CLASS(TGIFUnknownExtension, TGIFExtension)
public:
  explicit TGIFUnknownExtension(TGIFSubImage* Frame);
  static TGIFExtensionClass ExtClass();
  std::uint8_t GetExtensionType() const override { return label_; }
  // Reads any label (warning "Unknown extension type") and skips the sub-blocks.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  std::vector<TGIFBlock>& Blocks() { return blocks_; }

protected:
  void LoadBody(TStream* Stream) override;

private:
  std::uint8_t label_ = 0;
  std::vector<TGIFBlock> blocks_;
};

class TGIFApplicationExtension : public TGIFExtension {
  DECLARE_CLASS(TGIFApplicationExtension, TGIFExtension)
public:
  explicit TGIFApplicationExtension(TGIFSubImage* Frame);
  static TGIFExtensionClass ExtClass();
  std::uint8_t GetExtensionType() const override { return 0xFF; }
  void SaveToStream(TStream* Stream) override;
  // 8 bytes plus 3 bytes, space-free as stored.
  std::string Identifier() const { return std::string(ident_, 8); }
  std::string Authentication() const { return std::string(auth_, 3); }
  void SetIdentifier(const std::string& Value);
  void SetAuthentication(const std::string& Value);
  // Block size as read (11 normally); blocks of other sizes keep their bytes
  // (identifier and code hold the first 11 of them) and are written back as read.
  int BlockSize() const { return blockSize_; }
  // Data sub-blocks kept as read for classes that do not interpret them.
  std::vector<TGIFBlock>& Blocks() { return blocks_; }

protected:
  void LoadBody(TStream* Stream) override;
  virtual void SaveData(TStream* Stream);
  virtual void LoadData(TStream* Stream);

  char ident_[8] = {};
  char auth_[3] = {};

private:
  int blockSize_ = 11;
  std::vector<std::uint8_t> extraHeader_;  // bytes of a block longer than 11
  std::vector<TGIFBlock> blocks_;
};

class TGIFUnknownAppExtension : public TGIFApplicationExtension {
  DECLARE_CLASS(TGIFUnknownAppExtension, TGIFApplicationExtension)
public:
  using TGIFApplicationExtension::TGIFApplicationExtension;
  static TGIFExtensionClass ExtClass();
};

// The looping extension: how often an animation repeats (0: forever).
class TGIFAppExtNSLoop : public TGIFApplicationExtension {
  DECLARE_CLASS(TGIFAppExtNSLoop, TGIFApplicationExtension)
public:
  explicit TGIFAppExtNSLoop(TGIFSubImage* Frame);
  static TGIFExtensionClass ExtClass();
  int Loops() const { return loops_; }
  // A painter reads the count under the frame lock when it reaches this frame.
  void SetLoops(int Value) {
    auto lock = LockFrames(Image());
    loops_ = std::uint16_t(Value);
  }
  std::uint32_t BufferSize() const { return bufferSize_; }
  void SetBufferSize(std::uint32_t Value) {
    auto lock = LockFrames(Image());
    bufferSize_ = Value;
  }

protected:
  void SaveData(TStream* Stream) override;
  void LoadData(TStream* Stream) override;

private:
  std::uint16_t loops_ = 0;
  std::uint32_t bufferSize_ = 0;
};

// Registries searched from the last entry: labels to classes, and 11-byte
// application identifiers to classes.
void RegisterExtension(std::uint8_t Label, TGIFExtensionClass Class);
TGIFExtensionClass FindExtensionClass(std::uint8_t Label);
void RegisterAppExtension(const std::string& Ident11, TGIFExtensionClass Class);
TGIFExtensionClass FindAppExtensionClass(const char* Ident11);

// ---------------------------------------------------------------------------
// Hooks the rendering library fills; null hooks do nothing.
struct TGIFRenderHooks {
  void (*Draw)(TGIFImage* Image, TCanvas* Canvas, const TRect& Rect) = nullptr;
  void (*StopDraw)(TGIFImage* Image) = nullptr;             // stop and wait for painters
  void (*BuildBitmap)(TGIFSubImage* Frame) = nullptr;       // CreateBitmapOnLoad
  // The clipboard operations of the image; without them the graphic's defaults.
  void (*LoadFromClipboardFormat)(TGIFImage* Image, std::uint16_t Format, THandle Data,
                                  HPALETTE APalette) = nullptr;
  void (*SaveToClipboardFormat)(TGIFImage* Image, std::uint16_t& Format, THandle& Data,
                                HPALETTE& APalette) = nullptr;
};
extern TGIFRenderHooks GIFRenderHooks;
// Colour reduction fills this to turn any other graphic into a frame; answers
// false for a source it does not know.
extern bool (*GIFAssignGraphicHook)(TGIFSubImage* Frame, TPersistent* Source);

class TGIFImage : public TGraphic {
  DECLARE_CLASS(TGIFImage, TGraphic)
public:
  TGIFImage();
  ~TGIFImage() override;

  bool Empty() const override { return images_->Count() == 0; }
  int Width() const override { return header_->Width(); }
  int Height() const override { return header_->Height(); }
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  HPALETTE Palette() const override { return palette_; }
  void SetPalette(HPALETTE Value) override;
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void SaveToFile(const std::string& FileName) override;
  bool Equals(TGraphic* Graphic) override { return Graphic == this; }
  void Assign(TPersistent* Source) override;
  // Drawing belongs to the rendering library: this calls GIFRenderHooks.Draw.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void LoadFromClipboardFormat(std::uint16_t Format, THandle Data, HPALETTE APalette) override;
  void SaveToClipboardFormat(std::uint16_t& Format, THandle& Data, HPALETTE& APalette) override;

  void Clear();
  int Add(TPersistent* Source);
  virtual void Warning(TObject* Sender, TGIFSeverity Severity, const std::string& Message);
  TGIFVersion GetVersion() const;
  int BitsPerPixel() const;
  int ColorResolution() const { return BitsPerPixel() - 1; }
  TColor BackgroundColor() const { return backgroundColor_; }
  void SetBackgroundColor(TColor Value) { backgroundColor_ = Value; }
  void Optimize(TOptimizeOptions Options, TColorReduction Reduction, TDitherMode DitherMode,
                int ReductionBits);
  void UpdateScreenSize();
  void StopDraw();

  TGIFImageList* Images() const { return images_.get(); }
  TGIFHeader* Header() const { return header_.get(); }
  TGIFGlobalColorMap* GlobalColorMap() const { return header_->ColorMap(); }

  TFrameDrawOptions DrawOptions() const { return drawOptions_; }  // painter threads read it too
  void SetDrawOptions(TFrameDrawOptions Value) { drawOptions_ = Value; }
  TColorReduction ColorReduction() const { return colorReduction_; }
  void SetColorReduction(TColorReduction Value) { colorReduction_ = Value; }
  int ReductionBits() const { return reductionBits_; }
  void SetReductionBits(int Value) { reductionBits_ = Value; }
  TDitherMode DitherMode() const { return ditherMode_; }
  void SetDitherMode(TDitherMode Value) { ditherMode_ = Value; }
  TGIFCompression Compression() const { return compression_; }
  void SetCompression(TGIFCompression Value) { compression_ = Value; }
  int ThreadPriority() const { return threadPriority_; }
  void SetThreadPriority(int Value) { threadPriority_ = Value; }
  int AnimationSpeed() const { return animationSpeed_; }
  void SetAnimationSpeed(int Value) { animationSpeed_ = Value; }
  int VisibleFrame() const { return visibleFrame_; }
  void SetVisibleFrame(int Value) { visibleFrame_ = Value; }

  TGIFWarning OnWarning;
  TNotifyEvent OnAnimationStart, OnFramePaint, OnAfterFramePaint, OnAnimationLoop, OnAnimationEnd;

  // Rendering's per-image data (cached bitmap, palette flags).
  std::unique_ptr<TGIFRenderCache> RenderCache;
  bool PaletteModified = false;
  void FreeBitmap() { RenderCache.reset(); }
  // Rendering's painters and drawing state: unlike RenderCache it lives as long
  // as the image (the hook StopDraw ends the painters before it goes).
  std::unique_ptr<TGIFRenderCache> PainterState;

  // Pixels held by all frames, for the allocation cap.
  std::int64_t PixelTotal() const { return pixelTotal_; }

  // Painter threads read the frames (pixels, colour tables, bounds, extensions,
  // the frame list) and build the frames' bitmaps under this lock; every change
  // of them takes it as well. Taken after the painter list's lock, never held
  // while waiting for a painter or calling out to handlers.
  std::recursive_mutex& FrameLock() const { return frameLock_; }

  void ProgressMsg(TProgressStage Stage, int Percent, bool RedrawNow, const std::string& Msg);

private:
  friend class TGIFSubImage;
  void SetScreenSize(int Value, bool Horizontal);
  mutable std::recursive_mutex frameLock_;  // first in, last out: the frames' destructors take it
  std::unique_ptr<TGIFHeader> header_;
  std::unique_ptr<TGIFImageList> images_;
  HPALETTE palette_ = 0;
  std::atomic<TFrameDrawOptions> drawOptions_{GIFDefaultDrawOptions};
  TColorReduction colorReduction_ = rmWeb216;
  int reductionBits_ = 8;
  TDitherMode ditherMode_ = dmNearest;
  TGIFCompression compression_ = gcLZW;
  int threadPriority_ = GIFDefaultThreadPriority;
  int animationSpeed_ = 100;
  int visibleFrame_ = -1;
  TColor backgroundColor_ = clNone;
  std::int64_t pixelTotal_ = 0;
};

// Saves through a memory stream so that a failed save never leaves a partial file.
void GIFSaveToFile(const std::string& FileName, const std::function<void(TStream*)>& Save);
