#include "gallery/chartlistbox.h"

#include <algorithm>

#include "canvas/buttons.h"
#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/registry.h"
#include "engine/groups.h"
#include "engine/helpers.h"
#include "gallery/editortools.h"
#include "platform/dialogs.h"

IMPLEMENT_CLASS_PROPS(TChartListBox, TListBox)

namespace {
constexpr std::uint16_t kF2 = VK_F1 + 1;
}

TChartListBox::TChartListBox(TComponent* AOwner) : TListBox(AOwner) {
  SetStyle(lbOwnerDrawFixed);
  SetItemHeight(24);
  SetSorted(false);
  OnDragOver = HANDLER(SelfDragOver);
  OnDragDrop = HANDLER(SelfDragDrop);
  OnClick = HANDLER(SelfClick);
  RecordDefaults(this);
}

TChartListBox::~TChartListBox() {
  destroying_ = true;
  if (chart_) chart_->RemoveListener(this);
}

void TChartListBox::SetChart(TCustomChart* Value) {
  if (chart_ == Value) return;
  if (chart_) {
    chart_->RemoveListener(this);
    chart_->RemoveFreeNotification(this);
  }
  chart_ = Value;
  group_ = nullptr;
  if (chart_) {
    chart_->Listeners().Add(this);
    chart_->FreeNotification(this);
  }
  FillSeries(nullptr);
}

void TChartListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TListBox::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == chart_) {
    chart_ = nullptr;
    group_ = nullptr;
    if (!destroying_) Clear();
  }
  if (AComponent == edit_) edit_ = nullptr;
}

void TChartListBox::SetShown(int Column, bool Value) {
  if (shown_[Column] == Value) return;
  shown_[Column] = Value;
  Invalidate();
}

void TChartListBox::SetFontSeriesColor(bool Value) {
  fontSeriesColor_ = Value;
  Invalidate();
}

// Radio style lets one series be active: the first active one stays so.
void TChartListBox::SetCheckStyle(TCheckBoxesStyle Value) {
  if (checkStyle_ == Value) return;
  checkStyle_ = Value;
  if (Value == cbsRadio && Parent() && Parent()->Showing()) {
    bool found = false;
    for (int i = 0; i < Count(); ++i)
      if (TChartSeries* s = SeriesAtIndex(i); s && s->Active()) {
        if (found) s->SetActive(false);
        found = true;
      }
  }
  Invalidate();
}

void TChartListBox::SetSeriesGroup(TSeriesGroup* Value) {
  if (group_ == Value) return;
  group_ = Value;
  FillSeries(SelectedSeries());
}

void TChartListBox::SetViewSeriesNames(bool Value) {
  if (namesMode_ == Value) return;
  namesMode_ = Value;
  FillSeries(SelectedSeries());
}

int TChartListBox::ColumnLeft(int Column) const {
  int x = 0;
  for (int i = 0; i < Column; ++i)
    if (shown_[i]) x += ColumnWidths[i];
  return x;
}

int TChartListBox::ColumnAt(int X) const {
  for (int i = 0; i < 4; ++i)
    if (shown_[i] && X >= ColumnLeft(i) && X < ColumnLeft(i) + ColumnWidths[i]) return i;
  return -1;
}

void TChartListBox::Refreshed() {
  if (OnRefresh.Assigned()) OnRefresh(this);
}

void TChartListBox::FillSeries(TChartSeries* Keep) {
  if (destroying_) return;
  EndTitleEdit(true);
  Clear();
  if (chart_) {
    FillSeriesItems(Items(), group_ ? group_->Series() : chart_->SeriesList(), !namesMode_);
    if (chart_->Legend()->CheckBoxes()) checkStyle_ = chart_->Legend()->CheckBoxesStyle();
  }
  const int row = Keep ? Items()->IndexOfObject(Keep) : -1;
  if (row >= 0) SetItemIndex(row);
  else if (Count() > 0) SetItemIndex(0);
  if (OnOtherItemsChange.Assigned()) OnOtherItemsChange(this);
  Refreshed();
}

void TChartListBox::UpdateSeries() { FillSeries(SelectedSeries()); }

TChartSeries* TChartListBox::SeriesAtIndex(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return dynamic_cast<TChartSeries*>(Items()->Objects(Index));
}

