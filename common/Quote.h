#pragma once
// How a message quotes what it is about (an address, a file, a folder): in German
// quotation marks, short enough that the box keeps its button on the screen, and with
// line breaks of its own in long words, since a message box is as wide as its longest
// word (a 200-character path made one 1,400 pixels wide).
#include <cstddef>
#include <string>
#include <string_view>

constexpr std::size_t kMaxQuotedLength = 200;
// The longest run of characters without a blank in a quoted text.
constexpr std::size_t kMaxUnbrokenRun = 48;

// `text` cut to `max` characters by an ellipsis in the middle; a surrogate pair is never
// split, nor a combining mark parted from its letter.
std::wstring ShortenMiddle(std::wstring_view text, std::size_t max = kMaxQuotedLength);

// „text“, shortened, with control characters (DEL and C1 too) and the marks that change
// the writing direction (U+202A to U+202E, U+2066 to U+2069, LRM, RLM, ALM) shown as
// U+FFFD, so that no line break, control or reversal of the quoted text reaches the box,
// and a line break of our own (CR LF) after a separator such as "\\" or "/" in every run
// of more than kMaxUnbrokenRun characters without a blank; never inside a surrogate pair
// or before a combining mark.
std::wstring Quote(std::wstring_view text);
