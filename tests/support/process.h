// Starts a program with a chosen first argument and folder and collects what it prints.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

// The folder the running test program lives in, with a trailing separator.
std::string OwnFolder();

// Runs program (a path) with argv[0] = first and the further args, in folder cwd.
// Returns the exit code, or -1 when it could not be started; output gets stdout.
int RunCapture(const std::string& program, const std::string& first,
               const std::vector<std::string>& args, const std::string& cwd, std::string& output);

// A Linux path as the program sees it: under Wine drive Z is the root.
std::string FromLinux(const std::string& path);

#if defined(_WIN32)
// Saves a picture of the whole X display to path (a Linux path, a .png), so it shows what
// Wine really drew; pump(ms) keeps this thread's windows painting meanwhile. False when the
// picture cannot be taken or is not finished within about ten seconds.
bool CaptureDisplay(const std::string& path, void (*pump)(int ms));
#endif

// Copies a file; true on success.
bool CopyFileTo(const std::string& from, const std::string& to);

// A fresh empty folder for one test, removed by the caller with RemoveTree.
std::string MakeTempFolder(const std::string& hint);
void RemoveTree(const std::string& folder);

} // namespace testing_support
