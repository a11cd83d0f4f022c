// Tabs: the tab control (tabs over one shared area) and the page control with its sheets.
#include <QFrame>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QTabBar>

#include <algorithm>

#include "forms_impl.h"
#include "platform/stdctrls.h"
#include "platform/typinfo.h"

using namespace forms_detail;

namespace {

// The tab row is a fixed 20 pixels high, with a raised frame under it holding the
// display area, 4 pixels in from the frame's sides.
constexpr int kTabHeight = 20;
constexpr int kBorder = 4;

TRect DisplayRectOf(const TControl* C) {
  return Rect(kBorder, kTabHeight + kBorder, std::max(kBorder, C->Width() - kBorder),
              std::max(kTabHeight + kBorder, C->Height() - kBorder));
}

// Tabs as wide as their text plus 6 pixels each side, as classic tabs are (the
// desktop style's wider padding would push the dialogs' tabs off their row).
class TClassicTabStyle : public QProxyStyle {
public:
  int pixelMetric(PixelMetric Metric, const QStyleOption* Option, const QWidget* Widget) const override {
    if (Metric == PM_TabBarTabHSpace) return 12;
    return QProxyStyle::pixelMetric(Metric, Option, Widget);
  }
};

// Builds the tab row and the frame of a tab or page control; OnPick gets the tab
// the user chose.
QTabBar* MakeTabRow(QWidget* W, std::function<void(int)> OnPick) {
  auto* frame = new QFrame(W);
  frame->setObjectName("frame");
  frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
  frame->lower();
  auto* bar = new QTabBar(W);
  auto* style = new TClassicTabStyle;
  style->setParent(bar);
  bar->setStyle(style);
  bar->setObjectName("tabs");
  bar->setDrawBase(false);
  bar->setExpanding(false);
  bar->setUsesScrollButtons(true);
  bar->setFocusPolicy(Qt::TabFocus);
  QObject::connect(bar, &QTabBar::currentChanged, W, [OnPick = std::move(OnPick)](int i) { OnPick(i); });
  return bar;
}

void PlaceTabRow(QWidget* W, int Width, int Height);

// The shared start of tab and page controls: their look, their widget and the tab row.
QTabBar* BuildTabbed(TWinControl* C, std::function<void(int)> OnPick) {
  C->SetColor(clBtnFace);
  C->SetBounds(0, 0, 289, 193);
  C->SetTabStop(true);
  QWidget* w = MakeWidget<QWidget>(C);
  QTabBar* bar = MakeTabRow(w, std::move(OnPick));
  PlaceTabRow(w, C->Width(), C->Height());
  return bar;
}

void PlaceTabRow(QWidget* W, int Width, int Height) {
  if (auto* f = W->findChild<QFrame*>("frame", Qt::FindDirectChildrenOnly))
    f->setGeometry(0, kTabHeight, Width, std::max(0, Height - kTabHeight));
  if (auto* b = W->findChild<QTabBar*>("tabs", Qt::FindDirectChildrenOnly))
    b->setGeometry(2, 0, std::max(0, Width - 4), kTabHeight + 2);
}

void SetTabTexts(QTabBar* Bar, const std::vector<std::string>& Texts, int Current) {
  QSignalBlocker block(Bar);
  while (Bar->count() > int(Texts.size())) Bar->removeTab(Bar->count() - 1);
  for (int i = 0; i < int(Texts.size()); ++i) {
    QString t = QString::fromStdString(Texts[size_t(i)]);
    if (i < Bar->count()) Bar->setTabText(i, t);
    else Bar->addTab(t);
  }
  Bar->setCurrentIndex(Current);
}

}  // namespace

struct TTabControl::Bar {
  QTabBar* Tabs;
};
struct TPageControl::Bar {
  QTabBar* Tabs;
};

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TTabControl, TWinControl)

void TTabControl::DefineProperties(TPropertyTable& t) {
  t.Object("Tabs", &TTabControl::Tabs);
  t.Bool("HotTrack", &TTabControl::HotTrack, &TTabControl::SetHotTrack).Default(false);
  t.Event("OnChanging", &TTabControl::OnChanging);
  t.Event("OnChange", &TTabControl::OnChange);
}

