#include "Twips.h"

#include "common/Handles.h"

int ScreenDpi() {
    const WindowDC screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

RECT TwipsToRect(const TwipsRect& r, int dpi, int offsetLeftTwips, int offsetTopTwips) {
    // Convert the edges, not the sizes, so neighbouring controls never drift apart.
    const int left = TwipsToPixels(offsetLeftTwips + r.left, dpi);
    const int top = TwipsToPixels(offsetTopTwips + r.top, dpi);
    return RECT{left, top, left + TwipsToPixels(r.width, dpi), top + TwipsToPixels(r.height, dpi)};
}
