// Where an entry may be written. Every path the extraction writes to, file or
// directory, comes from ResolveEntryTarget: a name it refuses touches nothing
// on disk. The rules work on characters of the ANSI code page, so the second
// byte of a double-byte character is never taken for a separator, a colon or
// any other character of its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "zip/archive_reader.h"

enum class NameVerdict {
  kAccepted,
  // Empty, or a file entry whose name ends in a separator.
  kNoName,
  // A name of 260 bytes or more (the platform's path limit), or a target
  // path that long once joined to the destination.
  kTooLong,
  // A UTF-8 name that is not valid UTF-8 or has characters the ANSI code
  // page lacks.
  kUnrepresentable,
  // A leading separator, or a component of dots and spaces only ("..", and
  // the spellings that the platform trims to it).
  kLeavesDestination,
  // A ":" anywhere: a drive prefix or an alternate data stream.
  kDriveOrStream,
  // A component that names a device (NUL, CON, COM1, "nul.txt", ...).
  kDeviceName,
  // A control character, one of < > " | ? *, or a lead byte with no second
  // byte.
  kInvalidCharacter,
};

// A checked target path: destination, "\" and the entry's name with "\"
// separators.
class EntryTarget {
 public:
  const std::string& path() const { return path_; }

 private:
  friend NameVerdict ResolveEntryTarget(const std::string& root, const ZipEntryInfo& entry, EntryTarget& target);
  std::string path_;
};

// The rules for a name in the ANSI code page, with "/" or "\" separators.
NameVerdict CheckEntryName(std::string_view name, bool isDirectory);

// The entry's name in the ANSI code page: converted when its UTF-8 flag is
// set, as stored otherwise; nothing when it cannot be represented.
std::optional<std::string> AnsiEntryName(const ZipEntryInfo& entry);

// root is the destination ending in "\" (a character of its own).
NameVerdict ResolveEntryTarget(const std::string& root, const ZipEntryInfo& entry, EntryTarget& target);
