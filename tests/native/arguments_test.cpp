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

} // namespace
