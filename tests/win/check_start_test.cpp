// The check start: what the page gives, what the router says and where BearShare reads,
// in one box, with nothing written or started.
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

// How the client stands: in a folder of its own; in a protected folder, with a copy in
// VirtualStore or none yet; or not virtualized, as Tolvaring runs elevated.
enum class CheckClient { Plain, StaleCopy, NoCopyYet, WeAreElevated };

struct CheckCase {
    const char* what;
    const wchar_t* ip;     // what the page shows; null: no address
    const wchar_t* reason; // why it would not be handed on; null: it would
    CheckClient client = CheckClient::Plain;
    bool besideSetup = false; // while another copy shows its setup dialog
    const wchar_t* arguments = L"/pruefen";
    const wchar_t* page = nullptr; // the page's body, where it is not the address alone
    bool locked = false;           // FreePeers.ini not to be written (chattr +i)
};

// The check start shows what the page gives and the file BearShare reads, as the hand-off
// would choose it, and changes nothing: the files keep their bytes and times, and the
// client created to ask its token is gone without having run.
TEST_F(Hostile, TheCheckStartShowsAndChangesNothing) {
    const CheckCase cases[] = {
        {"a public address", L"84.12.3.4", nullptr},
        {"beside another copy's setup dialog", L"84.12.3.4", nullptr, CheckClient::Plain, true},
        {"an address of the own network", L"192.168.1.5", texts::kOwnNetwork},
        {"no address", nullptr, nullptr},
        {"a stale copy that the client reads", L"84.12.3.4", nullptr, CheckClient::StaleCopy},
        // Virtualized in a protected folder, and no copy: the real file, no copy named.
        {"no copy yet", L"84.12.3.4", nullptr, CheckClient::NoCopyYet},
        // Not virtualized, in a folder not protected: the cause that applies.
        {"Tolvaring elevated", L"84.12.3.4", nullptr, CheckClient::WeAreElevated},
        {"/pr\u00FCfen", L"84.12.3.4", nullptr, CheckClient::Plain, false, L"/PR\u00DCFEN"},
        // A switch Tolvaring does not know is refused: nothing fetched, written or started.
        {"-pruefen", nullptr, nullptr, CheckClient::Plain, false, L"-pruefen"},
        // The trace page asked by its server's address names that first.
        {"the page server's own address first", L"84.12.3.4", nullptr, CheckClient::Plain, false,
         L"/pruefen", L"fl=1f1%0Ah=127.0.0.1%0Aip=84.12.3.4%0Ats=1.5"},
        {"a FreePeers.ini that cannot be written", L"84.12.3.4", nullptr, CheckClient::Plain,
         false, L"/pruefen", nullptr, true},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.what);
        const bool staleCopy = c.client == CheckClient::StaleCopy;
        const std::wstring folder =
            staleCopy || c.client == CheckClient::NoCopyYet
                ? KnownFolderPath(FOLDERID_ProgramFilesX86) + L"\\Tolvaring Test\\Check"
                : client;
        const std::wstring ini = folder + L"\\FreePeers.ini";
        const std::wstring copy =
            KnownFolderPath(FOLDERID_LocalAppData) + L"\\VirtualStore" + ini.substr(2);
        SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
        PutClient(folder);
        DeleteFileW((folder + L"\\started.txt").c_str());
        WriteFileBytes(ini, "[Network]\r\nforcedIP=\"1.1.1.1\"\r\n");
        if (staleCopy) {
            SHCreateDirectoryExW(nullptr, copy.substr(0, copy.rfind(L'\\')).c_str(), nullptr);
            WriteFileBytes(copy, "[Network]\r\nforcedIP=\"5.5.5.5\"\r\n");
        }
        const std::wstring url = c.page ? PageUrl(L"/echo?body=" + std::wstring(c.page))
                                 : c.ip ? PageUrl(L"/ip?ip=" + std::wstring(c.ip))
                                        : PageUrl(L"/echo?body=nichts");
        StoreSettings(folder, url);
        const auto stamp = [](const std::wstring& file) {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
            return ReadFileText(file) + L"@" + std::to_wstring(data.ftLastWriteTime.dwLowDateTime);
        };
        const std::wstring before = stamp(ini) + stamp(copy);
        std::optional<Program> dialog;
        if (c.besideSetup) {
            dialog.emplace(work, L"Tolvaring.exe", L"/einstellungen");
            EXPECT_TRUE(dialog->WaitWindow(texts::kSetupCaption));
        }
        EXPECT_TRUE(!c.locked || SetImmutable(ini, true));
        SetEnvironmentVariableW(L"TOLVARING_TEST_LAUNCH",
                                c.client == CheckClient::WeAreElevated ? L"elevated" : nullptr);
        Program check(work, L"TolvaringTest.exe", c.arguments);
        SetEnvironmentVariableW(L"TOLVARING_TEST_LAUNCH", nullptr);
        HWND box = WaitMessageBox(check);
        EXPECT_TRUE(!c.locked || SetImmutable(ini, false));
        ASSERT_TRUE(box);
        const std::wstring page = Quote(url);
        const DWORD exitCode = c.ip && !c.reason && !c.locked ? 0 : 1;
        const std::wstring written = texts::FileNotWritten(Quote(ini), ErrorText(5, ini));
        // No router in the test's namespace: it gives no answer.
        const std::wstring shown =
            !c.ip ? texts::NoAddressShown(page) + L" " + texts::kRouterNoAnswer
                  : texts::PageShowed(page, Quote(c.ip)) + texts::kRouterNoAnswer + L" " +
                        (c.reason   ? texts::WouldNotHandOn(c.reason)
                         : c.locked ? texts::WouldNotWrite(written)
                                    : texts::kWouldHandOn);
        const wchar_t* why[] = {texts::kReadsRealNotProtected, texts::kReadsCopy,
                                texts::kReadsRealNoCopyYet, texts::kReadsRealWeAreElevated};
        EXPECT_EQ(MessageBoxText(box),
                  *c.arguments == L'-'
                      ? texts::UnknownSwitch(Quote(c.arguments))
                      : shown + texts::ClientReads(Quote(staleCopy ? copy : ini),
                                                   why[static_cast<int>(c.client)],
                                                   Quote(staleCopy ? L"5.5.5.5" : L"1.1.1.1")));
        if (c.client == CheckClient::Plain && !c.besideSetup && exitCode == 0 &&
            WaitUntil([&] { return GetForegroundWindow() == box; }, 3000))
            SaveScreenshot(box, L"check-box");
        Click(GetDlgItem(box, IDOK));
        EXPECT_EQ(check.WaitExit(), exitCode);
        EXPECT_EQ(stamp(ini) + stamp(copy), before);
        EXPECT_FALSE(ClientLeftBehind(folder));
        EXPECT_FALSE(FileExists(folder + L"\\started.txt"));
        DeleteFileW(copy.c_str());
    }
}

} // namespace
