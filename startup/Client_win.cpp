#include "Client.h"

#include "common/Ansi.h"
#include "common/AppError.h"
#include "common/ErrorText.h"
#include "common/FileKind.h"
#include "common/Handles.h"
#include "common/Quote.h"
#include "common/Texts.h"
#include "startup/FolderPath.h"
#include "startup/Launch.h"

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include <optional>
#include <vector>

// Windows virtualizes the file writes of a 32-bit program without a UAC manifest (as
// BearShare has always been) when it runs with a token that is not elevated and for which
// virtualization is allowed (UAC on): where it may not write a file in Program Files,
// Windows or ProgramData, its writes go to a copy under %LOCALAPPDATA%\VirtualStore, and
// from then on it reads that copy instead of the real file. Elevated, 64-bit, with a
// manifest of its own, or while UAC is off, it reads and writes the real file. We are a
// 64-bit program with a manifest, which Windows never virtualizes, so we pick the file the
// client will read ourselves: Windows tells whether it virtualizes the client in the
// client's own token, which exists from its creation, before it has run. ("How User
// Account Control (UAC) Affects Your Application", "User Account Control architecture",
// GetTokenInformation, TOKEN_INFORMATION_CLASS, learn.microsoft.com.)

namespace {

// Failures that another folder may mend offer the setup dialog; a "Nein" at the elevation
// prompt is the user's own choice.
[[noreturn]] void FailToWrite(const std::wstring& file, const std::wstring& reason) {
    throw AppError(texts::FileNotWritten(Quote(file), reason), true);
}

[[noreturn]] void FailToStart(const std::wstring& path, DWORD code) {
    throw AppError(texts::ProgramNotStarted(Quote(path), ErrorText(code, path)),
                   code != ERROR_CANCELLED);
}

// ---- Which file the client reads ------------------------------------------------------

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    std::wstring result;
    // The known-folder call, never the folder's name: German Windows shows "Programme".
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path)
        result = path;
    CoTaskMemFree(path);
    return result;
}

