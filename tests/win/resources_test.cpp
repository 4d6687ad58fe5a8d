// The built Tolvaring.exe seen from outside: version record, icon group, manifest.
#include "resources/resource.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

std::wstring ProgramPath() {
    return ExeFolder() + L"\\Tolvaring.exe";
}

class VersionRecord : public testing::Test {
  protected:
    void SetUp() override {
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeW(ProgramPath().c_str(), &handle);
        ASSERT_GT(size, 0u);
        data.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(ProgramPath().c_str(), 0, size, data.data()));
    }
    // The string of `name` in block 040704B0, or "<none>".
    std::wstring String(const wchar_t* name) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040704B0\\") + name;
        if (!VerQueryValueW(data.data(), path.c_str(), &value, &length) || !value) return L"<none>";
        return std::wstring(static_cast<const wchar_t*>(value));
    }
    std::vector<char> data;
};

TEST_F(VersionRecord, HoldsExactlyTheProgramsIdentity) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    const struct {
        const wchar_t* name;
        const wchar_t* value;
    } strings[] = {{L"FileVersion", L"1.00"},      {L"ProductVersion", L"1.00"},
                   {L"ProductName", L"Tolvaring"}, {L"InternalName", L"Tolvaring"},
                   {L"CompanyName", L"<none>"},    {L"FileDescription", L"<none>"}};
    for (const auto& s : strings)
        EXPECT_EQ(String(s.name), s.value) << Narrow(s.name);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0407);
    EXPECT_EQ(translation[1], 1200);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(ProgramIcon, OneGroupWithTheThreeImages) {
    HMODULE exe = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(exe);
    int groups = 0;
    EnumResourceNamesW(
        exe, RT_GROUP_ICON,
        [](HMODULE, LPCWSTR, LPWSTR, LONG_PTR n) -> BOOL {
            ++*reinterpret_cast<int*>(n);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&groups));
    EXPECT_EQ(groups, 1);
    HRSRC res = FindResourceW(exe, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    ASSERT_TRUE(res);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(exe, res)));
    const WORD count = *reinterpret_cast<const WORD*>(bytes + 4);
    ASSERT_EQ(count, 3);
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(bytes + 6);
    const struct { int size, colours, bits; } expected[] = {{32, 2, 1}, {32, 16, 4}, {16, 16, 4}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].width, expected[i].size);
        EXPECT_EQ(entries[i].height, expected[i].size);
        EXPECT_EQ(entries[i].colorCount, expected[i].colours);
        EXPECT_EQ(entries[i].bitCount, expected[i].bits);
        // The image itself: a DIB of the size and depth the directory promises.
        HRSRC image = FindResourceW(exe, MAKEINTRESOURCEW(entries[i].id), RT_ICON);
        EXPECT_TRUE(image);
        if (!image) continue;
        const auto* dib =
            static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(exe, image)));
        EXPECT_EQ(dib->biWidth, expected[i].size);
        EXPECT_EQ(dib->biHeight, 2 * expected[i].size);
        EXPECT_EQ(dib->biBitCount, expected[i].bits);
    }
    FreeLibrary(exe);
}

// The program's own manifest asks for DPI awareness and no elevation; the common controls
// of version 6 come from a second one, for the windows that show them.
TEST(Manifest, AsksForDpiAwarenessNoElevationAndCommonControls6Apart) {
    HMODULE exe = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(exe);
    const auto manifest = [&](WORD id) {
        HRSRC res = FindResourceW(exe, MAKEINTRESOURCEW(id), RT_MANIFEST);
        return res ? std::string(static_cast<const char*>(LockResource(LoadResource(exe, res))),
                                 SizeofResource(exe, res))
                   : std::string();
    };
    const std::string own = manifest(1), controls = manifest(IDR_COMMON_CONTROLS_MANIFEST);
    EXPECT_EQ(manifest(2), ""); // the loader's ISOLATIONAWARE_MANIFEST_RESOURCE_ID
    for (const char* part : {"level=\"asInvoker\"", "<dpiAware", ">true</dpiAware>",
                             "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(own.find(part), std::string::npos) << part;
    EXPECT_EQ(own.find("Common-Controls"), std::string::npos);
    for (const char* part : {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\""})
        EXPECT_NE(controls.find(part), std::string::npos) << part;
    // Each manifest names itself first, as Windows requires of an assembly.
    for (const std::string* m : {&own, &controls})
        EXPECT_LT(m->find("<assemblyIdentity"),
                  std::min(m->find("<dependency>"), m->find("<description>")));
    FreeLibrary(exe);
}

} // namespace
