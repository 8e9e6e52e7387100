#include "layout/settings_window.h"

#include "layout/builder.h"
#include "layout/look_texts.h"
#include "qmosk_version.h"

namespace osk {

using namespace ui::settings;
using namespace layout;

std::unique_ptr<SettingsForm> makeSettingsForm() {
  Builder b;
  heading(b, kTarnwickQmOskTitle1, "TARNWICK", {120, 120, 3495, 495});
  heading(b, kTarnwickQmOskTitle2, "Q-M - OSK", {3840, 120, 3615, 495});
  heading(b, kTarnwickQmOskVersion, std::string("Version ") + kProgramVersion, {120, 720, 3495, 495});
  heading(b, kTarnwickQmOskCreator, "Made by the QM-OSK developers", {120, 1320, 7335, 495});
  b.label(kDoubleClickTxtLabel, "Double Click Light To Set ON / OFF", {120, 1920, 7335, 495}, {12.0, true},
          colors::kCyan, colors::kBlack, Align::Center);
  fieldLabel(b, kCalcLabel, "CALCULATOR:", {240, 2760, 1215, 255});
  field(b, kCalculatorCommandTextbox, "COMMAND", {1680, 2640, 5775, 375});
  fieldLabel(b, kEmailLabel, "EMAIL ADDRESS:", {240, 3240, 1455, 255});
  field(b, kEmailAddressTextbox, "COMMAND", {1680, 3120, 5775, 375});
  fieldLabel(b, kBtcAddressLabel, "BTC ADDRESS:", {240, 3720, 1335, 255});
  field(b, kBtcAddressTextbox, "COMMAND", {1680, 3600, 5775, 375});
  // In the free band above the buttons, so no other control moves.
  b.checkBox(kKeepTargetFocusTickbox, "Keep the focus in the target window", {1680, 4080, 5775, 375});
  // Left of the tick box above, where the band was empty.
  b.dialogButton(kTypingAidsButton, "TYPING AIDS", {120, 4080, 1455, 375});
  b.dialogButton(kFkeysSettingsButton, "MY F-KEYS SETTINGS", {600, 4560, 2535, 495});
  b.checkBox(kAlwaysOnTopTickbox, "Always On Top", {3480, 4680, 1455, 375});
  b.dialogButton(kOkButton, "OK", {5160, 4560, 1935, 495});
  // Beside the version line, where the band was empty.
  b.checkBox(kStartAtSignInTickbox, "Start when I sign in", {3840, 780, 3615, 375});
  // New rows below the buttons; the dialog grew by them.
  b.checkBox(kClickSoundTickbox, kClickSoundCaption, {1680, 5160, 5775, 375});
  b.checkBox(kFadeTickbox, std::string(texts::kFadeTickBox), {240, 5640, 2775, 375});
  fieldLabel(b, kFadeOpacityLabel, std::string(texts::kFadeOpacityLabel), {3120, 5700, 1095, 255});
  field(b, kFadeOpacityTextbox, "40", {4260, 5640, 735, 375});
  fieldLabel(b, kFadeWaitLabel, std::string(texts::kFadeWaitLabel), {5160, 5700, 855, 255});
  field(b, kFadeWaitTextbox, "3", {6060, 5640, 735, 375});
  b.checkBox(kDockTickbox, std::string(texts::kDockTickBox), {240, 6120, 4695, 375});
  return std::make_unique<SettingsForm>(kSettingsFormName, "QM-OSK", 7665, 6660, std::move(b.defs),
                                        std::vector<Timer>{});
}

}  // namespace osk
