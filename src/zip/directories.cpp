#include "zip/directories.h"

#include <windows.h>

#include "host/text.h"

bool CreateDirectoryChain(const std::string& path) {
  std::string chain = path;
  if (!text::EndsWithBackslash(chain)) chain += '\\';
  for (std::size_t i = 0; i < chain.size(); i += text::CharLengthAt(chain, i)) {
    if (chain[i] != '\\') continue;
    std::string level = chain.substr(0, i + 1);
    if (GetFileAttributesA(level.c_str()) == INVALID_FILE_ATTRIBUTES && !CreateDirectoryA(level.c_str(), nullptr))
      return false;
  }
  return true;
}

void CreateRelativeDirectories(const std::string& base, std::string_view directory) {
  if (directory.empty()) return;
  std::size_t cut = text::FindLastSeparator(directory);
  if (cut != std::string_view::npos && cut != 0) CreateRelativeDirectories(base, directory.substr(0, cut));
  std::string level = base;
  level += directory;
  CreateDirectoryA(level.c_str(), nullptr);
}
