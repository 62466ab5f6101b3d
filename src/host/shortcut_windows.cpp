#include "host/shortcut.h"

#include <windows.h>
#include <shlobj.h>

#include "host/handle_owners.h"
#include "host/wide_text.h"

namespace {

// The target a saved shortcut gives back, or nothing when it cannot be read.
std::optional<std::wstring> SavedTarget(const std::wstring& fileName) {
  ComReference<IShellLinkW> link;
  ComReference<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.Receive())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, file.Receive())) ||
      FAILED(file->Load(fileName.c_str(), STGM_READ)))
    return std::nullopt;
  wchar_t target[MAX_PATH] = {};
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return std::nullopt;
  return std::wstring(target);
}

// The short 8.3 form of an existing path, in characters every code page has.
std::optional<std::wstring> ShortForm(const std::wstring& path) {
  wchar_t shortPath[MAX_PATH] = {};
  DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return std::wstring(shortPath, length);
}

}  // namespace

bool CreateShortcut(const std::string& linkPath, const std::string& targetPath,
                    const std::optional<std::string>& description, const std::optional<std::string>& arguments,
                    const std::optional<std::string>& workingDirectory) {
  // Paths and arguments that are no GBK text would name something else: no
  // shortcut then. The description is only shown.
  const std::string fileName = ShortcutFileName(linkPath);
  const std::optional<std::wstring> wideFileName = text::WideFromGbk(fileName);
  const std::optional<std::wstring> wideTarget = text::WideFromGbk(targetPath);
  const std::optional<std::wstring> wideArguments = arguments ? text::WideFromGbk(*arguments) : std::nullopt;
  const std::optional<std::wstring> wideDirectory =
      workingDirectory ? text::WideFromGbk(*workingDirectory) : std::nullopt;
  if (fileName.empty() || !wideFileName || !wideTarget || (arguments && !wideArguments) ||
      (workingDirectory && !wideDirectory))
    return false;

  // The wide interface: the link keeps its target and working directory in
  // UTF-16, as they are, whatever the system's code page.
  ComReference<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.Receive())))
    return false;
  // Declared after the link so that it is released first.
  ComReference<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.Receive()))) return false;

  // The setters' verdicts are not examined: the object keeps whatever it took
  // (a target that does not exist yet is still recorded), and only the save
  // decides whether there is a shortcut.
  link->SetPath(wideTarget->c_str());
  link->SetShowCmd(SW_SHOW);
  if (description) link->SetDescription(text::WideForDisplay(*description).c_str());
  if (wideArguments) link->SetArguments(wideArguments->c_str());
  if (wideDirectory) link->SetWorkingDirectory(wideDirectory->c_str());
  if (FAILED(file->Save(wideFileName->c_str(), TRUE))) return false;
  // Wine's shell link keeps the target in the system's code page only, and
  // reads it back garbled where that cannot spell it (a Chinese game folder
  // on a Japanese or Western system): such a shortcut leads nowhere. Its
  // short form names the same file in characters that survive.
  if (SavedTarget(*wideFileName) == wideTarget) return true;
  const std::optional<std::wstring> shortTarget = ShortForm(*wideTarget);
  if (!shortTarget) return true;
  link->SetPath(shortTarget->c_str());
  return SUCCEEDED(file->Save(wideFileName->c_str(), TRUE));
}
