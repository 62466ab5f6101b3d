#include "zip/archive_reader.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <vector>

#include <minizip/unzip.h>

#include "host/byte_order.h"
#include "host/civil_date.h"
#include "zip/archive_file.h"

namespace {

constexpr std::uint16_t kExtendedTimestampId = 0x5455;  // "UT"
constexpr std::uint16_t kUnicodePathId = 0x7075;        // "up"
constexpr std::uint8_t kUnicodePathVersion = 1;

// The data of the first block with this header ID in an extra field, cut
// off where the field ends; nothing when there is none.
std::optional<std::span<const unsigned char>> FindExtraBlock(std::span<const unsigned char> field, std::uint16_t id) {
  for (std::size_t offset = 0; offset + 4 <= field.size();) {
    std::size_t dataStart = offset + 4;
    std::size_t dataSize = LoadWord(&field[offset + 2]);
    if (LoadWord(&field[offset]) == id) return field.subspan(dataStart, std::min(dataSize, field.size() - dataStart));
    offset = dataStart + dataSize;
  }
  return std::nullopt;
}

// Seconds since 1970-01-01 00:00:00 UTC, broken down into a UTC calendar date
// (valid for any count, negative ones too) and converted.
bool FileTimeFromUnixSeconds(std::int32_t seconds, FILETIME& out) {
  std::int64_t days = seconds >= 0 ? seconds / 86400 : (static_cast<std::int64_t>(seconds) - 86399) / 86400;
  std::int64_t secondOfDay = seconds - days * 86400;
  const CivilDate date = CivilDateOf(days + kUnixDayZeroFromMarchYearZero);
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(date.year);
  time.wMonth = static_cast<WORD>(date.month);
  time.wDay = static_cast<WORD>(date.day);
  time.wHour = static_cast<WORD>(secondOfDay / 3600);
  time.wMinute = static_cast<WORD>(secondOfDay / 60 % 60);
  time.wSecond = static_cast<WORD>(secondOfDay % 60);
  return SystemTimeToFileTime(&time, &out) != FALSE;
}

// The first "UT" block of the local extra field replaces the times it
// carries. A time is taken only from bytes inside both the block and the
// field; one that is announced but not there keeps its MS-DOS value.
void ApplyExtendedTimestamp(std::span<const unsigned char> extra, ZipEntryInfo& info) {
  std::optional<std::span<const unsigned char>> block = FindExtraBlock(extra, kExtendedTimestampId);
  if (!block || block->empty()) return;
  unsigned flags = (*block)[0];
  FILETIME* times[] = {&info.modificationTime, &info.accessTime, &info.creationTime};
  std::size_t at = 1;
  for (unsigned bit = 0; bit < 3; ++bit) {
    if (!(flags & (1u << bit))) continue;
    if (at + 4 > block->size()) return;
    FileTimeFromUnixSeconds(static_cast<std::int32_t>(LoadDword(&(*block)[at])), *times[bit]);
    at += 4;
  }
}

// The UTF-8 name of a Unicode Path block, when it was made from this very
// stored name: a name changed by a tool that did not know the block leaves
// a CRC-32 that no longer matches, and then the stored name counts.
std::optional<std::string> UnicodePath(std::span<const unsigned char> extra, const std::string& storedName) {
  std::optional<std::span<const unsigned char>> block = FindExtraBlock(extra, kUnicodePathId);
  if (!block || block->size() <= 5 || (*block)[0] != kUnicodePathVersion) return std::nullopt;
  auto crc = static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(storedName.data()), static_cast<uInt>(storedName.size())));
  if (LoadDword(&(*block)[1]) != crc) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(block->data()) + 5, block->size() - 5);
}

// Minizip reads the archive through this table of file functions, over the
// reader's ArchiveFile; the path minizip opens is that object itself.
voidpf ZCALLBACK OpenArchiveFile(voidpf, const void* file, int mode) {
  auto* archive = static_cast<ArchiveFile*>(const_cast<void*>(file));
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ || !archive->IsOpen()) return nullptr;
  return archive;
}

uLong ZCALLBACK ReadArchiveFile(voidpf, voidpf file, void* into, uLong size) {
  return static_cast<uLong>(static_cast<ArchiveFile*>(file)->Read(static_cast<unsigned char*>(into), size));
}

