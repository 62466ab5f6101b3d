#include "zip/extract.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "support/disk_tree.h"
#include "support/keep_alive_log.h"
#include "support/scratch.h"
#include "zip_fixture.h"

namespace {

using namespace zip_fixture;
using testing_support::DiskItem;
using testing_support::ReadTree;
using testing_support::ScratchDirectory;
using testing_support::WriteWholeFile;

constexpr DWORD kKeptBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr std::int32_t kSep2020 = 1600000000;    // 2020-09-13 12:26:40 UTC
constexpr std::int32_t kJul2017 = 1500000000;    // 2017-07-14 02:40:00 UTC
constexpr std::int32_t kMay2014 = 1400000000;    // 2014-05-13 16:53:20 UTC
constexpr std::int32_t kBefore1970 = -34560000;  // 1968-11-27 00:00:00 UTC

// What must be at a path below the destination; without contents a directory.
struct Expected {
  std::string path;
  std::optional<std::string> contents;
  std::optional<std::int64_t> modified = std::nullopt;
  std::optional<std::int64_t> accessed = std::nullopt;
  DWORD keptBits = 0;
};

Expected Dir(std::string path) { return Expected{std::move(path), std::nullopt}; }
Expected Content(std::string path, std::string contents) { return Expected{std::move(path), std::move(contents)}; }
Expected Timed(std::string path, std::string contents, std::int64_t modified, std::int64_t accessed) {
  return Expected{std::move(path), std::move(contents), modified, accessed};
}

// A file placed in the destination before the extraction.
struct Existing {
  std::string path;
  std::optional<std::string> contents;  // without: a directory
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
};

struct ExtractionCase {
  std::string title;
  std::vector<Entry> entries;
  int result;
  std::vector<Expected> disk;
  std::vector<int> percents;
  std::vector<Existing> existing = {};
  std::size_t truncate = 0;
  // Bytes before the archive, its offsets left as they were.
  std::string leadingData = {};
};

// Two entries where the second must end the extraction with nothing of it
// written: the first stays.
ExtractionCase SecondEntryFails(std::string title, Entry second) {
  return ExtractionCase{std::move(title), {File("first.txt", "1"), std::move(second)}, kExtractFailed,
                        {Content("first.txt", "1")}, {0, 100}};
}

std::vector<ExtractionCase> Cases() {
  std::string big = Compressible(200000);
  std::string noise = Incompressible(70000, 1);
  std::vector<ExtractionCase> cases = {
      {"stored, deflated, empty and directory entries",
       {Directory("docs/", kDosDirectory), Directory("tree", kUnixDirectory), File("docs/readme.txt", "hello", 0),
        File("docs/big.bin", big), File("noise.bin", noise), File("empty.txt", "", 0),
        File("empty-deflated.txt", "", 8)},
       kExtractCompleted,
       {Dir("docs"), Dir("tree"), Timed("docs/readme.txt", "hello", kDosTimeUnix, kDosTimeUnix),
        Timed("docs/big.bin", big, kDosTimeUnix, kDosTimeUnix), Content("noise.bin", noise),
        Timed("empty.txt", "", kDosTimeUnix, kDosTimeUnix), Content("empty-deflated.txt", "")},
       {0, 14, 28, 42, 57, 71, 85, 100}},
      {"data descriptors",
       {Flagged(File("deflated.txt", big), kDataDescriptor), Flagged(File("stored.txt", "plain", 0), kDataDescriptor)},
       kExtractCompleted,
       {Content("deflated.txt", big), Content("stored.txt", "plain")},
       {0, 50, 100}},
      {"extended time stamps",
       {Extra(File("m.txt", "m"), TimestampBlock(1, {kSep2020})),
        Extra(File("ma.txt", "ma"), TimestampBlock(3, {kSep2020, kJul2017})),
        Extra(File("mac.txt", "mac"), TimestampBlock(7, {kSep2020, kJul2017, kMay2014})),
        Extra(File("after-other-block.txt", "o"),
              ExtraBlock(0x7875, std::string("\x01\x04\xe8\x03\x00\x00\x04\xe8\x03\x00\x00", 11)) +
                  TimestampBlock(3, {kMay2014, kSep2020})),
        Extra(File("announced-not-there.txt", "a"), TimestampBlock(7, {kJul2017})),
        Extra(File("beyond-the-field.txt", "b"), TimestampBlock(3, {kMay2014}, 9)),
        Extra(File("second-block-ignored.txt", "s"), TimestampBlock(1, {kSep2020}) + TimestampBlock(3, {kMay2014, kMay2014})),
        Extra(File("before-1970.txt", "p"), TimestampBlock(1, {kBefore1970}))},
       kExtractCompleted,
       {Timed("m.txt", "m", kSep2020, kDosTimeUnix), Timed("ma.txt", "ma", kSep2020, kJul2017),
        Timed("mac.txt", "mac", kSep2020, kJul2017), Timed("after-other-block.txt", "o", kMay2014, kSep2020),
        Timed("announced-not-there.txt", "a", kJul2017, kDosTimeUnix),
        Timed("beyond-the-field.txt", "b", kMay2014, kDosTimeUnix),
        Timed("second-block-ignored.txt", "s", kSep2020, kDosTimeUnix),
        Timed("before-1970.txt", "p", kBefore1970, kDosTimeUnix)},
       {0, 12, 25, 37, 50, 62, 75, 87, 100}},
      {"UTF-8 names in the ANSI code page, GBK names as stored",
       {Flagged(Directory("中文/"), kUtf8Name), Flagged(File("中文/说明.txt", "utf8"), kUtf8Name),
        Directory("\x81\x5C/"), File("\x81\x5C/inside.txt", "trail byte"), File("\x95\x5C.txt", "gbk")},
       kExtractCompleted,
       {Dir("\xD6\xD0\xCE\xC4"), Content("\xD6\xD0\xCE\xC4/\xCB\xB5\xC3\xF7.txt", "utf8"), Dir("\x81\x5C"),
        Content("\x81\x5C/inside.txt", "trail byte"), Content("\x95\x5C.txt", "gbk")},
       {0, 20, 40, 60, 80, 100}},
      {"read-only, hidden and system targets are replaced",
       {File("ro.txt", "new ro"), File("hidden.txt", "new hidden"), File("system.txt", "new system"),
        File("plain.txt", "new")},
       kExtractCompleted,
       {Content("ro.txt", "new ro"), Content("hidden.txt", "new hidden"), Content("system.txt", "new system"),
        Content("plain.txt", "new")},
       {0, 25, 50, 75, 100},
       {{"ro.txt", "old", FILE_ATTRIBUTE_READONLY},
        {"hidden.txt", "old", FILE_ATTRIBUTE_HIDDEN},
        {"system.txt", "old", FILE_ATTRIBUTE_SYSTEM},
        {"plain.txt", "old and longer than the new contents", FILE_ATTRIBUTE_NORMAL}}},
      {"a failed entry leaves the file that was at its target as it was",
       {File("data.xp3", "patched"), With(File("keep.xp3", "patched"), Damage::kWrongCrc)},
       kExtractFailed,
       {Content("data.xp3", "patched"), Expected{"keep.xp3", "original", std::nullopt, std::nullopt, FILE_ATTRIBUTE_READONLY}},
       {0, 100},
       {{"keep.xp3", "original", FILE_ATTRIBUTE_READONLY}}},
      {"a directory where a file entry goes stays a directory",
       {File("first.txt", "1"), File("taken", "x")},
       kExtractFailed,
       {Content("first.txt", "1"), Dir("taken")},
       {0, 100},
       {{"taken", std::nullopt}}},
      {"corrupt local header at entry 2: earlier entries stay, later ones are not touched",
       {File("e0.txt", "0"), File("e1.txt", "1"), With(File("e2.txt", "2"), Damage::kLocalSignature), File("e3.txt", "3")},
       kExtractFailed,
       {Content("e0.txt", "0"), Content("e1.txt", "1")},
       {0, 50, 100}},
      {"truncated archive",
       {File("a.txt", "a"), File("b.txt", "b")},
       kExtractFailed,
       {},
       {100},
       {},
       10},
      {"archive with no entries fails the signature test", {}, kExtractFailed, {}, {100}},
      {"directories the archive does not list are made, once, inside the destination",
       {MadeOn(File("data/scenario/ch1/a.ks", "a"), 0), MadeOn(File("data/scenario/ch1/b.ks", "b"), 0),
        MadeOn(File("data/scenario/c.ks", "c"), 0), MadeOn(File("data/image/d.png", noise), 0),
        MadeOn(File("top.txt", "t"), 0)},
       kExtractCompleted,
       {Dir("data"), Dir("data/scenario"), Dir("data/scenario/ch1"), Content("data/scenario/ch1/a.ks", "a"),
        Content("data/scenario/ch1/b.ks", "b"), Content("data/scenario/c.ks", "c"), Dir("data/image"),
        Content("data/image/d.png", noise), Content("top.txt", "t")},
       {0, 20, 40, 60, 80, 100}},
      {"names ending in a separator are directories whatever their attributes",
       {Directory("META-INF/", 0), File("META-INF/MANIFEST.MF", "Manifest-Version: 1.0"), Directory("empty\\", 0x20),
        File("notdir/", "", 0)},
       kExtractCompleted,
       {Dir("META-INF"), Content("META-INF/MANIFEST.MF", "Manifest-Version: 1.0"), Dir("empty"), Dir("notdir")},
       {0, 25, 50, 75, 100}},
      {"backslashes separate, and the same rules hold across both",
       {MadeOn(File("data\\x.ks", "x"), 0), MadeOn(File("data\\sub/y.ks", "y"), 0),
        MadeOn(File("\x81\x5C\\z.txt", "trail byte"), 0)},
       kExtractCompleted,
       {Dir("data"), Content("data/x.ks", "x"), Dir("data/sub"), Content("data/sub/y.ks", "y"), Dir("\x81\x5C"),
        Content("\x81\x5C/z.txt", "trail byte")},
       {0, 33, 66, 100}},
      {"\".\" components mean nothing, \"./\" is the destination",
       {Directory("./"), Directory("./data/"), File("./readme.txt", "r"), File("./data/./x.ks", "x"),
        File("a/./b.txt", "b")},
       kExtractCompleted,
       {Content("readme.txt", "r"), Dir("data"), Content("data/x.ks", "x"), Dir("a"), Content("a/b.txt", "b")},
       {0, 20, 40, 60, 80, 100}},
      {"a stub before the first local header",
       {File("a.txt", "a"), File("sub/b.txt", big)},
       kExtractCompleted,
       {Content("a.txt", "a"), Dir("sub"), Content("sub/b.txt", big)},
       {0, 50, 100},
       {},
       0,
       "MZ" + std::string(5000, '\x90')},
      {"leading data before an archive that lists nothing",
       {},
       kExtractFailed,
       {},
       {100},
       {},
       0,
       std::string(40, '\0')},
      {"names from the Unicode Path field when its CRC-32 matches the stored name",
       {CentralExtra(MadeOn(File("fallback1.txt", "u"), 0), UnicodePathBlock("fallback1.txt", "说明.txt")),
        CentralExtra(MadeOn(File("fallback2.txt", "s"), 0), UnicodePathBlock("renamed.txt", "其他.txt"))},
       kExtractCompleted,
       {Content("\xCB\xB5\xC3\xF7.txt", "u"), Content("fallback2.txt", "s")},
       {0, 50, 100}},
      SecondEntryFails("a file where a directory level is needed", File("first.txt/b.txt", "b")),
      SecondEntryFails("local header names another method", With(File("b.txt", "b"), Damage::kLocalMethod)),
      SecondEntryFails("method neither stored nor deflated", File("b.bz2", "b", 12)),
      SecondEntryFails("local extra field beyond the end", With(File("b.txt", "b"), Damage::kLocalExtraBeyondEnd)),
      SecondEntryFails("inflate error", With(File("b.bin", big), Damage::kBrokenDeflate)),
      SecondEntryFails("CRC-32 mismatch, deflated", With(File("b.bin", big), Damage::kWrongCrc)),
      SecondEntryFails("CRC-32 mismatch, stored", With(File("b.bin", noise, 0), Damage::kWrongCrc)),
      SecondEntryFails("stored data shorter than its size", With(File("b.bin", noise, 0), Damage::kShortData)),
      SecondEntryFails("encrypted entry", Flagged(File("b.txt", "ciphertext", 0), kEncrypted)),
      SecondEntryFails("UTF-8 name the code page lacks", Flagged(File("\xF0\x9F\x98\x80.txt", "e"), kUtf8Name)),
      // Best fit would write "a.txt".
      SecondEntryFails("UTF-8 name that best fit would turn into ASCII", Flagged(File("\xC3\xA2.txt", "e"), kUtf8Name)),
      SecondEntryFails("invalid UTF-8 name", Flagged(File("\xC3\x28.txt", "e"), kUtf8Name)),
  };
  for (const char* hostile : {"../escaped.txt", "..\\escaped.txt", "sub/../../escaped.txt", "a\\..\\..\\escaped.txt",
                              "./../escaped.txt", ". ./escaped.txt",
                              "/rooted.txt", "\\rooted.txt", "C:drive.txt", "C:\\drive.txt", "first.txt:stream",
                              "NUL", "sub/con.txt", "Com1.log", "aux .txt", "star*.txt", "bar|.txt", "tab\t.txt"}) {
    cases.push_back(SecondEntryFails(std::string("hostile name ") + hostile, File(hostile, "evil")));
  }
  cases.push_back(SecondEntryFails("hostile directory name", Directory("../escaped/")));
  return cases;
}

struct Recorder {
  std::vector<int> percents;
  int cancelAt = -1;  // the call whose reply cancels
};

bool Record(void* context, int percent) {
  auto* recorder = static_cast<Recorder*>(context);
  recorder->percents.push_back(percent);
  return static_cast<int>(recorder->percents.size()) - 1 != recorder->cancelAt;
}

void WriteArchive(const std::string& path, const std::vector<Entry>& entries, std::size_t truncate = 0,
                  const std::string& leadingData = {}) {
  std::string bytes = BuildArchive(entries);
  bytes.resize(bytes.size() - truncate);
  WriteWholeFile(path, leadingData + bytes);
}

void ExpectTree(const std::string& root, const std::vector<Expected>& expected) {
  std::map<std::string, DiskItem> tree = ReadTree(root);
  std::map<std::string, const Expected*> wanted;
  for (const Expected& e : expected) wanted["outer/dest/" + e.path] = &e;
  for (const auto& [path, item] : tree) {
    if (path == "dt.bin" || path == "outer" || path == "outer/dest") continue;
    auto found = wanted.find(path);
    if (found == wanted.end()) {
      ADD_FAILURE() << "unexpected " << path;
      continue;
    }
    const Expected& e = *found->second;
    EXPECT_EQ(item.directory, !e.contents.has_value()) << path;
    EXPECT_TRUE(!e.contents || item.contents == *e.contents) << path << " holds other bytes";
    EXPECT_EQ(item.attributes & kKeptBits, e.keptBits) << path;
    EXPECT_EQ(item.modified, e.modified.value_or(item.modified)) << path;
    EXPECT_EQ(item.accessed, e.accessed.value_or(item.accessed)) << path;
    wanted.erase(found);
  }
  for (const auto& [path, e] : wanted) ADD_FAILURE() << "missing " << path;
  EXPECT_TRUE(tree.count("outer/dest")) << "destination not created";
}

void PlaceExisting(const std::string& destination, const std::vector<Existing>& existing) {
  if (existing.empty()) return;
  ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
  for (const Existing& item : existing) {
    std::string path = destination + "\\" + item.path;
    if (!item.contents) {
      ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
      continue;
    }
    WriteWholeFile(path, *item.contents);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), item.attributes));
  }
}

