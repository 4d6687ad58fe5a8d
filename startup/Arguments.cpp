#include "Arguments.h"

namespace {

bool EqualsIgnoringAsciiCase(const std::wstring& a, const wchar_t* lower) {
    std::size_t i = 0;
    for (; i < a.size() && lower[i]; ++i) {
        const wchar_t c = a[i] >= L'A' && a[i] <= L'Z' ? static_cast<wchar_t>(a[i] + 32) : a[i];
        if (c != lower[i]) return false;
    }
    return i == a.size() && !lower[i];
}

} // namespace

bool AsksForSetup(const std::vector<std::wstring>& arguments) {
    for (const std::wstring& argument : arguments)
        if (EqualsIgnoringAsciiCase(argument, L"/einstellungen") ||
            EqualsIgnoringAsciiCase(argument, L"/setup"))
            return true;
    return false;
}
