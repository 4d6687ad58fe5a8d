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
    if (colon == std::wstring_view::npos || colon == 0 || !IsAsciiLetter(s[0])) return {};
    for (std::size_t i = 1; i < colon; ++i)
        if (!IsSchemeChar(s[i])) return {};
    if (IsPortAt(s, colon + 1)) return {};
    return s.substr(0, colon);
}

// Where the authority ("user:password@host:port") of `url` begins: after "://" when that
// comes before any path, query or "@"; else at the start.
std::size_t AuthorityStart(std::wstring_view url) {
    const std::size_t slashes = url.find(L"://");
    if (slashes == std::wstring_view::npos) return 0;
    const std::size_t other = url.find_first_of(L"/?#@");
    return other < slashes ? 0 : slashes + 3;
}

std::size_t AuthorityEnd(std::wstring_view url, std::size_t start) {
    const std::size_t end = url.find_first_of(L"/?#", start);
    return end == std::wstring_view::npos ? url.size() : end;
}

// The port of `url` as written, when it is all digits; empty otherwise.
std::wstring_view DigitPort(std::wstring_view url) {
    const std::size_t start = AuthorityStart(url);
    std::wstring_view host = url.substr(start, AuthorityEnd(url, start) - start);
    const std::size_t at = host.rfind(L'@');
    if (at != std::wstring_view::npos) host.remove_prefix(at + 1);
    const std::size_t bracket = host.rfind(L']'); // an IPv6 address holds colons
    const std::size_t colon = host.rfind(L':');
    if (colon == std::wstring_view::npos || (bracket != std::wstring_view::npos && colon < bracket))
        return {};
    const std::wstring_view port = host.substr(colon + 1);
    for (wchar_t c : port)
        if (!IsDigit(c)) return {};
    return port;
}

bool IsPortInRange(std::wstring_view digits) {
    while (digits.size() > 1 && digits.front() == L'0')
        digits.remove_prefix(1);
    if (digits.size() > 5) return false;
    unsigned long value = 0;
    for (wchar_t c : digits)
        value = value * 10 + static_cast<unsigned long>(c - L'0');
    return value >= 1 && value <= 65535;
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
    if (result.url.size() > kMaxUrlLength) {
        result.problem = UrlProblem::TooLong;
        result.url.clear();
        return result;
    }
    const std::wstring_view port = DigitPort(result.url);
    if (!port.empty() && !IsPortInRange(port)) {
        result.problem = UrlProblem::Port;
        result.port = port;
        result.url.clear();
    }
    return result;
}

std::wstring UrlWithoutPassword(std::wstring_view url) {
    std::wstring out(url);
    const std::size_t start = AuthorityStart(url);
    const std::size_t at = out.rfind(L'@', AuthorityEnd(url, start));
    if (at == std::wstring::npos || at < start) return out;
    const std::size_t colon = out.find(L':', start);
    if (colon == std::wstring::npos || colon > at) return out;
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
