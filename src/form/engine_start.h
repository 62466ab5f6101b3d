// Start-up of the runtime, before any window exists.
#pragma once

#include <cstdint>
#include <span>

#include "form/events.h"
#include "form/unit_types.h"

// Initialises OLE once (remembered for the end routine), fixes the run
// directory and makes it the current directory, and reads the carried form
// description into window templates; an unreadable form is fatal.
void InitializeRuntime(const ProgramCode& code, std::span<const UnitLibrary> libraries,
                       std::span<const std::uint8_t> formDescription);
