// How a long step on the user-interface thread (a pause, an extraction, a
// payload write) lets the window it runs under live on: a window that goes
// unattended for a few seconds is taken for hung, painted white and offered
// to be ended, in the middle of writing the game's files. The step hands
// over between pieces of work and waits through it, telling it the bytes it
// writes so that the window can show how far the work has come.
#pragma once

#include <cstdint>

#include <windows.h>

struct KeepAlive {
  // The bytes that the work ahead will write, once the step knows them.
  void (*expect)(void* context, std::uint64_t bytes);
  // After each piece of work, with the bytes it wrote (0 for none).
  void (*advance)(void* context, std::uint64_t bytes);
  // In place of sleeping.
  void (*wait)(void* context, DWORD milliseconds);
  void* context;
};

// For steps that may run with no window to keep (tools, tests): nothing
// when keepAlive is null.
inline void ExpectBytes(const KeepAlive* keepAlive, std::uint64_t bytes) {
  if (keepAlive != nullptr) keepAlive->expect(keepAlive->context, bytes);
}
inline void AdvanceBytes(const KeepAlive* keepAlive, std::uint64_t bytes) {
  if (keepAlive != nullptr) keepAlive->advance(keepAlive->context, bytes);
}
