// Popup menus and their items, built at run time.
//
// Popup(X, Y) shows the menu at a screen point and returns at once; the item the
// user picks fires its OnClick from the message loop. On the offscreen platform the
// menu is recorded instead of shown and a test picks an item (platform/testing.h).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/forms.h"

// A menu item. Caption "-" makes a separator line. Items own their sub-items.
// Events: OnClick fires when the user picks the item and on Click(); setting
// Checked fires nothing. AutoCheck flips Checked on each pick.
class TMenuItem : public TComponent {
  DECLARE_CLASS(TMenuItem, TComponent)
public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& Value) { caption_ = Value; }
  bool Checked() const { return checked_; }
  void SetChecked(bool Value) { checked_ = Value; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value) { enabled_ = Value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool Value) { visible_ = Value; }
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool Value) { radioItem_ = Value; }
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool Value) { autoCheck_ = Value; }
  bool IsLine() const { return caption_ == "-"; }

  int Count() const { return int(items_.size()); }
  // EListError outside 0..Count-1.
  TMenuItem* Items(int Index) const;
  TMenuItem* Parent() const { return parent_; }
  // Takes the item in (moving it from another parent).
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  // Takes the item out without freeing it.
  void Remove(TMenuItem* Item);
  // Frees the sub-item at Index.
  void Delete(int Index);
  // Frees every sub-item.
  void Clear();
  int IndexOf(const TMenuItem* Item) const;
  int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
  // The sub-item with this caption (accelerator marks ignored), nullptr when none.
  TMenuItem* Find(const std::string& ACaption) const;

  // Fires OnClick (AutoCheck flips Checked first).
  virtual void Click();

  TNotifyEvent OnClick;

  static void DefineProperties(TPropertyTable& t);

private:
  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool radioItem_ = false;
  bool autoCheck_ = false;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
};

// A menu shown on demand. OnPopup fires first, so a handler can fill or adjust the
// items; PopupComponent is the control whose right click opened it (nullptr for
// Popup by code).
class TPopupMenu : public TComponent {
  DECLARE_CLASS(TPopupMenu, TComponent)
public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  TMenuItem* Items() const { return items_; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool Value) { autoPopup_ = Value; }
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* Value) { popupComponent_ = Value; }
  // Shows the menu with its top-left corner at the screen point (X, Y).
  virtual void Popup(int X, int Y);
  // Where the last popup went (screen coordinates).
  TPoint PopupPoint() const { return popupPoint_; }

  TNotifyEvent OnPopup;

  static void DefineProperties(TPropertyTable& t);

  struct Shown;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TMenuItem* items_;
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;
  TPoint popupPoint_{0, 0};
  std::unique_ptr<Shown> shown_;
};
