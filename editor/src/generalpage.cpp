#include "editor/generalpage.h"

#include <set>

#include "canvas/lumcanvas.h"
#include "chart/chart.h"
#include "engine/helpers.h"
#include "engine/zoom.h"
#include "gallery/brushdialog.h"
#include "gallery/editortools.h"
#include "gallery/fonteditor.h"
#include "gallery/formateditor.h"
#include "gallery/formbuild.h"
#include "gallery/pendialog.h"
#include "platform/typinfo.h"
#include "zoomtext.h"

using namespace formbuild;

IMPLEMENT_CLASS(TFormLumGeneral, TChartObjectPage)

namespace {

TLumFont* FindFont(TPersistent* Instance, const TPersistent* Except, std::set<const TObject*>& Seen) {
  if (!Instance || !Seen.insert(Instance).second) return nullptr;
  for (const TPropInfo* p : GetPropList(Instance->ClassType())) {
    if (p->Kind != TPropKind::Object || !p->Get) continue;
    TObject* o = typinfo_detail::AsObject(p->Get(Instance));
    if (!o || o == Except) continue;
    if (auto* f = dynamic_cast<TLumFont*>(o)) return f;
    auto* nested = dynamic_cast<TPersistent*>(o);
    if (!nested || dynamic_cast<TComponent*>(o)) continue;
    if (TLumFont* f = FindFont(nested, Except, Seen)) return f;
  }
  return nullptr;
}

// Now differs from Before (the font as it was): Target takes those attributes of Now,
// style bit by bit, and keeps the rest of its own.
void CopyChanges(TLumFont* Now, const TLumFont* Before, TLumFont* Target) {
  if (Now->Name() != Before->Name()) Target->SetName(Now->Name());
  if (Now->Height() != Before->Height()) Target->SetHeight(Now->Height());
  if (const TFontStyles changed = Now->Style() ^ Before->Style())
    Target->SetStyle((Target->Style() & ~changed) | (Now->Style() & changed));
  if (Now->Color() != Before->Color()) Target->SetColor(Now->Color());
  if (Now->InterCharSize() != Before->InterCharSize()) Target->SetInterCharSize(Now->InterCharSize());
  if (Now->HasShadow() || Before->HasShadow()) {
    const TLumShadow* a = Now->Shadow();
    const TLumShadow* b = Before->Shadow();
    if (a->Visible() != b->Visible()) Target->Shadow()->SetVisible(a->Visible());
    if (a->Color() != b->Color()) Target->Shadow()->SetColor(a->Color());
    if (a->Transparency() != b->Transparency()) Target->Shadow()->SetTransparency(a->Transparency());
    if (a->Smooth() != b->Smooth()) Target->Shadow()->SetSmooth(a->Smooth());
    if (a->HorizSize() != b->HorizSize()) Target->Shadow()->SetHorizSize(a->HorizSize());
    if (a->VertSize() != b->VertSize()) Target->Shadow()->SetVertSize(a->VertSize());
  }
  if ((Now->HasGradient() || Before->HasGradient()) && Now->Gradient()->Visible() != Before->Gradient()->Visible())
    Target->Gradient()->SetVisible(Now->Gradient()->Visible());
}

TObject* LineTag(size_t Index) { return reinterpret_cast<TObject*>(std::intptr_t(Index + 1)); }

}  // namespace

TLumFont* FindFontProperty(TPersistent* Instance, const TPersistent* Except) {
  std::set<const TObject*> seen;
  return FindFont(Instance, Except, seen);
}

