#include "installer_driver.h"

#include "app/progress_bar_layout.h"

#include <shlobj.h>

#include <minizip/zip.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <iterator>
#include <utility>
#include <vector>

namespace installer_driver {

namespace {

// Either the class or the caption to look for; several installers may show
// windows of the same caption at once.
struct Search {
  DWORD pid;
  const wchar_t* className;
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, static_cast<int>(std::size(cls)));
  const bool wanted = s->className != nullptr ? std::wstring(cls) == s->className : TextOf(hwnd) == s->caption;
  if (owner != s->pid || !wanted || !IsWindowVisible(hwnd)) return TRUE;
  s->found = hwnd;
  return FALSE;
}

// A visible top-level window of the process with the given class, or caption.
HWND FindTopLevel(DWORD pid, const wchar_t* className, const wchar_t* caption = nullptr) {
  Search search{pid, className, caption, nullptr};
  EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// width × height pixels of a device context (0x00RRGGBB), top row first.
std::vector<std::uint32_t> Pixels(HDC source, int x, int y, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(p, p + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return pixels;
}

// How many pixels differ between what the screen shows and the icon drawn
// on the same background.
int Difference(const std::vector<std::uint32_t>& shown, HICON icon) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HBRUSH background = CreateSolidBrush(RGB((shown[0] >> 16) & 0xFF, (shown[0] >> 8) & 0xFF, shown[0] & 0xFF));
  RECT all{0, 0, 32, 32};
  FillRect(memory, &all, background);
  DrawIconEx(memory, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
  std::vector<std::uint32_t> drawn = Pixels(memory, 0, 0, 32, 32);
  int differing = 0;
  for (std::size_t i = 0; i < drawn.size(); ++i) differing += (drawn[i] & 0xFFFFFF) != (shown[i] & 0xFFFFFF);
  DeleteObject(background);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return differing;
}

// Icon handles are the box's process's own, so the icon is told by what it
// shows: the standard icon that draws the same pixels.
Icon IconOf(HWND box) {
  // The icon of a message box is a static control: id 20 on Windows, 0x440
  // under Wine.
  HWND iconControl = GetDlgItem(box, 0x14);
  if (iconControl == nullptr) iconControl = GetDlgItem(box, 0x440);
  if (iconControl == nullptr || !IsWindowVisible(iconControl)) return Icon::None;
  RECT r;
  GetWindowRect(iconControl, &r);
  HDC screen = GetDC(nullptr);
  std::vector<std::uint32_t> shown = Pixels(screen, r.left, r.top, 32, 32);
  ReleaseDC(nullptr, screen);
  const std::pair<Icon, LPCSTR> candidates[] = {
      {Icon::Exclamation, IDI_EXCLAMATION}, {Icon::Information, IDI_INFORMATION}, {Icon::Hand, IDI_HAND}};
  for (const auto& [icon, resource] : candidates)
    if (Difference(shown, LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(resource))) == 0) return icon;
  return Icon::None;
}

std::wstring Widen(UINT codePage, const std::string& text) {
  int n = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.c_str(), -1, wide.data(), n);
  wide.pop_back();
  return wide;
}

constexpr UINT kGbk = 936;

// This process's environment with the given variables set: an environment
// block, "NAME=value" strings one after the other, ended by an empty one.
std::wstring EnvironmentWith(const std::vector<std::string>& settings) {
  auto nameOf = [](const std::wstring& entry) {
    std::wstring name = entry.substr(0, entry.find(L'=', 1));
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
    return name;
  };
  std::wstring block;
  wchar_t* inherited = GetEnvironmentStringsW();
  for (const wchar_t* entry = inherited; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
    bool replaced = false;
    for (const std::string& setting : settings) replaced |= nameOf(Widen(CP_UTF8, setting)) == nameOf(entry);
    if (!replaced) block.append(entry).push_back(L'\0');
  }
  FreeEnvironmentStringsW(inherited);
  for (const std::string& setting : settings) block.append(Widen(CP_UTF8, setting)).push_back(L'\0');
  block.push_back(L'\0');
  return block;
}

// A system colour as a pixel that the screen gives back.
std::uint32_t PixelOf(int systemColour) {
  COLORREF c = GetSysColor(systemColour);
  return static_cast<std::uint32_t>(GetRValue(c)) << 16 | static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
}

// The window's buttons, whatever the form gives it: the controls of the
// platform's button class among its children.
std::vector<HWND> ButtonsOf(HWND window) {
  std::vector<HWND> buttons;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, static_cast<int>(std::size(name)));
    if (lstrcmpiW(name, L"Button") == 0) buttons.push_back(child);
  }
  return buttons;
}

}  // namespace

