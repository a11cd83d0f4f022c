// The text editor dialog: what OK, Cancel and Escape answer, Copy and Save in
// read-only mode, and loading text files with any line ends or failing to.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "form_inventory.h"
#include "gallery/stringseditor.h"
#include "gallery_test_util.h"
#include "platform/clipbrd.h"
#include "platform/testing.h"
#include "test_temp.h"

namespace {

using TestInput::PostCall;
using TestInput::PostClick;

class StringsEditorTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    TestDialogs::Clear();
    ClearRecordedMessages();
    host.reset(new TForm(nullptr));
    host->Show();
  }
  TStringsEditor* Editor() const { return dynamic_cast<TStringsEditor*>(host->FindComponent("StringsEditor")); }
  // Runs Action on the editor once it shows.
  void OnEditor(std::function<void(TStringsEditor*)> Action) {
    TestInput::WhenModal([this, Action] { Action(Editor()); });
  }
  std::unique_ptr<TForm> host;
};

TEST_F(StringsEditorTest, ControlsMatchTheirTable) {
  TStringsEditor d(nullptr);
  EXPECT_EQ(d.Caption(), "Text Editor");
  EXPECT_EQ(d.ClientWidth(), 482);
  EXPECT_EQ(d.ClientHeight(), 376);
  gallerytest::CheckInventory(&d, {{"Memo1", "TMemo", ""},
                                   {"Button3", "TButton", "&Copy"},
                                   {"Button4", "TButton", "&Load.."},
                                   {"Button5", "TButton", "&Save..."},
                                   {"Button1", "TButton", "OK"},
                                   {"Button2", "TButton", "Cancel"}});
  EXPECT_EQ(d.Button1->ModalResult(), mrOk);
  EXPECT_TRUE(d.Button2->Default() && d.Button2->Cancel());
  for (TOpenDialog* f : {static_cast<TOpenDialog*>(d.OpenDialog1), static_cast<TOpenDialog*>(d.SaveDialog1)}) {
    EXPECT_EQ(f->Filter(), "Text File|*.txt");
    EXPECT_EQ(f->DefaultExt(), "txt");
  }
  EXPECT_EQ(d.OpenDialog1->Title(), "Select text file");
  EXPECT_EQ(d.SaveDialog1->Title(), "Save as text file");
  gallerytest::CheckLayout(&d);
}

TEST_F(StringsEditorTest, ReadOnlyCopiesAndSavesButReturnsTheTextUnchanged) {
  const std::string file = TestTempFile("saved.txt");
  std::string text = "first\nsecond";
  OnEditor([&](TStringsEditor* e) {
    EXPECT_TRUE(e->Memo1->ReadOnly());
    e->Button3->Click();
    TestDialogs::AnswerFile(file);
    e->Button5->Click();
    e->Memo1->SetText("changed");  // as if edited: read-only must not hand it back
    e->Button1->Click();
  });
  EXPECT_TRUE(EditText(host.get(), text, true));
  EXPECT_EQ(text, "first\nsecond");
  EXPECT_EQ(Clipboard()->AsText(), "first\nsecond");
  EXPECT_EQ(gallerytest::ReadFile(file), "first\r\nsecond\r\n");
  EXPECT_EQ(Editor(), nullptr) << "the dialog is freed";
}

TEST_F(StringsEditorTest, CancelAndEscapeAnswerFalseAndOkHandsTheLinesBack) {
  std::string text = "kept";
  OnEditor([](TStringsEditor* e) {
    e->Memo1->SetText("lost");
    PostClick(e->Button2);
  });
  EXPECT_FALSE(EditText(host.get(), text, false));
  OnEditor([](TStringsEditor* e) {
    e->Memo1->SetText("lost");
    e->Memo1->SetFocus();
    TestInput::PostKey(VK_ESCAPE);
  });
  EXPECT_FALSE(EditText(host.get(), text, false));
  EXPECT_EQ(text, "kept");

  TStringList lines;
  lines.SetText("a\nb\n");
  OnEditor([](TStringsEditor* e) {
    e->Memo1->Lines()->Add("c");
    PostClick(e->Button1);
  });
  EXPECT_TRUE(EditStringList(host.get(), &lines, false));
  EXPECT_EQ(lines.Text(), "a\nb\nc\n");
}

TEST_F(StringsEditorTest, LoadTakesAnyLineEndsAndRefusesWhatItCannotRead) {
  TStringsEditor d(host.get());
  d.Show();
  struct Case {
    std::string bytes, lines;  // lines "" : refused, memo unchanged
  } cases[] = {
      {"a\nb\n", "a\nb\n"},         {"a\r\nb\r\n", "a\nb\n"},   {"a\rb\r", "a\nb\n"},
      {"a\r\n\r\nb", "a\n\nb\n"},   {"\xEF\xBB\xBFx\xC3\xA9", "x\xC3\xA9\n"},
      {"bad \xE9 byte\n", ""},      {"\xC0\xAF overlong", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    const std::string file = TestTempFile("load.txt");
    std::ofstream(file, std::ios::binary) << c.bytes;
    d.Memo1->SetText("before");
    ClearRecordedMessages();
    TestDialogs::AnswerFile(file);
    PostClick(d.Button4);
    TestInput::PumpUntil([] { return TestDialogs::PendingAnswers() == 0; });
    Application->ProcessMessages();
    if (c.lines.empty()) {
      EXPECT_EQ(d.Memo1->Text(), "before");
      EXPECT_EQ(RecordedMessages().size(), 1u);
    } else {
      EXPECT_EQ(d.Memo1->Lines()->Text(), c.lines);
      EXPECT_TRUE(RecordedMessages().empty());
    }
  }
  TestDialogs::AnswerFile(TestTempFile("missing/none.txt"));
  PostClick(d.Button4);
  TestInput::PumpUntil([] { return !RecordedMessages().empty(); });
  EXPECT_EQ(d.Memo1->Text(), "before");
}

}  // namespace
