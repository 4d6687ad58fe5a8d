#pragma once
// One copy of the program per user at a time: a second start ends quietly and brings the
// first copy's setup dialog or box to the user. Only a start that asks for the setup
// dialog may run beside another copy, as that opens only the dialog.

// Whether this start goes on. When another copy runs for the same user (from whatever
// folder), it is left to finish its work and this start ends, after bringing to the front
// the setup dialog or box that copy waits in; but a start that `asksForSetup` ends so only
// when the other copy shows its setup dialog, and otherwise goes on to show its own.
bool ShouldRun(bool asksForSetup);
