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
#include "startup/Client.h"
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
