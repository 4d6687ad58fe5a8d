#include "Arguments.h"

#include <algorithm>
#include <initializer_list>

namespace {

// The letters of the switches in lower case: ASCII, and the Latin-1 capitals (\u00DC).
wchar_t Lower(wchar_t c) {
    const bool latin1Capital = c >= 0xC0 && c <= 0xDE && c != 0xD7;
    return (c >= L'A' && c <= L'Z') || latin1Capital ? static_cast<wchar_t>(c + 32) : c;
}

bool EqualsIgnoringCase(const std::wstring& a, const wchar_t* lower) {
    std::size_t i = 0;
    for (; i < a.size() && lower[i]; ++i)
        if (Lower(a[i]) != lower[i]) return false;
    return i == a.size() && !lower[i];
}

bool IsAny(const std::wstring& argument, std::initializer_list<const wchar_t*> switches) {
    for (const wchar_t* known : switches)
        if (EqualsIgnoringCase(argument, known)) return true;
    return false;
}

bool IsSetupSwitch(const std::wstring& argument) {
    return IsAny(argument, {L"/einstellungen", L"/setup"});
}

bool IsCheckSwitch(const std::wstring& argument) {
    return IsAny(argument, {L"/pruefen", L"/pr\u00FCfen", L"/check"});
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

std::wstring UnknownSwitch(const std::vector<std::wstring>& arguments) {
    for (const std::wstring& argument : arguments)
        if (!argument.empty() && (argument[0] == L'/' || argument[0] == L'-') &&
            !IsSetupSwitch(argument) && !IsCheckSwitch(argument))
            return argument;
    return {};
}

StartKind KindOfStart(const std::vector<std::wstring>& arguments) {
    if (!UnknownSwitch(arguments).empty()) return StartKind::UnknownSwitch;
    const auto any = [&](bool (*is)(const std::wstring&)) {
        return std::any_of(arguments.begin(), arguments.end(), is);
    };
    return any(IsSetupSwitch) ? StartKind::Setup
           : any(IsCheckSwitch) ? StartKind::Check
                                : StartKind::Plain;
}
