// velmora_unzip_window blocked|alive ARCHIVE DESTINATION
// The extraction as the installer runs it: through its ZIP unit, under its
// own window, shown and drawn. "blocked" extracts as the installer did before
// it kept its window alive; "alive" as it does now, with the install's
// progress bar. bench/zip/run times the two side by side: what keeping the
// window alive costs the extraction. Exit status 0 when the archive was
// extracted completely.
#include <cstdio>
#include <string>

#include "app/form_ids.h"
#include "app/install_progress.h"
#include "app/program_routines.h"
#include "app/program_types.h"
#include "assets/form_block.h"
#include "button_skin/visual_style.h"
#include "form/engine/engine_start.h"
#include "form/engine/loader.h"
#include "form/engine/message_loop.h"
#include "form/engine/properties.h"
#include "form/units/zip_unit.h"

namespace {

// The window's created event, as the installer answers it in its game folder.
EventReply ShowWindowUnit(const std::int32_t*, std::uint32_t) {
  SetVisualStyle(kNavyScheme);
  WriteUnitProperty(form_ids::kStartWindow, form_ids::kWindowUnit, kPropertyVisible, -1, 1, 0);
  return {};
}

const ProgramRoutine kRoutines[] = {
    {BoundOffset(kFormUnits, form_ids::kWindowUnit, window_event::kCreated), &ShowWindowUnit}};
const ProgramCode kCode{kProgramCodeImage, kRoutines, std::size(kRoutines)};

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 4 ? argv[1] : "";
  if (mode != "blocked" && mode != "alive") {
    std::fprintf(stderr, "usage: velmora_unzip_window blocked|alive ARCHIVE DESTINATION\n");
    return 2;
  }
  InitializeRuntime(kCode, ProgramUnitTypes(), FormDescriptionBlock());
  LoadStartWindow(form_ids::kStartWindow);
  // Painted and idle, as when the player clicks: the first paint decodes
  // the background, which neither mode is to pay for.
  PumpWaitingMessages();
  UnitObject& zipUnit = GetUnitObject(form_ids::kStartWindow, form_ids::kZipUnit);
  int result = 0;
  if (mode == "alive") {
    InstallProgress progress(0);
    result = ExtractArchive(zipUnit, argv[2], argv[3], progress.keepAlive());
  } else {
    result = ExtractArchive(zipUnit, argv[2], argv[3]);
  }
  if (result != 1) std::fprintf(stderr, "velmora_unzip_window: result %d\n", result);
  return result == 1 ? 0 : 1;
}
