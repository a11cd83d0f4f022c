// The shape editor: the framed text boxes of titles, legend, marks, axis titles and
// walls (TLumCustomShape). "Format" and "Border" hold the box's own settings; "Text",
// "Gradient", "Shadow", "Emboss" and "Picture" hold the pages of the font, gradient,
// shadow, emboss and picture editors, each built on the first visit of its tab. All
// changes go to the shape at once. Used embedded, merged tab by tab into another page
// control, or modally with one OK button.
#pragma once
#include "canvas/buttons.h"
#include "canvas/comboflat.h"
#include "engine/shape.h"
#include "gallery/effectpages.h"
#include "platform/compwatch.h"
#include "platform/stdctrls.h"

class TButtonPen;
class TBackImageEditor;
class TLumEmbossEditor;
class TLumFontEditor;
class TLumGradientEditor;
class TLumShadowEditor;

class TFormLumShape : public TForm {
  DECLARE_CLASS(TFormLumShape, TForm)
public:
  explicit TFormLumShape(TComponent* AOwner);
  ~TFormLumShape() override;

  TPageControl* PC1;
  TTabSheet* TabFormat;
  TButtonColor* BBackColor;
  TButton* Button6;
  TCheckBox* CBTransparent;
  TLabel* LShadowTransp;
  TEdit* EShadowTransp;
  TUpDown* UDShadowTransp;
  TTabSheet* TabBorder;
  TLabel* LBevel;
  TComboFlat* CBBevel;
  TLabel* LBevWidth;
  TEdit* EBevWidth;
  TUpDown* UDBevW;
  TGroupBox* GBRound;
  TCheckBox* CBRound;
  TLabel* LRoundSize;
  TEdit* ERoundSize;
  TUpDown* UDRoundSize;
  TButtonPen* Button4;
  TTabSheet* TabText;
  TTabSheet* TabGradient;
  TTabSheet* TabShadow;
  TTabSheet* TabEmboss;
  TTabSheet* TabPicture;

  // The shape edited (not owned).
  TLumCustomShape* Shape() const { return shape_; }
  void SetShape(TLumCustomShape* Value) { shape_ = Value; }
  // Edits Value from now on: fills every control and every page already built.
  void LoadShape(TLumCustomShape* Value);
  // Builds the page of one of the editor's tabs on its first showing (nothing for
  // another tab). The host of EmbedShapeEditorInPage calls it from its page
  // control's OnChange.
  void TabShown(TTabSheet* Tab);
  // The pages of the further tabs, nullptr until their tab was first shown.
  TLumFontEditor* FontEditor() const;
  TLumGradientEditor* GradientEditor() const;
  TLumShadowEditor* ShadowEditor() const;
  TLumEmbossEditor* EmbossEditor() const;
  TBackImageEditor* PictureEditor() const;

  void FormShow(TObject* Sender);
  void PC1Change(TObject* Sender);
  void Button6Click(TObject* Sender);
  void CBTransparentClick(TObject* Sender);
  void EShadowTranspChange(TObject* Sender);
  void CBBevelChange(TObject* Sender);
  void EBevWidthChange(TObject* Sender);
  void CBRoundClick(TObject* Sender);
  void ERoundSizeChange(TObject* Sender);
  // For another page's visibility check box: the shape's Visible follows the box.
  void CBVisibleChecked(TObject* Sender);

private:
  bool Editing() const { return shape_ && !loading_; }
  void ApplyBevelRule();
  TLumCustomShape* shape_ = nullptr;
  // Set from construction until the end of each load: the edit handlers write nothing.
  bool loading_ = true;
  // Watched: a page freed with its tab (in a page control that took the tabs over)
  // is never touched again.
  TComponentRef<TLumFontEditor> fontEditor_;
  TEffectPages effects_;
  TEffectPages::TParts Parts() const;
};

// A shape editor owned by AOwner on Shape; with a parent it fills Parent, borderless,
// and is shown.
TFormLumShape* EmbedShapeEditor(TComponent* AOwner, TLumCustomShape* Shape, TWinControl* Parent = nullptr);
// Moves the editor's seven tabs, in order, behind Pages' own and makes Pages' first
// page active; the editor, hidden, keeps serving them. It is owned by Pages and
// freed with it, so the tabs never outlive their handlers.
TFormLumShape* EmbedShapeEditorInPage(TPageControl* Pages, TLumCustomShape* Shape);
// Modal with one OK button under the tabs; HideTextAndShadow hides "Text" and "Shadow".
// True on OK.
bool EditShape(TComponent* AOwner, TLumCustomShape* Shape, bool HideTextAndShadow, const std::string& Caption);
