#pragma once
// The windows as designed, in twips, typed here from the design and not taken from the
// program's own layout tables: a slip in those shows up as a difference.
#include <windows.h>

#include <string>

namespace designed {

struct Box {
    int left, top, width, height; // twips; a control in a frame from the frame's corner
};

// The pixels a box covers at `dpi`: its corner converted, then its size.
inline RECT Pixels(const Box& box, int dpi, const Box& frame = {}) {
    const int left = MulDiv(frame.left + box.left, dpi, 1440);
    const int top = MulDiv(frame.top + box.top, dpi, 1440);
    return {left, top, left + MulDiv(box.width, dpi, 1440), top + MulDiv(box.height, dpi, 1440)};
}

// For messages: "left,top - right,bottom".
inline std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

inline constexpr SIZE kSetupClient{6510, 3180};
inline constexpr Box kFrame0{120, 120, 2655, 2895};
inline constexpr Box kFrame1{2880, 120, 3495, 1335};
inline constexpr Box kDirList{120, 840, 2415, 1890}; // in kFrame0
inline constexpr Box kPrompt0{120, 360, 2415, 465};  // in kFrame0
inline constexpr Box kPrompt1{120, 360, 3255, 585};  // in kFrame1
inline constexpr Box kUrl{120, 840, 3255, 285};      // in kFrame1
inline constexpr Box kOkay{2880, 2640, 1695, 375};
inline constexpr Box kCancel{4680, 2640, 1695, 375};

inline constexpr SIZE kStatusClient{4680, 705};
inline constexpr Box kStatusLabel{120, 240, 4455, 255};
inline constexpr int kStatusFontCentiPoints = 975; // bold

} // namespace designed
