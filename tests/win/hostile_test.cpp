// Hostile pages, broken networks, odd settings: the real program must end with a clear
// German message or the question, never crash or hang, and never leave a half-written or
// wrong FreePeers.ini behind.
#include "common/Ansi.h"
#include "tests/win/Driver.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

namespace {

const std::string kSettingsKey = "Software\\Harlund\\Tolvaring\\1.0";
const wchar_t kQuestion[] =
    L"Es konnte keine IpAdresse ermittelt werden. Wollen Sie die Website \u00E4ndern?";

enum class Course { HandOff, Question, Failure, Setup, Hung };

const char* Name(Course c) {
    switch (c) {
    case Course::HandOff:
        return "hand-off";
    case Course::Question:
        return "question";
    case Course::Failure:
        return "failure box";
    case Course::Setup:
        return "setup dialog";
    case Course::Hung:
        return "no end";
    }
    return "?";
}

struct Observed {
    Course course = Course::Hung;
    std::wstring message;
    DWORD exitCode = STILL_ACTIVE;
};

// Runs the program to its end, answering what it shows: No to the question, OK to a
// failure box, closing the setup dialog.
Observed RunToTheEnd(const std::wstring& work, DWORD ms = 40000) {
    Program program(work);
    Observed seen;
    seen.course = Course::HandOff;
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        if (program.WaitExit(100) != STILL_ACTIVE) break;
        for (HWND h : program.Windows()) {
            if (ClassOf(h) == L"#32770" && CaptionOf(h) == L"Tolvaring") {
                seen.message = MessageBoxText(h);
                seen.course = seen.message == kQuestion ? Course::Question : Course::Failure;
                Click(GetDlgItem(h, seen.course == Course::Question ? IDNO : IDOK));
            } else if (CaptionOf(h) == L"Tolvaring? - Setup") {
                seen.course = Course::Setup;
                PostMessageW(h, WM_CLOSE, 0, 0);
            }
        }
    }
    seen.exitCode = program.WaitExit(5000);
    if (seen.exitCode == STILL_ACTIVE) seen.course = Course::Hung;
    return seen;
}

class Hostile : public testing::Test {
  protected:
    void SetUp() override {
        DeleteTree(HKEY_CURRENT_USER, "Software\\Harlund");
        work = MakeTempFolder(L"work");
        client = MakeTempFolder(L"client");
        CopyFileW((ExeFolder() + L"\\fakeclient.exe").c_str(),
                  (client + L"\\BearShare.exe").c_str(), FALSE);
    }
    void TearDown() override { DeleteTree(HKEY_CURRENT_USER, "Software\\Harlund"); }

    static void StoreText(const char* name, const std::wstring& value) {
        WriteRawValue(HKEY_CURRENT_USER, kSettingsKey, name, REG_SZ, ToAnsi(value) + '\0');
    }
    std::wstring Ini() const { return ReadFileText(client + L"\\FreePeers.ini"); }
    bool Started() const {
        WaitUntil([&] { return FileExists(client + L"\\started.txt"); }, 2000);
        return FileExists(client + L"\\started.txt");
    }

    std::wstring work, client;
};

struct PageCase {
    const char* what;
    std::wstring path; // on the loopback server
    Course course;
    std::wstring address; // for a hand-off: exactly what forcedIP must hold
};

