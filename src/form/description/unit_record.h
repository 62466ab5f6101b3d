// A unit's record in a window template: the fields that every unit shares,
// the bindings of its events and its type's property blob. Every field after
// the name sits behind variable-length fields, and writing the tag or the
// mouse pointer moves the ones after it, so the record is walked anew on
// every access instead of keeping positions.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

using UnitId = std::uint32_t;
using TypeId = std::uint32_t;

// A window id names a window only with bits 0-23 and bits 24-27 non-zero.
constexpr bool IsWellFormedWindowId(UnitId id) { return (id & 0x00FFFFFF) != 0 && (id & 0x0F000000) != 0; }
// The window unit itself (0 included, which stands for it in a unit position).
constexpr bool IsWindowUnitId(UnitId id) { return (id >> 28) == 0; }
// Menu items keep records of another layout; unit walks pass over them.
constexpr bool IsMenuItem(UnitId id) { return ((id >> 24) & 0xF) == 6 && (id >> 28) == 2; }

// An event binding's handler offset that binds no handler.
constexpr std::uint32_t kNoHandlerOffset = 0xFFFFFFFF;

// UnitFlags.
constexpr std::uint32_t kUnitVisible = 0x1;
constexpr std::uint32_t kUnitDisabled = 0x2;
constexpr std::uint32_t kUnitTabStop = 0x4;

// A variable-size part of a record: where it starts and how many bytes it
// has (for name, comment and tag, without their NUL).
struct RecordSpan {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
};

// Where each field of one record is, as byte offsets from the record's
// first byte (the one after its length dword). Dword fields are read and
// written in place with LoadDword / StoreDword.
struct UnitRecordLayout {
  static constexpr std::uint32_t kTypeId = 0;
  static constexpr std::uint32_t kEventSourceUnit = 4;
  static constexpr std::uint32_t kReserved = 8;  // 16 bytes
  static constexpr std::uint32_t kName = 24;

  RecordSpan name;
  RecordSpan comment;
  std::uint32_t objectSlot = 0;
  std::uint32_t left = 0;
  std::uint32_t top = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t cursorSlot = 0;
  std::uint32_t parent = 0;
  std::uint32_t childCount = 0;
  RecordSpan children;  // childCount dwords
  std::uint32_t cursorSpecLength = 0;
  RecordSpan cursorSpec;
  RecordSpan tag;
  std::uint32_t flags = 0;  // after one reserved dword
  std::uint32_t tabOrder = 0;
  std::uint32_t bindingCount = 0;
  RecordSpan bindings;  // bindingCount pairs (event index, handler)
  // After 20 reserved bytes, to the record's end. A record that ends within
  // those reserved bytes has an empty blob.
  RecordSpan propertyBlob;
};

// The layout of a record, or nothing when a field would lie outside it.
std::optional<UnitRecordLayout> WalkUnitRecord(std::span<const std::uint8_t> record);

// Where a menu item's single handler dword is (after the comment, 12 bytes
// and one terminated string), or nothing when it lies outside the record.
std::optional<std::uint32_t> MenuItemHandlerOffset(std::span<const std::uint8_t> record);

// The record's type-specific properties; empty when the record cannot be walked.
std::span<const std::uint8_t> PropertyBlobOf(std::span<const std::uint8_t> record);

// The handler of the first binding for the event: its address, 0 when the
// binding has no handler; nothing when no binding names the event.
std::optional<std::uint32_t> FindEventBinding(std::span<const std::uint8_t> record, std::int32_t event);
