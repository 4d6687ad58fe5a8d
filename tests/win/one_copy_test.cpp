// One copy at a time, one setup dialog at most: later starts end quietly and bring the
// first copy's window forward, whatever the order and however close together.
#include "common/ErrorText.h"
#include "common/Quote.h"
#include "detect/Http.h"
#include "startup/frmSetup.h"
#include "tests/win/HostileTest.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <cwctype>
#include <memory>
#include <optional>
#include <vector>

namespace {

// A name of their own, so that CTest can run these rows apart from the other hostile ones.
using OneCopy = Hostile;

// Started twice, only the first copy works; the second ends quietly, and brings forward
// what the first copy waits in, should the user have clicked elsewhere meanwhile: its own
// window only, restored when minimized, and the box its setup dialog shows over itself.
TEST_F(OneCopy, ASecondCopyEndsQuietlyAndBringsTheFirstForward) {
    // clang-format off
    enum Twist { Plain, Minimized, OwnBox, ForeignBox, ElevatedFirst, Elsewhere, SetupAsked,
                 CheckAsked };
    // clang-format on
    struct Case {
        const char* what;
        std::wstring url;       // empty: only the folder stored
        const wchar_t* caption; // what the first copy waits in; null: it fetches
        Twist twist = Plain;
    };
    // Answered only when the test says so: the first copy fetches until the second has ended,
    // however busy the machine.
    const std::wstring slow = PageUrl(L"/heldip?ip=192.0.2.33&id=");
    const Case cases[] = {
        {"fetching", slow, nullptr},
        {"question", PageUrl(L"/echo?body=nichts"), texts::kAppTitle},
        {"failure box", PageUrl(L"/echo?status=500"), texts::kAppTitle},
        {"setup dialog", L"", texts::kSetupCaption},
        {"setup dialog minimized", L"", texts::kSetupCaption, Minimized},
        {"a box of the setup dialog", L"", texts::kSetupCaption, OwnBox},
        {"another program's box titled Tolvaring", slow, nullptr, ForeignBox},
        // Its mutex has rights that Windows does not give us: that too means it runs.
        {"first copy elevated", PageUrl(L"/ip?ip=192.0.2.34"), nullptr, ElevatedFirst},
        // An unzipped copy beside the installed one, under another name.
        {"question, second copy from another folder", PageUrl(L"/echo?body=nichts"),
         texts::kAppTitle, Elsewhere},
        // The Start menu's settings entry: never lost, never a second fetch.
        {"fetching, /einstellungen", slow, nullptr, SetupAsked},
        {"setup dialog, /einstellungen", L"", texts::kSetupCaption, SetupAsked},
        // Held back like a plain start: the check would read what the first copy writes.
        {"fetching, /pruefen", slow, nullptr, CheckAsked},
    };
    // The second copy is the test build, which notes the window it brings to the front:
    // what is in front at the end may also have come there by itself.
    const std::wstring copyElsewhere = work + L"\\Tolvaring (2).exe";
    CopyFileW((ExeFolder() + L"\\TolvaringTest.exe").c_str(), copyElsewhere.c_str(), FALSE);
    const std::wstring fronts = work + L"\\fronts.txt";
    HWND elsewhere = CreateWindowExW(0, L"STATIC", L"anderswo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                     0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ForgetSettings();
        DeleteFileW((client + L"\\started.txt").c_str());
        StoreSetting(kFolderSetting, client);
        const std::wstring gate = std::to_wstring(&c - cases);
        if (!c.url.empty()) StoreSetting(kUrlSetting, c.url == slow ? slow + gate : c.url);
        if (c.twist == ElevatedFirst) {
            SetEnvironmentVariableW(L"TOLVARING_TEST_LAUNCH", L"mutexdenied");
            Program second(work, L"TolvaringTest.exe");
            SetEnvironmentVariableW(L"TOLVARING_TEST_LAUNCH", nullptr);
            EXPECT_EQ(second.WaitExit(10000), 0u);
            EXPECT_FALSE(Started());
            continue;
        }
        Program first(work);
        HWND waiting = c.caption ? first.WaitWindow(c.caption, nullptr, 10000) : nullptr;
        EXPECT_EQ(!waiting, !c.caption) << "no window to wait in";
        WaitUntil([&] { return !first.Windows().empty(); }, 10000);
        if (waiting && c.twist == Minimized) {
            ShowWindow(waiting, SW_MINIMIZE);
            EXPECT_TRUE(WaitUntil([&] { return IsIconic(waiting); }));
        } else if (waiting && c.twist == OwnBox) { // the refusal of an address
            SetText(Child(waiting, frmSetup::kIdTxtUrl), L"http://h/\u0141");
            Click(Child(waiting, frmSetup::kIdCmdOkay));
            waiting = first.WaitWindow(texts::kSetupCaption, L"#32770", 5000);
        }
        std::optional<Program> foreign;
        HWND foreignBox = nullptr;
        if (c.twist == ForeignBox) {
            foreign.emplace(work, L"foreignwindow.exe");
            foreignBox = foreign->WaitWindow(texts::kAppTitle);
            // It takes the foreground itself once shown: let that happen first.
            EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == foreignBox; }, 10000));
        }
        // Asked again until granted: under load the window manager may take its time.
        EXPECT_TRUE(WaitUntil([&] {
            SetForegroundWindow(elsewhere);
            return GetForegroundWindow() == elsewhere;
        }));
        DeleteFileW(fronts.c_str());
        SetEnvironmentVariableW(L"TOLVARING_TEST_WINDOW_LOG", fronts.c_str());
        Program second(work, c.twist == Elsewhere ? copyElsewhere.c_str() : L"TolvaringTest.exe",
                       c.twist == SetupAsked   ? L"/einstellungen"
                       : c.twist == CheckAsked ? L"/pruefen"
                                               : L"");
        SetEnvironmentVariableW(L"TOLVARING_TEST_WINDOW_LOG", nullptr);
        if (c.twist == SetupAsked && !waiting) { // its own dialog, while the first goes on
            HWND own = second.WaitWindow(texts::kSetupCaption, nullptr, 10000);
            EXPECT_EQ(own ? second.Close(own) : 99u, 0u);
        } else { // a check start held back checked nothing: not 0, "would be handed on"
            EXPECT_EQ(second.WaitExit(10000), c.twist == CheckAsked ? 1u : 0u);
        }
        // Found by the second copy, which brought it forward; or nothing.
        EXPECT_EQ(ReadFileText(fronts), waiting ? L"front " + ClassOf(waiting) + L"\r\n" : L"");
        if (waiting) { // the first copy ends with ~Program
            EXPECT_TRUE(
                WaitUntil([&] { return GetForegroundWindow() == waiting && !IsIconic(waiting); }));
            continue;
        }
        if (foreignBox) {
            EXPECT_EQ(GetForegroundWindow(), elsewhere);
        }
        HttpControl().OpenURL(PageUrl(L"/release?id=" + gate));
        EXPECT_EQ(first.WaitExit(20000), 0u);
        StartRecord(client);
        EXPECT_FALSE(WaitUntil([&] { return Starts(client) > 1; }, 2000)) << "started twice";
    }
    DestroyWindow(elsewhere);
}

