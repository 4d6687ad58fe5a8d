#include "Forms.h"

#include "common/MessageBox.h"
#include "common/Texts.h"

#include <algorithm>
#include <vector>

namespace {

struct FormEntry {
    HWND hwnd;
    bool isDialog;
};

struct FormState {
    std::vector<FormEntry> forms;
    int exitCode = 0;
    // Set once Main has returned and the loop runs: before that, unloading the last form
    // (the status window) must not end anything, nor disturb a message box that follows.
    bool loopRunning = false;
};

FormState& State() {
    static FormState state;
    return state;
}

// A dialog key may unload a form, so the list is walked by index and read afresh.
bool IsDialogMessageOfAnyForm(MSG& msg) {
    const std::vector<FormEntry>& forms = State().forms;
    for (std::size_t i = 0; i < forms.size(); ++i) {
        const FormEntry form = forms[i];
        if (form.isDialog && IsWindow(form.hwnd) && IsDialogMessageW(form.hwnd, &msg)) return true;
    }
    return false;
}

} // namespace

void FormLoaded(HWND form, bool isDialog) {
    State().forms.push_back({form, isDialog});
}

void FormUnloaded(HWND form) {
    FormState& state = State();
    state.forms.erase(std::remove_if(state.forms.begin(), state.forms.end(),
                                     [form](const FormEntry& e) { return e.hwnd == form; }),
                      state.forms.end());
    if (state.forms.empty() && state.loopRunning) PostQuitMessage(state.exitCode);
}

int RunMessageLoop() {
    FormState& state = State();
    if (state.forms.empty()) return state.exitCode;
    state.loopRunning = true;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageOfAnyForm(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return state.exitCode;
}

void SetExitCode(int code) {
    State().exitCode = code;
}

void EndProgram(int code) {
    ExitProcess(static_cast<UINT>(code));
}

void ReportFailure(const AppError& failure) {
    // Ownerless: if the user clicked elsewhere meanwhile, it would open behind that window.
    ShowMessageBox(nullptr, failure.Message().c_str(), texts::kAppTitle,
                   MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
}

bool OfferToChangeFolder(const AppError& failure) {
    const std::wstring text = texts::OfferingToChangeFolder(failure.Message());
    if (ShowMessageBox(nullptr, text.c_str(), texts::kAppTitle,
                       MB_YESNO | MB_ICONSTOP | MB_SETFOREGROUND) == IDYES)
        return true;
    State().exitCode = 1;
    return false;
}

void EndWithFailure(const AppError& failure) {
    FormState& state = State();
    state.exitCode = 1;
    ReportFailure(failure);
    // Unloading a form changes the list: unload the last one until none is left.
    while (!state.forms.empty()) {
        const HWND form = state.forms.back().hwnd;
        DestroyWindow(form);
        if (!state.forms.empty() && state.forms.back().hwnd == form) state.forms.pop_back();
    }
}

void EndWithCurrentFailure() noexcept {
    try {
        throw;
    } catch (const AppError& failure) {
        EndWithFailure(failure);
    } catch (...) {
        EndWithFailure(AppError(texts::kUnexpected));
    }
}
