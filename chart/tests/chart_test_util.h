// A bare chart for pixel tests: white panel, no bevel, no margins, axes hidden and
// fixed, so values map onto known pixels.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "canvas/lumcanvas.h"
#include "canvas/lumconst.h"
#include "chart/chart.h"
#include "chart/series.h"
#include "chart/registry.h"
#include "chart/unit.h"
#include "gui_test.h"
#include "platform/forms.h"
#include "platform/testing.h"

namespace charttest {

inline void EnsureUnits() {
  static bool done = false;
  if (done) return;
  done = true;
  FormsUnitInit();  // the message loop, for tests that pump paints
  LumConstUnitInit();
  ChartUnitInit();
  RegisterStandardSeries();  // the series gallery's unit does this in the program
}

// How the chart is set for one comparison of a shortcut with the plain drawing.
struct TPathView {
  const char* Name;
  bool View3D = false, Orthogonal = true;
  int Zoom = 100, Perspective = 15;
  bool InvertX = false, InvertY = false, LogY = false;
  double From = 0.1, To = 0.9;  // the part of the positions shown, as parts of their range
};

// Flat and 3D, reversed and logarithmic, zoomed and scrolled.
inline const TPathView PathViews[] = {
    {"flat"},
    {"flat, whole range", false, true, 100, 15, false, false, false, -0.02, 1.02},
    {"flat, scrolled past the start", false, true, 100, 15, false, false, false, -0.4, 0.3},
    {"flat, reversed axes", false, true, 100, 15, true, true},
    {"flat, logarithmic", false, true, 100, 15, false, false, true},
    {"3D", true},
    {"3D zoomed out, reversed", true, true, 70, 15, true, true, false, 0.0, 1.0},
    {"3D zoomed in, logarithmic", true, true, 140, 15, false, false, true, 0.3, 0.6},
    {"3D free view", true, false, 100, 30},
};

class ChartTest : public ::testing::Test {
protected:
  static constexpr int W = 220, H = 160;

  void SetUp() override {
    EnsureUnits();
    chart = NewChart();
    chart->SetBounds(0, 0, W, H);
    chart->SetView3D(false);
    chart->SetColor(clWhite);
    chart->SetBevelOuter(bvNone);
    chart->SetMarginUnits(muPixels);
    for (int i = 0; i < 4; ++i) chart->SetMargin(i, 10);
    chart->SetAxisVisible(false);
    chart->Frame()->Hide();
    chart->Legend()->Hide();
    Range(chart->BottomAxis(), 0, 10);
    Range(chart->LeftAxis(), 0, 10);
  }

  // The chart the fixture dresses; a fixture may make one of its own class.
  virtual std::unique_ptr<TChart> NewChart() { return std::make_unique<TChart>(nullptr); }

  void TearDown() override {
    if (form) chart->SetParent(nullptr);
    form.reset();
  }

  // Shows the chart on a form and waits for its first paint; Paints counts them.
  void ShowOnForm(int& Paints) {
    chart->OnAfterDraw = TNotifyEvent([&Paints](TObject*) { ++Paints; });
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, W, H);
    chart->SetParent(form.get());
    form->Show();
    ASSERT_TRUE(TestInput::PumpUntil([&] { return Paints > 0; }));
  }

  static void Range(TChartAxis* Axis, double Min, double Max) {
    Axis->SetAutomatic(false);
    Axis->SetAutomaticMinimum(false);
    Axis->SetAutomaticMaximum(false);
    Axis->SetMinMax(Min, Max);
  }

  template <class S>
  S* Add() {
    auto* s = new S(nullptr);
    s->SetParentChart(chart.get());
    s->Marks()->Hide();
    return s;
  }

  // The whole chart drawn into a new bitmap.
  std::unique_ptr<TBitmap> Render() {
    return std::unique_ptr<TBitmap>(chart->CreateBitmap(clWhite, Rect(0, 0, W, H), pf32bit));
  }

  int Count(TBitmap* B, TColor Color, TRect R = {0, 0, W, H}) { return guitest::CountColor(B->Canvas(), R, Color); }

  // Sets the chart for View over positions First..Last (bottom axis) and values Low..High.
  void ShowPathView(const TPathView& V, double First, double Last, double Low, double High) {
    chart->SetView3D(V.View3D);
    chart->SetChart3DPercent(30);
    chart->View3DOptions()->SetOrthogonal(V.Orthogonal);
    chart->View3DOptions()->SetZoom(V.Zoom);
    chart->View3DOptions()->SetPerspective(V.Perspective);
    chart->BottomAxis()->SetInverted(V.InvertX);
    chart->LeftAxis()->SetInverted(V.InvertY);
    Range(chart->BottomAxis(), First + V.From * (Last - First), First + V.To * (Last - First));
    chart->LeftAxis()->SetLogarithmic(false);
    Range(chart->LeftAxis(), V.LogY && Low <= 0 ? 0.5 : Low, High);
    chart->LeftAxis()->SetLogarithmic(V.LogY);
  }

  // The chart drawn through a canvas that draws pixels but may say it records
  // operations, which leaves every series on its plain path (a figure per point).
  // Figures counts the lines and rectangles it was handed.
  std::vector<TColor> Picture(bool Plain, long* Figures = nullptr) {
    struct TCanvasOfPath : TLumCanvas3D {
      bool plain = false;
      long figures = 0;
      bool DrawsToPixels() const override { return !plain; }
      void LineTo(int X, int Y) override {
        ++figures;
        TLumCanvas3D::LineTo(X, Y);
      }
      void PolylineTo(const TPoint* Points, int Count) override {
        figures += Count;
        TLumCanvas3D::PolylineTo(Points, Count);
      }
      void Rectangle(int X0, int Y0, int X1, int Y1) override {
        ++figures;
        TLumCanvas3D::Rectangle(X0, Y0, X1, Y1);
      }
      void Polygon(const TPoint* Points, int Count) override {
        ++figures;
        TLumCanvas3D::Polygon(Points, Count);
      }
      void FillRect(const TRect& R) override {
        ++figures;
        TLumCanvas3D::FillRect(R);
      }
      void Ellipse(int X0, int Y0, int X1, int Y1) override {
        ++figures;
        TLumCanvas3D::Ellipse(X0, Y0, X1, Y1);
      }
    };
    auto* canvas = new TCanvasOfPath;
    canvas->plain = Plain;
    chart->SetCanvas(canvas);
    chart->Draw(chart->ClientRect());
    if (Figures) *Figures = canvas->figures;
    std::vector<TColor> pixels;
    TCanvas* c = canvas->Bitmap()->Canvas();
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) pixels.push_back(c->Pixels(x, y));
    return pixels;
  }
  // The pictures of the shortcuts and of the plain path are the same pixel for pixel;
  // answers how many pixels differ from Background in it.
  // Shortcut and Plain, when given, take the figures each drawing handed over.
  int ExpectPlainPicture(TColor Background = clWhite, long* Shortcut = nullptr, long* Plain = nullptr) {
    const std::vector<TColor> fast = Picture(false, Shortcut), plain = Picture(true, Plain);
    int differ = 0, drawn = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
      drawn += plain[i] != Background;
      if (fast[i] != plain[i] && differ++ < 5)
        ADD_FAILURE() << "pixel " << i % W << "," << i / W << ": " << fast[i] << ", plain " << plain[i];
    }
    EXPECT_EQ(differ, 0);
    return drawn;
  }

  std::unique_ptr<TChart> chart;
  std::unique_ptr<TForm> form;
};

}  // namespace charttest
