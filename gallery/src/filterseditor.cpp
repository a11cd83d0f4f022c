#include "gallery/filterseditor.h"

#include <algorithm>

#include "canvas/buttons.h"
#include "canvas/comboflat.h"
#include "canvas/lumcanvas.h"
#include "engine/helpers.h"
#include "formbuild.h"
#include "platform/lists.h"
#include "platform/rtl.h"
#include "platform/typinfo.h"
#include "gallery/editortools.h"

using namespace formbuild;

IMPLEMENT_CLASS(TDraw3D, TCustomLumPanelExtended)
IMPLEMENT_CLASS(TFormCreatorComponent, TComponent)
IMPLEMENT_CLASS(TFiltersEditor, TForm)

// ---------------------------------------------------------------------------
TDraw3D::TDraw3D(TComponent* AOwner) : TCustomLumPanelExtended(AOwner) {}

void TDraw3D::InternalDraw(const TRect& UserRect) {
  const bool repaint = RepaintOnChange();
  SetRepaintOnChange(false);
  struct Restore {
    TDraw3D* p;
    bool v;
    ~Restore() { p->SetRepaintOnChange(v); }
  } restore{this, repaint};
  TCanvas3D* c = Canvas();
  if (!c->SupportsFullRotation()) DrawPanelBackground(UserRect);
  RecalcWidthHeight();
  SetSize3D(100, 100);
  if (auto* lc = dynamic_cast<TLumCanvas3D*>(c)) lc->CalcPerspective(ChartRect(), 100);
  if (c->SupportsFullRotation()) {
    const TRect saved = ChartRect();
    SetChartRect(UserRect);
    DrawPanelBackground(UserRect);
    SetChartRect(saved);
  }
  c->ResetState();
  if (OnPaint.Assigned()) OnPaint(this, UserRect);
  // A zoom rectangle being dragged is put back over the picture by the panel's Paint.
  c->ResetState();
  if (OnAfterDraw.Assigned()) OnAfterDraw(this);
}

// ---------------------------------------------------------------------------
std::string PrettyEnumName(const std::string& Name) {
  size_t p = 0;
  while (p < Name.size() && Name[p] >= 'a' && Name[p] <= 'z') ++p;
  if (p == Name.size()) return Name;
  const std::string s = Name.substr(p);
  std::string r(1, s[0]);
  for (size_t i = 1; i < s.size(); ++i) {
    if (i + 1 < s.size() && !(s[i] >= 'a' && s[i] <= 'z')) r += ' ';
    r += s[i];
  }
  return r;
}

TFormCreatorComponent::TFormCreatorComponent(TComponent* AOwner) : TComponent(AOwner) {}
TFormCreatorComponent::~TFormCreatorComponent() = default;

void TFormCreatorComponent::Build(TLumFilter* Filter) {
  items_.clear();
  position_ = 8;
  edited_ = Filter;
  busy_ = true;
  struct Done {
    bool& b;
    ~Done() { b = false; }
  } done{busy_};
  if (Filter && parent_) Filter->GetProperties(this);
}

TFormItem* TFormCreatorComponent::NewItem(TControl* Control, const std::string& PropName, TNotifyEvent OnChange) {
  items_.push_back(std::make_unique<TFormItem>(TFormItem{PropName, std::move(OnChange)}));
  Control->SetTag(std::intptr_t(items_.size() - 1));
  return items_.back().get();
}

template <class T>
T* TFormCreatorComponent::NewControl(int Left, int Width, int Height) {
  T* c = new T(parent_);
  c->SetParent(parent_);
  c->SetBounds(Left, position_, Width, Height);
  return c;
}

TLabel* TFormCreatorComponent::NewLabel(const std::string& Caption, int Left, int Top) {
  auto* l = new TLabel(parent_);
  l->SetParent(parent_);
  l->SetBounds(Left, Top, 0, 0);
  l->SetCaption(Caption);
  return l;
}

void TFormCreatorComponent::AddCheckBox(const std::string& PropName, const std::string& Caption, TNotifyEvent OnChange) {
  auto* c = NewControl<TCheckBox>(4, 75, 16);
  c->SetCaption(Caption);
  NewItem(c, PropName, std::move(OnChange));
  c->SetChecked(typinfo_detail::AsBool(GetPropValue(edited_, PropName)));
  c->OnClick = HANDLER(CheckBoxClick);
  position_ += c->Height() + 2;
}