// Every page: what the program must do with it, and the file afterwards.
TEST_F(Hostile, Pages) {
    const PageCase cases[] = {
        {"8 MiB of full stops: no address", L"/dots?mib=8", Course::Question, L""},
        {"binary garbage and NULs, no address",
         L"/echo?hex=" + Hex(std::string("\x00\xff\xfe\x01.\x02.\x03.\x00\x80\x81", 12)),
         Course::Question, L""},
        {"binary garbage around an address",
         L"/echo?hex=" + Hex(std::string("\x00\xff\x7f IP 192.0.2.10 \x00\x9f\x01", 22)),
         Course::HandOff, L"192.0.2.10"},
        {"invalid UTF-8 around an address",
         L"/echo?hex=" + Hex("\xC3\x28\xE2\x82 192.0.2.11 \xF0\x28"), Course::HandOff,
         L"192.0.2.11"},
        {"address between CR LF and TAB", L"/echo?hex=" + Hex("IP:\r\n\t192.0.2.12\r\n\t"),
         Course::HandOff, L"192.0.2.12"},
        {"address between NULs",
         L"/echo?hex=" + Hex(std::string("\0"
                                         "192.0.2.13"
                                         "\0",
                                         12)),
         Course::HandOff, L"192.0.2.13"},
        {"line break inside the address", L"/echo?hex=" + Hex("192.0\r\n.2.14"), Course::Question,
         L""},
        {"NUL inside the address",
         L"/echo?hex=" + Hex(std::string("192.0.\0"
                                         "2.15",
                                         11)),
         Course::Question, L""},
        {"redirect loop", L"/loop", Course::Failure, L""},
        {"redirect to a refused port", L"/redirect?to=http%3A%2F%2F127.0.0.1%3A1%2F",
         Course::Failure, L""},
        {"500 with an address", L"/echo?status=500&body=Server%20192.0.2.99", Course::Failure, L""},
        {"503 with an address", L"/echo?status=503&body=Server%20192.0.2.98", Course::Failure, L""},
        {"closed in the middle of the body", L"/cut", Course::Failure, L""},
        {"9 MiB page", L"/big?mib=9", Course::Failure, L""},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileW((client + L"\\FreePeers.ini").c_str());
        DeleteFileW((client + L"\\started.txt").c_str());
        StoreText("BearShareDirectory", client);
        StoreText("URL", PageUrl(c.path));
        const Observed seen = RunToTheEnd(work);
        EXPECT_STREQ(Name(seen.course), Name(c.course)) << Narrow(seen.message);
        if (c.course == Course::HandOff) {
            EXPECT_EQ(seen.exitCode, 0u);
            EXPECT_EQ(Ini(), L"[Network]\r\nforcedIP=\"" + c.address + L"\"\r\nbForcedIP=Yes\r\n");
            EXPECT_TRUE(Started());
        } else {
            EXPECT_EQ(seen.exitCode, c.course == Course::Failure ? 1u : 0u);
            EXPECT_FALSE(FileExists(client + L"\\FreePeers.ini"));
            EXPECT_FALSE(Started());
        }
        if (c.course == Course::Failure) {
            EXPECT_NE(seen.message.find(PageUrl(c.path)), std::wstring::npos)
                << Narrow(seen.message);
        }
    }
}

struct UrlCase {
    const char* what;
    std::wstring url;
    Course course;
};

TEST_F(Hostile, AddressesThatAreNotAddresses) {
    const UrlCase cases[] = {
        {"empty: the setup dialog", L"", Course::Setup},
        {"no scheme, nothing listening", L"127.0.0.1:1/ip", Course::Failure},
        {"misspelt scheme", L"htp:/x", Course::Failure},
        {"a file path", L"C:\\autoexec.bat", Course::Failure},
        {"5,000 characters", L"http://127.0.0.1:1/" + std::wstring(4981, L'a'), Course::Failure},
        {"a host that cannot be resolved", L"http://tolvaring-test.invalid/ip", Course::Failure},
        {"not http", L"ftp://127.0.0.1/ip", Course::Failure},
    };
    for (const UrlCase& c : cases) {
        SCOPED_TRACE(c.what);
        StoreText("BearShareDirectory", client);
        StoreText("URL", c.url);
        const Observed seen = RunToTheEnd(work);
        EXPECT_STREQ(Name(seen.course), Name(c.course)) << Narrow(seen.message);
        EXPECT_FALSE(FileExists(client + L"\\FreePeers.ini"));
        if (c.course == Course::Failure) {
            EXPECT_EQ(seen.exitCode, 1u);
            EXPECT_NE(seen.message.find(L"konnte nicht geladen werden"), std::wstring::npos)
                << Narrow(seen.message);
        }
    }
}

