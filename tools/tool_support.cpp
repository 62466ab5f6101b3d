#include "tool_support.h"

#include <errno.h>
#include <iconv.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

void Die(const std::string& message) {
  std::cerr << program_invocation_short_name << ": " << message << "\n";
  std::exit(1);
}

std::string ReadBinaryFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Die("cannot read " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void PutWord(std::string& out, std::uint16_t value) {
  for (int i = 0; i < 2; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutDword(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string ReadQuoted(const std::string& line, std::size_t& at, int number) {
  auto fail = [number](const std::string& what) { Die("line " + std::to_string(number) + ": " + what); };
  std::string text;
  for (++at; at < line.size() && line[at] != '"'; ++at) {
    if (line[at] != '\\') {
      text += line[at];
      continue;
    }
    if (++at == line.size()) fail("dangling escape");
    switch (line[at]) {
      case '\\': text += '\\'; break;
      case '"': text += '"'; break;
      case 'r': text += '\r'; break;
      case 'n': text += '\n'; break;
      default: fail("unknown escape \\" + std::string(1, line[at]));
    }
  }
  if (at == line.size()) fail("unterminated text");
  ++at;
  return text;
}

std::map<std::string, std::string> ReadSettings(int argc, char** argv, int first) {
  std::map<std::string, std::string> settings;
  for (int i = first; i < argc; ++i) {
    std::string arg = argv[i];
    std::size_t eq = arg.find('=');
    if (eq == std::string::npos) Die("setting without '=': " + arg);
    settings[arg.substr(0, eq)] = arg.substr(eq + 1);
  }
  return settings;
}

std::string ToCodePage936(const std::string& utf8) {
  iconv_t cd = iconv_open("CP936", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) Die("no UTF-8 to CP936 conversion");
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* dst = out.data();
  std::size_t outLeft = out.size();
  std::size_t converted = iconv(cd, &in, &inLeft, &dst, &outLeft);
  iconv_close(cd);
  if (converted == static_cast<std::size_t>(-1)) Die("text not representable in code page 936: " + utf8);
  out.resize(out.size() - outLeft);
  return out;
}
