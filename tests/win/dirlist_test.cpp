// The directory list from outside: it lists subfolders as the classic list did, without
// hidden ones.
#include "startup/DirList.h"
#include "startup/FolderPath.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(DirList, ShowsNormalAndSystemFoldersButNoHiddenOnes) {
    const std::wstring base = MakeTempFolder(L"dirlist");
    const std::pair<const wchar_t*, DWORD> folders[] = {
        {L"normal", FILE_ATTRIBUTE_NORMAL},
        {L"system", FILE_ATTRIBUTE_SYSTEM},
        {L"hidden", FILE_ATTRIBUTE_HIDDEN},
        {L"hidden-system", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
    };
    for (const auto& [name, attributes] : folders) {
        const std::wstring path = base + L"\\" + name;
        CreateDirectoryW(path.c_str(), nullptr);
        SetFileAttributesW(path.c_str(), attributes);
    }
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    DirList list;
    list.Create(parent, 100, RECT{0, 0, 200, 200});
    ASSERT_TRUE(list.SetPath(base));
    const LRESULT count = SendMessageW(list.Hwnd(), LB_GETCOUNT, 0, 0);
    EXPECT_EQ(count, static_cast<LRESULT>(PathChain(base).size() + 2));
    DestroyWindow(parent);
}

} // namespace
