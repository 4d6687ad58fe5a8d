// Which found addresses go to the client: the edges of every range that peers cannot
// reach, the notations the scan lets through, and whole pages as users meet them.
#include "detect/PublicAddress.h"
#include "detect/Scan.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr auto Public = AddressVerdict::Public;
constexpr auto Not = AddressVerdict::NotAnAddress;
constexpr auto Own = AddressVerdict::OwnNetwork;
constexpr auto Shared = AddressVerdict::SharedNetwork;
constexpr auto Zeros = AddressVerdict::LeadingZeros;
constexpr auto DsLite = AddressVerdict::DsLite;

TEST(JudgeAddress, Table) {
    const std::pair<AddressVerdict, std::vector<const wchar_t*>> addresses[] = {
        {Public, {L"9.255.255.255",   L"11.0.0.0",   L"100.63.255.255",  L"100.128.0.0",
                  L"172.15.255.255",  L"172.32.0.0", L"192.167.255.255", L"192.169.0.0",
                  L"223.255.255.255", L"172.32.0.1", L"100.128.0.1",     L"203.0.113.50",
                  L"223.255.255.254", L"1.0.0.1",    L"192.0.1.0",       L"192.0.2.0",
                  L"198.17.255.255",  L"198.20.0.0", L"192.88.98.255",   L"192.88.100.0"}},
        {Own,
         {L"10.0.0.0", L"10.255.255.255", L"172.16.0.0", L"172.31.255.255", L"169.254.0.0",
          L"127.0.0.1"}},
        {Shared, {L"100.64.0.0", L"100.127.255.255"}},
        {DsLite, {L"192.0.0.0", L"192.0.0.2", L"192.0.0.7"}},
        {Not,
         {L"224.0.0.0", L"255.255.255.255", L"0.1.2.3", L"0.0.0.0", L"192.0.0.8", L"192.0.0.255",
          L"198.18.0.0", L"198.19.255.255", L"192.88.99.0", L"192.88.99.255"}},
        {Zeros, {L"084.012.003.004", L"80.1.2.01", L"00.1.2.3"}},
        // Parts that are no plain decimal number of 0 to 255.
        {Not,
         {L"80.1.2.256", L"099.300.1.1", L"80.1.2.+1", L"80.1.2.1e1", L"80.1.2.&H1", L"80.1.2. 1",
          L"80.1.2.1 ", L"80.1.2.1000", L"80.1.2", L"80.1.2.3.4", L"", L"80..2.3"}},
    };
    for (const auto& [verdict, texts] : addresses)
        for (const wchar_t* text : texts)
            EXPECT_EQ(JudgeAddress(text), verdict) << testing::PrintToString(std::wstring(text));

    // Pages, through the scan.
    const std::pair<AddressVerdict, std::vector<const wchar_t*>> pages[] = {
        {Own,
         {L"Ihre IP: 192.168.178.20", L"IP 10.1.2.3", L"IP 172.31.0.1", L"IP 127.0.0.1",
          L"IP 169.254.1.2", L"LAN 192.168.178.1 WAN 84.1.2.3"}},
        {Shared, {L"IP 100.64.3.4"}},
        {Not, {L"IP 0.1.2.3", L"IP 224.0.0.1", L"x 255.255.255.255", L"IP 999.1.2.3"}},
        {Zeros, {L"IP 010.1.2.3"}},
        {Public, {L"Ihre IP: 217.80.1.22</b>"}},
    };
    for (const auto& [verdict, texts] : pages)
        for (const wchar_t* page : texts) {
            const std::wstring found = ScanForIp(page);
            EXPECT_FALSE(found.empty()) << testing::PrintToString(std::wstring(page));
            EXPECT_EQ(JudgeAddress(found), verdict) << testing::PrintToString(std::wstring(page));
        }
}

} // namespace
