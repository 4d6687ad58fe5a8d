#include "basMain.h"

#include "common/Ansi.h"
#include "common/AppError.h"
#include "common/ErrorText.h"
#include "common/Forms.h"
#include "common/Handles.h"
#include "common/MessageBox.h"
#include "common/Quote.h"
#include "common/Texts.h"
#include "detect/Url.h"
#include "detect/frmMain.h"
#include "startup/ClientIni.h"
#include "startup/Launch.h"
#include "startup/frmSetup.h"

#include <objbase.h>

#include <algorithm>
#include <memory>

namespace {

// The stored text as the wide registry call gives it; empty when it is no REG_SZ.
std::wstring WideSetting(const wchar_t* name) {
    RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Settings().AppKeyPath().c_str(), 0, KEY_QUERY_VALUE,
                      key.Put()) != ERROR_SUCCESS)
        return {};
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &size) != ERROR_SUCCESS)
        return {};
    text.resize(std::min(text.find(L'\0'), size / sizeof(wchar_t)));
    return text;
}

// The setting, whose text `Main` can use: AppError when it is not exact.
std::wstring Setting(const wchar_t* name) {
    const StoredSetting setting = ReadSetting(name);
    if (!setting.exact) throw AppError(NotExactMessage(name, setting.text));
    return setting.text;
}

// A file of the client: its folder and `fileName`, within what the profile and process
// calls can open.
std::wstring ClientFile(const wchar_t* fileName) {
    const std::wstring folder = Setting(kFolderSetting);
    const std::wstring path = folder + fileName;
    if (ToAnsi(path).size() >= MAX_PATH)
        throw AppError(texts::FolderTooLong(Quote(folder), MAX_PATH));
    return path;
}

// The first copy may be waiting for the user in its setup dialog, or in its question or
// failure box, perhaps behind other windows: bring that to the user. A box of the dialog's
// own is its last active popup. We may take the foreground: the user just started us.
void BringFirstCopyForward() {
    HWND window = FindWindowW(frmSetup::kClassName, nullptr);
    if (!window) window = FindWindowW(L"#32770", texts::kAppTitle);
    if (!window) return;
    HWND popup = GetLastActivePopup(window);
    SetForegroundWindow(popup ? popup : window);
}

} // namespace

StoredSetting ReadSetting(const wchar_t* name) {
    const std::wstring text = Settings().Value(L"", name).ToText();
    const std::wstring wide = WideSetting(name);
    if (!wide.empty() && wide != text) return {wide, false};
    return {text, true};
}

std::wstring NotExactMessage(const wchar_t* name, const std::wstring& wide) {
    return texts::SettingNotExact(name, Quote(UrlWithoutPassword(wide)));
}

bool IsOnlyCopy() {
    // One per logged-on user: Local\ is the session, the name the user in it.
    wchar_t user[257] = {};
    DWORD size = 257;
    if (!GetUserNameW(user, &size)) user[0] = L'\0';
    SetSettingsIdentity();
    const std::wstring name = L"Local\\" + Settings().Firma() + L"." + Settings().Produkt() + L"." +
                              Settings().Version() + L"." + user;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        BringFirstCopyForward();
        return false;
    }
    return true; // the mutex is kept until the program ends
}

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

namespace {

[[noreturn]] void FailToStart(const std::wstring& path, DWORD code) {
    throw AppError(texts::ProgramNotStarted(Quote(path), ErrorText(code, path)));
}

// A client that asks for administrator rights in its manifest, or is marked "Als
// Administrator ausführen", is refused by CreateProcess with ERROR_ELEVATION_REQUIRED;
// only the shell starts it, after Windows has asked the user ("User Account Control
// architecture", ShellExecuteEx, learn.microsoft.com).
void StartElevated(const std::wstring& path) {
    // "COM should be initialized before ShellExecuteEx is called" (ShellExecuteEx docs).
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // We end right after: the call must finish its work first. Our own box tells failures.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    const BOOL started = LaunchThroughShell(&info);
    const DWORD code = GetLastError();
    if (SUCCEEDED(com)) CoUninitialize();
    if (!started) FailToStart(path, code);
}

} // namespace

void StartProgram(const std::wstring& path) {
    // The exact path as the program to run, so blanks in it can never start another one.
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!LaunchProcess(path.c_str(), commandLine.data(), CREATE_SUSPENDED, &startup, &process)) {
        const DWORD code = GetLastError();
        if (code == ERROR_ELEVATION_REQUIRED) return StartElevated(path);
        FailToStart(path, code);
    }
    KernelHandle thread(process.hThread);
    KernelHandle child(process.hProcess);
    // Windows lets only a process that may take the foreground hand that right on. We may:
    // the user just started us. But our status window never takes the focus, so without
    // this the client's first window could open behind the others. The client is started
    // suspended so that the right goes to it alone, by its id, before it runs
    // (AllowSetForegroundWindow, learn.microsoft.com). Wine does not enforce the rule.
    AllowSetForegroundWindow(process.dwProcessId);
    if (ResumeThread(thread.Get()) == static_cast<DWORD>(-1)) {
        const DWORD code = GetLastError();
        TerminateProcess(child.Get(), 1);
        FailToStart(path, code);
    }
}

void Main() {
    SetSettingsIdentity();
    if (Settings().Value(L"", kFolderSetting) == L"" || Settings().Value(L"", kUrlSetting) == L"") {
        frmSetup::Show();
        return;
    }

    // Another tool may have stored what the code page turns into a look-alike: the user
    // is told and chooses anew, as for a missing setting.
    for (const wchar_t* name : {kFolderSetting, kUrlSetting}) {
        const StoredSetting setting = ReadSetting(name);
        if (!setting.exact) {
            ReportFailure(AppError(NotExactMessage(name, setting.text)));
            frmSetup::Show();
            return;
        }
    }

    std::wstring address;
    {
        frmMain status;
        status.Show();
        address = status.GetIp(Setting(kUrlSetting));
        status.Unload();
    }

    if (address != L"") {
        WriteForcedAddress(ClientFile(L"\\FreePeers.ini"), address);
        StartProgram(ClientFile(L"\\BearShare.exe"));
        return;
    }

    const int answer = ShowMessageBox(nullptr, texts::kQuestion, texts::kAppTitle,
                                      MB_YESNO | MB_ICONSTOP | MB_SETFOREGROUND);
    if (answer == IDYES) frmSetup::Show();
}
