#include "host/file_services.h"

#include <algorithm>
#include <cstring>

#include "host/file_output.h"
#include "host/platform_files.h"
#include "host/text.h"

namespace {

// Fixed once at start-up, read-only afterwards.
std::string runDirectory;

DelaySeam delaySeam{[](DWORD milliseconds, const KeepAlive* keepAlive) {
  if (keepAlive != nullptr)
    keepAlive->wait(keepAlive->context, milliseconds);
  else
    Sleep(milliseconds);
}};

// Data goes to the file in pieces of this size, so that the window of a
// 35 MB payload write is looked after between them however slow the disk;
// next to the data the extra calls cost nothing.
constexpr std::size_t kWritePiece = 256 * 1024;

// "E:" alone: a drive designator, which SetCurrentDirectory would take as
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
  // A program whose path cannot be had whole, or spelled in GBK, gets no run
  // directory.
  runDirectory = RunDirectoryFromModulePath(platform_files::ModulePath());
  // Paths keep the bare "E:" of a program in a drive's root ("E:\dt.bin"),
  // but the current directory must be that drive's root, not whatever
  // directory the process last used on the drive.
  platform_files::ChangeDirectory(IsBareDrive(runDirectory) ? runDirectory + "\\" : runDirectory);
}

std::string GetRunDirectory() { return runDirectory; }

std::string FindMatchingFile(const std::string& path, FileSearchHandle& search) {
  platform_files::FoundEntry entry;
  if (!path.empty()) {
    search.Close();
    search.handle_ = platform_files::FindFirst(path, entry);
    if (!search.IsOpen()) return {};
  } else {
    if (!search.IsOpen() || !platform_files::FindNext(search.handle_, entry)) {
      search.Close();
      return {};
    }
  }
  for (;;) {
    // A file whose name GBK cannot spell could not be named to the platform
    // again: it is no match.
    if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY) && entry.name) return *entry.name;
    if (!platform_files::FindNext(search.handle_, entry)) {
      search.Close();
      return {};
    }
  }
}

void CloseFileSearch(FileSearchHandle& search) { search.Close(); }

bool MakeDirectory(const std::string& path) { return platform_files::NewDirectory(path); }

bool RemoveFile(const std::string& path) { return platform_files::Delete(path); }

bool WriteBytesToFile(const std::string& path, std::initializer_list<ByteSetView> data,
                      const KeepAlive* keepAlive) {
  if (path.empty()) return false;
  // A read-only file is not overwritten, nor is a directory replaced.
  DWORD existing = platform_files::Attributes(path);
  if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return false;
  // Truncating first would leave a cut file (a game that no longer starts)
  // wherever the disk fills or the game holds its file.
  FileOutput output;
  if (!output.Open(path)) return false;
  for (const ByteSetView& part : data) {
    const auto* bytes = reinterpret_cast<const char*>(part.bytes);
    for (std::size_t done = 0; done < part.size;) {
      const std::size_t piece = std::min(kWritePiece, part.size - done);
      if (!output.Write(bytes + done, static_cast<DWORD>(piece))) return false;
      done += piece;
      AdvanceBytes(keepAlive, piece);
    }
  }
  return output.Commit();
}

void Delay(int milliseconds, const KeepAlive* keepAlive) {
  delaySeam.wait(milliseconds < 0 ? 0 : static_cast<DWORD>(milliseconds), keepAlive);
}

DelaySeam SetDelaySeam(DelaySeam seam) {
  DelaySeam previous = delaySeam;
  delaySeam = seam;
  return previous;
}