TFormLumGeneral::TFormLumGeneral(TComponent* AOwner, TCustomChart* AChart)
    : TChartObjectPage(AOwner, "FormLumGeneral", 440, 292) {
  PageControl1 = ClientPages(this, this, "PageControl1", 0, 0, 440, 292, true);
  TabZoom = Sheet(this, PageControl1, "TabZoom", "Zoom");
  TabScroll = Sheet(this, PageControl1, "TabScroll", "Scroll");
  TabCursor = Sheet(this, PageControl1, "TabCursor", "Cursor");
  TabFonts = Sheet(this, PageControl1, "TabFonts", "Fonts");
  PageControl1->SetActivePage(TabZoom);

  // Zoom: what zooming does on the left, how the mouse starts it on the right.
  CBAllowZoom = PlaceControl<TCheckBox>(this, TabZoom, "CBAllowZoom", 8, 8, 120, 17, "&Allow");
  CBAnimatedZoom = PlaceControl<TCheckBox>(this, TabZoom, "CBAnimatedZoom", 24, 30, 110, 17, "An&imated");
  const auto steps = EditWithUpDown(this, TabZoom, "LSteps", "&Steps:", "SEAniZoomSteps", "UDAniZoomSteps", 40, 96,
                                    52, 42, 1, 100);
  LSteps = steps.Label, SEAniZoomSteps = steps.Edit, UDAniZoomSteps = steps.UpDown;
  UDAniZoomSteps->SetPosition(8);
  BZoomPen = PlaceControl<TButtonPen>(this, TabZoom, "BZoomPen", 8, 86, 100, 25, "P&en...");
  BZoomColor = PlaceControl<TButton>(this, TabZoom, "BZoomColor", 8, 116, 100, 25, "P&attern...");
  const auto pix = EditWithUpDown(this, TabZoom, "LMinPix", "&Minimum pixels:", "EMinPix", "UDMinPix", 8, 104, 152,
                                  42, 1, 1000);
  LMinPix = pix.Label, EMinPix = pix.Edit, UDMinPix = pix.UpDown;
  UDMinPix->SetPosition(16);
  CBDir = DropDownList(this, TabZoom, "CBDir", 292, 8, 100, {"Horizontal", "Vertical", "Both"});
  LDir = PlaceLabel(this, TabZoom, "LDir", 196, 12, "&Direction:", CBDir);
  CBZoomMouse = DropDownList(this, TabZoom, "CBZoomMouse", 292, 36, 100, {"Left", "Right", "Middle"});
  LZoomMouse = PlaceLabel(this, TabZoom, "LZoomMouse", 196, 40, "M&ouse Button:", CBZoomMouse);
  CBUpLeft = PlaceControl<TCheckBox>(this, TabZoom, "CBUpLeft", 196, 72, 200, 17, "Zoom on &Up Left drag");
  CBHistory = PlaceControl<TCheckBox>(this, TabZoom, "CBHistory", 196, 96, 200, 17, "&Historical unzoom");
  CBZoomAspect = PlaceControl<TCheckBox>(this, TabZoom, "CBZoomAspect", 196, 120, 200, 17, "&Keep aspect ratio");

  RGPanning = PlaceControl<TRadioGroup>(this, TabScroll, "RGPanning", 8, 8, 150, 112, "Allow Scroll:");
  for (const char* i : {"&None", "&Horizontal", "&Vertical", "&Both"}) RGPanning->Items()->Add(i);
  CBScrollMouse = DropDownList(this, TabScroll, "CBScrollMouse", 176, 32, 100, {"Left", "Right", "Middle"});
  LScrollMouse = PlaceLabel(this, TabScroll, "LScrollMouse", 176, 12, "&Mouse Button:", CBScrollMouse);
  CBInsideBounds = PlaceControl<TCheckBox>(this, TabScroll, "CBInsideBounds", 176, 68, 130, 17, "&Inside Bounds");

  CursorEditor = new TMouseCursorEdit(this);
  CursorEditor->BOK->SetVisible(false);
  CursorEditor->SetTheComponent(AChart);
  if (AChart) CursorEditor->SetTheCursor(AChart->Cursor());
  EmbedEditorForm(CursorEditor, TabCursor);

  CBAllFonts = PlaceControl<TCheckBox>(this, TabFonts, "CBAllFonts", 4, 4, 138, 17, "&All Fonts");
  LBFonts = PlaceControl<TListBox>(this, TabFonts, "LBFonts", 4, 24, 138, 170);
  LBFonts->SetSorted(true);
  LBFonts->SetMultiSelect(true);
  LBFonts->SetExtendedSelect(true);
  const TZoomTextRow text = PlaceZoomTextRow(this, TabFonts, 4, 202);
  LZoomText = text.Label, CBZoomText = text.Combo, ETextSize = text.Edit, UDTextSize = text.UpDown;
  LTextPercent = text.Percent;
  PanelFont = PlainPanel(this, TabFonts, "PanelFont", alRight, 148, 0, 284, 264);

  OnShow = HANDLER(FormShow);
  OnHide = HANDLER(FormHide);
  PageControl1->OnChange = HANDLER(PageControl1Change);
  CBAllowZoom->OnClick = HANDLER(CBAllowZoomClick);
  CBAnimatedZoom->OnClick = HANDLER(CBAnimatedZoomClick);
  SEAniZoomSteps->OnChange = HANDLER(SEAniZoomStepsChange);
  BZoomPen->OnClick = [this](TObject*) { Changed(); };
  BZoomColor->OnClick = HANDLER(BZoomColorClick);
  EMinPix->OnChange = HANDLER(EMinPixChange);
  CBDir->OnChange = HANDLER(CBDirChange);
  CBZoomMouse->OnChange = HANDLER(CBZoomMouseChange);
  CBUpLeft->OnClick = HANDLER(CBUpLeftClick);
  CBHistory->OnClick = HANDLER(CBHistoryClick);
  CBZoomAspect->OnClick = HANDLER(CBZoomAspectClick);
  RGPanning->OnClick = HANDLER(RGPanningClick);
  CBScrollMouse->OnChange = HANDLER(CBScrollMouseChange);
  CBInsideBounds->OnClick = HANDLER(CBInsideBoundsClick);
  CursorEditor->OnChange = HANDLER(CursorChanged);
  CBAllFonts->OnClick = HANDLER(CBAllFontsClick);
  LBFonts->OnClick = HANDLER(LBFontsClick);
  LBFonts->OnKeyDown = HANDLER(LBFontsKeyDown);
  CBZoomText->OnChange = HANDLER(CBZoomTextChange);
  ETextSize->OnChange = HANDLER(ETextSizeChange);

  WatchChart(AChart);
}

