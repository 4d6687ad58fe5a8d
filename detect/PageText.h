#pragma once
// How the bytes of a fetched page become text. One rule for the program and for the
// command-line scanner, so both read a page alike.
#include <string>
#include <string_view>

// Decodes bytes of the system's ANSI code page; the program passes the real one, tools
// without Windows pass DecodeWindows1252.
using AnsiDecoder = std::wstring (*)(std::string_view bytes);

std::wstring DecodeWindows1252(std::string_view bytes);

// The charset parameter of a Content-Type header value, lower-cased, without quotes;
// empty when there is none.
std::string CharsetFromContentType(std::string_view contentType);

// The page text: by `charset` when it names one we know (UTF-8, UTF-16 in either byte
// order, ISO-8859-1/ASCII/Windows-1252, which are read as Windows-1252 as browsers do);
// otherwise by a byte-order mark, else as UTF-8 when the bytes are valid UTF-8, else by
// `ansi`. Invalid UTF-8 under a declared UTF-8 charset becomes U+FFFD. NUL bytes stay
// characters of the text.
std::wstring PageBytesToText(std::string_view bytes, std::string_view charset, AnsiDecoder ansi);

// Text back to UTF-8, for printing.
std::string ToUtf8(std::wstring_view text);
