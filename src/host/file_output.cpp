#include "host/file_output.h"

#include <cstdio>

#include "host/platform_files.h"
#include "host/text.h"

namespace {

// Leftovers of an interrupted run may hold the first names.
constexpr unsigned kTemporaryNameAttempts = 16;
constexpr DWORD kReplaceBlockers = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

HANDLE CreateNewFile(const std::string& path) {
  return platform_files::Open(path, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
}

bool AlreadyExists(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

LARGE_INTEGER AsLargeInteger(const FILETIME& time) {
  LARGE_INTEGER value{};
  value.QuadPart = static_cast<LONGLONG>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  return value;
}

}  // namespace

FileOutput::~FileOutput() {
  if (committed_ || written_.empty()) return;
  file_.Close();
  platform_files::Delete(written_);
}

bool FileOutput::Open(const std::string& target) {
  target_ = target;
  file_ = FileHandle(CreateNewFile(target));
  if (file_.IsOpen()) {
    written_ = target;
    return true;
  }
  return AlreadyExists(GetLastError()) && OpenBeside();
}

bool FileOutput::OpenBeside() {
  std::size_t cut = text::FindLastBackslash(target_);
  std::string directory = cut == std::string::npos ? std::string() : target_.substr(0, cut + 1);
  for (unsigned attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "~vz%04X.tmp", attempt);
    std::string candidate = directory + name;
    if (candidate.size() >= MAX_PATH) return false;
    file_ = FileHandle(CreateNewFile(candidate));
    if (file_.IsOpen()) {
      written_ = candidate;
      return true;
    }
    if (!AlreadyExists(GetLastError())) return false;
  }
  return false;
}

bool FileOutput::Write(const char* bytes, DWORD size) {
  DWORD written = 0;
  return WriteFile(file_.get(), bytes, size, &written, nullptr) && written == size;
}

void FileOutput::RestoreTimes(const FILETIME& creation, const FILETIME& access, const FILETIME& modification) {
  // Times and attributes in one call on the handle: SetFileTime and a later
  // setting the attributes by name would cost a second open of the file.
  FILE_BASIC_INFO basic{};
  basic.CreationTime = AsLargeInteger(creation);
  basic.LastAccessTime = AsLargeInteger(access);
  basic.LastWriteTime = AsLargeInteger(modification);
  basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
  // The data is complete either way; a file system without settable times
  // is no reason to drop it.
  SetFileInformationByHandle(file_.get(), FileBasicInfo, &basic, sizeof basic);
}

bool FileOutput::Commit() {
  if (!file_.Close()) return false;
  if (written_ != target_ && !ReplaceTarget()) return false;
  committed_ = true;
  return true;
}

bool FileOutput::ReplaceTarget() {
  // The platform refuses to replace a read-only file; hidden and system ones
  // are cleared too, so that the new file alone decides its attributes. They
  // come back if the replacement fails.
  DWORD previous = platform_files::Attributes(target_);
  bool cleared = previous != INVALID_FILE_ATTRIBUTES && !(previous & FILE_ATTRIBUTE_DIRECTORY) &&
                 (previous & kReplaceBlockers) && platform_files::SetAttributes(target_, FILE_ATTRIBUTE_NORMAL);
  if (platform_files::MoveReplacing(written_, target_)) return true;
  if (cleared) platform_files::SetAttributes(target_, previous);
  return false;
}
