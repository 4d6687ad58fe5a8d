#include "Scan.h"

#include "Numeric.h"
#include "SplitString.h"

#include <vector>

namespace {

constexpr std::size_t kLeadIn = 15;      // blanks in front of the page text
constexpr std::size_t kBeforeAnchor = 3; // window characters before the anchor dot
constexpr std::size_t kWindow = 15;      // window length
constexpr wchar_t kDot = L'.';

bool IsDigitChar(wchar_t c) {
    return IsNumeric(std::wstring_view(&c, 1));
}

// The window whose anchor dot lies at `anchor` of the page; characters that would come
// from the lead-in are blanks.
std::wstring WindowAt(std::wstring_view page, std::size_t anchor) {
    std::wstring window;
    // Padded position of the window start; never below 0 since the lead-in is longer
    // than the part of the window in front of the anchor.
    const std::size_t paddedStart = anchor + kLeadIn - kBeforeAnchor;
    for (std::size_t p = paddedStart; p < paddedStart + kWindow; ++p) {
        if (p < kLeadIn) {
            window.push_back(L' ');
        } else if (p - kLeadIn < page.size()) {
            window.push_back(page[p - kLeadIn]);
        } else {
            break;
        }
    }
    return window;
}

// The full stops of the page, each found once, in order. Remembers the last few so that
// a window's dot count needs no second look at the page.
class DotSequence {
  public:
    explicit DotSequence(std::wstring_view page) : page_(page) {}

    // Position of the j-th full stop, or npos when the page has fewer. Only the seven
    // around the last one asked for are kept.
    std::size_t At(std::size_t j) {
        while (found_ <= j) {
            if (exhausted_) return std::wstring_view::npos;
            const std::size_t from = found_ == 0 ? 0 : ring_[(found_ - 1) % kRing] + 1;
            const std::size_t pos = page_.find(kDot, from);
            if (pos == std::wstring_view::npos) {
                exhausted_ = true;
                return pos;
            }
            ring_[found_++ % kRing] = pos;
        }
        return ring_[j % kRing];
    }

  private:
    static constexpr std::size_t kRing = 8;
    std::wstring_view page_;
    std::size_t ring_[kRing] = {};
    std::size_t found_ = 0;
    bool exhausted_ = false;
};

// A window can only pass with exactly three dots in it. The lead-in holds none, so the
// dots of the page from 3 before the anchor to 11 behind it are what counts.
bool HasThreeDots(DotSequence& dots, std::size_t i, std::size_t anchor) {
    int count = 1;
    for (std::size_t k = 1; k <= 3 && k <= i; ++k) {
        if (dots.At(i - k) + kBeforeAnchor < anchor) break;
        ++count;
    }
    for (std::size_t k = 1; k <= 3; ++k) {
        const std::size_t next = dots.At(i + k);
        if (next == std::wstring_view::npos || next >= anchor + kWindow - kBeforeAnchor) break;
        ++count;
    }
    return count == 3;
}

void TrimFront(std::wstring& part) {
    std::size_t n = 0;
    while (n < part.size() && !IsDigitChar(part[n]))
        ++n;
    part.erase(0, n);
}

void TrimBack(std::wstring& part) {
    while (!part.empty() && !IsDigitChar(part.back()))
        part.pop_back();
}

// Returns the address for the window, or the empty text when it does not pass.
std::wstring TryWindow(const std::wstring& window) {
    static const std::wstring delimiter(1, kDot);
    std::vector<std::wstring> parts;
    SplitString(window, parts, delimiter);
    if (parts.size() != 4) return {};
    TrimFront(parts[0]);
    TrimBack(parts[3]);
    bool allNumeric = true;
    for (const std::wstring& part : parts)
        allNumeric = IsNumeric(part) && allNumeric; // every part is tested
    if (!allNumeric) return {};
    return parts[0] + L'.' + parts[1] + L'.' + parts[2] + L'.' + parts[3];
}

} // namespace

std::wstring ScanForIp(std::wstring_view page) {
    DotSequence dots(page);
    for (std::size_t i = 0;; ++i) {
        const std::size_t anchor = dots.At(i);
        if (anchor == std::wstring_view::npos) return {};
        if (!HasThreeDots(dots, i, anchor)) continue;
        std::wstring address = TryWindow(WindowAt(page, anchor));
        if (!address.empty()) return address;
    }
}
