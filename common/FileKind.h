#pragma once
// What a path names on disk, asked once for all (a path the call cannot reach names
// neither).
#include <string>

bool IsFile(const std::wstring& path);
bool IsFolder(const std::wstring& path);
