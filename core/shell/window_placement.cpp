#include "core/shell/window_placement.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "platform/storage/settings_store.h"

namespace webquill {

namespace {

constexpr const char* kSection = "Last Window Data";

// A decimal number at `at` as atoi reads it: leading blanks, a sign, digits;
// anything else (or nothing) reads as 0. Saturates instead of overflowing.
int NumberAt(const std::string& text, std::size_t at) {
    if (at >= text.size()) return 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// Absent and empty values both mean the default.
std::string ReadOr(const CSettingsStore& store, const char* name, const char* fallback) {
    std::string value = store.ReadString(kSection, name);
    return value.empty() ? std::string(fallback) : value;
}

}  // namespace

PixelRect ParseCoordinates(const std::string& text) {
    return PixelRect{NumberAt(text, 0), NumberAt(text, 5), NumberAt(text, 10), NumberAt(text, 15)};
}

std::string FormatCoordinates(const PixelRect& rect) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d %04d %04d %04d", rect.left, rect.top, rect.right,
                  rect.bottom);
    return text;
}

PixelRect ClipToScreen(PixelRect rect, int width, int height) {
    // Wide arithmetic: a hand-edited value may hold any int.
    const long long w = static_cast<long long>(rect.right) - rect.left;
    const long long h = static_cast<long long>(rect.bottom) - rect.top;
    auto clamp = [](long long v) {
        return static_cast<int>(v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : v));
    };
    if (rect.bottom > height) {
        rect.bottom = height;
        rect.top = clamp(height - h);
        if (rect.top < 0) rect.top = 0;
    }
    if (rect.right > width) {
        rect.right = width;
        rect.left = clamp(width - w);
        if (rect.left < 0) rect.left = 0;
    }
    if (rect.top < 0) {
        rect.top = 0;
        rect.bottom = h > height ? height : clamp(h);
    }
    if (rect.left < 0) {
        rect.left = 0;
        rect.right = w > width ? width : clamp(w);
    }
    return rect;
}

WindowPlacement ReadWindowPlacement(const CSettingsStore& store, int screenWidth, int screenHeight) {
    WindowPlacement placement;
    const std::string coordinates = store.ReadString(kSection, "Coordinates");
    placement.normal = coordinates.empty()
                           ? kDefaultWindowRect
                           : ClipToScreen(ParseCoordinates(coordinates), screenWidth, screenHeight);

    const bool iconized = ReadOr(store, "Iconized", "0") == "1";
    const bool maximized = ReadOr(store, "Maximized", "0") == "1";
    if (iconized) {
        placement.show = ShowState::Minimized;
        placement.restoreToMaximized = maximized;
    } else if (maximized) {
        placement.show = ShowState::Maximized;
        placement.restoreToMaximized = true;
    } else {
        placement.show = ShowState::Normal;
    }

    placement.toolBarVisible = ReadOr(store, "ToolBar", "1") == "1";
    placement.statusBarVisible = ReadOr(store, "StatusLine", "1") == "1";
    return placement;
}

void SaveWindowPlacement(CSettingsStore& store, ShowState state, bool restoreToMaximized,
                         const PixelRect& normal, std::optional<bool> toolBarVisible,
                         std::optional<bool> statusBarVisible) {
    bool iconized = false;
    bool maximized = false;
    switch (state) {
    case ShowState::Normal: break;
    case ShowState::Maximized: maximized = true; break;
    case ShowState::Minimized:
        iconized = true;
        maximized = restoreToMaximized;
        break;
    }
    store.WriteString(kSection, "Coordinates", FormatCoordinates(normal));
    store.WriteString(kSection, "Iconized", iconized ? "1" : "0");
    store.WriteString(kSection, "Maximized", maximized ? "1" : "0");
    if (toolBarVisible) store.WriteString(kSection, "ToolBar", *toolBarVisible ? "1" : "0");
    if (statusBarVisible) store.WriteString(kSection, "StatusLine", *statusBarVisible ? "1" : "0");
}

int CascadeTitleShown(int step) { return 6 * std::max(step, 1); }

PixelRect CascadedChildRect(int index, int width, int height, int step) {
    const int w = width * 3 / 4, h = height * 3 / 4;
    step = std::max(step, 1);
    const int perRow = 1 + std::max(0, (height - h) / step);
    // A row's first window stands right of the last title bar of the row
    // before by the part of it that stays shown.
    const int rowShift = (perRow - 1) * step + CascadeTitleShown(step);
    // Further rows while a window there keeps half the area's width.
    const int rows = 1 + std::max(0, (width / 2 - (perRow - 1) * step) / rowShift);
    const int place = std::max(index, 0) % (perRow * rows);
    const int row = place / perRow, down = (place % perRow) * step;
    const int left = row * rowShift + down;
    return {left, down, std::max(left + 1, std::min(left + w, width)), down + h};
}

}  // namespace webquill
