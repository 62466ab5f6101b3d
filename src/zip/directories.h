// Making the directories of a path, level by level. Both work on characters
// of GBK: a 0x5C second byte is not a separator.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <string_view>

// Creates each missing level of path (with or without a trailing "\"), from
// the first level on; levels that exist, such as the drive root or the
// destination, are passed over. False when a level cannot be created; the
// levels made before it stay.
bool CreateDirectoryChain(const std::string& path);

// The directories below one extraction's destination. Archives from
// Explorer, Compress-Archive, jar tools and "zip -D" list no directory
// entries, so every level a target needs is made here, once: a level made or
// found is remembered for the rest of the extraction, and under Wine every
// file-system call is a round trip to the server.
class DestinationDirectories {
 public:
  // root is the destination, which exists, ending in "\".
  explicit DestinationDirectories(std::string root) : root_(std::move(root)) {}

  // Makes every missing level of relative (below the root, "\" separators,
  // no trailing one; empty for the root itself). A level that is there
  // already counts as made, even if a file is in its place: writing into it
  // fails then. False when a level cannot be created.
  bool Make(std::string_view relative);

 private:
  std::string root_;
  std::set<std::string, std::less<>> known_;
};
