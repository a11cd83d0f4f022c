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
  const double pw = prn->PageWidth(), ph = prn->PageHeight();
  const double w = Width(), h = Height();
  if (pw <= 0 || ph <= 0 || w <= 0 || h <= 0) return;
  TRect m = printMargins_;
  const double aw = pw * (100 - m.Left - m.Right) / 100.0, ah = ph * (100 - m.Top - m.Bottom) / 100.0;
  if (aw <= 0 || ah <= 0) return;
  const double aspect = w / h;
  if (aw / ah > aspect) {  // too wide: narrower, centred
    const double extra = (aw - ah * aspect) / 2 * 100.0 / pw;
    m.Left = int(std::lround(m.Left + extra));
    m.Right = int(std::lround(m.Right + extra));
  } else {  // too tall: lower, centred
    const double extra = (ah - aw / aspect) / 2 * 100.0 / ph;
    m.Top = int(std::lround(m.Top + extra));
    m.Bottom = int(std::lround(m.Bottom + extra));
  }
  printMargins_ = m;
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
  try {
    for (int page = FirstPage; page <= LastPage; ++page) {
      if (page > FirstPage) prn->NewPage();
      if (PrintProportional()) CalcProportionalPrintRect();
      PrintRect(ChartPrintRect());
    }
    prn->EndDoc();
  } catch (...) {
    if (prn->Printing()) prn->Abort();
    throw;
  }
}
