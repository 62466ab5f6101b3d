// The program's routines that the form binds, in one table, and the code
// image whose start their offsets count from. A "bind" line of the form
// (src/assets/form.txt) names a routine; make_form writes the routine's offset
// into the carried form, and the engine turns the address start + offset back
// into the routine through the program's routine table, made from this one
// (handlers.cpp). A routine is added with a line here and its definition in
// handlers.cpp; make_form refuses a table in which two routines share a name
// or an offset, or an offset lies outside the code image, and a form that
// binds a name the table lacks.
#pragma once

#include <cstdint>
#include <string_view>

#include "form/description/form_description.h"

// The code image of the program the form was made for: its handler
// addresses lie in [start, start + size).
inline constexpr CodeImage kProgramCodeImage{0x00401000, 0x1000};

// ROUTINE(name, offset). The four the carried form binds keep the offsets it
// was made with; a new routine takes any offset below kProgramCodeImage.size
// that no other has.
#define VELMORA_PROGRAM_ROUTINES(ROUTINE) \
  ROUTINE(OnWindowCreated, 0x164)         \
  ROUTINE(OnForumClicked, 0x3D4)          \
  ROUTINE(OnInstallClicked, 0x3FE)        \
  ROUTINE(OnUninstallClicked, 0x95D)

struct RoutineName {
  std::string_view name;
  std::uint32_t offset;
};

#define VELMORA_ROUTINE_NAME(name, offset) RoutineName{#name, offset},
inline constexpr RoutineName kProgramRoutineNames[] = {VELMORA_PROGRAM_ROUTINES(VELMORA_ROUTINE_NAME)};
#undef VELMORA_ROUTINE_NAME
