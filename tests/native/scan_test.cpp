#include "detect/Scan.h"

#include <gtest/gtest.h>

namespace {

struct PageCase {
    const wchar_t* page;
    const wchar_t* expected;
};

constexpr PageCase kPages[] = {
#include "tests/native/ScanPages.inc"
};

class ScanTable : public testing::TestWithParam<PageCase> {};

TEST_P(ScanTable, TakesTheFirstRunThatIsAnAddress) {
    EXPECT_EQ(ScanForIp(GetParam().page), GetParam().expected)
        << "page: " << testing::PrintToString(std::wstring(GetParam().page));
}

INSTANTIATE_TEST_SUITE_P(Pages, ScanTable, testing::ValuesIn(kPages));

TEST(Scan, VeryLongPagesAreScannedToTheEnd) {
    std::wstring page(2'000'000, L'x');
    for (std::size_t i = 0; i < page.size(); i += 7)
        page[i] = L'.';
    page += L" 203.0.113.9";
    EXPECT_EQ(ScanForIp(page), L"203.0.113.9");
    std::wstring dots(1'000'000, L'.');
    EXPECT_EQ(ScanForIp(dots), L"");
    EXPECT_EQ(ScanForIp(dots + L"x 1.2.3.4"), L"1.2.3.4");
    // One run of 40,000 groups: passed over whole, never split part by part.
    std::wstring groups;
    for (int i = 0; i < 20'000; ++i)
        groups += L"1.2.";
    EXPECT_EQ(ScanForIp(groups + L" 84.12.3.4"), L"84.12.3.4");
    EXPECT_EQ(ScanForIp(groups + L"84.12.3.4"), L"");
}

// The page is read in blocks where the processor can: a run that starts or ends at any
// place of a block is read whole, also where the page's end cuts the last block short.
TEST(Scan, RunsAreReadWholeWhereverTheyLie) {
    for (std::size_t lead = 0; lead < 24; ++lead)
        for (std::size_t trail = 0; trail < 10; ++trail) {
            const std::wstring before(lead, L'x'), after(trail, L'y');
            SCOPED_TRACE(testing::Message() << lead << " before, " << trail << " after");
            EXPECT_EQ(ScanForIp(before + L"84.12.3.4" + after), L"84.12.3.4");
            EXPECT_EQ(ScanForIp(before + L"1184.12.3.4" + after), L"");
            EXPECT_EQ(ScanForIp(before + L"84.12.3.4.5" + after), L"");
        }
}

// The page server's own addresses are passed over while another address follows; the run
// as a whole must match, and the page's other runs are read as the scan reads them.
TEST(Scan, TheServersOwnAddressIsPassedOver) {
    const std::vector<std::wstring> server = {L"1.1.1.1", L"1.0.0.1"};
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"fl=1f1\nh=1.1.1.1\nip=84.12.3.4\nts=1.5", L"84.12.3.4"},
        {L"h=1.1.1.1, 1.0.0.1 ip=5.6.7.8", L"5.6.7.8"},
        {L"h=1.1.1.1 1.0.0.1", L"1.1.1.1"}, // nothing else: the page's own line
        {L"1.1.1.10 5.6.7.8", L"1.1.1.10"},
        {L"..1.1.1.1.. 5.6.7.8", L"5.6.7.8"},
    };
    for (const auto& [page, address] : cases)
        EXPECT_EQ(ScanForIp(page, server), address) << testing::PrintToString(std::wstring(page));
    EXPECT_TRUE(PageShowsAddress(L"LAN 192.168.1.1, WAN 84.12.3.4.", L"84.12.3.4"));
    EXPECT_FALSE(PageShowsAddress(L"84.12.3.45 1184.12.3.4 84.12.3.4.5", L"84.12.3.4"));
}

TEST(Scan, NulInsideThePageIsJustACharacter) {
    const std::wstring page(L"a\0b 10.0.0.1", 12);
    EXPECT_EQ(ScanForIp(page), L"10.0.0.1");
    const std::wstring glued(L"10.0.0\0.1", 9);
    EXPECT_EQ(ScanForIp(glued), L"");
}

} // namespace
