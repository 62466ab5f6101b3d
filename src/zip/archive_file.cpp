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

zlib_filefunc64_def ArchiveFile::Functions() {
  zlib_filefunc64_def functions{};
  functions.zopen64_file = &OpenCallback;
  functions.zread_file = &ReadCallback;
  functions.zwrite_file = &WriteCallback;
  functions.ztell64_file = &TellCallback;
  functions.zseek64_file = &SeekCallback;
  functions.zclose_file = &CloseCallback;
  functions.zerror_file = &ErrorCallback;
  functions.opaque = this;
  return functions;
}

voidpf ZCALLBACK ArchiveFile::OpenCallback(voidpf, const void* self, int mode) {
  auto* file = static_cast<ArchiveFile*>(const_cast<void*>(self));
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ || !file->handle_.IsOpen())
    return nullptr;
  return file;
}

uLong ZCALLBACK ArchiveFile::ReadCallback(voidpf, voidpf self, void* into, uLong size) {
  auto* file = static_cast<ArchiveFile*>(self);
  std::uint64_t got = file->Read(static_cast<unsigned char*>(into), size);
  file->lastReadShort_ = got < size;
  return static_cast<uLong>(got);
}

uLong ZCALLBACK ArchiveFile::WriteCallback(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK ArchiveFile::TellCallback(voidpf, voidpf self) {
  return static_cast<ArchiveFile*>(self)->position_;
}

long ZCALLBACK ArchiveFile::SeekCallback(voidpf, voidpf self, ZPOS64_T offset, int origin) {
  return static_cast<ArchiveFile*>(self)->Seek(offset, origin) ? 0 : -1;
}

int ZCALLBACK ArchiveFile::CloseCallback(voidpf, voidpf) { return 0; }

// Minizip asks after a read that came up short, and takes a "no" for an end
// of file that reads as zeros: a header cut off by the end of the file would
// then pass for a whole one. Here an archive has no business ending inside
// a header, so a short read is an error.
int ZCALLBACK ArchiveFile::ErrorCallback(voidpf, voidpf self) {
  return static_cast<ArchiveFile*>(self)->lastReadShort_ ? 1 : 0;
}

bool ArchiveFile::Seek(std::uint64_t offset, int origin) {
  std::uint64_t base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR:
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
    case ZLIB_FILEFUNC_SEEK_END: base = size_; break;
    default: return false;
  }
  if (offset > std::numeric_limits<std::uint64_t>::max() - base) return false;
  position_ = base + offset;
  return true;
}

std::uint64_t ArchiveFile::Read(unsigned char* into, std::uint64_t size) {
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