void TFormCreatorComponent::AddScroll(const std::string& PropName, int Min, int Max, const std::string& Caption,
                                      TNotifyEvent OnChange) {
  TLabel* l = NewLabel(Caption, 4, position_);
  position_ += l->Height();
  auto* c = NewControl<TScrollBar>(4, parent_->ClientWidth() - 8, 16);
  c->SetMin(Min);
  c->SetMax(Max);
  NewItem(c, PropName, std::move(OnChange));
  c->SetPosition(int(GetOrdProp(edited_, PropName)));
  c->OnChange = HANDLER(ScrollChange);
  position_ += c->Height() + 6;
}

void TFormCreatorComponent::AddColor(const std::string& PropName, const std::string& Caption, TNotifyEvent OnChange) {
  auto* c = NewControl<TButtonColor>(4, 100, 25);
  c->SetCaption(Caption);
  NewItem(c, PropName, std::move(OnChange));
  c->LinkProperty(edited_, PropName);
  c->OnClick = HANDLER(ColorClick);
  position_ += c->Height() + 6;
}

void TFormCreatorComponent::AddCombo(const std::string& PropName, const std::string& Caption, TNotifyEvent OnChange) {
  (void)Caption;
  auto* c = NewControl<TComboFlat>(4, parent_->ClientWidth() - 8, 16);
  c->SetStyle(csDropDownList);
  NewItem(c, PropName, std::move(OnChange));
  if (const TPropInfo* p = GetPropInfo(edited_->ClassType(), PropName))
    for (const std::string& n : p->EnumNames) c->Items()->Add(PrettyEnumName(n));
  c->SetItemIndex(int(GetOrdProp(edited_, PropName)));
  c->OnChange = HANDLER(ComboChange);
  position_ += c->Height() + 6;
}

void TFormCreatorComponent::AddInteger(const std::string& PropName, const std::string& Caption, int Min, int Max,
                                       TNotifyEvent OnChange) {
  const std::string caption = Caption.find('&') == std::string::npos ? "&" + Caption : Caption;
  TLabel* l = NewLabel(caption, 4, position_ + 2);
  const int w = parent_->ClientWidth() - 68;
  auto* e = NewControl<TEdit>(48, w, 16);
  l->SetFocusControl(e);
  auto* u = new TUpDown(parent_);
  u->SetParent(parent_);
  u->SetBounds(48 + w, position_, 15, 16);
  u->SetMin(Min);
  u->SetMax(Max);
  u->SetThousands(false);
  u->SetAssociate(e);
  NewItem(e, PropName, std::move(OnChange));
  u->SetPosition(int(GetOrdProp(edited_, PropName)));
  e->OnChange = HANDLER(IntegerChange);
  position_ += e->Height() + 6;
}

void TFormCreatorComponent::Write(TControl* Control, const TPropValue& Value) {
  if (busy_ || !edited_) return;
  const size_t i = size_t(Control->Tag());
  if (i >= items_.size()) return;
  TFormItem* item = items_[i].get();
  if (!std::holds_alternative<std::monostate>(Value)) SetPropValue(edited_, item->PropName, Value);
  if (item->OnChange.Assigned()) item->OnChange(Control);
  if (OnChange.Assigned()) OnChange(edited_);
}

void TFormCreatorComponent::CheckBoxClick(TObject* Sender) {
  auto* c = static_cast<TCheckBox*>(Sender);
  Write(c, TPropValue(c->Checked()));
}

void TFormCreatorComponent::ScrollChange(TObject* Sender) {
  auto* c = static_cast<TScrollBar*>(Sender);
  Write(c, TPropValue((long long)c->Position()));
}

// The button has written the colour itself.
void TFormCreatorComponent::ColorClick(TObject* Sender) { Write(static_cast<TControl*>(Sender), TPropValue()); }

void TFormCreatorComponent::ComboChange(TObject* Sender) {
  auto* c = static_cast<TComboFlat*>(Sender);
  Write(c, TPropValue((long long)c->ItemIndex()));
}

void TFormCreatorComponent::IntegerChange(TObject* Sender) {
  if (busy_) return;
  auto* e = static_cast<TEdit*>(Sender);
  // A text that is no number raises here, before anything is written.
  Write(e, TPropValue(StrToInt(Trim(e->Text()))));
}

