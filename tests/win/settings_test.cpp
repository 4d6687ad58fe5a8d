// The settings class against the real registry; what it wrote is read back through the
// raw API, never through the class itself.
#include "common/Texts.h"
#include "settings/clsRegistry.h"
#include "tests/win/Driver.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

const std::string kCompanyKey = "Software\\TolvaringTest";
const std::string kAppKey = "Software\\TolvaringTest\\Settings\\1.0";

class Registry : public testing::Test {
  protected:
    void SetUp() override {
        DeleteTree(HKEY_CURRENT_USER, kCompanyKey);
        reg.Firma(L"TolvaringTest");
        reg.HKey(RootKeyValue(HKEY_CURRENT_USER));
        reg.Produkt(L"Settings");
        reg.Version(L"1.0");
    }
    void TearDown() override { DeleteTree(HKEY_CURRENT_USER, kCompanyKey); }

    RawValue Raw(const std::string& path, const std::string& name) {
        return ReadRawValue(HKEY_CURRENT_USER, path, name);
    }
    clsRegistry reg;
};

TEST(RegistryConstruction, StartsAtCurrentUserWithEmptyNames) {
    clsRegistry fresh;
    EXPECT_EQ(static_cast<std::uint32_t>(fresh.HKey()), 0x80000001u);
    EXPECT_EQ(fresh.Firma(), L"");
    EXPECT_EQ(fresh.Produkt(), L"");
    EXPECT_EQ(fresh.Version(), L"");
}

// What each kind of value becomes in the registry.
struct WriteCase {
    const char* name;
    SettingsValue value;
    DWORD type;
    std::string bytes;
};

TEST_F(Registry, WritesEachKindWithExactTypeAndBytes) {
    const WriteCase cases[] = {
        {"text", SettingsValue(L"C:\\BearShare"), REG_SZ, std::string("C:\\BearShare\0", 13)},
        {"empty text", SettingsValue(L""), REG_SZ, std::string("\0", 1)},
        {"ansi text", SettingsValue(L"M\u00FCller"), REG_SZ, std::string("M\xFCller\0", 7)},
        {"int32 -1", SettingsValue::Integer32(-1), REG_DWORD, std::string("\xFF\xFF\xFF\xFF", 4)},
        {"int16 -1", SettingsValue::Integer16(-1), REG_DWORD, std::string("\xFF\xFF\xFF\xFF", 4)},
        {"int16 258", SettingsValue::Integer16(258), REG_DWORD, std::string("\x02\x01\0\0", 4)},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        reg.Value(L"", L"v", c.value);
        const RawValue raw = Raw(kAppKey, "v");
        EXPECT_TRUE(raw.exists);
        EXPECT_EQ(raw.type, c.type);
        EXPECT_EQ(raw.bytes, c.bytes);
    }
    EXPECT_EQ(KeyClass(HKEY_CURRENT_USER, kAppKey), "X");
}

TEST_F(Registry, ObjectsAreWrittenAsTheirDefaultProperty) {
    struct Box : HasDefaultProperty {
        SettingsValue DefaultValue() const override { return L"http://127.0.0.1/ip"; }
    } box;
    reg.Value(L"", L"URL", SettingsValue::Object(box));
    EXPECT_EQ(Raw(kAppKey, "URL").bytes, std::string("http://127.0.0.1/ip\0", 20));
}

TEST_F(Registry, IgnoredKindsCreateTheKeyButLeaveTheValueAlone) {
    const SettingsValue ignored[] = {SettingsValue(),
                                     SettingsValue::Null(),
                                     SettingsValue::Boolean(true),
                                     SettingsValue::Double(1.5),
                                     SettingsValue::Date(45000.0),
                                     SettingsValue::Byte(7)};
    for (const SettingsValue& v : ignored) {
        DeleteTree(HKEY_CURRENT_USER, kCompanyKey);
        reg.Value(L"Sec", L"fresh", v);
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kAppKey + "\\Sec"));
        EXPECT_EQ(KeyClass(HKEY_CURRENT_USER, kAppKey + "\\Sec"), "X");
        EXPECT_FALSE(Raw(kAppKey + "\\Sec", "fresh").exists);

        reg.Value(L"Sec", L"old", L"keep");
        reg.Value(L"Sec", L"old", v);
        EXPECT_EQ(Raw(kAppKey + "\\Sec", "old").bytes, std::string("keep\0", 5));
    }
}

