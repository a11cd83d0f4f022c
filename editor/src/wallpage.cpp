#include <cmath>
#include <memory>
#include <vector>

#include "chart/chart.h"
#include "editor/panelpages.h"
#include "engine/helpers.h"
#include "gallery/backimageeditor.h"
#include "gallery/brushdialog.h"
#include "gallery/editortools.h"
#include "gallery/formbuild.h"
#include "gallery/gradienteditor.h"
#include "gallery/marginseditor.h"
#include "gallery/pendialog.h"
#include "gallery/shadoweditor.h"

using namespace formbuild;

IMPLEMENT_CLASS(TFormLumWall, TChartObjectPage)

namespace {

// The tabs' walls: Left, Right, Bottom, Back.
TChartWall* WallAt(TCustomChart* Chart, int Index) {
  switch (Index) {
    case 0: return Chart->LeftWall();
    case 1: return Chart->RightWall();
    case 2: return Chart->BottomWall();
    default: return Chart->BackWall();
  }
}

int TabOf(TChartWall* Wall) {
  switch (Wall->Kind()) {
    case cwkLeft: return 0;
    case cwkRight: return 1;
    case cwkBottom: return 2;
    default: return 3;
  }
}

}  // namespace

TFormLumWall::TFormLumWall(TComponent* AOwner, TChartWall* AWall)
    : TChartObjectPage(AOwner, "FormLumWall", 420, 280), wall_(AWall) {
  PanelTop = PlainPanel(this, this, "PanelTop", alTop, 0, 0, 420, 30);
  CBView3dWalls = CheckBox(this, PanelTop, "CBView3dWalls", 6, 7, 120, "&Visible Walls");
  const auto all = EditWithUpDown(this, PanelTop, "LAllSize", "Size:", "EAllSize", "UDAllSize", 150, 180, 4, 44, 0,
                                  100);
  LAllSize = all.Label, EAllSize = all.Edit, UDAllSize = all.UpDown;
  TabSubWalls = PlaceControl<TTabControl>(this, this, "TabSubWalls", 0, 30, 420, 250);
  TabSubWalls->SetAlign(alClient);
  TabSubWalls->SetHotTrack(true);
  for (const char* t : {"Left", "Right", "Bottom", "Back"}) TabSubWalls->Tabs()->Add(t);
  TabSubWalls->SetTabIndex(0);

  TWinControl* tabs = TabSubWalls;
  const TRect area = TabSubWalls->DisplayRect();
  const int x = area.Left + 6, y = area.Top + 6;
  CBVisible = CheckBox(this, tabs, "CBVisible", x, y, 100, "V&isible");
  BWallColor = PlaceControl<TButtonColor>(this, tabs, "BWallColor", x, y + 24, 108, 25, "&Color...");
  BWallPen = PlaceControl<TButtonPen>(this, tabs, "BWallPen", x, y + 54, 108, 25, "B&order...");
  BWallBrush = PlaceControl<TButton>(this, tabs, "BWallBrush", x, y + 84, 108, 25, "&Pattern...");
  BGradient = PlaceControl<TButtonGradient>(this, tabs, "BGradient", x, y + 114, 108, 25, "&Gradient...");
  const auto size = EditWithUpDown(this, tabs, "LWallSize", "Siz&e:", "SEWallSize", "UDWallSize", x + 116, x + 196,
                                   y, 44, 0, 100);
  LWallSize = size.Label, SEWallSize = size.Edit, UDWallSize = size.UpDown;
  CBDark3D = CheckBox(this, tabs, "CBDark3D", x + 116, y + 28, 110, "&Dark 3D");
  CBTransp = CheckBox(this, tabs, "CBTransp", x + 116, y + 50, 110, "&Transparent");
  const auto transp = EditWithUpDown(this, tabs, "LTransp", "T&ransparency:", "Edit1", "UDTransp", x + 116, x + 196,
                                     y + 72, 44, 0, 100);
  LTransp = transp.Label, Edit1 = transp.Edit, UDTransp = transp.UpDown;
  CBAutoHide = CheckBox(this, tabs, "CBAutoHide", x + 116, y + 100, 110, "&Auto Hide");
  GBPosition = PlaceControl<TGroupBox>(this, tabs, "GBPosition", x + 116, y + 122, 150, 76, "Position:");
  const auto pos = EditUpDownRows(this, GBPosition,
                                  {{"LStart", "Start:", "Edit2", "UDStart"}, {"LEnd", "End:", "Edit3", "UDEnd"}}, 10,
                                  50, 18, 50, 0, 100);
  LStart = pos[0].Label, Edit2 = pos[0].Edit, UDStart = pos[0].UpDown;
  LEnd = pos[1].Label, Edit3 = pos[1].Edit, UDEnd = pos[1].UpDown;
  BImage = PlaceControl<TButton>(this, tabs, "BImage", x + 300, y, 96, 25, "&Image...");
  BShadow = PlaceControl<TButton>(this, tabs, "BShadow", x + 300, y + 30, 96, 25, "&Shadow...");
  BEmboss = PlaceControl<TButton>(this, tabs, "BEmboss", x + 300, y + 60, 96, 25, "&Emboss...");
  BVisual = PlaceControl<TButton>(this, tabs, "BVisual", x + 300, y + 90, 96, 25, "Visua&l...");

  OnShow = HANDLER(FormShow);
  TabSubWalls->OnChange = HANDLER(TabSubWallsChange);
  CBView3dWalls->OnClick = HANDLER(CBView3dWallsClick);
  EAllSize->OnChange = HANDLER(EAllSizeChange);
  CBVisible->OnClick = HANDLER(CBVisibleClick);
  BWallBrush->OnClick = HANDLER(BWallBrushClick);
  BGradient->OnClick = HANDLER(BGradientClick);
  SEWallSize->OnChange = HANDLER(SEWallSizeChange);
  CBDark3D->OnClick = HANDLER(CBDark3DClick);
  CBTransp->OnClick = HANDLER(CBTranspClick);
  Edit1->OnChange = HANDLER(Edit1Change);
  CBAutoHide->OnClick = HANDLER(CBAutoHideClick);
  Edit2->OnChange = HANDLER(Edit2Change);
  Edit3->OnChange = HANDLER(Edit3Change);
  BImage->OnClick = HANDLER(BImageClick);
  BShadow->OnClick = HANDLER(BShadowClick);
  BEmboss->OnClick = HANDLER(BEmbossClick);
  BVisual->OnClick = HANDLER(BVisualClick);
  WatchChart(AWall ? AWall->ParentChart() : nullptr);
}