TTabControl::TTabControl(TComponent* AOwner) : TWinControl(AOwner), tabs_(std::make_unique<TStringList>()) {
  bar_ = new Bar{BuildTabbed(this, [this](int i) { Guard(this, [&] { UserPicked(i); }); })};
  tabs_->OnChange = [this](TObject*) { TabsChanged(); };
}

TTabControl::~TTabControl() {
  tabs_->OnChange.Clear();
  delete bar_;
}

void TTabControl::SetHotTrack(bool Value) {
  hotTrack_ = Value;
  bar_->Tabs->setAttribute(Qt::WA_Hover, Value);
}

TRect TTabControl::DisplayRect() const { return DisplayRectOf(this); }

void TTabControl::Resize() {
  if (impl_->Widget) PlaceTabRow(impl_->Widget, Width(), Height());
  TWinControl::Resize();
}

void TTabControl::TabsChanged() {
  const int n = tabs_->Count();
  if (tabIndex_ >= n) tabIndex_ = n - 1;
  if (tabIndex_ < 0 && n > 0) tabIndex_ = 0;
  std::vector<std::string> texts;
  for (int i = 0; i < n; ++i) texts.push_back(tabs_->Get(i));
  SetTabTexts(bar_->Tabs, texts, tabIndex_);
  PlaceTabRow(impl_->Widget, Width(), Height());
}

void TTabControl::SetTabIndex(int Value) {
  if (Value < -1 || Value >= tabs_->Count()) return;
  tabIndex_ = Value;
  QSignalBlocker block(bar_->Tabs);
  bar_->Tabs->setCurrentIndex(Value);
}

void TTabControl::UserPicked(int Index) {
  if (Index == tabIndex_) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (!allow) {
    QSignalBlocker block(bar_->Tabs);
    bar_->Tabs->setCurrentIndex(tabIndex_);
    return;
  }
  tabIndex_ = Index;
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TTabSheet, TWinControl)

