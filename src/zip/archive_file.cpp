#include "zip/archive_file.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "host/platform_files.h"

bool ArchiveFile::Open(const std::string& path) {
  handle_ = FileHandle(platform_files::Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
  if (!handle_.IsOpen()) return false;
  DWORD high = 0;
  SetLastError(ERROR_SUCCESS);
  DWORD low = GetFileSize(handle_.get(), &high);
  if (low == 0xFFFFFFFF && GetLastError() != ERROR_SUCCESS) {
    handle_.Close();
    return false;
  }
  size_ = (static_cast<std::uint64_t>(high) << 32) | low;
  return true;
}

void ArchiveFile::Close() {
  handle_.Close();
  for (Block& block : blocks_) block.length = 0;
  size_ = position_ = filePointer_ = 0;
}

bool ArchiveFile::Seek(std::uint64_t offset, SeekOrigin origin) {
  std::uint64_t base = 0;
  switch (origin) {
    case SeekOrigin::kStart: base = 0; break;
    case SeekOrigin::kCurrent:
      // Having read an entry's central extra field, minizip steps back over
      // it with a negative offset cast to its unsigned type.
      if (static_cast<std::int64_t>(offset) < 0) {
        std::uint64_t back = 0 - offset;
        if (back > position_) return false;
        position_ -= back;
        return true;
      }
      base = position_;
      break;
    case SeekOrigin::kEnd: base = size_; break;
  }
  if (offset > std::numeric_limits<std::uint64_t>::max() - base) return false;
  position_ = base + offset;
  return true;
}

std::uint64_t ArchiveFile::Read(unsigned char* into, std::uint64_t size) {
  std::uint64_t got = ReadThroughBlocks(into, size);
  lastReadShort_ = got < size;
  return got;
}

std::uint64_t ArchiveFile::ReadThroughBlocks(unsigned char* into, std::uint64_t size) {
  if (position_ >= size_ || size == 0) return 0;
  size = std::min(size, size_ - position_);
  for (Block& block : blocks_) {
    if (block.length != 0 && position_ >= block.start && position_ + size <= block.start + block.length) {
      std::memcpy(into, block.bytes.data() + (position_ - block.start), static_cast<std::size_t>(size));
      block.lastUse = ++useCounter_;
      position_ += size;
      return size;
    }
  }
  if (size >= kBlockSize) {
    DWORD got = ReadAt(position_, into, static_cast<DWORD>(std::min<std::uint64_t>(size, 0x40000000)));
    position_ += got;
    return got;
  }
  // The block used longest ago gives way: while the central directory and a
  // local header alternate, each keeps the block it last used.
  Block& block = blocks_[0].lastUse <= blocks_[1].lastUse ? blocks_[0] : blocks_[1];
  block.start = position_;
  block.length = ReadAt(position_, block.bytes.data(), static_cast<DWORD>(std::min<std::uint64_t>(kBlockSize, size_ - position_)));
  block.lastUse = ++useCounter_;
  std::uint64_t got = std::min<std::uint64_t>(size, block.length);
  std::memcpy(into, block.bytes.data(), static_cast<std::size_t>(got));
  position_ += got;
  return got;
}

DWORD ArchiveFile::ReadAt(std::uint64_t offset, unsigned char* into, DWORD size) {
  if (offset != filePointer_) {
    LARGE_INTEGER distance{};
    distance.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(handle_.get(), distance, nullptr, FILE_BEGIN)) return 0;
    filePointer_ = offset;
  }
  DWORD total = 0;
  while (total < size) {
    DWORD got = 0;
    if (!ReadFile(handle_.get(), into + total, size - total, &got, nullptr)) {
      // Where a failed read left the pointer is not known: seek next time.
      filePointer_ = std::numeric_limits<std::uint64_t>::max();
      return total;
    }
    if (got == 0) break;
    total += got;
  }
  filePointer_ += total;
  return total;
}
