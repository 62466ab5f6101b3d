#include "form/engine/engine_start.h"

#include <ole2.h>

#include "form/description/form_description.h"
#include "form/engine/runtime.h"
#include "form/engine/runtime_texts.h"
#include "form/engine/template_access.h"
#include "host/file_services.h"

void InitializeRuntime(const ProgramCode& code, std::span<const UnitLibrary> libraries,
                       std::span<const std::uint8_t> formDescription) {
  runtime::ReportUnhandledAllocationFailures();
  if (SUCCEEDED(OleInitialize(nullptr))) runtime::NoteOleInitialized();
  InitializeRunDirectory();
  SetProgramCode(code);
  std::optional<std::vector<WindowTemplate>> templates = ReadFormDescription(formDescription, code.image);
  if (!templates) runtime::ReportRuntimeError(runtime_text::kFormDescriptionUnreadable);
  units::InstallTemplates(std::move(*templates), libraries);
}
