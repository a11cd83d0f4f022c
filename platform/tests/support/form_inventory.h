// Checks an editor form against a table of its controls: kind, caption (an edit's
// or combo's is that of the label focusing it), items and range; and its layout: every
// shown control inside its parent, captions unclipped, no shown siblings overlapping.
// Shared by the tests of every module that builds forms.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/lists.h"
#include "platform/stdctrls.h"
#include "platform/testing.h"

namespace formcheck {

struct TInventoryEntry {
  std::string Name, Kind, Caption;
  std::vector<std::string> Items = {};
  int Min = 0, Max = 0;  // up-downs, track bars, scroll bars; Max 0: not checked
};

inline std::string CaptionOf(TForm* Form, TControl* C) {
  // Edits, memos, combos and up-downs hold values, not captions.
  const bool valued = dynamic_cast<TEdit*>(C) || dynamic_cast<TMemo*>(C) || dynamic_cast<TCustomComboBox*>(C) ||
                      dynamic_cast<TUpDown*>(C);
  if (!valued) return C->Caption();
  for (int i = 0; i < Form->ComponentCount(); ++i)
    if (auto* l = dynamic_cast<TLabel*>(Form->Components(i)); l && l->FocusControl() == C) return l->Caption();
  return "";
}

inline std::vector<std::string> ItemsOf(TControl* C) {
  TStrings* s = nullptr;
  if (auto* c = dynamic_cast<TCustomComboBox*>(C)) s = c->Items();
  if (auto* l = dynamic_cast<TCustomListBox*>(C)) s = l->Items();
  if (auto* r = dynamic_cast<TRadioGroup*>(C)) s = r->Items();
  std::vector<std::string> v;
  for (int i = 0; s && i < s->Count(); ++i) v.push_back(s->Strings(i));
  return v;
}

inline void CheckInventory(TForm* Form, const std::vector<TInventoryEntry>& Table) {
  for (const TInventoryEntry& e : Table) {
    SCOPED_TRACE(e.Name);
    auto* c = dynamic_cast<TControl*>(Form->FindComponent(e.Name));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->ClassType()->Name, e.Kind);
    EXPECT_EQ(CaptionOf(Form, c), e.Caption);
    EXPECT_EQ(ItemsOf(c), e.Items);
    if (auto* ud = dynamic_cast<TUpDown*>(c); ud && e.Max) {
      EXPECT_EQ(ud->Min(), e.Min);
      EXPECT_EQ(ud->Max(), e.Max);
    }
    if (auto* tb = dynamic_cast<TTrackBar*>(c); tb && e.Max) {
      EXPECT_EQ(tb->Min(), e.Min);
      EXPECT_EQ(tb->Max(), e.Max);
    }
    if (auto* sb = dynamic_cast<TScrollBar*>(c); sb && e.Max) {
      EXPECT_EQ(sb->Min(), e.Min);
      EXPECT_EQ(sb->Max(), e.Max);
    }
  }
}

inline void CheckLayout(TWinControl* Parent) {
  const TRect client = Parent->ClientRect();
  std::vector<TControl*> shown;
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    TControl* c = Parent->Controls(i);
    if (!c->Visible()) continue;
    SCOPED_TRACE(c->Name());
    const TRect b = c->BoundsRect();
    EXPECT_TRUE(b.Left >= client.Left && b.Top >= client.Top && b.Right <= client.Right && b.Bottom <= client.Bottom);
    const TRect caption = CaptionRect(c);
    if (caption.Width() > 0) {
      EXPECT_LE(caption.Right, c->ClientWidth()) << c->Caption();
    }
    for (TControl* o : shown) {
      const TRect a = o->BoundsRect();
      const bool apart = a.Right <= b.Left || b.Right <= a.Left || a.Bottom <= b.Top || b.Bottom <= a.Top;
      EXPECT_TRUE(apart) << o->Name() << " overlaps " << c->Name();
    }
    shown.push_back(c);
    if (auto* w = dynamic_cast<TWinControl*>(c)) CheckLayout(w);
  }
}

}  // namespace formcheck

// The gallery tests' older name for it.
namespace gallerytest {
using namespace formcheck;
}  // namespace gallerytest
