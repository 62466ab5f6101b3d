// Extraction onto a disk that fills up, a small file system that ctest
// mounts for it: the result says so, the entries written before stay whole,
// the file the full disk interrupted stays as it was, and nothing cut or
// temporary is left.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "support/scratch.h"
#include "support/volumes.h"
#include "zip/extract.h"
#include "zip_fixture.h"

namespace {

using testing_support::ScratchDirectory;
using testing_support::WriteWholeFile;
using namespace zip_fixture;

TEST(ExtractFaults, AFullDiskStopsTheExtractionAndCutsNothing) {
  std::string whyNot;
  std::optional<testing_support::FaultVolumes> volumes = testing_support::MountedVolumes(whyNot);
  if (!volumes) GTEST_SKIP() << whyNot;
  ScratchDirectory archiveFolder;
  WriteWholeFile(archiveFolder / "dt.bin", BuildArchive({File("readme.txt", "hello"),
                                                         File("data.xp3", Incompressible(512 * 1024, 7)),
                                                         File("later.txt", "never reached")}));
  ScratchDirectory game(volumes->small);
  WriteWholeFile(game / "data.xp3", "the game's data as it was");
  ASSERT_TRUE(testing_support::FillLeaving(game.path(), 128 * 1024));

  EXPECT_EQ(ExtractArchiveTo(archiveFolder / "dt.bin", game.path(), ExtractProgress{}), kExtractFailed);

  std::map<std::string, std::string> files = testing_support::FileContentsUnder(game.path());
  files.erase("filler");
  const std::map<std::string, std::string> expected = {{"data.xp3", "the game's data as it was"},
                                                       {"readme.txt", "hello"}};
  // Compared whole, but not printed: a cut entry is 512 KiB.
  EXPECT_TRUE(files == expected) << files.size() << " files, data.xp3 of " << files["data.xp3"].size() << " bytes";
}

}  // namespace
