// The test program's own temporary folder, made fresh when the program starts and
// removed when it ends. Every file a test writes goes there, so two test programs
// (or the same suite of two builds) running at once never share a file.
#pragma once
#include <string>
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
