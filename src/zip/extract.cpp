#include "zip/extract.h"

#include <memory>

#include <windows.h>

#include "host/byte_order.h"
#include "host/handle_owners.h"
#include "host/platform_files.h"
#include "host/text.h"
#include "zip/archive_reader.h"
#include "zip/directories.h"
#include "zip/entry_target.h"
#include "zip/entry_writer.h"

namespace {

constexpr unsigned char kLocalHeaderSignature[] = {0x50, 0x4B, 0x03, 0x04};

bool Exists(const std::string& path) { return platform_files::Attributes(path) != INVALID_FILE_ATTRIBUTES; }

// One call of ExtractArchiveTo: where it stands, and whom to tell.
class ExtractionState {
 public:
  explicit ExtractionState(ExtractProgress progress) : progress_(progress) {}

  void SetTotal(std::int32_t total) { total_ = static_cast<std::uint64_t>(total); }

  // After entry index; false when the reply asks to stop.
  bool ReportEntry(std::int32_t index) { return Report(ProgressPercent(static_cast<std::uint64_t>(index), total_)); }

  // The closing notification: every entry counted as done.
  void ReportEnd() { Report(ProgressPercent(total_, total_)); }

 private:
  bool Report(int percent) { return progress_.report == nullptr || progress_.report(progress_.context, percent); }

  ExtractProgress progress_;
  std::uint64_t total_ = 0;
};

// The entry loop; ExtractArchiveTo raises the closing notification for
// every result but a cancel.
int ExtractEntries(ArchiveReader& reader, const std::string& root, ExtractionState& state, bool& cancelled,
                   const KeepAlive* keepAlive) {
  const EntryCount count = CountEntries(reader, keepAlive);
  const std::int32_t total = count.entries;
  if (total < 0) return kExtractFailed;
  state.SetTotal(total);
  ExpectBytes(keepAlive, count.fileBytes);
  DestinationDirectories directories(root);
  EntryWriter writer(keepAlive);
  for (std::int32_t index = 0; index < total; ++index) {
    ZipEntryInfo entry;
    if (reader.ReadEntryInfo(index, entry) != ReaderStatus::kOk) return kExtractFailed;
    EntryTarget target;
    if (ResolveEntryTarget(root, entry, target) != NameVerdict::kAccepted) return kExtractFailed;
    if (!directories.Make(target.DirectoryBelowRoot())) return kExtractFailed;
    if (!target.IsDirectory() && writer.Write(reader, entry, target) != EntryWriteResult::kWritten)
      return kExtractFailed;
    // A directory or an empty file writes nothing, and may still take a while.
    AdvanceBytes(keepAlive, 0);
    if (!state.ReportEntry(index)) {
      cancelled = true;
      return kExtractCompleted;
    }
  }
  // The count stops at the first entry whose information cannot be read: an
  // archive damaged there was extracted only in part, which is a failure.
  return total == reader.EntryCount() ? kExtractCompleted : kExtractFailed;
}

}  // namespace

int ProgressPercent(std::uint64_t current, std::uint64_t total) {
  if (total == 0) return 100;
  return static_cast<int>(static_cast<double>(current) / total * 100.0);
}

ArchiveHead ReadArchiveHead(const std::string& path) {
  FileHandle file(
      platform_files::Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
  if (!file.IsOpen()) return ArchiveHead::kRefused;
  unsigned char head[32];
  DWORD got = 0;
  if (!ReadFile(file.get(), head, sizeof head, &got, nullptr) || got < sizeof head) return ArchiveHead::kRefused;
  for (std::size_t i = 0; i < sizeof kLocalHeaderSignature; ++i)
    if (head[i] != kLocalHeaderSignature[i]) return ArchiveHead::kLeadingData;
  auto value = static_cast<std::int32_t>(LoadDword(&head[24]));
  return value >= 1 ? ArchiveHead::kLocalHeader : ArchiveHead::kRefused;
}

EntryCount CountEntries(ArchiveReader& reader, const KeepAlive* keepAlive) {
  EntryCount count;
  if (!reader.HasArchive()) return count;
  count.entries = 0;
  ZipEntryInfo entry;
  while (reader.ReadEntryInfo(count.entries, entry) == ReaderStatus::kOk) {
    ++count.entries;
    if (!entry.IsDirectory()) count.fileBytes += entry.uncompressedSize;
    AdvanceBytes(keepAlive, 0);
  }
  return count;
}

int ExtractArchiveTo(const std::string& archive, const std::string& destination, ExtractProgress progress) {
  if (archive.empty() || destination.empty()) return kExtractMissingInput;
  ExtractionState state(progress);
  // Declared first so that the archive closes after the closing notification.
  std::unique_ptr<ArchiveReader> reader;
  int result = kExtractFailed;
  bool cancelled = false;
  std::string root = destination;
  if (!text::EndsWithBackslash(root)) root += '\\';
  if (!Exists(archive)) {
    result = kExtractMissingInput;
  } else if (!text::EndsWithBackslash(root)) {
    // The destination ends in a lead byte that took the appended "\" as its
    // second byte: names would be glued to its last component.
  } else if (Exists(destination) || CreateDirectoryChain(destination)) {
    ArchiveHead head = ReadArchiveHead(archive);
    if (head != ArchiveHead::kRefused) reader = ArchiveReader::OpenArchive(archive);
    // Past leading data only the central directory vouches for an archive,
    // and one that lists nothing is none.
    if (reader && (head == ArchiveHead::kLocalHeader || reader->EntryCount() > 0))
      result = ExtractEntries(*reader, root, state, cancelled, progress.keepAlive);
  }
  if (!cancelled) state.ReportEnd();
  return result;
}
