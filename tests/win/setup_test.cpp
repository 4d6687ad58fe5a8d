// The setup dialog seen from outside: what a screen reader reads of its directory list and
// how it refuses a folder or address that the ANSI code page cannot hold exactly.
#include "startup/frmSetup.h"
#include "tests/win/Driver.h"
#include "tests/win/ProgramRun.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// The program started with only the folder stored: it opens the setup dialog there.
struct SetupAt {
    explicit SetupAt(const std::wstring& folder) {
        ForgetSettings();
        StoreSetting(kFolderSetting, folder);
        program.emplace(MakeTempFolder(L"work"));
        dialog = program->WaitWindow(texts::kSetupCaption);
        list = GetDlgItem(dialog, frmSetup::kIdDirBearShare);
    }
    std::optional<Program> program;
    HWND dialog = nullptr;
    HWND list = nullptr;
};

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
        SetupAt at(base);
        Program& program = *at.program;
        HWND setup = at.dialog, list = at.list;
        ASSERT_TRUE(setup);
        if (c.subfolder) {
            SendMessageW(list, LB_SETCURSEL, SendMessageW(list, LB_GETCOUNT, 0, 0) - 1, 0);
            PressKey(list, VK_RETURN);
            ASSERT_TRUE(WaitUntil([&] { return TextOf(list) == base + L"\\" + c.subfolder; }));
        }
        SendMessageW(GetDlgItem(setup, frmSetup::kIdTxtUrl), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(c.url.c_str()));
        Click(GetDlgItem(setup, frmSetup::kIdCmdOkay));
        HWND box = program.WaitWindow(texts::kSetupCaption, L"#32770", 5000);
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
    ForgetSettings();
}

// The folders carry their names as the list's strings, and a typed letter moves the
// highlight to the next folder that starts with it.
TEST(SetupDialog, TheDirectoryListCanBeReadAndTypedInto) {
    const std::wstring base = MakeTempFolder(L"readable");
    for (const wchar_t* name : {L"Alpha", L"Beta", L"Bravo", L"\u00C4pfel"})
        CreateDirectoryW((base + L"\\" + name).c_str(), nullptr);
    SetupAt at(base);
    Program& program = *at.program;
    HWND setup = at.dialog, list = at.list;
    ASSERT_TRUE(setup);
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    ASSERT_GE(items.size(), 4u);
    const std::vector<std::wstring> folders(items.end() - 4, items.end());
    EXPECT_EQ(folders, (std::vector<std::wstring>{L"Alpha", L"\u00C4pfel", L"Beta", L"Bravo"}));
    EXPECT_EQ(items.back(), L"Bravo");
    const auto indexOf = [&](const wchar_t* name) {
        return static_cast<LRESULT>(std::find(items.begin(), items.end(), name) - items.begin());
    };
    for (const auto& [letter, name] :
         {std::pair{L'b', L"Beta"}, std::pair{L'b', L"Bravo"}, std::pair{L'a', L"Alpha"}}) {
        PostMessageW(list, WM_CHAR, letter, 1);
        EXPECT_TRUE(WaitUntil(
            [&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == indexOf(name); }, 3000))
            << Narrow(name);
    }
    EXPECT_EQ(TextOf(list), base); // typing only highlights; the path stays
    PostMessageW(setup, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitExit(), 0u);
    ForgetSettings();
}

} // namespace
