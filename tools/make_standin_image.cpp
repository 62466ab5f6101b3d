// make_standin_image exe|dll SIZE OUT
//
// A payload stand-in of a real payload's size: an i386 PE image (a GUI
// executable, or a DLL) of exactly SIZE bytes, whose code only returns and
// whose data is pseudo-random, so that it weighs in the installer what the
// real file does and no compression makes it lighter. SIZE is a multiple of
// the file alignment, 512, as every image's size is. The same arguments give
// the same bytes.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tool_support.h"

namespace {

constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kSectionAlignment = 0x1000;
constexpr std::uint32_t kHeadersSize = 0x400;
constexpr std::uint32_t kPeHeaderAt = 0x40;
constexpr std::uint32_t kCodeRva = 0x1000;
constexpr std::uint32_t kDataRva = 0x2000;
constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kExecutableImage = 0x0002;
constexpr std::uint16_t kMachine32Bit = 0x0100;
constexpr std::uint16_t kDll = 0x2000;
constexpr std::uint16_t kOptionalHeaderSize = 0xE0;
constexpr std::uint16_t kPe32Magic = 0x010B;
constexpr std::uint16_t kGuiSubsystem = 2;
constexpr std::uint32_t kCodeSection = 0x60000020;  // code, execute, read
constexpr std::uint32_t kDataSection = 0x40000040;  // initialised data, read

std::uint32_t AlignUp(std::uint32_t value, std::uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

void PutSection(std::string& out, const char* name, std::uint32_t virtualSize, std::uint32_t rva,
                std::uint32_t rawSize, std::uint32_t rawAt, std::uint32_t characteristics) {
  std::string field(name);
  field.resize(8, '\0');
  out += field;
  PutDword(out, virtualSize);
  PutDword(out, rva);
  PutDword(out, rawSize);
  PutDword(out, rawAt);
  out.append(12, '\0');  // no relocations, no line numbers
  PutDword(out, characteristics);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) Die("usage: make_standin_image exe|dll SIZE OUT");
  const std::string kind = argv[1];
  if (kind != "exe" && kind != "dll") Die("kind must be exe or dll: " + kind);
  const bool dll = kind == "dll";
  const unsigned long long size = std::strtoull(argv[2], nullptr, 10);
  if (size % kFileAlignment != 0 || size < kHeadersSize + 2 * kFileAlignment || size > 0x7FFFFFFF)
    Die("size must be a multiple of 512, at least 2048 bytes and below 2 GiB: " + std::string(argv[2]));

  // An executable's entry returns 0; a DLL's DllMain returns TRUE and pops
  // its three arguments.
  const std::string code = dll ? std::string("\xB8\x01\x00\x00\x00\xC2\x0C\x00", 8) : std::string("\x31\xC0\xC3", 3);
  const std::uint32_t dataSize = static_cast<std::uint32_t>(size) - kHeadersSize - kFileAlignment;

  std::string image;
  image.reserve(size);
  image += "MZ";
  image.resize(0x3C, '\0');
  PutDword(image, kPeHeaderAt);
  image += std::string("PE\0\0", 4);
  PutWord(image, kMachineI386);
  PutWord(image, 2);  // sections
  image.append(12, '\0');  // no time stamp, no symbols
  PutWord(image, kOptionalHeaderSize);
  PutWord(image, kExecutableImage | kMachine32Bit | (dll ? kDll : 0));

  PutWord(image, kPe32Magic);
  image.append(2, '\0');  // linker version
  PutDword(image, kFileAlignment);  // size of code
  PutDword(image, dataSize);        // size of initialised data
  PutDword(image, 0);               // size of uninitialised data
  PutDword(image, kCodeRva);        // entry point
  PutDword(image, kCodeRva);        // base of code
  PutDword(image, kDataRva);        // base of data
  PutDword(image, dll ? 0x10000000 : 0x00400000);
  PutDword(image, kSectionAlignment);
  PutDword(image, kFileAlignment);
  PutWord(image, 4);  // operating system version 4.0
  PutWord(image, 0);
  PutDword(image, 0);  // image version
  PutWord(image, 4);   // subsystem version 4.0
  PutWord(image, 0);
  PutDword(image, 0);  // reserved
  PutDword(image, kDataRva + AlignUp(dataSize, kSectionAlignment));
  PutDword(image, kHeadersSize);
  PutDword(image, 0);  // checksum
  PutWord(image, kGuiSubsystem);
  PutWord(image, 0);  // no DLL characteristics: loaded at its base, never moved
  PutDword(image, 0x100000);  // stack reserve
  PutDword(image, 0x1000);    // stack commit
  PutDword(image, 0x100000);  // heap reserve
  PutDword(image, 0x1000);    // heap commit
  PutDword(image, 0);         // loader flags
  PutDword(image, 16);        // data directories, all empty
  image.append(16 * 8, '\0');

  PutSection(image, ".text", static_cast<std::uint32_t>(code.size()), kCodeRva, kFileAlignment, kHeadersSize,
             kCodeSection);
  PutSection(image, ".rdata", dataSize, kDataRva, dataSize, kHeadersSize + kFileAlignment, kDataSection);
  image.resize(kHeadersSize, '\0');

  image += code;
  image.resize(kHeadersSize + kFileAlignment, '\0');

  std::uint32_t state = dll ? 0x2545F491u : 0x9E3779B9u;
  while (image.size() < size) {
    // xorshift32: fast, and with no pattern a compressor could use.
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    PutDword(image, state);
  }

  std::ofstream out(argv[3], std::ios::binary);
  if (!out.write(image.data(), static_cast<std::streamsize>(image.size()))) Die(std::string("cannot write ") + argv[3]);
  return 0;
}
