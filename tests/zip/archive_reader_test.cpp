#include "zip/archive_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scratch.h"
#include "zip/extract.h"
#include "zip_fixture.h"

namespace {

using namespace zip_fixture;
using testing_support::ScratchDirectory;
using testing_support::WriteWholeFile;

std::int64_t UnixSeconds(const FILETIME& time) {
  constexpr std::int64_t kUnixEpochIn100ns = 116444736000000000LL;
  auto value = static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  return (value - kUnixEpochIn100ns) / 10000000;
}

std::unique_ptr<ArchiveReader> OpenFixture(const ScratchDirectory& root, const std::vector<Entry>& entries) {
  WriteWholeFile(root / "a.zip", BuildArchive(entries));
  return ArchiveReader::OpenArchive(root / "a.zip");
}

Entry WithAttributes(std::uint32_t external) {
  Entry entry = File("f", "f");
  entry.externalAttributes = external;
  return entry;
}

TEST(ArchiveReader, AttributesFromExternalAttributes) {
  struct Case {
    std::uint32_t external;
    DWORD attributes;
  };
  const Case cases[] = {
      {kUnixFile, FILE_ATTRIBUTE_NORMAL},
      {kUnixReadOnlyFile, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_READONLY},
      {kUnixDirectory, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY},
      {040755u << 16, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY},
      // Made on MS-DOS or Windows: no Unix mode, so no owner-write bit.
      {kDosArchiveFile, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
      {kDosDirectory, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY},
      {kUnixFile | 0x07, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
  };
  ScratchDirectory root;
  std::vector<Entry> entries;
  for (const Case& c : cases) entries.push_back(WithAttributes(c.external));
  auto reader = OpenFixture(root, entries);
  ASSERT_TRUE(reader && reader->HasArchive());
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(std::size(cases)); ++i) {
    ZipEntryInfo info;
    ASSERT_EQ(reader->ReadEntryInfo(i, info), ReaderStatus::kOk);
    EXPECT_EQ(info.attributes, cases[i].attributes) << std::hex << cases[i].external;
    EXPECT_EQ(AttributesFromExternal(cases[i].external), cases[i].attributes);
  }
}

// Creation times cannot be seen on the file systems the tests run on; the
// records show where each time came from.
TEST(ArchiveReader, TimesFromMsDosAndTheFirstTimestampBlock) {
  ScratchDirectory root;
  Entry dosOnly = File("dos", "d");
  Entry three = Extra(File("three", "t"), TimestampBlock(3, {1600000000, 1500000000}));
  Entry seven = Extra(File("seven", "s"), TimestampBlock(7, {1600000000, 1500000000, 1400000000}));
  auto reader = OpenFixture(root, {dosOnly, three, seven});
  ASSERT_TRUE(reader && reader->HasArchive());
  ZipEntryInfo info;
  ASSERT_EQ(reader->ReadEntryInfo(0, info), ReaderStatus::kOk);
  EXPECT_EQ(UnixSeconds(info.modificationTime), kDosTimeUnix);
  EXPECT_EQ(UnixSeconds(info.accessTime), kDosTimeUnix);
  EXPECT_EQ(UnixSeconds(info.creationTime), kDosTimeUnix);
  ASSERT_EQ(reader->ReadEntryInfo(1, info), ReaderStatus::kOk);
  EXPECT_EQ(UnixSeconds(info.modificationTime), 1600000000);
  EXPECT_EQ(UnixSeconds(info.accessTime), 1500000000);
  EXPECT_EQ(UnixSeconds(info.creationTime), kDosTimeUnix);
  ASSERT_EQ(reader->ReadEntryInfo(2, info), ReaderStatus::kOk);
  EXPECT_EQ(UnixSeconds(info.creationTime), 1400000000);
}

TEST(ArchiveReader, StatusesOfUnreadableEntries) {
  ScratchDirectory root;
  auto reader = OpenFixture(root, {File("ok", "ok"), With(File("sig", "s"), Damage::kLocalSignature),
                                   File("bz", "b", 12), With(File("method", "m"), Damage::kLocalMethod),
                                   With(File("extra", "e"), Damage::kLocalExtraBeyondEnd)});
  ASSERT_TRUE(reader && reader->HasArchive());
  EXPECT_EQ(reader->EntryCount(), 5);
  ZipEntryInfo info;
  EXPECT_EQ(reader->ReadEntryInfo(1, info), ReaderStatus::kBadHeader);
  EXPECT_EQ(reader->ReadEntryInfo(2, info), ReaderStatus::kBadHeader);
  EXPECT_EQ(reader->ReadEntryInfo(3, info), ReaderStatus::kBadHeader);
  EXPECT_EQ(reader->ReadEntryInfo(4, info), ReaderStatus::kBadExtraField);
  EXPECT_EQ(reader->ReadEntryInfo(5, info), ReaderStatus::kNoSuchEntry);
  // Going back rewinds, and the first entry still reads.
  ASSERT_EQ(reader->ReadEntryInfo(0, info), ReaderStatus::kOk);
  EXPECT_EQ(info.name, "ok");
  EXPECT_EQ(CountEntries(*reader).entries, 1);
}

// Entry i's data, opened and read to its end through a buffer of chunk
// bytes: what was read, and how the open and the last read went.
struct DataRead {
  ReaderStatus opened = ReaderStatus::kOk;
  ReaderStatus ended = ReaderStatus::kOk;
  std::string bytes;
  std::vector<std::size_t> pieces;
};

DataRead ReadAllData(ArchiveReader& reader, std::int32_t index, std::size_t chunk) {
  DataRead read;
  read.opened = reader.OpenEntryData(index);
  if (read.opened != ReaderStatus::kOk) return read;
  std::vector<char> buffer(chunk);
  for (;;) {
    std::size_t got = 0;
    read.ended = reader.ReadEntryData(buffer, got);
    if (read.ended != ReaderStatus::kOk || got == 0) return read;
    read.bytes.append(buffer.data(), got);
    read.pieces.push_back(got);
  }
}

TEST(ArchiveReader, HandsOutEntryDataChunkByChunk) {
  struct Case {
    Entry entry;
    ReaderStatus opened;
    ReaderStatus ended;
    // Compared when the data ended well.
    std::vector<std::size_t> pieces;
  };
  const std::string text = Compressible(10000);
  const std::string noise = Incompressible(9000, 3);
  const Case cases[] = {
      {File("deflated", text), ReaderStatus::kOk, ReaderStatus::kOk, {4096, 4096, 1808}},
      {File("stored", noise, 0), ReaderStatus::kOk, ReaderStatus::kOk, {4096, 4096, 808}},
      {File("empty stored", "", 0), ReaderStatus::kOk, ReaderStatus::kOk, {}},
      {Flagged(File("deflated, data descriptor", text), kDataDescriptor), ReaderStatus::kOk, ReaderStatus::kOk,
       {4096, 4096, 1808}},
      // What .NET writes for a directory on a stream it cannot seek in.
      {MadeOn(Flagged(File("empty deflate stream\\", ""), kDataDescriptor), 0), ReaderStatus::kOk, ReaderStatus::kOk,
       {}},
      {With(File("wrong CRC, deflated", text), Damage::kWrongCrc), ReaderStatus::kOk, ReaderStatus::kDataError, {}},
      {With(File("wrong CRC, stored", noise, 0), Damage::kWrongCrc), ReaderStatus::kOk, ReaderStatus::kDataError, {}},
      {With(File("broken deflate", text), Damage::kBrokenDeflate), ReaderStatus::kOk, ReaderStatus::kDataError, {}},
      {With(File("short stored", noise, 0), Damage::kShortData), ReaderStatus::kOk, ReaderStatus::kDataError, {}},
      {Flagged(File("encrypted", "ciphertext", 0), kEncrypted), ReaderStatus::kDataError, ReaderStatus::kOk, {}},
      {With(File("bad local header", "x"), Damage::kLocalSignature), ReaderStatus::kBadHeader, ReaderStatus::kOk, {}},
  };
  ScratchDirectory root;
  std::vector<Entry> entries;
  for (const Case& c : cases) entries.push_back(c.entry);
  auto reader = OpenFixture(root, entries);
  ASSERT_TRUE(reader && reader->HasArchive());
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(std::size(cases)); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.entry.name);
    // Each entry's record read first, as the extraction does.
    ZipEntryInfo info;
    reader->ReadEntryInfo(i, info);
    DataRead read = ReadAllData(*reader, i, 4096);
    EXPECT_EQ(read.opened, c.opened);
    EXPECT_EQ(read.ended, c.ended);
    if (c.opened != ReaderStatus::kOk || c.ended != ReaderStatus::kOk) continue;
    EXPECT_TRUE(read.bytes == c.entry.data) << read.bytes.size() << " bytes";
    EXPECT_EQ(read.pieces, c.pieces);
  }
}

