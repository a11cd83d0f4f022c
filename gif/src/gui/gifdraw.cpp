// The image's Draw: one frame, or an animation painter that draws into the
// image's cached bitmap; starting, stopping and joining painters.
#include <algorithm>
#include <unordered_set>

#include "gif/gifunit.h"
#include "render_impl.h"

namespace {

// Runs the main thread's queued calls until Done; a real wait between them.
template <class F>
void WaitOnMainThread(F&& Done) {
  while (!Done()) {
    if (IsMainThread()) CheckSynchronize(10);
    else Sleep(1);
  }
}

bool InList(TImagePainters& State, TGIFPainter* Painter) {
  TListOf<TGIFPainter*>* list = State.Painters.LockList();
  bool in = list->IndexOf(Painter) >= 0;
  State.Painters.UnlockList();
  return in;
}

void StopDrawPainter(TGIFImage* Image) {
  TImagePainters& state = PaintersOf(Image);
  if (TGIFPainter* p = state.DrawPainter) {
    p->Stop();
    WaitOnMainThread([&] { return !InList(state, p); });
  }
  ReapPainters(Image);
  Image->FreeBitmap();
}

// A colour that no frame's table holds, clNone when every candidate is taken.
TColor FreeColor(TGIFImage* Image) {
  std::unordered_set<TColor> used;
  auto add = [&](const TGIFColorMap* Map) {
    for (const TGIFColor& c : Map->Entries()) used.insert(RGB(c.Red, c.Green, c.Blue));
  };
  add(Image->GlobalColorMap());
  for (int i = 0; i < Image->Images()->Count(); ++i) add(Image->Images()->SubImages(i)->ColorMap());
  for (int k = 0; k < 0x10000; ++k)
    if (TColor c = RGB(0xFE, k & 0xFF, k >> 8); !used.count(c)) return c;
  return clNone;
}

// What the painter starts from. A canvas of a control may hold nothing of what
// lies behind it (the control is composed over its parent), so the picture's
// own background is a colour of its own that drawing leaves out; without a
// free colour (or on a palette display) the canvas's pixels are copied.
void PrepareBackground(TGIFImage* Image, TBitmap* Bitmap, TCanvas* ACanvas, const TRect& R) {
  const TRect area = Rect(0, 0, Bitmap->Width(), Bitmap->Height());
  TColor key = PaletteDisplay ? clNone : FreeColor(Image);
  if (key == clNone) {
    Bitmap->Canvas()->CopyRect(area, ACanvas, R);
    return;
  }
  Bitmap->Canvas()->Brush()->SetColor(key);
  Bitmap->Canvas()->FillRect(area);
  Bitmap->SetTransparentColor(key);
  Bitmap->SetTransparent(true);
}

void DrawCachedBitmap(TGIFImage* Image, TCanvas* ACanvas, const TRect& R) {
  TBitmap* bitmap = Bitmap(Image);
  if (!bitmap) return;
  if (!(Image->DrawOptions() & fdTile)) {
    ACanvas->StretchDraw(R, bitmap);
    return;
  }
  const int w = Image->Width(), h = Image->Height();
  ForEachTile(R.Left, R.Top, w, h, R, [&](int x, int y) { ACanvas->StretchDraw(Bounds(x, y, w, h), bitmap); });
}

void DrawHook(TGIFImage* Image, TCanvas* ACanvas, const TRect& R) {
  TImagePainters& state = PaintersOf(Image);
  if (state.Drawing || Image->Images()->Count() == 0 || !ACanvas) return;
  state.Drawing = true;
  struct Done {
    bool& Flag;
    ~Done() { Flag = false; }
  } done{state.Drawing};

  ReapPainters(Image);
  if (state.Pending) {  // a painter's run failed: the error surfaces here, on the main thread
    std::exception_ptr e = state.Pending;
    state.Pending = nullptr;
    std::rethrow_exception(e);
  }

  const TFrameDrawOptions options = Image->DrawOptions();
  if (Image->Images()->Count() > 1 && (options & fdAnimate)) {
    auto* cache = static_cast<TImageRender*>(Image->RenderCache.get());
    if (cache && cache->Bitmap && !(options & fdDirectPaint)) {
      DrawCachedBitmap(Image, ACanvas, R);
      return;
    }
    state.Painters.LockList();
    struct Unlock {
      TImagePainters& S;
      ~Unlock() { S.Painters.UnlockList(); }
    } unlock{state};
    if (TGIFPainter* p = state.DrawPainter; p && p->Canvas() == ACanvas && p->Rect() == R) return;
    StopDrawPainter(Image);

    TCanvas* target = ACanvas;
    TRect area = R;
    std::shared_ptr<TBitmap> bitmap;
    if (!(options & fdDirectPaint)) {
      bitmap = NewPaintingBitmap(Image);
      area = Rect(0, 0, Image->Width(), Image->Height());
      PrepareBackground(Image, bitmap.get(), ACanvas, R);
      StoreImageBitmap(Image, bitmap);
      target = bitmap->Canvas();
    }
    TGIFPainter* painter = CreatePainter(Image, &state.DrawPainter, target, options, area);
    if (painter) {
      painter->KeepTarget(bitmap);
      painter->Start();
      if (!(options & fdDirectPaint))
        WaitOnMainThread([&] { return painter->Painted() || painter->Terminated() || painter->Detached(); });
    }
    if (!(options & fdDirectPaint)) DrawCachedBitmap(Image, ACanvas, R);
    return;
  }

  int index = Image->VisibleFrame();
  if (index < 0 || index >= Image->Images()->Count()) index = 0;
  Draw(Image->Images()->SubImages(index), ACanvas, R, (options & fdTile) != 0, (options & fdTransparent) != 0);
}

void StopDrawHook(TGIFImage* Image) { StopDraw(Image); }

void BuildBitmapHook(TGIFSubImage* Frame) { GetBitmap(Frame); }

}  // namespace

