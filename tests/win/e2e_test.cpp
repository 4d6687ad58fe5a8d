// The whole program under Wine: the real Tolvaring.exe, the real registry, a loopback page
// and a stand-in client that records how it was started.
#include "common/Ansi.h"
#include "startup/frmSetup.h"
#include "tests/win/Driver.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

namespace {

const std::string kSettingsKey = "Software\\Harlund\\Tolvaring\\1.0";
const wchar_t kSetupCaption[] = L"Tolvaring? - Setup";
const wchar_t kQuestion[] =
    L"Es konnte keine IpAdresse ermittelt werden. Wollen Sie die Website \u00E4ndern?";

class Tolvaring : public testing::Test {
  protected:
    void SetUp() override {
        DeleteTree(HKEY_CURRENT_USER, "Software\\Harlund");
        work = MakeTempFolder(L"work");
    }
    void TearDown() override { DeleteTree(HKEY_CURRENT_USER, "Software\\Harlund"); }

    // A client folder with the stand-in BearShare.exe (unless told otherwise).
    std::wstring ClientFolder(const std::wstring& name, bool withClient = true) {
        const std::wstring folder = MakeTempFolder(name);
        if (withClient)
            CopyFileW((ExeFolder() + L"\\fakeclient.exe").c_str(),
                      (folder + L"\\BearShare.exe").c_str(), FALSE);
        return folder;
    }
    static void Store(const char* name, const std::wstring& value) {
        WriteRawValue(HKEY_CURRENT_USER, kSettingsKey, name, REG_SZ, ToAnsi(value) + '\0');
    }
    static std::wstring Stored(const char* name) {
        const RawValue raw = ReadRawValue(HKEY_CURRENT_USER, kSettingsKey, name);
        return raw.exists ? FromAnsi(raw.bytes.substr(0, raw.bytes.find('\0'))) : L"<none>";
    }
    static std::wstring StartRecord(const std::wstring& folder) {
        const std::wstring file = folder + L"\\started.txt";
        WaitUntil([&] { return FileExists(file) && !ReadFileText(file).empty(); }, 10000);
        Sleep(100);
        return ReadFileText(file);
    }
    // Answers the no-address question with Yes and returns the setup dialog it opens.
    HWND SetupAfterYes(Program& program) {
        HWND box = WaitMessageBox(program);
        if (!box) return nullptr;
        Click(GetDlgItem(box, IDYES));
        return program.WaitWindow(kSetupCaption);
    }
    HWND WaitMessageBox(Program& program) {
        HWND box = program.WaitWindow(L"Tolvaring", L"#32770");
        if (!box)
            for (HWND h : program.Windows())
                ADD_FAILURE() << "window: [" << Narrow(ClassOf(h)) << "] [" << Narrow(CaptionOf(h))
                              << "]";
        return box;
    }

