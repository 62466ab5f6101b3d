// Texts on their way to and from the platform's wide (UTF-16) functions. The
// program's texts are GBK; the system's ANSI code page may be anything (932
// where players run Japanese games, 950, 1252, the Unix locale's under Wine),
// so no text is handed to an ANSI function, which would read it in that code
// page. Each crossing converts from or to code page 936 explicitly here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace text {

// A GBK text in UTF-16; nothing when its bytes are not valid in code page 936.
// For names: a name that cannot be read must not become another one.
std::optional<std::wstring> WideFromGbk(std::string_view gbk);

// What a player sees of a GBK text (a caption, a message): bytes that code
// page 936 does not define show as the platform's default character, as they
// would on a system whose code page is 936.
std::wstring WideForDisplay(std::string_view gbk);

// A UTF-16 text in GBK, without best fit (which would turn an "é" or an "â"
// into a plain letter that names another file); nothing when code page 936
// cannot spell one of its characters.
std::optional<std::string> GbkFromWide(std::wstring_view wide);

}  // namespace text
