// What a stored or read setting holds, and how it compares with text.
#include "settings/SettingsValue.h"

#include <gtest/gtest.h>

namespace {
TEST(SettingsValueText, EmptyStateAndIntegersConvert) {
    EXPECT_TRUE(SettingsValue() == L"");
    EXPECT_EQ(SettingsValue().ToText(), L"");
    EXPECT_TRUE(SettingsValue(L"") == L"");
    EXPECT_FALSE(SettingsValue(L"x") == L"");
    EXPECT_EQ(SettingsValue::Integer32(-1).ToText(), L"-1");
    EXPECT_EQ(SettingsValue::Integer16(-32768).Integer(), -32768);
    EXPECT_FALSE(SettingsValue::Integer32(0) == L"");
}

TEST(SettingsValueText, ObjectCountsAsItsDefaultProperty) {
    struct Box : HasDefaultProperty {
        SettingsValue DefaultValue() const override { return L"C:\\BearShare"; }
    } box;
    const SettingsValue v = SettingsValue::Object(box);
    EXPECT_EQ(v.Resolved().kind(), SettingsValue::Kind::Text);
    EXPECT_EQ(v.Resolved().Text(), L"C:\\BearShare");
}

} // namespace
