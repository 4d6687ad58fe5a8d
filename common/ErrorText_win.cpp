#include "ErrorText.h"

#include <wininet.h>

namespace {

std::wstring MessageFor(DWORD code) {
    const bool inet = code >= INTERNET_ERROR_BASE && code <= INTERNET_ERROR_LAST;
    HMODULE module = inet ? GetModuleHandleW(L"wininet.dll") : nullptr;
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                  (module ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM);
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(flags, module, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length && buffer) text.assign(buffer, length);
    if (buffer) LocalFree(buffer);
    return text;
}

} // namespace

std::wstring ErrorText(DWORD code) {
    std::wstring text = MessageFor(code);
    std::wstring clean;
    for (wchar_t c : text)
        if (c != L'\r' && c != L'\n') clean.push_back(c);
    while (!clean.empty() && clean.back() == L' ')
        clean.pop_back();
    std::wstring result = L"Fehler " + std::to_wstring(code);
    if (!clean.empty()) result += L": " + clean;
    return result;
}
