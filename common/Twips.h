#pragma once
// Twips to pixels with the screen's real DPI.
#include <windows.h>

// A rectangle in twips (1/1440 inch), as the window layouts give them.
struct TwipsRect {
    int left, top, width, height;
};

int ScreenDpi();
inline int TwipsToPixels(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}
RECT TwipsToRect(const TwipsRect& r, int dpi, int offsetLeftTwips = 0, int offsetTopTwips = 0);
