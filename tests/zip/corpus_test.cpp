// Archives made by the tools localisation groups use (see make_corpus.py),
// each extracted into a fresh destination and read back from the disk: every
// directory and file by the name the platform lists, every byte, nothing else.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/disk_tree.h"
#include "support/scratch.h"
#include "zip/extract.h"

namespace {

using testing_support::DiskItem;
using testing_support::HostPath;
using testing_support::ReadTree;
using testing_support::ScratchDirectory;

struct CorpusCase {
  std::string archive;
  int result = 0;
  // Names in the ANSI code page with "/" separators; contents absent for a
  // directory.
  std::map<std::string, std::optional<std::string>> tree;
};

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

// cases.txt: "case ARCHIVE RESULT", then "dir NAME" and "file NAME BYTES"
// lines in hex, then "end".
std::vector<CorpusCase> ReadCases(const std::string& path) {
  std::istringstream in(testing_support::ReadWholeFile(path));
  std::vector<CorpusCase> cases;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string kind, name, contents;
    fields >> kind;
    if (kind == "case") {
      cases.emplace_back();
      fields >> cases.back().archive >> cases.back().result;
    } else if (kind == "dir" && fields >> name) {
      cases.back().tree[FromHex(name)] = std::nullopt;
    } else if (kind == "file" && fields >> name) {
      fields >> contents;
      cases.back().tree[FromHex(name)] = FromHex(contents);
    }
  }
  return cases;
}

TEST(ExtractArchive, ArchivesOfEverydayTools) {
  std::string corpus = HostPath(ZIP_CORPUS_DIR);
  std::vector<CorpusCase> cases = ReadCases(corpus + "\\cases.txt");
  ASSERT_GE(cases.size(), 12u) << "no corpus: run the zip_corpus test first";
  for (const CorpusCase& c : cases) {
    SCOPED_TRACE(c.archive);
    ScratchDirectory root;
    EXPECT_EQ(ExtractArchiveTo(corpus + "\\" + c.archive, root / "game\\", ExtractProgress{nullptr, nullptr}),
              c.result);
    std::map<std::string, DiskItem> tree = ReadTree(root / "game");
    std::map<std::string, std::optional<std::string>> found;
    for (const auto& [path, item] : tree)
      found[path] = item.directory ? std::nullopt : std::optional<std::string>(item.contents);
    for (const auto& [path, contents] : c.tree)
      if (!found.count(path)) ADD_FAILURE() << "missing " << path;
    for (const auto& [path, contents] : found) {
      auto wanted = c.tree.find(path);
      if (wanted == c.tree.end())
        ADD_FAILURE() << "unexpected " << path;
      else if (wanted->second != contents)
        ADD_FAILURE() << path << " differs";
    }
  }
}

}  // namespace
