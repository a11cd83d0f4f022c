// The export dialog on the sample chart: what showing fills in, the size coupling,
// the data options, the files each tab saves, and mail and opening through stand-ins
// for the desktop's tools.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "canvas/canvasunit.h"
#include "engine/engineunit.h"
#include "engine/settings.h"
#include "gallery/exportdialog.h"
#include "gallery/filterseditor.h"
#include "gallery_test_util.h"
#include "platform/clipbrd.h"
#include "platform/rtl.h"
#include "platform/sysfiles.h"
#include "platform/testing.h"
#include "samples/samplechart.h"
#include "test_temp.h"

namespace {

using gallerytest::ReadFile;

class TExportDialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    gallerytest::EnsureUnits();
    [[maybe_unused]] static bool units = (LumCanvasUnitInit(), LumEngineUnitInit(), true);
    for (auto start : {LumExportUnitInit, EMFExportUnitInit, BMPExportUnitInit}) start();
    chart = BuildSampleChart(&host, &host);
    TestDialogs::Clear();
  }
  void TearDown() override {
    form.reset();
    for (auto stop : {BMPExportUnitDone, EMFExportUnitDone, LumExportUnitDone}) stop();
    SetTestOpenableExtensions({});
  }
  TLumExportForm* Open(TCustomLumPanel* Panel) {
    form.reset(new TLumExportForm(&host));
    form->Panel = Panel;
    form->Show();
    return form.get();
  }
  void Choose(int Format) {
    form->LBFormat->SetItemIndex(Format);
    form->LBFormatClick(nullptr);
  }
  void Page(TTabSheet* Sheet) {
    form->Tabs->SetActivePage(Sheet);
    form->TabsChange(form->Tabs);
  }
  // Buttons Copy, Save, View, Preview as 0/1 digits.
  std::string Buttons() const {
    std::string s;
    for (TButton* b : {form->BCopy, form->BSave, form->BViewNative, form->BPreview}) s += b->Enabled() ? '1' : '0';
    return s;
  }
  TForm host{nullptr};
  TChart* chart = nullptr;
  std::unique_ptr<TLumExportForm> form;
};

std::string Raised(const std::function<void()>& Call) {
  try { Call(); } catch (const Exception& e) { return e.Message; }
  return "(nothing raised)";
}

TEST_F(TExportDialogTest, ShowingFillsTheTabsAndButtonsFollowThem) {
  Open(chart);
  EXPECT_EQ(form->LBFormat->Items()->Text(), "as Metafile\nas Bitmap\n");
  EXPECT_TRUE(form->UDWidth->Position() == 640 && form->UDHeight->Position() == 400 && form->AspectRatio() == 1.6);
  EXPECT_EQ(form->CBSeries->Items()->Text(), "(all)\nAcoustic\nOptic\nAtoms\n");
  EXPECT_TRUE(form->CBSeries->ItemIndex() == 0 && form->CBDelim->Text() == "Tab" &&
              form->CBXMLEncoding->Text() == "ISO-8859-1");
  EXPECT_TRUE(form->TabOptions->TabVisible() && form->PageOptions->ActivePage() == form->TabOptions);
  EXPECT_TRUE(form->TabFormat->TabVisible() && form->SeriesValueFormat->Items()->Count() > 0);

  SetTestOpenableExtensions({"bmp", "txt"});
  struct {
    TTabSheet* Tab;
    int Native, Data;
    const char* Buttons;  // Copy Save View Preview
  } cases[] = {{form->TabPicture, 0, 0, "1100"}, {form->TabNative, 0, 0, "0100"}, {form->TabNative, 1, 0, "1111"},
               {form->TabNative, 2, 0, "1110"},  {form->TabData, 0, 0, "1101"},   {form->TabData, 0, 3, "0100"},
               {form->TabData, 0, 1, "1100"}};
  for (const auto& c : cases) {
    form->CBNativeFormat->SetItemIndex(c.Native);
    form->RGText->SetItemIndex(c.Data);
    Page(c.Tab);
    EXPECT_EQ(Buttons(), c.Buttons) << c.Tab->Caption() << c.Native << c.Data;
  }
  EXPECT_FALSE(form->MemoData->Visible());  // Excel was chosen last but one; preview off anyway
  Page(form->TabPicture);
  Choose(1);
  EXPECT_EQ(Buttons(), "1101");  // the bitmap has a program for its type
}