TEST(ExtractArchive, FixtureTable) {
  for (const ExtractionCase& c : Cases()) {
    SCOPED_TRACE(c.title);
    ScratchDirectory root;
    ASSERT_TRUE(CreateDirectoryA((root / "outer").c_str(), nullptr));
    WriteArchive(root / "dt.bin", c.entries, c.truncate, c.leadingData);
    PlaceExisting(root / "outer\\dest", c.existing);
    Recorder recorder;
    EXPECT_EQ(ExtractArchiveTo(root / "dt.bin", root / "outer\\dest\\", ExtractProgress{&Record, &recorder}), c.result);
    EXPECT_EQ(recorder.percents, c.percents);
    ExpectTree(root.path(), c.disk);
  }
}

TEST(ExtractArchive, ProgressReplyCancelsAfterTheCurrentEntry) {
  ScratchDirectory root;
  ASSERT_TRUE(CreateDirectoryA((root / "outer").c_str(), nullptr));
  WriteArchive(root / "dt.bin", {File("a", "a"), File("b", "b"), File("c", "c"), File("d", "d")});
  Recorder recorder;
  recorder.cancelAt = 1;
  EXPECT_EQ(ExtractArchiveTo(root / "dt.bin", root / "outer\\dest", ExtractProgress{&Record, &recorder}),
            kExtractCompleted);
  // No closing notification after a cancel.
  EXPECT_EQ(recorder.percents, (std::vector<int>{0, 25}));
  ExpectTree(root.path(), {Content("a", "a"), Content("b", "b")});
}

