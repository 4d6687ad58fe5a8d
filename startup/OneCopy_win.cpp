#include "OneCopy.h"

#include "common/Handles.h"
#include "common/Texts.h"
#include "startup/Launch.h"
#include "startup/basMain.h"
#include "startup/frmSetup.h"

#include <cwchar>
#include <string>

namespace {

std::wstring ImageOf(HANDLE process) {
    wchar_t path[1024];
    DWORD size = 1024;
    return QueryFullProcessImageNameW(process, 0, path, &size) ? std::wstring(path, size)
                                                               : std::wstring();
}

// What a second copy looks for among the top-level windows: the first copy's setup
// dialog, else its question or failure box. Only windows of a process that runs this very
// program count: another program may well show a window titled "Tolvaring".
struct FirstCopyWindows {
    std::wstring image;
    HWND setup = nullptr;
    HWND box = nullptr;
};

bool IsOfAnotherCopy(HWND window, const std::wstring& image) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == 0 || processId == GetCurrentProcessId()) return false;
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    return process && !image.empty() &&
           CompareStringOrdinal(ImageOf(process.Get()).c_str(), -1, image.c_str(), -1, TRUE) ==
               CSTR_EQUAL;
}

BOOL CALLBACK Consider(HWND window, LPARAM arg) {
    auto& found = *reinterpret_cast<FirstCopyWindows*>(arg);
    wchar_t cls[32] = {}, caption[32] = {};
    GetClassNameW(window, cls, 32);
    InternalGetWindowText(window, caption, 32); // sends nothing: the window may hang
    const bool setup = std::wcscmp(cls, frmSetup::kClassName) == 0;
    const bool box =
        std::wcscmp(cls, L"#32770") == 0 && std::wcscmp(caption, texts::kAppTitle) == 0;
    if ((setup && !found.setup) || (box && !found.box)) {
        if (IsOfAnotherCopy(window, found.image)) (setup ? found.setup : found.box) = window;
    }
    return TRUE;
}

// The first copy may be waiting for the user in its setup dialog, or in its question or
// failure box, perhaps behind other windows or minimized: bring that to the user. A box of
// the dialog's own is its last active popup. We may take the foreground: the user just
// started us.
void BringFirstCopyForward() {
    FirstCopyWindows found{ImageOf(GetCurrentProcess())};
    EnumWindows(Consider, reinterpret_cast<LPARAM>(&found));
    const HWND window = found.setup ? found.setup : found.box;
    if (!window) return;
    // Asynchronous: a first copy that hangs must not hang us.
    if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
    const HWND popup = GetLastActivePopup(window);
    SetForegroundWindow(popup ? popup : window);
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
    HANDLE mutex = CreateCopyMutex(name.c_str());
    const DWORD code = GetLastError();
    // A first copy that runs elevated made its mutex with rights we lack: that too means it
    // runs ("if the caller has limited access rights, the function will fail with
    // ERROR_ACCESS_DENIED", CreateMutexW, learn.microsoft.com).
    if ((mutex && code == ERROR_ALREADY_EXISTS) || (!mutex && code == ERROR_ACCESS_DENIED)) {
        if (mutex) CloseHandle(mutex);
        BringFirstCopyForward();
        return false;
    }
    return true; // the mutex is kept until the program ends
}
