// TControl, TWinControl, TCustomControl, TGraphicControl and the Qt side they share.
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

#include "forms_impl.h"
#include "popup_drag.h"
#include "platform/typinfo.h"

using namespace forms_detail;

namespace {

bool ButtonOf(Qt::MouseButton B, TMouseButton& Out) {
  switch (B) {
    case Qt::LeftButton: Out = mbLeft; return true;
    case Qt::RightButton: Out = mbRight; return true;
    case Qt::MiddleButton: Out = mbMiddle; return true;
    default: return false;
  }
}

bool Within(const TControl* C, const TControl* Ancestor) {
  for (; C; C = C->Parent())
    if (C == Ancestor) return true;
  return false;
}

TWinControl* RootOf(TControl* C) {
  TWinControl* r = C->Parent();
  if (!r) return dynamic_cast<TWinControl*>(C);
  while (r->Parent()) r = r->Parent();
  return r;
}

// Keeps Qt's focus chain in our tab order, so that Qt's own Tab handling walks it.
void SyncTabChain(TControl* AnyInTree) {
  TWinControl* root = RootOf(AnyInTree);
  if (!root) return;
  std::vector<TWinControl*> list;
  root->GetTabOrderList(list);
  QWidget* prev = nullptr;
  for (TWinControl* w : list) {
    QWidget* q = w->GetImpl()->Widget;
    if (!q) continue;
    if (prev) QWidget::setTabOrder(prev, q);
    prev = q;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
namespace forms_detail {

QEvent::Type PaintRequestEvent() {
  static const QEvent::Type t = QEvent::Type(QEvent::registerEventType());
  return t;
}

TControl* ControlOf(QWidget* Widget) {
  auto* link = dynamic_cast<TWidgetLink*>(Widget);
  return link && link->Impl ? link->Impl->Control : nullptr;
}

void PaintTree(TControl* Control) {
  TControl::Impl* d = Control->GetImpl();
  if (d->Canvas && !d->Painting) {
    d->ResizeImage();
    if (d->Dirty) d->PaintNow();
  }
  if (auto* w = dynamic_cast<TWinControl*>(Control))
    for (int i = 0; i < w->ControlCount(); ++i) PaintTree(w->Controls(i));
}

std::uint16_t VirtualKeyOf(int K) {
  if ((K >= Qt::Key_A && K <= Qt::Key_Z) || (K >= Qt::Key_0 && K <= Qt::Key_9)) return std::uint16_t(K);
  if (K >= Qt::Key_F1 && K <= Qt::Key_F24) return std::uint16_t(VK_F1 + (K - Qt::Key_F1));
  switch (K) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default: return 0;
  }
}

int QtKeyOf(std::uint16_t Key) {
  for (int k : {Qt::Key_Backspace, Qt::Key_Tab, Qt::Key_Return, Qt::Key_Shift, Qt::Key_Control,
                Qt::Key_Alt, Qt::Key_Escape, Qt::Key_Space, Qt::Key_PageUp, Qt::Key_PageDown,
                Qt::Key_End, Qt::Key_Home, Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down,
                Qt::Key_Insert, Qt::Key_Delete})
    if (VirtualKeyOf(k) == Key) return k;
  if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')) return Key;
  if (Key >= VK_F1 && Key < VK_F1 + 24) return Qt::Key_F1 + (Key - VK_F1);
  return 0;
}

TShiftState ShiftOf(Qt::KeyboardModifiers M, Qt::MouseButtons B) {
  TShiftState s = 0;
  if (M & Qt::ShiftModifier) s |= ssShift;
  if (M & Qt::AltModifier) s |= ssAlt;
  if (M & Qt::ControlModifier) s |= ssCtrl;
  if (B & Qt::LeftButton) s |= ssLeft;
  if (B & Qt::RightButton) s |= ssRight;
  if (B & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

}  // namespace forms_detail

// ---------------------------------------------------------------------------
TControl::Impl::~Impl() {
  if (!Widget) return;
  Cut = true;
  Link->Impl = nullptr;
  delete Widget;
}

void TControl::Impl::Attach(QWidget* W, TWidgetLink* L) {
  if (!QApplication::instance()) throw EInvalidOperation("Controls need the application: run FormsUnitInit first");
  Widget = W;
  Link = L;
  Link->Impl = this;
  TControl* c = Control;
  if (c->parent_ && c->parent_->impl_->Widget) Widget->setParent(c->parent_->impl_->Widget);
  ApplyGeometry();
  Widget->setEnabled(c->enabled_);
  ApplyFocusPolicy();
  ApplyFont();
  ApplyCursor();
  if (ApplyText) ApplyText();
  ApplyVisible();
}

void TControl::Impl::EnableCanvas(bool Transparent) {
  TransparentCanvas = Transparent;
  Canvas = std::make_unique<TCanvas>();
  ResizeImage();
  AttachCanvasToSurface(Canvas.get(), TCanvasSurface{
      [this]() -> QImage* { return Image.isNull() ? nullptr : &Image; },
      [this] {
        if (Widget && !Cut) Widget->update();
      }});
  if (Widget) {
    Widget->setAttribute(Qt::WA_OpaquePaintEvent, !Transparent);
    // Controls that draw hear the mouse move without a button too (hover figures,
    // tips), as on the desktops the class library comes from.
    Widget->setMouseTracking(true);
  }
}

void TControl::Impl::FillImage() {
  if (Image.isNull()) return;
  if (TransparentCanvas) Image.fill(Qt::transparent);
  else Image.fill(ToQColor(Control->color_));
}

void TControl::Impl::ResizeImage() {
  if (!Canvas) return;
  int w = Control->ClientWidth(), h = Control->ClientHeight();
  if (!Image.isNull() && Image.width() == w && Image.height() == h) return;
  if (w <= 0 || h <= 0) {
    Image = QImage();
    return;
  }
  QImage old = std::move(Image);
  Image = QImage(w, h, TransparentCanvas ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  FillImage();
  // What was drawn stays; only the new area takes the background.
  if (!old.isNull()) {
    QPainter p(&Image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, old);
  }
}

void TControl::Impl::CopyToScreen(QWidget* W, const QRect& Area) {
  if (Image.isNull()) return;
  QPainter p(W);
  p.drawImage(Area.topLeft(), Image, Area);
}

void TControl::Impl::Invalidate() {
  if (!Canvas) {
    if (Widget) Widget->update();
    return;
  }
  Dirty = true;
  // While the control paints, the request waits for the end of that paint.
  if (Painting || Queued) return;
  if (Widget && Widget->isVisible()) PostPaintRequest(0);
}

void TControl::Impl::PostPaintRequest(int DelayMs) {
  if (!Widget) return;
  Queued = true;
  if (DelayMs <= 0)
    QCoreApplication::postEvent(Widget, new QEvent(PaintRequestEvent()), Qt::LowEventPriority);
  else
    PostToLoop([this, w = QPointer<QWidget>(Widget)] { if (w) HandlePaintRequest(); }, unsigned(DelayMs));
}

void TControl::Impl::HandlePaintRequest() {
  Queued = false;
  if (!Dirty || Painting || Cut) return;
  if (!Widget->isVisible()) return;  // painted when shown
  PaintNow();
}

void TControl::Impl::Update() {
  if (Canvas && Dirty && !Painting && Widget && Widget->isVisible()) PaintNow();
}

void TControl::Impl::PaintNow() {
  if (Painting || !Canvas) return;
  Painting = true;
  Dirty = false;
  LastPaintStartUs = GetMicroseconds();
  if (TransparentCanvas) FillImage();
  Guard(Control, [this] { Control->Paint(); });
  Painting = false;
  if (Cut) return;
  Widget->update();
  if (Dirty && !Queued) {
    std::int64_t elapsedMs = (GetMicroseconds() - LastPaintStartUs) / 1000;
    // Clamped: a clock swapped during the paint may have moved either way.
    PostPaintRequest(int(std::clamp<std::int64_t>(kFrameMs - elapsedMs, 0, kFrameMs)));
  }
}

void TControl::Impl::ApplyGeometry() {
  if (!Widget) return;
  TControl* c = Control;
  if (TopLevel) {
    Widget->move(c->left_, c->top_);
    Widget->resize(c->width_, c->height_);
  } else {
    Widget->setGeometry(c->left_, c->top_, c->width_, c->height_);
  }
}

void TControl::Impl::ApplyVisible() {
  if (!Widget || TopLevel) return;
  Widget->setVisible(Control->visible_ && Control->parent_ && Control->parent_->impl_->Widget);
}

void TControl::Impl::ApplyFocusPolicy() {
  if (!Widget) return;
  auto* w = dynamic_cast<TWinControl*>(Control);
  bool tab = w && w->TabStop();
  Qt::FocusPolicy p = TakesFocus ? (tab ? Qt::StrongFocus : Qt::ClickFocus) : (tab ? Qt::TabFocus : Qt::NoFocus);
  Widget->setFocusPolicy(p);
}

void TControl::Impl::ApplyCursor() {
  if (!Widget) return;
  if (Control->cursor_ == crDefault || !Screen) {
    Widget->unsetCursor();
    return;
  }
  auto* q = reinterpret_cast<QCursor*>(Screen->Cursors(Control->cursor_));
  if (q) Widget->setCursor(*q);
  else Widget->unsetCursor();
}

void TControl::Impl::ApplyFont() {
  if (!Widget) return;
  Widget->setFont(ToQFont(*Control->font_));
  ApplyColor();
}

void TControl::Impl::ApplyColor() {
  if (!Widget) return;
  QPalette pal = Widget->palette();
  if (ApplyPalette) ApplyPalette(pal, ToQColor(Control->color_), ToQColor(Control->font_->Color()));
  // Disabled, whatever the control's own colours: grey text etched in the highlight,
  // and edits on the button face. From our system colours, not the desktop's, and
  // set on every widget so that the Qt parts inside a control (an up-down's arrows,
  // a combo's line) follow it too.
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
    pal.setColor(QPalette::Disabled, role, ToQColor(clGrayText));
  pal.setColor(QPalette::Disabled, QPalette::Base, ToQColor(clBtnFace));
  pal.setColor(QPalette::Disabled, QPalette::Light, ToQColor(clBtnHighlight));
  Widget->setPalette(pal);
}

void TControl::Impl::CutTree() {
  Cut = true;
  if (auto* w = dynamic_cast<TWinControl*>(Control))
    for (TControl* c : w->controls_) c->impl_->CutTree();
}

void TControl::Impl::FocusEntered() {
  auto* c = static_cast<TWinControl*>(Control);
  TWinControl* root = RootOf(c);
  TWinControl* old = root->activeControl_;
  if (old == c) return;
  root->activeControl_ = c;
  // Exit from the old control up to the common parent, then enter down to the new one.
  std::vector<TWinControl*> leave, enter;
  for (TWinControl* p = old; p; p = p->Parent()) leave.push_back(p);
  for (TWinControl* p = c; p; p = p->Parent()) enter.push_back(p);
  while (!leave.empty() && !enter.empty() && leave.back() == enter.back()) {
    leave.pop_back();
    enter.pop_back();
  }
  for (TWinControl* p : leave) Guard(p, [p] { p->DoExit(); });
  for (auto it = enter.rbegin(); it != enter.rend(); ++it) {
    TWinControl* p = *it;
    Guard(p, [p] { p->DoEnter(); });
  }
}

bool TControl::Impl::HandleEvent(QEvent* E) {
  if (Cut) return false;
  QEvent::Type t = E->type();
  if (t == PaintRequestEvent()) {
    HandlePaintRequest();
    return true;
  }
  TControl* c = Control;
  auto* win = dynamic_cast<TWinControl*>(c);
  switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
      auto* m = static_cast<QMouseEvent*>(E);
      QPoint p = m->position().toPoint();
      TShiftState s = ShiftOf(m->modifiers(), m->buttons());
      const QPoint g = m->globalPosition().toPoint();
      if (DragMouse(c, t, m->button(), {g.x(), g.y()})) return true;
      if (t == QEvent::MouseMove) {
        Guard(c, [&] { c->MouseMove(s, p.x(), p.y()); });
        return false;
      }
      TMouseButton b;
      if (!ButtonOf(m->button(), b)) return false;
      HintLeave();
      if (t == QEvent::MouseButtonRelease) {
        bool click = b == mbLeft && LeftDown && !WidgetClicks && Widget->rect().contains(p);
        if (b == mbLeft) LeftDown = false;
        if (click) Guard(c, [c] { c->Click(); });
        if (!Cut) Guard(c, [&] { c->MouseUp(b, s, p.x(), p.y()); });
        if (b == mbRight && !Cut) Guard(c, [&] { ContextPopup(c, p.x(), p.y()); });
        return false;
      }
      if (t == QEvent::MouseButtonDblClick) {
        s |= ssDouble;
        if (b == mbLeft) Guard(c, [c] { c->DblClick(); });
        if (Cut) return false;
      }
      if (b == mbLeft) LeftDown = true;
      Guard(c, [&] { c->MouseDown(b, s, p.x(), p.y()); });
      if (b == mbLeft && !Cut && c->DragMode() == dmAutomatic && !c->Dragging()) c->BeginDrag(false);
      return false;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      if (!win) return false;
      // A key the focused control left passes up to the window in Qt; a form sees
      // its controls' keys only through KeyPreview.
      if (dynamic_cast<TForm*>(win) && QApplication::focusWidget() && QApplication::focusWidget() != Widget) return false;
      auto* k = static_cast<QKeyEvent*>(E);
      TShiftState s = ShiftOf(k->modifiers(), Qt::NoButton);
      std::uint16_t vk = VirtualKeyOf(k->key());
      if (t == QEvent::KeyPress && DragKey(vk)) return true;
      if (vk) {
        std::uint16_t key = vk;
        if (t == QEvent::KeyPress) {
          Guard(c, [&] { PreviewKeyDown(win, key, s); });
          if (key && !Cut) Guard(c, [&] { win->KeyDown(key, s); });
          if (key && !Cut) Guard(c, [&] { DialogKey(win, key, s); });
        } else {
          Guard(c, [&] { win->KeyUp(key, s); });
        }
        if (key == 0 || Cut) return true;
      }
      if (t == QEvent::KeyRelease || k->text().size() != 1 || k->text()[0].unicode() >= 128) return false;
      char ch = char(k->text()[0].unicode());
      char typed = ch;
      Guard(c, [&] { PreviewKeyPress(win, ch); });
      if (ch != 0 && !Cut) Guard(c, [&] { win->KeyPress(ch); });
      if (Cut) return true;
      if (ch == 0) return true;
      if (ch != typed && !Cut) {
        // The handler changed the character: the widget gets the new one instead.
        QKeyEvent repl(QEvent::KeyPress, k->key(), k->modifiers(), QString(QChar(ch)));
        Cut = true;  // not through our handlers a second time
        QCoreApplication::sendEvent(Widget, &repl);
        Cut = false;
        return true;
      }
      return false;
    }
    case QEvent::FocusIn:
      if (win) FocusEntered();
      return false;
    case QEvent::Resize: {
      QSize sz = static_cast<QResizeEvent*>(E)->size();
      if (TopLevel && (sz.width() != c->width_ || sz.height() != c->height_)) {
        // The desktop resized the window.
        c->width_ = sz.width();
        c->height_ = sz.height();
        ResizeImage();
        Guard(c, [c] { c->Resize(); });
        Invalidate();
      }
      return false;
    }
    case QEvent::Move:
      if (TopLevel) {
        c->left_ = Widget->x();
        c->top_ = Widget->y();
      }
      return false;
    case QEvent::Show:
      if (Canvas && Dirty && !Queued && !Painting) PostPaintRequest(0);
      return false;
    case QEvent::Close:
      if (TopLevel) {
        // The desktop's close button: the form decides.
        E->ignore();
        Guard(c, [c] { static_cast<TForm*>(c)->Close(); });
        return true;
      }
      return false;
    case QEvent::Enter:
      HintEnter(c);
      Guard(c, [c] { c->MouseEnter(); });
      return false;
    case QEvent::Leave:
      HintLeave();
      Guard(c, [c] { c->MouseLeave(); });
      return false;
    case QEvent::ToolTip:
      return true;  // hints are ours
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TControl, TComponent)

void TControl::DefineProperties(TPropertyTable& t) {
  t.Int("Left", &TControl::Left, &TControl::SetLeft).Default(0LL);
  t.Int("Top", &TControl::Top, &TControl::SetTop).Default(0LL);
  t.Int("Width", &TControl::Width, &TControl::SetWidth);
  t.Int("Height", &TControl::Height, &TControl::SetHeight);
  t.Str("Caption", &TControl::Caption, &TControl::SetCaption);
  t.Color("Color", &TControl::Color, &TControl::SetColor);
  t.Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
  t.Object("Font", &TControl::Font);
  t.Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
  t.Bool("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
  t.Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
  t.Str("Hint", &TControl::Hint, &TControl::SetHint).Default(std::string());
  t.Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
      .Stored([](const TObject* o) { return !static_cast<const TControl*>(o)->ParentShowHint(); });
  t.Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true);
  t.Int("Cursor", &TControl::Cursor, &TControl::SetCursor).Default(0LL);
  t.Event("OnClick", &TControl::OnClick);
  t.Event("OnResize", &TControl::OnResize);
  t.Event("OnMouseDown", &TControl::OnMouseDown);
  t.Event("OnMouseMove", &TControl::OnMouseMove);
  t.Event("OnMouseUp", &TControl::OnMouseUp);
  t.Event("OnDblClick", &TControl::OnDblClick);
  t.Event("OnMouseEnter", &TControl::OnMouseEnter);
  t.Event("OnMouseLeave", &TControl::OnMouseLeave);
  t.Enum("DragMode", &TControl::DragMode, &TControl::SetDragMode, {"dmManual", "dmAutomatic"}).Default(0LL);
  t.Int("DragCursor", &TControl::DragCursor, &TControl::SetDragCursor).Default(static_cast<long long>(crDrag));
  t.Event("OnDragOver", &TControl::OnDragOver);
  t.Event("OnDragDrop", &TControl::OnDragDrop);
  t.Event("OnEndDrag", &TControl::OnEndDrag);
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), font_(std::make_unique<TFont>()) {
  impl_ = std::make_unique<Impl>(this);
  font_->OnChange = [this](TObject*) {
    if (!applyingParentFont_) parentFont_ = false;
    FontChanged();
    if (auto* w = dynamic_cast<TWinControl*>(this))
      for (TControl* c : w->controls_)
        if (c->parentFont_) c->ParentFontChanged();
  };
}

TControl::~TControl() {
  DragForget(this);
  impl_->CutTree();
  if (parent_) {
    TWinControl* root = parent_;
    while (root->parent_) root = root->parent_;
    if (Within(root->activeControl_, this)) root->activeControl_ = nullptr;
    parent_->RemoveControl(this);
  }
  parent_ = nullptr;
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == parent_) return;
  for (TControl* p = AParent; p; p = p->parent_)
    if (p == this) throw EInvalidOperation("A control cannot have itself or a child as its parent");
  if (parent_) {
    TWinControl* root = parent_;
    while (root->parent_) root = root->parent_;
    if (Within(root->activeControl_, this)) root->activeControl_ = nullptr;
    parent_->RemoveControl(this);
  }
  TWinControl* old = parent_;
  parent_ = AParent;
  if (AParent) AParent->InsertControl(this);
  if (old && align_ != alNone) old->AlignControls();
  if (QWidget* w = impl_->Widget) {
    w->setParent(AParent ? AParent->impl_->Widget : nullptr);
    // Graphic controls lie under the windowed controls of their parent.
    if (AParent && !dynamic_cast<TWinControl*>(this))
      for (TControl* sib : AParent->controls_)
        if (dynamic_cast<TWinControl*>(sib) && sib->impl_->Widget) {
          w->stackUnder(sib->impl_->Widget);
          break;
        }
    impl_->ApplyGeometry();
    impl_->ApplyVisible();
  }
  if (AParent) {
    if (parentFont_) ParentFontChanged();
    if (parentColor_) ParentColorChanged();
  }
  if (AParent && align_ != alNone) AParent->AlignControls();
  SyncTabChain(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::max(0, AWidth);
  AHeight = std::max(0, AHeight);
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  bool resized = AWidth != width_ || AHeight != height_;
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  impl_->ApplyGeometry();
  if (resized) {
    impl_->ResizeImage();
    if (auto* w = dynamic_cast<TWinControl*>(this)) w->AlignControls();
    Resize();
    Invalidate();
  }
  if (align_ != alNone && parent_) parent_->AlignControls();
}

TPoint TControl::ClientToScreen(const TPoint& P) const {
  if (QWidget* w = impl_->Widget) {
    QPoint g = w->mapToGlobal(QPoint(P.X, P.Y));
    return {g.x(), g.y()};
  }
  TPoint r = P;
  for (const TControl* c = this; c; c = c->parent_) {
    r.X += c->left_;
    r.Y += c->top_;
  }
  return r;
}

TPoint TControl::ScreenToClient(const TPoint& P) const {
  TPoint origin = ClientToScreen({0, 0});
  return {P.X - origin.X, P.Y - origin.Y};
}

void TControl::SetVisible(bool Value) {
  if (Value == visible_) return;
  visible_ = Value;
  impl_->ApplyVisible();
  if (align_ != alNone && parent_) parent_->AlignControls();
}

bool TControl::Showing() const { return impl_->Widget && impl_->Widget->isVisible(); }

void TControl::SetEnabled(bool Value) {
  if (Value == enabled_) return;
  enabled_ = Value;
  if (impl_->Widget) impl_->Widget->setEnabled(Value);
  Invalidate();
}

void TControl::SetText(const std::string& Value) {
  if (Value == text_) return;
  text_ = Value;
  if (impl_->ApplyText) impl_->ApplyText();
  TextChanged();
}

void TControl::SetColor(TColor Value) {
  if (Value == color_) return;
  color_ = Value;
  parentColor_ = false;
  ColorChanged();
  if (auto* w = dynamic_cast<TWinControl*>(this))
    for (TControl* c : w->controls_)
      if (c->parentColor_) c->ParentColorChanged();
}

void TControl::SetParentColor(bool Value) {
  parentColor_ = Value;
  if (Value) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parent_) return;
  SetColor(parent_->Color());
  parentColor_ = true;
}

void TControl::SetParentFont(bool Value) {
  parentFont_ = Value;
  if (Value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parent_) return;
  applyingParentFont_ = true;
  font_->Assign(parent_->Font());
  applyingParentFont_ = false;
  parentFont_ = true;
}

void TControl::FontChanged() {
  impl_->ApplyFont();
  Invalidate();
}

void TControl::ColorChanged() {
  impl_->ApplyColor();
  Invalidate();
}

void TControl::SetHint(const std::string& Value) { hint_ = Value; }

bool TControl::ShowHint() const {
  if (parentShowHint_ && parent_) return parent_->ShowHint();
  return showHint_;
}

void TControl::SetShowHint(bool Value) {
  showHint_ = Value;
  parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool Value) {
  if (!Value) showHint_ = ShowHint();
  parentShowHint_ = Value;
}

void TControl::SetCursor(TCursor Value) {
  cursor_ = Value;
  impl_->ApplyCursor();
}

void TControl::Invalidate() { impl_->Invalidate(); }
void TControl::Update() { impl_->Update(); }

void TControl::BringToFront() {
  if (impl_->Widget) impl_->Widget->raise();
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TWinControl, TControl)

void TWinControl::DefineProperties(TPropertyTable& t) {
  t.Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
  t.Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
  t.Event("OnEnter", &TWinControl::OnEnter);
  t.Event("OnExit", &TWinControl::OnExit);
  t.Event("OnKeyDown", &TWinControl::OnKeyDown);
  t.Event("OnKeyPress", &TWinControl::OnKeyPress);
  t.Event("OnKeyUp", &TWinControl::OnKeyUp);
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  // Nothing reaches the children once their parent goes; then they go, last first.
  impl_->CutTree();
  while (!controls_.empty()) delete controls_.back();
}

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) throw EListError(Format("List index out of bounds (%d)", Index));
  return controls_[size_t(Index)];
}

bool TWinControl::ContainsControl(const TControl* Control) const { return Within(Control, this); }

void TWinControl::InsertControl(TControl* AControl) {
  controls_.push_back(AControl);
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) tabList_.push_back(w);
}