TEST_F(TExportDialogTest, APanelThatIsNoChartExportsItsComponentOnly) {
  auto* other = new TDraw3D(&host);  // owned by the host: a Tag may name it
  other->SetParent(&host);
  other->SetBounds(0, 0, 100, 0);
  form.reset(new TLumExportForm(&host));
  form->SetTag(std::intptr_t(other));
  form->Show();
  EXPECT_EQ(form->Panel, other);
  EXPECT_TRUE(!form->TabData->TabVisible() && !form->CBNativeData->Visible() && !form->HasData());
  EXPECT_EQ(form->AspectRatio(), 0);  // a panel of height 0
  form->CBNativeFormat->SetItemIndex(1);
  std::unique_ptr<TMemoryStream> m = form->NativeToStream();
  EXPECT_EQ(gallerytest::Str(*m).substr(0, 7), "object ");
  TLumExportForm stray(nullptr);  // a number that names no component is never followed
  stray.SetTag(12345);
  stray.Show();
  EXPECT_TRUE(stray.Panel == nullptr && stray.LBFormat->Items()->Count() == 0 && !stray.BCopy->Enabled());
}

TEST_F(TExportDialogTest, KeepingTheAspectRatio) {
  chart->SetBounds(0, 0, 400, 300);
  Open(chart);
  Choose(1);  // the bitmap follows the sizes
  form->EWidth->SetText("200");
  EXPECT_EQ(form->UDHeight->Position(), 150);
  EXPECT_TRUE(form->SelectedFormat()->Width == 200 && form->SelectedFormat()->Height == 150);
  form->EHeight->SetText("3");  // 4.0 exactly; then halves round to even
  EXPECT_EQ(form->UDWidth->Position(), 4);
  chart->SetBounds(0, 0, 300, 200);
  form->Hide();
  form->Show();  // formats made anew, the first chosen
  Choose(1);
  for (auto [h, w] : {std::pair{3, 4}, {5, 8}, {7, 10}}) {
    form->EHeight->SetText(std::to_string(h));
    EXPECT_EQ(form->UDWidth->Position(), w) << h;
  }
  form->CBAspect->SetChecked(false);
  form->EWidth->SetText("77");
  EXPECT_EQ(form->UDHeight->Position(), 7);
  EXPECT_EQ(form->SelectedFormat()->Width, 77);
  form->CBPicSize->SetChecked(true);
  TestDialogs::AnswerFile(TestTempFile("sized.bmp"));
  form->BSaveClick(nullptr);
  EXPECT_EQ(form->LabelPicSize->Caption(),
            std::to_string(std::filesystem::file_size(TestTempFile("sized.bmp"))) + " bytes");
}

TEST_F(TExportDialogTest, DataOptionsMakeTheExport) {
  Open(chart);
  form->CBDataPreview->SetChecked(true);
  form->CBSeries->SetItemIndex(3);  // Atoms: label, x, y
  form->CBHeader->SetChecked(false);
  form->DataChange(nullptr);
  const std::pair<int, char> delims[] = {{0, ' '}, {1, '\t'}, {2, ','}, {3, ';'}, {4, ' '}};
  for (auto [item, d] : delims) {
    form->CBDelim->SetItemIndex(item);
    form->CBDelimChange(form->CBDelim);
    const std::string first = form->MemoData->Lines()->Strings(0);
    EXPECT_EQ(std::count(first.begin(), first.end(), d), 2) << item << ": " << first;
  }
  EXPECT_TRUE(form->ECustom->Enabled());
  form->ECustom->SetText("|x");
  const std::string custom = form->MemoData->Lines()->Strings(0);
  EXPECT_EQ(std::count(custom.begin(), custom.end(), '|'), 2) << custom;

  // Which boxes each format enables.
  const std::tuple<int, bool, bool, bool> enabling[] = {
      {1, false, false, true}, {2, false, false, false}, {3, false, false, false}, {0, true, true, false}};
  for (auto [format, delim, custom, encoding] : enabling) {
    form->RGText->SetItemIndex(format);
    EXPECT_TRUE(form->CBDelim->Enabled() == delim && form->ECustom->Enabled() == custom &&
                form->CBXMLEncoding->Enabled() == encoding)
        << format;
    EXPECT_EQ(form->MemoData->Visible(), format != 3);
  }
  form->RGText->SetItemIndex(1);
  EXPECT_NE(form->MemoData->Lines()->Text().find("<series title=\"Atoms\""), std::string::npos);

  // The value format, unless the series' own is used.
  form->RGText->SetItemIndex(0);
  form->SeriesValueFormat->SetText("0.000");
  form->DataChange(nullptr);
  EXPECT_NE(form->MemoData->Lines()->Strings(0).find(".000"), std::string::npos);
  form->CBUseSeriesFormat->SetChecked(true);
  EXPECT_FALSE(form->SeriesValueFormat->Enabled() || form->BFormat->Enabled());
  EXPECT_EQ(form->MemoData->Lines()->Strings(0).find(".000"), std::string::npos);
}

