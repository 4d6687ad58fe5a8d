// The one argument the program knows.
#include "startup/Arguments.h"

#include <gtest/gtest.h>

namespace {

TEST(Arguments, KindOfStart) {
    constexpr StartKind plain = StartKind::Plain, setup = StartKind::Setup,
                        check = StartKind::Check, unknown = StartKind::UnknownSwitch;
    const std::pair<std::vector<std::wstring>, StartKind> cases[] = {
        {{}, plain},
        {{L"/einstellungen"}, setup},
        {{L"/Einstellungen"}, setup},
        {{L"/SETUP"}, setup},
        {{L"-x", L"/setup"}, unknown},
        {{L"einstellungen", L"C:\\x.txt"}, plain},
        {{L"/setupx"}, unknown},
        {{L"/setu"}, unknown},
        {{L"/einstellungen "}, unknown},
        {{L"/pruefen"}, check},
        {{L"/CHECK"}, check},
        {{L"/pr\u00FCfen"}, check},
        {{L"/PR\u00DCFEN"}, check},
        {{L"-pruefen"}, unknown},
        {{L"/pruefen:"}, unknown},
        {{L"/check", L"/setup"}, setup},
    };
    for (const auto& [arguments, kind] : cases)
        EXPECT_EQ(KindOfStart(arguments), kind) << testing::PrintToString(arguments);
}

TEST(Arguments, SplitsTheCommandLineAsWindowsDoes) {
    const std::pair<const wchar_t*, std::vector<std::wstring>> cases[] = {
        {L"\"C:\\Program Files\\T\\Tolvaring.exe\" /einstellungen", {L"/einstellungen"}},
        {L"Tolvaring.exe", {}},
        {L"\"C:\\a b\\t.exe\"", {}},
        {L"t.exe  a\t\"b c\" d\"e f\"g ", {L"a", L"b c", L"de fg"}},
        {L"t.exe a\\\\\"b c\" a\\\"b C:\\dir\\ \"x\"\"y\"",
         {L"a\\b c", L"a\"b", L"C:\\dir\\", L"x\"y"}},
        {L"t.exe \"\" /setup", {L"", L"/setup"}},
        // A quoted name ends at its closing quote.
        {L"\"C:\\T\\Tolvaring.exe\"/einstellungen", {L"/einstellungen"}},
        {L"\"C:\\T\\Tolvaring.exe\"\"a b\" c", {L"a b", L"c"}},
        {L"\"C:\\T\\Tol varing.exe", {}},
    };
    for (const auto& [line, arguments] : cases)
        EXPECT_EQ(CommandLineArguments(line), arguments)
            << testing::PrintToString(std::wstring(line));
}

} // namespace
