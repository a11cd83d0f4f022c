#include "editor/toolspage.h"

#include <memory>

#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/registry.h"
#include "editor_resources.h"
#include "engine/helpers.h"
#include "engine/panel.h"
#include "gallery/editortools.h"
#include "gallery/formbuild.h"
#include "gallery/toolsgallery.h"
#include "platform/dialogs.h"

using namespace formbuild;

IMPLEMENT_CLASS(TFormLumTools, TForm)
IMPLEMENT_CLASS(TFormLumAnimations, TFormLumTools)

namespace {
constexpr int kActiveTop = 8, kActiveTopDesigning = 3;
}

TFormLumTools::TFormLumTools(TComponent* AOwner, const char* Name) : TForm(AOwner) {
  SetupDialog(this, Name, "", 404, 270, bsNone);
  PTop = PlainPanel(this, this, "PTop", alTop, 0, 0, 404, 35);
  BAdd = PlaceControl<TButton>(this, PTop, "BAdd", 4, 5, 75, 25, "&Add...");
  BAdd->SetHint("Add");
  BDelete = PlaceControl<TButton>(this, PTop, "BDelete", 83, 5, 75, 25, "&Delete");
  BDelete->SetHint("Remove");
  BDelete->SetEnabled(false);
  BClone = PlaceControl<TSpeedButton>(this, PTop, "BClone", 162, 6, 23, 22);
  BClone->SetHint("Clone");
  BClone->SetEnabled(false);
  CBActive = PlaceControl<TCheckBox>(this, PTop, "CBActive", 194, kActiveTop, 70, 15, "A&ctive");
  CBShowInEditor = PlaceControl<TCheckBox>(this, PTop, "CBShowInEditor", 194, 18, 130, 15, "Show in this editor");
  CBShowInEditor->SetVisible(false);
  Panel2 = PlainPanel(this, PTop, "Panel2", alRight, 348, 0, 56, 35);
  BMoveUp = PlaceControl<TSpeedButton>(this, Panel2, "BMoveUp", 4, 6, 23, 22);
  BMoveDown = PlaceControl<TSpeedButton>(this, Panel2, "BMoveDown", 29, 6, 23, 22);
  PBottom = PlaceControl<TPanel>(this, this, "PBottom", 0, 249, 404, 21);
  PBottom->SetAlign(alBottom);
  PBottom->SetBevelOuter(bvLowered);
  PBottom->SetAlignment(taLeftJustify);
  PBottom->SetCursor(crLumHand);
  PBottom->SetVisible(false);
  LBTools = PlaceControl<TListBox>(this, this, "LBTools", 0, 35, 160, 235);
  LBTools->SetAlign(alLeft);
  LBTools->SetStyle(lbOwnerDrawFixed);
  LBTools->SetItemHeight(18);
  PanelToolEditor = PlainPanel(this, this, "PanelToolEditor", alClient, 160, 35, 244, 235);
  LoadArrowGlyphs(BMoveUp, BMoveDown);
  EnsureEditorResources();
  TBitmap clone;
  clone.LoadFromResourceName("LumClone");
  BClone->SetGlyph(&clone);
  BMoveUp->SetEnabled(false);
  BMoveDown->SetEnabled(false);
  CBActive->SetEnabled(false);

  OnShow = HANDLER(FormShow);
  LBTools->OnClick = HANDLER(LBToolsClick);
  LBTools->OnDrawItem = HANDLER(LBToolsDrawItem);
  BAdd->OnClick = HANDLER(BAddClick);
  BDelete->OnClick = HANDLER(BDeleteClick);
  BClone->OnClick = HANDLER(BCloneClick);
  BMoveUp->OnClick = HANDLER(BMoveUpClick);
  BMoveDown->OnClick = HANDLER(BMoveDownClick);
  CBActive->OnClick = HANDLER(CBActiveClick);
  CBShowInEditor->OnClick = HANDLER(CBShowInEditorClick);
  PBottom->OnClick = HANDLER(PBottomClick);
}

