#include "SettingsValue.h"

#include "common/Decimal.h"

#include <cwchar>

std::wstring SettingsValue::ToText() const {
    switch (kind_) {
    case Kind::Empty:
    case Kind::Null:
        return {};
    case Kind::Text:
        return text_;
    case Kind::Integer16:
    case Kind::Integer32:
    case Kind::Byte:
        return Decimal(integer_);
    case Kind::Boolean:
        return integer_ ? L"Wahr" : L"Falsch";
    case Kind::Double:
    case Kind::Date: {
        wchar_t buf[40];
#ifdef _WIN32
        // Windows' own C runtime: the library's printf would add 9 KB to the program for a
        // text it never shows (no setting is ever read as a number with a fraction). It
        // writes the exponent with three digits.
        _snwprintf(buf, sizeof buf / sizeof buf[0], L"%.15g", real_);
#else
        std::swprintf(buf, sizeof buf / sizeof buf[0], L"%.15g", real_);
#endif
        return buf;
    }
    case Kind::Object:
        return object_ ? object_->DefaultValue().ToText() : std::wstring();
    }
    return {};
}

SettingsValue SettingsValue::Resolved() const {
    if (kind_ == Kind::Object && object_) return object_->DefaultValue().Resolved();
    return *this;
}

bool operator==(const SettingsValue& value, const std::wstring& text) {
    return value.ToText() == text;
}
