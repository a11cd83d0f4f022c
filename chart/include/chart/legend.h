// The chart legend: a framed box beside (or over) the plot listing the series, or the
// points of one series, each with its symbol and text.
//
//   TLegendSymbol   how the symbol before (or after) each text is drawn
//   TLegendTitle    lines of text at the top of the box
//   TLegendItem     one line of the legend: its texts and, with custom positions, its place
//   TLegendItems    the lines; automatic texts unless Custom
//   TChartLegend    the box: style, place, layout, drawing and check-box clicks
//
// PaintSeriesLegend draws the symbol of a series (or one of its points) into a
// rectangle; the legend and the chart list box both use it.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/panel.h"
#include "engine/shape.h"
#include "platform/classes.h"

class TCanvas3D;
class TChartLegend;

// Items per series or per point (the automatic choice is documented in ARCHITECTURE.md).
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues, lsSeriesGroups };
enum TLegendTextStyle {
  ltsPlain, ltsLeftValue, ltsRightValue, ltsLeftPercent, ltsRightPercent, ltsXValue, ltsValue, ltsPercent,
  ltsXAndValue, ltsXAndPercent, ltsXAndText
};
enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum TLegendSymbolSize { lcsPercent, lcsPixels };
enum TLegendSymbolPosition { spLeft, spRight };
enum TCheckBoxesStyle { cbsCheck, cbsRadio };

// Misuse of the legend.
PHONARK_EXCEPTION(LegendException, Exception);

// Draws the legend symbol of Series into R: the line and marker of line and point
// series, a filled box otherwise. ValueIndex picks a point (its colour; -1 the
// series); a series with a pointer-style event is asked it with the point index (the
// first point for the series as a whole) and the marker takes the pointer's brush
// colour.
void PaintSeriesLegend(TChartSeries* Series, TCanvas3D* Canvas, const TRect& R, int ValueIndex = -1);

class TLegendSymbol : public TPersistent {
  DECLARE_CLASS(TLegendSymbol, TPersistent)
public:
  explicit TLegendSymbol(TChartLegend* ALegend = nullptr);
  ~TLegendSymbol() override;

  // In WidthUnits: percent of the widest text, or pixels.
  int Width() const { return width_; }
  void SetWidth(int Value);
  TLegendSymbolSize WidthUnits() const { return widthUnits_; }
  void SetWidthUnits(TLegendSymbolSize Value);
  TLegendSymbolPosition Position() const { return position_; }
  void SetPosition(TLegendSymbolPosition Value);
  // Symbols fill their whole row, so neighbouring ones touch.
  bool Continuous() const { return continuous_; }
  void SetContinuous(bool Value);
  bool Visible() const { return visible_; }
  void SetVisible(bool Value);
  // As wide as high; Width is not used.
  bool Squared() const { return squared_; }
  void SetSquared(bool Value);
  // The series' own outline; otherwise Pen frames each symbol.
  bool DefaultPen() const { return defaultPen_; }
  void SetDefaultPen(bool Value);
  TChartPen* Pen() const { return pen_.get(); }
  // Created on first read; a visible gradient fills the symbols, a visible shadow lies
  // under them, a visible emboss rims them.
  TLumGradient* Gradient() const;
  TLumShadow* Shadow() const;
  TLumEmboss* Emboss() const;
  bool HasGradient() const { return bool(gradient_); }
  bool HasShadow() const { return bool(shadow_); }
  bool HasEmboss() const { return bool(emboss_); }

  // Symbol width in pixels for texts of TextWidth and rows of RowHeight.
  int CalcWidth(int TextWidth, int RowHeight) const;

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  void Changed(TObject* Sender);
  template <class T>
  void Store(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Changed(this);
  }
  TChartLegend* legend_;
  int width_ = 20;
  TLegendSymbolSize widthUnits_ = lcsPercent;
  TLegendSymbolPosition position_ = spLeft;
  bool continuous_ = false, visible_ = true, squared_ = false, defaultPen_ = true;
  std::unique_ptr<TChartPen> pen_;
  mutable std::unique_ptr<TLumGradient> gradient_;
  mutable std::unique_ptr<TLumShadow> shadow_;
  mutable std::unique_ptr<TLumEmboss> emboss_;
};

class TLegendTitle : public TLumCustomShape {
  DECLARE_CLASS(TLegendTitle, TLumCustomShape)
public:
  explicit TLegendTitle(TCustomAxisPanel* AChart = nullptr);
  ~TLegendTitle() override;

