// The flat combo box.
#include "canvas/comboflat.h"

#include "platform/typinfo.h"

IMPLEMENT_CLASS_PROPS(TComboFlat, TComboBox)

void TComboFlat::DefineProperties(TPropertyTable& t) {
  // Height follows the item height: 15 + 6.
  t.Int("ItemHeight", &TComboFlat::ItemHeight, &TComboFlat::SetItemHeight).Default(15LL);
}

TComboFlat::TComboFlat(TComponent* AOwner) : TComboBox(AOwner) { SetBounds(0, 0, 145, 21); }

std::string TComboFlat::SelectedText() const {
  const int i = ItemIndex();
  return i < 0 ? std::string() : Items()->Get(i);
}

void TComboFlat::Paint() {
  TComboBox::Paint();
  // The sunken frame drawn over flat: one shadow line, then the background.
  TCanvas* c = TCustomControl::Canvas();
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetMode(pmCopy);
  c->Pen()->SetColor(clBtnShadow);
  c->Rectangle(0, 0, Width(), Height());
  c->Pen()->SetColor(Enabled() ? Color() : clBtnFace);
  c->Rectangle(1, 1, Width() - 1, Height() - 1);
  c->Brush()->SetStyle(bsSolid);
}
