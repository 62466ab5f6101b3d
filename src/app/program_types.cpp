#include "app/program_types.h"

#include "form/description/button_properties.h"
#include "form/description/window_properties.h"
#include "form/units/button_unit.h"
#include "form/units/window_unit.h"
#include "form/units/zip_unit.h"

namespace {

// 窗口, 按钮 and ZIP压缩 in GBK.
const UnitTypeInfo kWindowType{"\xB4\xB0\xBF\xDA", kWindowTypeFlags, kWindowPropertyTable,
                               &kWindowUnitOperations};
const UnitTypeInfo kButtonType{"\xB0\xB4\xC5\xA5", kButtonTypeFlags, kButtonPropertyTable,
                               &kButtonUnitOperations};
const UnitTypeInfo kZipType{"ZIP\xD1\xB9\xCB\xF5", type_flags::kWindowBased | type_flags::kHiddenAtRunTime, {},
                            &kZipUnitOperations};

// The engine's further types (edit fields, lists, menus and the like) keep
// their numbers but are not part of this program.
const UnitTypeInfo* const kBaseLibrary[] = {
    &kWindowType, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &kButtonType,
};
const UnitTypeInfo* const kArchiveLibrary[] = {&kZipType};

const UnitLibrary kLibraries[] = {
    {kBaseLibrary},
    {},
    {},
    {kArchiveLibrary},
};

}  // namespace

std::span<const UnitLibrary> ProgramUnitTypes() { return kLibraries; }
