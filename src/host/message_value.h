// What a message box shows: the message given as any kind of value, turned
// into display text, and the platform's answer turned into a 0-based code.
#pragma once

#include <cstdint>
#include <string>

struct MessageValue {
  enum class Kind { Text, Byte, Short, Integer, LongInteger, Float, Double, Boolean, DateTime, Other };
  Kind kind = Kind::Other;
  std::string text;
  std::int64_t integer = 0;  // byte, short, integer, long integer, boolean
  double real = 0;           // float, double, date-time (days since 1899-12-30)

  static MessageValue FromText(std::string text);
  static MessageValue FromInteger(Kind kind, std::int64_t value);
  static MessageValue FromReal(Kind kind, double value);
};

// The text a message box shows for the value, in the ANSI code page.
std::string ValueToDisplayText(const MessageValue& value);

// The style word handed to the platform: task-modal unless system-modal.
unsigned MessageBoxFlags(unsigned flags);

// The 0-based code of the button that closed the box: IDOK 0, IDCANCEL 1,
// IDABORT 2, IDRETRY 3, IDIGNORE 4, IDYES 5, IDNO 6; anything else 0.
int MessageBoxResult(int platformResult);
