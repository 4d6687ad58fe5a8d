#include "SettingsValue.h"

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
        return std::to_wstring(integer_);
    case Kind::Boolean:
        return integer_ ? L"Wahr" : L"Falsch";
    case Kind::Double:
    case Kind::Date: {
        wchar_t buf[40];
        std::swprintf(buf, sizeof buf / sizeof buf[0], L"%.15g", real_);
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
