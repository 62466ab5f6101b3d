// Running a program of the test build in a process of its own, for what
// cannot be tested in the test's process: exits, the start directory.
#pragma once

#include <string>

#include <windows.h>

namespace testing_support {

struct ProgramRun {
  bool started = false;
  DWORD exitCode = 0;
  std::string output;  // standard output and standard error together
};

// Runs commandLine (GBK, or UTF-16 for names GBK lacks) to its end. Without a
// current directory or environment block the child inherits the test's.
ProgramRun RunProgram(const std::wstring& commandLine, const char* currentDirectory = nullptr,
                      const char* environment = nullptr);
ProgramRun RunProgram(const std::string& commandLine, const char* currentDirectory = nullptr,
                      const char* environment = nullptr);

}  // namespace testing_support
