// The page bytes as text: the charset named in the headers, else the bytes' own marks.
#include "detect/PageText.h"

#include <gtest/gtest.h>

namespace {
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

} // namespace
