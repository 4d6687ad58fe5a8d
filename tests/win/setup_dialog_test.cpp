// The setup dialog of the real program: its layout at every DPI, its keys and colours,
// and what OK and Cancel store.
#include "startup/frmSetup.h"
#include "tests/win/DesignedLayout.h"
#include "tests/win/ProgramTest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using texts::kQuestion;
using texts::kSetupCaption;

struct Control {
    int id;
    const wchar_t* cls;
    const wchar_t* text; // none: not a fixed text
    designed::Box box;
    designed::Box frame; // the frame it stands in, if any
};

// In tab order.
const Control kControls[] = {
    {frmSetup::kIdFrame0, L"Button", texts::kFrameBearShare, designed::kFrame0, {}},
    {frmSetup::kIdDirBearShare, L"ListBox", nullptr, designed::kDirList, designed::kFrame0},
    {frmSetup::kIdLblInfo0, L"Static", texts::kPromptFolder, designed::kPrompt0, designed::kFrame0},
    {frmSetup::kIdFrame1, L"Button", texts::kFrameGeneral, designed::kFrame1, {}},
    {frmSetup::kIdLblInfo1, L"Static", texts::kPromptUrl, designed::kPrompt1, designed::kFrame1},
    {frmSetup::kIdTxtUrl, L"Edit", L"", designed::kUrl, designed::kFrame1},
    {frmSetup::kIdCmdOkay, L"Button", texts::kOkay, designed::kOkay, {}},
    {frmSetup::kIdCmdCancel, L"Button", texts::kCancel, designed::kCancel, {}},
};

std::string ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return designed::Text(client);
}

std::string DesignedSize(SIZE twips, int dpi) {
    return designed::Text({0, 0, MulDiv(twips.cx, dpi, 1440), MulDiv(twips.cy, dpi, 1440)});
}

TEST_F(Tolvaring, SetupDialogControlsKindsTextsAndOrder) {
    Program program(work);
    HWND setup = program.WaitWindow(kSetupCaption);
    ASSERT_TRUE(setup);
    program.WaitIdle();
    SaveScreenshot(setup, L"setup-dialog");

    const LONG style = GetWindowLongW(setup, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(GetWindow(setup, GW_OWNER), nullptr);

    HWND previous = nullptr;
    for (const Control& c : kControls) {
        SCOPED_TRACE(c.id);
        HWND h = Child(setup, c.id);
        EXPECT_TRUE(h);
        if (!h) continue;
        EXPECT_EQ(_wcsicmp(ClassOf(h).c_str(), c.cls), 0) << Narrow(ClassOf(h));
        if (c.text) {
            EXPECT_EQ(TextOf(h), c.text);
        }
        // Tab index: the controls follow each other in this order.
        EXPECT_EQ(GetWindow(h, GW_HWNDPREV), previous);
        previous = h;
    }
    for (int id : {frmSetup::kIdCmdOkay, frmSetup::kIdCmdCancel}) {
        EXPECT_FALSE(GetWindowLongW(Child(setup, id), GWL_STYLE) & BS_DEFPUSHBUTTON) << id;
    }
    EXPECT_TRUE(IsCommonControl6(Child(setup, frmSetup::kIdCmdOkay), L"BUTTON"));
    EXPECT_TRUE(IsCommonControl6(Child(setup, frmSetup::kIdDirBearShare), L"LISTBOX"));
}

TEST_F(Tolvaring, SetupFocusStartsInTheListAndTabWalksTheFocusOrder) {
    Program program(work);
    HWND setup = program.WaitWindow(kSetupCaption);
    ASSERT_TRUE(setup);
    ASSERT_TRUE(
        WaitUntil([&] { return FocusOf(setup) == Child(setup, frmSetup::kIdDirBearShare); }));
    for (int next : {frmSetup::kIdTxtUrl, frmSetup::kIdCmdOkay, frmSetup::kIdCmdCancel,
                     frmSetup::kIdDirBearShare}) {
        PressKey(FocusOf(setup), VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(setup) == Child(setup, next); }, 3000))
            << next << ": " << Narrow(ClassOf(FocusOf(setup)));
    }
}

void PressEnterIn(HWND setup, int id) {
    PostMessageW(setup, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Child(setup, id)), TRUE);
    PressKey(Child(setup, id), VK_RETURN);
}

struct KeyCase {
    const char* what;
    void (*press)(HWND setup);
    bool stores, closes;
};

