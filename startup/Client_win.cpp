#include "Client.h"

#include "common/Ansi.h"
#include "common/AppError.h"
#include "common/ErrorText.h"
#include "common/Handles.h"
#include "common/Quote.h"
#include "common/Texts.h"
#include "startup/FolderPath.h"
#include "startup/Launch.h"

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

// BearShare is a 32-bit program without a UAC manifest, so Windows runs it with file
// virtualization: where it may not write a file in Program Files, Windows, or ProgramData,
// its writes go to a copy under %LOCALAPPDATA%\VirtualStore, and from then on it reads that
// copy instead of the real file. We are a 64-bit program with a manifest, which Windows
// never virtualizes, so we must pick that copy ourselves. ("How User Account Control (UAC)
// Affects Your Application" and "User Account Control architecture", learn.microsoft.com.)

namespace {

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    std::wstring result;
    // The known-folder call, never the folder's name: German Windows shows "Programme".
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path)
        result = path;
    CoTaskMemFree(path);
    return result;
}

// The full, long form of `path`, so that "..", "/", doubled backslashes or a short name do
// not hide a protected folder.
std::wstring Canonical(const std::wstring& path) {
    wchar_t full[MAX_PATH];
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH) return path;
    wchar_t longer[MAX_PATH];
    const DWORD m = GetLongPathNameW(full, longer, MAX_PATH);
    return m == 0 || m >= MAX_PATH ? std::wstring(full) : std::wstring(longer);
}

std::wstring VirtualCopyOf(const std::wstring& file) {
    const std::vector<std::wstring> protectedFolders = {
        KnownFolder(FOLDERID_ProgramFiles), KnownFolder(FOLDERID_ProgramFilesX86),
        KnownFolder(FOLDERID_Windows), KnownFolder(FOLDERID_ProgramData)};
    return VirtualStorePath(Canonical(file), protectedFolders, KnownFolder(FOLDERID_LocalAppData));
}

bool Exists(const std::wstring& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

[[noreturn]] void FailToWrite(const std::wstring& file, const std::wstring& reason) {
    throw AppError(texts::FileNotWritten(Quote(file), reason));
}

// The error of the first write that fails; ERROR_SUCCESS when both are written.
DWORD TryWrite(const std::wstring& file, const std::wstring& address) {
    // Windows refuses to write a profile that is a folder; Wine reports success.
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        FailToWrite(file, texts::kIsAFolder);
    const std::string ansiFile = ToAnsi(file);
    const std::pair<const char*, std::wstring> keys[] = {{"forcedIP", L"\"" + address + L"\""},
                                                         {"bForcedIP", L"Yes"}};
    for (const auto& [key, value] : keys)
        if (!WritePrivateProfileStringA("Network", key, ToAnsi(value).c_str(), ansiFile.c_str()))
            return GetLastError();
    return ERROR_SUCCESS;
}

void Write(const std::wstring& file, const std::wstring& address) {
    if (const DWORD code = TryWrite(file, address)) FailToWrite(file, ErrorText(code, file));
}

// The copy as Windows would make it on the client's first write: the real file's lines,
// in folders created as needed, writable whatever the real file's attributes.
void MakeCopy(const std::wstring& real, const std::wstring& copy) {
    const std::vector<std::wstring> folders = PathChain(copy.substr(0, copy.rfind(L'\\')));
    for (const std::wstring& folder : folders)
        if (!CreateDirectoryW(folder.c_str(), nullptr)) {
            const DWORD code = GetLastError();
            if (code != ERROR_ALREADY_EXISTS && code != ERROR_ACCESS_DENIED)
                FailToWrite(copy, ErrorText(code, folder));
        }
    if (!Exists(real)) return; // the write creates the copy
    if (!CopyFileW(real.c_str(), copy.c_str(), TRUE)) {
        const DWORD code = GetLastError();
        FailToWrite(copy, ErrorText(code, copy));
    }
    const DWORD attributes = GetFileAttributesW(copy.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(copy.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

} // namespace

void WriteForcedAddress(const std::wstring& iniFile, const std::wstring& address) {
    const std::wstring copy = VirtualCopyOf(iniFile);
    if (!copy.empty() && Exists(copy)) return Write(copy, address);
    const DWORD code = TryWrite(iniFile, address);
    if (code == ERROR_SUCCESS) return;
    // A standard user, or an administrator under UAC, may not write there: the client
    // itself would have been sent to the copy.
    if (copy.empty() || code != ERROR_ACCESS_DENIED) FailToWrite(iniFile, ErrorText(code, iniFile));
    MakeCopy(iniFile, copy);
    Write(copy, address);
}

namespace {

[[noreturn]] void FailToStart(const std::wstring& path, DWORD code) {
    throw AppError(texts::ProgramNotStarted(Quote(path), ErrorText(code, path)));
}

// A client that asks for administrator rights in its manifest, or is marked "Als
// Administrator ausführen", is refused by CreateProcess with ERROR_ELEVATION_REQUIRED;
// only the shell starts it, after Windows has asked the user ("User Account Control
// architecture", ShellExecuteEx, learn.microsoft.com).
void StartElevated(const std::wstring& path) {
    // "COM should be initialized before ShellExecuteEx is called" (ShellExecuteEx docs).
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // We end right after: the call must finish its work first. Our own box tells failures.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    const BOOL started = LaunchThroughShell(&info);
    const DWORD code = GetLastError();
    if (SUCCEEDED(com)) CoUninitialize();
    if (!started) FailToStart(path, code);
}

} // namespace

void StartProgram(const std::wstring& path) {
    // The exact path as the program to run, so blanks in it can never start another one.
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!LaunchProcess(path.c_str(), commandLine.data(), CREATE_SUSPENDED, &startup, &process)) {
        const DWORD code = GetLastError();
        if (code == ERROR_ELEVATION_REQUIRED) return StartElevated(path);
        FailToStart(path, code);
    }
    KernelHandle thread(process.hThread);
    KernelHandle child(process.hProcess);
    // Windows lets only a process that may take the foreground hand that right on. We may:
    // the user just started us. But our status window never takes the focus, so without
    // this the client's first window could open behind the others. The client is started
    // suspended so that the right goes to it alone, by its id, before it runs
    // (AllowSetForegroundWindow, learn.microsoft.com). Wine does not enforce the rule.
    AllowSetForegroundWindow(process.dwProcessId);
    if (ResumeThread(thread.Get()) == static_cast<DWORD>(-1)) {
        const DWORD code = GetLastError();
        TerminateProcess(child.Get(), 1);
        FailToStart(path, code);
    }
}
