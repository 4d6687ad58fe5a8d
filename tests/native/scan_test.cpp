#include "detect/Scan.h"

#include <gtest/gtest.h>

namespace {

struct PageCase {
    const wchar_t* page;
    const wchar_t* expected;
};

class ScanTable : public testing::TestWithParam<PageCase> {};

TEST_P(ScanTable, FindsTheFirstPassingWindow) {
    EXPECT_EQ(ScanForIp(GetParam().page), GetParam().expected)
        << "page: " << testing::PrintToString(std::wstring(GetParam().page));
}

// The documented pages and what the scan must make of them.
INSTANTIATE_TEST_SUITE_P(
    DocumentedPages, ScanTable,
    testing::Values(
        PageCase{L"80.1.2.3", L"80.1.2.3"}, PageCase{L"IP:80.1.2.3", L"80.1.2.3"},
        PageCase{L"Ihre IP: 217.80.1.22</b>", L"217.80.1.22"},
        PageCase{L"1217.1.2.3", L"217.1.2.3"}, PageCase{L"192.168.100.2001", L"192.168.100.200"},
        PageCase{L"1.2.3.4.5", L"2.3.4.5"}, PageCase{L"Version 1.2.3, IP 80.1.2.3", L"80.1.2.3"},
        PageCase{L"1.2.3 4.5.6.7", L"4.5.6.7"}, PageCase{L"IP 80.1.2.3.", L""},
        PageCase{L"IP 217.180.100.222.", L"217.180.100.222"},
        PageCase{L"IP 80.1.2.3. Mehr Text 9.8.7.6", L"9.8.7.6"}, PageCase{L"80.1.2.3 4", L""},
        PageCase{L"80.1.x.3", L""}, PageCase{L"80..1.2.3", L""},
        PageCase{L"999.999.999.999", L"999.999.999.999"},
        PageCase{L"010.001.002.003", L"010.001.002.003"}, PageCase{L"80. 1.2.3", L"80. 1.2.3"},
        PageCase{L"1.2e3.4.5", L"1.2e3.4.5"}, PageCase{L"80.1.2.-3", L"80.1.2.-3"},
        PageCase{L"80.1.2.&H1F", L"80.1.2.&H1"}, PageCase{L"a1b2.3.4.5", L"2.3.4.5"},
        PageCase{L"1.2.3", L""}, PageCase{L"", L""}, PageCase{L"kein Punkt hier", L""}));

// Edges of the window arithmetic and of the text around it.
INSTANTIATE_TEST_SUITE_P(
    WindowEdges, ScanTable,
    testing::Values(
        // Anchor at page position 0: the window's front comes wholly from the lead-in.
        PageCase{L".1.2.3", L""}, PageCase{L"1.2.3.4", L"1.2.3.4"},
        // The address ends exactly at the page end, and one character before it.
        PageCase{L"xxxxxxxxxx 1.2.3.4", L"1.2.3.4"}, PageCase{L"xx 1.2.3.4x", L"1.2.3.4"},
        // Pages of nothing but dots, and a dot at the very end.
        PageCase{L".", L""}, PageCase{L"....", L""}, PageCase{L"...............", L""},
        PageCase{L"1.2.3.", L""},
        // Line breaks and NULs glued to the address are trimmed away or make it fail;
        // nothing returned may carry them.
        PageCase{L"IP\r\n80.1.2.3\r\n", L"80.1.2.3"}, PageCase{L"\t80.1.2.3\t", L"80.1.2.3"},
        PageCase{L"80.1\n.2.3", L""}, PageCase{L"80.1. 2.3", L"80.1. 2.3"},
        PageCase{L"80.1.\t2.3", L"80.1.\t2.3"},
        // A window of exactly 15 characters and one that would need a 16th.
        PageCase{L"111.222.333.444", L"111.222.333.444"},
        PageCase{L"111.222.333.4445", L"111.222.333.444"},
        // Unicode digits are not digits.
        PageCase{L"\u0661.2.3.4 5.6.7.8", L"5.6.7.8"}));

TEST(Scan, VeryLongPagesAreScannedToTheEnd) {
    std::wstring page(2'000'000, L'x');
    for (std::size_t i = 0; i < page.size(); i += 7)
        page[i] = L'.';
    page += L" 203.0.113.9";
    EXPECT_EQ(ScanForIp(page), L"203.0.113.9");
    std::wstring dots(1'000'000, L'.');
    EXPECT_EQ(ScanForIp(dots), L"");
    EXPECT_EQ(ScanForIp(dots + L"x 1.2.3.4"), L"1.2.3.4");
}

TEST(Scan, NulInsideThePageIsJustACharacter) {
    const std::wstring page(L"a\0b 10.0.0.1", 12);
    EXPECT_EQ(ScanForIp(page), L"10.0.0.1");
    const std::wstring glued(L"10.0.0\0.1", 9);
    EXPECT_EQ(ScanForIp(glued), L"");
}

} // namespace
