// Shortcut files in the platform's shell-link format, written by the
// platform's own shell-link object.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Saves a shortcut to targetPath, started with SW_SHOW, under
// ShortcutFileName(linkPath); an existing file of that name is replaced. Every
// call carries all five positions: an optional one that is std::nullopt is
// omitted and leaves that field of the shortcut unset, while a given one, even
// an empty text, is set. True when the file was saved.
// The calling thread must already be in a COM apartment (start-up enters
// one); this never initialises COM itself.
bool CreateShortcut(const std::string& linkPath, const std::string& targetPath,
                    const std::optional<std::string>& description, const std::optional<std::string>& arguments,
                    const std::optional<std::string>& workingDirectory);

// The name a shortcut at linkPath is saved under: linkPath itself when its
// final component (after the last "\", GBK-aware) holds a ".", else linkPath
// with ".lnk" appended. A "." in a directory name does not count. Empty when
// linkPath names no file (empty, or ending in "\") or when ".lnk" would take
// it past the platform's path limit.
std::string ShortcutFileName(std::string_view linkPath);
