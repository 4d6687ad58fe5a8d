// The message boxes of the program's test build and of the test programs: each box's
// style is appended to the file named by TOLVARING_TEST_BOX_LOG, when set, one line each.
#include "common/MessageBox.h"

#include "common/CommonControls.h"

#include <string>

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
    wchar_t log[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TOLVARING_TEST_BOX_LOG", log, MAX_PATH) > 0) {
        const std::string line = std::to_string(style) + "\r\n";
        HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
    }
    const CommonControls6 styled;
    return MessageBoxW(owner, text, caption, style);
}
