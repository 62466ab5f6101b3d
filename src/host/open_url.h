// Handing a web address to the desktop shell, which opens it in the user's
// default browser. Nothing is reported back.
#pragma once

#include <optional>
#include <string>

#include <windows.h>

// Opens address with the shell's "open" verb. A given address is handed over
// as it is, even an empty one; only an omitted one (std::nullopt) is replaced
// by the group's forum host.
void OpenWebAddress(const std::optional<std::string>& address);

// How OpenWebAddress reaches the shell; tests put in their own to see what is
// handed over without starting a browser.
struct ShellExecuteSeam {
  HINSTANCE (*shellExecute)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
};
ShellExecuteSeam SetShellExecuteSeam(ShellExecuteSeam seam);
