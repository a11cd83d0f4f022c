// The chart control: the engine's axis panel with titles, walls, a legend and
// numbered colour palettes.
#pragma once
#include <memory>
#include <string>

#include "chart/legend.h"
#include "engine/panel.h"
#include "chart/chartlists.h"
#include "chart/walls.h"
#include "engine/shape.h"
#include "chart/pages.h"
#include "platform/classes.h"
#include "platform/controls.h"

class TCustomChart;

// A block of text lines above (titles) or below (feet) the plot, or, with
// CustomPosition, at Left and Top over the chart, taking no room from the plot.
class TChartTitle : public TLumCustomShapePosition {
  DECLARE_CLASS(TChartTitle, TLumCustomShapePosition)
public:
  TChartTitle(TCustomAxisPanel* AChart, bool AIsFoot);
  ~TChartTitle() override;

  // The lines; every change repaints the chart.
  TStrings* Text() const { return text_.get(); }
  void SetText(TStrings* Value) { text_->Assign(Value); }
  // A caption of no lines; lines added afterwards show.
  void Clear() { text_->Clear(); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  // True: the frame hugs the text; false: it spans the chart's width.
  bool AdjustFrame() const { return adjustFrame_; }
  void SetAdjustFrame(bool Value);
  // Pixels kept free between the title and the plot.
  int VertMargin() const { return vertMargin_; }
  void SetVertMargin(int Value);
  bool IsFoot() const { return isFoot_; }

  // Takes the title's room from the top (a foot: the bottom) of Rect and places
  // its box there (at Left, Top with CustomPosition); nothing for a hidden or
  // empty title.
  void CalcRect(TRect& Rect);
  // Draws the title in its box of the last CalcRect.
  void DrawTitle();

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  void TextChanged(TObject* Sender);
  int LineHeight() const;

  bool isFoot_;
  std::unique_ptr<TStringList> text_;
  TAlignment alignment_ = taCenter;
  bool adjustFrame_ = true;
  int vertMargin_ = 0;
  bool placed_ = false;
};

class TCustomChart : public TCustomAxisPanel {
  DECLARE_CLASS(TCustomChart, TCustomAxisPanel)
public:
  // Reads the palette number from the editor setting "DefaultPalette" (13 when
  // missing); a stored value that is not an integer raises ERegistryException.
  explicit TCustomChart(TComponent* AOwner);
  ~TCustomChart() override;

  // The palette the series take their colours from, by number. Setting another
  // number gives every series the new palette's colour for its index.
  int ColorPaletteIndex() const { return paletteIndex_; }
  void SetColorPaletteIndex(int Value);
  TColor GetDefaultColor(int Index) const override;

  TChartTitle* Title() const { return title_.get(); }
  TChartTitle* SubTitle() const { return subTitle_.get(); }
  TChartTitle* Foot() const { return foot_.get(); }
  TChartTitle* SubFoot() const { return subFoot_.get(); }
  TChartLegend* Legend() const { return legend_.get(); }

  TChartWalls* Walls() const { return walls_.get(); }
  TChartWall* BackWall() const { return walls_->Back(); }
  TChartWall* LeftWall() const { return walls_->Left(); }
  TChartWall* BottomWall() const { return walls_->Bottom(); }
  TChartWall* RightWall() const { return walls_->Right(); }
  // The frame around the plot: the back wall's pen.
  TChartPen* Frame() const { return BackWall()->Pen(); }
  // Whether the walls show in 3D views (a flat chart always draws its back wall).
  bool View3DWalls() const { return view3DWalls_; }
  void SetView3DWalls(bool Value);
  // Depth of the 3D view in percent of the plot's smaller side (at least 1).
  int Chart3DPercent() const override { return chart3DPercent_; }
  void SetChart3DPercent(int Value);
  // The animations (freed with the chart, as its tools are).
  TChartAnimations* Animations() const { return animations_.get(); }

  // Paging of the points (chart/pages.h).
  TChartPage* Pages() const { return pages_.get(); }
  int GetMaxPointsPerPage() const override { return pages_->MaxPointsPerPage(); }
  int NumPages() const override { return pages_->Count(); }
  int GetPage() const override { return pages_->Current(); }
  void SetPage(int Page) override { pages_->SetCurrent(Page); }
  bool PageRange(const TChartAxis* Axis, double& Min, double& Max) const override {
    return pages_->PageRange(Axis, Min, Max);
  }

  static void DefineProperties(TPropertyTable& t);

protected:
  void DrawTitlesAndLegend(bool BeforeSeries) override;
  // A press on a legend check box switches its series; other presses go on.
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DrawWalls() override;
  TWallReach WallReach() const override;

private:
  int paletteIndex_;
  std::unique_ptr<TChartTitle> title_, subTitle_, foot_, subFoot_;
  std::unique_ptr<TChartLegend> legend_;
  std::unique_ptr<TChartWalls> walls_;
  bool view3DWalls_ = true;
  int chart3DPercent_ = 15;
  std::unique_ptr<TChartPage> pages_;
  std::unique_ptr<TChartAnimations> animations_;
};

// The chart control as forms place it.
class TChart : public TCustomChart {
  DECLARE_CLASS(TChart, TCustomChart)
public:
  explicit TChart(TComponent* AOwner) : TCustomChart(AOwner) {}
};
