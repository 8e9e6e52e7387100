// The settings dialog: the name of every control and timer it has, declared once
// here; its layout (settings_window.cpp) creates them.
#pragma once

#include <array>
#include <memory>

#include "layout/model.h"

namespace osk {

inline constexpr const char* kSettingsFormName = "QM_OSK_SETTINGS";
// The settings dialog's tag: its names are of this window alone.
struct SettingsWindow;
using SettingsControl = ControlOf<SettingsWindow>;
using SettingsTimer = TimerOf<SettingsWindow>;
using SettingsForm = FormOf<SettingsWindow>;
std::unique_ptr<SettingsForm> makeSettingsForm();

namespace ui::settings {

inline constexpr SettingsControl kTarnwickQmOskTitle1{"TARNWICK_QM_OSK_TITLE_1"};
inline constexpr SettingsControl kTarnwickQmOskTitle2{"TARNWICK_QM_OSK_TITLE_2"};
inline constexpr SettingsControl kTarnwickQmOskVersion{"TARNWICK_QM_OSK_VERSION"};
inline constexpr SettingsControl kTarnwickQmOskCreator{"TARNWICK_QM_OSK_CREATOR"};
inline constexpr SettingsControl kDoubleClickTxtLabel{"DOUBLE_CLICK_TXT_LABEL"};
inline constexpr SettingsControl kCalcLabel{"CALC_LABEL"};
inline constexpr SettingsControl kCalculatorCommandTextbox{"CALCULATOR_COMMAND_TEXTBOX"};
inline constexpr SettingsControl kEmailLabel{"EMAIL_LABEL"};
inline constexpr SettingsControl kEmailAddressTextbox{"EMAIL_ADDRESS_TEXTBOX"};
inline constexpr SettingsControl kBtcAddressLabel{"BTC_ADDRESS_LABEL"};
inline constexpr SettingsControl kBtcAddressTextbox{"BTC_ADDRESS_TEXTBOX"};
inline constexpr SettingsControl kKeepTargetFocusTickbox{"KEEP_TARGET_FOCUS_TICKBOX"};
inline constexpr SettingsControl kTypingAidsButton{"TYPING_AIDS_BUTTON"};
inline constexpr SettingsControl kFkeysSettingsButton{"FKEYS_SETTINGS_BUTTON"};
inline constexpr SettingsControl kAlwaysOnTopTickbox{"ALWAYS_ON_TOP_TICKBOX"};
inline constexpr SettingsControl kOkButton{"OK_BUTTON"};
inline constexpr SettingsControl kStartAtSignInTickbox{"START_AT_SIGN_IN_TICKBOX"};
inline constexpr SettingsControl kClickSoundTickbox{"CLICK_SOUND_TICKBOX"};
inline constexpr SettingsControl kFadeTickbox{"FADE_TICKBOX"};
inline constexpr SettingsControl kFadeOpacityLabel{"FADE_OPACITY_LABEL"};
inline constexpr SettingsControl kFadeOpacityTextbox{"FADE_OPACITY_TEXTBOX"};
inline constexpr SettingsControl kFadeWaitLabel{"FADE_WAIT_LABEL"};
inline constexpr SettingsControl kFadeWaitTextbox{"FADE_WAIT_TEXTBOX"};
inline constexpr SettingsControl kDockTickbox{"DOCK_TICKBOX"};
// The language the keyboard speaks: its items are languageItems().
inline constexpr SettingsControl kLanguageLabel{"LANGUAGE_LABEL"};
inline constexpr SettingsControl kLanguageList{"LANGUAGE_LIST"};

// The language list: Windows' own language first (stored as ""), then each
// shipped language by its own name, in kCatalogue's order (item n + 1 is
// kCatalogue[n]).

}  // namespace ui::settings

}  // namespace osk