  TStrings* Text() const { return text_.get(); }
  void SetText(TStrings* Value) { text_->Assign(Value); }
  TAlignment TextAlignment() const { return textAlignment_; }
  void SetTextAlignment(TAlignment Value) { Store(textAlignment_, Value); }

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  void TextChanged(TObject*) { Repaint(); }
  std::unique_ptr<TStringList> text_;
  TAlignment textAlignment_ = taCenter;
};

class TLegendItem : public TPersistent {
  DECLARE_CLASS(TLegendItem, TPersistent)
public:
  explicit TLegendItem(TChartLegend* ALegend = nullptr);
  ~TLegendItem() override;

  const std::string& Text() const { return text_; }
  void SetText(const std::string& Value) { Store(text_, Value); }
  // A second column, after Text.
  const std::string& Text2() const { return text2_; }
  void SetText2(const std::string& Value) { Store(text2_, Value); }
  // Text alignment flags: 0 left, 6 centre, 2 right of Left (8 more: the same).
  int Align() const { return align_; }
  void SetAlign(int Value) { Store(align_, Value); }
  // Pixels from the legend box's top-left corner, with Items' CustomPosition.
  int Left() const { return left_; }
  void SetLeft(int Value) { Store(left_, Value); }
  int Top() const { return top_; }
  void SetTop(int Value) { Store(top_, Value); }
  // The item's own font, created on first read; SetFont(nullptr) drops it so the
  // legend's font applies again.
  TLumFont* Font() const;
  void SetFont(TLumFont* Value);
  bool HasFont() const { return bool(font_); }

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  friend class TChartLegend;
  void Changed(TObject* Sender);
  template <class T>
  void Store(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Changed(this);
  }
  TChartLegend* legend_;
  std::string text_, text2_;
  int align_ = 0, left_ = 0, top_ = 0;
  mutable std::unique_ptr<TLumFont> font_;
};

class TLegendItems {
public:
  explicit TLegendItems(TChartLegend* ALegend);
  ~TLegendItems();

  int Count() const { return int(items_.size()); }
  // The item at Index; the list grows to hold it. LegendException below 0.
  TLegendItem* Get(int Index);
  TLegendItem* operator[](int Index) { return Get(Index); }
  TLegendItem* Add();
  // LegendException outside 0..Count-1.
  void Delete(int Index);
  void Clear();
  // Texts as set here instead of from the series.
  bool Custom() const { return custom_; }
  void SetCustom(bool Value);
  // Items at their own Left and Top.
  bool CustomPosition() const { return customPosition_; }
  void SetCustomPosition(bool Value);

private:
  friend class TChartLegend;
  void Resize(int NewCount);
  TChartLegend* legend_;
  std::vector<std::unique_ptr<TLegendItem>> items_;
  bool custom_ = false, customPosition_ = false;
};

class TChartLegend : public TLumCustomShapePosition {
  DECLARE_CLASS(TChartLegend, TLumCustomShapePosition)
public:
  explicit TChartLegend(TCustomAxisPanel* AChart = nullptr);
  ~TChartLegend() override;

