// The setup dialog refuses a folder or address that the ANSI code page cannot hold
// exactly: stored, it would come back as a look-alike naming another folder or page.
#include "startup/frmSetup.h"
#include "tests/win/Driver.h"
#include "tests/win/ProgramRun.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct RefusalCase {
    const char* what;
    const wchar_t* subfolder; // opened in the list before OK, or none
    std::wstring url;
    const wchar_t* named; // what the refusal names
};

TEST(SetupDialog, RefusesWhatTheCodePageCannotHold) {
    const std::wstring base = MakeTempFolder(L"refusal");
    CreateDirectoryW((base + L"\\\u0141ukasz").c_str(), nullptr);
    const RefusalCase cases[] = {
        {"folder", L"\u0141ukasz", PageUrl(L"/ip"), L"\u0141ukasz"},
        {"address", nullptr, PageUrl(L"/ip?name=\u0141"), L"name=\u0141"},
        {"address with a fullwidth solidus", nullptr, L"http://h\uFF0Fx", L"h\uFF0Fx"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteTree(HKEY_CURRENT_USER, "Software\\Harlund");
        StoreSetting("BearShareDirectory", base);
        Program program(MakeTempFolder(L"work"));
        HWND setup = program.WaitWindow(L"Tolvaring? - Setup");
        ASSERT_TRUE(setup);
        HWND list = GetDlgItem(setup, frmSetup::kIdDirBearShare);
        if (c.subfolder) {
            SendMessageW(list, LB_SETCURSEL, SendMessageW(list, LB_GETCOUNT, 0, 0) - 1, 0);
            PressKey(list, VK_RETURN);
            ASSERT_TRUE(WaitUntil([&] { return TextOf(list) == base + L"\\" + c.subfolder; }));
        }
        SendMessageW(GetDlgItem(setup, frmSetup::kIdTxtUrl), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(c.url.c_str()));
        Click(GetDlgItem(setup, frmSetup::kIdCmdOkay));
        HWND box = program.WaitWindow(L"Tolvaring? - Setup", L"#32770", 5000);
        ASSERT_TRUE(box);
        EXPECT_NE(MessageBoxText(box).find(c.named), std::wstring::npos)
            << Narrow(MessageBoxText(box));
        EXPECT_FALSE(ReadRawValue(HKEY_CURRENT_USER, kSettingsKey, "URL").exists);
        Click(GetDlgItem(box, IDOK));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        EXPECT_TRUE(IsWindow(setup)); // the dialog stays for another try
        PostMessageW(setup, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitExit(), 0u);
    }
    DeleteTree(HKEY_CURRENT_USER, "Software\\Harlund");
}

} // namespace
