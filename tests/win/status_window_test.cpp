// The status window as the user sees it while the address is determined.
#include "common/Texts.h"
#include "common/Twips.h"
#include "detect/frmMain.h"
#include "tests/win/DesignedLayout.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

namespace {

std::wstring WindowText(HWND h) {
    wchar_t buffer[256] = {};
    SendMessageW(h, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

TEST(StatusWindow, LooksAsDesignedAtTheScreenDpi) {
    frmMain form;
    form.Show();
    HWND h = form.Hwnd();
    ASSERT_TRUE(IsWindowVisible(h));
    const int dpi = ScreenDpi();

    const LONG style = GetWindowLongW(h, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(h, GWL_EXSTYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_DLGFRAME); // a dialog frame and no title bar
    EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW); // no taskbar button
    EXPECT_EQ(WindowText(h), L"");

    RECT client{};
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, MulDiv(designed::kStatusClient.cx, dpi, 1440));
    EXPECT_EQ(client.bottom, MulDiv(designed::kStatusClient.cy, dpi, 1440));
    RECT frame{};
    GetWindowRect(h, &frame);
    const int cx = (frame.left + frame.right) / 2, cy = (frame.top + frame.bottom) / 2;
    EXPECT_NEAR(cx, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR(cy, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    HWND label = FindWindowExW(h, nullptr, L"STATIC", nullptr);
    ASSERT_TRUE(label);
    EXPECT_EQ(WindowText(label), texts::kStatus);
    EXPECT_TRUE(GetWindowLongW(label, GWL_STYLE) & SS_CENTER);
    RECT lr{};
    GetWindowRect(label, &lr);
    MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&lr), 2);
    EXPECT_EQ(designed::Text(lr), designed::Text(designed::Pixels(designed::kStatusLabel, dpi)));
    LOGFONTW font{};
    HFONT hfont = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    ASSERT_TRUE(hfont);
    GetObjectW(hfont, sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(font.lfHeight, -MulDiv(designed::kStatusFontCentiPoints, dpi, 7200));
    EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);

    UpdateWindow(h);
    GdiFlush();
    SaveScreenshot(h, L"status-window");
    form.Unload();
    EXPECT_FALSE(IsWindow(h));
}

TEST(StatusWindow, GetIpLeavesTheWindowAsItIs) {
    frmMain form;
    form.Show();
    EXPECT_EQ(form.GetIp(PageUrl(L"/ip?ip=192.0.2.7")), L"192.0.2.7");
    EXPECT_TRUE(IsWindowVisible(form.Hwnd()));
    HWND label = FindWindowExW(form.Hwnd(), nullptr, L"STATIC", nullptr);
    EXPECT_EQ(WindowText(label), texts::kStatus);
    EXPECT_EQ(form.GetIp(PageUrl(L"/echo?body=keine%20Adresse")), L"");
}

} // namespace
