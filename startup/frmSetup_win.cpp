#include "frmSetup.h"

#include "common/Ansi.h"
#include "common/CommonControls.h"
#include "common/ErrorText.h"
#include "common/FileKind.h"
#include "common/FormClass.h"
#include "common/Forms.h"
#include "common/MessageBox.h"
#include "common/Quote.h"
#include "common/Texts.h"
#include "common/Twips.h"
#include "detect/Url.h"
#include "resources/Layout.h"
#include "resources/resource.h"
#include "startup/FolderPath.h"
#include "startup/OneCopy.h"
#include "startup/basMain.h"

#include <commctrl.h>

#include <memory>

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

std::unique_ptr<frmSetup>& Instance() {
    static std::unique_ptr<frmSetup> instance;
    return instance;
}

HWND MakeControl(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle,
                 const RECT& r, int id) {
    HWND h = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    return h;
}

} // namespace

std::wstring TextBox::Text() const {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

void frmSetup::Show() {
    auto& instance = Instance();
    if (!instance) {
        instance.reset(new frmSetup());
        instance->Load();
    }
    ShowWindow(instance->hwnd_, SW_SHOW);
    SetForegroundWindow(instance->hwnd_);
    SetFocus(instance->dirBearShare.Hwnd());
}

HWND frmSetup::Hwnd() {
    return Instance() ? Instance()->hwnd_ : nullptr;
}

void frmSetup::Load() {
    // Only this dialog uses the common controls: a hand-off does not pay for them. Version
    // 6 must be active before comctl32's first call loads it.
    const CommonControls6 styled;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterFormClass(kClassName, WndProc, IDI_TOLVARING);
    const int dpi = ScreenDpi();
    RECT frame{0, 0, TwipsToPixels(layout::setup::kClientWidth, dpi),
               TwipsToPixels(layout::setup::kClientHeight, dpi)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    hwnd_ = CreateWindowExW(kExStyle, kClassName, texts::kSetupCaption, kStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                            nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd_) {
        const DWORD code = GetLastError();
        Instance().reset();
        throw AppError(texts::WindowFailed(texts::kSetupWindow, ErrorText(code)));
    }
    FormLoaded(hwnd_, true);
    CreateControls();
    Form_Load();
}

void frmSetup::CreateControls() {
    using namespace layout::setup;
    const int dpi = ScreenDpi();
    // Created in tab order, which is also the focus order of the dialog keys.
    Frame[0] = MakeControl(hwnd_, L"BUTTON", texts::kFrameBearShare, BS_GROUPBOX, 0,
                           TwipsToRect(kFrame0, dpi), kIdFrame0);
    dirBearShare.Create(hwnd_, kIdDirBearShare,
                        TwipsToRect(kDirBearShare, dpi, kFrame0.left, kFrame0.top));
    lblInfo[0] = MakeControl(hwnd_, L"STATIC", texts::kPromptFolder, SS_LEFT | SS_NOPREFIX, 0,
                             TwipsToRect(kLblInfo0, dpi, kFrame0.left, kFrame0.top), kIdLblInfo0);
    Frame[1] = MakeControl(hwnd_, L"BUTTON", texts::kFrameGeneral, BS_GROUPBOX, 0,
                           TwipsToRect(kFrame1, dpi), kIdFrame1);
    lblInfo[1] = MakeControl(hwnd_, L"STATIC", texts::kPromptUrl, SS_LEFT | SS_NOPREFIX, 0,
                             TwipsToRect(kLblInfo1, dpi, kFrame1.left, kFrame1.top), kIdLblInfo1);
    txtUrl.hwnd =
        MakeControl(hwnd_, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE,
                    TwipsToRect(kTxtUrl, dpi, kFrame1.left, kFrame1.top), kIdTxtUrl);
    SendMessageW(txtUrl.hwnd, EM_SETLIMITTEXT, 0, 0); // no length limit
    cmdOkay = MakeControl(hwnd_, L"BUTTON", texts::kOkay, WS_TABSTOP | BS_PUSHBUTTON, 0,
                          TwipsToRect(kCmdOkay, dpi), kIdCmdOkay);
    cmdCancel = MakeControl(hwnd_, L"BUTTON", texts::kCancel, WS_TABSTOP | BS_PUSHBUTTON, 0,
                            TwipsToRect(kCmdCancel, dpi), kIdCmdCancel);
}

void frmSetup::Form_Load() {
    // Each statement on its own: a stored folder that has gone must not keep the
    // address from being shown. A folder the code page turned into a look-alike is never
    // selected (OK would store the look-alike); an address that is not exact is shown as
    // stored, and OK refuses it until it is changed.
    try {
        const StoredSetting folder = ReadSetting(kFolderSetting);
        if (folder.exact) dirBearShare.SetPath(folder.text);
    } catch (...) {
    }
    try {
        txtUrl.Text(ReadSetting(kUrlSetting).text);
    } catch (...) {
    }
}

// The settings go through the ANSI code page. A value it cannot hold exactly would come
// back as another folder or page, so it is refused and nothing is stored. The box shows
// `shown`: an address without its password.
bool frmSetup::StorableOrSaid(const std::wstring& value, const std::wstring& shown,
                              const wchar_t* what, const wchar_t* instead) const {
    if (IsAnsiExact(value)) return true;
    const std::wstring text = texts::NotStorable(what, Quote(shown), instead);
    ShowMessageBox(hwnd_, text.c_str(), texts::kSetupCaption, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void frmSetup::cmdOkay_Click() {
    const std::wstring folder = dirBearShare.Path(), url = txtUrl.Text();
    if (!StorableOrSaid(folder, folder, texts::kTheFolder, texts::kOtherFolder) ||
        !StorableOrSaid(url, UrlWithoutPassword(url), texts::kTheAddress, texts::kOtherAddress))
        return;
    // The list starts in the working folder. Stored unseen, it would make the next start
    // stop at "BearShare.exe wurde nicht gefunden"; a folder the user picked is taken as it
    // is (BearShare may come later).
    if (!dirBearShare.Chosen() && !IsFile(JoinPath(folder, L"BearShare.exe"))) {
        const std::wstring text = texts::FolderNotChosen(Quote(folder));
        ShowMessageBox(hwnd_, text.c_str(), texts::kSetupCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    SetSettingsIdentity();
    Settings().Value(L"", kFolderSetting, SettingsValue::Object(DirListValue(dirBearShare)));
    Settings().Value(L"", kUrlSetting, SettingsValue::Object(txtUrl));
}

void frmSetup::cmdCancel_Click() {
    DestroyWindow(hwnd_);
}

LRESULT frmSetup::Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        switch (LOWORD(wp)) {
        case kIdCmdOkay:
            if (HIWORD(wp) == BN_CLICKED) cmdOkay_Click();
            return 0;
        case kIdCmdCancel:
            cmdCancel_Click();
            return 0;
        case kIdDirBearShare:
            if (HIWORD(wp) == LBN_DBLCLK) dirBearShare.OnDoubleClick();
            return 0;
        }
        return 0; // Enter arrives as IDOK: there is no default button, so it does nothing
    case WM_DRAWITEM:
        if (wp == kIdDirBearShare)
            dirBearShare.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        const HWND control = reinterpret_cast<HWND>(lp);
        if (control == lblInfo[0] || control == lblInfo[1]) {
            HDC dc = reinterpret_cast<HDC>(wp);
            SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    }
    case WM_ACTIVATE:
        // Not a system dialog, so the focus has to be kept across activation by hand.
        if (LOWORD(wp) == WA_INACTIVE) {
            focusOnDeactivate_ = GetFocus();
        } else if (focusOnDeactivate_ && IsChild(hwnd_, focusOnDeactivate_)) {
            SetFocus(focusOnDeactivate_);
            return 0;
        }
        break;
    case WM_CLOSE:
        cmdCancel_Click();
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK frmSetup::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<frmSetup*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<frmSetup*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (self && Instance().get() == self)
            Instance().reset(); // the dialog is unloaded; a later Show loads it afresh
        ReleaseSetupLock();
        FormUnloaded(hwnd);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return Guarded([&] { return self->Handle(msg, wp, lp); });
}
