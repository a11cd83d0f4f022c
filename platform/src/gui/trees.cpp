// The tree view, painted on its canvas one row per shown node.
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

#include "forms_impl.h"
#include "lists_impl.h"
#include "platform/rtl.h"
#include "platform/stdctrls.h"
#include "platform/trees.h"
#include "platform/typinfo.h"

using namespace forms_detail;

namespace {

constexpr int kBorder = 2;
constexpr int kBarSize = 16;


}  // namespace

// ---------------------------------------------------------------------------
TTreeNode::TTreeNode(TTreeNodes* Owner, TTreeNode* Parent) : owner_(Owner), parent_(Parent) {}

TTreeNode::~TTreeNode() {
  while (!children_.empty()) {
    TTreeNode* c = children_.back();
    owner_->Going(c);
    children_.pop_back();
    c->parent_ = nullptr;
    delete c;
  }
}

void TTreeNode::SetText(const std::string& Value) {
  if (Value == text_) return;
  text_ = Value;
  owner_->Changed();
}

TTreeNode* TTreeNode::Item(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return children_[size_t(Index)];
}

int TTreeNode::Index() const {
  const auto& sib = owner_->SiblingsOf(parent_);
  return int(std::find(sib.begin(), sib.end(), this) - sib.begin());
}

int TTreeNode::Level() const {
  int n = 0;
  for (TTreeNode* p = parent_; p; p = p->parent_) ++n;
  return n;
}

void TTreeNode::SetExpanded(bool Value) {
  if (Value == expanded_) return;
  TCustomTreeView* tv = owner_->Owner();
  if (tv && !tv->CanExpand(this, Value)) return;
  expanded_ = Value;
  // A selection hidden by collapsing moves up to this node.
  if (!Value && tv && tv->selected_ && tv->selected_ != this)
    for (TTreeNode* p = tv->selected_->parent_; p; p = p->parent_)
      if (p == this) {
        tv->SetSelected(this);
        break;
      }
  owner_->Changed();
}

void TTreeNode::Expand(bool Recurse) {
  SetExpanded(true);
  if (Recurse)
    for (TTreeNode* c : children_) c->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
  if (Recurse)
    for (TTreeNode* c : children_) c->Collapse(true);
  SetExpanded(false);
}

bool TTreeNode::Selected() const { return owner_->Owner() && owner_->Owner()->Selected() == this; }

bool TTreeNode::IsVisible() const {
  for (TTreeNode* p = parent_; p; p = p->parent_)
    if (!p->expanded_) return false;
  return true;
}

