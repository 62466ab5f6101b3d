// Payload writes that cannot complete, on real file systems that ctest
// mounts for them: a small one that fills up, and a read-only one. The file
// that was there before stays as it was, and nothing cut or temporary is
// left beside it.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "host/file_services.h"
#include "support/scratch.h"
#include "support/volumes.h"

namespace {

using testing_support::FaultVolumes;
using testing_support::FilesUnder;
using testing_support::ReadWholeFile;
using testing_support::ScratchDirectory;
using testing_support::WriteWholeFile;

ByteSetView View(const std::string& bytes) {
  return ByteSetView{reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::uint32_t>(bytes.size())};
}

class FileFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string whyNot;
    volumes_ = testing_support::MountedVolumes(whyNot);
    if (!volumes_) GTEST_SKIP() << whyNot;
  }

  std::optional<FaultVolumes> volumes_;
  const std::string payload_ = std::string(256 * 1024, 'P');
};

TEST_F(FileFaults, AFullDiskKeepsTheOldFileAndLeavesNothingBehind) {
  ScratchDirectory game(volumes_->small);
  WriteWholeFile(game / "brivan_chs.exe", "the game as it was");
  ASSERT_TRUE(testing_support::FillLeaving(game.path(), 64 * 1024));

  // Over a file, and where there was none.
  EXPECT_FALSE(WriteBytesToFile(game / "brivan_chs.exe", {View(payload_)}));
  EXPECT_FALSE(WriteBytesToFile(game / "KrkrUniversalPatch.dll", {View(payload_)}));
  // Compared whole, but not printed: a cut payload is 256 KiB.
  EXPECT_TRUE(ReadWholeFile(game / "brivan_chs.exe") == "the game as it was");
  EXPECT_EQ(FilesUnder(game.path()), (std::vector<std::string>{"brivan_chs.exe", "filler"}));

  // What fits is still written whole.
  EXPECT_TRUE(WriteBytesToFile(game / "brivan_chs.exe", {View("small"), View(" enough")}));
  EXPECT_EQ(ReadWholeFile(game / "brivan_chs.exe"), "small enough");
}

TEST_F(FileFaults, AReadOnlyFileSystemKeepsEverything) {
  ScratchDirectory source(volumes_->readOnlySource);
  WriteWholeFile(source / "brivan_chs.exe", "the game as it was");
  std::string game = volumes_->readOnly + source.path().substr(volumes_->readOnlySource.size());

  EXPECT_FALSE(WriteBytesToFile(game + "\\brivan_chs.exe", {View(payload_)}));
  EXPECT_FALSE(WriteBytesToFile(game + "\\KrkrUniversalPatch.dll", {View(payload_)}));
  EXPECT_TRUE(ReadWholeFile(game + "\\brivan_chs.exe") == "the game as it was");
  EXPECT_EQ(FilesUnder(game), std::vector<std::string>{"brivan_chs.exe"});
}

}  // namespace
