// The chart drawing surface: TLumCanvas (2D operations and drawing state over a platform
// canvas) -> TCanvas3D (the abstract 3D operations and projection every drawing routine
// receives) -> TLumCanvas3D (the standard canvas, with its off-screen buffer).
//
// Projection. Every 3D operation reaches the screen through the projection of
// TLumCanvas3D (ProjectPoint and the operations built on it). A plain canvas (not 3D,
// no view options) and a canvas whose rotation is disabled project flat: (X, Y, Z)
// lands on (X, Y). See TLumCanvas3D for the projected views.
#pragma once
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "canvas/attributes.h"
#include "canvas/geometry.h"
#include "platform/graphics.h"

// ---------------------------------------------------------------------------
// A chart's 3D view. Each setter stores a changed value and calls OnChange (the chart
// repaints from it); SetRotation/SetElevation and their Float forms share one value.
// How a chart's texts are sized when drawn:
//   ztManual  every font at FontZoom percent of its size;
//   ztNo      every font at its own size (FontZoom and the view's zoom left out);
//   ztAuto    at FontZoom percent, and in 3D also at the view's Zoom percent, so
//             texts grow and shrink with the zoomed picture.
enum TZoomText { ztManual, ztNo, ztAuto };

class TView3DOptions : public TLumAttribute {
  DECLARE_CLASS(TView3DOptions, TLumAttribute)
public:
  explicit TView3DOptions(TNotifyEvent OnChangeEvent = {}) : TLumAttribute(std::move(OnChangeEvent)) {}

  bool Orthogonal() const { return orthogonal_; }
  void SetOrthogonal(bool Value) { Store(orthogonal_, Value); }
  int OrthoAngle() const { return orthoAngle_; }
  void SetOrthoAngle(int Value) { Store(orthoAngle_, Value); }
  int Zoom() const { return zoom_; }  // percent
  void SetZoom(int Value) { Store(zoom_, Value); }
  int Perspective() const { return perspective_; }  // percent
  void SetPerspective(int Value) { Store(perspective_, Value); }
  // Degrees; the integer properties read the stored doubles rounded half to even.
  int Rotation() const;
  void SetRotation(int Value) { SetRotationFloat(Value); }
  double RotationFloat() const { return rotation_; }
  void SetRotationFloat(double Value) { Store(rotation_, Value); }
  int Elevation() const;
  void SetElevation(int Value) { SetElevationFloat(Value); }
  double ElevationFloat() const { return elevation_; }
  void SetElevationFloat(double Value) { Store(elevation_, Value); }
  int HorizOffset() const { return horizOffset_; }  // pixels
  void SetHorizOffset(int Value) { Store(horizOffset_, Value); }
  int VertOffset() const { return vertOffset_; }
  void SetVertOffset(int Value) { Store(vertOffset_, Value); }
  // How texts are sized; see TZoomText.
  TZoomText ZoomText() const { return zoomText_; }
  void SetZoomText(TZoomText Value) { Store(zoomText_, Value); }
  int FontZoom() const { return fontZoom_; }  // percent; see TZoomText
  void SetFontZoom(int Value) { Store(fontZoom_, Value); }

  void Assign(TPersistent* Source) override;
  static void DefineProperties(TPropertyTable& t);

private:
  bool orthogonal_ = true;
  int orthoAngle_ = 45;
  int zoom_ = 100;
  int perspective_ = 15;
  double rotation_ = 345;
  double elevation_ = 345;
  int horizOffset_ = 0;
  int vertOffset_ = 0;
  TZoomText zoomText_ = ztAuto;
  int fontZoom_ = 100;
};

class TLumCanvas;

// An area of a canvas captured before something is drawn over it; blending puts the
// captured pixels back over the new drawing with Transparency percent showing, so the
// drawing looks see-through. One object may be used repeatedly: SetRectangle captures
// anew, DoBlend blends back (the capture is kept). Only what still exists is blended
// back: nothing once the canvas is detached, freed or bound elsewhere, and only the
// part still inside the image (and the clip) after a resize.
class TLumBlend {
public:
  TLumBlend(TLumCanvas* ACanvas, const TRect& R);
  ~TLumBlend();
  TLumBlend(const TLumBlend&) = delete;
  TLumBlend& operator=(const TLumBlend&) = delete;

