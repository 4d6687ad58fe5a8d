// The courses of the whole program under Wine: the real Tolvaring.exe, the real registry,
// a loopback page and a stand-in client that records how it was started.
#include "common/ErrorText.h"
#include "common/Quote.h"
#include "startup/frmSetup.h"
#include "tests/win/ProgramTest.h"

#include <gtest/gtest.h>

namespace {

using texts::kQuestion;
using texts::kSetupCaption;

// ---- Courses that end without a window ------------------------------------------------

TEST_F(Tolvaring, HandOffWritesTheAddressAndStartsTheClient) {
    const std::wstring dir = ClientFolder(L"client");
    WriteFileBytes(dir + L"\\FreePeers.ini",
                   "[General]\r\nname=me\r\n[Network]\r\nforcedIP=\"1.1.1.1\"\r\nport=6346\r\n");
    // The full stop that ends the sentence is no part of the address.
    StoreSettings(dir, PageUrl(L"/echo?body=Ihre%20IP-Adresse%20lautet%2084.12.3.4."));

    Program program(work);
    EXPECT_EQ(program.WaitExit(), 0u);
    const std::wstring ini = ReadFileText(dir + L"\\FreePeers.ini");
    EXPECT_NE(ini.find(L"forcedIP=\"84.12.3.4\"\r\n"), std::wstring::npos) << Narrow(ini);
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
    // What the test build stands in for (TOLVARING_TEST_LAUNCH): "740", a client that needs
    // elevation, which CreateProcess refuses and the shell starts after Windows asks.
    const wchar_t* launch = L"";
};

TEST_F(Tolvaring, HandOffIntoFoldersOfEveryShape) {
    const std::wstring blanks = ClientFolder(L"Program Files Test") + L"\\Bear Share";
    CreateDirectoryW(blanks.c_str(), nullptr);
    PutClient(blanks);
    // The fixture maps drive T: onto a folder of its own.
    PutClient(L"T:");
    DeleteFileW(L"T:\\FreePeers.ini");
    DeleteFileW(L"T:\\started.txt");
    const FolderCase cases[] = {
        {"missing ini is created", ClientFolder(L"fresh"), L""},
        {"blanks in the path", blanks, L""},
        {"drive root", L"T:\\", L"T:"},
        // Through the ANSI calls of code page 1252, as on a German system.
        {"umlauts", ClientFolder(L"M\u00FCller \u00C4\u00D6\u00DC \u00E4\u00F6\u00FC\u00DF"), L""},
        {"client that needs elevation", ClientFolder(L"elevated"), L"", L"740"},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring real = c.realFolder.empty() ? c.folder : c.realFolder;
        StoreSettings(c.folder, PageUrl(L"/ip?ip=198.51.100.9"));
        const std::wstring windowLog = work + L"\\windows.txt";
        DeleteFileW(windowLog.c_str());
        SetEnvironmentVariableW(L"TOLVARING_TEST_LAUNCH", c.launch);
        SetEnvironmentVariableW(L"TOLVARING_TEST_WINDOW_LOG", windowLog.c_str());
        Program program(work, *c.launch ? L"TolvaringTest.exe" : L"Tolvaring.exe");
        SetEnvironmentVariableW(L"TOLVARING_TEST_LAUNCH", nullptr);
        SetEnvironmentVariableW(L"TOLVARING_TEST_WINDOW_LOG", nullptr);
        EXPECT_EQ(program.WaitExit(), 0u);
        // The elevation prompt is asked for over our status window, made active for it.
        if (*c.launch) {
            EXPECT_EQ(ReadFileText(windowLog), L"prompt over TolvaringStatus, active\r\n");
        }
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
        EXPECT_NE(record.find(L"show=1\r\n"), std::wstring::npos) << Narrow(record);
    }
}

TEST_F(Tolvaring, NoAddressAndNoEndsWithNothingWritten) {
    const std::wstring dir = ClientFolder(L"client");
    StoreSettings(dir, PageUrl(L"/echo?body=Hier%20steht%20keine%20Adresse."));
    Program program(work);
    HWND box = WaitMessageBox(program);
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), kQuestion);
    EXPECT_EQ(program.Windows().size(), 1u); // the question alone, no other window
    EXPECT_TRUE(GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO));
    EXPECT_FALSE(GetDlgItem(box, IDCANCEL));
    EXPECT_TRUE(IsCommonControl6(GetDlgItem(box, IDYES), L"BUTTON")); // with visual styles
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
    StoreSettings(dir, url);
    Program program(work);
    HWND setup = SetupAfterYes(program);
    ASSERT_TRUE(setup);
    EXPECT_EQ(TextOf(Child(setup, frmSetup::kIdTxtUrl)), url);
    EXPECT_EQ(TextOf(Child(setup, frmSetup::kIdDirBearShare)), dir);
    EXPECT_EQ(program.Close(setup), 0u);
    EXPECT_FALSE(FileExists(dir + L"\\FreePeers.ini"));
}

