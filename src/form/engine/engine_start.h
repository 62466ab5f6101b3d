// Start-up of the runtime, before any window exists.
#pragma once

#include <cstdint>
#include <span>

#include "form/description/unit_types.h"
#include "form/engine/events.h"

// Initialises OLE once (remembered for the end routine), fixes the run
// directory and makes it the current directory, and reads the carried form
// description into window templates; an unreadable form is fatal.
void InitializeRuntime(const ProgramCode& code, std::span<const UnitLibrary> libraries,
                       std::span<const std::uint8_t> formDescription);
