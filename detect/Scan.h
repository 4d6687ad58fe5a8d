#pragma once
// The scan that picks the first dotted-quad address out of a page's text.
#include <string>
#include <string_view>

// Every full stop of the page is tried in turn, left to right, as the anchor of a window
// of 15 characters: the 3 characters before it, the dot and up to 11 behind it (the page
// is thought of as led by 15 blanks, so an address at the very start gets its room). A
// window passes when it splits at "." into exactly four parts which, after part 0 lost its
// leading and part 3 its trailing non-digits, are all numeric. The first passing window
// gives the result, the four parts joined by "."; the empty text when none passes.
// Linear in the page length.
std::wstring ScanForIp(std::wstring_view page);
