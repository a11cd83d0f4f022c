#include "engine/backimage.h"

#include <memory>

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
    case pbmTile: {
      // A small picture over a large area would take a draw per pixel or so: it is
      // first tiled into a bitmap of at least MinTile pixels each way.
      constexpr int MinTile = 256;
      std::unique_ptr<TBitmap> tile;
      if (w < MinTile || h < MinTile) {
        TBitmap one;
        one.SetPixelFormat(pf32bit);
        one.SetSize(w, h);
        one.Canvas()->Draw(0, 0, g);
        tile = std::make_unique<TBitmap>();
        tile->SetPixelFormat(pf32bit);
        tile->SetSize(w * ((MinTile + w - 1) / w), h * ((MinTile + h - 1) / h));
        tile->Canvas()->Brush()->SetBitmap(&one);
        tile->Canvas()->FillRect({0, 0, tile->Width(), tile->Height()});
      }
      TGraphic* piece = tile ? tile.get() : g;
      for (int y = R.Top; y < R.Bottom; y += piece->Height())
        for (int x = R.Left; x < R.Right; x += piece->Width()) Canvas->Draw(x, y, piece);
      break;
    }
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