TEST_F(Tolvaring, SetupKeysAndTheCloseBox) {
    const KeyCase cases[] = {
        {"Enter in the address", [](HWND s) { PressEnterIn(s, frmSetup::kIdTxtUrl); }, false,
         false},
        {"Enter on OK", [](HWND s) { PressEnterIn(s, frmSetup::kIdCmdOkay); }, false, false},
        {"Alt+O", [](HWND s) { PressAltKey(s, L'o'); }, true, false},
        {"Esc", [](HWND s) { PressKey(FocusOf(s), VK_ESCAPE); }, false, true},
        {"Alt+A", [](HWND s) { PressAltKey(s, L'a'); }, false, true},
        {"close box", [](HWND s) { PostMessageW(s, WM_CLOSE, 0, 0); }, false, true},
    };
    const std::wstring typed = L"http://typed/";
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetupWithFolder at(work, work);
        Program& program = at.program;
        HWND setup = at.dialog;
        EXPECT_TRUE(setup);
        if (!setup) continue;
        SetText(Child(setup, frmSetup::kIdTxtUrl), typed);
        c.press(setup);
        if (c.closes) {
            EXPECT_EQ(program.WaitExit(10000), 0u);
        } else {
            program.WaitIdle(); // the keys are handled
            EXPECT_TRUE(IsWindow(setup));
        }
        if (c.stores) {
            EXPECT_TRUE(WaitUntil([&] { return Stored(kUrlSetting) == typed; }, 3000));
        } else {
            EXPECT_EQ(Stored(kUrlSetting), L"<none>");
        }
    }
}

// OK stores the folder opened in the list and the address as they stand, leaves the
// dialog open and detects nothing; the next start hands off into that folder.
TEST_F(Tolvaring, OkStoresBothSettingsAndTheNextStartDetects) {
    const std::wstring dir = ClientFolder(L"client", false);
    const std::wstring sub = dir + L"\\Sub";
    CreateDirectoryW(sub.c_str(), nullptr);
    PutClient(sub);
    const std::wstring url = PageUrl(L"/ip?ip=203.0.113.3");
    Store(kFolderSetting, dir);
    {
        Program program(work);
        HWND setup = program.WaitWindow(kSetupCaption);
        ASSERT_TRUE(setup);
        // The dialog hands a double click on the last entry, the subfolder, to the list.
        HWND list = Child(setup, frmSetup::kIdDirBearShare);
        SendMessageW(list, LB_SETCURSEL, SendMessageW(list, LB_GETCOUNT, 0, 0) - 1, 0);
        SendMessageW(setup, WM_COMMAND, MAKEWPARAM(frmSetup::kIdDirBearShare, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(list));
        ASSERT_TRUE(WaitUntil([&] { return TextOf(list) == sub; }, 3000));
        SetText(Child(setup, frmSetup::kIdTxtUrl), url);
        Click(Child(setup, frmSetup::kIdCmdOkay));
        EXPECT_TRUE(WaitUntil([&] { return Stored(kUrlSetting) == url; }));
        EXPECT_EQ(Stored(kFolderSetting), sub);
        EXPECT_TRUE(IsWindow(setup));
        EXPECT_FALSE(FileExists(sub + L"\\FreePeers.ini"));
        EXPECT_EQ(program.Close(setup), 0u);
    }
    Program next(work);
    EXPECT_EQ(next.WaitExit(), 0u);
    EXPECT_NE(ReadFileText(sub + L"\\FreePeers.ini").find(L"forcedIP=\"203.0.113.3\""),
              std::wstring::npos);
}

TEST_F(Tolvaring, AnEmptyAddressIsStoredAndTheNextStartAsksAgain) {
    StoreSettings(work, L"");
    Program program(work);
    HWND setup = program.WaitWindow(kSetupCaption);
    ASSERT_TRUE(setup);
    Click(Child(setup, frmSetup::kIdCmdOkay));
    EXPECT_TRUE(WaitUntil([&] {
        const RawValue raw = RawSetting(kUrlSetting);
        return raw.exists && raw.bytes == std::string("\0", 1);
    }));
    EXPECT_EQ(program.Close(setup), 0u);
    Program again(work);
    HWND setupAgain = again.WaitWindow(kSetupCaption);
    EXPECT_TRUE(setupAgain);
    EXPECT_EQ(again.Close(setupAgain), 0u);
}

struct StartCase {
    const char* what;
    std::wstring folder, url; // as stored
    bool wide;                // stored through the wide call, as another tool may
    enum { AtOnce, AfterYes, AfterOk } opens;
    std::wstring urlShown;
};

// A folder that is gone, or that the code page turns into a look-alike, leaves the list at
// its start (OK would store the look-alike); an address is shown as stored, so that OK
// refuses one that is not exact. The dialog opens at once, after the no-address question,
// or after the box that says a setting is not exact.
TEST_F(Tolvaring, FoldersTheDialogCannotTakeLeaveTheListAtItsStart) {
    const std::wstring gone = ClientFolder(L"gone", false);
    RemoveDirectoryW(gone.c_str());
    const std::wstring base = ClientFolder(L"lookalike", false);
    for (const wchar_t* f : {L"\\Lukasz", L"\\evil", L"\\x"})
        CreateDirectoryW((base + f).c_str(), nullptr);
    const std::wstring page = PageUrl(L"/echo?body=nichts");
    const std::wstring lookalikeUrl = PageUrl(L"/ip?name=\u0141");
    const StartCase cases[] = {
        {"removed, no address", gone, L"", false, StartCase::AtOnce, L""},
        {"removed, a page without an address", gone, page, false, StartCase::AfterYes, page},
        {"L with stroke, no address", base + L"\\\u0141ukasz", L"", true, StartCase::AtOnce, L""},
        {"fullwidth backslashes", base + L"\\x\uFF3C..\uFF3Cevil", page, true, StartCase::AfterOk,
         page},
        {"address not exact", base + L"\\\u0141ukasz", lookalikeUrl, true, StartCase::AfterOk,
         lookalikeUrl},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.what);
        ForgetSettings();
        if (c.wide) {
            StoreSettingWide(kFolderSetting, c.folder);
            if (!c.url.empty()) StoreSettingWide(kUrlSetting, c.url);
        } else {
            StoreSettings(c.folder, c.url);
        }
        Program program(work);
        HWND setup = nullptr;
        if (c.opens == StartCase::AtOnce) {
            setup = program.WaitWindow(kSetupCaption);
        } else if (c.opens == StartCase::AfterYes) {
            setup = SetupAfterYes(program);
        } else if (HWND box = WaitMessageBox(program)) {
            Click(GetDlgItem(box, IDOK));
            setup = program.WaitWindow(kSetupCaption);
        }
        EXPECT_TRUE(setup);
        if (!setup) continue;
        EXPECT_EQ(TextOf(Child(setup, frmSetup::kIdDirBearShare)), work);
        EXPECT_EQ(TextOf(Child(setup, frmSetup::kIdTxtUrl)), c.urlShown);
        EXPECT_EQ(program.Close(setup), 0u);
    }
}

