// Bad input and failures change nothing on disk: the target is the old file or the
// complete new one, and each error names the file.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "canvas/canvasunit.h"
#include "engine/engineunit.h"
#include "gallery/exportformat.h"
#include "gallery/seriesdata.h"
#include "gallery_test_util.h"
#include "test_temp.h"

namespace {

struct TFiles : ::testing::Test {
  void SetUp() override {
    gallerytest::EnsureUnits();
    chart.SetName("Chart1");
    line = new TLineSeries(&chart);
    line->SetParentChart(&chart);
  }
  void Points(int N) {
    line->BeginUpdate();
    for (int i = 0; i < N; ++i) line->AddXY(i * 0.001, i * 0.5, i % 10 ? "" : "label");
    line->EndUpdate();
  }
  std::string Old(const std::string& Name) {
    const std::string f = TestTempFile(Name);
    TStringList l;
    l.Add("old contents");
    l.SaveToFile(f);
    return f;
  }
  TChart chart{nullptr};
  TLineSeries* line = nullptr;
};

// Runs Body in a child process; answers its exit status (or 128 + signal).
template <typename Fn>
int InChild(Fn&& Body) {
  pid_t pid = fork();
  if (pid == 0) _exit(Body());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The child's file being written: named beside Target, or unnamed in its folder
// (a descriptor of the child's that links to "FOLDER/#inode (deleted)").
std::vector<std::string> FilesBeingWritten(pid_t Pid, const std::string& Target) {
  std::vector<std::string> files = PartFilesBeside(Target);
  const std::string unnamed = std::filesystem::path(Target).parent_path().string() + "/#";
  std::error_code ec;
  for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(Pid) + "/fd", ec)) {
    const std::string link = std::filesystem::read_symlink(fd.path(), ec).string();
    if (!ec && link.rfind(unnamed, 0) == 0) files.push_back(fd.path().string());
  }
  return files;
}

// Kills the child as soon as its file being written has bytes in it.
void KillOnceStarted(pid_t Pid, const std::string& Target) {
  // Killed as soon as the file being written has bytes in it (or once it ended).
  struct stat st {};
  auto started = [&] {
    const auto f = FilesBeingWritten(Pid, Target);
    return !f.empty() && stat(f[0].c_str(), &st) == 0 && st.st_size > 0;
  };
  int status = 0;
  pid_t ended = 0;
  while (!started() && (ended = waitpid(Pid, &status, WNOHANG)) == 0) std::this_thread::yield();
  if (ended == 0) {
    kill(Pid, SIGKILL);
    waitpid(Pid, &status, 0);
  }
}

const auto Expect = gallerytest::Raised;

}  // namespace

TEST_F(TFiles, TargetUnderARegularFileFailsNamingIt) {
  Points(3);
  const std::string plain = Old("plain");
  const std::string target = plain + "/chart";
  EXPECT_NE(Expect([&] { WriteChartFile(&chart, target, true, false); }).find(target + ".lum"), std::string::npos);
  EXPECT_NE(Expect([&] { WriteChartXMLFile(&chart, target, true, true); }).find(target), std::string::npos);
  TSeriesDataText text(&chart, nullptr);
  EXPECT_NE(Expect([&] { text.SaveToFile(target + ".txt"); }).find(target + ".txt"), std::string::npos);
  EXPECT_EQ(gallerytest::ReadFile(plain), "old contents\n");
  EXPECT_EQ(chart.Name(), "Chart1");
}

TEST_F(TFiles, AFullDiskLeavesTheOldFile) {
  Points(20000);
  const std::string target = Old("full.txt");
  TSeriesDataText text(&chart, nullptr);
  const int rc = InChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the child
    rlimit lim{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &lim);
    const std::string msg = Expect([&] { text.SaveToFile(target); });
    return msg.find(target) != std::string::npos && msg != "(nothing raised)" ? 0 : 1;
  });
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(gallerytest::ReadFile(target), "old contents\n");
  EXPECT_TRUE(PartFilesBeside(target).empty());
}

TEST_F(TFiles, AnExporterFailingPartWayLeavesTheOldFile) {
  Points(10);
  line->AddXY(5, 12345);
  const std::string target = Old("bad.xls");
  TSeriesDataXLS xls(&chart, line);
  xls.UseSeriesFormat = true;  // "12,345" reads back as no number
  EXPECT_NE(Expect([&] { xls.SaveToFile(target); }).find(target), std::string::npos);
  EXPECT_EQ(gallerytest::ReadFile(target), "old contents\n");

  // A chart stream cut short by its stream: the writer's error, the old file.
  struct TThrowing : TSeriesDataText {
    using TSeriesDataText::TSeriesDataText;
    void SaveToStream(TStream* S) override {
      S->WriteBuffer("partial", 7);
      throw EWriteError("Stream write error");
    }
  } failing(&chart, nullptr);
  EXPECT_NE(Expect([&] { failing.SaveToFile(target); }).find(target), std::string::npos);
  EXPECT_EQ(gallerytest::ReadFile(target), "old contents\n");
}

TEST_F(TFiles, AChildKilledWhileWritingLeavesOldOrWhole) {
  Points(1000000);
  const std::string target = Old("killed.txt");
  TSeriesDataText text(&chart, nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    text.SaveToFile(target);
    _exit(0);
  }
  KillOnceStarted(pid, target);
  const std::string now = gallerytest::ReadFile(target);
  if (now != "old contents\n") {
    EXPECT_EQ(now, text.AsString());  // finished before the kill: the whole new file
  }
  for (const std::string& f : PartFilesBeside(target)) DeleteFile(f);
}

// A bitmap over an old file: unwritable, the disk full, or the writer killed part way.
TEST_F(TFiles, PicturesLeaveTheOldFileOrTheWholeNewOne) {
  [[maybe_unused]] static bool units = (LumCanvasUnitInit(), LumEngineUnitInit(), true);
  TForm host(nullptr);
  chart.SetParent(&host);
  chart.SetBounds(0, 0, 300, 200);
  TBMPExportFormat bmp;
  bmp.SetPanel(&chart);
  if (const char* role = std::getenv("PHONARK_TEST_ROLE")) {
    bmp.Width = 6000, bmp.Height = 4000;
    bmp.SaveToFile(role);  // the killed writer started below
    chart.SetParent(nullptr);
    return;
  }
  const std::string under = Old("plain.bmp") + "/x.bmp";
  EXPECT_NE(Expect([&] { bmp.SaveToFile(under); }).find(under), std::string::npos);

  const std::string full = Old("full.bmp");
  EXPECT_EQ(InChild([&] {
              std::signal(SIGXFSZ, SIG_IGN);  // as above
              rlimit lim{4096, 4096};
              const bool limited = setrlimit(RLIMIT_FSIZE, &lim) == 0;
              return limited && Expect([&] { bmp.SaveToFile(full); }).find(full) != std::string::npos ? 0 : 1;
            }),
            0);
  EXPECT_EQ(gallerytest::ReadFile(full), "old contents\n");

  bmp.Width = 6000, bmp.Height = 4000;
  const std::string target = Old("killed.bmp");
  const pid_t pid = StartThisTestAgain(target);  // a fresh program: see there
  KillOnceStarted(pid, target);
  const std::string now = gallerytest::ReadFile(target);
  if (now != "old contents\n") {
    EXPECT_EQ(now.size(), 54u + 6000u * 3 * 4000);  // finished before the kill: whole
  }
  for (const std::string& f : PartFilesBeside(target)) DeleteFile(f);
  chart.SetParent(nullptr);
}
