#include "gallery/toolsgallery.h"

#include <memory>

#include "engine/helpers.h"
#include "engine/panel.h"
#include "engine/tools.h"
#include "formbuild.h"
#include "gallery/editortools.h"

using namespace formbuild;

IMPLEMENT_CLASS(TLumToolsGallery, TForm)
IMPLEMENT_CLASS(TLumAnimationsGallery, TLumToolsGallery)

TGalleryDemoHook ToolsGalleryDemoHook = nullptr;
TGalleryDemoHook AnimationsGalleryDemoHook = nullptr;

namespace {

// A throw-away instance of the class, joined to no chart, freed with the holder.
std::unique_ptr<TComponent> TemporaryInstance(TClass Class) {
  return std::unique_ptr<TComponent>(Class ? dynamic_cast<TComponent*>(Class->NewInstance(nullptr)) : nullptr);
}

TObject* ClassObject(TClass C) { return reinterpret_cast<TObject*>(const_cast<TMetaClass*>(C)); }
TClass ObjectClass(TObject* O) { return reinterpret_cast<TClass>(O); }

constexpr int kNarrowWidth = 300;

}  // namespace

TLumToolsGallery::TLumToolsGallery(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "LumToolsGallery", "Chart Tools Gallery", 682, 436, bsSizeable);
  SetBorderIcons(biSystemMenu);
  SetPosition(poScreenCenter);
  P1 = PlaceControl<TPanel>(this, this, "P1", 0, 395, 682, 41);
  P1->SetAlign(alBottom);
  P1->SetBevelOuter(bvNone);
  LabelClass = PlaceControl<TLabel>(this, P1, "LabelClass", 104, 14, 10, 13, "?");
  CBView3D = PlaceControl<TCheckBox>(this, P1, "CBView3D", 8, 12, 90, 17, "&View 3D");
  Panel1 = PlaceControl<TPanel>(this, P1, "Panel1", 512, 0, 170, 41);
  Panel1->SetAlign(alRight);
  Panel1->SetBevelOuter(bvNone);
  BOk = PlaceControl<TButton>(this, Panel1, "BOk", 8, 8, 75, 25, "&Add");
  BOk->SetDefault(true);
  BOk->SetEnabled(false);
  BOk->SetModalResult(mrOk);
  BCan = PlaceControl<TButton>(this, Panel1, "BCan", 89, 8, 75, 25, "Cancel");
  BCan->SetCancel(true);
  BCan->SetModalResult(mrCancel);
  Panel2 = PlaceControl<TPanel>(this, this, "Panel2", 0, 305, 682, 90);
  Panel2->SetAlign(alBottom);
  Panel2->SetBevelOuter(bvNone);
  MemoDesc = PlaceControl<TMemo>(this, Panel2, "MemoDesc", 0, 0, 682, 90);
  MemoDesc->SetAlign(alClient);
  MemoDesc->SetReadOnly(true);
  MemoDesc->SetColor(clInfoBk);
  MemoDesc->SetBorderStyle(bsNone);
  Splitter2 = PlaceControl<TSplitter>(this, this, "Splitter2", 0, 302, 682, 3);
  Splitter2->SetAlign(alBottom);
  Splitter2->SetHeight(3);  // a splitter starts left-aligned and took the height meanwhile
  TabControl1 = PlaceControl<TTabControl>(this, this, "TabControl1", 0, 0, 220, 302);
  TabControl1->SetAlign(alLeft);
  LBTool = PlaceControl<TListBox>(this, TabControl1, "LBTool", 4, 28, 212, 270);
  LBTool->SetAlign(alClient);
  LBTool->SetStyle(lbOwnerDrawFixed);
  LBTool->SetItemHeight(18);
  LBTool->SetSorted(true);
  Splitter1 = PlaceControl<TSplitter>(this, this, "Splitter1", 220, 0, 3, 302);
  Splitter1->SetAlign(alLeft);
  PanelDemos = PlaceControl<TPanel>(this, this, "PanelDemos", 223, 0, 459, 302);
  PanelDemos->SetAlign(alClient);
  PanelDemos->SetColor(clWhite);
  PanelDemos->SetBevelOuter(bvNone);
  Panel3 = PlaceControl<TPanel>(this, PanelDemos, "Panel3", 0, 0, 459, 4);
  Panel3->SetAlign(alTop);
  Panel3->SetBevelOuter(bvNone);
  Panel4 = PlaceControl<TPanel>(this, PanelDemos, "Panel4", 0, 4, 4, 298);
  Panel4->SetAlign(alLeft);
  Panel4->SetBevelOuter(bvNone);

  ClassList = &LumToolTypes();
  DemoHook = ToolsGalleryDemoHook;
  OnShow = HANDLER(FormShow);
  TabControl1->OnChange = HANDLER(TabChange);
  LBTool->OnClick = HANDLER(LBToolClick);
  LBTool->OnDblClick = HANDLER(LBToolDblClick);
  LBTool->OnDrawItem = HANDLER(LBToolDrawItem);
  CBView3D->OnClick = HANDLER(CBView3DClick);
  RecordDefaults(this);
}

void TLumToolsGallery::FormShow(TObject*) {
  MemoDesc->SetBevelKind(bkFlat);
  MemoDesc->SetBevelOuter(bvRaised);
  TabControl1->Tabs()->Clear();
  for (const char* t : {"Series", "Axis", "Other"}) TabControl1->Tabs()->Add(t);
  TabControl1->SetTabIndex(0);
  FillList();
  LabelClass->SetVisible(false);  // only while the form is designed
  LabelClass->SetCaption("");
  PanelDemos->SetVisible(DemoHook != nullptr);
  Splitter1->SetVisible(DemoHook != nullptr);
  CBView3D->SetVisible(DemoHook != nullptr);
  if (!DemoHook) {
    TabControl1->SetAlign(alClient);
    SetWidth(kNarrowWidth);
  }
  TranslateControl(this);
}

