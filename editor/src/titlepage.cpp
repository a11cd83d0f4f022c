#include "chart/chart.h"
#include "editor/panelpages.h"
#include "engine/helpers.h"
#include "gallery/editortools.h"
#include "gallery/formbuild.h"
#include "gallery/shapeeditor.h"
#include "gallery/stringseditor.h"

using namespace formbuild;

IMPLEMENT_CLASS(TFormLumTitle, TChartObjectPage)

namespace {

TChartTitle* TitleAt(TCustomChart* Chart, int Index) {
  switch (Index) {
    case 0: return Chart->Title();
    case 1: return Chart->SubTitle();
    case 2: return Chart->SubFoot();
    default: return Chart->Foot();
  }
}

int IndexOfTitle(TCustomChart* Chart, TChartTitle* Title) {
  return Title == Chart->Title() ? 0 : Title == Chart->SubTitle() ? 1 : Title == Chart->SubFoot() ? 2 : 3;
}

bool SameLines(TStrings* A, TStrings* B) {
  if (A->Count() != B->Count()) return false;
  for (int i = 0; i < A->Count(); ++i)
    if (A->Strings(i) != B->Strings(i)) return false;
  return true;
}

}  // namespace

TFormLumTitle::TFormLumTitle(TComponent* AOwner, TChartTitle* ATitle, TCustomChart* AChart)
    : TChartObjectPage(AOwner, "FormLumTitle", 420, 280), title_(ATitle) {
  PanelTop = PlainPanel(this, this, "PanelTop", alTop, 0, 0, 420, 30);
  CBTitles = DropDownList(this, PanelTop, "CBTitles", 4, 4, 110, {"Title", "SubTitle", "SubFoot", "Foot"});
  PageControlTitle = ClientPages(this, this, "PageControlTitle", 0, 30, 420, 250, true);
  TabStyle = Sheet(this, PageControlTitle, "TabStyle", "Style");
  MText = PlaceControl<TMemo>(this, TabStyle, "MText", 8, 22, 230, 70);
  LText = PlaceLabel(this, TabStyle, "LText", 8, 6, "&Text:", MText);
  Button1 = PlaceControl<TButton>(this, TabStyle, "Button1", 246, 22, 75, 25, "&Edit...");
  CBVisible = CheckBox(this, TabStyle, "CBVisible", 8, 102, 100, "&Visible");
  CBAdjust = CheckBox(this, TabStyle, "CBAdjust", 8, 122, 110, "&Adjust Frame");
  CBAlign = DropDownList(this, TabStyle, "CBAlign", 210, 100, 90, {"Left", "Center", "Right"});
  LAlign = PlaceLabel(this, TabStyle, "LAlign", 140, 104, "Alig&nment:", CBAlign);
  GBPosition = PlaceControl<TGroupBox>(this, TabStyle, "GBPosition", 8, 146, 396, 70, "");
  CBCustPos = CheckBox(this, GBPosition, "CBCustPos", 8, 14, 80, "&Custom:");
  const auto left = EditWithUpDown(this, GBPosition, "LCustLeft", "L&eft:", "ECustLeft", "UDLeft", 8, 44, 40, 52,
                                   -1000, 1000);
  LCustLeft = left.Label, ECustLeft = left.Edit, UDLeft = left.UpDown;
  const auto top = EditWithUpDown(this, GBPosition, "LCustTop", "T&op:", "ECustTop", "UDTop", 120, 152, 40, 52,
                                  -1000, 1000);
  LCustTop = top.Label, ECustTop = top.Edit, UDTop = top.UpDown;
  UDLeft->SetIncrement(5);
  UDTop->SetIncrement(5);
  const auto margin = EditWithUpDown(this, GBPosition, "LMargin", "&Vert. Margin:", "Edit1", "UDMargin", 230, 306,
                                     40, 52, -500, 500);
  LMargin = margin.Label, Edit1 = margin.Edit, UDMargin = margin.UpDown;

  OnShow = HANDLER(FormShow);
  CBTitles->OnChange = HANDLER(CBTitlesChange);
  PageControlTitle->OnChange = HANDLER(PageControlTitleChange);
  MText->OnChange = HANDLER(MTextChange);
  Button1->OnClick = HANDLER(Button1Click);
  CBVisible->OnClick = HANDLER(CBVisibleClick);
  CBAdjust->OnClick = HANDLER(CBAdjustClick);
  CBAlign->OnChange = HANDLER(CBAlignChange);
  CBCustPos->OnClick = HANDLER(CBCustPosClick);
  ECustLeft->OnChange = HANDLER(ECustLeftChange);
  ECustTop->OnChange = HANDLER(ECustTopChange);
  Edit1->OnChange = HANDLER(Edit1Change);

  WatchChart(AChart);
  if (title_) {
    shapeEditor_.Set(EmbedShapeEditorInPage(PageControlTitle, title_));
    PageControlTitle->SetActivePage(TabStyle);
  }
}