std::string Gbk(const char* utf8) {
  std::wstring wide = Widen(CP_UTF8, utf8);
  int m = WideCharToMultiByte(kGbk, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(m), '\0');
  WideCharToMultiByte(kGbk, 0, wide.c_str(), -1, out.data(), m, nullptr, nullptr);
  out.pop_back();
  return out;
}

const std::wstring& WindowCaption() {
  static const std::wstring caption = L"《Velmora》V1.0汉化补丁安装与卸载器 BySelvane";
  return caption;
}

std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[2048] = {};
  GetWindowTextW(hwnd, buffer, static_cast<int>(std::size(buffer)));
  return buffer;
}

Installer::Installer(const std::wstring& exe, const std::wstring& currentDirectory, const StartOptions& options) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring environment = EnvironmentWith(options.environment);
  std::wstring commandLine = L"\"" + exe + L"\"";
  started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                            options.environment.empty() ? nullptr : environment.data(), currentDirectory.c_str(),
                            &startup, &process_) != FALSE;
}

Installer::Installer(const std::string& exe, const std::string& currentDirectory, const StartOptions& options)
    : Installer(Widen(kGbk, exe), Widen(kGbk, currentDirectory), options) {}

Installer::~Installer() {
  if (!started_) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
}

Box Installer::WaitForBox(DWORD timeoutMs) {
  Box box;
  for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
    if (HWND hwnd = FindTopLevel(process_.dwProcessId, L"#32770")) {
      Sleep(200);  // let the box finish laying itself out
      box.hwnd = hwnd;
      box.caption = TextOf(hwnd);
      box.text = TextOf(GetDlgItem(hwnd, 0xFFFF));
      box.icon = IconOf(hwnd);
      return box;
    }
    if (WaitForSingleObject(process_.hProcess, 50) != WAIT_TIMEOUT) return box;
  }
  return box;
}

void PressOk(const Box& box) { PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

void Installer::Dismiss(const Box& box) {
  PressOk(box);
  for (int i = 0; i < 100 && IsWindow(box.hwnd); ++i) Sleep(50);
}

HWND Installer::MainWindow(DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
    if (HWND hwnd = FindTopLevel(process_.dwProcessId, nullptr, WindowCaption().c_str())) return hwnd;
    Sleep(50);
  }
  return nullptr;
}

bool Installer::MainWindowVisible() const {
  return FindTopLevel(process_.dwProcessId, nullptr, WindowCaption().c_str()) != nullptr;
}

long Installer::WaitForExit(DWORD timeoutMs) {
  if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -2;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return static_cast<long>(code);
}

HWND ButtonCaptioned(HWND window, const std::wstring& caption) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (TextOf(child) == caption) return child;
  return nullptr;
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

