#include "support/volumes.h"

#include <string>

#include <gtest/gtest.h>
#include <windows.h>

#ifndef _WIN32
#include <sys/statvfs.h>
#endif

#include "support/scratch.h"

namespace testing_support {

namespace {

std::optional<std::uint64_t> FreeBytes(const std::string& directory) {
#ifdef _WIN32
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExA((directory + "\\").c_str(), &available, nullptr, nullptr)) return std::nullopt;
  return available.QuadPart;
#else
  std::string posix = directory;
  for (char& c : posix) c = c == '\\' ? '/' : c;
  struct statvfs status {};
  if (statvfs(posix.c_str(), &status) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(status.f_bavail) * status.f_frsize;
#endif
}

}  // namespace

std::optional<FaultVolumes> MountedVolumes(std::string& whyNot) {
  const std::string root = HostPath(VELMORA_TEST_VOLUMES);
  if (Exists(root + "\\unavailable")) {
    whyNot = ReadWholeFile(root + "\\unavailable");
    return std::nullopt;
  }
#ifdef _WIN32
  FaultVolumes volumes{"V:", "R:", root + "\\readonly-source"};
#else
  FaultVolumes volumes{root + "\\small", root + "\\readonly", root + "\\readonly-source"};
#endif
  if (!Exists(volumes.small + "\\.velmora-volume") || !Exists(volumes.readOnly + "\\.velmora-volume")) {
    whyNot = "the volumes are not mounted: run the test through ctest, whose fixture mounts them";
    ADD_FAILURE() << whyNot;
    return std::nullopt;
  }
  return volumes;
}

bool FillLeaving(const std::string& directory, std::uint64_t bytesLeft) {
  std::optional<std::uint64_t> available = FreeBytes(directory);
  if (!available || *available < bytesLeft) return false;
  std::uint64_t fill = *available - bytesLeft;
  HANDLE file = CreateFileA((directory + "\\filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::string chunk(1 << 20, 'f');
  bool written = true;
  while (fill > 0 && written) {
    DWORD part = static_cast<DWORD>(fill < chunk.size() ? fill : chunk.size());
    DWORD done = 0;
    written = WriteFile(file, chunk.data(), part, &done, nullptr) && done == part;
    fill -= part;
  }
  CloseHandle(file);
  return written;
}

}  // namespace testing_support
