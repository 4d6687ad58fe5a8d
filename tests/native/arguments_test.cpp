// The one argument the program knows.
#include "startup/Arguments.h"

#include <gtest/gtest.h>

namespace {

TEST(Arguments, AsksForSetup) {
    const std::pair<std::vector<std::wstring>, bool> cases[] = {
        {{}, false},           {{L"/einstellungen"}, true}, {{L"/Einstellungen"}, true},
        {{L"/SETUP"}, true},   {{L"-x", L"/setup"}, true},  {{L"einstellungen"}, false},
        {{L"/setupx"}, false}, {{L"/setu"}, false},         {{L"/einstellungen "}, false},
    };
    for (const auto& [arguments, asks] : cases)
        EXPECT_EQ(AsksForSetup(arguments), asks) << testing::PrintToString(arguments);
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
