#pragma once
// Window layouts in twips (1/1440 inch); the window code converts them with the real DPI.
// A control inside a frame is placed relative to the frame's top-left corner. Data only:
// the code includes this, never the other way round.

// A rectangle in twips.
struct TwipsRect {
    int left, top, width, height;
};

namespace layout {

// The status window shown while the address is determined.
namespace status {
constexpr int kClientWidth = 4680;
constexpr int kClientHeight = 705;
constexpr TwipsRect kLabel1{120, 240, 4455, 255};
constexpr wchar_t kLabelFont[] = L"MS Sans Serif";
constexpr int kLabelFontCentiPoints = 975; // 9.75 pt, bold
} // namespace status

// The setup dialog.
namespace setup {
constexpr int kClientWidth = 6510;
constexpr int kClientHeight = 3180;
constexpr TwipsRect kFrame0{120, 120, 2655, 2895};
constexpr TwipsRect kDirBearShare{120, 840, 2415, 1890}; // in Frame(0)
constexpr TwipsRect kLblInfo0{120, 360, 2415, 465};      // in Frame(0)
constexpr TwipsRect kFrame1{2880, 120, 3495, 1335};
constexpr TwipsRect kLblInfo1{120, 360, 3255, 585}; // in Frame(1)
constexpr TwipsRect kTxtUrl{120, 840, 3255, 285};   // in Frame(1)
constexpr TwipsRect kCmdOkay{2880, 2640, 1695, 375};
constexpr TwipsRect kCmdCancel{4680, 2640, 1695, 375};
} // namespace setup

} // namespace layout
