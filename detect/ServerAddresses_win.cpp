#include "detect/ServerAddresses.h"

#include "common/Decimal.h"
#include "detect/PublicAddress.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace {

std::wstring DottedQuad(const in_addr& address) {
    const auto* b = reinterpret_cast<const unsigned char*>(&address);
    return Decimal(b[0]) + L"." + Decimal(b[1]) + L"." + Decimal(b[2]) + L"." + Decimal(b[3]);
}

} // namespace

std::vector<std::wstring> ServerAddresses(const std::wstring& host, bool resolveName) {
    std::vector<std::wstring> addresses;
    // A host written as an address is itself: the resolver (and its DLLs) are not needed.
    if (JudgeAddress(host) != AddressVerdict::NotAnAddress) return {host};
    if (!resolveName) return addresses;
    // Never cleaned up again: a process's last WSACleanup resets every socket it has open
    // ("WSACleanup", learn.microsoft.com), the router query's among them.
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return addresses;
    ADDRINFOW hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    ADDRINFOW* list = nullptr;
    if (GetAddrInfoW(host.c_str(), nullptr, &hints, &list) == 0) {
        for (const ADDRINFOW* a = list; a; a = a->ai_next)
            if (a->ai_family == AF_INET && a->ai_addrlen >= sizeof(sockaddr_in))
                addresses.push_back(
                    DottedQuad(reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr));
        FreeAddrInfoW(list);
    }
    return addresses;
}