TEST_F(TExportDialogTest, TheDataEntryChosenDecidesFormatAndDelimiter) {
  Open(chart);
  Page(form->TabData);
  form->CBSeries->SetItemIndex(3);
  form->CBHeader->SetChecked(false);
  const std::pair<const char*, const char*> entries[] = {{"d1.txt", " "},   {"d2.txt", "\t"},   {"d3.csv", ","},
                                                         {"d4.txt", ";"},   {"d5.txt", " "},    {"d6.xml", "<series"},
                                                         {"d7.htm", "<tab"}, {"d8.xls", "\x09\x08"}};
  int offered = 2;  // Tab
  for (int i = 1; i <= 8; ++i) {
    const auto [name, holds] = entries[i - 1];
    TestDialogs::AnswerFile(TestTempFile(name), i);
    form->BSaveClick(nullptr);
    EXPECT_EQ(TestDialogs::Asked().back().FilterIndex, offered) << name;
    EXPECT_EQ(form->DataFilterIndex(), i);
    EXPECT_EQ(form->CurrentExtension(), std::string(name).substr(3));
    const std::string text = ReadFile(TestTempFile(name));
    EXPECT_NE(i <= 5 ? text.substr(0, 20).find(holds) : text.find(holds), std::string::npos) << name;
    if (i <= 5) {
      EXPECT_EQ(text.find(i == 3 ? ";" : ","), std::string::npos) << name;
    }
    offered = i;
  }
}

