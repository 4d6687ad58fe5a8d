// The platform pieces the program leans on, checked on the real thing.
#include "common/Ansi.h"
#include "common/ErrorText.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <wininet.h>

namespace {

TEST(ProfileFile, KeysAreReplacedOrAddedAndTheRestKept) {
    const std::wstring folder = MakeTempFolder(L"profile");
    const std::wstring file = folder + L"\\FreePeers.ini";
    WriteFileBytes(file, "[Other]\r\nkey=1\r\n[Network]\r\nforcedIP=\"1.1.1.1\"\r\nport=6346\r\n");
    WritePrivateProfileStringA("Network", "forcedIP", "\"192.0.2.7\"", ToAnsi(file).c_str());
    WritePrivateProfileStringA("Network", "bForcedIP", "Yes", ToAnsi(file).c_str());
    const std::wstring text = ReadFileText(file);
    EXPECT_NE(text.find(L"[Other]\r\nkey=1"), std::wstring::npos) << Narrow(text);
    EXPECT_NE(text.find(L"forcedIP=\"192.0.2.7\""), std::wstring::npos) << Narrow(text);
    EXPECT_NE(text.find(L"port=6346"), std::wstring::npos) << Narrow(text);
    EXPECT_NE(text.find(L"bForcedIP=Yes"), std::wstring::npos) << Narrow(text);
    EXPECT_EQ(text.find(L"1.1.1.1"), std::wstring::npos);
}

struct ErrorCase {
    DWORD code;
    const wchar_t* prefix;
};

TEST(ErrorText, NumberFirstAndNoLineBreaks) {
    const ErrorCase cases[] = {{ERROR_FILE_NOT_FOUND, L"Fehler 2"},
                               {ERROR_ACCESS_DENIED, L"Fehler 5"},
                               {ERROR_INTERNET_TIMEOUT, L"Fehler 12002"},
                               {ERROR_INTERNET_CANNOT_CONNECT, L"Fehler 12029"},
                               {0xDEADu, L"Fehler 57005"}};
    LoadLibraryW(L"wininet.dll");
    for (const ErrorCase& c : cases) {
        const std::wstring text = ErrorText(c.code);
        SCOPED_TRACE(Narrow(text));
        EXPECT_EQ(text.rfind(c.prefix, 0), 0u);
        EXPECT_EQ(text.find_first_of(L"\r\n"), std::wstring::npos);
    }
    EXPECT_GT(ErrorText(ERROR_FILE_NOT_FOUND).size(), std::wstring(L"Fehler 2: ").size());
}

TEST(ErrorText, InsertsAreFilledOrLeftOut) {
    const std::wstring filled = ErrorText(ERROR_BAD_EXE_FORMAT, L"C:\\x\\BearShare.exe");
    EXPECT_EQ(filled.find(L"%1"), std::wstring::npos) << Narrow(filled);
    EXPECT_NE(filled.find(L"C:\\x\\BearShare.exe"), std::wstring::npos) << Narrow(filled);
    const std::wstring bare = ErrorText(ERROR_BAD_EXE_FORMAT);
    EXPECT_EQ(bare.find(L"%"), std::wstring::npos) << Narrow(bare);
    EXPECT_EQ(bare.find(L" ."), std::wstring::npos) << Narrow(bare);
}

// The code page of the test prefix is 1252, as on a German system.
TEST(AnsiText, NeverBestFit) {
    EXPECT_EQ(ToAnsi(L"M\u00FCller"), "M\xFCller");
    EXPECT_EQ(FromAnsi("Gr\xFC\xDF"), L"Gr\u00FC\u00DF");
    EXPECT_EQ(ToAnsi(L""), "");
    const std::pair<const wchar_t*, bool> cases[] = {
        {L"C:\\Programme\\M\u00FCller \u00C4\u00D6\u00DC\u00DF", true},
        {L"\u0141ukasz", false},      // would become "Lukasz"
        {L"a\uFF3C..\uFF3Cb", false}, // would become "a\\..\\b"
        {L"\u041A\u043B", false},     // no look-alike at all
    };
    for (const auto& [text, exact] : cases) {
        EXPECT_EQ(IsAnsiExact(text), exact) << ToAnsi(text);
        if (!exact) {
            EXPECT_NE(ToAnsi(text).find('?'), std::string::npos) << ToAnsi(text);
        }
    }
}

} // namespace
