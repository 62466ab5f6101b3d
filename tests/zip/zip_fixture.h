// Archives made by the tests: a small ZIP writer that can also break what a
// real writer never would (local headers, CRCs, deflate streams, sizes).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zip_fixture {

// External attributes: a Unix mode in the high half, MS-DOS bits in the low.
constexpr std::uint32_t kUnixFile = 0100644u << 16;
constexpr std::uint32_t kUnixReadOnlyFile = 0100444u << 16;
constexpr std::uint32_t kUnixDirectory = (040755u << 16) | 0x10;
constexpr std::uint32_t kDosArchiveFile = 0x20;
constexpr std::uint32_t kDosDirectory = 0x10;

constexpr std::uint16_t kEncrypted = 0x0001;
constexpr std::uint16_t kDataDescriptor = 0x0008;
constexpr std::uint16_t kUtf8Name = 0x0800;

// 2021-06-15 10:20:30, the default MS-DOS time of an entry.
constexpr std::uint16_t kDosDate = ((2021 - 1980) << 9) | (6 << 5) | 15;
constexpr std::uint16_t kDosTime = (10 << 11) | (20 << 5) | (30 / 2);
constexpr std::int64_t kDosTimeUnix = 1623752430;

enum class Damage {
  kNone,
  kLocalSignature,        // the local header's signature is wrong
  kLocalMethod,           // the local header names another method than the central directory
  kWrongCrc,              // both headers carry a CRC-32 that the data does not have
  kBrokenDeflate,         // the compressed bytes are no deflate stream
  kShortData,             // half the stored bytes, with their CRC-32, and the full size announced
  kLocalExtraBeyondEnd,   // the local extra field runs past the end of the archive
};

struct Entry {
  std::string name;
  std::string data;
  std::uint16_t method = 8;  // 0 stored, 8 deflated; any other is written as stored bytes
  std::uint32_t externalAttributes = kUnixFile;
  std::uint16_t flags = 0;
  std::string localExtra;
  std::string centralExtra;
  // The upper byte of "version made by": 0 MS-DOS and Windows, 3 Unix.
  std::uint8_t host = 3;
  Damage damage = Damage::kNone;
  std::uint16_t dosDate = kDosDate;
  std::uint16_t dosTime = kDosTime;
};

Entry File(std::string name, std::string data, std::uint16_t method = 8);
Entry Directory(std::string name, std::uint32_t externalAttributes = kUnixDirectory);

// The entry with one more property set.
Entry With(Entry entry, Damage damage);
Entry Flagged(Entry entry, std::uint16_t flags);
Entry Extra(Entry entry, std::string localExtra);
Entry CentralExtra(Entry entry, std::string centralExtra);
Entry MadeOn(Entry entry, std::uint8_t host);

// An extra-field block, and an extended time-stamp ("UT") block: flags, then
// the times given; declaredSize overrides the block's size field.
std::string ExtraBlock(std::uint16_t id, const std::string& data);
std::string TimestampBlock(std::uint8_t flags, const std::vector<std::int32_t>& times, int declaredSize = -1);
// An Info-ZIP Unicode Path block (version 1): the CRC-32 of nameCrcOf, then
// the UTF-8 name.
std::string UnicodePathBlock(const std::string& nameCrcOf, const std::string& utf8Name);

std::string BuildArchive(const std::vector<Entry>& entries);

// Bytes that compress well and bytes that do not, of a given length.
std::string Compressible(std::size_t length);
std::string Incompressible(std::size_t length, std::uint32_t seed);

}  // namespace zip_fixture
