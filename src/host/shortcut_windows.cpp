#include "host/shortcut.h"

#include <windows.h>
#include <shlobj.h>

#include "host/com_reference.h"

namespace {

// path in UTF-16, or empty when the ANSI code page cannot convert it.
std::wstring WidePath(const std::string& path) {
  // No ANSI code page makes more UTF-16 units of a character than it has
  // bytes, so the byte length plus the terminator always suffices.
  std::wstring wide(path.size() + 1, L'\0');
  int written = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  wide.resize(written > 0 ? static_cast<std::size_t>(written) - 1 : 0);
  return wide;
}

}  // namespace

bool CreateShortcut(const std::string& linkPath, const std::string& targetPath,
                    const std::optional<std::string>& description, const std::optional<std::string>& arguments,
                    const std::optional<std::string>& workingDirectory) {
  std::wstring fileName = WidePath(ShortcutFileName(linkPath));
  if (fileName.empty()) return false;

  ComReference<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.Receive())))
    return false;
  // Declared after the link so that it is released first.
  ComReference<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.Receive()))) return false;

  // The setters' verdicts are not examined: the object keeps whatever it took
  // (a target that does not exist yet is still recorded), and only the save
  // decides whether there is a shortcut.
  link->SetPath(targetPath.c_str());
  link->SetShowCmd(SW_SHOW);
  if (description) link->SetDescription(description->c_str());
  if (arguments) link->SetArguments(arguments->c_str());
  if (workingDirectory) link->SetWorkingDirectory(workingDirectory->c_str());
  return SUCCEEDED(file->Save(fileName.c_str(), TRUE));
}
