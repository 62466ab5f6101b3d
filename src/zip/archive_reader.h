// An index-addressed reader over a ZIP archive, on minizip's unzip interface.
// It yields one record per entry, with attributes and time stamps already in
// Win32 terms, and writes one file entry at a time to a checked target.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <minizip/unzip.h>
#include <windows.h>

#include "host/keep_alive.h"
#include "zip/archive_file.h"
#include "zip/entry_info.h"

class EntryTarget;

// How an operation of the reader went; only zero versus non-zero matters to
// the extraction, the values tell the cases apart.
enum class ReaderStatus : std::uint32_t {
  kOk = 0,
  // The archive file, or a target file, cannot be opened.
  kCannotOpen = 0x200,
  // Reading, inflating or verifying the entry data, or writing it, failed.
  kDataError = 0x400,
  // The entry's record or local header is missing or inconsistent, or its
  // method is neither stored (0) nor deflated (8).
  kBadHeader = 0x700,
  // The entry's local extra field cannot be read in full.
  kBadExtraField = 0x800,
  // The index is not below the number of entries.
  kNoSuchEntry = 0x10000,
};

// Win32 attributes of an entry from its external attributes: MS-DOS bits in
// the low half, a Unix mode in the high half.
DWORD AttributesFromExternal(std::uint32_t external);

class ArchiveReader {
 public:
  // A reader, or nothing when the file cannot be opened. A file whose central
  // directory cannot be read still gives a reader, one without an archive.
  static std::unique_ptr<ArchiveReader> OpenArchive(const std::string& path);

  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;
  ~ArchiveReader() { CloseArchive(); }

  // Closes any open entry data and the archive; the reader then has no archive.
  void CloseArchive();

  bool HasArchive() const { return archive_ != nullptr; }
  // Entries that the central directory lists; 0 without an archive.
  std::int32_t EntryCount() const { return entryCount_; }

  // The record of entry index, after checking its local header and reading
  // its local extra field.
  ReaderStatus ReadEntryInfo(std::int32_t index, ZipEntryInfo& info);

  // Writes file entry index to target, whose directory must exist. Nothing
  // is left at the target unless the data was complete and its CRC-32
  // matched; a file that was there before stays as it was on any failure.
  // keepAlive, when given, hears of every chunk written.
  ReaderStatus ExtractEntryToFile(std::int32_t index, const EntryTarget& target,
                                  const KeepAlive* keepAlive = nullptr);

 private:
  // Entry data moves through one buffer of this size. With 16 KB chunks the
  // read and write calls made a patch of pictures and sounds about 15 %
  // slower to extract natively, and each call costs more under Wine.
  static constexpr DWORD kChunkSize = 65536;

  ArchiveReader() = default;

  bool MoveTo(std::int32_t index);
  void CloseEntryData();
  ReaderStatus CopyEntryData(const ZipEntryInfo& info, const EntryTarget& target, const KeepAlive* keepAlive);
  int ReadStoredData(const ZipEntryInfo& info, std::uint64_t start, std::uint64_t done, std::uint32_t& crc);

  ArchiveFile file_;
  unzFile archive_ = nullptr;
  std::int32_t entryCount_ = 0;
  // The entry minizip stands on, or -1 when that is not known.
  std::int32_t position_ = -1;
  // The data of the entry at position_ is open, and nothing of it read yet:
  // extracting reads it to the end and closes it before returning.
  bool entryDataOpen_ = false;
  ZipEntryInfo cached_;
  // The central directory's extra field of the entry being read: it can be
  // no longer than this.
  std::array<unsigned char, 0xFFFF> centralExtra_;
  std::array<char, kChunkSize> chunk_;
};