TChartSeries* TChartListBox::SelectedSeries() const { return SeriesAtIndex(ItemIndex()); }

void TChartListBox::SelectSeries(TChartSeries* Series) {
  const int row = Items()->IndexOfObject(Series);
  if (row >= 0) SetItemIndex(row);
}

std::vector<TChartSeries*> TChartListBox::SelectedList() {
  std::vector<TChartSeries*> list;
  if (MultiSelect()) {
    if (SelCount() == 0 && ItemIndex() >= 0) SetSelected(ItemIndex(), true);
    for (int i = 0; i < Count(); ++i)
      if (Selected(i))
        if (TChartSeries* s = SeriesAtIndex(i)) list.push_back(s);
  } else if (TChartSeries* s = SelectedSeries()) {
    list.push_back(s);
  }
  return list;
}

void TChartListBox::ExchangeRows(int A, int B) {
  if (A == B || A < 0 || B < 0 || A >= Count() || B >= Count()) return;
  TChartSeries* sa = SeriesAtIndex(A);
  TChartSeries* sb = SeriesAtIndex(B);
  static_cast<TListItems*>(Items())->Exchange(A, B);
  if (OtherItems && A < OtherItems->Count() && B < OtherItems->Count()) {
    const std::string t = OtherItems->Strings(A);
    OtherItems->Put(A, OtherItems->Strings(B));
    OtherItems->Put(B, t);
  }
  if (chart_ && sa && sb) {
    changingTypes_ = true;  // the order event must not refill over the exchanged rows
    chart_->ExchangeSeries(sa, sb);
    changingTypes_ = false;
    if (OnChangeOrder.Assigned()) OnChangeOrder(this, sa, sb);
  }
  if (CanFocus()) SetFocus();
  if (MultiSelect()) ClearSelection();
  SetItemIndex(B);
  if (MultiSelect()) SetSelected(B, true);
  Refreshed();
  ChartChanged();
}

void TChartListBox::MoveUp() {
  if (ItemIndex() > 0) ExchangeRows(ItemIndex(), ItemIndex() - 1);
}

void TChartListBox::MoveDown() {
  if (ItemIndex() >= 0 && ItemIndex() < Count() - 1) ExchangeRows(ItemIndex(), ItemIndex() + 1);
}

bool TChartListBox::DeleteSeries() {
  if (ItemIndex() < 0 && (!MultiSelect() || SelCount() <= 0)) return false;
  // Collected first: each deletion removes its row (and maybe others) on the way.
  const std::vector<TChartSeries*> list = SelectedList();
  if (list.empty()) return false;
  if (askDelete_) {
    const std::string name = list.size() > 1 ? LumMsg_SelectedSeries : list[0]->GetTitleOrName();
    if (!ConfirmDelete(name, this)) return false;
  }
  std::vector<std::unique_ptr<TComponentWatch>> watches;
  for (TChartSeries* s : list) watches.push_back(std::make_unique<TComponentWatch>(s));
  for (auto& w : watches)
    if (TComponent* s = w->Get()) delete s;
  if (Count() > 0) {
    if (MultiSelect()) ClearSelection();
    SetItemIndex(0);
  }
  Refreshed();
  ChartChanged();
  return true;
}

void TChartListBox::CloneSeries() {
  if (TChartSeries* s = SelectedSeries()) {
    CloneChartSeries(s);
    ChartChanged();
  }
}

bool TChartListBox::RenameSeries() {
  const int row = ItemIndex();
  TChartSeries* s = SelectedSeries();
  if (!s) return false;
  const std::string old = Items()->Strings(row);
  std::string text = namesMode_ ? s->Name() : s->GetTitleOrName();
  if (!InputQuery("Change Series Title", "New Series Title:", text)) return false;
  if (namesMode_) {
    if (Trim(text).empty()) return false;
    try {
      s->SetName(text);
    } catch (const Exception& e) {
      // A refused name keeps the old one.
      ShowMessage(e.Message);
      return false;
    }
    if (row < Count()) Items()->Put(row, text);
    s->Repaint();
  } else if (Trim(text).empty() || text == s->Name()) {
    s->SetTitle("");
  } else {
    s->SetTitle(text);
  }
  if (row < Count()) SetItemIndex(row);
  return row < Count() && Items()->Strings(row) != old;
}