TFormLumGeneral::~TFormLumGeneral() {
  loading_ = true;
  ReleaseFont();
  fontEditor_.reset();
}

TCustomChart* TFormLumGeneral::Chart() const { return static_cast<TCustomChart*>(WatchedChart()); }

void TFormLumGeneral::Changed() {
  if (TCustomChart* c = Chart()) c->Invalidate();
}

void TFormLumGeneral::ChartFreed() {
  // Every font listed went with the chart: none is written to again.
  edited_ = nullptr;
  copy_.reset();
  savedHandler_.Clear();
  fontEditor_.reset();
  lines_.clear();
  LBFonts->Clear();
  CursorEditor->SetTheComponent(nullptr);
}

void TFormLumGeneral::Notification(TComponent* AComponent, TOperation Operation) {
  TChartObjectPage::Notification(AComponent, Operation);
  // A listed series or tool freed (only its address is left to compare): its lines
  // go, and with them its font if it was edited. While the chart itself goes, its
  // parts are going too: its own notice follows.
  TCustomAxisPanel* c = WatchedChart();
  if (Operation == opRemove && !loading_ && c && !c->Destroying() && AComponent != c && watched_.erase(AComponent))
    DropDeadLines();
}

void TFormLumGeneral::LumEvent(const TLumEvent& Event) {
  if (dynamic_cast<const TLumAxisEvent*>(&Event) && !loading_ && Chart()) DropDeadLines();
}

// ---- Showing ------------------------------------------------------------------
void TFormLumGeneral::FormShow(TObject*) {
  TCustomChart* c = Chart();
  if (!c) return;
  loading_ = true;
  TChartZoom* z = c->Zoom();
  RGPanning->SetItemIndex(int(c->AllowPanning()));
  CBInsideBounds->SetChecked(c->Panning()->InsideBounds());
  CBAllowZoom->SetChecked(z->Allow());
  CBAnimatedZoom->SetChecked(z->Animated());
  UDAniZoomSteps->SetPosition(z->AnimatedSteps());
  UDMinPix->SetPosition(z->MinimumPixels());
  CBDir->SetItemIndex(int(z->Direction()));
  CBZoomMouse->SetItemIndex(int(z->MouseButton()));
  CBUpLeft->SetChecked(z->UpLeftZooms());
  CBHistory->SetChecked(z->History());
  CBZoomAspect->SetChecked(z->KeepAspectRatio());
  LinkButtonTo(BZoomPen, z->Pen());
  CBScrollMouse->SetItemIndex(int(c->ScrollMouseButton()));
  CBScrollMouse->SetEnabled(c->AllowPanning() != pmNone);
  LoadZoomText({LZoomText, CBZoomText, ETextSize, UDTextSize, LTextPercent}, c->View3DOptions());
  EnableZoom();
  CursorEditor->SetTheComponent(c);
  CursorEditor->SetTheCursor(c->Cursor());
  CursorEditor->FormShow(CursorEditor);
  loading_ = false;
  if (PageControl1->ActivePage() == TabFonts) PageControl1Change(PageControl1);
  TranslateControl(this);
}

