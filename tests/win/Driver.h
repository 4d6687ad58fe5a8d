#pragma once
// Drives the real Tolvaring.exe from a second process: starts it, finds its windows,
// reads their texts and rectangles, presses buttons and keys.
#include "common/Handles.h"

#include <windows.h>

#include <string>
#include <vector>

class Program {
  public:
    // Starts Tolvaring.exe (or its test build TolvaringTest.exe, beside the test program;
    // or the program at a full path) in `workingFolder`, with `arguments`.
    explicit Program(const std::wstring& workingFolder, const wchar_t* exeName = L"Tolvaring.exe",
                     const wchar_t* arguments = L"");
    ~Program(); // ends the program if it is still running

    DWORD Pid() const { return pid_; }
    // Exit code once it has ended within `ms`; STILL_ACTIVE otherwise.
    DWORD WaitExit(DWORD ms = 30000);
    // Closes `window` as its close box does; then as WaitExit.
    DWORD Close(HWND window, DWORD ms = 30000);
    // A top-level window of the program with this caption (and class, when given).
    HWND WaitWindow(const std::wstring& caption, const wchar_t* cls = nullptr, DWORD ms = 30000);
    // The largest working set the program had, in MiB (Wine's figure includes its DLLs).
    double PeakWorkingSetMiB() const;
    // Waits until the program has handled all its input and painted, and waits for more.
    bool WaitIdle(DWORD ms = 5000) const;
    // All visible top-level windows of the program.
    std::vector<HWND> Windows() const;

  private:
    KernelHandle process_;
    DWORD pid_ = 0;
    DWORD thread_ = 0;
};

std::wstring TextOf(HWND h); // WM_GETTEXT: the live text of a control
// The stored caption of a top-level window; sends nothing, so a window whose thread is
// busy (the status window during the fetch) can be looked at.
std::wstring CaptionOf(HWND h);
std::wstring ClassOf(HWND h);
RECT ClientRectIn(HWND child, HWND parent); // child's window rect in parent client coords
HWND Child(HWND parent, int id);
HWND FocusOf(HWND top); // the control that has the keyboard focus in top's thread
void Click(HWND button);
void SetText(HWND control, const std::wstring& text); // as if typed over the old text
void PressKey(HWND target, WPARAM key);               // key down and up, through the message loop
void PressAltKey(HWND top, wchar_t letter);           // an access key
// The text of a message box (the static with the prompt).
std::wstring MessageBoxText(HWND box);
// Waits until `predicate` holds or `ms` pass.
template <class F> bool WaitUntil(F predicate, DWORD ms = 10000) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        if (predicate()) return true;
        Sleep(50);
    }
    return predicate();
}
