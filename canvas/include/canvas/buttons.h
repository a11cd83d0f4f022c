// The library's small buttons that show a sample of a linked property at their right
// edge (a colour swatch here; pens and gradients in the editor's toolkit).
#pragma once
#include <string>

#include "platform/controls.h"

class TLumButtonSymbol;

// A push button with a symbol box at its right edge, SymbolRect. The box is painted
// by DrawSymbol on its own canvas, whose (0, 0) is the box's top-left corner; a click
// on the box is a click on the button.
class TLumButton : public TButton {
  DECLARE_CLASS(TLumButton, TButton)
public:
  explicit TLumButton(TComponent* AOwner);
  ~TLumButton() override;

  // Links the button to Instance's published property PropName (any kind the
  // overriding class shows), or with "" to Instance itself, and repaints; nullptr
  // unlinks. A component
  // instance unlinks itself when it is freed; any other must outlive the link.
  // EPropertyError when Instance publishes no property of that name (the link stays).
  virtual void LinkProperty(TPersistent* Instance, const std::string& PropName);
  TPersistent* Instance() const { return instance_; }
  const std::string& PropName() const { return propName_; }

  // Width of the symbol box; 0 stands for 19.
  int SymbolWidth() const { return symbolWidth_; }
  void SetSymbolWidth(int Value);
  // The box in the button's coordinates: SymbolWidth (or 19) wide, 6 pixels from the
  // right edge, 5 from the top and the bottom.
  TRect SymbolRect() const;
  // Paints the symbol again (after the linked value changed elsewhere).
  void RepaintSymbol();

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetEnabled(bool Value) override;

  static void DefineProperties(TPropertyTable& t);

protected:
  friend class TLumButtonSymbol;
  // Paints the symbol into the box (0, 0, SymbolRect width, height); the base paints
  // nothing.
  virtual void DrawSymbol(TCanvas* ACanvas);
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void PlaceSymbol();
  TLumButtonSymbol* symbol_ = nullptr;
  TPersistent* instance_ = nullptr;
  TComponent* component_ = nullptr;  // the instance when it is a component
  std::string propName_;
  int symbolWidth_ = 0;
};

// A button showing a swatch of the linked colour property ("Color" unless named;
// EPropertyError for a property that holds no colour).
// A click runs the colour dialog; when another colour is chosen it is written through
// the published-property table, the swatch repaints and then OnClick fires.
class TButtonColor : public TLumButton {
  DECLARE_CLASS(TButtonColor, TLumButton)
public:
  explicit TButtonColor(TComponent* AOwner);
  void LinkProperty(TPersistent* Instance, const std::string& PropName) override;
  // The linked colour; clNone when unlinked.
  TColor SymbolColor() const;
  void Click() override;

protected:
  void DrawSymbol(TCanvas* ACanvas) override;
};

// The colour dialog, modal, starting at AColor. True, with AColor changed, only when
// the user chose a colour different from the given one. Option is kept for callers
// that pass it; 0 is the only one.
bool EditColor(TComponent* AOwner, TColor& AColor, int Option = 0);
