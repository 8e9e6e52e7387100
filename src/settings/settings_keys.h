// Keys of the per-user settings store, their defaults, and the conversions
// between stored text and the numbers the windows use.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "layout/main_window.h"
#include "layout/model.h"
#include "platform/settings_store.h"
#include "platform/texts.h"

namespace osk::settings {

// Where a window keeps its outer geometry, and what it opens with when the
// store has nothing usable.
struct GeometryKeys {
  std::string_view left;
  std::string_view top;
  std::string_view width;
  std::string_view height;
  Geometry defaults;
};

inline constexpr GeometryKeys kMainGeometry{
    "MainLeft", "MainTop", "MainWidth", "MainHeight", {1000, 1000, 16800, 4785}};
inline constexpr GeometryKeys kSettingsGeometry{
    "AboutMainLeft", "AboutMainTop", "AboutMainWidth", "AboutMainHeight", {1000, 1000, 7785, 7500}};
inline constexpr GeometryKeys kFkeysGeometry{"FKEYSSETTINGSMainLeft",
                                             "FKEYSSETTINGSMainTop",
                                             "FKEYSSETTINGSMainWidth",
                                             "FKEYSSETTINGSMainHeight",
                                             {1000, 1000, 14940, 8955}};

inline constexpr GeometryKeys kAidsGeometry{"TYPINGAIDSMainLeft",
                                            "TYPINGAIDSMainTop",
                                            "TYPINGAIDSMainWidth",
                                            "TYPINGAIDSMainHeight",
                                            {1000, 1000, 6855, 7440}};

inline constexpr std::string_view kAlwaysOnTop = "ALWAYS_ON_TOP_TICKBOX";
inline constexpr std::string_view kAlwaysOnTopDefault = "0";
// "1": clicks on the keyboard leave the focus where it is.
inline constexpr std::string_view kKeepTargetFocus = "KEEP_TARGET_FOCUS";
inline constexpr std::string_view kKeepTargetFocusDefault = "0";
// "1": the character keys show and type what their physical keys do in the
// target's input language; "0" keeps the UK face.
inline constexpr std::string_view kClickSound = "CLICK_SOUND";
inline constexpr std::string_view kClickSoundDefault = "0";
inline constexpr std::string_view kFollowInputLanguage = "FOLLOW_INPUT_LANGUAGE";
inline constexpr std::string_view kFollowInputLanguageDefault = "0";
// The language of the keyboard's words: a code of data/texts/languages.txt,
// or "" for Windows' display language.
inline constexpr std::string_view kUiLanguage = "UI_LANGUAGE";
// "1": the number pad shows beside the keys.
inline constexpr std::string_view kNumPad = "NUM_PAD";
inline constexpr std::string_view kNumPadDefault = "0";
// "1": the keyboard fades to FADE_OPACITY percent once the pointer has
// been off it for FADE_WAIT seconds.
inline constexpr std::string_view kFade = "FADE_WHEN_NOT_IN_USE";
inline constexpr std::string_view kFadeDefault = "0";
inline constexpr std::string_view kFadeOpacity = "FADE_OPACITY";
inline constexpr int kFadeOpacityDefault = 40;
inline constexpr int kFadeOpacityLowest = 20;
inline constexpr int kFadeOpacityHighest = 90;
inline constexpr std::string_view kFadeWait = "FADE_WAIT";
inline constexpr int kFadeWaitDefault = 3;
inline constexpr int kFadeWaitLowest = 1;
inline constexpr int kFadeWaitHighest = 60;
// "1": the keyboard is an application bar along the bottom of its monitor.
inline constexpr std::string_view kDockBottom = "DOCK_BOTTOM";
inline constexpr std::string_view kDockBottomDefault = "0";
inline constexpr std::string_view kCalculatorCommand = "CALCULATOR_COMMAND_TEXTBOX";
inline constexpr std::string_view kCalculatorCommandDefault = "calc.exe";
inline constexpr std::string_view kEmailAddress = "EMAIL_ADDRESS_TEXTBOX";
// Until the user gives one, the stored-text keys type their words for what
// belongs there, in the language chosen.
inline constexpr TextId kEmailAddressDefault = TextId::EmailAddressDefault;
inline constexpr std::string_view kBtcAddress = "BTC_ADDRESS_TEXTBOX";
inline constexpr TextId kBtcAddressDefault = TextId::BtcAddressDefault;

inline constexpr int kFkeyCount = ui::kFkeyCount;
// n is 1-based: "BUTTON_F_NUM_<n>_CAPTION", default "FK<n>".
std::string fkeyCaptionKey(int n);
std::string fkeyCaptionDefault(int n);
// "MY-FKEYS-COMMAND-F<n>", default "calc.exe" for every n.
std::string fkeyCommandKey(int n);
inline constexpr std::string_view kFkeyCommandDefault = "calc.exe";

// Nothing a real desktop could show is this far out or this large; beyond it
// a stored number is treated as damage rather than a position.
inline constexpr float kMaxTwips = 1'000'000.0F;

// The whole text as a decimal number (surrounding blanks and a leading sign
// allowed); nothing when any part of it is not a number.
std::optional<double> parseNumber(std::string_view text);

// A stored position or size; `fallback` when the text is not a finite number
// within kMaxTwips of the origin.
float parseTwips(std::string_view text, float fallback);

// Shortest decimal text that reads back as exactly `value`.
std::string formatTwips(float value);

// A stored tick-box choice counts only when it reads as exactly 1. Every
// choice a tick box shows is read by this one rule, so that the box and the
// keyboard never disagree about a stored "1.0".
bool tickChosen(std::string_view text);
inline bool alwaysOnTopChosen(std::string_view text) { return tickChosen(text); }
inline bool keepTargetFocusChosen(std::string_view text) { return tickChosen(text); }

// A stored whole number kept within [lowest, highest]: a number out of
// range gives the nearest bound, a fraction the nearest whole number, text
// that is not a number `fallback`.
int parseBounded(std::string_view text, int lowest, int highest, int fallback);

// Moves a window that overlaps no work area onto the nearest one, keeping its
// size where it fits. A window already partly visible is left alone.
Geometry placeOnScreen(Geometry g, const std::vector<Geometry>& workAreas);

// The window geometry as stored, each unusable value (a size many times the
// largest work area among them) replaced by its default.
Geometry readGeometry(const SettingsStore& store, const GeometryKeys& keys,
                      const std::vector<Geometry>& workAreas);

// One save of several values: every value is attempted, and the names of
// those the store refused are kept so that the user can be told which.
class Saver {
 public:
  explicit Saver(SettingsStore& store) : store_(store) {}
  void put(std::string_view key, std::string_view value);
  const std::vector<std::string>& refused() const { return refused_; }

 private:
  SettingsStore& store_;
  std::vector<std::string> refused_;
};

// Writes Left, Top, Width, Height in that order; a value the store refuses
// is noted in the saver, and the others are written all the same.
void saveGeometry(Saver& saver, const GeometryKeys& keys, const Geometry& g);

// What the user is told about values a save could not store: the first few
// by name and how many more; empty when everything was stored.
std::string unsavedNote(const Texts& texts, const std::vector<std::string>& refused);

}  // namespace osk::settings
