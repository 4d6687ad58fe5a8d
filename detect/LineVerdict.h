#pragma once
// What is handed to the client, from the page's address and what the router says of the
// line. The page decides the address; the router's answer can only stop a wrong one, or
// pick among the page's own addresses the one that is the line's. Portable: no windows.h.
#include "detect/PublicAddress.h"

#include <optional>
#include <string>
#include <string_view>

// What the router's GetExternalIPAddress answer says of the line. Nothing: it gave none
// (no router over UPnP, a fault, a malformed answer).
enum class Line {
    Unknown,       // no answer, or none that is an address
    Public,        // the line's own public IPv4 address
    SecondRouter,  // an address of a private network: a second router stands in front
    SharedAddress, // 100.64.0.0/10: the provider's carrier-grade NAT
    DsLite,        // 192.0.0.0/29: the router's end of a DS-Lite tunnel
    DsLiteOrShared // empty or 0.0.0.0: DS-Lite routers answer so, and routers built on
                   // miniupnpd behind a carrier-grade NAT, which report no reserved address
};
Line JudgeLine(const std::optional<std::wstring>& routerAnswer);

// Whether the line has no public IPv4 address of its own, as the router tells it.
inline bool NoPublicAddress(Line line) {
    return line == Line::SharedAddress || line == Line::DsLite || line == Line::DsLiteOrShared;
}

struct Decision {
    enum class Kind {
        HandOn,       // `address` goes to the client
        Refused,      // the page's address is not one peers can reach: `verdict` says why
        DsLitePage,   // the page showed the router's DS-Lite address
        NoPublicLine, // the router says the line has no public IPv4 address: `line`
    };
    Kind kind = Kind::Refused;
    std::wstring address;
    AddressVerdict verdict = AddressVerdict::NotAnAddress;
    Line line = Line::Unknown;
};

// `pageAddress` is what the scan took from `page` (not empty); `routerAnswer` the router's.
// A public router address that stands on the page is the line's and is handed on, whatever
// the page shows first (a server's, a proxy's in a list). A router that says the line has
// no public address stops every other. Otherwise the page's address is judged as ever.
Decision Decide(std::wstring_view pageAddress, std::wstring_view page,
                const std::optional<std::wstring>& routerAnswer);
