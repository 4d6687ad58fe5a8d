#pragma once
// What the program makes of a page address before any platform call sees it: the fetch
// only ever gets an absolute http or https address without a fragment, within the
// platform's length limit.
#include <cstddef>
#include <string>
#include <string_view>

// The longest address the platform's internet functions take (INTERNET_MAX_URL_LENGTH, less
// its terminating NUL).
// Longer ones are not refused there but silently cut or mangled, so we refuse them first.
constexpr std::size_t kMaxUrlLength = 2083;

enum class UrlProblem {
    None,
    Empty,   // nothing but blanks
    Control, // a control character: it would end up in the request as a header line
    Scheme,  // a scheme other than http or https
    TooLong, // over kMaxUrlLength once the scheme is added
};

struct PreparedUrl {
    UrlProblem problem = UrlProblem::None;
    std::wstring url;    // on success: the address to fetch
    std::wstring scheme; // on UrlProblem::Scheme: the scheme that was refused, as written
};

// Surrounding blanks (space, tab) are dropped, the fragment is cut off (it is never sent),
// and an address without a scheme is taken as http. The scheme is what stands before the
// first colon when that is made of scheme characters and is not a port: so
// "localhost:8080/ip" and "host/ip?next=http://x" are bare addresses.
PreparedUrl PrepareUrl(std::wstring_view raw);

// The address as a message may show it: a password in it replaced by "***".
std::wstring UrlWithoutPassword(std::wstring_view url);

// Whether `url` starts with "http://" or "https://" (any case): an absolute address that
// needs no base to resolve against.
bool IsAbsoluteHttpUrl(std::wstring_view url);
