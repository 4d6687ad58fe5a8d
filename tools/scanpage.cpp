// Reads a page's bytes from standard input and prints the address the program would find
// in it (the first run of digits and full stops that is four groups of one to three
// digits, its outer full stops dropped; detect/Scan.h), a tab, and whether the program
// would hand it to the client or why not (an empty line when there is none).
//
//   scanpage [--content-type "text/html; charset=..."] < page
#include "detect/PageText.h"
#include "detect/PublicAddress.h"
#include "detect/Scan.h"

#include <cstdio>
#include <cstring>
#include <string>

static const char* Verdict(AddressVerdict verdict) {
    switch (verdict) {
    case AddressVerdict::Public:
        return "handed on";
    case AddressVerdict::OwnNetwork:
        return "not handed on: own network (private, loopback or link-local)";
    case AddressVerdict::SharedNetwork:
        return "not handed on: the provider's shared network (carrier-grade NAT)";
    case AddressVerdict::LeadingZeros:
        return "not handed on: written with leading zeros";
    case AddressVerdict::DsLite:
        return "not handed on: the router's end of a DS-Lite tunnel (no public IPv4 address)";
    default:
        return "not handed on: no address a computer on the internet can have";
    }
}

int main(int argc, char** argv) {
    std::string charset;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--content-type") == 0 && i + 1 < argc) {
            charset = CharsetFromContentType(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: scanpage [--content-type VALUE] < page\n");
            return 2;
        }
    }
    std::string bytes;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        bytes.append(buffer, n);
    const std::wstring address = ScanForIp(PageBytesToText(bytes, charset, DecodeWindows1252));
    if (address.empty()) {
        std::printf("\n");
    } else {
        std::printf("%s\t%s\n", ToUtf8(address).c_str(), Verdict(JudgeAddress(address)));
    }
    return 0;
}
