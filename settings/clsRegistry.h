#pragma once
// Settings kept as named values in the registry, in the key
// Software\<Firma>\<Produkt>\<Version> below the root key HKey, or in a subkey of it (a
// section). Every member opens what it needs and closes it before it returns; registry
// failures are never reported: a failed read gives empty text, a failed write or delete
// does nothing.
#include "settings/SettingsValue.h"

#include <windows.h>

#include <cstdint>
#include <string>

class clsRegistry {
  public:
    clsRegistry(); // HKey = HKEY_CURRENT_USER, the text fields empty

    // The information box about this class; returns when the user closes it.
    void ShowCopyright() const;

    // Writes `Wert` as the value `Eintrag` of section `Abschnitt`, creating the key if
    // needed. Text and 16/32-bit integers are stored; other kinds only create the key.
    void Value(const std::wstring& Abschnitt, const std::wstring& Eintrag,
               const SettingsValue& Wert) const;
    // Reads the value `Eintrag` of section `Abschnitt`: text, an integer, the empty state
    // for values of other types, empty text when there is none. Never creates a key.
    SettingsValue Value(const std::wstring& Abschnitt, const std::wstring& Eintrag) const;

    std::int32_t HKey() const { return hKey_; }
    void HKey(std::int32_t root) { hKey_ = root; }
    const std::wstring& Firma() const { return firma_; }
    void Firma(std::wstring v) { firma_ = std::move(v); }
    const std::wstring& Produkt() const { return produkt_; }
    void Produkt(std::wstring v) { produkt_ = std::move(v); }
    const std::wstring& Version() const { return version_; }
    void Version(std::wstring v) { version_ = std::move(v); }

    // Software\<Firma>\<Produkt>\<Version>: the key below HKey that holds the values.
    std::wstring AppKeyPath() const;

    // Deletes the value `Eintrag` of section `Abschnitt`; keys stay.
    void DelValue(const std::wstring& Abschnitt, const std::wstring& Eintrag) const;

  private:
    struct Found {
        bool found = false;
        SettingsValue value;
    };
    static Found QueryValue(HKEY root, const std::wstring& path, const std::wstring& name);
    static void CreateKey(HKEY root, const std::wstring& path, const char* keyClass);
    static void SetValue(HKEY root, const std::wstring& path, const std::wstring& name,
                         const SettingsValue& value);
    static void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name);

    HKEY Root() const;

    std::wstring firma_;
    std::wstring produkt_;
    std::wstring version_;
    std::int32_t hKey_;
};

// The handle value of a predefined root key, as HKey holds it.
std::int32_t RootKeyValue(HKEY root);