  void SetRectangle(const TRect& R);
  // Transparency percent (clamped to 0..100) of the captured pixels over the drawing.
  void DoBlend(int Transparency);
  TLumCanvas* Canvas() const { return canvas_; }

private:
  friend class TLumCanvas;
  void Forget();  // drops the capture (the canvas's state was reset)
  TLumCanvas* canvas_;
  TCanvas* source_ = nullptr;  // the platform canvas captured from
  TRect rect_{};
  std::unique_ptr<TBitmap> pixels_;
  int transparency_ = 0;  // BeginBlending's, for EndBlending
};

// Background of text, hatches and styled lines.
enum TCanvasBackMode { cbmNone = 0, cbmTransparent = 1, cbmOpaque = 2 };

// ---------------------------------------------------------------------------
// 2D operations draw on the platform canvas the object is attached to, with that
// canvas's geometry: LineTo leaves out its end pixel, Rectangle and Ellipse leave out
// the right and bottom edge. A canvas attached to nothing draws nothing; its pen, brush
// and font are then those of a private canvas bound to no image, which measures text.
class TLumCanvas : public TObject {
  DECLARE_CLASS(TLumCanvas, TObject)
public:
  TLumCanvas();
  ~TLumCanvas() override;

  // Binds drawing to ACanvas (not owned): its pen, brush and font become this
  // canvas's. nullptr detaches.
  virtual void AttachCanvas(TCanvas* ACanvas);
  TCanvas* ReferenceCanvas() const { return canvas_; }
  TPen* Pen() const;
  TBrush* Brush() const;
  TFont* Font() const;

  // -- lines (the pen)
  virtual void MoveTo(int X, int Y);
  virtual void LineTo(int X, int Y);
  // LineTo to each of Count points in turn, in one call to the device.
  virtual void PolylineTo(const TPoint* Points, int Count);
  // A line reduced to screen columns, in one call to the device (TCanvas::ColumnLineTo).
  virtual void ColumnLineTo(const TLineColumn* Columns, int Count);
  void HorizLine(int X0, int X1, int Y);
  void VertLine(int X, int Y0, int Y1);
  void Line(int X0, int Y0, int X1, int Y1);
  void LinePoints(const TPoint& P0, const TPoint& P1);

  // -- shapes (filled with the brush, or the canvas gradient while it is visible;
  //    outlined with the pen)
  virtual void Rectangle(int X0, int Y0, int X1, int Y1);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void DrawRect(const TRect& R) { Rectangle(R); }
  // Brush only.
  virtual void FillRect(const TRect& R);
  virtual void Ellipse(int X0, int Y0, int X1, int Y1);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  virtual void Polygon(const TPoint* Points, int Count);
  void Polygon(const std::vector<TPoint>& Points) { Polygon(Points.data(), int(Points.size())); }

  // -- pictures
  virtual void Draw(int X, int Y, TGraphic* Graphic);
  virtual void StretchDraw(const TRect& R, TGraphic* Graphic);

  // -- clipping: a stack; each push intersects the current clip, each pop restores
  //    the one before (a pop on an empty stack does nothing).
  virtual void ClipRectangle(const TRect& R);
  virtual void UnClipRectangle();

