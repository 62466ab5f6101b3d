// The carried form description turned into window templates: one per window,
// each holding the records of its units. The reader checks a block once, as
// a whole, before anything trusts it: afterwards every record of every
// template can be walked, and every handler address lies in the program's
// code. The templates live for the whole run and are never shared.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "form/description/unit_record.h"

// The program's code as the form's handler offsets see it. A bound handler
// becomes start + offset, a 32-bit key that the engine resolves through the
// program's routine table; an offset must lie in [0, size). start is never 0,
// because the address 0 stands for "no handler".
struct CodeImage {
  std::uint32_t start = 0;
  std::uint32_t size = 0;
};

struct WindowTemplate {
  UnitId window = 0;
  // Kept as read, for a template that is ever written back; nothing reads them.
  std::uint32_t firstKeptValue = 0;
  std::uint32_t secondKeptValue = 0;
  std::string firstKeptText;
  std::string secondKeptText;
  std::uint32_t unitCount = 0;
  // The unit ids, the record offsets and the records. The working copy takes
  // the live objects, cursors and property writes while the window is
  // loaded; the pristine copy is what it returns to when the window goes.
  std::vector<std::uint8_t> unitBuffer;
  std::vector<std::uint8_t> pristineUnitBuffer;
};

// All windows of a block, in table order; nothing when any part of it does
// not hold (the engine reports that as its fatal start-up error). An empty
// block holds no windows. Handler offsets come back relocated against code.
std::optional<std::vector<WindowTemplate>> ReadFormDescription(std::span<const std::uint8_t> block, CodeImage code);

// The template of a well-formed window id, or nullptr.
WindowTemplate* FindWindowTemplate(std::span<WindowTemplate> templates, UnitId window);

// One unit of a template: its place in the unit tables and where its record's
// bytes are in the working unit buffer (after the record's length dword).
struct UnitEntry {
  std::uint32_t index = 0;
  UnitId id = 0;
  std::uint32_t recordStart = 0;
  std::uint32_t recordLength = 0;
};

// The unit at an index, or nothing past the end.
std::optional<UnitEntry> UnitAt(const WindowTemplate& t, std::uint32_t index);
// The first unit with the id (0: the window unit at index 0), or nothing.
std::optional<UnitEntry> FindUnit(const WindowTemplate& t, UnitId unit);

std::span<const std::uint8_t> RecordOf(const WindowTemplate& t, const UnitEntry& unit);
std::span<std::uint8_t> RecordOf(WindowTemplate& t, const UnitEntry& unit);