TEST(ExtractArchive, TellsTheBytesAheadAndHearsOfEveryPieceOfWork) {
  ScratchDirectory root;
  const std::string movie = Incompressible(200000, 7);
  const std::string stored = Compressible(70000);
  WriteArchive(root / "dt.bin", {File("movie.wmv", movie), Directory("data/"), File("data/a.ks", "script"),
                                 File("stored.bin", stored, 0), File("empty", "")});
  testing_support::KeepAliveLog log;
  EXPECT_EQ(ExtractArchiveTo(root / "dt.bin", root / "dest", ExtractProgress{nullptr, nullptr, log.get()}),
            kExtractCompleted);
  const std::uint64_t total = movie.size() + 6 + stored.size();
  ASSERT_EQ(log.expectations.size(), 1u);
  EXPECT_EQ(log.expectations[0].bytes, total);
  EXPECT_EQ(log.expectations[0].writtenBefore, 0u);
  EXPECT_EQ(log.Written(), total);
  // Chunk by chunk, deflated and stored alike.
  EXPECT_EQ(log.WritingPieces(), (std::vector<std::uint64_t>{65536, 65536, 65536, 3392, 6, 65536, 4464}));
  // Besides, once for every entry counted and every entry extracted.
  EXPECT_EQ(log.pieces.size() - log.WritingPieces().size(), 2 * 5u);
  EXPECT_EQ(log.waits, std::vector<DWORD>{});
  EXPECT_TRUE(testing_support::ReadWholeFile(root / "dest\\movie.wmv") == movie);
}

