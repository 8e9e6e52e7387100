// The keyboard window: the name of every control and timer it has, declared once
// here; its layout (main_window.cpp) creates them.
#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "layout/model.h"

namespace osk {

inline constexpr const char* kMainFormName = "QM_OSK_MAIN";
// The keyboard window's own tag: its names are of this window alone.
struct KeyboardWindow;
using KeyboardControl = ControlOf<KeyboardWindow>;
using KeyboardTimer = TimerOf<KeyboardWindow>;
using KeyboardForm = FormOf<KeyboardWindow>;
std::unique_ptr<KeyboardForm> makeMainForm();

namespace ui {

inline constexpr KeyboardControl kTarnwickTitle{"TARNWICK_TITLE"};
inline constexpr KeyboardControl kSettingsButton{"SETTINGS_BUTTON"};
inline constexpr KeyboardControl kCutButton{"CUT_BUTTON"};
inline constexpr KeyboardControl kCopyButton{"COPY_BUTTON"};
inline constexpr KeyboardControl kPasteButton{"PASTE_BUTTON"};
inline constexpr KeyboardControl kButtonCalc{"BUTTON_CALC"};
inline constexpr KeyboardControl kAtSignButton{"AT_SIGN_BUTTON"};
inline constexpr KeyboardControl kBtcButton{"BTC_BUTTON"};
inline constexpr KeyboardControl kButtonAutoDelete{"BUTTON_AUTO_DELETE"};
inline constexpr KeyboardControl kNumLightLabel{"NUM_LIGHT_LABEL"};
inline constexpr KeyboardControl kCapsLightLabel{"CAPS_LIGHT_LABEL"};
inline constexpr KeyboardControl kScrollLightLabel{"SCROLL_LIGHT_LABEL"};
inline constexpr KeyboardControl kButtonMyFkeys{"BUTTON_MY_FKEYS"};
inline constexpr KeyboardControl kButtonEsc{"BUTTON_ESC"};
inline constexpr KeyboardControl kButtonAutoBackspace{"BUTTON_AUTO_BACKSPACE"};
inline constexpr KeyboardControl kActiveWindowLabel{"ACTIVE_WINDOW_LABEL"};
inline constexpr KeyboardControl kLockTopNumberKeysButton{"LOCK_TOP_NUMBER_KEYS_BUTTON"};
inline constexpr KeyboardControl kLeftTopCornerKey{"LEFT_TOP_CORNER_KEY"};
inline constexpr KeyboardControl kButtonNumber1{"BUTTON_NUMBER_1"};
inline constexpr KeyboardControl kButtonNumber2{"BUTTON_NUMBER_2"};
inline constexpr KeyboardControl kButtonNumber3{"BUTTON_NUMBER_3"};
inline constexpr KeyboardControl kButtonNumber4{"BUTTON_NUMBER_4"};
inline constexpr KeyboardControl kButtonNumber5{"BUTTON_NUMBER_5"};
inline constexpr KeyboardControl kButtonNumber6{"BUTTON_NUMBER_6"};
inline constexpr KeyboardControl kButtonNumber7{"BUTTON_NUMBER_7"};
inline constexpr KeyboardControl kButtonNumber8{"BUTTON_NUMBER_8"};
inline constexpr KeyboardControl kButtonNumber9{"BUTTON_NUMBER_9"};
inline constexpr KeyboardControl kButtonNumber0{"BUTTON_NUMBER_0"};
inline constexpr KeyboardControl kButtonDash{"BUTTON_DASH"};
inline constexpr KeyboardControl kButtonEquals{"BUTTON_EQUALS"};
inline constexpr KeyboardControl kButtonBackspace{"BUTTON_BACKSPACE"};
inline constexpr KeyboardControl kButtonIns{"BUTTON_INS"};
inline constexpr KeyboardControl kButtonHome{"BUTTON_HOME"};
inline constexpr KeyboardControl kPrintScreenAppWindow{"PRINT_SCREEN_APP_WINDOW"};
inline constexpr KeyboardControl kButtonTab{"BUTTON_TAB"};
inline constexpr KeyboardControl kButtonLetterQ{"BUTTON_LETTER_Q"};
inline constexpr KeyboardControl kButtonLetterW{"BUTTON_LETTER_W"};
inline constexpr KeyboardControl kButtonLetterE{"BUTTON_LETTER_E"};
inline constexpr KeyboardControl kButtonLetterR{"BUTTON_LETTER_R"};
inline constexpr KeyboardControl kButtonLetterT{"BUTTON_LETTER_T"};
inline constexpr KeyboardControl kButtonLetterY{"BUTTON_LETTER_Y"};
inline constexpr KeyboardControl kButtonLetterU{"BUTTON_LETTER_U"};
inline constexpr KeyboardControl kButtonLetterI{"BUTTON_LETTER_I"};
inline constexpr KeyboardControl kButtonLetterO{"BUTTON_LETTER_O"};
inline constexpr KeyboardControl kButtonLetterP{"BUTTON_LETTER_P"};
inline constexpr KeyboardControl kButtonSquareBracketLeft{"BUTTON_SQUARE_BRACKET_LEFT"};
inline constexpr KeyboardControl kButtonSquareBracketRight{"BUTTON_SQUARE_BRACKET_RIGHT"};
inline constexpr KeyboardControl kButtonReturnKey{"BUTTON_RETURN_KEY"};
inline constexpr KeyboardControl kButtonDelete{"BUTTON_DELETE"};
inline constexpr KeyboardControl kButtonEnd{"BUTTON_END"};
inline constexpr KeyboardControl kPrintScreenCompleteScreen{"PRINT_SCREEN_COMPLETE_SCREEN"};
inline constexpr KeyboardControl kButtonCaps{"BUTTON_CAPS"};
inline constexpr KeyboardControl kButtonLetterA{"BUTTON_LETTER_A"};
inline constexpr KeyboardControl kButtonLetterS{"BUTTON_LETTER_S"};
inline constexpr KeyboardControl kButtonLetterD{"BUTTON_LETTER_D"};
inline constexpr KeyboardControl kButtonLetterF{"BUTTON_LETTER_F"};
inline constexpr KeyboardControl kButtonLetterG{"BUTTON_LETTER_G"};
inline constexpr KeyboardControl kButtonLetterH{"BUTTON_LETTER_H"};
inline constexpr KeyboardControl kButtonLetterJ{"BUTTON_LETTER_J"};
inline constexpr KeyboardControl kButtonLetterK{"BUTTON_LETTER_K"};
inline constexpr KeyboardControl kButtonLetterL{"BUTTON_LETTER_L"};
inline constexpr KeyboardControl kButtonSemiColon{"BUTTON_SEMI_COLON"};
inline constexpr KeyboardControl kButtonAposSign{"BUTTON_APOS_SIGN"};
inline constexpr KeyboardControl kButtonHash{"BUTTON_HASH"};
inline constexpr KeyboardControl kShiftLockButton{"SHIFT_LOCK_BUTTON"};
inline constexpr KeyboardControl kButtonShiftLeft{"BUTTON_SHIFT_LEFT"};
inline constexpr KeyboardControl kButtonBackSlash{"BUTTON_BACK_SLASH"};
inline constexpr KeyboardControl kButtonLetterZ{"BUTTON_LETTER_Z"};
inline constexpr KeyboardControl kButtonLetterX{"BUTTON_LETTER_X"};
inline constexpr KeyboardControl kButtonLetterC{"BUTTON_LETTER_C"};
inline constexpr KeyboardControl kButtonLetterV{"BUTTON_LETTER_V"};
inline constexpr KeyboardControl kButtonLetterB{"BUTTON_LETTER_B"};
inline constexpr KeyboardControl kButtonLetterN{"BUTTON_LETTER_N"};
inline constexpr KeyboardControl kButtonLetterM{"BUTTON_LETTER_M"};
inline constexpr KeyboardControl kButtonComma{"BUTTON_COMMA"};
inline constexpr KeyboardControl kButtonFullStop{"BUTTON_FULL_STOP"};
inline constexpr KeyboardControl kButtonForwardSlash{"BUTTON_FORWARD_SLASH"};
inline constexpr KeyboardControl kButtonShiftRight{"BUTTON_SHIFT_RIGHT"};
inline constexpr KeyboardControl kButtonKeyUp{"BUTTON_KEY_UP"};
inline constexpr KeyboardControl kButtonPgUp{"BUTTON_PG_UP"};
inline constexpr KeyboardControl kButtonCtrlLeft{"BUTTON_CTRL_LEFT"};
inline constexpr KeyboardControl kButtonWinKeyLeft{"BUTTON_WIN_KEY_LEFT"};
inline constexpr KeyboardControl kButtonAltLeft{"BUTTON_ALT_LEFT"};
inline constexpr KeyboardControl kButtonSpacebar{"BUTTON_SPACEBAR"};
inline constexpr KeyboardControl kButtonAltGr{"BUTTON_ALT_GR"};
inline constexpr KeyboardControl kButtonWinKeyRight{"BUTTON_WIN_KEY_RIGHT"};
inline constexpr KeyboardControl kButtonRightClick{"BUTTON_RIGHT_CLICK"};
inline constexpr KeyboardControl kButtonCtrlRight{"BUTTON_CTRL_RIGHT"};
inline constexpr KeyboardControl kButtonKeyLeft{"BUTTON_KEY_LEFT"};
inline constexpr KeyboardControl kButtonKeyDown{"BUTTON_KEY_DOWN"};
inline constexpr KeyboardControl kButtonKeyRight{"BUTTON_KEY_RIGHT"};
inline constexpr KeyboardControl kButtonPgDn{"BUTTON_PG_DN"};
inline constexpr KeyboardControl kButtonWindowsRunExternal{"BUTTON_WINDOWS_RUN_EXTERNAL"};
inline constexpr KeyboardControl kButtonCmd{"BUTTON_CMD"};
inline constexpr KeyboardControl kButtonRunInternal{"BUTTON_RUN_INTERNAL"};
inline constexpr KeyboardControl kCommandLineTextbox{"COMMAND_LINE_TEXTBOX"};
// What the command line holds until the user types: a hint, not a command.
inline constexpr KeyboardControl kShiftArrowHighlightButton{"SHIFT_ARROW_HIGHLIGHT_BUTTON"};
inline constexpr KeyboardControl kButtonWindowsLock{"BUTTON_WINDOWS_LOCK"};
// Stops and resumes hover clicking; its caption says which.
inline constexpr KeyboardControl kHoverPauseButton{"HOVER_PAUSE_BUTTON"};
inline constexpr KeyboardTimer kAutoDeleteTimer{"AUTO_DELETE_TIMER"};
inline constexpr KeyboardTimer kAutoDeleteStopTimer{"AUTO_DELETE_STOP_TIMER"};
inline constexpr KeyboardTimer kActiveWindowTimer{"ACTIVE_WINDOW_TIMER"};
inline constexpr KeyboardTimer kBackcolorTimer{"BACKCOLOR_TIMER"};
inline constexpr KeyboardTimer kAlwaysOnTopTimer{"AlwaysOnTopTimer"};
inline constexpr KeyboardTimer kNcsTimer{"NCS_TIMER"};
// One-shot wake-ups of the typing aids: set afresh for each, off while
// nothing runs.
inline constexpr KeyboardTimer kHoverTimer{"HOVER_TIMER"};
inline constexpr KeyboardTimer kScanTimer{"SCAN_TIMER"};
// One-shot: the wait before the keyboard fades; off while faded.
inline constexpr KeyboardTimer kFadeTimer{"FADE_TIMER"};
// One-shot: stores the window's place a moment after it last moved.
inline constexpr KeyboardTimer kPlaceSaveTimer{"PLACE_SAVE_TIMER"};
// One-shot: stores what word prediction learned a few seconds after the
// first word learned since the last save.
inline constexpr KeyboardTimer kLearnedWordsSaveTimer{"LEARNED_WORDS_SAVE_TIMER"};
// F1 first. Every count of F keys in the program is this table's size.
inline constexpr std::array kFunctionKeys{
    KeyboardControl{"BUTTON_F_NUM_1"},  KeyboardControl{"BUTTON_F_NUM_2"},
    KeyboardControl{"BUTTON_F_NUM_3"},  KeyboardControl{"BUTTON_F_NUM_4"},
    KeyboardControl{"BUTTON_F_NUM_5"},  KeyboardControl{"BUTTON_F_NUM_6"},
    KeyboardControl{"BUTTON_F_NUM_7"},  KeyboardControl{"BUTTON_F_NUM_8"},
    KeyboardControl{"BUTTON_F_NUM_9"},  KeyboardControl{"BUTTON_F_NUM_10"},
    KeyboardControl{"BUTTON_F_NUM_11"}, KeyboardControl{"BUTTON_F_NUM_12"},
    KeyboardControl{"BUTTON_F_NUM_13"}, KeyboardControl{"BUTTON_F_NUM_14"},
    KeyboardControl{"BUTTON_F_NUM_15"}, KeyboardControl{"BUTTON_F_NUM_16"}};
inline constexpr int kFkeyCount = static_cast<int>(kFunctionKeys.size());

// The families of like keys, indexed by letter (A first) and by digit.
inline constexpr std::array<KeyboardControl, 26> kLetterKeys{
    {kButtonLetterA, kButtonLetterB, kButtonLetterC, kButtonLetterD, kButtonLetterE, kButtonLetterF,
     kButtonLetterG, kButtonLetterH, kButtonLetterI, kButtonLetterJ, kButtonLetterK, kButtonLetterL,
     kButtonLetterM, kButtonLetterN, kButtonLetterO, kButtonLetterP, kButtonLetterQ, kButtonLetterR,
     kButtonLetterS, kButtonLetterT, kButtonLetterU, kButtonLetterV, kButtonLetterW, kButtonLetterX,
     kButtonLetterY, kButtonLetterZ}};
inline constexpr std::array<KeyboardControl, 10> kNumberKeys{
    {kButtonNumber0, kButtonNumber1, kButtonNumber2, kButtonNumber3, kButtonNumber4, kButtonNumber5,
     kButtonNumber6, kButtonNumber7, kButtonNumber8, kButtonNumber9}};

// Word prediction's suggestions, most likely first, in the band along the
// top of the window (see Form::setTopBand), shown only while prediction is on.
inline constexpr std::array<KeyboardControl, 5> kSuggestionKeys{
    {KeyboardControl{"SUGGESTION_1"}, KeyboardControl{"SUGGESTION_2"}, KeyboardControl{"SUGGESTION_3"},
     KeyboardControl{"SUGGESTION_4"}, KeyboardControl{"SUGGESTION_5"}}};
// The band's height, twips: the window grows by this much (at its scale)
// while the suggestions show.
inline constexpr int kSuggestionStripHeight = 540;

// The number pad: its switch, and the keypad's keys in the side band right
// of the keys (see Form::setSideBand), shown only while the pad is open.
inline constexpr KeyboardControl kNumPadButton{"NUM_PAD_BUTTON"};
inline constexpr KeyboardControl kNumPad0{"NUM_PAD_0"};
inline constexpr KeyboardControl kNumPad1{"NUM_PAD_1"};
inline constexpr KeyboardControl kNumPad2{"NUM_PAD_2"};
inline constexpr KeyboardControl kNumPad3{"NUM_PAD_3"};
inline constexpr KeyboardControl kNumPad4{"NUM_PAD_4"};
inline constexpr KeyboardControl kNumPad5{"NUM_PAD_5"};
inline constexpr KeyboardControl kNumPad6{"NUM_PAD_6"};
inline constexpr KeyboardControl kNumPad7{"NUM_PAD_7"};
inline constexpr KeyboardControl kNumPad8{"NUM_PAD_8"};
inline constexpr KeyboardControl kNumPad9{"NUM_PAD_9"};
inline constexpr KeyboardControl kNumPadDecimal{"NUM_PAD_DECIMAL"};
inline constexpr KeyboardControl kNumPadDivide{"NUM_PAD_DIVIDE"};
inline constexpr KeyboardControl kNumPadMultiply{"NUM_PAD_MULTIPLY"};
inline constexpr KeyboardControl kNumPadSubtract{"NUM_PAD_SUBTRACT"};
inline constexpr KeyboardControl kNumPadAdd{"NUM_PAD_ADD"};
inline constexpr KeyboardControl kNumPadEnter{"NUM_PAD_ENTER"};
// The band's width, twips: four keys and the margins the keys have. The
// window grows by this much (at its scale) while the pad shows.
inline constexpr int kNumPadWidth = 3000;

}  // namespace ui

}  // namespace osk
