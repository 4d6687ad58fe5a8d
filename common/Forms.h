#pragma once
// The program's windows ("forms"): it runs while one of them is loaded and ends when the
// last one is unloaded.
#include "common/AppError.h"

#include <windows.h>

void FormLoaded(HWND form, bool isDialog);
// Called from WM_NCDESTROY; the last unloaded form ends the message loop.
void FormUnloaded(HWND form);

// Runs the message loop until no form is loaded; returns the exit code. Returns 0 at once
// when none is loaded.
int RunMessageLoop();

// The exit code of a run that ends without a failure box of its own.
void SetExitCode(int code);

// Ends the program at once with `code`, its windows with it: Windows destroys a process's
// windows as it ends. After a hand-off nothing is left to do, and destroying the status
// window first made a hand-off some 10 % slower under Wine.
[[noreturn]] void EndProgram(int code);

// The failure box: the message, the stop icon, brought to the front.
void ReportFailure(const AppError& failure);
// The same box for a failure about the client's folder, asking whether to change it now:
// true on Ja; on Nein the program is to end with exit code 1.
bool OfferToChangeFolder(const AppError& failure);
// Tells the user about a failure that ends the program, then ends the loop with exit
// code 1 once the forms are gone. Safe to call from a window procedure.
void EndWithFailure(const AppError& failure);
// The same for the exception being handled, inside a catch block: an AppError with its
// own text, anything else as an unexpected failure.
void EndWithCurrentFailure() noexcept;

// Runs the work of a window procedure. An exception must never unwind through the
// platform's frames, so one that escapes the work ends the program with the failure box.
template <class Work> LRESULT Guarded(Work&& work) noexcept {
    try {
        return work();
    } catch (...) {
        EndWithCurrentFailure();
        return 0;
    }
}
