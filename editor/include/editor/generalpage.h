// The chart editor's General page: mouse zoom and scroll, the chart's cursor, and
// the fonts of every chart element (legend, titles, series, marks, tools, axes and
// their titles) in one list, any number of them edited together: a change made to
// the font shown goes to each other selected font, attribute by attribute, only
// where it changed.
//
// Made with the chart it edits; the chart editor shows it on each visit of its tab.
// It lets go of the chart, and of the font of any series, tool or axis, when it is
// freed, and never writes to a font that went.
#pragma once
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "canvas/comboflat.h"
#include "editor/chartpage.h"
#include "platform/compwatch.h"
#include "platform/lists.h"
#include "platform/stdctrls.h"

class TButtonPen;
class TCustomChart;
class TLumFont;
class TLumFontEditor;
class TMouseCursorEdit;

// The first font among Instance's published object properties, searched depth
// first through the nested objects that are not components; Except (a font or a
// nested object) and all below it are passed over. nullptr when there is none.
TLumFont* FindFontProperty(TPersistent* Instance, const TPersistent* Except = nullptr);

class TFormLumGeneral : public TChartObjectPage {
  DECLARE_CLASS(TFormLumGeneral, TChartObjectPage)
public:
  TFormLumGeneral(TComponent* AOwner, TCustomChart* AChart);
  ~TFormLumGeneral() override;

  TPageControl* PageControl1;
  TTabSheet* TabZoom;
  TCheckBox* CBAllowZoom;
  TCheckBox* CBAnimatedZoom;
  TLabel* LSteps;
  TEdit* SEAniZoomSteps;
  TUpDown* UDAniZoomSteps;
  TButtonPen* BZoomPen;
  TButton* BZoomColor;
  TLabel* LMinPix;
  TEdit* EMinPix;
  TUpDown* UDMinPix;
  TLabel* LDir;
  TComboFlat* CBDir;
  TLabel* LZoomMouse;
  TComboFlat* CBZoomMouse;
  TCheckBox* CBUpLeft;
  TCheckBox* CBHistory;
  TCheckBox* CBZoomAspect;
  TTabSheet* TabScroll;
  TRadioGroup* RGPanning;
  TLabel* LScrollMouse;
  TComboFlat* CBScrollMouse;
  TCheckBox* CBInsideBounds;
  TTabSheet* TabCursor;
  TMouseCursorEdit* CursorEditor;
  TTabSheet* TabFonts;
  TCheckBox* CBAllFonts;
  TListBox* LBFonts;
  TLabel* LZoomText;
  TComboFlat* CBZoomText;
  TEdit* ETextSize;
  TUpDown* UDTextSize;
  TLabel* LTextPercent;
  TPanel* PanelFont;

  // The chart edited; nullptr once it was freed.
  TCustomChart* Chart() const;
  // The font editor, made on the first click of a font line; nullptr before.
  TLumFontEditor* FontEditor() const { return fontEditor_.get(); }
  // The font shown in the font editor (its change handler is the page's meanwhile).
  TLumFont* EditedFont() const { return edited_; }
  // The live font of a line of LBFonts; nullptr when its element is gone.
  TLumFont* LineFont(int Index) const;

  void FormShow(TObject* Sender);
  void FormHide(TObject* Sender);
  void PageControl1Change(TObject* Sender);
  void CBAllowZoomClick(TObject* Sender);
  void CBAnimatedZoomClick(TObject* Sender);
  void SEAniZoomStepsChange(TObject* Sender);
  void BZoomColorClick(TObject* Sender);
  void EMinPixChange(TObject* Sender);
  void CBDirChange(TObject* Sender);
  void CBZoomMouseChange(TObject* Sender);
  void CBUpLeftClick(TObject* Sender);
  void CBHistoryClick(TObject* Sender);
  void CBZoomAspectClick(TObject* Sender);
  void RGPanningClick(TObject* Sender);
  void CBScrollMouseChange(TObject* Sender);
  void CBInsideBoundsClick(TObject* Sender);
  void CursorChanged(TObject* Sender);
  void CBAllFontsClick(TObject* Sender);
  void LBFontsClick(TObject* Sender);
  void LBFontsKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
  void CBZoomTextChange(TObject* Sender);
  void ETextSizeChange(TObject* Sender);

protected:
  void ChartFreed() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // A custom axis freed: its lines go, and its font if it was edited.
  void LumEvent(const TLumEvent& Event) override;

private:
  // What a line of the fonts list stands for: an element of the chart, a series (its
  // own font or its marks'), a tool, an axis (its labels or its title). Owner is only
  // compared with the chart's live series, tools and axes, never followed.
  enum TFontKind {
    fkLegend, fkLegendTitle, fkTitle, fkFoot, fkSubTitle, fkSubFoot, fkSeries, fkMarks, fkTool, fkAxis, fkAxisTitle
  };
  struct TFontLine {
    TFontKind Kind;
    const void* Owner;
  };
  bool Editing() const { return !loading_ && Chart() && Showing(); }
  void Changed();
  void EnableZoom();
  void FillFonts();
  TLumFont* Resolve(const TFontLine& Line) const;
  int LineOf(int Index) const;
  // Back to the Title line alone.
  void SelectTitle();
  void SelectAllFonts();
  // Gives the edited font its own change handler back (while it lives) and drops the
  // working copy.
  void ReleaseFont();
  // The edited font changed: the other selected fonts take what changed.
  void FontChanged(TObject* Sender);
  // Lines whose element is gone leave the list; the edited font is let go untouched.
  void DropDeadLines();
  bool loading_ = false;
  std::vector<TFontLine> lines_;
  // The series and tools listed, asked for their free notice.
  std::set<const TComponent*> watched_;
  std::unique_ptr<TLumFontEditor> fontEditor_;
  TLumFont* edited_ = nullptr;
  TFontLine editedLine_{fkTitle, nullptr};
  std::unique_ptr<TLumFont> copy_;
  // The handler the edited font had before the page took it.
  TEvent<void(TObject*)> savedHandler_;
};
