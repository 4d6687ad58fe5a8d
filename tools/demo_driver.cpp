// The demo, from inside Wine: a sample client folder with a stand-in client, the two
// settings, then the real Tolvaring.exe against the loopback page, and a report of what
// happened. A second start without an address shows the setup dialog.
#include "common/Ansi.h"
#include "common/Texts.h"
#include "startup/frmSetup.h"
#include "tests/win/Driver.h"
#include "tests/win/ProgramRun.h"
#include "tests/win/TestSupport.h"

#include <cstdio>

namespace {

void Step(const char* text) {
    std::printf("  - %s\n", text);
    std::fflush(stdout);
}

[[noreturn]] void Fail(const std::string& text) {
    std::printf("FAILED: %s\n", text.c_str());
    std::exit(1);
}

} // namespace

int main() {
    const std::string address = "203.0.113.42";
    Step("creating a sample client folder with a stand-in BearShare.exe");
    const std::wstring client = MakeTempFolder(L"BearShare");
    if (!PutClient(client)) Fail("cannot copy the stand-in client");
    WriteFileBytes(client + L"\\FreePeers.ini", "[Network]\r\nport=6346\r\n");

    Step(("storing the two settings in HKCU\\" + std::string(kSettingsKey)).c_str());
    const std::wstring url =
        PageUrl(L"/slowip?delay=2&ip=" + std::wstring(address.begin(), address.end()));
    StoreSettings(client, url);
    std::printf("      %s = %s\n      %s = %s\n", Narrow(kFolderSetting).c_str(),
                Narrow(client).c_str(), Narrow(kUrlSetting).c_str(), Narrow(url).c_str());

    Step("starting Tolvaring.exe");
    {
        Program program(MakeTempFolder(L"work"));
        HWND status = program.WaitWindow(L"", L"TolvaringStatus", 15000);
        if (status) {
            program.WaitIdle();
            std::printf("      status window shown: %s\n",
                        Narrow(SaveScreenshot(status, L"demo-status-window")).c_str());
        }
        const DWORD code = program.WaitExit(90000);
        if (code != 0) Fail("Tolvaring.exe ended with exit code " + std::to_string(code));
    }
    const std::wstring started = client + L"\\started.txt";
    WaitUntil([&] { return FileExists(started); }, 10000);
    const std::wstring ini = ReadFileText(client + L"\\FreePeers.ini");
    if (ini.find(L"forcedIP=\"" + std::wstring(address.begin(), address.end()) + L"\"") ==
        std::wstring::npos)
        Fail("FreePeers.ini does not hold the address:\n" + Narrow(ini));
    std::printf("\n  Address found: %s\n  FreePeers.ini now reads:\n", address.c_str());
    std::string text = Narrow(ini);
    for (std::size_t pos; (pos = text.find('\r')) != std::string::npos;)
        text.erase(pos, 1);
    std::printf("%s\n", text.c_str());
    if (!FileExists(started)) Fail("the client was not started");
    std::printf("  The client was started: %s\\BearShare.exe\n\n", Narrow(client).c_str());

    Step("starting again without an address stored: the setup dialog");
    StoreSetting(kUrlSetting, L"");
    {
        Program program(MakeTempFolder(L"work"));
        HWND setup = program.WaitWindow(texts::kSetupCaption, nullptr, 15000);
        if (!setup) Fail("the setup dialog did not open");
        SetText(GetDlgItem(setup, frmSetup::kIdTxtUrl), url);
        program.WaitIdle();
        std::printf("      setup dialog shown: %s\n",
                    Narrow(SaveScreenshot(setup, L"demo-setup-dialog")).c_str());
        PostMessageW(setup, WM_CLOSE, 0, 0);
        program.WaitExit(15000);
    }
    return 0;
}
