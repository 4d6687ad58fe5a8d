#include "Driver.h"

#include "tests/win/TestSupport.h"

#include <psapi.h>

#include <algorithm>
#include <cwchar>

Program::Program(const std::wstring& workingFolder, const wchar_t* exeName,
                 const wchar_t* arguments) {
    const bool fullPath = std::wcschr(exeName, L':') != nullptr;
    const std::wstring exe = fullPath ? exeName : ExeFolder() + L"\\" + exeName;
    std::wstring commandLine = L"\"" + exe + L"\"" + (*arguments ? L" " : L"") + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workingFolder.c_str(), &startup, &info)) {
        process_.Reset(info.hProcess);
        CloseHandle(info.hThread);
        pid_ = info.dwProcessId;
        thread_ = info.dwThreadId;
    }
}

Program::~Program() {
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.Get(), 99);
        WaitForSingleObject(process_.Get(), 5000);
    }
}

DWORD Program::WaitExit(DWORD ms) {
    if (!process_ || WaitForSingleObject(process_.Get(), ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.Get(), &code);
    return code;
}

bool Program::WaitIdle(DWORD ms) const {
    return process_ && WaitForInputIdle(process_.Get(), ms) == 0;
}

double Program::PeakWorkingSetMiB() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!process_ || !K32GetProcessMemoryInfo(process_.Get(), &counters, sizeof counters)) return 0;
    return counters.PeakWorkingSetSize / 1048576.0;
}

std::vector<HWND> Program::Windows() const {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid_, {}};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid == s->pid && IsWindowVisible(h)) s->found.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DWORD Program::Close(HWND window, DWORD ms) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitExit(ms);
}

HWND Program::WaitWindow(const std::wstring& caption, const wchar_t* cls, DWORD ms) {
    HWND result = nullptr;
    WaitUntil(
        [&] {
            for (HWND h : Windows())
                if (CaptionOf(h) == caption && (!cls || ClassOf(h) == cls)) {
                    result = h;
                    return true;
                }
            return false;
        },
        ms);
    return result;
}

std::wstring TextOf(HWND h) {
    const LRESULT length = SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got =
        SendMessageW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return text;
}

std::wstring CaptionOf(HWND h) {
    wchar_t text[512] = {};
    return std::wstring(text, std::max(GetWindowTextW(h, text, 512), 0));
}

std::wstring ClassOf(HWND h) {
    wchar_t name[256] = {};
    return std::wstring(name, std::max(GetClassNameW(h, name, 256), 0));
}

RECT ClientRectIn(HWND child, HWND parent) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HWND Child(HWND parent, int id) {
    return GetDlgItem(parent, id);
}

HWND FocusOf(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info);
    return info.hwndFocus;
}

void SetText(HWND control, const std::wstring& text) {
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void PressKey(HWND target, WPARAM key) {
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000);
}

void PressAltKey(HWND top, wchar_t letter) {
    HWND focus = FocusOf(top);
    PostMessageW(focus ? focus : top, WM_SYSCHAR, letter, 1 | (1 << 29));
}

std::wstring MessageBoxText(HWND box) {
    HWND prompt = GetDlgItem(box, 0xFFFF);
    return prompt ? TextOf(prompt) : std::wstring();
}