  // -- text (in the font colour, the cell's top-left at X, Y unless TextAlign says
  //    otherwise)
  void SetBackMode(TCanvasBackMode Mode);
  TCanvasBackMode BackMode() const;
  void SetBackColor(TColor Value);
  TColor BackColor() const;
  unsigned TextAlign() const;
  void SetTextAlign(unsigned Value);  // TA_* flags of the platform
  virtual void TextOut(int X, int Y, const std::string& Text);
  // Text turned Angle degrees counter-clockwise about X, Y.
  virtual void RotateLabel(int X, int Y, const std::string& Text, double Angle);
  // With AllowHtml the text is formatted (canvas/richtext.h) from the current font and
  // placed by the top-left of its first line (TA_RIGHT and TA_CENTER align each line);
  // text that does not parse is written plainly, so a paint never raises. Without
  // AllowHtml: TextOut. The canvas's font and alignment are kept.
  void TextOutRich(int X, int Y, const std::string& Text, bool AllowHtml);
  // Width of the widest line and height of all lines, as TextOutRich would draw them.
  TSize RichTextExtent(const std::string& Text, bool AllowHtml);
  int TextWidth(const std::string& Text);
  int TextHeight(const std::string& Text);
  // Height of "W" in the current font.
  int FontHeight();
  // Selects AFont: name, style, colour, character set, letter spacing, quality, and
  // its height scaled by FontZoom percent; its drawing extras (outline, gradient,
  // picture, shadow, emboss, depth; see TLumFont) apply to TextOut, RotateLabel and
  // every run of TextOutRich until the next
  // AssignFont or ResetState.
  void AssignFont(TLumFont* AFont);
  int FontZoom() const { return fontZoom_; }
  void SetFontZoom(int Value) { fontZoom_ = Value; }

  // -- drawing state
  // Pen black, width 1, solid, copy mode; brush white, solid; font the platform's
  // default in black; canvas gradient back to its defaults (hidden); text aligned
  // top-left. The background follows the brush, as on the device (solid: opaque).
  void ResetState();
  // The canvas pen takes APen's style, width and colour (AColor for ApplyPenColor);
  // a hidden pen leaves the canvas pen clear.
  void ApplyPen(TChartPen* APen);
  void ApplyPenColor(TChartPen* APen, TColor AColor);
  // The canvas brush takes ABrush's style, image or pattern bitmap, with AColor as
  // fill colour and ABrush's Color as background colour.
  void ApplyBrushWithBack(TChartBrush* ABrush, TColor AColor);
  // The same with both colours given. A background of clNone (or an unresolved
  // clLumColor) leaves the gaps of a pattern transparent. A visible brush gradient becomes the canvas gradient, which
  // then fills the shapes instead of the brush; otherwise the canvas gradient is hidden.
  void ApplyBrushColors(TChartBrush* ABrush, TColor AFill, TColor ABack);
  // The canvas's own gradient, created on first use.
  TLumGradient* GetGradient();

  // -- blending: BeginBlending captures R and answers a blend the caller owns;
  //    EndBlending blends it back with its transparency and frees it (nullptr: nothing).
  //    ResetState turns blending off: open blends drop their capture.
  TLumBlend* BeginBlending(const TRect& R, int Transparency);
  void EndBlending(TLumBlend* Blend);

  virtual bool SupportsXORMode() const { return true; }
  virtual bool SupportsFullRotation() const { return false; }
  // Whether drawing lands on the pixels of an image as it is called, so that a caller
  // may leave out figures that would set no pixel of its own; a canvas that records
  // the operations answers false.
  virtual bool DrawsToPixels() const { return true; }
  // Whether the attached device draws lines with antialiasing.
  bool Antialiased() const;
  bool GetMonochrome() const { return monochrome_; }
  void SetMonochrome(bool Value) { monochrome_ = Value; }

protected:
  // Whether shape fills go through the canvas gradient.
  bool GradientFills() const { return gradient_ && gradient_->Visible(); }
  // Fills the shape Outline (bounding box Bounds; nullptr: the box itself) with the
  // canvas gradient.
  void FillGradient(const TRect& Bounds, const std::vector<TPoint>* Outline);

private:
  // The attached canvas, else the private one.
  TCanvas* Current() const;
  // The one way text reaches the device: plain, or with the selected font's drawing
  // extras (TextOut, RotateLabel and each run of TextOutRich come through here).
  void DrawText(int X, int Y, const std::string& Text);
  void TextOutWithExtras(int X, int Y, const std::string& Text);
  std::unique_ptr<TLumFont> fontExtras_;  // a copy, while the selected font has extras
  TCanvas* canvas_ = nullptr;
  mutable std::unique_ptr<TCanvas> detached_;
  std::unique_ptr<TLumGradient> gradient_;
  bool monochrome_ = false;
  int fontZoom_ = 100;
  friend class TLumBlend;
  std::vector<TLumBlend*> blends_;  // live blends, told when this canvas goes
};

