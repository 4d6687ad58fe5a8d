#include "common/MessageBox.h"

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
    return MessageBoxW(owner, text, caption, style);
}
