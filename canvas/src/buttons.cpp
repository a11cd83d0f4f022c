#include "canvas/buttons.h"

#include "platform/dialogs.h"
#include "platform/typinfo.h"

IMPLEMENT_CLASS_PROPS(TLumButton, TButton)
IMPLEMENT_CLASS(TButtonColor, TLumButton)

// The symbol box: a window-less child of the button painted by the button's DrawSymbol.
class TLumButtonSymbol : public TGraphicControl {
public:
  explicit TLumButtonSymbol(TLumButton* Button) : TGraphicControl(Button), button_(Button) {}
  void Click() override { button_->Click(); }

protected:
  void Paint() override { button_->DrawSymbol(Canvas()); }

private:
  TLumButton* button_;
};

TLumButton::TLumButton(TComponent* AOwner) : TButton(AOwner) {
  symbol_ = new TLumButtonSymbol(this);
  symbol_->SetParent(this);
  PlaceSymbol();
}

TLumButton::~TLumButton() {
  if (component_) component_->RemoveFreeNotification(this);
}

void TLumButton::DefineProperties(TPropertyTable& t) {
  t.Int("SymbolWidth", &TLumButton::SymbolWidth, &TLumButton::SetSymbolWidth).Default(0LL);
}

void TLumButton::LinkProperty(TPersistent* Instance, const std::string& PropName) {
  // A name the object does not publish is refused here, not at every paint.
  if (Instance && !PropName.empty() && !GetPropInfo(Instance->ClassType(), PropName))
    throw EPropertyError(Format("Unknown property: \"%s\"", PropName));
  // Only a component says when it goes; other objects must outlive the link.
  if (component_) component_->RemoveFreeNotification(this);
  instance_ = Instance;  // an empty name links the object itself (a pen, a gradient)
  propName_ = instance_ ? PropName : std::string();
  component_ = dynamic_cast<TComponent*>(instance_);
  if (component_) component_->FreeNotification(this);
  RepaintSymbol();
}

void TLumButton::Notification(TComponent* AComponent, TOperation Operation) {
  TButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == component_) {
    instance_ = nullptr;
    component_ = nullptr;
    propName_.clear();
    if (symbol_ && !HasState(csDestroying)) RepaintSymbol();
  }
}

void TLumButton::SetSymbolWidth(int Value) {
  if (Value == symbolWidth_) return;
  symbolWidth_ = Value;
  PlaceSymbol();
}

TRect TLumButton::SymbolRect() const {
  const int w = symbolWidth_ > 0 ? symbolWidth_ : 19;
  const int right = Width() - 6;
  return Rect(right - w, 5, right, Height() - 5);
}

void TLumButton::PlaceSymbol() {
  if (!symbol_) return;
  const TRect r = SymbolRect();
  symbol_->SetBounds(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
  symbol_->Invalidate();
}

void TLumButton::RepaintSymbol() {
  if (symbol_) symbol_->Invalidate();
}

void TLumButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TButton::SetBounds(ALeft, ATop, AWidth, AHeight);
  PlaceSymbol();
}

void TLumButton::SetEnabled(bool Value) {
  TButton::SetEnabled(Value);
  if (symbol_) {
    symbol_->SetEnabled(Value);
    symbol_->Invalidate();
  }
}

void TLumButton::DrawSymbol(TCanvas*) {}

// ---------------------------------------------------------------------------

TButtonColor::TButtonColor(TComponent* AOwner) : TLumButton(AOwner) {}

void TButtonColor::LinkProperty(TPersistent* Instance, const std::string& PropName) {
  const std::string name = PropName.empty() && Instance ? std::string("Color") : PropName;
  const TPropInfo* p = Instance ? GetPropInfo(Instance->ClassType(), name) : nullptr;
  if (p && p->Kind != TPropKind::Color && p->Kind != TPropKind::Integer)
    throw EPropertyError(Format("Property %s is not a colour", name));
  TLumButton::LinkProperty(Instance, name);
}

TColor TButtonColor::SymbolColor() const {
  if (!Instance()) return clNone;
  return TColor(GetOrdProp(Instance(), PropName()));
}

void TButtonColor::DrawSymbol(TCanvas* ACanvas) {
  const TRect box = Rect(0, 0, SymbolRect().Width(), SymbolRect().Height());
  if (box.Width() <= 0 || box.Height() <= 0) return;
  const TColor c = SymbolColor();
  // A disabled button shows its swatch framed in grey, as its caption is.
  ACanvas->Pen()->SetColor(Enabled() ? clBlack : clGrayText);
  ACanvas->Pen()->SetStyle(psSolid);
  ACanvas->Pen()->SetWidth(1);
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(c == clNone ? clBtnFace : c);
  ACanvas->Rectangle(box);
  if (c == clNone) {  // no colour: a crossed-out box
    ACanvas->MoveTo(box.Left, box.Top);
    ACanvas->LineTo(box.Right, box.Bottom);
  }
}

void TButtonColor::Click() {
  if (!Instance()) {
    TLumButton::Click();
    return;
  }
  TColor c = SymbolColor();
  if (!EditColor(this, c)) return;
  SetOrdProp(Instance(), PropName(), c);
  RepaintSymbol();
  TLumButton::Click();
}

bool EditColor(TComponent* AOwner, TColor& AColor, int) {
  TColorDialog dialog(AOwner);
  dialog.SetColor(AColor);
  if (!dialog.Execute() || dialog.Color() == AColor) return false;
  AColor = dialog.Color();
  return true;
}
