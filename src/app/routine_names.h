// The program's routines that the form binds, by name, at their offsets from
// the code start. The form builder resolves the form's bindings from this
// table and the program's routine table is made from it, so a routine's
// offset is written here and nowhere else.
#pragma once

#include <cstdint>
#include <string_view>

struct RoutineName {
  std::string_view name;
  std::uint32_t offset;
};

inline constexpr RoutineName kProgramRoutineNames[] = {
    {"OnWindowCreated", 0x164},
    {"OnForumClicked", 0x3D4},
    {"OnInstallClicked", 0x3FE},
    {"OnUninstallClicked", 0x95D},
};

// A routine's offset by its name; a name the table lacks does not compile.
consteval std::uint32_t RoutineOffset(std::string_view name) {
  for (const RoutineName& routine : kProgramRoutineNames)
    if (routine.name == name) return routine.offset;
  throw "no routine of that name";
}
