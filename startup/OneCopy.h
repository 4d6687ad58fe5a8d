#pragma once
// One copy of the program per user at a time: a second start ends quietly and brings the
// first copy's setup dialog or box to the user. Only a start that asks for the setup
// dialog may run beside another copy, as that opens only the dialog; and a copy that shows
// its setup dialog counts as the running copy for every later start, so that there is
// never a second dialog whose OK would put back the values the first one stored.

#include "startup/Arguments.h"

// Whether this start goes on. When another copy of ours (from whatever folder) shows its
// setup dialog, this start brings that to the front and ends; a check start, which only
// reads, goes on beside it unless another copy fetches or asks as well. Otherwise, when
// another copy runs for the same user, it is left to finish its work and this start ends,
// after bringing to the front the box that copy waits in; but a start for the setup dialog
// goes on to show its own dialog.
bool ShouldRun(StartKind kind);

// Whether another copy of ours shows its setup dialog; it is brought to the front then.
bool BringOtherCopysSetupForward();

// The one setup dialog of the user's session: a copy shows its dialog only while it holds
// this lock, taken without waiting before the dialog is made and released when it is gone,
// so that two copies started at the same moment cannot both show one. False when another
// copy holds it; an abandoned lock is taken.
bool TakeSetupLock();
void ReleaseSetupLock();
// Brings forward the dialog of the copy that holds the lock, waiting a bounded time for
// its window to appear.
void BringHeldSetupForward();
