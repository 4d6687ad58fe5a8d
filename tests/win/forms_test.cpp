// A failure that escapes a window procedure after Main has returned (say, out of memory
// in a key handler) ends the program with the failure box, never with abort().
#include "common/Forms.h"
#include "common/Texts.h"
#include "tests/win/Driver.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <new>

namespace {

LRESULT CALLBACK Throwing(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_USER) return DefWindowProcW(hwnd, msg, wp, lp);
    return Guarded([]() -> LRESULT { throw std::bad_alloc(); });
}

// Answers the failure box from a second thread, since the box is modal.
DWORD WINAPI AnswerTheBox(void* text) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindWindowW(L"#32770", texts::kAppTitle)) != nullptr; }, 10000);
    if (!box) return 1;
    *static_cast<std::wstring*>(text) = MessageBoxText(box);
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    return 0;
}

TEST(Guarded, AnEscapingFailureEndsWithTheBox) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Throwing;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ThrowingForm";
    RegisterClassW(&wc);
    HWND form = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
    FormLoaded(form, false);
    std::wstring text;
    HANDLE answerer = CreateThread(nullptr, 0, AnswerTheBox, &text, 0, nullptr);
    SendMessageW(form, WM_USER, 0, 0);
    WaitForSingleObject(answerer, 15000);
    CloseHandle(answerer);
    EXPECT_EQ(text, texts::kUnexpected);
    EXPECT_FALSE(IsWindow(form)); // the program's forms are unloaded
}

} // namespace
