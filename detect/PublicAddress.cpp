#include "PublicAddress.h"

#include <cstdint>
#include <optional>

namespace {

struct DottedQuad {
    std::uint32_t value = 0;
    bool leadingZero = false; // read as octal by some programs, as decimal by others
};

// Four groups of 1 to 3 decimal digits, each of 0 to 255, as a 32-bit number; nothing
// when the text is any other notation.
std::optional<DottedQuad> ReadDottedQuad(std::wstring_view text) {
    DottedQuad quad;
    std::size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != L'.') return std::nullopt;
            ++pos;
        }
        const std::size_t start = pos;
        unsigned number = 0;
        while (pos < text.size() && pos - start < 4 && text[pos] >= L'0' && text[pos] <= L'9')
            number = number * 10 + static_cast<unsigned>(text[pos++] - L'0');
        const std::size_t digits = pos - start;
        if (digits == 0 || digits > 3 || number > 255) return std::nullopt;
        quad.leadingZero |= digits > 1 && text[start] == L'0';
        quad.value = quad.value << 8 | number;
    }
    if (pos != text.size()) return std::nullopt;
    return quad;
}

struct Range {
    std::uint32_t first;
    int prefixBits;
    AddressVerdict verdict;
};

// The ranges of the IANA IPv4 Special-Purpose Address Registry (RFC 6890) that no peer on
// the internet can reach or that no customer is given; the documentation ranges are left
// out on purpose. The first range that holds an address decides.
constexpr Range kNotReachable[] = {
    {0x00000000, 8, AddressVerdict::NotAnAddress},   // 0.0.0.0/8, "this network"
    {0xC0000000, 29, AddressVerdict::DsLite},        // 192.0.0.0/29, inside a DS-Lite tunnel
    {0xC0000000, 24, AddressVerdict::NotAnAddress},  // 192.0.0.0/24, protocol assignments
    {0xC0586300, 24, AddressVerdict::NotAnAddress},  // 192.88.99.0/24, retired 6to4 relays
    {0xC6120000, 15, AddressVerdict::NotAnAddress},  // 198.18.0.0/15, benchmarking
    {0x0A000000, 8, AddressVerdict::OwnNetwork},     // 10.0.0.0/8, private
    {0x64400000, 10, AddressVerdict::SharedNetwork}, // 100.64.0.0/10, carrier-grade NAT
    {0x7F000000, 8, AddressVerdict::OwnNetwork},     // 127.0.0.0/8, loopback
    {0xA9FE0000, 16, AddressVerdict::OwnNetwork},    // 169.254.0.0/16, link-local
    {0xAC100000, 12, AddressVerdict::OwnNetwork},    // 172.16.0.0/12, private
    {0xC0A80000, 16, AddressVerdict::OwnNetwork},    // 192.168.0.0/16, private
    {0xE0000000, 4, AddressVerdict::NotAnAddress},   // 224.0.0.0/4, multicast
    {0xF0000000, 4, AddressVerdict::NotAnAddress},   // 240.0.0.0/4, reserved, and broadcast
};

} // namespace

AddressVerdict JudgeAddress(std::wstring_view text) {
    const std::optional<DottedQuad> quad = ReadDottedQuad(text);
    if (!quad) return AddressVerdict::NotAnAddress;
    if (quad->leadingZero) return AddressVerdict::LeadingZeros;
    for (const Range& range : kNotReachable) {
        const std::uint32_t mask = ~std::uint32_t{0} << (32 - range.prefixBits);
        if ((quad->value & mask) == range.first) return range.verdict;
    }
    return AddressVerdict::Public;
}
