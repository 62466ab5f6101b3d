// Lays out form description blocks: the build's form tool makes the carried
// block with it, and tests and fuzz seeds make theirs. The program itself
// only reads blocks.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "form/description/unit_record.h"

struct EventBinding {
  std::int32_t event = 0;
  std::uint32_t handler = 0;  // an offset from the code start, or kNoHandlerOffset
};

// The fields of a unit's record; the reserved ones are written as zeros.
struct UnitRecordFields {
  TypeId type = 0;
  UnitId eventSourceUnit = 0;
  std::string name;
  std::string comment;
  std::uint32_t objectSlot = 0;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t cursorSlot = 0;
  UnitId parent = 0;
  std::vector<UnitId> children;
  std::vector<std::uint8_t> cursorSpec;
  std::string tag;
  std::uint32_t flags = 0;
  std::uint32_t tabOrder = 0;
  std::vector<EventBinding> bindings;
  std::vector<std::uint8_t> propertyBlob;
};

// The record's bytes, without the length dword in front of them.
std::vector<std::uint8_t> EncodeUnitRecord(const UnitRecordFields& fields);

struct UnitDescription {
  UnitId id = 0;
  std::vector<std::uint8_t> record;
};

struct WindowDescription {
  UnitId window = 0;
  // The window's second table dword, which readers ignore.
  std::uint32_t tableValue = 0;
  std::uint32_t firstKeptValue = 0;
  std::uint32_t secondKeptValue = 0;
  std::string firstKeptText;
  std::string secondKeptText;
  // In index order; the records are laid out end to end in this order.
  std::vector<UnitDescription> units;
};

std::vector<std::uint8_t> EncodeFormDescription(std::span<const WindowDescription> windows);
