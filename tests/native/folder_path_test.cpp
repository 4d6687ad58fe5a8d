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

// The copy that a virtualized client reads: only inside a protected folder, whatever the
// case of the letters, and never in a folder that merely begins with the same name.
TEST(FolderPath, VirtualStoreCopyOfProtectedFilesOnly) {
    const std::vector<std::wstring> roots = {L"C:\\Program Files", L"C:\\Program Files (x86)\\",
                                             L"C:\\Windows"};
    const std::wstring local = L"C:\\Users\\a\\AppData\\Local";
    const std::wstring store = local + L"\\VirtualStore\\";
    const std::pair<const wchar_t*, std::wstring> cases[] = {
        {L"C:\\Program Files (x86)\\BearShare\\FreePeers.ini",
         store + L"Program Files (x86)\\BearShare\\FreePeers.ini"},
        {L"c:\\PROGRAM FILES\\B\\FreePeers.ini", store + L"PROGRAM FILES\\B\\FreePeers.ini"},
        {L"C:\\Windows\\FreePeers.ini", store + L"Windows\\FreePeers.ini"},
        // Only another tool writes these; they name the same protected file.
        {L"\\\\?\\C:\\Program Files\\B\\FreePeers.ini", store + L"Program Files\\B\\FreePeers.ini"},
        {L"\\\\.\\c:\\windows\\FreePeers.ini", store + L"windows\\FreePeers.ini"},
        {L"\\\\?\\UNC\\server\\share\\FreePeers.ini", L""},
        {L"C:\\Program FilesX\\FreePeers.ini", L""},
        {L"C:\\Programme\\FreePeers.ini", L""},
        {L"D:\\Program Files\\B\\FreePeers.ini", L""},
        {L"\\\\server\\share\\FreePeers.ini", L""},
        {L"C:\\Program Files", L""},
    };
    for (const auto& [file, copy] : cases) {
        EXPECT_EQ(VirtualStorePath(file, roots, local), copy)
            << testing::PrintToString(std::wstring(file));
    }
    EXPECT_EQ(VirtualStorePath(cases[0].first, roots, L""), L"");
}

} // namespace
