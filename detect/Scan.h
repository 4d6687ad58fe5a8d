#pragma once
// The scan that picks the first dotted-quad address out of a page's text.
#include <string>
#include <string_view>
#include <vector>

// The page is read from left to right in runs: a run is a longest stretch of the ASCII
// digits 0-9 and the full stop. Its full stops at either end are dropped (an ellipsis, the
// end of a sentence). The first run that is then exactly four groups of one to three
// digits joined by single full stops is the page's address, returned as it stands; every
// other run (a version 1.2.3, a date 08.12.2026, five groups, a group of four digits, two
// full stops in a row) is passed over. So "84.12.3.4.", "84.12.3.4:6346" and
// "84.12.3.4, 10.0.0.1" give 84.12.3.4, while "1217.1.2.3" and "84.12.3.4.5" give nothing:
// no fragment of a longer number is ever taken. The empty text when no run is an address.
// Linear in the page length.
//
// A run that is one of `passedOver` (the addresses of the page's own server) is passed over
// like a run that is no address: a page asked by its server's address ("h=1.1.1.1" on a
// trace page, a router's status page) shows that address before the caller's, and it is
// never the caller's. Only when no other address follows is the first of them returned: a
// page of the user's own line, asked by its public address, shows just that.
std::wstring ScanForIp(std::wstring_view page, const std::vector<std::wstring>& passedOver = {});

// Whether one of the page's runs is exactly `address`, read as ScanForIp reads them.
bool PageShowsAddress(std::wstring_view page, std::wstring_view address);