TChartSeries* TChartListBox::AddSeriesGallery() {
  if (!GalleryNewSeriesHook) return nullptr;
  TChartSeries* s = GalleryNewSeriesHook(Owner(), chart_, SelectedSeries());
  if (s) {
    if (MultiSelect()) ClearSelection();
    SelectSeries(s);
    if (MultiSelect() && ItemIndex() >= 0) SetSelected(ItemIndex(), true);
    Refreshed();
    ChartChanged();
  }
  return s;
}

void TChartListBox::ChangeTypeSeries() {
  if (!SelectedSeries() || !chart_ || !GalleryChangeTypeHook) return;
  std::vector<TChartSeries*> list = SelectedList();
  changingTypes_ = true;
  TClass newClass = nullptr;
  try {
    TChartSeries* first = list[0];
    newClass = GalleryChangeTypeHook(Owner(), first);
    list[0] = first;
    if (newClass)
      for (size_t i = 1; i < list.size(); ++i) ChangeSeriesType(list[i], newClass);
  } catch (...) {
    changingTypes_ = false;
    FillSeries(nullptr);
    throw;
  }
  changingTypes_ = false;
  FillSeries(list[0]);
  if (MultiSelect()) {
    ClearSelection();
    for (TChartSeries* s : list)
      if (int r = Items()->IndexOfObject(s); r >= 0) SetSelected(r, true);
  }
  Refreshed();
  ChartChanged();
}

void TChartListBox::RemoveRow(TChartSeries* Series) {
  const int row = Items()->IndexOfObject(Series);
  if (editSeries_.Get() == Series || (edit_ && edit_->Visible() && !editSeries_.Get())) EndTitleEdit(true);
  if (row < 0) return;
  Items()->Delete(row);
  if (OtherItems && row < OtherItems->Count()) OtherItems->Delete(row);
  if (OnRemovedSeries.Assigned()) OnRemovedSeries(this, Series);
}

void TChartListBox::LumEvent(const TLumEvent& Event) {
  if (destroying_) return;
  if (auto* e = dynamic_cast<const TLumSeriesEvent*>(&Event)) {
    switch (e->Event) {
      case seAdd:
      case seDataChanged:
        if (!changingTypes_) FillSeries(SelectedSeries());
        break;
      case seRemove: RemoveRow(e->Series); break;
      case seChangeTitle:
        if (int r = Items()->IndexOfObject(e->Series); r >= 0)
          Items()->Put(r, namesMode_ ? e->Series->Name() : e->Series->GetTitleOrName());
        break;
      case seRepaint:
        if (!changingTypes_) Invalidate();
        break;
      case seChangeCheckBoxes:
        if (chart_) checkStyle_ = chart_->Legend()->CheckBoxesStyle();
        Invalidate();
        break;
      default: break;
    }
  } else if (dynamic_cast<const TLumView3DEvent*>(&Event)) {
    Invalidate();
  }
}

// ---- Title edit ------------------------------------------------------------
void TChartListBox::StartTitleEdit() {
  TChartSeries* s = SelectedSeries();
  if (!s || !shown_[colTitle]) return;
  if (!edit_) {
    edit_ = new TEdit(this);
    edit_->SetParent(this);
    edit_->OnKeyDown = HANDLER(EditKeyDown);
  }
  editSeries_.Set(s);
  edit_->SetTag(std::intptr_t(s));
  edit_->SetText(s->Title());
  const TRect r = ItemRect(ItemIndex());
  edit_->SetBounds(r.Left + ColumnLeft(colTitle) - 2, r.Top, ColumnWidths[colTitle], r.Height() + 1);
  edit_->Show();
  if (edit_->CanFocus()) edit_->SetFocus();
}

void TChartListBox::EndTitleEdit(bool Cancel) {
  if (!edit_ || !edit_->Visible()) return;
  TChartSeries* s = static_cast<TChartSeries*>(editSeries_.Get());
  editSeries_.Set(nullptr);
  edit_->Hide();
  if (!Cancel && s) s->SetTitle(edit_->Text());
  if (CanFocus()) SetFocus();
  Invalidate();
}

