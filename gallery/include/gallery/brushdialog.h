// The brush dialog ("Pattern Editor"): a chart brush's hatch style, or a stock
// pattern, stock texture or picture file as its picture; its colour, back colour and
// back transparency; and, on a second tab, its gradient through an embedded gradient
// editor. Cancel, or any end of its modal run but OK (the close box too), puts back the
// brush as it was shown (its picture copied back).
//
// Also the stock brush pictures and the open-picture routines the picture editors
// share.
#pragma once
#include <memory>
#include <string>

#include "canvas/attributes.h"
#include "canvas/buttons.h"
#include "canvas/filters.h"
#include "platform/controls.h"
#include "platform/lists.h"
#include "platform/stdctrls.h"

class TLumGradientEditor;

class TBrushDialog : public TForm {
  DECLARE_CLASS(TBrushDialog, TForm)
public:
  explicit TBrushDialog(TComponent* AOwner);
  ~TBrushDialog() override;

  // The brush edited, not owned.
  TChartBrush* Brush() const { return brush_; }
  void SetBrush(TChartBrush* Value) { brush_ = Value; }
  // The brush as it was at the last show; made on the first show.
  TChartBrush* BackupBrush() const { return backup_.get(); }
  // The editor in the "Gradient" tab, made on the first show.
  TLumGradientEditor* GradientEditor() const { return gradientEditor_; }

  TListBox* LStyle;
  TSplitter* Splitter1;
  TPageControl* PageControl1;
  TTabSheet* TabFormat;
  TButtonColor* BColor;
  TButtonColor* BBackColor;
  TCheckBox* CBTransp;
  TButton* BSwap;
  TGroupBox* GroupBox1;
  TImage* Image1;
  TLabel* LImage;
  TButton* Button1;
  TTabSheet* TabGradient;
  TImage* ImageMetal;
  TImage* ImageWood;
  TImage* ImageStone;
  TImage* ImageClouds;
  TImage* ImageGrass;
  TImage* ImageFire;
  TImage* ImageSnow;
  TPanel* Panel1;
  TButton* Button2;
  TButton* Button3;

  void FormShow(TObject* Sender);
  void LStyleClick(TObject* Sender);
  void LStyleDrawItem(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State);
  void Button1Click(TObject* Sender);
  void CBTranspClick(TObject* Sender);
  void BBackColorClick(TObject* Sender);
  void BSwapClick(TObject* Sender);
  void Button3Click(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);

private:
  void ShowPicture();
  void ApplyEnabling();
  // The brush's picture: its image's graphic, else its pattern bitmap; nullptr.
  TGraphic* BrushPicture() const;
  TChartBrush* brush_ = nullptr;
  std::unique_ptr<TChartBrush> backup_;
  // Put back once per showing, by Cancel or by any other end but OK.
  bool restored_ = false;
  TLumGradientEditor* gradientEditor_ = nullptr;
  // The list's samples of the stock pictures, made when first drawn.
  std::unique_ptr<TBitmap> samples_[19];
};

// Modal: the dialog over Control's form on Brush; true on OK, and on Cancel the brush
// is as it was.
bool EditBrush(TControl* Control, TChartBrush* Brush);
// A new bitmap (the caller frees it) of stock picture Index: 0..11 the patterns
// "LumBrush1".."LumBrush12", white transparent; 12..18 the textures Metal, Wood,
// Stone, Clouds, Grass, Fire and Snow. EListError outside 0..18.
TBitmap* StockBrushPicture(int Index);
// The open-picture dialog: the file chosen, or "" when cancelled.
std::string AskPictureFile(TComponent* Owner);
// Clears a picture that holds a graphic; loads an empty one from a file the user
// chooses. A file that does not load shows why and leaves the picture as it was.
// True when the picture changed.
bool BrowsePicture(TComponent* Owner, TLumPicture* Picture);
