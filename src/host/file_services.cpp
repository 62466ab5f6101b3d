#include "host/file_services.h"

#include <cstring>

#include "host/file_output.h"
#include "host/text.h"

namespace {

// Fixed once at start-up, read-only afterwards.
std::string runDirectory;

DelaySeam delaySeam{[](DWORD milliseconds) { Sleep(milliseconds); }};

// "E:" alone: a drive designator, which SetCurrentDirectoryA would take as
// "the directory last used on that drive".
bool IsBareDrive(const std::string& path) {
  return path.size() == 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

}  // namespace

void FileSearchHandle::Close() {
  if (IsOpen()) FindClose(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

std::string RunDirectoryFromModulePath(const std::string& modulePath) {
  std::size_t cut = text::FindLastBackslash(modulePath);
  return cut == std::string::npos ? std::string() : modulePath.substr(0, cut);
}

void InitializeRunDirectory() {
  char path[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  // A path that did not fit is cut short by the platform; its directory
  // part would name the wrong place, so such a program gets no run directory.
  if (length == 0 || length >= MAX_PATH) path[0] = '\0';
  runDirectory = RunDirectoryFromModulePath(path);
  // Paths keep the bare "E:" of a program in a drive's root ("E:\dt.bin"),
  // but the current directory must be that drive's root, not whatever
  // directory the process last used on the drive.
  std::string current = IsBareDrive(runDirectory) ? runDirectory + "\\" : runDirectory;
  SetCurrentDirectoryA(current.c_str());
}

std::string GetRunDirectory() { return runDirectory; }

std::string FindMatchingFile(const std::string& path, FileSearchHandle& search) {
  WIN32_FIND_DATAA data;
  if (!path.empty()) {
    search.Close();
    search.handle_ = FindFirstFileA(path.c_str(), &data);
    if (!search.IsOpen()) return {};
  } else {
    if (!search.IsOpen() || !FindNextFileA(search.handle_, &data)) {
      search.Close();
      return {};
    }
  }
  for (;;) {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      return std::string(data.cFileName, strnlen(data.cFileName, sizeof data.cFileName));
    if (!FindNextFileA(search.handle_, &data)) {
      search.Close();
      return {};
    }
  }
}

void CloseFileSearch(FileSearchHandle& search) { search.Close(); }

bool MakeDirectory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != FALSE; }

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool WriteBytesToFile(const std::string& path, std::initializer_list<ByteSetView> data) {
  if (path.empty()) return false;
  // A read-only file is not overwritten, nor is a directory replaced.
  DWORD existing = GetFileAttributesA(path.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return false;
  // Truncating first would leave a cut file (a game that no longer starts)
  // wherever the disk fills or the game holds its file.
  FileOutput output;
  if (!output.Open(path)) return false;
  for (const ByteSetView& part : data)
    if (part.size > 0 && !output.Write(reinterpret_cast<const char*>(part.bytes), part.size)) return false;
  return output.Commit();
}

void Delay(int milliseconds) { delaySeam.sleep(milliseconds < 0 ? 0 : static_cast<DWORD>(milliseconds)); }

DelaySeam SetDelaySeam(DelaySeam seam) {
  DelaySeam previous = delaySeam;
  delaySeam = seam;
  return previous;
}