uLong ZCALLBACK WriteArchiveFile(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK TellArchiveFile(voidpf, voidpf file) { return static_cast<ArchiveFile*>(file)->Tell(); }

long ZCALLBACK SeekArchiveFile(voidpf, voidpf file, ZPOS64_T offset, int origin) {
  ArchiveFile::SeekOrigin from;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: from = ArchiveFile::SeekOrigin::kStart; break;
    case ZLIB_FILEFUNC_SEEK_CUR: from = ArchiveFile::SeekOrigin::kCurrent; break;
    case ZLIB_FILEFUNC_SEEK_END: from = ArchiveFile::SeekOrigin::kEnd; break;
    default: return -1;
  }
  return static_cast<ArchiveFile*>(file)->Seek(offset, from) ? 0 : -1;
}

// Minizip's close leaves the file open: it belongs to the reader.
int ZCALLBACK CloseArchiveFile(voidpf, voidpf) { return 0; }

// Minizip asks after a read that came up short, and takes a "no" for an end
// of file that reads as zeros: a header cut off by the end of the file would
// then pass for a whole one. Here an archive has no business ending inside
// a header, so a short read is an error.
int ZCALLBACK ArchiveFileError(voidpf, voidpf file) {
  return static_cast<ArchiveFile*>(file)->LastReadShort() ? 1 : 0;
}

zlib_filefunc64_def ArchiveFileFunctions() {
  zlib_filefunc64_def functions{};
  functions.zopen64_file = &OpenArchiveFile;
  functions.zread_file = &ReadArchiveFile;
  functions.zwrite_file = &WriteArchiveFile;
  functions.ztell64_file = &TellArchiveFile;
  functions.zseek64_file = &SeekArchiveFile;
  functions.zclose_file = &CloseArchiveFile;
  functions.zerror_file = &ArchiveFileError;
  return functions;
}

// unzReadCurrentFile counts in an int.
constexpr std::size_t kLargestRead = static_cast<std::size_t>(std::numeric_limits<int>::max());

}  // namespace

struct ArchiveReader::State {
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

  bool MoveTo(std::int32_t index);
  void CloseEntryData();
  int ReadStoredData(std::span<char> into);

  // Declared before the minizip handle, which reads through it.
  ArchiveFile file;
  unzFile archive = nullptr;
  std::int32_t entryCount = 0;
  // The entry minizip stands on, or -1 when that is not known.
  std::int32_t position = -1;
  // Minizip has the data of the entry at position open. Without a reading
  // nothing of it has been read yet: reading the record opened it, and
  // handing out its data may start from there.
  bool entryDataOpen = false;
  std::optional<Reading> reading;
  ZipEntryInfo cached;
  // The central directory's extra field of the entry being read: it can be
  // no longer than this.
  std::array<unsigned char, 0xFFFF> centralExtra;
};

DWORD AttributesFromExternal(std::uint32_t external) {
  constexpr std::uint32_t kDosReadOnly = 1u << 0;
  constexpr std::uint32_t kDosHidden = 1u << 1;
  constexpr std::uint32_t kDosSystem = 1u << 2;
  constexpr std::uint32_t kDosDirectory = 1u << 4;
  constexpr std::uint32_t kDosArchive = 1u << 5;
  constexpr std::uint32_t kUnixOwnerWrite = 1u << 23;
  constexpr std::uint32_t kUnixDirectory = 1u << 30;
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  if (external & (kUnixDirectory | kDosDirectory)) attributes = FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY;
  if (external & kDosArchive) attributes |= FILE_ATTRIBUTE_ARCHIVE;
  if (external & kDosHidden) attributes |= FILE_ATTRIBUTE_HIDDEN;
  // An archive made on MS-DOS or Windows has no Unix mode, so no owner-write
  // bit: its entries come out read-only here, which extraction undoes.
  if (!(external & kUnixOwnerWrite) || (external & kDosReadOnly)) attributes |= FILE_ATTRIBUTE_READONLY;
  if (external & kDosSystem) attributes |= FILE_ATTRIBUTE_SYSTEM;
  return attributes;
}

ArchiveReader::ArchiveReader(std::unique_ptr<State> state) : state_(std::move(state)) {}

