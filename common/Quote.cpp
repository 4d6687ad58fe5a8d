#include "Quote.h"

namespace {

bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// A mark that belongs to the character before it: the combining diacritics (U+0300 to U+036F
// and their supplements), the variation selectors, the zero-width joiner.
bool IsCombining(wchar_t c) {
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
           (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x20D0 && c <= 0x20FF) ||
           (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xFE20 && c <= 0xFE2F) || c == 0x200D;
}

// Whether a line break or a cut before `c` would part it from the character before it.
bool ClingsToTheOneBefore(wchar_t c) {
    return IsLowSurrogate(c) || IsCombining(c);
}

// Controls, and the marks that turn the direction of what follows: a name could show
// reversed.
bool IsHidden(wchar_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool IsBreakAfter(wchar_t c) {
    return c == L'\\' || c == L'/' || c == L'?' || c == L'&' || c == L'=' || c == L'-' ||
           c == L'_' || c == L'.';
}

// A line break into every run of more than `maxRun` characters without a blank: after the
// last separator in the run's second half, else after `maxRun` characters.
std::wstring WithLineBreaks(const std::wstring& text, std::size_t maxRun) {
    std::wstring out;
    std::size_t runStart = 0;
    for (wchar_t c : text) {
        out.push_back(c);
        if (c == L' ') runStart = out.size();
        if (out.size() - runStart <= maxRun) continue;
        std::size_t at = out.size() - 1; // the character that made the run too long
        for (std::size_t i = at; i > runStart + maxRun / 2; --i)
            if (IsBreakAfter(out[i - 1])) {
                at = i;
                break;
            }
        while (ClingsToTheOneBefore(out[at]) && at > runStart + 1)
            --at;
        out.insert(at, L"\r\n");
        runStart = at + 2;
    }
    return out;
}

} // namespace

std::wstring ShortenMiddle(std::wstring_view text, std::size_t max) {
    if (text.size() <= max || max < 3) return std::wstring(text.substr(0, text.size()));
    std::size_t head = (max - 1) / 2;
    std::size_t tailStart = text.size() - (max - 1 - head);
    while (head > 0 && ClingsToTheOneBefore(text[head]))
        --head;
    while (tailStart < text.size() && ClingsToTheOneBefore(text[tailStart]))
        ++tailStart;
    std::wstring out(text.substr(0, head));
    out += L'\u2026';
    out += text.substr(tailStart);
    return out;
}

std::wstring Quote(std::wstring_view text) {
    std::wstring inner = ShortenMiddle(text);
    for (wchar_t& c : inner)
        if (IsHidden(c)) c = L'\uFFFD';
    return L"\u201E" + WithLineBreaks(inner, kMaxUnbrokenRun) + L"\u201C";
}
