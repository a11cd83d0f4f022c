#include "gallery/effectpages.h"

#include "gallery/backimageeditor.h"
#include "gallery/editortools.h"
#include "gallery/gradienteditor.h"
#include "gallery/shadoweditor.h"

TEffectPages::~TEffectPages() { Free(); }

TLumShadowEditor* TEffectPages::Shadow() const { return shadow_.Get(); }
TLumEmbossEditor* TEffectPages::Emboss() const { return emboss_.Get(); }
TLumGradientEditor* TEffectPages::Gradient() const { return gradient_.Get(); }
TBackImageEditor* TEffectPages::Picture() const { return picture_.Get(); }

void TEffectPages::SetTabs(TTabSheet* Shadow, TTabSheet* Emboss, TTabSheet* Gradient, TTabSheet* Picture) {
  ShadowTab = Shadow;
  EmbossTab = Emboss;
  GradientTab = Gradient;
  PictureTab = Picture;
}

bool TEffectPages::Build(TTabSheet* Tab, const TParts* Parts) {
  if (!Tab) return false;
  if (Tab == ShadowTab && !Shadow()) {
    TLumShadowEditor* e = EmbedShadowEditor(Tab);
    shadow_.Set(e);
    if (Parts) e->LoadShadow(Parts->Shadow);
  } else if (Tab == EmbossTab && !Emboss()) {
    TLumEmbossEditor* e = EmbedEmbossEditor(Tab);
    emboss_.Set(e);
    if (Parts) e->LoadShadow(Parts->Emboss);
  } else if (Tab == GradientTab && !Gradient() && Parts) {
    TLumGradientEditor* e = EmbedGradientEditor(GradientOwner, Parts->Gradient);
    gradient_.Set(e);
    EmbedEditorForm(e, Tab);
  } else if (Tab == PictureTab && !Picture()) {
    TBackImageEditor* e = EmbedBackImageEditor(Tab);
    picture_.Set(e);
    if (PictureAlone) {
      // A picture with no drawing mode or place of its own: the page takes the tab.
      e->RGBitmap->Hide();
      e->GBPosition->Hide();
      e->SetAlign(alClient);
    }
    if (Parts) e->LoadBackImage(Parts->Picture);
  } else {
    return false;
  }
  return true;
}

void TEffectPages::Load(const TParts& Parts) {
  if (TLumShadowEditor* e = Shadow()) e->LoadShadow(Parts.Shadow);
  if (TLumEmbossEditor* e = Emboss()) e->LoadShadow(Parts.Emboss);
  if (TLumGradientEditor* e = Gradient()) e->SetGradient(Parts.Gradient);
  if (TBackImageEditor* e = Picture()) e->LoadBackImage(Parts.Picture);
}

void TEffectPages::Free() {
  delete shadow_.Get();
  delete emboss_.Get();
  delete gradient_.Get();
  delete picture_.Get();
}
