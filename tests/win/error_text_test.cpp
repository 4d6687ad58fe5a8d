// Platform error codes as the text a German box shows: the number first, on one line.
#include "common/ErrorText.h"
#include "common/Texts.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <wininet.h>

namespace {

TEST(ErrorText, NumberFirstAndNoLineBreaks) {
    LoadLibraryW(L"wininet.dll");
    for (DWORD code :
         {DWORD(ERROR_FILE_NOT_FOUND), DWORD(ERROR_ACCESS_DENIED), DWORD(ERROR_INTERNET_TIMEOUT),
          DWORD(ERROR_INTERNET_CANNOT_CONNECT), DWORD(0xDEAD)}) {
        const std::wstring text = ErrorText(code);
        SCOPED_TRACE(Narrow(text));
        EXPECT_EQ(text.rfind(texts::ErrorNumber(code), 0), 0u);
        EXPECT_EQ(text.find_first_of(L"\r\n"), std::wstring::npos);
    }
    // The system's own words follow the number.
    EXPECT_GT(ErrorText(ERROR_FILE_NOT_FOUND).size(), texts::ErrorNumber(2).size() + 2);
    // A code above 2^31 as Windows counts it, not as a 32-bit long would (a native test,
    // where long has 64 bits, cannot see that).
    EXPECT_EQ(ErrorText(0x80004005).rfind(L"Fehler 2147500037", 0), 0u);
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
