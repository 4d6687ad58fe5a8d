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

// Where Windows keeps a virtualized program's own copy of `file`, when `file` lies inside
// one of `protectedFolders` (full paths on a drive): "<localAppData>\VirtualStore\" and
// `file` without its drive. Empty when it lies in none. Letters are compared as Windows
// compares names, without regard to case (here: A to Z only, which the known folders use);
// a device prefix on either side does not count.
std::wstring VirtualStorePath(const std::wstring& file,
                              const std::vector<std::wstring>& protectedFolders,
                              const std::wstring& localAppData);
