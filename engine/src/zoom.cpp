#include "engine/zoom.h"

#include "platform/typinfo.h"

IMPLEMENT_CLASS_PROPS(TChartZoom, TPersistent)
IMPLEMENT_CLASS_PROPS(TZoomPanning, TPersistent)

TChartZoom::TChartZoom(TNotifyEvent OnChange)
    : pen_(std::make_unique<TChartPen>(OnChange)), brush_(std::make_unique<TChartBrush>(OnChange)) {
  brush_->SetStyle(bsClear);
  RecordDefaults(brush_.get());
}

TChartZoom::~TChartZoom() = default;

void TChartZoom::Assign(TPersistent* Source) {
  auto* z = dynamic_cast<TChartZoom*>(Source);
  if (!z) return TPersistent::Assign(Source);
  allow_ = z->allow_;
  animated_ = z->animated_;
  animatedSteps_ = z->animatedSteps_;
  direction_ = z->direction_;
  history_ = z->history_;
  keepAspectRatio_ = z->keepAspectRatio_;
  minimumPixels_ = z->minimumPixels_;
  mouseButton_ = z->mouseButton_;
  upLeftZooms_ = z->upLeftZooms_;
  pen_->Assign(z->pen_.get());
  brush_->Assign(z->brush_.get());
}

void TChartZoom::DefineProperties(TPropertyTable& t) {
  t.Bool("Allow", &TChartZoom::Allow, &TChartZoom::SetAllow).Default(true);
  t.Bool("Animated", &TChartZoom::Animated, &TChartZoom::SetAnimated).Default(false);
  t.Int("AnimatedSteps", &TChartZoom::AnimatedSteps, &TChartZoom::SetAnimatedSteps).Default(8LL);
  t.Object("Brush", &TChartZoom::Brush);
  t.Enum("Direction", &TChartZoom::Direction, &TChartZoom::SetDirection,
         {"tzdHorizontal", "tzdVertical", "tzdBoth"}).Default((long long)tzdBoth);
  t.Bool("History", &TChartZoom::History, &TChartZoom::SetHistory).Default(false);
  t.Bool("KeepAspectRatio", &TChartZoom::KeepAspectRatio, &TChartZoom::SetKeepAspectRatio).Default(false);
  t.Int("MinimumPixels", &TChartZoom::MinimumPixels, &TChartZoom::SetMinimumPixels).Default(16LL);
  t.Enum("MouseButton", &TChartZoom::MouseButton, &TChartZoom::SetMouseButton,
         {"mbLeft", "mbRight", "mbMiddle"}).Default((long long)mbLeft);
  t.Object("Pen", &TChartZoom::Pen);
  t.Bool("UpLeftZooms", &TChartZoom::UpLeftZooms, &TChartZoom::SetUpLeftZooms).Default(false);
}

void TZoomPanning::Assign(TPersistent* Source) {
  auto* p = dynamic_cast<TZoomPanning*>(Source);
  if (!p) return TPersistent::Assign(Source);
  insideBounds_ = p->insideBounds_;
}

void TZoomPanning::DefineProperties(TPropertyTable& t) {
  t.Bool("InsideBounds", &TZoomPanning::InsideBounds, &TZoomPanning::SetInsideBounds).Default(false);
}