TFormLumTools::~TFormLumTools() { filling_ = true; }

void TFormLumTools::SetToolList(TChartTools* Value) {
  list_ = Value;
  chart_.Set(Value ? Value->ParentChart() : nullptr);
}

bool TFormLumTools::Designing() const { return chart_ && chart_->HasState(csDesigning); }

void TFormLumTools::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  if (Operation != opRemove || filling_) return;
  if (AComponent == toolEditor_) toolEditor_ = nullptr;
  // A listed tool freed elsewhere leaves the list (its editor form with it).
  const int i = LBTools->Items()->IndexOfObject(AComponent);
  if (i < 0) return;
  const bool selected = i == LBTools->ItemIndex();
  if (edited_.Get() == AComponent || (selected && toolEditor_)) CloseToolEditor();
  LBTools->Items()->Delete(i);
  if (LBTools->Count() == 0) PBottom->SetCaption("");
  EnableButtons();
}

TLumCustomTool* TFormLumTools::SelectedTool() const {
  const int i = LBTools->ItemIndex();
  return i < 0 ? nullptr : static_cast<TLumCustomTool*>(LBTools->Items()->Objects(i));
}

void TFormLumTools::FormShow(TObject*) {
  if (!ToolList()) {
    // The Tag names the list (or its chart) only when a chart the owners reach has it.
    const std::intptr_t tag = Tag();
    TComponent* found = tag ? FindReachableComponent(this, [tag](TComponent* c) {
      auto* chart = dynamic_cast<TCustomChart*>(c);
      return chart && (std::intptr_t(chart->Tools()) == tag || std::intptr_t(chart->Animations()) == tag);
    })
                            : nullptr;
    if (auto* chart = dynamic_cast<TCustomChart*>(found))
      SetToolList(std::intptr_t(chart->Tools()) == tag ? static_cast<TChartTools*>(chart->Tools())
                                                        : chart->Animations());
  }
  CBShowInEditor->SetVisible(Designing());
  PBottom->SetVisible(Designing());
  FillTools();
  if (LBTools->Count() > 0) {
    LBTools->SetItemIndex(0);
    LBToolsClick(LBTools);
  }
  TranslateControl(this);
}

void TFormLumTools::FillTools() {
  filling_ = true;
  PBottom->SetCaption("");
  LBTools->Clear();
  if (TChartTools* list = ToolList())
    for (TLumCustomTool* t : *list)
      if (t->HasState(csDesigning) || t->ShowInEditor()) {
        LBTools->Items()->AddObject(t->Description(), t);
        FreeNotification(t);
      }
  filling_ = false;
  const bool any = LBTools->Count() > 0;
  CBActive->SetEnabled(any);
  if (CBShowInEditor->Visible()) CBShowInEditor->SetEnabled(any);
  EnableButtons();
}

void TFormLumTools::EnableButtons() {
  const int i = LBTools->ItemIndex();
  BMoveUp->SetEnabled(i >= 1);
  BMoveDown->SetEnabled(i >= 0 && i < LBTools->Count() - 1);
  BDelete->SetEnabled(i >= 0);
  BClone->SetEnabled(BDelete->Enabled());
  CBActive->SetEnabled(LBTools->Count() > 0);
}

void TFormLumTools::RefreshBottom() {
  TLumCustomTool* t = SelectedTool();
  PBottom->SetCaption(t ? t->Name() + " (" + t->ClassName() + ")" : std::string());
}

void TFormLumTools::CloseToolEditor() {
  if (!toolEditor_) return;
  TForm* f = toolEditor_;
  toolEditor_ = nullptr;
  edited_.Set(nullptr);
  delete f;
}

