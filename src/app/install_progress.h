// How far an install has come. While the install runs its window stays alive
// (busy_window.h) and shows a bar with its percentage below the buttons,
// driven by the bytes written: the archive's entries, then the two payloads.
// The bar goes with the object.
#pragma once

#include <cstdint>

#include <windows.h>

#include "form/engine/busy_window.h"
#include "host/keep_alive.h"

class InstallProgress {
 public:
  // On the start window, below its buttons. payloadBytes: what the payload
  // writes add to the archive's bytes, which the extraction tells once it
  // has counted them.
  explicit InstallProgress(std::uint64_t payloadBytes);
  InstallProgress(const InstallProgress&) = delete;
  InstallProgress& operator=(const InstallProgress&) = delete;

  // For every step of the install: it keeps the window alive and moves the bar.
  const KeepAlive* keepAlive() const { return &keepAlive_; }

  // The work is over, whatever part of it was done: the bar is full before
  // the install says how it went.
  void Finish();

 private:
  static void Expect(void* context, std::uint64_t bytes);
  static void Advance(void* context, std::uint64_t bytes);
  static void Wait(void* context, DWORD milliseconds);
  static void Paint(HDC dc, const void* context);

  int Percent() const;
  // Draws the bar again when its percentage has changed.
  void Update();

  RECT bar_;
  std::uint64_t expected_;
  std::uint64_t written_ = 0;
  bool finished_ = false;
  int shownPercent_ = 0;
  KeepAlive keepAlive_;
  // Last: it draws the bar from the members above as soon as it is made.
  BusyWindow busy_;
};
