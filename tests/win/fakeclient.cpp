// Stand-in for the peer client: records how it was started into started.txt beside
// itself, then ends.
#include <windows.h>

#include <string>

int main() {
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder(module);
    folder = folder.substr(0, folder.find_last_of(L'\\'));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    const std::wstring record = std::wstring(L"module=") + module + L"\r\ncmdline=" +
                                GetCommandLineW() + L"\r\nshow=" +
                                std::to_wstring(startup.wShowWindow) + L"\r\nflags=" +
                                std::to_wstring(startup.dwFlags) + L"\r\ncwd=" + cwd + L"\r\n";
    // UTF-8, so names outside the code page survive.
    const int n = WideCharToMultiByte(CP_UTF8, 0, record.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, record.c_str(), -1, bytes.data(), n, nullptr, nullptr);
    bytes.resize(n - 1);
    // Appended, so that a second start shows as a second record, even one at the same
    // moment: a start must never go unrecorded because another holds the file, or because a
    // test has its folder unwritable for a while.
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 500 && file == INVALID_HANDLE_VALUE; ++attempt) {
        file = CreateFileW((folder + L"\\started.txt").c_str(), FILE_APPEND_DATA, 0, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) Sleep(20);
    }
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
