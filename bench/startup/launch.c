/* launch REPETITIONS PROGRAM...
   Starts each program in turn, REPETITIONS rounds, and prints for every start
   one line: the program, the seconds from CreateProcess to its first visible
   top-level window, and its working set in KB half a second after that (what
   it holds while the player looks at the window). Every program runs from its
   own folder and is ended once measured. Exit status 1 when a program shows
   no window within 30 s. */
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

#include <windows.h>
#include <psapi.h>

struct WindowSearch {
  DWORD processId;
  BOOL found;
};

static BOOL CALLBACK CheckWindow(HWND window, LPARAM parameter) {
  struct WindowSearch* search = (struct WindowSearch*)parameter;
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window)) {
    search->found = TRUE;
    return FALSE;
  }
  return TRUE;
}

static double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return (double)(to.QuadPart - from.QuadPart) / (double)frequency.QuadPart;
}

/* FALSE when the program does not start or shows no window. */
static BOOL Measure(const wchar_t* program, double* seconds, SIZE_T* workingSetKb) {
  wchar_t folder[MAX_PATH];
  wcsncpy(folder, program, MAX_PATH - 1);
  folder[MAX_PATH - 1] = 0;
  wchar_t* cut = wcsrchr(folder, L'\\');
  if (cut != NULL) *cut = 0;
  wchar_t commandLine[MAX_PATH + 2];
  swprintf(commandLine, MAX_PATH + 2, L"\"%ls\"", program);
  STARTUPINFOW startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(program, commandLine, NULL, NULL, FALSE, 0, NULL, cut != NULL ? folder : NULL, &startup,
                      &process))
    return FALSE;
  struct WindowSearch search = {process.dwProcessId, FALSE};
  BOOL shown = FALSE;
  for (;;) {
    EnumWindows(CheckWindow, (LPARAM)&search);
    QueryPerformanceCounter(&now);
    if (search.found) {
      shown = TRUE;
      break;
    }
    if (Seconds(start, now, frequency) > 30 || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
    Sleep(1);
  }
  *seconds = Seconds(start, now, frequency);
  PROCESS_MEMORY_COUNTERS counters;
  ZeroMemory(&counters, sizeof counters);
  counters.cb = sizeof counters;
  *workingSetKb = 0;
  if (shown) {
    Sleep(500);
    if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters))
      *workingSetKb = counters.WorkingSetSize / 1024;
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return shown;
}

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    fwprintf(stderr, L"usage: launch REPETITIONS PROGRAM...\n");
    return 2;
  }
  int repetitions = _wtoi(argv[1]);
  for (int round = 0; round < repetitions; ++round) {
    for (int i = 2; i < argc; ++i) {
      double seconds = 0;
      SIZE_T workingSetKb = 0;
      if (!Measure(argv[i], &seconds, &workingSetKb)) {
        fwprintf(stderr, L"launch: %ls showed no window\n", argv[i]);
        return 1;
      }
      wprintf(L"%ls %.4f %lu\n", argv[i], seconds, (unsigned long)workingSetKb);
      fflush(stdout);
    }
  }
  return 0;
}
