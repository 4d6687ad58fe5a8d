#include "Quote.h"

namespace {

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
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
    return L"\u201E" + inner + L"\u201C";
}
