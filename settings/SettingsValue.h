#pragma once
// The value that the settings class reads and writes: empty, text or an integer when read;
// when written it may be of any kind, and only text and 16/32-bit integers are stored.
#include <cstdint>
#include <string>

class SettingsValue;

// A control whose value is its default property (the directory list's path, the text
// box's text). Writing such an object writes that property's value.
class HasDefaultProperty {
  public:
    virtual SettingsValue DefaultValue() const = 0;

  protected:
    ~HasDefaultProperty() = default;
};

class SettingsValue {
  public:
    enum class Kind {
        Empty,
        Null,
        Text,
        Integer16,
        Integer32,
        Boolean,
        Byte,
        Double,
        Date,
        Object
    };

    SettingsValue() = default; // the empty state
    SettingsValue(std::wstring text) : kind_(Kind::Text), text_(std::move(text)) {}
    SettingsValue(const wchar_t* text) : SettingsValue(std::wstring(text)) {}
    static SettingsValue Integer16(std::int16_t v) { return Number(Kind::Integer16, v); }
    static SettingsValue Integer32(std::int32_t v) { return Number(Kind::Integer32, v); }
    static SettingsValue Boolean(bool v) { return Number(Kind::Boolean, v ? -1 : 0); }
    static SettingsValue Byte(std::uint8_t v) { return Number(Kind::Byte, v); }
    static SettingsValue Double(double v) { return Real(Kind::Double, v); }
    static SettingsValue Date(double serial) { return Real(Kind::Date, serial); }
    static SettingsValue Null() { return Number(Kind::Null, 0); }
    static SettingsValue Object(const HasDefaultProperty& object) {
        SettingsValue v;
        v.kind_ = Kind::Object;
        v.object_ = &object;
        return v;
    }

    Kind kind() const { return kind_; }
    bool IsEmpty() const { return kind_ == Kind::Empty; }
    const std::wstring& Text() const { return text_; }
    std::int32_t Integer() const { return integer_; }
    const HasDefaultProperty* Object() const { return object_; }

    // Where text is needed: the empty state is empty text, integers their decimal text.
    std::wstring ToText() const;

    // An object counts as the value of its default property.
    SettingsValue Resolved() const;

  private:
    static SettingsValue Number(Kind kind, std::int32_t v) {
        SettingsValue s;
        s.kind_ = kind;
        s.integer_ = v;
        return s;
    }
    static SettingsValue Real(Kind kind, double v) {
        SettingsValue s;
        s.kind_ = kind;
        s.real_ = v;
        return s;
    }

    Kind kind_ = Kind::Empty;
    std::wstring text_;
    std::int32_t integer_ = 0;
    double real_ = 0;
    const HasDefaultProperty* object_ = nullptr;
};

// Comparison with text, as the settings are tested for absence: the empty state equals
// the empty text.
bool operator==(const SettingsValue& value, const std::wstring& text);
inline bool operator!=(const SettingsValue& value, const std::wstring& text) {
    return !(value == text);
}
