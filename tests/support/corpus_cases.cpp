#include "support/corpus_cases.h"

#include <sstream>

#include "support/scratch.h"

namespace testing_support {

namespace {

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

}  // namespace

std::vector<CorpusCase> ReadCorpusCases(const std::string& path) {
  std::istringstream in(ReadWholeFile(path));
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

}  // namespace testing_support
