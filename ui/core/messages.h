// The texts and captions the window shows.
#pragma once

namespace korvel::ui {

inline constexpr const char* kSameTypeMessage =
    "Source and destination must be of the same type:\nBank, Playlist, Track or Pattern.";
inline constexpr const char* kLayoutMessage =
    "The memory layout (Pattern count)\nof the Source must be equal or smaller\nthan the memory "
    "layout of the destination.\nFor example a Track with 8 Patterns can be moved\nto a Track "
    "with 16 Patterns, but not vice versa.";
inline constexpr const char* kOnlyBanksMessage = "Only Banks can be renamed!";
inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kKorvelCaption = "Korvel";
inline constexpr const char* kReadErrorCaption = "W2";

}  // namespace korvel::ui
