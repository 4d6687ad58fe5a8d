#pragma once
// The addresses of the server that gave a page, which the scan passes over: a page asked by
// its server's address shows that address, and it is never the caller's.
#include <string>
#include <vector>

// The IPv4 addresses of `host` as dotted quads: the host itself when it is written as one,
// else, when `resolveName`, what its name resolves to. Empty when there are none; nothing
// is looked up by name unless asked.
std::vector<std::wstring> ServerAddresses(const std::wstring& host, bool resolveName);
