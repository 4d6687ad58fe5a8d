// When a part of the page counts as a number.
#include "detect/Numeric.h"

#include <gtest/gtest.h>

namespace {
struct NumericCase {
    std::wstring text;
    bool numeric;
};

class NumericTable : public testing::TestWithParam<NumericCase> {};

TEST_P(NumericTable, Classifies) {
    EXPECT_EQ(IsNumeric(GetParam().text), GetParam().numeric)
        << testing::PrintToString(GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, NumericTable,
    testing::Values(NumericCase{L"0", true}, NumericCase{L"9", true}, NumericCase{L"255", true},
                    NumericCase{L"+3", true}, NumericCase{L"-3", true}, NumericCase{L" 1", true},
                    NumericCase{L"1  ", true}, NumericCase{L"\t7\t", true},
                    NumericCase{L"2e3", true}, NumericCase{L"2E+3", true},
                    NumericCase{L"2e-03", true}, NumericCase{L"&H1F", true},
                    NumericCase{L"&hff", true}, NumericCase{L"&HFFFFFFFF", true},
                    NumericCase{L"&O17", true}, NumericCase{L"&o37777777777", true},
                    NumericCase{L"007", true}));

INSTANTIATE_TEST_SUITE_P(
    NotNumbers, NumericTable,
    testing::Values(NumericCase{L"", false}, NumericCase{L"   ", false}, NumericCase{L"+", false},
                    NumericCase{L"-", false}, NumericCase{L"a", false}, NumericCase{L"<", false},
                    NumericCase{L"&", false}, NumericCase{L"E", false}, NumericCase{L"3 4", false},
                    NumericCase{L"1b2", false}, NumericCase{L"2e", false},
                    NumericCase{L"2e+", false}, NumericCase{L"e3", false},
                    NumericCase{L"- 3", false}, NumericCase{L"3-", false},
                    NumericCase{L"(3)", false}, NumericCase{L"1,000", false},
                    NumericCase{L"2d3", false}, NumericCase{L"&H", false},
                    NumericCase{L"&H1G", false}, NumericCase{L"&H123456789", false},
                    NumericCase{L"&O8", false}, NumericCase{L"&O40000000000", false},
                    NumericCase{L"-&H1", false}, NumericCase{L"&17", false},
                    NumericCase{L"1\r", false}, NumericCase{L"\n1", false},
                    NumericCase{std::wstring(L"1\0", 2), false}, NumericCase{L"\u0661", false},
                    NumericCase{L"\uFF11", false}, NumericCase{L"1\u00A0", false}));

TEST(NumericSingleCharacter, OnlyTheTenDigits) {
    for (wchar_t c = 0; c < 0x3000; ++c) {
        const bool digit = c >= L'0' && c <= L'9';
        ASSERT_EQ(IsNumeric(std::wstring_view(&c, 1)), digit) << int(c);
    }
}

} // namespace
