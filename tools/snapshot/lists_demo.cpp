// The demonstration form of the list controls: an owner-drawn list, a combo of pen
// styles, a check list, a tree and a grid with a cell being edited.
#include "lists_demo.h"

#include <string>

#include "platform/controls.h"
#include "platform/grids.h"
#include "platform/lists.h"
#include "platform/stdctrls.h"
#include "platform/trees.h"

namespace {

template <class T>
T* Put(TForm* f, int left, int top, int width, int height) {
  auto* c = new T(f);
  c->SetBounds(left, top, width, height);
  c->SetParent(f);
  return c;
}

}  // namespace

TForm* BuildListsDemoForm() {
  auto* f = new TForm(Application);
  f->SetCaption("Lists");
  f->SetBounds(0, 0, 560, 330);
  f->SetColor(clBtnFace);

  // Colours drawn by the list itself: a swatch and the name.
  auto* colours = Put<TListBox>(f, 10, 10, 140, 130);
  colours->SetStyle(lbOwnerDrawFixed);
  colours->SetItemHeight(20);
  static const std::pair<const char*, TColor> kColours[] = {
      {"Red", clRed}, {"Green", clGreen}, {"Blue", clBlue}, {"Yellow", clYellow}, {"Navy", clNavy}, {"Teal", clTeal},
      {"Maroon", clMaroon}, {"Gray", clGray}};
  for (const auto& [name, colour] : kColours) colours->Items()->AddObject(name, reinterpret_cast<TObject*>(colour));
  colours->SetItemIndex(2);
  colours->OnDrawItem = [colours](TWinControl*, int i, const TRect& r, TOwnerDrawState) {
    TCanvas* c = colours->Canvas();
    c->FillRect(r);
    TColor swatch = TColor(reinterpret_cast<std::intptr_t>(colours->Items()->Objects(i)));
    TColor text = c->Font()->Color();
    c->Brush()->SetColor(swatch);
    c->Pen()->SetColor(clBlack);
    c->Rectangle(r.Left + 3, r.Top + 3, r.Left + 27, r.Bottom - 3);
    c->SetBkMode(TRANSPARENT);
    c->Font()->SetColor(text);
    c->TextOut(r.Left + 33, r.Top + 3, colours->Items()->Get(i));
  };

  // Pen styles drawn as lines, in the list and in the edit area.
  auto* pens = Put<TComboBox>(f, 10, 150, 140, 21);
  pens->SetStyle(csOwnerDrawFixed);
  for (const char* s : {"Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot", "Clear"}) pens->Items()->Add(s);
  pens->SetItemIndex(1);
  pens->OnDrawItem = [pens](TWinControl*, int i, const TRect& r, TOwnerDrawState) {
    TCanvas* c = pens->Canvas();
    c->FillRect(r);
    c->Pen()->SetColor(c->Font()->Color());
    c->Pen()->SetStyle(TPenStyle(i));
    c->MoveTo(r.Left + 2, (r.Top + r.Bottom) / 2);
    c->LineTo(r.Left + 40, (r.Top + r.Bottom) / 2);
    c->Pen()->SetStyle(psSolid);
    c->SetBkMode(TRANSPARENT);
    c->TextOut(r.Left + 46, r.Top + 1, pens->Items()->Get(i));
  };

  auto* checks = Put<TCheckListBox>(f, 10, 185, 140, 110);
  checks->SetAllowGrayed(true);
  for (const char* s : {"Series1", "Series2", "Series3", "Series4"}) checks->Items()->Add(s);
  checks->SetChecked(0, true);
  checks->SetState(1, cbGrayed);
  checks->SetChecked(3, true);
  checks->SetItemIndex(3);

  auto* tree = Put<TTreeView>(f, 160, 10, 150, 285);
  TTreeNode* chart = tree->Items()->Add(nullptr, "Chart");
  TTreeNode* series = tree->Items()->AddChild(chart, "Series");
  for (const char* s : {"Series1", "Series2", "Series3"}) tree->Items()->AddChild(series, s);
  TTreeNode* panel = tree->Items()->AddChild(chart, "Panel");
  tree->Items()->AddChild(panel, "Gradient");
  tree->Items()->AddChild(chart, "Axes");
  tree->Items()->Add(chart, "Tools");
  tree->FullExpand();
  tree->SetSelected(series->Item(1));
  tree->SetHideSelection(false);

  auto* grid = Put<TStringGrid>(f, 320, 10, 230, 285);
  grid->SetColCount(3);
  grid->SetRowCount(30);
  grid->SetDefaultRowHeight(18);
  grid->SetColWidths(0, 30);
  grid->SetColWidths(1, 90);
  grid->SetOptions(grid->Options() | goEditing | goColSizing | goTabs);
  grid->SetCells(1, 0, "Text");
  grid->SetCells(2, 0, "Y");
  for (int r = 1; r < 30; ++r) {
    grid->SetCells(0, r, std::to_string(r - 1));
    grid->SetCells(1, r, "Point " + std::to_string(r));
    grid->SetCells(2, r, std::to_string((r * 37) % 100));
  }
  f->Show();
  grid->SetFocus();
  grid->SetRow(3);
  grid->SetCol(2);
  grid->ShowEditor();
  grid->InplaceEditor()->SetText("42.5");
  for (int i = 0; i < 5; ++i) Application->ProcessMessages();
  return f;
}
