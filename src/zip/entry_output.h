// Where a file entry's bytes go until they are known to be complete and
// correct. When nothing is at the target yet they go straight into a new file
// there; otherwise into a temporary file beside it, which takes the target's
// place only on Commit. What is not committed is removed again, so a failed
// entry leaves no partial file and a file that was at the target before (the
// game's own data, say) stays exactly as it was.
//
// A new target costs one create, the writes, one call for times and
// attributes and one close: under Wine every further file-system call per
// entry costs more than the data of a small file.
#pragma once

#include <string>

#include <windows.h>

#include "zip/file_handle.h"

class EntryOutput {
 public:
  EntryOutput() = default;
  EntryOutput(const EntryOutput&) = delete;
  EntryOutput& operator=(const EntryOutput&) = delete;
  ~EntryOutput();

  // False when neither the target nor a temporary file beside it can be
  // created (directory missing, name refused, access denied).
  bool Open(const std::string& target);
  bool Write(const char* bytes, DWORD size);
  // Gives the file its times (zero ones are left as they are) and normal
  // attributes, through the open handle.
  void RestoreTimes(const FILETIME& creation, const FILETIME& access, const FILETIME& modification);
  // Closes the file and puts it in place; false (and nothing changed at the
  // target) when that fails.
  bool Commit();

 private:
  bool OpenBeside();
  bool ReplaceTarget();

  std::string target_;
  // The target itself, or the temporary file beside it.
  std::string written_;
  FileHandle file_;
  bool committed_ = false;
};
