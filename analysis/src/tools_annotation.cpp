#include <algorithm>
#include <cmath>

#include "analysis/tools_annotation.h"
#include "canvas/geometry.h"
#include "platform/typinfo.h"

IMPLEMENT_CLASS(TLumShapePosition, TLumCustomShapePosition)
IMPLEMENT_CLASS_PROPS(TTextShape, TLumShapePosition)
IMPLEMENT_CLASS_PROPS(TAnnotationCallout, TCallout)
IMPLEMENT_CLASS_PROPS(TAnnotationTool, TLumCustomTool)
IMPLEMENT_CLASS_PROPS(TRectangleTool, TAnnotationTool)

namespace {
int HalfEven(double V) { return int(std::nearbyint(V)); }

std::vector<std::string> Rows(std::string Text) {
  Text.erase(std::remove(Text.begin(), Text.end(), '\n'), Text.end());
  if (Text.empty()) Text = " ";
  std::vector<std::string> rows;
  size_t start = 0;
  for (size_t i = 0; i <= Text.size(); ++i)
    if (i == Text.size() || Text[i] == '\r') {
      rows.push_back(Text.substr(start, i - start));
      start = i + 1;
    }
  return rows;
}
}  // namespace

// ---------------------------------------------------------------------------
TTextShape::TTextShape(TCustomAxisPanel* AOwner)
    : TLumShapePosition(AOwner), margins_(std::make_unique<TMargins>(TNotifyEvent([this](TObject*) { Repaint(); }))) {}

TTextShape::~TTextShape() = default;

int TTextShape::TextStartX(TCanvas3D* Canvas, const TRect& Box, const TRect& Margin) {
  switch (textAlignment_) {
    case taRightJustify: Canvas->SetTextAlign(TA_RIGHT); return Box.Right - Margin.Right;
    case taCenter: Canvas->SetTextAlign(TA_CENTER); return (Box.Left + Margin.Left + Box.Right - Margin.Right) / 2 + 1;
    default:
      Canvas->SetTextAlign(0);
      return Box.Left + Margin.Left + (Frame()->Visible() ? Frame()->Width() : 0);
  }
}

void TTextShape::DrawTextLine(TCanvas3D* Canvas, int X, int Y, int Z, const std::string& Row) {
  if (Z == 0) DrawText(Canvas, X, Y, 0, Row);
  else Canvas->TextOut3D(X, Y, Z, Row);
}

void TTextShape::DrawTextShape(TCanvas3D* Canvas, const TRect& Box, int Z, int Offset) {
  if (Visible()) DrawShapeOnCanvas(Canvas, Box, Z);
  else SetShapeBounds(Box);
  if (clipText_) Canvas->ClipRectangle({Box.Left, Box.Top, Box.Right + 1, Box.Bottom + 1});
  Canvas->SetBackMode(cbmTransparent);
  Canvas->AssignFont(Font());
  const int fh = Canvas->FontHeight();
  const std::vector<std::string> rows = Rows(text_);
  const TRect m = margins_->CalcPixels(Box.Width() + 1, Box.Height() + 1, fh);
  const int x = TextStartX(Canvas, Box, m);
  int y = Box.Top + m.Top;
  // Each row its own part of the text, at depth Z as in 2D.
  for (const std::string& row : rows) {
    DrawTextLine(Canvas, x + Offset, y, Z, row);
    y += fh;
  }
  Canvas->SetTextAlign(0);
  if (clipText_) Canvas->UnClipRectangle();
}

void TTextShape::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TTextShape*>(Source)) {
    autoSize_ = s->autoSize_;
    clipText_ = s->clipText_;
    cursor_ = s->cursor_;
    margins_->Assign(s->margins_.get());
    textAlignment_ = s->textAlignment_;
    text_ = s->text_;
  }
  TLumShapePosition::Assign(Source);
}

void TTextShape::DefineProperties(TPropertyTable& t) {
  t.Bool("AutoSize", &TTextShape::AutoSize, &TTextShape::SetAutoSize).Default(true);
  t.Bool("ClipText", &TTextShape::ClipText, &TTextShape::SetClipText).Default(true);
  t.Int("Cursor", &TTextShape::Cursor, &TTextShape::SetCursor).Default(0LL);
  t.Object("Margins", &TTextShape::Margins);
  t.Enum("TextAlignment", &TTextShape::TextAlignment, &TTextShape::SetTextAlignment,
         {"taLeftJustify", "taRightJustify", "taCenter"})
      .Default(0);
  t.Str("Text", &TTextShape::Text, &TTextShape::SetText);
}

