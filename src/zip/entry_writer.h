// Writing the file entries of an archive to disk: the reader hands out an
// entry's data, and it goes to the entry's checked target through a
// FileOutput, so that only complete data with a matching CRC-32 ever takes
// the target's place.
#pragma once

#include <vector>

#include "host/keep_alive.h"
#include "zip/archive_reader.h"
#include "zip/entry_info.h"
#include "zip/entry_target.h"

enum class EntryWriteResult {
  kWritten,
  // The reader refused the data or found it damaged: an encrypted entry, an
  // inflate error, data shorter than announced, a CRC-32 mismatch.
  kBadData,
  // Neither the target nor a temporary file beside it can be created
  // (directory missing, name refused, access denied).
  kCannotCreate,
  // A write failed (a full disk).
  kCannotWrite,
  // The complete file could not be closed or put in the target's place.
  kCannotPlace,
};

// One per extraction: the buffer every entry's data moves through.
class EntryWriter {
 public:
  // keepAlive, when given, hears of every chunk written.
  explicit EntryWriter(const KeepAlive* keepAlive);

  // Writes file entry entry.index of reader to target, with the entry's
  // times and normal attributes. Nothing is left at the target unless the
  // data was complete and verified; a file that was there before stays as it
  // was on any failure.
  EntryWriteResult Write(ArchiveReader& reader, const ZipEntryInfo& entry, const EntryTarget& target);

 private:
  const KeepAlive* keepAlive_;
  std::vector<char> chunk_;
};
