// The extractor as the benchmark runs it: the installer's ExtractArchive
// without a window. Exit status 0 when the archive was extracted completely.
#include <cstdio>

#include "zip/extract.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: velmora_unzip ARCHIVE DESTINATION\n");
    return 2;
  }
  int result = ExtractArchiveTo(argv[1], argv[2], ExtractProgress{nullptr, nullptr});
  if (result != kExtractCompleted) std::fprintf(stderr, "velmora_unzip: result %d\n", result);
  return result == kExtractCompleted ? 0 : 1;
}
