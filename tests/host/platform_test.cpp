// What the Windows build relies on from its platform, under Wine.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "host/wide_text.h"
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

// A game folder whose name GBK cannot spell, as a Western system may have
// it: the program names it by its short 8.3 form, which leads to the same
// folder, rather than having no run directory at all.
TEST(Platform, AFolderGbkCannotSpellIsNamedByItsShortForm) {
  testing_support::ScratchDirectory scratch;
  const std::wstring folder = *text::WideFromGbk(scratch.path()) + L"\\Velmora \u00C9dition";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring probe = folder + L"\\probe.exe";
  const std::wstring built = *text::WideFromGbk(testing_support::HostPath(RUN_DIRECTORY_PROBE));
  ASSERT_TRUE(CopyFileW(built.c_str(), probe.c_str(), FALSE));
  testing_support::ProgramRun run = testing_support::RunProgram(L"\"" + probe + L"\"", scratch.path().c_str());
  ASSERT_TRUE(run.started);
  const std::string runDirectory = run.output.substr(0, run.output.find('|'));
  ASSERT_FALSE(runDirectory.empty()) << run.output;
  wchar_t longForm[MAX_PATH] = {};
  GetLongPathNameW(text::WideFromGbk(runDirectory)->c_str(), longForm, MAX_PATH);
  EXPECT_EQ(std::wstring(longForm), folder) << "run directory " << runDirectory;
  // Start-up went there too.
  EXPECT_EQ(run.output.substr(run.output.find('|') + 1, runDirectory.size()), runDirectory) << run.output;
  DeleteFileW(probe.c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
