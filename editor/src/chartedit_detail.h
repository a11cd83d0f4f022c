// The chart editor's page table: one line per page form the editor makes on the
// first visit of its tab. A page joins with one line.
#pragma once
#include <vector>

#include "editor/chartedit.h"
#include "editor_resources.h"

class TChartAxis;

struct TChartEditorPages {
  struct TEntry {
    int Page;  // TChartEditorPage
    // Makes the form, owned by the editor, and embeds it in its tab.
    TForm* (*Make)(TChartEditForm& Editor);
    // A later visit (nullptr: nothing to do).
    void (*Revisit)(TChartEditForm& Editor, TForm* Form) = nullptr;
    // Turns the form to an object the tree chose (an axis, a title, a wall).
    void (*Target)(TChartEditForm& Editor, TForm* Form, TObject* Object) = nullptr;
    // The form's client size as it is built: the editor makes room for it.
    int Width = 0, Height = 0;
  };
  static const std::vector<TEntry>& Table();
  static const TEntry* Find(int Page);
  // The smallest client size of the editor that shows every page of the table whole.
  static TPoint MinClientSize(const TChartEditForm& Editor);
  // Embeds a page form made for a tab as the editor embeds its pages.
  static void Embed(TChartEditForm& Editor, TForm* Form, TTabSheet* Tab, std::intptr_t Tag = 0);

  // What the table's lines need of the editor.
  static TCustomChart* Chart(TChartEditForm& E) { return E.Chart(); }
  static TChartAxis* CurrentAxis(TChartEditForm& E);
  static TObject* CurrentTitle(TChartEditForm& E);
  static TObject* CurrentWall(TChartEditForm& E);
  static void AxisChanged(TChartEditForm& E, TChartAxis* Axis) { E.AxisChanged(Axis); }
  static void ToolAdded(TChartEditForm& E, TLumCustomTool* Tool) { E.ToolAdded(Tool); }
  static void ToolDeleted(TChartEditForm& E, TLumCustomTool* Tool) { E.ToolDeleted(Tool); }
  static void SeriesEvent(TChartEditForm& E, TObject* Sender, TLumSeriesEventStyle Event, TChartSeries* Series) {
    E.SeriesPageEvent(Sender, Event, Series);
  }
};
