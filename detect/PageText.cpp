#include "PageText.h"

#include <cctype>
#include <optional>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void Append(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(cp));
}

// Decodes one UTF-8 sequence at bytes[i]; advances i. Returns nothing for an invalid
// sequence (then i has moved past the offending byte).
std::optional<char32_t> NextUtf8(std::string_view bytes, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(bytes[i++]);
    if (b0 < 0x80) return b0;
    int extra;
    char32_t cp;
    char32_t minimum;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1, cp = b0 & 0x1F, minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2, cp = b0 & 0x0F, minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3, cp = b0 & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= bytes.size()) return std::nullopt;
        const auto b = static_cast<unsigned char>(bytes[i]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
        ++i;
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    return cp;
}

std::optional<std::wstring> DecodeUtf8(std::string_view bytes, bool strict) {
    std::wstring out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        // Pages are mostly ASCII: copy such runs without decoding.
        std::size_t run = i;
        while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80)
            ++run;
        if (run > i) {
            const std::size_t at = out.size();
            out.resize(at + (run - i));
            for (std::size_t k = 0; i < run; ++k, ++i)
                out[at + k] = static_cast<wchar_t>(bytes[i]);
            continue;
        }
        const auto cp = NextUtf8(bytes, i);
        if (!cp && strict) return std::nullopt;
        Append(out, cp.value_or(kReplacement));
    }
    return out;
}

std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring out;
    out.reserve(bytes.size() / 2);
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(bytes[i + (bigEndian ? 1 : 0)]);
        const auto hi = static_cast<unsigned char>(bytes[i + (bigEndian ? 0 : 1)]);
        units.push_back(static_cast<char16_t>(lo | (hi << 8)));
    }
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            Append(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            Append(out, kReplacement);
        } else {
            Append(out, u);
        }
    }
    return out;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

} // namespace

std::wstring DecodeWindows1252(std::string_view bytes) {
    // 0x80..0x9F; the five unassigned bytes keep their own code point.
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::wstring out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(static_cast<wchar_t>(b >= 0x80 && b < 0xA0 ? high[b - 0x80] : b));
    }
    return out;
}

std::string CharsetFromContentType(std::string_view contentType) {
    std::string lower;
    for (char c : contentType)
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    const std::size_t key = lower.find("charset=");
    if (key == std::string::npos) return {};
    std::string value = lower.substr(key + 8);
    const std::size_t end = value.find_first_of(";, \t");
    value = value.substr(0, end);
    std::string unquoted;
    for (char c : value)
        if (c != '"' && c != '\'') unquoted.push_back(c);
    return unquoted;
}

std::wstring PageBytesToText(std::string_view bytes, std::string_view charset, AnsiDecoder ansi) {
    if (charset == "utf-8" || charset == "utf8") {
        if (StartsWith(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
        return *DecodeUtf8(bytes, false);
    }
    if (charset == "utf-16" || charset == "utf-16le" || charset == "utf-16be") {
        bool bigEndian = charset == "utf-16be";
        if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
            bigEndian = bytes[0] == '\xFE';
            bytes.remove_prefix(2);
        }
        return DecodeUtf16(bytes, bigEndian);
    }
    if (charset == "iso-8859-1" || charset == "latin1" || charset == "latin-1" ||
        charset == "us-ascii" || charset == "ascii" || charset == "windows-1252" ||
        charset == "cp1252")
        return DecodeWindows1252(bytes);
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return *DecodeUtf8(bytes.substr(3), false);
    if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF"))
        return DecodeUtf16(bytes.substr(2), bytes[0] == '\xFE');
    if (auto utf8 = DecodeUtf8(bytes, true)) return std::move(*utf8);
    return ansi(bytes);
}

std::string ToUtf8(std::wstring_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() &&
                static_cast<char32_t>(text[i + 1]) >= 0xDC00 &&
                static_cast<char32_t>(text[i + 1]) <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
            }
        }
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacement;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}
