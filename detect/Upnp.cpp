#include "Upnp.h"

#include <algorithm>

namespace upnp {

namespace {

constexpr char kIgdType[] = "urn:schemas-upnp-org:device:InternetGatewayDevice:";
constexpr char kServicePrefix[] = "urn:schemas-upnp-org:service:";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (Lower(text[i]) != Lower(prefix[i])) return false;
    return true;
}

std::string_view Trimmed(std::string_view text) {
    constexpr char kBlanks[] = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) + 1 - first);
}

// The lines of a datagram, CR LF or LF alone ending each.
template <class Each> void ForEachLine(std::string_view text, Each each) {
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!each(line)) return;
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

// The value of header `name` in `line`, or nothing when the line is another header.
std::optional<std::string_view> HeaderValue(std::string_view line, std::string_view name) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon != name.size() ||
        !StartsWithIgnoringCase(line, name))
        return std::nullopt;
    return Trimmed(line.substr(colon + 1));
}

bool IsPlain(char c) {
    return c > ' ' && c < 0x7F && c != '#';
}

unsigned PortValue(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return 0;
    unsigned value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value <= 65535 ? value : 0;
}

} // namespace

std::string SearchRequest(std::string_view host, bool multicast) {
    std::string request = "M-SEARCH * HTTP/1.1\r\nHOST: ";
    request += host;
    request += "\r\nMAN: \"ssdp:discover\"\r\n";
    if (multicast) request += "MX: 1\r\n";
    request += "ST: ";
    request += kIgdType;
    request += "1\r\n\r\n";
    return request;
}

std::string LocationIn(std::string_view answer) {
    bool ok = false, gateway = false, first = true;
    std::string_view location;
    ForEachLine(answer, [&](std::string_view line) {
        if (first) {
            first = false;
            ok = StartsWithIgnoringCase(line, "HTTP/1.1 200") ||
                 StartsWithIgnoringCase(line, "HTTP/1.0 200");
            return ok;
        }
        if (const auto st = HeaderValue(line, "ST")) gateway = StartsWithIgnoringCase(*st, kIgdType);
        if (const auto value = HeaderValue(line, "LOCATION")) location = *value;
        return !line.empty();
    });
    return ok && gateway ? std::string(location) : std::string();
}

std::optional<Target> OnGateway(std::string_view url, std::string_view gateway) {
    constexpr std::string_view kScheme = "http://";
    if (gateway.empty() || !StartsWithIgnoringCase(url, kScheme)) return std::nullopt;
    if (!std::all_of(url.begin(), url.end(), IsPlain)) return std::nullopt;
    url.remove_prefix(kScheme.size());
    const std::size_t slash = url.find('/');
    const std::string_view authority = url.substr(0, slash);
    if (authority.substr(0, std::min(authority.find(':'), authority.size())) != gateway)
        return std::nullopt;
    Target target;
    if (authority.size() > gateway.size()) {
        target.port = PortValue(authority.substr(gateway.size() + 1));
        if (authority[gateway.size()] != ':' || target.port == 0) return std::nullopt;
    }
    target.path = slash == std::string_view::npos ? "/" : std::string(url.substr(slash));
    if (target.path[0] != '/' || url.find('?') < slash) return std::nullopt;
    return target;
}

std::optional<Target> ControlTarget(std::string_view location, std::string_view controlUrl,
                                    std::string_view gateway) {
    std::optional<Target> base = OnGateway(location, gateway);
    const std::string_view control = Trimmed(controlUrl);
    if (!base || control.empty() || !std::all_of(control.begin(), control.end(), IsPlain))
        return std::nullopt;
    if (StartsWithIgnoringCase(control, "http://")) return OnGateway(control, gateway);
    // Another scheme, or a network-path reference ("//host/x"), leads elsewhere.
    const std::size_t colon = control.find(':');
    if (control.substr(0, 2) == "//" ||
        (colon != std::string_view::npos && colon < control.find_first_of("/?"))) {
        return std::nullopt;
    }
    if (control[0] == '/') {
        base->path = control;
    } else {
        const std::string_view folder = std::string_view(base->path).substr(
            0, base->path.substr(0, base->path.find('?')).rfind('/') + 1);
        base->path = std::string(folder) + std::string(control);
    }
    return base;
}

bool IsWanConnection(std::string_view serviceType) {
    const std::string_view type = Trimmed(serviceType);
    for (const char* known : {"WANIPConnection:1", "WANIPConnection:2", "WANPPPConnection:1"})
        if (type == std::string(kServicePrefix) + known) return true;
    return false;
}

std::string ExternalAddressRequest(std::string_view serviceType) {
    std::string body = "<?xml version=\"1.0\"?>\r\n"
                       "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                       "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">"
                       "<s:Body><u:GetExternalIPAddress xmlns:u=\"";
    body += Trimmed(serviceType);
    body += "\"></u:GetExternalIPAddress></s:Body></s:Envelope>\r\n";
    return body;
}

std::string SoapAction(std::string_view serviceType) {
    return "\"" + std::string(Trimmed(serviceType)) + "#GetExternalIPAddress\"";
}

} // namespace upnp
