// The settings dialog: the name of every control and timer it has, declared once
// here; its layout (settings_window.cpp) creates them.
#pragma once

#include <array>
#include <memory>

#include "layout/model.h"

namespace osk {

inline constexpr const char* kSettingsFormName = "QM_OSK_SETTINGS";
std::unique_ptr<Form> makeSettingsForm();

namespace ui::settings {

inline constexpr ControlName kTarnwickQmOskTitle1{"TARNWICK_QM_OSK_TITLE_1"};
inline constexpr ControlName kTarnwickQmOskTitle2{"TARNWICK_QM_OSK_TITLE_2"};
inline constexpr ControlName kTarnwickQmOskVersion{"TARNWICK_QM_OSK_VERSION"};
inline constexpr ControlName kTarnwickQmOskCreator{"TARNWICK_QM_OSK_CREATOR"};
inline constexpr ControlName kDoubleClickTxtLabel{"DOUBLE_CLICK_TXT_LABEL"};
inline constexpr ControlName kCalcLabel{"CALC_LABEL"};
inline constexpr ControlName kCalculatorCommandTextbox{"CALCULATOR_COMMAND_TEXTBOX"};
inline constexpr ControlName kEmailLabel{"EMAIL_LABEL"};
inline constexpr ControlName kEmailAddressTextbox{"EMAIL_ADDRESS_TEXTBOX"};
inline constexpr ControlName kBtcAddressLabel{"BTC_ADDRESS_LABEL"};
inline constexpr ControlName kBtcAddressTextbox{"BTC_ADDRESS_TEXTBOX"};
inline constexpr ControlName kKeepTargetFocusTickbox{"KEEP_TARGET_FOCUS_TICKBOX"};
inline constexpr ControlName kTypingAidsButton{"TYPING_AIDS_BUTTON"};
inline constexpr ControlName kFkeysSettingsButton{"FKEYS_SETTINGS_BUTTON"};
inline constexpr ControlName kAlwaysOnTopTickbox{"ALWAYS_ON_TOP_TICKBOX"};
inline constexpr ControlName kOkButton{"OK_BUTTON"};
inline constexpr ControlName kStartAtSignInTickbox{"START_AT_SIGN_IN_TICKBOX"};

}  // namespace ui::settings

}  // namespace osk
