#pragma once
// Replacing every occurrence of a text, for the settings key paths.
#include <string>

// Returns `text` with each occurrence of `search` (case-sensitive, left to right) replaced
// by `replacement`. With `rescan` false the search goes on just behind the inserted text;
// with `rescan` true the inserted text is searched again. An empty `search` gives the text
// back unchanged; with `rescan` true a replacement that contains `search` again is replaced
// once only at that place, so the routine always ends.
std::wstring ReplaceString(const std::wstring& text, const std::wstring& search,
                           const std::wstring& replacement, bool rescan);
