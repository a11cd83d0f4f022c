// The tree view: nodes with a text and an object (not owned), painted on the
// tree's canvas one row per shown node, children indented under their parent.
//
// Events: OnChanging (may refuse) and OnChange fire when the selected node changes -
// by the user or by setting Selected in code; clearing or deleting the selected
// node fires OnChange with nullptr. OnExpanding/OnCollapsing may refuse.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls.h"

class TTreeNodes;
class TCustomTreeView;

class TTreeNode {
public:
  TTreeNode(TTreeNodes* Owner, TTreeNode* Parent);
  ~TTreeNode();
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  const std::string& Text() const { return text_; }
  void SetText(const std::string& Value);
  TObject* Data() const { return data_; }
  void SetData(TObject* Value) { data_ = Value; }
  TTreeNode* Parent() const { return parent_; }
  int Count() const { return int(children_.size()); }
  bool HasChildren() const { return !children_.empty(); }
  // EListError outside 0..Count-1.
  TTreeNode* Item(int Index) const;
  // Place among its parent's children.
  int Index() const;
  // Depth: 0 for top-level nodes.
  int Level() const;
  bool Expanded() const { return expanded_; }
  void SetExpanded(bool Value);
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  bool Selected() const;
  // True when every parent is expanded.
  bool IsVisible() const;
  TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
  TTreeNode* GetLastChild() const { return children_.empty() ? nullptr : children_.back(); }
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // The next node in depth-first order, and the one before.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  // The next and previous node in depth-first order among the shown ones.
  TTreeNode* GetNextVisible() const;
  TTreeNode* GetPrevVisible() const;
  TTreeNodes* Owner() const { return owner_; }
  // Frees the node and its children.
  void Delete();
  void DeleteChildren();

private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  TTreeNodes* owner_;
  TTreeNode* parent_;
  std::string text_;
  TObject* data_ = nullptr;
  bool expanded_ = false;
  std::vector<TTreeNode*> children_;
};

// The nodes of a tree view.
class TTreeNodes {
public:
  explicit TTreeNodes(TCustomTreeView* Owner) : owner_(Owner) {}
  ~TTreeNodes();
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  // A node after the last sibling of Sibling (a top-level node when Sibling is nullptr).
  TTreeNode* Add(TTreeNode* Sibling, const std::string& S) { return AddObject(Sibling, S, nullptr); }
  TTreeNode* AddObject(TTreeNode* Sibling, const std::string& S, TObject* Ptr);
  // A node at the end of Parent's children (top level when Parent is nullptr).
  TTreeNode* AddChild(TTreeNode* Parent, const std::string& S) { return AddChildObject(Parent, S, nullptr); }
  TTreeNode* AddChildObject(TTreeNode* Parent, const std::string& S, TObject* Ptr);
  // A node placed before Sibling.
  TTreeNode* InsertObject(TTreeNode* Sibling, const std::string& S, TObject* Ptr);
  void Delete(TTreeNode* Node) { Node->Delete(); }
  void Clear();
  // All nodes, in depth-first order.
  int Count() const;
  // The node at Index in depth-first order; EListError outside.
  TTreeNode* Item(int Index) const;
  TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front(); }
  int RootCount() const { return int(roots_.size()); }
  TTreeNode* Root(int Index) const { return roots_.at(size_t(Index)); }
  void BeginUpdate() { ++updating_; }
  void EndUpdate();
  TCustomTreeView* Owner() const { return owner_; }

private:
  friend class TTreeNode;
  std::vector<TTreeNode*>& SiblingsOf(TTreeNode* Parent) { return Parent ? Parent->children_ : roots_; }
  void Changed();
  void Going(TTreeNode* Node);
  TCustomTreeView* owner_;
  std::vector<TTreeNode*> roots_;
  int updating_ = 0;
};

using TTVChangedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVEditedEvent = TEvent<void(TObject* Sender, TTreeNode* Node, std::string& S)>;

class TEdit;

// The tree view. Keys: Up and Down move the selection among the shown nodes, Home and
// End to the first and last, Right expands (or goes to the first child), Left
// collapses (or goes to the parent), '+' and '-' expand and collapse; F2 edits the
// selected node's text in place unless ReadOnly (Enter keeps the text, after
// OnEdited; Escape keeps the old one). A click on the box before a node with
// children opens or closes it; a double click toggles it and fires OnDblClick.
class TCustomTreeView : public TCustomControl {
  DECLARE_CLASS(TCustomTreeView, TCustomControl)
public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;

  TTreeNodes* Items() const { return items_.get(); }
  TTreeNode* Selected() const { return selected_; }
  void SetSelected(TTreeNode* Value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool Value) { readOnly_ = Value; }
  bool ShowLines() const { return showLines_; }
  void SetShowLines(bool Value);
  bool ShowButtons() const { return showButtons_; }
  void SetShowButtons(bool Value);
  bool ShowRoot() const { return showRoot_; }
  void SetShowRoot(bool Value);
  int Indent() const { return indent_; }
  void SetIndent(int Value);
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool Value);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int Value);
  // The first node shown at the top.
  TTreeNode* TopItem() const { return top_; }
  void SetTopItem(TTreeNode* Value);
  void FullExpand();
  void FullCollapse();
  // The node whose row holds the point (nullptr below the last row).
  TTreeNode* GetNodeAt(int X, int Y) const;
  // The node's row; empty when it does not show.
  TRect NodeRect(const TTreeNode* Node) const;
  bool IsEditing() const { return editing_ != nullptr; }
  // Starts the in-place edit of the selected node (not when ReadOnly).
  void EditSelected();

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVExpandingEvent OnCollapsing;
  TTVEditedEvent OnEdited;
  TTVChangedEvent OnDeletion;

  static void DefineProperties(TPropertyTable& t);

  struct Bars;

protected:
  void Paint() override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void DoEnter() override;
  void DoExit() override;

private:
  friend class TTreeNodes;
  friend class TTreeNode;
  void NodesChanged();
  void NodeGoing(TTreeNode* Node);
  bool CanExpand(TTreeNode* Node, bool Expanding);
  void EndEdit(bool Keep);
  // Shown nodes in order, from the first.
  std::vector<TTreeNode*> ShownNodes() const;
  int RowOf(const TTreeNode* Node) const;
  int VisibleRows() const;
  void MakeVisible(TTreeNode* Node);
  void UpdateScrollBar();
  std::unique_ptr<TTreeNodes> items_;
  TTreeNode* selected_ = nullptr;
  TTreeNode* top_ = nullptr;
  TTreeNode* editing_ = nullptr;
  TEdit* editor_ = nullptr;
  bool readOnly_ = false;
  bool showLines_ = true;
  bool showButtons_ = true;
  bool showRoot_ = true;
  bool hideSelection_ = true;
  int indent_ = 19;
  int itemHeight_ = 16;
  bool destroying_ = false;
  std::unique_ptr<Bars> bars_;
};

class TTreeView : public TCustomTreeView {
  DECLARE_CLASS(TTreeView, TCustomTreeView)
public:
  explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
};
