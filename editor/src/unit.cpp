#include "editor/unit.h"

#include "analysis/unit.h"
#include "editor/funceditor.h"
#include "editor/pointereditor.h"
#include "platform/classes.h"

namespace {

TObject* NewCLVFuncEditor(TComponent* AOwner) { return new TCLVFuncEditor(AOwner); }

}  // namespace

void LumEditorUnitInit() {
  TMetaClass& clv = CLVFuncEditorClass();
  clv.Create = NewCLVFuncEditor;
  clv.Parent = TBaseFunctionEditor::StaticClass();
  RegisterClasses({TLumFunctionEditor::StaticClass(), TBaseFunctionEditor::StaticClass(),
                   TSeriesPointerEditor::StaticClass()});
}

void LumEditorUnitDone() {
  UnRegisterClass(TLumFunctionEditor::StaticClass());
  UnRegisterClass(TBaseFunctionEditor::StaticClass());
  UnRegisterClass(TSeriesPointerEditor::StaticClass());
  TMetaClass& clv = CLVFuncEditorClass();
  clv.Create = nullptr;
  clv.Parent = TForm::StaticClass();
}
