#include "ReplaceString.h"

std::wstring ReplaceString(const std::wstring& text, const std::wstring& search,
                           const std::wstring& replacement, bool rescan) {
    if (search.empty()) return text;
    // A rescan that finds the search text inside its own replacement again would never end.
    const bool safeRescan = rescan && replacement.find(search) == std::wstring::npos;
    std::wstring work = text;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = work.find(search, pos);
        if (hit == std::wstring::npos) return work;
        work.replace(hit, search.size(), replacement);
        pos = safeRescan ? hit : hit + replacement.size();
    }
}
