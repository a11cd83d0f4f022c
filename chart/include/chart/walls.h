// The walls of the plot box. In a flat chart only the back wall shows: it fills the
// plot rectangle (colour or gradient, unless transparent) and frames it with Pen.
// In 3D the left, bottom, right and back walls are slabs Size pixels thick around
// the box (a plane when Size is 0), drawn back to front before the grid:
//   left   the plane x = Left,   thickness outwards (to the left)
//   bottom the plane y = Bottom, thickness downwards
//   right  the plane x = Right,  thickness outwards (to the right); hidden at first
//   back   the plane z = depth,  thickness further back
// StartPosition and EndPosition (percent, clamped to 0..100) cut a wall to a part
// of its length, measured as the axes on it measure: the left, right and back walls
// from the top, the bottom wall from the left. An AutoHide wall is left out while the
// view looks at its outer side, where it would hide the series.
#pragma once
#include <array>
#include <memory>

#include "engine/shape.h"
#include "engine/visuals.h"

class TCustomAxisPanel;

enum TChartWallKind { cwkBack, cwkLeft, cwkBottom, cwkRight };

class TChartWall : public TLumCustomShape {
  DECLARE_CLASS(TChartWall, TLumCustomShape)
public:
  explicit TChartWall(TCustomAxisPanel* AChart, TChartWallKind AKind = cwkBack);
  ~TChartWall() override;

  TChartWallKind Kind() const { return kind_; }
  // The frame pen (the shape's Frame).
  TChartPen* Pen() const { return Frame(); }
  // Thickness in pixels in 3D views (at least 0).
  int Size() const { return size_; }
  void SetSize(int Value);
  // Shades the slab's sides (only when Size is above 0).
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool Value);
  bool AutoHide() const { return autoHide_; }
  void SetAutoHide(bool Value);
  double StartPosition() const { return startPosition_; }
  void SetStartPosition(double Value);
  double EndPosition() const { return endPosition_; }
  void SetEndPosition(double Value);

  // Fill (unless transparent) and frame of the plot rectangle R in a flat chart.
  void DrawWall(const TRect& R);
  // The wall of the plot box R with depth Depth in 3D, on the chart's canvas.
  void DrawWall3D(const TRect& R, int Depth);
  // Whether the view sees the wall's inner side (the side facing the plot).
  bool FacesViewer(const TRect& R, int Depth) const;
  // The part of R the wall spans by its positions.
  TRect SpanRect(const TRect& R) const;
  // Whether the positions leave nothing of the wall (End at or before Start).
  bool CutAway() const;
  // The wall's visual object for the visuals editor, made on first use (owner: the
  // chart). The wall frees the visual it holds when it goes; it is not streamed.
  TVisualsHolder* VisualHolder();
  bool HasVisual() const { return visual_ && visual_->Visual(); }

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  // The inner face's corners in plot coordinates (x, y, z), in the order that winds
  // clockwise on the screen when the face is seen from inside.
  std::array<std::array<int, 3>, 4> InnerFace(const TRect& R, int Depth) const;
  void DrawSidePlane(const TRect& R, int Depth);
  TChartWallKind kind_;
  int size_ = 0;
  bool dark3D_ = true;
  bool autoHide_ = false;
  double startPosition_ = 0, endPosition_ = 100;
  std::unique_ptr<TVisualsHolder> visual_;
};

// The four walls together.
class TChartWalls {
public:
  explicit TChartWalls(TCustomAxisPanel* AChart);
  TChartWall* Back() const { return back_.get(); }
  TChartWall* Left() const { return left_.get(); }
  TChartWall* Bottom() const { return bottom_.get(); }
  TChartWall* Right() const { return right_.get(); }
  // Sets the size of all four walls.
  void SetSize(int Value);
  // The visible walls of the plot box R (depth Depth), back first.
  void Draw3D(const TRect& R, int Depth);

private:
  std::unique_ptr<TChartWall> back_, left_, bottom_, right_;
};
