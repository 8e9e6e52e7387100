#include "layout/main_window.h"

#include <array>
#include <string>
#include <utility>

#include "layout/builder.h"

namespace osk {
namespace {

using namespace ui;
using namespace layout;

void addLetterRow(Builder& b, std::string_view letters, int firstLeft, int top) {
  for (std::size_t i = 0; i < letters.size(); ++i) {
    const char c = letters[i];
    b.key(kLetterKeys.at(static_cast<std::size_t>(c - 'A')), std::string(1, c), firstLeft + kPitch * int(i),
          top, kKeyWidth);
  }
}

// Title row: tools, the upper F keys, auto delete and the lock lights.
void titleRow(Builder& b) {
  b.label(kTarnwickTitle, "Q-M - OSK", {120, 120, 1935, 480}, {13.5, true}, colors::kGreen, colors::kBlack,
          Align::Center);
  b.key(kSettingsButton, TextId::SettingsKey, 2160, 120, 1455).font = kSmallBold;
  b.tool(kCutButton, Icon::Scissors, 3720, 120);
  b.tool(kCopyButton, Icon::Copy, 4440, 120);
  b.tool(kPasteButton, Icon::PasteBrush, 5160, 120);
  b.tool(kButtonCalc, Icon::Calculator, 5880, 120);
  b.tool(kAtSignButton, Icon::AtSign, 6600, 120);
  b.tool(kBtcButton, Icon::Coin, 7320, 120);
  for (int n = 13; n <= kFkeyCount; ++n)
    b.key(kFunctionKeys.at(n - 1), named("F", n), 7920 + kPitch * (n - 13), 120, kKeyWidth);
  b.iconKey(kButtonAutoDelete, Icon::BinUpArrow, 11160, 120, 1215, 465);
  struct Light {
    ControlName name;
    TextId caption;
    int left;
  };
  const std::array<Light, 3> lights{{{kNumLightLabel, TextId::NumLight, 13200},
                                     {kCapsLightLabel, TextId::CapsLight, 14400},
                                     {kScrollLightLabel, TextId::ScrollLight, 15480}}};
  for (auto [name, caption, left] : lights)
    // NOLINTNEXTLINE(readability-suspicious-call-argument): dark text on a light ground, as drawn
    b.label(name, caption, {left, 240, 855, 255}, kSmallBold, colors::kBlack, colors::kWhite, Align::Center);
}

// F-key row.
void fkeyRow(Builder& b) {
  b.key(kButtonMyFkeys, TextId::MyFkeysKey, 120, 720, 1215).font = kSmallBold;
  b.iconKey(kButtonEsc, Icon::RedCross, 1440, 720, kKeyWidth);
  for (int n = 1; n <= 12; ++n)
    b.key(kFunctionKeys.at(n - 1), named("F", n), 2160 + kPitch * (n - 1), 720, kKeyWidth);
  b.iconKey(kButtonAutoBackspace, Icon::BinLeftArrow, 10800, 720, 1935);
  // NOLINTNEXTLINE(readability-suspicious-call-argument): dark text on a light ground, as drawn
  b.label(kActiveWindowLabel, "QM-OSK", {12960, 720, 3615, 375}, kPlain, colors::kBlack, colors::kWhite,
          Align::Left);
}

// Number row: 1 .. 9 then 0, as on the keyboard.
void numberRow(Builder& b) {
  b.iconKey(kLockTopNumberKeysButton, Icon::UpArrowPadlock, 120, 1320, 1215);
  b.key(kLeftTopCornerKey, "`", 1440, 1320, kKeyWidth);
  for (int n = 1; n <= 10; ++n) {
    std::string digit = std::to_string(n % 10);
    b.key(kNumberKeys.at(n % 10), digit, 2160 + kPitch * (n - 1), 1320, kKeyWidth);
  }
  b.key(kButtonDash, "-", 9360, 1320, kKeyWidth);
  b.key(kButtonEquals, "=", 10080, 1320, kKeyWidth);
  b.key(kButtonBackspace, "<---", 10800, 1320, 1935);
  b.key(kButtonIns, TextId::InsKey, 12960, 1320, 975);
  b.iconKey(kButtonHome, Icon::House, 14040, 1320, 975);
  b.iconKey(kPrintScreenAppWindow, Icon::PrinterWindow, 15240, 1320, 1335);
}

// Q row; Enter is two rows tall and carries both a caption and a picture.
void qRow(Builder& b) {
  // The hover pause key has the empty place left of TAB, so no key moved
  // for it.
  b.key(kHoverPauseButton, TextId::HoverOnKey, 120, 1800, 1215).font = kSmallBold;
  b.key(kButtonTab, TextId::TabKey, 1440, 1800, 1095);
  addLetterRow(b, "QWERTYUIOP", 2520, 1800);
  b.key(kButtonSquareBracketLeft, "[", 9720, 1800, kKeyWidth);
  b.key(kButtonSquareBracketRight, "]", 10440, 1800, kKeyWidth);
  Control::Def& enter = b.key(kButtonReturnKey, TextId::EnterKey, 11160, 1800, 1575, 975);
  enter.font = kSmallBold;
  enter.icon = Icon::GreenTick;
  b.iconKey(kButtonDelete, Icon::Bin, 12960, 1800, 975);
  b.iconKey(kButtonEnd, Icon::StopSign, 14040, 1800, 975);
  b.iconKey(kPrintScreenCompleteScreen, Icon::PrinterMonitor, 15240, 1800, 1335);
}

// A row.
void aRow(Builder& b) {
  b.key(kButtonCaps, TextId::CapsKey, 1440, 2280, 1455);
  addLetterRow(b, "ASDFGHJKL", 2880, 2280);
  b.key(kButtonSemiColon, ";", 9360, 2280, kKeyWidth);
  b.key(kButtonAposSign, "'", 10080, 2280, kKeyWidth);
  b.key(kButtonHash, "#", 10800, 2280, kKeyWidth);
}

// Z row.
void zRow(Builder& b) {
  b.iconKey(kShiftLockButton, Icon::UpArrowPadlock, 120, 2760, 1215);
  b.iconKey(kButtonShiftLeft, Icon::UpArrow, 1440, 2760, 1095);
  b.key(kButtonBackSlash, "\\", 2520, 2760, kKeyWidth);
  addLetterRow(b, "ZXCVBNM", 3240, 2760);
  b.key(kButtonComma, ",", 8280, 2760, kKeyWidth);
  b.key(kButtonFullStop, ".", 9000, 2760, kKeyWidth);
  b.key(kButtonForwardSlash, "/", 9720, 2760, kKeyWidth);
  b.iconKey(kButtonShiftRight, Icon::UpArrow, 10440, 2760, 2295);
  b.iconKey(kButtonKeyUp, Icon::BlueUp, 13560, 2760, kKeyWidth);
  b.iconKey(kButtonPgUp, Icon::PageUp, 15120, 2760, 1455);
}

// Bottom key row.
void bottomRow(Builder& b) {
  b.key(kButtonCtrlLeft, TextId::CtrlKey, 1440, 3240, 1095);
  b.iconKey(kButtonWinKeyLeft, Icon::WindowFlag, 2520, 3240, 1095);
  b.key(kButtonAltLeft, TextId::AltKey, 3600, 3240, kKeyWidth);
  b.key(kButtonSpacebar, TextId::SpaceKey, 4320, 3240, 4335);
  b.key(kButtonAltGr, TextId::AltGrKey, 8640, 3240, 1095);
  b.iconKey(kButtonWinKeyRight, Icon::WindowFlag, 9720, 3240, kKeyWidth);
  b.iconKey(kButtonRightClick, Icon::PointerMenu, 10440, 3240, 1215);
  b.key(kButtonCtrlRight, TextId::CtrlKey, 11640, 3240, 1095);
  b.iconKey(kButtonKeyLeft, Icon::BlueLeft, 12840, 3240, kKeyWidth);
  b.iconKey(kButtonKeyDown, Icon::BlueDown, 13560, 3240, kKeyWidth);
  b.iconKey(kButtonKeyRight, Icon::BlueRight, 14280, 3240, kKeyWidth);
  b.iconKey(kButtonPgDn, Icon::PageDown, 15120, 3240, 1455);
}

// Command line strip.
void commandStrip(Builder& b) {
  b.key(kButtonWindowsRunExternal, TextId::RunKey, 120, 3360, 1215, 375);
  b.iconKey(kButtonCmd, Icon::CommandPrompt, 120, 3840, 615);
  b.iconKey(kButtonRunInternal, Icon::RunInternal, 720, 3840, 615);
  b.textBox(kCommandLineTextbox, TextId::CommandLineHint, {1440, 3960, 11295, 375}, {9.75, false});
  b.key(kShiftArrowHighlightButton, TextId::HighlightKey, 12840, 3960, 2175, 375);
  b.iconKey(kButtonWindowsLock, Icon::PadlockMonitor, 15120, 3840, 1455);
}

// The suggestion strip: five equal keys across the width of the title row,
// in the top band, blank until there is something to offer.
void suggestionStrip(Builder& b) {
  constexpr int kLeft = 120;
  constexpr int kRight = 16575;  // the SCROLL light's right edge
  constexpr int kGap = 120;
  constexpr int kCount = static_cast<int>(kSuggestionKeys.size());
  constexpr int kWidth = (kRight - kLeft - kGap * (kCount - 1)) / kCount;
  for (int i = 0; i < kCount; ++i) {
    Control::Def& d = b.key(kSuggestionKeys.at(static_cast<std::size_t>(i)), "", kLeft + (kWidth + kGap) * i,
                            120, kWidth, kSuggestionStripHeight - 120);
    d.inTopBand = true;
  }
}

// The number pad, laid out as a keypad is: four columns from the right edge
// of the keys, on the key rows from the number row down; + and Enter two
// rows tall, 0 two columns wide.
void numberPad(Builder& b) {
  b.key(kNumPadButton, TextId::NumPadKey, 120, 2280, 1215).font = kSmallBold;
  struct PadKey {
    KeyboardControl name;
    Caption caption;
    int column = 0;
    int row = 0;
    int columns = 1;
    int rows = 1;
  };
  const std::array<PadKey, 16> kKeys{{
      {kNumPadDivide, "/", 1, 0, 1, 1},
      {kNumPadMultiply, "*", 2, 0, 1, 1},
      {kNumPadSubtract, "-", 3, 0, 1, 1},
      {kNumPad7, "7", 0, 1, 1, 1},
      {kNumPad8, "8", 1, 1, 1, 1},
      {kNumPad9, "9", 2, 1, 1, 1},
      {kNumPadAdd, "+", 3, 1, 1, 2},
      {kNumPad4, "4", 0, 2, 1, 1},
      {kNumPad5, "5", 1, 2, 1, 1},
      {kNumPad6, "6", 2, 2, 1, 1},
      {kNumPad1, "1", 0, 3, 1, 1},
      {kNumPad2, "2", 1, 3, 1, 1},
      {kNumPad3, "3", 2, 3, 1, 1},
      {kNumPadEnter, TextId::EnterKey, 3, 3, 1, 2},
      {kNumPad0, "0", 0, 4, 2, 1},
      {kNumPadDecimal, ".", 2, 4, 1, 1},
  }};
  constexpr int kLeft = 16680;  // the keys' client width: the band starts there
  constexpr int kTop = 1320;    // the number row
  constexpr int kRowPitch = 480;
  for (const PadKey& k : kKeys) {
    Control::Def& d = b.key(k.name, k.caption, kLeft + kPitch * k.column, kTop + kRowPitch * k.row,
                            kKeyWidth + kPitch * (k.columns - 1), kKeyHeight + kRowPitch * (k.rows - 1));
    d.inSideBand = true;
    // Small enough for the navigation captions Num Lock off gives them.
    d.font = kSmallBold;
  }
}

std::vector<Control::Def> mainControls() {
  Builder b;
  titleRow(b);
  fkeyRow(b);
  numberRow(b);
  qRow(b);
  aRow(b);
  zRow(b);
  bottomRow(b);
  commandStrip(b);
  // Last, so that the keys above keep the child ids they always had.
  suggestionStrip(b);
  numberPad(b);
  return std::move(b.defs);
}

std::vector<Timer> mainTimers() {
  // Intervals come with the timers' handlers; here only which timers start
  // switched on.
  return {
      {std::string(kAutoDeleteTimer.str()), 0, true},   {std::string(kAutoDeleteStopTimer.str()), 0, true},
      {std::string(kActiveWindowTimer.str()), 0, true}, {std::string(kBackcolorTimer.str()), 0, true},
      {std::string(kAlwaysOnTopTimer.str()), 0, false}, {std::string(kNcsTimer.str()), 0, true},
      {std::string(kHoverTimer.str()), 0, false},       {std::string(kScanTimer.str()), 0, false},
      {std::string(kPlaceSaveTimer.str()), 0, false},   {std::string(kLearnedWordsSaveTimer.str()), 0, false},
      {std::string(kFadeTimer.str()), 0, false},
  };
}

}  // namespace

std::unique_ptr<KeyboardForm> makeMainForm() {
  return std::make_unique<KeyboardForm>(kMainFormName, "QM-OSK", 16680, 5460, mainControls(), mainTimers());
}

}  // namespace osk