// ---------------------------------------------------------------------------
// Planes a picture can be mapped onto: the front plane at a depth, a side plane at an
// X, the floor plane at a Y.
enum TCanvas3DPlane { cpFront, cpSide, cpFloor };

class TCanvas3D : public TLumCanvas {
  DECLARE_CLASS(TCanvas3D, TLumCanvas)
public:
  // The view of the current frame (nullptr outside a frame or for a plain canvas).
  TView3DOptions* View3DOptions() const { return view3DOptions_; }
  void SetView3DOptions(TView3DOptions* Value) { view3DOptions_ = Value; }
  bool Is3D() const { return is3D_; }
  void SetIs3D(bool Value) { is3D_ = Value; }

  // Nestable: while any DisableRotation is open, drawing is flat.
  void DisableRotation() { ++rotationDisabled_; }
  void EnableRotation() { if (rotationDisabled_ > 0) --rotationDisabled_; }
  bool RotationDisabled() const { return rotationDisabled_ > 0; }
  // Whether drawing lands where it is given (not 3D, no view, or rotation disabled).
  bool FlatProjection() const { return !is3D_ || !view3DOptions_ || RotationDisabled(); }

  // -- projection
  virtual TPoint ProjectPoint(int X, int Y, int Z) const = 0;
  // The plot coordinates that project onto screen point X, Y at depth Z.
  virtual TPoint InverseProject(int X, int Y, int Z) const = 0;
  // R at depth Z projected: its projected top-left and bottom-right corners.
  TRect ProjectRect(const TRect& R, int Z) const;
  // Top-left, top-right, bottom-right, bottom-left, projected.
  std::array<TPoint, 4> ProjectRectCorners(const TRect& R, int Z) const;
  TRect ProjectedRectBounds(const TRect& R, int Z) const;
  // ProjectPoint of Count points at depth Z into Out (the very same pixels), for
  // series that project whole runs of points.
  virtual void ProjectPoints(const TPoint* Points, int Count, int Z, TPoint* Out) const;
  // One axis of a projection that keeps X and Y apart, at one depth: a coordinate V
  // lands on Center + Zoom * ((V - Center) + Shift) + Offset, rounded half to even
  // (kept within +-2^30) as ProjectPoint rounds; a flat one leaves V where it is.
  struct TAxisProjection {
    bool Flat = true;
    double Center = 0, Zoom = 1, Shift = 0, Offset = 0;
    // Unzoomed, with Shift + Offset a whole number By and a fraction clear of a half:
    // every coordinate within Reach then moves by By (the sum's rounding cannot tip).
    bool Moves = false;
    int By = 0;
    static constexpr int Reach = 1 << 24;
    int operator()(int V) const {
      if (Flat) return V;
      if (Moves && V >= -Reach && V <= Reach) return V + By;
      return RoundPixel(Center + Zoom * ((V - Center) + Shift) + Offset);
    }
    // A projection that is not flat, with Moves and By where they apply.
    static TAxisProjection Of(double Center, double Zoom, double Shift, double Offset) {
      TAxisProjection p{false, Center, Zoom, Shift, Offset};
      const double s = Shift + Offset, whole = std::nearbyint(s);
      p.Moves = Zoom == 1 && std::fabs(s) < Reach && std::fabs(Center) < Reach && 0.5 - std::fabs(s - whole) > 1e-6;
      p.By = p.Moves ? int(whole) : 0;
      return p;
    }
  };
  // A projected coordinate rounded half to even, NaN to 0, within +-2^30.
  static int RoundPixel(double V) {
    constexpr double limit = 1073741824.0, magic = 6755399441055744.0;  // 2^30; 1.5 * 2^52
    return V == V ? int((std::clamp(V, -limit, limit) + magic) - magic) : 0;
  }
  // Whether the projection at a depth moves X and Y each on its own (flat and
  // orthogonal views): the screen X of a point then depends on its X alone
  // (ProjectionX) and never decreases as X grows, and likewise Y (ProjectionY).
  virtual bool SeparableProjection() const { return false; }
  virtual TAxisProjection ProjectionX(int) const { return {}; }
  virtual TAxisProjection ProjectionY(int) const { return {}; }