// ---------------------------------------------------------------------------
TAnnotationCallout::TAnnotationCallout(TCustomAxisPanel* AChart) : TCallout(nullptr) {
  SetParentChart(AChart);
  SetVisible(false);
  Arrow()->Hide();
  RecordDefaults(Arrow());
}

void TAnnotationCallout::StorePos(int& Field, int Value) {
  if (Field == Value) return;
  Field = Value;
  if (TCustomAxisPanel* c = ParentChart()) c->Invalidate();
}

void TAnnotationCallout::Assign(TPersistent* Source) {
  if (auto* c = dynamic_cast<TAnnotationCallout*>(Source)) {
    x_ = c->x_;
    y_ = c->y_;
    z_ = c->z_;
  }
  TCallout::Assign(Source);
}

void TAnnotationCallout::DefineProperties(TPropertyTable& t) {
  t.Bool("Visible", &TSeriesPointer::Visible, &TSeriesPointer::SetVisible).Default(false);
  t.Int("XPosition", &TAnnotationCallout::XPosition, &TAnnotationCallout::SetXPosition).Default(0LL);
  t.Int("YPosition", &TAnnotationCallout::YPosition, &TAnnotationCallout::SetYPosition).Default(0LL);
  t.Int("ZPosition", &TAnnotationCallout::ZPosition, &TAnnotationCallout::SetZPosition).Default(0LL);
}

// ---------------------------------------------------------------------------
TAnnotationTool::TAnnotationTool(TComponent* AOwner)
    : TLumCustomTool(AOwner), shape_(std::make_unique<TTextShape>()), callout_(std::make_unique<TAnnotationCallout>()) {}

TAnnotationTool::~TAnnotationTool() = default;

void TAnnotationTool::SetParentChart(TCustomAxisPanel* Value) {
  TLumCustomTool::SetParentChart(Value);
  shape_->SetParentChart(Value);
  callout_->SetParentChart(Value);
  Repaint();
}

void TAnnotationTool::SetPosition(TAnnotationPosition Value) {
  position_ = Value;
  shape_->SetCustomPosition(false);
  Repaint();
}

void TAnnotationTool::SetLeft(int Value) { shape_->SetLeft(Value); }
void TAnnotationTool::SetTop(int Value) { shape_->SetTop(Value); }

int TAnnotationTool::Width() const { return shape_->ShapeBounds().Right - shape_->ShapeBounds().Left + 1; }
int TAnnotationTool::Height() const { return shape_->ShapeBounds().Bottom - shape_->ShapeBounds().Top + 1; }

void TAnnotationTool::SetWidth(int Value) {
  if (Value == Width()) return;
  shape_->autoSize_ = false;
  TRect r = shape_->ShapeBounds();
  r.Right = r.Left + Value - 1;
  shape_->SetShapeBounds(r);
  Repaint();
}

void TAnnotationTool::SetHeight(int Value) {
  if (Value == Height()) return;
  shape_->autoSize_ = false;
  TRect r = shape_->ShapeBounds();
  r.Bottom = r.Top + Value - 1;
  shape_->SetShapeBounds(r);
  Repaint();
}

void TAnnotationTool::SetBox(const TRect& Box) { shape_->SetShapeBounds(Box); }

void TAnnotationTool::CalcTextSize(const std::string& AText, int& AWidth, int& AHeight, int& ALines) {
  AWidth = AHeight = ALines = 0;
  TCustomAxisPanel* c = ParentChart();
  if (!c) return;
  TCanvas3D* cv = c->Canvas();
  cv->AssignFont(shape_->Font());
  const std::vector<std::string> rows = Rows(AText);
  for (const std::string& r : rows) AWidth = std::max(AWidth, shape_->TextExtent(cv, r).cx);
  ALines = int(rows.size());
  AHeight = ALines * cv->FontHeight();
}