void TFormLumGeneral::FormHide(TObject*) { ReleaseFont(); }

void TFormLumGeneral::EnableZoom() {
  const bool on = CBAllowZoom->Checked();
  for (TControl* c : std::initializer_list<TControl*>{CBAnimatedZoom, LSteps, SEAniZoomSteps, UDAniZoomSteps, LMinPix,
                                                      EMinPix, UDMinPix, BZoomPen, BZoomColor, LDir, CBDir,
                                                      LZoomMouse, CBZoomMouse, CBUpLeft})
    c->SetEnabled(on);
}

void TFormLumGeneral::PageControl1Change(TObject*) {
  if (PageControl1->ActivePage() != TabFonts || !Chart()) return;
  FillFonts();
  CBAllFonts->SetChecked(false);  // its handler puts the Title line back alone
  SelectTitle();
}

// ---- Zoom and scroll ------------------------------------------------------------
void TFormLumGeneral::CBAllowZoomClick(TObject*) {
  EnableZoom();
  if (!Editing()) return;
  Chart()->Zoom()->SetAllow(CBAllowZoom->Checked());
  Changed();
}

void TFormLumGeneral::CBAnimatedZoomClick(TObject*) {
  if (!Editing()) return;
  Chart()->Zoom()->SetAnimated(CBAnimatedZoom->Checked());
  Changed();
}

void TFormLumGeneral::SEAniZoomStepsChange(TObject*) {
  if (!Editing()) return;
  Chart()->Zoom()->SetAnimatedSteps(UDAniZoomSteps->Position());
  Changed();
}

void TFormLumGeneral::BZoomColorClick(TObject*) {
  if (Chart() && EditBrush(BZoomColor, Chart()->Zoom()->Brush()) && Chart()) Changed();
}

void TFormLumGeneral::EMinPixChange(TObject*) {
  if (!Editing()) return;
  Chart()->Zoom()->SetMinimumPixels(UDMinPix->Position());
  Changed();
}

void TFormLumGeneral::CBDirChange(TObject*) {
  if (!Editing() || CBDir->ItemIndex() < 0) return;
  Chart()->Zoom()->SetDirection(TZoomDirection(CBDir->ItemIndex()));
  Changed();
}

void TFormLumGeneral::CBZoomMouseChange(TObject*) {
  if (!Editing() || CBZoomMouse->ItemIndex() < 0) return;
  Chart()->Zoom()->SetMouseButton(TMouseButton(CBZoomMouse->ItemIndex()));
  Changed();
}

void TFormLumGeneral::CBUpLeftClick(TObject*) {
  if (!Editing()) return;
  Chart()->Zoom()->SetUpLeftZooms(CBUpLeft->Checked());
  Changed();
}

void TFormLumGeneral::CBHistoryClick(TObject*) {
  if (!Editing()) return;
  Chart()->Zoom()->SetHistory(CBHistory->Checked());
  Changed();
}

void TFormLumGeneral::CBZoomAspectClick(TObject*) {
  if (!Editing()) return;
  Chart()->Zoom()->SetKeepAspectRatio(CBZoomAspect->Checked());
  Changed();
}

void TFormLumGeneral::RGPanningClick(TObject*) {
  const int i = RGPanning->ItemIndex();
  CBScrollMouse->SetEnabled(i > 0);
  if (!Editing() || i < 0) return;
  Chart()->SetAllowPanning(TPanningMode(i));
  Changed();
}

