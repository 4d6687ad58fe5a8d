#include "Arguments.h"

#include <algorithm>

namespace {

bool EqualsIgnoringAsciiCase(const std::wstring& a, const wchar_t* lower) {
    std::size_t i = 0;
    for (; i < a.size() && lower[i]; ++i) {
        const wchar_t c = a[i] >= L'A' && a[i] <= L'Z' ? static_cast<wchar_t>(a[i] + 32) : a[i];
        if (c != lower[i]) return false;
    }
    return i == a.size() && !lower[i];
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

} // namespace

std::vector<std::wstring> CommandLineArguments(std::wstring_view line) {
    // The program's name: up to the closing quote when it starts with one, and the next
    // argument may follow that at once; else up to a blank.
    std::size_t i = 0;
    if (!line.empty() && line[0] == L'"') {
        i = std::min(line.find(L'"', 1), line.size() - 1) + 1;
    } else {
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
    }
    std::vector<std::wstring> arguments;
    for (;;) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i >= line.size()) return arguments;
        std::wstring argument;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            std::size_t backslashes = 0;
            while (i < line.size() && line[i] == L'\\') {
                ++backslashes;
                ++i;
            }
            if (i == line.size() || line[i] != L'"') {
                argument.append(backslashes, L'\\');
                if (i < line.size() && (quoted || !IsBlank(line[i]))) argument += line[i++];
                continue;
            }
            argument.append(backslashes / 2, L'\\');
            if (backslashes % 2 == 1 || (quoted && i + 1 < line.size() && line[i + 1] == L'"')) {
                argument += L'"';
                i += backslashes % 2 == 1 ? 1 : 2;
            } else {
                quoted = !quoted;
                ++i;
            }
        }
        arguments.push_back(argument);
    }
}

StartKind KindOfStart(const std::vector<std::wstring>& arguments) {
    if (AsksForSetup(arguments)) return StartKind::Setup;
    for (const std::wstring& argument : arguments)
        if (EqualsIgnoringAsciiCase(argument, L"/pruefen") ||
            EqualsIgnoringAsciiCase(argument, L"/check"))
            return StartKind::Check;
    return StartKind::Plain;
}

bool AsksForSetup(const std::vector<std::wstring>& arguments) {
    for (const std::wstring& argument : arguments)
        if (EqualsIgnoringAsciiCase(argument, L"/einstellungen") ||
            EqualsIgnoringAsciiCase(argument, L"/setup"))
            return true;
    return false;
}
