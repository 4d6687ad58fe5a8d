// The folder paths the directory list walks.
#include "startup/FolderPath.h"

#include <gtest/gtest.h>

namespace {

struct ChainCase {
    const wchar_t* path;
    const wchar_t* root;
    std::vector<std::wstring> chain;
};

TEST(FolderPath, RootsAndChains) {
    const ChainCase cases[] = {
        {L"C:\\", L"C:\\", {L"C:\\"}},
        {L"C:\\a\\b", L"C:\\", {L"C:\\", L"C:\\a", L"C:\\a\\b"}},
        {L"C:\\a\\\\b\\", L"C:\\", {L"C:\\", L"C:\\a", L"C:\\a\\b"}},
        {L"\\\\server\\share\\x",
         L"\\\\server\\share\\",
         {L"\\\\server\\share\\", L"\\\\server\\share\\x"}},
        {L"\\\\server\\share", L"\\\\server\\share\\", {L"\\\\server\\share\\"}},
        {L"relative\\x", L"", {L"", L"relative", L"relative\\x"}},
    };
    for (const ChainCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.path)));
        EXPECT_EQ(PathRoot(c.path), c.root);
        EXPECT_EQ(PathChain(c.path), c.chain);
    }
}

TEST(FolderPath, TrailingSlashesGoButARootKeepsItsOwn) {
    EXPECT_EQ(WithoutTrailingSlash(L"C:\\a\\\\"), L"C:\\a");
    EXPECT_EQ(WithoutTrailingSlash(L"C:\\"), L"C:\\");
    EXPECT_EQ(JoinPath(L"C:\\", L"a"), L"C:\\a");
    EXPECT_EQ(JoinPath(L"C:\\a", L"b"), L"C:\\a\\b");
}

} // namespace
