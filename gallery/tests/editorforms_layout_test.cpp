// Every editor form of the format, cursor, filters, margins and visuals dialogs:
// its controls as the dialogs' tables give them, and a layout that fits the form.
#include <gtest/gtest.h>

#include <functional>

#include "canvas/canvasunit.h"
#include "engine/engineunit.h"
#include "gallery/filterseditor.h"
#include "gallery/formateditor.h"
#include "gallery/marginseditor.h"
#include "gallery_test_util.h"
#include "platform/lists.h"
#include "platform/menus.h"
#include "platform/testing.h"

namespace {

struct TFormSpec {
  const char* Caption;
  int ClientWidth, ClientHeight;
  std::function<TForm*()> Open;
};

struct TControlSpec {
  int Form;
  const char* Name;
  const char* Class;
  const char* Caption;  // nullptr: not checked
  const char* Items = nullptr;  // '|'-joined
  int Min = 0, Max = 0;        // up-downs
};

const TFormatLocale Locale{"$", ",", ".", "dd/mm/yyyy", "hh:nn"};
TLumPicture* SamplePicture() {
  static TLumPicture* p = [] {
    auto* pic = new TLumPicture();
    TBitmap bmp;
    bmp.SetSize(20, 20);
    pic->SetGraphic(&bmp);
    pic->Filters()->Add(TBrightnessFilter::StaticClass());
    pic->Filters()->Add(TInvertFilter::StaticClass());
    return pic;
  }();
  return p;
}
TMargins sampleMargins;

const TFormSpec Forms[] = {
    {"Numeric Format", 274, 269,
     [] {
       auto* f = new TFormatEditor(nullptr);
       f->SetTheFormat("#,##0.00");
       return f;
     }},
    {"Mouse Cursor Editor", 219, 170, [] { return new TMouseCursorEdit(nullptr); }},
    {"Filters", 476, 389,
     [] {
       auto* f = new TFiltersEditor(nullptr);
       f->SetTheFilters(SamplePicture()->Filters());
       f->SetThePicture(SamplePicture());
       return f;
     }},
    {"MarginsEditor", 241, 230,
     [] {
       auto* f = new TMarginsEditor(nullptr);
       f->SetTag(std::intptr_t(&sampleMargins));
       return f;
     }},
    {"Visuals", 331, 240, [] { return new TVisualsEditor(nullptr); }},
};

const TControlSpec Controls[] = {
    {0, "RBInteger", "TRadioButton", "&Number"},
    {0, "CBCurrency", "TCheckBox", "C&urrency"},
    {0, "CBThousands", "TCheckBox", "&Thousands"},
    {0, "CBPercent", "TCheckBox", "&Percent"},
    {0, "LFixed", "TLabel", "&Fixed:"},
    {0, "Edit2", "TEdit", nullptr},
    {0, "UpDown2", "TUpDown", nullptr, nullptr, 0, 20},
    {0, "LDecimals", "TLabel", "D&ecimals:"},
    {0, "Edit1", "TEdit", nullptr},
    {0, "UpDown1", "TUpDown", nullptr, nullptr, 0, 20},
    {0, "CBFixedDecimals", "TCheckBox", "F&ixed"},
    {0, "RBDate", "TRadioButton", "&Date Time:"},
    {0, "CBDate", "TComboFlat", nullptr, "mm-yyyy|mm-dd-yy|dd-mm-yyyy|mmm|ddd|MM|dd/mm/yyyy|hh:nn"},
    {0, "RBGeo", "TRadioButton", "&Geographic:"},
    {0, "CBGeo", "TComboFlat", nullptr,
     "ddd\xC2\xB0 mm' ss\".zzz|ddd mm' ss\".zzz|ddd deg mm' ss\".zzz|ddd mm ss.zzz|ddd mm ss|ddd mm|ddd\xC2\xB0|ddd"},
    {0, "RBCustom", "TRadioButton", "&Custom:"},
    {0, "CBCustom", "TComboFlat", nullptr, "#.#|0.0%"},
    {0, "BOK", "TButton", "OK"},
    {0, "BCancel", "TButton", "Cancel"},
    {1, "Label1", "TLabel", "&Cursor:"},
    {1, "CBCursor", "TComboFlat", nullptr},
    {1, "GroupBox1", "TGroupBox", "Preview:"},
    {1, "ImageCursor", "TImage", nullptr},
    {1, "BLoad", "TButton", "&Load..."},
    {1, "OpenDialog1", "TOpenDialog", nullptr},
    {2, "BAdd", "TSpeedButton", "+"},
    {2, "BDelete", "TSpeedButton", "-"},
    {2, "BMoveUp", "TSpeedButton", nullptr},
    {2, "BMoveDown", "TSpeedButton", nullptr},
    {2, "Filters", "TCheckListBox", nullptr, "Brightness|Invert"},
    {2, "PageProps", "TPageControl", nullptr},
    {2, "Properties", "TTabSheet", "Options"},
    {2, "TabRegion", "TTabSheet", "Region"},
    {2, "LLeft", "TLabel", "&Left:"},
    {2, "UDLeft", "TUpDown", nullptr, nullptr, 0, 11100},
    {2, "LTop", "TLabel", "&Top:"},
    {2, "UDTop", "TUpDown", nullptr, nullptr, 0, 11100},
    {2, "LWidth", "TLabel", "&Width:"},
    {2, "UDWidth", "TUpDown", nullptr, nullptr, 0, 11100},
    {2, "LHeight", "TLabel", "&Height:"},
    {2, "UDHeight", "TUpDown", nullptr, nullptr, 0, 11100},
    {2, "TabPreview", "TTabSheet", "Preview"},
    {2, "Image", "TDraw3D", nullptr},
    {2, "Scaled1", "TMenuItem", "&Scaled"},
    {2, "CBPreview", "TCheckBox", "&Preview"},
    {2, "CBScaled", "TCheckBox", "&Scaled"},
    {2, "BOK", "TButton", "OK"},
    {2, "Timer1", "TTimer", nullptr},
    {3, "LLeft", "TLabel", "&Left:"},
    {3, "UDLeft", "TUpDown", nullptr, nullptr, -32000, 32000},
    {3, "LTop", "TLabel", "&Top:"},
    {3, "UDTop", "TUpDown", nullptr, nullptr, -32000, 32000},
    {3, "LRight", "TLabel", "&Right:"},
    {3, "UDRight", "TUpDown", nullptr, nullptr, -32000, 32000},
    {3, "LBottom", "TLabel", "&Bottom:"},
    {3, "UDBottom", "TUpDown", nullptr, nullptr, -32000, 32000},
    {3, "RGUnits", "TRadioGroup", "&Units:", "Percent &Font|P&ercent Size|P&ixels"},
    {4, "Button3", "TButton", "&Choose..."},
    {4, "BClearVisual", "TButton", "C&lear"},
};

std::string Joined(TStrings* S) {
  std::string r;
  for (int i = 0; i < S->Count(); ++i) r += (i ? "|" : "") + S->Strings(i);
  return r;
}

bool Inside(const TRect& Inner, const TRect& Outer) {
  return Inner.Left >= Outer.Left && Inner.Top >= Outer.Top && Inner.Right <= Outer.Right &&
         Inner.Bottom <= Outer.Bottom;
}

bool Overlap(const TRect& A, const TRect& B) {
  return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

// Children inside their parent, captions inside their controls, no two visible
// siblings on each other.
void CheckLayout(TWinControl* Parent) {
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    TControl* c = Parent->Controls(i);
    SCOPED_TRACE(c->Name());
    EXPECT_TRUE(Inside(c->BoundsRect(), Parent->ClientRect())) << Parent->Name();
    const TRect cap = CaptionRect(c);
    if (cap.Width() > 0) {
      EXPECT_TRUE(Inside(cap, c->ClientRect()));
    }
    for (int j = i + 1; c->Visible() && j < Parent->ControlCount(); ++j) {
      TControl* d = Parent->Controls(j);
      if (d->Visible()) {
        EXPECT_FALSE(Overlap(c->BoundsRect(), d->BoundsRect())) << "with " << d->Name();
      }
    }
    if (auto* w = dynamic_cast<TWinControl*>(c)) CheckLayout(w);
  }
}

class TEditorFormsTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    static bool units = (LumCanvasUnitInit(), LumEngineUnitInit(), true);
    (void)units;
    SetFormatLocale(&Locale);
  }
  void TearDown() override { SetFormatLocale(nullptr); }
};