void ReapPainters(TGIFImage* Image) {
  TImagePainters& state = PaintersOf(Image);
  std::vector<TGIFPainter*> done;
  state.Painters.LockList();
  done.swap(state.Finished);
  state.Painters.UnlockList();
  for (TGIFPainter* p : done) {
    if (!p->Suspended()) p->WaitFor();
    if (!state.Pending) state.Pending = p->PendingException();
    delete p;  // joins the thread
  }
}

TGIFPainter* DrawPainter(TGIFImage* Image) { return PaintersOf(Image).DrawPainter; }

int PainterCount(TGIFImage* Image) {
  TImagePainters& state = PaintersOf(Image);
  int n = state.Painters.LockList()->Count();
  state.Painters.UnlockList();
  return n;
}

TGIFPainter* CreatePainter(TGIFImage* Image, TGIFPainter** Reference, TCanvas* ACanvas,
                           TFrameDrawOptions Options, const TRect& R) {
  if (Image->Empty() || R.Left >= R.Right || R.Top >= R.Bottom) {
    if (Reference) *Reference = nullptr;
    return nullptr;
  }
  if (Image->Images()->Count() == 1) Options &= TFrameDrawOptions(~(fdThreaded | fdAnimate));
  TImagePainters& state = PaintersOf(Image);
  ReapPainters(Image);
  auto* painter = new TGIFPainter(Image, ACanvas, R, Options, Reference);
  state.Painters.Add(painter);
  painter->OnAnimationStart = Image->OnAnimationStart;
  painter->OnFramePaint = Image->OnFramePaint;
  painter->OnAfterFramePaint = Image->OnAfterFramePaint;
  painter->OnAnimationLoop = Image->OnAnimationLoop;
  painter->OnAnimationEnd = Image->OnAnimationEnd;
  if (Options & fdThreaded) {
    painter->SetPriority(TThreadPriority(std::clamp(Image->ThreadPriority(), int(tpIdle), int(tpTimeCritical))));
    return painter;
  }
  // On the caller's thread the painter plays to its end here and is gone after it.
  painter->Execute();
  painter->Finish();
  ReapPainters(Image);
  if (Reference) *Reference = nullptr;
  if (state.Pending) {
    std::exception_ptr e = state.Pending;
    state.Pending = nullptr;
    std::rethrow_exception(e);
  }
  return nullptr;
}

void StopDraw(TGIFImage* Image) {
  if (!Image->PainterState) return;
  TImagePainters& state = PaintersOf(Image);
  std::vector<TGIFPainter*> running;
  {
    TListOf<TGIFPainter*>* list = state.Painters.LockList();
    running = list->Vector();
    for (TGIFPainter* p : running) p->Stop();
    state.Painters.UnlockList();
  }
  WaitOnMainThread([&] { return PainterCount(Image) == 0; });
  ReapPainters(Image);
}

void GIFRenderInit() {
  GIFRenderHooks.Draw = &DrawHook;
  GIFRenderHooks.StopDraw = &StopDrawHook;
  GIFRenderHooks.BuildBitmap = &BuildBitmapHook;
  GIFClipboardInit();
}
