#include "engine/element.h"

#include "engine/panel.h"

IMPLEMENT_CLASS_PROPS(TCustomChartElement, TComponent)

TCustomChartElement::TCustomChartElement(TComponent* AOwner)
    : TComponent(AOwner),
      pen_(std::make_unique<TChartPen>(ChangeHandler())),
      brush_(std::make_unique<TChartBrush>(ChangeHandler())) {}

TCustomChartElement::~TCustomChartElement() = default;

TNotifyEvent TCustomChartElement::ChangeHandler() {
  return TNotifyEvent(this, &TCustomChartElement::CanvasChanged);
}

void TCustomChartElement::SetActive(bool Value) { SetBooleanProperty(active_, Value); }

void TCustomChartElement::SetParentChart(TCustomAxisPanel* Value) { parentChart_ = Value; }

void TCustomChartElement::Repaint() {
  if (parentChart_) parentChart_->Invalidate();
}

void TCustomChartElement::CanvasChanged(TObject*) { Repaint(); }

TChartPen* TCustomChartElement::CreateChartPen() { return new TChartPen(ChangeHandler()); }

bool TCustomChartElement::SetBooleanProperty(bool& Field, bool Value) { return SetProperty(Field, Value); }
bool TCustomChartElement::SetIntegerProperty(int& Field, int Value) { return SetProperty(Field, Value); }
bool TCustomChartElement::SetColorProperty(TColor& Field, TColor Value) { return SetProperty(Field, Value); }
bool TCustomChartElement::SetDoubleProperty(double& Field, double Value) { return SetProperty(Field, Value); }
bool TCustomChartElement::SetStringProperty(std::string& Field, const std::string& Value) {
  return SetProperty(Field, Value);
}

void TCustomChartElement::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TCustomChartElement*>(Source)) {
    active_ = src->active_;
    pen_->Assign(src->pen_.get());
    brush_->Assign(src->brush_.get());
    return;
  }
  TComponent::Assign(Source);
}

void TCustomChartElement::DefineProperties(TPropertyTable& t) {
  t.Bool("Active", &TCustomChartElement::Active, &TCustomChartElement::SetActive).Default(true);
  t.Object("Brush", &TCustomChartElement::Brush);
  t.Object("Pen", &TCustomChartElement::Pen);
}
