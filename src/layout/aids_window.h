// The typing aids dialog: the name of every control it has, declared once
// here; its layout (aids_window.cpp) creates them.
#pragma once

#include <memory>

#include "layout/model.h"

namespace osk {

inline constexpr const char* kAidsFormName = "QM_OSK_TYPING_AIDS";
// The typing aids dialog's tag: its names are of this window alone.
struct AidsWindow;
using AidsControl = ControlOf<AidsWindow>;
using AidsTimer = TimerOf<AidsWindow>;
using AidsForm = FormOf<AidsWindow>;
std::unique_ptr<AidsForm> makeAidsForm();

namespace ui::aids {

inline constexpr AidsControl kDwellClickTickbox{"DWELL_CLICK_TICKBOX"};
inline constexpr AidsControl kDwellTimeLabel{"DWELL_TIME_LABEL"};
inline constexpr AidsControl kDwellTimeTextbox{"DWELL_TIME_TEXTBOX"};
inline constexpr AidsControl kScanModeTickbox{"SCAN_MODE_TICKBOX"};
inline constexpr AidsControl kScanStepLabel{"SCAN_STEP_LABEL"};
inline constexpr AidsControl kScanStepTextbox{"SCAN_STEP_TEXTBOX"};
inline constexpr AidsControl kSwitchKeyLabel{"SWITCH_KEY_LABEL"};
inline constexpr AidsControl kSwitchKeyTextbox{"SWITCH_KEY_TEXTBOX"};
inline constexpr AidsControl kInjectedSwitchTickbox{"INJECTED_SWITCH_TICKBOX"};
// Word prediction: the suggestion strip, and a way to drop what it learned.
inline constexpr AidsControl kWordPredictionTickbox{"WORD_PREDICTION_TICKBOX"};
inline constexpr AidsControl kForgetWordsButton{"FORGET_WORDS_BUTTON"};
// The character keys show the target's input language.
inline constexpr AidsControl kFollowInputLanguageTickbox{"FOLLOW_INPUT_LANGUAGE_TICKBOX"};
// The timing follows the user's presses; beside each time, the one in use.
inline constexpr AidsControl kTuneTimingTickbox{"TUNE_TIMING_TICKBOX"};
inline constexpr AidsControl kTuneTimingNote{"TUNE_TIMING_NOTE"};
inline constexpr AidsControl kScanStepTunedLabel{"SCAN_STEP_TUNED_LABEL"};
inline constexpr AidsControl kDwellTimeTunedLabel{"DWELL_TIME_TUNED_LABEL"};
inline constexpr AidsControl kOkButton{"OK_BUTTON"};

}  // namespace ui::aids

}  // namespace osk
