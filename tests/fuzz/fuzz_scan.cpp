// libFuzzer target: page bytes (with a charset chosen by the first byte) through the
// decoding and the address scan. What the scan returns must be the first run of the text
// (a longest stretch of ASCII digits and full stops, its outer full stops dropped) that is
// four groups of one to three digits, found here another way: so it is a run of the page,
// no earlier run was an address, and the empty text means that no run is one.
#include "detect/PageText.h"
#include "detect/Scan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <regex>
#include <string_view>

namespace {

constexpr wchar_t kRunChars[] = L"0123456789.";
constexpr auto npos = std::wstring_view::npos;

std::wstring_view FirstAddressRun(std::wstring_view text) {
    static const std::wregex address(L"[0-9]{1,3}(\\.[0-9]{1,3}){3}");
    for (std::size_t i = text.find_first_of(kRunChars), end; i != npos;
         i = text.find_first_of(kRunChars, end)) {
        end = std::min(text.find_first_not_of(kRunChars, i), text.size());
        const std::size_t first = text.find_first_not_of(L'.', i);
        if (first >= end) continue; // only full stops
        const std::wstring_view run =
            text.substr(first, text.find_last_not_of(L'.', end - 1) + 1 - first);
        if (run.size() <= 15 && std::regex_match(run.begin(), run.end(), address)) return run;
    }
    return {};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* charsets[] = {"", "utf-8", "utf-16", "utf-16be", "iso-8859-1", "x-unknown"};
    if (size == 0) return 0;
    const char* charset = charsets[data[0] % 6];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::wstring text = PageBytesToText(bytes, charset, DecodeWindows1252);
    if (ScanForIp(text) != FirstAddressRun(text)) std::abort();
    return 0;
}
