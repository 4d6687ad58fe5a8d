#include "Scan.h"

#include "SplitString.h"

#include <algorithm>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr wchar_t kDot = L'.';
// Four groups of three digits, or of one, and the three full stops between them.
constexpr std::size_t kLongestAddress = 15;
constexpr std::size_t kShortestAddress = 7;
// The page is looked at this many characters at a time, one bit for each.
constexpr std::size_t kBlock = 16;
constexpr std::size_t kNoRun = static_cast<std::size_t>(-1);

bool InRun(wchar_t c) {
    return (c >= L'0' && c <= L'9') || c == kDot;
}

// Bit i is set when text[i] belongs to a run, for the `count` (at most kBlock) characters.
unsigned RunBits(const wchar_t* text, std::size_t count) {
    unsigned bits = 0;
    for (std::size_t i = 0; i < count; ++i)
        bits |= static_cast<unsigned>(InRun(text[i])) << i;
    return bits;
}

#if defined(__SSE2__)
// The same for a whole block, sixteen characters in a few instructions: a page is mostly
// prose or markup, and the bytes of most characters need no closer look. The characters
// are first narrowed to bytes with saturation, so that no code unit above 0xFF (wchar_t
// has 2 bytes on Windows and 4 here) can pass for an ASCII one: the signed saturation reads
// 0x8000 or more as negative and makes it 0, anything else above 0xFF becomes 0xFF.
unsigned BlockRunBits(const wchar_t* text) {
    const __m128i* p = reinterpret_cast<const __m128i*>(text);
    __m128i bytes;
    if constexpr (sizeof(wchar_t) == 2) {
        bytes = _mm_packus_epi16(_mm_loadu_si128(p), _mm_loadu_si128(p + 1));
    } else {
        bytes = _mm_packus_epi16(_mm_packs_epi32(_mm_loadu_si128(p), _mm_loadu_si128(p + 1)),
                                 _mm_packs_epi32(_mm_loadu_si128(p + 2), _mm_loadu_si128(p + 3)));
    }
    const __m128i fromZero = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
    const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(fromZero, _mm_set1_epi8(9)), fromZero);
    const __m128i dot = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('.'));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(digit, dot)));
}
#else
unsigned BlockRunBits(const wchar_t* text) {
    return RunBits(text, kBlock);
}
#endif

// The address that the run is, its outer full stops dropped: four groups of one to three
// digits joined by single full stops; empty otherwise. Most runs of a page (a price, a
// version, a count) are too short to be one, and a longer run is passed over before it is
// split, so that a page-long run of digits and dots costs no more than reading it.
std::wstring_view AddressIn(std::wstring_view run) {
    if (run.size() < kShortestAddress) return {};
    run.remove_prefix(std::min(run.find_first_not_of(kDot), run.size()));
    run = run.substr(0, run.find_last_not_of(kDot) + 1);
    if (run.size() > kLongestAddress || std::count(run.begin(), run.end(), kDot) != 3) return {};
    std::vector<std::wstring> groups;
    SplitString(std::wstring(run), groups, std::wstring(1, kDot));
    const auto isGroup = [](const std::wstring& group) {
        return !group.empty() && group.size() <= 3;
    };
    return std::all_of(groups.begin(), groups.end(), isGroup) ? run : std::wstring_view();
}

// Hands each run of the page that is an address, from left to right, to `take` until it
// returns true; that address is returned, or the empty view when none was taken.
template <class Take> std::wstring_view FirstTaken(std::wstring_view page, Take take) {
    std::size_t runStart = kNoRun; // of the run that the block before ended in
    for (std::size_t block = 0; block < page.size(); block += kBlock) {
        const std::size_t count = std::min(kBlock, page.size() - block);
        const unsigned bits = count == kBlock ? BlockRunBits(page.data() + block)
                                              : RunBits(page.data() + block, count);
        // Where a character is in a run and the one before it is not, or the other way.
        const unsigned before = bits << 1 | (runStart != kNoRun ? 1u : 0u);
        unsigned edges = (bits ^ before) & ((1u << count) - 1);
        for (; edges != 0; edges &= edges - 1) {
            const std::size_t at = block + static_cast<unsigned>(__builtin_ctz(edges));
            if (runStart == kNoRun) {
                runStart = at;
                continue;
            }
            const std::wstring_view address = AddressIn(page.substr(runStart, at - runStart));
            if (!address.empty() && take(address)) return address;
            runStart = kNoRun;
        }
    }
    if (runStart == kNoRun) return {};
    const std::wstring_view address = AddressIn(page.substr(runStart));
    return !address.empty() && take(address) ? address : std::wstring_view();
}

} // namespace

std::wstring ScanForIp(std::wstring_view page, const std::vector<std::wstring>& passedOver) {
    std::wstring_view firstPassedOver;
    const std::wstring_view address = FirstTaken(page, [&](std::wstring_view run) {
        if (std::find(passedOver.begin(), passedOver.end(), run) == passedOver.end()) return true;
        if (firstPassedOver.empty()) firstPassedOver = run;
        return false;
    });
    return std::wstring(address.empty() ? firstPassedOver : address);
}

bool PageShowsAddress(std::wstring_view page, std::wstring_view address) {
    return !FirstTaken(page, [&](std::wstring_view run) { return run == address; }).empty();
}
