// Where a file's bytes go until they are known to be complete and correct
// (an archive entry, a payload). When nothing is at the target yet they go
// straight into a new file there; otherwise into a temporary file beside it,
// which takes the target's place only on Commit. What is not committed is
// removed again, so a failed write (a full disk, the game holding the file)
// leaves no partial file, and a file that was at the target before (the
// game's own data, say) stays exactly as it was.
//
// A new target costs one create, the writes, one call for times and
// attributes and one close: under Wine every further file-system call per
// archive entry costs more than the data of a small file.
#pragma once

#include <string>

#include <windows.h>

#include "host/handle_owners.h"

class FileOutput {
 public:
  FileOutput() = default;
  FileOutput(const FileOutput&) = delete;
  FileOutput& operator=(const FileOutput&) = delete;
  ~FileOutput();

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