TTreeNode* TTreeNode::GetNextSibling() const {
  const auto& sib = owner_->SiblingsOf(parent_);
  int i = Index();
  return i + 1 < int(sib.size()) ? sib[size_t(i + 1)] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  const auto& sib = owner_->SiblingsOf(parent_);
  int i = Index();
  return i > 0 ? sib[size_t(i - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!children_.empty()) return children_.front();
  for (const TTreeNode* n = this; n; n = n->parent_)
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* s = GetPrevSibling();
  if (!s) return parent_;
  while (!s->children_.empty()) s = s->children_.back();
  return s;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  if (expanded_ && !children_.empty()) return children_.front();
  for (const TTreeNode* n = this; n; n = n->parent_)
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
  TTreeNode* s = GetPrevSibling();
  if (!s) return parent_;
  while (s->expanded_ && !s->children_.empty()) s = s->children_.back();
  return s;
}

void TTreeNode::DeleteChildren() {
  owner_->BeginUpdate();
  while (!children_.empty()) children_.back()->Delete();
  owner_->EndUpdate();
}

void TTreeNode::Delete() {
  TTreeNodes* owner = owner_;
  owner->Going(this);
  auto& sib = owner->SiblingsOf(parent_);
  sib.erase(std::find(sib.begin(), sib.end(), this));
  delete this;
  owner->Changed();
}

// ---------------------------------------------------------------------------
TTreeNodes::~TTreeNodes() {
  updating_ = 1;
  Clear();
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const std::string& S, TObject* Ptr) {
  return AddChildObject(Sibling ? Sibling->parent_ : nullptr, S, Ptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const std::string& S, TObject* Ptr) {
  auto* n = new TTreeNode(this, Parent);
  n->text_ = S;
  n->data_ = Ptr;
  SiblingsOf(Parent).push_back(n);
  Changed();
  return n;
}

TTreeNode* TTreeNodes::InsertObject(TTreeNode* Sibling, const std::string& S, TObject* Ptr) {
  if (!Sibling) return AddObject(nullptr, S, Ptr);
  auto* n = new TTreeNode(this, Sibling->parent_);
  n->text_ = S;
  n->data_ = Ptr;
  auto& sib = SiblingsOf(Sibling->parent_);
  sib.insert(std::find(sib.begin(), sib.end(), Sibling), n);
  Changed();
  return n;
}

void TTreeNodes::Clear() {
  BeginUpdate();
  while (!roots_.empty()) roots_.back()->Delete();
  EndUpdate();
}

int TTreeNodes::Count() const {
  int n = 0;
  for (TTreeNode* p = GetFirstNode(); p; p = p->GetNext()) ++n;
  return n;
}

TTreeNode* TTreeNodes::Item(int Index) const {
  int i = 0;
  for (TTreeNode* p = GetFirstNode(); p; p = p->GetNext(), ++i)
    if (i == Index) return p;
  ListIndexError(Index);
}

void TTreeNodes::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0) Changed();
}

void TTreeNodes::Changed() {
  if (updating_ == 0 && owner_) owner_->NodesChanged();
}

void TTreeNodes::Going(TTreeNode* Node) {
  // Children go first, so the view forgets every node of the branch.
  for (TTreeNode* c : Node->children_) Going(c);
  if (owner_) owner_->NodeGoing(Node);
}

// ---------------------------------------------------------------------------
struct TCustomTreeView::Bars {
  QScrollBar* Vert = nullptr;
};

IMPLEMENT_CLASS_PROPS(TCustomTreeView, TCustomControl)

void TCustomTreeView::DefineProperties(TPropertyTable& t) {
  t.Bool("ReadOnly", &TCustomTreeView::ReadOnly, &TCustomTreeView::SetReadOnly).Default(false);
  t.Bool("ShowLines", &TCustomTreeView::ShowLines, &TCustomTreeView::SetShowLines).Default(true);
  t.Bool("ShowButtons", &TCustomTreeView::ShowButtons, &TCustomTreeView::SetShowButtons).Default(true);
  t.Bool("ShowRoot", &TCustomTreeView::ShowRoot, &TCustomTreeView::SetShowRoot).Default(true);
  t.Bool("HideSelection", &TCustomTreeView::HideSelection, &TCustomTreeView::SetHideSelection).Default(true);
  t.Int("Indent", &TCustomTreeView::Indent, &TCustomTreeView::SetIndent).Default(19LL);
  t.Int("ItemHeight", &TCustomTreeView::ItemHeight, &TCustomTreeView::SetItemHeight).Default(16LL);
  t.Event("OnChange", &TCustomTreeView::OnChange);
  t.Event("OnChanging", &TCustomTreeView::OnChanging);
  t.Event("OnExpanding", &TCustomTreeView::OnExpanding);
  t.Event("OnCollapsing", &TCustomTreeView::OnCollapsing);
  t.Event("OnEdited", &TCustomTreeView::OnEdited);
  t.Event("OnDeletion", &TCustomTreeView::OnDeletion);
}

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TCustomControl(AOwner), items_(std::make_unique<TTreeNodes>(this)), bars_(std::make_unique<Bars>()) {
  SetBounds(0, 0, 121, 97);
  MakeFocusable(this);
  bars_->Vert = AddScrollBar(this, Qt::Vertical, [this](int v) {
    std::vector<TTreeNode*> shown = ShownNodes();
    if (v >= 0 && v < int(shown.size())) SetTopItem(shown[size_t(v)]);
  });
}