void TWinControl::RemoveControl(TControl* AControl) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), AControl), controls_.end());
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), AControl), tabList_.end());
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& l = Parent()->tabList_;
  return int(std::find(l.begin(), l.end(), this) - l.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (!Parent()) return;
  auto& l = Parent()->tabList_;
  l.erase(std::remove(l.begin(), l.end(), this), l.end());
  if (Value < 0 || Value > int(l.size())) Value = int(l.size());
  l.insert(l.begin() + Value, this);
  SyncTabChain(this);
}

void TWinControl::SetTabStop(bool Value) {
  if (Value == tabStop_) return;
  tabStop_ = Value;
  impl_->ApplyFocusPolicy();
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TWinControl* w : tabList_) {
    List.push_back(w);
    w->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  int n = int(list.size());
  if (n == 0) return nullptr;
  int start = int(std::find(list.begin(), list.end(), CurControl) - list.begin());
  if (start == n) start = GoForward ? n - 1 : 0;  // not in the list: begin at the first (or last)
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = GoForward ? (i + 1) % n : (i + n - 1) % n;
    TWinControl* w = list[size_t(i)];
    if (w != CurControl && (!CheckTabStop || w->TabStop()) && w->CanFocus()) return w;
  }
  return nullptr;
}

void TWinControl::SelectFirst() {
  if (TWinControl* w = FindNextControl(nullptr, true, true)) w->SetFocus();
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* w = FindNextControl(CurControl, GoForward, CheckTabStop)) w->SetFocus();
}

bool TWinControl::CanFocus() const {
  if (!impl_->Widget || impl_->Widget->focusPolicy() == Qt::NoFocus) return false;
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  TForm* f = GetParentForm(this);
  return f && f->Showing();
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  impl_->Widget->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const { return impl_->Widget && impl_->Widget->hasFocus(); }

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TCustomControl, TWinControl)

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  MakeWidget<QWidget>(this);
  impl_->EnableCanvas(false);
}

TCanvas* TCustomControl::Canvas() const { return impl_->Canvas.get(); }

IMPLEMENT_CLASS(TGraphicControl, TControl)

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  MakeWidget<QWidget>(this);
  impl_->EnableCanvas(true);
}

TCanvas* TGraphicControl::Canvas() const { return impl_->Canvas.get(); }
