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

// The conversion call's arguments for `codePage`: its flags, and where it notes whether it
// used the default character (`usedDefault`, or null where the call may not be asked).
// Windows refuses the no-best-fit flag and that question for UTF-8 (the ANSI code page of
// a system set to UTF-8), so both depend on the code page.
struct NarrowCall {
    unsigned long flags;
    int* usedDefault; // a BOOL*
};
NarrowCall NarrowCallFor(unsigned codePage, int* usedDefault);
