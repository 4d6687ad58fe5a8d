#pragma once
// Twips to pixels with the screen's real DPI.
#include "resources/Layout.h" // TwipsRect, as the window layouts give them

#include <windows.h>

int ScreenDpi();
inline int TwipsToPixels(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}
RECT TwipsToRect(const TwipsRect& r, int dpi, int offsetLeftTwips = 0, int offsetTopTwips = 0);
