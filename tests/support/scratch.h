// Test support shared by both builds: scratch directories and file access
// through the same Win32 calls the program makes (kernel32 under Wine, the
// stand-in layer natively).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace testing_support {

// A fresh, empty directory (Windows path, no trailing backslash), removed
// with everything in it when the object goes.
class ScratchDirectory {
 public:
  ScratchDirectory();
  // A fresh directory in parent rather than in the temporary folder.
  explicit ScratchDirectory(const std::string& parent);
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

void RemoveTree(const std::string& path);

// Every file below root, as sorted paths relative to it ("a\\b.txt").
std::vector<std::string> FilesUnder(const std::string& root);
// The same files with their bytes.
std::map<std::string, std::string> FileContentsUnder(const std::string& root);

bool Exists(const std::string& path);
bool Exists(const std::wstring& path);
bool IsDirectory(const std::string& path);
std::string ReadWholeFile(const std::string& path);
// The same by a UTF-16 path; nothing when the file cannot be opened.
std::optional<std::string> ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

// A path of the build machine as this program sees it ("Z:\..." under Wine).
std::string HostPath(const std::string& unixPath);

}  // namespace testing_support
