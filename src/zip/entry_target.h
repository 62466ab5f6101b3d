// Where an entry may be written. Every path the extraction writes to, file or
// directory, comes from ResolveEntryTarget: a name it refuses touches nothing
// on disk. The rules work on characters of GBK, so the second byte of a
// double-byte character is never taken for a separator, a colon or any other
// character of its own.
#pragma once

#include <string>
#include <string_view>

#include "zip/entry_info.h"

enum class NameVerdict {
  kAccepted,
  // An empty name.
  kNoName,
  // A name of 260 bytes or more (the platform's path limit), or a target
  // path that long once joined to the destination.
  kTooLong,
  // A UTF-8 name that is not valid UTF-8 or has characters that GBK lacks.
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

// Where an accepted name leads below the destination.
struct NamedPath {
  // With "\" separators, without "." or empty components and without a
  // trailing separator; empty for the destination itself.
  std::string relative;
  // By the entry's attributes, or by a name that ends in a separator.
  bool isDirectory = false;
};

// A checked target: the destination, "\" and the named path.
class EntryTarget {
 public:
  const std::string& path() const { return path_; }
  bool IsDirectory() const { return isDirectory_; }
  // The directory below the destination that must exist for this target:
  // the target itself for a directory, the one that holds it for a file;
  // empty for the destination.
  std::string_view DirectoryBelowRoot() const;

 private:
  friend NameVerdict ResolveEntryTarget(const std::string& root, const ZipEntryInfo& entry, EntryTarget& target);
  std::string path_;
  std::size_t rootLength_ = 0;
  bool isDirectory_ = false;
};

// The rules for a name in GBK, with "/" or "\" separators
// alike. "." components mean nothing (bsdtar writes "./readme.txt" and "./"
// for the folder itself), nor do empty ones; a name that ends in a separator
// is a directory whatever the attributes say (jar tools write "META-INF/"
// with none). named is filled when the name is accepted.
NameVerdict CheckEntryName(std::string_view name, bool directoryByAttributes, NamedPath& named);

// root is the destination ending in "\" (a character of its own).
NameVerdict ResolveEntryTarget(const std::string& root, const ZipEntryInfo& entry, EntryTarget& target);
