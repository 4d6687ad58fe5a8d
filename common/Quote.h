#pragma once
// How a message quotes what it is about (an address, a file, a folder): in German
// quotation marks, on one line, and short enough that the box keeps its button on the
// screen.
#include <cstddef>
#include <string>
#include <string_view>

constexpr std::size_t kMaxQuotedLength = 200;

// `text` cut to `max` characters by an ellipsis in the middle; a surrogate pair is never
// split.
std::wstring ShortenMiddle(std::wstring_view text, std::size_t max = kMaxQuotedLength);

// „text“, shortened, with control characters shown as U+FFFD so that no line break or
// other control of the quoted text reaches the box.
std::wstring Quote(std::wstring_view text);
