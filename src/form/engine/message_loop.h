// The engine's message loop, its idle processing and the pre-translation
// that lets windows see keys before their controls do.
#pragma once

#include <windows.h>

// Runs until the last loaded window is gone; returns at once when none is.
void RunMessageLoop();

// Dispatches every message already waiting, stopping before a quit message.
void PumpWaitingMessages();

// Offers msg to the units from its target up to the top-level window, then
// dispatches it unless one of them consumed it.
void DispatchWithPreTranslation(MSG& msg);

// A routine a unit type runs while the queue is empty, for as long as its
// window exists; returning true asks for another idle call. Kept for unit
// types that animate or poll; none of this program's types registers one.
using IdleRoutine = bool (*)(HWND window, void* parameter);
void RegisterIdleRoutine(HWND window, IdleRoutine routine, void* parameter);