TEST(ArchiveReader, EntryDataOpensAgainFromItsStart) {
  ScratchDirectory root;
  const std::string text = Compressible(5000);
  auto reader = OpenFixture(root, {File("a", text), File("b", "bee", 0)});
  ASSERT_TRUE(reader && reader->HasArchive());
  std::size_t got = 0;
  std::vector<char> buffer(100);
  // Nothing is open to be read yet.
  EXPECT_EQ(reader->ReadEntryData(buffer, got), ReaderStatus::kNoSuchEntry);
  ASSERT_EQ(reader->OpenEntryData(0), ReaderStatus::kOk);
  ASSERT_EQ(reader->ReadEntryData(buffer, got), ReaderStatus::kOk);
  EXPECT_EQ(got, 100u);
  ASSERT_EQ(reader->ReadEntryData(buffer, got), ReaderStatus::kOk);
  EXPECT_EQ(std::string(buffer.data(), got), text.substr(100, 100));
  // Another entry, back, and the first one whole from its start.
  EXPECT_EQ(ReadAllData(*reader, 1, 100).bytes, "bee");
  DataRead again = ReadAllData(*reader, 0, 100);
  EXPECT_EQ(again.ended, ReaderStatus::kOk);
  EXPECT_TRUE(again.bytes == text);
  // Read to its end, the data is closed.
  EXPECT_EQ(reader->ReadEntryData(buffer, got), ReaderStatus::kNoSuchEntry);
  EXPECT_EQ(reader->OpenEntryData(2), ReaderStatus::kNoSuchEntry);
}

