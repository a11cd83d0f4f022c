// The export dialog on the sample chart: what showing fills in, the size coupling,
// the data options, the files each tab saves, mail and opening through stand-ins.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "canvas/canvasunit.h"
#include "canvas/lumconst.h"
#include "engine/engineunit.h"
#include "engine/settings.h"
#include "gallery/exportdialog.h"
#include "gallery/filterseditor.h"
#include "gallery_test_util.h"
#include "platform/clipbrd.h"
#include "platform/rtl.h"
#include "platform/snapshot.h"
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
    chart = BuildSampleChart(&host, &host);
    TestDialogs::Clear();
  }
  void TearDown() override {
    form.reset();
    SetTestOpenableExtensions({});
  }
  void Open(TCustomLumPanel* Panel, std::intptr_t Tag = 0) {
    form.reset();  // the name is the owner's once
    (form = std::make_unique<TLumExportForm>(&host))->SetPanel(Panel);
    form->SetTag(Tag);
    form->Show();
  }
  void Choose(int Format) {
    form->LBFormat->SetItemIndex(Format);
    form->LBFormatClick(nullptr);
  }
  void Page(TTabSheet* Sheet) {
    form->Tabs->SetActivePage(Sheet);
    form->TabsChange(form->Tabs);
  }
  void Save(const std::string& Name, int FilterIndex = 0) {
    TestDialogs::AnswerFile(TestTempFile(Name), FilterIndex);
    form->BSaveClick(nullptr);
  }
  std::string FirstRow() const { return form->MemoData->Lines()->Strings(0); }
  long Count(char C) const {
    const std::string row = FirstRow();
    return std::count(row.begin(), row.end(), C);
  }
  gallerytest::TExportUnits exportUnits;
  TForm host{nullptr};
  TChart* chart = nullptr;
  std::unique_ptr<TLumExportForm> form;
};

using gallerytest::Raised;

TEST_F(TExportDialogTest, ShowingFillsTheTabsAndButtonsFollowThem) {
  Open(chart);
  EXPECT_EQ(form->LBFormat->Items()->Text(), "as Metafile\nas Bitmap\n");
  EXPECT_TRUE(form->UDWidth->Position() == 640 && form->UDHeight->Position() == 400 && form->AspectRatio() == 1.6);
  EXPECT_EQ(form->CBSeries->Items()->Text(), "(all)\nAcoustic\nOptic\nAtoms\nBars\nArea\nAverage\n");
  EXPECT_TRUE(form->CBSeries->ItemIndex() == 0 && form->CBDelim->Text() == "Tab" &&
              form->CBXMLEncoding->Text() == "ISO-8859-1" && form->PageOptions->ActivePage() == form->TabOptions);
  SetTestOpenableExtensions({"bmp", "txt"});
  // Copy, Save, View, Preview on each tab, native format and data format.
  const std::tuple<TTabSheet*, int, int, const char*> cases[] = {
      {form->TabPicture, 0, 0, "1100"}, {form->TabNative, 0, 0, "0100"}, {form->TabNative, 1, 0, "1111"},
      {form->TabNative, 2, 0, "1110"},  {form->TabData, 0, 0, "1101"},   {form->TabData, 0, 3, "0100"},
      {form->TabData, 0, 1, "1100"},    {form->TabPicture, 0, 0, "1101"}};
  for (const auto& [tab, native, data, want] : cases) {
    form->CBNativeFormat->SetItemIndex(native);
    form->RGText->SetItemIndex(data);
    if (tab == form->TabPicture && want[3] == '1') Choose(1);  // a type with a program
    Page(tab);
    std::string got;
    for (TButton* b : {form->BCopy, form->BSave, form->BViewNative, form->BPreview}) got += b->Enabled() ? '1' : '0';
    EXPECT_EQ(got, want) << tab->Caption() << native << data;
  }
  auto* other = new TDraw3D(&host);  // owned by the host: a Tag may name it
  other->SetParent(&host);
  other->SetBounds(0, 0, 100, 0);
  Open(nullptr, std::intptr_t(other));  // a panel that is no chart
  EXPECT_TRUE(form->Panel() == other && form->AspectRatio() == 0);  // a panel of height 0
  EXPECT_TRUE(!form->TabData->TabVisible() && !form->CBNativeData->Visible() && !form->HasData());
  form->CBNativeFormat->SetItemIndex(1);
  EXPECT_EQ(gallerytest::Str(*form->NativeToStream()).substr(0, 7), "object ");
  TLumExportForm stray(nullptr);  // a number that names no component is never followed
  stray.SetTag(12345);
  stray.Show();
  EXPECT_TRUE(stray.Panel() == nullptr && stray.LBFormat->Items()->Count() == 0 && !stray.BCopy->Enabled());
}

