// The real installer in game folders where an install cannot complete: on a
// disk that fills up during the extraction or during the payload writes, and
// on a read-only file system (file systems that ctest mounts, drives V: and
// R:). Each time the player is told that the install failed and gets no
// shortcut, and every file is either as it was or whole as the install
// writes it: nothing cut, nothing left over, nothing lost.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "install_failure.h"
#include "installer_driver.h"
#include "support/scratch.h"
#include "support/volumes.h"

namespace {

using testing_support::FaultVolumes;
using testing_support::FileContentsUnder;
using testing_support::HostPath;
using testing_support::ReadWholeFile;
using testing_support::ScratchDirectory;
using testing_support::WriteWholeFile;
using namespace installer_driver;

class InstallerFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string whyNot;
    volumes_ = testing_support::MountedVolumes(whyNot);
    if (!volumes_) GTEST_SKIP() << whyNot;
    DeleteFileW(DesktopShortcut().c_str());
  }
  void TearDown() override { DeleteFileW(DesktopShortcut().c_str()); }

  // A game folder with an earlier install in it: the game's data, the patch
  // archive and what an earlier install of the patch left.
  void MakeGameFolder(const std::string& folder, const std::vector<ArchiveEntry>& archive) {
    ASSERT_TRUE(CopyFileA(HostPath(INSTALLER_EXE).c_str(), (folder + "\\setup.exe").c_str(), FALSE));
    WriteWholeFile(folder + "\\evimage.xp3", "the game's data");
    ASSERT_TRUE(WriteArchive(folder + "\\dt.bin", archive));
    WriteWholeFile(folder + "\\patch_chs.xp3", "the earlier patch's data");
    WriteWholeFile(folder + "\\brivan_chs.exe", "the earlier localised game");
    WriteWholeFile(folder + "\\KrkrUniversalPatch.dll", "the earlier patch library");
  }

  // Installs in folder, started from there: the install fails.
  void InstallFails(const std::string& folder) {
    Installer installer(folder + "\\setup.exe", folder);
    ExpectInstallFails(installer);
  }

  FolderFiles Intended(const std::vector<ArchiveEntry>& archive) {
    return InstalledFiles(archive, ReadWholeFile(HostPath(PAYLOAD_GAME_EXE_FILE)),
                          ReadWholeFile(HostPath(PAYLOAD_PATCH_DLL_FILE)));
  }

  std::optional<FaultVolumes> volumes_;
};

TEST_F(InstallerFaults, TheDiskFillsDuringTheExtraction) {
  ScratchDirectory game(volumes_->small);
  const std::vector<ArchiveEntry> archive = {{"video/brivanop_chs.wmv", "movie"},
                                             {"patch_chs.xp3", std::string(2 * 1024 * 1024, 'p')},
                                             {"data/", "", true},
                                             {"data/scenario.txt", "script"}};
  MakeGameFolder(game.path(), archive);
  ASSERT_TRUE(testing_support::FillLeaving(game.path(), 512 * 1024));
  const FolderFiles before = FileContentsUnder(game.path());

  InstallFails(game.path());

  const FolderFiles after = FileContentsUnder(game.path());
  EXPECT_TRUE(after.at("patch_chs.xp3") == before.at("patch_chs.xp3")) << "the earlier patch data is cut or lost";
  EXPECT_EQ(CutLeftOrLost(before, after, Intended(archive)), std::vector<std::string>{});
}

TEST_F(InstallerFaults, TheDiskFillsDuringThePayloadWrites) {
  ScratchDirectory game(volumes_->small);
  const std::vector<ArchiveEntry> archive = {{"video/brivanop_chs.wmv", "movie"},
                                             {"data/", "", true},
                                             {"data/scenario.txt", "script"}};
  MakeGameFolder(game.path(), archive);
  // Room for the two small entries, not for a payload beside the old file.
  ASSERT_TRUE(testing_support::FillLeaving(game.path(), 16 * 1024));
  const FolderFiles before = FileContentsUnder(game.path());

  InstallFails(game.path());

  const FolderFiles after = FileContentsUnder(game.path());
  EXPECT_EQ(after.at("data\\scenario.txt"), "script") << "the extraction should have fitted";
  EXPECT_TRUE(after.at("brivan_chs.exe") == before.at("brivan_chs.exe")) << "the earlier game is cut or lost";
  EXPECT_EQ(CutLeftOrLost(before, after, Intended(archive)), std::vector<std::string>{});
}

TEST_F(InstallerFaults, AReadOnlyGameFolderLosesNothing) {
  ScratchDirectory source(volumes_->readOnlySource);
  const std::vector<ArchiveEntry> archive = {{"video/brivanop_chs.wmv", "movie"}, {"patch_chs.xp3", "new data"}};
  MakeGameFolder(source.path(), archive);
  std::string game = volumes_->readOnly + source.path().substr(volumes_->readOnlySource.size());
  const FolderFiles before = FileContentsUnder(game);

  InstallFails(game);

  EXPECT_TRUE(FileContentsUnder(game) == before) << "the read-only game folder changed";
}

}  // namespace
