// The main window's placement in the settings store (section Last Window
// Data): read with the clipping rules at start-up, written when it closes.
#pragma once

#include <optional>
#include <string>

namespace webquill {

class CSettingsStore;

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const PixelRect&) const = default;
};

inline constexpr PixelRect kDefaultWindowRect{19, 72, 676, 449};

enum class ShowState { Normal, Minimized, Maximized };

struct WindowPlacement {
    ShowState show = ShowState::Normal;
    bool restoreToMaximized = false;
    PixelRect normal = kDefaultWindowRect;
    bool toolBarVisible = true;
    bool statusBarVisible = true;
};

// "%04d %04d %04d %04d"; numbers read from positions 0, 5, 10 and 15, a
// missing or malformed one reading as 0.
PixelRect ParseCoordinates(const std::string& text);
std::string FormatCoordinates(const PixelRect& rect);
// Moves a rectangle lying partly off a screen of `width` by `height` back on
// it, keeping its size where the screen allows.
PixelRect ClipToScreen(PixelRect rect, int width, int height);

// Cascade place `index` (from 0) in an area of `width` by `height`: three
// quarters of the area, each one `step` (a title bar) below and right of the
// one before. Where the area's foot is reached, the next row starts at the
// top again, moved right far enough that the rows before still show the
// start of every title bar (window narrowed to the area's right edge); when
// no further row fits, the places begin again.
PixelRect CascadedChildRect(int index, int width, int height, int step);
// How much of each title bar, from its left end, a later row leaves uncovered.
int CascadeTitleShown(int step);

WindowPlacement ReadWindowPlacement(const CSettingsStore& store, int screenWidth, int screenHeight);
// A bar that does not exist is not written.
void SaveWindowPlacement(CSettingsStore& store, ShowState state, bool restoreToMaximized,
                         const PixelRect& normal, std::optional<bool> toolBarVisible,
                         std::optional<bool> statusBarVisible);

}  // namespace webquill