TRect TAnnotationTool::GetShapeBounds(TPoint& TextOrigin, int& Lines) {
  TextOrigin = {};
  Lines = 0;
  TCustomAxisPanel* c = ParentChart();
  if (!c) return {};
  std::string text = GetText();
  if (text.empty()) text = " ";
  const bool custom = shape_->CustomPosition(), autoSize = shape_->AutoSize();
  int w = 0, h = 0, f = 0;
  int tw = 0, th = 0;
  if (!(custom && !autoSize)) {
    CalcTextSize(text, tw, th, Lines);
    f = shape_->Frame()->Visible() ? (shape_->Frame()->Width() + 1) / 2 : 0;
    w = tw + f;
    h = th + f;
  } else {
    Lines = int(Rows(text).size());
  }
  if (!autoSize) {
    w = Width();
    h = Height();
  }
  const TRect R = c->ChartBounds();
  const int W = R.Right - R.Left + 1, H = R.Bottom - R.Top + 1;
  c->Canvas()->AssignFont(shape_->Font());
  const TRect m = shape_->Margins()->CalcPixels(w, h, c->Canvas()->FontHeight());
  const int mh = m.Left + m.Right, mv = m.Top + m.Bottom;
  int x, y;
  if (!custom) {
    switch (position_) {
      case ppLeftBottom: x = R.Left + 10, y = R.Top + H - h - mv; break;
      case ppRightTop: x = R.Left + W - w - mh, y = R.Top + 10; break;
      case ppRightBottom: x = R.Left + W - w - mh, y = R.Top + H - h - mv; break;
      case ppCenter: x = (R.Left + R.Right - tw) / 2, y = (R.Top + R.Bottom - th) / 2; break;
      default: x = R.Left + 10, y = R.Top + 10; break;
    }
  } else if (positionUnits_ == muPixels) {
    x = shape_->Left(), y = shape_->Top();
  } else {
    x = HalfEven(shape_->Left() * W * 0.01);
    y = HalfEven(shape_->Top() * H * 0.01);
  }
  const int width = autoSize ? w + mh : w, height = autoSize ? h + mv : h;
  TextOrigin = {x + f / 2, y + f / 2};
  return {x, y, x + width - 1, y + height - 1};
}

void TAnnotationTool::DrawText() {
  TCustomAxisPanel* c = ParentChart();
  if (!c) return;
  auto alive = life_.Watch();
  FireEvent(OnBeforeDraw, this);
  if (!*alive) return;
  shape_->text_ = GetText();
  TPoint origin;
  int lines;
  const TRect box = GetShapeBounds(origin, lines);
  TCanvas3D* cv = c->Canvas();
  if (!draw3D_) cv->DisableRotation();
  shape_->DrawTextShape(cv, box, z_, TextOffset());
  if (!draw3D_) cv->EnableRotation();
  TAnnotationCallout* k = callout_.get();
  if (k->Visible() || k->Arrow()->Visible()) {
    TPoint p{k->XPosition(), k->YPosition()};
    TPoint q;
    q.X = p.X < box.Left ? box.Left : p.X > box.Right ? box.Right : (box.Left + box.Right) / 2;
    q.Y = p.Y < box.Top ? box.Top : p.Y > box.Bottom ? box.Bottom : (box.Top + box.Bottom) / 2;
    if (k->Distance() != 0) p = PointAlongLine(q, p, k->Distance());
    k->DrawOn(cv, k->Color(), q, p, k->ZPosition());
  }
  FireEvent(OnAfterDraw, this);
}

bool TAnnotationTool::Clicked(int X, int Y) {
  TRect r;
  if (shape_->ClipText()) {
    r = shape_->ShapeBounds();
  } else {
    TPoint o;
    int n;
    r = GetShapeBounds(o, n);
  }
  if (draw3D_ && ParentChart()) r = ParentChart()->Canvas()->ProjectRect(r, z_);
  return PointInRect(r, X, Y);
}

void TAnnotationTool::ChartEvent(TChartToolEvent AEvent) {
  if (AEvent == cteAfterDraw) DrawText();
}

bool TAnnotationTool::AnnotationMouse(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomAxisPanel* c = ParentChart();
  if (!c) return true;
  auto alive = life_.Watch();
  if (AEvent == cmeDown) {
    if ((OnClick.Assigned() || OnDblClick.Assigned()) && Clicked(X, Y)) {
      FireEvent(OnClick, this, Button, Shift, X, Y);
      if (*alive && (Shift & ssDouble)) FireEvent(OnDblClick, this, Button, Shift, X, Y);
    }
  } else if (AEvent == cmeMove) {
    if (shape_->Cursor() != crDefault) {
      if (Clicked(X, Y)) TakeMouse(c, shape_->Cursor());
      else GiveBackCursor(c);
    }
  }
  return *alive;
}

void TAnnotationTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) {
  AnnotationMouse(AEvent, Button, Shift, X, Y);
}

void TAnnotationTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TAnnotationTool*>(Source)) {
    callout_->Assign(t->callout_.get());
    draw3D_ = t->draw3D_;
    position_ = t->position_;
    positionUnits_ = t->positionUnits_;
    shape_->Assign(t->shape_.get());
    z_ = t->z_;
  }
  TLumCustomTool::Assign(Source);
}

void TAnnotationTool::DefineProperties(TPropertyTable& t) {
  t.Bool("AutoSize", &TAnnotationTool::AutoSize, &TAnnotationTool::SetAutoSize).Default(true);
  t.Object("Callout", &TAnnotationTool::Callout);
  t.Bool("ClipText", &TAnnotationTool::ClipText, &TAnnotationTool::SetClipText).Default(true);
  t.Int("Cursor", &TAnnotationTool::Cursor, &TAnnotationTool::SetCursor).Default(0LL);
  t.Bool("Draw3D", &TAnnotationTool::Draw3D, &TAnnotationTool::SetDraw3D).Default(false);
  t.Int("Height", &TAnnotationTool::Height, &TAnnotationTool::SetHeight);
  t.Int("Left", &TAnnotationTool::Left, &TAnnotationTool::SetLeft);
  t.Event("OnAfterDraw", &TAnnotationTool::OnAfterDraw);
  t.Event("OnBeforeDraw", &TAnnotationTool::OnBeforeDraw);
  t.Event("OnClick", &TAnnotationTool::OnClick);
  t.Event("OnDblClick", &TAnnotationTool::OnDblClick);
  t.Enum("Position", &TAnnotationTool::Position, &TAnnotationTool::SetPosition,
         {"ppLeftTop", "ppLeftBottom", "ppRightTop", "ppRightBottom", "ppCenter"})
      .Default(0);
  t.Enum("PositionUnits", &TAnnotationTool::PositionUnits, &TAnnotationTool::SetPositionUnits,
         {"muPercent", "muPixels"})
      .Default(1);
  t.Object("Shape", &TAnnotationTool::Shape);
  t.Str("Text", &TAnnotationTool::Text, &TAnnotationTool::SetText);
  t.Enum("TextAlignment", &TAnnotationTool::TextAlignment, &TAnnotationTool::SetTextAlignment,
         {"taLeftJustify", "taRightJustify", "taCenter"})
      .Default(0);
  t.Int("Top", &TAnnotationTool::Top, &TAnnotationTool::SetTop);
  t.Int("Width", &TAnnotationTool::Width, &TAnnotationTool::SetWidth);
  t.Int("Z", &TAnnotationTool::Z, &TAnnotationTool::SetZ).Default(0LL);
}

// ---------------------------------------------------------------------------
TRectangleTool::TRectangleTool(TComponent* AOwner) : TAnnotationTool(AOwner) {
  TTextShape* s = Shape();
  s->SetAutoSize(false);
  s->SetCustomPosition(true);
  s->Emboss()->SetSize(0);
  s->Shadow()->SetSize(0);
  s->SetTransparency(75);
  SetBox({10, 10, 59, 59});
  SetPositionUnits(muPixels);
  SetCursor(crHandPoint);
  // Its box starts otherwise than an annotation's: not stored while it stays so.
  RecordDefaults(s);
  RecordDefaults(s->Emboss());
  RecordDefaults(s->Shadow());
  RecordDefaults(this);
}

int TRectangleTool::ClickedZone(int X, int Y) {
  if (!Clicked(X, Y)) return -1;
  const TRect b = Shape()->ShapeBounds();
  const bool l = std::abs(X - b.Left) < 4, t = std::abs(Y - b.Top) < 4, r = std::abs(X - b.Right) < 4,
             bt = std::abs(Y - b.Bottom) < 4;
  if (l && t) return 4;
  if (l && bt) return 5;
  if (l) return 0;
  if (t && r) return 6;
  if (t) return 1;
  if (r && bt) return 7;
  if (r) return 2;
  if (bt) return 3;
  return -1;
}

void TRectangleTool::PlaceAt(int X, int Y) {
  TCustomAxisPanel* c = ParentChart();
  TTextShape* s = Shape();
  const TRect b = s->ShapeBounds();
  int left = X, top = Y;
  if (PositionUnits() == muPercent) {
    // A chart without width or height has no percent to give.
    const int w = c->Width(), h = c->Height();
    left = w > 0 ? HalfEven(X * 100.0 / w) : 0;
    top = h > 0 ? HalfEven(Y * 100.0 / h) : 0;
  }
  s->SetCustomPosition(true);
  SetBox({left, top, left + b.Right - b.Left, top + b.Bottom - b.Top});
}

