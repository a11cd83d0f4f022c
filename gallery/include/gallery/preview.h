// The print preview: a sheet in the proportions of the printer's page with the chart
// inside its print margins, whose edges, corners or whole rectangle the mouse drags
// (TLumPreviewPanel), and the window around it with the printer, orientation, margin
// and detail controls (TChartPreview).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "canvas/comboflat.h"
#include "engine/panel.h"
#include "platform/printers.h"
#include "platform/stdctrls.h"

// The panels a preview shows; the first is the one its margins belong to.
class TLumPanelsList {
public:
  int Count() const { return int(items_.size()); }
  TCustomLumPanel* Items(int Index) const { return items_.at(size_t(Index)); }
  int IndexOf(const TCustomLumPanel* Panel) const;
  void Add(TCustomLumPanel* Panel) { items_.push_back(Panel); }
  void Insert(int Index, TCustomLumPanel* Panel) { items_.insert(items_.begin() + Index, Panel); }
  void Delete(int Index) { items_.erase(items_.begin() + Index); }
  // Every entry of the panel.
  void Remove(const TCustomLumPanel* Panel);
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

private:
  std::vector<TCustomLumPanel*> items_;
};

// The margin lines' pen: dotted with small dots.
class TPreviewChartPen : public TChartPen {
  DECLARE_CLASS(TPreviewChartPen, TChartPen)
public:
  explicit TPreviewChartPen(TNotifyEvent OnChangeEvent = {});
  static void DefineProperties(TPropertyTable& t);
};

enum TLumPreviewPanelOrientation { ppoDefault, ppoPortrait, ppoLandscape };

using TPreviewChangeMarginsEvent =
    TEvent<void(TObject* Sender, bool DisableProportional, const TRect& NewMargins)>;
using TPreviewGetPaperRectEvent = TEvent<void(TObject* Sender, TRect& PaperRect)>;

class TLumPreviewPanel : public TCustomLumPanelExtended {
  DECLARE_CLASS(TLumPreviewPanel, TCustomLumPanelExtended)
public:
  explicit TLumPreviewPanel(TComponent* AOwner);
  ~TLumPreviewPanel() override;

  bool AllowResize() const { return allowResize_; }
  void SetAllowResize(bool Value) { allowResize_ = Value; }
  bool AllowMove() const { return allowMove_; }
  void SetAllowMove(bool Value) { allowMove_ = Value; }
  bool AsBitmap() const { return asBitmap_; }
  void SetAsBitmap(bool Value) { SetBooleanProperty(asBitmap_, Value); }
  bool DragImage() const { return dragImage_; }
  void SetDragImage(bool Value) { dragImage_ = Value; }
  TPreviewChartPen* Margins() const { return margins_.get(); }
  void SetMargins(TPreviewChartPen* Value) { margins_->Assign(Value); }
  TLumPreviewPanelOrientation Orientation() const { return orientation_; }
  void SetOrientation(TLumPreviewPanelOrientation Value);
  TColor PaperColor() const { return paperColor_; }
  void SetPaperColor(TColor Value) { SetColorProperty(paperColor_, Value); }
  TLumShadow* PaperShadow() const { return paperShadow_.get(); }
  void SetPaperShadow(TLumShadow* Value) { paperShadow_->Assign(Value); }
  bool ShowImage() const { return showImage_; }
  void SetShowImage(bool Value) { SetBooleanProperty(showImage_, Value); }
  bool SmoothBitmap() const { return smoothBitmap_; }
  void SetSmoothBitmap(bool Value) { SetBooleanProperty(smoothBitmap_, Value); }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& Value) { title_ = Value; }

  TLumPanelsList& Panels() { return panels_; }
  // The panel previewed: the first of the list (nullptr when empty).
  TCustomLumPanel* Panel() const { return panels_.Count() ? panels_.Items(0) : nullptr; }
  void SetPanel(TCustomLumPanel* Value);

  // The sheet and the chart's place on it as the last drawing laid them out.
  const TRect& PaperRect() const { return paperRect_; }
  const TRect& PreviewChartRect() const { return chartRect_; }
  int DragZone() const { return dragZone_; }
  // The sheet for the present client size and printer (OnGetPaperRect applied).
  TRect CalcPaperRect();
  // Where a panel's chart lies on PaperRect (proportional margins first recomputed
  // when the panel asks for them and printers exist); 15 % each without a panel.
  TRect CalcChartRect(TCustomLumPanel* APanel);
  // 0 none, 1 left, 2 top, 3 right, 4 bottom, 5 move, 6 top-left, 7 top-right,
  // 8 bottom-left, 9 bottom-right.
  int HitZone(int X, int Y) const;
  static TCursor ZoneCursor(int Zone);

  // Prints every listed panel into its page rectangle in one job; on an error the
  // job is aborted and the error passes on.
  void Print();

  TPreviewChangeMarginsEvent OnChangeMargins;
  TPreviewGetPaperRectEvent OnGetPaperRect;

  static void DefineProperties(TPropertyTable& t);

