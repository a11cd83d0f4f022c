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

// "open" hands File to the desktop's opener (xdg-open), detached; Parameters are not
// passed on, Directory is used as its working folder when it exists. Answers a number
// above 32 when the opener was started, else an error number at most 32: 2 when File
// does not exist, 31 for another operation or when the opener could not be started.
// On the offscreen platform nothing is started: the call is recorded instead.
int ShellExecute(THandle Window, const std::string& Operation, const std::string& File,
                 const std::string& Parameters, const std::string& Directory, int ShowCmd);
inline int ShellExecuteA(THandle Window, const std::string& Operation, const std::string& File,
                         const std::string& Parameters, const std::string& Directory, int ShowCmd) {
  return ShellExecute(Window, Operation, File, Parameters, Directory, ShowCmd);
}