// What reading yields for each kind of stored data.
struct ReadCase {
    const char* name;
    DWORD type;
    std::string bytes;
    SettingsValue::Kind kind;
    std::wstring text;
    std::int32_t integer;
};

TEST_F(Registry, ReadsEachTypeOfStoredData) {
    const ReadCase cases[] = {
        {"text", REG_SZ, std::string("abc\0", 4), SettingsValue::Kind::Text, L"abc", 0},
        {"lone NUL", REG_SZ, std::string("\0", 1), SettingsValue::Kind::Text, L"", 0},
        {"cut at first NUL", REG_SZ, std::string("ab\0cd\0", 6), SettingsValue::Kind::Text, L"ab",
         0},
        {"number as text", REG_SZ, std::string("123\0", 4), SettingsValue::Kind::Text, L"123", 0},
        {"no terminator", REG_SZ, std::string("xyz", 3), SettingsValue::Kind::Text, L"xyz", 0},
        {"no data", REG_SZ, std::string(), SettingsValue::Kind::Text, L"", 0},
        {"ansi", REG_SZ, std::string("Gr\xFC\xDF\0", 5), SettingsValue::Kind::Text,
         L"Gr\u00FC\u00DF", 0},
        {"dword -1", REG_DWORD, std::string("\xFF\xFF\xFF\xFF", 4), SettingsValue::Kind::Integer32,
         L"-1", -1},
        {"dword 5", REG_DWORD, std::string("\x05\0\0\0", 4), SettingsValue::Kind::Integer32, L"5",
         5},
        {"expand_sz", REG_EXPAND_SZ, std::string("%TEMP%\0", 7), SettingsValue::Kind::Empty, L"",
         0},
        {"binary", REG_BINARY, std::string("\x01\x02", 2), SettingsValue::Kind::Empty, L"", 0},
        {"multi_sz", REG_MULTI_SZ, std::string("a\0b\0\0", 5), SettingsValue::Kind::Empty, L"", 0},
        {"none", REG_NONE, std::string(), SettingsValue::Kind::Empty, L"", 0},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteRawValue(HKEY_CURRENT_USER, kAppKey, "v", c.type, c.bytes);
        const SettingsValue v = reg.Value(L"", L"v");
        EXPECT_EQ(v.kind(), c.kind);
        EXPECT_EQ(v.ToText(), c.text);
        if (c.kind == SettingsValue::Kind::Integer32) {
            EXPECT_EQ(v.Integer(), c.integer);
        }
    }
}

TEST_F(Registry, MissingKeysAndValuesReadAsEmptyTextAndCreateNothing) {
    const SettingsValue missingKey = reg.Value(L"Nowhere", L"URL");
    EXPECT_EQ(missingKey.kind(), SettingsValue::Kind::Text);
    EXPECT_EQ(missingKey.ToText(), L"");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kCompanyKey));

    WriteRawValue(HKEY_CURRENT_USER, kAppKey, "other", REG_SZ, std::string("x\0", 2));
    const SettingsValue missingValue = reg.Value(L"", L"URL");
    EXPECT_EQ(missingValue.kind(), SettingsValue::Kind::Text);
    EXPECT_TRUE(missingValue == L"");
}

TEST_F(Registry, EmptySectionAddressesTheApplicationKeyItself) {
    reg.Value(L"", L"URL", L"http://a/");
    EXPECT_EQ(Raw(kAppKey, "URL").bytes, std::string("http://a/\0", 10));
    EXPECT_EQ(reg.Value(L"", L"URL").ToText(), L"http://a/");
    reg.DelValue(L"", L"URL");
    EXPECT_FALSE(Raw(kAppKey, "URL").exists);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kAppKey)); // keys stay
}

