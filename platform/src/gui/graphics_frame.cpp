// Frame controls and the focus frame on a canvas: check boxes and radio buttons
// come from the application style's indicator, painted off-screen and copied in.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

#include "canvas_qt.h"
#include "platform/graphics.h"

bool DrawFrameControl(TCanvas* Canvas, const TRect& Rect, unsigned Type, unsigned State, TColor BoxColor) {
  if (!Canvas || Type != DFC_BUTTON) return false;
  const bool radio = (State & DFCS_BUTTONRADIO) != 0;
  if ((State & 0xFF) != DFCS_BUTTONCHECK && !radio) return false;
  const int w = Rect.Right - Rect.Left, h = Rect.Bottom - Rect.Top;
  if (w <= 0 || h <= 0) return true;
  // The style belongs to the application and its thread.
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  QStyle* style = QApplication::style();
  if (!style) return false;

  QImage box(w, h, QImage::Format_ARGB32_Premultiplied);
  box.fill(Qt::transparent);
  {
    QStyleOptionButton opt;
    opt.rect = QRect(0, 0, w, h);
    opt.state = QStyle::State_None;
    if (!(State & DFCS_INACTIVE)) opt.state |= QStyle::State_Enabled;
    opt.state |= (State & DFCS_CHECKED) ? QStyle::State_On : QStyle::State_Off;
    if (!(State & DFCS_FLAT)) opt.state |= QStyle::State_Raised;
    opt.palette = QApplication::palette();
    opt.palette.setColor(QPalette::Base, ToQColor(BoxColor));
    opt.palette.setColor(QPalette::Window, ToQColor(BoxColor));
    QPainter p(&box);
    style->drawPrimitive(radio ? QStyle::PE_IndicatorRadioButton : QStyle::PE_IndicatorCheckBox, &opt, &p);
  }
  // Canvases keep opaque pixels: mostly covered pixels are drawn in their own
  // colour, the rest leave what is beneath (a radio button's corners).
  QImage mask(w, h, QImage::Format_RGB32);
  QImage opaque(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const QRgb c = box.pixel(x, y);
      const bool shown = qAlpha(c) >= 128;
      mask.setPixel(x, y, shown ? 0xFF000000u : 0xFFFFFFFFu);
      const QRgb plain = qUnpremultiply(c);
      opaque.setPixel(x, y, qRgb(qRed(plain), qGreen(plain), qBlue(plain)));
    }
  CanvasDrawImage(Canvas, Rect, opaque, opaque.rect(), &mask);
  return true;
}

void DrawFocusRect(TCanvas* Canvas, const TRect& Rect) {
  if (!Canvas) return;
  const int l = std::min(Rect.Left, Rect.Right), r = std::max(Rect.Left, Rect.Right) - 1;
  const int t = std::min(Rect.Top, Rect.Bottom), b = std::max(Rect.Top, Rect.Bottom) - 1;
  if (r < l || b < t) return;
  // A checkerboard of dots along the edges: each pixel of the frame once.
  auto invert = [Canvas, l, t](int x, int y) {
    if ((x - l + y - t) % 2) return;
    const TColor c = Canvas->Pixels(x, y);
    if (c != TColor(-1)) Canvas->SetPixels(x, y, c ^ 0xFFFFFF);
  };
  for (int x = l; x <= r; ++x) {
    invert(x, t);
    if (b > t) invert(x, b);
  }
  for (int y = t + 1; y < b; ++y) {
    invert(l, y);
    if (r > l) invert(r, y);
  }
}
