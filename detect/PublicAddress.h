#pragma once
// Whether the text the scan found may go to the client as its forced address: peers must
// be able to reach it. Portable: no windows.h.
#include <string_view>

enum class AddressVerdict {
    Public,        // four decimal parts of 0 to 255, outside every range below
    NotAnAddress,  // anything else; also what no computer on the internet is given:
                   // 0.0.0.0/8, the protocol assignments 192.0.0.0/24, the retired 6to4
                   // relays 192.88.99.0/24, benchmarking 198.18.0.0/15, multicast and the
                   // reserved 240.0.0.0/4
    LeadingZeros,  // four parts of 0 to 255, one of them written with a leading zero
    OwnNetwork,    // private (10/8, 172.16/12, 192.168/16), loopback, link-local
    SharedNetwork, // the provider's shared space of carrier-grade NAT (100.64/10)
    DsLite         // 192.0.0.0/29: the router's end of a DS-Lite tunnel (RFC 6333); the line
                   // has no public IPv4 address of its own, whatever page is asked
};

// Exactly four parts separated by ".", each 1 to 3 ASCII digits without a leading zero
// ("0" itself is fine) and with a value of 0 to 255; nothing else, no blank, sign,
// exponent or "&H". The documentation ranges (192.0.2.0/24, 198.51.100.0/24,
// 203.0.113.0/24) count as public: no machine is ever given one, and examples use them.
AddressVerdict JudgeAddress(std::wstring_view text);
