// What the archive reader tells of one ZIP entry, apart from the reader, so
// that the rules for where an entry may go need not see the reader.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <windows.h>

// General-purpose flag bits of an entry.
constexpr std::uint16_t kEncryptedFlag = 0x0001;
constexpr std::uint16_t kUtf8NameFlag = 0x0800;

// One archive entry. A time of zero is one the archive does not give in a
// convertible form; it is left as the file system sets it.
struct ZipEntryInfo {
  std::int32_t index = -1;
  // As stored, with its "/" separators, however long.
  std::string name;
  // The UTF-8 name of an Info-ZIP Unicode Path field (0x7075, version 1) in
  // the central directory, when the CRC-32 it carries matches the stored name:
  // a tool that could not store the name as it was wrote it there.
  std::optional<std::string> unicodePath;
  // The upper byte of "version made by": 0 MS-DOS and Windows, 3 Unix, 19 macOS.
  std::uint8_t madeOnHost = 0;
  std::uint16_t flags = 0;
  // 0 stored or 8 deflated: the reader gives no record for other methods.
  std::uint16_t method = 0;
  std::uint32_t crc = 0;
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  FILETIME accessTime{};
  FILETIME creationTime{};
  FILETIME modificationTime{};
  std::uint64_t compressedSize = 0;
  std::uint64_t uncompressedSize = 0;

  bool IsDirectory() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  bool HasUtf8Name() const { return (flags & kUtf8NameFlag) != 0; }
  bool IsEncrypted() const { return (flags & kEncryptedFlag) != 0; }
};
