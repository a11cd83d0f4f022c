// Our own layout of aligned children, scaling, and the splitter that drags between them.
#include <algorithm>
#include <climits>
#include <vector>

#include "forms_impl.h"
#include "platform/stdctrls.h"
#include "platform/typinfo.h"

void TControl::SetAlign(TAlign Value) {
  if (Value == align_) return;
  align_ = Value;
  if (parent_) parent_->AlignControls();
}

void TControl::ChangeScale(int M, int D) {
  if (D == 0 || M == D) return;
  SetBounds(MulDiv(left_, M, D), MulDiv(top_, M, D), MulDiv(width_, M, D), MulDiv(height_, M, D));
  if (!parentFont_ || !parent_) {
    applyingParentFont_ = true;  // scaling keeps the font's tie to its parent
    font_->SetHeight(MulDiv(font_->Height(), M, D));
    applyingParentFont_ = false;
  }
}

void TWinControl::ChangeScale(int M, int D) {
  if (D == 0 || M == D) return;
  DisableAlign();
  TControl::ChangeScale(M, D);
  for (TControl* c : std::vector<TControl*>(controls_)) c->ChangeScale(M, D);
  EnableAlign();
}

void TWinControl::ScaleBy(int M, int D) {
  if (D == 0 || M == D) return;
  DisableAlign();
  // The control keeps its place; its size, its children and the fonts scale.
  const int left = Left(), top = Top();
  ChangeScale(M, D);
  SetBounds(left, top, Width(), Height());
  EnableAlign();
}

void TWinControl::EnableAlign() {
  if (alignLock_ > 0 && --alignLock_ == 0) AlignControls();
}

void TWinControl::AlignControls() {
  if (alignLock_ > 0 || aligning_) return;
  std::vector<TControl*> aligned;
  for (TControl* c : controls_)
    if (c->Align() != alNone && c->Visible()) aligned.push_back(c);
  if (aligned.empty()) return;
  aligning_ = true;
  TRect r;
  AdjustClientRect(r);
  auto width = [&] { return std::max(0, r.Right - r.Left); };
  auto height = [&] { return std::max(0, r.Bottom - r.Top); };
  // Sort keys: the nearer a child sits to its edge, the earlier it is placed.
  auto key = [](TControl* c) -> long long {
    switch (c->Align()) {
      case alTop: return c->Top();
      case alBottom: return -(long long)(c->Top() + c->Height());
      case alLeft: return c->Left();
      case alRight: return -(long long)(c->Left() + c->Width());
      default: return 0;
    }
  };
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    for (TControl* c : aligned)
      if (c->Align() == a) list.push_back(c);
    std::stable_sort(list.begin(), list.end(), [&](TControl* x, TControl* y) { return key(x) < key(y); });
    for (TControl* c : list) {
      // A child larger than what is left keeps its own size and overhangs; the
      // area left over never turns inside out.
      switch (a) {
        case alTop:
          c->SetBounds(r.Left, r.Top, width(), c->Height());
          r.Top = std::min(r.Bottom, r.Top + c->Height());
          break;
        case alBottom:
          c->SetBounds(r.Left, r.Bottom - c->Height(), width(), c->Height());
          r.Bottom = std::max(r.Top, r.Bottom - c->Height());
          break;
        case alLeft:
          c->SetBounds(r.Left, r.Top, c->Width(), height());
          r.Left = std::min(r.Right, r.Left + c->Width());
          break;
        case alRight:
          c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), height());
          r.Right = std::max(r.Left, r.Right - c->Width());
          break;
        default:
          c->SetBounds(r.Left, r.Top, width(), height());
          break;
      }
    }
  }
  aligning_ = false;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TSplitter, TGraphicControl)

