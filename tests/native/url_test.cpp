// Page addresses as the user may type them, and how messages quote them.
#include "common/Quote.h"
#include "detect/Url.h"

#include <gtest/gtest.h>

namespace {

struct UrlCase {
    const wchar_t* raw;
    UrlProblem problem;
    const wchar_t* url; // the address fetched, or the refused scheme
};

TEST(PrepareUrl, Table) {
    const UrlCase cases[] = {
        {L"http://h/ip", UrlProblem::None, L"http://h/ip"},
        {L"HTTPS://h/ip", UrlProblem::None, L"HTTPS://h/ip"},
        {L"h/ip", UrlProblem::None, L"http://h/ip"},
        {L"127.0.0.1:8080/ip", UrlProblem::None, L"http://127.0.0.1:8080/ip"},
        {L"localhost:8080", UrlProblem::None, L"http://localhost:8080"},
        {L"localhost:8080?x=1", UrlProblem::None, L"http://localhost:8080?x=1"},
        {L"h/ip?next=http://x", UrlProblem::None, L"http://h/ip?next=http://x"},
        {L" \t http://h/ip \t ", UrlProblem::None, L"http://h/ip"},
        {L"http://h/ip#frag", UrlProblem::None, L"http://h/ip"},
        {L"http://h/ip?a=1#x#y", UrlProblem::None, L"http://h/ip?a=1"},
        {L"   ", UrlProblem::Empty, L""},
        {L"http://h/x?a=1\r\nX-Injected: 1", UrlProblem::Control, L""},
        {L"http://h/\x7F", UrlProblem::Control, L""},
        {L"http://h/\x85", UrlProblem::Control, L""},
        {L"javascript:alert(1)", UrlProblem::Scheme, L"javascript"},
        {L"mailto:a@b.de", UrlProblem::Scheme, L"mailto"},
        {L"ftp://h/ip", UrlProblem::Scheme, L"ftp"},
        {L"htp:/x", UrlProblem::Scheme, L"htp"},
        {L"C:\\autoexec.bat", UrlProblem::Scheme, L"C"},
        {L"localhost:80x/ip", UrlProblem::Scheme, L"localhost"},
        // The platform would fetch from port 80 for 0, and from the port cut to 16 bits.
        {L"http://127.0.0.1:0/ip", UrlProblem::Port, L"0"},
        {L"localhost:0/ip", UrlProblem::Port, L"0"},
        {L"h:65536/ip", UrlProblem::Port, L"65536"},
        {L"https://u:p@h:65616", UrlProblem::Port, L"65616"},
        {L"http://[::1]:99999999999999999999/", UrlProblem::Port, L"99999999999999999999"},
        {L"http://h:65535/ip", UrlProblem::None, L"http://h:65535/ip"},
        {L"http://h:00080/", UrlProblem::None, L"http://h:00080/"},
        {L"http://[::1]/ip", UrlProblem::None, L"http://[::1]/ip"},
        {L"http://h:/ip?to=h:0", UrlProblem::None, L"http://h:/ip?to=h:0"},
    };
    for (const UrlCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.raw)));
        const PreparedUrl p = PrepareUrl(c.raw);
        EXPECT_EQ(p.problem, c.problem);
        EXPECT_EQ(p.problem == UrlProblem::Scheme ? p.scheme
                  : p.problem == UrlProblem::Port ? p.port
                                                  : p.url,
                  c.url);
    }
}

TEST(PrepareUrl, LengthLimitCountsTheAddedScheme) {
    const std::wstring atLimit = L"http://h/" + std::wstring(kMaxUrlLength - 9, L'a');
    EXPECT_EQ(PrepareUrl(atLimit).problem, UrlProblem::None);
    EXPECT_EQ(PrepareUrl(atLimit + L"a").problem, UrlProblem::TooLong);
    EXPECT_EQ(PrepareUrl(atLimit.substr(7)).problem, UrlProblem::None);
    EXPECT_EQ(PrepareUrl(atLimit.substr(7) + L"a").problem, UrlProblem::TooLong);
    // A long fragment is cut off before the length counts.
    EXPECT_EQ(PrepareUrl(atLimit + L"#" + std::wstring(5000, L'f')).problem, UrlProblem::None);
}

TEST(UrlWithoutPassword, Table) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"http://user:geheim@h/ip", L"http://user:***@h/ip"},
        {L"http://user@h/ip", L"http://user@h/ip"},
        {L"http://h/ip?mail=a@b:c", L"http://h/ip?mail=a@b:c"},
        {L"http://u:p@h:81/x@y", L"http://u:***@h:81/x@y"},
        // Typed without a scheme, whatever the scheme rule makes of it.
        {L"user:Geheim123@host:81/path", L"user:***@host:81/path"},
        {L"h/ip?next=http://u:p@x", L"h/ip?next=http://u:p@x"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(UrlWithoutPassword(in), out) << testing::PrintToString(std::wstring(in));
}

TEST(Quote, ShortensInTheMiddleAndShowsNoControls) {
    const std::wstring longText = std::wstring(150, L'a') + std::wstring(150, L'b');
    const std::wstring q = ShortenMiddle(longText);
    EXPECT_EQ(q.size(), kMaxQuotedLength);
    EXPECT_EQ(q.substr(0, 2), L"aa");
    EXPECT_EQ(q.substr(q.size() - 2), L"bb");
    EXPECT_NE(q.find(L'\u2026'), std::wstring::npos);
    EXPECT_EQ(Quote(L"a\r\nb\x7F"), L"\u201Ea\uFFFD\uFFFDb\uFFFD\u201C");
}

// A box is as wide as its longest word: no run of a quoted text without a blank is longer
// than kMaxUnbrokenRun, and a path breaks after a backslash where it can.
TEST(Quote, LongWordsGetLineBreaks) {
    const std::wstring folder = L"C:\\" + std::wstring(30, L'a') + L"\\" + std::wstring(30, L'b');
    const std::pair<std::wstring, std::wstring> cases[] = {
        {std::wstring(48, L'x'), std::wstring(48, L'x')},
        {std::wstring(49, L'x'), std::wstring(48, L'x') + L"\r\nx"},
        {folder, L"C:\\" + std::wstring(30, L'a') + L"\\\r\n" + std::wstring(30, L'b')},
        {L"kurz " + std::wstring(40, L'y') + L" " + std::wstring(40, L'z'),
         L"kurz " + std::wstring(40, L'y') + L" " + std::wstring(40, L'z')},
    };
    for (const auto& [text, broken] : cases)
        EXPECT_EQ(Quote(text), L"\u201E" + broken + L"\u201C");
    for (const std::wstring& text : {std::wstring(200, L'x'), std::wstring(3000, L'/')}) {
        std::size_t run = 0;
        for (wchar_t c : Quote(text)) {
            run = c == L'\n' ? 0 : run + 1;
            EXPECT_LE(run, kMaxUnbrokenRun + 2); // the quotation marks included
        }
    }
}

TEST(Quote, NeverSplitsASurrogatePair) {
    std::wstring text;
    for (int i = 0; i < 200; ++i)
        text += L"\U0001F600";
    const std::wstring s = ShortenMiddle(text);
    EXPECT_LE(s.size(), kMaxQuotedLength);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool high = s[i] >= 0xD800 && s[i] <= 0xDBFF;
        const bool low = s[i] >= 0xDC00 && s[i] <= 0xDFFF;
        if (high) {
            EXPECT_TRUE(i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF);
        }
        if (low) {
            EXPECT_TRUE(i > 0 && s[i - 1] >= 0xD800 && s[i - 1] <= 0xDBFF);
        }
    }
}

} // namespace