    std::wstring work;
};

// ---- Courses that end without a window ------------------------------------------------

TEST_F(Tolvaring, HandOffWritesTheAddressAndStartsTheClient) {
    const std::wstring dir = ClientFolder(L"client");
    WriteFileBytes(dir + L"\\FreePeers.ini",
                   "[General]\r\nname=me\r\n[Network]\r\nforcedIP=\"1.1.1.1\"\r\nport=6346\r\n");
    Store("BearShareDirectory", dir);
    Store("URL", PageUrl(L"/ip?ip=192.0.2.7"));

    Program program(work);
    EXPECT_EQ(program.WaitExit(), 0u);
    const std::wstring ini = ReadFileText(dir + L"\\FreePeers.ini");
    EXPECT_NE(ini.find(L"forcedIP=\"192.0.2.7\"\r\n"), std::wstring::npos) << Narrow(ini);
    EXPECT_NE(ini.find(L"bForcedIP=Yes"), std::wstring::npos) << Narrow(ini);
    EXPECT_NE(ini.find(L"[General]\r\nname=me"), std::wstring::npos) << Narrow(ini);
    EXPECT_NE(ini.find(L"port=6346"), std::wstring::npos) << Narrow(ini);
    EXPECT_EQ(ini.find(L"1.1.1.1"), std::wstring::npos);

    const std::wstring record = StartRecord(dir);
    EXPECT_NE(record.find(L"module=" + dir + L"\\BearShare.exe"), std::wstring::npos)
        << Narrow(record);
    EXPECT_NE(record.find(L"cmdline=\"" + dir + L"\\BearShare.exe\"\r\n"), std::wstring::npos)
        << Narrow(record);
    EXPECT_NE(record.find(L"show=1\r\n"), std::wstring::npos) << Narrow(record);
    EXPECT_NE(record.find(L"cwd=" + work + L"\r\n"), std::wstring::npos) << Narrow(record);
}

struct FolderCase {
    const char* name;
    std::wstring folder;     // as stored
    std::wstring realFolder; // where the files must appear
};

TEST_F(Tolvaring, HandOffIntoFoldersOfEveryShape) {
    const std::wstring blanks = ClientFolder(L"Program Files Test") + L"\\Bear Share";
    CreateDirectoryW(blanks.c_str(), nullptr);
    CopyFileW((ExeFolder() + L"\\fakeclient.exe").c_str(), (blanks + L"\\BearShare.exe").c_str(),
              FALSE);
    // The fixture maps drive T: onto a folder of its own.
    CopyFileW((ExeFolder() + L"\\fakeclient.exe").c_str(), L"T:\\BearShare.exe", FALSE);
    DeleteFileW(L"T:\\FreePeers.ini");
    DeleteFileW(L"T:\\started.txt");
    const FolderCase cases[] = {
        {"missing ini is created", ClientFolder(L"fresh"), L""},
        {"blanks in the path", blanks, L""},
        {"drive root", L"T:\\", L"T:"},
        // Through the ANSI calls of code page 1252, as on a German system.
        {"umlauts", ClientFolder(L"M\u00FCller \u00C4\u00D6\u00DC \u00E4\u00F6\u00FC\u00DF"), L""},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring real = c.realFolder.empty() ? c.folder : c.realFolder;
        Store("BearShareDirectory", c.folder);
        Store("URL", PageUrl(L"/ip?ip=198.51.100.9"));
        Program program(work);
        EXPECT_EQ(program.WaitExit(), 0u);
        const std::wstring ini = ReadFileText(real + L"\\FreePeers.ini");
        EXPECT_EQ(ini, L"[Network]\r\nforcedIP=\"198.51.100.9\"\r\nbForcedIP=Yes\r\n");
        const std::wstring record = StartRecord(real);
        // The path exactly as built: folder text, a backslash, the file name (the record
        // is UTF-8, read byte by byte).
        const std::wstring expected = L"cmdline=\"" + c.folder + L"\\BearShare.exe\"";
        std::string utf8(expected.size() * 3, '\0');
        utf8.resize(WideCharToMultiByte(CP_UTF8, 0, expected.c_str(), -1, utf8.data(),
                                        static_cast<int>(utf8.size()), nullptr, nullptr) -
                    1);
        EXPECT_NE(record.find(std::wstring(utf8.begin(), utf8.end())), std::wstring::npos)
            << Narrow(record);
    }
}

TEST_F(Tolvaring, NoAddressAndNoEndsWithNothingWritten) {
    const std::wstring dir = ClientFolder(L"client");
    Store("BearShareDirectory", dir);
    Store("URL", PageUrl(L"/echo?body=Hier%20steht%20keine%20Adresse."));
    Program program(work);
    HWND box = WaitMessageBox(program);
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), kQuestion);
    EXPECT_EQ(program.Windows().size(), 1u); // the question alone, no other window
    EXPECT_TRUE(GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO));
    EXPECT_FALSE(GetDlgItem(box, IDCANCEL));
    // The buttons speak the system's language: German on a German system.
    const bool german = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN;
    EXPECT_EQ(TextOf(GetDlgItem(box, IDYES)), german ? L"&Ja" : L"&Yes");
    EXPECT_EQ(TextOf(GetDlgItem(box, IDNO)), german ? L"&Nein" : L"&No");
    SaveScreenshot(box, L"question-box");
    Click(GetDlgItem(box, IDNO));
    EXPECT_EQ(program.WaitExit(), 0u);
    EXPECT_FALSE(FileExists(dir + L"\\FreePeers.ini"));
    EXPECT_FALSE(FileExists(dir + L"\\started.txt"));
}

