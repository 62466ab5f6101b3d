// Extracts arbitrary bytes as a ZIP archive, once into an absolute and once
// into a relative destination, and stops the run when the extraction leaves
// anything outside its destination, leaks a file descriptor or reports
// progress out of order. The scratch area lives in /dev/shm when there is
// one: every input creates and removes files.
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "zip/extract.h"

namespace {

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "zip fuzz target: %s\n", why.c_str());
  std::abort();
}

int RemoveOne(const char* path, const struct stat*, int, struct FTW*) {
  chmod(path, 0700);
  return remove(path);
}

void RemoveTree(const std::string& path) { nftw(path.c_str(), &RemoveOne, 16, FTW_DEPTH | FTW_PHYS); }

// Made once per process, removed at its normal end and kept after a crash.
const std::string& ScratchBase() {
  static const std::string* base = [] {
    struct stat st{};
    std::string parent = stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
    auto* path = new std::string(parent + "/velmora-fuzz-" + std::to_string(getpid()));
    mkdir(path->c_str(), 0700);
    mkdir((*path + "/relative").c_str(), 0700);
    std::atexit([] { RemoveTree(ScratchBase()); });
    return path;
  }();
  return *base;
}

std::vector<std::string> Names(const std::string& directory) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(directory.c_str())) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
  }
  return names;
}

// Only the archive, the absolute destination's parent and the working
// directory of the relative run may be in the base; in the latter, only the
// relative destination.
void CheckNothingOutside(const std::string& base) {
  for (const std::string& name : Names(base))
    if (name != "archive.zip" && name != "outer" && name != "relative") Fail("created outside: " + base + "/" + name);
  for (const std::string& name : Names(base + "/outer"))
    if (name != "dest") Fail("created outside: " + base + "/outer/" + name);
  for (const std::string& name : Names(base + "/relative"))
    if (name != "dest") Fail("created outside: " + base + "/relative/" + name);
}

std::size_t OpenDescriptors() { return Names("/proc/self/fd").size(); }

struct ProgressCheck {
  int last = -1;
  bool ended = false;
};

bool CheckProgress(void* context, int percent) {
  auto* check = static_cast<ProgressCheck*>(context);
  if (check->ended) Fail("progress after the closing notification");
  if (percent < 0 || percent > 100 || percent < check->last) Fail("progress out of order: " + std::to_string(percent));
  check->last = percent;
  return true;
}

void Extract(const std::string& archive, const std::string& destination) {
  ProgressCheck check;
  int result = ExtractArchiveTo(archive, destination, ExtractProgress{&CheckProgress, &check});
  if (result != kExtractCompleted && result != kExtractFailed) Fail("result " + std::to_string(result));
  // Without cancelling, every call ends with the closing notification.
  if (check.last != 100) Fail("no closing notification");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& base = ScratchBase();
  static const int home = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  std::size_t descriptors = OpenDescriptors();
  std::string archive = base + "/archive.zip";
  if (FILE* file = std::fopen(archive.c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  } else {
    Fail("cannot write " + archive);
  }

  Extract(archive, base + "/outer/dest\\");
  // libFuzzer reads and writes its corpus by relative paths: the working
  // directory must be back before the next input.
  if (chdir((base + "/relative").c_str()) != 0) Fail("cannot enter the relative run's directory");
  Extract("..\\archive.zip", "dest\\");
  if (fchdir(home) != 0) Fail("cannot return to the working directory");

  CheckNothingOutside(base);
  if (OpenDescriptors() != descriptors) Fail("file descriptor leaked");
  RemoveTree(base + "/outer");
  RemoveTree(base + "/relative/dest");
  return 0;
}
