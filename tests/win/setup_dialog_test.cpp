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

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

std::string ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return Text(client);
}

std::string DesignedSize(SIZE twips, int dpi) {
    return Text({0, 0, MulDiv(twips.cx, dpi, 1440), MulDiv(twips.cy, dpi, 1440)});
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
        ASSERT_TRUE(h);
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
}

TEST_F(Tolvaring, SetupKeyboard) {
    const std::wstring dir = ClientFolder(L"client");
    Store(kFolderSetting, dir);
    Program program(work);
    HWND setup = program.WaitWindow(kSetupCaption);
    ASSERT_TRUE(setup);
    HWND dirList = Child(setup, frmSetup::kIdDirBearShare);
    HWND url = Child(setup, frmSetup::kIdTxtUrl);
    HWND ok = Child(setup, frmSetup::kIdCmdOkay);
    HWND cancel = Child(setup, frmSetup::kIdCmdCancel);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(setup) == dirList; }));

    // Tab walks the focus order and wraps around.
    for (HWND next : {url, ok, cancel, dirList}) {
        PressKey(FocusOf(setup), VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(setup) == next; }, 3000))
            << Narrow(ClassOf(FocusOf(setup)));
    }

    // Enter presses no button: nothing is stored and the dialog stays.
    SendMessageW(url, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"http://typed/"));
    for (HWND target : {url, ok}) {
        PostMessageW(setup, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
        PressKey(target, VK_RETURN);
    }
    program.WaitIdle(); // the keys are handled
    EXPECT_TRUE(IsWindow(setup));
    EXPECT_EQ(Stored(kUrlSetting), L"<none>");

    // Alt+O stores; the dialog stays open.
    PressAltKey(setup, L'o');
    EXPECT_TRUE(WaitUntil([&] { return Stored(kUrlSetting) == L"http://typed/"; }, 3000));
    EXPECT_TRUE(IsWindow(setup));

    // Esc presses Abbrechen: the dialog goes and the program ends; unsaved edits are lost.
    SendMessageW(url, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"http://unsaved/"));
    PressKey(FocusOf(setup), VK_ESCAPE);
    EXPECT_EQ(program.WaitExit(10000), 0u);
    EXPECT_EQ(Stored(kUrlSetting), L"http://typed/");
}

TEST_F(Tolvaring, AltAClosesWithoutSaving) {
    Program program(work);
    HWND setup = program.WaitWindow(kSetupCaption);
    ASSERT_TRUE(setup);
    SendMessageW(Child(setup, frmSetup::kIdTxtUrl), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"http://x/"));
    PressAltKey(setup, L'a');
    EXPECT_EQ(program.WaitExit(10000), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kCompanyKey));
}

