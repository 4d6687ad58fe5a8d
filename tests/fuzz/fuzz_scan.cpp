// libFuzzer target: page bytes (with a charset chosen by the first byte) through the
// decoding and the address scan. What the scan returns must be the first run of the text
// (a longest stretch of ASCII digits and full stops, its outer full stops dropped) that is
// four groups of one to three digits, found here the plain way: so it is a run of the page,
// no earlier run was an address, and the empty text means that no run is one.
#include "detect/PageText.h"
#include "detect/Scan.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool InRun(wchar_t c) {
    return (c >= L'0' && c <= L'9') || c == L'.';
}

bool IsFourGroups(std::wstring_view run) {
    int groups = 1, digits = 0;
    for (wchar_t c : run) {
        if (c != L'.') {
            if (++digits > 3) return false;
        } else if (digits == 0) {
            return false;
        } else {
            ++groups;
            digits = 0;
        }
    }
    return groups == 4 && digits > 0;
}

std::wstring_view FirstAddressRun(std::wstring_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (!InRun(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && InRun(text[end]))
            ++end;
        std::wstring_view run = text.substr(i, end - i);
        while (!run.empty() && run.front() == L'.')
            run.remove_prefix(1);
        while (!run.empty() && run.back() == L'.')
            run.remove_suffix(1);
        if (IsFourGroups(run)) return run;
        i = end;
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
