#include "app/installer_state.h"

InstallerState& Installer() {
  static InstallerState state;
  return state;
}

void ReleaseInstallerState() {
  InstallerState& s = Installer();
  for (std::string* name : {&s.foundArchive, &s.foundImageArchive, &s.foundRemovable, &s.foundPatchDll,
                            &s.foundGameExe}) {
    name->clear();
    name->shrink_to_fit();
  }
}