TEST_F(Tolvaring, OkStoresBothSettingsAsTheyStandAndTheNextStartDetects) {
    const std::wstring dir = ClientFolder(L"client");
    CreateDirectoryW((dir + L"\\Sub").c_str(), nullptr);
    Store(kFolderSetting, dir);
    {
        Program program(work);
        HWND setup = program.WaitWindow(kSetupCaption);
        ASSERT_TRUE(setup);
        HWND list = Child(setup, frmSetup::kIdDirBearShare);
        // Open the subfolder: it is the entry right after the chain down to `dir`.
        const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        ASSERT_GE(count, 2);
        SendMessageW(list, LB_SETCURSEL, count - 1, 0);
        EXPECT_EQ(TextOf(list), dir); // a highlight alone changes nothing
        PressKey(list, VK_RETURN);
        ASSERT_TRUE(WaitUntil([&] { return TextOf(list) == dir + L"\\Sub"; }, 3000));
        // And back up: the entry of `dir` in the chain.
        SendMessageW(list, LB_SETCURSEL, SendMessageW(list, LB_GETCOUNT, 0, 0) - 2, 0);
        SendMessageW(setup, WM_COMMAND, MAKEWPARAM(frmSetup::kIdDirBearShare, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(list));
        ASSERT_TRUE(WaitUntil([&] { return TextOf(list) == dir; }, 3000));

        SendMessageW(Child(setup, frmSetup::kIdTxtUrl), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(PageUrl(L"/ip?ip=203.0.113.3").c_str()));
        Click(Child(setup, frmSetup::kIdCmdOkay));
        EXPECT_TRUE(
            WaitUntil([&] { return Stored(kUrlSetting) == PageUrl(L"/ip?ip=203.0.113.3"); }));
        EXPECT_EQ(Stored(kFolderSetting), dir);
        EXPECT_TRUE(IsWindow(setup)); // OK leaves the dialog open and detects nothing
        EXPECT_FALSE(FileExists(dir + L"\\FreePeers.ini"));
        EXPECT_EQ(KeyClass(HKEY_CURRENT_USER, kSettingsKey), "X");
        PostMessageW(setup, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitExit(), 0u);
    }
    Program next(work);
    EXPECT_EQ(next.WaitExit(), 0u);
    EXPECT_NE(ReadFileText(dir + L"\\FreePeers.ini").find(L"forcedIP=\"203.0.113.3\""),
              std::wstring::npos);
}

TEST_F(Tolvaring, AnEmptyAddressIsStoredAndTheNextStartAsksAgain) {
    const std::wstring dir = ClientFolder(L"client");
    StoreSettings(dir, L"http://old/");
    {
        Program program(work);
        HWND box = WaitMessageBox(program); // http://old/ cannot be reached
        ASSERT_TRUE(box);
        Click(GetDlgItem(box, IDOK));
        program.WaitExit();
    }
    Store(kUrlSetting, L"");
    Program program(work);
    HWND setup = program.WaitWindow(kSetupCaption);
    ASSERT_TRUE(setup);
    SendMessageW(Child(setup, frmSetup::kIdTxtUrl), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Click(Child(setup, frmSetup::kIdCmdOkay));
    EXPECT_TRUE(WaitUntil([&] {
        const RawValue raw = ReadRawValue(HKEY_CURRENT_USER, kSettingsKey, "URL");
        return raw.exists && raw.bytes == std::string("\0", 1);
    }));
    PostMessageW(setup, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitExit(), 0u);
    Program again(work);
    HWND setupAgain = again.WaitWindow(kSetupCaption);
    EXPECT_TRUE(setupAgain);
    PostMessageW(setupAgain, WM_CLOSE, 0, 0);
    EXPECT_EQ(again.WaitExit(), 0u);
}

TEST_F(Tolvaring, ARemovedFolderLeavesTheListAtItsStartAndTheAddressFilledIn) {
    const std::wstring gone = ClientFolder(L"gone", false);
    RemoveDirectoryW(gone.c_str());
    StoreSettings(gone, L"");
    Program program(work);
    HWND setup = program.WaitWindow(kSetupCaption);
    ASSERT_TRUE(setup);
    EXPECT_EQ(TextOf(Child(setup, frmSetup::kIdDirBearShare)), work);
    PostMessageW(setup, WM_CLOSE, 0, 0);
    program.WaitExit();

    // The same with the address present: the no-address question leads to the dialog.
    Store(kUrlSetting, PageUrl(L"/echo?body=nichts"));
    Program second(work);
    HWND setup2 = SetupAfterYes(second);
    ASSERT_TRUE(setup2);
    EXPECT_EQ(TextOf(Child(setup2, frmSetup::kIdDirBearShare)), work);
    EXPECT_EQ(TextOf(Child(setup2, frmSetup::kIdTxtUrl)), PageUrl(L"/echo?body=nichts"));
    PostMessageW(setup2, WM_CLOSE, 0, 0);
    EXPECT_EQ(second.WaitExit(), 0u);
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
            HWND setup = program.WaitWindow(kSetupCaption);
            ASSERT_TRUE(setup);
            EXPECT_EQ(ClientSize(setup), DesignedSize(designed::kSetupClient, dpi));
            for (const Control& c : kControls) {
                EXPECT_EQ(Text(ClientRectIn(Child(setup, c.id), setup)),
                          Text(designed::Pixels(c.box, dpi, c.frame)))
                    << c.id;
            }
            program.WaitIdle();
            SaveScreenshot(setup, L"setup-dialog" + suffix);
            PostMessageW(setup, WM_CLOSE, 0, 0);
            EXPECT_EQ(program.WaitExit(), 0u);
        }
        StoreSettings(ClientFolder(L"client"), PageUrl(L"/slowip?delay=3&ip=192.0.2.77"));
        Program program(work);
        HWND status = program.WaitWindow(L"", L"TolvaringStatus", 15000);
        ASSERT_TRUE(status);
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
