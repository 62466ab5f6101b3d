#include "support/keep_alive_log.h"

#include <numeric>

namespace testing_support {

KeepAliveLog::KeepAliveLog()
    : keepAlive_{[](void* log, std::uint64_t bytes) {
                   auto* self = static_cast<KeepAliveLog*>(log);
                   self->expectations.push_back({bytes, self->Written()});
                 },
                 [](void* log, std::uint64_t bytes) { static_cast<KeepAliveLog*>(log)->pieces.push_back(bytes); },
                 [](void* log, DWORD milliseconds) { static_cast<KeepAliveLog*>(log)->waits.push_back(milliseconds); },
                 this} {}

std::uint64_t KeepAliveLog::Written() const { return std::accumulate(pieces.begin(), pieces.end(), std::uint64_t{0}); }

std::vector<std::uint64_t> KeepAliveLog::WritingPieces() const {
  std::vector<std::uint64_t> writing;
  for (std::uint64_t piece : pieces)
    if (piece > 0) writing.push_back(piece);
  return writing;
}

}  // namespace testing_support
