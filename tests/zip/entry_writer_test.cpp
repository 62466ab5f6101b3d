#include "zip/entry_writer.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/disk_tree.h"
#include "support/scratch.h"
#include "zip_fixture.h"

namespace {

using namespace zip_fixture;
using testing_support::DiskItem;
using testing_support::ReadTree;
using testing_support::ScratchDirectory;
using testing_support::WriteWholeFile;

// One file entry written over what the destination held before: the result,
// and the whole destination afterwards.
struct WriterCase {
  std::string title;
  Entry entry;
  // A file at the entry's target before, read-only.
  std::optional<std::string> before;
  EntryWriteResult result;
  std::map<std::string, std::string> after;
};

TEST(EntryWriter, ResultsAndTheDiskAfterwards) {
  const std::string big = Compressible(200000);
  const std::vector<WriterCase> cases = {
      {"new file", File("a.txt", big), std::nullopt, EntryWriteResult::kWritten, {{"a.txt", big}}},
      {"replaces a read-only file", File("a.txt", "new", 0), "old", EntryWriteResult::kWritten, {{"a.txt", "new"}}},
      {"CRC-32 mismatch", With(File("a.txt", big), Damage::kWrongCrc), "old", EntryWriteResult::kBadData,
       {{"a.txt", "old"}}},
      {"stored data shorter than its size", With(File("a.txt", big, 0), Damage::kShortData), std::nullopt,
       EntryWriteResult::kBadData, {}},
      {"encrypted", Flagged(File("a.txt", "ciphertext", 0), kEncrypted), std::nullopt, EntryWriteResult::kBadData, {}},
      {"directory missing", File("missing/a.txt", "a"), std::nullopt, EntryWriteResult::kCannotCreate, {}},
  };
  for (const WriterCase& c : cases) {
    SCOPED_TRACE(c.title);
    ScratchDirectory archive;
    WriteWholeFile(archive / "a.zip", BuildArchive({c.entry}));
    auto reader = ArchiveReader::OpenArchive(archive / "a.zip");
    ASSERT_TRUE(reader && reader->HasArchive());
    ZipEntryInfo info;
    ASSERT_EQ(reader->ReadEntryInfo(0, info), ReaderStatus::kOk);
    ScratchDirectory destination;
    if (c.before) {
      WriteWholeFile(destination / "a.txt", *c.before);
      ASSERT_TRUE(SetFileAttributesA((destination / "a.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    }
    EntryTarget target;
    ASSERT_EQ(ResolveEntryTarget(destination.path() + "\\", info, target), NameVerdict::kAccepted);

    EntryWriter writer(nullptr);
    EXPECT_EQ(writer.Write(*reader, info, target), c.result);

    std::map<std::string, DiskItem> tree = ReadTree(destination.path());
    std::map<std::string, std::string> files;
    for (const auto& [path, item] : tree) files[path] = item.contents;
    EXPECT_TRUE(files == c.after) << files.size() << " files";
    if (c.result != EntryWriteResult::kWritten) continue;
    // Written files take the entry's time and normal attributes.
    EXPECT_EQ(tree["a.txt"].modified, kDosTimeUnix);
    EXPECT_EQ(tree["a.txt"].attributes & FILE_ATTRIBUTE_READONLY, 0u);
  }
}

}  // namespace
