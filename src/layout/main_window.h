// The keyboard window: the name of every control and timer it has, declared once
// here; its layout (main_window.cpp) creates them.
#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "layout/model.h"

namespace osk {

inline constexpr const char* kMainFormName = "QM_OSK_MAIN";
std::unique_ptr<Form> makeMainForm();

namespace ui {

inline constexpr ControlName kTarnwickTitle{"TARNWICK_TITLE"};
inline constexpr ControlName kSettingsButton{"SETTINGS_BUTTON"};
inline constexpr ControlName kCutButton{"CUT_BUTTON"};
inline constexpr ControlName kCopyButton{"COPY_BUTTON"};
inline constexpr ControlName kPasteButton{"PASTE_BUTTON"};
inline constexpr ControlName kButtonCalc{"BUTTON_CALC"};
inline constexpr ControlName kAtSignButton{"AT_SIGN_BUTTON"};
inline constexpr ControlName kBtcButton{"BTC_BUTTON"};
inline constexpr ControlName kButtonAutoDelete{"BUTTON_AUTO_DELETE"};
inline constexpr ControlName kNumLightLabel{"NUM_LIGHT_LABEL"};
inline constexpr ControlName kCapsLightLabel{"CAPS_LIGHT_LABEL"};
inline constexpr ControlName kScrollLightLabel{"SCROLL_LIGHT_LABEL"};
inline constexpr ControlName kButtonMyFkeys{"BUTTON_MY_FKEYS"};
inline constexpr ControlName kButtonEsc{"BUTTON_ESC"};
inline constexpr ControlName kButtonAutoBackspace{"BUTTON_AUTO_BACKSPACE"};
inline constexpr ControlName kActiveWindowLabel{"ACTIVE_WINDOW_LABEL"};
inline constexpr ControlName kLockTopNumberKeysButton{"LOCK_TOP_NUMBER_KEYS_BUTTON"};
inline constexpr ControlName kLeftTopCornerKey{"LEFT_TOP_CORNER_KEY"};
inline constexpr ControlName kButtonNumber1{"BUTTON_NUMBER_1"};
inline constexpr ControlName kButtonNumber2{"BUTTON_NUMBER_2"};
inline constexpr ControlName kButtonNumber3{"BUTTON_NUMBER_3"};
inline constexpr ControlName kButtonNumber4{"BUTTON_NUMBER_4"};
inline constexpr ControlName kButtonNumber5{"BUTTON_NUMBER_5"};
inline constexpr ControlName kButtonNumber6{"BUTTON_NUMBER_6"};
inline constexpr ControlName kButtonNumber7{"BUTTON_NUMBER_7"};
inline constexpr ControlName kButtonNumber8{"BUTTON_NUMBER_8"};
inline constexpr ControlName kButtonNumber9{"BUTTON_NUMBER_9"};
inline constexpr ControlName kButtonNumber0{"BUTTON_NUMBER_0"};
inline constexpr ControlName kButtonDash{"BUTTON_DASH"};
inline constexpr ControlName kButtonEquals{"BUTTON_EQUALS"};
inline constexpr ControlName kButtonBackspace{"BUTTON_BACKSPACE"};
inline constexpr ControlName kButtonIns{"BUTTON_INS"};
inline constexpr ControlName kButtonHome{"BUTTON_HOME"};
inline constexpr ControlName kPrintScreenAppWindow{"PRINT_SCREEN_APP_WINDOW"};
inline constexpr ControlName kButtonTab{"BUTTON_TAB"};
inline constexpr ControlName kButtonLetterQ{"BUTTON_LETTER_Q"};
inline constexpr ControlName kButtonLetterW{"BUTTON_LETTER_W"};
inline constexpr ControlName kButtonLetterE{"BUTTON_LETTER_E"};
inline constexpr ControlName kButtonLetterR{"BUTTON_LETTER_R"};
inline constexpr ControlName kButtonLetterT{"BUTTON_LETTER_T"};
inline constexpr ControlName kButtonLetterY{"BUTTON_LETTER_Y"};
inline constexpr ControlName kButtonLetterU{"BUTTON_LETTER_U"};
inline constexpr ControlName kButtonLetterI{"BUTTON_LETTER_I"};
inline constexpr ControlName kButtonLetterO{"BUTTON_LETTER_O"};
inline constexpr ControlName kButtonLetterP{"BUTTON_LETTER_P"};
inline constexpr ControlName kButtonSquareBracketLeft{"BUTTON_SQUARE_BRACKET_LEFT"};
inline constexpr ControlName kButtonSquareBracketRight{"BUTTON_SQUARE_BRACKET_RIGHT"};
inline constexpr ControlName kButtonReturnKey{"BUTTON_RETURN_KEY"};
inline constexpr ControlName kButtonDelete{"BUTTON_DELETE"};
inline constexpr ControlName kButtonEnd{"BUTTON_END"};
inline constexpr ControlName kPrintScreenCompleteScreen{"PRINT_SCREEN_COMPLETE_SCREEN"};
inline constexpr ControlName kButtonCaps{"BUTTON_CAPS"};
inline constexpr ControlName kButtonLetterA{"BUTTON_LETTER_A"};
inline constexpr ControlName kButtonLetterS{"BUTTON_LETTER_S"};
inline constexpr ControlName kButtonLetterD{"BUTTON_LETTER_D"};
inline constexpr ControlName kButtonLetterF{"BUTTON_LETTER_F"};
inline constexpr ControlName kButtonLetterG{"BUTTON_LETTER_G"};
inline constexpr ControlName kButtonLetterH{"BUTTON_LETTER_H"};
inline constexpr ControlName kButtonLetterJ{"BUTTON_LETTER_J"};
inline constexpr ControlName kButtonLetterK{"BUTTON_LETTER_K"};
inline constexpr ControlName kButtonLetterL{"BUTTON_LETTER_L"};
inline constexpr ControlName kButtonSemiColon{"BUTTON_SEMI_COLON"};
inline constexpr ControlName kButtonAposSign{"BUTTON_APOS_SIGN"};
inline constexpr ControlName kButtonHash{"BUTTON_HASH"};
inline constexpr ControlName kShiftLockButton{"SHIFT_LOCK_BUTTON"};
inline constexpr ControlName kButtonShiftLeft{"BUTTON_SHIFT_LEFT"};
inline constexpr ControlName kButtonBackSlash{"BUTTON_BACK_SLASH"};
inline constexpr ControlName kButtonLetterZ{"BUTTON_LETTER_Z"};
inline constexpr ControlName kButtonLetterX{"BUTTON_LETTER_X"};
inline constexpr ControlName kButtonLetterC{"BUTTON_LETTER_C"};
inline constexpr ControlName kButtonLetterV{"BUTTON_LETTER_V"};
inline constexpr ControlName kButtonLetterB{"BUTTON_LETTER_B"};
inline constexpr ControlName kButtonLetterN{"BUTTON_LETTER_N"};
inline constexpr ControlName kButtonLetterM{"BUTTON_LETTER_M"};
inline constexpr ControlName kButtonComma{"BUTTON_COMMA"};
inline constexpr ControlName kButtonFullStop{"BUTTON_FULL_STOP"};
inline constexpr ControlName kButtonForwardSlash{"BUTTON_FORWARD_SLASH"};
inline constexpr ControlName kButtonShiftRight{"BUTTON_SHIFT_RIGHT"};
inline constexpr ControlName kButtonKeyUp{"BUTTON_KEY_UP"};
inline constexpr ControlName kButtonPgUp{"BUTTON_PG_UP"};
inline constexpr ControlName kButtonCtrlLeft{"BUTTON_CTRL_LEFT"};
inline constexpr ControlName kButtonWinKeyLeft{"BUTTON_WIN_KEY_LEFT"};
inline constexpr ControlName kButtonAltLeft{"BUTTON_ALT_LEFT"};
inline constexpr ControlName kButtonSpacebar{"BUTTON_SPACEBAR"};
inline constexpr ControlName kButtonAltGr{"BUTTON_ALT_GR"};
inline constexpr ControlName kButtonWinKeyRight{"BUTTON_WIN_KEY_RIGHT"};
inline constexpr ControlName kButtonRightClick{"BUTTON_RIGHT_CLICK"};
inline constexpr ControlName kButtonCtrlRight{"BUTTON_CTRL_RIGHT"};
inline constexpr ControlName kButtonKeyLeft{"BUTTON_KEY_LEFT"};
inline constexpr ControlName kButtonKeyDown{"BUTTON_KEY_DOWN"};
inline constexpr ControlName kButtonKeyRight{"BUTTON_KEY_RIGHT"};
inline constexpr ControlName kButtonPgDn{"BUTTON_PG_DN"};
inline constexpr ControlName kButtonWindowsRunExternal{"BUTTON_WINDOWS_RUN_EXTERNAL"};
inline constexpr ControlName kButtonCmd{"BUTTON_CMD"};
inline constexpr ControlName kButtonRunInternal{"BUTTON_RUN_INTERNAL"};
inline constexpr ControlName kCommandLineTextbox{"COMMAND_LINE_TEXTBOX"};
// What the command line holds until the user types: a hint, not a command.
inline constexpr std::string_view kCommandLineHint = "Command Line";
inline constexpr ControlName kShiftArrowHighlightButton{"SHIFT_ARROW_HIGHLIGHT_BUTTON"};
inline constexpr ControlName kButtonWindowsLock{"BUTTON_WINDOWS_LOCK"};
// Stops and resumes hover clicking; its caption says which.
inline constexpr ControlName kHoverPauseButton{"HOVER_PAUSE_BUTTON"};
inline constexpr TimerName kAutoDeleteTimer{"AUTO_DELETE_TIMER"};
inline constexpr TimerName kAutoDeleteStopTimer{"AUTO_DELETE_STOP_TIMER"};
inline constexpr TimerName kEnableKeyboardKeypressTimer{"ENABLE_KEYBOARD_KEYPRESS_TIMER"};
inline constexpr TimerName kKeyboardKeypressTimer{"KEYBOARD_KEYPRESS_TIMER"};
inline constexpr TimerName kActiveWindowTimer{"ACTIVE_WINDOW_TIMER"};
inline constexpr TimerName kBackcolorTimer{"BACKCOLOR_TIMER"};
inline constexpr TimerName kAlwaysOnTopTimer{"AlwaysOnTopTimer"};
inline constexpr TimerName kNcsTimer{"NCS_TIMER"};
// One-shot wake-ups of the typing aids: set afresh for each, off while
// nothing runs.
inline constexpr TimerName kHoverTimer{"HOVER_TIMER"};
inline constexpr TimerName kScanTimer{"SCAN_TIMER"};
// One-shot: stores the window's place a moment after it last moved.
inline constexpr TimerName kPlaceSaveTimer{"PLACE_SAVE_TIMER"};
// One-shot: stores what word prediction learned a few seconds after the
// first word learned since the last save.
inline constexpr TimerName kLearnedWordsSaveTimer{"LEARNED_WORDS_SAVE_TIMER"};
inline constexpr std::array<ControlName, 16> kFunctionKeys{
    {ControlName{"BUTTON_F_NUM_1"}, ControlName{"BUTTON_F_NUM_2"}, ControlName{"BUTTON_F_NUM_3"},
     ControlName{"BUTTON_F_NUM_4"}, ControlName{"BUTTON_F_NUM_5"}, ControlName{"BUTTON_F_NUM_6"},
     ControlName{"BUTTON_F_NUM_7"}, ControlName{"BUTTON_F_NUM_8"}, ControlName{"BUTTON_F_NUM_9"},
     ControlName{"BUTTON_F_NUM_10"}, ControlName{"BUTTON_F_NUM_11"}, ControlName{"BUTTON_F_NUM_12"},
     ControlName{"BUTTON_F_NUM_13"}, ControlName{"BUTTON_F_NUM_14"}, ControlName{"BUTTON_F_NUM_15"},
     ControlName{"BUTTON_F_NUM_16"}}};

// The families of like keys, indexed by letter (A first) and by digit.
inline constexpr std::array<ControlName, 26> kLetterKeys{
    {kButtonLetterA, kButtonLetterB, kButtonLetterC, kButtonLetterD, kButtonLetterE, kButtonLetterF,
     kButtonLetterG, kButtonLetterH, kButtonLetterI, kButtonLetterJ, kButtonLetterK, kButtonLetterL,
     kButtonLetterM, kButtonLetterN, kButtonLetterO, kButtonLetterP, kButtonLetterQ, kButtonLetterR,
     kButtonLetterS, kButtonLetterT, kButtonLetterU, kButtonLetterV, kButtonLetterW, kButtonLetterX,
     kButtonLetterY, kButtonLetterZ}};
inline constexpr std::array<ControlName, 10> kNumberKeys{
    {kButtonNumber0, kButtonNumber1, kButtonNumber2, kButtonNumber3, kButtonNumber4, kButtonNumber5,
     kButtonNumber6, kButtonNumber7, kButtonNumber8, kButtonNumber9}};

// Word prediction's suggestions, most likely first, in the band along the
// top of the window (see Form::setTopBand), shown only while prediction is on.
inline constexpr std::array<ControlName, 5> kSuggestionKeys{
    {ControlName{"SUGGESTION_1"}, ControlName{"SUGGESTION_2"}, ControlName{"SUGGESTION_3"},
     ControlName{"SUGGESTION_4"}, ControlName{"SUGGESTION_5"}}};
// The band's height, twips: the window grows by this much (at its scale)
// while the suggestions show.
inline constexpr int kSuggestionStripHeight = 540;

}  // namespace ui

}  // namespace osk
