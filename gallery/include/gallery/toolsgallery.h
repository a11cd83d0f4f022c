// The tools gallery: the registered chart tool classes by kind (series, axis, other)
// with the chosen class's long description; and the animations gallery over the
// animation classes.
#pragma once
#include "chart/registry.h"
#include "platform/lists.h"
#include "platform/stdctrls.h"

// Builds a demo of the class into the panel; none is set in this program.
using TGalleryDemoHook = void (*)(TClass ToolClass, TPanel* Panel);
extern TGalleryDemoHook ToolsGalleryDemoHook;
extern TGalleryDemoHook AnimationsGalleryDemoHook;

class TLumToolsGallery : public TForm {
  DECLARE_CLASS(TLumToolsGallery, TForm)
public:
  explicit TLumToolsGallery(TComponent* AOwner);

  TTabControl* TabControl1;
  TListBox* LBTool;
  TSplitter* Splitter1;
  TPanel* PanelDemos;
  TPanel* Panel3;
  TPanel* Panel4;
  TSplitter* Splitter2;
  TPanel* Panel2;
  TMemo* MemoDesc;
  TPanel* P1;
  TLabel* LabelClass;
  TCheckBox* CBView3D;
  TPanel* Panel1;
  TButton* BOk;
  TButton* BCan;

  TLumClassList* ClassList = nullptr;
  TGalleryDemoHook DemoHook = nullptr;

  // Whether the class at that index of ClassList belongs on the selected tab.
  virtual bool ClassFits(int Index);
  // The selected item's class; nullptr when none.
  TClass SelectedTool() const;
  void FillList();

  void FormShow(TObject* Sender);
  void TabChange(TObject* Sender);
  void LBToolClick(TObject* Sender);
  void LBToolDblClick(TObject* Sender);
  void LBToolDrawItem(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State);
  void CBView3DClick(TObject* Sender);
};

class TLumAnimationsGallery : public TLumToolsGallery {
  DECLARE_CLASS(TLumAnimationsGallery, TLumToolsGallery)
public:
  explicit TLumAnimationsGallery(TComponent* AOwner);
  bool ClassFits(int Index) override;
};

// Draws row Index of a list of tools or tool classes as the galleries do: the glyph
// of Tool's class (a tool, or a throw-away one of the class) and the row's text.
void DrawToolListItem(TCustomListBox* List, const TObject* Tool, int Index, const TRect& R,
                      TOwnerDrawState State);

void LumToolsGalleryUnitInit();
// Clears both demo hooks.
void LumToolsGalleryUnitDone();