TCustomTreeView::~TCustomTreeView() {
  destroying_ = true;
  items_.reset();
}

void TCustomTreeView::NodesChanged() {
  if (destroying_) return;
  if (top_ && !top_->IsVisible()) top_ = nullptr;
  UpdateScrollBar();
  Invalidate();
}

void TCustomTreeView::NodeGoing(TTreeNode* Node) {
  if (editing_ == Node) {
    editing_ = nullptr;
    if (editor_) editor_->Hide();
  }
  if (top_ == Node) top_ = nullptr;
  if (selected_ == Node) {
    selected_ = nullptr;
    if (!destroying_ && OnChange) OnChange(this, nullptr);
  }
  if (!destroying_ && OnDeletion) OnDeletion(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node, bool Expanding) {
  bool allow = true;
  TTVExpandingEvent& ev = Expanding ? OnExpanding : OnCollapsing;
  if (ev) ev(this, Node, allow);
  return allow;
}

void TCustomTreeView::SetSelected(TTreeNode* Value) {
  if (Value == selected_) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, Value, allow);
  if (!allow) return;
  if (editing_) EndEdit(true);
  selected_ = Value;
  // Selecting a node opens the branches above it.
  if (Value)
    for (TTreeNode* p = Value->Parent(); p; p = p->Parent()) p->expanded_ = true;
  if (Value) MakeVisible(Value);
  UpdateScrollBar();
  Invalidate();
  if (OnChange) OnChange(this, Value);
}

void TCustomTreeView::SetShowLines(bool Value) {
  showLines_ = Value;
  Invalidate();
}

void TCustomTreeView::SetShowButtons(bool Value) {
  showButtons_ = Value;
  Invalidate();
}

void TCustomTreeView::SetShowRoot(bool Value) {
  showRoot_ = Value;
  Invalidate();
}

void TCustomTreeView::SetIndent(int Value) {
  indent_ = std::max(0, Value);
  Invalidate();
}

void TCustomTreeView::SetHideSelection(bool Value) {
  hideSelection_ = Value;
  Invalidate();
}

void TCustomTreeView::SetItemHeight(int Value) {
  if (Value < 1) return;
  itemHeight_ = Value;
  UpdateScrollBar();
  Invalidate();
}

void TCustomTreeView::FullExpand() {
  items_->BeginUpdate();
  for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNextSibling()) n->Expand(true);
  items_->EndUpdate();
}

void TCustomTreeView::FullCollapse() {
  items_->BeginUpdate();
  for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNextSibling()) n->Collapse(true);
  items_->EndUpdate();
}

std::vector<TTreeNode*> TCustomTreeView::ShownNodes() const {
  std::vector<TTreeNode*> v;
  for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNextVisible()) v.push_back(n);
  return v;
}

int TCustomTreeView::RowOf(const TTreeNode* Node) const {
  int i = 0;
  for (TTreeNode* n = items_->GetFirstNode(); n; n = n->GetNextVisible(), ++i)
    if (n == Node) return i;
  return -1;
}

int TCustomTreeView::VisibleRows() const { return std::max(1, (Height() - 2 * kBorder) / itemHeight_); }

void TCustomTreeView::SetTopItem(TTreeNode* Value) {
  if (Value == top_ || (Value && !Value->IsVisible())) return;
  top_ = Value;
  UpdateScrollBar();
  Invalidate();
}

void TCustomTreeView::MakeVisible(TTreeNode* Node) {
  const int row = RowOf(Node), top = top_ ? RowOf(top_) : 0;
  if (row < 0) return;
  std::vector<TTreeNode*> shown = ShownNodes();
  if (row < top) top_ = Node;
  else if (row >= top + VisibleRows()) top_ = shown[size_t(row - VisibleRows() + 1)];
}

