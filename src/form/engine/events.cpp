#include "form/engine/events.h"

#include <algorithm>
#include <vector>

#include "form/engine/runtime.h"
#include "form/engine/runtime_texts.h"
#include "form/engine/template_access.h"

namespace {

ProgramCode& Code() {
  static ProgramCode code{};
  return code;
}

EventSource& Source() {
  static EventSource source;
  return source;
}

EventHandler RoutineAt(std::uint32_t address) {
  const ProgramCode& code = Code();
  if (address < code.image.start || address - code.image.start >= code.image.size) return nullptr;
  std::uint32_t offset = address - code.image.start;
  for (std::size_t i = 0; i < code.routineCount; ++i)
    if (code.routines[i].offset == offset) return code.routines[i].handler;
  return nullptr;
}

}  // namespace

void SetProgramCode(const ProgramCode& code) { Code() = code; }

EventHandler FindEventHandler(UnitId window, UnitId unit, std::int32_t event) {
  if (runtime::EventSuppression() > 0) return nullptr;
  WindowTemplate* t = units::FindWindow(window);
  if (t == nullptr) runtime::ReportRuntimeError(runtime_text::kEventWindowMissing);
  std::optional<std::uint32_t> index = units::IndexOf(*t, unit);
  if (!index) runtime::ReportRuntimeError(runtime_text::kEventUnitMissing);

  // A unit may borrow the bindings of another unit of its type. A chain that
  // comes back to a unit already visited ends there, as a broken one does.
  std::vector<UnitId> visited{units::IdAt(*t, *index)};
  TypeId type = units::TypeOf(*t, *index);
  for (UnitId next = units::EventSourceOf(*t, *index); next != 0; next = units::EventSourceOf(*t, *index)) {
    if (std::find(visited.begin(), visited.end(), next) != visited.end()) break;
    std::optional<std::uint32_t> borrowed = units::IndexOf(*t, next);
    if (!borrowed || units::TypeOf(*t, *borrowed) != type) break;
    visited.push_back(next);
    index = borrowed;
  }

  std::optional<units::ResolvedType> resolved = units::ResolveUnitType(units::TypeOf(*t, *index));
  if (!resolved || !(resolved->flags & (type_flags::kWindowBased | type_flags::kRaisesEvents)))
    runtime::ReportRuntimeError(runtime_text::kEventUnitInvalid);

  std::optional<std::uint32_t> address = units::HandlerOf(*t, *index, event);
  EventHandler handler = address && *address != 0 ? RoutineAt(*address) : nullptr;
  if (handler != nullptr) Source() = EventSource{window, unit == 0 ? units::IdAt(*t, 0) : unit};
  return handler;
}

bool FireEvent(EventRecord& record) {
  EventHandler handler = FindEventHandler(record.window, record.unit, record.event);
  if (handler == nullptr) return false;
  std::uint32_t count = std::min<std::uint32_t>(record.argumentCount, 5);
  EventReply reply = handler(record.arguments, count);
  Source().window = 0;
  if (reply.given) {
    record.replyGiven = 1;
    record.reply = reply.value;
  }
  return true;
}

bool FireEvent(UnitId window, UnitId unit, std::int32_t event) {
  EventRecord record;
  record.window = window;
  record.unit = unit;
  record.event = event;
  return FireEvent(record);
}

EventSource CurrentEventSource() { return Source(); }
