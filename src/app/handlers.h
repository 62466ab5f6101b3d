// The installer's four handlers, bound to the form's events by name through
// the program's routine table (app/routine_names.h).
#pragma once

#include "form/engine/events.h"

// The window's created event: checks that the installer sits in the game's
// directory, then shows the window or explains and ends.
void OnWindowCreated();
// 按钮3 "安装汉化".
void OnInstallClicked();
// 按钮1 "卸载汉化".
void OnUninstallClicked();
// 按钮2 "访问汉化组贴吧".
void OnForumClicked();

// The routines the carried form binds, by offset from the code start.
const ProgramCode& InstallerCode();
