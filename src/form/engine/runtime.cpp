#include "form/engine/runtime.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>

#include <ole2.h>

#include "form/engine/runtime_texts.h"
#include "host/wide_text.h"

namespace runtime {

namespace {

// The engine runs on one thread; these are its process-wide records.
struct EngineState {
  void (*exitCleanup)() = nullptr;
  bool oleInitialized = false;
  int eventSuppression = 0;
  bool loopStarted = false;
  HWND hiddenOwner = nullptr;
  FatalBoxSeam fatalBox{[](HWND owner, const char* text, const char* caption, UINT flags) {
    return MessageBoxW(owner, text::WideForDisplay(text).c_str(), text::WideForDisplay(caption).c_str(), flags);
  }};
  // The size of the last allocation that failed, for the fatal error of a
  // failure that nothing handles.
  std::size_t failedAllocation = 0;
  bool reportingOutOfMemory = false;
};

EngineState& State() {
  static EngineState state;
  return state;
}

// Called by the program's operator new, below, as an allocation fails.
void NoteFailedAllocation(std::size_t size) { State().failedAllocation = size; }

}  // namespace

FatalBoxSeam SetFatalBoxSeam(FatalBoxSeam seam) {
  FatalBoxSeam previous = State().fatalBox;
  State().fatalBox = seam;
  return previous;
}

void RegisterExitCleanup(void (*routine)()) { State().exitCleanup = routine; }

void NoteOleInitialized() { State().oleInitialized = true; }

void RunEndRoutine() {
  EngineState& s = State();
  if (void (*cleanup)() = s.exitCleanup) {
    s.exitCleanup = nullptr;
    cleanup();
  }
  if (s.oleInitialized) {
    s.oleInitialized = false;
    OleUninitialize();
  }
}

std::string RuntimeErrorText(const std::string& message, int code) {
  std::string text = runtime_text::kRuntimeErrorHeading;
  if (code != 0) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", code);
    text += runtime_text::kErrorCodeLabel;
    text += digits;
    text += "\r\n\r\n";
  }
  if (!message.empty()) {
    text += runtime_text::kErrorMessageLabel;
    text += message;
    text += "\r\n";
  }
  return text;
}

void ReportRuntimeError(const std::string& message, int code) {
  EngineState& s = State();
  ++s.eventSuppression;
  s.fatalBox.show(nullptr, RuntimeErrorText(message, code).c_str(), runtime_text::kErrorCaption, MB_ICONHAND);
  s.exitCleanup = nullptr;
  RunEndRoutine();
  std::fflush(nullptr);
  ExitProcess(static_cast<UINT>(-1));
}

void ReportOutOfMemory(std::size_t size) {
  EngineState& s = State();
  // Memory may be too short for the report itself: a second failure on the
  // way ends the process as the report would.
  if (s.reportingOutOfMemory) ExitProcess(static_cast<UINT>(-1));
  s.reportingOutOfMemory = true;
  // The size as asked for, whatever its magnitude: "%d" of a size above 2 GiB
  // would show a negative number.
  std::string message = runtime_text::kOutOfMemory;
  message.replace(message.find("%d"), 2, std::to_string(size));
  ReportRuntimeError(message);
}

void ReportUnhandledAllocationFailures() {
  std::set_terminate([] {
    if (std::exception_ptr unhandled = std::current_exception()) {
      try {
        std::rethrow_exception(unhandled);
      } catch (const std::bad_alloc&) {
        ReportOutOfMemory(State().failedAllocation);
      } catch (...) {
      }
    }
    std::abort();
  });
}

int EventSuppression() { return State().eventSuppression; }
void RaiseEventSuppression() { ++State().eventSuppression; }
void LowerEventSuppression() {
  if (State().eventSuppression > 0) --State().eventSuppression;
}

bool LoopStarted() { return State().loopStarted; }
void SetLoopStarted() { State().loopStarted = true; }

HWND HiddenOwnerWindow() {
  EngineState& s = State();
  if (s.hiddenOwner == nullptr) {
    s.hiddenOwner = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
  }
  return s.hiddenOwner;
}

}  // namespace runtime

// Every allocation of the program, so that a failure notes the size asked
// for before it throws as it always did.
void* operator new(std::size_t size) {
  for (;;) {
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) {
      runtime::NoteFailedAllocation(size);
      throw std::bad_alloc();
    }
    handler();
  }
}
