// The archive file as a header parser reads it: positioned reads over one
// read-only Win32 handle. Minizip parses headers a byte at a time and seeks
// before every read; here a read is served from one of two small blocks
// whenever it can be, so that the central directory and the local headers,
// which the reader visits in turn, each stay in a block of their own and a
// header costs no system call per field. Large reads (entry data) go
// straight to the file. The file pointer moves only when a read does not
// start where the last one ended: under Wine a seek and a read cost about a
// tenth of one read at an explicit offset.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include <windows.h>

#include "host/handle_owners.h"

class ArchiveFile {
 public:
  // Where a seek counts from.
  enum class SeekOrigin { kStart, kCurrent, kEnd };

  ArchiveFile() = default;
  ArchiveFile(const ArchiveFile&) = delete;
  ArchiveFile& operator=(const ArchiveFile&) = delete;

  // Opens path for reading, sharing it with readers only; false when it
  // cannot be opened (missing, or held open for writing elsewhere).
  bool Open(const std::string& path);

  bool IsOpen() const { return handle_.IsOpen(); }
  void Close();

  // Reads up to size bytes where the last read or seek left off; fewer at
  // the end of the file or on a failure, which LastReadShort then tells.
  std::uint64_t Read(unsigned char* into, std::uint64_t size);
  bool LastReadShort() const { return lastReadShort_; }
  // Moves where the next sequential read starts. From kCurrent, an offset
  // whose sign bit is set steps back by its two's complement.
  bool Seek(std::uint64_t offset, SeekOrigin origin);
  std::uint64_t Tell() const { return position_; }

  // Reads up to size bytes at offset, straight from the file; fewer at its
  // end or on a failure.
  DWORD ReadAt(std::uint64_t offset, unsigned char* into, DWORD size);

 private:
  static constexpr DWORD kBlockSize = 16384;

  struct Block {
    std::uint64_t start = 0;
    DWORD length = 0;
    std::uint64_t lastUse = 0;
    std::array<unsigned char, kBlockSize> bytes;
  };

  std::uint64_t ReadThroughBlocks(unsigned char* into, std::uint64_t size);

  FileHandle handle_;
  std::uint64_t size_ = 0;
  // Where the next sequential read starts, and where the file pointer stands.
  std::uint64_t position_ = 0;
  std::uint64_t filePointer_ = 0;
  std::uint64_t useCounter_ = 0;
  bool lastReadShort_ = false;
  std::array<Block, 2> blocks_;
};
