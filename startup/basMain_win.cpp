#include "basMain.h"

#include "common/Ansi.h"
#include "common/AppError.h"
#include "common/ErrorText.h"
#include "common/Handles.h"
#include "detect/frmMain.h"
#include "startup/frmSetup.h"

#include <memory>

namespace {

std::wstring Setting(const wchar_t* name) {
    return Settings().Value(L"", name).ToText();
}

void WriteClientSetting(const std::wstring& file, const char* key, const std::wstring& value) {
    WritePrivateProfileStringA("Network", key, ToAnsi(value).c_str(), ToAnsi(file).c_str());
}

} // namespace

clsRegistry& Settings() {
    static std::unique_ptr<clsRegistry> settings;
    if (!settings) settings = std::make_unique<clsRegistry>();
    return *settings;
}

void SetSettingsIdentity() {
    Settings().Firma(L"Harlund");
    Settings().HKey(RootKeyValue(HKEY_CURRENT_USER));
    Settings().Produkt(L"Tolvaring");
    Settings().Version(L"1.0");
}

void StartProgram(const std::wstring& path) {
    // The exact path as the program to run, so blanks in it can never start another one.
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        const DWORD code = GetLastError();
        throw AppError(L"Das Programm \u201E" + path +
                       L"\u201C konnte nicht gestartet werden.\r\n" + ErrorText(code));
    }
    // The client runs on its own; its handles are only closed.
    KernelHandle thread(process.hThread);
    KernelHandle child(process.hProcess);
}

void Main() {
    SetSettingsIdentity();
    if (Settings().Value(L"", L"BearShareDirectory") == L"" ||
        Settings().Value(L"", L"URL") == L"") {
        frmSetup::Show();
        return;
    }

    std::wstring address;
    {
        frmMain status;
        status.Show();
        address = status.GetIp(Setting(L"URL"));
        status.Unload();
    }

    if (address != L"") {
        const std::wstring iniFile = Setting(L"BearShareDirectory") + L"\\FreePeers.ini";
        WriteClientSetting(iniFile, "forcedIP", L"\"" + address + L"\"");
        WriteClientSetting(iniFile, "bForcedIP", L"Yes");
        StartProgram(Setting(L"BearShareDirectory") + L"\\BearShare.exe");
        return;
    }

    const int answer = MessageBoxW(
        nullptr, L"Es konnte keine IpAdresse ermittelt werden. Wollen Sie die Website \u00E4ndern?",
        L"Tolvaring", MB_YESNO | MB_ICONSTOP);
    if (answer == IDYES) frmSetup::Show();
}
