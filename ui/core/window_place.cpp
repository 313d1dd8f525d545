#include "window_place.h"

#include <algorithm>

namespace korvel::ui {

namespace {

constexpr const char* kKeys[] = {"Left", "Top", "Width", "Height"};
// Enough of the title bar to grab the window by.
constexpr int kGrabWidth = 100;
constexpr int kGrabHeight = 20;
constexpr int kMissing = -1000000;
// Far beyond any desktop there is, and far enough inside an int that no sum overflows.
constexpr int kFarthest = 100000;

int Overlap(int a, int aLength, int b, int bLength) {
    return std::min(a + aLength, b + bLength) - std::max(a, b);
}

}  // namespace

std::optional<WindowRect> ReadWindowRect(SettingsStore& store) {
    int values[4];
    for (int i = 0; i < 4; ++i) {
        values[i] = store.GetInt(kWindowSection, kKeys[i], kMissing);
        if (values[i] == kMissing || values[i] < -kFarthest || values[i] > kFarthest) {
            return std::nullopt;
        }
    }
    if (values[2] <= 0 || values[3] <= 0) {
        return std::nullopt;
    }
    return WindowRect{values[0], values[1], values[2], values[3]};
}

void WriteWindowRect(SettingsStore& store, const WindowRect& rect) {
    const int values[4] = {rect.x, rect.y, rect.width, rect.height};
    for (int i = 0; i < 4; ++i) {
        store.WriteInt(kWindowSection, kKeys[i], values[i]);
    }
}

std::optional<WindowRect> PlaceOnScreens(const WindowRect& kept,
                                         const std::vector<WindowRect>& screens) {
    for (const WindowRect& screen : screens) {
        const bool grabbable = Overlap(kept.x, kept.width, screen.x, screen.width) >= kGrabWidth &&
                               kept.y >= screen.y &&
                               kept.y + kGrabHeight <= screen.y + screen.height;
        if (grabbable) {
            WindowRect placed = kept;
            placed.width = std::min(kept.width, screen.width);
            placed.height = std::min(kept.height, screen.height);
            return placed;
        }
    }
    return std::nullopt;
}

}  // namespace korvel::ui