void TFormLumTools::LBToolsClick(TObject*) {
  // An editor form that refuses to close keeps its tool selected, and is kept as
  // it is (what it holds is not thrown away by making it again).
  bool keep = false;
  if (toolEditor_ && !toolEditor_->CloseQuery()) {
    const int back = LBTools->Items()->IndexOfObject(edited_.Get());
    if (back >= 0) LBTools->SetItemIndex(back);
    keep = back >= 0;
  }
  TLumCustomTool* t = SelectedTool();
  if (!t) {
    CloseToolEditor();
    EnableButtons();
    RefreshBottom();
    return;
  }
  CBActive->OnClick = {};
  CBActive->SetChecked(t->Active());
  CBActive->OnClick = HANDLER(CBActiveClick);
  if (!keep) CloseToolEditor();
  TClass c = keep || t->EditorClassName().empty() ? nullptr : GetClass(t->EditorClassName());
  if (c && c->Create) {
    std::unique_ptr<TObject> made(c->Create(this));
    if (auto* form = dynamic_cast<TForm*>(made.get())) {
      made.release();
      toolEditor_ = form;
      edited_.Set(t);
      TranslateControl(form);
      form->SetAlign(alClient);
      EmbedEditorFormWithTag(form, PanelToolEditor, std::intptr_t(t));
    }
  }
  CBShowInEditor->SetVisible(t->HasState(csDesigning) || Designing());
  if (CBShowInEditor->Visible()) {
    CBShowInEditor->OnClick = {};
    CBShowInEditor->SetChecked(t->ShowInEditor());
    CBShowInEditor->OnClick = HANDLER(CBShowInEditorClick);
    CBActive->SetTop(kActiveTopDesigning);
  } else {
    CBActive->SetTop(kActiveTop);
  }
  EnableButtons();
  RefreshBottom();
}

void TFormLumTools::LBToolsDrawItem(TWinControl*, int Index, const TRect& Rect, TOwnerDrawState State) {
  const TObject* tool = Index >= 0 && Index < LBTools->Count() ? LBTools->Items()->Objects(Index) : nullptr;
  DrawToolListItem(LBTools, tool, Index, Rect, State);
}

TLumCustomTool* TFormLumTools::CreateTool(TClass ToolClass, const std::string& Prefix) {
  TCustomAxisPanel* chart = ListChart();
  if (!ToolClass || !chart) return nullptr;
  TComponent* owner = chart->Owner();
  std::unique_ptr<TObject> made(ToolClass->NewInstance(owner));
  auto* tool = dynamic_cast<TLumCustomTool*>(made.get());
  if (!tool) return nullptr;
  made.release();
  try {
    tool->SetName(UniqueComponentName(owner, Prefix));
    tool->SetParentChart(chart);
  } catch (...) {
    delete tool;
    throw;
  }
  return tool;
}

TClass TFormLumTools::RunGallery(TClass GalleryClass) {
  std::unique_ptr<TObject> made(GalleryClass->NewInstance(Owner()));
  auto* asGallery = dynamic_cast<TLumToolsGallery*>(made.get());
  if (!asGallery) return nullptr;
  made.release();
  TModalDialog<TLumToolsGallery> gallery(asGallery);
  CenterEditorDialog(gallery.Get());
  return gallery.Run() ? gallery->SelectedTool() : nullptr;
}

TLumCustomTool* TFormLumTools::AddTool() {
  TClass chosen = RunGallery(TLumToolsGallery::StaticClass());
  return chosen ? CreateTool(chosen, LumMsg_DefaultToolName) : nullptr;
}

TLumCustomTool* TFormLumTools::CloneTool(TLumCustomTool* Tool) {
  auto* copy = dynamic_cast<TLumCustomTool*>(CreateNewTool(Tool, Tool->Owner()));
  if (copy) copy->SetParentChart(Tool->ParentChart());
  return copy;
}

void TFormLumTools::BAddClick(TObject*) {
  TLumCustomTool* tool = AddTool();
  if (!tool) return;
  if (OnAddTool) OnAddTool(tool);
  FillTools();
  LBTools->SetItemIndex(LBTools->Items()->IndexOfObject(tool) >= 0 ? LBTools->Items()->IndexOfObject(tool)
                                                                    : LBTools->Count() - 1);
  if (LBTools->CanFocus()) LBTools->SetFocus();
  LBToolsClick(LBTools);
}

