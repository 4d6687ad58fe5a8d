#pragma once
// The fixture of the hostile tests: the real program against hostile pages, broken networks,
// unwritable files and odd settings, and what they share. The program must end with a
// clear German message or the question, never crash or hang, and never leave a half-written
// or wrong FreePeers.ini behind, nor a client it created suspended.
#include "tests/win/ProgramTest.h"

#include <windows.h>

#include <shlobj.h>
#include <tlhelp32.h>

#include <string>

class Hostile : public Tolvaring {
  protected:
    void SetUp() override {
        Tolvaring::SetUp();
        client = ClientFolder(L"client");
    }

    // Ended as `course` says, with nothing written into `folder` and nothing started.
    void ExpectNothingDone(const Observed& seen, const std::wstring& folder,
                           Course course = Course::Failure, DWORD exitCode = 1) const {
        EXPECT_STREQ(Name(seen.course), Name(course)) << Narrow(seen.message);
        EXPECT_EQ(seen.exitCode, exitCode);
        EXPECT_FALSE(FileExists(folder + L"\\FreePeers.ini"));
        EXPECT_FALSE(FileExists(folder + L"\\started.txt"));
    }
    // Ends every process of `folder`'s BearShare.exe and says whether there was one: a
    // failed hand-off must end the client it created suspended (left, it would also keep
    // the test run's output open).
    static bool ClientLeftBehind(const std::wstring& folder) {
        const std::wstring program = folder + L"\\BearShare.exe";
        bool found = false;
        KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
             more = Process32NextW(snapshot.Get(), &entry)) {
            KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE,
                                             FALSE, entry.th32ProcessID));
            wchar_t image[1024];
            DWORD size = 1024;
            if (!process || !QueryFullProcessImageNameW(process.Get(), 0, image, &size) ||
                CompareStringOrdinal(image, -1, program.c_str(), -1, TRUE) != CSTR_EQUAL)
                continue;
            found = true;
            TerminateProcess(process.Get(), 99);
        }
        return found;
    }
    std::wstring Ini() const { return ReadFileText(client + L"\\FreePeers.ini"); }
    // How often the client in `folder` was started.
    static std::size_t Starts(const std::wstring& folder) {
        const std::wstring record = ReadFileText(folder + L"\\started.txt");
        std::size_t n = 0;
        for (std::size_t at = 0; (at = record.find(L"module=", at)) != std::wstring::npos; ++at)
            ++n;
        return n;
    }
    bool Started() const { return Started(client); }
    static bool Started(const std::wstring& folder) {
        WaitUntil([&] { return FileExists(folder + L"\\started.txt"); }, 2000);
        return FileExists(folder + L"\\started.txt");
    }

    std::wstring client;
};

// Run as root, Wine writes a read-only file anyway; an immutable file or folder (chattr +i)
// not even root may write, as a standard user may not write in Program Files. Wine runs the
// Unix command itself. True once `path` is (or is no longer) writable as asked.
bool SetImmutable(const std::wstring& path, bool on);

// Where the shell takes the user's local application data from, for a row that plays a
// user whose profile folder the code page cannot hold.
class LocalAppDataAs {
  public:
    explicit LocalAppDataAs(const wchar_t* folder);
    ~LocalAppDataAs();

  private:
    static constexpr char kShellFolders[] =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    bool active_;
    RawValue saved_;
};

std::wstring KnownFolderPath(REFKNOWNFOLDERID id);
