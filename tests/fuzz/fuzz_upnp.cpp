// libFuzzer target: what the router's answers may make Tolvaring do. The input is an SSDP
// answer, or a LOCATION and a control URL. Whatever they hold, an address Tolvaring would
// fetch from is on the gateway itself: written back as http://<gateway>:<port><path>, it
// is read again as the same place, and its path starts with "/" and holds no blank,
// control character or fragment.
#include "detect/Upnp.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr char kGateway[] = "192.168.77.1";

void CheckTarget(const std::optional<upnp::Target>& target) {
    if (!target) return;
    if (target->port < 1 || target->port > 65535 || target->path.empty() ||
        target->path[0] != '/')
        std::abort();
    for (char c : target->path)
        if (c <= ' ' || c >= 0x7F || c == '#') std::abort();
    const std::string again =
        "http://" + std::string(kGateway) + ":" + std::to_string(target->port) + target->path;
    const auto read = upnp::OnGateway(again, kGateway);
    if (!read || read->port != target->port || read->path != target->path) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string location = upnp::LocationIn(input);
    CheckTarget(upnp::OnGateway(location, kGateway));
    // A LOCATION and a control URL, split at the first NUL.
    const std::size_t split = input.find('\0');
    if (split == std::string_view::npos) return 0;
    CheckTarget(upnp::OnGateway(input.substr(0, split), kGateway));
    CheckTarget(upnp::ControlTarget(input.substr(0, split), input.substr(split + 1), kGateway));
    return 0;
}
