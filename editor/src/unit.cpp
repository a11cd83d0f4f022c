#include "editor/unit.h"

#include "analysis/unit.h"
#include "editor/chartedit.h"
#include "editor/funceditor.h"
#include "editor/pointereditor.h"
#include "editor_resources.h"
#include "platform/classes.h"

void RegisterEditorResources();

void EnsureEditorResources() {
  static const bool registered = (RegisterEditorResources(), true);
  (void)registered;
}

namespace {

TObject* NewCLVFuncEditor(TComponent* AOwner) { return new TCLVFuncEditor(AOwner); }

}  // namespace

void LumEditorUnitInit() {
  EnsureEditorResources();
  TMetaClass& clv = CLVFuncEditorClass();
  clv.Create = NewCLVFuncEditor;
  clv.Parent = TBaseFunctionEditor::StaticClass();
  RegisterClasses({TLumFunctionEditor::StaticClass(), TBaseFunctionEditor::StaticClass(),
                   TSeriesPointerEditor::StaticClass(), TChartEditForm::StaticClass()});
}

void LumEditorUnitDone() {
  UnRegisterClass(TLumFunctionEditor::StaticClass());
  UnRegisterClass(TBaseFunctionEditor::StaticClass());
  UnRegisterClass(TSeriesPointerEditor::StaticClass());
  UnRegisterClass(TChartEditForm::StaticClass());
  ChartEditorHooks().clear();
  TMetaClass& clv = CLVFuncEditorClass();
  clv.Create = nullptr;
  clv.Parent = TForm::StaticClass();
}