// The folder as the file system names it, so that no spelling hides a protected folder: a
// device prefix, "..", "/", a short name, a substituted drive or other letter case
// (GetFinalPathNameByHandle, learn.microsoft.com). A folder that cannot be opened keeps its
// full form. The device prefix the call adds stays: VirtualStorePath looks past it.
std::wstring Canonical(const std::wstring& folder) {
    KernelHandle handle(CreateFileW(folder.c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; handle && attempt < 2; ++attempt) {
        const DWORD n = GetFinalPathNameByHandleW(handle.Get(), path.data(),
                                                  static_cast<DWORD>(path.size()), 0);
        if (n == 0) break;
        if (n < path.size()) return path.substr(0, n);
        path.resize(n);
    }
    const DWORD n = GetFullPathNameW(folder.c_str(), MAX_PATH, path.data(), nullptr);
    return n == 0 || n >= MAX_PATH ? folder : path.substr(0, n);
}

// Where Windows would show a virtualized client `file` from; empty outside the protected
// folders.
std::wstring VirtualCopyOf(const std::wstring& file) {
    const std::size_t slash = file.rfind(L'\\');
    const std::wstring folder = file.substr(0, slash == 2 ? 3 : slash);
    const std::vector<std::wstring> protectedFolders = {
        Canonical(KnownFolder(FOLDERID_ProgramFiles)),
        Canonical(KnownFolder(FOLDERID_ProgramFilesX86)), Canonical(KnownFolder(FOLDERID_Windows)),
        Canonical(KnownFolder(FOLDERID_ProgramData))};
    return VirtualStorePath(JoinPath(Canonical(folder), file.substr(slash + 1)), protectedFolders,
                            KnownFolder(FOLDERID_LocalAppData));
}

// `path`, in the form that reaches past MAX_PATH where it is that long.
std::wstring Reachable(const std::wstring& path) {
    return path.size() < MAX_PATH || path.rfind(L"\\\\", 0) == 0 ? path : L"\\\\?\\" + path;
}

bool IsFileAt(const std::wstring& path) {
    return IsFile(Reachable(path));
}

bool IsFolderAt(const std::wstring& path) {
    return IsFolder(Reachable(path));
}

// The profile calls open no file whose path is MAX_PATH characters or longer.
void CheckCopyLength(const std::wstring& copy) {
    if (copy.size() >= MAX_PATH) throw AppError(texts::CopyTooLong(Quote(copy), MAX_PATH), true);
}

// ---- Writing it -------------------------------------------------------------------------

// What goes into section Network: the address as forcedIP (in double quotes) with
// bForcedIP=Yes, or, without an address, bForcedIP=No alone.
using Keys = std::optional<std::wstring>;

// The hand-off writes; the check start only tries whether it could, and leaves every file
// as it is.
enum class Mode { Write, Probe };

// Whether `file` could be written as the profile calls write it: opened for reading and
// writing, sharing as they share, or created where it is not there yet (and removed again
// when the handle closes). Opening a file for writing and closing it changes neither its
// bytes nor its write time. The error the write would meet; ERROR_SUCCESS when none.
DWORD ProbeWritable(const std::wstring& file) {
    const std::wstring path = Reachable(file);
    const bool exists = IsFile(path);
    KernelHandle handle(CreateFileW(
        path.c_str(), GENERIC_READ | GENERIC_WRITE | (exists ? 0 : DELETE),
        exists ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0, nullptr,
        exists ? OPEN_EXISTING : CREATE_NEW,
        exists ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
        nullptr));
    return handle ? ERROR_SUCCESS : GetLastError();
}

// The error of the first write that fails; ERROR_SUCCESS when all are written. The wide
// calls, since the copy's path lies in the user's profile, which the code page need not
// hold; every value is ASCII, so an ANSI file gets the same bytes as through the ANSI
// calls.
DWORD TryWrite(const std::wstring& file, const Keys& keys, Mode mode) {
    // Windows refuses to write a profile that is a folder; Wine reports success.
    if (IsFolderAt(file)) FailToWrite(file, texts::kIsAFolder);
    if (mode == Mode::Probe) return ProbeWritable(file);
    const wchar_t* path = file.c_str();
    const bool written =
        keys ? WritePrivateProfileStringW(L"Network", L"forcedIP", (L"\"" + *keys + L"\"").c_str(),
                                          path) &&
                   WritePrivateProfileStringW(L"Network", L"bForcedIP", L"Yes", path)
             : WritePrivateProfileStringW(L"Network", L"bForcedIP", L"No", path);
    return written ? ERROR_SUCCESS : GetLastError();
}

void Write(const std::wstring& file, const Keys& keys, Mode mode) {
    if (const DWORD code = TryWrite(file, keys, mode)) FailToWrite(file, ErrorText(code, file));
}

// The copy as Windows would make it on the client's first write: the real file's lines, in
// folders created as needed, writable whatever the real file's attributes. Unless kept, it
// goes again with every folder made for it: a copy the client may read must never hold the
// old address, nor stay in the way of later starts.
class NewCopy {
  public:
    NewCopy(const std::wstring& real, const std::wstring& copy) : copy_(copy) {
        for (const std::wstring& folder : PathChain(copy.substr(0, copy.rfind(L'\\')))) {
            if (CreateDirectoryW(folder.c_str(), nullptr)) {
                made_.push_back(folder);
                continue;
            }
            // Windows answers "access denied" for a drive root, Wine "already exists":
            // whether the folder is there is all that counts.
            const DWORD code = GetLastError();
            if (!IsFolderAt(folder)) FailToWrite(copy, ErrorText(code, folder));
        }
        if (!IsFileAt(real)) return; // the client has no file yet: the write creates the copy
        if (!CopyFileW(real.c_str(), copy.c_str(), TRUE)) {
            const DWORD code = GetLastError();
            FailToWrite(copy, ErrorText(code, copy));
        }
        const DWORD attributes = GetFileAttributesW(copy.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesW(copy.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    NewCopy(const NewCopy&) = delete;
    NewCopy& operator=(const NewCopy&) = delete;
    ~NewCopy() {
        if (kept_) return;
        SetFileAttributesW(copy_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(copy_.c_str());
        for (auto folder = made_.rbegin(); folder != made_.rend(); ++folder)
            RemoveDirectoryW(folder->c_str());
    }
    void Keep() { kept_ = true; }

  private:
    std::wstring copy_;
    std::vector<std::wstring> made_;
    bool kept_ = false;
};

// What NewCopy would meet, found without making anything: the real file must be readable,
// and the deepest folder of the copy's path that is there must take a new entry.
void ProbeNewCopy(const std::wstring& real, const std::wstring& copy) {
    if (IsFileAt(real)) {
        KernelHandle read(CreateFileW(Reachable(real).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!read) {
            const DWORD code = GetLastError();
            FailToWrite(copy, ErrorText(code, copy));
        }
    }
    std::wstring deepest;
    for (const std::wstring& folder : PathChain(copy.substr(0, copy.rfind(L'\\'))))
        if (IsFolderAt(folder)) deepest = folder;
    const bool folderMade = deepest.size() < copy.rfind(L'\\');
    if (const DWORD code =
            ProbeWritable(folderMade ? JoinPath(deepest, L"Tolvaring-Pruefung.tmp") : copy))
        FailToWrite(copy, ErrorText(code, folderMade ? deepest : copy));
}

// The copy that a virtualized client reads instead of `real`; empty when it is not
// virtualized or the file lies outside the protected folders.
std::wstring CopyReadInstead(const std::wstring& real, bool virtualized) {
    return virtualized ? VirtualCopyOf(real) : std::wstring();
}

// Into the file the client will read: the real one, unless Windows will virtualize the
// client (see above). Then the copy when there is one, else the real file, else (a
// standard user may not write there) the copy made from the real file. Probed, the same
// course, with the same failures, and nothing written.
void WriteForcedAddress(const std::wstring& real, const Keys& keys, bool virtualized,
                        bool clientNeedsElevation, Mode mode) {
    const TokenFacts token = OwnToken();
    const std::wstring copy = CopyReadInstead(real, virtualized);
    if (!copy.empty() && IsFileAt(copy)) {
        CheckCopyLength(copy);
        return Write(copy, keys, mode);
    }
    const DWORD code = TryWrite(real, keys, mode);
    if (code == ERROR_SUCCESS) return;
    if (code == ERROR_ACCESS_DENIED && !copy.empty()) {
        CheckCopyLength(copy);
        if (mode == Mode::Probe) return ProbeNewCopy(real, copy);
        NewCopy made(real, copy);
        Write(copy, keys, mode);
        return made.Keep();
    }
    // A copy would never be read: the client runs as administrator.
    if (code == ERROR_ACCESS_DENIED && clientNeedsElevation && !token.elevated)
        throw AppError(texts::ElevatedClientDenied(Quote(real)));
    FailToWrite(real, ErrorText(code, real));
}

// ---- Starting the client ------------------------------------------------------------------

// The process of the client created and not yet started, for EndClientNotStarted.
HANDLE notStarted = nullptr;

// The client, created but not yet run. A client that asks for administrator rights in its
// manifest, or is marked "Als Administrator ausführen", is refused by CreateProcess with
// ERROR_ELEVATION_REQUIRED: it will run elevated, and only the shell starts it, after
// Windows has asked the user ("User Account Control architecture", ShellExecuteEx,
// learn.microsoft.com). Unless started, the client is ended before it has run any code of
// its own.
class PendingClient {
  public:
    explicit PendingClient(const std::wstring& path) : path_(path) {
        // The exact path as the program to run, so blanks in it can never start another one.
        std::wstring commandLine = L"\"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (!LaunchProcess(path.c_str(), commandLine.data(), CREATE_SUSPENDED, &startup,
                           &process)) {
            const DWORD code = GetLastError();
            if (code != ERROR_ELEVATION_REQUIRED) FailToStart(path, code);
            needsElevation_ = true;
            return;
        }
        thread_.Reset(process.hThread);
        process_.Reset(process.hProcess);
        processId_ = process.dwProcessId;
        notStarted = process_.Get();
    }
    PendingClient(const PendingClient&) = delete;
    PendingClient& operator=(const PendingClient&) = delete;
    ~PendingClient() {
        notStarted = nullptr;
        if (process_ && !started_) TerminateProcess(process_.Get(), 1);
    }

    bool NeedsElevation() const { return needsElevation_; }

    // Whether Windows will virtualize the client's file writes. Its token says; a client
    // that needs elevation has none yet, and runs elevated. Where the token cannot be
    // asked, the rule for a client like BearShare: virtualized where our token, which it
    // inherits, is not elevated and allows it.
    bool Virtualized() const {
        if (needsElevation_) return false;
        if (const std::optional<bool> asked = ClientVirtualized(process_.Get())) return *asked;
        const TokenFacts token = OwnToken();
        return !token.elevated && token.virtualizationAllowed;
    }

    void Start(HWND owner) {
        if (needsElevation_) return StartElevated(owner);
        // Windows lets only a process that may take the foreground hand that right on. We
        // may: the user just started us. But our status window never takes the focus, so
        // without this the client's first window could open behind the others. The client
        // was created suspended, so the right goes to it alone, by its id, before it runs
        // (AllowSetForegroundWindow, learn.microsoft.com). Wine does not enforce the rule.
        AllowSetForegroundWindow(processId_);
        if (ResumeThread(thread_.Get()) == static_cast<DWORD>(-1))
            FailToStart(path_, GetLastError());
        started_ = true;
        notStarted = nullptr;
    }

  private:
    // Without a valid, active window of the caller's, the consent prompt does not come to
    // the front but only flashes in the taskbar ("CorrectShellExecuteHWND",
    // learn.microsoft.com): our status window is made active for it. We may take the
    // foreground: the user just started us.
    void StartElevated(HWND owner) const {
        // "COM should be initialized before ShellExecuteEx is called" (ShellExecuteEx docs).
        const HRESULT com =
            CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        // We end right after: the call must finish its work first. Our own box tells
        // failures.
        info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
        info.lpFile = path_.c_str();
        info.nShow = SW_SHOWNORMAL;
        info.hwnd = owner;
        if (owner) SetForegroundWindow(owner);
        const BOOL started = LaunchThroughShell(&info);
        const DWORD code = GetLastError();
        if (SUCCEEDED(com)) CoUninitialize();
        if (!started) FailToStart(path_, code);
    }

    std::wstring path_;
    KernelHandle thread_;
    KernelHandle process_;
    DWORD processId_ = 0;
    bool needsElevation_ = false;
    bool started_ = false;
};

// A file of the client: its folder and `name`, within what the profile and process calls
// can open.
std::wstring ClientFile(const std::wstring& folder, const wchar_t* name) {
    const std::wstring path = folder + name;
    if (ToAnsi(path).size() >= MAX_PATH)
        throw AppError(texts::FolderTooLong(Quote(folder), MAX_PATH), true);
    return path;
}

constexpr wchar_t kProgram[] = L"\\BearShare.exe";
constexpr wchar_t kSettingsFile[] = L"\\FreePeers.ini";

} // namespace

void CheckClientFolder(const std::wstring& folder) {
    ClientFile(folder, kSettingsFile);
    const std::wstring program = ClientFile(folder, kProgram);
    if (!IsFileAt(program)) throw AppError(texts::ClientMissing(Quote(program)), true);
}

void HandOff(const std::wstring& folder, const std::optional<std::wstring>& address,
             HWND owner) {
    const std::wstring settingsFile = ClientFile(folder, kSettingsFile);
    PendingClient client(ClientFile(folder, kProgram));
    WriteForcedAddress(settingsFile, address, client.Virtualized(), client.NeedsElevation(),
                       Mode::Write);
    client.Start(owner);
}

ClientReading WhatTheClientReads(const std::wstring& folder) {
    const std::wstring real = ClientFile(folder, kSettingsFile);
    const PendingClient client(ClientFile(folder, kProgram)); // never started: ended at once
    const bool virtualized = client.Virtualized();
    const std::wstring copy = CopyReadInstead(real, virtualized);
    ClientReading reading;
    reading.file = real;
    const TokenFacts token = OwnToken();
    using Why = ClientReading::Why;
    reading.why = client.NeedsElevation()         ? Why::Elevated
                  : virtualized && copy.empty()   ? Why::NotProtected
                  : virtualized                   ? Why::NoCopyYet
                  : token.elevated                ? Why::WeAreElevated
                  : !token.virtualizationAllowed ? Why::UacOff
                                                  : Why::ClientNotVirtualized;
    if (!copy.empty() && IsFileAt(copy)) {
        reading.file = copy;
        reading.why = ClientReading::Why::Copy;
    }
    try {
        WriteForcedAddress(real, Keys(), virtualized, client.NeedsElevation(), Mode::Probe);
    } catch (const AppError& failure) {
        reading.writeFailure = failure.Message();
    }
    // Through the wide call: the copy's path lies in the user's profile.
    wchar_t value[64] = {};
    GetPrivateProfileStringW(L"Network", L"forcedIP", L"", value, 64,
                             Reachable(reading.file).c_str());
    if (value[0]) reading.forcedIP = value;
    return reading;
}

void EndClientNotStarted() {
    if (notStarted) TerminateProcess(notStarted, 1);
}