void TSplitter::DefineProperties(TPropertyTable& t) {
  t.Enum("Align", &TSplitter::Align, &TSplitter::SetAlign,
         {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"})
      .Default((long long)alLeft);
  t.Int("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize).Default(30LL);
  t.Bool("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled).Default(false);
  t.Event("OnMoved", &TSplitter::OnMoved);
}

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 3, 100);
  SetAlign(alLeft);
}

void TSplitter::SetBeveled(bool Value) {
  if (Value == beveled_) return;
  beveled_ = Value;
  Invalidate();
}

bool TSplitter::Horizontal() const { return Align() == alLeft || Align() == alRight; }

// The control the splitter resizes: the aligned sibling just before it on its side.
TControl* TSplitter::FindControl() const {
  TWinControl* p = Parent();
  if (!p) return nullptr;
  for (int i = 0; i < p->ControlCount(); ++i) {
    TControl* c = p->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    bool touches = false;
    switch (Align()) {
      case alLeft: touches = c->Left() + c->Width() == Left(); break;
      case alRight: touches = c->Left() == Left() + Width(); break;
      case alTop: touches = c->Top() + c->Height() == Top(); break;
      case alBottom: touches = c->Top() == Top() + Height(); break;
      default: break;
    }
    if (touches) return c;
  }
  return nullptr;
}

// Room the other side can give: what lies beyond the splitter in the parent's
// client area, less MinSize for the neighbour there.
int TSplitter::OtherSideRoom() const {
  TWinControl* p = Parent();
  TRect r;
  p->AdjustClientRect(r);
  // Space beyond the splitter up to the first control aligned to the far edge.
  int room = 0;
  switch (Align()) {
    case alLeft: room = r.Right - (Left() + Width()); break;
    case alRight: room = Left() - r.Left; break;
    case alTop: room = r.Bottom - (Top() + Height()); break;
    case alBottom: room = Top() - r.Top; break;
    default: break;
  }
  const TAlign opposite = Align() == alLeft ? alRight : Align() == alRight ? alLeft : Align() == alTop ? alBottom : alTop;
  for (int i = 0; i < p->ControlCount(); ++i) {
    TControl* c = p->Controls(i);
    if (c->Visible() && c->Align() == opposite) room -= Horizontal() ? c->Width() : c->Height();
  }
  return room - minSize_;
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  control_ = FindControl();
  if (!control_) return;
  downPos_ = Horizontal() ? Left() + X : Top() + Y;
  startSize_ = Horizontal() ? control_->Width() : control_->Height();
  maxSize_ = startSize_ + std::max(0, OtherSideRoom());
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!control_ || !(Shift & ssLeft)) return;
  int delta = (Horizontal() ? Left() + X : Top() + Y) - downPos_;
  if (Align() == alRight || Align() == alBottom) delta = -delta;
  // Both neighbours keep at least MinSize (the dragged one more when it started smaller).
  const int lo = std::min(startSize_, minSize_);
  int size = std::clamp(startSize_ + delta, lo, std::max(lo, maxSize_));
  if (size == (Horizontal() ? control_->Width() : control_->Height())) return;
  if (Horizontal()) control_->SetWidth(size);
  else control_->SetHeight(size);
  // The neighbour moved its edge: put the splitter next to it again.
  if (Parent()) Parent()->AlignControls();
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !control_) return;
  control_ = nullptr;
  if (OnMoved) OnMoved(this);
}

void TSplitter::Paint() {
  // The split cursor across its alignment, unless a cursor was chosen.
  if (Cursor() == crDefault && impl_->Widget)
    impl_->Widget->setCursor(Horizontal() ? Qt::SplitHCursor : Qt::SplitVCursor);
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Parent() ? Parent()->Color() : clBtnFace);
  c->FillRect(ClientRect());
  if (!beveled_) return;
  TRect r = ClientRect();
  c->Pen()->SetColor(clBtnHighlight);
  c->MoveTo(r.Left, r.Bottom - 1);
  c->LineTo(r.Left, r.Top);
  c->LineTo(r.Right - 1, r.Top);
  c->Pen()->SetColor(clBtnShadow);
  c->LineTo(r.Right - 1, r.Bottom - 1);
  c->LineTo(r.Left, r.Bottom - 1);
}
