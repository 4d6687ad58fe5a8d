#include "TestSupport.h"

#include "common/Handles.h"
#include "tests/win/Driver.h"

#include <fstream>
#include <sstream>

RawValue ReadRawValue(HKEY root, const std::string& path, const std::string& name) {
    RawValue raw;
    RegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return raw;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &raw.type, nullptr, &size) !=
        ERROR_SUCCESS)
        return raw;
    raw.bytes.resize(size);
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &raw.type,
                         reinterpret_cast<BYTE*>(raw.bytes.data()), &size) != ERROR_SUCCESS)
        return raw;
    raw.bytes.resize(size);
    raw.exists = true;
    return raw;
}

void WriteRawValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                   const std::string& bytes) {
    RegKey key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(),
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key.Get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
}

bool KeyExists(HKEY root, const std::string& path) {
    RegKey key;
    return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

std::string KeyClass(HKEY root, const std::string& path) {
    RegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return "<no key>";
    char cls[256] = {};
    DWORD length = sizeof cls;
    if (RegQueryInfoKeyA(key.Get(), cls, &length, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return "<no info>";
    return std::string(cls, length);
}

void DeleteTree(HKEY root, const std::string& path) {
    RegDeleteTreeA(root, path.c_str());
}

int PageServerPort() {
    wchar_t buffer[32] = {};
    GetEnvironmentVariableW(L"TOLVARING_TEST_PORT", buffer, 32);
    return _wtoi(buffer);
}

std::wstring TestPort(const wchar_t* variable) {
    wchar_t buffer[32] = {};
    GetEnvironmentVariableW(variable, buffer, 32);
    return buffer;
}

std::wstring TlsPageUrl(const std::wstring& path) {
    return L"https://127.0.0.1:" + TestPort(L"TOLVARING_TEST_TLS_PORT") + path;
}

std::wstring TrustedTlsUrl(const std::wstring& path) {
    return L"https://localhost:" + TestPort(L"TOLVARING_TEST_TRUSTED_PORT") + path;
}

std::wstring WrongNameTlsUrl(const std::wstring& path) {
    return L"https://localhost:" + TestPort(L"TOLVARING_TEST_WRONGNAME_PORT") + path;
}

std::wstring PageUrl(const std::wstring& path) {
    return L"http://127.0.0.1:" + std::to_wstring(PageServerPort()) + path;
}

std::wstring ExeFolder() {
    wchar_t buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path(buffer, n);
    return path.substr(0, path.find_last_of(L'\\'));
}

namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = folder + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(find.Get(), &data));
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

std::wstring StateFolder() {
    wchar_t buffer[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TOLVARING_TEST_STATE", buffer, MAX_PATH) == 0) return ExeFolder();
    // A Unix path: Wine shows the Unix root as drive Z:.
    std::wstring path = L"Z:" + std::wstring(buffer);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

std::wstring MakeTempFolder(const std::wstring& name) {
    const std::wstring base = StateFolder() + L"\\tmp";
    CreateDirectoryW(base.c_str(), nullptr);
    const std::wstring folder = base + L"\\" + name;
    RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring ReadFileText(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    const std::string bytes = s.str();
    return std::wstring(bytes.begin(), bytes.end());
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary);
    out << bytes;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

namespace {

std::wstring ArtifactsFolder() {
    const std::wstring folder = ExeFolder() + L"\\artifacts";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

} // namespace

std::wstring SaveScreenshot(HWND hwnd, const std::wstring& name) {
    // Taken once the window and its controls have nothing left to paint.
    const auto painted = [hwnd] {
        bool any = GetUpdateRect(hwnd, nullptr, FALSE);
        EnumChildWindows(
            hwnd,
            [](HWND child, LPARAM lp) {
                *reinterpret_cast<bool*>(lp) |= GetUpdateRect(child, nullptr, FALSE) != FALSE;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&any));
        return !any;
    };
    WaitUntil(painted, 2000);
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((w * 3 + 3) / 4) * 4;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + stride * h;
    // The German test run keeps its own pictures beside the English ones.
    const bool german = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN;
    const std::wstring path = ArtifactsFolder() + L"\\" + (german ? L"de-" : L"") + name + L".bmp";
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), stride * h);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return path;
}

std::wstring Hex(const std::string& bytes) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring out;
    for (unsigned char b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

bool IsCommonControl6(HWND control, const wchar_t* systemClass) {
    HWND plain = CreateWindowExW(0, systemClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 nullptr, nullptr);
    const ULONG_PTR plainAtom = GetClassLongPtrW(plain, GCW_ATOM);
    DestroyWindow(plain);
    return control && plainAtom != 0 && GetClassLongPtrW(control, GCW_ATOM) != plainAtom;
}
