// What a directory holds on disk, read back through the platform's own
// listing: names as FindFirstFileA gives them (in the ANSI code page), kinds,
// attributes, times and bytes.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include <windows.h>

namespace testing_support {

struct DiskItem {
  bool directory = false;
  std::string contents;
  DWORD attributes = 0;
  // Seconds since 1970-01-01 UTC.
  std::int64_t modified = 0;
  std::int64_t accessed = 0;
};

// Everything below root by relative path with "/" separators. Times and
// attributes are all taken before any file is read, since reading moves
// access times.
std::map<std::string, DiskItem> ReadTree(const std::string& root);

}  // namespace testing_support