void TChartListBox::EditKeyDown(TObject*, std::uint16_t& Key, TShiftState) {
  if (Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_UP || Key == VK_DOWN) {
    const bool swallow = Key == VK_RETURN || Key == VK_ESCAPE;
    EndTitleEdit(Key == VK_ESCAPE);
    if (swallow) Key = 0;
  }
}

// ---- Mouse and keys --------------------------------------------------------
void TChartListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TListBox::MouseDown(Button, Shift, X, Y);
  EndTitleEdit(false);
  mouse_ = Point(X, Y);
  const bool afterDouble = inDblClick_;
  inDblClick_ = false;
  const int row = ItemAtPos(Point(X, Y), true);
  if (ItemIndex() < 0 || row < 0) return;
  TChartSeries* s = SeriesAtIndex(row);
  const int column = ColumnAt(X);
  if (s && column == colActive) {
    if (checkStyle_ == cbsRadio) {
      for (int i = 0; i < Count(); ++i)
        if (TChartSeries* o = SeriesAtIndex(i)) o->SetActive(i == row);
    } else {
      s->SetActive(!s->Active());
    }
    if (!s->ParentChart()) Invalidate();
    if (OnChangeActive.Assigned()) OnChangeActive(this, s);
  } else if (enableDrag_ && column == colTitle && Button == mbLeft && !(Shift & (ssShift | ssCtrl)) &&
             !(Shift & ssDouble) && !afterDouble) {
    BeginDrag(true);
  }
  if (OnOtherItemsChange.Assigned()) OnOtherItemsChange(this);
}

void TChartListBox::MouseMove(TShiftState Shift, int X, int Y) {
  mouse_ = Point(X, Y);
  const int column = ColumnAt(X);
  const bool hand = (column == colGlyph && enableChangeType_) || (column == colColor && enableChangeColor_);
  SetCursor(hand ? crHandPoint : crDefault);
  TListBox::MouseMove(Shift, X, Y);
}

void TChartListBox::DblClick() {
  inDblClick_ = true;
  TListBox::DblClick();
  const int row = ItemAtPos(mouse_, true);
  TChartSeries* s = SeriesAtIndex(row);
  if (!s || row != ItemIndex()) return;
  const int column = ColumnAt(mouse_.X);
  if (column == colGlyph && enableChangeType_) {
    ChangeTypeSeries();
  } else if (column == colColor && enableChangeColor_) {
    TColor c = s->SeriesColor();
    if (EditColor(this, c)) {
      s->SetSeriesColor(c);
      s->SetColorEachPoint(false);
      if (OnChangeColor.Assigned()) OnChangeColor(this, s);
    }
  } else if (column == colTitle) {
    if (OnDblClickSeries.Assigned()) OnDblClickSeries(this, row);
  }
}

void TChartListBox::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TListBox::KeyDown(Key, Shift);
  if (Key == VK_INSERT && allowAdd_) AddSeriesGallery();
  else if (Key == VK_DELETE && allowDelete_) DeleteSeries();
  else if (Key == kF2 && SelectedSeries()) StartTitleEdit();
}

void TChartListBox::SelfDragOver(TObject*, TObject* Source, int, int, TDragState, bool& Accept) {
  Accept = Source == this && enableDrag_;
}

// Dropping on a row exchanges it with the selected one; on itself nothing happens.
void TChartListBox::SelfDragDrop(TObject*, TObject* Source, int X, int Y) {
  if (Source != this) return;
  const int row = ItemAtPos(Point(X, Y), true);
  if (row >= 0 && ItemIndex() >= 0 && row != ItemIndex()) ExchangeRows(ItemIndex(), row);
}

void TChartListBox::SelfClick(TObject*) { Refreshed(); }

