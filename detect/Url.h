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
    Port,    // not 1 to 5 digits of 1 to 65535: the platform would fetch from another port
    Form,    // http or https without "//" after the colon ("http:\\host", "http:host"), or
             // without the colon ("https//host")
};

struct PreparedUrl {
    UrlProblem problem = UrlProblem::None;
    std::wstring url;    // on success: the address to fetch
    std::wstring scheme; // on UrlProblem::Scheme: the scheme that was refused, as written
    std::wstring port;   // on UrlProblem::Port: the port as written; empty where it may be
                         // part of a password
};

// Surrounding blanks (space, tab) are dropped, the fragment is cut off (it is never sent),
// and an address without a scheme is taken as http. The scheme is what stands before the
// first colon when that is made of scheme characters and is not a port: so
// "localhost:8080/ip" and "host/ip?next=http://x" are bare addresses. After the host, a
// ":" is followed by nothing (the scheme's port) or by 1 to 5 ASCII digits with a value of
// 1 to 65535 up to the end of the authority: WinINet takes 0 or any other text for its
// default port and cuts a larger value to 16 bits, so each would fetch from another port
// than the one written.
PreparedUrl PrepareUrl(std::wstring_view raw);

// The port written in a prepared address; 0 when it names none (the scheme's port).
unsigned WrittenPort(std::wstring_view url);

// The address as a message may show it, with or without a scheme. Only the authority
// (after the scheme, up to the first "/", "?" or "#") holds a password; one that is just a
// host, with or without a port, holds none when no "@" follows before the query, and a "/"
// ends it. Otherwise (also where a "?" or "#" ends it and an "@" follows) from the first
// colon after the scheme to the last "@" is replaced by "***": whatever characters a
// password holds, none of it shows, and an ambiguous address loses more than its password.
std::wstring UrlWithoutPassword(std::wstring_view url);

// Whether the scheme of `url` is https (any case).
bool IsHttpsUrl(std::wstring_view url);

// Whether `url` starts with "http://" or "https://" (any case): an absolute address that
// needs no base to resolve against.
bool IsAbsoluteHttpUrl(std::wstring_view url);