TEST(ExtractArchive, MissingInputs) {
  ScratchDirectory root;
  Recorder recorder;
  ExtractProgress progress{&Record, &recorder};
  EXPECT_EQ(ExtractArchiveTo("", root / "dest", progress), kExtractMissingInput);
  EXPECT_EQ(ExtractArchiveTo(root / "dt.bin", "", progress), kExtractMissingInput);
  EXPECT_TRUE(recorder.percents.empty());
  EXPECT_EQ(ExtractArchiveTo(root / "dt.bin", root / "dest", progress), kExtractMissingInput);
  EXPECT_EQ(recorder.percents, (std::vector<int>{100}));
  EXPECT_FALSE(testing_support::Exists(root / "dest"));
}

TEST(ExtractArchive, DestinationForms) {
  ScratchDirectory root;
  WriteArchive(root / "dt.bin", {File("f.txt", "f")});
  ExtractProgress none{nullptr, nullptr};
  // Missing levels are created; no trailing backslash gets one inserted.
  EXPECT_EQ(ExtractArchiveTo(root / "dt.bin", root / "a\\b\\c", none), kExtractCompleted);
  EXPECT_EQ(testing_support::ReadWholeFile(root / "a\\b\\c\\f.txt"), "f");
  // A destination whose last character ends in 0x5C is no separator: the
  // levels are that character's directory and a backslash is inserted.
  EXPECT_EQ(ExtractArchiveTo(root / "dt.bin", root / "x\\\x81\x5C", none), kExtractCompleted);
  EXPECT_EQ(testing_support::ReadWholeFile(root / "x\\\x81\x5C\\f.txt"), "f");
  // A destination that ends in a lead byte would swallow the separator.
  EXPECT_EQ(ExtractArchiveTo(root / "dt.bin", root / "y\\\x81", none), kExtractFailed);
  EXPECT_FALSE(testing_support::Exists(root / "y"));
  // A level that cannot be created: a file is in the way.
  WriteWholeFile(root / "file", "");
  EXPECT_EQ(ExtractArchiveTo(root / "dt.bin", root / "file\\sub\\", none), kExtractFailed);
}

