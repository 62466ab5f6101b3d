#include "host/open_url.h"

#include <shellapi.h>

namespace {

// The installer always gives an address; for a caller that does not, the
// group's forum host (a bare host name, no scheme) is the nearest thing to a
// home page.
constexpr char kDefaultWebAddress[] = VELMORA_DEFAULT_WEB_ADDRESS;

HINSTANCE PlatformShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
  return ShellExecuteA(owner, verb, file, parameters, directory, show);
}

ShellExecuteSeam shellExecuteSeam{PlatformShellExecute};

}  // namespace

void OpenWebAddress(const std::optional<std::string>& address) {
  // Any window the shell shows on the way (a prompt, an error box) is owned
  // by a running Internet Explorer when there is one, and so stays in front
  // of it.
  HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
  shellExecuteSeam.shellExecute(owner, "open", address ? address->c_str() : kDefaultWebAddress, nullptr, nullptr,
                                SW_SHOWNORMAL);
}

ShellExecuteSeam SetShellExecuteSeam(ShellExecuteSeam seam) {
  ShellExecuteSeam previous = shellExecuteSeam;
  shellExecuteSeam = seam;
  return previous;
}
