#include "Quote.h"

namespace {

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
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
        if (IsLowSurrogate(out[at]) && at > runStart + 1) --at;
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
    if (IsHighSurrogate(text[head - 1])) --head;
    if (IsLowSurrogate(text[tailStart])) ++tailStart;
    std::wstring out(text.substr(0, head));
    out += L'\u2026';
    out += text.substr(tailStart);
    return out;
}

std::wstring Quote(std::wstring_view text) {
    std::wstring inner = ShortenMiddle(text);
    for (wchar_t& c : inner)
        if (c < 0x20 || c == 0x7F) c = L'\uFFFD';
    return L"\u201E" + WithLineBreaks(inner, kMaxUnbrokenRun) + L"\u201C";
}
