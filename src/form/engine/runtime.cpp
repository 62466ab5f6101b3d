#include "form/engine/runtime.h"

#include <cstdio>
#include <cstdlib>

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
  FatalBoxSeam fatalBox{[](const char* text, const char* caption, UINT flags) {
    return MessageBoxW(nullptr, text::WideForDisplay(text).c_str(), text::WideForDisplay(caption).c_str(), flags);
  }};
};

EngineState& State() {
  static EngineState state;
  return state;
}

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
  s.fatalBox.show(RuntimeErrorText(message, code).c_str(), runtime_text::kErrorCaption, MB_ICONHAND);
  s.exitCleanup = nullptr;
  RunEndRoutine();
  std::fflush(nullptr);
  ExitProcess(static_cast<UINT>(-1));
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
