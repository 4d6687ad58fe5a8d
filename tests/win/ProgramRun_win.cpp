#include "ProgramRun.h"

#include "common/Ansi.h"
#include "tests/win/Driver.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

const char kCompanyKey[] = "Software\\Harlund";
const char kSettingsKey[] = "Software\\Harlund\\Tolvaring\\1.0";

void WriteRawSetting(const wchar_t* name, DWORD type, const std::string& bytes) {
    WriteRawValue(HKEY_CURRENT_USER, kSettingsKey, ToAnsi(name), type, bytes);
}

void StoreSetting(const wchar_t* name, const std::wstring& value) {
    WriteRawSetting(name, REG_SZ, ToAnsi(value) + '\0');
}

void StoreSettingWide(const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, FromAnsi(kSettingsKey).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                    nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void StoreSettings(const std::wstring& folder, const std::wstring& url) {
    StoreSetting(kFolderSetting, folder);
    StoreSetting(kUrlSetting, url);
}

RawValue RawSetting(const wchar_t* name) {
    return ReadRawValue(HKEY_CURRENT_USER, kSettingsKey, ToAnsi(name));
}

bool PutClient(const std::wstring& folder) {
    return CopyFileW((ExeFolder() + L"\\fakeclient.exe").c_str(),
                     (folder + L"\\BearShare.exe").c_str(), FALSE);
}

void ForgetSettings() {
    DeleteTree(HKEY_CURRENT_USER, kCompanyKey);
}

const char* Name(Course c) {
    static const char* const names[] = {"hand-off", "question", "failure box", "setup dialog",
                                        "no end"};
    return names[static_cast<int>(c)];
}

Observed RunToTheEnd(const std::wstring& workFolder, DWORD ms, const wchar_t* exeName) {
    const std::wstring boxLog = workFolder + L"\\boxes.log";
    DeleteFileW(boxLog.c_str());
    SetEnvironmentVariableW(L"TOLVARING_TEST_BOX_LOG", boxLog.c_str());
    const ULONGLONG start = GetTickCount64();
    Program program(workFolder, exeName);
    Observed seen;
    seen.course = Course::HandOff;
    const ULONGLONG end = start + ms;
    while (GetTickCount64() < end) {
        seen.peakMiB = std::max(seen.peakMiB, program.PeakWorkingSetMiB());
        if (program.WaitExit(50) != STILL_ACTIVE) break;
        for (HWND h : program.Windows()) {
            if (seen.statusAfterMs == 0 && ClassOf(h) == L"TolvaringStatus")
                seen.statusAfterMs = GetTickCount64() - start;
            const bool box = ClassOf(h) == L"#32770" && CaptionOf(h) == texts::kAppTitle;
            const bool setup = CaptionOf(h) == texts::kSetupCaption;
            if ((box || setup) && seen.boxAfterMs == 0) seen.boxAfterMs = GetTickCount64() - start;
            if (box) {
                RECT r{};
                GetWindowRect(h, &r);
                seen.boxWidth = r.right - r.left;
                seen.message = MessageBoxText(h);
                seen.course = seen.message == texts::kQuestion ? Course::Question : Course::Failure;
                // No to the question and to changing the folder.
                Click(GetDlgItem(h, GetDlgItem(h, IDOK) ? IDOK : IDNO));
            } else if (setup) {
                seen.course = Course::Setup;
                PostMessageW(h, WM_CLOSE, 0, 0);
            }
        }
    }
    seen.exitCode = program.WaitExit(5000);
    SetEnvironmentVariableW(L"TOLVARING_TEST_BOX_LOG", nullptr);
    // One line per box; the last one is the last box.
    std::wstring log = ReadFileText(boxLog);
    while (!log.empty() && (log.back() == L'\n' || log.back() == L'\r'))
        log.pop_back();
    const std::size_t lineStart = log.find_last_of(L'\n');
    if (!log.empty())
        seen.boxStyle = static_cast<UINT>(std::wcstoul(
            log.c_str() + (lineStart == std::wstring::npos ? 0 : lineStart + 1), nullptr, 10));
    if (seen.exitCode == STILL_ACTIVE) seen.course = Course::Hung;
    return seen;
}

std::vector<StallCase> StallCases(DWORD boundMs) {
    const std::wstring silent = TestPort(L"TOLVARING_TEST_SILENT_PORT");
    const std::wstring full = TestPort(L"TOLVARING_TEST_FULL_PORT");
    const std::wstring timeout = texts::Timeout((boundMs + 999) / 1000);
    return {
        {"headers trickled", PageUrl(L"/trickleheaders?every=0.5"), Course::Failure, timeout},
        {"status line trickled", PageUrl(L"/tricklestatus?every=0.5"), Course::Failure, timeout},
        {"100 Continue again and again", PageUrl(L"/continue?every=0.2"), Course::Failure, timeout},
        // Cut off by the memory they take, before the bound on a quiet machine (the reason is
        // AFetchGivenUpLetsGoOfTheServer's to check, with a bound no machine reaches).
        {"endless headers", PageUrl(L"/endlessheaders"), Course::Failure, L""},
        {"TLS port that never speaks", L"https://127.0.0.1:" + silent + L"/ip", Course::Failure,
         timeout},
        {"full accept queue", L"http://127.0.0.1:" + full + L"/ip", Course::Failure, timeout},
        // The status decides before the body is read, and the body is left to the
        // abandoned request: no wait for it at all.
        {"endless body after 500", PageUrl(L"/endlessbody?status=500"), Course::Failure,
         texts::HttpStatus(500)},
        {"endless body after 302", PageUrl(L"/endlessbody?status=302&location=/ip?ip=192.0.2.9"),
         Course::HandOff, L""},
        {"endless chunked body", PageUrl(L"/endlesschunked"), Course::Failure, timeout},
        {"no answer at all", PageUrl(L"/hang"), Course::Failure, timeout},
        // Six hops to the bound: within the redirect limit, so only the deadline ends it.
        {"slow redirect hops",
         PageUrl(L"/slowhop?n=100&delay=" + std::to_wstring(boundMs / 6000.0)), Course::Failure,
         timeout},
    };
}

void ExpectEveryStallEnds(DWORD boundMs, const wchar_t* exeName, const std::wstring& clientFolder,
                          const std::wstring& workFolder) {
    const std::wstring ini = clientFolder + L"\\FreePeers.ini";
    const std::wstring started = clientFolder + L"\\started.txt";
    StoreSetting(kFolderSetting, clientFolder);
    for (const StallCase& c : StallCases(boundMs)) {
        SCOPED_TRACE(c.what);
        DeleteFileW(ini.c_str());
        DeleteFileW(started.c_str());
        StoreSetting(kUrlSetting, c.url);
        const Observed seen = RunToTheEnd(workFolder, boundMs + 20000, exeName);
        EXPECT_STREQ(Name(seen.course), Name(c.course)) << Narrow(seen.message);
        EXPECT_NE(seen.message.find(c.reason), std::wstring::npos) << Narrow(seen.message);
        if (c.course == Course::Failure) {
            EXPECT_LE(seen.boxAfterMs, seen.statusAfterMs + boundMs + 2000);
            EXPECT_EQ(seen.exitCode, 1u);
            EXPECT_FALSE(FileExists(ini));
            EXPECT_FALSE(FileExists(started));
        } else {
            EXPECT_TRUE(WaitUntil([&] { return FileExists(started); }, 5000));
        }
        std::printf("  %-30s status window at %5llu ms, box at %5llu ms, peak %.0f MiB\n", c.what,
                    seen.statusAfterMs, seen.boxAfterMs, seen.peakMiB);
    }
}
