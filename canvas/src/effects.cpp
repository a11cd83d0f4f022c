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
  // Coverage of the shape, blurred. A rectangle's coverage is a product of a row
  // profile and a column profile, and so is its blur: two one-line blurs serve.
  auto profile = [&](int From, int To, int Lo, int Hi, bool Across) {
    auto line = Across ? NewBitmap(To - From, 1) : NewBitmap(1, To - From);
    TCanvas* k = line->Canvas();
    k->Brush()->SetColor(clBlack);
    k->FillRect({0, 0, line->Width(), line->Height()});
    k->Brush()->SetColor(clWhite);
    const int a = std::max(Lo, From) - From, b = std::min(Hi, To) - From;
    if (b > a) k->FillRect(Across ? TRect{a, 0, b, 1} : TRect{0, a, 1, b});
    if (radius > 0) BlurBitmap(line.get(), radius, 3);
    std::vector<int> v(size_t(To - From));
    const auto* first = static_cast<const std::uint8_t*>(line->ScanLine(0));
    const int step = Across ? 4 : BytesPerScanline(1, 32, 32);
    for (int i = 0; i < To - From; ++i) v[size_t(i)] = first[i * step];
    return v;
  };
  const std::vector<int> across = profile(work.Left, work.Right, R.Left, R.Right, true);
  const std::vector<int> down = profile(work.Top, work.Bottom, R.Top, R.Bottom, false);
  // Mix over the background of the visible part.
  auto back = Capture(Dest, out);
  const int bStride = BytesPerScanline(out.Width(), 32, 32);
  auto* bFirst = static_cast<std::uint8_t*>(back->ScanLine(0));
  const float opacity = (100 - Transparency) / (100.0f * 255 * 255);
  const float cb = GetBValue(rgb), cg = GetGValue(rgb), cr = GetRValue(rgb);
  for (int y = out.Top; y < out.Bottom; ++y) {
    const float dy = float(down[size_t(y - work.Top)]) * opacity;
    if (dy == 0) continue;
    std::uint8_t* br = bFirst + std::ptrdiff_t(y - out.Top) * bStride;
    const bool rowExcluded = Exclude && y >= Exclude->Top && y < Exclude->Bottom;
    for (int x = out.Left; x < out.Right; ++x) {
      if (rowExcluded && x >= Exclude->Left && x < Exclude->Right) continue;
      const float a = float(across[size_t(x - work.Left)]) * dy;  // 0..1
      if (a <= 0) continue;
      std::uint8_t* p = br + 4 * (x - out.Left);
      p[0] = std::uint8_t(p[0] + (cb - p[0]) * a + 0.5f);
      p[1] = std::uint8_t(p[1] + (cg - p[1]) * a + 0.5f);
      p[2] = std::uint8_t(p[2] + (cr - p[2]) * a + 0.5f);
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
