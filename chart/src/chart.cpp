#include "chart/chart.h"

#include <algorithm>

#include "canvas/lumcanvas.h"
#include "chart/palettes.h"
#include "engine/groups.h"
#include "engine/settings.h"

IMPLEMENT_CLASS_PROPS(TChartTitle, TLumCustomShapePosition)
IMPLEMENT_CLASS_PROPS(TCustomChart, TCustomAxisPanel)
IMPLEMENT_CLASS(TChart, TCustomChart)
IMPLEMENT_CLASS(TChartAnimations, TChartTools)

namespace {
// Pixels between a title's text and its box.
constexpr int TitlePadding = 2;
}  // namespace

// ---------------------------------------------------------------------------
TChartTitle::TChartTitle(TCustomAxisPanel* AChart, bool AIsFoot)
    : TLumCustomShapePosition(AChart), isFoot_(AIsFoot), text_(std::make_unique<TStringList>()) {
  text_->OnChange = TNotifyEvent(this, &TChartTitle::TextChanged);
  SetTransparent(true);
  Font()->SetColor(AIsFoot ? clMaroon : clNavy);
  RecordDefaults(Font());
}

TChartTitle::~TChartTitle() { text_->OnChange.Clear(); }

void TChartTitle::TextChanged(TObject*) { Repaint(); }

void TChartTitle::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Repaint();
}

void TChartTitle::SetAdjustFrame(bool Value) {
  if (adjustFrame_ == Value) return;
  adjustFrame_ = Value;
  Repaint();
}

void TChartTitle::SetVertMargin(int Value) {
  if (vertMargin_ == Value) return;
  vertMargin_ = Value;
  Repaint();
}

int TChartTitle::LineHeight() const {
  TCanvas3D* c = ParentChart() ? ParentChart()->Canvas() : nullptr;
  if (!c) return 0;
  c->AssignFont(Font());
  return c->TextHeight("W");
}

void TChartTitle::CalcRect(TRect& Rect) {
  placed_ = false;
  TCanvas3D* c = ParentChart() ? ParentChart()->Canvas() : nullptr;
  if (!Visible() || text_->Count() == 0 || !c) return;
  const int height = text_->Count() * LineHeight() + 2 * TitlePadding;
  int width = Rect.Width();
  if (adjustFrame_ || CustomPosition()) {
    int widest = 0;
    for (int i = 0; i < text_->Count(); ++i) widest = std::max(widest, c->TextWidth(text_->Get(i)));
    width = CustomPosition() ? widest + 2 * TitlePadding : std::min(width, widest + 2 * TitlePadding);
  }
  int left = Rect.Left;
  if (alignment_ == taCenter) left += (Rect.Width() - width) / 2;
  else if (alignment_ == taRightJustify) left = Rect.Right - width;
  TRect box;
  if (CustomPosition()) {
    box = {Left(), Top(), Left() + width, Top() + height};
  } else if (isFoot_) {
    box = {left, Rect.Bottom - height, left + width, Rect.Bottom};
    Rect.Bottom = box.Top - vertMargin_;
  } else {
    box = {left, Rect.Top, left + width, Rect.Top + height};
    Rect.Top = box.Bottom + vertMargin_;
  }
  SetShapeBounds(box);
  placed_ = true;
}

void TChartTitle::DrawTitle() {
  TCanvas3D* c = ParentChart() ? ParentChart()->Canvas() : nullptr;
  if (!placed_ || !Visible() || !c) return;
  const TRect box = ShapeBounds();
  DrawRectRotated(c, box);
  const int lineHeight = LineHeight();  // selects the font as well
  c->SetBackMode(cbmTransparent);
  c->SetTextAlign(TA_LEFT | TA_TOP);
  int y = box.Top + TitlePadding;
  for (int i = 0; i < text_->Count(); ++i, y += lineHeight) {
    const std::string line = text_->Get(i);
    const int w = c->TextWidth(line);
    int x = box.Left + TitlePadding;
    if (alignment_ == taCenter) x = box.Left + (box.Width() - w) / 2;
    else if (alignment_ == taRightJustify) x = box.Right - TitlePadding - w;
    c->TextOut(x, y, line);
  }
}

void TChartTitle::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TChartTitle*>(Source)) {
    alignment_ = src->alignment_;
    adjustFrame_ = src->adjustFrame_;
    vertMargin_ = src->vertMargin_;
    text_->Assign(src->text_.get());
  }
  TLumCustomShapePosition::Assign(Source);
}

void TChartTitle::DefineProperties(TPropertyTable& t) {
  t.Bool("AdjustFrame", &TChartTitle::AdjustFrame, &TChartTitle::SetAdjustFrame).Default(true);
  t.Enum("Alignment", &TChartTitle::Alignment, &TChartTitle::SetAlignment,
         {"taLeftJustify", "taRightJustify", "taCenter"}).Default((long long)taCenter);
  t.Object("Text", &TChartTitle::Text);
  t.Bool("Transparent", &TChartTitle::Transparent, &TChartTitle::SetTransparent).Default(true);
  t.Int("VertMargin", &TChartTitle::VertMargin, &TChartTitle::SetVertMargin).Default(0LL);
}