// One setup dialog at most, whatever the order of starts: a copy that shows it counts as the
// running copy, and "Ja" in another copy's box brings it forward, so that no second dialog
// with the old values can put them back over what the first one stored.
TEST_F(OneCopy, OneSetupDialogAcrossCopies) {
    enum Then { PlainStartAfterTheFirstEnded, YesInTheFirstCopysQuestion };
    const std::pair<std::wstring, Then> cases[] = {
        {PageUrl(L"/slowip?ip=192.0.2.35&delay=2"), PlainStartAfterTheFirstEnded},
        {PageUrl(L"/echo?body=nichts"), YesInTheFirstCopysQuestion},
    };
    HWND elsewhere = CreateWindowExW(0, L"STATIC", L"anderswo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                     0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    for (const auto& [url, then] : cases) {
        SCOPED_TRACE(then);
        DeleteFileW((client + L"\\started.txt").c_str());
        StoreSettings(client, url);
        Program first(work);
        WaitUntil([&] { return !first.Windows().empty(); }, 10000);
        Program second(work, L"Tolvaring.exe", L"/einstellungen");
        HWND dialog = second.WaitWindow(texts::kSetupCaption, nullptr, 10000);
        ASSERT_TRUE(dialog);
        if (then == PlainStartAfterTheFirstEnded) {
            EXPECT_EQ(first.WaitExit(20000), 0u);
            StartRecord(client);
            SetForegroundWindow(elsewhere);
            WaitUntil([&] { return GetForegroundWindow() == elsewhere; }, 3000);
            Program third(work);
            EXPECT_EQ(third.WaitExit(10000), 0u);
        } else {
            HWND box = WaitMessageBox(first);
            ASSERT_TRUE(box);
            Click(GetDlgItem(box, IDYES));
            EXPECT_EQ(first.WaitExit(10000), 0u) << "a second setup dialog";
        }
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }, 3000));
        // The first copy's hand-off at most: a later start that fetched would start it again.
        const std::size_t handOffs = then == PlainStartAfterTheFirstEnded ? 1 : 0;
        EXPECT_FALSE(WaitUntil([&] { return Starts(client) > handOffs; }, 2000));
        EXPECT_EQ(second.Close(dialog), 0u);
    }
    DestroyWindow(elsewhere);
}

// Twenty starts for the setup dialog at the same moment (a double click on the Start
// menu's entry gives two): one dialog; every other start brings it forward and ends.
TEST_F(OneCopy, StartsForTheSetupDialogAtTheSameMomentShowOne) {
    StoreSettings(client, PageUrl(L"/ip?ip=192.0.2.36"));
    std::vector<std::unique_ptr<Program>> starts;
    for (int i = 0; i < 20; ++i)
        starts.push_back(std::make_unique<Program>(work, L"Tolvaring.exe", L"/einstellungen"));
    const auto running = [&] {
        std::vector<Program*> left;
        for (const auto& start : starts)
            if (start->WaitExit(0) == STILL_ACTIVE) left.push_back(start.get());
        return left;
    };
    EXPECT_TRUE(WaitUntil([&] { return running().size() <= 1; }, 60000)) << running().size();
    ASSERT_EQ(running().size(), 1u);
    Program& shown = *running().front();
    HWND dialog = shown.WaitWindow(texts::kSetupCaption);
    EXPECT_EQ(shown.Windows().size(), 1u);
    for (const auto& start : starts) {
        if (start.get() != &shown) {
            EXPECT_EQ(start->WaitExit(0), 0u);
        }
    }
    EXPECT_EQ(dialog ? shown.Close(dialog) : 99u, 0u);
}

} // namespace
