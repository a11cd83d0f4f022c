#include "engine/print.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "engine/panel.h"
#include "platform/metafile.h"
#include "platform/printers.h"

bool PrintPanelBackground = true;

namespace {
// Sets a flag while it lives.
struct FlagScope {
  bool& flag;
  bool old;
  explicit FlagScope(bool& f) : flag(f), old(f) { flag = true; }
  ~FlagScope() { flag = old; }
};
}  // namespace

TMetafile* TCustomLumPanel::CreateMetafile(bool Enhanced, const TRect& R) {
  if (Drawing()) {
    TCustomControl::Invalidate();
    return nullptr;
  }
  auto m = std::make_unique<TMetafile>();
  m->SetEnhanced(Enhanced);
  m->SetWidth(std::max(0, R.Width()));
  m->SetHeight(std::max(0, R.Height()));
  if (m->Width() == 0 || m->Height() == 0) return m.release();  // nothing to draw into
  {
    TMetafileCanvas canvas(m.get());
    FlagScope metafile(metafileDrawing_);
    DrawOnto(&canvas, clNone, Rect(0, 0, m->Width(), m->Height()));
  }
  return m.release();
}

void TCustomLumPanel::SetPrintResolution(int Value) { printResolution_ = std::clamp(Value, -100, 0); }

void TCustomLumPanel::CalcPrintRect(const TRect& ChartRect, const TRect& PanelRect, int& X, int& Y, int& W,
                                    int& H) const {
  X = ChartRect.Left;
  Y = ChartRect.Top;
  const double tw = ChartRect.Width(), th = ChartRect.Height();
  if (tw <= 0 || th <= 0) {
    W = H = 0;
    return;
  }
  // The panel's pixel density relative to the target: the scale at which the
  // target's area equals the panel's, never above 1.
  const double pw = std::max(1, PanelRect.Width()), ph = std::max(1, PanelRect.Height());
  const double normal = std::min(1.0, std::sqrt((pw * ph) / (tw * th)));
  const double t = -printResolution_ / 100.0;
  const double f = normal + (1.0 - normal) * t;
  W = std::max(1, int(std::lround(tw * f)));
  H = std::max(1, int(std::lround(th * f)));
}

void TCustomLumPanel::CalcProportionalPrintRect() {
  TPrinter* prn = Printer();
  const int pw = prn->PageWidth(), ph = prn->PageHeight();
  if (pw <= 0 || ph <= 0 || Width() <= 0 || Height() <= 0) return;
  const TRect m = printMargins_;
  const int h0 = std::max(0, m.Left + m.Right), v0 = std::max(0, m.Top + m.Bottom);
  const double aspect = double(Width()) / Height();
  // Whole percentages: of the margin totals at least the present ones, the largest
  // rectangle within half a percent of the panel's shape, else the closest shape.
  int bestH = -1, bestV = -1;
  double bestErr = 1e9, bestArea = -1;
  for (int th = h0; th < 100; ++th) {
    const int w = pw - MulDiv(pw, m.Left + (th - h0) / 2, 100) - MulDiv(pw, m.Right + th - h0 - (th - h0) / 2, 100);
    for (int tv = v0; tv < 100; ++tv) {
      const int h = ph - MulDiv(ph, m.Top + (tv - v0) / 2, 100) - MulDiv(ph, m.Bottom + tv - v0 - (tv - v0) / 2, 100);
      if (w <= 0 || h <= 0) continue;
      const double err = std::abs(double(w) / h / aspect - 1.0), area = double(w) * h;
      const bool close = err <= 0.005, bestClose = bestErr <= 0.005;
      if (close ? (!bestClose || area > bestArea) : (!bestClose && err < bestErr)) {
        bestH = th;
        bestV = tv;
        bestErr = err;
        bestArea = area;
      }
    }
  }
  if (bestH < 0) return;
  const int eh = bestH - h0, ev = bestV - v0;
  printMargins_ = {m.Left + eh / 2, m.Top + ev / 2, m.Right + eh - eh / 2, m.Bottom + ev - ev / 2};
}

TRect TCustomLumPanel::ChartPrintRect() const {
  TPrinter* prn = Printer();
  const int pw = prn->PageWidth(), ph = prn->PageHeight();
  return {MulDiv(pw, printMargins_.Left, 100), MulDiv(ph, printMargins_.Top, 100),
          pw - MulDiv(pw, printMargins_.Right, 100), ph - MulDiv(ph, printMargins_.Bottom, 100)};
}

void TCustomLumPanel::PrintRect(const TRect& R) {
  TPrinter* prn = Printer();
  if (!prn->Printing()) throw EPrinter("Printer is not currently printing");
  if (R.Width() <= 0 || R.Height() <= 0) return;
  int x, y, w, h;
  CalcPrintRect(R, Rect(0, 0, Width(), Height()), x, y, w, h);
  FlagScope printing(printing_);
  try {
    TCanvas* page = prn->Canvas();
    if (w == R.Width() && h == R.Height()) {
      DrawOnto(page, clNone, R);
    } else {
      // Drawn at the print size, then stretched: pens, fonts and marks scale with it.
      std::unique_ptr<TMetafile> m(CreateMetafile(true, Rect(0, 0, w, h)));
      if (m) page->StretchDraw(R, m.get());
    }
  } catch (...) {
    if (prn->Printing()) prn->Abort();
    throw;
  }
}

void TCustomAxisPanel::PrintPages(int FirstPage, int LastPage) {
  if (LastPage <= 0) LastPage = NumPages();
  FirstPage = std::max(1, FirstPage);
  if (LastPage < FirstPage) return;
  TPrinter* prn = Printer();
  prn->SetTitle(Name());
  prn->BeginDoc();
  const int shown = GetPage();
  try {
    for (int page = FirstPage; page <= LastPage; ++page) {
      if (page > FirstPage) prn->NewPage();
      SetPage(page);
      if (PrintProportional()) CalcProportionalPrintRect();
      PrintRect(ChartPrintRect());
    }
    SetPage(shown);
    prn->EndDoc();
  } catch (...) {
    if (prn->Printing()) prn->Abort();
    SetPage(shown);
    throw;
  }
}
