// The file systems that ctest mounts for the fault tests (see volumes, the
// script beside this file): a small one to fill, and a read-only one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace testing_support {

struct FaultVolumes {
  std::string small;           // 16 MiB; "V:" under Wine
  std::string readOnly;        // read-only; "R:" under Wine
  std::string readOnlySource;  // the same folder, writable
};

// The volumes, or none and why. Where the fixture recorded that the machine
// could not mount them, the caller skips; a volume that is missing for no
// recorded reason fails the calling test here, and the skip that follows
// does not hide it.
std::optional<FaultVolumes> MountedVolumes(std::string& whyNot);

// Fills the file system that holds directory with one file in it, named
// filler, until about bytesLeft bytes are free (the file system counts in
// blocks). False when less than that is free already.
bool FillLeaving(const std::string& directory, std::uint64_t bytesLeft);

}  // namespace testing_support
