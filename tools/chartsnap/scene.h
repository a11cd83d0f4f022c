// A chart of its own on a hidden form, 520 x 360, 2D, with a title: the scenes of
// chartsnap add series to it and save it as PNG.
#pragma once
#include <cstdio>
#include <string>

#include "chart/chart.h"
#include "platform/forms.h"
#include "platform/snapshot.h"
#include "snapout.h"

struct Scene {
  TForm form{nullptr};
  TChart* chart = new TChart(&form);
  explicit Scene(const char* Title) {
    form.SetBounds(0, 0, 520, 360);
    chart->SetParent(&form);
    chart->SetBounds(0, 0, 520, 360);
    chart->SetView3D(false);
    chart->Title()->Text()->Add(Title);
  }
  // A series of the chart, its marks hidden.
  template <class S>
  S* Add(const char* Title = "") {
    auto* s = new S(&form);
    s->SetParentChart(chart);
    s->SetTitle(Title);
    s->Marks()->Hide();
    return s;
  }
  bool Save(const std::string& Path) {
    form.Show();
    return WritePng(chart, Path);
  }
};
