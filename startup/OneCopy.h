#pragma once
// One copy of the program per user at a time: a second start ends quietly and brings the
// first copy's setup dialog or box to the user.

// False when another copy runs for the same user; it is then left to finish its work, and
// what it waits in is brought to the front.
bool IsOnlyCopy();
