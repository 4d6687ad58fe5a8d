// The directory list from outside: it lists subfolders as the classic list did, without
// hidden ones, and opens the one the user picks.
#include "startup/DirList.h"
#include "startup/FolderPath.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class DirListTest : public testing::Test {
  protected:
    void SetUp() override {
        parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        list.Create(parent, 100, RECT{0, 0, 200, 200});
    }
    void TearDown() override { DestroyWindow(parent); }
    LRESULT Count() const { return SendMessageW(list.Hwnd(), LB_GETCOUNT, 0, 0); }

    HWND parent = nullptr;
    DirList list;
};

TEST_F(DirListTest, ShowsNormalAndSystemFoldersButNoHiddenOnes) {
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
    ASSERT_TRUE(list.SetPath(base));
    EXPECT_EQ(Count(), static_cast<LRESULT>(PathChain(base).size() + 2));
}

// A highlight alone changes nothing; Enter opens the highlighted folder, and a double
// click on an entry of the chain above goes back up to it.
TEST_F(DirListTest, EnterOrADoubleClickOpensTheHighlightedFolder) {
    const std::wstring base = MakeTempFolder(L"opening");
    CreateDirectoryW((base + L"\\Sub").c_str(), nullptr);
    ASSERT_TRUE(list.SetPath(base));
    SendMessageW(list.Hwnd(), LB_SETCURSEL, Count() - 1, 0);
    EXPECT_EQ(list.Path(), base);
    SendMessageW(list.Hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(list.Path(), base + L"\\Sub");
    SendMessageW(list.Hwnd(), LB_SETCURSEL, Count() - 2, 0);
    list.OnDoubleClick();
    EXPECT_EQ(list.Path(), base);
}

// What a screen reader reads: the folder names as the list's strings. A typed letter
// moves the highlight to the next folder that starts with it, and only the highlight.
TEST_F(DirListTest, FolderNamesCanBeReadAndTypedInto) {
    const std::wstring base = MakeTempFolder(L"readable");
    for (const wchar_t* name : {L"Alpha", L"Beta", L"Bravo", L"\u00C4pfel"})
        CreateDirectoryW((base + L"\\" + name).c_str(), nullptr);
    ASSERT_TRUE(list.SetPath(base));
    std::vector<std::wstring> items;
    for (LRESULT i = 0; i < Count(); ++i) {
        wchar_t text[MAX_PATH] = {};
        SendMessageW(list.Hwnd(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    ASSERT_GE(items.size(), 4u);
    EXPECT_EQ(std::vector<std::wstring>(items.end() - 4, items.end()),
              (std::vector<std::wstring>{L"Alpha", L"\u00C4pfel", L"Beta", L"Bravo"}));
    const auto indexOf = [&](const wchar_t* name) {
        return static_cast<LRESULT>(std::find(items.begin(), items.end(), name) - items.begin());
    };
    for (const auto& [letter, name] :
         {std::pair{L'b', L"Beta"}, std::pair{L'b', L"Bravo"}, std::pair{L'a', L"Alpha"}}) {
        SendMessageW(list.Hwnd(), WM_CHAR, letter, 1);
        EXPECT_EQ(SendMessageW(list.Hwnd(), LB_GETCURSEL, 0, 0), indexOf(name)) << Narrow(name);
    }
    EXPECT_EQ(list.Path(), base);
}

} // namespace
