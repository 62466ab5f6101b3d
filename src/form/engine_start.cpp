#include "form/engine_start.h"

#include <ole2.h>

#include "form/form_description.h"
#include "form/runtime.h"
#include "form/runtime_texts.h"
#include "form/template_access.h"
#include "host/file_services.h"

void InitializeRuntime(const ProgramCode& code, std::span<const UnitLibrary> libraries,
                       std::span<const std::uint8_t> formDescription) {
  if (SUCCEEDED(OleInitialize(nullptr))) runtime::NoteOleInitialized();
  InitializeRunDirectory();
  SetProgramCode(code);
  std::optional<std::vector<WindowTemplate>> templates =
      ReadFormDescription(formDescription, CodeImage{code.start, code.size});
  if (!templates) runtime::ReportRuntimeError(runtime_text::kFormDescriptionUnreadable);
  units::InstallTemplates(std::move(*templates), libraries);
}