// A relative destination resolves against the current directory, and there
// the directories of an entry are made even when the archive lists none.
TEST(ExtractArchive, RelativeArchiveAndDestination) {
  ScratchDirectory root;
  char previous[MAX_PATH];
  ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, previous), 0u);
  ASSERT_TRUE(SetCurrentDirectoryA(root.path().c_str()));
  WriteArchive("dt.bin", {File("sub/deep/x.txt", "x"), File("top.txt", "t")});
  int result = ExtractArchiveTo("dt.bin", "out\\", ExtractProgress{nullptr, nullptr});
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(result, kExtractCompleted);
  EXPECT_EQ(testing_support::ReadWholeFile(root / "out\\sub\\deep\\x.txt"), "x");
  EXPECT_EQ(testing_support::ReadWholeFile(root / "out\\top.txt"), "t");
}

// Names up to the platform's path limit pass; one byte more fails, whether
// the name alone or the joined path is too long.
TEST(ExtractArchive, LongNames) {
  ScratchDirectory root;
  std::string destination = root / "d\\";
  std::size_t room = MAX_PATH - 1 - destination.size();  // longest name for a 259-byte path
  std::string fits = "sub/" + std::string(room - 4, 'n');
  std::string oneTooMany = "sub/" + std::string(room - 3, 'n');
  ExtractProgress none{nullptr, nullptr};

  WriteArchive(root / "dt.bin", {Directory("sub/"), File(fits, "fits")});
  EXPECT_EQ(ExtractArchiveTo(root / "dt.bin", destination, none), kExtractCompleted);
  std::string written = destination + fits;
  written[destination.size() + 3] = '\\';
  EXPECT_EQ(testing_support::ReadWholeFile(written), "fits");

  WriteArchive(root / "dt.bin", {Directory("sub/"), File(oneTooMany, "joined path too long")});
  EXPECT_EQ(ExtractArchiveTo(root / "dt.bin", destination, none), kExtractFailed);

  WriteArchive(root / "dt.bin", {File(std::string(MAX_PATH, 'x'), "name too long")});
  EXPECT_EQ(ExtractArchiveTo(root / "dt.bin", root / "e", none), kExtractFailed);
  EXPECT_FALSE(testing_support::Exists(root / "e\\" + std::string(MAX_PATH - 1, 'x')));
}

