// The installer's routines that its form binds (app/program_routines.h), each
// defined in handlers.cpp.
#pragma once

#include "app/program_routines.h"
#include "form/engine/events.h"

#define VELMORA_DECLARE_ROUTINE(name, offset) void name();
VELMORA_PROGRAM_ROUTINES(VELMORA_DECLARE_ROUTINE)
#undef VELMORA_DECLARE_ROUTINE

// The routines the carried form binds, by offset from the code start.
const ProgramCode& InstallerCode();
