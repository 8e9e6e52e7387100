#include "layout/layouts.h"

#include <array>
#include <string>
#include <utility>

namespace osk {
namespace {

constexpr int kKeyHeight = 495;
constexpr int kPitch = 720;  // one key width plus the gap, on every key row
constexpr int kKeyWidth = 735;

constexpr Font kKeyFont{12.0, true};
constexpr Font kSmallBold{8.25, true};
constexpr Font kPlain{8.25, false};
constexpr Font kHeading{13.5, false};

// Builds one window's control list in reading order.
class Builder {
 public:
  std::vector<Control::Def> defs;

  // A key, latch or action button of the keyboard: white, 12 pt bold caption.
  Control::Def& key(std::string name, std::string caption, int left, int top, int width,
                    int height = kKeyHeight) {
    return add(std::move(name), ControlKind::Button, std::move(caption), {left, top, width, height}, kKeyFont,
               colors::kWhite, Align::Center);
  }

  Control::Def& iconKey(std::string name, Icon icon, int left, int top, int width, int height = kKeyHeight) {
    Control::Def& d = key(std::move(name), "", left, top, width, height);
    d.icon = icon;
    return d;
  }

  // The clipboard, calculator and snippet buttons are actions rather than
  // keys, and keep the system face so they never read as latched or flashed.
  Control::Def& tool(std::string name, Icon icon, int left, int top) {
    Control::Def& d = iconKey(std::move(name), icon, left, top, kKeyHeight);
    d.back = colors::kSysButtonFace;
    return d;
  }

  Control::Def& label(std::string name, std::string caption, TwipsRect rect, Font font, Color fore,
                      Color back, Align align) {
    Control::Def& d = add(std::move(name), ControlKind::Label, std::move(caption), rect, font, back, align);
    d.fore = fore;
    return d;
  }

  Control::Def& textBox(std::string name, std::string text, TwipsRect rect, Font font = kPlain) {
    return add(std::move(name), ControlKind::TextBox, std::move(text), rect, font, colors::kSysWindow,
               Align::Left);
  }

  // Dialog push buttons are native ones: OK and the way into the F-key dialog.
  Control::Def& dialogButton(std::string name, std::string caption, TwipsRect rect) {
    Control::Def& d = add(std::move(name), ControlKind::Button, std::move(caption), rect, kPlain,
                          colors::kSysButtonFace, Align::Center);
    d.standardStyle = true;
    return d;
  }

  Control::Def& checkBox(std::string name, std::string caption, TwipsRect rect) {
    return add(std::move(name), ControlKind::CheckBox, std::move(caption), rect, kPlain,
               colors::kSysButtonFace, Align::Left);
  }

