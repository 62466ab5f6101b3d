#include "zip/directories.h"

#include <windows.h>

#include "host/platform_files.h"
#include "host/text.h"

bool CreateDirectoryChain(const std::string& path) {
  std::string chain = path;
  if (!text::EndsWithBackslash(chain)) chain += '\\';
  for (std::size_t i = 0; i < chain.size(); i += text::CharLengthAt(chain, i)) {
    if (chain[i] != '\\') continue;
    std::string level = chain.substr(0, i + 1);
    if (platform_files::Attributes(level) == INVALID_FILE_ATTRIBUTES && !platform_files::NewDirectory(level))
      return false;
  }
  return true;
}

bool DestinationDirectories::Make(std::string_view relative) {
  if (relative.empty() || known_.contains(relative)) return true;
  // Levels are remembered only once those above them are: a known level
  // needs no look at its parents.
  std::size_t cut = text::FindLastBackslash(relative);
  if (cut != std::string_view::npos && !Make(relative.substr(0, cut))) return false;
  std::string level = root_;
  level += relative;
  if (!platform_files::NewDirectory(level) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  known_.emplace(relative);
  return true;
}
