// The library's symbol buttons on a small form, for snapshot --buttons.
#include "canvas/attributes.h"
#include "canvas/buttons.h"
#include "platform/controls.h"
#include "platform/stdctrls.h"

TForm* BuildButtonsForm() {
  auto* f = new TForm(Application);
  f->SetCaption("Buttons");
  f->SetBounds(0, 0, 260, 130);
  auto* pen = new TChartPen();  // freed with the program; it must outlive the link
  pen->SetColor(clRed);
  auto* colour = new TButtonColor(f);
  colour->SetBounds(12, 12, 110, 25);
  colour->SetCaption("&Color...");
  colour->SetParent(f);
  colour->LinkProperty(pen, "Color");
  auto* frame = new TButtonColor(f);
  frame->SetBounds(132, 12, 110, 25);
  frame->SetCaption("&Frame...");
  frame->SetParent(f);
  frame->LinkProperty(f, "Color");  // the form's own colour: the system button face
  auto* plain = new TLumButton(f);
  plain->SetBounds(12, 48, 110, 25);
  plain->SetCaption("&Border...");
  plain->SetParent(f);
  auto* off = new TButtonColor(f);
  off->SetBounds(132, 48, 110, 25);
  off->SetCaption("&Back...");
  off->SetParent(f);
  off->LinkProperty(pen, "Color");
  off->SetEnabled(false);
  auto* none = new TButtonColor(f);
  none->SetBounds(12, 84, 110, 25);
  none->SetCaption("&None");
  none->SetParent(f);
  return f;
}

// A colour button on another demonstration form (the lists form's pen colour).
void AddColorButton(TForm* Form, int Left, int Top) {
  auto* pen = new TChartPen();  // freed with the program; it must outlive the link
  pen->SetColor(clTeal);
  auto* colour = new TButtonColor(Form);
  colour->SetBounds(Left, Top, 140, 25);
  colour->SetCaption("&Pen color...");
  colour->SetParent(Form);
  colour->LinkProperty(pen, "Color");
}
