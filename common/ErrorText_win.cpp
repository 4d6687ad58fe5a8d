#include "ErrorText.h"

#include "common/Texts.h"

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

// The inserts "%1" to "%99" of a system text become `subject`.
std::wstring FillInserts(const std::wstring& text, const std::wstring& subject) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 1 < text.size() && text[i + 1] >= L'1' && text[i + 1] <= L'9') {
            ++i;
            while (i + 1 < text.size() && text[i + 1] >= L'0' && text[i + 1] <= L'9')
                ++i;
            out += subject;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

} // namespace

std::wstring ErrorText(DWORD code, const std::wstring& subject) {
    const std::wstring text = FillInserts(MessageFor(code), subject);
    std::wstring clean;
    for (wchar_t c : text) {
        if (c == L'\r' || c == L'\n') continue;
        // Without a subject "for %1." would read "for ."; keep the sentence whole.
        if (c == L'.' && !clean.empty() && clean.back() == L' ') clean.pop_back();
        if (c == L' ' && !clean.empty() && clean.back() == L' ') continue;
        clean.push_back(c);
    }
    while (!clean.empty() && clean.back() == L' ')
        clean.pop_back();
    std::wstring result = texts::ErrorNumber(code);
    if (!clean.empty()) result += L": " + clean;
    return result;
}
