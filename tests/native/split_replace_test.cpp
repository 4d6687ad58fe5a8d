#include "detect/SplitString.h"
#include "settings/ReplaceString.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Parts = std::vector<std::wstring>;

struct SplitCase {
    std::wstring source;
    std::wstring delimiter;
    Parts parts;
};

class SplitTable : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTable, GivesExactlyTheParts) {
    const SplitCase& c = GetParam();
    Parts parts{L"old", L"content", L"that", L"must", L"go", L"away", L"entirely",
                L"!",   L"!",       L"!",    L"!",    L"!",  L"!",    L"!",
                L"!",   L"!",       L"!",    L"!",    L"!",  L"!"};
    const std::int16_t count = SplitString(c.source, parts, c.delimiter);
    EXPECT_EQ(count, static_cast<std::int16_t>(c.parts.size()));
    EXPECT_EQ(parts, c.parts);
}

INSTANTIATE_TEST_SUITE_P(Documented, SplitTable,
                         testing::Values(SplitCase{L"", L".", {L""}},
                                         SplitCase{L"abc", L".", {L"abc"}},
                                         SplitCase{L".a", L".", {L"", L"a"}},
                                         SplitCase{L"a.b.", L".", {L"a", L"b", L""}},
                                         SplitCase{L"a..b", L".", {L"a", L"", L"b"}},
                                         SplitCase{std::wstring(15, L'.'), L".", Parts(16)}));

INSTANTIATE_TEST_SUITE_P(
    MultiCharacterDelimiter, SplitTable,
    testing::Values(SplitCase{L"a::b", L"::", {L"a", L"b"}},
                    SplitCase{L":::", L"::", {L"", L":"}}, // no overlapping occurrences
                    SplitCase{L"::::", L"::", {L"", L"", L""}},
                    SplitCase{L"abc", L"abcd", {L"abc"}}, SplitCase{L"xyx", L"xyx", {L"", L""}}));

TEST(SplitString, CountsInSixteenBits) {
    Parts parts{L"keep"};
    EXPECT_EQ(SplitString(std::wstring(32766, L'.'), parts, L"."), 32767);
    EXPECT_EQ(parts.size(), 32767u);
    parts = {L"keep"};
    EXPECT_THROW(SplitString(std::wstring(32767, L'.'), parts, L"."), SplitStringOverflow);
    EXPECT_EQ(parts, Parts{L"keep"});
}

TEST(SplitString, EmptyDelimiterFailsInsteadOfLooping) {
    Parts parts;
    EXPECT_THROW(SplitString(L"abc", parts, L""), SplitStringEmptyDelimiter);
}

struct ReplaceCase {
    std::wstring text, search, replacement;
    bool rescan;
    std::wstring expected;
};

class ReplaceTable : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTable, Replaces) {
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(ReplaceString(c.text, c.search, c.replacement, c.rescan), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Documented, ReplaceTable,
    testing::Values(ReplaceCase{L"a\\\\\\\\b", L"\\\\", L"\\", false, L"a\\\\b"},
                    ReplaceCase{L"a\\\\\\\\b", L"\\\\", L"\\", true, L"a\\b"},
                    ReplaceCase{L"abcabc", L"b", L"XbX", false, L"aXbXcaXbXc"}));

INSTANTIATE_TEST_SUITE_P(
    Edges, ReplaceTable,
    testing::Values(
        ReplaceCase{L"abc", L"", L"x", false, L"abc"}, ReplaceCase{L"abc", L"", L"x", true, L"abc"},
        ReplaceCase{L"", L"a", L"b", false, L""}, ReplaceCase{L"aaa", L"a", L"", false, L""},
        ReplaceCase{L"aaa", L"a", L"", true, L""},
        ReplaceCase{L"ABab", L"a", L"x", false, L"ABxb"}, // case-sensitive
        ReplaceCase{L"xa", L"a", L"aa", true, L"xaa"},    // never loops
        ReplaceCase{L"Software\\\\\\\\Sub", L"\\\\", L"\\", false, L"Software\\\\Sub"}));

} // namespace