  // -- 3D operations
  virtual void HorizLine3D(int X0, int X1, int Y, int Z) = 0;
  virtual void VertLine3D(int X, int Y0, int Y1, int Z) = 0;
  virtual void ZLine3D(int X, int Y, int Z0, int Z1) = 0;
  virtual void MoveTo3D(int X, int Y, int Z) = 0;
  virtual void LineTo3D(int X, int Y, int Z) = 0;
  // LineTo3D to each of Count points at depth Z in turn.
  virtual void PolylineTo3D(const TPoint* Points, int Count, int Z) = 0;
  virtual void LineWithZ(int X0, int Y0, int X1, int Y1, int Z) = 0;
  void LineWithZPoints(const TPoint& P0, const TPoint& P1, int Z) { LineWithZ(P0.X, P0.Y, P1.X, P1.Y, Z); }
  virtual void RectangleWithZ(const TRect& R, int Z) = 0;
  virtual void EllipseWithZ(const TRect& R, int Z) = 0;
  // Through the midpoints of R's sides.
  virtual void Diamond(const TRect& R, int Z) = 0;
  // A line from FromPoint to ToPoint ending in a head ArrowWidth wide and ArrowHeight
  // long; the body is BodyPercent percent of the head's width. Filled: with the brush.
  virtual void Arrow(bool Filled, const TPoint& FromPoint, const TPoint& ToPoint, int ArrowWidth,
                     int ArrowHeight, int Z, double BodyPercent) = 0;
  virtual void TextOut3D(int X, int Y, int Z, const std::string& Text) = 0;
  virtual void RotateLabel3D(int X, int Y, int Z, const std::string& Text, double Angle) = 0;
  // Graphic mapped onto a plane: cpFront, R at depth Z; cpSide, the plane x = Z with
  // R.Left..R.Right running in depth (left edge of the picture at R.Left) and
  // R.Top..R.Bottom down; cpFloor, the plane y = Z with R.Left..R.Right across and
  // R.Top..R.Bottom in depth (the picture's top at the far depth R.Bottom, its bottom at
  // R.Top, as a floor seen from the front). A plane seen edge-on draws nothing.
  virtual void DrawPicture(TCanvas3DPlane Plane, TGraphic* Graphic, const TRect& R, int Z) = 0;
  // A box from depth Z0 to Z1 over R: its visible faces filled with the brush and
  // outlined with the pen, back to front. DarkSides shades the top and bottom to 7/8 and
  // the left and right sides to 3/4 of the brush colour.
  virtual void CubeFromRect(const TRect& R, int Z0, int Z1, bool DarkSides) = 0;
  // Count boxes over Rects drawn in turn as CubeFromRect draws each, box I with the
  // brush in Colors[I] (nullptr: the brush's colour); the brush keeps its colour. A
  // canvas may draw them in one go (the same pixels).
  virtual void CubesFromRects(const TRect* Rects, const TColor* Colors, int Count, int Z0, int Z1, bool DarkSides);
  virtual void PolygonWithZ(const std::vector<TPoint>& Points, int Z) = 0;
  // Pushes a clip to the outline of the projected box (paired with UnClipRectangle).
  virtual void ClipCube(const TRect& R, int Z0, int Z1) = 0;

private:
  TView3DOptions* view3DOptions_ = nullptr;
  bool is3D_ = false;
  int rotationDisabled_ = 0;
};