TEST_F(TExportDialogTest, PicturesAndNativeFilesAreWhatTheNameSays) {
  Open(chart);
  Choose(1);  // bitmap chosen; the name's extension wins
  const auto kind = [](const std::string& File) {
    const std::string b = ReadFile(File);
    if (b.substr(0, 2) == "BM") return std::string("bmp");
    if (b.size() > 44 && b.substr(40, 4) == " EMF") return std::string("emf");
    return std::string(b.substr(0, 4) == "\xD7\xCD\xC6\x9A" || b.substr(0, 2) == "\x01\x00" ? "wmf" : "?");
  };
  for (auto [name, is] : {std::pair{"p.EMF", "emf"}, {"p.wmf", "wmf"}, {"q.emf", "emf"}, {"p.bmp", "bmp"}, {"p", "bmp"}}) {
    TestDialogs::AnswerFile(TestTempFile(name));
    form->BSaveClick(nullptr);
    EXPECT_EQ(kind(TestTempFile(name) + (ExtractFileExt(name).empty() ? ".bmp" : "")), is) << name;
  }
  EXPECT_EQ(TestDialogs::Asked().front().DefaultExt, "bmp");
  EXPECT_EQ(TestDialogs::Asked().front().FilterIndex, 3);

  Page(form->TabNative);
  for (auto [format, name, starts] : {std::tuple{0, "n.dat", "\x60\x30"}, {1, "t", "object"}, {2, "x.txt", "<?xml"}}) {
    form->CBNativeFormat->SetItemIndex(format);
    TestDialogs::AnswerFile(TestTempFile(name));
    form->BSaveClick(nullptr);
    const std::string ext = format == 0 ? ".lum" : format == 1 ? ".txt" : ".xml";
    const std::string file = ChangeFileExt(TestTempFile(name), ext);
    EXPECT_EQ(ReadFile(file).rfind(starts, 0), 0u) << file;
    EXPECT_EQ(TestDialogs::Asked().back().Filter, "LumChart files (*" + ext + ")|*" + ext);
  }
  form->BCopyClick(nullptr);
  EXPECT_EQ(Clipboard()->AsText().rfind("<?xml", 0), 0u);

  // An empty panel: the clear error, and no file.
  chart->SetBounds(0, 0, 0, 0);
  form->Hide();
  form->Show();
  TestDialogs::AnswerFile(TestTempFile("empty.bmp"));
  Choose(1);
  Page(form->TabPicture);
  EXPECT_NE(Raised([&] { form->BSaveClick(nullptr); }).find("empty"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(TestTempFile("empty.bmp")));
}

TEST_F(TExportDialogTest, TheSizeIsKeptBetweenShowings) {
  WriteEditorIntegerSetting("ExportWidth", 100);  // smaller than the form: its own size
  WriteEditorIntegerSetting("ExportHeight", 450);
  Open(chart);
  EXPECT_TRUE(form->ClientWidth() == 514 && form->ClientHeight() == 450);
  form->SetClientWidth(600);
  form->Close();
  EXPECT_TRUE(ReadEditorIntegerSetting("ExportWidth", 0) == 600 && ReadEditorIntegerSetting("ExportHeight", 0) == 450);
  EXPECT_EQ(TLumExportForm(nullptr).ClientWidth(), 600);
  for (const char* n : {"ExportWidth", "ExportHeight"}) WriteEditorIntegerSetting(n, 0);
}

// A stand-in mail composer first on the PATH: it records its arguments and the
// attachment as it finds it, and answers with $STANDIN_EXIT.
class TExportMailTest : public TExportDialogTest {
protected:
  void SetUp() override {
    TExportDialogTest::SetUp();
    dir = TestTempFile("standin");
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/xdg-email") << "#!/bin/sh\nprintf '%s ' \"$@\" > \"$STANDIN_DIR/args\"\n"
                                         "for a; do last=\"$a\"; done\ncp \"$last\" \"$STANDIN_DIR/attached\"\n"
                                         "exit ${STANDIN_EXIT:-0}\n";
    std::filesystem::permissions(dir + "/xdg-email", std::filesystem::perms::owner_all);
    path = getenv("PATH");
    setenv("PATH", (dir + ":" + path).c_str(), 1);
    setenv("STANDIN_DIR", dir.c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", path.c_str(), 1);
    unsetenv("STANDIN_EXIT");
    TExportDialogTest::TearDown();
  }
  std::string dir, path;
};

TEST_F(TExportMailTest, SendAttachesTheCompleteExportOfEachTab) {
  Open(chart);
  form->CBNativeFormat->SetItemIndex(1);
  Choose(1);
  for (auto [tab, ext] : {std::pair{form->TabPicture, "bmp"}, {form->TabNative, "txt"}, {form->TabData, "txt"}}) {
    Page(tab);
    ASSERT_TRUE(form->BSend->Enabled());
    form->BSendClick(nullptr);
    const std::string file = PrivateTempFolder() + "LumChart." + ext;
    EXPECT_EQ(ReadFile(dir + "/args"), "--utf8 --subject LumChart --attach " + file + " ");
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(ReadFile(dir + "/attached"), ReadFile(file));
    if (tab == form->TabNative) {
      EXPECT_EQ(ReadFile(file).rfind("object", 0), 0u);
    }
    if (tab == form->TabData) {
      std::unique_ptr<TLumExportData> e(form->CreateDataExporter());
      EXPECT_EQ(ReadFile(file), e->AsString());
    }
  }
  EXPECT_EQ(ReadFile(dir + "/attached").substr(0, 2) == "BM", false);  // the last was data
  RemovePrivateTempFolder();  // what the program's end does
  EXPECT_FALSE(std::filesystem::exists(PrivateTempFolderIfMade() + "LumChart.txt") &&
               !PrivateTempFolderIfMade().empty());

  for (const char* code : {"3", "1"}) {
    setenv("STANDIN_EXIT", code, 1);
    EXPECT_EQ(Raised([&] { form->BSendClick(nullptr); }), std::string("Can not email LumChart. Mapi Error: ") + code);
  }
  setenv("PATH", "/nonexistent", 1);
  form->EnableButtons();
  EXPECT_FALSE(form->BSend->Enabled());
}

TEST_F(TExportMailTest, PreviewOpensTheSameFile) {
  SetTestOpenableExtensions({"emf"});
  Open(chart);
  EXPECT_TRUE(form->BPreview->Enabled());
  ClearRecordedShellCalls();
  form->BPreviewClick(nullptr);
  const std::string file = PrivateTempFolder() + "LumChart.emf";
  EXPECT_EQ(RecordedShellCalls(), std::vector<std::string>{"open " + file});
  EXPECT_EQ(ReadFile(file).substr(40, 4), " EMF");
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

}  // namespace
