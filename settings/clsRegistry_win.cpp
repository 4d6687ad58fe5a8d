#include "clsRegistry.h"

#include "common/Ansi.h"
#include "common/Handles.h"
#include "common/MessageBox.h"
#include "common/Texts.h"
#include "settings/RegCalls.h"
#include "settings/ReplaceString.h"

#include <algorithm>
#include <vector>

namespace {

// Narrower than KEY_READ / KEY_ALL_ACCESS on purpose: no standard rights are asked for.
constexpr REGSAM kReadAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY; // 0x19
constexpr REGSAM kWriteAccess = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY |
                                KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY | KEY_CREATE_LINK; // 0x3F
static_assert(kReadAccess == 0x19 && kWriteAccess == 0x3F, "access masks");

// Text read back from a REG_SZ: up to the first NUL of the bytes actually read; data
// stored without a terminator is taken whole, and nothing beyond it is looked at.
std::wstring TextFromData(const std::vector<char>& data, DWORD count) {
    const std::size_t size = std::min<std::size_t>(count, data.size());
    std::size_t end = 0;
    while (end < size && data[end] != '\0')
        ++end;
    return FromAnsi(std::string_view(data.data(), end));
}

// The key holder of this class: it closes through the same seam as every other call.
using SettingsKey = UniqueHandle<NullInvalidTraits<HKEY, &regcalls::CloseKey>>;

} // namespace

std::int32_t RootKeyValue(HKEY root) {
    return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(root));
}

clsRegistry::clsRegistry() : hKey_(RootKeyValue(HKEY_CURRENT_USER)) {}

HKEY clsRegistry::Root() const {
    // Predefined keys are sign-extended 32-bit values (0x80000001 -> 0xFFFFFFFF80000001).
    return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(hKey_));
}

std::wstring clsRegistry::AppKeyPath() const {
    return L"Software\\" + firma_ + L"\\" + produkt_ + L"\\" + version_;
}

void clsRegistry::ShowCopyright() const {
    ShowMessageBox(nullptr, texts::kCopyright, texts::kCopyrightTitle, 64);
}

SettingsValue clsRegistry::Value(const std::wstring& Abschnitt, const std::wstring& Eintrag) const {
    std::wstring path = AppKeyPath() + L"\\" + Abschnitt;
    while (path.find(L"\\\\") != std::wstring::npos)
        path = ReplaceString(path, L"\\\\", L"\\", false);
    Found result = QueryValue(Root(), path, Eintrag);
    if (!result.found) return SettingsValue(L"");
    return result.value;
}

void clsRegistry::Value(const std::wstring& Abschnitt, const std::wstring& Eintrag,
                        const SettingsValue& Wert) const {
    const std::wstring path = AppKeyPath() + L"\\" + Abschnitt;
    CreateKey(Root(), path, "X");
    SetValue(Root(), path, Eintrag, Wert);
}

void clsRegistry::DelValue(const std::wstring& Abschnitt, const std::wstring& Eintrag) const {
    const std::wstring path = Abschnitt.empty() ? AppKeyPath() : AppKeyPath() + L"\\" + Abschnitt;
    DeleteValue(Root(), path, Eintrag);
}

clsRegistry::Found clsRegistry::QueryValue(HKEY root, const std::wstring& path,
                                           const std::wstring& name) {
    SettingsKey key;
    if (regcalls::OpenKeyEx(root, ToAnsi(path).c_str(), 0, kReadAccess, key.Put()) != ERROR_SUCCESS)
        return {};
    const std::string valueName = ToAnsi(name);
    DWORD type = 0;
    DWORD size = 0;
    if (regcalls::QueryValueEx(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return {};
    switch (type) {
    case REG_SZ: {
        std::vector<char> data(size + 1, ' ');
        DWORD count = size;
        if (regcalls::QueryValueEx(key.Get(), valueName.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(data.data()), &count) != ERROR_SUCCESS)
            return {};
        return {true, SettingsValue(TextFromData(data, count))};
    }
    case REG_DWORD: {
        std::int32_t number = 0;
        DWORD count = sizeof number;
        if (regcalls::QueryValueEx(key.Get(), valueName.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(&number), &count) != ERROR_SUCCESS)
            return {};
        return {true, SettingsValue::Integer32(number)};
    }
    default:
        return {true, SettingsValue()};
    }
}

void clsRegistry::CreateKey(HKEY root, const std::wstring& path, const char* keyClass) {
    SettingsKey key;
    DWORD disposition = 0;
    if (regcalls::CreateKeyEx(root, ToAnsi(path).c_str(), 0, const_cast<char*>(keyClass),
                              REG_OPTION_NON_VOLATILE, kWriteAccess, nullptr, key.Put(),
                              &disposition) == ERROR_SUCCESS)
        regcalls::FlushKey(key.Get());
}

void clsRegistry::SetValue(HKEY root, const std::wstring& path, const std::wstring& name,
                           const SettingsValue& value) {
    SettingsKey key;
    if (regcalls::OpenKeyEx(root, ToAnsi(path).c_str(), 0, kWriteAccess, key.Put()) !=
        ERROR_SUCCESS)
        return;
    const std::string valueName = ToAnsi(name);
    const SettingsValue v = value.Resolved();
    switch (v.kind()) {
    case SettingsValue::Kind::Integer16:
    case SettingsValue::Kind::Integer32: {
        const std::int32_t number = v.Integer();
        regcalls::SetValueEx(key.Get(), valueName.c_str(), 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&number), sizeof number);
        break;
    }
    case SettingsValue::Kind::Text: {
        const std::string data = ToAnsi(v.Text());
        regcalls::SetValueEx(key.Get(), valueName.c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(data.c_str()),
                             static_cast<DWORD>(data.size() + 1));
        break;
    }
    default:
        break; // other kinds are not stored
    }
}

void clsRegistry::DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name) {
    SettingsKey key;
    if (regcalls::OpenKeyEx(root, ToAnsi(path).c_str(), 0, kWriteAccess, key.Put()) !=
        ERROR_SUCCESS)
        return;
    regcalls::DeleteValue(key.Get(), ToAnsi(name).c_str());
}
