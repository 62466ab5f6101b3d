#include "form/engine/template_access.h"

#include "form/description/form_description_stream.h"
#include "form/description/unit_record_edit.h"

namespace units {

namespace {

// The templates read at start-up and the program's unit types.
struct Program {
  std::vector<WindowTemplate> templates;
  std::span<const UnitLibrary> libraries;
};

Program& TheProgram() {
  static Program program;
  return program;
}

// The record of the unit at index with its layout. Templates were checked as
// a whole when they were read and every edit keeps them walkable, so a unit
// index below the count always has both.
struct Record {
  std::span<std::uint8_t> bytes;
  UnitRecordLayout layout;
};

Record RecordAt(WindowTemplate& t, std::uint32_t index) {
  std::optional<UnitEntry> entry = UnitAt(t, index);
  std::span<std::uint8_t> bytes = RecordOf(t, *entry);
  return Record{bytes, *WalkUnitRecord(bytes)};
}

Record RecordAt(const WindowTemplate& t, std::uint32_t index) {
  return RecordAt(const_cast<WindowTemplate&>(t), index);
}

std::uint32_t Dword(const Record& r, std::uint32_t offset) { return LoadDword(r.bytes.data() + offset); }
void SetDword(const Record& r, std::uint32_t offset, std::uint32_t value) { StoreDword(r.bytes.data() + offset, value); }

std::uint32_t GeometryOffset(const UnitRecordLayout& l, Geometry which) {
  switch (which) {
    case Geometry::Left: return l.left;
    case Geometry::Top: return l.top;
    case Geometry::Width: return l.width;
    default: return l.height;
  }
}

}  // namespace

void InstallTemplates(std::vector<WindowTemplate> templates, std::span<const UnitLibrary> libraries) {
  TheProgram() = Program{std::move(templates), libraries};
}

WindowTemplate* FindWindow(UnitId window) { return FindWindowTemplate(TheProgram().templates, window); }

std::vector<WindowTemplate*> AllWindows() {
  std::vector<WindowTemplate*> all;
  for (WindowTemplate& t : TheProgram().templates) all.push_back(&t);
  return all;
}

UnitId WindowIdOf(const WindowTemplate& t) { return t.window; }
std::uint32_t UnitCount(const WindowTemplate& t) { return t.unitCount; }

std::optional<std::uint32_t> IndexOf(const WindowTemplate& t, UnitId unit) {
  std::optional<UnitEntry> entry = FindUnit(t, unit);
  return entry ? std::optional<std::uint32_t>(entry->index) : std::nullopt;
}

UnitId IdAt(const WindowTemplate& t, std::uint32_t index) { return UnitAt(t, index)->id; }

TypeId TypeOf(const WindowTemplate& t, std::uint32_t index) {
  return Dword(RecordAt(t, index), UnitRecordLayout::kTypeId);
}

UnitId EventSourceOf(const WindowTemplate& t, std::uint32_t index) {
  return Dword(RecordAt(t, index), UnitRecordLayout::kEventSourceUnit);
}

std::int32_t GeometryOf(const WindowTemplate& t, std::uint32_t index, Geometry which) {
  Record r = RecordAt(t, index);
  return static_cast<std::int32_t>(Dword(r, GeometryOffset(r.layout, which)));
}

void SetGeometry(WindowTemplate& t, std::uint32_t index, Geometry which, std::int32_t value) {
  Record r = RecordAt(t, index);
  SetDword(r, GeometryOffset(r.layout, which), static_cast<std::uint32_t>(value));
}

std::uint32_t FlagsOf(const WindowTemplate& t, std::uint32_t index) {
  Record r = RecordAt(t, index);
  return Dword(r, r.layout.flags);
}

void SetFlags(WindowTemplate& t, std::uint32_t index, std::uint32_t flags) {
  Record r = RecordAt(t, index);
  SetDword(r, r.layout.flags, flags);
}

std::uint32_t TabOrderOf(const WindowTemplate& t, std::uint32_t index) {
  Record r = RecordAt(t, index);
  return Dword(r, r.layout.tabOrder);
}

UnitId ParentOf(const WindowTemplate& t, std::uint32_t index) {
  Record r = RecordAt(t, index);
  return Dword(r, r.layout.parent);
}

std::vector<UnitId> ChildrenOf(const WindowTemplate& t, std::uint32_t index) {
  Record r = RecordAt(t, index);
  std::vector<UnitId> children;
  for (std::uint32_t at = 0; at < r.layout.children.length; at += 4)
    children.push_back(Dword(r, r.layout.children.offset + at));
  return children;
}

std::string TagOf(const WindowTemplate& t, std::uint32_t index) {
  Record r = RecordAt(t, index);
  return std::string(reinterpret_cast<const char*>(r.bytes.data()) + r.layout.tag.offset, r.layout.tag.length);
}

void SetTag(WindowTemplate& t, std::uint32_t index, const std::string& tag) { SetUnitTag(t, index, tag); }

std::vector<std::uint8_t> CursorSpecOf(const WindowTemplate& t, std::uint32_t index) {
  Record r = RecordAt(t, index);
  auto pointerData = r.bytes.subspan(r.layout.cursorSpec.offset, r.layout.cursorSpec.length);
  return std::vector<std::uint8_t>(pointerData.begin(), pointerData.end());
}

void SetCursorSpec(WindowTemplate& t, std::uint32_t index, const std::vector<std::uint8_t>& pointerData) {
  SetUnitCursorSpec(t, index, pointerData);
}

std::uint32_t ObjectSlotOf(const WindowTemplate& t, std::uint32_t index) {
  Record r = RecordAt(t, index);
  return Dword(r, r.layout.objectSlot);
}

void SetObjectSlot(WindowTemplate& t, std::uint32_t index, std::uint32_t value) {
  Record r = RecordAt(t, index);
  SetDword(r, r.layout.objectSlot, value);
}

std::uint32_t CursorSlotOf(const WindowTemplate& t, std::uint32_t index) {
  Record r = RecordAt(t, index);
  return Dword(r, r.layout.cursorSlot);
}

void SetCursorSlot(WindowTemplate& t, std::uint32_t index, std::uint32_t value) {
  Record r = RecordAt(t, index);
  SetDword(r, r.layout.cursorSlot, value);
}

std::optional<std::uint32_t> HandlerOf(const WindowTemplate& t, std::uint32_t index, std::int32_t event) {
  return FindEventBinding(RecordAt(t, index).bytes, event);
}

std::vector<std::uint8_t> PropertyBlobOf(const WindowTemplate& t, std::uint32_t index) {
  std::span<const std::uint8_t> blob = ::PropertyBlobOf(std::span<const std::uint8_t>(RecordAt(t, index).bytes));
  return std::vector<std::uint8_t>(blob.begin(), blob.end());
}

void TakePristineCopy(WindowTemplate& t) { t.pristineUnitBuffer = t.unitBuffer; }

void RestorePristineCopy(WindowTemplate& t) {
  if (t.pristineUnitBuffer.empty()) return;
  t.unitBuffer.swap(t.pristineUnitBuffer);
  t.pristineUnitBuffer.clear();
}

std::optional<ResolvedType> ResolveUnitType(TypeId type) {
  const UnitTypeInfo* info = ResolveType(TheProgram().libraries, type);
  if (info == nullptr) return std::nullopt;
  return ResolvedType{info->flags, info->operations};
}

}  // namespace units
