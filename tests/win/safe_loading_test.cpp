// Where the DLLs loaded after the start come from, and a delay-load that fails. Each case
// runs in a process of its own, as the search order it sets stays for the process.
#include "common/Texts.h"
#include "startup/SafeLoading.h"
#include "tests/win/Driver.h"

#include <delayimp.h>
#include <gtest/gtest.h>

namespace {

// planted.dll lies beside the test program as a planted DLL would beside Tolvaring.exe;
// comctl32, without an activation context, comes by its full System32 path.
UINT LoadAfterTheStart() {
    RestrictDllSearch();
    DelayLoadInfo info = {};
    info.szDll = "planted.dll";
    if (LoadLibraryW(L"planted.dll") || __pfnDliNotifyHook2(dliNotePreLoadLibrary, &info)) return 2;
    info.szDll = "COMCTL32.dll";
    const auto comctl =
        reinterpret_cast<HMODULE>(__pfnDliNotifyHook2(dliNotePreLoadLibrary, &info));
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(comctl, path, MAX_PATH);
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    return _wcsicmp(path, (std::wstring(system) + L"\\comctl32.dll").c_str()) ? 3 : 0;
}

// The box names the function and the DLL; OK ends the program with 1.
DWORD WINAPI AnswerTheBox(void*) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindWindowW(L"#32770", texts::kAppTitle)) != nullptr; });
    const std::wstring text = box ? MessageBoxText(box) : L"";
    if (text.find(L"\u201EFehltNoch\u201C aus der Windows-Datei \u201ESHELL32.dll") ==
        std::wstring::npos)
        ExitProcess(3);
    Click(GetDlgItem(box, IDOK));
    return 0;
}

UINT FailADelayLoad() {
    CreateThread(nullptr, 0, AnswerTheBox, nullptr, 0, nullptr);
    DelayLoadInfo info = {};
    info.szDll = "SHELL32.dll";
    info.dlp.fImportByName = TRUE;
    info.dlp.szProcName = "FehltNoch";
    info.dwLastError = ERROR_PROC_NOT_FOUND;
    __pfnDliFailureHook2(dliFailGetProc, &info);
    return 4;
}

TEST(SafeLoading, NoDllComesFromTheProgramsFolderAndAFailureEndsWithItsBox) {
    EXPECT_EXIT(ExitProcess(LoadAfterTheStart()), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(ExitProcess(FailADelayLoad()), testing::ExitedWithCode(1), "");
}

} // namespace
