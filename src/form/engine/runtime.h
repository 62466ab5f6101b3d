// Process-wide engine state and the fatal error path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <windows.h>

namespace runtime {

// How a fatal error box is shown; tests put their own in to read the text.
struct FatalBoxSeam {
  int (*show)(HWND owner, const char* text, const char* caption, UINT flags);
};
FatalBoxSeam SetFatalBoxSeam(FatalBoxSeam seam);

// Routine run once by the end routine; a later registration replaces an earlier one.
void RegisterExitCleanup(void (*routine)());

// Remembered so that the end routine balances it.
void NoteOleInitialized();

// Runs the exit clean-up once (forgetting it), then OleUninitialize when
// start-up initialised OLE.
void RunEndRoutine();

// The text of a fatal error box.
std::string RuntimeErrorText(const std::string& message, int code);

// Shows the fatal error box, skips the exit clean-up, runs the end routine and
// ends the process with status -1.
[[noreturn]] void ReportRuntimeError(const std::string& message, int code = 0);

// From now on an allocation that fails where nothing handles the failure
// (an exception that no caller catches, which would end the process in an
// abort) is a fatal error whose message gives the size that was asked for.
// Parts that answer a failed allocation themselves catch it as before.
void ReportUnhandledAllocationFailures();

// The fatal error of an allocation of size bytes that failed.
[[noreturn]] void ReportOutOfMemory(std::size_t size);

// While above 0 no event handler runs (loading, re-creation, fatal errors).
int EventSuppression();
void RaiseEventSuppression();
void LowerEventSuppression();

// Set when the message loop is entered: from then on the last window going
// away ends the loop.
bool LoopStarted();
void SetLoopStarted();

// A never-shown tool window that owns windows kept out of the task bar.
HWND HiddenOwnerWindow();

}  // namespace runtime
