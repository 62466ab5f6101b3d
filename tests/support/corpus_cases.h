// The archive corpus that tests/zip/make_corpus.py makes at test time: what
// each archive must extract to, as cases.txt says.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct CorpusCase {
  std::string archive;
  int result = 0;
  // Names in GBK with "/" separators; contents absent for a directory.
  std::map<std::string, std::optional<std::string>> tree;
};

// cases.txt: "case ARCHIVE RESULT", then "dir NAME" and "file NAME BYTES"
// lines in hex, then "end".
std::vector<CorpusCase> ReadCorpusCases(const std::string& path);

}  // namespace testing_support
