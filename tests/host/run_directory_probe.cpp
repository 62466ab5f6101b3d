// Started by platform_test from a drive's root: prints the run directory and
// the current directory that start-up leaves behind.
#include <cstdio>

#include <windows.h>

#include "host/file_services.h"

int main() {
  InitializeRunDirectory();
  char current[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(MAX_PATH, current);
  std::printf("%s|%s\n", GetRunDirectory().c_str(), current);
  return 0;
}
