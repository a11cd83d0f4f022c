#include "platform/metafile.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "canvas_qt.h"
#include "graphics_impl.h"
#include "platform/clipbrd.h"
#include "platform/rtl.h"

IMPLEMENT_CLASS(TMetafile, TGraphic)
IMPLEMENT_CLASS(TMetafileCanvas, TCanvas)

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

bool TMetafile::Empty() const { return pic_.Records.empty() && (pic_.Width <= 0 || pic_.Height <= 0); }

void TMetafile::SetWidth(int Value) {
  if (Value == pic_.Width) return;
  pic_.Width = std::max(0, Value);
  Changed(this);
}

void TMetafile::SetHeight(int Value) {
  if (Value == pic_.Height) return;
  pic_.Height = std::max(0, Value);
  Changed(this);
}

void TMetafile::Clear() {
  pic_ = {};
  Changed(this);
}

void TMetafile::SetRecords(mf::TPicture Value) {
  pic_ = std::move(Value);
  Changed(this);
}

void TMetafile::Assign(TPersistent* Source) {
  if (auto* m = dynamic_cast<TMetafile*>(Source)) {
    pic_ = m->pic_;
    enhanced_ = m->enhanced_;
    Changed(this);
    return;
  }
  if (!Source) {
    Clear();
    return;
  }
  TGraphic::Assign(Source);
}

void TMetafile::LoadFromStream(TStream* Stream) {
  bool enhanced = true;
  mf::TPicture pic = mf::ReadMetafile(Stream, enhanced);  // raises before anything changes
  pic_ = std::move(pic);
  enhanced_ = enhanced;
  Changed(this);
}

void TMetafile::SaveToStream(TStream* Stream) {
  if (enhanced_) mf::WriteEMF(pic_, Stream);
  else mf::WriteWMF(pic_, Stream);
}

void TMetafile::SaveToClipboardFormat(std::uint16_t& Format, THandle& Data, HPALETTE& APalette) {
  TMemoryStream s;
  SaveToStream(&s);
  Format = enhanced_ ? CF_ENHMETAFILE : CF_METAFILEPICT;
  APalette = 0;
  Data = GlobalAlloc(std::size_t(s.Size()));
  if (void* p = GlobalLock(Data)) {
    std::memcpy(p, s.Memory(), std::size_t(s.Size()));
    GlobalUnlock(Data);
  }
}

void TMetafile::LoadFromClipboardFormat(std::uint16_t Format, THandle Data, HPALETTE) {
  if (Format != CF_ENHMETAFILE && Format != CF_METAFILEPICT) TGraphic::LoadFromClipboardFormat(Format, Data, 0);
  const void* p = GlobalLock(Data);
  if (!p) throw EInvalidGraphic("Metafile is not valid");
  TMemoryStream s;
  s.WriteBuffer(p, std::int64_t(GlobalSize(Data)));
  GlobalUnlock(Data);
  s.SetPosition(0);
  LoadFromStream(&s);
}

