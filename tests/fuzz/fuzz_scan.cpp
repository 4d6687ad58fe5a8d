// libFuzzer target: page bytes (with a charset chosen by the first byte) through the
// decoding and the address scan. Whatever comes out must be empty or a text that cannot
// break a line of the settings file; what is handed on is a plain dotted quad.
#include "detect/PageText.h"
#include "detect/PublicAddress.h"
#include "detect/Scan.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* charsets[] = {"", "utf-8", "utf-16", "utf-16be", "iso-8859-1", "x-unknown"};
    if (size == 0) return 0;
    const char* charset = charsets[data[0] % 6];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::wstring address = ScanForIp(PageBytesToText(bytes, charset, DecodeWindows1252));
    int dots = 0;
    for (wchar_t c : address) {
        if (c == L'\r' || c == L'\n' || c == L'\0') std::abort();
        dots += c == L'.';
    }
    if (!address.empty() && dots != 3) std::abort();
    if (JudgeAddress(address) == AddressVerdict::Public)
        for (wchar_t c : address)
            if (c != L'.' && (c < L'0' || c > L'9')) std::abort();
    return 0;
}