// ---------------------------------------------------------------------------
TCustomChart::TCustomChart(TComponent* AOwner)
    : TCustomAxisPanel(AOwner),
      paletteIndex_(ReadEditorIntegerSetting("DefaultPalette", DefaultPaletteIndex)),
      title_(std::make_unique<TChartTitle>(this, false)),
      subTitle_(std::make_unique<TChartTitle>(this, false)),
      foot_(std::make_unique<TChartTitle>(this, true)),
      subFoot_(std::make_unique<TChartTitle>(this, true)),
      legend_(std::make_unique<TChartLegend>(this)),
      walls_(std::make_unique<TChartWalls>(this)),
      pages_(std::make_unique<TChartPage>(this)),
      animations_(std::make_unique<TChartAnimations>(this)) {}

TCustomChart::~TCustomChart() { animations_->Clear(); }

void TCustomChart::SetColorPaletteIndex(int Value) {
  if (paletteIndex_ == Value) return;
  paletteIndex_ = Value;
  for (int i = 0; i < SeriesCount(); ++i) GetSeries(i)->SetSeriesColor(GetDefaultColor(i));
  Invalidate();
}

TColor TCustomChart::GetDefaultColor(int Index) const { return PaletteColor(paletteIndex_, Index); }

void TCustomChart::SetChart3DPercent(int Value) { SetIntegerProperty(chart3DPercent_, std::max(1, Value)); }

void TCustomChart::SetView3DWalls(bool Value) {
  if (view3DWalls_ == Value) return;
  view3DWalls_ = Value;
  Invalidate();
}

namespace {
// Titles and the legend lie on the screen, not in the chart's space: a rotated or
// tilted view must not project their boxes.
class TFlatCanvas {
public:
  explicit TFlatCanvas(TCanvas3D* C) : c_(C), was3D_(C && C->Is3D()) {
    if (c_) c_->SetIs3D(false);
  }
  ~TFlatCanvas() {
    if (c_) c_->SetIs3D(was3D_);
  }
  TFlatCanvas(const TFlatCanvas&) = delete;
  TFlatCanvas& operator=(const TFlatCanvas&) = delete;

private:
  TCanvas3D* c_;
  bool was3D_;
};
}  // namespace

void TCustomChart::DrawTitlesAndLegend(bool BeforeSeries) {
  TFlatCanvas flat(Canvas());
  if (BeforeSeries) {
    TRect r = ChartRect();
    title_->CalcRect(r);
    subTitle_->CalcRect(r);
    subFoot_->CalcRect(r);
    foot_->CalcRect(r);
    legend_->Place(r);
    SetChartRect(r);
    RecalcWidthHeight();
    if (legend_->DrawsBeforeSeries()) legend_->Draw();
    return;
  }
  for (TChartTitle* t : {title_.get(), subTitle_.get(), foot_.get(), subFoot_.get()}) t->DrawTitle();
  if (!legend_->DrawsBeforeSeries()) legend_->Draw();
}

void TCustomChart::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && legend_->MouseDown(X, Y)) return;
  TCustomAxisPanel::MouseDown(Button, Shift, X, Y);
}

void TCustomChart::DrawWalls() {
  if (!View3D()) BackWall()->DrawWall(ChartRect());
  else if (view3DWalls_) walls_->Draw3D(ChartRect(), Width3D());
}

TCustomAxisPanel::TWallReach TCustomChart::WallReach() const {
  if (!View3D() || !view3DWalls_) return {};
  // A see-through wall is drawn as its outline on the plane, without its slab.
  auto slab = [](const TChartWall* W) { return W->Visible() && !W->Transparent() ? std::max(0, W->Size()) : 0; };
  return {slab(LeftWall()), slab(RightWall()), slab(BottomWall()), slab(BackWall())};
}

void TCustomChart::DefineProperties(TPropertyTable& t) {
  t.Object("Animations", &TCustomChart::Animations);
  t.Object("BackWall", &TCustomChart::BackWall);
  t.Object("BottomWall", &TCustomChart::BottomWall);
  t.Int("ColorPaletteIndex", &TCustomChart::ColorPaletteIndex, &TCustomChart::SetColorPaletteIndex)
      .Default((long long)DefaultPaletteIndex);
  t.Object("Foot", &TCustomChart::Foot);
  t.Object("LeftWall", &TCustomChart::LeftWall);
  t.Object("Legend", &TCustomChart::Legend);
  t.Object("Pages", &TCustomChart::Pages);
  t.Object("RightWall", &TCustomChart::RightWall);
  t.Object("SubFoot", &TCustomChart::SubFoot);
  t.Object("SubTitle", &TCustomChart::SubTitle);
  t.Object("Title", &TCustomChart::Title);
  t.Bool("View3DWalls", &TCustomChart::View3DWalls, &TCustomChart::SetView3DWalls).Default(true);
  t.Int("Chart3DPercent", &TCustomChart::Chart3DPercent, &TCustomChart::SetChart3DPercent).Default(15LL);
  t.Object("CustomAxes", &TCustomChart::CustomAxes);
  // Written only when the chart has groups, so a chart without any streams as before.
  t.Object("SeriesGroups", &TCustomChart::SeriesGroups).Stored([](const TObject* o) {
    return static_cast<const TCustomChart*>(o)->SeriesGroups()->Count() > 0;
  });
  t.Object("Tools", &TCustomChart::Tools);
}
