#include "app/handlers.h"

#include <cstdint>
#include <initializer_list>
#include <string>

#include "app/form_ids.h"
#include "app/install_progress.h"
#include "app/installer_state.h"
#include "assets/constant_pool.h"
#include "button_skin/visual_style.h"
#include "form/engine/busy_window.h"
#include "form/engine/loader.h"
#include "form/engine/properties.h"
#include "form/units/zip_unit.h"
#include "host/file_services.h"
#include "host/message_box.h"
#include "host/open_url.h"
#include "host/shortcut.h"
#include "host/special_folders.h"

namespace {

using pool::Text;

constexpr UINT kExclamation = MB_ICONEXCLAMATION;  // 48
constexpr UINT kInformation = MB_ICONINFORMATION;  // 64
constexpr UINT kError = MB_ICONHAND;               // 16
// The install and the uninstall each wait twice on their way: after making
// the video folder and after the extraction, after removing the game
// executable and after the movie. Nothing on disk needs the waits; they are
// the pace at which the installer has always gone through its steps, which
// players watch, and the window stays alive through them.
constexpr int kPauseMilliseconds = 3000;

std::string RunPath(Text constant) { return GetRunDirectory() + PoolText(constant); }

void Tell(Text message, UINT flags, Text caption) {
  ShowMessageBox(MessageValue::FromText(PoolText(message)), flags, PoolText(caption));
}

// Buttons are disabled in the order 按钮1, 按钮2, 按钮3 and enabled likewise.
void SetButtonsDisabled(bool disabled) {
  for (UnitId button : form_ids::kButtons)
    WriteUnitProperty(form_ids::kStartWindow, button, kPropertyDisabled, -1, disabled ? 1 : 0, 0);
}

std::uint64_t PayloadBytes() {
  return std::uint64_t{PoolBytes(pool::Bytes::PayloadGameExe).size} + PoolBytes(pool::Bytes::PayloadPatchDll).size;
}

void RejectAndEnd(Text message) {
  Tell(message, kExclamation, Text::NotFoundCaption);
  DestroyUnit(UnitReference{form_ids::kStartWindow, form_ids::kWindowUnit, form_ids::kWindowType});
}

// Deletes a file that a look-up found; a name that was not found is tried
// too (it names a directory and fails harmlessly) but is no failure.
bool RemoveFound(const std::string& directory, const std::string& found) {
  bool removed = RemoveFile(directory + found);
  return removed || found.empty();
}

// The program's routines take no arguments and give no reply.
template <void (*Routine)()>
EventReply Run(const std::int32_t*, std::uint32_t) {
  Routine();
  return {};
}

#define VELMORA_ROUTINE_ENTRY(name, offset) ProgramRoutine{offset, &Run<&name>},
const ProgramRoutine kRoutines[] = {VELMORA_PROGRAM_ROUTINES(VELMORA_ROUTINE_ENTRY)};
#undef VELMORA_ROUTINE_ENTRY

}  // namespace

const ProgramCode& InstallerCode() {
  static const ProgramCode code{kProgramCodeImage, kRoutines, std::size(kRoutines)};
  return code;
}

// The window's created event: checks that the installer sits in the game's
// directory, then shows the window or explains and ends.
void OnWindowCreated() {
  FileSearchHandle search;
  InstallerState& state = Installer();
  SetVisualStyle(kNavyScheme);
  state.foundArchive = FindMatchingFile(RunPath(Text::ArchivePath), search);
  state.foundImageArchive = FindMatchingFile(RunPath(Text::ImageArchivePath), search);
  if (state.foundArchive.empty())
    RejectAndEnd(Text::ArchiveMissing);
  else if (state.foundImageArchive.empty())
    RejectAndEnd(Text::ImageArchiveMissing);
  else
    WriteUnitProperty(form_ids::kStartWindow, form_ids::kWindowUnit, kPropertyVisible, -1, 1, 0);
  CloseFileSearch(search);
}

void OnInstallClicked() {
  FileSearchHandle search;
  InstallerState& state = Installer();
  SetButtonsDisabled(true);
  InstallProgress progress(PayloadBytes());
  MakeDirectory(RunPath(Text::VideoDirectory));
  Delay(kPauseMilliseconds, progress.keepAlive());
  int extracted = ExtractArchive(GetUnitObject(form_ids::kStartWindow, form_ids::kZipUnit), state.foundArchive,
                                 RunPath(Text::Backslash), progress.keepAlive());
  Delay(kPauseMilliseconds, progress.keepAlive());
  state.foundRemovable = FindMatchingFile(RunPath(Text::StalePatchPath), search);
  RemoveFile(state.foundRemovable);
  bool gameWritten =
      WriteBytesToFile(RunPath(Text::GameExePath), {PoolBytes(pool::Bytes::PayloadGameExe)}, progress.keepAlive());
  bool patchWritten =
      WriteBytesToFile(RunPath(Text::PatchDllPath), {PoolBytes(pool::Bytes::PayloadPatchDll)}, progress.keepAlive());
  progress.Finish();
  // Only a complete installation is called a success and gets its shortcut.
  if (extracted == kExtractCompleted && gameWritten && patchWritten) {
    Tell(Text::InstalledMessage, kInformation, Text::InstalledCaption);
    CreateShortcut(GetSpecialDirectory(kDesktopDirectory) + PoolText(Text::ShortcutName), RunPath(Text::GameExePath),
                   std::string(PoolText(Text::ShortcutDescription)), std::nullopt, RunPath(Text::Backslash));
  } else {
    Tell(Text::InstallFailedMessage, kError, Text::ErrorCaption);
  }
  SetButtonsDisabled(false);
  CloseFileSearch(search);
}

void OnUninstallClicked() {
  FileSearchHandle search;
  InstallerState& state = Installer();
  SetButtonsDisabled(true);
  BusyWindow busy(form_ids::kStartWindow);
  state.foundPatchDll = FindMatchingFile(RunPath(Text::PatchDllPath), search);
  state.foundGameExe = FindMatchingFile(RunPath(Text::GameExePath), search);
  state.foundRemovable = FindMatchingFile(RunPath(Text::MoviePath), search);
  if (state.foundGameExe.empty()) {
    Tell(Text::NotInstalledMessage, kInformation, Text::ErrorCaption);
  } else {
    bool removed = RemoveFound(RunPath(Text::Backslash), state.foundGameExe);
    Delay(kPauseMilliseconds, busy.keepAlive());
    removed &= RemoveFound(RunPath(Text::VideoDirectoryJoint), state.foundRemovable);
    Delay(kPauseMilliseconds, busy.keepAlive());
    removed &= RemoveFound(RunPath(Text::Backslash), state.foundPatchDll);
    // A file that is still there (the game running, access denied) must not
    // be reported as uninstalled.
    if (removed)
      Tell(Text::UninstalledMessage, kInformation, Text::UninstalledCaption);
    else
      Tell(Text::UninstallFailedMessage, kError, Text::ErrorCaption);
  }
  SetButtonsDisabled(false);
  CloseFileSearch(search);
}

void OnForumClicked() { OpenWebAddress(std::string(PoolText(Text::ForumAddress))); }