// ---------------------------------------------------------------------------

TFiltersEditor::TFiltersEditor(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "FiltersEditor", "Filters", 476, 389, bsSizeable);

  BAdd = PlaceControl<TSpeedButton>(this, this, "BAdd", 8, 8, 25, 25, "+");
  BDelete = PlaceControl<TSpeedButton>(this, this, "BDelete", 36, 8, 25, 25, "-");
  BMoveUp = PlaceControl<TSpeedButton>(this, this, "BMoveUp", 72, 8, 25, 25);
  BMoveDown = PlaceControl<TSpeedButton>(this, this, "BMoveDown", 100, 8, 25, 25);
  for (TSpeedButton* b : {BAdd, BDelete, BMoveUp, BMoveDown}) b->SetFlat(true);
  for (TSpeedButton* b : {BDelete, BMoveUp, BMoveDown}) b->SetEnabled(false);
  LoadArrowGlyphs(BMoveUp, BMoveDown);

  Filters = PlaceControl<TCheckListBox>(this, this, "Filters", 8, 38, 220, 118);
  PageProps = PlaceControl<TPageControl>(this, this, "PageProps", 8, 162, 220, 186);
  Properties = Sheet(this, PageProps, "Properties", "Options");
  TabRegion = Sheet(this, PageProps, "TabRegion", "Region");
  const auto r = EditUpDownRows(this, TabRegion,
                                {{"LLeft", "&Left:", "ELeft", "UDLeft"},
                                 {"LTop", "&Top:", "ETop", "UDTop"},
                                 {"LWidth", "&Width:", "EWidth", "UDWidth"},
                                 {"LHeight", "&Height:", "EHeight", "UDHeight"}},
                                8, 64, 10, 60, 0, 11100);
  LLeft = r[0].Label, ELeft = r[0].Edit, UDLeft = r[0].UpDown;
  LTop = r[1].Label, ETop = r[1].Edit, UDTop = r[1].UpDown;
  LWidth = r[2].Label, EWidth = r[2].Edit, UDWidth = r[2].UpDown;
  LHeight = r[3].Label, EHeight = r[3].Edit, UDHeight = r[3].UpDown;
  PageProps->SetActivePage(Properties);
  PageProps->SetVisible(false);

  PagePreview = PlaceControl<TPageControl>(this, this, "PagePreview", 236, 8, 232, 340);
  TabPreview = Sheet(this, PagePreview, "TabPreview", "Preview");
  Image = PlaceControl<TDraw3D>(this, TabPreview, "Image", 0, 0, 100, 100);
  Image->SetAlign(alClient);
  Image->SetBackImageMode(pbmCustom);
  PopupPreview = new TPopupMenu(this);
  PopupPreview->SetName("PopupPreview");
  Scaled1 = new TMenuItem(this);
  Scaled1->SetName("Scaled1");
  Scaled1->SetCaption("&Scaled");
  Scaled1->SetChecked(true);
  PopupPreview->Items()->Add(Scaled1);
  Image->SetPopupMenu(PopupPreview);

  CBPreview = PlaceControl<TCheckBox>(this, this, "CBPreview", 8, 362, 80, 17, "&Preview");
  CBPreview->SetChecked(true);
  CBScaled = PlaceControl<TCheckBox>(this, this, "CBScaled", 96, 362, 80, 17, "&Scaled");
  CBScaled->SetChecked(true);
  BOK = PlaceControl<TButton>(this, this, "BOK", 393, 357, 75, 25, "OK");
  BOK->SetDefault(true);
  BOK->SetModalResult(mrOk);

  MenuFilters = new TPopupMenu(this);
  MenuFilters->SetName("MenuFilters");
  Timer1 = new TTimer(this);
  Timer1->SetName("Timer1");
  Timer1->SetEnabled(false);
  Timer1->SetInterval(1);

  creator_ = new TFormCreatorComponent(this);
  creator_->SetParentControl(Properties);
  creator_->OnChange = [this](TObject*) { RefreshPreview(); };

  BAdd->OnClick = HANDLER(BAddClick);
  BDelete->OnClick = HANDLER(BDeleteClick);
  BMoveUp->OnClick = HANDLER(BMoveUpClick);
  BMoveDown->OnClick = HANDLER(BMoveDownClick);
  Filters->OnClick = HANDLER(FiltersClick);
  Filters->OnClickCheck = HANDLER(FiltersClickCheck);
  for (TEdit* e : {ELeft, ETop, EWidth, EHeight}) e->OnChange = HANDLER(RegionChange);
  CBPreview->OnClick = HANDLER(CBPreviewClick);
  CBScaled->OnClick = HANDLER(CBScaledClick);
  Scaled1->OnClick = HANDLER(Scaled1Click);
  Image->OnResize = HANDLER(ImageResize);
  Timer1->OnTimer = HANDLER(Timer1Timer);
  OnShow = HANDLER(FormShow);
}

