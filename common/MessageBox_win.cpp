#include "common/MessageBox.h"

#include "common/CommonControls.h"

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
    const CommonControls6 styled;
    return MessageBoxW(owner, text, caption, style);
}
