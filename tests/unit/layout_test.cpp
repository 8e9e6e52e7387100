#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "layout/layouts.h"
#include "qmosk_version.h"

namespace osk {
namespace {

std::string n2s(int n) { return std::to_string(n); }

// Names of a family laid out left to right at the common key pitch.
struct Family {
  std::string what;
  std::vector<std::string> names;
  int firstLeft;
  int top;
};

std::vector<std::string> letters(std::string_view row) {
  std::vector<std::string> out;
  for (char c : row) out.push_back("BUTTON_LETTER_" + std::string(1, c));
  return out;
}

std::vector<std::string> fkeys(int from, int to) {
  std::vector<std::string> out;
  for (int n = from; n <= to; ++n) out.push_back("BUTTON_F_NUM_" + n2s(n));
  return out;
}

std::vector<std::string> numberRow() {
  std::vector<std::string> out;
  for (int n = 1; n <= 10; ++n) out.push_back("BUTTON_NUMBER_" + n2s(n % 10));
  return out;
}

std::vector<Family> keyFamilies() {
  return {
      {"F13-F16", fkeys(13, 16), 7920, 120},       {"F1-F12", fkeys(1, 12), 2160, 720},
      {"number row", numberRow(), 2160, 1320},     {"Q row", letters("QWERTYUIOP"), 2520, 1800},
      {"A row", letters("ASDFGHJKL"), 2880, 2280}, {"Z row", letters("ZXCVBNM"), 3240, 2760},
  };
}

// Every icon button of the keyboard with the subject it must show.
const std::vector<std::pair<std::string, Icon>>& mainIcons() {
  static const std::vector<std::pair<std::string, Icon>> icons{
      {"CUT_BUTTON", Icon::Scissors},
      {"COPY_BUTTON", Icon::Copy},
      {"PASTE_BUTTON", Icon::PasteBrush},
      {"BUTTON_CALC", Icon::Calculator},
      {"AT_SIGN_BUTTON", Icon::AtSign},
      {"BTC_BUTTON", Icon::Coin},
      {"BUTTON_AUTO_DELETE", Icon::BinUpArrow},
      {"BUTTON_ESC", Icon::RedCross},
      {"BUTTON_AUTO_BACKSPACE", Icon::BinLeftArrow},
      {"LOCK_TOP_NUMBER_KEYS_BUTTON", Icon::UpArrowPadlock},
      {"BUTTON_HOME", Icon::House},
      {"PRINT_SCREEN_APP_WINDOW", Icon::PrinterWindow},
      {"BUTTON_RETURN_KEY", Icon::GreenTick},
      {"BUTTON_DELETE", Icon::Bin},
      {"BUTTON_END", Icon::StopSign},
      {"PRINT_SCREEN_COMPLETE_SCREEN", Icon::PrinterMonitor},
      {"SHIFT_LOCK_BUTTON", Icon::UpArrowPadlock},
      {"BUTTON_SHIFT_LEFT", Icon::UpArrow},
      {"BUTTON_SHIFT_RIGHT", Icon::UpArrow},
      {"BUTTON_KEY_UP", Icon::BlueUp},
      {"BUTTON_PG_UP", Icon::PageUp},
      {"BUTTON_WIN_KEY_LEFT", Icon::WindowFlag},
      {"BUTTON_WIN_KEY_RIGHT", Icon::WindowFlag},
      {"BUTTON_RIGHT_CLICK", Icon::PointerMenu},
      {"BUTTON_KEY_LEFT", Icon::BlueLeft},
      {"BUTTON_KEY_DOWN", Icon::BlueDown},
      {"BUTTON_KEY_RIGHT", Icon::BlueRight},
      {"BUTTON_PG_DN", Icon::PageDown},
      {"BUTTON_CMD", Icon::CommandPrompt},
      {"BUTTON_RUN_INTERNAL", Icon::RunInternal},
      {"BUTTON_WINDOWS_LOCK", Icon::PadlockMonitor},
  };
  return icons;
}

const std::set<std::string> kToolButtons{"CUT_BUTTON",  "COPY_BUTTON",    "PASTE_BUTTON",
                                         "BUTTON_CALC", "AT_SIGN_BUTTON", "BTC_BUTTON"};

// The keyboard's controls that are not in one of the regular families.
const std::vector<std::string> kMainSingles{"TARNWICK_TITLE",
                                            "SETTINGS_BUTTON",
                                            "CUT_BUTTON",
                                            "COPY_BUTTON",
                                            "PASTE_BUTTON",
                                            "BUTTON_CALC",
                                            "AT_SIGN_BUTTON",
                                            "BTC_BUTTON",
                                            "BUTTON_AUTO_DELETE",
                                            "NUM_LIGHT_LABEL",
                                            "CAPS_LIGHT_LABEL",
                                            "SCROLL_LIGHT_LABEL",
                                            "BUTTON_MY_FKEYS",
                                            "BUTTON_ESC",
                                            "BUTTON_AUTO_BACKSPACE",
                                            "ACTIVE_WINDOW_LABEL",
                                            "LOCK_TOP_NUMBER_KEYS_BUTTON",
                                            "LEFT_TOP_CORNER_KEY",
                                            "BUTTON_DASH",
                                            "BUTTON_EQUALS",
                                            "BUTTON_BACKSPACE",
                                            "BUTTON_INS",
                                            "BUTTON_HOME",
                                            "PRINT_SCREEN_APP_WINDOW",
                                            "BUTTON_TAB",
                                            "BUTTON_SQUARE_BRACKET_LEFT",
                                            "BUTTON_SQUARE_BRACKET_RIGHT",
                                            "BUTTON_RETURN_KEY",
                                            "BUTTON_DELETE",
                                            "BUTTON_END",
                                            "PRINT_SCREEN_COMPLETE_SCREEN",
                                            "BUTTON_CAPS",
                                            "BUTTON_SEMI_COLON",
                                            "BUTTON_APOS_SIGN",
                                            "BUTTON_HASH",
                                            "SHIFT_LOCK_BUTTON",
                                            "BUTTON_SHIFT_LEFT",
                                            "BUTTON_BACK_SLASH",
                                            "BUTTON_COMMA",
                                            "BUTTON_FULL_STOP",
                                            "BUTTON_FORWARD_SLASH",
                                            "BUTTON_SHIFT_RIGHT",
                                            "BUTTON_KEY_UP",
                                            "BUTTON_PG_UP",
                                            "BUTTON_CTRL_LEFT",
                                            "BUTTON_WIN_KEY_LEFT",
                                            "BUTTON_ALT_LEFT",
                                            "BUTTON_SPACEBAR",
                                            "BUTTON_ALT_GR",
                                            "BUTTON_WIN_KEY_RIGHT",
                                            "BUTTON_RIGHT_CLICK",
                                            "BUTTON_CTRL_RIGHT",
                                            "BUTTON_KEY_LEFT",
                                            "BUTTON_KEY_DOWN",
                                            "BUTTON_KEY_RIGHT",
                                            "BUTTON_PG_DN",
                                            "BUTTON_WINDOWS_RUN_EXTERNAL",
                                            "BUTTON_CMD",
                                            "BUTTON_RUN_INTERNAL",
                                            "COMMAND_LINE_TEXTBOX",
                                            "SHIFT_ARROW_HIGHLIGHT_BUTTON",
                                            "BUTTON_WINDOWS_LOCK",
                                            "HOVER_PAUSE_BUTTON"};

std::vector<std::string> settingsNames() {
  return {"TARNWICK_QM_OSK_TITLE_1",
          "TARNWICK_QM_OSK_TITLE_2",
          "TARNWICK_QM_OSK_VERSION",
          "TARNWICK_QM_OSK_CREATOR",
          "DOUBLE_CLICK_TXT_LABEL",
          "CALC_LABEL",
          "CALCULATOR_COMMAND_TEXTBOX",
          "EMAIL_LABEL",
          "EMAIL_ADDRESS_TEXTBOX",
          "BTC_ADDRESS_LABEL",
          "BTC_ADDRESS_TEXTBOX",
          "KEEP_TARGET_FOCUS_TICKBOX",
          "TYPING_AIDS_BUTTON",
          "FKEYS_SETTINGS_BUTTON",
          "ALWAYS_ON_TOP_TICKBOX",
          "OK_BUTTON",
          "START_AT_SIGN_IN_TICKBOX",
          "CLICK_SOUND_TICKBOX",
          "FADE_TICKBOX",
          "FADE_OPACITY_LABEL",
          "FADE_OPACITY_TEXTBOX",
          "FADE_WAIT_LABEL",
          "FADE_WAIT_TEXTBOX",
          "DOCK_TICKBOX",
          "LANGUAGE_LABEL",
          "LANGUAGE_LIST"};
}

std::vector<std::string> mainNames() {
  std::vector<std::string> all = kMainSingles;
  for (auto& f : keyFamilies()) all.insert(all.end(), f.names.begin(), f.names.end());
  for (int n = 1; n <= 5; ++n) all.push_back("SUGGESTION_" + n2s(n));
  all.emplace_back("NUM_PAD_BUTTON");
  for (int n = 0; n <= 9; ++n) all.push_back("NUM_PAD_" + n2s(n));
  for (const char* sign : {"DECIMAL", "DIVIDE", "MULTIPLY", "SUBTRACT", "ADD", "ENTER"})
    all.push_back(std::string("NUM_PAD_") + sign);
  return all;
}

std::vector<std::string> fkeyDialogNames() {
  std::vector<std::string> all;
  for (int n = 1; n <= 16; ++n) {
    all.push_back("LABEL_F" + n2s(n));
    all.push_back("BUTTON_TEXT_F" + n2s(n));
    all.push_back("COMMAND_F" + n2s(n));
  }
  all.push_back("OK_BUTTON");
  return all;
}

std::vector<std::string> aidsNames() {
  return {"DWELL_CLICK_TICKBOX",
          "DWELL_TIME_LABEL",
          "DWELL_TIME_TEXTBOX",
          "SCAN_MODE_TICKBOX",
          "SCAN_STEP_LABEL",
          "SCAN_STEP_TEXTBOX",
          "SWITCH_KEY_LABEL",
          "SWITCH_KEY_TEXTBOX",
          "INJECTED_SWITCH_TICKBOX",
          "WORD_PREDICTION_TICKBOX",
          "FORGET_WORDS_BUTTON",
          "FOLLOW_INPUT_LANGUAGE_TICKBOX",
          "TUNE_TIMING_TICKBOX",
          "TUNE_TIMING_NOTE",
          "SCAN_STEP_TUNED_LABEL",
          "DWELL_TIME_TUNED_LABEL",
          "OK_BUTTON"};
}

struct FormCase {
  const char* name;
  std::unique_ptr<Form> (*make)();
  const char* title;
  int clientWidth;
  int clientHeight;
  std::vector<std::string> (*names)();
};

const FormCase kForms[] = {
    {kMainFormName, []() -> std::unique_ptr<Form> { return makeMainForm(); }, "QM-OSK", 16680, 5460,
     mainNames},
    {kSettingsFormName, []() -> std::unique_ptr<Form> { return makeSettingsForm(); }, "QM-OSK", 7665, 7140,
     settingsNames},
    {kFkeysFormName, []() -> std::unique_ptr<Form> { return makeFkeysForm(); }, "QM-OSK - FKEYS SETTINGS",
     14820, 8595, fkeyDialogNames},
    {kAidsFormName, []() -> std::unique_ptr<Form> { return makeAidsForm(); }, "QM-OSK - TYPING AIDS", 6735,
     7080, aidsNames},
};

TEST(Layouts, EachFormHasExactlyItsNamedControlsInsideItsClientArea) {
  for (const auto& fc : kForms) {
    SCOPED_TRACE(fc.name);
    auto form = fc.make();
    EXPECT_EQ(form->name(), fc.name);
    EXPECT_EQ(form->title(), fc.title);
    EXPECT_EQ(form->clientWidth(), fc.clientWidth);
    EXPECT_EQ(form->clientHeight(), fc.clientHeight);

    auto names = fc.names();
    std::set<std::string> expected(names.begin(), names.end());
    ASSERT_EQ(expected.size(), names.size()) << "the expected list itself repeats a name";
    EXPECT_EQ(form->controls().size(), expected.size());
    for (const auto& n : expected) EXPECT_NE(form->find(n), nullptr) << n;

    for (const Control& c : form->controls()) {
      SCOPED_TRACE(c.name());
      const TwipsRect& r = c.rect();
      EXPECT_GT(r.width, 0);
      EXPECT_GT(r.height, 0);
      EXPECT_GE(r.left, 0);
      EXPECT_GE(r.top, 0);
      // The side band lies right of the client area the form is declared with.
      const int bandRight = form->clientWidth() + (c.inSideBand() ? ui::kNumPadWidth : 0);
      EXPECT_LE(r.left + r.width, bandRight);
      if (c.inSideBand()) {
        EXPECT_GE(r.left, form->clientWidth());
      }
      EXPECT_LE(r.top + r.height, form->clientHeight());
    }
  }
}

TEST(Layouts, ControlCountsPerForm) {
  auto form = makeMainForm();
  EXPECT_EQ(form->controls().size(), 137U);
  EXPECT_EQ(makeSettingsForm()->controls().size(), 26U);
  EXPECT_EQ(makeFkeysForm()->controls().size(), 49U);
}

TEST(Layouts, KeyFamiliesKeepTheKeyPitchAndStaggeredRowStarts) {
  auto form = makeMainForm();
  for (const auto& f : keyFamilies()) {
    SCOPED_TRACE(f.what);
    for (std::size_t i = 0; i < f.names.size(); ++i) {
      const Control& c = form->named(f.names[i]);
      SCOPED_TRACE(c.name());
      EXPECT_EQ(c.rect(), (TwipsRect{f.firstLeft + 720 * int(i), f.top, 735, 495}));
      EXPECT_EQ(c.kind(), ControlKind::Button);
    }
  }
  // Rows are staggered as on a physical keyboard: each starts half a key
  // further right than the one above.
  EXPECT_EQ(form->control(ui::kButtonLetterQ).rect().left - form->control(ui::kButtonNumber1).rect().left,
            360);
  EXPECT_EQ(form->control(ui::kButtonLetterA).rect().left - form->control(ui::kButtonLetterQ).rect().left,
            360);
  EXPECT_EQ(form->control(ui::kButtonLetterZ).rect().left - form->control(ui::kButtonLetterA).rect().left,
            360);
}

TEST(Layouts, FamilyCaptionsFollowTheirNames) {
  auto form = makeMainForm();
  for (int n = 1; n <= 16; ++n) EXPECT_EQ(form->named("BUTTON_F_NUM_" + n2s(n)).caption(), "F" + n2s(n));
  for (int d = 0; d <= 9; ++d) EXPECT_EQ(form->named("BUTTON_NUMBER_" + n2s(d)).caption(), n2s(d));
  for (char ch = 'A'; ch <= 'Z'; ++ch)
    EXPECT_EQ(form->named("BUTTON_LETTER_" + std::string(1, ch)).caption(), std::string(1, ch));
}

TEST(Layouts, SingleKeysHaveTheirCaptionsAndPlaces) {
  struct Row {
    const char* name;
    const char* caption;
    TwipsRect rect;
  };
  const Row rows[] = {
      {"SETTINGS_BUTTON", "SETTINGS", {2160, 120, 1455, 495}},
      {"BUTTON_MY_FKEYS", "MY F-KEYS", {120, 720, 1215, 495}},
      {"LEFT_TOP_CORNER_KEY", "`", {1440, 1320, 735, 495}},
      {"BUTTON_DASH", "-", {9360, 1320, 735, 495}},
      {"BUTTON_EQUALS", "=", {10080, 1320, 735, 495}},
      {"BUTTON_BACKSPACE", "<---", {10800, 1320, 1935, 495}},
      {"BUTTON_INS", "INS", {12960, 1320, 975, 495}},
      {"BUTTON_TAB", "TAB", {1440, 1800, 1095, 495}},
      {"BUTTON_SQUARE_BRACKET_LEFT", "[", {9720, 1800, 735, 495}},
      {"BUTTON_SQUARE_BRACKET_RIGHT", "]", {10440, 1800, 735, 495}},
      {"BUTTON_RETURN_KEY", "ENTER", {11160, 1800, 1575, 975}},
      {"BUTTON_CAPS", "CAPS", {1440, 2280, 1455, 495}},
      {"BUTTON_SEMI_COLON", ";", {9360, 2280, 735, 495}},
      {"BUTTON_APOS_SIGN", "'", {10080, 2280, 735, 495}},
      {"BUTTON_HASH", "#", {10800, 2280, 735, 495}},
      {"BUTTON_BACK_SLASH", "\\", {2520, 2760, 735, 495}},
      {"BUTTON_COMMA", ",", {8280, 2760, 735, 495}},
      {"BUTTON_FULL_STOP", ".", {9000, 2760, 735, 495}},
      {"BUTTON_FORWARD_SLASH", "/", {9720, 2760, 735, 495}},
      {"BUTTON_CTRL_LEFT", "CTRL", {1440, 3240, 1095, 495}},
      {"BUTTON_ALT_LEFT", "ALT", {3600, 3240, 735, 495}},
      {"BUTTON_SPACEBAR", "SPACE", {4320, 3240, 4335, 495}},
      {"BUTTON_ALT_GR", "ALT GR", {8640, 3240, 1095, 495}},
      {"BUTTON_CTRL_RIGHT", "CTRL", {11640, 3240, 1095, 495}},
      {"BUTTON_WINDOWS_RUN_EXTERNAL", "RUN", {120, 3360, 1215, 375}},
      {"SHIFT_ARROW_HIGHLIGHT_BUTTON", "HIGHLIGHT", {12840, 3960, 2175, 375}},
      {"BUTTON_AUTO_DELETE", "", {11160, 120, 1215, 465}},
      {"BUTTON_AUTO_BACKSPACE", "", {10800, 720, 1935, 495}},
      {"BUTTON_SHIFT_RIGHT", "", {10440, 2760, 2295, 495}},
      {"BUTTON_CMD", "", {120, 3840, 615, 495}},
      {"BUTTON_RUN_INTERNAL", "", {720, 3840, 615, 495}},
      {"BUTTON_WINDOWS_LOCK", "", {15120, 3840, 1455, 495}},
      {"PRINT_SCREEN_APP_WINDOW", "", {15240, 1320, 1335, 495}},
      {"PRINT_SCREEN_COMPLETE_SCREEN", "", {15240, 1800, 1335, 495}},
  };
  auto form = makeMainForm();
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    const Control& c = form->named(r.name);
    EXPECT_EQ(c.caption(), r.caption);
    EXPECT_EQ(c.rect(), r.rect);
  }
}

TEST(Layouts, EnterSpansTwoKeyRowsBesideTheBrackets) {
  auto form = makeMainForm();
  const TwipsRect enter = form->control(ui::kButtonReturnKey).rect();
  const TwipsRect q = form->control(ui::kButtonLetterQ).rect();
  const TwipsRect a = form->control(ui::kButtonLetterA).rect();
  const TwipsRect bracket = form->control(ui::kButtonSquareBracketRight).rect();
  EXPECT_EQ(enter.top, q.top);
  EXPECT_EQ(enter.top + enter.height, a.top + a.height);
  EXPECT_EQ(enter.left, bracket.left + 720);
  EXPECT_EQ(form->control(ui::kButtonReturnKey).icon(), Icon::GreenTick);
}

TEST(Layouts, IconButtonsShowTheirSubjectAndOthersACaption) {
  auto form = makeMainForm();
  std::set<std::string> iconNames;
  for (const auto& [name, icon] : mainIcons()) {
    SCOPED_TRACE(name);
    iconNames.insert(name);
    const Control& c = form->named(name);
    EXPECT_EQ(c.icon(), icon);
    // Enter is the one key that has both.
    if (name == "BUTTON_RETURN_KEY")
      EXPECT_EQ(c.caption(), "ENTER");
    else
      EXPECT_EQ(c.caption(), "");
  }
  for (const Control& c : form->controls()) {
    // The suggestions are blank until there is a word to offer.
    if (c.kind() != ControlKind::Button || iconNames.count(c.name()) != 0 || c.inTopBand()) continue;
    SCOPED_TRACE(c.name());
    EXPECT_EQ(c.icon(), Icon::None);
    EXPECT_FALSE(c.caption().empty());
  }
}

TEST(Layouts, MainButtonsStartWhiteExceptTheToolButtons) {
  auto form = makeMainForm();
  int tools = 0;
  for (const Control& c : form->controls()) {
    if (c.kind() != ControlKind::Button) continue;
    SCOPED_TRACE(c.name());
    EXPECT_FALSE(c.standardStyle());
    if (kToolButtons.count(c.name()) != 0) {
      ++tools;
      EXPECT_EQ(c.back(), colors::kSysButtonFace);
    } else {
      EXPECT_EQ(c.back(), colors::kWhite);
    }
  }
  EXPECT_EQ(tools, int(kToolButtons.size()));
}

TEST(Layouts, MainButtonFonts) {
  const std::set<std::string> small{"SETTINGS_BUTTON", "BUTTON_MY_FKEYS", "BUTTON_RETURN_KEY",
                                    "HOVER_PAUSE_BUTTON"};
  auto form = makeMainForm();
  for (const Control& c : form->controls()) {
    if (c.kind() != ControlKind::Button) continue;
    SCOPED_TRACE(c.name());
    EXPECT_TRUE(c.font().bold);
    const bool isSmall = small.count(c.name()) != 0 || c.name().starts_with("NUM_PAD");
    EXPECT_DOUBLE_EQ(c.font().points, isSmall ? 8.25 : 12.0);
  }
}

struct Style {
  const char* form;
  const char* name;
  ControlKind kind;
  const char* caption;
  double points;
  bool bold;
  Color fore;
  Color back;
  Align align;
  TwipsRect rect;
};

TEST(Layouts, LabelsTextBoxesAndCheckBoxStyles) {
  // The settings dialog shows the version project(VERSION) sets.
  const std::string versionCaption = std::string("Version ") + kProgramVersion;
  // One control per line, as the layout table reads.
  // clang-format off
  const Style styles[] = {
      {kMainFormName, "TARNWICK_TITLE", ControlKind::Label, "Q-M - OSK", 13.5, true, colors::kGreen, colors::kBlack, Align::Center, {120, 120, 1935, 480}},
      {kMainFormName, "NUM_LIGHT_LABEL", ControlKind::Label, "NUM", 8.25, true, colors::kBlack, colors::kWhite, Align::Center, {13200, 240, 855, 255}},
      {kMainFormName, "CAPS_LIGHT_LABEL", ControlKind::Label, "CAPS", 8.25, true, colors::kBlack, colors::kWhite, Align::Center, {14400, 240, 855, 255}},
      {kMainFormName, "SCROLL_LIGHT_LABEL", ControlKind::Label, "SCROLL", 8.25, true, colors::kBlack, colors::kWhite, Align::Center, {15480, 240, 855, 255}},
      {kMainFormName, "ACTIVE_WINDOW_LABEL", ControlKind::Label, "QM-OSK", 8.25, false, colors::kBlack, colors::kWhite, Align::Left, {12960, 720, 3615, 375}},
      {kMainFormName, "COMMAND_LINE_TEXTBOX", ControlKind::TextBox, "Command Line", 9.75, false, colors::kBlack, colors::kSysWindow, Align::Left, {1440, 3960, 11295, 375}},
      {kSettingsFormName, "TARNWICK_QM_OSK_TITLE_1", ControlKind::Label, "TARNWICK", 13.5, false, colors::kGreen, colors::kBlack, Align::Center, {120, 120, 3495, 495}},
      {kSettingsFormName, "TARNWICK_QM_OSK_TITLE_2", ControlKind::Label, "Q-M - OSK", 13.5, false, colors::kGreen, colors::kBlack, Align::Center, {3840, 120, 3615, 495}},
      {kSettingsFormName, "TARNWICK_QM_OSK_VERSION", ControlKind::Label, versionCaption.c_str(), 13.5, false, colors::kGreen, colors::kBlack, Align::Center, {120, 720, 3495, 495}},
      {kSettingsFormName, "TARNWICK_QM_OSK_CREATOR", ControlKind::Label, "Made by the QM-OSK developers", 13.5, false, colors::kGreen, colors::kBlack, Align::Center, {120, 1320, 7335, 495}},
      {kSettingsFormName, "DOUBLE_CLICK_TXT_LABEL", ControlKind::Label, "Double Click Light To Set ON / OFF", 12.0, true, colors::kCyan, colors::kBlack, Align::Center, {120, 1920, 7335, 495}},
      {kSettingsFormName, "CALC_LABEL", ControlKind::Label, "CALCULATOR:", 8.25, false, colors::kBlack, colors::kSysButtonFace, Align::Left, {240, 2760, 1395, 255}},
      {kSettingsFormName, "CALCULATOR_COMMAND_TEXTBOX", ControlKind::TextBox, "COMMAND", 8.25, false, colors::kBlack, colors::kSysWindow, Align::Left, {1800, 2640, 5655, 375}},
      {kSettingsFormName, "EMAIL_LABEL", ControlKind::Label, "EMAIL ADDRESS:", 8.25, false, colors::kBlack, colors::kSysButtonFace, Align::Left, {240, 3240, 1515, 255}},
      {kSettingsFormName, "EMAIL_ADDRESS_TEXTBOX", ControlKind::TextBox, "COMMAND", 8.25, false, colors::kBlack, colors::kSysWindow, Align::Left, {1800, 3120, 5655, 375}},
      {kSettingsFormName, "BTC_ADDRESS_LABEL", ControlKind::Label, "BTC ADDRESS:", 8.25, false, colors::kBlack, colors::kSysButtonFace, Align::Left, {240, 3720, 1335, 255}},
      {kSettingsFormName, "BTC_ADDRESS_TEXTBOX", ControlKind::TextBox, "COMMAND", 8.25, false, colors::kBlack, colors::kSysWindow, Align::Left, {1800, 3600, 5655, 375}},
      {kSettingsFormName, "ALWAYS_ON_TOP_TICKBOX", ControlKind::CheckBox, "Always On Top", 8.25, false, colors::kBlack, colors::kSysButtonFace, Align::Left, {3360, 4680, 1935, 375}},
  };
  // clang-format on
  auto main = makeMainForm();
  auto settings = makeSettingsForm();
  for (const auto& s : styles) {
    SCOPED_TRACE(s.name);
    const Form& f = std::string_view(s.form) == kMainFormName ? static_cast<const Form&>(*main) : *settings;
    const Control& c = f.named(s.name);
    EXPECT_EQ(c.kind(), s.kind);
    EXPECT_EQ(c.caption(), s.caption);
    EXPECT_EQ(c.text(), s.caption);
    EXPECT_DOUBLE_EQ(c.font().points, s.points);
    EXPECT_EQ(c.font().bold, s.bold);
    EXPECT_EQ(c.fore(), s.fore);
    EXPECT_EQ(c.back(), s.back);
    EXPECT_EQ(c.align(), s.align);
    EXPECT_EQ(c.rect(), s.rect);
  }
}

TEST(Layouts, DialogButtonsAreStandardButtonFaceButtons) {
  struct Row {
    std::unique_ptr<Form> form;
    const char* name;
    const char* caption;
    TwipsRect rect;
  };
  Row rows[] = {
      {makeSettingsForm(), "FKEYS_SETTINGS_BUTTON", "MY F-KEYS SETTINGS", {600, 4560, 2535, 495}},
      {makeSettingsForm(), "OK_BUTTON", "OK", {5400, 4560, 1695, 495}},
      {makeFkeysForm(), "OK_BUTTON", "OK", {5400, 7920, 1455, 495}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.form->name() + "." + r.name);
    const Control& c = r.form->named(r.name);
    EXPECT_EQ(c.kind(), ControlKind::Button);
    EXPECT_TRUE(c.standardStyle());
    EXPECT_EQ(c.back(), colors::kSysButtonFace);
    EXPECT_EQ(c.caption(), r.caption);
    EXPECT_EQ(c.rect(), r.rect);
    EXPECT_EQ(c.icon(), Icon::None);
  }
}

TEST(Layouts, FkeyDialogRowsAreEvenlySpacedAndStayAboveOk) {
  auto form = makeFkeysForm();
  const TwipsRect ok = form->named("OK_BUTTON").rect();
  for (int n = 1; n <= 16; ++n) {
    SCOPED_TRACE(n);
    const int shift = 480 * (n - 1);
    const Control& label = form->named("LABEL_F" + n2s(n));
    const Control& text = form->named("BUTTON_TEXT_F" + n2s(n));
    const Control& command = form->named("COMMAND_F" + n2s(n));
    EXPECT_EQ(label.kind(), ControlKind::Label);
    EXPECT_EQ(label.caption(), "F-KEYS - F" + n2s(n) + ":");
    EXPECT_EQ(label.rect(), (TwipsRect{120, 240 + shift, n <= 9 ? 975 : 1095, 255}));
    EXPECT_EQ(label.back(), colors::kSysButtonFace);
    EXPECT_EQ(label.align(), Align::Left);
    EXPECT_EQ(text.kind(), ControlKind::TextBox);
    EXPECT_EQ(text.text(), "BUTTON TEXT");
    EXPECT_EQ(text.rect(), (TwipsRect{1320, 120 + shift, 2295, 375}));
    EXPECT_EQ(text.back(), colors::kSysWindow);
    EXPECT_EQ(command.kind(), ControlKind::TextBox);
    EXPECT_EQ(command.text(), "COMMAND");
    EXPECT_EQ(command.rect(), (TwipsRect{3720, 120 + shift, 10935, 375}));
    EXPECT_EQ(command.back(), colors::kSysWindow);
    // The label sits level with its fields and the fields do not touch.
    EXPECT_LE(label.rect().left + label.rect().width, text.rect().left);
    EXPECT_LE(text.rect().left + text.rect().width, command.rect().left);
    EXPECT_LT(command.rect().top + command.rect().height, ok.top);
  }
}

TEST(Layouts, MainTimersStartWithTheirDesignState) {
  const std::pair<const char*, bool> expected[] = {
      {"AUTO_DELETE_TIMER", true},   {"AUTO_DELETE_STOP_TIMER", true},
      {"ACTIVE_WINDOW_TIMER", true}, {"BACKCOLOR_TIMER", true},
      {"AlwaysOnTopTimer", false},   {"NCS_TIMER", true},
      {"HOVER_TIMER", false},        {"SCAN_TIMER", false},
      {"PLACE_SAVE_TIMER", false},   {"LEARNED_WORDS_SAVE_TIMER", false},
      {"FADE_TIMER", false},
  };
  auto form = makeMainForm();
  EXPECT_EQ(form->timers().size(), std::size(expected));
  for (auto [name, enabled] : expected) {
    SCOPED_TRACE(name);
    EXPECT_EQ(form->namedTimer(name).enabled, enabled);
    EXPECT_EQ(form->namedTimer(name).intervalMs, 0);
  }
  EXPECT_TRUE(makeSettingsForm()->timers().empty());
  EXPECT_TRUE(makeFkeysForm()->timers().empty());
}

}  // namespace
}  // namespace osk