TCustomChart* TFormLumWall::Chart() const { return dynamic_cast<TCustomChart*>(WatchedChart()); }

void TFormLumWall::ChartFreed() {
  wall_ = nullptr;
  updating_ = true;
}

void TFormLumWall::FormShow(TObject*) {
  if (TChartWall* wall = Wall()) {
    updating_ = true;
    TabSubWalls->SetTabIndex(TabOf(wall));
    FillWall();
    updating_ = false;
  }
  TranslateControl(this);
}

void TFormLumWall::FillWall() {
  TChartWall* wall = Wall();
  TCustomChart* chart = Chart();
  if (!wall || !chart) return;
  const bool wasUpdating = updating_;
  updating_ = true;
  CBView3dWalls->SetChecked(chart->View3DWalls());
  UDWallSize->SetPosition(wall->Size());
  CBTransp->SetChecked(wall->Transparent());
  CBDark3D->SetChecked(wall->Dark3D());
  CBDark3D->SetEnabled(wall->Size() > 0);
  CBVisible->SetChecked(wall->Visible());
  CBAutoHide->SetChecked(wall->AutoHide());
  UDTransp->SetPosition(wall->Transparency());
  UDStart->SetPosition(int(std::lround(wall->StartPosition())));
  UDEnd->SetPosition(int(std::lround(wall->EndPosition())));
  LinkGradient(BGradient, wall->Gradient());
  LinkButtonTo(BWallPen, wall->Pen());
  UDAllSize->SetPosition(wall->Size());
  BVisual->SetVisible(VisualChooserHook != nullptr);
  CBAutoHide->SetVisible(wall->Kind() != cwkBottom);
  BShadow->SetVisible(wall->Kind() == cwkBack);
  BWallColor->LinkProperty(wall, "Color");
  GBPosition->SetTop(CBAutoHide->Visible() ? CBAutoHide->Top() + 22 : CBAutoHide->Top());
  // The buttons shown stack without gaps.
  int top = BImage->Top();
  for (TButton* b : {BImage, BShadow, BEmboss, BVisual})
    if (b->Visible()) {
      b->SetTop(top);
      top += 30;
    }
  updating_ = wasUpdating;
}