std::wstring DesktopShortcut() {
  wchar_t desktop[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
  return std::wstring(desktop) + L"\\《Velmora》.lnk";
}

bool SaveScreenRect(const RECT& rect, const std::wstring& path) {
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  DWORD imageSize = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + imageSize;
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD done = 0;
  bool ok = out != INVALID_HANDLE_VALUE && WriteFile(out, &file, sizeof file, &done, nullptr) &&
            WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &done, nullptr) &&
            WriteFile(out, bits, imageSize, &done, nullptr);
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

bool WriteArchive(const std::string& path, const std::vector<ArchiveEntry>& entries) {
  zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
  if (zip == nullptr) return false;
  bool ok = true;
  for (const ArchiveEntry& e : entries) {
    zip_fileinfo info{};
    info.dosDate = 0x5A8C6000;  // 2025-04-12 12:00
    info.external_fa = e.directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    ok &= zipOpenNewFileInZip(zip, e.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6) == ZIP_OK;
    if (!e.data.empty()) ok &= zipWriteInFileInZip(zip, e.data.data(), static_cast<unsigned>(e.data.size())) == ZIP_OK;
    ok &= zipCloseFileInZip(zip) == ZIP_OK;
  }
  return zipClose(zip, nullptr) == ZIP_OK && ok;
}

FolderFiles InstalledFiles(const std::vector<ArchiveEntry>& archive, const std::string& gameExe,
                           const std::string& patchDll) {
  FolderFiles files{{"brivan_chs.exe", gameExe}, {"KrkrUniversalPatch.dll", patchDll}};
  for (const ArchiveEntry& entry : archive) {
    if (entry.directory) continue;
    std::string name = entry.name;
    for (char& c : name) c = c == '/' ? '\\' : c;
    files[name] = entry.data;
  }
  return files;
}

std::vector<std::string> CutLeftOrLost(const FolderFiles& before, const FolderFiles& after,
                                       const FolderFiles& intended) {
  std::vector<std::string> wrong;
  for (const auto& [name, bytes] : after) {
    auto old = before.find(name);
    auto written = intended.find(name);
    bool asBefore = old != before.end() && old->second == bytes;
    bool whole = written != intended.end() && written->second == bytes;
    if (!asBefore && !whole) wrong.push_back(name + " (" + std::to_string(bytes.size()) + " bytes)");
  }
  for (const auto& [name, bytes] : before)
    if (!after.count(name) && name != "patch.xp3") wrong.push_back(name + " (gone)");
  return wrong;
}

long AnswerTime(HWND window) {
  const DWORD start = GetTickCount();
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result)) return -1;
  return static_cast<long>(GetTickCount() - start);
}

ProgressBarSeen ReadProgressBar(HWND window) {
  const std::vector<HWND> buttons = ButtonsOf(window);
  if (buttons.empty()) return {};
  RECT column{};
  for (HWND button : buttons) {
    RECT r;
    if (!GetWindowRect(button, &r)) return {};
    UnionRect(&column, &column, &r);
  }
  const RECT bar = progress_bar::Below(column);
  const RECT inside = progress_bar::Inside(bar);
  ProgressBarSeen seen;
  seen.width = inside.right - inside.left;
  // The frame's left edge, and the first inner row, which the percentage in
  // the middle of the bar leaves alone.
  HDC screen = GetDC(nullptr);
  const std::vector<std::uint32_t> edge = Pixels(screen, bar.left, inside.top, 1, 1);
  const std::vector<std::uint32_t> row = Pixels(screen, inside.left, inside.top, seen.width, 1);
  ReleaseDC(nullptr, screen);
  const std::uint32_t filledPixel = PixelOf(progress_bar::kFilledColour);
  const std::uint32_t emptyPixel = PixelOf(progress_bar::kEmptyColour);
  while (seen.filled < seen.width && (row[static_cast<std::size_t>(seen.filled)] & 0xFFFFFF) == filledPixel)
    ++seen.filled;
  seen.shown = (edge[0] & 0xFFFFFF) == PixelOf(progress_bar::kFrameColour);
  for (std::size_t x = static_cast<std::size_t>(seen.filled); x < row.size(); ++x)
    seen.shown &= (row[x] & 0xFFFFFF) == emptyPixel;
  return seen;
}

bool ButtonsDisabled(HWND window) {
  const std::vector<HWND> buttons = ButtonsOf(window);
  bool disabled = !buttons.empty();
  for (HWND button : buttons) disabled &= !IsWindowEnabled(button);
  return disabled;
}

}  // namespace installer_driver
