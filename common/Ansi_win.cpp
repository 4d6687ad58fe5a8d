#include "Ansi.h"

#include <windows.h>

namespace {

std::string Narrow(std::wstring_view text, BOOL* usedDefault) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, out.data(), n, nullptr,
                        usedDefault);
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
    // that a code page maps one way only.
    return !usedDefault && FromAnsi(narrow) == text;
}
