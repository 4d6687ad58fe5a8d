#include "detect/Numeric.h"
#include "detect/PageText.h"
#include "settings/SettingsValue.h"

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

struct DecodeCase {
    std::string bytes;
    std::string charset;
    std::wstring text;
};

class DecodeTable : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTable, Decodes) {
    const DecodeCase& c = GetParam();
    EXPECT_EQ(PageBytesToText(c.bytes, c.charset, DecodeWindows1252), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DecodeTable,
    testing::Values(DecodeCase{"IP 1.2.3.4", "", L"IP 1.2.3.4"},
                    DecodeCase{"Gr\xC3\xBC\xC3\x9F"
                               "e",
                               "", L"Gr\u00FC\u00DFe"}, // valid UTF-8
                    DecodeCase{"Gr\xFC\xDF"
                               "e",
                               "", L"Gr\u00FC\u00DFe"},                    // not UTF-8: ANSI
                    DecodeCase{"\x80", "", L"\u20AC"},                     // Windows-1252 euro
                    DecodeCase{"\xC3\xBC", "iso-8859-1", L"\u00C3\u00BC"}, // charset wins
                    DecodeCase{"a\xFF"
                               "b",
                               "utf-8",
                               L"a\uFFFD"
                               "b"},                       // declared, invalid
                    DecodeCase{"\xEF\xBB\xBFx", "", L"x"}, // BOM
                    DecodeCase{std::string("1\0.\0002\0", 6), "utf-16", L"1.2"},
                    DecodeCase{std::string("\0001\0.", 4), "utf-16be", L"1."},
                    DecodeCase{std::string("\xFF\xFE"
                                           "1\0",
                                           4),
                               "", L"1"},
                    DecodeCase{std::string("a\0b", 3), "", std::wstring(L"a\0b", 3)},
                    DecodeCase{"\xED\xA0\x80", "", L"\u00ED\u00A0\u20AC"}, // surrogate: not UTF-8
                    DecodeCase{"\xC0\xAE", "", L"\u00C0\u00AE"},           // overlong: not UTF-8
                    DecodeCase{"\xF0\x9F\x98\x80", "", L"\U0001F600"}));

struct ContentTypeCase {
    std::string header;
    std::string charset;
};

class ContentTypeTable : public testing::TestWithParam<ContentTypeCase> {};

TEST_P(ContentTypeTable, FindsCharset) {
    EXPECT_EQ(CharsetFromContentType(GetParam().header), GetParam().charset);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, ContentTypeTable,
    testing::Values(ContentTypeCase{"text/html", ""},
                    ContentTypeCase{"text/html; charset=UTF-8", "utf-8"},
                    ContentTypeCase{"text/plain;charset=\"ISO-8859-1\"", "iso-8859-1"},
                    ContentTypeCase{"text/plain; charset=utf-16; format=x", "utf-16"},
                    ContentTypeCase{"", ""}));

TEST(SettingsValueText, EmptyStateAndIntegersConvert) {
    EXPECT_TRUE(SettingsValue() == L"");
    EXPECT_EQ(SettingsValue().ToText(), L"");
    EXPECT_TRUE(SettingsValue(L"") == L"");
    EXPECT_FALSE(SettingsValue(L"x") == L"");
    EXPECT_EQ(SettingsValue::Integer32(-1).ToText(), L"-1");
    EXPECT_EQ(SettingsValue::Integer16(-32768).Integer(), -32768);
    EXPECT_FALSE(SettingsValue::Integer32(0) == L"");
}

TEST(SettingsValueText, ObjectCountsAsItsDefaultProperty) {
    struct Box : HasDefaultProperty {
        SettingsValue DefaultValue() const override { return L"C:\\BearShare"; }
    } box;
    const SettingsValue v = SettingsValue::Object(box);
    EXPECT_EQ(v.Resolved().kind(), SettingsValue::Kind::Text);
    EXPECT_EQ(v.Resolved().Text(), L"C:\\BearShare");
}

} // namespace