TEST(ArchiveReader, LongNamesAreKeptWhole) {
  ScratchDirectory root;
  std::string name(300, 'n');
  auto reader = OpenFixture(root, {File("short", "s"), File(name, "l")});
  ASSERT_TRUE(reader);
  ZipEntryInfo info;
  ASSERT_EQ(reader->ReadEntryInfo(1, info), ReaderStatus::kOk);
  EXPECT_EQ(info.name, name);
  EXPECT_EQ(info.uncompressedSize, 1u);
}

TEST(ArchiveReader, OpeningWithoutAnArchive) {
  ScratchDirectory root;
  EXPECT_EQ(ArchiveReader::OpenArchive(root / "missing.zip"), nullptr);
  std::string bytes = BuildArchive({File("a", "a")});
  WriteWholeFile(root / "truncated.zip", bytes.substr(0, bytes.size() - 10));
  auto reader = ArchiveReader::OpenArchive(root / "truncated.zip");
  ASSERT_NE(reader, nullptr);
  EXPECT_FALSE(reader->HasArchive());
  EXPECT_EQ(CountEntries(*reader).entries, -1);
  ZipEntryInfo info;
  EXPECT_EQ(reader->ReadEntryInfo(0, info), ReaderStatus::kNoSuchEntry);
}

// The archive is shared with readers only while it is open.
TEST(ArchiveReader, HoldsTheArchiveAgainstWriters) {
  ScratchDirectory root;
  auto reader = OpenFixture(root, {File("a", "a")});
  ASSERT_TRUE(reader && reader->HasArchive());
  HANDLE writer = CreateFileA((root / "a.zip").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  reader->CloseArchive();
  writer = CreateFileA((root / "a.zip").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
}

}  // namespace
