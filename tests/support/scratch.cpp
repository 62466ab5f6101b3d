#include "support/scratch.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace testing_support {

namespace {

std::string TempRoot() {
#ifdef _WIN32
  char buffer[MAX_PATH + 1] = {};
  DWORD n = GetTempPathA(MAX_PATH, buffer);
  std::string root(buffer, n);
  if (!root.empty() && root.back() == '\\') root.pop_back();
  return root;
#else
  const char* tmp = std::getenv("TMPDIR");
  return HostPath(tmp && *tmp ? tmp : "/tmp");
#endif
}

int ProcessId() {
#ifdef _WIN32
  return static_cast<int>(GetCurrentProcessId());
#else
  return static_cast<int>(getpid());
#endif
}

}  // namespace

ScratchDirectory::ScratchDirectory() : ScratchDirectory(TempRoot()) {}

ScratchDirectory::ScratchDirectory(const std::string& parent) {
  static std::atomic<int> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[64];
    std::snprintf(name, sizeof name, "\\velmora-test-%d-%d", ProcessId(), counter++);
    path_ = parent + name;
    if (CreateDirectoryA(path_.c_str(), nullptr)) return;
  }
  throw std::runtime_error("cannot create a scratch directory in " + parent);
}

ScratchDirectory::~ScratchDirectory() { RemoveTree(path_); }

void RemoveTree(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(path.c_str(), (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FILE_ATTRIBUTE_DIRECTORY
                                                                            : FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileA(path.c_str());
    return;
  }
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &data);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = data.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &data));
    FindClose(search);
  }
  for (const std::string& name : names) RemoveTree(path + "\\" + name);
  RemoveDirectoryA(path.c_str());
}

std::vector<std::string> FilesUnder(const std::string& root) {
  std::vector<std::string> files;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((root + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      for (const std::string& inner : FilesUnder(root + "\\" + name)) files.push_back(name + "\\" + inner);
    } else {
      files.push_back(name);
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  std::sort(files.begin(), files.end());
  return files;
}

std::map<std::string, std::string> FileContentsUnder(const std::string& root) {
  std::map<std::string, std::string> contents;
  for (const std::string& file : FilesUnder(root)) contents[file] = ReadWholeFile(root + "\\" + file);
  return contents;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

std::string ReadAndClose(HANDLE file) {
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
  return ReadAndClose(file);
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  return ReadAndClose(file);
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
  DWORD done = 0;
  bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                              done == bytes.size());
  CloseHandle(file);
  if (!ok) throw std::runtime_error("cannot write " + path);
}

std::string HostPath(const std::string& unixPath) {
  std::string out;
#ifdef _WIN32
  out = "Z:";
#endif
  for (char c : unixPath) out += c == '/' ? '\\' : c;
  return out;
}

}  // namespace testing_support
