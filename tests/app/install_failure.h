// What the player sees of an install that cannot complete, for the tests
// that drive the real installer into one.
#pragma once

#include <gtest/gtest.h>

#include "installer_driver.h"
#include "support/scratch.h"

namespace installer_driver {

// Clicks "安装汉化" and expects the failure message; no shortcut is made
// after it. Then closes the installer.
inline void ExpectInstallFails(Installer& installer) {
  HWND window = installer.MainWindow();
  ASSERT_NE(window, nullptr);
  Click(ButtonCaptioned(window, L"安装汉化"));
  Box failed = installer.WaitForBox(60000);
  EXPECT_EQ(failed.text, L"汉化安装失败，请确认补丁文件完整、游戏未在运行并且磁盘空间充足后重新安装");
  EXPECT_EQ(failed.caption, L"错误");
  EXPECT_EQ(failed.icon, Icon::Hand);
  installer.Dismiss(failed);
  Sleep(500);
  EXPECT_FALSE(testing_support::Exists(DesktopShortcut()));
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(installer.WaitForExit(), 0);
}

}  // namespace installer_driver