protected:
  void InternalDraw(const TRect& UserRect) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  void ApplyOrientation();
  void DrawPanel(TCustomLumPanel* APanel, const TRect& R);
  // The panel drawn into a new 24-bit bitmap of its print size for R (caller frees;
  // nullptr while the panel draws).
  TBitmap* BitmapPicture(TCustomLumPanel* APanel, const TRect& R);
  // Not-xor, so a second call erases the first.
  void DrawMarginLines(TLumCanvas* C);
  void DrawMarginLinesOnPicture();
  bool DragTo(int X, int Y);

  bool allowResize_ = true, allowMove_ = true, asBitmap_ = false, dragImage_ = false;
  std::unique_ptr<TPreviewChartPen> margins_;
  TLumPreviewPanelOrientation orientation_ = ppoDefault;
  TColor paperColor_ = clWhite;
  std::unique_ptr<TLumShadow> paperShadow_;
  bool showImage_ = true, smoothBitmap_ = true;
  std::string title_;
  TLumPanelsList panels_;
  int dragZone_ = 0;
  TPoint dragStart_{0, 0};
  TRect dragStartRect_, chartRect_, paperRect_;
};

class TChartPreview : public TForm {
  DECLARE_CLASS(TChartPreview, TForm)
public:
  explicit TChartPreview(TComponent* AOwner);

  TPanel* PanelLeft;
  TLabel* LPrinters;
  TComboFlat* CBPrinters;
  TButton* BSetupPrinter;
  TButton* BPrint;
  TRadioGroup* Orientation;
  TGroupBox* GBMargins;
  TEdit* SELeftMa;
  TUpDown* UDLeftMa;
  TEdit* SETopMa;
  TUpDown* UDTopMa;
  TEdit* SERightMa;
  TUpDown* UDRightMa;
  TEdit* SEBotMa;
  TUpDown* UDBotMa;
  TButton* BReset;
  TGroupBox* GBResolution;
  TTrackBar* Resolution;
  TLabel* LMore;
  TLabel* LNormal;
  TCheckBox* ShowMargins;
  TCheckBox* CBProp;
  TCheckBox* CBBitmap;
  TCheckBox* CBPrintPanel;
  TPanel* PanelClose;
  TButton* BClose;
  TLumPreviewPanel* LumPreviewPanel1;
  TPrinterSetupDialog* PrinterSetupDialog1;

  // The margins the window started with (Reset goes back to them).
  const TRect& StartMargins() const { return startMargins_; }

  void FormShow(TObject* Sender);
  void MarginChange(TObject* Sender);
  void PreviewChangeMargins(TObject* Sender, bool DisableProportional, const TRect& NewMargins);
  void CBPropClick(TObject* Sender);
  void BResetClick(TObject* Sender);
  void CBPrintersChange(TObject* Sender);
  void OrientationClick(TObject* Sender);
  void BSetupPrinterClick(TObject* Sender);
  void BPrintClick(TObject* Sender);
  void BCloseClick(TObject* Sender);
  void ResolutionChange(TObject* Sender);
  void ShowMarginsClick(TObject* Sender);
  void CBBitmapClick(TObject* Sender);
  void CBPrintPanelClick(TObject* Sender);

private:
  void LoadPrinters();
  void LoadOrientation();
  // Proportional recomputation, the edits from the panel's margins, repaint.
  void ApplyMargins();
  void ShowMarginEdits(const TRect& M);
  void CheckReset();
  bool updating_ = true;
  bool quiet_ = false;  // CBProp set by code
  TRect startMargins_{15, 15, 15, 15};
};

// The chart editor's print page: a preview window owned by Owner, without its Close
// area, filling Page and previewing Panel.
TChartPreview* EmbedChartPreview(TComponent* Owner, TWinControl* Page, TCustomLumPanel* Panel);

// Registers the preview panel by class name (the window takes its chart as a Tag,
// which a form made by name would not have).
void LumPreviewUnitInit();
void LumPreviewUnitDone();