ArchiveReader::~ArchiveReader() { CloseArchive(); }

std::unique_ptr<ArchiveReader> ArchiveReader::OpenArchive(const std::string& path) {
  auto state = std::make_unique<State>();
  if (!state->file.Open(path)) return nullptr;
  zlib_filefunc64_def functions = ArchiveFileFunctions();
  state->archive = unzOpen2_64(&state->file, &functions);
  unz_global_info64 global{};
  if (state->archive != nullptr &&
      (unzGetGlobalInfo64(state->archive, &global) != UNZ_OK ||
       global.number_entry > static_cast<ZPOS64_T>(std::numeric_limits<std::int32_t>::max()))) {
    unzClose(state->archive);
    state->archive = nullptr;
  }
  if (state->archive != nullptr) state->entryCount = static_cast<std::int32_t>(global.number_entry);
  return std::unique_ptr<ArchiveReader>(new ArchiveReader(std::move(state)));
}

void ArchiveReader::CloseArchive() {
  State& s = *state_;
  s.CloseEntryData();
  if (s.archive != nullptr) unzClose(s.archive);
  s.archive = nullptr;
  s.entryCount = 0;
  s.position = -1;
  s.file.Close();
}

bool ArchiveReader::HasArchive() const { return state_->archive != nullptr; }

std::int32_t ArchiveReader::EntryCount() const { return state_->entryCount; }

void ArchiveReader::State::CloseEntryData() {
  if (entryDataOpen) unzCloseCurrentFile(archive);
  entryDataOpen = false;
  reading.reset();
}

bool ArchiveReader::State::MoveTo(std::int32_t index) {
  if (position == index) return true;
  if (position < 0 || index < position) {
    position = -1;
    if (unzGoToFirstFile(archive) != UNZ_OK) return false;
    position = 0;
  }
  while (position < index) {
    if (unzGoToNextFile(archive) != UNZ_OK) {
      position = -1;
      return false;
    }
    ++position;
  }
  return true;
}

ReaderStatus ArchiveReader::ReadEntryInfo(std::int32_t index, ZipEntryInfo& info) {
  State& s = *state_;
  if (s.archive == nullptr || index < 0 || index >= s.entryCount) return ReaderStatus::kNoSuchEntry;
  if (index == s.cached.index) {
    // This entry's own open data may stay open to be handed out.
    if (s.position != index) s.CloseEntryData();
    info = s.cached;
    return ReaderStatus::kOk;
  }
  s.CloseEntryData();
  if (!s.MoveTo(index)) return ReaderStatus::kBadHeader;

  unz_file_info64 stored{};
  char name[MAX_PATH];
  if (unzGetCurrentFileInfo64(s.archive, &stored, name, sizeof name, s.centralExtra.data(), s.centralExtra.size(),
                              nullptr, 0) != UNZ_OK)
    return ReaderStatus::kBadHeader;
  ZipEntryInfo entry;
  if (stored.size_filename < sizeof name) {
    entry.name.assign(name, stored.size_filename);
  } else {
    // Kept whole, so that a name too long for the platform is refused rather
    // than cut into some other name.
    entry.name.resize(stored.size_filename);
    if (unzGetCurrentFileInfo64(s.archive, nullptr, entry.name.data(), stored.size_filename, nullptr, 0, nullptr, 0) !=
        UNZ_OK)
      return ReaderStatus::kBadHeader;
  }
  // Minizip lets bzip2 entries through its own check (and would hand their
  // data back raw without bzip2 support); only stored and deflated are ours.
  if (stored.compression_method != 0 && stored.compression_method != Z_DEFLATED) return ReaderStatus::kBadHeader;
  // Opening the data checks the local header against the central directory.
  if (unzOpenCurrentFile(s.archive) != UNZ_OK) return ReaderStatus::kBadHeader;
  s.entryDataOpen = true;

  int extraLength = unzGetLocalExtrafield(s.archive, nullptr, 0);
  if (extraLength < 0) return ReaderStatus::kBadExtraField;
  std::vector<unsigned char> extra(static_cast<std::size_t>(extraLength));
  if (extraLength > 0 && unzGetLocalExtrafield(s.archive, extra.data(), static_cast<unsigned>(extraLength)) != extraLength)
    return ReaderStatus::kBadExtraField;

  entry.index = index;
  entry.unicodePath = UnicodePath(std::span(s.centralExtra.data(), stored.size_file_extra), entry.name);
  entry.madeOnHost = static_cast<std::uint8_t>(stored.version >> 8);
  entry.flags = static_cast<std::uint16_t>(stored.flag);
  entry.method = static_cast<std::uint16_t>(stored.compression_method);
  entry.crc = static_cast<std::uint32_t>(stored.crc);
  entry.attributes = AttributesFromExternal(static_cast<std::uint32_t>(stored.external_fa));
  entry.compressedSize = stored.compressed_size;
  entry.uncompressedSize = stored.uncompressed_size;
  FILETIME dosTime{};
  if (DosDateTimeToFileTime(static_cast<WORD>(stored.dosDate >> 16), static_cast<WORD>(stored.dosDate), &dosTime))
    entry.accessTime = entry.creationTime = entry.modificationTime = dosTime;
  ApplyExtendedTimestamp(extra, entry);

  s.cached = entry;
  info = std::move(entry);
  return ReaderStatus::kOk;
}

