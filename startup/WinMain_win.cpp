// Entry point: Main runs with no window loaded; the program then lives while one of its
// windows is loaded.
#include "common/Forms.h"
#include "common/MessageBox.h"
#include "common/Quote.h"
#include "common/Texts.h"
#include "startup/Arguments.h"
#include "startup/OneCopy.h"
#include "startup/SafeLoading.h"
#include "startup/basMain.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RestrictDllSearch();
    const std::vector<std::wstring> arguments = CommandLineArguments(GetCommandLineW());
    const StartKind kind = KindOfStart(arguments);
    if (kind == StartKind::UnknownSwitch) {
        const std::wstring text = texts::UnknownSwitch(Quote(UnknownSwitch(arguments)));
        ShowMessageBox(nullptr, text.c_str(), texts::kAppTitle,
                       MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
        return 1;
    }
    // A script reads 0 from a check start as "would be handed on": every other end of it,
    // held back beside another copy included, is 1.
    if (kind == StartKind::Check) SetExitCode(1);
    if (!ShouldRun(kind)) return kind == StartKind::Check ? 1 : 0;
    try {
        if (kind == StartKind::Setup) {
            OpenSetup();
        } else if (kind == StartKind::Check) {
            CheckStart();
        } else {
            Main();
        }
        return RunMessageLoop();
    } catch (...) {
        EndWithCurrentFailure();
        return 1;
    }
}