// ---- Unhandled failures: a German box that names what failed, exit code 1 -------------

struct FailureCase {
    const char* name;
    bool withClient;
    std::wstring url;
    // How the message begins, for the client folder and the address.
    std::wstring (*begins)(const std::wstring& dir, const std::wstring& url);
    bool iniWritten;
    const wchar_t* launch = L""; // as in FolderCase; "decline": the user says No at the prompt
    // The answer: OK, or for a box about the folder Nein, or Ja, which opens the setup dialog.
    int answer = IDOK;
    bool clientIsNoProgram = false;   // a BearShare.exe that Windows cannot start
    const wchar_t* picture = nullptr; // the name of the box's screenshot, if one is saved
};

TEST_F(Tolvaring, FailuresAreReportedAndEndTheProgram) {
    const auto missing = [](const std::wstring& dir, const std::wstring&) {
        return texts::OfferingToChangeFolder(texts::ClientMissing(Quote(dir + L"\\BearShare.exe")));
    };
    const FailureCase cases[] = {
        {"unreachable page", true, L"http://127.0.0.1:1/ip",
         [](const std::wstring&, const std::wstring& url) {
             return texts::PageFailed(Quote(url), L"");
         },
         false},
        // Found before the page is fetched, and nothing written into a folder without it.
        {"missing client, Nein", false, PageUrl(L"/ip?ip=192.0.2.8"), missing, false, L"", IDNO,
         false, L"client-missing-box"},
        {"missing client, Ja", false, PageUrl(L"/ip?ip=192.0.2.8"), missing, false, L"", IDYES},
        // Peers cannot reach it: the client never announces it.
        {"an address of the own network, Ja", true, PageUrl(L"/ip?ip=192.168.178.20"),
         [](const std::wstring&, const std::wstring& url) {
             return texts::AddressRefused(Quote(url), Quote(L"192.168.178.20"), texts::kOwnNetwork);
         },
         false, L"", IDYES, false, L"address-refused-box"},
        {"the provider's shared network, Ja", true, PageUrl(L"/ip?ip=100.64.1.2"),
         [](const std::wstring&, const std::wstring& url) {
             return texts::AddressRefused(Quote(url), Quote(L"100.64.1.2"), texts::kSharedNetwork);
         },
         false, L"", IDYES},
        // The page's address as the box shows it: without its password.
        {"an address of the own network from a page with a password, Ja", true,
         L"http://nutzer:geheim@" + PageUrl(L"/ip?ip=10.9.8.7").substr(7),
         [](const std::wstring&, const std::wstring& url) {
             return texts::AddressRefused(Quote(L"http://nutzer:***@" + url.substr(21)),
                                          Quote(L"10.9.8.7"), texts::kOwnNetwork);
         },
         false, L"", IDYES},
        // The box names the page that showed it, too.
        {"an address of the own network after a redirect, Ja", true,
         PageUrl(L"/redirect?to=/ip%3Fip%3D10.1.2.3"),
         [](const std::wstring&, const std::wstring& url) {
             return texts::AddressRefused(
                 texts::RedirectedPage(Quote(url), Quote(PageUrl(L"/ip?ip=10.1.2.3"))),
                 Quote(L"10.1.2.3"), texts::kOwnNetwork);
         },
         false, L"", IDYES},
        // The page a redirect led to keeps its password hidden too.
        {"a redirect to a page with a password, Ja", true,
         PageUrl(L"/redirect?to=http%3A%2F%2Fnutzer%3Ageheim%40127.0.0.1%3A" +
                 std::to_wstring(PageServerPort()) + L"%2Fip%3Fip%3D10.1.2.4"),
         [](const std::wstring&, const std::wstring& url) {
             return texts::AddressRefused(
                 texts::RedirectedPage(Quote(url),
                                       Quote(L"http://nutzer:***@" +
                                             PageUrl(L"/ip?ip=10.1.2.4").substr(7))),
                 Quote(L"10.1.2.4"), texts::kOwnNetwork);
         },
         false, L"", IDYES},
        // No other page would help: the box says what does, and offers BearShare without a
        // forced address instead of another page.
        {"the router's end of a DS-Lite tunnel, Nein", true, PageUrl(L"/ip?ip=192.0.0.2"),
         [](const std::wstring&, const std::wstring& url) {
             return texts::DsLiteAddress(Quote(url), Quote(L"192.0.0.2"));
         },
         false, L"", IDNO, false, L"ds-lite-box"},
        {"a BearShare.exe that is no program", true, PageUrl(L"/ip?ip=192.0.2.52"),
         [](const std::wstring& dir, const std::wstring&) {
             const std::wstring program = dir + L"\\BearShare.exe";
             return texts::OfferingToChangeFolder(texts::ProgramNotStarted(
                 Quote(program), ErrorText(ERROR_BAD_EXE_FORMAT, program)));
         },
         false, L"", IDNO, true},
        {"elevation declined", true, PageUrl(L"/ip?ip=192.0.2.51"),
         [](const std::wstring& dir, const std::wstring&) {
             return texts::ProgramNotStarted(Quote(dir + L"\\BearShare.exe"),
                                             texts::ErrorNumber(ERROR_CANCELLED));
         },
         true, L"740 decline"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring dir = ClientFolder(L"failing", c.withClient);
        if (c.clientIsNoProgram) WriteFileBytes(dir + L"\\BearShare.exe", "kein Programm");
        StoreSettings(dir, c.url);
        SetEnvironmentVariableW(L"TOLVARING_TEST_LAUNCH", c.launch);
        Program program(work, *c.launch ? L"TolvaringTest.exe" : L"Tolvaring.exe");
        SetEnvironmentVariableW(L"TOLVARING_TEST_LAUNCH", nullptr);
        HWND box = WaitMessageBox(program);
        EXPECT_TRUE(box);
        if (!box) continue;
        const std::wstring text = MessageBoxText(box);
        EXPECT_EQ(text.rfind(c.begins(dir, c.url), 0), 0u) << Narrow(text);
        EXPECT_EQ(program.Windows().size(), 1u);
        if (c.picture && WaitUntil([&] { return GetForegroundWindow() == box; }, 3000))
            SaveScreenshot(box, c.picture);
        Click(GetDlgItem(box, c.answer));
        if (c.answer == IDYES) {
            HWND setup = WaitSetup(program);
            EXPECT_EQ(setup ? TextOf(Child(setup, frmSetup::kIdTxtUrl)) : L"", c.url);
            EXPECT_EQ(setup ? program.Close(setup) : 99u, 0u);
        } else {
            EXPECT_EQ(program.WaitExit(), 1u);
        }
        EXPECT_EQ(FileExists(dir + L"\\FreePeers.ini"), c.iniWritten);
        EXPECT_FALSE(FileExists(dir + L"\\started.txt"));
    }
}

// ---- The setup dialog -------------------------------------------------------------------

struct MissingCase {
    const char* name;
    bool storeDir, storeUrl;
    const wchar_t* arguments = L"";
    DWORD exitCode = 0; // once the dialog is closed
};

// Also, at any time, when asked for: nothing is fetched then.
TEST_F(Tolvaring, AMissingSettingOpensSetupAtOnce) {
    const MissingCase cases[] = {{"first start", false, false},
                                 {"only the folder", true, false},
                                 {"only the address", false, true},
                                 {"both stored, /einstellungen", true, true, L"/einstellungen"},
                                 {"only the address, /SETUP", false, true, L"egal /SETUP"},
                                 // Nothing checked: a script must not read "handed on".
                                 {"only the folder, /pruefen", true, false, L"/pruefen", 1}};
    for (const MissingCase& c : cases) {
        SCOPED_TRACE(c.name);
        ForgetSettings();
        const std::wstring dir = ClientFolder(L"client");
        if (c.storeDir) Store(kFolderSetting, dir);
        if (c.storeUrl) Store(kUrlSetting, PageUrl(L"/ip?ip=192.0.2.1"));
        Program program(work, L"Tolvaring.exe", c.arguments);
        HWND setup = WaitSetup(program);
        if (!setup) continue;
        EXPECT_EQ(program.Windows().size(), 1u); // no status window, no message box
        EXPECT_EQ(TextOf(Child(setup, frmSetup::kIdTxtUrl)),
                  c.storeUrl ? PageUrl(L"/ip?ip=192.0.2.1") : L"");
        EXPECT_EQ(program.Close(setup), c.exitCode);
        EXPECT_EQ(Stored(kFolderSetting), c.storeDir ? dir : L"<none>");
        EXPECT_EQ(Stored(kUrlSetting), c.storeUrl ? PageUrl(L"/ip?ip=192.0.2.1") : L"<none>");
        EXPECT_FALSE(FileExists(dir + L"\\FreePeers.ini"));
        if (!c.storeDir && !c.storeUrl) { // nothing at all written on a first start
            EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kCompanyKey));
        }
    }
}

} // namespace
