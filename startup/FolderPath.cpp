#include "FolderPath.h"

std::wstring PathRoot(const std::wstring& path) {
    if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
        // \\server\share\ .
        std::size_t slash = path.find(L'\\', 2);
        if (slash != std::wstring::npos) slash = path.find(L'\\', slash + 1);
        return slash == std::wstring::npos ? path + L'\\' : path.substr(0, slash + 1);
    }
    if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2) + L'\\';
    return {};
}

std::wstring JoinPath(const std::wstring& dir, const std::wstring& name) {
    return dir.empty() || dir.back() == L'\\' ? dir + name : dir + L'\\' + name;
}

std::wstring WithoutTrailingSlash(std::wstring path) {
    while (path.size() > PathRoot(path).size() && !path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

std::vector<std::wstring> PathChain(const std::wstring& path) {
    const std::wstring root = PathRoot(path);
    std::vector<std::wstring> chain{root};
    std::wstring current = root;
    std::size_t pos = root.size();
    while (pos < path.size()) {
        std::size_t end = path.find(L'\\', pos);
        if (end == std::wstring::npos) end = path.size();
        if (end > pos) {
            current = JoinPath(current, path.substr(pos, end - pos));
            chain.push_back(current);
        }
        pos = end + 1;
    }
    return chain;
}

namespace {

wchar_t FoldCase(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool IsInside(const std::wstring& path, const std::wstring& folder) {
    const std::wstring base = WithoutTrailingSlash(folder);
    if (base.size() < 3 || base[1] != L':' || path.size() <= base.size()) return false;
    for (std::size_t i = 0; i < base.size(); ++i)
        if (FoldCase(path[i]) != FoldCase(base[i])) return false;
    return base.back() == L'\\' || path[base.size()] == L'\\';
}

// `path` without the "\\?\" or "\\.\" that only some tools and calls write: "\\?\C:\a" is
// "C:\a", "\\?\UNC\server\share" is "\\server\share".
std::wstring WithoutDevicePrefix(const std::wstring& path) {
    if (path.size() < 4 || path[0] != L'\\' || path[1] != L'\\' || path[3] != L'\\' ||
        (path[2] != L'?' && path[2] != L'.'))
        return path;
    const std::wstring rest = path.substr(4);
    if (rest.size() >= 4 && FoldCase(rest[0]) == L'U' && FoldCase(rest[1]) == L'N' &&
        FoldCase(rest[2]) == L'C' && rest[3] == L'\\')
        return L"\\" + rest.substr(3);
    return rest;
}

} // namespace

std::wstring VirtualStorePath(const std::wstring& file,
                              const std::vector<std::wstring>& protectedFolders,
                              const std::wstring& localAppData) {
    if (localAppData.empty()) return {};
    const std::wstring path = WithoutDevicePrefix(file);
    for (const std::wstring& folder : protectedFolders)
        if (IsInside(path, WithoutDevicePrefix(folder)))
            return JoinPath(JoinPath(localAppData, L"VirtualStore"), path.substr(3));
    return {};
}
