// The router asked beside the page, on a home network of the tests' own
// (tools/testnet.sh): the program under Wine behind a test router that is Debian's
// miniupnpd or a scripted one (tools/testrouter.py), and the page on loopback.
#include "common/ErrorText.h"
#include "common/Quote.h"
#include "detect/Router.h"
#include "tests/win/ProgramTest.h"

#include <gtest/gtest.h>

namespace {

// Has the test router play `mode` (see tools/testrouter.py) and waits until it does.
void RouterPlays(const std::string& mode) {
    WriteFileBytes(StateFolder() + L"\\router.mode", mode);
    const bool playing = WaitUntil(
        [&] { return Narrow(ReadFileText(StateFolder() + L"\\router.ready")) == mode + "\n"; },
        20000);
    ASSERT_TRUE(playing) << mode;
}

#define BEFORE "[General]\r\nname=me\r\n[Network]\r\nforcedIP=\"1.1.1.1\"\r\nbForcedIP=Yes\r\nport=6346\r\n"
#define FORCED(a) "[General]\r\nname=me\r\n[Network]\r\nforcedIP=\"" a "\"\r\nbForcedIP=Yes\r\nport=6346\r\n"
#define NOT_FORCED "[General]\r\nname=me\r\n[Network]\r\nforcedIP=\"1.1.1.1\"\r\nbForcedIP=No\r\nport=6346\r\n"

// What the box of a line without a public IPv4 address says: `shown` is the page's
// address, `says` the router's sentence.
using Says = std::wstring (*)(const std::wstring& answer);

struct RouterCase {
    const char* what;
    const char* mode;
    const wchar_t* page;    // the page's body, for /echo?body=
    const char* iniAfter;   // FreePeers.ini afterwards, byte for byte
    Says says = nullptr;    // the box of a line without its own address; null: no box
    const wchar_t* answer = L""; // the router's answer, as that box quotes it
    int button = IDNO;
    bool dsLite = true;
};

std::wstring SameText(const std::wstring&) {
    return {};
}

TEST_F(Tolvaring, TheRouterCanOnlyStopAWrongAddress) {
    const std::wstring client = ClientFolder(L"client");
    const auto shared = [](const std::wstring& a) { return texts::RouterShared(Quote(a)); };
    const auto dsLite = [](const std::wstring& a) { return texts::RouterDsLite(Quote(a)); };
    const auto none = [](const std::wstring& a) {
        return texts::RouterNoPublic(a.empty() ? a : Quote(a));
    };
    const RouterCase cases[] = {
        {"own public address, the same", "miniupnpd 84.12.3.4/24", L"84.12.3.4", FORCED("84.12.3.4")},
        // miniupnpd is an IGD:2 with WANIPConnection:2.
        {"IGD:2, the router's address after the server's", "miniupnpd 84.12.3.4/24",
         L"h=93.184.216.34%0Aip=84.12.3.4", FORCED("84.12.3.4")},
        {"a public address not on the page (a proxy, a VPN)", "scripted 84.12.3.4",
         L"93.184.216.34", FORCED("93.184.216.34")},
        {"carrier-grade NAT behind miniupnpd: an empty answer, Nein", "miniupnpd 100.64.1.2/10",
         L"84.12.3.4", BEFORE, none, L""},
        {"carrier-grade NAT, Ja", "scripted 100.64.1.2", L"84.12.3.4", NOT_FORCED, shared,
         L"100.64.1.2", IDYES, false},
        {"DS-Lite, an empty answer, Nein", "scripted empty", L"84.12.3.4", BEFORE, none, L""},
        {"DS-Lite, 0.0.0.0, Ja", "scripted 0.0.0.0", L"84.12.3.4", NOT_FORCED, none, L"0.0.0.0",
         IDYES},
        {"DS-Lite, 192.0.0.2, Nein", "scripted 192.0.0.2", L"84.12.3.4", BEFORE, dsLite,
         L"192.0.0.2"},
        {"double NAT", "scripted 192.168.0.2", L"84.12.3.4", FORCED("84.12.3.4")},
        {"no UPnP on the router", "silent", L"84.12.3.4", FORCED("84.12.3.4")},
        {"a SOAP fault", "scripted 100.64.1.2 fault", L"84.12.3.4", FORCED("84.12.3.4")},
        {"a neighbour answers, not the gateway", "scripted 100.64.1.2 neighbour", L"84.12.3.4",
         FORCED("84.12.3.4")},
        {"a LOCATION on another host", "scripted 100.64.1.2 elsewhere", L"84.12.3.4",
         FORCED("84.12.3.4")},
        {"WANPPPConnection only, Nein", "scripted 100.64.1.2 ppp", L"84.12.3.4", BEFORE, shared,
         L"100.64.1.2", IDNO, false},
        {"a description of 65 KiB", "scripted 100.64.1.2 big", L"84.12.3.4", FORCED("84.12.3.4")},
        {"a description with a DTD", "scripted 100.64.1.2 dtd", L"84.12.3.4",
         FORCED("84.12.3.4")},
        // The page of a DS-Lite router gets the same way out.
        {"the DS-Lite page, Ja", "silent", L"192.0.0.2", NOT_FORCED, SameText, L"", IDYES},
    };
    for (const RouterCase& c : cases) {
        SCOPED_TRACE(c.what);
        RouterPlays(c.mode);
        DeleteFileW((client + L"\\started.txt").c_str());
        DeleteFileW((StateFolder() + L"\\router.log").c_str());
        WriteFileBytes(client + L"\\FreePeers.ini", BEFORE);
        const std::wstring url = PageUrl(std::wstring(L"/echo?body=") + c.page);
        StoreSettings(client, url);
        Program program(work);
        if (c.says) {
            HWND box = WaitMessageBox(program);
            ASSERT_TRUE(box);
            const std::wstring page = Quote(url), shown = Quote(L"84.12.3.4");
            EXPECT_EQ(MessageBoxText(box),
                      c.says == SameText
                          ? texts::DsLiteAddress(page, Quote(c.page))
                          : texts::NoPublicLine(page, shown, c.says(c.answer), c.dsLite));
            if (c.says == shared && c.button == IDYES &&
                WaitUntil([&] { return GetForegroundWindow() == box; }, 3000))
                SaveScreenshot(box, L"no-public-line-box");
            Click(GetDlgItem(box, c.button));
        }
        EXPECT_EQ(program.WaitExit(), c.button == IDYES || !c.says ? 0u : 1u);
        EXPECT_EQ(Narrow(ReadFileText(client + L"\\FreePeers.ini")), c.iniAfter);
        const bool started = c.button == IDYES || !c.says;
        EXPECT_EQ(WaitUntil([&] { return FileExists(client + L"\\started.txt"); }, started ? 5000 : 0),
                  started);
        // Only the gateway is asked, and only for its description and external address.
        const std::wstring log = ReadFileText(StateFolder() + L"\\router.log");
        EXPECT_EQ(log.find(L"192.168.77.3"), std::wstring::npos) << Narrow(log);
        for (std::size_t at = 0; at < log.size(); at = log.find(L'\n', at) + 1) {
            const std::wstring line = log.substr(at, log.find(L'\n', at) - at);
            EXPECT_TRUE(line == L"192.168.77.1 GET /desc.xml" ||
                        line.find(L"#GetExternalIPAddress\"") != std::wstring::npos)
                << Narrow(line);
        }
    }
}

// A router that answers the search and then never its description holds the start up no
// longer than the grace after the page; the check start gives it its whole time.
TEST_F(Tolvaring, AHangingRouterDoesNotHoldTheStartUp) {
    const std::wstring client = ClientFolder(L"client");
    RouterPlays("scripted 100.64.1.2 hang");
    StoreSettings(client, PageUrl(L"/ip?ip=84.12.3.4"));
    const ULONGLONG start = GetTickCount64();
    Program program(work);
    EXPECT_EQ(program.WaitExit(), 0u);
    const ULONGLONG ms = GetTickCount64() - start;
    std::printf("  hand-off beside a hanging router: %llu ms\n", ms);
    EXPECT_LT(ms, kRouterMaxMs); // far less: the page's time, the grace and Wine's start
    EXPECT_NE(ReadFileText(client + L"\\FreePeers.ini").find(L"forcedIP=\"84.12.3.4\""),
              std::wstring::npos);
    RouterPlays("silent"); // lets the hanging request go
}

// The check start says what the router answered and what that means.
TEST_F(Tolvaring, TheCheckStartNamesTheRoutersAnswer) {
    const std::wstring client = ClientFolder(L"client");
    const struct {
        const char* mode;
        std::wstring says;
        std::wstring verdict;
        DWORD exitCode;
    } cases[] = {
        {"miniupnpd 84.12.3.4/24", texts::kRouterSameAddress, texts::kWouldHandOn, 0},
        {"scripted 100.64.1.2", texts::RouterShared(Quote(L"100.64.1.2")),
         texts::WouldNotHandOn(texts::kNoPublicLine), 1},
        {"silent", texts::kRouterNoAnswer, texts::kWouldHandOn, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        RouterPlays(c.mode);
        WriteFileBytes(client + L"\\FreePeers.ini", BEFORE);
        const std::wstring url = PageUrl(L"/ip?ip=84.12.3.4");
        StoreSettings(client, url);
        Program check(work, L"TolvaringTest.exe", L"/pruefen");
        HWND box = WaitMessageBox(check);
        ASSERT_TRUE(box);
        const std::wstring ini = client + L"\\FreePeers.ini";
        EXPECT_EQ(MessageBoxText(box),
                  texts::PageShowed(Quote(url), Quote(L"84.12.3.4")) + c.says + L" " + c.verdict +
                      texts::ClientReads(Quote(ini), texts::kReadsRealNotProtected,
                                         Quote(L"1.1.1.1")));
        Click(GetDlgItem(box, IDOK));
        EXPECT_EQ(check.WaitExit(), c.exitCode);
        EXPECT_EQ(Narrow(ReadFileText(ini)), BEFORE);
    }
}

} // namespace