TFormLumTitle::~TFormLumTitle() { updating_ = true; }

TCustomChart* TFormLumTitle::Chart() const { return dynamic_cast<TCustomChart*>(Watched()); }
TChartTitle* TFormLumTitle::Title() const { return Chart() ? title_ : nullptr; }
TFormLumShape* TFormLumTitle::ShapeEditor() const { return shapeEditor_.Get(); }

void TFormLumTitle::ChartFreed() {
  title_ = nullptr;
  updating_ = true;
  delete shapeEditor_.Get();
}

void TFormLumTitle::FormShow(TObject*) {
  if (TChartTitle* title = Title()) {
    updating_ = true;
    CBTitles->SetItemIndex(IndexOfTitle(Chart(), title));
    FillTitle();
    updating_ = false;
  }
  TranslateControl(this);
}

void TFormLumTitle::FillTitle() {
  TChartTitle* title = Title();
  const bool wasUpdating = updating_;
  updating_ = true;
  const TAlignment a = title->Alignment();
  CBAlign->SetItemIndex(a == taLeftJustify ? 0 : a == taRightJustify ? 2 : 1);
  CBVisible->SetChecked(title->Visible());
  CBAdjust->SetChecked(title->AdjustFrame());
  CBCustPos->SetChecked(title->CustomPosition());
  UDMargin->SetPosition(title->VertMargin());
  EnableCustom();
  loading_ = true;
  MText->Lines()->Assign(title->Text());
  loading_ = false;
  if (TFormLumShape* e = ShapeEditor()) e->LoadShape(title);
  updating_ = wasUpdating;
}

void TFormLumTitle::EnableCustom() {
  const bool custom = CBCustPos->Checked();
  for (TControl* c : std::initializer_list<TControl*>{ECustLeft, UDLeft, ECustTop, UDTop}) c->SetEnabled(custom);
  if (!custom) return;
  const bool wasUpdating = updating_;
  updating_ = true;
  UDLeft->SetPosition(Title()->Left());
  UDTop->SetPosition(Title()->Top());
  updating_ = wasUpdating;
}

void TFormLumTitle::CBTitlesChange(TObject*) {
  if (!Chart() || CBTitles->ItemIndex() < 0) return;
  title_ = TitleAt(Chart(), CBTitles->ItemIndex());
  FillTitle();
}

void TFormLumTitle::PageControlTitleChange(TObject*) {
  if (TFormLumShape* e = ShapeEditor()) e->TabShown(PageControlTitle->ActivePage());
}

void TFormLumTitle::MTextChange(TObject*) {
  // Written only when the lines differ, so a fill writes nothing back.
  if (Editing() && !SameLines(MText->Lines(), Title()->Text())) Title()->Text()->Assign(MText->Lines());
}

void TFormLumTitle::Button1Click(TObject*) {
  if (Title() && EditStringList(this, MText->Lines(), false)) MTextChange(MText);
}

void TFormLumTitle::CBVisibleClick(TObject*) {
  if (Editing()) Title()->SetVisible(CBVisible->Checked());
}

void TFormLumTitle::CBAdjustClick(TObject*) {
  if (Editing()) Title()->SetAdjustFrame(CBAdjust->Checked());
}

void TFormLumTitle::CBAlignChange(TObject*) {
  static constexpr TAlignment aligns[] = {taLeftJustify, taCenter, taRightJustify};
  if (Editing() && CBAlign->ItemIndex() >= 0) Title()->SetAlignment(aligns[CBAlign->ItemIndex()]);
}

void TFormLumTitle::CBCustPosClick(TObject*) {
  if (!Editing()) return;
  Title()->SetCustomPosition(CBCustPos->Checked());
  EnableCustom();
}

void TFormLumTitle::ECustLeftChange(TObject*) {
  if (Editing() && Title()->CustomPosition() && Title()->Left() != UDLeft->Position())
    Title()->SetLeft(UDLeft->Position());
}

void TFormLumTitle::ECustTopChange(TObject*) {
  if (Editing() && Title()->CustomPosition() && Title()->Top() != UDTop->Position())
    Title()->SetTop(UDTop->Position());
}

void TFormLumTitle::Edit1Change(TObject*) {
  if (Editing()) Title()->SetVertMargin(UDMargin->Position());
}
