#include "OneCopy.h"

#include "common/Texts.h"
#include "startup/Launch.h"
#include "startup/basMain.h"
#include "detect/frmMain.h"
#include "startup/frmSetup.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// Every copy of the program has a message-only window of this class: that is how another
// copy knows a process for one of ours, whatever its folder or file name. Message-only
// windows get no broadcasts, and FindWindowEx finds them (HWND_MESSAGE, learn.microsoft.com).
constexpr wchar_t kCopyClass[] = L"TolvaringCopy";

void MarkThisCopy() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kCopyClass;
    RegisterClassW(&wc);
    CreateWindowExW(0, kCopyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                    nullptr);
}

std::vector<DWORD> OtherCopies() {
    std::vector<DWORD> ids;
    for (HWND mark = nullptr;
         (mark = FindWindowExW(HWND_MESSAGE, mark, kCopyClass, nullptr)) != nullptr;) {
        DWORD id = 0;
        GetWindowThreadProcessId(mark, &id);
        if (id != 0 && id != GetCurrentProcessId()) ids.push_back(id);
    }
    return ids;
}

// What a second copy looks for among the top-level windows: the first copy's setup
// dialog, else its question or failure box. Only windows of a copy of this program count:
// another program may well show a window titled "Tolvaring".
struct FirstCopyWindows {
    std::vector<DWORD> copies;
    HWND setup = nullptr;
    HWND box = nullptr;
    HWND status = nullptr; // the status window of a copy that fetches
};

BOOL CALLBACK Consider(HWND window, LPARAM arg) {
    auto& found = *reinterpret_cast<FirstCopyWindows*>(arg);
    wchar_t cls[32] = {}, caption[32] = {};
    GetClassNameW(window, cls, 32);
    InternalGetWindowText(window, caption, 32); // sends nothing: the window may hang
    const bool setup = std::wcscmp(cls, frmSetup::kClassName) == 0;
    const bool status = std::wcscmp(cls, frmMain::kClassName) == 0;
    const bool box =
        std::wcscmp(cls, L"#32770") == 0 && std::wcscmp(caption, texts::kAppTitle) == 0;
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    const bool ours = std::find(found.copies.begin(), found.copies.end(), id) != found.copies.end();
    if (ours && setup && !found.setup) found.setup = window;
    if (ours && box && !found.box) found.box = window;
    if (ours && status && !found.status) found.status = window;
    return TRUE;
}

FirstCopyWindows FindFirstCopyWindows() {
    FirstCopyWindows found{OtherCopies()};
    if (!found.copies.empty()) EnumWindows(Consider, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The first copy may be waiting for the user in its setup dialog, or in its question or
// failure box, perhaps behind other windows or minimized: bring that to the user. A box of
// the dialog's own is its last active popup. We may take the foreground: the user just
// started us.
void BringForward(HWND window) {
    if (!window) return;
    // Asynchronous: a first copy that hangs must not hang us.
    if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
    const HWND popup = GetLastActivePopup(window);
    BringToFront(popup ? popup : window);
}

// One per logged-on user: Local\ is the session, the name the user in it.
std::wstring LockName(const wchar_t* suffix) {
    wchar_t user[257] = {};
    DWORD size = 257;
    if (!GetUserNameW(user, &size)) user[0] = L'\0';
    SetSettingsIdentity();
    return L"Local\\" + Settings().Firma() + L"." + Settings().Produkt() + L"." +
           Settings().Version() + L"." + user + suffix;
}

// Whether another copy runs for this user; this copy holds the lock from now on if not.
bool AnotherCopyRuns() {
    const std::wstring name = LockName(L"");
    HANDLE mutex = CreateCopyMutex(name.c_str());
    const DWORD code = GetLastError();
    // A first copy that runs elevated made its mutex with rights we lack: that too means it
    // runs ("if the caller has limited access rights, the function will fail with
    // ERROR_ACCESS_DENIED", CreateMutexW, learn.microsoft.com).
    if ((mutex && code == ERROR_ALREADY_EXISTS) || (!mutex && code == ERROR_ACCESS_DENIED)) {
        if (mutex) CloseHandle(mutex);
        return true;
    }
    return false; // the mutex is kept until the program ends
}

} // namespace

bool ShouldRun(StartKind kind) {
    // A copy with its dialog open holds no lock when it was started beside a fetching one:
    // its window is what counts, whether or not the lock is free.
    const bool another = AnotherCopyRuns();
    const FirstCopyWindows first = FindFirstCopyWindows();
    // The lock may be the dialog's copy's: then only a fetch or a question holds a check back.
    const bool busy = another && (!first.setup || first.status || first.box);
    const bool endsHere = kind == StartKind::Check   ? busy
                          : kind == StartKind::Setup ? first.setup != nullptr
                                                     : first.setup || another;
    if (endsHere) {
        BringForward(first.setup ? first.setup : first.box);
        return false;
    }
    // Asked for from the Start menu while the other copy fetches, hands off or asks: the
    // request must not be lost, and the dialog fetches and starts nothing.
    MarkThisCopy();
    return true;
}

bool BringOtherCopysSetupForward() {
    const HWND setup = FindFirstCopyWindows().setup;
    BringForward(setup);
    return setup != nullptr;
}

namespace {

// Held by the thread that shows the setup dialog, from before the dialog is made until it
// is gone.
HANDLE setupLock = nullptr;

// How long the holder of the lock may take to show its dialog. Only its window is looked
// for, nothing is sent to it: a copy that hangs cannot hang us.
constexpr DWORD kSetupWindowWaitMs = 10'000;

} // namespace

bool TakeSetupLock() {
    if (setupLock) return true;
    const std::wstring name = LockName(L".Setup");
    HANDLE mutex = CreateCopyMutex(name.c_str());
    // An elevated copy made it with rights we lack: it holds it.
    if (!mutex) return GetLastError() != ERROR_ACCESS_DENIED;
    // An abandoned lock is ours now: its holder ended without closing its dialog.
    const DWORD taken = WaitForSingleObject(mutex, 0);
    if (taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED) {
        setupLock = mutex;
        return true;
    }
    CloseHandle(mutex);
    return false;
}

void ReleaseSetupLock() {
    if (!setupLock) return;
    ReleaseMutex(setupLock);
    CloseHandle(setupLock);
    setupLock = nullptr;
}

void BringHeldSetupForward() {
    const ULONGLONG end = GetTickCount64() + kSetupWindowWaitMs;
    while (!BringOtherCopysSetupForward() && GetTickCount64() < end)
        Sleep(50);
}
