// Unpacking every entry of a ZIP archive into a directory: the algorithm
// behind the ZIP unit's ExtractArchive method, free of any window, so that
// the unit type only supplies the progress hook.
#pragma once

#include <cstdint>
#include <string>

#include "host/keep_alive.h"

class ArchiveReader;

// The percentage hook, called after each entry with the share of entries
// done, and once more with 100 when the extraction ends other than by
// cancelling. A false reply cancels after the entry just processed.
// keepAlive, when given, is told the bytes the archive's files hold once
// they are counted, and hears of every piece of work after that.
struct ExtractProgress {
  bool (*report)(void* context, int percent);
  void* context;
  const KeepAlive* keepAlive = nullptr;
};

// Results of ExtractArchiveTo.
// Every entry was processed, or a progress reply cancelled.
constexpr int kExtractCompleted = 1;
// Something could not be extracted; entries before it stay.
constexpr int kExtractFailed = 0;
// The archive or destination text is empty, or the archive does not exist.
constexpr int kExtractMissingInput = -1;

// Extracts archive (a path, absolute or relative to the current directory)
// into destination (with or without a trailing "\"), creating the
// destination when it does not exist.
int ExtractArchiveTo(const std::string& archive, const std::string& destination, ExtractProgress progress);

// What the first 32 bytes of an archive file say.
enum class ArchiveHead {
  // Shorter than 32 bytes or unreadable, or a local file header whose signed
  // 32-bit value at offset 24 (the upper half of the uncompressed size, then
  // the name length) is below 1.
  kRefused,
  // A local file header that passes that test.
  kLocalHeader,
  // Something else: a self-extractor's stub or padding may stand before the
  // first local header, which only the central directory can tell.
  kLeadingData,
};

ArchiveHead ReadArchiveHead(const std::string& path);

// What the counting pass finds.
struct EntryCount {
  // The leading entries whose information can be read, or -1 when the reader
  // has no archive (its central directory was unreadable).
  std::int32_t entries = -1;
  // The bytes that the files among them hold.
  std::uint64_t fileBytes = 0;
};
// keepAlive, when given, hears of every entry read.
EntryCount CountEntries(ArchiveReader& reader, const KeepAlive* keepAlive = nullptr);

// current ÷ total × 100, truncated; 100 when there is nothing to count.
int ProgressPercent(std::uint64_t current, std::uint64_t total);