TEST_F(TExportDialogTest, KeepingTheAspectRatio) {
  chart->SetBounds(0, 0, 300, 200);
  Open(chart);
  Choose(1);  // the bitmap follows the sizes
  form->EWidth->SetText("200");
  EXPECT_TRUE(form->UDHeight->Position() == 133 && form->SelectedFormat()->Height == 133);
  for (auto [h, w] : {std::pair{3, 4}, {5, 8}, {7, 10}}) {  // halves round to even
    form->EHeight->SetText(std::to_string(h));
    EXPECT_EQ(form->UDWidth->Position(), w) << h;
  }
  form->CBAspect->SetChecked(false);
  form->EWidth->SetText("77");
  EXPECT_TRUE(form->UDHeight->Position() == 7 && form->SelectedFormat()->Width == 77);
  form->CBPicSize->SetChecked(true);
  Save("sized.bmp");
  EXPECT_EQ(form->LabelPicSize->Caption(), std::to_string(std::filesystem::file_size(TestTempFile("sized.bmp"))) +
                                               " bytes");
}

TEST_F(TExportDialogTest, DataOptionsMakeTheExport) {
  Open(chart);
  form->CBDataPreview->SetChecked(true);
  form->CBSeries->SetItemIndex(3);  // Atoms: label, x, y
  form->CBHeader->SetChecked(false);
  for (auto [item, d] : {std::pair{0, ' '}, {1, '\t'}, {2, ','}, {3, ';'}, {4, ' '}}) {
    form->CBDelim->SetItemIndex(item);
    form->CBDelimChange(form->CBDelim);
    EXPECT_EQ(Count(d), 2) << item << ": " << FirstRow();
  }
  form->ECustom->SetText("|x");
  EXPECT_EQ(Count('|'), 2) << FirstRow();
  // Delimiter, custom delimiter and encoding enabled by the format; no preview of Excel.
  for (auto [format, delim, custom, encoding] : {std::tuple{1, false, false, true}, {3, false, false, false},
                                                  {2, false, false, false}, {0, true, true, false}}) {
    form->RGText->SetItemIndex(format);
    EXPECT_TRUE(form->CBDelim->Enabled() == delim && form->ECustom->Enabled() == custom &&
                form->CBXMLEncoding->Enabled() == encoding && form->MemoData->Visible() == (format != 3))
        << format;
  }
  form->SeriesValueFormat->SetText("0.000");  // as typed
  form->DataChange(form->SeriesValueFormat);
  EXPECT_NE(FirstRow().find(".000"), std::string::npos);
  form->CBUseSeriesFormat->SetChecked(true);
  EXPECT_TRUE(!form->SeriesValueFormat->Enabled() && FirstRow().find(".000") == std::string::npos);
}