void TCustomTreeView::UpdateScrollBar() {
  if (!bars_ || !bars_->Vert) return;
  const int total = int(ShownNodes().size());
  const bool need = total > VisibleRows();
  QSignalBlocker b(bars_->Vert);
  bars_->Vert->setRange(0, std::max(0, total - VisibleRows()));
  bars_->Vert->setPageStep(VisibleRows());
  bars_->Vert->setValue(top_ ? RowOf(top_) : 0);
  bars_->Vert->setGeometry(Width() - kBorder - kBarSize, kBorder, kBarSize, std::max(0, Height() - 2 * kBorder));
  bars_->Vert->setVisible(need);
}

void TCustomTreeView::Resize() {
  UpdateScrollBar();
  TCustomControl::Resize();
}

TRect TCustomTreeView::NodeRect(const TTreeNode* Node) const {
  const int row = RowOf(Node), top = top_ ? RowOf(top_) : 0;
  if (row < top || row < 0) return {};
  const int y = kBorder + (row - top) * itemHeight_;
  if (y >= Height() - kBorder) return {};
  return Rect(kBorder, y, Width() - kBorder, y + itemHeight_);
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) const {
  (void)X;
  if (Y < kBorder) return nullptr;
  int row = (Y - kBorder) / itemHeight_;
  TTreeNode* n = top_ ? top_ : items_->GetFirstNode();
  for (; n && row > 0; --row) n = n->GetNextVisible();
  return n;
}

void TCustomTreeView::Paint() {
  TCanvas* c = Canvas();
  c->Pen()->SetMode(pmCopy);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(Rect(0, 0, Width(), Height()));
  const int bottom = Height() - kBorder;
  const bool focused = Focused();
  int y = kBorder;
  for (TTreeNode* n = top_ ? top_ : items_->GetFirstNode(); n && y < bottom; n = n->GetNextVisible(), y += itemHeight_) {
    const int level = n->Level() + (showRoot_ ? 1 : 0);
    const int x = kBorder + level * indent_;
    const int mid = y + itemHeight_ / 2;
    c->Font()->Assign(Font());
    if (showLines_ && level > 0) {
      c->Pen()->SetStyle(psDot);
      c->Pen()->SetColor(clGrayText);
      c->MoveTo(x - indent_ / 2, mid);
      c->LineTo(x, mid);
      // The line down to the next sibling, and through from the ones above.
      c->MoveTo(x - indent_ / 2, n->GetPrevSibling() || n->Parent() ? y : mid);
      c->LineTo(x - indent_ / 2, n->GetNextSibling() ? y + itemHeight_ : mid);
      int px = x - indent_ / 2 - indent_;
      for (TTreeNode* p = n->Parent(); p && px > kBorder; p = p->Parent(), px -= indent_)
        if (p->GetNextSibling()) {
          c->MoveTo(px, y);
          c->LineTo(px, y + itemHeight_);
        }
      c->Pen()->SetStyle(psSolid);
    }
    if (showButtons_ && n->HasChildren() && level > 0) {
      const int bx = x - indent_ / 2;
      c->Pen()->SetColor(clGrayText);
      c->Brush()->SetColor(clWindow);
      c->Rectangle(bx - 4, mid - 4, bx + 5, mid + 5);
      c->Pen()->SetColor(clWindowText);
      c->MoveTo(bx - 2, mid);
      c->LineTo(bx + 3, mid);
      if (!n->Expanded()) {
        c->MoveTo(bx, mid - 2);
        c->LineTo(bx, mid + 3);
      }
    }
    const bool sel = n == selected_ && (focused || !hideSelection_);
    const TRect text = Rect(x + 2, y, x + 6 + c->TextWidth(n->Text()), y + itemHeight_);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(sel ? (focused ? clHighlight : clBtnFace) : Color());
    if (sel && focused) c->Font()->SetColor(clHighlightText);
    c->FillRect(text);
    c->SetBkMode(TRANSPARENT);
    c->TextOut(text.Left + 2, y + (itemHeight_ - c->TextHeight("Wg")) / 2, n->Text());
    if (n == selected_ && focused) DrawFocusRectangle(c, text);
  }
  DrawSunkenFrame(c, Width(), Height());
}

void TCustomTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (editing_) EndEdit(true);
  if (CanFocus() && !Focused()) SetFocus();
  if (TTreeNode* n = GetNodeAt(X, Y)) {
    const int level = n->Level() + (showRoot_ ? 1 : 0);
    const int bx = kBorder + level * indent_ - indent_ / 2;
    if (Button == mbLeft && (Shift & ssDouble)) {
      if (n->HasChildren()) n->SetExpanded(!n->Expanded());  // after the control's OnDblClick
    } else if (Button == mbLeft && n->HasChildren() && level > 0 && std::abs(X - bx) <= 6) {
      n->SetExpanded(!n->Expanded());
    } else if (Button == mbLeft || Button == mbRight) {
      SetSelected(n);
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomTreeView::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (!Key) return;
  TTreeNode* s = selected_;
  TTreeNode* to = s;
  switch (Key) {
    case VK_UP: to = s ? s->GetPrevVisible() : items_->GetFirstNode(); break;
    case VK_DOWN: to = s ? s->GetNextVisible() : items_->GetFirstNode(); break;
    case VK_HOME: to = items_->GetFirstNode(); break;
    case VK_END: {
      std::vector<TTreeNode*> shown = ShownNodes();
      to = shown.empty() ? nullptr : shown.back();
      break;
    }
    case VK_RIGHT:
      if (s && s->HasChildren()) {
        if (!s->Expanded()) s->SetExpanded(true);
        else to = s->GetFirstChild();
      }
      break;
    case VK_LEFT:
      if (s) {
        if (s->Expanded() && s->HasChildren()) s->SetExpanded(false);
        else if (s->Parent()) to = s->Parent();
      }
      break;
    case VK_F1 + 1:
      EditSelected();
      break;
    default: return;
  }
  Key = 0;
  if (to && to != s) SetSelected(to);
}

void TCustomTreeView::KeyPress(char& Key) {
  TCustomControl::KeyPress(Key);
  if (!selected_) return;
  if (Key == '+') selected_->SetExpanded(true);
  else if (Key == '-') selected_->SetExpanded(false);
  else return;
  Key = 0;
}

void TCustomTreeView::EditSelected() {
  if (readOnly_ || !selected_ || editing_) return;
  if (!editor_) {
    editor_ = new TEdit(this);
    editor_->SetVisible(false);
    editor_->SetParent(this);
    editor_->OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState) {
      if (Key == VK_RETURN || Key == VK_ESCAPE) {
        bool keep = Key == VK_RETURN;
        Key = 0;
        EndEdit(keep);
      }
    };
  }
  editing_ = selected_;
  TRect r = NodeRect(selected_);
  const int x = kBorder + (selected_->Level() + (showRoot_ ? 1 : 0)) * indent_;
  editor_->SetBounds(x, r.Top - 1, std::max(40, Width() - kBorder - x), itemHeight_ + 2);
  editor_->SetText(selected_->Text());
  editor_->Show();
  if (editor_->CanFocus()) editor_->SetFocus();
  editor_->SelectAll();
}

void TCustomTreeView::EndEdit(bool Keep) {
  TTreeNode* n = editing_;
  if (!n) return;
  editing_ = nullptr;
  std::string s = editor_->Text();
  const bool hadFocus = editor_->Focused();
  editor_->Hide();
  if (hadFocus && CanFocus()) SetFocus();
  if (Keep) {
    if (OnEdited) OnEdited(this, n, s);
    n->SetText(s);
  }
  Invalidate();
}

void TCustomTreeView::DoEnter() {
  Invalidate();
  TCustomControl::DoEnter();
}

void TCustomTreeView::DoExit() {
  Invalidate();
  TCustomControl::DoExit();
}

IMPLEMENT_CLASS(TTreeView, TCustomTreeView)