void TFormLumWall::TabSubWallsChange(TObject*) {
  TCustomChart* chart = Chart();
  if (!chart || TabSubWalls->TabIndex() < 0) return;
  wall_ = WallAt(chart, TabSubWalls->TabIndex());
  FillWall();
}

void TFormLumWall::CBView3dWallsClick(TObject*) {
  if (Editing()) Chart()->SetView3DWalls(CBView3dWalls->Checked());
}

void TFormLumWall::EAllSizeChange(TObject*) {
  if (!Editing()) return;
  Chart()->Walls()->SetSize(UDAllSize->Position());
  FillWall();
}

void TFormLumWall::CBVisibleClick(TObject*) {
  if (Editing()) Wall()->SetVisible(CBVisible->Checked());
}

void TFormLumWall::BWallBrushClick(TObject*) {
  if (!Wall()) return;
  TComponentRef<TFormLumWall> self(this);
  EditBrush(BWallBrush, Wall()->Brush());
  if (self && Wall()) BWallColor->RepaintSymbol();  // the brush holds the wall's colour
}

void TFormLumWall::BGradientClick(TObject*) {
  TChartWall* wall = Wall();
  // A gradient shows only on a wall that is filled.
  if (!wall || !wall->Gradient()->Visible()) return;
  wall->SetTransparent(false);
  updating_ = true;
  CBTransp->SetChecked(false);
  updating_ = false;
}

void TFormLumWall::SEWallSizeChange(TObject*) {
  if (!Editing()) return;
  Wall()->SetSize(UDWallSize->Position());
  CBDark3D->SetEnabled(Wall()->Size() > 0);
}

void TFormLumWall::CBDark3DClick(TObject*) {
  if (Editing()) Wall()->SetDark3D(CBDark3D->Checked());
}

void TFormLumWall::CBTranspClick(TObject*) {
  if (Editing()) Wall()->SetTransparent(CBTransp->Checked());
}

void TFormLumWall::Edit1Change(TObject*) {
  if (Editing()) Wall()->SetTransparency(UDTransp->Position());
}

void TFormLumWall::CBAutoHideClick(TObject*) {
  if (Editing()) Wall()->SetAutoHide(CBAutoHide->Checked());
}

void TFormLumWall::Edit2Change(TObject*) {
  if (Editing()) Wall()->SetStartPosition(UDStart->Position());
}

void TFormLumWall::Edit3Change(TObject*) {
  if (Editing()) Wall()->SetEndPosition(UDEnd->Position());
}

void TFormLumWall::BImageClick(TObject*) {
  TChartWall* wall = Wall();
  if (!wall) return;
  // The picture alone: a wall's picture has no mode or place of its own.
  TComponentRef<TFormLumWall> self(this);
  TModalDialog<TBackImageEditor> e(new TBackImageEditor(this));
  e->SetBorderStyle(bsDialog);
  e->RGBitmap->SetVisible(false);
  e->GBPosition->SetVisible(false);
  e->Button3->SetVisible(false);  // every change is live: there is nothing to cancel
  e->PanelButtons->SetVisible(true);
  e->SetClientHeight(e->RGBitmap->Top() + e->PanelButtons->Height());
  e->LoadBackImage(wall->Picture());
  CenterEditorDialog(e.Get());
  e.Run();
  if (self && Wall()) Wall()->Repaint();
}

void TFormLumWall::BShadowClick(TObject*) {
  if (Wall()) EditShadow(BShadow, Wall()->Shadow());
}

void TFormLumWall::BEmbossClick(TObject*) {
  if (Wall()) EditEmboss(BEmboss, Wall()->Emboss());
}

void TFormLumWall::BVisualClick(TObject*) {
  TChartWall* wall = Wall();
  if (!wall) return;
  // The visuals editor on the wall's holder: its chooser makes a visual for the chart.
  // It frees a visual it replaces but not one it clears: those are the wall's to
  // free, once the editor is done with them.
  TVisualsHolder* holder = wall->VisualHolder();
  std::vector<std::unique_ptr<TPersistent>> cleared;
  TPersistent* last = holder->Visual();
  TComponentRef<TFormLumWall> self(this);
  TModalDialog<TVisualsEditor> editor(new TVisualsEditor(this));
  editor->SetTag(std::intptr_t(holder));
  editor->OnChange = [&](TObject*) {
    if (!holder->Visual() && last) cleared.emplace_back(last);
    last = holder->Visual();
  };
  CenterEditorDialog(editor.Get());
  editor.Run();
  if (self && Wall()) Wall()->Repaint();
}
