// make_constant_pool TABLE OUT_BLOCK OUT_HEADER [name=value ...]
//
// Turns the readable constant table into the program's ConstantPool block:
// texts converted from UTF-8 to code page 936 and NUL-terminated, payload files
// stored as ByteSets (dword 1, dword length, bytes), all end to end. The header
// names each constant's offset in the block. Settings given as name=value:
//   forum_host, forum_name   the forum page address (the name is UTF-8)
//   <payload>=<file>         the file behind a "bytes" entry
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Entry {
  std::string name;
  std::string kind;
  std::string value;
  std::uint32_t offset = 0;
};

[[noreturn]] void Die(const std::string& message) {
  std::cerr << "make_constant_pool: " << message << "\n";
  std::exit(1);
}

std::string ToCodePage936(const std::string& utf8) {
  iconv_t cd = iconv_open("CP936", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) Die("no UTF-8 to CP936 conversion");
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* dst = out.data();
  std::size_t outLeft = out.size();
  if (iconv(cd, &in, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1))
    Die("text not representable in code page 936: " + utf8);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

// The value between double quotes, with \\, \", \r and \n unescaped.
std::string ParseQuoted(const std::string& field, int line) {
  if (field.size() < 2 || field.front() != '"' || field.back() != '"')
    Die("line " + std::to_string(line) + ": value must be quoted");
  std::string out;
  for (std::size_t i = 1; i + 1 < field.size(); ++i) {
    if (field[i] != '\\') {
      out += field[i];
      continue;
    }
    if (i + 2 >= field.size()) Die("line " + std::to_string(line) + ": dangling escape");
    switch (field[++i]) {
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      default: Die("line " + std::to_string(line) + ": unknown escape");
    }
  }
  return out;
}

std::vector<Entry> ReadTable(const std::string& path) {
  std::ifstream in(path);
  if (!in) Die("cannot read " + path);
  std::vector<Entry> entries;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Entry e;
    fields >> e.name >> e.kind >> std::ws;
    std::string rest;
    std::getline(fields, rest);
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\r')) rest.pop_back();
    e.value = ParseQuoted(rest, number);
    if (e.kind != "text" && e.kind != "bytes" && e.kind != "forum")
      Die("line " + std::to_string(number) + ": unknown kind " + e.kind);
    entries.push_back(e);
  }
  return entries;
}

// Every byte of the UTF-8 name as %XX with upper-case hex digits.
std::string PercentEncode(const std::string& utf8) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : utf8) {
    out += '%';
    out += hex[c >> 4];
    out += hex[c & 0x0F];
  }
  return out;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Die("cannot read payload " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void PutDword(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) Die("usage: make_constant_pool TABLE OUT_BLOCK OUT_HEADER [name=value ...]");
  std::map<std::string, std::string> settings;
  for (int i = 4; i < argc; ++i) {
    std::string arg = argv[i];
    std::size_t eq = arg.find('=');
    if (eq == std::string::npos) Die("setting without '=': " + arg);
    settings[arg.substr(0, eq)] = arg.substr(eq + 1);
  }
  auto setting = [&](const std::string& name) {
    auto it = settings.find(name);
    if (it == settings.end()) Die("missing setting " + name);
    return it->second;
  };

  std::vector<Entry> entries = ReadTable(argv[1]);
  std::string block;
  for (Entry& e : entries) {
    e.offset = static_cast<std::uint32_t>(block.size());
    if (e.kind == "text") {
      block += ToCodePage936(e.value);
      block += '\0';
    } else if (e.kind == "forum") {
      block += "http://" + setting("forum_host") + "/f?kw=" + PercentEncode(setting("forum_name")) +
               "&fr=index&fp=0&ie=utf-8";
      block += '\0';
    } else {
      std::string payload = ReadFile(setting(e.value));
      if (payload.size() > 0xFFFFFFFFu) Die("payload too large: " + e.value);
      PutDword(block, 1);
      PutDword(block, static_cast<std::uint32_t>(payload.size()));
      block += payload;
    }
  }

  std::ofstream out(argv[2], std::ios::binary);
  out.write(block.data(), static_cast<std::streamsize>(block.size()));
  if (!out.flush()) Die(std::string("cannot write ") + argv[2]);

  std::ostringstream header;
  header << "// Generated by make_constant_pool from the constant table; do not edit.\n"
         << "#pragma once\n\n#include <cstdint>\n\nnamespace pool {\n\n"
         << "// Offsets of the texts in the constant pool.\nenum class Text : std::uint32_t {\n";
  for (const Entry& e : entries)
    if (e.kind != "bytes") header << "  " << e.name << " = " << e.offset << ",\n";
  header << "};\n\n// Offsets of the ByteSet headers in the constant pool.\nenum class Bytes : std::uint32_t {\n";
  for (const Entry& e : entries)
    if (e.kind == "bytes") header << "  " << e.name << " = " << e.offset << ",\n";
  header << "};\n\ninline constexpr std::uint32_t kEntryCount = " << entries.size() << ";\n"
         << "inline constexpr std::uint32_t kBlockSize = " << block.size() << ";\n\n}  // namespace pool\n";
  std::ofstream h(argv[3]);
  h << header.str();
  if (!h.flush()) Die(std::string("cannot write ") + argv[3]);
  return 0;
}
