#include "engine/backimage.h"

#include "canvas/lumcanvas.h"

IMPLEMENT_CLASS_PROPS(TBackImage, TLumPicture)

void TBackImage::Draw(TCanvas3D* Canvas, const TRect& R) {
  TGraphic* g = Empty() ? nullptr : FilteredGraphic();
  if (!Canvas || !g || R.Width() <= 0 || R.Height() <= 0) return;
  if (mode_ == pbmStretch) {
    Canvas->StretchDraw(R, g);
    return;
  }
  const int w = g->Width(), h = g->Height();
  if (w <= 0 || h <= 0) return;
  Canvas->ClipRectangle(R);
  switch (mode_) {
    case pbmTile:
      for (int y = R.Top; y < R.Bottom; y += h)
        for (int x = R.Left; x < R.Right; x += w) Canvas->Draw(x, y, g);
      break;
    case pbmCenter:
      Canvas->Draw(R.Left + (R.Width() - w) / 2, R.Top + (R.Height() - h) / 2, g);
      break;
    default:
      Canvas->Draw(R.Left + left_, R.Top + top_, g);
      break;
  }
  Canvas->UnClipRectangle();
}

void TBackImage::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TBackImage*>(Source)) {
    mode_ = src->mode_;
    left_ = src->left_;
    top_ = src->top_;
    inside_ = src->inside_;
  }
  TLumPicture::Assign(Source);
}

void TBackImage::DefineProperties(TPropertyTable& t) {
  t.Bool("Inside", &TBackImage::Inside, &TBackImage::SetInside).Default(false);
  t.Int("Left", &TBackImage::Left, &TBackImage::SetLeft).Default(0LL);
  t.Enum("Mode", &TBackImage::Mode, &TBackImage::SetMode, {"pbmStretch", "pbmTile", "pbmCenter", "pbmCustom"})
      .Default(0LL);
  t.Int("Top", &TBackImage::Top, &TBackImage::SetTop).Default(0LL);
}
