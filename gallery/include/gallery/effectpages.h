// The pages of the effects a font, a shape or a panel has (shadow, emboss, gradient,
// picture) that their editors embed in tabs of their own: each page is built on the
// first visit of its tab and watched (a page may go with its tab), the pages built are
// reloaded together when the edited object changes, and freed with their holder.
#pragma once
#include "platform/compwatch.h"

class TBackImageEditor;
class TComponent;
class TCustomLumGradient;
class TLumEmboss;
class TLumEmbossEditor;
class TLumGradientEditor;
class TLumPicture;
class TLumShadow;
class TLumShadowEditor;
class TTabSheet;

class TEffectPages {
public:
  // What the pages edit.
  struct TParts {
    TLumShadow* Shadow;
    TLumEmboss* Emboss;
    TCustomLumGradient* Gradient;
    TLumPicture* Picture;
  };

  TEffectPages() = default;
  // The pages still there are freed.
  ~TEffectPages();
  TEffectPages(const TEffectPages&) = delete;
  TEffectPages& operator=(const TEffectPages&) = delete;

  // The holder's tabs (nullptr: no such page).
  void SetTabs(TTabSheet* Shadow, TTabSheet* Emboss, TTabSheet* Gradient, TTabSheet* Picture);
  // The tabs, and how the pages are made: the gradient page's owner, and a picture
  // page without mode or place filling its tab.
  TTabSheet* ShadowTab = nullptr;
  TTabSheet* EmbossTab = nullptr;
  TTabSheet* GradientTab = nullptr;
  TTabSheet* PictureTab = nullptr;
  TComponent* GradientOwner = nullptr;
  bool PictureAlone = false;

  // Builds the page of Tab when it is one of the tabs and has none yet, on Parts
  // (nullptr: nothing to load yet; the gradient page waits for a gradient). True when
  // a page was built.
  bool Build(TTabSheet* Tab, const TParts* Parts);
  // Every page built edits Parts from now on.
  void Load(const TParts& Parts);
  // Frees the pages built.
  void Free();

  // The pages, nullptr until built.
  TLumShadowEditor* Shadow() const;
  TLumEmbossEditor* Emboss() const;
  TLumGradientEditor* Gradient() const;
  TBackImageEditor* Picture() const;

private:
  TComponentRef<TLumShadowEditor> shadow_;
  TComponentRef<TLumEmbossEditor> emboss_;
  TComponentRef<TLumGradientEditor> gradient_;
  TComponentRef<TBackImageEditor> picture_;
};
