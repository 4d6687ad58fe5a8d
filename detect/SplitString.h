#pragma once
// Splitting of text at a delimiter, as the address scan uses it.
#include <cstdint>
#include <string>
#include <vector>

// Splits `source` at every occurrence of `delimiter` (searched as a whole, left to right,
// without overlap) and puts the parts into `parts`, which afterwards holds exactly them.
// Returns the number of parts. The count is a 16-bit integer: more than 32,767 parts throw
// SplitStringOverflow and leave `parts` untouched. An empty delimiter throws
// SplitStringEmptyDelimiter.
//
// Not the standard library's exception classes: their message strings would bring some
// 30 KB of the library's code into the program.
struct SplitStringOverflow {};
struct SplitStringEmptyDelimiter {};
std::int16_t SplitString(std::wstring source, std::vector<std::wstring>& parts,
                         const std::wstring& delimiter);
