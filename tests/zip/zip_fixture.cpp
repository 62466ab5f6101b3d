#include "zip_fixture.h"

#include <stdexcept>

#include <zlib.h>

namespace zip_fixture {

namespace {

void Put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::string Deflate(const std::string& data) {
  z_stream stream{};
  if (deflateInit2(&stream, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2");
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  int rc = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (rc != Z_STREAM_END) throw std::runtime_error("deflate");
  return out;
}

}  // namespace

Entry File(std::string name, std::string data, std::uint16_t method) {
  Entry entry;
  entry.name = std::move(name);
  entry.data = std::move(data);
  entry.method = method;
  return entry;
}

Entry Directory(std::string name, std::uint32_t externalAttributes) {
  Entry entry;
  entry.name = std::move(name);
  entry.method = 0;
  entry.externalAttributes = externalAttributes;
  return entry;
}

Entry With(Entry entry, Damage damage) {
  entry.damage = damage;
  return entry;
}

Entry Flagged(Entry entry, std::uint16_t flags) {
  entry.flags = flags;
  return entry;
}

Entry Extra(Entry entry, std::string localExtra) {
  entry.localExtra = std::move(localExtra);
  return entry;
}

Entry CentralExtra(Entry entry, std::string centralExtra) {
  entry.centralExtra = std::move(centralExtra);
  return entry;
}

Entry MadeOn(Entry entry, std::uint8_t host) {
  entry.host = host;
  return entry;
}

std::string UnicodePathBlock(const std::string& nameCrcOf, const std::string& utf8Name) {
  std::string data(1, '\x01');
  Put32(data, static_cast<std::uint32_t>(
                  crc32(0, reinterpret_cast<const Bytef*>(nameCrcOf.data()), static_cast<uInt>(nameCrcOf.size()))));
  return ExtraBlock(0x7075, data + utf8Name);
}

std::string ExtraBlock(std::uint16_t id, const std::string& data) {
  std::string out;
  Put16(out, id);
  Put16(out, static_cast<std::uint32_t>(data.size()));
  return out + data;
}

std::string TimestampBlock(std::uint8_t flags, const std::vector<std::int32_t>& times, int declaredSize) {
  std::string data(1, static_cast<char>(flags));
  for (std::int32_t t : times) Put32(data, static_cast<std::uint32_t>(t));
  std::string block = ExtraBlock(0x5455, data);
  if (declaredSize >= 0) {
    block[2] = static_cast<char>(declaredSize & 0xFF);
    block[3] = static_cast<char>((declaredSize >> 8) & 0xFF);
  }
  return block;
}

std::string BuildArchive(const std::vector<Entry>& entries) {
  std::string archive;
  std::string central;
  for (const Entry& entry : entries) {
    std::string stored = entry.method == 8 ? Deflate(entry.data) : entry.data;
    std::uint32_t crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()), static_cast<uInt>(entry.data.size())));
    auto size = static_cast<std::uint32_t>(entry.data.size());
    switch (entry.damage) {
      case Damage::kWrongCrc: crc ^= 0xFFFFFFFFu; break;
      case Damage::kBrokenDeflate: stored.assign(stored.size() < 8 ? 8 : stored.size(), '\xFF'); break;
      case Damage::kShortData:
        // Stored bytes and their CRC for half the data, the full size announced.
        stored.resize(stored.size() / 2);
        crc = static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(stored.data()), static_cast<uInt>(stored.size())));
        break;
      default: break;
    }
    auto compressedSize = static_cast<std::uint32_t>(stored.size());
    bool descriptor = (entry.flags & kDataDescriptor) != 0;
    auto offset = static_cast<std::uint32_t>(archive.size());

    std::string local;
    Put32(local, entry.damage == Damage::kLocalSignature ? 0x05034b50u : 0x04034b50u);
    Put16(local, 20);
    Put16(local, entry.flags);
    Put16(local, entry.damage == Damage::kLocalMethod ? (entry.method == 0 ? 8 : 0) : entry.method);
    Put16(local, entry.dosTime);
    Put16(local, entry.dosDate);
    Put32(local, descriptor ? 0 : crc);
    Put32(local, descriptor ? 0 : compressedSize);
    Put32(local, descriptor ? 0 : size);
    Put16(local, static_cast<std::uint32_t>(entry.name.size()));
    Put16(local, entry.damage == Damage::kLocalExtraBeyondEnd ? 0xFFFFu
                                                              : static_cast<std::uint32_t>(entry.localExtra.size()));
    archive += local + entry.name + entry.localExtra + stored;
    if (descriptor) {
      Put32(archive, 0x08074b50u);
      Put32(archive, crc);
      Put32(archive, compressedSize);
      Put32(archive, size);
    }

    Put32(central, 0x02014b50u);
    Put16(central, static_cast<std::uint32_t>(entry.host << 8) | 20);
    Put16(central, 20);
    Put16(central, entry.flags);
    Put16(central, entry.method);
    Put16(central, entry.dosTime);
    Put16(central, entry.dosDate);
    Put32(central, crc);
    Put32(central, compressedSize);
    Put32(central, size);
    Put16(central, static_cast<std::uint32_t>(entry.name.size()));
    Put16(central, static_cast<std::uint32_t>(entry.centralExtra.size()));
    Put16(central, 0);  // no comment
    Put16(central, 0);  // disk
    Put16(central, 0);  // internal attributes
    Put32(central, entry.externalAttributes);
    Put32(central, offset);
    central += entry.name + entry.centralExtra;
  }
  auto centralOffset = static_cast<std::uint32_t>(archive.size());
  archive += central;
  Put32(archive, 0x06054b50u);
  Put16(archive, 0);
  Put16(archive, 0);
  Put16(archive, static_cast<std::uint32_t>(entries.size()));
  Put16(archive, static_cast<std::uint32_t>(entries.size()));
  Put32(archive, static_cast<std::uint32_t>(central.size()));
  Put32(archive, centralOffset);
  Put16(archive, 0);
  return archive;
}

std::string Compressible(std::size_t length) {
  std::string out;
  static const char kLine[] = "The quick brown fox jumps over the lazy dog. ";
  while (out.size() < length) out += kLine;
  out.resize(length);
  return out;
}

std::string Incompressible(std::size_t length, std::uint32_t seed) {
  std::string out(length, '\0');
  std::uint32_t state = seed * 2654435761u + 1;
  for (char& c : out) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    c = static_cast<char>(state >> 24);
  }
  return out;
}

}  // namespace zip_fixture
