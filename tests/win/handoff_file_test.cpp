// Where the address goes: the file BearShare will read (the real one, or the copy Windows
// keeps for it under VirtualStore), and a file that cannot be written.
#include "common/ErrorText.h"
#include "common/Quote.h"
#include "detect/Http.h"
#include "startup/frmSetup.h"
#include "tests/win/HostileTest.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <cwctype>
#include <memory>
#include <optional>
#include <vector>

namespace {

// A name of their own, so that CTest can run these rows apart from the other hostile ones.
using HandOffFile = Hostile;

// A settings file that cannot be written (held open by another program, or a folder):
// the box names the file, nothing is started, and the file keeps its content.
TEST_F(HandOffFile, UnwritableSettingsFileStopsTheHandOff) {
    const std::string original = "[Network]\r\nforcedIP=\"10.0.0.1\"\r\n";
    const std::wstring ini = client + L"\\FreePeers.ini";
    StoreSettings(client, PageUrl(L"/ip?ip=192.0.2.20"));
    for (bool isFolder : {false, true}) {
        SCOPED_TRACE(isFolder ? "a folder" : "held open");
        KernelHandle lock;
        DeleteFileW(ini.c_str());
        if (isFolder) {
            CreateDirectoryW(ini.c_str(), nullptr);
        } else {
            WriteFileBytes(ini, original);
            // Running as root, Wine lets a read-only file be written; a handle that shares
            // nothing makes the file unwritable there too.
            lock.Reset(CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        }
        const Observed seen = RunToTheEnd(work);
        lock.Reset();
        EXPECT_STREQ(Name(seen.course), Name(Course::Failure)) << Narrow(seen.message);
        EXPECT_EQ(seen.exitCode, 1u);
        EXPECT_NE(seen.message.find(Quote(ini)), std::wstring::npos) << Narrow(seen.message);
        EXPECT_FALSE(ClientLeftBehind(client));
        EXPECT_FALSE(Started());
        if (isFolder) {
            RemoveDirectoryW(ini.c_str());
        } else {
            EXPECT_EQ(Ini(), std::wstring(original.begin(), original.end()));
        }
    }
}

// How the client's FreePeers.ini stands before the run: writable, or not (as for a standard
// user in Program Files), with the read-only attribute as well, or not there at all in a
// folder that cannot be written.
enum class Real { Writable, Denied, ReadOnlyDenied, MissingDenied };

struct ProtectedCase {
    const char* what;
    const KNOWNFOLDERID* root; // the protected folder the client lies in; null: elsewhere
    const wchar_t* launch;     // what the test build stands in for (TOLVARING_TEST_LAUNCH)
    const char* copyBefore;    // the copy the client has written before; null: no copy
    Real real;
    Course course;
    const char* realAfter; // null: no real file
    const char* copyAfter; // null: no copy
    // What else the row plays: the folder as stored, a longer folder name, the user's local
    // application data; the box's text.
    std::wstring (*stored)(const std::wstring& folder) = nullptr;
    const wchar_t* name = L"BearShare";
    const wchar_t* localAppData = nullptr;
    std::wstring (*says)(const std::wstring& real, const std::wstring& copy) = nullptr;
};

// The address goes into the file the client will read: the real one, unless Windows will
// virtualize the client (a token that is not elevated, UAC on, a client that needs no
// elevation) and the file lies in a protected folder; then the copy under
// %LOCALAPPDATA%\VirtualStore when there is one, else the real file, else a copy made from it.
TEST_F(HandOffFile, TheAddressGoesWhereTheClientReadsIt) {
#define REAL "[General]\r\nname=real\r\n[Network]\r\nport=6346\r\n"
#define OLD "[General]\r\nname=copy\r\n"
#define KEYS "forcedIP=\"192.0.2.50\"\r\nbForcedIP=Yes\r\n"
    const KNOWNFOLDERID* x86 = &FOLDERID_ProgramFilesX86;
    const auto device = [](const std::wstring& f) { return L"\\\\?\\" + f; };
    const auto slashes = [](const std::wstring& f) {
        std::wstring s = f;
        for (wchar_t& c : s)
            c = c == L'\\' ? L'/' : towlower(c);
        return s;
    };
    const auto elevatedClient = [](const std::wstring& real, const std::wstring&) {
        return texts::ElevatedClientDenied(Quote(real));
    };
    // A folder that another folder may mend: the box offers the setup dialog.
    const auto notWritten = [](const std::wstring& real, const std::wstring&) {
        return texts::OfferingToChangeFolder(
            texts::FileNotWritten(Quote(real), ErrorText(ERROR_ACCESS_DENIED, real)));
    };
    const auto missing = [](const std::wstring&, const std::wstring&) {
        return texts::SystemFunctionMissing(Quote(L"SHGetKnownFolderPath"), Quote(L"SHELL32.dll"),
                                            ErrorText(ERROR_PROC_NOT_FOUND));
    };
    const auto copyTooLong = [](const std::wstring&, const std::wstring& copy) {
        return texts::OfferingToChangeFolder(texts::CopyTooLong(Quote(copy), MAX_PATH));
    };
    const std::wstring longName(200, L'n');
    const ProtectedCase cases[] = {
        {"copy exists", x86, L"", OLD, Real::Writable, Course::HandOff, REAL,
         OLD "[Network]\r\n" KEYS},
        {"no copy, real file writable", x86, L"", nullptr, Real::Writable, Course::HandOff,
         REAL KEYS, nullptr},
        {"no copy, real file not writable", x86, L"", nullptr, Real::Denied, Course::HandOff, REAL,
         REAL KEYS},
        {"in Program Files", &FOLDERID_ProgramFiles, L"", nullptr, Real::Denied, Course::HandOff,
         REAL, REAL KEYS},
        {"in ProgramData", &FOLDERID_ProgramData, L"", nullptr, Real::Denied, Course::HandOff, REAL,
         REAL KEYS},
        {"in Windows", &FOLDERID_Windows, L"", nullptr, Real::Denied, Course::HandOff, REAL,
         REAL KEYS},
        {"read-only real file", x86, L"", nullptr, Real::ReadOnlyDenied, Course::HandOff, REAL,
         REAL KEYS},
        {"no real file yet", x86, L"", nullptr, Real::MissingDenied, Course::HandOff, nullptr,
         "[Network]\r\n" KEYS},
        {"outside the protected folders, not writable", nullptr, L"", nullptr, Real::Denied,
         Course::Failure, REAL, nullptr, nullptr, L"BearShare", nullptr, notWritten},
        {"stored with a device prefix", x86, L"", OLD, Real::Writable, Course::HandOff, REAL,
         OLD "[Network]\r\n" KEYS, device},
        {"stored with slashes in lower case", x86, L"", OLD, Real::Writable, Course::HandOff, REAL,
         OLD "[Network]\r\n" KEYS, slashes},
        {"a user folder outside the code page", x86, L"", nullptr, Real::Denied, Course::HandOff,
         REAL, REAL KEYS, nullptr, L"BearShare", L"C:\\users\\\u0141ukasz\\AppData\\Local"},
        {"copy path too long", x86, L"", nullptr, Real::Denied, Course::Failure, REAL, nullptr,
         nullptr, longName.c_str(), nullptr, copyTooLong},
        // Run elevated, the client reads the real file.
        {"client that needs elevation", x86, L"740", nullptr, Real::Writable, Course::HandOff,
         REAL KEYS, nullptr},
        {"client that needs elevation, stale copy", x86, L"740", OLD, Real::Writable,
         Course::HandOff, REAL KEYS, OLD},
        {"client that needs elevation, real file not writable", x86, L"740", nullptr, Real::Denied,
         Course::Failure, REAL, nullptr, nullptr, L"BearShare", nullptr, elevatedClient},
        {"Tolvaring elevated, stale copy", x86, L"elevated", OLD, Real::Writable, Course::HandOff,
         REAL KEYS, OLD},
        {"UAC off, stale copy", x86, L"novirt", OLD, Real::Writable, Course::HandOff, REAL KEYS,
         OLD},
        // The client's own token decides: a newer build with a manifest of its own reads the
        // real file, whatever copy an older one left.
        {"client not virtualized, stale copy", x86, L"clientnotvirtualized", OLD, Real::Writable,
         Course::HandOff, REAL KEYS, OLD},
        {"client's token not to be asked", x86, L"clientunknown", OLD, Real::Writable,
         Course::HandOff, REAL, OLD "[Network]\r\n" KEYS},
        // Then our token's rule: with UAC off, nothing is virtualized.
        {"client's token not to be asked, UAC off, stale copy", x86, L"clientunknown novirt", OLD,
         Real::Writable, Course::HandOff, REAL KEYS, OLD},
        // The client created suspended is ended with the program.
        {"a function of Windows missing", x86, L"faildelayload", nullptr, Real::Writable,
         Course::Failure, REAL, nullptr, nullptr, L"BearShare", nullptr, missing},
    };
    for (const ProtectedCase& c : cases) {
        SCOPED_TRACE(c.what);
        const LocalAppDataAs profile(c.localAppData);
        const std::wstring local =
            c.localAppData ? c.localAppData : KnownFolderPath(FOLDERID_LocalAppData);
        const std::wstring folder =
            c.root ? KnownFolderPath(*c.root) + L"\\Tolvaring Test\\" + c.name : client;
        const std::wstring ini = folder + L"\\FreePeers.ini";
        const std::wstring copy = local + L"\\VirtualStore" + ini.substr(2);
        const std::wstring copyFolder = copy.substr(0, copy.rfind(L'\\'));
        SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
        PutClient(folder);
        DeleteFileW((folder + L"\\started.txt").c_str());
        for (const std::wstring& file : {copy, ini}) { // left read-only by a failed row
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(file.c_str());
        }
        RemoveDirectoryW(copyFolder.c_str());
        if (c.real != Real::MissingDenied) WriteFileBytes(ini, REAL);
        if (c.real == Real::ReadOnlyDenied)
            SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
        if (c.copyBefore) {
            SHCreateDirectoryExW(nullptr, copyFolder.c_str(), nullptr);
            WriteFileBytes(copy, c.copyBefore);
        }
        StoreSettings(c.stored ? c.stored(folder) : folder, PageUrl(L"/ip?ip=192.0.2.50"));
        const std::wstring locked = c.real == Real::MissingDenied ? folder : ini;
        EXPECT_TRUE(c.real == Real::Writable || SetImmutable(locked, true));
        SetEnvironmentVariableW(L"TOLVARING_TEST_LAUNCH", c.launch);
        const Observed seen = RunToTheEnd(work);
        SetEnvironmentVariableW(L"TOLVARING_TEST_LAUNCH", nullptr);
        EXPECT_TRUE(c.real == Real::Writable || SetImmutable(locked, false));
        SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_STREQ(Name(seen.course), Name(c.course)) << Narrow(seen.message);
        EXPECT_EQ(FileExists(ini), c.realAfter != nullptr);
        if (c.realAfter) {
            EXPECT_EQ(Narrow(ReadFileText(ini)), c.realAfter);
        }
        EXPECT_EQ(FileExists(copy), c.copyAfter != nullptr);
        if (c.copyAfter) {
            EXPECT_EQ(Narrow(ReadFileText(copy)), c.copyAfter);
            EXPECT_FALSE(GetFileAttributesW(copy.c_str()) & FILE_ATTRIBUTE_READONLY);
        } else if (!c.copyBefore) { // nothing made for a copy that is not there
            EXPECT_FALSE(FileExists(L"\\\\?\\" + copyFolder));
        }
        if (c.says) {
            EXPECT_EQ(seen.message, c.says(ini, copy));
        }
        if (c.course == Course::Failure) {
            EXPECT_FALSE(ClientLeftBehind(folder));
        }
        EXPECT_EQ(Started(folder), c.course == Course::HandOff);
    }
#undef REAL
#undef OLD
#undef KEYS
}

} // namespace
