#include "host/shortcut.h"

#include <windows.h>

#include "host/text.h"

std::string ShortcutFileName(std::string_view linkPath) {
  std::size_t separator = text::FindLastBackslash(linkPath);
  std::string_view name = separator == std::string_view::npos ? linkPath : linkPath.substr(separator + 1);
  if (name.empty()) return {};
  // "." is never the trail byte of a GBK character, so a byte search is safe
  // once the final component has been cut out character by character.
  if (name.find('.') != std::string_view::npos) return std::string(linkPath);
  constexpr std::string_view kExtension = ".lnk";
  // Cut short, the name would lose part of its extension or of itself.
  if (linkPath.size() + kExtension.size() + 1 > MAX_PATH) return {};
  return std::string(linkPath).append(kExtension);
}
