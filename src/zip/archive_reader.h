// An index-addressed reader over a ZIP archive, on minizip's unzip interface.
// It yields one record per entry, with attributes and time stamps already in
// Win32 terms, and hands out an entry's data, stored or inflated, chunk by
// chunk into the caller's buffer. Where the data goes is not its business:
// the extraction writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include <windows.h>

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
  ~ArchiveReader();

  // Closes any open entry data and the archive; the reader then has no archive.
  void CloseArchive();

  bool HasArchive() const;
  // Entries that the central directory lists; 0 without an archive.
  std::int32_t EntryCount() const;

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
  struct State;

  explicit ArchiveReader(std::unique_ptr<State> state);

  // The minizip handle, the file beneath it and the buffers of the entry
  // being read: none of them shows outside the reader's source.
  std::unique_ptr<State> state_;
};
