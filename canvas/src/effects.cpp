// Drawing effects: shadows, emboss and blending. They read back what is on the canvas,
// mix in memory and draw the result, so they work on any platform canvas and honour
// its clip.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "canvas/attributes.h"
#include "canvas/lumcanvas.h"
#include "canvas_internal.h"

IMPLEMENT_CLASS(TLumEmboss, TLumShadow)

using canvas_internal::Normalized;

bool SmallDotsSupported = true;
static_assert(int(esRound) == int(pecRound) && int(esSquare) == int(pecSquare) && int(esFlat) == int(pecFlat));

namespace {

TRect Intersect(const TRect& A, const TRect& B) {
  return {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
}
bool IsEmpty(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }
TRect Inflated(const TRect& R, int D) { return {R.Left - D, R.Top - D, R.Right + D, R.Bottom + D}; }

std::unique_ptr<TBitmap> NewBitmap(int W, int H) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(W, H);
  return b;
}

// The pixels of Area of Source (Area inside its image).
std::unique_ptr<TBitmap> Capture(TCanvas* Source, const TRect& Area) {
  auto b = NewBitmap(Area.Width(), Area.Height());
  TCanvas* c = b->Canvas();
  c->SetCopyMode(cmSrcCopy);
  c->CopyRect({0, 0, Area.Width(), Area.Height()}, Source, Area);
  return b;
}

void PutBack(TCanvas* Dest, TBitmap* Pixels, const TRect& Area) {
  const TCopyMode mode = Dest->CopyMode();
  Dest->SetCopyMode(cmSrcCopy);
  Dest->Draw(Area.Left, Area.Top, Pixels);
  Dest->SetCopyMode(mode);
}

// R in Colour over what is on Dest, Transparency percent of that showing; Blur as
// TLumShadow's SmoothBlur when Smooth (0: sharp edges); nothing inside Exclude.
void PaintSoftRect(TCanvas* Dest, TRect R, TColor Colour, int Transparency, bool Smooth, int Blur,
                   const TRect* Exclude) {
  if (Transparency >= 100 || IsEmpty(R)) return;
  // Three box passes of a third of the blur each: the soft edge reaches about |Blur|
  // pixels (reach) each way from the shape's edge.
  const int radius = Smooth ? std::max(1, (std::min(std::abs(Blur), 1 << 28) + 1) / 3) : 0;
  const int reach = 3 * radius;
  if (Smooth && Blur < 0) R = Inflated(R, -reach);  // the soft edge inside
  if (IsEmpty(R)) return;
  const TColor rgb = ColorToRGB(Colour);
  if (radius == 0 && !Exclude) {
    if (Transparency == 0) {
      canvas_internal::BrushSaver keep(Dest);
      Dest->Brush()->SetBitmap(nullptr);
      Dest->Brush()->SetColor(rgb);
      Dest->Brush()->SetStyle(bsSolid);
      Dest->FillRect(R);
    } else {
      auto one = NewBitmap(1, 1);
      one->Canvas()->SetPixels(0, 0, rgb);
      Dest->DrawOpacity(R, one.get(), (100 - Transparency) / 100.0);
    }
    return;
  }
  // What can be seen, and the margin the blur reads beyond it (no wider than it).
  const TRect visible = Dest->ClipRect();
  if (IsEmpty(visible)) return;
  const TRect out = Intersect(Inflated(R, reach), visible);
  if (IsEmpty(out)) return;
  const int margin = std::min(reach, std::max(visible.Width(), visible.Height()));
  const TRect work = Intersect(Inflated(R, reach), Inflated(out, margin));
  // Coverage of the shape, blurred.
  auto mask = NewBitmap(work.Width(), work.Height());
  {
    TCanvas* m = mask->Canvas();
    m->Brush()->SetColor(clBlack);
    m->FillRect({0, 0, work.Width(), work.Height()});
    m->Brush()->SetColor(clWhite);
    const TRect in = Intersect(R, work);
    m->FillRect({in.Left - work.Left, in.Top - work.Top, in.Right - work.Left, in.Bottom - work.Top});
  }
  if (radius > 0) BlurBitmap(mask.get(), radius, 3);
  // Mix over the background of the visible part.
  auto back = Capture(Dest, out);
  const int mStride = BytesPerScanline(work.Width(), 32, 32), bStride = BytesPerScanline(out.Width(), 32, 32);
  const auto* mFirst = static_cast<const std::uint8_t*>(mask->ScanLine(0));
  auto* bFirst = static_cast<std::uint8_t*>(back->ScanLine(0));
  const int opacity = 100 - Transparency;  // percent
  const int cb = GetBValue(rgb), cg = GetGValue(rgb), cr = GetRValue(rgb);
  for (int y = out.Top; y < out.Bottom; ++y) {
    const std::uint8_t* mr = mFirst + std::ptrdiff_t(y - work.Top) * mStride;
    std::uint8_t* br = bFirst + std::ptrdiff_t(y - out.Top) * bStride;
    for (int x = out.Left; x < out.Right; ++x) {
      if (Exclude && x >= Exclude->Left && x < Exclude->Right && y >= Exclude->Top && y < Exclude->Bottom) continue;
      const int a = mr[4 * (x - work.Left)] * opacity;  // of 25500
      if (a == 0) continue;
      std::uint8_t* p = br + 4 * (x - out.Left);
      p[0] = std::uint8_t((p[0] * (25500 - a) + cb * a + 12750) / 25500);
      p[1] = std::uint8_t((p[1] * (25500 - a) + cg * a + 12750) / 25500);
      p[2] = std::uint8_t((p[2] * (25500 - a) + cr * a + 12750) / 25500);
    }
  }
  PutBack(Dest, back.get(), out);
}

TRect Moved(const TRect& R, int DX, int DY) { return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY}; }

}  // namespace

