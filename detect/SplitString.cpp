#include "SplitString.h"

std::int16_t SplitString(std::wstring source, std::vector<std::wstring>& parts,
                         const std::wstring& delimiter) {
    if (delimiter.empty()) throw SplitStringEmptyDelimiter();
    constexpr std::size_t maxParts = INT16_MAX;
    std::vector<std::wstring> result;
    std::size_t start = 0;
    for (;;) {
        const std::size_t hit = source.find(delimiter, start);
        if (hit == std::wstring::npos) break;
        if (result.size() + 1 >= maxParts) throw SplitStringOverflow();
        result.emplace_back(source, start, hit - start);
        start = hit + delimiter.size();
    }
    result.emplace_back(source, start);
    parts.swap(result);
    return static_cast<std::int16_t>(parts.size());
}