bool TLumToolsGallery::ClassFits(int Index) {
  const int tab = TabControl1->TabIndex();
  if (tab < 0) return true;
  std::unique_ptr<TComponent> tool = TemporaryInstance(ClassList->Get(Index));
  const bool series = dynamic_cast<TLumCustomToolSeries*>(tool.get()) != nullptr;
  const bool axis = dynamic_cast<TLumCustomToolAxis*>(tool.get()) != nullptr;
  return tab == 0 ? series : tab == 1 ? axis : !series && !axis;
}

void TLumToolsGallery::FillList() {
  LBTool->Clear();
  for (int i = 0; ClassList && i < ClassList->Count(); ++i) {
    if (!ClassFits(i)) continue;
    std::unique_ptr<TComponent> tool = TemporaryInstance(ClassList->Get(i));
    auto* t = dynamic_cast<TLumCustomTool*>(tool.get());
    const std::string text = t && !t->Description().empty() ? t->Description() : ClassList->Get(i)->Name;
    LBTool->Items()->AddObject(text, ClassObject(ClassList->Get(i)));
  }
  MemoDesc->Lines()->Clear();
  BOk->SetEnabled(false);
}

void TLumToolsGallery::TabChange(TObject*) { FillList(); }

TClass TLumToolsGallery::SelectedTool() const {
  const int i = LBTool->ItemIndex();
  return i < 0 ? nullptr : ObjectClass(LBTool->Items()->Objects(i));
}

void TLumToolsGallery::LBToolClick(TObject*) {
  const TClass c = SelectedTool();
  BOk->SetEnabled(c != nullptr);
  while (PanelDemos->ControlCount() > 2) delete PanelDemos->Controls(PanelDemos->ControlCount() - 1);
  if (!c) {
    LabelClass->SetCaption("");
    MemoDesc->Lines()->Clear();
    CBView3D->Hide();
    return;
  }
  std::unique_ptr<TComponent> tool = TemporaryInstance(c);
  auto* t = dynamic_cast<TLumCustomTool*>(tool.get());
  MemoDesc->Lines()->SetText(t ? t->LongDescription() : std::string());
  TranslateControl(MemoDesc);
  TCustomAxisPanel* chart = nullptr;
  if (DemoHook) {
    DemoHook(c, PanelDemos);
    for (int i = 0; i < PanelDemos->ControlCount() && !chart; ++i)
      chart = dynamic_cast<TCustomAxisPanel*>(PanelDemos->Controls(i));
  }
  CBView3D->SetVisible(chart != nullptr);
  if (chart) {
    CBView3D->OnClick = {};
    CBView3D->SetChecked(chart->View3D());
    CBView3D->OnClick = HANDLER(CBView3DClick);
  }
}

void TLumToolsGallery::CBView3DClick(TObject*) {
  for (int i = 0; i < PanelDemos->ControlCount(); ++i)
    if (auto* chart = dynamic_cast<TCustomAxisPanel*>(PanelDemos->Controls(i))) chart->SetView3D(CBView3D->Checked());
}

void TLumToolsGallery::LBToolDblClick(TObject*) {
  if (SelectedTool()) SetModalResult(mrOk);
}

void TLumToolsGallery::LBToolDrawItem(TWinControl*, int Index, const TRect& R, TOwnerDrawState State) {
  std::unique_ptr<TComponent> tool;
  if (Index >= 0 && Index < LBTool->Count()) tool = TemporaryInstance(ObjectClass(LBTool->Items()->Objects(Index)));
  DrawToolListItem(LBTool, tool.get(), Index, R, State);
}

void DrawToolListItem(TCustomListBox* List, const TObject* Tool, int Index, const TRect& R,
                      TOwnerDrawState State) {
  TCanvas* c = List->Canvas();
  const bool selected = State & odSelected;
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(selected ? clHighlight : List->Color());
  c->FillRect(R);
  if (Index < 0 || Index >= List->Count()) return;
  if (Tool) DrawResourceBitmap(c, Tool, R.Left + 2, R.Top + 1);
  c->Font()->Assign(List->Font());
  c->Font()->SetColor(selected ? clHighlightText : List->Font()->Color());
  c->Brush()->SetStyle(bsClear);
  c->TextOut(R.Left + 22, R.Top + 2, List->Items()->Strings(Index));
  c->Brush()->SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------
TLumAnimationsGallery::TLumAnimationsGallery(TComponent* AOwner) : TLumToolsGallery(AOwner) {
  SetName("LumAnimationsGallery");
  SetCaption("Chart Animations Gallery");
  ClassList = &LumAnimationTypes();
  DemoHook = AnimationsGalleryDemoHook;
  RecordDefaults(this);
}

bool TLumAnimationsGallery::ClassFits(int) { return true; }

void LumToolsGalleryUnitInit() {
  EnsureGalleryResources();
  RegisterClasses({TLumToolsGallery::StaticClass(), TLumAnimationsGallery::StaticClass()});
}

void LumToolsGalleryUnitDone() {
  ToolsGalleryDemoHook = nullptr;
  AnimationsGalleryDemoHook = nullptr;
  UnRegisterClass(TLumToolsGallery::StaticClass());
  UnRegisterClass(TLumAnimationsGallery::StaticClass());
}
