#pragma once
// An integer as decimal text. std::to_wstring goes through the C library's printf, which
// on Windows brings along its floating-point formatting, some 9 KB of the program.
// Portable: no windows.h.
#include <string>

inline std::wstring Decimal(long long value) {
    wchar_t digits[24];
    wchar_t* p = digits + 24;
    unsigned long long rest = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                        : static_cast<unsigned long long>(value);
    do {
        *--p = static_cast<wchar_t>(L'0' + rest % 10);
        rest /= 10;
    } while (rest);
    if (value < 0) *--p = L'-';
    return std::wstring(p, digits + 24);
}
