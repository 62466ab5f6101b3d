// The installer's entry: keep DLLs beside the program out, start the runtime,
// load the start window hidden, let its created event decide, run the loop
// until the window is gone.
#include <windows.h>

#include "app/form_ids.h"
#include "app/handlers.h"
#include "app/installer_state.h"
#include "app/program_types.h"
#include "assets/form_block.h"
#include "form/engine/engine_start.h"
#include "form/engine/loader.h"
#include "form/engine/message_loop.h"
#include "form/engine/runtime.h"
#include "host/system_library.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  RestrictDllSearchToSystem();
  InitializeRuntime(InstallerCode(), ProgramUnitTypes(), FormDescriptionBlock());
  runtime::RegisterExitCleanup(&ReleaseInstallerState);
  LoadStartWindow(form_ids::kStartWindow);
  RunMessageLoop();
  runtime::RunEndRoutine();
  return 0;
}