void TTabSheet::DefineProperties(TPropertyTable& t) {
  t.Bool("Visible", &TControl::Visible, &TControl::SetVisible).Default(false);  // shown while active
  t.Bool("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible).Default(true);
}

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  SetColor(clBtnFace);
  SetVisible(false);  // shown while it is the active page
  QWidget* w = MakeWidget<QWidget>(this);
  w->setAutoFillBackground(true);
  impl_->ApplyPalette = [](QPalette& p, const QColor& back, const QColor&) { p.setColor(QPalette::Window, back); };
  impl_->ApplyColor();
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetParent(TWinControl* AParent) {
  auto* pc = dynamic_cast<TPageControl*>(AParent);
  if (pc != pageControl_ && pageControl_) pageControl_->RemovePage(this);
  TWinControl::SetParent(AParent);
  if (pc && pc != pageControl_) pc->InsertPage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value) { SetParent(Value); }

void TTabSheet::SetTabVisible(bool Value) {
  if (Value == tabVisible_) return;
  tabVisible_ = Value;
  TPageControl* pc = pageControl_;
  if (!pc) return;
  if (!Value && pc->activePage_ == this) {
    TTabSheet* next = pc->FindNextPage(this, true, true);
    pc->SetActivePage(next == this ? nullptr : next);
  } else if (Value && !pc->activePage_) {
    pc->SetActivePage(this);
  }
  pc->UpdateTabs();
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  const auto& p = pageControl_->pages_;
  return int(std::find(p.begin(), p.end(), this) - p.begin());
}

int TTabSheet::TabIndex() const {
  if (!pageControl_ || !tabVisible_) return -1;
  int i = 0;
  for (TTabSheet* s : pageControl_->pages_) {
    if (s == this) return i;
    if (s->tabVisible_) ++i;
  }
  return -1;
}

void TTabSheet::TextChanged() {
  if (pageControl_) pageControl_->UpdateTabs();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS_PROPS(TPageControl, TWinControl)

void TPageControl::DefineProperties(TPropertyTable& t) {
  t.Bool("HotTrack", &TPageControl::HotTrack, &TPageControl::SetHotTrack).Default(false);
  t.Event("OnChanging", &TPageControl::OnChanging);
  t.Event("OnChange", &TPageControl::OnChange);
}

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner) {
  bar_ = new Bar{BuildTabbed(this, [this](int i) { Guard(this, [&] { UserPicked(i); }); })};
}

TPageControl::~TPageControl() {
  // The sheets go with the control's children; they need not tell us.
  for (TTabSheet* s : pages_) s->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
  delete bar_;
  bar_ = nullptr;
}

TTabSheet* TPageControl::Pages(int Index) const {
  if (Index < 0 || Index >= PageCount()) throw EListError(Format("List index out of bounds (%d)", Index));
  return pages_[size_t(Index)];
}

TRect TPageControl::DisplayRect() const { return DisplayRectOf(this); }

void TPageControl::SetHotTrack(bool Value) {
  hotTrack_ = Value;
  bar_->Tabs->setAttribute(Qt::WA_Hover, Value);
}

void TPageControl::InsertPage(TTabSheet* Page) {
  pages_.push_back(Page);
  Page->pageControl_ = this;
  const TRect r = DisplayRect();
  Page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  Page->SetVisible(false);
  if (!activePage_ && Page->tabVisible_) SetActivePage(Page);
  UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* Page) {
  if (activePage_ == Page) {
    TTabSheet* next = FindNextPage(Page, true, true);
    SetActivePage(next == Page ? nullptr : next);
  }
  pages_.erase(std::remove(pages_.begin(), pages_.end(), Page), pages_.end());
  Page->pageControl_ = nullptr;
  if (activePage_ == Page) activePage_ = nullptr;
  UpdateTabs();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* Current, bool GoForward, bool CheckTabVisible) const {
  const int n = PageCount();
  if (n == 0) return nullptr;
  int start = int(std::find(pages_.begin(), pages_.end(), Current) - pages_.begin());
  if (start == n) start = GoForward ? n - 1 : 0;
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = GoForward ? (i + 1) % n : (i + n - 1) % n;
    TTabSheet* s = pages_[size_t(i)];
    if (!CheckTabVisible || s->tabVisible_) return s;
  }
  return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->pageControl_ != this) return;
  if (Page == activePage_) return;
  TTabSheet* old = activePage_;
  activePage_ = Page;
  if (Page) {
    const TRect r = DisplayRect();
    Page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    Page->SetVisible(true);
    Page->BringToFront();
  }
  if (old) old->SetVisible(false);
  UpdateTabs();
}

void TPageControl::SetActivePageIndex(int Index) {
  if (Index < 0 || Index >= PageCount()) {
    SetActivePage(nullptr);
    return;
  }
  SetActivePage(pages_[size_t(Index)]);
}

void TPageControl::UpdateTabs() {
  if (!bar_) return;
  std::vector<std::string> texts;
  for (TTabSheet* s : pages_)
    if (s->tabVisible_) texts.push_back(StripAccelerator(s->Caption()));
  SetTabTexts(bar_->Tabs, texts, activePage_ ? activePage_->TabIndex() : -1);
  PlaceTabRow(impl_->Widget, Width(), Height());
}

void TPageControl::UserPicked(int TabIndex) {
  TTabSheet* picked = nullptr;
  for (TTabSheet* s : pages_)
    if (s->TabIndex() == TabIndex) picked = s;
  if (!picked || picked == activePage_) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (!allow) {
    UpdateTabs();  // the row shows the page that stays
    return;
  }
  SetActivePage(picked);
  if (OnChange) OnChange(this);
}

void TPageControl::Resize() {
  if (impl_->Widget) PlaceTabRow(impl_->Widget, Width(), Height());
  const TRect r = DisplayRect();
  for (TTabSheet* s : pages_) s->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  TWinControl::Resize();
}