TEST(ReadArchiveHead, TableOfHeads) {
  struct Case {
    const char* title;
    std::string bytes;
    ArchiveHead head;
  };
  auto head = [](std::uint8_t upperSizeLow, std::uint8_t upperSizeHigh, std::uint16_t nameLength) {
    std::string h("PK\x03\x04", 4);
    h.resize(32, '\0');
    h[24] = static_cast<char>(upperSizeLow);
    h[25] = static_cast<char>(upperSizeHigh);
    h[26] = static_cast<char>(nameLength & 0xFF);
    h[27] = static_cast<char>(nameLength >> 8);
    return h;
  };
  std::vector<Case> cases = {
      {"a real archive", BuildArchive({File("a", "a")}), ArchiveHead::kLocalHeader},
      {"name of one byte", head(0, 0, 1), ArchiveHead::kLocalHeader},
      {"empty name, 64 KiB or more uncompressed", head(1, 0, 0), ArchiveHead::kLocalHeader},
      {"empty name, small entry", head(0, 0, 0), ArchiveHead::kRefused},
      {"name length with the sign bit", head(0, 0, 0x8000), ArchiveHead::kRefused},
      {"31 bytes", head(0, 0, 1).substr(0, 31), ArchiveHead::kRefused},
      {"another signature", "PK\x05\x06" + head(0, 0, 1).substr(4), ArchiveHead::kLeadingData},
      {"a stub", "MZ" + BuildArchive({File("a", "a")}), ArchiveHead::kLeadingData},
      {"only an end-of-central-directory record", BuildArchive({}), ArchiveHead::kRefused},
  };
  ScratchDirectory root;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    WriteWholeFile(root / "head", c.bytes);
    EXPECT_EQ(ReadArchiveHead(root / "head"), c.head);
  }
  EXPECT_EQ(ReadArchiveHead(root / "missing"), ArchiveHead::kRefused);
}

}  // namespace