// ---------------------------------------------------------------------------
// The standard canvas. A frame goes: InitWindow (binds drawing to the off-screen
// buffer, or straight to the destination when BufferedDisplay is off), drawing,
// ShowImage (copies the buffer to the destination). The buffer keeps the last frame;
// Dirty says whether it must be drawn again before it is shown.
//
// Projection of a point (x, y, z) of the plot (y down, z into the screen, depth 0 the
// front plane), with the centre (xc, yc) of the rectangle given to CalcPerspective,
// zoom f = Zoom / 100 and the offsets (hx, vx) = (HorizOffset, VertOffset):
//   flat (not Is3D, no view options, or rotation disabled): (x, y).
//   orthogonal, a = OrthoAngle:  X = xc + f (x - xc + z cos a) + hx
//                                Y = yc + f (y - yc - z sin a) + vx
//     so depth runs up and to the right at 45 degrees, up and to the left at 135.
//   free view, r = Rotation, e = Elevation, turning about the plot box centre
//   (xc, yc, zc), zc half the depth given to CalcPerspective:
//     dx = x - xc, dy = y - yc, dz = z - zc
//     x1 = dx cos r - dz sin r           z1 = dx sin r + dz cos r     (about the vertical)
//     y2 = dy cos e + z1 sin e           z2 = z1 cos e - dy sin e     (about the horizontal)
//     w  = 1 + z2 / D, D = max(width, height) * 100 / Perspective  (w = 1 without
//          perspective)
//     X = xc + f x1 / w + hx             Y = yc + f y2 / w + vx
//   so at Rotation and Elevation 345 the box shows its front, top and right side, and
//   Rotation 360 / Elevation 360 looks straight at the front.
// Guards: Zoom below 1 counts as 1 (0 or negative would collapse or mirror the
// picture); a point at or behind the eye (w below 1/10) is projected as if at w = 1/10,
// so nothing divides by zero or turns over; results are kept within +-2^30.
//
// Why SupportsFullRotation is false: the chart paints back to front in a fixed order
// (back wall, grid, series farthest first, front axes) with no depth buffer, which is
// right only while the box is seen from the front and above (elevation 270..360, the
// rotate tool's limit without full rotation). Turned further, hidden parts would paint
// over visible ones.
class TLumCanvas3D : public TCanvas3D {
  DECLARE_CLASS(TLumCanvas3D, TCanvas3D)
public:
  TLumCanvas3D();
  ~TLumCanvas3D() override;

  // Starts a frame for UserRect of DestCanvas. Buffered, drawing goes to a buffer
  // covering (0, 0)-(UserRect.Right, UserRect.Bottom) at the destination's coordinates,
  // with the destination's pen, brush and font, filled with ABackColor unless that is
  // clNone, its clip stack emptied. Answers the canvas drawn on.
  TCanvas* InitWindow(TCanvas* DestCanvas, TView3DOptions* A3DOptions, TColor ABackColor, bool AIs3D,
                      const TRect& UserRect);
  // Copies UserRect of the buffer to DestCanvas (nothing when unbuffered) and clears
  // Dirty.
  void ShowImage(TCanvas* DestCanvas, const TRect& UserRect);
  bool BufferedDisplay() const { return buffered_; }
  void SetBufferedDisplay(bool Value);
  // The buffer (nullptr before the first buffered frame).
  TBitmap* Bitmap() const { return buffer_.get(); }
  bool Dirty() const { return dirty_; }
  void Invalidate() { dirty_ = true; }

  // Recompute the projection after the view's angles, zoom, perspective or offsets
  // changed (CalcTrigValues), or the frame's rectangle and depth (CalcPerspective,
  // which also recomputes the rest).
  void CalcTrigValues();
  void CalcPerspective(const TRect& Rect, int Depth = 0);
  // Centre of the rectangle last given to CalcPerspective or InitWindow.
  int XCenter() const { return xCenter_; }
  int YCenter() const { return yCenter_; }

