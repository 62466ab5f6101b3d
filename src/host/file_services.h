// The file-system operations of the installer: run directory, finding a file
// by name, creating a directory, deleting a file, writing byte data, delays.
// Thin and synchronous over the platform's file functions, by GBK paths;
// failures show only as false or an empty name.
#pragma once

#include <initializer_list>
#include <string>

#include <windows.h>

#include "host/byte_set.h"
#include "host/keep_alive.h"

// One platform search, owned by the handler that opened it. Empty until a
// FindMatchingFile call finds a match.
class FileSearchHandle {
 public:
  FileSearchHandle() = default;
  FileSearchHandle(const FileSearchHandle&) = delete;
  FileSearchHandle& operator=(const FileSearchHandle&) = delete;
  // Handlers close their search explicitly as their last step; this only
  // covers a path that forgot to.
  ~FileSearchHandle() { Close(); }

  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  friend std::string FindMatchingFile(const std::string& path, FileSearchHandle& search);
  friend void CloseFileSearch(FileSearchHandle& search);
  void Close();
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Splits the program's own path at its last separator (GBK-aware): the part
// before it, or empty when there is none.
std::string RunDirectoryFromModulePath(const std::string& modulePath);

// Fixes the run directory from the program's own path and makes it the
// current directory. Called once, at start-up.
void InitializeRunDirectory();

// A copy of the run directory, without trailing backslash.
std::string GetRunDirectory();

// Bare name of the first entry matching path that is not a directory, or "".
// A non-empty path starts a new search in search; an empty one continues it.
std::string FindMatchingFile(const std::string& path, FileSearchHandle& search);
void CloseFileSearch(FileSearchHandle& search);

bool MakeDirectory(const std::string& path);
bool RemoveFile(const std::string& path);

// Writes each ByteSet, in order, into a new file that then takes path's
// place; keepAlive, when given, hears of every piece written. False when that
// fails, with path as it was and nothing of the new file left; false, too,
// over a read-only file.
bool WriteBytesToFile(const std::string& path, std::initializer_list<ByteSetView> data,
                      const KeepAlive* keepAlive = nullptr);

// Blocks the calling thread, or waits through keepAlive when one is given; a
// negative count is a delay of 0.
void Delay(int milliseconds, const KeepAlive* keepAlive = nullptr);

// How Delay waits; tests put in their own to see the pauses without waiting.
struct DelaySeam {
  void (*wait)(DWORD milliseconds, const KeepAlive* keepAlive);
};
DelaySeam SetDelaySeam(DelaySeam seam);
