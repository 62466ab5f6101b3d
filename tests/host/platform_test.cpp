// What the Windows build relies on from its platform, under Wine.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "support/scratch.h"

namespace {

TEST(Platform, AnsiCodePageIs936) { EXPECT_EQ(GetACP(), 936u); }

// Runs command with the given current directory and environment block and
// returns what it printed.
std::string RunAndCapture(const std::string& command, const std::string& currentDirectory, const char* environment) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readPipe = nullptr, writePipe = nullptr;
  if (!CreatePipe(&readPipe, &writePipe, &inherit, 0)) return "no pipe";
  SetHandleInformation(readPipe, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writePipe;
  startup.hStdError = writePipe;
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + command + "\"";
  BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                const_cast<char*>(environment), currentDirectory.c_str(), &startup, &process);
  CloseHandle(writePipe);
  std::string output;
  if (started) {
    char chunk[512];
    DWORD got = 0;
    while (ReadFile(readPipe, chunk, sizeof chunk, &got, nullptr) && got > 0) output.append(chunk, got);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(readPipe);
  while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
  return started ? output : "not started";
}

// A program in a drive's root keeps "T:" as its run directory but must work
// in T:\ itself, not in whatever directory the process last used on T:.
TEST(Platform, ProgramInADriveRootWorksInThatRoot) {
  // The test prefix maps T: to a folder in the build tree.
  ASSERT_NE(GetDriveTypeA("T:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  testing_support::RemoveTree("T:\\sub");
  ASSERT_TRUE(CreateDirectoryA("T:\\sub", nullptr));
  ASSERT_TRUE(CopyFileA(testing_support::HostPath(RUN_DIRECTORY_PROBE).c_str(), "T:\\probe.exe", FALSE));
  // "=T:" records the process's current directory on drive T.
  std::string environment = std::string("=T:=T:\\sub") + '\0' + "SystemRoot=C:\\windows" + '\0' + '\0';
  char windowsDir[MAX_PATH] = {};
  GetWindowsDirectoryA(windowsDir, MAX_PATH);
  EXPECT_EQ(RunAndCapture("T:\\probe.exe", windowsDir, environment.c_str()), "T:|T:\\");
  DeleteFileA("T:\\probe.exe");
  RemoveDirectoryA("T:\\sub");
}

}  // namespace
