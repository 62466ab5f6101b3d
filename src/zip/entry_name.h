// The name an entry is written under, in GBK. Archives carry names in
// whatever the tool that made them chose: a UTF-8 copy in an Info-ZIP Unicode
// Path field, UTF-8 declared by a flag, UTF-8 undeclared from tools on Unix
// and macOS, or the code page of a Windows machine.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "zip/entry_info.h"

// The entry's name, taken in this order: the Unicode Path field whose CRC-32
// matched the stored name; the stored name when its UTF-8 flag is set; the
// stored name of an entry made on Unix or macOS when it is valid UTF-8 and not
// plain ASCII; otherwise the stored bytes as they are. Nothing when a UTF-8
// name is invalid or has characters that GBK lacks.
std::optional<std::string> GbkEntryName(const ZipEntryInfo& entry);

// A UTF-8 text in GBK, without best fit; nothing when it is not valid UTF-8
// or has characters that GBK lacks.
std::optional<std::string> GbkFromUtf8(std::string_view utf8);
