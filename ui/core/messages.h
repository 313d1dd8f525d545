// The texts and captions the window shows.
#pragma once

namespace korvel::ui {

inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kKorvelCaption = "Korvel";
inline constexpr const char* kReadErrorCaption = "W2";
inline constexpr const char* kCheckCaption = "Check the W2";

}  // namespace korvel::ui