// ---------------------------------------------------------------------------
// Playback.
namespace {

struct TScale {
  double sx = 1, sy = 1;
  int ox = 0, oy = 0;
  // Played coordinates and sizes stay within 2^24 pixels: far beyond any surface,
  // and sums and spans of them fit an int whatever a hostile file holds.
  static int Near(double v) { return int(std::clamp(std::round(v), -double(1 << 24), double(1 << 24))); }
  TPoint P(const TPoint& p) const { return {Near(ox + p.X * sx), Near(oy + p.Y * sy)}; }
  int W(int w) const { return w <= 1 ? w : std::max(1, Near(w * (sx + sy) / 2)); }
};

void ApplyState(TCanvas* c, const mf::TRecord& r, const TScale& k) {
  TPen* pen = c->Pen();
  pen->SetColor(r.Pen.Color);
  pen->SetWidth(k.W(r.Pen.Width));
  pen->SetStyle(TPenStyle(std::clamp(r.Pen.Style, 0, 6)));
  pen->SetMode(TPenMode(std::clamp(r.Pen.Mode, 0, 15)));
  TBrush* brush = c->Brush();
  brush->SetBitmap(nullptr);
  brush->SetColor(r.Brush.Color);
  brush->SetStyle(TBrushStyle(std::clamp(r.Brush.Style, 0, 7)));
  c->SetBkMode(r.Opaque ? OPAQUE : TRANSPARENT);
  c->SetBkColor(r.BkColor);
}

void PlayOne(TCanvas* c, const mf::TRecord& r, const TScale& k) {
  using mf::TOp;
  std::vector<TPoint> pts(r.Points.size());
  std::transform(r.Points.begin(), r.Points.end(), pts.begin(), [&](const TPoint& p) { return k.P(p); });
  const auto need = [&](std::size_t n) { return pts.size() >= n; };
  switch (r.Op) {
    case TOp::PushClipRect:
      if (need(2)) c->PushClipRect({pts[0].X, pts[0].Y, pts[1].X, pts[1].Y});
      return;
    case TOp::PushClipPolygon: c->PushClipPolygon(pts); return;
    case TOp::PopClip: c->PopClip(); return;
    case TOp::Bitmap: {
      if (!need(2) || r.BitmapWidth <= 0 || r.BitmapHeight <= 0 ||
          r.Pixels.size() != std::size_t(r.BitmapWidth) * std::size_t(r.BitmapHeight))
        return;
      QImage img(r.BitmapWidth, r.BitmapHeight, QImage::Format_RGB32);
      for (int y = 0; y < r.BitmapHeight; ++y)
        std::memcpy(img.scanLine(y), &r.Pixels[std::size_t(y) * r.BitmapWidth], std::size_t(r.BitmapWidth) * 4);
      const TCopyMode mode = c->CopyMode();
      c->SetCopyMode(cmSrcCopy);
      CanvasDrawImage(c, {pts[0].X, pts[0].Y, pts[1].X, pts[1].Y}, img, img.rect());
      c->SetCopyMode(mode);
      return;
    }
    default: break;
  }
  ApplyState(c, r, k);
  switch (r.Op) {
    case TOp::Polyline: c->Polyline(pts); break;
    case TOp::Polygon: c->Polygon(pts); break;
    case TOp::PolyBezier: c->PolyBezier(pts); break;
    case TOp::Rectangle: if (need(2)) c->Rectangle(pts[0].X, pts[0].Y, pts[1].X, pts[1].Y); break;
    case TOp::Ellipse: if (need(2)) c->Ellipse(pts[0].X, pts[0].Y, pts[1].X, pts[1].Y); break;
    case TOp::RoundRect:
      if (need(3))
        c->RoundRect(pts[0].X, pts[0].Y, pts[1].X, pts[1].Y, TScale::Near(r.Points[2].X * k.sx),
                     TScale::Near(r.Points[2].Y * k.sy));
      break;
    case TOp::Arc:
    case TOp::Pie:
      if (!need(4)) break;
      if (r.Op == TOp::Arc) c->Arc(pts[0].X, pts[0].Y, pts[1].X, pts[1].Y, pts[2].X, pts[2].Y, pts[3].X, pts[3].Y);
      else c->Pie(pts[0].X, pts[0].Y, pts[1].X, pts[1].Y, pts[2].X, pts[2].Y, pts[3].X, pts[3].Y);
      break;
    case TOp::FillRect: if (need(2)) c->FillRect({pts[0].X, pts[0].Y, pts[1].X, pts[1].Y}); break;
    case TOp::FrameRect: if (need(2)) c->FrameRect({pts[0].X, pts[0].Y, pts[1].X, pts[1].Y}); break;
    case TOp::Text: {
      if (!need(1)) break;
      TFont* f = c->Font();
      if (!r.Font.Name.empty()) f->SetName(r.Font.Name);
      f->SetHeight(r.Font.Height == 0 ? 0 : (r.Font.Height < 0 ? -1 : 1) *
                                               int(std::clamp(std::abs(double(r.Font.Height)) * k.sy + 0.5, 1.0, 1e6)));
      f->SetStyle(r.Font.Style);
      f->SetOrientation(r.Font.Orientation);
      f->SetColor(r.Font.Color);
      c->SetTextAlign(r.TextAlign);
      if (r.TextKind == mf::tkTextRect) {
        const TPoint a = k.P({r.TextClip.Left, r.TextClip.Top}), b = k.P({r.TextClip.Right, r.TextClip.Bottom});
        c->TextRect({a.X, a.Y, b.X, b.Y}, pts[0].X, pts[0].Y, r.Text);
      } else if (r.TextKind == mf::tkOutline) {
        c->TextOutPath(pts[0].X, pts[0].Y, r.Text, r.FillText);
      } else {
        c->TextOut(pts[0].X, pts[0].Y, r.Text);
      }
      break;
    }
    default: break;
  }
}

}  // namespace

