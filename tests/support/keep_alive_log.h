// A stand-in for the window a long step runs under: it keeps what the step
// told it, in order.
#pragma once

#include <cstdint>
#include <vector>

#include "host/keep_alive.h"

namespace testing_support {

class KeepAliveLog {
 public:
  KeepAliveLog();
  KeepAliveLog(const KeepAliveLog&) = delete;
  KeepAliveLog& operator=(const KeepAliveLog&) = delete;

  const KeepAlive* get() const { return &keepAlive_; }

  // Each expectation, with the bytes written before it.
  struct Expectation {
    std::uint64_t bytes;
    std::uint64_t writtenBefore;
  };
  std::vector<Expectation> expectations;
  // The bytes of each piece of work, 0 for one that wrote nothing.
  std::vector<std::uint64_t> pieces;
  std::vector<DWORD> waits;

  std::uint64_t Written() const;
  // The pieces that wrote something.
  std::vector<std::uint64_t> WritingPieces() const;

 private:
  KeepAlive keepAlive_;
};

}  // namespace testing_support
