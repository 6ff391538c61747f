// The screen: the application-wide pointer shape and the screen size in twips.
#pragma once

namespace ui {

// Twips per pixel: a fixed factor (the value at 96 dots per inch).
inline constexpr int kTwipsPerPixel = 15;

class Screen {
public:
    // Pointer shapes: 0 default, 6 NE-SW sizing, 7 N-S sizing, 8 NW-SE sizing, 9 W-E sizing.
    static void setMousePointer(int shape);
    static int mousePointer();

    // Size of the primary screen in twips.
    static double Width();
    static double Height();
    static double TwipsPerPixelX() { return kTwipsPerPixel; }
    static double TwipsPerPixelY() { return kTwipsPerPixel; }
};

} // namespace ui