struct RefusalCase {
    const char* what;
    const wchar_t* subfolder; // opened in the list before OK, or none
    std::wstring url;
    const wchar_t* named;       // what the refusal names
    bool nothingStored = false; // the list at the working folder, which nobody chose
    bool taken = false;         // not refused: OK stores the folder and the address, no box
};

// A folder or address that the ANSI code page cannot hold exactly, or the working folder
// that the list merely started at, without BearShare.exe, is refused with a box that names
// it; nothing is stored and the dialog stays for another try.
TEST_F(Tolvaring, SetupRefusesWhatItMustNotStore) {
    const std::wstring base = MakeTempFolder(L"refusal");
    CreateDirectoryW((base + L"\\\u0141ukasz").c_str(), nullptr);
    const RefusalCase cases[] = {
        {"folder", L"\u0141ukasz", PageUrl(L"/ip"), L"\u0141ukasz"},
        {"address", nullptr, PageUrl(L"/ip?name=\u0141"), L"name=\u0141"},
        {"address with a fullwidth solidus", nullptr, L"http://h\uFF0Fx", L"h\uFF0Fx"},
        // No character of the password in the box, whatever it holds.
        {"address with a password", nullptr, L"http://nutzer:Geheim#\u0141@h/ip", L"nutzer:***@h"},
        {"a folder nobody chose", nullptr, PageUrl(L"/ip"), L"liegt kein BearShare.exe", true},
        // Opened in the list, a folder is chosen, whether or not BearShare.exe is there yet.
        {"a folder opened in the list", L"Ge\u00F6ffnet", PageUrl(L"/ip"), nullptr, true, true},
    };
    CreateDirectoryW((work + L"\\Ge\u00F6ffnet").c_str(), nullptr);
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetupWithFolder at(c.nothingStored ? L"" : base, work);
        HWND setup = at.dialog;
        EXPECT_TRUE(setup);
        if (!setup) continue;
        const std::wstring opened =
            (c.nothingStored ? work : base) + L"\\" + (c.subfolder ? c.subfolder : L"");
        if (c.subfolder) {
            HWND list = Child(setup, frmSetup::kIdDirBearShare);
            SendMessageW(list, LB_SETCURSEL, SendMessageW(list, LB_GETCOUNT, 0, 0) - 1, 0);
            PressKey(list, VK_RETURN);
            if (!WaitUntil([&] { return TextOf(list) == opened; })) {
                ADD_FAILURE() << "the subfolder did not open";
                continue;
            }
        }
        SetText(Child(setup, frmSetup::kIdTxtUrl), c.url);
        Click(Child(setup, frmSetup::kIdCmdOkay));
        if (c.taken) {
            EXPECT_TRUE(WaitUntil([&] { return Stored(kUrlSetting) == c.url; }));
            EXPECT_EQ(Stored(kFolderSetting), opened);
            EXPECT_FALSE(at.program.WaitWindow(kSetupCaption, L"#32770", 0)); // stored after the checks
            EXPECT_EQ(at.program.Close(setup), 0u);
            continue;
        }
        HWND box = at.program.WaitWindow(kSetupCaption, L"#32770", 5000);
        EXPECT_TRUE(box);
        if (!box) continue;
        EXPECT_NE(MessageBoxText(box).find(c.named), std::wstring::npos)
            << Narrow(MessageBoxText(box));
        EXPECT_EQ(MessageBoxText(box).find(L"Geheim"), std::wstring::npos);
        EXPECT_FALSE(RawSetting(kUrlSetting).exists);
        Click(GetDlgItem(box, IDOK));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        EXPECT_TRUE(IsWindow(setup)); // the dialog stays for another try
        EXPECT_EQ(at.program.Close(setup), 0u);
    }
}

