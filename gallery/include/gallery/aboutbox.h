// The charting library's about box: name and version, a notice line, the web
// address (a click opens it) and an optional extra line, over a picture.
#pragma once
#include "platform/controls.h"
#include "platform/stdctrls.h"

extern const char* const LumVersionText;  // "LumChart Pro v2011.03.30407"
extern const char* const LumWebAddress;

class TLumAboutForm : public TForm {
  DECLARE_CLASS(TLumAboutForm, TForm)
public:
  explicit TLumAboutForm(TComponent* AOwner);

  TImage* Image1;
  TBevel* Bevel1;
  TLabel* LabelVersion;
  TLabel* LabelCopy;
  TLabel* Labelwww;
  TLabel* LabelExtra;
  TButton* BClose;

  void LabelwwwClick(TObject* Sender);
};

// A new box (no owner; the caller frees it); each non-empty text replaces the
// caption, the version or the extra line.
TLumAboutForm* CreateAboutForm(const std::string& Caption, const std::string& Version, const std::string& Extra);
// Shows CreateAboutForm's box modally and frees it.
void ShowAbout(const std::string& Caption, const std::string& Version, const std::string& Extra);

void LumAboutUnitInit();
void LumAboutUnitDone();
