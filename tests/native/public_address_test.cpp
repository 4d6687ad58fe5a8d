// Which found addresses go to the client: the edges of every range that peers cannot
// reach, the notations the scan lets through, and whole pages as users meet them.
#include "detect/PublicAddress.h"
#include "detect/Scan.h"

#include <gtest/gtest.h>

namespace {

constexpr auto Public = AddressVerdict::Public;
constexpr auto Not = AddressVerdict::NotAnAddress;
constexpr auto Own = AddressVerdict::OwnNetwork;
constexpr auto Shared = AddressVerdict::SharedNetwork;

struct Case {
    const wchar_t* text; // an address as found; a page when `page` is set
    AddressVerdict verdict;
    bool page = false;
};

TEST(JudgeAddress, Table) {
    const Case cases[] = {
        {L"9.255.255.255", Public},    {L"10.0.0.0", Own},           {L"10.255.255.255", Own},
        {L"11.0.0.0", Public},         {L"100.63.255.255", Public},  {L"100.64.0.0", Shared},
        {L"100.127.255.255", Shared},  {L"100.128.0.0", Public},     {L"172.15.255.255", Public},
        {L"172.16.0.0", Own},          {L"172.31.255.255", Own},     {L"172.32.0.0", Public},
        {L"169.254.0.0", Own},         {L"127.0.0.1", Own},          {L"192.167.255.255", Public},
        {L"192.169.0.0", Public},      {L"223.255.255.255", Public}, {L"224.0.0.0", Not},
        {L"255.255.255.255", Not},     {L"0.1.2.3", Not},            {L"172.32.0.1", Public},
        {L"100.128.0.1", Public},      {L"203.0.113.50", Public},    {L"223.255.255.254", Public},
        {L"1.0.0.1", Public},          {L"0.0.0.0", Not},
        // Parts that are no plain decimal number of 0 to 255.
        {L"80.1.2.256", Not},          {L"80.1.2.01", Not},          {L"80.1.2.+1", Not},
        {L"80.1.2.1e1", Not},          {L"80.1.2.&H1", Not},         {L"80.1.2. 1", Not},
        {L"80.1.2.1 ", Not},           {L"80.1.2.1000", Not},        {L"80.1.2", Not},
        {L"80.1.2.3.4", Not},          {L"", Not},                   {L"80..2.3", Not},
        // Pages, through the scan as it is.
        {L"Ihre IP: 192.168.178.20", Own, true},
        {L"IP 10.1.2.3", Own, true},
        {L"IP 100.64.3.4", Shared, true},
        {L"IP 172.31.0.1", Own, true},
        {L"IP 127.0.0.1", Own, true},
        {L"IP 169.254.1.2", Own, true},
        {L"IP 0.1.2.3", Not, true},
        {L"IP 224.0.0.1", Not, true},
        {L"x 255.255.255.255", Not, true},
        {L"IP 999.1.2.3", Not, true},
        {L"IP 80.1.2.&H1", Not, true},
        {L"IP 80.1.2.+3x", Not, true},
        {L"IP 1.2e3.4.5", Not, true},
        {L"IP 80. 1.2.3", Not, true},
        {L"IP 010.1.2.3", Not, true},
        {L"LAN 192.168.178.1 WAN 84.1.2.3", Own, true},
        {L"Ihre IP: 217.80.1.22</b>", Public, true},
    };
    for (const Case& c : cases) {
        const std::wstring text = c.page ? ScanForIp(c.text) : std::wstring(c.text);
        EXPECT_EQ(JudgeAddress(text), c.verdict) << testing::PrintToString(std::wstring(c.text));
        if (c.page) {
            EXPECT_FALSE(text.empty()) << "the scan found nothing to judge";
        }
    }
}

} // namespace