void TFormLumGeneral::CBScrollMouseChange(TObject*) {
  if (!Editing() || CBScrollMouse->ItemIndex() < 0) return;
  Chart()->SetScrollMouseButton(TMouseButton(CBScrollMouse->ItemIndex()));
  Changed();
}

void TFormLumGeneral::CBInsideBoundsClick(TObject*) {
  if (!Editing()) return;
  Chart()->Panning()->SetInsideBounds(CBInsideBounds->Checked());
  Changed();
}

void TFormLumGeneral::CursorChanged(TObject*) {
  if (!Editing()) return;
  // The chart's own cursor: the one tools give back too.
  Chart()->SetCursor(CursorEditor->TheCursor());
  Chart()->SetSavedCursor(CursorEditor->TheCursor());
  Changed();
}

void TFormLumGeneral::CBZoomTextChange(TObject*) {
  if (Editing()) ApplyZoomTextChoice({LZoomText, CBZoomText, ETextSize, UDTextSize, LTextPercent}, Chart()->View3DOptions());
}

void TFormLumGeneral::ETextSizeChange(TObject*) {
  if (Editing()) ApplyZoomTextSize({LZoomText, CBZoomText, ETextSize, UDTextSize, LTextPercent}, Chart()->View3DOptions());
}

// ---- Fonts --------------------------------------------------------------------
void TFormLumGeneral::FillFonts() {
  TCustomChart* c = Chart();
  ReleaseFont();
  lines_.clear();
  LBFonts->Clear();
  if (!c) return;
  auto add = [this](TFontKind Kind, const void* Owner, const std::string& Text) {
    lines_.push_back({Kind, Owner});
    LBFonts->Items()->AddObject(Text, LineTag(lines_.size() - 1));
  };
  add(fkLegend, nullptr, "Legend");
  add(fkLegendTitle, nullptr, "Legend title");
  add(fkTitle, nullptr, "Title");
  add(fkFoot, nullptr, "Footer");
  add(fkSubTitle, nullptr, "SubTitle");
  add(fkSubFoot, nullptr, "SubFooter");
  watched_.clear();
  for (TChartSeries* s : c->SeriesList()) {
    FreeNotification(s);
    watched_.insert(s);
    const std::string name = s->NameOrDefault();
    if (FindFontProperty(s, s->Marks())) add(fkSeries, s, name);
    add(fkMarks, s, name + " (marks)");
  }
  for (TLumCustomTool* t : *c->Tools()) {
    FreeNotification(t);
    watched_.insert(t);
    if (FindFontProperty(t)) add(fkTool, t, t->Name().empty() ? t->Description() : t->Name());
  }
  const std::pair<TChartAxis*, const char*> standard[] = {
      {c->LeftAxis(), "Left axis"}, {c->RightAxis(), "Right axis"}, {c->TopAxis(), "Top axis"},
      {c->BottomAxis(), "Bottom axis"}, {c->DepthTopAxis(), "Depth Top axis"}, {c->DepthAxis(), "Depth axis"}};
  auto addAxis = [&](TChartAxis* A, const std::string& Name) {
    add(fkAxis, A, Name);
    add(fkAxisTitle, A, Name + " (Axis Title)");
  };
  for (const auto& [axis, name] : standard) addAxis(axis, name);
  for (int i = 0; i < c->CustomAxes()->Count(); ++i) addAxis(c->CustomAxes()->Items(i), "Custom axis " + IntToStr(i));
}

TLumFont* TFormLumGeneral::Resolve(const TFontLine& Line) const {
  TCustomChart* c = Chart();
  if (!c) return nullptr;
  switch (Line.Kind) {
    case fkLegend: return c->Legend()->Font();
    case fkLegendTitle: return c->Legend()->Title()->Font();
    case fkTitle: return c->Title()->Font();
    case fkFoot: return c->Foot()->Font();
    case fkSubTitle: return c->SubTitle()->Font();
    case fkSubFoot: return c->SubFoot()->Font();
    case fkSeries:
    case fkMarks:
      for (TChartSeries* s : c->SeriesList())
        if (s == Line.Owner) return Line.Kind == fkMarks ? s->Marks()->Font() : FindFontProperty(s, s->Marks());
      return nullptr;
    case fkTool:
      for (TLumCustomTool* t : *c->Tools())
        if (t == Line.Owner) return FindFontProperty(t);
      return nullptr;
    case fkAxis:
    case fkAxisTitle:
      for (int i = 0; i < c->Axes()->Count(); ++i)
        if (TChartAxis* a = c->Axes()->GetAxis(i); a == Line.Owner)
          return Line.Kind == fkAxis ? a->LabelsFont() : a->Title()->Font();
      return nullptr;
  }
  return nullptr;
}