TEST_F(Tolvaring, NoAddressAndYesOpensSetupWithTheStoredValues) {
    const std::wstring dir = ClientFolder(L"client");
    const std::wstring url = PageUrl(L"/echo?body=1.2.3");
    Store("BearShareDirectory", dir);
    Store("URL", url);
    Program program(work);
    HWND setup = SetupAfterYes(program);
    ASSERT_TRUE(setup);
    EXPECT_EQ(TextOf(Child(setup, frmSetup::kIdTxtUrl)), url);
    EXPECT_EQ(TextOf(Child(setup, frmSetup::kIdDirBearShare)), dir);
    PostMessageW(setup, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitExit(), 0u);
    EXPECT_FALSE(FileExists(dir + L"\\FreePeers.ini"));
}

// ---- Unhandled failures: a German box that names what failed, exit code 1 -------------

struct FailureCase {
    const char* name;
    bool withClient;
    std::wstring url;
    std::wstring mustName; // beside the reason
    bool iniWritten;
};

TEST_F(Tolvaring, FailuresAreReportedAndEndTheProgram) {
    const FailureCase cases[] = {
        {"unreachable page", true, L"http://127.0.0.1:1/ip", L"http://127.0.0.1:1/ip", false},
        {"404 page with an address", true, PageUrl(L"/echo?status=404&body=5.6.7.8"),
         L"HTTP-Status 404", false},
        {"missing client", false, PageUrl(L"/ip?ip=192.0.2.8"), L"\\BearShare.exe", true},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring dir = ClientFolder(L"failing", c.withClient);
        Store("BearShareDirectory", dir);
        Store("URL", c.url);
        Program program(work);
        HWND box = WaitMessageBox(program);
        ASSERT_TRUE(box);
        const std::wstring text = MessageBoxText(box);
        EXPECT_NE(text.find(c.mustName), std::wstring::npos) << Narrow(text);
        EXPECT_NE(text.find(L"konnte nicht"), std::wstring::npos) << Narrow(text);
        EXPECT_EQ(program.Windows().size(), 1u);
        Click(GetDlgItem(box, IDOK));
        EXPECT_EQ(program.WaitExit(), 1u);
        EXPECT_EQ(FileExists(dir + L"\\FreePeers.ini"), c.iniWritten);
        EXPECT_FALSE(FileExists(dir + L"\\started.txt"));
    }
}

// ---- The setup dialog -------------------------------------------------------------------

struct MissingCase {
    const char* name;
    bool storeDir, storeUrl;
};

TEST_F(Tolvaring, AMissingSettingOpensSetupAtOnce) {
    const MissingCase cases[] = {{"first start", false, false},
                                 {"only the folder", true, false},
                                 {"only the address", false, true}};
    for (const MissingCase& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteTree(HKEY_CURRENT_USER, "Software\\Harlund");
        const std::wstring dir = ClientFolder(L"client");
        if (c.storeDir) Store("BearShareDirectory", dir);
        if (c.storeUrl) Store("URL", PageUrl(L"/ip?ip=192.0.2.1"));
        Program program(work);
        HWND setup = program.WaitWindow(kSetupCaption);
        ASSERT_TRUE(setup);
        EXPECT_EQ(program.Windows().size(), 1u); // no status window, no message box
        PostMessageW(setup, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitExit(), 0u);
        EXPECT_EQ(Stored("BearShareDirectory"), c.storeDir ? dir : L"<none>");
        EXPECT_EQ(Stored("URL"), c.storeUrl ? PageUrl(L"/ip?ip=192.0.2.1") : L"<none>");
        EXPECT_FALSE(FileExists(dir + L"\\FreePeers.ini"));
        if (!c.storeDir && !c.storeUrl) { // nothing at all written on a first start
            EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Harlund"));
        }
    }
}