TEST_F(TEditorFormsTest, ControlsAreTheTablesOwnAndFitTheirForm) {
  for (size_t fi = 0; fi < std::size(Forms); ++fi) {
    const TFormSpec& spec = Forms[fi];
    SCOPED_TRACE(spec.Caption);
    std::unique_ptr<TForm> form(spec.Open());
    form->Show();
    TestInput::PumpUntil([&] {
      auto* t = dynamic_cast<TTimer*>(form->FindComponent("Timer1"));
      return !t || !t->Enabled();
    });
    EXPECT_EQ(form->Caption(), spec.Caption);
    EXPECT_EQ(form->ClientWidth(), spec.ClientWidth);
    EXPECT_EQ(form->ClientHeight(), spec.ClientHeight);
    for (const TControlSpec& c : Controls) {
      if (c.Form != int(fi)) continue;
      SCOPED_TRACE(c.Name);
      TComponent* comp = form->FindComponent(c.Name);
      ASSERT_TRUE(comp);
      EXPECT_EQ(comp->ClassName(), c.Class);
      if (c.Caption) {
        auto* menu = dynamic_cast<TMenuItem*>(comp);
        EXPECT_EQ(menu ? menu->Caption() : static_cast<TControl*>(comp)->Caption(), c.Caption);
      }
      if (c.Items) {
        TStrings* items = nullptr;
        if (auto* combo = dynamic_cast<TCustomComboBox*>(comp)) items = combo->Items();
        if (auto* list = dynamic_cast<TCustomListBox*>(comp)) items = list->Items();
        if (auto* group = dynamic_cast<TRadioGroup*>(comp)) items = group->Items();
        ASSERT_TRUE(items);
        EXPECT_EQ(Joined(items), c.Items);
      }
      if (auto* ud = dynamic_cast<TUpDown*>(comp)) {
        EXPECT_EQ(ud->Min(), c.Min);
        EXPECT_EQ(ud->Max(), c.Max);
      }
    }
    CheckLayout(form.get());
    if (auto* f = dynamic_cast<TFiltersEditor*>(form.get())) {
      f->PageProps->SetActivePage(f->TabRegion);
      CheckLayout(f->TabRegion);
    }
    form->Hide();
  }
}

}  // namespace
