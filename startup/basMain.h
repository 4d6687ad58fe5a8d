#pragma once
// The start of the program: find the external address, hand it to BearShare and start it;
// or open the setup dialog when a setting is missing or the user asks for it.
#include "settings/clsRegistry.h"

#include <string>

// The two settings' value names; stored files of earlier versions use them too.
inline constexpr wchar_t kFolderSetting[] = L"BearShareDirectory";
inline constexpr wchar_t kUrlSetting[] = L"URL";

// The program's one settings object, created on first use and kept until the end.
clsRegistry& Settings();
// Company, root key, product and version of the settings, in this order.
void SetSettingsIdentity();

// A setting as the settings object reads it, through the ANSI code page, and whether
// that is exactly what is stored. A character the code page lacks comes back as a
// look-alike ("\u0141ukasz" as "Lukasz", a fullwidth backslash as "\\"), which would name
// another folder or page: then `exact` is false and `text` is the stored text itself, for
// showing only.
struct StoredSetting {
    std::wstring text;
    bool exact = true;
};
StoredSetting ReadSetting(const wchar_t* name);
// What a box says of such a setting (a password in it hidden).
std::wstring NotExactMessage(const wchar_t* name, const std::wstring& storedText);

void Main();
// The check start: the checks, the fetch and the verdict of a normal start, and where
// BearShare would read the address, in one box; nothing is written or started. Failures
// get the boxes of a normal start. Exit code 0 when the address would be handed on.
void CheckStart();
// The setup dialog with the stored values, whatever they are; nothing is fetched.
void OpenSetup();
