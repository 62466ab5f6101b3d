// What the Windows build relies on from its platform, under Wine.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "support/child_process.h"
#include "support/scratch.h"

namespace {

TEST(Platform, AnsiCodePageIs936) { EXPECT_EQ(GetACP(), 936u); }

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
  testing_support::ProgramRun probe = testing_support::RunProgram("\"T:\\probe.exe\"", windowsDir, environment.c_str());
  ASSERT_TRUE(probe.started);
  while (!probe.output.empty() && (probe.output.back() == '\n' || probe.output.back() == '\r')) probe.output.pop_back();
  EXPECT_EQ(probe.output, "T:|T:\\");
  DeleteFileA("T:\\probe.exe");
  RemoveDirectoryA("T:\\sub");
}

}  // namespace
