// Making a GIF smaller without changing what it shows: sorted colour tables,
// dropped redundancy, frames merged with their predecessors and trimmed.
#include <algorithm>

#include "gif/gifimage.h"

namespace {

TDisposalMethod DisposalOf(TGIFSubImage* f) {
  auto* gce = f->GraphicControlExtension();
  return gce ? gce->Disposal() : dsUnspecified;
}

bool RestoresSomething(TDisposalMethod d) { return d == dsRestoreBackground || d == dsRestorePrevious; }

TRect Intersect(const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
  if (r.Left >= r.Right || r.Top >= r.Bottom) return TRect{};
  return r;
}

bool UsesIndex(TGIFSubImage* f, int index) {
  const std::uint8_t* p = f->Data();
  if (!p) return false;
  return std::find(p, p + f->DataSize(), std::uint8_t(index)) != p + f->DataSize();
}

TGIFGraphicControlExtension* EnsureGCE(TGIFSubImage* f) {
  if (auto* gce = f->GraphicControlExtension()) return gce;
  auto* gce = new TGIFGraphicControlExtension(f);
  f->Extensions()->Add(gce);
  return gce;
}

// Gives a frame a transparent index for merging; false when none can be had.
bool MakeTransparent(TGIFImage* img, TGIFSubImage* f) {
  if (f->Transparent()) return true;
  int index = -1;
  if (f->ColorMap()->Count() > 0) {
    if (f->ColorMap()->Count() >= TGIFColorMap::MaxColors) return false;
    index = f->ColorMap()->Add(clBlack);
  } else {
    // Another global-table frame's transparent index, unless this frame shows
    // that index as a colour of its own.
    for (int i = 0; i < img->Images()->Count() && index < 0; ++i) {
      TGIFSubImage* o = img->Images()->SubImages(i);
      if (o != f && o->ColorMap()->Count() == 0 && o->Transparent() && !UsesIndex(f, o->TransparentIndex()))
        index = o->TransparentIndex();
    }
    if (index < 0) {
      if (img->GlobalColorMap()->Count() >= TGIFColorMap::MaxColors) return false;
      index = img->GlobalColorMap()->Add(clBlack);
    }
  }
  auto* gce = EnsureGCE(f);
  gce->SetTransparentColorIndex(index);
  gce->SetTransparent(true);
  return true;
}

bool SameColor(TGIFSubImage* a, int pa, TGIFSubImage* b, int pb) {
  TGIFColorMap* ma = a->ActiveColorMap();
  TGIFColorMap* mb = b->ActiveColorMap();
  if (ma == mb && pa == pb) return true;
  if (pa >= ma->Count() || pb >= mb->Count()) return false;
  return ma->Data(pa) == mb->Data(pb);
}

void MergeWith(TGIFImage* img, TGIFSubImage* later, TGIFSubImage* earlier) {
  if (later->Empty() || earlier->Empty() || RestoresSomething(DisposalOf(earlier))) return;
  const TRect r = Intersect(later->BoundsRect(), earlier->BoundsRect());
  if (r.Width() <= 0) return;
  if (!MakeTransparent(img, later)) return;
  const int tl = later->TransparentIndex();
  const int te = earlier->TransparentIndex();
  for (int y = r.Top; y < r.Bottom; ++y) {
    std::uint8_t* p = later->Scanline(y - later->Top());
    const std::uint8_t* q = earlier->Scanline(y - earlier->Top());
    for (int x = r.Left; x < r.Right; ++x) {
      const int pl = p[x - later->Left()];
      const int pe = q[x - earlier->Left()];
      if (pl == tl || pe == te) continue;
      if (SameColor(later, pl, earlier, pe)) p[x - later->Left()] = std::uint8_t(tl);
    }
  }
  later->FreeBitmap();
}

}  // namespace