  TLegendStyle LegendStyle() const { return legendStyle_; }
  void SetLegendStyle(TLegendStyle Value) { Store(legendStyle_, Value); }
  TLegendTextStyle TextStyle() const { return textStyle_; }
  void SetTextStyle(TLegendTextStyle Value) { Store(textStyle_, Value); }
  TLegendAlignment Alignment() const { return alignment_; }
  void SetAlignment(TLegendAlignment Value) { Store(alignment_, Value); }
  // Items stack vertically: alignment left or right.
  bool Vertical() const { return alignment_ == laLeft || alignment_ == laRight; }
  // Percent of the plot's height the box of a vertical legend starts below its top.
  int TopPos() const { return topPos_; }
  void SetTopPos(int Value) { Store(topPos_, Value); }
  // Pixels between a vertical (horizontal) legend and the plot.
  int HorizMargin() const { return horizMargin_; }
  void SetHorizMargin(int Value) { Store(horizMargin_, Value); }
  int VertMargin() const { return vertMargin_; }
  void SetVertMargin(int Value) { Store(vertMargin_, Value); }
  // Extra pixels between rows (may be negative).
  int VertSpacing() const { return vertSpacing_; }
  void SetVertSpacing(int Value) { Store(vertSpacing_, Value); }
  // The plot gives the legend its room; otherwise the legend lies over it.
  bool ResizeChart() const { return resizeChart_; }
  void SetResizeChart(bool Value) { Store(resizeChart_, Value); }
  // Units of the custom position: pixels (Left, Top) or percent of the chart's size
  // (LeftPercent, TopPercent).
  TPanelMarginUnits PositionUnits() const { return positionUnits_; }
  void SetPositionUnits(TPanelMarginUnits Value) { Store(positionUnits_, Value); }
  int LeftPercent() const { return leftPercent_; }
  void SetLeftPercent(int Value) { Store(leftPercent_, Value); }
  int TopPercent() const { return topPercent_; }
  void SetTopPercent(int Value) { Store(topPercent_, Value); }
  // Lines between the rows (hidden at first).
  TChartPen* DividingLines() const { return dividingLines_.get(); }
  // Items in reverse order.
  bool Inverted() const { return inverted_; }
  void SetInverted(bool Value) { Store(inverted_, Value); }
  // Each text in its series' (point's) colour.
  bool FontSeriesColor() const { return fontSeriesColor_; }
  void SetFontSeriesColor(bool Value) { Store(fontSeriesColor_, Value); }
  // A check box (or radio button) before each series item (not point items);
  // clicking it switches the series on or off (radio: on, and the others off).
  bool CheckBoxes() const { return checkBoxes_; }
  // Both tell the chart's listeners (code 5), which show the same boxes.
  void SetCheckBoxes(bool Value);
  TCheckBoxesStyle CheckBoxesStyle() const { return checkBoxesStyle_; }
  void SetCheckBoxesStyle(TCheckBoxesStyle Value);
  TLegendSymbol* Symbol() const { return symbol_.get(); }
  TLegendTitle* Title() const { return title_.get(); }
  TLegendItems* Items() const { return items_.get(); }
  // The item at Index (the list grows to hold it).
  TLegendItem* Item(int Index) const { return items_->Get(Index); }
  // The page of items shown when not all fit, from 1; LegendException below 1. A
  // page past the last shows the last.
  int CurrentPage() const { return currentPage_; }
  void SetCurrentPage(int Value);

  // Pipeline: Place takes the legend's room from Rect (the plot so far) when it
  // resizes the chart; Draw draws it where Place put it. DrawsBeforeSeries: a legend
  // beside the plot draws before the series, one over the plot after them.
  void Place(TRect& Rect);
  void Draw();
  bool DrawsBeforeSeries() const { return resizeChart_ && !CustomPosition(); }
  // The number of items the last Place laid out, and of those that fitted.
  int TotalItems() const { return int(entries_.size()); }
  int ShownItems() const { return int(rows_.size()); }
  // Item (from 0, in list order) drawn at the point, else -1; its check box rectangle.
  int Clicked(int X, int Y) const;
  TRect CheckBoxRect(int Item) const;
  // A press at the point: a check box of a series switches it; answers whether it
  // took the press.
  bool MouseDown(int X, int Y);

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  struct TEntry {
    TChartSeries* Series;
    int ValueIndex;  // -1: the series as a whole
    std::string Text;
  };
  struct TRow {
    int Entry;
    TRect Box, Check, Sym;
    int TextX, Text2X;
  };
  template <class T>
  void Store(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Repaint();
  }
  std::vector<TEntry> CollectEntries() const;
  std::string ValueText(TChartSeries* S, int Index) const;
  TLumFont* ItemFont(int Entry) const;

  TLegendStyle legendStyle_ = lsAuto;
  TLegendTextStyle textStyle_ = ltsLeftValue;
  TLegendAlignment alignment_ = laRight;
  int topPos_ = 10, horizMargin_ = 0, vertMargin_ = 0, vertSpacing_ = 0;
  bool resizeChart_ = true;
  TPanelMarginUnits positionUnits_ = muPixels;
  int leftPercent_ = 0, topPercent_ = 0;
  std::unique_ptr<TChartPen> dividingLines_;
  bool inverted_ = false, fontSeriesColor_ = false, checkBoxes_ = false;
  TCheckBoxesStyle checkBoxesStyle_ = cbsCheck;
  std::unique_ptr<TLegendSymbol> symbol_;
  std::unique_ptr<TLegendTitle> title_;
  std::unique_ptr<TLegendItems> items_;
  int currentPage_ = 1;
  // The last Place: items, drawn rows, title box, placed.
  std::vector<TEntry> entries_;
  std::vector<TRow> rows_;
  TRect titleBox_{};
  int rowHeight_ = 0;
  bool placed_ = false;
};