struct Geometry {
    int id;
    const wchar_t* cls;
    const wchar_t* text;
    RECT at96; // left, top, right, bottom in client pixels at 96 dpi
};

TEST_F(Tolvaring, SetupDialogLayoutAt96Dpi) {
    Program program(work);
    HWND setup = program.WaitWindow(kSetupCaption);
    ASSERT_TRUE(setup);
    Sleep(300);
    SaveScreenshot(setup, L"setup-dialog");

    const LONG style = GetWindowLongW(setup, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(GetWindow(setup, GW_OWNER), nullptr);

    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (dpi != 96) GTEST_SKIP() << "screen is at " << dpi << " dpi";
    RECT client{};
    GetClientRect(setup, &client);
    EXPECT_EQ(client.right, 434);
    EXPECT_EQ(client.bottom, 212);

    const Geometry controls[] = {
        {frmSetup::kIdFrame0, L"Button", L"BearShare", {8, 8, 185, 201}},
        {frmSetup::kIdDirBearShare, L"ListBox", nullptr, {16, 64, 177, 190}},
        {frmSetup::kIdLblInfo0,
         L"Static",
         L"Bitte w\u00E4hlen Sie das BearShareverzeichnis aus:",
         {16, 32, 177, 63}},
        {frmSetup::kIdFrame1, L"Button", L"Allgemein", {192, 8, 425, 97}},
        {frmSetup::kIdLblInfo1,
         L"Static",
         L"Geben Sie hier die Adresse (URL) eine Website an, welche ihre IP anzeigt:",
         {200, 32, 417, 71}},
        {frmSetup::kIdTxtUrl, L"Edit", L"", {200, 64, 417, 83}},
        {frmSetup::kIdCmdOkay, L"Button", L"&OK", {192, 176, 305, 201}},
        {frmSetup::kIdCmdCancel, L"Button", L"&Abbrechen", {312, 176, 425, 201}},
    };
    HWND previous = nullptr;
    for (const Geometry& g : controls) {
        SCOPED_TRACE(g.id);
        HWND h = Child(setup, g.id);
        ASSERT_TRUE(h);
        EXPECT_EQ(_wcsicmp(ClassOf(h).c_str(), g.cls), 0) << Narrow(ClassOf(h));
        if (g.text) {
            EXPECT_EQ(TextOf(h), g.text);
        }
        const RECT r = ClientRectIn(h, setup);
        EXPECT_EQ(r.left, g.at96.left);
        EXPECT_EQ(r.top, g.at96.top);
        EXPECT_EQ(r.right, g.at96.right);
        EXPECT_EQ(r.bottom, g.at96.bottom);
        // Tab index: the controls follow each other in this order.
        EXPECT_EQ(GetWindow(h, GW_HWNDPREV), previous);
        previous = h;
    }
    EXPECT_FALSE(GetWindowLongW(Child(setup, frmSetup::kIdCmdOkay), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_FALSE(GetWindowLongW(Child(setup, frmSetup::kIdCmdCancel), GWL_STYLE) &
                 BS_DEFPUSHBUTTON);
}

TEST_F(Tolvaring, SetupKeyboard) {
    const std::wstring dir = ClientFolder(L"client");
    Store("BearShareDirectory", dir);
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
    Sleep(500);
    EXPECT_TRUE(IsWindow(setup));
    EXPECT_EQ(Stored("URL"), L"<none>");

    // Alt+O stores; the dialog stays open.
    PressAltKey(setup, L'o');
    EXPECT_TRUE(WaitUntil([&] { return Stored("URL") == L"http://typed/"; }, 3000));
    EXPECT_TRUE(IsWindow(setup));

    // Esc presses Abbrechen: the dialog goes and the program ends; unsaved edits are lost.
    SendMessageW(url, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"http://unsaved/"));
    PressKey(FocusOf(setup), VK_ESCAPE);
    EXPECT_EQ(program.WaitExit(10000), 0u);
    EXPECT_EQ(Stored("URL"), L"http://typed/");
}

TEST_F(Tolvaring, AltAClosesWithoutSaving) {
    Program program(work);
    HWND setup = program.WaitWindow(kSetupCaption);
    ASSERT_TRUE(setup);
    SendMessageW(Child(setup, frmSetup::kIdTxtUrl), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"http://x/"));
    PressAltKey(setup, L'a');
    EXPECT_EQ(program.WaitExit(10000), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Harlund"));
}

TEST_F(Tolvaring, OkStoresBothSettingsAsTheyStandAndTheNextStartDetects) {
    const std::wstring dir = ClientFolder(L"client");
    CreateDirectoryW((dir + L"\\Sub").c_str(), nullptr);
    Store("BearShareDirectory", dir);
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
        EXPECT_TRUE(WaitUntil([&] { return Stored("URL") == PageUrl(L"/ip?ip=203.0.113.3"); }));
        EXPECT_EQ(Stored("BearShareDirectory"), dir);
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
    Store("BearShareDirectory", dir);
    Store("URL", L"http://old/");
    {
        Program program(work);
        HWND box = WaitMessageBox(program); // http://old/ cannot be reached
        ASSERT_TRUE(box);
        Click(GetDlgItem(box, IDOK));
        program.WaitExit();
    }
    Store("URL", L"");
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
    Store("BearShareDirectory", gone);
    Store("URL", L"");
    Program program(work);
    HWND setup = program.WaitWindow(kSetupCaption);
    ASSERT_TRUE(setup);
    EXPECT_EQ(TextOf(Child(setup, frmSetup::kIdDirBearShare)), work);
    PostMessageW(setup, WM_CLOSE, 0, 0);
    program.WaitExit();

    // The same with the address present: the no-address question leads to the dialog.
    Store("URL", PageUrl(L"/echo?body=nichts"));
    Program second(work);
    HWND setup2 = SetupAfterYes(second);
    ASSERT_TRUE(setup2);
    EXPECT_EQ(TextOf(Child(setup2, frmSetup::kIdDirBearShare)), work);
    EXPECT_EQ(TextOf(Child(setup2, frmSetup::kIdTxtUrl)), PageUrl(L"/echo?body=nichts"));
    PostMessageW(setup2, WM_CLOSE, 0, 0);
    EXPECT_EQ(second.WaitExit(), 0u);
}

} // namespace

namespace {

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
        DeleteTree(HKEY_CURRENT_USER, "Software\\Harlund");
        {
            Program program(work);
            HWND setup = program.WaitWindow(kSetupCaption);
            ASSERT_TRUE(setup);
            RECT client{};
            GetClientRect(setup, &client);
            EXPECT_EQ(client.right, MulDiv(6510, dpi, 1440));
            EXPECT_EQ(client.bottom, MulDiv(3180, dpi, 1440));
            const RECT ok = ClientRectIn(Child(setup, frmSetup::kIdCmdOkay), setup);
            EXPECT_EQ(ok.left, MulDiv(2880, dpi, 1440));
            EXPECT_EQ(ok.bottom - ok.top, MulDiv(375, dpi, 1440));
            const RECT url = ClientRectIn(Child(setup, frmSetup::kIdTxtUrl), setup);
            EXPECT_EQ(url.left, MulDiv(2880 + 120, dpi, 1440));
            Sleep(300);
            SaveScreenshot(setup, L"setup-dialog" + suffix);
            PostMessageW(setup, WM_CLOSE, 0, 0);
            EXPECT_EQ(program.WaitExit(), 0u);
        }
        const std::wstring dir = ClientFolder(L"client");
        Store("BearShareDirectory", dir);
        Store("URL", PageUrl(L"/slowip?delay=3&ip=192.0.2.77"));
        Program program(work);
        HWND status = program.WaitWindow(L"", L"TolvaringStatus", 15000);
        ASSERT_TRUE(status);
        RECT client{};
        GetClientRect(status, &client);
        EXPECT_EQ(client.right, MulDiv(4680, dpi, 1440));
        EXPECT_EQ(client.bottom, MulDiv(705, dpi, 1440));
        Sleep(300);
        SaveScreenshot(status, L"status-window" + suffix);
        EXPECT_EQ(program.WaitExit(), 0u);
    }
}

} // namespace

namespace {

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
    Sleep(500);
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
