// What the build's host tools share: ending with a message, reading input
// files, and turning the UTF-8 of their sources into the program's code page.
#pragma once

#include <map>
#include <string>

// Prints "<tool>: <message>" and ends the tool with status 1.
[[noreturn]] void Die(const std::string& message);

std::string ReadBinaryFile(const std::string& path);

// The name=value arguments from argv[first] on.
std::map<std::string, std::string> ReadSettings(int argc, char** argv, int first);

// UTF-8 to code page 936 (GBK); a text with no GBK form ends the tool.
std::string ToCodePage936(const std::string& utf8);
