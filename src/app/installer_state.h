// The names the installer's handlers find on disk, kept from start-up to the
// end of the program.
#pragma once

#include <string>

struct InstallerState {
  std::string foundArchive;       // "\dt.bin", found at start-up
  std::string foundImageArchive;  // "\evimage.xp3", found at start-up
  std::string foundRemovable;     // "\patch.xp3" (install) or the opening movie (uninstall)
  std::string foundPatchDll;      // "\KrkrUniversalPatch.dll" (uninstall)
  std::string foundGameExe;       // "\brivan_chs.exe" (uninstall)
};

InstallerState& Installer();

// The exit clean-up: releases the five names.
void ReleaseInstallerState();
