// Making the directories of a path, level by level. Both functions work on
// characters of the ANSI code page: a 0x5C second byte is not a separator.
#pragma once

#include <string>
#include <string_view>

// Creates each missing level of path (with or without a trailing "\"), from
// the first level on; levels that exist, such as the drive root or the
// destination, are passed over. False when a level cannot be created; the
// levels made before it stay.
bool CreateDirectoryChain(const std::string& path);

// Creates the levels of a relative directory under base (which ends in "\"),
// shortest first. Failures are ignored: a level that exists already is what
// is wanted, and one that cannot be made shows when the file is created.
void CreateRelativeDirectories(const std::string& base, std::string_view directory);
