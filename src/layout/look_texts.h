// The words the keyboard shows about fading and docking, in one place for
// the translation that is to come.
#pragma once

#include <string_view>

namespace osk::texts {

inline constexpr std::string_view kFadeTickBox = "Fade when not in use";
inline constexpr std::string_view kFadeOpacityLabel = "OPACITY %:";
inline constexpr std::string_view kFadeWaitLabel = "AFTER S:";
inline constexpr std::string_view kDockTickBox = "Dock to the bottom of the screen";
// The same choice in the keyboard window's system menu.
inline constexpr std::string_view kDockMenuItem = "Dock to the bottom of the screen";
inline constexpr std::string_view kDockRefusedNote =
    "Windows did not let the keyboard dock along the bottom of the screen.";

}  // namespace osk::texts