void TRectangleTool::ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!AnnotationMouse(AEvent, Button, Shift, X, Y)) return;
  TCustomAxisPanel* c = ParentChart();
  if (!c || !Active()) return;
  auto alive = life_.Watch();
  TTextShape* s = Shape();
  switch (AEvent) {
    case cmeDown: {
      if (Button != mbLeft) return;
      zone_ = allowResize_ ? ClickedZone(X, Y) : -1;
      const TRect b = s->ShapeBounds();
      if (zone_ == -1) {
        if (allowDrag_ && Clicked(X, Y)) {
          offX_ = X - b.Left;
          offY_ = Y - b.Top;
          dragging_ = true;
          TakeMouse(c);
        }
      } else {
        offX_ = X - (zone_ == 2 || zone_ == 6 || zone_ == 7 ? b.Right : b.Left);
        offY_ = Y - (zone_ == 3 || zone_ == 5 || zone_ == 7 ? b.Bottom : b.Top);
        TakeMouse(c);
      }
      return;
    }
    case cmeMove: {
      if (dragging_) {
        PlaceAt(X - offX_, Y - offY_);
        Repaint();
        FireEvent(OnDragging, this);
      } else if (zone_ != -1) {
        s->SetAutoSize(false);
        TRect b = s->ShapeBounds();
        const int x = X - offX_, y = Y - offY_;
        const bool left = zone_ == 0 || zone_ == 4 || zone_ == 5, top = zone_ == 1 || zone_ == 4 || zone_ == 6,
                   right = zone_ == 2 || zone_ == 6 || zone_ == 7, bottom = zone_ == 3 || zone_ == 5 || zone_ == 7;
        if (left) b.Left = std::min(b.Right - 3, x);
        if (top) b.Top = std::min(b.Bottom - 3, y);
        if (right) b.Right = std::max(b.Left + 3, x);
        if (bottom) b.Bottom = std::max(b.Top + 3, y);
        if (PositionUnits() == muPercent) {
          // Left and top in percent; the size in pixels from the new edges.
          PlaceAt(b.Left, b.Top);
          const TRect p = s->ShapeBounds();
          SetBox({p.Left, p.Top, p.Left + b.Right - b.Left, p.Top + b.Bottom - b.Top});
        } else {
          SetBox(b);
        }
        Repaint();
        FireEvent(OnResizing, this);
      } else {
        TCursor cursor = crDefault;
        const int zone = allowResize_ ? ClickedZone(X, Y) : -1;
        switch (zone) {
          case 0: case 2: cursor = crSizeWE; break;
          case 1: case 3: cursor = crSizeNS; break;
          case 4: case 7: cursor = crSizeNWSE; break;
          case 5: case 6: cursor = crSizeNESW; break;
          default:
            if (s->Cursor() != crDefault && Clicked(X, Y)) cursor = s->Cursor();
        }
        if (cursor != crDefault) c->SetCursor(cursor);
        else GiveBackCursor(c);
        c->CancelMouse = cursor != crDefault;
      }
      return;
    }
    case cmeUp:
      if (dragging_) {
        dragging_ = false;
        FireEvent(OnDragged, this);
      } else if (zone_ != -1) {
        zone_ = -1;
        FireEvent(OnResized, this);
      }
      (void)alive;
      return;
  }
}

void TRectangleTool::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TRectangleTool*>(Source)) {
    allowDrag_ = t->allowDrag_;
    allowResize_ = t->allowResize_;
  }
  TAnnotationTool::Assign(Source);
}

void TRectangleTool::DefineProperties(TPropertyTable& t) {
  t.Bool("AllowDrag", &TRectangleTool::AllowDrag, &TRectangleTool::SetAllowDrag).Default(true);
  t.Bool("AllowResize", &TRectangleTool::AllowResize, &TRectangleTool::SetAllowResize).Default(true);
  t.Event("OnDragged", &TRectangleTool::OnDragged);
  t.Event("OnDragging", &TRectangleTool::OnDragging);
  t.Event("OnResized", &TRectangleTool::OnResized);
  t.Event("OnResizing", &TRectangleTool::OnResizing);
}
