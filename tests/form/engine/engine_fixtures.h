// A test program for the form engine: test-only unit types beside the real
// window type, a table of routines that journal their runs, forms made of
// them, and a journal of what the engine made the units and routines do.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "form/description/form_description_writer.h"
#include "form/description/unit_types.h"
#include "form/engine/events.h"

namespace engine_fixtures {

constexpr UnitId kWindow = 0x52010001;
constexpr UnitId kOtherWindow = 0x52010002;
constexpr UnitId kUnknownWindow = 0x52010009;
constexpr UnitId kWindowUnit = 0x06010000;

// The test program's one library: the real window type, test types and the
// real Button type.
constexpr TypeId kWindowType = 0x00010001;
// A STATIC control, stacked below its siblings when it is made, that
// journals its creation, its showing and its end, and raises event
// kCreateEvent from create, kUnitsCreatedEvent on the engine's units-created
// message and kLoadFinishedEvent on its load-finished message.
constexpr TypeId kProbeType = 0x00010002;
// The same, hidden at run time.
constexpr TypeId kHiddenType = 0x00010003;
// Its create makes nothing.
constexpr TypeId kRefusingType = 0x00010004;
// A type whose units may not raise events; it makes none either.
constexpr TypeId kMuteType = 0x00010005;
// The real Button type.
constexpr TypeId kButtonType = 0x00010006;

constexpr std::int32_t kCreateEvent = 20;
constexpr std::int32_t kUnitsCreatedEvent = 21;
constexpr std::int32_t kLoadFinishedEvent = 22;

std::span<const UnitLibrary> TestLibraries();

// Routine n sits at offset n * 0x10 of the test program's code; running, it
// journals itself and the event source, then does its action.
constexpr int kRoutineCount = 16;
constexpr std::uint32_t kNoHandler = 0xFFFFFFFF;
constexpr std::uint32_t RoutineOffset(int n) { return static_cast<std::uint32_t>(n) * 0x10; }
const ProgramCode& TestCode();
// The routines the tests' windows bind to their created, being destroyed,
// moved and resized events.
constexpr int kOnCreated = 1;
constexpr int kOnDestroying = 2;
constexpr int kOnMoved = 3;
constexpr int kOnResized = 4;
// The window unit's bindings to them.
std::vector<EventBinding> WindowBindings();

// What routine n does after journaling; its result is the routine's reply.
void SetRoutineAction(int n, std::function<EventReply(const std::int32_t* arguments, std::uint32_t count)> action);

// Entries, in the order things happened.
std::vector<std::string>& Journal();
std::string CreatedEntry(UnitId unit, UINT controlId, bool underItsWindow, bool windowShown);
std::string ShownEntry(UnitId unit, bool windowShown);
std::string DestroyedEntry(UnitId unit);
std::string RanEntry(int routine, UnitId source);
// What the engine probe adds: the message loop's retrievals, the state of the
// window when loading returned, and the end of the loop.
std::string RetrievedEntry(UINT message, bool forTheWindow);
std::string LoadedEntry(HWND window);
inline constexpr char kLoopReturnedEntry[] = "the loop returned";
inline constexpr char kQuitWaitingEntry[] = "a quit message is waiting";
// Bytes as hexadecimal digits, for texts in the ANSI code page.
std::string HexBytes(std::string_view bytes);

// A size that no allocation can have: engine_probe asks for it, where nothing
// catches the failure.
constexpr std::size_t kImpossibleAllocation = SIZE_MAX - 0xFFF;

// Forgets the journal and every routine's action.
void ResetJournal();

// A unit of the given type with a small geometry, the flags (visible and
// tab stop: 5) and the bindings; a window unit gets a small blob of its own.
UnitRecordFields UnitOf(TypeId type, std::uint32_t flags, std::vector<EventBinding> bindings = {});

struct TestUnit {
  UnitId id;
  UnitRecordFields fields;
};
// The window's units in index order, the window unit first.
WindowDescription WindowOf(UnitId window, const std::vector<TestUnit>& units);
std::vector<std::uint8_t> FormOf(const std::vector<WindowDescription>& windows);

// Starts the runtime on the block with the test program's code and types.
void StartRuntime(std::span<const std::uint8_t> block);

// The runtime started on a form of the test program; going, it destroys the
// windows still loaded and forgets the journal.
class TestRuntime {
 public:
  explicit TestRuntime(const std::vector<WindowDescription>& windows);
  ~TestRuntime();
  TestRuntime(const TestRuntime&) = delete;
  TestRuntime& operator=(const TestRuntime&) = delete;
};

// What CreateWindowEx was asked for, window by window, as a creation hook
// sees it: the platform has added WS_EX_WINDOWEDGE to framed windows by then.
struct CreationRequest {
  std::string className;
  std::wstring text;  // as a Unicode window gets it
  DWORD style;
  DWORD exStyle;
  int x, y, width, height;
};

// Records the thread's window creations from its making until Stop.
class CreationRecorder {
 public:
  CreationRecorder();
  ~CreationRecorder();
  CreationRecorder(const CreationRecorder&) = delete;
  CreationRecorder& operator=(const CreationRecorder&) = delete;

  void Stop();
  // The requests for windows of the class, in creation order.
  std::vector<CreationRequest> requests(const std::string& className) const;

 private:
  HHOOK hook_ = nullptr;
  std::vector<CreationRequest> requests_;
};

// The native window of a loaded unit, or nullptr.
HWND WindowOfUnit(UnitId window, UnitId unit);
DWORD StyleOf(HWND hwnd);
// A child window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);

// Dispatches what is waiting, through the engine, for a little while, so
// that messages the platform posts late have arrived too.
void Settle();

}  // namespace engine_fixtures
