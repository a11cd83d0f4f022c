// Popup menus: items kept on our side, a QMenu built for each showing.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPointer>

#include <algorithm>
#include <memory>

#include "forms_impl.h"
#include "popup_drag.h"
#include "platform/controls.h"
#include "platform/menus.h"
#include "platform/rtl.h"
#include "platform/testing.h"
#include "platform/typinfo.h"

using namespace forms_detail;

IMPLEMENT_CLASS_PROPS(TMenuItem, TComponent)

void TMenuItem::DefineProperties(TPropertyTable& t) {
  t.Str("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption).Default(std::string());
  t.Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false);
  t.Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
  t.Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
  t.Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false);
  t.Bool("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false);
  t.Event("OnClick", &TMenuItem::OnClick);
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  if (parent_) parent_->Remove(this);
  // Sub-items go with their item; each takes itself out of the list as it goes.
  while (!items_.empty()) delete items_.back();
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(Format("List index out of bounds (%d)", Index));
  return items_[size_t(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) return;
  for (TMenuItem* p = this; p; p = p->parent_)
    if (p == Item) throw EInvalidOperation("Menu inserted twice");
  if (Item->parent_) Item->parent_->Remove(Item);
  if (Index < 0 || Index > Count()) throw EListError(Format("List index out of bounds (%d)", Index));
  items_.insert(items_.begin() + Index, Item);
  Item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto it = std::find(items_.begin(), items_.end(), Item);
  if (it == items_.end()) return;
  items_.erase(it);
  Item->parent_ = nullptr;
}

void TMenuItem::Delete(int Index) { delete Items(Index); }

void TMenuItem::Clear() {
  while (!items_.empty()) delete items_.back();
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(items_.begin(), items_.end(), Item);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const {
  const std::string want = StripAccelerator(ACaption);
  for (TMenuItem* i : items_)
    if (SameText(StripAccelerator(i->caption_), want)) return i;
  return nullptr;
}

void TMenuItem::Click() {
  if (autoCheck_) checked_ = !checked_;
  if (OnClick) OnClick(this);
}

// ---------------------------------------------------------------------------
namespace {

std::vector<TestMenus::TShownMenu>& ShownMenus() {
  static std::vector<TestMenus::TShownMenu> shown;
  return shown;
}

// Whether Item is still somewhere under Root (an item may go while its menu shows).
bool Holds(const TMenuItem* Root, const TMenuItem* Item) {
  for (int i = 0; i < Root->Count(); ++i)
    if (Root->Items(i) == Item || Holds(Root->Items(i), Item)) return true;
  return false;
}

void Fill(QMenu* Menu, TMenuItem* Item, std::vector<std::pair<QAction*, TMenuItem*>>& Map) {
  QActionGroup* group = nullptr;
  for (int i = 0; i < Item->Count(); ++i) {
    TMenuItem* sub = Item->Items(i);
    if (!sub->Visible()) continue;
    if (sub->IsLine()) {
      Menu->addSeparator();
      group = nullptr;
      continue;
    }
    const QString text = QString::fromStdString(sub->Caption());
    if (sub->Count() > 0) {
      QMenu* child = Menu->addMenu(text);
      child->setEnabled(sub->Enabled());
      Fill(child, sub, Map);
      continue;
    }
    QAction* a = Menu->addAction(text);
    a->setEnabled(sub->Enabled());
    a->setCheckable(sub->Checked() || sub->RadioItem() || sub->AutoCheck());
    a->setChecked(sub->Checked());
    if (sub->RadioItem()) {
      if (!group) group = new QActionGroup(Menu);
      group->addAction(a);
    }
    Map.emplace_back(a, sub);
  }
}

}  // namespace

struct TPopupMenu::Shown {
  QPointer<QMenu> Menu;
  // Cleared when the popup menu goes, so that a pick still queued does nothing.
  std::shared_ptr<bool> Alive = std::make_shared<bool>(true);
};

IMPLEMENT_CLASS_PROPS(TPopupMenu, TComponent)

void TPopupMenu::DefineProperties(TPropertyTable& t) {
  t.Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
  t.Event("OnPopup", &TPopupMenu::OnPopup);
}

TPopupMenu::TPopupMenu(TComponent* AOwner)
    : TComponent(AOwner), items_(new TMenuItem(nullptr)), shown_(std::make_unique<Shown>()) {}

TPopupMenu::~TPopupMenu() {
  *shown_->Alive = false;
  delete shown_->Menu.data();
  auto& shown = ShownMenus();
  shown.erase(std::remove_if(shown.begin(), shown.end(), [this](const auto& s) { return s.Menu == this; }),
              shown.end());
  delete items_;
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int X, int Y) {
  popupPoint_ = {X, Y};
  if (OnPopup) OnPopup(this);
  if (RecordsInsteadOfShowing()) {
    TestMenus::TShownMenu rec;
    rec.Menu = this;
    rec.Pos = popupPoint_;
    for (int i = 0; i < items_->Count(); ++i) {
      TMenuItem* it = items_->Items(i);
      if (it->Visible()) rec.Captions.push_back(it->Caption());
    }
    ShownMenus().push_back(std::move(rec));
    return;
  }
  delete shown_->Menu.data();
  auto* menu = new QMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  std::vector<std::pair<QAction*, TMenuItem*>> map;
  Fill(menu, items_, map);
  std::shared_ptr<bool> alive = shown_->Alive;
  QObject::connect(menu, &QMenu::triggered, menu, [this, map, alive](QAction* a) {
    for (const auto& [action, item] : map)
      if (action == a) {
        TMenuItem* picked = item;
        PostToLoop([this, picked, alive] {
          if (*alive && Holds(items_, picked) && picked->Enabled()) picked->Click();
        });
      }
  });
  shown_->Menu = menu;
  menu->popup(QPoint(X, Y));
}

// ---------------------------------------------------------------------------
void forms_detail::ContextPopup(TControl* Control, int X, int Y) {
  for (TControl* c = Control; c; c = c->Parent()) {
    TPopupMenu* m = c->PopupMenu();
    if (!m) continue;
    if (!m->AutoPopup()) return;
    m->SetPopupComponent(c);
    TPoint p = Control->ClientToScreen({X, Y});
    m->Popup(p.X, p.Y);
    return;
  }
}

namespace TestMenus {

std::vector<TShownMenu> Shown() { return ShownMenus(); }

void ClearShown() { ShownMenus().clear(); }

void PostPick(const std::string& Caption, unsigned DelayMs) {
  PostScripted(
      [Caption] {
        auto& shown = ShownMenus();
        if (shown.empty()) return;
        TPopupMenu* menu = shown.back().Menu;
        shown.pop_back();
        // A path "Sub|Item" walks into sub-menus.
        TMenuItem* item = menu->Items();
        std::string rest = Caption;
        while (item) {
          size_t bar = rest.find('|');
          TMenuItem* next = item->Find(rest.substr(0, bar));
          if (!next || !next->Visible() || !next->Enabled()) return;
          item = next;
          if (bar == std::string::npos) break;
          rest = rest.substr(bar + 1);
        }
        if (item && item != menu->Items() && !item->IsLine()) item->Click();
      },
      DelayMs);
}

}  // namespace TestMenus
