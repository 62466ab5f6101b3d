// What a message box is given to show: a value of one of a few kinds, and the
// text that stands for it.
#pragma once

#include <cstdint>
#include <string>

// One message value: the kind says which field holds it. The installer only
// shows texts; the other kinds are the message box's for any caller.
struct MessageValue {
  enum class Kind { Text, Byte, Short, Integer, LongInteger, Float, Double, Boolean, DateTime, Other };
  Kind kind = Kind::Other;
  std::string text;          // Text
  std::int64_t integer = 0;  // Byte, Short, Integer, LongInteger, Boolean
  double real = 0;           // Float, Double, DateTime (an OLE date: days since 30 December 1899)

  static MessageValue FromText(std::string text);
  static MessageValue FromByte(std::uint8_t value);
  static MessageValue FromShort(std::int16_t value);
  static MessageValue FromInteger(std::int32_t value);
  static MessageValue FromLongInteger(std::int64_t value);
  static MessageValue FromFloat(float value);
  static MessageValue FromDouble(double value);
  // Any non-zero value is true.
  static MessageValue FromBoolean(std::int32_t value);
  static MessageValue FromDateTime(double oleDate);
};

// The text shown for the value, in GBK; empty for the kinds that have no
// display text.
std::string ValueToDisplayText(const MessageValue& value);
