// Text output with a chart font's drawing extras (TLumFont): the copies under the
// text (shadow, emboss, depth), then the text itself, as an outline path when it is
// outlined or filled with a gradient or a picture.
#include <algorithm>
#include <cmath>
#include <vector>

#include "canvas/filters.h"
#include "canvas/lumcanvas.h"
#include "canvas_internal.h"

namespace {

// The text's cell for the canvas's alignment, its reference point at X, Y.
TRect Cell(TCanvas* C, int X, int Y, const TSize& Ext) {
  const unsigned a = C->TextAlign();
  int x = X, y = Y;
  if ((a & TA_CENTER) == TA_CENTER) x -= Ext.cx / 2;
  else if (a & TA_RIGHT) x -= Ext.cx;
  if ((a & TA_BASELINE) == TA_BASELINE) y -= C->TextMetrics().tmAscent;
  else if (a & TA_BOTTOM) y -= Ext.cy;
  return {x, y, x + Ext.cx, y + Ext.cy};
}

// The cell's corners turned by the font's orientation about X, Y, as the device turns
// the text.
std::vector<TPoint> TurnedCell(TCanvas* C, int X, int Y, const TRect& Cell) {
  std::vector<TPoint> p{{Cell.Left, Cell.Top}, {Cell.Right, Cell.Top}, {Cell.Right, Cell.Bottom}, {Cell.Left, Cell.Bottom}};
  const int o = C->Font()->Orientation() % 3600;
  if (o == 0) return p;
  const double a = o * M_PI / 1800, cs = std::cos(a), sn = std::sin(a);
  for (TPoint& q : p) {
    const double dx = q.X - X, dy = q.Y - Y;  // counter-clockwise on a screen whose Y runs down
    q = {X + int(std::lround(dx * cs + dy * sn)), Y + int(std::lround(dy * cs - dx * sn))};
  }
  return p;
}

// A bitmap of the text's cell size painted with the gradient.
std::unique_ptr<TBitmap> GradientImage(TLumGradient* G, const TSize& Ext) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(std::max(1, Ext.cx), std::max(1, Ext.cy));
  TLumCanvas3D painter;
  painter.AttachCanvas(b->Canvas());
  G->Draw(&painter, {0, 0, b->Width(), b->Height()});
  return b;
}

// The picture's (filtered) graphic as a bitmap.
std::unique_ptr<TBitmap> PictureImage(TLumPicture* P) {
  TGraphic* g = P->FilteredGraphic();
  if (!g || g->Empty()) return nullptr;
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(g->Width(), g->Height());
  b->Canvas()->Draw(0, 0, g);
  return b;
}

}  // namespace

void TLumCanvas::TextOutWithExtras(int X, int Y, const std::string& Text) {
  TCanvas* c = canvas_;
  TLumFont* f = fontExtras_.get();
  TFont* font = c->Font();
  const TColor color = font->Color();
  const int backMode = c->BkMode();
  const TColor backColor = c->BkColor();
  const TSize ext = c->TextExtent(Text);
  // Rotated text turns its glyphs, outline and fills with it; the shadow, emboss and
  // depth copies keep their offsets on the screen, as a light that does not turn.
  const std::vector<TPoint> turned = TurnedCell(c, X, Y, Cell(c, X, Y, ext));
  const TRect cell = canvas_internal::PointsBounds(turned.data(), int(turned.size()));

  if (backMode == OPAQUE) {  // the cell's background first, so the copies show on it
    canvas_internal::BrushSaver keep(c);
    c->Brush()->SetColor(backColor);
    if (c->Font()->Orientation() % 3600 == 0) {
      c->FillRect(cell);
    } else {
      TPen pen;
      pen.Assign(c->Pen());
      c->Pen()->SetStyle(psClear);
      c->Brush()->SetStyle(bsSolid);
      c->Polygon(turned.data(), int(turned.size()));
      c->Pen()->Assign(&pen);
    }
  }
  c->SetBkMode(TRANSPARENT);
  auto copyAt = [&](int dx, int dy, TColor col, int transparency) {
    font->SetColor(col);
    TLumBlend* blend = transparency > 0
                           ? BeginBlending({cell.Left + dx, cell.Top + dy, cell.Right + dx, cell.Bottom + dy}, transparency)
                           : nullptr;
    c->TextOut(X + dx, Y + dy, Text);
    EndBlending(blend);
  };
  if (f->HasShadow() && f->Shadow()->Visible()) {
    TLumShadow* s = f->Shadow();
    copyAt(s->HorizSize(), s->VertSize(), s->Color(), s->Transparency());
  }
  if (f->HasEmboss() && f->Emboss()->Visible()) {
    TLumEmboss* e = f->Emboss();
    copyAt(-e->HorizSize(), -e->VertSize(), e->LightColor(), e->Transparency());
    copyAt(e->HorizSize(), e->VertSize(), e->Color(), e->Transparency());
  }
  if (const double d = f->Depth(); d >= 0.5) {
    const int n = int(std::min(100.0, std::round(d)));
    const TColor rgb = ColorToRGB(color);
    const TColor dark = RGB(GetRValue(rgb) * 3 / 4, GetGValue(rgb) * 3 / 4, GetBValue(rgb) * 3 / 4);
    for (int i = n; i >= 1; --i) copyAt(i, i, dark, 0);
  }
  font->SetColor(color);

  const bool gradient = f->HasGradient() && f->Gradient()->Visible();
  const bool outline = f->HasOutLine() && f->OutLine()->Visible();
  const bool picture = f->HasPicture();
  if (!gradient && !outline && !picture) {
    c->TextOut(X, Y, Text);
  } else {
    std::unique_ptr<TBitmap> fill, stroke;
    if (gradient && f->Gradient()->Outline()) stroke = GradientImage(f->Gradient(), ext);
    else if (gradient) fill = GradientImage(f->Gradient(), ext);
    if (!fill && picture) fill = PictureImage(f->Picture());
    TPen pen;
    pen.Assign(c->Pen());
    if (outline) {
      c->Pen()->SetStyle(psSolid);
      c->Pen()->SetColor(f->OutLine()->Color());
      c->Pen()->SetWidth(f->OutLine()->Width());
    } else {
      c->Pen()->SetStyle(psClear);
    }
    c->TextOutPath(X, Y, Text, true, fill.get(), stroke.get());
    c->Pen()->Assign(&pen);
  }
  c->SetBkColor(backColor);
  c->SetBkMode(backMode);
}
