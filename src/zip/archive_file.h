// The archive file as minizip reads it, through minizip's table of file
// functions over one read-only Win32 handle. Minizip parses headers a byte at
// a time and seeks before every read; here a read is served from one of two
// small blocks whenever it can be, so that the central directory and the
// local headers, which the reader visits in turn, each stay in a block of
// their own and a header costs no system call per field. Large reads (entry
// data) go straight to the file. The file pointer moves only when a read
// does not start where the last one ended: under Wine a seek and a read cost
// about a tenth of one read at an explicit offset.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include <minizip/unzip.h>
#include <windows.h>

#include "host/handle_owners.h"

class ArchiveFile {
 public:
  ArchiveFile() = default;
  ArchiveFile(const ArchiveFile&) = delete;
  ArchiveFile& operator=(const ArchiveFile&) = delete;

  // Opens path for reading, sharing it with readers only; false when it
  // cannot be opened (missing, or held open for writing elsewhere).
  bool Open(const std::string& path);

  // Minizip's view of this file: pass it with this object as the path to
  // unzOpen2_64. The object must outlive the minizip handle; minizip's close
  // leaves the file open, it belongs to this object.
  zlib_filefunc64_def Functions();

  void Close();

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

  static voidpf ZCALLBACK OpenCallback(voidpf opaque, const void* self, int mode);
  static uLong ZCALLBACK ReadCallback(voidpf opaque, voidpf self, void* into, uLong size);
  static uLong ZCALLBACK WriteCallback(voidpf opaque, voidpf self, const void* from, uLong size);
  static ZPOS64_T ZCALLBACK TellCallback(voidpf opaque, voidpf self);
  static long ZCALLBACK SeekCallback(voidpf opaque, voidpf self, ZPOS64_T offset, int origin);
  static int ZCALLBACK CloseCallback(voidpf opaque, voidpf self);
  static int ZCALLBACK ErrorCallback(voidpf opaque, voidpf self);

  std::uint64_t Read(unsigned char* into, std::uint64_t size);
  bool Seek(std::uint64_t offset, int origin);

  FileHandle handle_;
  std::uint64_t size_ = 0;
  // Where minizip reads next, and where the file pointer stands.
  std::uint64_t position_ = 0;
  std::uint64_t filePointer_ = 0;
  std::uint64_t useCounter_ = 0;
  bool lastReadShort_ = false;
  std::array<Block, 2> blocks_;
};
