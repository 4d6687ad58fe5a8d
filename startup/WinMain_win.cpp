// Entry point: Main runs with no window loaded; the program then lives while one of its
// windows is loaded.
#include "common/Forms.h"
#include "startup/Arguments.h"
#include "startup/OneCopy.h"
#include "startup/SafeLoading.h"
#include "startup/basMain.h"

#include <cstdlib>
#include <windows.h>

// The library's verbose terminate handler demangles type names and drags a 45 KB
// demangler into the program; every failure we expect is caught, so a plain abort will do.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
} // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RestrictDllSearch();
    const StartKind kind = KindOfStart(CommandLineArguments(GetCommandLineW()));
    if (!ShouldRun(kind)) return 0;
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
