// Message boxes and the shell.
#pragma once
#include <string>

#include "platform/graphic.h"

// A modal box with the text and an OK button, titled with the application's title;
// it runs the message loop while it waits, so a running animation goes on behind it.
// On the offscreen platform (tests, headless tools) nobody could answer it: the text
// is recorded (platform/testing.h) and written on standard error, and it returns at once.
void ShowMessage(const std::string& Msg);

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;

// "open" hands File to the desktop's opener (xdg-open); Parameters are not passed on,
// Directory is used as its working folder when it exists. The opener's verdict is
// awaited for up to ShellOpenWaitMs: one that cannot be started or ends with a
// failure (no program for the file) answers 31; one still running then is showing
// the file and goes on by itself. Messages are delivered while it waits. Answers a number above 32 when the file was
// opened, else an error number at most 32: 2 when File does not exist, 31 for
// another operation or when no program could open it.
// On the offscreen platform nothing is started: the call is recorded instead
// (platform/testing.h names an opener for tests that need one).
constexpr int ShellOpenWaitMs = 1500;
int ShellExecute(THandle Window, const std::string& Operation, const std::string& File,
                 const std::string& Parameters, const std::string& Directory, int ShowCmd);
inline int ShellExecuteA(THandle Window, const std::string& Operation, const std::string& File,
                         const std::string& Parameters, const std::string& Directory, int ShowCmd) {
  return ShellExecute(Window, Operation, File, Parameters, Directory, ShowCmd);
}
