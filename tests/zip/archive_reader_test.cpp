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