TFiltersEditor::~TFiltersEditor() = default;

TLumFilter* TFiltersEditor::Selected() const {
  const int i = Filters->ItemIndex();
  return i >= 0 && i < Filters->Count() ? static_cast<TLumFilter*>(Filters->Items()->GetObject(i)) : nullptr;
}

void TFiltersEditor::FormShow(TObject*) {
  TranslateControl(this);
  Filters->Items()->Clear();
  if (filters_)
    for (int i = 0; i < filters_->Count(); ++i) {
      TLumFilter* f = filters_->Item(i);
      Filters->Items()->AddObject(f->Description(), f);
      Filters->SetChecked(i, f->Enabled());
    }
  CBPreview->SetEnabled(picture_ != nullptr);
  BAdd->SetEnabled(filters_ != nullptr);
  PageProps->SetActivePage(Properties);
  if (Filters->Count() > 0) Filters->SetItemIndex(0);
  ShowPage();

  MenuFilters->Items()->Clear();
  const std::vector<TClass>& classes = FilterClasses();
  std::vector<TMenuItem*> items;
  for (size_t i = 0; i < classes.size(); ++i) {
    auto* m = new TMenuItem(MenuFilters);
    const std::string d = FilterDescription(classes[i]);
    m->SetCaption(d.empty() ? classes[i]->Name : d);
    m->SetTag(std::intptr_t(i));
    m->OnClick = HANDLER(MenuFilterClick);
    items.push_back(m);
  }
  std::stable_sort(items.begin(), items.end(),
                   [](TMenuItem* a, TMenuItem* b) { return CompareText(a->Caption(), b->Caption()) < 0; });
  for (TMenuItem* m : items) MenuFilters->Items()->Add(m);
  RefreshPreview();
  Timer1->SetEnabled(true);
}

void TFiltersEditor::Timer1Timer(TObject*) {
  Timer1->SetEnabled(false);
  ShowPage();
}

void TFiltersEditor::EnableButtons() {
  const int i = Filters->ItemIndex();
  BDelete->SetEnabled(i >= 0);
  BMoveUp->SetEnabled(i >= 1);
  BMoveDown->SetEnabled(i >= 0 && i < Filters->Count() - 1);
}

void TFiltersEditor::ShowPage() {
  busy_ = true;
  struct Done {
    bool& b;
    ~Done() { b = false; }
  } done{busy_};
  EnableButtons();
  while (Properties->ControlCount() > 0) delete Properties->Controls(Properties->ControlCount() - 1);
  TLumFilter* f = Selected();
  creator_->Build(f);
  if (!f) {
    PageProps->SetVisible(false);
    return;
  }
  const bool options = Properties->ControlCount() > 0;
  const bool region = f->AllowRegion();
  Properties->SetTabVisible(options);
  TabRegion->SetTabVisible(region);
  if (!options && !region) {
    PageProps->SetVisible(false);
    return;
  }
  if (region) {
    UDLeft->SetPosition(f->Region()->Left());
    UDTop->SetPosition(f->Region()->Top());
    UDWidth->SetPosition(f->Region()->Width());
    UDHeight->SetPosition(f->Region()->Height());
  }
  PageProps->SetActivePage(options ? Properties : TabRegion);
  PageProps->SetVisible(true);
}

void TFiltersEditor::BAddClick(TObject*) {
  const TPoint p = BAdd->ClientToScreen({0, BAdd->Height()});
  MenuFilters->Popup(p.X, p.Y);
}

void TFiltersEditor::MenuFilterClick(TObject* Sender) {
  const size_t i = size_t(static_cast<TMenuItem*>(Sender)->Tag());
  const std::vector<TClass>& classes = FilterClasses();
  if (!filters_ || i >= classes.size()) return;
  TLumFilter* f = filters_->Add(classes[i]);
  const int row = Filters->Items()->AddObject(f->Description(), f);
  Filters->SetChecked(row, true);
  Filters->SetItemIndex(row);
  ShowPage();
  // The new filter shows at once.
  RefreshPreview();
}

