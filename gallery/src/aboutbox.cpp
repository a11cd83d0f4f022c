#include "gallery/aboutbox.h"

#include <cmath>
#include <memory>

#include "canvas/lumconst.h"
#include "formbuild.h"
#include "gallery/editortools.h"
#include "gallery/xmlwriter.h"

using namespace formbuild;

IMPLEMENT_CLASS(TLumAboutForm, TForm)

const char* const LumVersionText = "LumChart Pro v2011.03.30407";
const char* const LumWebAddress = "https://example.org/phonark/";

namespace {

// Our picture: the two branches of a diatomic chain's dispersion over a soft sky.
void DrawPicture(TBitmap* B, int W, int H) {
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  TCanvas* c = B->Canvas();
  for (int y = 0; y < H; ++y) {
    const int t = 255 - 40 * y / std::max(1, H - 1);
    c->Pen()->SetColor(TColor((255 << 16) | (t << 8) | t));
    c->MoveTo(0, y);
    c->LineTo(W, y);
  }
  c->Pen()->SetWidth(2);
  for (int branch = 0; branch < 2; ++branch) {
    c->Pen()->SetColor(branch ? TColor(0x90A8E8) : TColor(0xE0B890));
    for (int x = 0; x <= W; x += 2) {
      const double k = M_PI * x / W;
      const double s = std::sin(k / 2) * std::sin(k / 2);
      const double w = std::sqrt(1.5 + (branch ? 1 : -1) * std::sqrt(2.25 - 2 * s));
      const int y = H - 56 - int(w * 40 / std::sqrt(3.0));  // between the notice and the link
      if (x == 0) c->MoveTo(x, y);
      else c->LineTo(x, y);
    }
  }
}

}  // namespace

TLumAboutForm::TLumAboutForm(TComponent* AOwner) : TForm(AOwner) {
  SetupDialog(this, "LumAboutForm", "About", 345, 196);
  SetBorderIcons(biSystemMenu);
  SetKeyPreview(true);
  Image1 = PlaceControl<TImage>(this, this, "Image1", 0, 0, 345, 152);
  Image1->SetStretch(true);
  {
    TBitmap pic;
    DrawPicture(&pic, 345, 152);
    Image1->Picture()->Assign(&pic);
  }
  Bevel1 = PlaceControl<TBevel>(this, this, "Bevel1", 8, 8, 329, 136);
  LabelVersion = PlaceControl<TLabel>(this, this, "LabelVersion", 16, 16, 300, 14);
  LabelVersion->Font()->SetName("Arial");
  LabelVersion->Font()->SetHeight(-11);
  LabelVersion->Font()->SetStyle(FontStyles({fsBold}));
  LabelVersion->SetTransparent(true);
  LabelCopy = PlaceControl<TLabel>(this, this, "LabelCopy", 16, 36, 300, 14);
  LabelCopy->Font()->SetName("Arial");
  LabelCopy->SetTransparent(true);
  Labelwww = PlaceControl<TLabel>(this, this, "Labelwww", 16, 104, 313, 14, LumWebAddress);
  Labelwww->SetCursor(crHandPoint);
  Labelwww->Font()->SetStyle(FontStyles({fsUnderline}));
  Labelwww->Font()->SetColor(clBlue);
  Labelwww->SetHint("Visit our Web site !");
  Labelwww->SetShowHint(true);
  Labelwww->SetTransparent(true);
  LabelExtra = PlaceControl<TLabel>(this, this, "LabelExtra", 16, 124, 300, 14);
  LabelExtra->SetTransparent(true);
  BClose = PlaceControl<TButton>(this, this, "BClose", 262, 162, 75, 25, "Close");
  BClose->SetDefault(true);
  BClose->SetCancel(true);
  BClose->SetModalResult(mrCancel);
  Labelwww->OnClick = HANDLER(LabelwwwClick);

  SetCaption(std::string(LumVersionText) + " " + Caption());
  LabelVersion->SetCaption(LumVersionText);
  LabelCopy->SetCaption(LumMsg_Copyright);
  RecordDefaults(this);
}

void TLumAboutForm::LabelwwwClick(TObject*) { GotoURL(Handle(), Labelwww->Caption()); }

TLumAboutForm* CreateAboutForm(const std::string& Caption, const std::string& Version, const std::string& Extra) {
  auto* f = new TLumAboutForm(nullptr);
  if (!Caption.empty()) f->SetCaption(Caption);
  if (!Version.empty()) f->LabelVersion->SetCaption(Version);
  if (!Extra.empty()) f->LabelExtra->SetCaption(Extra);
  f->Labelwww->SetWidth(313);
  return f;
}

void ShowAbout(const std::string& Caption, const std::string& Version, const std::string& Extra) {
  std::unique_ptr<TLumAboutForm> f(CreateAboutForm(Caption, Version, Extra));
  f->ShowModal();
}

void LumAboutUnitInit() { RegisterClass(TLumAboutForm::StaticClass()); }
void LumAboutUnitDone() { UnRegisterClass(TLumAboutForm::StaticClass()); }
