// The chart editor's Tools and Animations pages: the chart's tools (or animations)
// in a list, added through their gallery, deleted, cloned, moved, switched on and
// off, with the selected tool's own editor form (found by class name) beside them.
#pragma once
#include <string>

#include "engine/tools.h"
#include "platform/compwatch.h"
#include "platform/lists.h"
#include "platform/stdctrls.h"

class TCustomAxisPanel;

using TToolEvent = TEvent<void(TLumCustomTool* Tool)>;

class TFormLumTools : public TForm {
  DECLARE_CLASS(TFormLumTools, TForm)
public:
  explicit TFormLumTools(TComponent* AOwner) : TFormLumTools(AOwner, "FormLumTools") {}
  ~TFormLumTools() override;

  TPanel* PTop;
  TButton* BAdd;
  TButton* BDelete;
  TSpeedButton* BClone;
  TCheckBox* CBActive;
  TCheckBox* CBShowInEditor;
  TPanel* Panel2;
  TSpeedButton* BMoveUp;
  TSpeedButton* BMoveDown;
  TListBox* LBTools;
  TPanel* PanelToolEditor;
  TPanel* PBottom;

  // The list shown: the chart's tools or animations (nullptr: the Tag's at show).
  // Let go when its chart is freed.
  TChartTools* ToolList() const { return chart_ ? list_ : nullptr; }
  void SetToolList(TChartTools* Value);
  // The tool of the selected item; nullptr when none.
  TLumCustomTool* SelectedTool() const;
  // The selected tool's editor form; nullptr when none is shown.
  TForm* ToolEditor() const { return toolEditor_; }

  TToolEvent OnAddTool;
  TToolEvent OnDeleteTool;

  // A copy of Tool (same class and owner, a new "ChartTool" name, its properties)
  // on its chart.
  virtual TLumCustomTool* CloneTool(TLumCustomTool* Tool);
  // Runs the gallery; answers the new tool, nullptr when cancelled.
  virtual TLumCustomTool* AddTool();
  // For later visits: refills when the counts differ, then shows the selection again.
  void RefreshTools();
  void FillTools();

  void FormShow(TObject* Sender);
  void LBToolsClick(TObject* Sender);
  void LBToolsDrawItem(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State);
  void BAddClick(TObject* Sender);
  void BDeleteClick(TObject* Sender);
  void BCloneClick(TObject* Sender);
  void BMoveUpClick(TObject* Sender);
  void BMoveDownClick(TObject* Sender);
  void CBActiveClick(TObject* Sender);
  void CBShowInEditorClick(TObject* Sender);
  void PBottomClick(TObject* Sender);

protected:
  // Named Name from the start (pages of one owner need names of their own).
  TFormLumTools(TComponent* AOwner, const char* Name);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // A tool of Class for the list's chart, owned by the chart's owner and named by
  // Prefix and the lowest free number.
  TLumCustomTool* CreateTool(TClass ToolClass, const std::string& Prefix);
  // Runs the gallery of GalleryClass; answers the class chosen, nullptr when cancelled.
  TClass RunGallery(TClass GalleryClass);
  TCustomAxisPanel* ListChart() const { return chart_.Get(); }

private:
  bool Designing() const;
  void EnableButtons();
  void RefreshBottom();
  void CloseToolEditor();
  void Exchange(int Delta);
  TChartTools* list_ = nullptr;
  TComponentRef<TCustomAxisPanel> chart_;
  TForm* toolEditor_ = nullptr;
  TComponentRef<TLumCustomTool> edited_;
  bool filling_ = false;
};

class TFormLumAnimations : public TFormLumTools {
  DECLARE_CLASS(TFormLumAnimations, TFormLumTools)
public:
  explicit TFormLumAnimations(TComponent* AOwner);
  TLumCustomTool* AddTool() override;
};
