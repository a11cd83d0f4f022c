// Series marks: the text box a series shows at a point, with its margins, its
// callout (the arrow between box and point) and the positions of the last drawing.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/series.h"
#include "engine/shape.h"

// Space between a box and its text. Units: 0 percent of the font height, 1 percent
// of the box size (left and right of its width, top and bottom of its height),
// 2 pixels.
enum TMarginUnits { maPercentFont, maPercentSize, maPixels };

class TMargins : public TLumAttribute {
  DECLARE_CLASS(TMargins, TLumAttribute)
public:
  explicit TMargins(TNotifyEvent OnChangeEvent = {}) : TLumAttribute(std::move(OnChangeEvent)) {}

  int Left() const { return left_; }
  void SetLeft(int Value) { Store(left_, Value); }
  int Top() const { return top_; }
  void SetTop(int Value) { Store(top_, Value); }
  int Right() const { return right_; }
  void SetRight(int Value) { Store(right_, Value); }
  int Bottom() const { return bottom_; }
  void SetBottom(int Value) { Store(bottom_, Value); }
  TMarginUnits Units() const { return units_; }
  void SetUnits(TMarginUnits Value) { Store(units_, Value); }
  // Left + Right, Top + Bottom (in Units).
  int HorizSize() const { return left_ + right_; }
  int VertSize() const { return top_ + bottom_; }
  // The four margins in pixels (as Left, Top, Right, Bottom of the answer) for a box
  // of Width x Height in a font FontHeight pixels high; percentages round half to even.
  TRect CalcPixels(int Width, int Height, int FontHeight) const;

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
  TMarginUnits units_ = maPercentFont;
};

enum TArrowHeadStyle { ahNone, ahLine, ahSolid };

// An arrow to a point, with a head and the pointer symbol (the inherited pointer
// properties) at the point. The symbol is hidden at first.
class TCallout : public TSeriesPointer {
  DECLARE_CLASS(TCallout, TSeriesPointer)
public:
  explicit TCallout(TChartSeries* AOwner = nullptr);
  ~TCallout() override;

  // The chart drawn on and repainted when there is no series (annotations).
  TCustomAxisPanel* ParentChart() const;
  void SetParentChart(TCustomAxisPanel* Value) { chart_ = Value; }

  TChartPen* Arrow() const { return arrow_.get(); }
  void SetArrow(TChartPen* Value) { arrow_->Assign(Value); }
  TArrowHeadStyle ArrowHead() const { return arrowHead_; }
  void SetArrowHead(TArrowHeadStyle Value) { Store(arrowHead_, Value); }
  int ArrowHeadSize() const { return arrowHeadSize_; }
  void SetArrowHeadSize(int Value) { Store(arrowHeadSize_, Value); }
  // Pixels the arrow stops short of the point.
  int Distance() const { return distance_; }
  void SetDistance(int Value) { Store(distance_, Value); }

  // The arrow from From to To at depth Z, its head at To, then the symbol at To in
  // AColor when visible. Draws on the series' chart, else on ParentChart.
  void Draw(TColor AColor, const TPoint& From, const TPoint& To, int Z);
  // The same on a given canvas.
  void DrawOn(TCanvas3D* Canvas, TColor AColor, const TPoint& From, const TPoint& To, int Z);

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

protected:
  // Repaints the series, else ParentChart.
  void Changed(TObject* Sender) override;

private:
  TCustomAxisPanel* chart_ = nullptr;
  std::unique_ptr<TChartPen> arrow_;
  TArrowHeadStyle arrowHead_ = ahNone;
  int arrowHeadSize_ = 8;
  int distance_ = 0;
};

// The callout of series marks: Length pixels between point and mark.
class TMarksCallout : public TCallout {
  DECLARE_CLASS(TMarksCallout, TCallout)
public:
  explicit TMarksCallout(TChartSeries* AOwner = nullptr) : TCallout(AOwner) {}
  int Length() const { return length_; }
  void SetLength(int Value) { Store(length_, Value); }
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  int length_ = 8;
};

// The place of one mark: its box's top-left corner and size, and the arrow's ends.
// A custom position is kept by the drawing; others are recomputed each time.
struct TSeriesMarkPosition {
  bool Custom = false;
  TPoint LeftTop{};
  int Width = 0, Height = 0;
  TPoint ArrowFrom{}, ArrowTo{};
  TRect Bounds() const { return {LeftTop.X, LeftTop.Y, LeftTop.X + Width, LeftTop.Y + Height}; }
};

