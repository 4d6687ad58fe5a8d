#pragma once
// Conversion between the program's text and the system ANSI code page, for the A-variant
// platform calls.
#include <string>
#include <string_view>

// Never "best fit": a character the code page lacks becomes the code page's default
// character ('?'), which no file name can hold, instead of a look-alike that may name
// another folder ("Ł" -> "L", a fullwidth backslash -> "\").
std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view bytes);

// Whether `text` goes through the code page and back unchanged.
bool IsAnsiExact(std::wstring_view text);
