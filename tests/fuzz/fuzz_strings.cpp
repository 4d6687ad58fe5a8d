// libFuzzer target: SplitString and ReplaceString on texts and delimiters cut from the
// input. Checks that splitting and joining give the text back, and that replacing ends.
#include "detect/SplitString.h"
#include "settings/ReplaceString.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    // Layout: delimiter length, replacement length, rescan flag, then the texts.
    const std::size_t dl = data[0] % 4, rl = data[1] % 4;
    const bool rescan = data[2] & 1;
    std::wstring all;
    for (std::size_t i = 3; i < size; ++i)
        all.push_back(static_cast<wchar_t>(data[i] % 4 == 0 ? L'.' : data[i]));
    if (all.size() < dl + rl) return 0;
    const std::wstring delimiter = all.substr(0, dl);
    const std::wstring replacement = all.substr(dl, rl);
    const std::wstring text = all.substr(dl + rl);

    std::vector<std::wstring> parts{L"old"};
    try {
        const int count = SplitString(text, parts, delimiter);
        if (count != static_cast<int>(parts.size())) std::abort();
        std::wstring joined;
        for (std::size_t i = 0; i < parts.size(); ++i)
            joined += (i ? delimiter : L"") + parts[i];
        if (joined != text) std::abort();
    } catch (const SplitStringEmptyDelimiter&) {
        if (!delimiter.empty()) std::abort();
    } catch (const SplitStringOverflow&) {
    }
    const std::wstring replaced = ReplaceString(text, delimiter, replacement, rescan);
    if (!delimiter.empty() && !rescan && replacement.find(delimiter) == std::wstring::npos &&
        delimiter.size() == 1 && replaced.find(delimiter) != std::wstring::npos)
        std::abort();
    return 0;
}
