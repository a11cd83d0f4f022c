#include <algorithm>

#include "analysis/candle.h"
#include "canvas/lumcanvas.h"
#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TDarvasSeries, TCandleSeries)

TDarvasSeries::TDarvasSeries(TComponent* AOwner)
    : TCandleSeries(AOwner),
      boxBrush_(std::make_unique<TChartBrush>(ChangeHandler())),
      boxPen_(std::make_unique<TChartPen>(ChangeHandler())) {
  boxBrush_->SetBackColor(clLumColor);
  RecordDefaults(boxBrush_.get());
}

TDarvasSeries::~TDarvasSeries() = default;

std::vector<TDarvasBox> TDarvasSeries::CalcBoxes(const std::vector<double>& High, const std::vector<double>& Low) {
  std::vector<TDarvasBox> boxes;
  const int n = int(std::min(High.size(), Low.size()));
  if (n == 0) return boxes;
  double top = *std::min_element(High.begin(), High.begin() + n);
  double bottom = *std::max_element(Low.begin(), Low.begin() + n);
  int state = 0, i = 0, start = 0, topIndex = 0, bottomIndex = 0;
  // Every state but 0 and 6 moves i on while points remain, and 6 leads to 0 and 1:
  // a bounded number of steps per point. Index n is never read.
  for (;;) {
    if (state >= 1 && state <= 4 && i >= n) state = 5;
    if (state == 5 && i >= n) state = 6;
    switch (state) {
      case 0:
        start = i;
        state = 1;
        break;
      case 1:
        top = High[i];
        topIndex = bottomIndex = i;
        if (++i < n) state = High[i] >= top ? 1 : 2;
        break;
      case 2:
        if (++i < n) state = High[i] >= top ? 1 : 3;
        break;
      case 3:
        bottom = Low[i];
        bottomIndex = i;
        [[fallthrough]];
      case 4:
        if (++i < n) state = High[i] >= top ? 1 : Low[i] <= bottom ? 3 : (state == 3 ? 4 : 5);
        break;
      case 5:
        if (++i < n && (High[i] > top || Low[i] < bottom)) state = 6;
        break;
      default:  // 6
        boxes.push_back({start, topIndex, i < n ? i : i - 1, bottomIndex});
        if (i >= n) return boxes;
        state = 0;
        break;
    }
  }
}

void TDarvasSeries::DrawAllValues() {
  TCandleSeries::DrawAllValues();
  DrawBoxes();
}

void TDarvasSeries::DrawBoxes() {
  boxes_ = CalcBoxes(HighValues()->Values(), LowValues()->Values());
  rects_.clear();
  rects_.reserve(boxes_.size());
  for (const TDarvasBox& b : boxes_)
    rects_.push_back(TRect{CalcXPos(b.First), CalcYPosValue(HighValues()->GetValue(b.Top)), CalcXPos(b.Last),
                           CalcYPosValue(LowValues()->GetValue(b.Bottom))});
  TCanvas3D* c = ParentCanvas();
  if (!c || rects_.empty()) return;
  TColor fill = boxBrush_->BackColor();
  if (fill == clLumColor) fill = ParentChart()->GetDefaultColor(1);
  const int z = StartZ();
  const auto area = [&](const TRect& r) {
    return c->Is3D() ? c->ProjectedRectBounds(r, z) : TRect{r.Left, r.Top, r.Right + 1, r.Bottom + 1};
  };
  const auto drawBox = [&](const TRect& r) {
    c->ApplyPen(boxPen_.get());
    c->ApplyBrushColors(boxBrush_.get(), fill, boxBrush_->Color());
    if (c->Is3D())
      c->RectangleWithZ(r, z);
    else
      c->Rectangle(r);
  };
  if (transparency_ == 0) {
    for (const TRect& r : rects_) drawBox(r);
    return;
  }
  // Each box is blended back over what it covered; the blend ends (and frees its
  // capture) even when a box raises.
  struct TBlendGuard {
    TCanvas3D* Canvas;
    TLumBlend* Blend;
    ~TBlendGuard() { Canvas->EndBlending(Blend); }
  } guard{c, c->BeginBlending(area(rects_.front()), transparency_)};
  for (size_t k = 0; k < rects_.size(); ++k) {
    if (k > 0) {
      guard.Blend->DoBlend(transparency_);
      guard.Blend->SetRectangle(area(rects_[k]));
    }
    drawBox(rects_[k]);
  }
}

void TDarvasSeries::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TDarvasSeries*>(Source)) {
    boxBrush_->Assign(src->boxBrush_.get());
    boxPen_->Assign(src->boxPen_.get());
    transparency_ = src->transparency_;
  }
  TCandleSeries::Assign(Source);
}

void TDarvasSeries::DefineProperties(TPropertyTable& t) {
  t.Object("BoxBrush", &TDarvasSeries::BoxBrush);
  t.Object("BoxPen", &TDarvasSeries::BoxPen);
  t.Int("Transparency", &TDarvasSeries::Transparency, &TDarvasSeries::SetTransparency).Default(70LL);
}