// ---------------------------------------------------------------------------
void TLumShadow::Draw(TLumCanvas* Canvas, const TRect& Rect) {
  TCanvas* dest = Canvas ? Canvas->ReferenceCanvas() : nullptr;
  if (!dest) return;
  const TRect r = Normalized(Rect);
  PaintSoftRect(dest, Moved(r, horizSize_, vertSize_), color_, transparency_, smooth_, smoothBlur_,
                clip_ ? &r : nullptr);
}

TColor TLumEmboss::LightColor() const {
  return canvas_internal::Blend(clWhite, Color(), 25);
}

void TLumEmboss::Draw(TLumCanvas* Canvas, const TRect& Rect) {
  TCanvas* dest = Canvas ? Canvas->ReferenceCanvas() : nullptr;
  if (!dest) return;
  const TRect r = Normalized(Rect);
  const TRect* exclude = Clip() ? &r : nullptr;
  PaintSoftRect(dest, Moved(r, -HorizSize(), -VertSize()), LightColor(), Transparency(), Smooth(), SmoothBlur(),
                exclude);
  PaintSoftRect(dest, Moved(r, HorizSize(), VertSize()), Color(), Transparency(), Smooth(), SmoothBlur(), exclude);
}

// ---------------------------------------------------------------------------
std::unique_ptr<TPen> CreateSmallDotsPen(TColor AColor, TChartPen* APen) {
  auto p = std::make_unique<TPen>();
  p->SetColor(AColor);
  p->SetStyle(psDot);
  if (APen) {
    p->SetWidth(APen->Width());
    p->SetEndCap(TPenEndCap(APen->EndStyle()));
    p->SetMode(APen->Mode());
  }
  p->SetDashPattern({1, std::max(0, APen ? APen->SmallSpace() : 0) + 1});
  return p;
}

// ---------------------------------------------------------------------------
TLumBlend::TLumBlend(TLumCanvas* ACanvas, const TRect& R) : canvas_(ACanvas) {
  if (canvas_) canvas_->blends_.push_back(this);
  SetRectangle(R);
}

TLumBlend::~TLumBlend() {
  if (canvas_) std::erase(canvas_->blends_, this);
}

void TLumBlend::SetRectangle(const TRect& R) {
  pixels_.reset();
  source_ = canvas_ ? canvas_->ReferenceCanvas() : nullptr;
  if (!source_) return;
  rect_ = Intersect(Normalized(R), source_->ClipRect());
  if (!IsEmpty(rect_)) pixels_ = Capture(source_, rect_);
}

void TLumBlend::DoBlend(int Transparency) {
  if (!canvas_ || !pixels_ || canvas_->ReferenceCanvas() != source_) return;
  const TRect area = Intersect(rect_, source_->ClipRect());  // what still exists
  if (IsEmpty(area)) return;
  const double keep = std::clamp(Transparency, 0, 100) / 100.0;
  if (area.Left == rect_.Left && area.Top == rect_.Top && area.Right == rect_.Right && area.Bottom == rect_.Bottom)
    return source_->DrawOpacity(area, pixels_.get(), keep);
  auto part = Capture(pixels_->Canvas(), Moved(area, -rect_.Left, -rect_.Top));
  source_->DrawOpacity(area, part.get(), keep);
}

void TLumBlend::Forget() { pixels_.reset(); }

TLumBlend* TLumCanvas::BeginBlending(const TRect& R, int Transparency) {
  auto* b = new TLumBlend(this, R);
  b->transparency_ = std::clamp(Transparency, 0, 100);
  return b;
}

void TLumCanvas::EndBlending(TLumBlend* Blend) {
  if (!Blend) return;
  Blend->DoBlend(Blend->transparency_);
  delete Blend;
}