void TFormLumTools::BDeleteClick(TObject*) {
  TLumCustomTool* tool = SelectedTool();
  if (!tool || !ConfirmDelete(tool->Description(), BDelete)) return;
  const int at = LBTools->ItemIndex();
  TComponentRef<TLumCustomTool> watched(tool);
  if (OnDeleteTool) OnDeleteTool(tool);
  CloseToolEditor();
  delete watched.Get();  // the handler may have freed it already
  FillTools();
  // Positions counted from 1: from the second on, the one before; else the last.
  const int next = at >= 1 ? at - 1 : LBTools->Count() - 1;
  if (next >= 0 && next < LBTools->Count()) LBTools->SetItemIndex(next);
  LBToolsClick(LBTools);
}

void TFormLumTools::BCloneClick(TObject*) {
  TLumCustomTool* tool = SelectedTool();
  if (!tool) return;
  TLumCustomTool* copy = CloneTool(tool);
  if (!copy) return;
  LBTools->Items()->AddObject(copy->Description(), copy);
  FreeNotification(copy);
  LBTools->SetItemIndex(LBTools->Count() - 1);
  LBToolsClick(LBTools);
}

void TFormLumTools::Exchange(int Delta) {
  const int i = LBTools->ItemIndex(), j = i + Delta;
  TChartTools* list = ToolList();
  if (i < 0 || j < 0 || j >= LBTools->Count() || !list) return;
  auto* a = static_cast<TLumCustomTool*>(LBTools->Items()->Objects(i));
  auto* b = static_cast<TLumCustomTool*>(LBTools->Items()->Objects(j));
  static_cast<TListItems*>(LBTools->Items())->Exchange(i, j);
  const int ia = list->IndexOf(a), ib = list->IndexOf(b);
  if (ia >= 0 && ib >= 0) list->Exchange(ia, ib);
  if (a->Owner() && a->Owner() == b->Owner()) {
    const int ca = a->ComponentIndex(), cb = b->ComponentIndex();
    a->SetComponentIndex(cb);
    b->SetComponentIndex(ca);
  }
  LBTools->SetItemIndex(j);
  EnableButtons();
  if (TCustomAxisPanel* chart = ListChart()) chart->Invalidate();
}

void TFormLumTools::BMoveUpClick(TObject*) { Exchange(-1); }
void TFormLumTools::BMoveDownClick(TObject*) { Exchange(1); }

void TFormLumTools::CBActiveClick(TObject*) {
  if (TLumCustomTool* t = SelectedTool()) t->SetActive(CBActive->Checked());
}

void TFormLumTools::CBShowInEditorClick(TObject*) {
  if (TLumCustomTool* t = SelectedTool()) t->SetShowInEditor(CBShowInEditor->Checked());
}

void TFormLumTools::PBottomClick(TObject*) {
  TLumCustomTool* t = SelectedTool();
  if (!t) return;
  std::string name = t->Name();
  if (!InputQuery(LumMsg_ChangeToolName, LumMsg_NewToolName, name) || name == t->Name()) return;
  t->SetName(name);  // a name refused raises with its reason and changes nothing
  RefreshBottom();
}

void TFormLumTools::RefreshTools() {
  if (TChartTools* list = ToolList(); list && LBTools->Count() != list->Count()) {
    FillTools();
    if (LBTools->Count() > 0) LBTools->SetItemIndex(0);
  }
  if (LBTools->ItemIndex() >= 0) LBToolsClick(LBTools);
}

// ---------------------------------------------------------------------------
TFormLumAnimations::TFormLumAnimations(TComponent* AOwner) : TFormLumTools(AOwner, "FormLumAnimations") {}

TLumCustomTool* TFormLumAnimations::AddTool() {
  TClass chosen = RunGallery(TLumAnimationsGallery::StaticClass());
  return chosen ? CreateTool(chosen, LumMsg_DefaultAnimationName) : nullptr;
}
