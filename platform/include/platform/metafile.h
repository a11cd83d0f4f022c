// Metafile pictures: drawing on a TMetafileCanvas records the canvas's operations
// (shapes, text with its font, pens, brushes, clips; raster operations as the
// pixels they leave); the picture plays them back on any canvas, stretched into a
// rectangle, and is written as an enhanced metafile (EMF) or a Windows metafile
// (WMF with its placeable header) from the same records.
#pragma once
#include <memory>

#include "platform/graphics.h"
#include "platform/metafile_records.h"

// Clipboard formats of the two forms: a block holding the file.
constexpr std::uint16_t CF_METAFILEPICT = 3;
constexpr std::uint16_t CF_ENHMETAFILE = 14;

class TMetafile : public TGraphic {
  DECLARE_CLASS(TMetafile, TGraphic)
public:
  TMetafile();
  ~TMetafile() override;

  bool Empty() const override;
  // The frame in pixels (96 per inch).
  int Width() const override { return pic_.Width; }
  int Height() const override { return pic_.Height; }
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  // Which form SaveToStream writes (true: EMF); loading sets it from the file.
  bool Enhanced() const { return enhanced_; }
  void SetEnhanced(bool Value) { enhanced_ = Value; }
  void Clear();

  const mf::TPicture& Records() const { return pic_; }
  void SetRecords(mf::TPicture Value);

  void Assign(TPersistent* Source) override;
  // EInvalidGraphic "Metafile is not valid" for a truncated or foreign stream; the
  // picture is then unchanged.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromClipboardFormat(std::uint16_t Format, THandle Data, HPALETTE APalette) override;
  void SaveToClipboardFormat(std::uint16_t& Format, THandle& Data, HPALETTE& APalette) override;
  // Plays the records back scaled from the frame into Rect: coordinates, pen widths
  // above one pixel and font heights scale; one-pixel pens stay one pixel.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
  mf::TPicture pic_;
  bool enhanced_ = true;
};

// A canvas that records into Metafile: the picture takes the records when the canvas
// is freed. The canvas also draws into an image of the metafile's size, so reading
// pixels back (blends, shadows) works as on a bitmap; drawing outside it is kept too.
class TMetafileCanvas : public TCanvas {
  DECLARE_CLASS(TMetafileCanvas, TCanvas)
public:
  explicit TMetafileCanvas(TMetafile* AMetafile);
  ~TMetafileCanvas() override;

private:
  TMetafile* metafile_;
  mf::TPicture pic_;
  struct Backing;
  std::unique_ptr<Backing> backing_;
};

// Whether the canvas records into a metafile (callers that rely on device clipping
// ask this: a metafile's clip is kept only as a bounding rectangle in its files).
bool CanvasRecordsMetafile(TCanvas* Canvas);

// Registers "emf" and "wmf" and the two clipboard formats; GraphicsUnitInit calls it.
void MetafileUnitInit();
void MetafileUnitDone();
