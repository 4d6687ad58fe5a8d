#include "Ansi.h"

#include <windows.h>

NarrowCall NarrowCallFor(unsigned codePage, int* usedDefault) {
    // "For UTF-8 or code page 54936 (GB18030), dwFlags must be set to either 0 or
    // WC_ERR_INVALID_CHARS"; "For the CP_UTF7 and CP_UTF8 settings ... lpUsedDefaultChar
    // must be set to NULL", or the call fails with ERROR_INVALID_FLAGS / PARAMETER
    // (WideCharToMultiByte, learn.microsoft.com). 65001 is the ANSI code page once "Beta:
    // Unicode UTF-8 für die weltweite Sprachunterstützung" is on. Such a code page holds
    // every character, so the round trip in IsAnsiExact is check enough there.
    if (codePage == CP_UTF8 || codePage == 54936) return {0, nullptr};
    return {WC_NO_BEST_FIT_CHARS, usedDefault};
}

namespace {

std::string Narrow(std::wstring_view text, BOOL* usedDefault) {
    if (text.empty()) return {};
    const NarrowCall call = NarrowCallFor(GetACP(), usedDefault);
    const int size = static_cast<int>(text.size());
    const int n =
        WideCharToMultiByte(CP_ACP, call.flags, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, call.flags, text.data(), size, out.data(), n, nullptr,
                        call.usedDefault);
    return out;
}

} // namespace

std::string ToAnsi(std::wstring_view text) {
    return Narrow(text, nullptr);
}

std::wstring FromAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, out.data(), n);
    return out;
}

bool IsAnsiExact(std::wstring_view text) {
    BOOL usedDefault = FALSE;
    const std::string narrow = Narrow(text, &usedDefault);
    // The round trip also catches what the default-character flag does not: characters
    // that a code page maps one way only, and in UTF-8 a lone surrogate (it becomes U+FFFD).
    return !usedDefault && FromAnsi(narrow) == text;
}