void TGIFImage::Optimize(TOptimizeOptions Options, TColorReduction Reduction, TDitherMode DitherMode,
                         int ReductionBits) {
  (void)DitherMode;
  (void)ReductionBits;
  if (Empty()) return;
  StopDraw();
  const int total = std::max(1, images_->Count() * 6);
  int step = 0;
  auto tick = [&] { ProgressMsg(psRunning, ++step * 100 / total, false, "Optimizing..."); };
  ProgressMsg(psStarting, 0, false, "Optimizing...");
  try {
    if (Options & opSortColorTables) {
      if (GlobalColorMap()->Count() > 0) GlobalColorMap()->Optimize();
      for (int i = 0; i < images_->Count(); ++i) {
        TGIFSubImage* f = images_->SubImages(i);
        if (f->ColorMap()->Count() > 0) f->ColorMap()->Optimize();
        tick();
      }
    }
    if (Options & opDropRedundant) {
      for (int i = 0; i < images_->Count(); ++i) {
        TGIFSubImage* f = images_->SubImages(i);
        if (f->Transparent() && !UsesIndex(f, f->TransparentIndex())) {
          f->GraphicControlExtension()->SetTransparent(false);
        }
        tick();
      }
      for (int i = 0; i + 1 < images_->Count(); ++i) {
        TGIFSubImage* f = images_->SubImages(i);
        TGIFSubImage* next = images_->SubImages(i + 1);
        if (!RestoresSomething(DisposalOf(f)) || next->Transparent()) continue;
        const TRect r = Intersect(f->BoundsRect(), next->BoundsRect());
        if (r.Width() > 0 && r == next->BoundsRect()) f->GraphicControlExtension()->SetDisposal(dsUnspecified);
      }
    }
    if (Options & opMergeWithPrevious) {
      for (int i = images_->Count() - 1; i >= 1; --i) {
        int prev = i - 1;
        while (prev > 0 && DisposalOf(images_->SubImages(prev)) == dsRestorePrevious) --prev;
        MergeWith(this, images_->SubImages(i), images_->SubImages(prev));
        tick();
      }
    }
    if (Options & opTrimTransparent) {
      for (int i = images_->Count() - 1; i >= 0; --i) {
        TGIFSubImage* f = images_->SubImages(i);
        if (!f->Transparent() || f->Empty()) continue;
        const int delay = f->GraphicControlExtension() ? f->GraphicControlExtension()->Delay() : 0;
        f->Crop();
        if (f->Empty()) {
          if (i > 0) {
            TGIFSubImage* p = images_->SubImages(i - 1);
            if (p->Transparent()) p->GraphicControlExtension()->SetDelay(p->GraphicControlExtension()->Delay() + delay);
          }
          images_->Delete(i);
        }
        tick();
      }
    }
    if (Options & opDropRedundant) {
      const bool single = images_->Count() == 1;
      for (int i = images_->Count() - 1; i >= 0; --i) {
        TGIFSubImage* f = images_->SubImages(i);
        TGIFExtensionList* ext = f->Extensions();
        for (int j = ext->Count() - 1; j >= 0; --j) {
          TGIFExtension* e = ext->Extensions(j);
          bool drop = false;
          if (dynamic_cast<TGIFCommentExtension*>(e) || dynamic_cast<TGIFTextExtension*>(e) ||
              dynamic_cast<TGIFUnknownExtension*>(e)) {
            drop = true;
          } else if (dynamic_cast<TGIFAppExtNSLoop*>(e)) {
            drop = i > 0 || single;
          } else if (dynamic_cast<TGIFApplicationExtension*>(e)) {
            drop = true;  // unknown application data
          } else if (auto* g = dynamic_cast<TGIFGraphicControlExtension*>(e)) {
            drop = (g->Delay() == 0 || single) && !g->Transparent() && !g->UserInput() &&
                   (g->Disposal() < dsRestoreBackground || single);
          }
          if (drop) ext->Delete(j);
        }
        if (f->Empty() && ext->Count() == 0) images_->Delete(i);
        tick();
      }
    } else if ((Options & opReduceColors) && Reduction == rmGivenPalette) {
      throw GIFException("Invalid reduction method");
    }
  } catch (...) {
    ProgressMsg(psEnding, 0, true, "Optimizing...");
    throw;
  }
  FreeBitmap();
  ProgressMsg(psEnding, 100, true, "Optimizing...");
}
