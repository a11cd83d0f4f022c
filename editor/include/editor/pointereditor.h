// The pointer editor: the markers line and point series draw at their points (style,
// 3D, sizes, colours, pattern, border, gradient, shadow, emboss, transparency) and the
// series' visual object. It is the point series' "Format" page of the series editor,
// found by its class name, and the modal dialog EditSeriesPointer on a pointer alone
// (a marks callout's, for instance).
#pragma once
#include <memory>

#include "canvas/comboflat.h"
#include "engine/series.h"
#include "platform/compwatch.h"
#include "platform/stdctrls.h"

class TButtonPen;
class TVisualsEditor;
class TVisualsHolder;

// Its Tag names what it edits: a series that has a pointer (line, point and area
// series), or a TSeriesPointer given through SetPointerTag (a Tag that is no
// component is followed only then). A freed series (and so its pointer) is let go.
class TSeriesPointerEditor : public TForm {
  DECLARE_CLASS(TSeriesPointerEditor, TForm)
public:
  explicit TSeriesPointerEditor(TComponent* AOwner);
  ~TSeriesPointerEditor() override;

  TPageControl* PageControl1;
  TTabSheet* TabStyle;
  TCheckBox* CBDrawPoint;
  TCheckBox* CB3dPoint;
  TCheckBox* CBPoDark;
  TCheckBox* CBColorEach;
  TCheckBox* CBIgnoreNulls;
  TLabel* LStyle;
  TComboFlat* CBStyle;
  TLabel* LTransp;
  TTrackBar* TBTransp;
  TButton* BPointFillColor;
  TCheckBox* CBDefBrushColor;
  TButtonPen* BPoinPenCol;
  TButton* BGradient;
  TButton* Button2;
  TButton* BEmboss;
  TTabSheet* TabSize;
  TLabel* LPointHorizSize;
  TEdit* SEPointHorizSize;
  TUpDown* UDPointHorizSize;
  TLabel* LPointVertSize;
  TEdit* SEPointVertSize;
  TUpDown* UDPointVertSize;
  TLabel* LPointDepth;
  TEdit* SEPointDepth;
  TUpDown* UDPointDepth;
  TCheckBox* CBInflate;
  TTabSheet* TabVisual;
  TPanel* PanelBottom;
  TButton* Button1;

  // The pointer edited (nullptr: none, or its series was freed) and the series
  // given as Tag (nullptr when a pointer was given, or freed).
  TSeriesPointer* Pointer() const;
  TChartSeries* TheSeries() const { return series_.Get(); }
  // The visuals editor of the "Visual" tab, made on the tab's first showing.
  TVisualsEditor* VisualsEditor() const { return visualsEditor_; }
  // Tag := Value, a pointer that need not belong to a series.
  void SetPointerTag(TSeriesPointer* Value);

  void FormShow(TObject* Sender);
  void PageControl1Change(TObject* Sender);
  void CBDrawPointClick(TObject* Sender);
  void CB3dPointClick(TObject* Sender);
  void CBPoDarkClick(TObject* Sender);
  void CBColorEachClick(TObject* Sender);
  void CBIgnoreNullsClick(TObject* Sender);
  void CBStyleChange(TObject* Sender);
  void CBStyleDrawItem(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State);
  void TBTranspChange(TObject* Sender);
  void BPointFillColorClick(TObject* Sender);
  void CBDefBrushColorClick(TObject* Sender);
  void BPoinPenColClick(TObject* Sender);
  void BGradientClick(TObject* Sender);
  void Button2Click(TObject* Sender);
  void BEmbossClick(TObject* Sender);
  void SizeChange(TObject* Sender);
  void CBInflateClick(TObject* Sender);
  void VisualChanged(TObject* Sender);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  // Handlers write only with a pointer and outside the filling of the controls.
  bool Editing() const { return Pointer() && !loading_; }
  void SetEditedPointer(TSeriesPointer* Value);
  void EnableVisibleControls();
  void Enable3D();
  void CheckDefaultColor();
  void SelectStyle();

  TSeriesPointer* pointer_ = nullptr;
  TSeriesPointer* given_ = nullptr;
  // Watches the series given as Tag and the series the pointer belongs to: either
  // freed takes the pointer with it.
  TComponentRef<TChartSeries> series_;
  TChartSeries* pointerSeries_ = nullptr;
  TVisualsEditor* visualsEditor_ = nullptr;
  std::unique_ptr<TVisualsHolder> holder_;
  bool loading_ = true;
};

// The editor as a dialog ("Pointer") over Owner's form for Pointer, without the
// "Inflate Margins" and "Color Each" boxes, closed by its "Close" button. Changes go
// to the pointer at once; the answer is always true.
bool EditSeriesPointer(TControl* Owner, TSeriesPointer* Pointer);
