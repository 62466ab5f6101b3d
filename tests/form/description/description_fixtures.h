// Small form description blocks made by the tests, with the positions of
// their parts, so that a test can damage exactly one field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "app/program_routines.h"
#include "form/description/form_description.h"
#include "form/description/form_description_writer.h"

namespace fixtures {

constexpr CodeImage kCode = kProgramCodeImage;

constexpr UnitId kWindow = 0x52010001;
constexpr UnitId kWindowUnit = 0x06010000;
constexpr UnitId kButton = 0x16010002;
constexpr UnitId kMenuItem = 0x26010005;
constexpr UnitId kZip = 0x160100A2;

// A window unit bound to handler 0x10, a button with a child, a pointer, a
// tag, two bindings (0x20 and none) and a blob, a menu item bound to 0x30,
// and a unit with no bindings, in this index order.
WindowDescription SampleWindow();
// The bytes of a menu item record whose handler dword is handler.
std::vector<std::uint8_t> MenuItemRecord(std::uint32_t handler);

// A one-window block and where its parts lie in it.
struct SampleBlock {
  std::vector<std::uint8_t> bytes;
  std::vector<std::vector<std::uint8_t>> records;  // as encoded, in index order

  static constexpr std::size_t kWindowTableLength = 0;
  static constexpr std::size_t kFirstKeptText = 20;
  static constexpr std::size_t kUnitCount = 28;
  static constexpr std::size_t kUnitBufferLength = 32;
  static constexpr std::size_t kUnitBuffer = 36;

  std::uint32_t unitCount() const;
  std::uint32_t unitBufferLength() const;
  // Of unit index's entry in the offset table.
  std::size_t OffsetEntry(std::uint32_t index) const;
  // Of the record's length dword, and of its first byte.
  std::size_t RecordLength(std::uint32_t index) const;
  std::size_t Record(std::uint32_t index) const;

  void Store(std::size_t at, std::uint32_t value);
};

SampleBlock MakeSampleBlock();

// Reads a copy of the block in a heap block of exactly its size, so that a
// read past the end is caught by the sanitizers.
std::optional<std::vector<WindowTemplate>> ReadExactCopy(std::span<const std::uint8_t> block, CodeImage code = kCode);

}  // namespace fixtures
