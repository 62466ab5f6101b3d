#include "host/open_url.h"

#include <shellapi.h>

#include "host/wide_text.h"

namespace {

// The installer always gives an address; for a caller that does not, the
// group's forum host (a bare host name, no scheme) is the nearest thing to a
// home page.
constexpr char kDefaultWebAddress[] = VELMORA_DEFAULT_WEB_ADDRESS;

// A text for the shell in UTF-16; one that is not there stays not there.
class ShellText {
 public:
  explicit ShellText(LPCSTR text) : present_(text != nullptr), wide_(present_ ? text::WideForDisplay(text) : L"") {}
  LPCWSTR get() const { return present_ ? wide_.c_str() : nullptr; }

 private:
  bool present_;
  std::wstring wide_;
};

// The forum address is ASCII and reads the same in any code page; still,
// nothing reaches the shell through the system's.
HINSTANCE PlatformShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
  return ShellExecuteW(owner, ShellText(verb).get(), ShellText(file).get(), ShellText(parameters).get(),
                       ShellText(directory).get(), show);
}

ShellExecuteSeam shellExecuteSeam{PlatformShellExecute};

}  // namespace

void OpenWebAddress(const std::optional<std::string>& address) {
  // Any window the shell shows on the way (a prompt, an error box) is owned
  // by a running Internet Explorer when there is one, and so stays in front
  // of it.
  HWND owner = FindWindowExW(nullptr, nullptr, nullptr, L"Microsoft Internet Explorer");
  shellExecuteSeam.shellExecute(owner, "open", address ? address->c_str() : kDefaultWebAddress, nullptr, nullptr,
                                SW_SHOWNORMAL);
}

ShellExecuteSeam SetShellExecuteSeam(ShellExecuteSeam seam) {
  ShellExecuteSeam previous = shellExecuteSeam;
  shellExecuteSeam = seam;
  return previous;
}
