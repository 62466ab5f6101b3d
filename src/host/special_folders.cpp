#include "host/special_folders.h"

#include <windows.h>

#include "host/text.h"

std::string WithTrailingBackslash(std::string_view directory) {
  if (directory.empty()) return {};
  if (text::EndsWithBackslash(directory)) return std::string(directory);
  // A path that cannot take its separator would send whatever is appended to
  // it into the parent directory under a joined name; better no path at all.
  if (directory.size() + 2 > MAX_PATH) return {};
  return std::string(directory) + '\\';
}
