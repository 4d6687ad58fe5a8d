// Entry point: Main runs with no window loaded; the program then lives while one of its
// windows is loaded.
#include "common/Forms.h"
#include "startup/basMain.h"

#include <commctrl.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        Main();
    } catch (const AppError& failure) {
        EndWithFailure(failure);
        return 1;
    } catch (const std::exception&) {
        EndWithFailure(AppError(L"Ein unerwarteter Fehler ist aufgetreten."));
        return 1;
    }
    return RunMessageLoop();
}