int TFormLumGeneral::LineOf(int Index) const {
  if (Index < 0 || Index >= LBFonts->Count()) return -1;
  const auto i = std::intptr_t(LBFonts->Items()->Objects(Index)) - 1;
  return i >= 0 && size_t(i) < lines_.size() ? int(i) : -1;
}

TLumFont* TFormLumGeneral::LineFont(int Index) const {
  const int line = LineOf(Index);
  return line < 0 ? nullptr : Resolve(lines_[size_t(line)]);
}

void TFormLumGeneral::SelectTitle() {
  LBFonts->ClearSelection();
  for (int i = 0; i < LBFonts->Count(); ++i) {
    const int line = LineOf(i);
    if (line >= 0 && lines_[size_t(line)].Kind == fkTitle) {
      LBFonts->SetItemIndex(i);
      LBFonts->SetSelected(i, true);
      LBFontsClick(LBFonts);
      return;
    }
  }
}

void TFormLumGeneral::SelectAllFonts() {
  LBFonts->SelectAll();
  if (!edited_) LBFontsClick(LBFonts);
}

void TFormLumGeneral::CBAllFontsClick(TObject*) {
  if (loading_ || !Chart()) return;
  if (CBAllFonts->Checked()) SelectAllFonts();
  else SelectTitle();
}

void TFormLumGeneral::LBFontsKeyDown(TObject*, std::uint16_t& Key, TShiftState Shift) {
  if ((Key == 'A' || Key == 'a') && (Shift & ssCtrl)) {
    SelectAllFonts();
    Key = 0;
  }
}

void TFormLumGeneral::ReleaseFont() {
  // Given back only to a font that is still there: the line names a live element.
  if (edited_ && Resolve(editedLine_) == edited_) edited_->OnChange = savedHandler_;
  edited_ = nullptr;
  savedHandler_.Clear();
  copy_.reset();
}

void TFormLumGeneral::LBFontsClick(TObject*) {
  if (!Chart()) return;
  ReleaseFont();
  const int line = LineOf(LBFonts->ItemIndex());
  TLumFont* font = line < 0 ? nullptr : Resolve(lines_[size_t(line)]);
  if (!font) return;
  editedLine_ = lines_[size_t(line)];
  edited_ = font;
  copy_ = std::make_unique<TLumFont>();
  copy_->Assign(font);
  if (!fontEditor_) fontEditor_.reset(EmbedFontEditor(PanelFont));
  fontEditor_->LoadFont(font);
  savedHandler_ = font->OnChange;
  font->OnChange = TNotifyEvent([this](TObject* Sender) { FontChanged(Sender); });
}

void TFormLumGeneral::FontChanged(TObject* Sender) {
  // The element the font belongs to hears of it first, as without the page.
  const TNotifyEvent own = savedHandler_;
  if (own) own(Sender);
  if (!edited_ || !copy_) return;
  for (int i = 0; i < LBFonts->Count(); ++i) {
    if (!LBFonts->Selected(i)) continue;
    TLumFont* f = LineFont(i);
    if (f && f != edited_) CopyChanges(edited_, copy_.get(), f);
  }
  copy_->Assign(edited_);
}

void TFormLumGeneral::DropDeadLines() {
  if (edited_ && Resolve(editedLine_) != edited_) {
    // Its element went and the font with it: nothing is written back.
    edited_ = nullptr;
    savedHandler_.Clear();
    copy_.reset();
    fontEditor_.reset();
  }
  for (int i = LBFonts->Count() - 1; i >= 0; --i) {
    const int line = LineOf(i);
    if (line < 0 || !Resolve(lines_[size_t(line)])) LBFonts->Items()->Delete(i);
  }
}
