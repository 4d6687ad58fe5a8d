// Reads a page's bytes from standard input and prints the address the program would find
// in it (an empty line when there is none).
//
//   scanpage [--content-type "text/html; charset=..."] < page
#include "detect/PageText.h"
#include "detect/Scan.h"

#include <cstdio>
#include <cstring>
#include <string>

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
    const std::string address =
        ToUtf8(ScanForIp(PageBytesToText(bytes, charset, DecodeWindows1252)));
    std::printf("%s\n", address.c_str());
    return 0;
}
