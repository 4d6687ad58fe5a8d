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
