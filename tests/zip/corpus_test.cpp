// Archives made by the tools localisation groups use (see make_corpus.py),
// each extracted into a fresh destination and read back from the disk: every
// directory and file by the name the platform lists, every byte, nothing else.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/corpus_cases.h"
#include "support/disk_tree.h"
#include "support/scratch.h"
#include "zip/extract.h"

namespace {

using testing_support::CorpusCase;
using testing_support::DiskItem;
using testing_support::HostPath;
using testing_support::ReadTree;
using testing_support::ScratchDirectory;

TEST(ExtractArchive, ArchivesOfEverydayTools) {
  std::string corpus = HostPath(ZIP_CORPUS_DIR);
  std::vector<CorpusCase> cases = testing_support::ReadCorpusCases(corpus + "\\cases.txt");
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