void TMetafile::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!ACanvas || pic_.Width <= 0 || pic_.Height <= 0 || Rect.Width() == 0 || Rect.Height() == 0) return;
  TScale k;
  k.sx = double(Rect.Width()) / pic_.Width;
  k.sy = double(Rect.Height()) / pic_.Height;
  k.ox = Rect.Left;
  k.oy = Rect.Top;
  // The picture's own state must not leak into the caller's canvas.
  TPen pen;
  pen.Assign(ACanvas->Pen());
  TBrush brush;
  brush.Assign(ACanvas->Brush());
  TFont font;
  font.Assign(ACanvas->Font());
  const unsigned align = ACanvas->TextAlign();
  const int depth = ACanvas->ClipDepth();
  ACanvas->PushClipRect(Rect);
  try {
    for (const mf::TRecord& r : pic_.Records) PlayOne(ACanvas, r, k);
  } catch (...) {
    while (ACanvas->ClipDepth() > depth) ACanvas->PopClip();
    throw;
  }
  while (ACanvas->ClipDepth() > depth) ACanvas->PopClip();
  ACanvas->SetPen(&pen);
  ACanvas->SetBrush(&brush);
  ACanvas->SetFont(&font);
  ACanvas->SetTextAlign(align);
}

// ---------------------------------------------------------------------------
struct TMetafileCanvas::Backing {
  QImage image;
};

TMetafileCanvas::TMetafileCanvas(TMetafile* AMetafile) : metafile_(AMetafile), backing_(std::make_unique<Backing>()) {
  pic_.Width = AMetafile ? AMetafile->Width() : 0;
  pic_.Height = AMetafile ? AMetafile->Height() : 0;
  backing_->image = QImage(std::max(1, pic_.Width), std::max(1, pic_.Height), QImage::Format_RGB32);
  backing_->image.fill(Qt::white);
  AttachCanvasToImage(this, &backing_->image);
  SetCanvasRecording(this, &pic_);
}

TMetafileCanvas::~TMetafileCanvas() {
  SetCanvasRecording(this, nullptr);
  AttachCanvasToImage(this, nullptr);
  if (metafile_) metafile_->SetRecords(std::move(pic_));
}

// ---------------------------------------------------------------------------
namespace {
int MetafileInits = 0;
}

void MetafileUnitInit() {
  if (MetafileInits++ > 0) return;
  TPicture::RegisterFileFormat("wmf", "Metafiles", TMetafile::StaticClass());
  TPicture::RegisterFileFormat("emf", "Enhanced Metafiles", TMetafile::StaticClass());
  TPicture::RegisterClipboardFormat(CF_ENHMETAFILE, TMetafile::StaticClass());
  TPicture::RegisterClipboardFormat(CF_METAFILEPICT, TMetafile::StaticClass());
}

void MetafileUnitDone() {
  if (MetafileInits == 0 || --MetafileInits > 0) return;
  TPicture::UnregisterGraphicClass(TMetafile::StaticClass());
}
