#pragma once
// Conversion between the program's text and the system ANSI code page, for the A-variant
// platform calls.
#include <string>
#include <string_view>

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view bytes);
