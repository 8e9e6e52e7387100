// The typing aids dialog: the name of every control it has, declared once
// here; its layout (aids_window.cpp) creates them.
#pragma once

#include <memory>

#include "layout/model.h"

namespace osk {

inline constexpr const char* kAidsFormName = "QM_OSK_TYPING_AIDS";
std::unique_ptr<Form> makeAidsForm();

namespace ui::aids {

inline constexpr ControlName kDwellClickTickbox{"DWELL_CLICK_TICKBOX"};
inline constexpr ControlName kDwellTimeLabel{"DWELL_TIME_LABEL"};
inline constexpr ControlName kDwellTimeTextbox{"DWELL_TIME_TEXTBOX"};
inline constexpr ControlName kScanModeTickbox{"SCAN_MODE_TICKBOX"};
inline constexpr ControlName kScanStepLabel{"SCAN_STEP_LABEL"};
inline constexpr ControlName kScanStepTextbox{"SCAN_STEP_TEXTBOX"};
inline constexpr ControlName kSwitchKeyLabel{"SWITCH_KEY_LABEL"};
inline constexpr ControlName kSwitchKeyTextbox{"SWITCH_KEY_TEXTBOX"};
// Word prediction: the suggestion strip, and a way to drop what it learned.
inline constexpr ControlName kWordPredictionTickbox{"WORD_PREDICTION_TICKBOX"};
inline constexpr ControlName kForgetWordsButton{"FORGET_WORDS_BUTTON"};
// The character keys show the target's input language.
inline constexpr ControlName kFollowInputLanguageTickbox{"FOLLOW_INPUT_LANGUAGE_TICKBOX"};
inline constexpr ControlName kOkButton{"OK_BUTTON"};

}  // namespace ui::aids

}  // namespace osk
