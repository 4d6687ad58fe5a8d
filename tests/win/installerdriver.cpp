// Drives the installer's or uninstaller's own windows for the installer test, as a user
// would, and prints what it saw (UTF-8):
//   installerdriver page <installer> [args...]  picks "Für alle Benutzer dieses Computers"
//                                                on the installer's page, answers the box
//                                                that follows, and tells whether the page's
//                                                choice came back
//   installerdriver box <program> [args...]      answers the first box
// Output: "box: <text>", then for page "page: back" or "page: gone". The program is ended
// at the end.
#include "detect/PageText.h"
#include "tests/win/Driver.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kAllUsers[] = L"F\u00FCr alle Benutzer dieses Computers";

// A visible control of `top` (at any depth) whose text is `text`.
HWND ControlWithText(HWND top, const wchar_t* text) {
    struct Search {
        const wchar_t* text;
        HWND found;
    } search{text, nullptr};
    EnumChildWindows(
        top,
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (IsWindowVisible(h) && TextOf(h) == s->text) s->found = h;
            return s->found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The program's window that holds a message box's prompt, or its main window.
HWND WaitTop(Program& program, bool box, DWORD ms = 20000) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND h : program.Windows())
                if (ClassOf(h) == L"#32770" && (GetDlgItem(h, 0xFFFF) != nullptr) == box) found = h;
            return found != nullptr;
        },
        ms);
    return found;
}

void Print(const char* label, const std::wstring& text) {
    std::printf("%s: %s\n", label, ToUtf8(text).c_str());
    std::fflush(stdout);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const bool page = std::wcscmp(argv[1], L"page") == 0;
    std::wstring arguments;
    for (int i = 3; i < argc; ++i)
        arguments += (i > 3 ? L" " : L"") + std::wstring(argv[i]);
    Program program(L"C:\\", argv[2], arguments.c_str());
    HWND main = page ? WaitTop(program, false) : nullptr;
    if (page) { // the welcome page, then the choice
        Click(GetDlgItem(main, IDOK));
        HWND all = nullptr;
        WaitUntil([&] { return (all = ControlWithText(main, kAllUsers)) != nullptr; });
        SendMessageW(all, BM_CLICK, 0, 0);
        Click(GetDlgItem(main, IDOK));
    }
    HWND box = WaitTop(program, true);
    Print("box", box ? MessageBoxText(box) : L"(none)");
    if (box) Click(GetDlgItem(box, IDOK));
    if (page) {
        const bool back = WaitUntil([&] {
            return IsWindowVisible(main) && ControlWithText(main, kAllUsers) != nullptr &&
                   !WaitTop(program, true, 0);
        });
        Print("page", back ? L"back" : L"gone");
    }
    return 0; // ~Program ends it
}