// A settings file that cannot be written (read-only, or held open by another program):
// the writes fail silently, the file keeps its content and the client starts anyway.
TEST_F(Hostile, UnwritableSettingsFileIsLeftAloneAndTheClientStillStarts) {
    const std::string original = "[Network]\r\nforcedIP=\"10.0.0.1\"\r\n";
    const std::wstring ini = client + L"\\FreePeers.ini";
    WriteFileBytes(ini, original);
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
    // Running as root, Wine lets a read-only file be written; a handle that shares nothing
    // makes the file unwritable there too.
    KernelHandle lock(CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    StoreText("BearShareDirectory", client);
    StoreText("URL", PageUrl(L"/ip?ip=192.0.2.20"));
    const Observed seen = RunToTheEnd(work);
    lock.Reset();
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_STREQ(Name(seen.course), Name(Course::HandOff));
    EXPECT_EQ(Ini(), std::wstring(original.begin(), original.end()));
    EXPECT_TRUE(Started());
}

struct FolderCase {
    const char* what;
    std::wstring folder;
};

TEST_F(Hostile, FoldersThatAreNotThere) {
    const FolderCase cases[] = {
        {"a folder that does not exist", client + L"\\gibt-es-nicht"},
        // Stored through the ANSI code page, the Cyrillic letters become question marks,
        // which no folder name can hold.
        {"characters outside the code page", client + L"\\\u041A\u043B\u0438\u0435\u043D\u0442"},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.what);
        CreateDirectoryW(c.folder.c_str(), nullptr);
        if (c.folder.find(L"gibt-es-nicht") != std::wstring::npos)
            RemoveDirectoryW(c.folder.c_str());
        StoreText("BearShareDirectory", c.folder);
        StoreText("URL", PageUrl(L"/ip?ip=192.0.2.21"));
        const Observed seen = RunToTheEnd(work);
        EXPECT_STREQ(Name(seen.course), Name(Course::Failure));
        EXPECT_EQ(seen.exitCode, 1u);
        EXPECT_NE(seen.message.find(L"BearShare.exe"), std::wstring::npos) << Narrow(seen.message);
        EXPECT_FALSE(FileExists(c.folder + L"\\FreePeers.ini"));
    }
}

struct TypeCase {
    const char* what;
    const char* name;
    DWORD type;
    std::string bytes;
    Course course;
};

TEST_F(Hostile, SettingsOfTheWrongType) {
    const std::string dword("\x05\0\0\0", 4);
    const TypeCase cases[] = {
        // Values that read as the empty state count as absent: the setup dialog.
        {"URL as REG_BINARY", "URL", REG_BINARY, "\x01\x02", Course::Setup},
        {"URL as REG_EXPAND_SZ", "URL", REG_EXPAND_SZ, std::string("%URL%\0", 6), Course::Setup},
        {"folder as REG_BINARY", "BearShareDirectory", REG_BINARY, "\x01", Course::Setup},
        {"folder as REG_EXPAND_SZ", "BearShareDirectory", REG_EXPAND_SZ,
         std::string("%ProgramFiles%\\BearShare\0", 25), Course::Setup},
        // An integer reads as its decimal text: "5" is no page and no client folder.
        {"URL as REG_DWORD", "URL", REG_DWORD, dword, Course::Failure},
        {"folder as REG_DWORD", "BearShareDirectory", REG_DWORD, dword, Course::Failure},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.what);
        StoreText("BearShareDirectory", client);
        StoreText("URL", PageUrl(L"/ip?ip=192.0.2.22"));
        WriteRawValue(HKEY_CURRENT_USER, kSettingsKey, c.name, c.type, c.bytes);
        const Observed seen = RunToTheEnd(work);
        EXPECT_STREQ(Name(seen.course), Name(c.course)) << Narrow(seen.message);
        EXPECT_FALSE(FileExists(client + L"\\FreePeers.ini"));
        // The program never rewrites a setting by itself.
        const RawValue after = ReadRawValue(HKEY_CURRENT_USER, kSettingsKey, c.name);
        EXPECT_EQ(after.type, c.type);
        EXPECT_EQ(after.bytes, c.bytes);
    }
}

} // namespace
