#include "basMain.h"

#include "common/Ansi.h"
#include "common/AppError.h"
#include "common/ErrorText.h"
#include "common/Handles.h"
#include "common/MessageBox.h"
#include "common/Quote.h"
#include "common/Texts.h"
#include "detect/frmMain.h"
#include "startup/frmSetup.h"

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

// A setting as the settings object reads it, through the ANSI code page. A character the
// code page lacks comes back as a look-alike ("\u0141ukasz" as "Lukasz", a fullwidth
// backslash as "\\"), which would name another folder or page; such a value is refused.
std::wstring Setting(const wchar_t* name) {
    const std::wstring text = Settings().Value(L"", name).ToText();
    const std::wstring wide = WideSetting(name);
    if (!wide.empty() && wide != text) throw AppError(texts::SettingNotExact(name, Quote(wide)));
    return text;
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

[[noreturn]] void FailToWrite(const std::wstring& file, const std::wstring& reason) {
    throw AppError(texts::FileNotWritten(Quote(file), reason));
}

void WriteClientSetting(const std::wstring& file, const char* key, const std::wstring& value) {
    // Windows refuses to write a profile that is a folder; Wine reports success.
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        FailToWrite(file, texts::kIsAFolder);
    if (!WritePrivateProfileStringA("Network", key, ToAnsi(value).c_str(), ToAnsi(file).c_str())) {
        const DWORD code = GetLastError();
        FailToWrite(file, ErrorText(code, file));
    }
}

} // namespace

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
        // The first copy may be showing its setup dialog: bring that to the user.
        if (HWND setup = FindWindowW(frmSetup::kClassName, nullptr)) SetForegroundWindow(setup);
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

void StartProgram(const std::wstring& path) {
    // The exact path as the program to run, so blanks in it can never start another one.
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    // Windows lets only a process that may take the foreground hand that right on. We may:
    // the user just started us. But our status window never takes the focus, so without
    // this the client's first window could open behind the others. (Wine does not enforce
    // the rule, so only Windows shows the difference.)
    AllowSetForegroundWindow(ASFW_ANY);
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        const DWORD code = GetLastError();
        throw AppError(texts::ProgramNotStarted(Quote(path), ErrorText(code, path)));
    }
    // The client runs on its own; its handles are only closed.
    KernelHandle thread(process.hThread);
    KernelHandle child(process.hProcess);
}

void Main() {
    SetSettingsIdentity();
    if (Settings().Value(L"", kFolderSetting) == L"" || Settings().Value(L"", kUrlSetting) == L"") {
        frmSetup::Show();
        return;
    }

    std::wstring address;
    {
        frmMain status;
        status.Show();
        address = status.GetIp(Setting(kUrlSetting));
        status.Unload();
    }

    if (address != L"") {
        const std::wstring iniFile = ClientFile(L"\\FreePeers.ini");
        WriteClientSetting(iniFile, "forcedIP", L"\"" + address + L"\"");
        WriteClientSetting(iniFile, "bForcedIP", L"Yes");
        StartProgram(ClientFile(L"\\BearShare.exe"));
        return;
    }

    const int answer =
        ShowMessageBox(nullptr, texts::kQuestion, texts::kAppTitle, MB_YESNO | MB_ICONSTOP);
    if (answer == IDYES) frmSetup::Show();
}
