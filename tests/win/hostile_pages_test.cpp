// Hostile pages and broken networks: pages without an address to hand on, servers that stall
// at every stage, a fetch given up for real, and the whole hand-off over https.
#include "common/ErrorText.h"
#include "common/Quote.h"
#include "detect/Http.h"
#include "startup/frmSetup.h"
#include "tests/win/HostileTest.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <cwctype>
#include <memory>
#include <optional>
#include <vector>

namespace {

struct PageCase {
    const char* what;
    std::wstring path; // on the loopback server
    Course course;
    UINT boxStyle;
    DWORD exitCode;
};

// The pages that end without a hand-off: which box, with which style, and the exit code;
// the file untouched and the client not started. Which address a page of odd bytes yields,
// and why a fetch fails, are tested on the fetch.
TEST_F(Hostile, PagesWithoutAnAddressToHandOff) {
    const PageCase cases[] = {
        // Yes/No, the stop icon, Yes the default; brought to the front.
        {"8 MiB of full stops", L"/dots?mib=8", Course::Question,
         MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON1 | MB_SETFOREGROUND, 0},
        // OK and the stop icon; brought to the front.
        {"500 with an address", L"/echo?status=500&body=Server%20192.0.2.99", Course::Failure,
         MB_OK | MB_ICONSTOP | MB_SETFOREGROUND, 1},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.what);
        StoreSettings(client, PageUrl(c.path));
        const Observed seen = RunToTheEnd(work);
        EXPECT_STREQ(Name(seen.course), Name(c.course)) << Narrow(seen.message);
        EXPECT_EQ(seen.boxStyle, c.boxStyle);
        EXPECT_EQ(seen.exitCode, c.exitCode);
        EXPECT_FALSE(FileExists(client + L"\\FreePeers.ini"));
        EXPECT_FALSE(Started());
    }
}

// Every way a server can stall, against the test build with a 2 s bound.
TEST_F(Hostile, EveryStallEndsAtTheDeadline) {
    SetEnvironmentVariableW(L"TOLVARING_TEST_FETCH_MS", L"2000");
    ExpectEveryStallEnds(2000, L"TolvaringTest.exe", client, work);
    SetEnvironmentVariableW(L"TOLVARING_TEST_FETCH_MS", nullptr);
}

// A fetch given up, at the deadline or for endless headers, is given up for real: while the
// box is still up, the server sees its connection closed.
TEST_F(Hostile, AFetchGivenUpLetsGoOfTheServer) {
    const struct {
        const char* what;
        const wchar_t* id;
        const wchar_t* more; // of the page's address
        const wchar_t* boundMs;
        std::wstring reason;
    } cases[] = {
        {"time-out", L"abandoned", L"", L"2000", texts::Timeout(2)},
        {"endless headers", L"flooded", L"&fast=1", L"20000", texts::HeadersTooLong(64)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetEnvironmentVariableW(L"TOLVARING_TEST_FETCH_MS", c.boundMs);
        StoreSettings(client, PageUrl(std::wstring(L"/watched?id=") + c.id + c.more));
        Program program(work, L"TolvaringTest.exe");
        HWND box = WaitMessageBox(program);
        SetEnvironmentVariableW(L"TOLVARING_TEST_FETCH_MS", nullptr);
        EXPECT_TRUE(box);
        if (!box) continue;
        EXPECT_NE(MessageBoxText(box).find(c.reason), std::wstring::npos);
        EXPECT_TRUE(WaitUntil(
            [&] {
                return HttpControl().OpenURL(PageUrl(std::wstring(L"/state?id=") + c.id)) ==
                       L"closed";
            },
            3000));
        EXPECT_TRUE(IsWindow(box));
        Click(GetDlgItem(box, IDOK));
        EXPECT_EQ(program.WaitExit(), 1u);
    }
}

// Most pages that show a caller's address are https: the whole hand-off works through one.
TEST_F(Hostile, HandOffOverTrustedHttps) {
    StoreSettings(client, TrustedTlsUrl(L"/ip?ip=192.0.2.40"));
    const Observed seen = RunToTheEnd(work);
    EXPECT_STREQ(Name(seen.course), Name(Course::HandOff)) << Narrow(seen.message);
    EXPECT_EQ(Ini(), L"[Network]\r\nforcedIP=\"192.0.2.40\"\r\nbForcedIP=Yes\r\n");
    EXPECT_TRUE(Started());
}

} // namespace