  TPoint ProjectPoint(int X, int Y, int Z) const override;
  TPoint InverseProject(int X, int Y, int Z) const override;
  void ProjectPoints(const TPoint* Points, int Count, int Z, TPoint* Out) const override;
  bool SeparableProjection() const override { return Kind() != TViewKind::Free; }
  TAxisProjection ProjectionX(int Z) const override;
  TAxisProjection ProjectionY(int Z) const override;

  void HorizLine3D(int X0, int X1, int Y, int Z) override;
  void VertLine3D(int X, int Y0, int Y1, int Z) override;
  void ZLine3D(int X, int Y, int Z0, int Z1) override;
  void MoveTo3D(int X, int Y, int Z) override;
  void LineTo3D(int X, int Y, int Z) override;
  void PolylineTo3D(const TPoint* Points, int Count, int Z) override;
  void LineWithZ(int X0, int Y0, int X1, int Y1, int Z) override;
  void RectangleWithZ(const TRect& R, int Z) override;
  void EllipseWithZ(const TRect& R, int Z) override;
  void Diamond(const TRect& R, int Z) override;
  void Arrow(bool Filled, const TPoint& FromPoint, const TPoint& ToPoint, int ArrowWidth, int ArrowHeight,
             int Z, double BodyPercent) override;
  void TextOut3D(int X, int Y, int Z, const std::string& Text) override;
  void RotateLabel3D(int X, int Y, int Z, const std::string& Text, double Angle) override;
  void DrawPicture(TCanvas3DPlane Plane, TGraphic* Graphic, const TRect& R, int Z) override;
  void CubeFromRect(const TRect& R, int Z0, int Z1, bool DarkSides) override;
  void CubesFromRects(const TRect* Rects, const TColor* Colors, int Count, int Z0, int Z1, bool DarkSides) override;
  void PolygonWithZ(const std::vector<TPoint>& Points, int Z) override;
  void ClipCube(const TRect& R, int Z0, int Z1) override;

private:
  enum class TViewKind { Flat, Orthogonal, Free };
  // The view drawing uses now (flat while rotation is disabled).
  TViewKind Kind() const;
  // Screen position (not rounded) and turned depth z2 of a plot point.
  void Project(double X, double Y, double Z, double& SX, double& SY, double& Depth) const;
  // The orthogonal and free views of one point (what Project computes for them).
  // (TAxisProjection computes the same, term for term.)
  void ProjectOrthogonal(double X, double Y, double Z, double& SX, double& SY) const {
    SX = xCenter_ + zoom_ * ((X - xCenter_) + Z * orthoCos_) + hOffset_;
    SY = yCenter_ + zoom_ * ((Y - yCenter_) + -(Z * orthoSin_)) + vOffset_;
  }
  void ProjectFree(double X, double Y, double Z, double& SX, double& SY, double& Depth) const;
  TPoint ToScreen(double X, double Y, double Z) const;
  // Whether plot rectangles at a depth stay screen rectangles (flat or orthogonal).
  bool KeepsRectangles() const { return Kind() != TViewKind::Free; }
  void DrawOnQuad(TGraphic* Graphic, const std::array<TPoint, 4>& Quad);
  // The faces of a box CubeFromRect shows, farthest first (their count): screen
  // corners, and the share of the brush colour a dark side keeps (of 256).
  struct TCubeFace {
    std::array<TPoint, 4> Points;
    int Keep;
  };
  int CubeFaces(const TRect& R, int Z0, int Z1, TCubeFace* Out) const;

  std::unique_ptr<TBitmap> buffer_;
  bool buffered_ = true;
  bool dirty_ = true;
  int xCenter_ = 0;
  int yCenter_ = 0;
  // The projection of the current frame, from CalcTrigValues.
  TRect rect_{};
  int depth_ = 0;
  double zoom_ = 1, hOffset_ = 0, vOffset_ = 0, zCenter_ = 0;
  double orthoCos_ = 0, orthoSin_ = 0;
  double cosR_ = 1, sinR_ = 0, cosE_ = 1, sinE_ = 0;
  double invEye_ = 0;  // 1 / D, 0 without perspective
};
