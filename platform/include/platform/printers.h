// Printing: the printer object (Printer()), whose canvas draws a page at the
// printer's resolution with the device geometry of every canvas, and the print and
// printer setup dialogs.
//
// The list of printers is the system's print queues; when an output file is set a
// last entry, "PDF file", prints into that file (tests and machines without
// printers use it). With no printer and no file the list is empty and BeginDoc
// raises EPrinter.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/graphics.h"
#include "platform/rtl.h"

PHONARK_EXCEPTION(EPrinter, Exception);

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter : public TObject {
  DECLARE_CLASS(TPrinter, TObject)
public:
  // SystemQueues false: the system's print queues are left out (a test sees a
  // machine without printers whatever is installed).
  explicit TPrinter(bool SystemQueues = true);
  ~TPrinter() override;

  // Printer names; the file entry last when OutputFile is set.
  std::vector<std::string> Printers() const;
  // -1 when there is none; a new list starts at the system's default printer.
  int PrinterIndex() const;
  void SetPrinterIndex(int Value);  // EPrinter "Printer index out of range" outside the list
  // Printing goes to this PDF file while the "PDF file" entry is chosen (it is
  // chosen when set). A job writes a file of its own beside it (CreateFileBeside)
  // and renames it when it ends; an aborted job leaves no file. Empty: no file
  // entry.
  const std::string& OutputFile() const { return outputFile_; }
  void SetOutputFile(const std::string& Value);
  // The file entry's sheet in points (1/72 inch) as it stands in portrait
  // orientation; {0, 0} (the start) is A4.
  TSize FilePageSize() const { return filePageSize_; }
  void SetFilePageSize(const TSize& Points);  // EPrinter while printing
  // Dots per inch of the page canvas (default 300; 72..1200).
  int Resolution() const { return resolution_; }
  void SetResolution(int Value);

  TPrinterOrientation Orientation() const;
  void SetOrientation(TPrinterOrientation Value);  // EPrinter while printing
  // The page in device pixels (the whole sheet, A4 unless the printer says else).
  int PageWidth() const;
  int PageHeight() const;
  // Document name shown in the print queue.
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& Value) { title_ = Value; }

  void BeginDoc();  // EPrinter "Printing in progress" when a job runs
  void NewPage();   // EPrinter "Printer is not currently printing" outside a job
  void EndDoc();
  // Ends the job and throws its pages away.
  void Abort();
  bool Printing() const { return printing_; }
  bool Aborted() const { return aborted_; }
  int PageNumber() const { return page_; }
  // The page's canvas; valid while printing (drawing outside a job raises).
  TCanvas* Canvas();

  struct Impl;

private:
  void CheckPrinting() const;
  void FlushPage();
  std::unique_ptr<Impl> impl_;
  std::unique_ptr<TCanvas> canvas_;
  std::string outputFile_, title_;
  TSize filePageSize_{0, 0};
  int resolution_ = 300;
  bool printing_ = false, aborted_ = false;
  int page_ = 0;
};

// The application's printer, made on first use. SetPrinter replaces it (the
// previous one is freed and answered nullptr) — tests give one that prints to a file.
TPrinter* Printer();
void SetPrinter(TPrinter* Value);

enum TPrintRange { prAllPages, prSelection, prPageNums };
constexpr unsigned poPageNums = 1;
constexpr unsigned poSelection = 2;

// Chooses the printer, the pages and the copies. On the offscreen platform it is
// recorded (Kind "Print", Text "from-to of min-max") and answered by the test
// (TestDialogs::AnswerPrint, or a button answer keeping the values).
class TPrintDialog : public TCommonDialog {
  DECLARE_CLASS(TPrintDialog, TCommonDialog)
public:
  explicit TPrintDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  int FromPage() const { return fromPage_; }
  void SetFromPage(int Value) { fromPage_ = Value; }
  int ToPage() const { return toPage_; }
  void SetToPage(int Value) { toPage_ = Value; }
  int MinPage() const { return minPage_; }
  void SetMinPage(int Value) { minPage_ = Value; }
  int MaxPage() const { return maxPage_; }
  void SetMaxPage(int Value) { maxPage_ = Value; }
  int Copies() const { return copies_; }
  void SetCopies(int Value) { copies_ = Value; }
  unsigned Options() const { return options_; }
  void SetOptions(unsigned Value) { options_ = Value; }
  TPrintRange PrintRange() const { return range_; }
  void SetPrintRange(TPrintRange Value) { range_ = Value; }
  bool Execute() override;

  static void DefineProperties(TPropertyTable& t);

private:
  int fromPage_ = 0, toPage_ = 0, minPage_ = 0, maxPage_ = 0, copies_ = 1;
  unsigned options_ = 0;
  TPrintRange range_ = prAllPages;
};

// The page setup of the current printer (orientation, paper). Offscreen: recorded
// as Kind "PrinterSetup" and answered with a button.
class TPrinterSetupDialog : public TCommonDialog {
  DECLARE_CLASS(TPrinterSetupDialog, TCommonDialog)
public:
  explicit TPrinterSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  bool Execute() override;
};
