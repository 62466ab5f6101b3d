// What the build's host tools share: ending with a message, reading input
// files, writing little-endian numbers, and turning the UTF-8 of their
// sources into the program's code page.
#pragma once

#include <cstdint>
#include <map>
#include <string>

// Prints "<tool>: <message>" and ends the tool with status 1.
[[noreturn]] void Die(const std::string& message);

std::string ReadBinaryFile(const std::string& path);

// Little-endian words and dwords, appended to out.
void PutWord(std::string& out, std::uint16_t value);
void PutDword(std::string& out, std::uint32_t value);

// The quoted text that starts at line[at] (a double quote), with \\, \", \r
// and \n unescaped; at then stands past its closing quote. A dangling or
// unknown escape or a missing closing quote ends the tool, naming the line.
std::string ReadQuoted(const std::string& line, std::size_t& at, int number);

// The name=value arguments from argv[first] on.
std::map<std::string, std::string> ReadSettings(int argc, char** argv, int first);

// UTF-8 to code page 936 (GBK); a text with no GBK form ends the tool.
std::string ToCodePage936(const std::string& utf8);
