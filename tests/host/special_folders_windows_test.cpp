// The special directories as the platform reports them in the test prefix,
// whose user folders are real folders of its own.
#include "host/special_folders.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include <windows.h>

#include "support/scratch.h"

namespace {

using testing_support::Exists;
using testing_support::ScratchDirectory;

std::string Environment(const char* name) {
  char buffer[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableA(name, buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

std::string WindowsDirectory() {
  char buffer[MAX_PATH] = {};
  return std::string(buffer, GetWindowsDirectoryA(buffer, MAX_PATH));
}

std::string SystemDirectory() {
  char buffer[MAX_PATH] = {};
  return std::string(buffer, GetSystemDirectoryA(buffer, MAX_PATH));
}

std::string TempDirectory() {
  char buffer[MAX_PATH] = {};
  return std::string(buffer, GetTempPathA(MAX_PATH, buffer));
}

TEST(GetSpecialDirectory, EachKindNamesItsOwnFolder) {
  const std::string profile = Environment("USERPROFILE");
  const std::string appData = Environment("APPDATA");
  const std::string startMenu = appData + "\\Microsoft\\Windows\\Start Menu\\";
  ASSERT_FALSE(profile.empty());
  ASSERT_FALSE(appData.empty());
  struct Case {
    int kind;
    std::string expected;
  } cases[] = {
      {1, profile + "\\Documents\\"},
      {2, profile + "\\Favorites\\"},
      {3, profile + "\\Desktop\\"},
      {4, WindowsDirectory() + "\\Fonts\\"},
      {5, startMenu},
      {6, startMenu + "Programs\\"},
      {7, startMenu + "Programs\\StartUp\\"},
      {8, appData + "\\"},
      {9, WindowsDirectory() + "\\"},
      {10, SystemDirectory() + "\\"},
      // The platform already ends this one in "\"; it gets no second one.
      {11, TempDirectory()},
  };
  for (const Case& c : cases) {
    std::string directory = GetSpecialDirectory(c.kind);
    EXPECT_STRCASEEQ(directory.c_str(), c.expected.c_str()) << "kind " << c.kind;
    EXPECT_TRUE(testing_support::IsDirectory(directory)) << directory;
  }
}

TEST(GetSpecialDirectory, OtherKindsAreEmpty) {
  for (int kind : {0, 12, -1, -3, INT_MIN, INT_MAX}) EXPECT_EQ(GetSpecialDirectory(kind), "") << kind;
}

// Points the user's Favorites folder elsewhere through the per-user setting
// the shell reads it from, and puts the setting back when it goes.
class FavoritesMovedTo {
 public:
  explicit FavoritesMovedTo(const std::string& directory) {
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                        nullptr) != ERROR_SUCCESS)
      return;
    char buffer[4096] = {};
    DWORD size = sizeof buffer - 1;
    if (RegQueryValueExA(key_, kValue, nullptr, &previousType_, reinterpret_cast<BYTE*>(buffer), &size) ==
        ERROR_SUCCESS)
      previous_ = std::string(buffer);
    moved_ = Set(REG_SZ, directory);
  }
  ~FavoritesMovedTo() {
    if (!key_) return;
    if (previous_)
      Set(previousType_, *previous_);
    else
      RegDeleteValueA(key_, kValue);
    RegCloseKey(key_);
  }
  FavoritesMovedTo(const FavoritesMovedTo&) = delete;
  FavoritesMovedTo& operator=(const FavoritesMovedTo&) = delete;

  bool moved() const { return moved_; }

 private:
  static constexpr const char* kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  static constexpr const char* kValue = "Favorites";

  bool Set(DWORD type, const std::string& value) {
    return RegSetValueExA(key_, kValue, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  }

  HKEY key_ = nullptr;
  DWORD previousType_ = REG_SZ;
  std::optional<std::string> previous_;
  bool moved_ = false;
};

TEST(GetSpecialDirectory, AMissingFolderIsEmptyAndStaysMissing) {
  ScratchDirectory dir;
  FavoritesMovedTo favorites(dir / "missing");
  ASSERT_TRUE(favorites.moved());
  EXPECT_EQ(GetSpecialDirectory(2), "");
  EXPECT_FALSE(Exists(dir / "missing"));
}

// A folder whose name ends in 盶 (GBK B1 5C) has no separator yet: judged by
// its last byte it would keep none, and whatever is appended would land in
// the parent folder under a joined name.
TEST(GetSpecialDirectory, AFolderEndingInATrailByte5CGetsItsSeparator) {
  ScratchDirectory dir;
  const std::string folder = dir / "\xB1\x5C";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  FavoritesMovedTo favorites(folder);
  ASSERT_TRUE(favorites.moved());
  EXPECT_EQ(GetSpecialDirectory(2), folder + "\\");
}

}  // namespace
