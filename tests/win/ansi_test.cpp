// Text through the ANSI code page, never by best fit.
#include "common/Ansi.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

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

// Windows refuses the no-best-fit flag and the default-character question for UTF-8 (Wine
// accepts them, so the choice itself is what is checked: the flags and the pointer).
TEST(AnsiText, FlagsThatTheCodePageAccepts) {
    const struct {
        unsigned codePage;
        unsigned long flags;
        bool asksForDefault;
    } cases[] = {{1252, WC_NO_BEST_FIT_CHARS, true},
                 {932, WC_NO_BEST_FIT_CHARS, true},
                 {65001, 0, false},
                 {54936, 0, false}};
    for (const auto& c : cases) {
        BOOL usedDefault = FALSE;
        const NarrowCall call = NarrowCallFor(c.codePage, &usedDefault);
        EXPECT_EQ(call.flags, c.flags) << c.codePage;
        EXPECT_EQ(call.usedDefault, c.asksForDefault ? &usedDefault : nullptr) << c.codePage;
    }
}

} // namespace
