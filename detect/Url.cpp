#include "Url.h"

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

bool IsControl(wchar_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

bool IsSchemeChar(wchar_t c) {
    return IsAsciiLetter(c) || IsDigit(c) || c == L'+' || c == L'-' || c == L'.';
}

// "8080", "8080/ip", "8080?x": what follows the colon of "host:port".
bool IsPortAt(std::wstring_view s, std::size_t pos) {
    std::size_t end = pos;
    while (end < s.size() && IsDigit(s[end]))
        ++end;
    return end > pos && (end == s.size() || s[end] == L'/' || s[end] == L'?');
}

// Whether `s` from its start up to `end` is a scheme: a letter, then scheme characters.
bool IsSchemeUpTo(std::wstring_view s, std::size_t end) {
    if (end == 0 || end > s.size() || !IsAsciiLetter(s[0])) return false;
    for (std::size_t i = 1; i < end; ++i)
        if (!IsSchemeChar(s[i])) return false;
    return true;
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view lowerB) {
    if (a.size() != lowerB.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        wchar_t c = a[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != lowerB[i]) return false;
    }
    return true;
}

// The scheme as written, or empty when the address has none.
std::wstring_view SchemeOf(std::wstring_view s) {
    const std::size_t colon = s.find(L':');
    if (colon == std::wstring_view::npos || !IsSchemeUpTo(s, colon) || IsPortAt(s, colon + 1))
        return {};
    return s.substr(0, colon);
}

// "https//host/ip": the colon left out, the scheme would be fetched as a server's name.
bool LacksSchemeColon(std::wstring_view s) {
    for (std::wstring_view scheme : {L"http//", L"https//"})
        if (EqualsIgnoringCase(s.substr(0, scheme.size()), scheme)) return true;
    return false;
}

// Where the authority ("user:password@host:port") of `url` begins: after "scheme://";
// else at the start.
std::size_t AuthorityStart(std::wstring_view url) {
    const std::size_t slashes = url.find(L"://");
    return IsSchemeUpTo(url, slashes) ? slashes + 3 : 0;
}

std::size_t AuthorityEnd(std::wstring_view url, std::size_t start) {
    const std::size_t end = url.find_first_of(L"/?#", start);
    return end == std::wstring_view::npos ? url.size() : end;
}

// What follows the colon after the host, up to the end of the authority.
struct WrittenPortText {
    bool written = false; // a colon after the host
    std::wstring_view text;
    std::size_t end = 0; // where the text ends in the address
};

WrittenPortText PortTextOf(std::wstring_view url) {
    const std::size_t start = AuthorityStart(url);
    std::wstring_view host = url.substr(start, AuthorityEnd(url, start) - start);
    const std::size_t at = host.rfind(L'@');
    if (at != std::wstring_view::npos) host.remove_prefix(at + 1);
    std::size_t colon = host.find(L':');
    if (!host.empty() && host[0] == L'[') { // an IPv6 address holds colons
        const std::size_t bracket = host.find(L']');
        colon =
            bracket == std::wstring_view::npos ? std::wstring_view::npos : host.find(L':', bracket);
    }
    if (colon == std::wstring_view::npos) return {};
    return {true, host.substr(colon + 1),
            static_cast<std::size_t>(host.data() - url.data()) + host.size()};
}

// 1 to 5 ASCII digits, leading zeros allowed, with a value of 1 to 65535: the platform
// would take 0 for its default and cut a larger value to 16 bits, and other texts to 0.
unsigned PortValue(std::wstring_view digits) {
    if (digits.empty() || digits.size() > 5) return 0;
    unsigned value = 0;
    for (wchar_t c : digits) {
        if (!IsDigit(c)) return 0;
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    return value <= 65535 ? value : 0;
}

// Whether an authority without "@" is just a host, perhaps with a port: then its colon
// cannot begin a password.
bool IsHostAndPort(std::wstring_view authority) {
    std::size_t colon = authority.find(L':');
    if (!authority.empty() && authority[0] == L'[') { // an IPv6 address holds colons
        const std::size_t bracket = authority.find(L']');
        if (bracket == std::wstring_view::npos) return false;
        colon = authority.find(L':', bracket);
        if (colon == std::wstring_view::npos) return bracket + 1 == authority.size();
        if (colon != bracket + 1) return false;
    }
    if (colon == std::wstring_view::npos) return true;
    const std::wstring_view port = authority.substr(colon + 1);
    return port.empty() || PortValue(port) != 0;
}

} // namespace

PreparedUrl PrepareUrl(std::wstring_view raw) {
    PreparedUrl result;
    std::size_t first = 0, last = raw.size();
    while (first < last && IsBlank(raw[first]))
        ++first;
    while (last > first && IsBlank(raw[last - 1]))
        --last;
    std::wstring_view s = raw.substr(first, last - first);
    if (s.empty()) {
        result.problem = UrlProblem::Empty;
        return result;
    }
    for (wchar_t c : s) {
        if (IsControl(c)) {
            result.problem = UrlProblem::Control;
            return result;
        }
    }
    s = s.substr(0, s.find(L'#'));
    const std::wstring_view scheme = SchemeOf(s);
    if (scheme.empty() && LacksSchemeColon(s)) {
        result.problem = UrlProblem::Form;
        return result;
    }
    if (scheme.empty()) {
        result.url = L"http://";
        result.url += s;
    } else if (EqualsIgnoringCase(scheme, L"http") || EqualsIgnoringCase(scheme, L"https")) {
        result.url = s;
    } else {
        result.problem = UrlProblem::Scheme;
        result.scheme = scheme;
        return result;
    }
    if (!scheme.empty() && s.substr(scheme.size(), 3) != L"://") {
        result.problem = UrlProblem::Form;
        result.url.clear();
        return result;
    }
    if (result.url.size() > kMaxUrlLength) {
        result.problem = UrlProblem::TooLong;
        result.url.clear();
        return result;
    }
    const WrittenPortText port = PortTextOf(result.url);
    if (port.written && !port.text.empty() && PortValue(port.text) == 0) {
        result.problem = UrlProblem::Port;
        // The colon may just as well begin a password that holds a "#", "/" or "?": where
        // an "@" follows in the address as written, the text is not shown.
        const std::size_t added = result.url.size() - s.size(); // "http://"
        if (raw.find(L'@', first + port.end - added) == std::wstring_view::npos)
            result.port = port.text;
        result.url.clear();
    }
    return result;
}

unsigned WrittenPort(std::wstring_view url) {
    return PortValue(PortTextOf(url).text);
}

std::wstring UrlWithoutPassword(std::wstring_view url) {
    std::wstring out(url);
    const std::size_t start = AuthorityStart(url);
    // A host with its port and no "@" up to the query holds no password: an "@" in the
    // query or fragment is just text. One in the path may still end a password that
    // holds a "/". Up to the first "/", though, a "?" or "#" may be part of a password as
    // well as begin the query: "user:12?34@host" must not pass for the host "user".
    const std::size_t end = AuthorityEnd(url, start);
    const std::size_t query = url.find_first_of(L"?#", end);
    const std::wstring_view upToQuery =
        url.substr(start, query == std::wstring_view::npos ? query : query - start);
    const std::size_t slash = url.find(L'/', start);
    const std::wstring_view upToSlash =
        url.substr(start, slash == std::wstring_view::npos ? slash : slash - start);
    // An authority that a "?" or "#" ends, with an "@" after it, cannot be told from one
    // whose password holds that character ("user:1?2/3@host" is not the host "user").
    const bool queryBeforeAt = end < url.size() && url[end] != L'/' &&
                               url.find(L'@', end) != std::wstring_view::npos;
    if (!queryBeforeAt && IsHostAndPort(url.substr(start, end - start)) &&
        upToQuery.find(L'@') == std::wstring_view::npos &&
        upToSlash.find(L'@') == std::wstring_view::npos)
        return out;
    // A password may hold any character, "@", "/", "?", "#" and ":" among them, so what
    // is hidden runs from the first colon after the scheme to the last "@" of the whole
    // address: where that is more than the password, more is hidden, never less.
    const std::size_t at = url.rfind(L'@');
    if (at == std::wstring_view::npos || at < start) return out;
    const std::size_t colon = url.find(L':', start);
    if (colon == std::wstring_view::npos || colon > at) return out;
    out.replace(colon + 1, at - colon - 1, L"***");
    return out;
}

bool IsAbsoluteHttpUrl(std::wstring_view url) {
    const std::wstring_view scheme = SchemeOf(url);
    return (EqualsIgnoringCase(scheme, L"http") || EqualsIgnoringCase(scheme, L"https")) &&
           url.substr(scheme.size(), 3) == L"://";
}

bool IsHttpsUrl(std::wstring_view url) {
    return EqualsIgnoringCase(SchemeOf(url), L"https");
}
