#include "zip/entry_target.h"

#include <algorithm>
#include <optional>

#include <windows.h>

#include "host/text.h"
#include "zip/entry_name.h"

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

// The platform opens the device whatever follows its name after a dot, and
// trims trailing spaces: "nul.txt" and "COM1 .log" are devices too.
bool IsDeviceName(std::string_view component) {
  std::string_view base = component.substr(0, component.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  return std::any_of(std::begin(kDeviceNames), std::end(kDeviceNames),
                     [base](std::string_view device) { return text::EqualsIgnoringAsciiCase(base, device); });
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

NameVerdict CheckEntryName(std::string_view name, bool directoryByAttributes, NamedPath& named) {
  if (name.empty()) return NameVerdict::kNoName;
  if (name.size() >= MAX_PATH) return NameVerdict::kTooLong;
  if (IsSeparator(name[0])) return NameVerdict::kLeavesDestination;
  std::string relative;
  std::string_view last;
  auto take = [&relative, &last](std::string_view component) {
    last = component;
    if (component.empty() || component == ".") return NameVerdict::kAccepted;
    NameVerdict verdict = CheckComponent(component);
    if (verdict != NameVerdict::kAccepted) return verdict;
    if (!relative.empty()) relative += '\\';
    relative += component;
    return NameVerdict::kAccepted;
  };
  std::size_t componentStart = 0;
  for (std::size_t i = 0; i < name.size(); i += text::CharLengthAt(name, i)) {
    if (text::CharLengthAt(name, i) == 2) continue;
    auto c = static_cast<unsigned char>(name[i]);
    if (text::IsLeadByte(c)) return NameVerdict::kInvalidCharacter;
    if (c == ':') return NameVerdict::kDriveOrStream;
    if (IsForbidden(c)) return NameVerdict::kInvalidCharacter;
    if (IsSeparator(name[i])) {
      NameVerdict verdict = take(name.substr(componentStart, i - componentStart));
      if (verdict != NameVerdict::kAccepted) return verdict;
      componentStart = i + 1;
    }
  }
  NameVerdict verdict = take(name.substr(componentStart));
  if (verdict != NameVerdict::kAccepted) return verdict;
  named.relative = std::move(relative);
  // "a/" and "a/." name the directory a, "./" the destination itself.
  named.isDirectory = directoryByAttributes || last.empty() || last == ".";
  return NameVerdict::kAccepted;
}

NameVerdict ResolveEntryTarget(const std::string& root, const ZipEntryInfo& entry, EntryTarget& target) {
  std::optional<std::string> name = GbkEntryName(entry);
  if (!name) return NameVerdict::kUnrepresentable;
  NamedPath named;
  NameVerdict verdict = CheckEntryName(*name, entry.IsDirectory(), named);
  if (verdict != NameVerdict::kAccepted) return verdict;
  if (root.size() + named.relative.size() >= MAX_PATH) return NameVerdict::kTooLong;
  target.path_ = root + named.relative;
  target.rootLength_ = root.size();
  target.isDirectory_ = named.isDirectory;
  return NameVerdict::kAccepted;
}

std::string_view EntryTarget::DirectoryBelowRoot() const {
  std::string_view relative = std::string_view(path_).substr(rootLength_);
  if (isDirectory_) return relative;
  std::size_t cut = text::FindLastBackslash(relative);
  return cut == std::string_view::npos ? std::string_view() : relative.substr(0, cut);
}
