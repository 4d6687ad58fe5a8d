// The page fetch through WinINet against pages served on 127.0.0.1 by the test run's own
// server.
#include "common/AppError.h"
#include "detect/Http.h"
#include "detect/Scan.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

namespace {

HttpControl ShortTimeout(DWORD ms = 2000) {
    HttpSettings settings;
    settings.timeoutMs = ms;
    return HttpControl(settings);
}

struct PageCase {
    const char* name;
    std::wstring path;
    std::wstring address;
};

TEST(HttpFetch, PagesOfEveryShapeYieldTheirAddress) {
    const PageCase cases[] = {
        {"html", L"/ip?ip=203.0.113.5", L"203.0.113.5"},
        {"plain", L"/echo?body=Ihre%20IP%3A%20198.51.100.1", L"198.51.100.1"},
        {"json", L"/echo?ctype=application/json&body=%7B%22ip%22%3A%22198.51.100.2%22%7D",
         L"198.51.100.2"},
        {"redirected", L"/redirect?to=%2Fip%3Fip%3D192.0.2.44", L"192.0.2.44"},
        {"utf-8",
         L"/echo?ctype=text/plain;charset=utf-8&hex=" + Hex("Gr\xC3\xBC\xC3\x9F"
                                                            "e 10.1.2.3"),
         L"10.1.2.3"},
        {"latin-1", L"/echo?ctype=text/plain;charset=iso-8859-1&hex=" + Hex("f\xFCr 10.4.5.6"),
         L"10.4.5.6"},
        {"utf-16",
         L"/echo?ctype=text/plain;charset=utf-16&hex=" + Hex(std::string("\xFF\xFEI\0P\0 \0"
                                                                         "1\0.\0"
                                                                         "2\0.\0"
                                                                         "3\0.\0"
                                                                         "4\0",
                                                                         22)),
         L"1.2.3.4"},
        {"no address", L"/echo?body=nichts%20hier.", L""},
        {"empty page", L"/echo", L""},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring text;
        try {
            text = HttpControl().OpenURL(PageUrl(c.path));
        } catch (const AppError& e) {
            ADD_FAILURE() << Narrow(e.Message());
        }
        EXPECT_EQ(ScanForIp(text), c.address);
    }
}

TEST(HttpFetch, DecodesByTheDeclaredCharset) {
    const std::wstring latin = HttpControl().OpenURL(
        PageUrl(L"/echo?ctype=text/plain;charset=iso-8859-1&hex=" + Hex("f\xFCr")));
    EXPECT_EQ(latin, L"f\u00FCr");
    const std::wstring utf8 = HttpControl().OpenURL(
        PageUrl(L"/echo?ctype=text/plain;charset=utf-8&hex=" + Hex("f\xC3\xBCr")));
    EXPECT_EQ(utf8, L"f\u00FCr");
}

TEST(HttpFetch, NeverServesAnAddressFromTheCache) {
    const std::wstring first = HttpControl().OpenURL(PageUrl(L"/counter"));
    const std::wstring second = HttpControl().OpenURL(PageUrl(L"/counter"));
    EXPECT_NE(first, second);
}

struct FailureCase {
    const char* name;
    std::wstring url;
    std::wstring reason; // a part of the message
};

TEST(HttpFetch, FailuresNameTheAddressAndTheReason) {
    const FailureCase cases[] = {
        {"404 with an address", PageUrl(L"/echo?status=404&body=IP%20203.0.113.1"),
         L"HTTP-Status 404"},
        {"500 with an address", PageUrl(L"/echo?status=500&body=IP%20203.0.113.1"),
         L"HTTP-Status 500"},
        {"503", PageUrl(L"/echo?status=503&body=1.2.3.4"), L"HTTP-Status 503"},
        {"refused", L"http://127.0.0.1:1/", L"Fehler 120"},
        {"too large", PageUrl(L"/big?mib=9"), L"8 MiB"},
        {"cut short", PageUrl(L"/cut"), L"getrennt"},
        {"redirect loop", PageUrl(L"/loop"), L"Weiterleitungen"},
        {"redirect to a refused port", PageUrl(L"/redirect?to=http%3A%2F%2F127.0.0.1%3A1%2F"),
         L"Fehler"},
        {"not a url", L"htp:/x", L"Fehler"},
        {"file path", L"C:\\autoexec.bat", L""},
        {"ftp", L"ftp://127.0.0.1/", L"http://"},
        {"empty", L"", L""},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            const std::wstring text = ShortTimeout(5000).OpenURL(c.url);
            ADD_FAILURE() << "no failure; text: " << Narrow(text.substr(0, 80));
        } catch (const AppError& e) {
            const std::wstring& m = e.Message();
            EXPECT_NE(m.find(L"\u201E" + c.url + L"\u201C"), std::wstring::npos) << Narrow(m);
            EXPECT_NE(m.find(c.reason), std::wstring::npos) << Narrow(m);
        }
    }
}

// Certificates are always checked: a page behind a self-signed certificate is a failure,
// reached directly or by a redirect from http.
TEST(HttpFetch, UntrustedCertificatesAreNeverAccepted) {
    const std::wstring direct = TlsPageUrl(L"/ip?ip=203.0.113.7");
    const std::wstring redirected = PageUrl(L"/redirect?to=" + TlsPageUrl(L"/ip?ip=203.0.113.7"));
    for (const std::wstring& url : {direct, redirected}) {
        SCOPED_TRACE(Narrow(url));
        try {
            const std::wstring text = ShortTimeout(5000).OpenURL(url);
            ADD_FAILURE() << "accepted: " << Narrow(text.substr(0, 80));
        } catch (const AppError& e) {
            EXPECT_NE(e.Message().find(L"\u201E" + url + L"\u201C"), std::wstring::npos);
            // 12045: the certificate authority is not trusted.
            EXPECT_NE(e.Message().find(L"Fehler 12045"), std::wstring::npos) << Narrow(e.Message());
        }
    }
}

TEST(HttpFetch, AnExactly8MiBPageIsStillRead) {
    const std::wstring text = HttpControl().OpenURL(PageUrl(L"/big?mib=8"));
    EXPECT_EQ(ScanForIp(text), L"203.0.113.99");
}

// The time-out bounds the whole fetch: a silent server and one that trickles a byte at a
// time both end in a failure soon after it.
TEST(HttpFetch, TheTimeOutBoundsTheWholeFetch) {
    for (const wchar_t* path : {L"/hang", L"/trickle?every=0.4"}) {
        SCOPED_TRACE(Narrow(path));
        const ULONGLONG start = GetTickCount64();
        EXPECT_THROW(ShortTimeout(2000).OpenURL(PageUrl(path)), AppError);
        const ULONGLONG took = GetTickCount64() - start;
        EXPECT_GE(took, 1500u);
        EXPECT_LE(took, 6000u);
    }
}

} // namespace