class TSeriesMarksPositions {
public:
  int Count() const { return int(items_.size()); }
  // The position of a mark, created (automatic) when missing; EListError below 0.
  TSeriesMarkPosition& Position(int Index);
  // nullptr when none is kept for Index.
  const TSeriesMarkPosition* Find(int Index) const;
  // A custom position at LeftTop (the size is kept; the arrow ends are kept).
  void SetCustom(int Index, const TPoint& LeftTop);
  // Index back to automatic.
  void Automatic(int Index);
  bool ExistCustom() const;
  void Clear() { items_.clear(); }
  // Follow the points: the position of a deleted point goes with it, and after a
  // sort position i is the one of the point now at i (Order[i] its old index).
  void Delete(int Index);
  void Permute(const std::vector<int>& Order);

private:
  std::vector<TSeriesMarkPosition> items_;
};

// The texts Style gives, in the order the series page lists them.
enum TSeriesMarksStyle {
  smsValue, smsPercent, smsLabel, smsLabelPercent, smsLabelValue, smsLegend, smsPercentTotal,
  smsLabelPercentTotal, smsXValue, smsXY, smsSeriesTitle, smsPointIndex, smsPercentRelative
};

class TSeriesMarks : public TLumCustomShape {
  DECLARE_CLASS(TSeriesMarks, TLumCustomShape)
public:
  explicit TSeriesMarks(TChartSeries* ASeries = nullptr);
  ~TSeriesMarks() override;
  TChartSeries* ParentSeries() const { return series_; }

  TSeriesMarksStyle Style() const { return style_; }
  void SetStyle(TSeriesMarksStyle Value);
  // Degrees the text turns anticlockwise; the box holds the turned text.
  int Angle() const { return angle_; }
  void SetAngle(int Value);
  // Every DrawEvery-th point (by index) gets a mark; below 1 acts as 1.
  int DrawEvery() const { return drawEvery_; }
  void SetDrawEvery(int Value);
  // Texts of two parts put them on two lines.
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool Value);
  // Of each line inside the box.
  TAlignment TextAlign() const { return textAlign_; }
  void SetTextAlign(TAlignment Value);
  // The text in the point's colour.
  bool FontSeriesColor() const { return fontSeriesColor_; }
  void SetFontSeriesColor(bool Value);
  // Marks drawn inside the plot rectangle only.
  bool Clip() const { return clip_; }
  void SetClip(bool Value);
  // A small box in the point's colour before the text (hidden at first).
  TLumCustomShape* Symbol() const { return symbol_.get(); }
  TMargins* Margins() const { return margins_.get(); }
  void SetMargins(TMargins* Value) { margins_->Assign(Value); }
  TMarksCallout* Callout() const { return callout_.get(); }
  void SetCallout(TMarksCallout* Value) { callout_->Assign(Value); }
  // The callout's pen and length under their older names.
  TChartPen* Arrow() const { return callout_->Arrow(); }
  int ArrowLength() const { return callout_->Length(); }
  void SetArrowLength(int Value) { callout_->SetLength(Value); }
  // Where each mark was drawn, and custom places.
  TSeriesMarksPositions& Positions() { return positions_; }

  // The index of the mark whose box (of the last drawing) holds (X, Y), the last
  // drawn first; -1 when none.
  int Clicked(int X, int Y) const;
  // Draws the mark of one point whose pixel position is (X, Y): above it, Length
  // pixels away, or at its custom position.
  void DrawMark(int ValueIndex, const std::string& Text, int X, int Y);
  // Width and height of the mark box of a text on the chart's canvas (0, 0 without one).
  TSize MarkSize(const std::string& Text) const;

  void SetParentChart(TCustomAxisPanel* Value) override;
  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  struct Layout;
  Layout LayoutOf(TCanvas3D* C, const std::string& Text) const;

  TChartSeries* series_;
  TSeriesMarksStyle style_ = smsLabel;
  int angle_ = 0;
  int drawEvery_ = 1;
  bool multiLine_ = false;
  TAlignment textAlign_ = taCenter;
  bool fontSeriesColor_ = false;
  bool clip_ = false;
  std::unique_ptr<TLumCustomShape> symbol_;
  std::unique_ptr<TMargins> margins_;
  std::unique_ptr<TMarksCallout> callout_;
  TSeriesMarksPositions positions_;
};

// The classes of this file that register for the property walk and the editors.
std::vector<TClass> ShapeClasses();
