#include "Forms.h"

#include "common/MessageBox.h"
#include "common/Handles.h"
#include "common/Twips.h"
#include "resources/resource.h"

#include <algorithm>
#include <vector>

namespace {

struct FormEntry {
    HWND hwnd;
    bool isDialog;
};

std::vector<FormEntry>& Forms() {
    static std::vector<FormEntry> forms;
    return forms;
}

int& ExitCode() {
    static int code = 0;
    return code;
}

// Set once Main has returned and the loop runs: before that, unloading the last form
// (the status window) must not end anything, nor disturb a message box that follows.
bool& LoopRunning() {
    static bool running = false;
    return running;
}

} // namespace

const wchar_t* RegisterFormClass(const wchar_t* className, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc)) return className;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(IDI_TOLVARING));
    wc.hIconSm = static_cast<HICON>(LoadImageW(wc.hInstance, MAKEINTRESOURCEW(IDI_TOLVARING),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
    return className;
}

void FormLoaded(HWND form, bool isDialog) {
    Forms().push_back({form, isDialog});
}

void FormUnloaded(HWND form) {
    auto& forms = Forms();
    forms.erase(std::remove_if(forms.begin(), forms.end(),
                               [form](const FormEntry& e) { return e.hwnd == form; }),
                forms.end());
    if (forms.empty() && LoopRunning()) PostQuitMessage(ExitCode());
}

int LoadedFormCount() {
    return static_cast<int>(Forms().size());
}

int RunMessageLoop() {
    if (Forms().empty()) return ExitCode();
    LoopRunning() = true;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // A dialog key may unload a form, so look at a copy of the list.
        const std::vector<FormEntry> forms = Forms();
        bool handled = false;
        for (const FormEntry& form : forms) {
            if (form.isDialog && IsWindow(form.hwnd) && IsDialogMessageW(form.hwnd, &msg)) {
                handled = true;
                break;
            }
        }
        if (!handled) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return ExitCode();
}

void ReportFailure(const AppError& failure) {
    ShowMessageBox(nullptr, failure.Message().c_str(), L"Tolvaring", MB_OK | MB_ICONSTOP);
}

void EndWithFailure(const AppError& failure) {
    ExitCode() = 1;
    ReportFailure(failure);
    const std::vector<FormEntry> forms = Forms();
    for (const FormEntry& form : forms)
        DestroyWindow(form.hwnd);
}

void EndWithCurrentFailure() noexcept {
    try {
        throw;
    } catch (const AppError& failure) {
        EndWithFailure(failure);
    } catch (...) {
        EndWithFailure(AppError(L"Ein unerwarteter Fehler ist aufgetreten."));
    }
}

HFONT DialogFont() {
    // The classic 8-point form font, at the screen's DPI; the layouts are made for it.
    static GdiObject font;
    if (!font) {
        font.Reset(CreateFontW(-MulDiv(8, ScreenDpi(), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
        if (!font) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    return static_cast<HFONT>(font.Get());
}
