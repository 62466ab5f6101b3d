// What the built installer carries: its icon, the hand pointer, the version
// information, and no application manifest.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer_driver.h"
#include "support/scratch.h"

namespace {

using installer_driver::Ansi;

class InstallerImage : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = testing_support::HostPath(INSTALLER_EXE);
    module_ = LoadLibraryExA(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override { FreeLibrary(module_); }

  std::string VersionString(const char* name) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path_.c_str(), &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoA(path_.c_str(), 0, size, data.data())) return "<no version information>";
    char* value = nullptr;
    UINT length = 0;
    std::string key = std::string("\\StringFileInfo\\080404b0\\") + name;
    if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) return "<missing>";
    return value;
  }

  std::string path_;
  HMODULE module_ = nullptr;
};

TEST_F(InstallerImage, CarriesItsIconPointerAndVersionAndNoManifest) {
  EXPECT_NE(FindResourceA(module_, "DEFAULT_ICON", MAKEINTRESOURCEA(14)), nullptr);  // RT_GROUP_ICON
  EXPECT_NE(FindResourceA(module_, MAKEINTRESOURCEA(1032), MAKEINTRESOURCEA(12)), nullptr);  // RT_GROUP_CURSOR
  EXPECT_EQ(FindResourceA(module_, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)), nullptr);  // RT_MANIFEST
  EXPECT_EQ(VersionString("FileVersion"), "1.0.0.0");
  EXPECT_EQ(VersionString("ProductVersion"), "1.0.0.0");
  EXPECT_EQ(VersionString("FileDescription"), Ansi("Tarnwick汉化组"));
  EXPECT_EQ(VersionString("ProductName"), Ansi("《Velmora》汉化1.0补丁安装与卸载器"));
}

}  // namespace