// ---- Drawing -----------------------------------------------------------------
void TChartListBox::DrawItem(int Index, const TRect& R, TOwnerDrawState State) {
  TCanvas* c = Canvas();
  constexpr TColor clHighlightSys = TColor(0x8000000D), clInactiveSys = TColor(0x80000003);
  const bool selected = State & odSelected;
  if (selected) c->Brush()->SetColor(Focused() ? clHighlightSys : clInactiveSys);
  else if (State & odFocused) c->Brush()->SetColor(clInactiveSys);
  else c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(R);
  TChartSeries* s = SeriesAtIndex(Index);
  const std::string text = Index < Count() ? Items()->Strings(Index) : "";
  if (!s) {
    c->TextOut(R.Left, R.Top, text);
    return;
  }
  if (shown_[colGlyph]) DrawResourceBitmap(c, s, R.Left + ColumnLeft(colGlyph), R.Top + (R.Height() - 16) / 2);
  if (shown_[colColor]) {
    const int x = R.Left + ColumnLeft(colColor);
    TRect cell = Rect(x + 4, R.Top + 4, x + ColumnWidths[colColor] - 4, R.Bottom - 4);
    TLumCanvas3D symbol;
    symbol.SetBufferedDisplay(false);
    symbol.InitWindow(c, nullptr, clNone, false, cell);
    TLumShadow* shadow = chart_ ? chart_->Legend()->Symbol()->Shadow() : nullptr;
    const int oldSize = shadow ? shadow->Size() : 0;
    if (shadow && shadow->Visible()) shadow->SetSize(3);
    PaintSeriesLegend(s, &symbol, cell);
    if (shadow && shadow->Visible()) shadow->SetSize(oldSize);
  }
  if (shown_[colActive]) {
    const int x = R.Left + ColumnLeft(colActive) + (ColumnWidths[colActive] - CheckBoxSize) / 2;
    DrawCheckBox(c, x, R.Top + (R.Height() - CheckBoxSize) / 2, s->Active(), checkStyle_ == cbsRadio);
  }
  if (shown_[colTitle]) {
    c->Font()->Assign(Font());
    if (selected) c->Font()->SetColor(TColor(0x8000000E));
    else if (fontSeriesColor_) c->Font()->SetColor(s->SeriesColor());
    c->Brush()->SetStyle(bsClear);
    c->TextOut(R.Left + ColumnLeft(colTitle), R.Top + (R.Height() - c->TextHeight("W")) / 2, text);
    c->Brush()->SetStyle(bsSolid);
  } else {
    // Without the title column the text still shows, plainly, at the row's edge.
    c->Font()->Assign(Font());
    c->TextOut(R.Left, R.Top, text);
  }
}

void TChartListBox::DefineProperties(TPropertyTable& t) {
  using L = TChartListBox;
  t.Bool("AllowAddSeries", &L::AllowAddSeries, &L::SetAllowAddSeries).Default(true);
  t.Bool("AllowDeleteSeries", &L::AllowDeleteSeries, &L::SetAllowDeleteSeries).Default(true);
  t.Bool("AskDelete", &L::AskDelete, &L::SetAskDelete).Default(true);
  t.Enum("CheckStyle", &L::CheckStyle, &L::SetCheckStyle, {"cbsCheck", "cbsRadio"}).Default(0LL);
  t.Bool("EnableChangeColor", &L::EnableChangeColor, &L::SetEnableChangeColor).Default(true);
  t.Bool("EnableDragSeries", &L::EnableDragSeries, &L::SetEnableDragSeries).Default(true);
  t.Bool("EnableChangeType", &L::EnableChangeType, &L::SetEnableChangeType).Default(true);
  t.Bool("FontSeriesColor", &L::FontSeriesColor, &L::SetFontSeriesColor).Default(false);
  t.Bool("ShowSeriesIcon", &L::ShowSeriesIcon, &L::SetShowSeriesIcon).Default(true);
  t.Bool("ShowActiveCheck", &L::ShowActiveCheck, &L::SetShowActiveCheck).Default(true);
  t.Bool("ShowSeriesColor", &L::ShowSeriesColor, &L::SetShowSeriesColor).Default(true);
  t.Bool("ShowSeriesTitle", &L::ShowSeriesTitle, &L::SetShowSeriesTitle).Default(true);
  t.Event("OnChangeActive", &L::OnChangeActive);
  t.Event("OnChangeColor", &L::OnChangeColor);
  t.Event("OnRemovedSeries", &L::OnRemovedSeries);
  t.Event("OnChangeOrder", &L::OnChangeOrder);
  t.Event("OnDblClickSeries", &L::OnDblClickSeries);
  t.Event("OnOtherItemsChange", &L::OnOtherItemsChange);
  t.Event("OnRefresh", &L::OnRefresh);
}
