// The flat combo box of the library's dialogs, pages and galleries.
#pragma once
#include <string>

#include "platform/lists.h"

// A combo box 21 pixels high with a one-pixel flat frame; items with objects, the
// item index, the sorted flag and owner drawing are the combo box's.
class TComboFlat : public TComboBox {
  DECLARE_CLASS(TComboFlat, TComboBox)
public:
  explicit TComboFlat(TComponent* AOwner);
  // The selected item's text; empty when none is selected.
  std::string SelectedText() const;

  static void DefineProperties(TPropertyTable& t);

protected:
  void Paint() override;
};