TEST_F(TExportDialogTest, TheDataEntryChosenDecidesFormatAndDelimiter) {
  Open(chart);
  Page(form->TabData);
  form->CBSeries->SetItemIndex(3);
  form->CBHeader->SetChecked(false);
  const std::pair<const char*, const char*> entries[] = {{"d1.txt", "\" 0"}, {"d2.txt", "\"\t0"}, {"d3.csv", "\",0"},
                                                         {"d4.txt", "\";0"}, {"d5.txt", "\" 0"},  {"d6.xml", "<series"},
                                                         {"d7.htm", "<tab"}, {"d8.xls", "\x09\x08"}};
  for (int i = 1; i <= 8; ++i) {
    const int offered = form->DataFilterIndex();
    form->EQuotes->SetText("\"");
    Save(entries[i - 1].first, i);
    EXPECT_TRUE(TestDialogs::Asked().back().FilterIndex == offered && form->DataFilterIndex() == i) << i;
    EXPECT_EQ(form->CurrentExtension(), std::string(entries[i - 1].first).substr(3));
    EXPECT_NE(ReadFile(TestTempFile(entries[i - 1].first)).find(entries[i - 1].second), std::string::npos) << i;
  }
}

TEST_F(TExportDialogTest, PicturesAndNativeFilesAreWhatTheNameSays) {
  Open(chart);
  Choose(1);  // bitmap chosen; the name's extension wins
  for (auto [name, is] : {std::pair{"p.EMF", " EMF"}, {"p.wmf", "wmf"}, {"q.emf", " EMF"}, {"p", "BM"}}) {
    Save(name);
    const std::string b = ReadFile(TestTempFile(name) + (ExtractFileExt(name).empty() ? ".bmp" : ""));
    EXPECT_TRUE(is == std::string("wmf") ? b.substr(0, 4) == "\xD7\xCD\xC6\x9A" : b.find(is) < 41) << name;
  }
  EXPECT_TRUE(TestDialogs::Asked().front().DefaultExt == "bmp" && TestDialogs::Asked().front().FilterIndex == 3);
  Page(form->TabNative);
  for (auto [format, name, starts] : {std::tuple{0, "n.dat", "\x60\x30"}, {1, "t", "object"}, {2, "x.txt", "<?xml"}}) {
    form->CBNativeFormat->SetItemIndex(format);
    Save(name);
    const std::string ext = format == 0 ? ".lum" : format == 1 ? ".txt" : ".xml";
    EXPECT_EQ(ReadFile(ChangeFileExt(TestTempFile(name), ext)).rfind(starts, 0), 0u) << name;
    EXPECT_EQ(TestDialogs::Asked().back().Filter, "LumChart files (*" + ext + ")|*" + ext);
  }
  form->BCopyClick(nullptr);
  EXPECT_EQ(Clipboard()->AsText().rfind("<?xml", 0), 0u);
  chart->SetBounds(0, 0, 0, 0);  // an empty panel: the clear error, and no file
  form->Hide();
  form->Show();
  Page(form->TabPicture);
  EXPECT_NE(Raised([&] { Save("empty.emf"); }).find("empty"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(TestTempFile("empty.emf")));
}

// A native stream that cannot be made shows "?" for its size, as a picture does,
// instead of raising out of a check box's click; the native filter names the files
// by the library's message text.
class TFailingNative : public TLumExportForm {
public:
  using TLumExportForm::TLumExportForm;
  std::unique_ptr<TMemoryStream> NativeToStream() override { throw EWriteError("no stream"); }
};

TEST_F(TExportDialogTest, NativeSizeErrorsShowAQuestionMarkAndTheFilterIsTheMessageText) {
  {
    TFailingNative failing(nullptr);
    failing.SetPanel(chart);
    failing.Show();
    failing.CBFileSize->SetChecked(true);
    EXPECT_EQ(Raised([&] { failing.NativeChange(failing.CBFileSize); }), "(nothing raised)");
    EXPECT_EQ(failing.LabelSize->Caption(), "?");
  }

  const std::string saved = LumMsg_LumFiles;
  LumMsg_LumFiles = "Kettenkurven";
  Open(chart);
  Page(form->TabNative);
  Save("named");
  LumMsg_LumFiles = saved;
  EXPECT_EQ(TestDialogs::Asked().back().Filter, "Kettenkurven (*.lum)|*.lum");
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

// A stand-in mail composer first on the PATH records its arguments and a copy of the
// attachment as it finds it, and answers $STANDIN_EXIT.
TEST_F(TExportDialogTest, SendAttachesTheCompleteExportOfEachTabAndPreviewOpensIt) {
  const std::string dir = TestTempFile("standin"), path = getenv("PATH");
  std::filesystem::create_directories(dir);
  std::ofstream(dir + "/xdg-email") << "#!/bin/sh\nprintf '%s ' \"$@\" > \"$STANDIN_DIR/args\"\n"
                                       "for a; do last=\"$a\"; done\ncp \"$last\" \"$STANDIN_DIR/attached\"\n"
                                       "exit ${STANDIN_EXIT:-0}\n";
  std::filesystem::permissions(dir + "/xdg-email", std::filesystem::perms::owner_all);
  setenv("PATH", (dir + ":" + path).c_str(), 1);
  setenv("STANDIN_DIR", dir.c_str(), 1);
  Open(chart);
  form->CBNativeFormat->SetItemIndex(1);
  for (auto [tab, ext, starts] : {std::tuple{form->TabPicture, "emf", "\x01"}, {form->TabNative, "txt", "object"},
                                  {form->TabData, "txt", "X\tAcoustic"}}) {
    Page(tab);
    ASSERT_TRUE(form->BSend->Enabled());
    form->BSendClick(nullptr);
    const std::string file = PrivateTempFolder() + "LumChart." + ext;
    EXPECT_EQ(ReadFile(dir + "/args"), "--utf8 --subject LumChart --attach " + file + " ");
    EXPECT_TRUE(ReadFile(dir + "/attached") == ReadFile(file) && ReadFile(file).rfind(starts, 0) == 0) << ext;
  }
  const std::string kept = PrivateTempFolder() + "LumChart.txt";
  RemovePrivateTempFolder();  // what the program's end does
  EXPECT_FALSE(std::filesystem::exists(kept));
  for (const char* code : {"3", "1"}) {
    setenv("STANDIN_EXIT", code, 1);
    EXPECT_EQ(Raised([&] { form->BSendClick(nullptr); }), std::string("Can not email LumChart. Mapi Error: ") + code);
  }
  unsetenv("STANDIN_EXIT");
  setenv("PATH", "/nonexistent", 1);
  form->EnableButtons();
  EXPECT_FALSE(form->BSend->Enabled());
  setenv("PATH", path.c_str(), 1);

  SetTestOpenableExtensions({"emf"});
  Page(form->TabPicture);
  ClearRecordedShellCalls();
  ASSERT_TRUE(form->BPreview->Enabled());
  form->BPreviewClick(nullptr);
  EXPECT_EQ(RecordedShellCalls(), std::vector<std::string>{"open " + PrivateTempFolder() + "LumChart.emf"});
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

// The tab-separated preview lines its columns up under their headers: in the picture
// of the memo, each column's text starts at the same place on every line.
TEST_F(TExportDialogTest, PreviewColumnsLineUpUnderTheirHeaders) {
  Open(chart);
  Page(form->TabData);
  form->CBDataPreview->SetChecked(true);
  TBitmap shot;
  RenderControl(form->MemoData, &shot);
  const TColor paper = shot.Canvas()->Pixels(shot.Width() / 2, 2);
  // Per text line (a band of rows with ink, inside the frame): where each run of
  // ink begins after a blank stretch wider than the gaps inside a number.
  const int left = 4, right = shot.Width() - 20;
  std::vector<std::vector<int>> lines;
  std::vector<bool> ink;  // the band's columns that have ink
  auto endBand = [&] {
    std::vector<int> starts;
    int blank = 100;
    for (std::size_t x = 0; x < ink.size(); ++x) {
      if (!ink[x]) {
        ++blank;
        continue;
      }
      if (blank >= 9) starts.push_back(left + int(x));
      blank = 0;
    }
    if (!starts.empty()) lines.push_back(starts);
    ink.clear();
  };
  for (int y = 2; y < shot.Height() - 20; ++y) {
    std::vector<bool> row(std::size_t(right - left));
    bool any = false;
    for (int x = left; x < right; ++x) any |= row[std::size_t(x - left)] = shot.Canvas()->Pixels(x, y) != paper;
    if (!any) {
      endBand();
      continue;
    }
    if (ink.empty()) ink = row;
    else
      for (std::size_t x = 0; x < row.size(); ++x) ink[x] = ink[x] || row[x];
  }
  ASSERT_GE(lines.size(), 6u);
  for (std::size_t l = 1; l < 6; ++l) {
    ASSERT_GE(lines[l].size(), 3u) << l;
    for (std::size_t c = 1; c < 3; ++c) EXPECT_NEAR(lines[l][c], lines[0][c], 1) << "line " << l << ", column " << c;
  }
}

// A chart freed while the dialog shows it, on each tab: the dialog and its formats let
// it go, offer nothing that needs it, and each action refuses without touching it.
TEST_F(TExportDialogTest, AFreedChartIsLetGoOnEveryTab) {
  for (int tab = 0; tab < 3; ++tab) {
    TForm elsewhere(nullptr);
    TChart* gone = BuildSampleChart(&elsewhere, &elsewhere);
    Open(gone);
    Choose(1);  // the bitmap, whose options preview the chart
    for (TCheckBox* c : {form->CBPicSize, form->CBFileSize, form->CBDataPreview}) c->SetChecked(true);
    form->CBNativeFormat->SetItemIndex(1);
    TTabSheet* sheets[] = {form->TabPicture, form->TabNative, form->TabData};
    Page(sheets[tab]);
    delete gone;
    EXPECT_EQ(form->Panel(), nullptr);
    for (int i = 0; i < form->FormatCount(); ++i) EXPECT_EQ(form->Formats(i)->Panel(), nullptr);
    for (TButton* b : {form->BCopy, form->BSave, form->BViewNative, form->BPreview}) EXPECT_FALSE(b->Enabled());
    EXPECT_TRUE(form->LabelPicSize->Caption() == "?" && form->LabelSize->Caption() == "?");
    EXPECT_EQ(form->CBSeries->Items()->Count(), 0);
    Choose(1);
    const std::string file = TestTempFile("freed" + std::to_string(tab));
    for (auto click : {&TLumExportForm::BCopyClick, &TLumExportForm::BSaveClick, &TLumExportForm::BViewNativeClick}) {
      TestDialogs::AnswerFile(file);
      Raised([&] { (form.get()->*click)(nullptr); });
    }
    EXPECT_FALSE(std::filesystem::exists(file)) << sheets[tab]->Caption();
  }
}

// A series freed elsewhere leaves the series choice; the chosen one falls back to
// "(all)", which the preview shows at once.
TEST_F(TExportDialogTest, AFreedSeriesLeavesTheSeriesChoice) {
  Open(chart);
  Page(form->TabData);
  form->CBDataPreview->SetChecked(true);
  form->CBSeries->SetItemIndex(2);
  form->DataChange(form->CBSeries);
  EXPECT_EQ(FirstRow(), "X\tOptic");
  delete chart->Series(1);
  EXPECT_EQ(form->CBSeries->Items()->Text(), "(all)\nAcoustic\nAtoms\nBars\nArea\nAverage\n");
  EXPECT_EQ(form->CBSeries->ItemIndex(), 0);
  EXPECT_EQ(FirstRow().rfind("X\tAcoustic\tX\tAtoms", 0), 0u) << FirstRow();
  std::unique_ptr<TLumExportData> e(form->CreateDataExporter());
  EXPECT_NE(e->AsString().find("Atoms"), std::string::npos);
}

}  // namespace