// Sets the prefix's screen DPI for programs started from now on; back to 96 at the end.
class ScreenDpiSetting {
  public:
    explicit ScreenDpiSetting(DWORD dpi) { Set(dpi); }
    ~ScreenDpiSetting() { Set(96); }

  private:
    static void Set(DWORD dpi) {
        WriteRawValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD,
                      std::string(reinterpret_cast<const char*>(&dpi), 4));
    }
};

TEST_F(Tolvaring, WindowsScaleWithTheScreenDpi) {
    for (int dpi : {96, 120, 144}) {
        SCOPED_TRACE(dpi);
        ScreenDpiSetting setting(dpi);
        const std::wstring suffix = L"-" + std::to_wstring(dpi) + L"dpi";
        ForgetSettings();
        {
            Program program(work);
            HWND setup = WaitSetup(program);
            if (!setup) continue;
            EXPECT_EQ(ClientSize(setup), DesignedSize(designed::kSetupClient, dpi));
            for (const Control& c : kControls) {
                EXPECT_EQ(designed::Text(ClientRectIn(Child(setup, c.id), setup)),
                          designed::Text(designed::Pixels(c.box, dpi, c.frame)))
                    << c.id;
            }
            program.WaitIdle();
            SaveScreenshot(setup, L"setup-dialog" + suffix);
            EXPECT_EQ(program.Close(setup), 0u);
        }
        StoreSettings(ClientFolder(L"client"), PageUrl(L"/slowip?delay=3&ip=192.0.2.77"));
        Program program(work);
        HWND status = program.WaitWindow(L"", L"TolvaringStatus", 15000);
        EXPECT_TRUE(status);
        if (!status) continue;
        EXPECT_EQ(ClientSize(status), DesignedSize(designed::kStatusClient, dpi));
        program.WaitIdle();
        SaveScreenshot(status, L"status-window" + suffix);
        EXPECT_EQ(program.WaitExit(), 0u);
    }
}

// Counts the pixels of `colour` inside `r` (client coordinates of `window`) on screen.
int PixelsOf(HWND window, RECT r, COLORREF colour) {
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    HDC screen = GetDC(nullptr);
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            count += GetPixel(screen, x, y) == colour;
    ReleaseDC(nullptr, screen);
    return count;
}

// The prompts are drawn in the tooltip-text colour, nothing else is.
TEST_F(Tolvaring, PromptsUseTheTooltipTextColour) {
    const COLORREF marker = RGB(200, 0, 0);
    const int element = COLOR_INFOTEXT;
    const COLORREF before = GetSysColor(COLOR_INFOTEXT);
    ASSERT_TRUE(SetSysColors(1, &element, &marker));
    Program program(work);
    HWND setup = program.WaitWindow(kSetupCaption);
    program.WaitIdle(); // painted, so the colours asked for can be seen
    int prompts[2] = {}, others = 0;
    if (setup) {
        prompts[0] =
            PixelsOf(setup, ClientRectIn(Child(setup, frmSetup::kIdLblInfo0), setup), marker);
        prompts[1] =
            PixelsOf(setup, ClientRectIn(Child(setup, frmSetup::kIdLblInfo1), setup), marker);
        for (int id : {frmSetup::kIdCmdOkay, frmSetup::kIdCmdCancel})
            others += PixelsOf(setup, ClientRectIn(Child(setup, id), setup), marker);
        RECT caption = ClientRectIn(Child(setup, frmSetup::kIdFrame0), setup);
        caption.bottom = caption.top + 12;
        others += PixelsOf(setup, caption, marker);
        PostMessageW(setup, WM_CLOSE, 0, 0);
    }
    SetSysColors(1, &element, &before);
    ASSERT_TRUE(setup);
    EXPECT_GT(prompts[0], 20);
    EXPECT_GT(prompts[1], 20);
    EXPECT_EQ(others, 0);
    EXPECT_EQ(program.WaitExit(), 0u);
}

} // namespace
