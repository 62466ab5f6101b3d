#include "zip/entry_target.h"

#include <algorithm>
#include <vector>

#include <windows.h>

#include "host/text.h"

namespace {

constexpr std::string_view kDeviceNames[] = {
    "CON",  "PRN",  "AUX",  "NUL",  "CONIN$", "CONOUT$", "CLOCK$", "COM1", "COM2", "COM3", "COM4",
    "COM5", "COM6", "COM7", "COM8", "COM9",   "LPT1",    "LPT2",   "LPT3", "LPT4", "LPT5", "LPT6",
    "LPT7", "LPT8", "LPT9",
};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Characters the platform refuses in a file name, besides separators and ":".
bool IsForbidden(unsigned char c) {
  return c < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*';
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

// The platform opens the device whatever follows its name after a dot, and
// trims trailing spaces: "nul.txt" and "COM1 .log" are devices too.
bool IsDeviceName(std::string_view component) {
  std::string_view base = component.substr(0, component.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  return std::any_of(std::begin(kDeviceNames), std::end(kDeviceNames),
                     [base](std::string_view device) { return EqualsIgnoringAsciiCase(base, device); });
}

// Trailing dots and spaces are trimmed by the platform, so "..", ". ." and
// "... " all risk meaning the parent or the directory itself.
bool IsDotsAndSpaces(std::string_view component) {
  return !component.empty() && component.find_first_not_of(". ") == std::string_view::npos;
}

NameVerdict CheckComponent(std::string_view component) {
  if (IsDotsAndSpaces(component)) return NameVerdict::kLeavesDestination;
  if (IsDeviceName(component)) return NameVerdict::kDeviceName;
  return NameVerdict::kAccepted;
}

}  // namespace

NameVerdict CheckEntryName(std::string_view name, bool isDirectory) {
  if (name.empty()) return NameVerdict::kNoName;
  if (name.size() >= MAX_PATH) return NameVerdict::kTooLong;
  if (IsSeparator(name[0])) return NameVerdict::kLeavesDestination;
  std::size_t componentStart = 0;
  for (std::size_t i = 0; i < name.size(); i += text::CharLengthAt(name, i)) {
    if (text::CharLengthAt(name, i) == 2) continue;
    auto c = static_cast<unsigned char>(name[i]);
    if (text::IsLeadByte(c)) return NameVerdict::kInvalidCharacter;
    if (c == ':') return NameVerdict::kDriveOrStream;
    if (IsForbidden(c)) return NameVerdict::kInvalidCharacter;
    if (IsSeparator(name[i])) {
      NameVerdict verdict = CheckComponent(name.substr(componentStart, i - componentStart));
      if (verdict != NameVerdict::kAccepted) return verdict;
      componentStart = i + 1;
    }
  }
  if (componentStart == name.size()) return isDirectory ? NameVerdict::kAccepted : NameVerdict::kNoName;
  return CheckComponent(name.substr(componentStart));
}

std::optional<std::string> AnsiEntryName(const ZipEntryInfo& entry) {
  if (!entry.HasUtf8Name() || entry.name.empty()) return entry.name;
  // A UTF-8 byte gives at most one UTF-16 unit, and a unit at most two bytes
  // of the double-byte code page.
  std::vector<WCHAR> wide(entry.name.size());
  int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, entry.name.data(),
                                       static_cast<int>(entry.name.size()), wide.data(), static_cast<int>(wide.size()));
  if (wideLength <= 0) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(wideLength) * 2, '\0');
  BOOL usedDefault = FALSE;
  // No best fit: it would turn look-alikes such as U+2215 or U+FF0F into real
  // separators. Windows puts a default character in place of one the code
  // page lacks and says so; the native stand-in fails instead.
  int ansiLength = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, ansi.data(),
                                       static_cast<int>(ansi.size()), nullptr, &usedDefault);
  if (ansiLength <= 0 || usedDefault) return std::nullopt;
  ansi.resize(static_cast<std::size_t>(ansiLength));
  return ansi;
}

NameVerdict ResolveEntryTarget(const std::string& root, const ZipEntryInfo& entry, EntryTarget& target) {
  if (entry.name.size() >= MAX_PATH) return NameVerdict::kTooLong;
  std::optional<std::string> name = AnsiEntryName(entry);
  if (!name) return NameVerdict::kUnrepresentable;
  NameVerdict verdict = CheckEntryName(*name, entry.IsDirectory());
  if (verdict != NameVerdict::kAccepted) return verdict;
  // "/" is never the second byte of a double-byte character.
  std::replace(name->begin(), name->end(), '/', '\\');
  if (root.size() + name->size() >= MAX_PATH) return NameVerdict::kTooLong;
  target.path_ = root + *name;
  return NameVerdict::kAccepted;
}
