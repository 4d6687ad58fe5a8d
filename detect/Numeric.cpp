#include "Numeric.h"

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}
bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
bool IsOctDigit(wchar_t c) {
    return c >= L'0' && c <= L'7';
}
bool IsHexDigit(wchar_t c) {
    return IsDigit(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

// Consumes a run of digits from the front of `s`; returns how many there were.
template <class Pred> std::size_t TakeRun(std::wstring_view& s, Pred pred) {
    std::size_t n = 0;
    while (n < s.size() && pred(s[n]))
        ++n;
    s.remove_prefix(n);
    return n;
}

void TakeSign(std::wstring_view& s) {
    if (!s.empty() && (s.front() == L'+' || s.front() == L'-')) s.remove_prefix(1);
}

bool IsRadixNumber(std::wstring_view s) {
    // s starts with '&'
    if (s.size() < 3) return false;
    const wchar_t mark = s[1];
    std::wstring_view digits = s.substr(2);
    if (mark == L'H' || mark == L'h') {
        const std::size_t n = TakeRun(digits, IsHexDigit);
        return digits.empty() && n >= 1 && n <= 8;
    }
    if (mark == L'O' || mark == L'o') {
        const std::wstring_view all = digits;
        const std::size_t n = TakeRun(digits, IsOctDigit);
        if (!digits.empty() || n == 0 || n > 11) return false;
        return n < 11 || all.front() <= L'3'; // must fit into 32 bits
    }
    return false;
}

bool IsDecimalNumber(std::wstring_view s) {
    TakeSign(s);
    if (TakeRun(s, IsDigit) == 0) return false;
    if (s.empty()) return true;
    if (s.front() != L'E' && s.front() != L'e') return false;
    s.remove_prefix(1);
    TakeSign(s);
    return TakeRun(s, IsDigit) > 0 && s.empty();
}

} // namespace

bool IsNumeric(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty()) return false;
    return text.front() == L'&' ? IsRadixNumber(text) : IsDecimalNumber(text);
}
