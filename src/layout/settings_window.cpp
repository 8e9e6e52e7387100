#include "layout/settings_window.h"

#include "layout/builder.h"
#include "qmosk_version.h"

namespace osk {

using namespace ui::settings;
using namespace layout;

std::unique_ptr<SettingsForm> makeSettingsForm() {
  Builder b;
  heading(b, kTarnwickQmOskTitle1, "TARNWICK", {120, 120, 3495, 495});
  heading(b, kTarnwickQmOskTitle2, "Q-M - OSK", {3840, 120, 3615, 495});
  heading(b, kTarnwickQmOskVersion, {TextId::VersionLabel, kProgramVersion}, {120, 720, 3495, 495});
  heading(b, kTarnwickQmOskCreator, TextId::CreatorLabel, {120, 1320, 7335, 495});
  b.label(kDoubleClickTxtLabel, TextId::DoubleClickLightsLabel, {120, 1920, 7335, 495}, {12.0, true},
          colors::kCyan, colors::kBlack, Align::Center);
  fieldLabel(b, kCalcLabel, TextId::CalculatorLabel, {240, 2760, 1395, 255});
  field(b, kCalculatorCommandTextbox, TextId::CommandField, {1800, 2640, 5655, 375});
  fieldLabel(b, kEmailLabel, TextId::EmailLabel, {240, 3240, 1515, 255});
  field(b, kEmailAddressTextbox, TextId::CommandField, {1800, 3120, 5655, 375});
  fieldLabel(b, kBtcAddressLabel, TextId::BtcLabel, {240, 3720, 1335, 255});
  field(b, kBtcAddressTextbox, TextId::CommandField, {1800, 3600, 5655, 375});
  // In the free band above the buttons, so no other control moves.
  b.checkBox(kKeepTargetFocusTickbox, TextId::KeepFocusTickBox, {2160, 4080, 5295, 375});
  // Left of the tick box above, where the band was empty.
  b.dialogButton(kTypingAidsButton, TextId::TypingAidsButton, {120, 4080, 1935, 375});
  b.dialogButton(kFkeysSettingsButton, TextId::FkeysSettingsButton, {600, 4560, 2535, 495});
  b.checkBox(kAlwaysOnTopTickbox, TextId::AlwaysOnTopTickBox, {3360, 4680, 1935, 375});
  b.dialogButton(kOkButton, TextId::OkButton, {5400, 4560, 1695, 495});
  // Beside the version line, where the band was empty.
  b.checkBox(kStartAtSignInTickbox, TextId::StartAtSignInTickBox, {3840, 780, 3615, 375});
  // New rows below the buttons; the dialog grew by them.
  b.checkBox(kClickSoundTickbox, TextId::ClickSoundTickBox, {1680, 5160, 5775, 375});
  b.checkBox(kFadeTickbox, TextId::FadeTickBox, {240, 5640, 2775, 375});
  fieldLabel(b, kFadeOpacityLabel, TextId::FadeOpacityLabel, {3060, 5700, 1245, 255});
  field(b, kFadeOpacityTextbox, "40", {4320, 5640, 675, 375});
  fieldLabel(b, kFadeWaitLabel, TextId::FadeWaitLabel, {5160, 5700, 855, 255});
  field(b, kFadeWaitTextbox, "3", {6060, 5640, 735, 375});
  b.checkBox(kDockTickbox, TextId::DockTickBox, {240, 6120, 4695, 375});
  // The language row below them all; the dialog grew by it.
  fieldLabel(b, kLanguageLabel, TextId::LanguageLabel, {240, 6660, 1935, 255});
  std::vector<std::string> shipped;
  shipped.reserve(kCatalogue.size());
  for (const CatalogueLanguage& language : kCatalogue) shipped.emplace_back(language.ownName);
  b.dropDown(kLanguageList, TextId::WindowsLanguage, std::move(shipped), {2280, 6600, 3135, 375});
  return std::make_unique<SettingsForm>(kSettingsFormName, "QM-OSK", 7665, 7140, std::move(b.defs),
                                        std::vector<Timer>{});
}

}  // namespace osk
