#include "frmMain.h"

#include "common/ErrorText.h"
#include "common/FormClass.h"
#include "common/Forms.h"
#include "common/Texts.h"
#include "common/Twips.h"
#include "detect/Scan.h"
#include "resources/Layout.h"
#include "resources/resource.h"

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_DLGFRAME;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW; // no taskbar button

} // namespace

LRESULT CALLBACK frmMain::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) FormUnloaded(hwnd);
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void frmMain::Show() {
    if (hwnd_) return;
    RegisterFormClass(kClassName, WndProc, IDI_TOLVARING);
    const int dpi = ScreenDpi();
    RECT frame{0, 0, TwipsToPixels(layout::status::kClientWidth, dpi),
               TwipsToPixels(layout::status::kClientHeight, dpi)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    hwnd_ = CreateWindowExW(kExStyle, kClassName, L"", kStyle, x, y, width, height, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_)
        throw AppError(texts::WindowFailed(texts::kStatusWindow, ErrorText(GetLastError())));
    FormLoaded(hwnd_, false);

    const RECT r = TwipsToRect(layout::status::kLabel1, dpi);
    label1_ = CreateWindowExW(0, L"STATIC", texts::kStatus, WS_CHILD | WS_VISIBLE | SS_CENTER,
                              r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    labelFont_.Reset(CreateFontW(-MulDiv(layout::status::kLabelFontCentiPoints, dpi, 7200), 0, 0, 0,
                                 FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                 layout::status::kLabelFont));
    SendMessageW(label1_, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.Get()), FALSE);

    // Shown without taking the focus: it only informs, and whatever the user works in
    // keeps the keyboard.
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    RedrawWindow(hwnd_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // Let the window system finish mapping and painting before the fetch blocks us.
    MSG msg;
    while (PeekMessageW(&msg, hwnd_, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    GdiFlush();
}

void frmMain::Unload() {
    if (!hwnd_) return;
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    label1_ = nullptr;
    labelFont_.Reset();
}

std::wstring frmMain::GetIp(const std::wstring& sUrl) {
    page_ = Http.OpenURL(sUrl, &source_);
    return ScanForIp(page_, source_.serverAddresses);
}
