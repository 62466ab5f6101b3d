// What the built installer carries: its icon, the hand pointer, the version
// information, and no application manifest.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "support/scratch.h"

namespace {

class InstallerImage : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = testing_support::HostPath(INSTALLER_EXE);
    module_ = LoadLibraryExA(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override { FreeLibrary(module_); }

  // Read wide: the strings are UTF-16 in the resource, whatever the system's
  // code page.
  std::wstring VersionString(const wchar_t* name) {
    const std::wstring path(path_.begin(), path_.end());
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return L"<no version information>";
    wchar_t* value = nullptr;
    UINT length = 0;
    std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    if (!VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) return L"<missing>";
    return value;
  }

  std::string path_;
  HMODULE module_ = nullptr;
};

TEST_F(InstallerImage, CarriesItsIconPointerAndVersionAndNoManifest) {
  EXPECT_NE(FindResourceA(module_, "DEFAULT_ICON", MAKEINTRESOURCEA(14)), nullptr);  // RT_GROUP_ICON
  EXPECT_NE(FindResourceA(module_, MAKEINTRESOURCEA(1032), MAKEINTRESOURCEA(12)), nullptr);  // RT_GROUP_CURSOR
  EXPECT_EQ(FindResourceA(module_, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)), nullptr);  // RT_MANIFEST
  EXPECT_EQ(VersionString(L"FileVersion"), L"1.0.0.0");
  EXPECT_EQ(VersionString(L"ProductVersion"), L"1.0.0.0");
  EXPECT_EQ(VersionString(L"FileDescription"), L"Tarnwick汉化组");
  EXPECT_EQ(VersionString(L"ProductName"), L"《Velmora》汉化1.0补丁安装与卸载器");
}

}  // namespace