 private:
  Control::Def& add(std::string name, ControlKind kind, std::string caption, TwipsRect rect, Font font,
                    Color back, Align align) {
    Control::Def d;
    d.name = std::move(name);
    d.kind = kind;
    d.caption = std::move(caption);
    d.rect = rect;
    d.font = font;
    d.back = back;
    d.align = align;
    defs.push_back(std::move(d));
    return defs.back();
  }
};

// Text of the F-key and number-row families.
// Built by appending: GCC 12 warns falsely (-Wrestrict) on literal + string.
std::string named(std::string_view prefix, int n, std::string_view suffix = "") {
  std::string out(prefix);
  out.append(std::to_string(n)).append(suffix);
  return out;
}

void addLetterRow(Builder& b, std::string_view letters, int firstLeft, int top) {
  for (std::size_t i = 0; i < letters.size(); ++i) {
    std::string letter(1, letters[i]);
    b.key("BUTTON_LETTER_" + letter, letter, firstLeft + kPitch * int(i), top, kKeyWidth);
  }
}

std::vector<Control::Def> mainControls() {
  Builder b;

  // Title row: tools, the upper F keys, auto delete and the lock lights.
  b.label("TARNWICK_TITLE", "Q-M - OSK", {120, 120, 1935, 480}, {13.5, true}, colors::kGreen, colors::kBlack,
          Align::Center);
  b.key("SETTINGS_BUTTON", "SETTINGS", 2160, 120, 1455).font = kSmallBold;
  b.tool("CUT_BUTTON", Icon::Scissors, 3720, 120);
  b.tool("COPY_BUTTON", Icon::Copy, 4440, 120);
  b.tool("PASTE_BUTTON", Icon::PasteBrush, 5160, 120);
  b.tool("BUTTON_CALC", Icon::Calculator, 5880, 120);
  b.tool("AT_SIGN_BUTTON", Icon::AtSign, 6600, 120);
  b.tool("BTC_BUTTON", Icon::Coin, 7320, 120);
  for (int n = 13; n <= 16; ++n)
    b.key(named("BUTTON_F_NUM_", n), named("F", n), 7920 + kPitch * (n - 13), 120, kKeyWidth);
  b.iconKey("BUTTON_AUTO_DELETE", Icon::BinUpArrow, 11160, 120, 1215, 465);
  const std::array<std::pair<const char*, int>, 3> lights{
      {{"NUM", 13200}, {"CAPS", 14400}, {"SCROLL", 15480}}};
  for (auto [caption, left] : lights)
    // NOLINTNEXTLINE(readability-suspicious-call-argument): dark text on a light ground, as drawn
    b.label(std::string(caption) + "_LIGHT_LABEL", caption, {left, 240, 855, 255}, kSmallBold, colors::kBlack,
            colors::kWhite, Align::Center);

  // F-key row.
  b.key("BUTTON_MY_FKEYS", "MY F-KEYS", 120, 720, 1215).font = kSmallBold;
  b.iconKey("BUTTON_ESC", Icon::RedCross, 1440, 720, kKeyWidth);
  for (int n = 1; n <= 12; ++n)
    b.key(named("BUTTON_F_NUM_", n), named("F", n), 2160 + kPitch * (n - 1), 720, kKeyWidth);
  b.iconKey("BUTTON_AUTO_BACKSPACE", Icon::BinLeftArrow, 10800, 720, 1935);
  // NOLINTNEXTLINE(readability-suspicious-call-argument): dark text on a light ground, as drawn
  b.label("ACTIVE_WINDOW_LABEL", "QM-OSK", {12960, 720, 3615, 375}, kPlain, colors::kBlack, colors::kWhite,
          Align::Left);

  // Number row: 1 .. 9 then 0, as on the keyboard.
  b.iconKey("LOCK_TOP_NUMBER_KEYS_BUTTON", Icon::UpArrowPadlock, 120, 1320, 1215);
  b.key("LEFT_TOP_CORNER_KEY", "`", 1440, 1320, kKeyWidth);
  for (int n = 1; n <= 10; ++n) {
    std::string digit = std::to_string(n % 10);
    b.key("BUTTON_NUMBER_" + digit, digit, 2160 + kPitch * (n - 1), 1320, kKeyWidth);
  }
  b.key("BUTTON_DASH", "-", 9360, 1320, kKeyWidth);
  b.key("BUTTON_EQUALS", "=", 10080, 1320, kKeyWidth);
  b.key("BUTTON_BACKSPACE", "<---", 10800, 1320, 1935);
  b.key("BUTTON_INS", "INS", 12960, 1320, 975);
  b.iconKey("BUTTON_HOME", Icon::House, 14040, 1320, 975);
  b.iconKey("PRINT_SCREEN_APP_WINDOW", Icon::PrinterWindow, 15240, 1320, 1335);

  // Q row; Enter is two rows tall and carries both a caption and a picture.
  b.key("BUTTON_TAB", "TAB", 1440, 1800, 1095);
  addLetterRow(b, "QWERTYUIOP", 2520, 1800);
  b.key("BUTTON_SQUARE_BRACKET_LEFT", "[", 9720, 1800, kKeyWidth);
  b.key("BUTTON_SQUARE_BRACKET_RIGHT", "]", 10440, 1800, kKeyWidth);
  Control::Def& enter = b.key("BUTTON_RETURN_KEY", "ENTER", 11160, 1800, 1575, 975);
  enter.font = kSmallBold;
  enter.icon = Icon::GreenTick;
  b.iconKey("BUTTON_DELETE", Icon::Bin, 12960, 1800, 975);
  b.iconKey("BUTTON_END", Icon::StopSign, 14040, 1800, 975);
  b.iconKey("PRINT_SCREEN_COMPLETE_SCREEN", Icon::PrinterMonitor, 15240, 1800, 1335);

  // A row.
  b.key("BUTTON_CAPS", "CAPS", 1440, 2280, 1455);
  addLetterRow(b, "ASDFGHJKL", 2880, 2280);
  b.key("BUTTON_SEMI_COLON", ";", 9360, 2280, kKeyWidth);
  b.key("BUTTON_APOS_SIGN", "'", 10080, 2280, kKeyWidth);
  b.key("BUTTON_HASH", "#", 10800, 2280, kKeyWidth);

  // Z row.
  b.iconKey("SHIFT_LOCK_BUTTON", Icon::UpArrowPadlock, 120, 2760, 1215);
  b.iconKey("BUTTON_SHIFT_LEFT", Icon::UpArrow, 1440, 2760, 1095);
  b.key("BUTTON_BACK_SLASH", "\\", 2520, 2760, kKeyWidth);
  addLetterRow(b, "ZXCVBNM", 3240, 2760);
  b.key("BUTTON_COMMA", ",", 8280, 2760, kKeyWidth);
  b.key("BUTTON_FULL_STOP", ".", 9000, 2760, kKeyWidth);
  b.key("BUTTON_FORWARD_SLASH", "/", 9720, 2760, kKeyWidth);
  b.iconKey("BUTTON_SHIFT_RIGHT", Icon::UpArrow, 10440, 2760, 2295);
  b.iconKey("BUTTON_KEY_UP", Icon::BlueUp, 13560, 2760, kKeyWidth);
  b.iconKey("BUTTON_PG_UP", Icon::PageUp, 15120, 2760, 1455);

  // Bottom key row.
  b.key("BUTTON_CTRL_LEFT", "CTRL", 1440, 3240, 1095);
  b.iconKey("BUTTON_WIN_KEY_LEFT", Icon::WindowFlag, 2520, 3240, 1095);
  b.key("BUTTON_ALT_LEFT", "ALT", 3600, 3240, kKeyWidth);
  b.key("BUTTON_SPACEBAR", "SPACE", 4320, 3240, 4335);
  b.key("BUTTON_ALT_GR", "ALT GR", 8640, 3240, 1095);
  b.iconKey("BUTTON_WIN_KEY_RIGHT", Icon::WindowFlag, 9720, 3240, kKeyWidth);
  b.iconKey("BUTTON_RIGHT_CLICK", Icon::PointerMenu, 10440, 3240, 1215);
  b.key("BUTTON_CTRL_RIGHT", "CTRL", 11640, 3240, 1095);
  b.iconKey("BUTTON_KEY_LEFT", Icon::BlueLeft, 12840, 3240, kKeyWidth);
  b.iconKey("BUTTON_KEY_DOWN", Icon::BlueDown, 13560, 3240, kKeyWidth);
  b.iconKey("BUTTON_KEY_RIGHT", Icon::BlueRight, 14280, 3240, kKeyWidth);
  b.iconKey("BUTTON_PG_DN", Icon::PageDown, 15120, 3240, 1455);

  // Command line strip.
  b.key("BUTTON_WINDOWS_RUN_EXTERNAL", "RUN", 120, 3360, 1215, 375);
  b.iconKey("BUTTON_CMD", Icon::CommandPrompt, 120, 3840, 615);
  b.iconKey("BUTTON_RUN_INTERNAL", Icon::RunInternal, 720, 3840, 615);
  b.textBox("COMMAND_LINE_TEXTBOX", "Command Line", {1440, 3960, 11295, 375}, {9.75, false});
  b.key("SHIFT_ARROW_HIGHLIGHT_BUTTON", "HIGHLIGHT", 12840, 3960, 2175, 375);
  b.iconKey("BUTTON_WINDOWS_LOCK", Icon::PadlockMonitor, 15120, 3840, 1455);

  return std::move(b.defs);
}

std::vector<Timer> mainTimers() {
  // Intervals are given at load; here only which timers start switched on.
  return {
      {"AUTO_DELETE_TIMER", 0, true},
      {"AUTO_DELETE_STOP_TIMER", 0, true},
      {"ENABLE_KEYBOARD_KEYPRESS_TIMER", 0, false},
      {"KEYBOARD_KEYPRESS_TIMER", 0, false},
      {"ACTIVE_WINDOW_TIMER", 0, true},
      {"BACKCOLOR_TIMER", 0, true},
      {"AlwaysOnTopTimer", 0, false},
      {"NCS_TIMER", 0, true},
      // One-shot: stores the window's place a moment after it last moved.
      {"PLACE_SAVE_TIMER", 0, false},
  };
}

// A caption on the dialogs' button-face background, beside its field.
void fieldLabel(Builder& b, std::string name, std::string caption, TwipsRect rect) {
  // NOLINTNEXTLINE(readability-suspicious-call-argument): dark text on a light ground, as drawn
  b.label(std::move(name), std::move(caption), rect, kPlain, colors::kBlack, colors::kSysButtonFace,
          Align::Left);
}

// A dialog's text field: it holds stored text, which may be anything.
void field(Builder& b, std::string name, std::string text, TwipsRect rect) {
  b.textBox(std::move(name), std::move(text), rect).wholeText = true;
}

void heading(Builder& b, std::string name, std::string caption, TwipsRect rect) {
  b.label(std::move(name), std::move(caption), rect, kHeading, colors::kGreen, colors::kBlack, Align::Center);
}

}  // namespace

std::unique_ptr<Form> makeMainForm() {
  return std::make_unique<Form>(kMainFormName, "QM-OSK", 16680, 5460, mainControls(), mainTimers());
}

std::unique_ptr<Form> makeSettingsForm() {
  Builder b;
  heading(b, "TARNWICK_QM_OSK_TITLE_1", "TARNWICK", {120, 120, 3495, 495});
  heading(b, "TARNWICK_QM_OSK_TITLE_2", "Q-M - OSK", {3840, 120, 3615, 495});
  heading(b, "TARNWICK_QM_OSK_VERSION", "Version 1.0", {120, 720, 3495, 495});
  heading(b, "TARNWICK_QM_OSK_CREATOR", "Made by the QM-OSK developers", {120, 1320, 7335, 495});
  b.label("DOUBLE_CLICK_TXT_LABEL", "Double Click Light To Set ON / OFF", {120, 1920, 7335, 495},
          {12.0, true}, colors::kCyan, colors::kBlack, Align::Center);
  fieldLabel(b, "CALC_LABEL", "CALCULATOR:", {240, 2760, 1215, 255});
  field(b, "CALCULATOR_COMMAND_TEXTBOX", "COMMAND", {1680, 2640, 5775, 375});
  fieldLabel(b, "EMAIL_LABEL", "EMAIL ADDRESS:", {240, 3240, 1455, 255});
  field(b, "EMAIL_ADDRESS_TEXTBOX", "COMMAND", {1680, 3120, 5775, 375});
  fieldLabel(b, "BTC_ADDRESS_LABEL", "BTC ADDRESS:", {240, 3720, 1335, 255});
  field(b, "BTC_ADDRESS_TEXTBOX", "COMMAND", {1680, 3600, 5775, 375});
  // In the free band above the buttons, so no other control moves.
  b.checkBox("KEEP_TARGET_FOCUS_TICKBOX", "Keep the focus in the target window", {1680, 4080, 5775, 375});
  b.dialogButton("FKEYS_SETTINGS_BUTTON", "MY F-KEYS SETTINGS", {600, 4560, 2535, 495});
  b.checkBox("ALWAYS_ON_TOP_TICKBOX", "Always On Top", {3480, 4680, 1455, 375});
  b.dialogButton("OK_BUTTON", "OK", {5160, 4560, 1935, 495});
  return std::make_unique<Form>(kSettingsFormName, "QM-OSK", 7665, 5280, std::move(b.defs),
                                std::vector<Timer>{});
}

std::unique_ptr<Form> makeFkeysForm() {
  Builder b;
  constexpr int kRowPitch = 480;
  for (int n = 1; n <= 16; ++n) {
    const int shift = kRowPitch * (n - 1);
    // Two-digit numbers need the wider label.
    fieldLabel(b, named("LABEL_F", n), named("F-KEYS - F", n, ":"),
               {120, 240 + shift, n <= 9 ? 975 : 1095, 255});
    field(b, named("BUTTON_TEXT_F", n), "BUTTON TEXT", {1320, 120 + shift, 2295, 375});
    field(b, named("COMMAND_F", n), "COMMAND", {3720, 120 + shift, 10935, 375});
  }
  b.dialogButton("OK_BUTTON", "OK", {5400, 7920, 1455, 495});
  return std::make_unique<Form>(kFkeysFormName, "QM-OSK - FKEYS SETTINGS", 14820, 8595, std::move(b.defs),
                                std::vector<Timer>{});
}

}  // namespace osk