TEST_F(Registry, SectionsAreSubkeysAndMayNestDeeper) {
    reg.Value(L"A\\B", L"n", SettingsValue::Integer32(7));
    EXPECT_EQ(Raw(kAppKey + "\\A\\B", "n").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(reg.Value(L"A\\B", L"n").Integer(), 7);
    reg.DelValue(L"A\\B", L"n");
    EXPECT_FALSE(Raw(kAppKey + "\\A\\B", "n").exists);
}

TEST_F(Registry, ReadingReducesRunsOfBackslashesInThePath) {
    WriteRawValue(HKEY_CURRENT_USER, kAppKey + "\\Sub", "v", REG_SZ, std::string("sub\0", 4));
    EXPECT_EQ(reg.Value(L"\\Sub", L"v").ToText(), L"sub");
    EXPECT_EQ(reg.Value(L"\\\\\\Sub\\\\", L"v").ToText(), L"sub");
}

TEST_F(Registry, EntryNamesWithBackslashesAreOneValueName) {
    reg.Value(L"", L"a\\b", L"x");
    EXPECT_TRUE(Raw(kAppKey, "a\\b").exists);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppKey + "\\a"));
    EXPECT_EQ(reg.Value(L"", L"a\\b").ToText(), L"x");
}

TEST_F(Registry, DeletingAMissingValueChangesNothing) {
    reg.Value(L"", L"keep", L"1");
    reg.DelValue(L"", L"absent");
    reg.DelValue(L"NoSuchSection", L"keep");
    EXPECT_TRUE(Raw(kAppKey, "keep").exists);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppKey + "\\NoSuchSection"));
}

TEST_F(Registry, EmptyNamesReadFromBelowSoftware) {
    clsRegistry bare; // Firma, Produkt, Version empty
    WriteRawValue(HKEY_CURRENT_USER, "Software\\TolvaringTest", "v", REG_SZ,
                  std::string("top\0", 4));
    // "Software\\\\\\TolvaringTest" is reduced to Software\TolvaringTest.
    EXPECT_EQ(bare.Value(L"TolvaringTest", L"v").ToText(), L"top");
}

TEST_F(Registry, ARefusedRootReadsEmptyAndWritesNothing) {
    reg.HKey(0);
    reg.Value(L"", L"v", L"x");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kCompanyKey));
    EXPECT_EQ(reg.Value(L"", L"v").ToText(), L"");
    reg.DelValue(L"", L"v"); // must not fail
}

TEST_F(Registry, ManyCyclesLeaveNoHandleOpen) {
    DWORD before = 0, after = 0;
    reg.Value(L"", L"warm", L"up");
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &before));
    // The count is exact: a handle left open by any call shows after a single cycle.
    for (int i = 0; i < 300; ++i) {
        reg.Value(L"S", L"v", SettingsValue::Integer32(i));
        ASSERT_EQ(reg.Value(L"S", L"v").Integer(), i);
        reg.DelValue(L"S", L"v");
        reg.Value(L"Missing", L"v"); // a failed open too
    }
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &after));
    EXPECT_EQ(after, before);
}

// The information box: seven lines, the information icon, OK only.
TEST(RegistryInformation, ShowsTheSevenLineBox) {
    std::thread shower([] { clsRegistry().ShowCopyright(); });
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindWindowW(L"#32770", texts::kCopyrightTitle)) != nullptr; });
    ASSERT_TRUE(box);
    wchar_t text[1024] = {};
    SendMessageW(GetDlgItem(box, 0xFFFF), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    const std::wstring prompt = text;
    EXPECT_EQ(prompt, texts::kCopyright);
    int lines = 1;
    for (std::size_t p = 0; (p = prompt.find(L"\r\n", p)) != std::wstring::npos; p += 2)
        ++lines;
    EXPECT_EQ(lines, 7);
    EXPECT_TRUE(GetDlgItem(box, IDOK) || GetDlgItem(box, IDCANCEL));
    EXPECT_FALSE(GetDlgItem(box, IDYES));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    shower.join();
}

} // namespace
