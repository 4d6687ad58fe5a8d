// The real 60-second time-out of the page fetch, through the real program. Slow: left out
// of the default run (make test-slow).
#include "common/Ansi.h"
#include "tests/win/Driver.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(SlowServers, TheFetchEndsWithinTheTimeOut) {
    const std::wstring client = MakeTempFolder(L"slow-client");
    for (const wchar_t* path : {L"/hang", L"/trickle?every=20"}) {
        SCOPED_TRACE(Narrow(path));
        WriteRawValue(HKEY_CURRENT_USER, "Software\\Harlund\\Tolvaring\\1.0", "BearShareDirectory",
                      REG_SZ, ToAnsi(client) + '\0');
        WriteRawValue(HKEY_CURRENT_USER, "Software\\Harlund\\Tolvaring\\1.0", "URL", REG_SZ,
                      ToAnsi(PageUrl(path)) + '\0');
        const ULONGLONG start = GetTickCount64();
        Program program(MakeTempFolder(L"slow-work"));
        HWND box = program.WaitWindow(L"Tolvaring", L"#32770", 90000);
        const ULONGLONG took = GetTickCount64() - start;
        ASSERT_TRUE(box);
        EXPECT_GE(took, 55000u);
        EXPECT_LE(took, 66000u);
        Click(GetDlgItem(box, IDOK));
        EXPECT_EQ(program.WaitExit(), 1u);
        EXPECT_FALSE(FileExists(client + L"\\FreePeers.ini"));
    }
    DeleteTree(HKEY_CURRENT_USER, "Software\\Harlund");
}

} // namespace