void TFiltersEditor::BDeleteClick(TObject*) {
  const int i = Filters->ItemIndex();
  TLumFilter* f = Selected();
  if (!f) return;
  Filters->Items()->Delete(i);
  delete f;
  Filters->SetItemIndex(std::min(i, Filters->Count() - 1));
  ShowPage();
  RefreshPreview();
}

void TFiltersEditor::Move(int Delta) {
  const int i = Filters->ItemIndex();
  const int j = i + Delta;
  if (i < 0 || j < 0 || j >= Filters->Count()) return;
  auto* a = static_cast<TLumFilter*>(Filters->Items()->GetObject(i));
  static_cast<TListItems*>(Filters->Items())->Exchange(i, j);
  a->SetIndex(a->Index() + Delta);
  Filters->SetItemIndex(j);
  EnableButtons();
  RefreshPreview();
}

void TFiltersEditor::BMoveUpClick(TObject*) { Move(-1); }
void TFiltersEditor::BMoveDownClick(TObject*) { Move(1); }
void TFiltersEditor::FiltersClick(TObject*) { ShowPage(); }

void TFiltersEditor::FiltersClickCheck(TObject*) {
  for (int i = 0; i < Filters->Count(); ++i)
    static_cast<TLumFilter*>(Filters->Items()->GetObject(i))->SetEnabled(Filters->Checked(i));
  RefreshPreview();
}

void TFiltersEditor::RegionChange(TObject*) {
  TLumFilter* f = Selected();
  if (busy_ || !f) return;
  TFilterRegion* r = f->Region();
  r->SetLeft(UDLeft->Position());
  r->SetTop(UDTop->Position());
  r->SetWidth(UDWidth->Position());
  r->SetHeight(UDHeight->Position());
  RefreshPreview();
}

void TFiltersEditor::RefreshPreview() {
  if (CBPreview->Checked() && picture_ && !picture_->Empty()) {
    Image->SetBackImageMode(pbmCustom);
    if (!preview_) preview_ = std::make_unique<TBitmap>();
    TGraphic* g = picture_->Graphic();
    preview_->SetPixelFormat(pf32bit);
    preview_->SetSize(g->Width(), g->Height());
    preview_->Canvas()->Draw(0, 0, g);
    TFilterItems::ApplyTo(filters_, preview_.get());
    if (Scaled1->Checked()) {
      TBitmap scaled;
      scaled.SetSize(std::max(1, Image->Width()), std::max(1, Image->Height()));
      scaled.Canvas()->StretchDraw(Rect(0, 0, scaled.Width(), scaled.Height()), preview_.get());
      Image->BackImage()->SetGraphic(&scaled);
    } else {
      Image->BackImage()->SetGraphic(preview_.get());
    }
  }
  if (OnChange.Assigned()) OnChange(this);
}

void TFiltersEditor::CBPreviewClick(TObject*) {
  CBScaled->SetEnabled(CBPreview->Checked());
  if (CBPreview->Checked())
    RefreshPreview();
  else
    Image->BackImage()->SetGraphic(nullptr);
}

void TFiltersEditor::CBScaledClick(TObject*) {
  Scaled1->SetChecked(CBScaled->Checked());
  RefreshPreview();
}

void TFiltersEditor::Scaled1Click(TObject*) {
  // Setting the box refreshes through its own click.
  CBScaled->SetChecked(!Scaled1->Checked());
}

void TFiltersEditor::ImageResize(TObject*) {
  if (preview_) RefreshPreview();
}

bool EditImageFilters(TComponent* AOwner, TLumPicture* Picture, TFilterItems* Filters) {
  TModalDialog<TFiltersEditor> f(new TFiltersEditor(AOwner));
  f->SetTheFilters(Filters);
  f->SetThePicture(Picture);
  return f.Run();
}

bool EditImageFilters(TComponent* AOwner, TLumPicture* Picture) {
  const bool ok = EditImageFilters(AOwner, Picture, Picture ? Picture->Filters() : nullptr);
  if (ok && Picture) Picture->FiltersChanged();
  return ok;
}
