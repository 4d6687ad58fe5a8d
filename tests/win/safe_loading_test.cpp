// Where the DLLs loaded after the start come from, and a delay-load that fails. Each case
// runs in a process of its own, as the search order it sets stays for the process.
#include "common/Texts.h"
#include "startup/SafeLoading.h"
#include "tests/win/Driver.h"

#include <windows.h>

#include <delayimp.h>
#include <gtest/gtest.h>

namespace {

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

// planted.dll lies beside the test program as a planted DLL lies beside Tolvaring.exe.
TEST(SafeLoading, NoDllComesFromTheProgramsFolder) {
    EXPECT_EXIT(
        {
            RestrictDllSearch();
            DelayLoadInfo info{};
            info.cb = sizeof info;
            info.szDll = "planted.dll";
            if (LoadLibraryW(L"planted.dll") || __pfnDliNotifyHook2(dliNotePreLoadLibrary, &info))
                ExitProcess(2);
            // No activation context: comctl32 by its full System32 path.
            info.szDll = "COMCTL32.dll";
            wchar_t system[MAX_PATH] = {};
            GetSystemDirectoryW(system, MAX_PATH);
            const std::wstring path = ModulePath(reinterpret_cast<HMODULE>(
                __pfnDliNotifyHook2(dliNotePreLoadLibrary, &info)));
            ExitProcess(CompareStringOrdinal(path.c_str(), -1,
                                             (std::wstring(system) + L"\\comctl32.dll").c_str(),
                                             -1, TRUE) == CSTR_EQUAL
                            ? 0
                            : 3);
        },
        testing::ExitedWithCode(0), "");
}

// The box names the DLL and the function; OK ends the program with 1.
TEST(SafeLoading, AFailedDelayLoadEndsWithItsBox) {
    EXPECT_EXIT(
        {
            CreateThread(
                nullptr, 0,
                [](void*) -> DWORD {
                    HWND box = nullptr;
                    WaitUntil([&] {
                        return (box = FindWindowW(L"#32770", texts::kAppTitle)) != nullptr;
                    });
                    const std::wstring text = box ? MessageBoxText(box) : L"";
                    if (text.find(L"\u201EFehltNoch\u201C") == std::wstring::npos ||
                        text.find(L"\u201ESHELL32.dll\u201C") == std::wstring::npos)
                        ExitProcess(3);
                    Click(GetDlgItem(box, IDOK));
                    return 0;
                },
                nullptr, 0, nullptr);
            DelayLoadInfo info{};
            info.cb = sizeof info;
            info.szDll = "SHELL32.dll";
            info.dlp.fImportByName = TRUE;
            info.dlp.szProcName = "FehltNoch";
            info.dwLastError = ERROR_PROC_NOT_FOUND;
            __pfnDliFailureHook2(dliFailGetProc, &info);
            ExitProcess(4);
        },
        testing::ExitedWithCode(1), "");
}

} // namespace
