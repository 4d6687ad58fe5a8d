#pragma once
// Folder paths as the directory list walks them: pure string work, no windows.h.
#include <string>
#include <vector>

// The root of a full path: "C:\" or "\\server\share\"; empty when it has none.
std::wstring PathRoot(const std::wstring& path);
// The folders from the root down to `path`, each a full path: "C:\", "C:\a", "C:\a\b".
std::vector<std::wstring> PathChain(const std::wstring& path);
// `dir` and `name` with one backslash between them.
std::wstring JoinPath(const std::wstring& dir, const std::wstring& name);
// `path` without trailing backslashes, a root's own one kept.
std::wstring WithoutTrailingSlash(std::wstring path);
