#pragma once
// What Tolvaring says to the router and trusts of its answers, in the words of the UPnP
// Device Architecture 1.1 (SSDP search and answer) and the Internet Gateway Device's
// WAN connection services. Portable: no windows.h. Only the router is ever asked, and only
// for its external address: nothing here maps a port or changes anything.
#include <optional>
#include <string>
#include <string_view>

namespace upnp {

constexpr unsigned kSsdpPort = 1900;
constexpr char kSsdpGroup[] = "239.255.255.250";

// The search for an Internet Gateway Device (IGD:2 devices answer the IGD:1 search too),
// sent to `host` ("239.255.255.250:1900", or the gateway's own "a.b.c.d:1900"). A
// multicast search asks devices to answer within a second (MX); a unicast one is answered
// at once and carries no MX.
std::string SearchRequest(std::string_view host, bool multicast);

// The LOCATION of an SSDP answer: a "HTTP/1.1 200" whose ST names an Internet Gateway
// Device. Empty for any other datagram.
std::string LocationIn(std::string_view answer);

// An http:// address on the router itself.
struct Target {
    unsigned port = 80;
    std::string path; // from its "/" on, the query included
};

// Where `url` points when it is an http:// address whose host is `gateway` (a dotted quad,
// written exactly so), with no user, a port of 1 to 65535 if any, and no control
// character, blank or fragment; nothing otherwise. A neighbour on the LAN must not make us
// fetch from elsewhere, and no name is ever resolved.
std::optional<Target> OnGateway(std::string_view url, std::string_view gateway);

// The service's control URL resolved against the description's `location` (RFC 3986: an
// absolute http address, an absolute path, or a path relative to the description's
// folder), surrounding white space dropped; nothing when it leads anywhere but `gateway`.
std::optional<Target> ControlTarget(std::string_view location, std::string_view controlUrl,
                                    std::string_view gateway);

// Whether a service of the description answers GetExternalIPAddress: WANIPConnection:1 or
// :2, or WANPPPConnection:1.
bool IsWanConnection(std::string_view serviceType);

// The SOAP request GetExternalIPAddress of `serviceType`, and its SOAPAction header's value.
std::string ExternalAddressRequest(std::string_view serviceType);
std::string SoapAction(std::string_view serviceType);

} // namespace upnp
