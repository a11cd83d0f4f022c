// The test program's own temporary folder, made fresh when the program starts and
// removed when it ends. Every file a test writes goes there, so two test programs
// (or the same suite of two builds) running at once never share a file.
#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

// The folder, without a trailing '/'.
const std::string& TestTempDir();
// TestTempDir() + "/" + Name.
std::string TestTempFile(const std::string& Name);
// The temporary files a writer of Target has left beside it (none once it is done).
std::vector<std::string> PartFilesBeside(const std::string& Target);

// For the test mains: makes the folder (and exits when it cannot, since the settings
// store must never fall back to the user's own), and removes it again.
void MakeTestTempDir();
void RemoveTestTempDir();

// Tests that hold on to process-wide state of a system library (a print server
// the client found once) run in a program of their own. True when this program
// runs the current test alone, as CTest does; otherwise it runs the test again in
// a fresh copy of this program, reports a failure there as one here, and answers
// false: the caller returns at once.
bool RunsInAProgramOfItsOwn();
// Starts the current test again in a fresh copy of this program, with Role (when
// not empty) in PHONARK_TEST_ROLE and its temporary folder inside ours (a child given
// a role may be killed before it removes its folder); answers the child's pid. A fresh program, not a plain fork: Qt's worker pools and system
// libraries' connections of earlier tests do not survive a fork whole.
pid_t StartThisTestAgain(const std::string& Role);
