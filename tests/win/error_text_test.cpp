// Platform error codes as the text a German box shows: the number first, on one line.
#include "common/ErrorText.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <wininet.h>

namespace {

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

} // namespace
