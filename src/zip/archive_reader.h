// An index-addressed reader over a ZIP archive, on minizip's unzip interface.
// It yields one record per entry, with attributes and time stamps already in
// Win32 terms, and hands out an entry's data, stored or inflated, chunk by
// chunk into the caller's buffer. Where the data goes is not its business:
// the extraction writes it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include <minizip/unzip.h>
#include <windows.h>

#include "zip/archive_file.h"
#include "zip/entry_info.h"

// How an operation of the reader went; only zero versus non-zero matters to
// the extraction, the values tell the cases apart.
enum class ReaderStatus : std::uint32_t {
  kOk = 0,
  // The archive file cannot be opened.
  kCannotOpen = 0x200,
  // Reading, inflating or verifying the entry data failed, or the entry is
  // encrypted.
  kDataError = 0x400,
  // The entry's record or local header is missing or inconsistent, or its
  // method is neither stored (0) nor deflated (8).
  kBadHeader = 0x700,
  // The entry's local extra field cannot be read in full.
  kBadExtraField = 0x800,
  // The index is not below the number of entries, or no entry's data is
  // open to be read.
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

  // Opens the data of entry index for reading from its start, closing any
  // other entry's. Encrypted data is refused: without a password minizip
  // would hand back the ciphertext as if it were the file.
  ReaderStatus OpenEntryData(std::int32_t index);

  // The next bytes of the open entry's data, at most into.size() of them;
  // got is their count. A call that finds the data at its end gives got 0
  // and kOk only when the data was as long as the central directory says
  // and its CRC-32 matched (minizip's verdict on closing inflated data);
  // the data is closed then, and on any error.
  ReaderStatus ReadEntryData(std::span<char> into, std::size_t& got);

 private:
  // The entry whose data is being handed out.
  struct Reading {
    // Stored data is read here, straight from where minizip found it, and
    // checked here: minizip copies it a byte at a time, which costs a patch
    // of pictures and sounds more than all its inflating.
    bool stored = false;
    std::uint64_t storedStart = 0;
    std::uint64_t compressedSize = 0;
    std::uint32_t storedCrcSoFar = 0;
    // What the central directory says the data holds.
    std::uint64_t uncompressedSize = 0;
    std::uint32_t crc = 0;
    // Bytes handed out so far.
    std::uint64_t done = 0;
  };

  ArchiveReader() = default;

  bool MoveTo(std::int32_t index);
  void CloseEntryData();
  int ReadStoredData(std::span<char> into);

  ArchiveFile file_;
  unzFile archive_ = nullptr;
  std::int32_t entryCount_ = 0;
  // The entry minizip stands on, or -1 when that is not known.
  std::int32_t position_ = -1;
  // Minizip has the data of the entry at position_ open. Without a reading
  // nothing of it has been read yet: reading the record opened it, and
  // handing out its data may start from there.
  bool entryDataOpen_ = false;
  std::optional<Reading> reading_;
  ZipEntryInfo cached_;
  // The central directory's extra field of the entry being read: it can be
  // no longer than this.
  std::array<unsigned char, 0xFFFF> centralExtra_;
};
