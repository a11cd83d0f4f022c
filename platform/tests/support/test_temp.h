// The test program's own temporary folder, made fresh when the program starts and
// removed when it ends. Every file a test writes goes there, so two test programs
// (or the same suite of two builds) running at once never share a file.
#pragma once
#include <string>

// The folder, without a trailing '/'.
const std::string& TestTempDir();
// TestTempDir() + "/" + Name.
std::string TestTempFile(const std::string& Name);

// For the test mains: makes the folder (and exits when it cannot, since the settings
// store must never fall back to the user's own), and removes it again.
void MakeTestTempDir();
void RemoveTestTempDir();
