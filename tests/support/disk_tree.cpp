#include "support/disk_tree.h"

#include <vector>

#include "support/scratch.h"

namespace testing_support {

namespace {

std::int64_t UnixSeconds(const FILETIME& time) {
  constexpr std::int64_t kUnixEpochIn100ns = 116444736000000000LL;
  auto value = static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  return (value - kUnixEpochIn100ns) / 10000000;
}

void ListTree(const std::string& root, const std::string& relative, std::map<std::string, DiskItem>& tree) {
  std::string directory = relative.empty() ? root : root + "\\" + relative;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> subdirectories;
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    std::string path = relative.empty() ? name : relative + "/" + name;
    DiskItem& item = tree[path];
    item.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    item.attributes = data.dwFileAttributes;
    item.modified = UnixSeconds(data.ftLastWriteTime);
    item.accessed = UnixSeconds(data.ftLastAccessTime);
    if (item.directory) subdirectories.push_back(path);
  } while (FindNextFileA(search, &data));
  FindClose(search);
  for (const std::string& path : subdirectories) ListTree(root, path, tree);
}

}  // namespace

std::map<std::string, DiskItem> ReadTree(const std::string& root) {
  std::map<std::string, DiskItem> tree;
  ListTree(root, "", tree);
  for (auto& [path, item] : tree) {
    if (item.directory) continue;
    std::string windowsPath = root;
    // "/" is never the second byte of a double-byte character.
    for (char c : "\\" + path) windowsPath += c == '/' ? '\\' : c;
    item.contents = ReadWholeFile(windowsPath);
  }
  return tree;
}

}  // namespace testing_support
