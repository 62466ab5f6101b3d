// The start window and its units, found by the names the carried form gives
// them (src/assets/form.txt, through the units header the build makes from
// it): a unit that the form no longer has does not compile.
#pragma once

#include "app/program_types.h"
#include "assets/form_units.h"
#include "form/description/defined_units.h"

namespace form_ids {

// The form's first window is the start window; its first unit is the window
// unit itself.
constexpr UnitId kStartWindow = kFormUnits[0].window;
constexpr UnitId kWindowUnit = kFormUnits[0].id;
constexpr TypeId kWindowType = kFormUnits[0].type;
constexpr UnitId kUninstallButton = UnitNamed(kFormUnits, "按钮1");  // "卸载汉化"
constexpr UnitId kForumButton = UnitNamed(kFormUnits, "按钮2");      // "访问汉化组贴吧"
constexpr UnitId kInstallButton = UnitNamed(kFormUnits, "按钮3");    // "安装汉化"
constexpr UnitId kZipUnit = UnitNamed(kFormUnits, "ZIP压缩1");

// Every Button of the start window, 按钮1 first: the order in which the
// handlers disable and enable them; the progress bar shows below the lowest.
constexpr auto kButtons =
    UnitsOfType<CountOfType(kFormUnits, kStartWindow, kButtonTypeId)>(kFormUnits, kStartWindow, kButtonTypeId);

}  // namespace form_ids
