// Where the window stands: kept in korvel.INI and put back at start within the screens there
// are now, so that a window last seen on a screen since unplugged is not lost off-screen.
#pragma once

#include "settings.h"

#include <optional>
#include <vector>

namespace korvel::ui {

inline constexpr const char* kWindowSection = "Window";

struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// The window's inner rectangle, as it is saved and restored (the frame around it is the
// system's). Nullopt when nothing (or nothing sensible, as a place millions of pixels away)
// was kept.
std::optional<WindowRect> ReadWindowRect(SettingsStore& store);
void WriteWindowRect(SettingsStore& store, const WindowRect& rect);

// The kept place on the screens there are: unchanged when its top edge, where the title bar
// is, shows enough on a screen to be grabbed; shrunk to that screen when larger than it;
// nullopt, for the default place, when it is on none of them.
std::optional<WindowRect> PlaceOnScreens(const WindowRect& kept,
                                         const std::vector<WindowRect>& screens);

}  // namespace korvel::ui
