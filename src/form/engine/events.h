// Raising a unit's events so that the handler bound to it in the form runs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "form/description/event_index.h"
#include "form/description/form_description.h"
#include "form/engine/unit_object.h"

// The request that raises an event, filled in with the handler's reply.
struct EventRecord {
  UnitId window = 0;
  UnitId unit = 0;  // 0 or the window unit's id: the window unit
  std::int32_t event = 0;
  std::uint32_t argumentCount = 0;
  std::int32_t arguments[5] = {};
  std::uint32_t replyGiven = 0;
  std::int32_t reply = 0;
};

struct EventReply {
  bool given = false;
  std::int32_t value = 0;
};

// A routine of the program that a form binding can name.
using EventHandler = EventReply (*)(const std::int32_t* arguments, std::uint32_t count);

// The program's routines by their offset from the code start; handler
// addresses in the form are code start + offset.
struct ProgramRoutine {
  std::uint32_t offset;
  EventHandler handler;
};
struct ProgramCode {
  CodeImage image;
  const ProgramRoutine* routines;
  std::size_t routineCount;
};
void SetProgramCode(const ProgramCode& code);

// The handler bound to (window, unit, event), or nullptr. Records the event
// source when one is found.
EventHandler FindEventHandler(UnitId window, UnitId unit, std::int32_t event);

// Runs the bound handler; true when one ran.
bool FireEvent(EventRecord& record);

// Whether a handler ran (ran is what FireEvent answered) and replied false:
// how a handler keeps its window open, swallows an input or stops an
// extraction.
constexpr bool HandlerDeclined(bool ran, const EventRecord& record) {
  return ran && record.replyGiven != 0 && record.reply == 0;
}

// Convenience for events without arguments.
bool FireEvent(UnitId window, UnitId unit, std::int32_t event);

struct EventSource {
  UnitId window = 0;
  UnitId unit = 0;
};
// The window and unit of the event whose handler was last started; the
// window part is cleared when that handler returns.
EventSource CurrentEventSource();
