// The image filters editor: the ordered filters of a picture, each filter's options
// on controls built at run time from its published properties, and a preview.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "canvas/filters.h"
#include "engine/panel.h"
#include "platform/menus.h"
#include "platform/stdctrls.h"

class TCheckListBox;

// A general drawing panel: OnPaint draws inside the rectangle, then OnAfterDraw fires.
using TDraw3DPaintEvent = TEvent<void(TObject* Sender, const TRect& Rect)>;
class TDraw3D : public TCustomLumPanelExtended {
  DECLARE_CLASS(TDraw3D, TCustomLumPanelExtended)
public:
  explicit TDraw3D(TComponent* AOwner);
  TDraw3DPaintEvent OnPaint;

protected:
  void InternalDraw(const TRect& UserRect) override;
};

// An option control's property and the filter's own change event for it.
struct TFormItem {
  std::string PropName;
  TNotifyEvent OnChange;
};

// Builds one control per option a filter offers into Parent, one under the other.
// While it builds (Busy) the controls' handlers write nothing.
class TFormCreatorComponent : public TComponent, public TFormCreator {
  DECLARE_CLASS(TFormCreatorComponent, TComponent)
public:
  explicit TFormCreatorComponent(TComponent* AOwner);
  ~TFormCreatorComponent() override;

  TWinControl* ParentControl() const { return parent_; }
  void SetParentControl(TWinControl* Value) { parent_ = Value; }
  TPersistent* Edited() const { return edited_; }
  int Position() const { return position_; }
  bool Busy() const { return busy_; }
  const std::vector<std::unique_ptr<TFormItem>>& Items() const { return items_; }
  // Called with the filter after each property write.
  TNotifyEvent OnChange;

  // Forgets the items, starts at the top and lets Filter add its controls.
  void Build(TLumFilter* Filter);

  void AddCheckBox(const std::string& PropName, const std::string& Caption, TNotifyEvent OnChange = {}) override;
  void AddScroll(const std::string& PropName, int Min, int Max, const std::string& Caption,
                 TNotifyEvent OnChange = {}) override;
  void AddColor(const std::string& PropName, const std::string& Caption, TNotifyEvent OnChange = {}) override;
  void AddCombo(const std::string& PropName, const std::string& Caption, TNotifyEvent OnChange = {}) override;
  void AddInteger(const std::string& PropName, const std::string& Caption, int Min, int Max,
                  TNotifyEvent OnChange = {}) override;

  void CheckBoxClick(TObject* Sender);
  void ScrollChange(TObject* Sender);
  void ColorClick(TObject* Sender);
  void ComboChange(TObject* Sender);
  void IntegerChange(TObject* Sender);

private:
  // The item of a new control, whose Tag is the item's index.
  TFormItem* NewItem(TControl* Control, const std::string& PropName, TNotifyEvent OnChange);
  TLabel* NewLabel(const std::string& Caption, int Left, int Top);
  template <class T>
  T* NewControl(int Left, int Width, int Height);
  // Writes Value (a property value) for the control's item, then tells.
  void Write(TControl* Control, const TPropValue& Value);
  TWinControl* parent_ = nullptr;
  TPersistent* edited_ = nullptr;
  int position_ = 8;
  bool busy_ = false;
  std::vector<std::unique_ptr<TFormItem>> items_;
};

// An enumeration value's name as a caption: the lower-case prefix left out and a
// space before each later capital or digit but the last ("gdTopBottom": "Top
// Bottom"). A name that is all prefix shows as it is.
std::string PrettyEnumName(const std::string& Name);

class TFiltersEditor : public TForm {
  DECLARE_CLASS(TFiltersEditor, TForm)
public:
  explicit TFiltersEditor(TComponent* AOwner);
  ~TFiltersEditor() override;

  TSpeedButton* BAdd;
  TSpeedButton* BDelete;
  TSpeedButton* BMoveUp;
  TSpeedButton* BMoveDown;
  TCheckListBox* Filters;
  TPageControl* PageProps;
  TTabSheet* Properties;
  TTabSheet* TabRegion;
  TLabel* LLeft;
  TEdit* ELeft;
  TUpDown* UDLeft;
  TLabel* LTop;
  TEdit* ETop;
  TUpDown* UDTop;
  TLabel* LWidth;
  TEdit* EWidth;
  TUpDown* UDWidth;
  TLabel* LHeight;
  TEdit* EHeight;
  TUpDown* UDHeight;
  TPageControl* PagePreview;
  TTabSheet* TabPreview;
  TDraw3D* Image;
  TCheckBox* CBPreview;
  TCheckBox* CBScaled;
  TButton* BOK;
  TPopupMenu* MenuFilters;
  TPopupMenu* PopupPreview;
  TMenuItem* Scaled1;
  TTimer* Timer1;

  TFilterItems* TheFilters() const { return filters_; }
  void SetTheFilters(TFilterItems* Value) { filters_ = Value; }
  TLumPicture* ThePicture() const { return picture_; }
  void SetThePicture(TLumPicture* Value) { picture_ = Value; }
  TFormCreatorComponent* Creator() const { return creator_; }
  // After each refresh of the preview.
  TNotifyEvent OnChange;

  // The filter of the selected row, nullptr when none.
  TLumFilter* Selected() const;
  void RefreshPreview();

  void FormShow(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void BAddClick(TObject* Sender);
  void MenuFilterClick(TObject* Sender);
  void BDeleteClick(TObject* Sender);
  void BMoveUpClick(TObject* Sender);
  void BMoveDownClick(TObject* Sender);
  void FiltersClick(TObject* Sender);
  void FiltersClickCheck(TObject* Sender);
  void RegionChange(TObject* Sender);
  void CBPreviewClick(TObject* Sender);
  void CBScaledClick(TObject* Sender);
  void Scaled1Click(TObject* Sender);
  void ImageResize(TObject* Sender);

private:
  void EnableButtons();
  void ShowPage();
  void Move(int Delta);
  TFilterItems* filters_ = nullptr;
  TLumPicture* picture_ = nullptr;
  TFormCreatorComponent* creator_ = nullptr;
  std::unique_ptr<TBitmap> preview_;
  bool busy_ = false;
};

// Edits Filters on Picture's graphic (either may be nil); true on OK.
bool EditImageFilters(TComponent* AOwner, TLumPicture* Picture, TFilterItems* Filters);
// The picture's own filters; on OK the picture is told they changed.
bool EditImageFilters(TComponent* AOwner, TLumPicture* Picture);
