// The start window and its units as the carried form names them.
#pragma once

#include "form/engine/unit_object.h"

namespace form_ids {

constexpr UnitId kStartWindow = 0x52010001;
constexpr UnitId kWindowUnit = 0x06010000;
constexpr TypeId kWindowType = 0x00010001;
constexpr UnitId kUninstallButton = 0x16010002;  // 按钮1 "卸载汉化"
constexpr UnitId kForumButton = 0x1601000D;      // 按钮2 "访问汉化组贴吧"
constexpr UnitId kInstallButton = 0x16010017;    // 按钮3 "安装汉化"
constexpr UnitId kZipUnit = 0x160100A2;          // ZIP压缩1
// The buttons in the order the handlers disable and enable them.
constexpr UnitId kButtons[] = {kUninstallButton, kForumButton, kInstallButton};

}  // namespace form_ids