ReaderStatus ArchiveReader::OpenEntryData(std::int32_t index) {
  State& s = *state_;
  // Data read in part cannot start again.
  if (s.reading) s.CloseEntryData();
  ZipEntryInfo info;
  ReaderStatus status = ReadEntryInfo(index, info);
  if (status != ReaderStatus::kOk) return status;
  if (info.IsEncrypted()) return ReaderStatus::kDataError;
  if (!s.MoveTo(index)) return ReaderStatus::kBadHeader;
  if (!s.entryDataOpen) {
    if (unzOpenCurrentFile(s.archive) != UNZ_OK) return ReaderStatus::kBadHeader;
    s.entryDataOpen = true;
  }
  State::Reading reading;
  reading.stored = info.method == 0;
  if (reading.stored) reading.storedStart = unzGetCurrentFileZStreamPos64(s.archive);
  reading.compressedSize = info.compressedSize;
  reading.uncompressedSize = info.uncompressedSize;
  reading.crc = info.crc;
  s.reading = reading;
  return ReaderStatus::kOk;
}

ReaderStatus ArchiveReader::ReadEntryData(std::span<char> into, std::size_t& got) {
  got = 0;
  State& s = *state_;
  if (!s.reading) return ReaderStatus::kNoSuchEntry;
  into = into.first(std::min(into.size(), kLargestRead));
  int count = s.reading->stored ? s.ReadStoredData(into)
                                : unzReadCurrentFile(s.archive, into.data(), static_cast<unsigned>(into.size()));
  if (count < 0) {
    s.CloseEntryData();
    return ReaderStatus::kDataError;
  }
  if (count > 0) {
    s.reading->done += static_cast<std::uint64_t>(count);
    got = static_cast<std::size_t>(count);
    return ReaderStatus::kOk;
  }
  const State::Reading ended = *s.reading;
  s.reading.reset();
  s.entryDataOpen = false;
  int verdict = unzCloseCurrentFile(s.archive);
  // Data shorter than announced ends without an error of its own: the
  // central directory's size is the one to hold it to.
  if (ended.done != ended.uncompressedSize) return ReaderStatus::kDataError;
  bool crcMatches = ended.stored ? ended.storedCrcSoFar == ended.crc : verdict == UNZ_OK;
  return crcMatches ? ReaderStatus::kOk : ReaderStatus::kDataError;
}

// The next chunk of stored data, with the running CRC-32: its byte count, 0
// at the end, or -1 when the archive ends too soon.
int ArchiveReader::State::ReadStoredData(std::span<char> into) {
  Reading& data = *reading;
  auto want = static_cast<DWORD>(std::min<std::uint64_t>(into.size(), data.compressedSize - data.done));
  if (want == 0) return 0;
  auto* bytes = reinterpret_cast<unsigned char*>(into.data());
  if (file.ReadAt(data.storedStart + data.done, bytes, want) != want) return -1;
  data.storedCrcSoFar = static_cast<std::uint32_t>(crc32(data.storedCrcSoFar, bytes, want));
  return static_cast<int>(want);
}
